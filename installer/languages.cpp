#include "installer/languages.h"

#include "framework/core/format.h"
#include "framework/core/sysutils.h"
#include "installer/strutils.h"

namespace inst {

namespace {

// The fonts of the Far East languages are named in their own code pages.
constexpr char kChineseFont[] = "\xB7\x73\xB2\xD3\xA9\xFA\xC5";
constexpr char kJapaneseFont[] = "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";
constexpr char kKoreanFont[] = "\xB9\xD9\xC5\xC1";

const LanguageInfo kLanguages[kLanguageCount] = {
    {"qlChineseSimplified", "BM_LANG_SIMPCHINESE", "qnfiChineseSimplified.txt", 134, kChineseFont, 9},
    {"qlChineseTraditional", "BM_LANG_CHINESE_TRADITIONAL", "qnfiChineseTraditional.txt", 136, kChineseFont, 9},
    {"qlCzech", "BM_LANG_CZECH", "qnfiCzech.txt", 238, "Arial", 8},
    {"qlDanish", "BM_LANG_DANISH", "qnfiDanish.txt", 0, "Arial", 8},
    {"qlDutch", "BM_LANG_DUTCH", "qnfiDutch.txt", 0, "Arial", 8},
    {"qlEnglish", "BM_LANG_ENGLISH", "qnfiEnglish.txt", 0, "Arial", 8},
    {"qlFrench", "BM_LANG_FRENCH", "qnfiFrench.txt", 0, "Arial", 8},
    {"qlGerman", "BM_LANG_GERMAN", "qnfiGerman.txt", 0, "MS Sans Serif", 8},
    {"qlGreek", "BM_LANG_GREEK", "qnfiGreek.txt", 0, "SGreek", 8},
    {"qlHebrew", "BM_LANG_HEBREW", "qnfiHebrew.txt", 177, nullptr, 0},
    {"qlItalian", "BM_LANG_ITALIAN", "qnfiItalian.txt", 0, "Arial", 8},
    {"qlJapanese", "BM_LANG_JAPANESE", "qnfiJapanese.txt", 128, kJapaneseFont, 9},
    {"qlKorean", "BM_LANG_KOREAN", "qnfiKorean.txt", 129, kKoreanFont, 9},
    {"qlNorwegianBokmal", "BM_LANG_NORWEGIAN_BOKMAL", "qnfiNorwegianBokmal.txt", 0, "Arial", 8},
    {"qlNorwegianNynorsk", "BM_LANG_NORWEGIAN_NYNORSK", "qnfiNorwegianNynorsk.txt", 0, "Arial", 8},
    {"qlPolish", "BM_LANG_POLISH", "qnfiPolish.txt", 238, "Arial", 8},
    {"qlPortugese", "BM_LANG_PORTUGESE", "qnfiPortugese.txt", 238, "Arial", 8},
    {"qlRussian", "BM_LANG_RUSSIAN", "qnfiRussian.txt", 204, "Arial", 8},
    {"qlSpanish", "BM_LANG_SPANISH", "qnfiSpanish.txt", 0, "Arial", 8},
    {"qlUser", "", "", -1, nullptr, 0},
    {"qlVietnamese", "BM_LANG_VIETNAMESE", "qnfiVietnamese.txt", 163, "Arial", 8},
};

[[noreturn]] void Unrecognized() { throw fw::Exception("Unrecognized language"); }

const char kEndOfMemoOutside[] = "Found the end of memo marker # at line %d. Was not in a memo however";
const char kNoMemoFormat[] = "The %d'th string (%s) does not have the proper format of .GLID;";
const char kNoStringFormat[] = "The %d'th string (%s) does not have the proper format of GLID;Text";
const char kNoFormatAtAll[] = "The %d'th string (%s) does not have the proper format of GLID;Text or .GLID;";

// The GLID of a table line: the text must be a 32-bit integer.
int ParseGlid(const std::string& text, int line, const std::string& trimmed) {
    if (text.empty()) throw fw::Exception(fw::Format(kNoStringFormat, {line, trimmed}));
    int64_t value = 0;
    if (!fw::TryStrToInt64(text, value) || value < INT32_MIN || value > INT32_MAX)
        throw fw::Exception(fw::Format(kNoFormatAtAll, {line, trimmed}));
    return static_cast<int>(value);
}

}  // namespace

const LanguageInfo& LanguageInfoOf(TQnfdLanguage language) {
    int i = static_cast<int>(language);
    if (!IsValidLanguage(i)) Unrecognized();
    return kLanguages[i];
}

bool IsValidLanguage(int ordinal) { return ordinal >= 0 && ordinal < kLanguageCount; }

int LanguageCharset(int ordinal) {
    if (!IsValidLanguage(ordinal) || kLanguages[ordinal].charset < 0) Unrecognized();
    return kLanguages[ordinal].charset;
}

std::string LanguageFontName(int ordinal) {
    if (!IsValidLanguage(ordinal) || !kLanguages[ordinal].fontName) Unrecognized();
    return kLanguages[ordinal].fontName;
}

int LanguageMinFontSize(int ordinal) {
    if (!IsValidLanguage(ordinal) || !kLanguages[ordinal].fontName) Unrecognized();
    return kLanguages[ordinal].minFontSize;
}

TQnfdLanguage LanguageFromLangId(uint16_t langId) {
    const int primary = langId & 0x3FF;
    const int sub = langId >> 10;
    using L = TQnfdLanguage;
    switch (primary) {
        case 4: return sub == 1 ? L::qlChineseTraditional : L::qlChineseSimplified;
        case 5: return L::qlCzech;
        case 6: return L::qlDanish;
        case 7: return L::qlGerman;
        case 8: return L::qlGreek;
        case 10: return L::qlSpanish;
        case 12: return L::qlFrench;
        case 13: return L::qlHebrew;
        case 16: return L::qlItalian;
        case 17: return L::qlJapanese;
        case 18: return L::qlKorean;
        case 19: return L::qlDutch;
        case 20: return sub == 1 ? L::qlNorwegianBokmal : L::qlNorwegianNynorsk;
        case 21: return L::qlPolish;
        case 22: return L::qlPortugese;
        case 25: return L::qlRussian;
        case 42: return L::qlVietnamese;
        default: return L::qlEnglish;
    }
}

// ---- TLanguageFont ----------------------------------------------------------------------------------

void TLanguageFont::Assign(fw::TPersistent* source) {
    if (auto* f = dynamic_cast<TLanguageFont*>(source)) {
        name_ = f->name_;
        size_ = f->size_;
        charset_ = f->charset_;
        return;
    }
    fw::TPersistent::Assign(source);
}

// ---- Entries ----------------------------------------------------------------------------------------

TLanguageString::TLanguageString(TLanguage* language, int glid, int lineIndex, std::string text)
    : TLanguageElement(language, glid, lineIndex), text_(std::move(text)) {
    if (text_.size() > 255) text_.resize(255);
}

TLanguageMemo::TLanguageMemo(TLanguage* language, int glid, int lineIndex, const std::vector<std::string>& lines)
    : TLanguageElement(language, glid, lineIndex) {
    for (const std::string& l : lines) lines_.Add(l);
}

// ---- TLangFormatStrings ------------------------------------------------------------------------------

void TLangFormatStrings::ParseUnlessUpdating() {
    if (UpdateCount() == 0) language_->ParseStrings();
}

int TLangFormatStrings::Add(const std::string& s) {
    int i = fw::TStringList::Add(s);
    ParseUnlessUpdating();
    return i;
}

void TLangFormatStrings::Insert(int index, const std::string& s) {
    fw::TStringList::Insert(index, s);
    ParseUnlessUpdating();
}

void TLangFormatStrings::Put(int index, const std::string& s) {
    fw::TStringList::Put(index, s);
    ParseUnlessUpdating();
}

void TLangFormatStrings::Delete(int index) {
    fw::TStringList::Delete(index);
    language_->LinesDeleted(index);
}

void TLangFormatStrings::Clear() {
    fw::TStringList::Clear();
    ParseUnlessUpdating();
}

void TLangFormatStrings::SetUpdateState(bool updating) {
    fw::TStringList::SetUpdateState(updating);
    if (!updating) language_->ParseStrings();
}

// Assignment and loading parse once, at the end.
void TLangFormatStrings::Assign(fw::TPersistent* source) {
    language_->SetAutoParse(false);
    try {
        fw::TStringList::Assign(source);
    } catch (...) {
        language_->SetAutoParse(true);
        throw;
    }
    language_->SetAutoParse(true);
    language_->ParseStrings();
}

void TLangFormatStrings::LoadFromFile(const std::string& fileName) {
    language_->SetAutoParse(false);
    try {
        fw::TStringList::LoadFromFile(fileName);
    } catch (...) {
        language_->SetAutoParse(true);
        throw;
    }
    language_->SetAutoParse(true);
    language_->ParseStrings();
}

// ---- TLanguage ---------------------------------------------------------------------------------------

TLanguage::TLanguage(TTranslator* owner, TQnfdLanguage ident)
    : owner_(owner),
      tableName_(LanguageInfoOf(ident).tableName),
      fileName_(LanguageInfoOf(ident).fileName),
      font_(std::make_unique<TLanguageFont>()),
      ident_(ident),
      strings_(std::make_unique<TLangFormatStrings>(this)) {}

TLanguage::~TLanguage() {
    // The lines outlive no parse: stop parsing before they go.
    autoParse_ = false;
}

void TLanguage::SetStrings(fw::TStrings* lines) { strings_->Assign(lines); }

void TLanguage::FreeEntries() {
    memoEntries_.clear();
    stringEntries_.clear();
}

void TLanguage::ParseStrings() {
    if (!autoParse_) return;
    FreeEntries();
    try {
        bool inMemo = false;
        int memoGlid = 0;
        int memoLine = 0;
        std::vector<std::string> memoLines;
        for (int i = 0; i < strings_->Count(); ++i) {
            const std::string line = fw::Trim(strings_->Get(i));
            if (line.empty()) continue;
            if (line == "#") {
                if (!inMemo) throw fw::Exception(fw::Format(kEndOfMemoOutside, {i}));
                memoEntries_.push_back(std::make_unique<TLanguageMemo>(this, memoGlid, memoLine, memoLines));
                inMemo = false;
            } else if (line[0] == '*') {
                continue;
            } else if (!inMemo) {
                if (line[0] == '#') {
                    if (line.size() < 2) throw fw::Exception(fw::Format(kNoMemoFormat, {i, line}));
                    memoGlid = ParseGlid(Field(line, 1, ";").substr(1), i, line);
                    memoLine = i;
                    memoLines.clear();
                    inMemo = true;
                } else {
                    const int glid = ParseGlid(Field(line, 1, ";"), i, line);
                    const std::string text = Field(line, 2, ";");
                    if (fw::Trim(text).empty()) throw fw::Exception(fw::Format(kNoStringFormat, {i, line}));
                    stringEntries_.push_back(std::make_unique<TLanguageString>(this, glid, i, text));
                }
            } else {
                memoLines.push_back(line);
            }
        }
    } catch (...) {
        FreeEntries();
        throw;
    }
}

void TLanguage::LinesDeleted(int line) {
    for (auto& s : stringEntries_)
        if (s->LineIndex() > line) s->SetLineIndex(s->LineIndex() - 1);
}

TLanguageString* TLanguage::FindString(int glid) const {
    for (auto& s : stringEntries_)
        if (s->GLID() == glid) return s.get();
    return nullptr;
}

TLanguageString* TLanguage::FindStringByText(const std::string& text) const {
    for (auto& s : stringEntries_)
        if (fw::AnsiCompareText(s->Text(), text) == 0) return s.get();
    return nullptr;
}

TLanguageMemo* TLanguage::FindMemo(int glid) const {
    for (auto& m : memoEntries_)
        if (m->GLID() == glid) return m.get();
    return nullptr;
}

namespace {
std::string JoinedLines(const fw::TStrings& lines) {
    std::string text;
    for (int i = 0; i < lines.Count(); ++i) {
        if (i) text += "\r\n";
        text += lines.Get(i);
    }
    return text;
}
}  // namespace

TLanguageMemo* TLanguage::FindMemoByLines(const fw::TStrings& lines) const {
    const std::string wanted = JoinedLines(lines);
    for (auto& m : memoEntries_)
        if (JoinedLines(m->Lines()) == wanted) return m.get();
    return nullptr;
}

void TLanguage::Assign(fw::TPersistent* source) {
    if (auto* l = dynamic_cast<TLanguage*>(source)) {
        font_->Assign(l->font_.get());
        fontOverride_ = l->fontOverride_;
        strings_->Assign(l->strings_.get());
        return;
    }
    fw::TPersistent::Assign(source);
}

}  // namespace inst
