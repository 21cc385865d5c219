// Text I/O: format choice, plain text, the "Data" property in form text, objects, copies and pages.
#include <gtest/gtest.h>

#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "richtext/testdata/rt_test_util.h"
#include "testing/test_env.h"

namespace rt {
namespace {

using test::BodyText;
using test::LoadString;
using test::SaveString;

std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const fw::Exception& e) {
        return e.Message();
    }
    return {};
}

TEST(TextIo, ReaderChoice) {
    struct Case { const char* name; std::string bytes; const char* format; const char* ext; std::string want; } cases[] = {
        {"line ends before rtf", "\r\n\t{\\rtf1 x}", "AUTO", "", "x"},
        {"spaces before rtf are text", "  {\\rtf1 x}", "AUTO", "", "  x"},
        {"capital RTF is text", "{\\RTF1 x}", "AUTO", "", "{\\RTF1 x}"},
        {"ansi by name", "{\\rtf1 x}", "ansi", "", "{\\rtf1 x}"},
        {"txt extension", "{\\rtf1 x}", "AUTO", ".TXT", "{\\rtf1 x}"},
        {"rtf by name", "{\\rtf1 x}", "RTF", "", "x"},
    };
    for (const Case& c : cases) {
        TZrtRTFTextIo doc;
        doc.FileExtension = c.ext;
        LoadString(doc, c.bytes, c.format);
        EXPECT_EQ(BodyText(doc), c.want) << c.name;
    }
    TZrtRTFTextIo doc;
    EXPECT_EQ(ErrorOf([&] { LoadString(doc, "text <B>bold</B>"); }), "Text-Reader class not found TZrtHTMLReader");
    doc.FileExtension = ".HTM";
    EXPECT_EQ(ErrorOf([&] { LoadString(doc, "plain"); }), "Text-Reader class not found TZrtHTMLReader");
    LoadString(doc, "plain", "ANSI");
    EXPECT_EQ(BodyText(doc), "plain");
    doc.FileExtension.clear();
    EXPECT_EQ(ErrorOf([&] { SaveString(doc, "HTML"); }), "Text-Writer class not found TZrtHTMLWriter");
}

TEST(TextIo, WriterChoiceAndPlainText) {
    TZrtRTFTextIo empty;
    EXPECT_EQ(SaveString(empty, "AUTO"), std::string(1, '\0'));  // an empty rich document is plain text
    TZrtRTFTextIo doc;
    doc.InsertParagraph(0, "a", nullptr);
    doc.InsertParagraph(1, "b", nullptr);
    EXPECT_EQ(SaveString(doc, "AUTO").rfind("{\\rtf1", 0), 0u);
    doc.SetMemoryFormat(1);
    EXPECT_EQ(SaveString(doc, "AUTO"), std::string("a\r\nb\0", 5));
    const std::string file = mx::test::FreshDir() + "/out.txt";
    doc.SaveToFile(mx::test::HostPath(file));
    EXPECT_EQ(mx::test::ReadFile(file), "a\r\nb");
}

TEST(TextIo, PlainReading) {
    struct Case { std::string in; std::string want; } cases[] = {
        {"a\r\nb", "a\nb"}, {"a\nb", "ab"}, {"a\rb", "a\nb"}, {std::string("ab\0cd", 5), "ab"},
    };
    for (const Case& c : cases) {
        TZrtRTFTextIo doc;
        LoadString(doc, c.in, "ANSI");
        EXPECT_EQ(BodyText(doc), c.want);
    }
    TZrtRTFTextIo doc;
    LoadString(doc, "p\r" + std::string(500, 'x'), "ANSI");
    std::vector<int> lengths;
    for (TTextLine* l = doc.Body->Next->FirstLine; l; l = l->Next) lengths.push_back(l->Length);
    EXPECT_EQ(lengths, (std::vector<int>{60, 200, 200, 40}));
    EXPECT_EQ(TZrtTextReader::HexByte('4', 'F'), 79);
    EXPECT_EQ(TZrtTextReader::HexByte('4', 'f'), 79);
    EXPECT_EQ(TZrtTextReader::HexByte('4', 'z'), 64);
}

