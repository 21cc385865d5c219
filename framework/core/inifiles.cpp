#include "framework/core/inifiles.h"

#include "framework/core/exceptions.h"
#include "framework/core/sysutils.h"

namespace fw {

// ---- TCustomIniFile ----------------------------------------------------------------------------

int TCustomIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) {
    return StrToIntDef(ReadString(section, ident, std::string()), def);
}

void TCustomIniFile::WriteInteger(const std::string& section, const std::string& ident, int value) {
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) {
    const std::string text = ReadString(section, ident, std::string());
    int64_t number = 0;
    if (TryStrToInt64(text, number)) return number != 0;
    if (SameText(text, "true")) return true;
    if (SameText(text, "false")) return false;
    return def;
}

void TCustomIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

void TCustomIniFile::ReadSection(const std::string& section, TStrings& strings) {
    std::vector<std::string> keys;
    ReadSection(section, keys);
    strings.BeginUpdate();
    strings.Clear();
    for (const std::string& k : keys) strings.Add(k);
    strings.EndUpdate();
}

void TCustomIniFile::ReadSections(TStrings& strings) {
    std::vector<std::string> sections;
    ReadSections(sections);
    strings.BeginUpdate();
    strings.Clear();
    for (const std::string& s : sections) strings.Add(s);
    strings.EndUpdate();
}

void TCustomIniFile::ReadSectionValues(const std::string& section, std::vector<std::string>& lines) {
    std::vector<std::string> keys;
    ReadSection(section, keys);
    lines.clear();
    for (const std::string& k : keys) lines.push_back(k + "=" + ReadString(section, k, std::string()));
}

void TCustomIniFile::ReadSectionValues(const std::string& section, TStrings& strings) {
    std::vector<std::string> lines;
    ReadSectionValues(section, lines);
    strings.BeginUpdate();
    strings.Clear();
    for (const std::string& l : lines) strings.Add(l);
    strings.EndUpdate();
}

bool TCustomIniFile::ValueExists(const std::string& section, const std::string& ident) {
    std::vector<std::string> keys;
    ReadSection(section, keys);
    for (const std::string& k : keys)
        if (SameText(k, ident)) return true;
    return false;
}

bool TCustomIniFile::SectionExists(const std::string& section) {
    std::vector<std::string> keys;
    ReadSection(section, keys);
    return !keys.empty();
}

// ---- TIniFile ----------------------------------------------------------------------------------

std::string TIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& def) {
    std::string value;
    return Profiles().ReadString(FileName(), section, ident, value) ? value : def;
}

void TIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    if (!Profiles().WriteString(FileName(), section, ident, value))
        throw EInOutError("Unable to write to " + FileName());
}

void TIniFile::ReadSection(const std::string& section, std::vector<std::string>& keys) {
    keys.clear();
    Profiles().ReadKeys(FileName(), section, keys);
}

void TIniFile::ReadSections(std::vector<std::string>& sections) {
    sections.clear();
    Profiles().ReadSections(FileName(), sections);
}

void TIniFile::EraseSection(const std::string& section) {
    // Erasing a section that is not there is not an error; failing to write the file is.
    std::vector<std::string> sections;
    Profiles().ReadSections(FileName(), sections);
    bool present = false;
    for (const std::string& s : sections) present = present || SameText(s, Trim(section));
    if (present && !Profiles().EraseSection(FileName(), section))
        throw EInOutError("Unable to write to " + FileName());
}

void TIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    Profiles().DeleteKey(FileName(), section, ident);
}

void TIniFile::UpdateFile() { Profiles().Flush(FileName()); }

// ---- IniDocument -------------------------------------------------------------------------------

namespace {

bool IsIniBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A'; }

std::string TrimIni(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsIniBlank(s[b])) ++b;
    while (e > b && IsIniBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

std::string Unquote(const std::string& v) {
    if (v.size() >= 2 && (v[0] == '\'' || v[0] == '"') && v.back() == v[0]) return v.substr(1, v.size() - 2);
    return v;
}

}  // namespace

IniDocument::IniDocument(const std::string& text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        size_t end = i;
        while (end < n && text[end] != '\r' && text[end] != '\n') ++end;
        Line line;
        line.raw = text.substr(i, end - i);
        lines_.push_back(line);
        if (end < n && text[end] == '\r' && end + 1 < n && text[end + 1] == '\n') ++end;
        i = end + 1;
    }
    Reindex();
}

