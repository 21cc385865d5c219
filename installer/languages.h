// Language tables: the 21 languages the setup program knows, and one table per language that maps a
// number (the GLID) to a text and numbered blocks of lines to memo texts.
//
// Table text, one entry per line (each line trimmed, empty lines skipped):
//   5;Next              a string entry: GLID, ";", the text (up to the next ";", kept untrimmed)
//   * a comment         anywhere, also inside a memo block
//   #7;                 opens memo 7; the following lines are its lines ...
//   #                   ... until a line that is exactly "#"
// A memo block still open at the end of the table is dropped.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/lists.h"

namespace inst {

enum class TQnfdLanguage {
    qlChineseSimplified, qlChineseTraditional, qlCzech, qlDanish, qlDutch, qlEnglish, qlFrench, qlGerman,
    qlGreek, qlHebrew, qlItalian, qlJapanese, qlKorean, qlNorwegianBokmal, qlNorwegianNynorsk, qlPolish,
    qlPortugese, qlRussian, qlSpanish, qlUser, qlVietnamese
};
constexpr int kLanguageCount = 21;

// What the table of languages says about one of them. charset < 0: none ("Unrecognized language").
struct LanguageInfo {
    const char* valueName;  // "qlFrench"
    const char* tableName;  // "BM_LANG_FRENCH", "" for qlUser
    const char* fileName;   // "qnfiFrench.txt"
    int charset;
    const char* fontName;   // bytes in the language's code page
    int minFontSize;
};
const LanguageInfo& LanguageInfoOf(TQnfdLanguage language);
bool IsValidLanguage(int ordinal);
// Raise fw::Exception "Unrecognized language" for qlHebrew, qlUser and ordinals outside 0..20.
int LanguageCharset(int ordinal);
std::string LanguageFontName(int ordinal);
int LanguageMinFontSize(int ordinal);
// The language of a Windows language id (primary language in the low 10 bits, sublanguage above).
TQnfdLanguage LanguageFromLangId(uint16_t langId);

// The font a language asks for when its table overrides the standard choice.
class TLanguageFont : public fw::TPersistent {
public:
    const std::string& Name() const { return name_; }
    void SetName(const std::string& v) { name_ = v; }
    int Size() const { return size_; }
    void SetSize(int v) { size_ = v; }
    int Charset() const { return charset_; }
    void SetCharset(int v) { charset_ = v; }
    void Assign(fw::TPersistent* source) override;

private:
    std::string name_ = "MS Sans Serif";
    int size_ = 8;
    int charset_ = 1;  // DEFAULT_CHARSET
};

class TLanguage;

// A table entry: its GLID and the 0-based line where it starts.
class TLanguageElement {
public:
    TLanguageElement(TLanguage* language, int glid, int lineIndex)
        : language_(language), glid_(glid), lineIndex_(lineIndex) {}
    virtual ~TLanguageElement() = default;
    int GLID() const { return glid_; }
    int LineIndex() const { return lineIndex_; }
    void SetLineIndex(int v) { lineIndex_ = v; }
    TLanguage* Language() const { return language_; }

private:
    TLanguage* language_;
    int glid_;
    int lineIndex_;
};

class TLanguageString : public TLanguageElement {
public:
    TLanguageString(TLanguage* language, int glid, int lineIndex, std::string text);
    const std::string& Text() const { return text_; }

private:
    std::string text_;  // at most 255 characters
};

class TLanguageMemo : public TLanguageElement {
public:
    TLanguageMemo(TLanguage* language, int glid, int lineIndex, const std::vector<std::string>& lines);
    fw::TStringList& Lines() { return lines_; }
    const fw::TStringList& Lines() const { return lines_; }

private:
    fw::TStringList lines_;
};

// The lines of a table: every change parses the table again while the language's AutoParse is on,
// except Delete, which only moves the later string entries up by one line.
class TLangFormatStrings : public fw::TStringList {
public:
    explicit TLangFormatStrings(TLanguage* language) : language_(language) {}
    int Add(const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Put(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    void Assign(fw::TPersistent* source) override;
    void LoadFromFile(const std::string& fileName);

protected:
    void SetUpdateState(bool updating) override;

private:
    void ParseUnlessUpdating();
    TLanguage* language_;
};

class TTranslator;

class TLanguage : public fw::TPersistent {
public:
    TLanguage(TTranslator* owner, TQnfdLanguage ident);
    ~TLanguage() override;

    TTranslator* Translator() const { return owner_; }
    const std::string& TableName() const { return tableName_; }
    const std::string& FileName() const { return fileName_; }
    TQnfdLanguage LanguageIdent() const { return ident_; }

    TLanguageFont* Font() const { return font_.get(); }
    void SetFont(TLanguageFont* font) { font_->Assign(font); }
    bool FontOverride() const { return fontOverride_; }
    void SetFontOverride(bool v) { fontOverride_ = v; }
    TLangFormatStrings* Strings() const { return strings_.get(); }
    // Copies the lines and parses them once.
    void SetStrings(fw::TStrings* lines);

    bool AutoParse() const { return autoParse_; }
    void SetAutoParse(bool v) { autoParse_ = v; }

    // Builds the entries from Strings. A format error frees every entry and raises fw::Exception.
    void ParseStrings();

    const std::vector<std::unique_ptr<TLanguageString>>& StringEntries() const { return stringEntries_; }
    const std::vector<std::unique_ptr<TLanguageMemo>>& MemoEntries() const { return memoEntries_; }
    bool Empty() const { return stringEntries_.empty() && memoEntries_.empty(); }

    TLanguageString* FindString(int glid) const;
    // Compares ignoring case as the user's locale does.
    TLanguageString* FindStringByText(const std::string& text) const;
    TLanguageMemo* FindMemo(int glid) const;
    // Compares the memo's full text (lines joined with CR LF) exactly.
    TLanguageMemo* FindMemoByLines(const fw::TStrings& lines) const;

    void Assign(fw::TPersistent* source) override;

    // Used by Delete of the lines: string entries after `line` move up by one.
    void LinesDeleted(int line);

private:
    void FreeEntries();

    TTranslator* owner_;
    std::string tableName_;
    std::string fileName_;
    std::unique_ptr<TLanguageFont> font_;
    bool fontOverride_ = false;
    std::vector<std::unique_ptr<TLanguageMemo>> memoEntries_;
    std::vector<std::unique_ptr<TLanguageString>> stringEntries_;
    TQnfdLanguage ident_;
    std::unique_ptr<TLangFormatStrings> strings_;
    bool autoParse_ = true;
};

}  // namespace inst