TEST(TextIo, StringsAdapter) {
    TZrtRTFTextIo doc;
    TZrtRtfStrings lines(&doc);
    lines.Insert(0, "first");
    EXPECT_EQ(test::ParagraphCountOf(doc.Body), 1);
    lines.Add("second");
    EXPECT_EQ(lines.Text(), "first\r\nsecond\r\n");
    lines.Put(0, "changed");
    lines.Delete(1);
    EXPECT_EQ(BodyText(doc), "changed");
}

TEST(TextIo, DataProperty) {
    TZrtRTFTextIo doc;
    bool offered = false;
    struct Probe : fw::TFiler {
        bool* offered;
        bool hasData = true;
        fw::TFiler::StreamProc write;
        void DefineProperty(const std::string&, ReaderProc, WriterProc, bool) override {}
        void DefineBinaryProperty(const std::string& name, StreamProc, StreamProc w, bool has) override {
            *offered = name == "Data";
            hasData = has;
            write = w;
        }
    } probe;
    probe.offered = &offered;
    doc.DefineProperties(probe);
    EXPECT_TRUE(offered);
    EXPECT_FALSE(probe.hasData);  // an empty document stores nothing
    LoadString(doc, "{\\rtf1 {\\b x}y}");
    doc.DefineProperties(probe);
    EXPECT_TRUE(probe.hasData);
    fw::TMemoryStream data;
    probe.write(data);
    const std::string bytes(reinterpret_cast<const char*>(data.Memory()), static_cast<size_t>(data.Size()));
    EXPECT_EQ(bytes.rfind("{\\rtf1\\ansi\\deff0\\deftab720", 0), 0u);
    EXPECT_EQ(bytes.substr(bytes.size() - 8), std::string("}\r\n}\0\0\0\0", 8));
    TZrtRTFTextIo back;
    data.SetPosition(0);
    back.ReadData(data);
    EXPECT_EQ(BodyText(back), "xy");
    EXPECT_TRUE(test::CellOf(back, 'x')->Flags & afBold);
}

// A component that keeps a document and publishes its attribute objects, as the rich-text label does.
class TRtfHost : public fw::TComponent {
public:
    explicit TRtfHost(fw::TComponent* owner) : fw::TComponent(owner), text_(this) {}
    TZrtRTFTextIo* RtfText() const { return const_cast<TZrtRTFTextIo*>(&text_); }
    TCharacterAttr* InsertPointAttr() const { return &RtfText()->InsertPointAttr; }
    TCharacterAttr* AutomaticTextAttr() const { return &RtfText()->AutomaticTextAttr; }
    TCharacterAttr* HyperlinkTextAttr() const { return &RtfText()->HyperlinkTextAttr; }
    TCharacterAttr* ProtectedTextAttr() const { return &RtfText()->ProtectedTextAttr; }
    TCharacterAttr* BookmarkTextAttr() const { return &RtfText()->BookmarkTextAttr; }

private:
    TZrtRTFTextIo text_;
};

void RegisterHost() {
    RegisterRichText();
    using H = TRtfHost;
    fw::Class<H, fw::TComponent>("TRtfHost")
        .Prop("RtfText", &H::RtfText)
        .Prop("InsertPointAttr", &H::InsertPointAttr)
        .Prop("AutomaticTextAttr", &H::AutomaticTextAttr)
        .Prop("HyperlinkTextAttr", &H::HyperlinkTextAttr)
        .Prop("ProtectedTextAttr", &H::ProtectedTextAttr)
        .Prop("BookmarkTextAttr", &H::BookmarkTextAttr);
}

