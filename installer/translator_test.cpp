// Language tables and the translator: the table format, look-ups, translating component trees and the
// checked use of translated formats.
#include "installer/translator.h"

#include <gtest/gtest.h>

#include "framework/core/rtti.h"
#include "installer/exceptions.h"
#include "installer/testkit/support.h"

namespace inst {
namespace {

using test::InstallerTest;

class Translation : public InstallerTest {
protected:
    void SetUp() override {
        InstallerTest::SetUp();
        translator = fw::Make<TTranslator>(nullptr);
    }
    void TearDown() override {
        translator->Free();
        InstallerTest::TearDown();
    }
    TLanguage& Table(TQnfdLanguage l) { return *translator->Language(l); }
    void SetLines(TQnfdLanguage l, std::initializer_list<const char*> lines) {
        fw::TStringList list;
        for (const char* s : lines) list.Add(s);
        Table(l).SetStrings(&list);
    }
    TTranslator* translator = nullptr;
};

TEST_F(Translation, TableParsesStringsMemosAndComments) {
    SetLines(TQnfdLanguage::qlFrench, {"5;Next", "#7;", "First line", "* note", "Second line", "#"});
    TLanguage& t = Table(TQnfdLanguage::qlFrench);
    ASSERT_EQ(t.StringEntries().size(), 1u);
    EXPECT_EQ(t.StringEntries()[0]->GLID(), 5);
    EXPECT_EQ(t.StringEntries()[0]->Text(), "Next");
    EXPECT_EQ(t.StringEntries()[0]->LineIndex(), 0);
    ASSERT_EQ(t.MemoEntries().size(), 1u);
    EXPECT_EQ(t.MemoEntries()[0]->GLID(), 7);
    EXPECT_EQ(t.MemoEntries()[0]->LineIndex(), 1);
    EXPECT_EQ(t.MemoEntries()[0]->Lines().Text(), "First line\r\nSecond line\r\n");
}

TEST_F(Translation, TableFormatErrorsNameTheLine) {
    struct Case {
        const char* why;
        std::vector<const char*> lines;
        const char* message;  // "" = accepted
    };
    const Case cases[] = {
        {"blanks of the text are kept", {"5; Next "}, ""},
        {"no text", {"5;"}, "The 0'th string (5;) does not have the proper format of GLID;Text"},
        {"blank text", {"x", "5;  ;"}, "The 0'th string (x) does not have the proper format of GLID;Text or .GLID;"},
        {"not a number", {"x;Next"}, "The 0'th string (x;Next) does not have the proper format of GLID;Text or .GLID;"},
        {"empty GLID", {";Next"}, "The 0'th string (;Next) does not have the proper format of GLID;Text"},
        {"memo GLID not a number", {"", "#a;"}, "The 1'th string (#a;) does not have the proper format of GLID;Text or .GLID;"},
        {"end marker outside a memo", {"1;a", "#"}, "Found the end of memo marker # at line 1. Was not in a memo however"},
        {"open memo at the end is dropped", {"#3;", "line"}, ""},
    };
    for (const Case& c : cases) {
        TLanguage& t = Table(TQnfdLanguage::qlGerman);
        fw::TStringList list;
        for (const char* s : c.lines) list.Add(s);
        std::string got;
        try {
            t.SetStrings(&list);
        } catch (const fw::Exception& e) {
            got = e.Message();
        }
        EXPECT_EQ(got, c.message) << c.why;
        if (*c.message) {
            EXPECT_TRUE(t.Empty()) << c.why << ": a failed parse leaves no entries";
        }
    }
    fw::TStringList blanks;
    blanks.Add("5; Next ");
    Table(TQnfdLanguage::qlGerman).SetStrings(&blanks);
    EXPECT_EQ(Table(TQnfdLanguage::qlGerman).FindString(5)->Text(), " Next");
    EXPECT_TRUE(Table(TQnfdLanguage::qlGerman).MemoEntries().empty());
}

TEST_F(Translation, DeletingALineMovesLaterEntriesUpWithoutParsing) {
    SetLines(TQnfdLanguage::qlFrench, {"1;a", "2;b", "3;c"});
    TLanguage& t = Table(TQnfdLanguage::qlFrench);
    const TLanguageString* third = t.FindString(3);
    t.Strings()->Delete(0);
    EXPECT_EQ(t.FindString(3), third) << "the entries were not rebuilt";
    EXPECT_EQ(t.FindString(1)->LineIndex(), 0);
    EXPECT_EQ(t.FindString(2)->LineIndex(), 0);
    EXPECT_EQ(t.FindString(3)->LineIndex(), 1);
    t.Strings()->Add("4;d");  // any other change parses again
    EXPECT_EQ(t.FindString(1), nullptr);
    EXPECT_EQ(t.FindString(4)->LineIndex(), 2);
}

TEST_F(Translation, TextsGoThroughTheirGlid) {
    SetLines(TQnfdLanguage::qlEnglish, {"10;Cancel", "11;Next"});
    SetLines(TQnfdLanguage::qlFrench, {"10;Annuler"});
    translator->SetTranslateIntoLanguage(TQnfdLanguage::qlFrench);
    EXPECT_EQ(translator->TranslateText(TQnfdLanguage::qlEnglish, "cancel"), "Annuler") << "found ignoring case";
    EXPECT_EQ(translator->TranslateText(TQnfdLanguage::qlEnglish, "Next"), "Next") << "no French entry";
    EXPECT_EQ(translator->TranslateText(TQnfdLanguage::qlEnglish, "Back"), "Back");
    EXPECT_EQ(translator->TranslateGLID(10, "x"), "Annuler");
    EXPECT_EQ(translator->TranslateGLID(99, "x"), "x");
    EXPECT_EQ(TranslateEnglish("Cancel"), "Annuler");
    sys().langId = 0x040C;  // French: qlUser means the user's language
    translator->SetTranslateIntoLanguage(TQnfdLanguage::qlUser);
    EXPECT_EQ(translator->TranslateText(TQnfdLanguage::qlEnglish, "Cancel"), "Annuler");
}

TEST_F(Translation, MemosTranslateAsAWhole) {
    SetLines(TQnfdLanguage::qlEnglish, {"#3;", "Read this", "and agree", "#"});
    SetLines(TQnfdLanguage::qlFrench, {"#3;", "Lisez", "#"});
    translator->SetTranslateIntoLanguage(TQnfdLanguage::qlFrench);
    fw::TStringList lines, result;
    lines.Add("Read this");
    lines.Add("and agree");
    translator->TranslateMemo(TQnfdLanguage::qlEnglish, lines, result);
    EXPECT_EQ(result.Text(), "Lisez\r\n");
    lines.Add("more");
    translator->TranslateMemo(TQnfdLanguage::qlEnglish, lines, result);
    EXPECT_EQ(result.Text(), lines.Text()) << "not the whole memo: stays";
}

// A component with published strings, for TranslateControl without the Windows layer.
class TCaptioned : public fw::TComponent {
public:
    explicit TCaptioned(fw::TComponent* owner) : fw::TComponent(owner) {}
    std::string caption, hint;
    const std::string& Caption() const { return caption; }
    void SetCaption(const std::string& v) { caption = v; }
    const std::string& Hint() const { return hint; }
    void SetHint(const std::string& v) { hint = v; }
};

TEST_F(Translation, ControlTreesTranslateTheirPublishedStrings) {
    fw::Class<TCaptioned, fw::TComponent>("TCaptionedForTranslation")
        .Prop("Caption", &TCaptioned::Caption, &TCaptioned::SetCaption)
        .Prop("Hint", &TCaptioned::Hint, &TCaptioned::SetHint);
    auto* page = fw::Make<TCaptioned>(nullptr);
    auto* button = fw::Make<TCaptioned>(page);
    page->SetName("Cancel");  // the name is never translated
    page->caption = "Cancel";
    button->caption = "Next";
    button->hint = "Cancel";
    translator->SetTranslateIntoLanguage(TQnfdLanguage::qlFrench);
    EXPECT_EQ(translator->TranslateControl(TQnfdLanguage::qlEnglish, page), TQnfdLanguage::qlEnglish)
        << "every table empty: the texts stay in their language";
    EXPECT_EQ(page->caption, "Cancel");
    SetLines(TQnfdLanguage::qlEnglish, {"10;Cancel", "11;Next"});
    SetLines(TQnfdLanguage::qlFrench, {"10;Annuler", "11;Suivant"});
    EXPECT_EQ(translator->TranslateControl(TQnfdLanguage::qlEnglish, page), TQnfdLanguage::qlFrench);
    EXPECT_EQ(page->Name(), "Cancel");
    EXPECT_EQ(page->caption, "Annuler");
    EXPECT_EQ(button->caption, "Suivant");
    EXPECT_EQ(button->hint, "Annuler");
    // Back again, from French.
    translator->SetTranslateIntoLanguage(TQnfdLanguage::qlEnglish);
    translator->TranslateControl(TQnfdLanguage::qlFrench, page);
    EXPECT_EQ(button->caption, "Next");
    page->Free();
}

// Control support that records what the translator does to controls.
class RecordingControls : public ControlSupport {
public:
    bool IsControl(fw::TComponent*) override { return true; }
    int GLID(fw::TComponent* c) override { return c->Tag(); }
    void SetCaption(fw::TComponent* c, const std::string& caption) override { captions[c] = caption; }
    bool Visible(fw::TComponent*) override { return true; }
    void SetVisible(fw::TComponent* c, bool v) override { visibility.push_back(v); }
    void ApplyFont(fw::TComponent* c, const LanguageFontChoice& choice) override { fonts.push_back(choice); }
    std::map<fw::TComponent*, std::string> captions;
    std::vector<bool> visibility;
    std::vector<LanguageFontChoice> fonts;
};

TEST_F(Translation, GlidControlsTakeTheirTextByNumberAndKeepTheRest) {
    RecordingControls controls;
    SetControlSupport(&controls);
    fw::Class<TCaptioned, fw::TComponent>("TCaptionedForTranslation")
        .Prop("Caption", &TCaptioned::Caption, &TCaptioned::SetCaption)
        .Prop("Hint", &TCaptioned::Hint, &TCaptioned::SetHint);
    SetLines(TQnfdLanguage::qlEnglish, {"10;Cancel"});
    SetLines(TQnfdLanguage::qlFrench, {"10;Annuler"});
    translator->SetTranslateIntoLanguage(TQnfdLanguage::qlFrench);
    auto* label = fw::Make<TCaptioned>(nullptr);
    label->SetTag(10);  // the stand-in reads the GLID from the tag
    label->caption = "Something else";
    label->hint = "Cancel";
    translator->TranslateControl(TQnfdLanguage::qlEnglish, label);
    EXPECT_EQ(controls.captions[label], "Annuler");
    EXPECT_EQ(label->hint, "Cancel") << "a GLID control's other strings stay";
    EXPECT_EQ(controls.visibility, (std::vector<bool>{false, true})) << "hidden while translated, then shown again";
    // Fonts: without a table of its own a language shows the English choice unless forced.
    translator->SetTranslateIntoLanguage(TQnfdLanguage::qlRussian);
    translator->ApplyLanguageFont(label, false);
    ASSERT_EQ(controls.fonts.size(), 1u);
    EXPECT_EQ(controls.fonts[0].name, "Arial");
    EXPECT_EQ(controls.fonts[0].charset, 0);
    EXPECT_EQ(controls.fonts[0].minSize, 8);
    translator->ApplyLanguageFont(label, true);
    EXPECT_EQ(controls.fonts[1].charset, 204);
    translator->SetTranslateIntoLanguage(TQnfdLanguage::qlHebrew);
    EXPECT_THROW(translator->ApplyLanguageFont(label, true), fw::Exception) << "Unrecognized language";
    Table(TQnfdLanguage::qlHebrew).SetFontOverride(true);
    translator->ApplyLanguageFont(label, true);
    EXPECT_TRUE(controls.fonts.back().useFont);
    SetControlSupport(nullptr);
    label->Free();
}

TEST_F(Translation, LanguagesOfTheUserDefaultIds) {
    struct Case {
        uint16_t id;
        TQnfdLanguage want;
    };
    const Case cases[] = {{0x0404, TQnfdLanguage::qlChineseTraditional}, {0x0804, TQnfdLanguage::qlChineseSimplified},
                          {0x0407, TQnfdLanguage::qlGerman},             {0x0414, TQnfdLanguage::qlNorwegianBokmal},
                          {0x0814, TQnfdLanguage::qlNorwegianNynorsk},   {0x042A, TQnfdLanguage::qlVietnamese},
                          {0x0416, TQnfdLanguage::qlPortugese},          {0x0436, TQnfdLanguage::qlEnglish}};
    for (const Case& c : cases) EXPECT_EQ(LanguageFromLangId(c.id), c.want) << std::hex << c.id;
    EXPECT_THROW(LanguageCharset(19), fw::Exception);
    EXPECT_THROW(LanguageFontName(21), fw::Exception);
    EXPECT_EQ(LanguageFontName(12), "\xB9\xD9\xC5\xC1");
}

TEST_F(Translation, ATranslatedFormatIsUsedOnlyWithTheEnglishConversions) {
    // A table can hold any text; a format whose conversions differ would read arguments it was not
    // given. The translation is used only when its conversions are the English ones.
    SetLines(TQnfdLanguage::qlEnglish, {"1;Cannot open the file %s", "2;Disk %d of %s"});
    SetLines(TQnfdLanguage::qlFrench, {"1;Impossible d'ouvrir %s", "2;Disque %s de %d %s"});
    translator->SetTranslateIntoLanguage(TQnfdLanguage::qlFrench);
    EXPECT_EQ(FormatTranslated("Cannot open the file %s", {"a.txt"}), "Impossible d'ouvrir a.txt");
    EXPECT_EQ(FormatTranslated("Disk %d of %s", {2, "Setup"}), "Disk 2 of Setup");
    IECustomInstallFile e("Disk %d of %s", {3, "Setup"});
    EXPECT_EQ(e.Message(), "Disk 3 of Setup");
    EXPECT_EQ(FormatConversions("%-5.*s %1:d %% %x"), "*s,1:d,x,");
}

TEST_F(Translation, TheFirstTranslatorIsGlobalUntilItGoes) {
    EXPECT_EQ(GlobalTranslator(), translator);
    auto* second = fw::Make<TTranslator>(nullptr);
    EXPECT_EQ(GlobalTranslator(), translator);
    second->Free();
    EXPECT_EQ(GlobalTranslator(), translator);
}

}  // namespace
}  // namespace inst
