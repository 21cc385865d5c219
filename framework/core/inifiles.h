// Settings stores with the ini-file interface: TCustomIniFile and TIniFile here; TRegIniFile, which
// keeps the same interface in the registry, is in registry.h.
//
// Booleans are stored in three formats, each where its users expect it; do not harmonise them:
//   (a) The form and property storage writes "True"/"False" and reads the names ignoring case.
//   (b) The application's single settings values are "TRUE"/"FALSE", read by an upper-case compare.
//   (c) TCustomIniFile::WriteBool (so TIniFile and TRegIniFile, and the controls built on them)
//       writes "1"/"0". ReadBool takes a number as true when it is not 0, accepts "true"/"false" in
//       any case, and gives the default for anything else. The placement value "Visible" is "1"/"0".
// Only (c) lives here; (a) and (b) belong to their own units.
#pragma once

#include <string>
#include <vector>

#include "framework/core/lists.h"
#include "framework/core/platform.h"

namespace fw {

class TCustomIniFile {
public:
    explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    virtual ~TCustomIniFile() = default;
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    const std::string& FileName() const { return fileName_; }

    virtual std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) = 0;
    virtual void WriteString(const std::string& section, const std::string& ident, const std::string& value) = 0;
    // Decimal, or hexadecimal after "$" or "0x"; anything else gives def.
    virtual int ReadInteger(const std::string& section, const std::string& ident, int def);
    virtual void WriteInteger(const std::string& section, const std::string& ident, int value);
    // Format (c) above.
    virtual bool ReadBool(const std::string& section, const std::string& ident, bool def);
    virtual void WriteBool(const std::string& section, const std::string& ident, bool value);

    // Key names of a section, section names, and "key=value" lines of a section; each replaces the
    // list's contents.
    virtual void ReadSection(const std::string& section, std::vector<std::string>& keys) = 0;
    virtual void ReadSections(std::vector<std::string>& sections) = 0;
    void ReadSection(const std::string& section, TStrings& strings);
    void ReadSections(TStrings& strings);
    void ReadSectionValues(const std::string& section, TStrings& strings);
    void ReadSectionValues(const std::string& section, std::vector<std::string>& lines);

    virtual void EraseSection(const std::string& section) = 0;
    virtual void DeleteKey(const std::string& section, const std::string& ident) = 0;
    virtual bool ValueExists(const std::string& section, const std::string& ident);
    // True when the section holds at least one key.
    virtual bool SectionExists(const std::string& section);
    virtual void UpdateFile() {}

private:
    std::string fileName_;
};

// An ini file on disk, read and written through the ProfileStore seam (the system's profile functions
// on Win32). Writes go to the file at once. A write that fails raises EInOutError.
class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(std::string fileName) : TCustomIniFile(std::move(fileName)) {}

    std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    using TCustomIniFile::ReadSection;
    using TCustomIniFile::ReadSections;
    void ReadSection(const std::string& section, std::vector<std::string>& keys) override;
    void ReadSections(std::vector<std::string>& sections) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;
    void UpdateFile() override;
};

// The portable parser of ini text, with the rules of the system's profile functions:
// - lines end at CR, LF or CR LF; blanks (and Ctrl-Z) at either end of a line are ignored;
// - "[name]" starts a section; the name runs to the last "]" of the line, blanks around it ignored;
//   a "[" line without "]" is read as an entry; entries before the first header belong to a section
//   without a name, which the name "" finds;
// - an entry is "name=value" split at the first "="; blanks around the name and before the value are
//   ignored; a line without "=" is a name with no value: it reads as missing and is not listed;
// - entries whose name starts with ";" are comments: never listed (a lookup of the whole name finds
//   them, as the system's does);
// - names compare ignoring case, and the first matching section (then key) wins;
// - a value that starts and ends with the same quote (' or "), two characters or more, reads
//   without them.
// Lines it does not change are kept byte for byte when the text is written back.
class IniDocument {
public:
    explicit IniDocument(const std::string& text = std::string());

    bool Read(const std::string& section, const std::string& key, std::string& value) const;
    void Write(const std::string& section, const std::string& key, const std::string& value);
    std::vector<std::string> Keys(const std::string& section) const;
    std::vector<std::string> Sections() const;
    bool EraseSection(const std::string& section);
    bool DeleteKey(const std::string& section, const std::string& key);
    // The text, lines ended by CR LF.
    std::string Text() const;

private:
    enum class Kind { Blank, Section, Entry };
    static constexpr int kNameless = -2;  // FindSection's answer for "", the entries before any header
    struct Line {
        std::string raw;
        Kind kind = Kind::Blank;
        std::string name;   // section or key name
        std::string value;  // raw value (quotes kept)
        bool hasValue = false;
        int section = -1;   // index of the section header line an entry belongs to (-1: none)
    };
    // The header line of the first section named section, or -1.
    int FindSection(const std::string& section) const;
    int FindKey(int sectionLine, const std::string& key) const;
    void Reindex();

    std::vector<Line> lines_;
};

}  // namespace fw
