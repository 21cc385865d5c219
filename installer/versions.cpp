#include "installer/versions.h"

#include <cstdio>
#include <memory>

#include "framework/core/platform.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "installer/strutils.h"
#include "installer/system.h"

namespace inst {

namespace {

const int kLanguageIds[] = {
    0x0401, 0x0402, 0x0403, 0x0404, 0x0405, 0x0406, 0x0407, 0x0408, 0x0409, 0x040A, 0x040B, 0x040C, 0x040D,
    0x040E, 0x040F, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A,
    0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0804, 0x0807, 0x0809, 0x080A, 0x080C, 0x0810,
    0x0813, 0x0814, 0x0816, 0x081A, 0x0C0C, 0x100C};
const int kCodePages[] = {0, 932, 949, 950, 1200, 1250, 1251, 1252, 1253, 1254, 1255, 1256};

std::string Dotted(uint32_t ms, uint32_t ls) {
    return std::to_string(ms >> 16) + "." + std::to_string(ms & 0xFFFF) + "." + std::to_string(ls >> 16) + "." +
           std::to_string(ls & 0xFFFF);
}

std::string OsName(uint32_t os) {
    switch (os) {
        case 0x10000: return "MS-Dos";
        case 0x20000: return "16 bit OS/2";
        case 0x30000: return "32 bit OS/2";
        case 0x40000: return "Windows NT";
        case 1: return "Windows 3.0 or later";
        case 2: return "16 bit OS/2 Presentation Manager";
        case 3: return "32 bit OS/2 Presentation Manager";
        case 4: return "32 bit Windows";
        case 0x10001: return "Windows 3.0 or later with MS-Dos";
        case 0x10004: return "32 bit Windows with MS-Dos";
        case 0x20002: return "16 bit OS/2 with Presentation Manager";
        case 0x30003: return "32 bit OS/2 with Presentation Manager";
        case 0x40004: return "Windows NT with 32 bit Windows";
        default: return "Unknown";
    }
}

std::string TypeName(uint32_t type) {
    switch (type) {
        case 1: return "Application";
        case 2: return "Dynamic-Link Library";
        case 3: return "Device Driver";
        case 4: return "Font";
        case 5: return "Virtual Device Driver";
        case 7: return "Static-Link Library";
        default: return "Unknown";
    }
}

std::string SubTypeName(uint32_t type, uint32_t sub) {
    static const char* const drivers[] = {"Printer", "Keyboard", "Language", "Display", "Mouse",
                                          "Network", "System",   "Installable", "Sound", "Communications"};
    static const char* const fonts[] = {"Raster", "Vector", "TrueType"};
    if (type == 3) return sub >= 1 && sub <= 10 ? drivers[sub - 1] : "Unknown";
    if (type == 4) return sub >= 1 && sub <= 3 ? fonts[sub - 1] : "Unknown";
    return std::string();
}

bool ToInt(const std::string& s, int64_t& v) { return !s.empty() && fw::TryStrToInt64(s, v); }

bool CanOpen(const std::string& path) {
    try {
        fw::TFileStream f(path, fw::fmOpenRead | fw::fmShareDenyNone);
        return true;
    } catch (const fw::Exception&) {
        return false;
    }
}

// Dates in the 2-second DOS unit, as unsigned (date in the high word) so that they order by time.
int CompareDates(uint32_t source, uint32_t dest) {
    if (source > dest) return kSourceNewer;
    if (source == dest) return kSame;
    return kDestNewer;
}

int ByVersion(const std::string& sourceVersion, const std::string& dest) {
    switch (CompareVersions(sourceVersion, FileVersionOf(dest))) {
        case 0: return kSame;
        case 1: return kSourceNewer;
        default: return kDestNewer;
    }
}

}  // namespace

int LanguageId(TVersionLanguage language) {
    int i = static_cast<int>(language);
    if (i < 0 || i >= static_cast<int>(std::size(kLanguageIds))) throw fw::Exception("");
    return kLanguageIds[i];
}

int CodePage(TCharacterSet charset) {
    int i = static_cast<int>(charset);
    if (i < 0 || i >= static_cast<int>(std::size(kCodePages))) throw fw::Exception("");
    return kCodePages[i];
}

void TVersionInfo::Clear() {
    Comment = CompanyName = FileDescription = FileVersion = InternalName = LegalCopyright = LegalTradeMarks =
        OriginalFileName = PrivateBuild = ProductName = ProductVersion = SpecialBuild = FileOS = FileType =
            FileSubType = std::string();
    TranslationLanguage = 0;
}

void TVersionInfo::Assign(fw::TPersistent* source) {
    if (auto* v = dynamic_cast<TVersionInfo*>(source)) {
        Comment = v->Comment;
        CompanyName = v->CompanyName;
        FileDescription = v->FileDescription;
        FileVersion = v->FileVersion;
        InternalName = v->InternalName;
        LegalCopyright = v->LegalCopyright;
        LegalTradeMarks = v->LegalTradeMarks;
        OriginalFileName = v->OriginalFileName;
        TranslationLanguage = v->TranslationLanguage;
        PrivateBuild = v->PrivateBuild;
        ProductName = v->ProductName;
        ProductVersion = v->ProductVersion;
        SpecialBuild = v->SpecialBuild;
        FileOS = v->FileOS;
        FileType = v->FileType;
        FileSubType = v->FileSubType;
        return;
    }
    fw::TPersistent::Assign(source);
}

TVersionResource::TVersionResource(fw::TComponent* owner) : fw::TComponent(owner) {
    try {
        fileName_ = fw::HostSeam().ExeName();
    } catch (const fw::Exception&) {
    }
    Refresh();
}

void TVersionResource::SetFileName(const std::string& v) {
    fileName_ = v;
    Refresh();
}

void TVersionResource::SetLanguage(TVersionLanguage v) {
    LanguageId(v);
    language_ = v;
    Refresh();
}

void TVersionResource::SetCharacterSet(TCharacterSet v) {
    CodePage(v);
    charset_ = v;
    Refresh();
}

void TVersionResource::Refresh() {
    info_.Clear();
    if (fileName_.empty()) return;
    std::unique_ptr<VersionQuery> q = Sys().OpenVersionInfo(fileName_);
    if (!q) return;
    FixedFileInfo fixed;
    if (!q->Root(fixed)) return;
    std::string translation;
    if (q->Translation(translation) && translation.size() == 4)
        info_.TranslationLanguage =
            static_cast<uint16_t>((static_cast<uint8_t>(translation[0]) | static_cast<uint8_t>(translation[1]) << 8) & 0x3FF);
    info_.FileVersion = Dotted(fixed.fileVersionMS, fixed.fileVersionLS);
    info_.ProductVersion = Dotted(fixed.productVersionMS, fixed.productVersionLS);
    info_.FileOS = OsName(fixed.fileOS);
    info_.FileType = TypeName(fixed.fileType);
    info_.FileSubType = SubTypeName(fixed.fileType, fixed.fileSubtype);
    char block[32];
    std::snprintf(block, sizeof block, "\\StringFileInfo\\%04X%04X\\", static_cast<unsigned>(LanguageId(language_)),
                  static_cast<unsigned>(CodePage(charset_)));
    const std::pair<const char*, std::string*> keys[] = {
        {"Comments", &info_.Comment},          {"CompanyName", &info_.CompanyName},
        {"FileDescription", &info_.FileDescription}, {"InternalName", &info_.InternalName},
        {"LegalCopyright", &info_.LegalCopyright}, {"LegalTradeMarks", &info_.LegalTradeMarks},
        {"OriginalFileName", &info_.OriginalFileName}, {"PrivateBuild", &info_.PrivateBuild},
        {"ProductName", &info_.ProductName},   {"ProductVersion", &info_.ProductVersion},
        {"SpecialBuild", &info_.SpecialBuild}};
    for (const auto& [key, field] : keys) {
        std::string value;
        if (q->String(std::string(block) + key, value)) *field = value;
    }
}

TVersionResource& SharedVersionResource() {
    static TVersionResource* shared = fw::Make<TVersionResource>(nullptr);
    return *shared;
}

std::string FileVersionOf(const std::string& file) {
    TVersionResource& v = SharedVersionResource();
    v.SetFileName(file);
    return v.VersionInfo()->FileVersion;
}

int CompareVersions(const std::string& a, const std::string& b) {
    for (int i = 1;; ++i) {
        const std::string fa = Field(a, i, ".");
        const std::string fb = Field(b, i, ".");
        if (fa.empty() || fb.empty()) {
            if (fa.empty() && fb.empty()) return 0;
            return fa.empty() ? 2 : 1;
        }
        int64_t na = 0, nb = 0;
        if (ToInt(fa, na) && ToInt(fb, nb)) {
            if (na < nb) return 2;
            if (na > nb) return 1;
        } else {
            int c = fw::CompareStr(fa, fb);
            if (c < 0) return 2;
            if (c > 0) return 1;
        }
    }
}

namespace {

// The rules of both comparisons; the source is known through its version and, when it can be read,
// its DOS date.
template <class Version, class Date>
int Decide(const std::string& dest, TOverwriteType mode, Version sourceVersion, Date sourceDate) {
    switch (mode) {
        case TOverwriteType::owAlways:
            return kSourceNewer;
        case TOverwriteType::owNever:
            return !fw::Trim(dest).empty() && fw::FileExists(dest) ? kDestNewer : kSourceNewer;
        case TOverwriteType::owVersion:
            return ByVersion(sourceVersion(), dest);
        case TOverwriteType::owDate:
        case TOverwriteType::owVersionDate: {
            if (mode == TOverwriteType::owVersionDate) {
                int byVersion = ByVersion(sourceVersion(), dest);
                if (byVersion != kSame) return byVersion;
            }
            uint32_t date = 0;
            if (!sourceDate(date) || !CanOpen(dest)) return kCannotCompare;
            return CompareDates(date, static_cast<uint32_t>(fw::FileAge(dest)));
        }
    }
    return kCannotCompare;
}

}  // namespace

int IsFileNewerByName(const std::string& source, const std::string& dest, TOverwriteType mode) {
    return Decide(dest, mode, [&] { return FileVersionOf(source); },
                  [&](uint32_t& date) {
                      if (!CanOpen(source)) return false;
                      date = static_cast<uint32_t>(fw::FileAge(source));
                      return true;
                  });
}

int IsFileNewer(const std::string& sourceVersion, const std::string& dest, TOverwriteType mode, fw::TDateTime sourceDate) {
    return Decide(dest, mode, [&] { return sourceVersion; },
                  [&](uint32_t& date) {
                      date = static_cast<uint32_t>(fw::DateTimeToFileDate(sourceDate));
                      return true;
                  });
}

}  // namespace inst