void IniDocument::Reindex() {
    int section = -1;
    for (size_t k = 0; k < lines_.size(); ++k) {
        Line& line = lines_[k];
        const std::string t = TrimIni(line.raw);
        line.name.clear();
        line.value.clear();
        line.hasValue = false;
        if (t.empty()) {
            line.kind = Kind::Blank;
            line.section = section;
            continue;
        }
        if (t[0] == '[') {
            const size_t close = t.rfind(']');
            if (close != std::string::npos) {
                line.kind = Kind::Section;
                line.name = TrimIni(t.substr(1, close - 1));
                section = static_cast<int>(k);
                line.section = section;
                continue;
            }
        }
        line.kind = Kind::Entry;
        line.section = section;
        const size_t eq = t.find('=');
        if (eq == std::string::npos) {
            line.name = t;
        } else {
            line.name = TrimIni(t.substr(0, eq));
            line.value = TrimIni(t.substr(eq + 1));
            line.hasValue = true;
        }
    }
}

int IniDocument::FindSection(const std::string& section) const {
    const std::string want = TrimIni(section);
    // Entries before the first header form a section without a name, found by "".
    if (want.empty()) return kNameless;
    for (size_t k = 0; k < lines_.size(); ++k)
        if (lines_[k].kind == Kind::Section && SameText(lines_[k].name, want)) return static_cast<int>(k);
    return -1;
}

int IniDocument::FindKey(int sectionLine, const std::string& key) const {
    const std::string want = TrimIni(key);
    const size_t first = sectionLine == kNameless ? 0 : static_cast<size_t>(sectionLine) + 1;
    for (size_t k = first; k < lines_.size() && lines_[k].kind != Kind::Section; ++k)
        if (lines_[k].kind == Kind::Entry && SameText(lines_[k].name, want)) return static_cast<int>(k);
    return -1;
}

bool IniDocument::Read(const std::string& section, const std::string& key, std::string& value) const {
    const int s = FindSection(section);
    if (s == -1) return false;
    const int k = FindKey(s, key);
    if (k < 0 || !lines_[static_cast<size_t>(k)].hasValue) return false;
    value = Unquote(lines_[static_cast<size_t>(k)].value);
    return true;
}

void IniDocument::Write(const std::string& section, const std::string& key, const std::string& value) {
    const std::string sectionName = TrimIni(section);
    const std::string keyName = TrimIni(key);
    Line entry;
    entry.raw = keyName + "=" + TrimIni(value);
    int s = sectionName.empty() ? -1 : FindSection(sectionName);
    if (s < 0) {
        if (!lines_.empty() && !TrimIni(lines_.back().raw).empty()) lines_.push_back(Line{});
        Line header;
        header.raw = "[" + sectionName + "]";
        lines_.push_back(header);
        lines_.push_back(entry);
        Reindex();
        return;
    }
    const int k = FindKey(s, keyName);
    if (k >= 0) {
        lines_[static_cast<size_t>(k)].raw = entry.raw;
    } else {
        // After the section's last non-blank line, so blank separators stay between sections.
        size_t at = static_cast<size_t>(s) + 1;
        for (size_t j = at; j < lines_.size() && lines_[j].kind != Kind::Section; ++j)
            if (lines_[j].kind != Kind::Blank) at = j + 1;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), entry);
    }
    Reindex();
}

std::vector<std::string> IniDocument::Keys(const std::string& section) const {
    std::vector<std::string> keys;
    const int s = FindSection(section);
    if (s < 0) return keys;
    for (size_t k = static_cast<size_t>(s) + 1; k < lines_.size() && lines_[k].kind != Kind::Section; ++k)
        if (lines_[k].kind == Kind::Entry && lines_[k].hasValue && !lines_[k].name.empty() && lines_[k].name[0] != ';')
            keys.push_back(lines_[k].name);
    return keys;
}