TEST(TextIo, FormTextCarriesTheDocument) {
    RegisterHost();
    auto* host = fw::Make<TRtfHost>(nullptr);
    host->SetName("Host");
    LoadString(*host->RtfText(), "{\\rtf1 Hello {\\i world}\\par second {\\uldb the link}{\\v stamp-1} here}");
    // The five attribute objects go along, each value that differs from a fresh document's.
    host->HyperlinkTextAttr()->SetSuperScript(TThreeState::tsFALSE);
    host->HyperlinkTextAttr()->SetTextColor(0xFF0000);
    host->BookmarkTextAttr()->SetUnderlineColor(0x800080);
    host->AutomaticTextAttr()->SetHidden(true);
    host->ProtectedTextAttr()->SetBold(TThreeState::tsTRUE);
    host->InsertPointAttr()->SetBackgroundColor(0x00FFFF);
    const std::string text = fw::WriteComponentText(host);
    for (const char* want : {"RtfText.Data = {", "HyperlinkTextAttr.SuperScript = tsFALSE", "HyperlinkTextAttr.TextColor = clBlue",
                             "BookmarkTextAttr.UnderlineColor = clPurple", "AutomaticTextAttr.Hidden = True",
                             "ProtectedTextAttr.Bold = tsTRUE", "InsertPointAttr.BackgroundColor = clYellow"})
        EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
    auto* again = fw::Make<TRtfHost>(nullptr);
    again->SetName("Host");
    fw::ReadComponentText(again, text, "host");
    EXPECT_EQ(BodyText(*again->RtfText()), "Hello world\nsecond the linkstamp-1 here");
    EXPECT_TRUE(test::CellOf(*again->RtfText(), 'w')->Flags & afItalic);
    EXPECT_TRUE(test::CellOf(*again->RtfText(), 'k')->Flags & afHyperlink);
    EXPECT_TRUE(test::CellOf(*again->RtfText(), '-')->Flags & afHidden);
    EXPECT_EQ(again->HyperlinkTextAttr()->SuperScript(), TThreeState::tsFALSE);
    EXPECT_EQ(again->HyperlinkTextAttr()->TextColor(), 0xFF0000u);
    EXPECT_TRUE(again->HyperlinkTextAttr()->UseTextColor());
    EXPECT_EQ(again->BookmarkTextAttr()->UnderlineColor(), 0x800080u);
    EXPECT_TRUE(again->AutomaticTextAttr()->Hidden());
    EXPECT_EQ(again->ProtectedTextAttr()->Bold(), TThreeState::tsTRUE);
    EXPECT_EQ(again->InsertPointAttr()->BackgroundColor(), 0x00FFFFu);
    host->Free();
    again->Free();
}

TEST(TextIo, FormTextAsWrittenByHand) {
    RegisterHost();
    auto* host = fw::Make<TRtfHost>(nullptr);
    fw::ReadComponentText(host,
                          "object Host: TRtfHost\n"
                          "  HyperlinkTextAttr.Underline = tsTRUE\n"
                          "  HyperlinkTextAttr.UnderlineColor = clBlue\n"
                          "  HyperlinkTextAttr.UseUnderlineColor = True\n"
                          "  InsertPointAttr.TextColor = clRed\n"
                          "  RtfText.Data = { 7B5C727466312061627D 00000000 }\n"
                          "end\n",
                          "host");
    EXPECT_EQ(host->RtfText()->GetParagraphText(0), "ab");
    EXPECT_EQ(host->HyperlinkTextAttr()->Underline(), TThreeState::tsTRUE);
    EXPECT_EQ(host->HyperlinkTextAttr()->UnderlineColor(), 0xFF0000u);
    EXPECT_EQ(host->InsertPointAttr()->TextColor(), 0x0000FFu);
    host->Free();
}

