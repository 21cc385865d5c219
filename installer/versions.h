// Version resources and the comparisons that decide whether a file replaces the one in place.
#pragma once

#include <string>

#include "framework/core/datetime.h"
#include "framework/core/object.h"

namespace inst {

enum class TOverwriteType { owAlways, owNever, owVersion, owDate, owVersionDate };

// Comparison results of the two IsFileNewer functions.
enum : int { kCannotCompare = 0, kSame = 1, kSourceNewer = 2, kDestNewer = 3 };

enum class TVersionLanguage {
    lnArabic, lnBulgarian, lnCatalan, lnTraditionalChinese, lnCzech, lnDanish, lnGerman, lnGreek, lnUSEnglish,
    lnCastilianSpanish, lnFinnish, lnFrench, lnHebrew, lnHungarian, lnIcelandic, lnItalian, lnJapanese, lnKorean,
    lnDutch, lnNorwegianBokmal, lnPolish, lnBrazilianPortuguese, lnRhaetoRomanic, lnRomanian, lnRussian,
    lnCroatoSerbian, lnSlovak, lnAlbanian, lnSwedish, lnThai, lnTurkish, lnUrdu, lnBahasa, lnSimplifiedChinese,
    lnSwissGerman, lnUKEnglish, lnMexicanSpanish, lnBelgianFrench, lnSwissItalian, lnBelgianDutch,
    lnNorwegianNynorsk, lnPortuguese, lnSerboCroatian, lnCanadianFrench, lnSwissFrench
};
enum class TCharacterSet {
    csASCII, csJapan, csKorea, csTaiwan, csUnicode, csLatin2, csCyrillic, csMultilingual, csGreek, csTurkish,
    csHebrew, csArabic
};
// Raise fw::Exception with no text for a value outside the tables.
int LanguageId(TVersionLanguage language);
int CodePage(TCharacterSet charset);

class TVersionInfo : public fw::TPersistent {
public:
    std::string Comment, CompanyName, FileDescription, FileVersion, InternalName, LegalCopyright,
        LegalTradeMarks, OriginalFileName;
    uint16_t TranslationLanguage = 0;  // low 10 bits of the resource's first language id
    std::string PrivateBuild, ProductName, ProductVersion, SpecialBuild, FileOS, FileType, FileSubType;

    void Clear();
    void Assign(fw::TPersistent* source) override;
};

class TVersionResource : public fw::TComponent {
public:
    explicit TVersionResource(fw::TComponent* owner);

    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& v);
    TVersionLanguage Language() const { return language_; }
    void SetLanguage(TVersionLanguage v);
    TCharacterSet CharacterSet() const { return charset_; }
    void SetCharacterSet(TCharacterSet v);
    TVersionInfo* VersionInfo() { return &info_; }

    // Reads the resource of FileName into VersionInfo.
    void Refresh();

private:
    std::string fileName_;
    TVersionLanguage language_ = TVersionLanguage::lnUSEnglish;
    TCharacterSet charset_ = TCharacterSet::csMultilingual;
    TVersionInfo info_;
};

// The program-wide instance the comparisons and archive headers use (made on first use).
TVersionResource& SharedVersionResource();
// The FileVersion of a file through the shared instance ("" without a resource).
std::string FileVersionOf(const std::string& file);

// "." separated fields, numerically where both are integers, else by character codes:
// 0 equal, 1 a newer, 2 b newer.
int CompareVersions(const std::string& a, const std::string& b);
int IsFileNewerByName(const std::string& source, const std::string& dest, TOverwriteType mode);
// A source known by its version and date (an archive entry) against a file on disk. Dates compare in
// DOS time, the 2-second unit both sides are kept in.
int IsFileNewer(const std::string& sourceVersion, const std::string& dest, TOverwriteType mode, fw::TDateTime sourceDate);

}  // namespace inst