std::vector<std::string> IniDocument::Sections() const {
    std::vector<std::string> names;
    for (const Line& line : lines_)
        if (line.kind == Kind::Section && !line.name.empty()) names.push_back(line.name);
    return names;
}

bool IniDocument::EraseSection(const std::string& section) {
    bool erased = false;
    if (TrimIni(section).empty()) return false;
    for (int s; (s = FindSection(section)) >= 0;) {
        size_t end = static_cast<size_t>(s) + 1;
        while (end < lines_.size() && lines_[end].kind != Kind::Section) ++end;
        lines_.erase(lines_.begin() + s, lines_.begin() + static_cast<std::ptrdiff_t>(end));
        erased = true;
        Reindex();
    }
    return erased;
}

bool IniDocument::DeleteKey(const std::string& section, const std::string& key) {
    const std::string want = TrimIni(section);
    for (size_t s = 0; s < lines_.size(); ++s) {
        if (lines_[s].kind != Kind::Section || !SameText(lines_[s].name, want)) continue;
        const int k = FindKey(static_cast<int>(s), key);
        if (k >= 0) {
            lines_.erase(lines_.begin() + k);
            Reindex();
            return true;
        }
    }
    return false;
}

std::string IniDocument::Text() const {
    std::string out;
    for (const Line& line : lines_) out += line.raw + "\r\n";
    return out;
}

// ---- The portable profile store ----------------------------------------------------------------

namespace {

bool LoadText(const std::string& file, std::string& text) {
    FileSystem& fs = Fs();
    const FileHandle h = fs.Open(file, FileAccess::Read, FileShare::DenyWrite, FileCreate::OpenExisting);
    if (h == kInvalidFile) return false;
    text.clear();
    char buf[65536];
    int64_t n;
    while ((n = fs.Read(h, buf, sizeof buf)) > 0) text.append(buf, static_cast<size_t>(n));
    fs.Close(h);
    return n == 0;
}

bool SaveText(const std::string& file, const std::string& text) {
    FileSystem& fs = Fs();
    const FileHandle h = fs.Open(file, FileAccess::Write, FileShare::Exclusive, FileCreate::CreateAlways);
    if (h == kInvalidFile) return false;
    const bool ok = fs.Write(h, text.data(), static_cast<int64_t>(text.size())) == static_cast<int64_t>(text.size());
    fs.Close(h);
    return ok;
}

class TextProfiles : public ProfileStore {
public:
    bool ReadString(const std::string& file, const std::string& section, const std::string& key,
                    std::string& value) override {
        std::string text;
        return LoadText(file, text) && IniDocument(text).Read(section, key, value);
    }

    bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& value) override {
        std::string text;
        LoadText(file, text);  // a missing file starts empty
        IniDocument doc(text);
        doc.Write(section, key, value);
        return SaveText(file, doc.Text());
    }

    bool ReadKeys(const std::string& file, const std::string& section, std::vector<std::string>& keys) override {
        std::string text;
        if (!LoadText(file, text)) return false;
        keys = IniDocument(text).Keys(section);
        return true;
    }

    bool ReadSections(const std::string& file, std::vector<std::string>& sections) override {
        std::string text;
        if (!LoadText(file, text)) return false;
        sections = IniDocument(text).Sections();
        return true;
    }

    bool EraseSection(const std::string& file, const std::string& section) override {
        std::string text;
        if (!LoadText(file, text)) return false;
        IniDocument doc(text);
        return !doc.EraseSection(section) || SaveText(file, doc.Text());
    }

    bool DeleteKey(const std::string& file, const std::string& section, const std::string& key) override {
        std::string text;
        if (!LoadText(file, text)) return false;
        IniDocument doc(text);
        return doc.DeleteKey(section, key) && SaveText(file, doc.Text());
    }
};

}  // namespace

ProfileStore& TextProfileStore() {
    static TextProfiles store;
    return store;
}

}  // namespace fw