TEST(TextIo, ObjectsStreamAndFields) {
    RegisterRichText();
    auto* object = new TZrtObject(nullptr);
    object->SetObjName("pic");
    object->SetObjTag(7);
    object->SetWidthTW(2000);
    fw::TMemoryStream stream;
    SaveObject(object, stream);
    int32_t tag = 0, width = 0, height = 0;
    std::string name;
    TZrtObject* back = ObjectFromStream(nullptr, stream, tag, width, height, name);
    ASSERT_TRUE(back);
    EXPECT_EQ(name, "pic");
    EXPECT_EQ(tag, 7);
    EXPECT_EQ(width, 2000);
    LoadObject(back, &stream);
    EXPECT_EQ(back->DataType, "???");
    EXPECT_TRUE(back->IsLoaded);
    back->Free();

    object->SetStreamName("external.dat");
    fw::TMemoryStream linked;
    SaveObject(object, linked);
    const std::string bytes(reinterpret_cast<const char*>(linked.Memory()), static_cast<size_t>(linked.Size()));
    EXPECT_EQ(bytes.substr(bytes.size() - 4), std::string(4, '\0'));
    auto* copy = new TZrtObject(nullptr);
    int state = -1;
    copy->OnLoadStream = [&](TZrtObject*, const std::string& n, int s, bool&) {
        state = s;
        EXPECT_EQ(n, "external.dat");
    };
    LoadObject(copy, &linked);
    EXPECT_EQ(state, 0);
    copy->Free();
    object->Free();

    EXPECT_EQ(ClassForExtension("bmp"), "");
    auto* field = new TZrtObjectField(nullptr);
    field->SetFieldName("page");
    EXPECT_EQ(field->GetFieldText(3, 9), "3");
    field->SetFieldName("NUMPAGES");
    EXPECT_EQ(field->GetFieldText(3, 9), "9");
    field->SetFieldName("AUTHOR");
    EXPECT_EQ(field->GetFieldText(3, 9), "<AUTHOR>");
    field->Free();
}

TEST(TextIo, EmbeddedObjectRoundTrip) {
    RegisterRichText();
    TZrtRTFTextIo doc;
    doc.InsertParagraph(0, "ab", nullptr);
    auto* object = new TZrtObject(nullptr);
    object->SetObjName("thing");
    TObjectRef* ref = doc.AddObjectRef(object);
    ref->Width = 3000;
    TZrtRTFText::LastLine(doc.Body);
    doc.CurrentCell.Flags = afObject;
    doc.CurrentCell.Number = ref->Number;
    doc.InsertChar(doc.Body, doc.Body->FirstLine, 1, 1);
    const std::string out = SaveString(doc);
    EXPECT_NE(out.find("{\\*\\zrtkit{110e"), std::string::npos) << out;
    TZrtRTFTextIo back;
    LoadString(back, out);
    EXPECT_EQ(BodyText(back), "a<object>b");
    TObjectRef* r = back.FindObjectByName("thing");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Width, 3000);
}

TEST(TextIo, AssignCopiesEverything) {
    TZrtRTFTextIo source;
    LoadString(source, "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier;}}{\\header H}{\\f1 x}{\\footnote note} "
                       "{\\*\\bkmkstart bm}y{\\*\\bkmkend bm}\\par z}");
    TZrtRTFTextIo copy;
    copy.Header->FontNames[0] = "Times";
    copy.Assign(&source);
    EXPECT_EQ(BodyText(copy), BodyText(source));
    EXPECT_EQ(BodyText(copy, copy.HeaderText), "H");
    EXPECT_EQ(copy.Header->FontNames[test::CellOf(copy, 'x')->FontIndex], "Courier");
    ASSERT_EQ(copy.Footnotes.size(), 1u);
    EXPECT_EQ(copy.Footnotes[0]->Text, "note");
    EXPECT_EQ(copy.Bookmarks.Count(), 1);
    EXPECT_EQ(SaveString(copy), SaveString(source));
}

TEST(TextIo, PositionsAndNumbering) {
    TZrtRTFTextIo doc;
    LoadString(doc, "{\\rtf1 \\pard\\zrtsnr38 one\\par two\\par\\pard plain\\par\\pard\\zrtsnr22 x\\par y}");
    // 38 is level 6 in capital letters, 22 level 6 with bullets.
    EXPECT_EQ(BodyText(doc), "A)\tone\nB)\ttwo\nplain\nl\tx\nl\ty");
    TParagraph* p = nullptr;
    TTextLine* line = nullptr;
    int pos = 0;
    doc.FindPosition(6, 0, pos, line, p, 0, 0);
    int absolute, lineIndex, inPar, parIndex;
    doc.GetPosition(absolute, lineIndex, pos, line, p, inPar, parIndex);
    EXPECT_EQ(absolute, 6);
    EXPECT_EQ(parIndex, 0);
}

TEST(Pagination, LineMetricsAndPages) {
    TZrtRTFTextIo doc;
    LoadString(doc, "{\\rtf1 \\sl120\\slmult1 a\\par\\pard\\sl-300 b\\par\\pard c}");
    TParagraph* a = doc.Body;
    TParagraph* b = a->Next;
    doc.LineMetrics(a, a->FirstLine);
    EXPECT_EQ(a->LineSpacing, 240);
    EXPECT_EQ(a->FirstLine->Height, 16);
    doc.LineMetrics(b, b->FirstLine);
    EXPECT_EQ(b->FirstLine->Height, 20);  // 300 twips at 96 pixels per inch
    // A keep-together paragraph that would cross the page end starts the next page whole.
    TZrtRTFTextIo pages;
    std::string body = "{\\rtf1\\paperh2880\\margt0\\margb0 ";
    for (int i = 0; i < 11; ++i) body += "p\\par ";
    body += "\\keep k\\par\\pard end}";
    LoadString(pages, body);
    TTextLine* more = pages.ParagraphAt(11)->FirstLine;
    pages.NewLine(more, 4);
    pages.NewLine(more, 4);
    for (TParagraph* p = pages.Body; p; p = p->Next)
        for (TTextLine* l = p->FirstLine; l; l = l->Next) l->Height = 16;
    pages.Paginate(nullptr);  // 2 inches = 192 pixels = 12 lines of 16
    TParagraph* keep = pages.ParagraphAt(11);
    EXPECT_TRUE(keep->FirstLine->LineFlags & lfPageBegin);
    EXPECT_EQ(keep->FirstLine->PageNumber, 1);
    EXPECT_EQ(pages.ParagraphAt(10)->FirstLine->PageNumber, 0);
    // From a start paragraph there is no page limit.
    pages.Paginate(pages.Body);
    for (TParagraph* p = pages.Body; p; p = p->Next)
        for (TTextLine* l = p->FirstLine; l; l = l->Next) EXPECT_FALSE(l->LineFlags & lfPageBegin);
}

TEST(Pagination, TableRows) {
    TZrtRTFTextIo one;
    LoadString(one, "{\\rtf1 \\trowd\\cellx2000\\intbl x\\cell\\row}");
    EXPECT_FALSE(one.Body->ParFlags & pfInTable);  // a one-cell row is an ordinary paragraph
    EXPECT_EQ(SaveString(one).find("\\intbl"), std::string::npos);

    TZrtRTFTextIo two;
    LoadString(two, "{\\rtf1 \\trowd\\cellx2000\\cellx4000\\intbl a\\par b\\par c\\cell d\\par e\\par f\\par g\\par h\\cell\\row}");
    TParagraph* a = two.Body;
    TParagraph* d = a->Next;
    // Soft breaks: give each cell a line node per line, as layout would.
    auto lines = [&](TParagraph* p, int n) {
        TTextLine* l = p->FirstLine;
        for (int i = 1; i < n; ++i) two.NewLine(l, 4);
        for (TTextLine* x = p->FirstLine; x; x = x->Next) x->Height = 16;
    };
    lines(a, 3);
    lines(d, 5);
    two.Paginate(nullptr);
    auto height = [](TParagraph* p) {
        int h = 0;
        for (TTextLine* l = p->FirstLine; l; l = l->Next) h += l->Height;
        return h;
    };
    EXPECT_EQ(height(a), height(d));
    EXPECT_EQ(height(d), 80);
}

}  // namespace
}  // namespace rt
