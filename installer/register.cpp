#include "installer/register.h"

#include "framework/core/rtti.h"
#include "installer/container.h"
#include "installer/dialog_manager.h"
#include "installer/file_container.h"
#include "installer/install.h"
#include "installer/install_registry.h"
#include "installer/install_root.h"
#include "installer/net_location.h"
#include "installer/pathspec.h"
#include "installer/shell_links.h"
#include "installer/translator.h"
#include "installer/uninstall.h"
#include "installer/versions.h"

namespace inst {

namespace {

void RegisterEnums() {
    fw::RegisterEnum<TQnfdLanguage>(
        {"qlChineseSimplified", "qlChineseTraditional", "qlCzech", "qlDanish", "qlDutch", "qlEnglish", "qlFrench",
         "qlGerman", "qlGreek", "qlHebrew", "qlItalian", "qlJapanese", "qlKorean", "qlNorwegianBokmal",
         "qlNorwegianNynorsk", "qlPolish", "qlPortugese", "qlRussian", "qlSpanish", "qlUser", "qlVietnamese"},
        "TQnfdLanguage");
    fw::RegisterEnum<TCompressionLevel>({"colNone", "colFastest", "colDefault", "colMax"}, "TCompressionLevel");
    fw::RegisterEnum<TOverwriteType>({"owAlways", "owNever", "owVersion", "owDate", "owVersionDate"}, "TOverwriteType");
    fw::RegisterEnum<TVersionLanguage>(
        {"lnArabic", "lnBulgarian", "lnCatalan", "lnTraditionalChinese", "lnCzech", "lnDanish", "lnGerman", "lnGreek",
         "lnUSEnglish", "lnCastilianSpanish", "lnFinnish", "lnFrench", "lnHebrew", "lnHungarian", "lnIcelandic",
         "lnItalian", "lnJapanese", "lnKorean", "lnDutch", "lnNorwegianBokmal", "lnPolish", "lnBrazilianPortuguese",
         "lnRhaetoRomanic", "lnRomanian", "lnRussian", "lnCroatoSerbian", "lnSlovak", "lnAlbanian", "lnSwedish",
         "lnThai", "lnTurkish", "lnUrdu", "lnBahasa", "lnSimplifiedChinese", "lnSwissGerman", "lnUKEnglish",
         "lnMexicanSpanish", "lnBelgianFrench", "lnSwissItalian", "lnBelgianDutch", "lnNorwegianNynorsk",
         "lnPortuguese", "lnSerboCroatian", "lnCanadianFrench", "lnSwissFrench"},
        "TVersionLanguage");
    fw::RegisterEnum<TCharacterSet>({"csASCII", "csJapan", "csKorea", "csTaiwan", "csUnicode", "csLatin2", "csCyrillic",
                                     "csMultilingual", "csGreek", "csTurkish", "csHebrew", "csArabic"},
                                    "TCharacterSet");
    fw::RegisterEnum<TInstallType>({"itFull", "itDefault", "itCompact", "itCustom"}, "TInstallType");
    fw::RegisterEnum<TlzhCommand>({"lzcOverwrite", "lzcOnlyAdd"}, "TlzhCommand");
    fw::RegisterEnum<TInstallFileType>({"iftNormal", "iftJustADLL", "iftApplicationSpecificDLL", "iftVendorSharedDLL",
                                        "iftSystemWideDLL"},
                                       "TInstallFileType");
    fw::RegisterEnum<TInternetProtocol>({"ipFTP", "ipHTTP"}, "TInternetProtocol");
    fw::RegisterEnum<TDistributeType>({"dtTraditional", "dtWeb", "dtTraditionalNet"}, "TDistributeType");
    fw::RegisterEnum<TRootKeys>({"hkClassesRoot", "hkCurrentConfig", "hkCurrentUser", "hkDynData", "hkLocalMachine",
                                 "hkUsers"},
                                "TRootKeys");
    fw::RegisterEnum<TRegistryEntryType>({"retText", "retInteger", "retBoolean"}, "TRegistryEntryType");
    fw::RegisterEnum<TKeySpecifier>({"ksAbsolute", "ksCompanyName", "ksProductName", "ksVersion"}, "TKeySpecifier");
    fw::RegisterEnum<TMethodType>({"mtAutoDetect", "mtShellLinkInterface", "mtProgramManager"}, "TMethodType");
    fw::RegisterEnum<TManagerType>({"dmBeforeInstall", "dmAfterGoodInstall", "dmAfterBadInstall", "dmDuringCopyFiles",
                                    "dmChangeDisk", "dmReboot"},
                                   "TManagerType");
    fw::RegisterEnum<TQuenfordDialogPosition>({"qdpCenterLeft", "qdpCenter", "qdpCenterRight", "qdpBottomLeft",
                                               "qdpBottomCenter", "qdpBottomRight", "qdpTopLeft", "qdpTopCenter",
                                               "qdpTopRight"},
                                              "TQuenfordDialogPosition");
}

// The published properties of an install file, shared by TInstallFile and TUninstallEXE.
template <class C>
void FileProperties(C&& cls) {
    cls.Prop("ActiveX", &TCustomInstallFile::ActiveX, &TCustomInstallFile::SetActiveX)
        .Prop("DestName", &TCustomInstallFile::DestName, &TCustomInstallFile::SetDestName)
        .Prop("FileName", &TCustomInstallFile::FileName, &TCustomInstallFile::SetFileName)
        .Prop("FileType", &TCustomInstallFile::FileType, &TCustomInstallFile::SetFileType)
        .Prop("IncludeFromDir", &TCustomInstallFile::IncludeFromDir, &TCustomInstallFile::SetIncludeFromDir)
        .Prop("OverwriteMode", &TCustomInstallFile::OverwriteMode, &TCustomInstallFile::SetOverwriteMode)
        .Prop("RegisterAsHelp", &TCustomInstallFile::RegisterAsHelp, &TCustomInstallFile::SetRegisterAsHelp)
        .Prop("RunAfterInstall", &TCustomInstallFile::RunAfterInstall, &TCustomInstallFile::SetRunAfterInstall)
        .Prop("UpdateDLLCounter", &TCustomInstallFile::UpdateDLLCounter, &TCustomInstallFile::SetUpdateDLLCounter);
}

void RegisterTranslator() {
    using fw::Class;
    Class<TLanguageFont, fw::TPersistent>("TLanguageFont")
        .Prop("Name", &TLanguageFont::Name, &TLanguageFont::SetName)
        .Prop("Size", &TLanguageFont::Size, &TLanguageFont::SetSize)
        .Prop("Charset", &TLanguageFont::Charset, &TLanguageFont::SetCharset);
    Class<TLanguage, fw::TPersistent>("TLanguage")
        .Prop("Font", &TLanguage::Font, &TLanguage::SetFont)
        .Prop("FontOverride", &TLanguage::FontOverride, &TLanguage::SetFontOverride)
        .Prop("LanguageIdent", &TLanguage::LanguageIdent)
        .Prop("Strings", &TLanguage::Strings, &TLanguage::SetStrings);
    static const char* const properties[kLanguageCount] = {
        "lgChineseSimplified", "lgChineseTraditional", "lgCzech", "lgDanish", "lgDutch", "lgEnglish", "lgFrench",
        "lgGerman", "lgGreek", "lgHebrew", "lgItalian", "lgJapanese", "lgKorean", "lgNorwegianBokmal",
        "lgNorwegianNynorsk", "lgPolish", "lgPortugese", "lgRussian", "lgSpanish", nullptr, "lgVietnamese"};
    auto translator = Class<TTranslator, fw::TComponent>("TTranslator");
    for (int i = 0; i < kLanguageCount; ++i)
        if (properties[i]) translator.Prop(properties[i], i, &TTranslator::LanguageAt, &TTranslator::SetLanguageAt);
    translator.Prop("TranslateIntoLanguage", &TTranslator::TranslateIntoLanguage, &TTranslator::SetTranslateIntoLanguage);
}

void RegisterArchive() {
    using fw::Class;
    Class<TQnfdCompress, fw::TComponent>("TQnfdCompress")
        .Prop("Abort", &TQnfdCompress::Abort, &TQnfdCompress::SetAbort)
        .Prop("CompressedFile", &TQnfdCompress::CompressedFile, &TQnfdCompress::SetCompressedFile)
        .Prop("CompressionLevel", &TQnfdCompress::CompressionLevel, &TQnfdCompress::SetCompressionLevel)
        .Prop("ExtractDirectory", &TQnfdCompress::ExtractDirectory, &TQnfdCompress::SetExtractDirectory)
        .Prop("FilesToProcess", &TQnfdCompress::FilesToProcess, &TQnfdCompress::SetFilesToProcess)
        .Prop("Offset", &TQnfdCompress::Offset, &TQnfdCompress::SetOffset)
        .Prop("Overwrite", &TQnfdCompress::Overwrite, &TQnfdCompress::SetOverwrite)
        .Event("OnAborted", &TQnfdCompress::OnAborted)
        .Event("OnAfterAdding", &TQnfdCompress::OnAfterAdding)
        .Event("OnAfterExtracting", &TQnfdCompress::OnAfterExtracting)
        .Event("OnBeforeAdding", &TQnfdCompress::OnBeforeAdding)
        .Event("OnBeforeExtracting", &TQnfdCompress::OnBeforeExtracting)
        .Event("OnFullDisk", &TQnfdCompress::OnFullDisk)
        .Event("OnListing", &TQnfdCompress::OnListing)
        .Event("OnNewDisk", &TQnfdCompress::OnNewDisk)
        .Event("OnReplace", &TQnfdCompress::OnReplace)
        .Event("OnStatus", &TQnfdCompress::OnStatus);
    Class<TVersionInfo, fw::TPersistent>("TVersionInfo")
        .Data("Comment", &TVersionInfo::Comment)
        .Data("CompanyName", &TVersionInfo::CompanyName)
        .Data("FileDescription", &TVersionInfo::FileDescription)
        .Data("FileVersion", &TVersionInfo::FileVersion)
        .Data("InternalName", &TVersionInfo::InternalName)
        .Data("LegalCopyright", &TVersionInfo::LegalCopyright)
        .Data("LegalTradeMarks", &TVersionInfo::LegalTradeMarks)
        .Data("OriginalFileName", &TVersionInfo::OriginalFileName)
        .Data("PrivateBuild", &TVersionInfo::PrivateBuild)
        .Data("ProductName", &TVersionInfo::ProductName)
        .Data("ProductVersion", &TVersionInfo::ProductVersion)
        .Data("SpecialBuild", &TVersionInfo::SpecialBuild)
        .Data("FileOS", &TVersionInfo::FileOS)
        .Data("FileType", &TVersionInfo::FileType)
        .Data("FileSubType", &TVersionInfo::FileSubType);
    Class<TVersionResource, fw::TComponent>("TVersionResource")
        .Prop("FileName", &TVersionResource::FileName, &TVersionResource::SetFileName)
        .Prop("Language", &TVersionResource::Language, &TVersionResource::SetLanguage)
        .Prop("CharacterSet", &TVersionResource::CharacterSet, &TVersionResource::SetCharacterSet)
        .Prop("VersionInfo", &TVersionResource::VersionInfo);
}

void RegisterSpecifiers() {
    using fw::Class;
    Class<TCustomPathSpecifier, fw::TComponent>("TCustomPathSpecifier");
    Class<TPathSpecifier, TCustomPathSpecifier>("TPathSpecifier")
        .Prop("Description", &TPathSpecifier::DescriptionText, &TPathSpecifier::SetDescription)
        .Event("OnGetPath", static_cast<TGetPathEvent TPathSpecifier::*>(&TPathSpecifier::OnGetPath));
    Class<TStandardPathSpecifier, TCustomPathSpecifier>("TStandardPathSpecifier");
    Class<TpsBDEDLL, TStandardPathSpecifier>("TpsBDEDLL");
    Class<TpsCommonFiles, TStandardPathSpecifier>("TpsCommonFiles");
    Class<TpsContainerArchiveFile, TStandardPathSpecifier>("TpsContainerArchiveFile");
    Class<TpsContainerDestDir, TStandardPathSpecifier>("TpsContainerDestDir");
    Class<TpsDesktopMenu, TStandardPathSpecifier>("TpsDesktopMenu");
    Class<TpsInstallSource, TStandardPathSpecifier>("TpsInstallSource");
    Class<TpsMainInstall, TStandardPathSpecifier>("TpsMainInstall");
    Class<TpsProgramFiles, TStandardPathSpecifier>("TpsProgramFiles");
    Class<TpsProgramMenu, TStandardPathSpecifier>("TpsProgramMenu");
    Class<TpsStartMenu, TStandardPathSpecifier>("TpsStartMenu");
    Class<TpsStartupMenu, TStandardPathSpecifier>("TpsStartupMenu");
    Class<TpsSystem, TStandardPathSpecifier>("TpsSystem");
    Class<TpsMainArchiveFile, TStandardPathSpecifier>("TpsMainArchiveFile");
    Class<TpsWindow, TStandardPathSpecifier>("TpsWindow");
    Class<TpsObjectLink, TStandardPathSpecifier>("TpsObjectLink");
}

void RegisterTree() {
    using fw::Class;
    Class<TInstallDefinition, fw::TComponent>("TInstallDefinition");
    Class<TInstallContainer, fw::TComponent>("TInstallContainer")
        .Prop("DestDir", &TInstallContainer::DestDir, &TInstallContainer::SetDestDir)
        .Prop("DestDirType", &TInstallContainer::DestDirType, &TInstallContainer::SetDestDirType)
        .Prop("Include", &TInstallContainer::Include, &TInstallContainer::SetInclude)
        .Prop("InstallTypes", &TInstallContainer::InstallTypes, &TInstallContainer::SetInstallTypes)
        .Prop("Uninstall", &TInstallContainer::Uninstall, &TInstallContainer::SetUninstall)
        .Event("OnAfterProcess", &TInstallContainer::OnAfterProcess)
        .Event("OnBeforeProcess", &TInstallContainer::OnBeforeProcess);
    Class<TInstallObject, TInstallContainer>("TInstallObject")
        .Prop("Container", &TInstallObject::Container, &TInstallObject::SetContainer);
    Class<TFileRelated, TInstallObject>("TFileRelated")
        .Prop("AddToArchive", &TFileRelated::AddToArchive, &TFileRelated::SetAddToArchive)
        .Prop("ArchiveFile", &TFileRelated::ArchiveFile, &TFileRelated::SetArchiveFile)
        .Prop("ArchiveFileType", &TFileRelated::ArchiveFileType, &TFileRelated::SetArchiveFileType)
        .Prop("Net", &TFileRelated::Net, &TFileRelated::SetNet)
        .Prop("NetLocation", &TFileRelated::NetLocation, &TFileRelated::SetNetLocation)
        .Event("OnDataReceived", &TFileRelated::OnDataReceived);
    Class<TCustomInstallFile, TFileRelated>("TCustomInstallFile")
        .Event("OnAfterCompress", &TCustomInstallFile::OnAfterCompress)
        .Event("OnAfterCopy", &TCustomInstallFile::OnAfterCopy)
        .Event("OnAfterInstall", &TCustomInstallFile::OnAfterInstall)
        .Event("OnBeforeCompress", &TCustomInstallFile::OnBeforeCompress)
        .Event("OnBeforeCopy", &TCustomInstallFile::OnBeforeCopy)
        .Event("OnBeforeInstall", &TCustomInstallFile::OnBeforeInstall)
        .Event("OnReplacing", &TCustomInstallFile::OnReplacing)
        .Event("OnStatus", &TCustomInstallFile::OnStatus)
        .Event("OnNewDisk", &TCustomInstallFile::OnNewDisk);
    FileProperties(Class<TInstallFile, TCustomInstallFile>("TInstallFile"));
    FileProperties(Class<TUninstallEXE, TCustomInstallFile>("TUninstallEXE")
                       .Prop("Order", &TUninstallEXE::Order, &TUninstallEXE::SetOrder));
    Class<TFileContainer, TFileRelated>("TFileContainer")
        .Prop("Description", &TFileContainer::Description, &TFileContainer::SetDescription)
        .Event("OnStatus", &TFileContainer::OnStatus)
        .Event("OnNewDisk", &TFileContainer::OnNewDisk)
        .Event("OnReplacing", &TFileContainer::OnReplacing)
        .Event("OnAfterInstallObjects", &TFileContainer::OnAfterInstallObjects)
        .Event("OnBeforeInstallObjects", &TFileContainer::OnBeforeInstallObjects);
    Class<TpsFileContainer, TCustomPathSpecifier>("TpsFileContainer")
        .Prop("FileContainer", &TpsFileContainer::FileContainer, &TpsFileContainer::SetFileContainer);
    Class<TInstallGroupDialogOptions, fw::TPersistent>("TInstallGroupDialogOptions")
        .Data("AllowChangeDir", &TInstallGroupDialogOptions::AllowChangeDir)
        .Data("AllowExcludeInclude", &TInstallGroupDialogOptions::AllowExcludeInclude)
        .Prop("Description", &TInstallGroupDialogOptions::Description, &TInstallGroupDialogOptions::SetDescription)
        .Data("DisplayDirectory", &TInstallGroupDialogOptions::DisplayDirectory);
    Class<TCustomInstallGroup, TFileContainer>("TCustomInstallGroup");
    Class<TInstallGroup, TCustomInstallGroup>("TInstallGroup")
        .Prop("DialogOptions", &TCustomInstallGroup::DialogOptions, &TCustomInstallGroup::SetDialogOptions);
    Class<TInstallDirectory, TFileContainer>("TInstallDirectory");
    Class<TInstallInformation, fw::TPersistent>("TInstallInformation")
        .Data("CompanyName", &TInstallInformation::CompanyName)
        .Data("ProductName", &TInstallInformation::ProductName)
        .Data("Version", &TInstallInformation::Version);
    Class<TInstallRoot, TFileContainer>("TInstallRoot")
        .Prop("Information", &TInstallRoot::Information, &TInstallRoot::SetInformation)
        .Prop("DistributeType", &TInstallRoot::DistributeType, &TInstallRoot::SetDistributeType)
        .Prop("Reboot", &TInstallRoot::Reboot, &TInstallRoot::SetReboot);
}

void RegisterInstall() {
    using fw::Class;
    Class<TBuildInfo, fw::TPersistent>("TBuildInfo")
        .Data("AddUninstallOnCreate", &TBuildInfo::AddUninstallOnCreate)
        .Data("AppName", &TBuildInfo::AppName)
        .Data("AppURL", &TBuildInfo::AppURL)
        .Data("BuildDirectory", &TBuildInfo::BuildDirectory)
        .Data("CredentialsFile", &TBuildInfo::CredentialsFile)
        .Data("OCXName", &TBuildInfo::OCXName)
        .Data("PrivateKeyFile", &TBuildInfo::PrivateKeyFile)
        .Data("SignCode", &TBuildInfo::SignCode)
        .Data("URLPath", &TBuildInfo::URLPath);
    Class<TThemeBitmap, fw::TPersistent>("TThemeBitmap");
    Class<TCustomInstall, TInstallRoot>("TCustomInstall")
        .Prop("AutoMaximizeWindow", &TCustomInstall::AutoMaximizeWindow, &TCustomInstall::SetAutoMaximizeWindow)
        .Prop("BuildInfo", &TCustomInstall::BuildInfo, &TCustomInstall::SetBuildInfo)
        .Prop("DialogThemeBitmap", &TCustomInstall::DialogThemeBitmap, &TCustomInstall::SetDialogThemeBitmap)
        .Prop("HideMainForm", &TCustomInstall::HideMainForm, &TCustomInstall::SetHideMainForm)
        .Prop("Password", &TCustomInstall::Password, &TCustomInstall::SetPassword)
        .Prop("PasswordTries", &TCustomInstall::PasswordTries, &TCustomInstall::SetPasswordTries)
        .Prop("PresetupFiles", &TCustomInstall::PresetupFiles, &TCustomInstall::SetPresetupFiles)
        .Prop("RunAutomatic", &TCustomInstall::RunAutomatic, &TCustomInstall::SetRunAutomatic)
        .Prop("UseLoadingProgram", &TCustomInstall::UseLoadingProgram, &TCustomInstall::SetUseLoadingProgram)
        .Event("OnAfterInitialized", &TCustomInstall::OnAfterInitialized)
        .Event("OnAfterNotifyBadInstall", &TCustomInstall::OnAfterNotifyBadInstall)
        .Event("OnAfterNotifyGoodInstall", &TCustomInstall::OnAfterNotifyGoodInstall)
        .Event("OnAfterReadArchiveInfo", &TCustomInstall::OnAfterReadArchiveInfo)
        .Event("OnBeforeCleanup", &TCustomInstall::OnBeforeCleanup)
        .Event("OnBeforeNotifyBadInstall", &TCustomInstall::OnBeforeNotifyBadInstall)
        .Event("OnBeforeNotifyGoodInstall", &TCustomInstall::OnBeforeNotifyGoodInstall)
        .Event("OnBeforeReadArchiveInfo", &TCustomInstall::OnBeforeReadArchiveInfo)
        .Event("OnBeforeReboot", &TCustomInstall::OnBeforeReboot)
        .Event("OnBeforeRunFile", &TCustomInstall::OnBeforeRunFile)
        .Event("OnBeforeShutdown", &TCustomInstall::OnBeforeShutdown)
        .Event("OnFailedReboot", &TCustomInstall::OnFailedReboot)
        .Event("OnUserAbort", &TCustomInstall::OnUserAbort);
    Class<TInstall, TCustomInstall>("TInstall");
}

void RegisterLinksAndRegistry() {
    using fw::Class;
    Class<TCustomShellLinkGroup, TInstallObject>("TCustomShellLinkGroup");
    Class<TMainLinkGroup, TCustomShellLinkGroup>("TMainLinkGroup");
    Class<TCustomInstallShellLink, TInstallObject>("TCustomInstallShellLink")
        .Prop("HotKey", &TCustomInstallShellLink::HotKey, &TCustomInstallShellLink::SetHotKey)
        .Prop("LinkName", &TCustomInstallShellLink::LinkName, &TCustomInstallShellLink::SetLinkName)
        .Prop("Method", &TCustomInstallShellLink::Method, &TCustomInstallShellLink::SetMethod)
        .Prop("ObjectLink", &TCustomInstallShellLink::ObjectLinkNode, &TCustomInstallShellLink::SetObjectLink)
        .Prop("ObjectLocation", &TCustomInstallShellLink::ObjectLocation, &TCustomInstallShellLink::SetObjectLocation)
        .Prop("ObjectLocationType", &TCustomInstallShellLink::ObjectLocationType,
              &TCustomInstallShellLink::SetObjectLocationType)
        .Prop("Parameters", &TCustomInstallShellLink::Parameters, &TCustomInstallShellLink::SetParameters);
    Class<TInstallShellLink, TCustomInstallShellLink>("TInstallShellLink");
    Class<TInstallMainLink, TCustomInstallShellLink>("TInstallMainLink");
    Class<TRegistryEntry, fw::TCollectionItem>("TRegistryEntry")
        .Prop("Boolean", &TRegistryEntry::BoolValue, &TRegistryEntry::SetBoolValue)
        .Prop("EntryType", &TRegistryEntry::EntryType, &TRegistryEntry::SetEntryType)
        .Prop("Ident", &TRegistryEntry::Ident, &TRegistryEntry::SetIdent)
        .Prop("Integer", &TRegistryEntry::IntValue, &TRegistryEntry::SetIntValue)
        .Prop("PathSpecifier", &TRegistryEntry::PathSpecifier, &TRegistryEntry::SetPathSpecifier)
        .Prop("Text", &TRegistryEntry::Text, &TRegistryEntry::SetText);
    Class<TRegistryEntries, fw::TCollection>("TRegistryEntries");
    Class<TCustomInstallRegistry, TInstallObject>("TCustomInstallRegistry")
        .Prop("Entries", &TCustomInstallRegistry::Entries, &TCustomInstallRegistry::SetEntries)
        .Prop("Key", &TCustomInstallRegistry::Key, &TCustomInstallRegistry::SetKey)
        .Prop("KeySpecifierType", &TCustomInstallRegistry::KeySpecifierType, &TCustomInstallRegistry::SetKeySpecifierType)
        .Prop("RootKey", &TCustomInstallRegistry::RootKey, &TCustomInstallRegistry::SetRootKey)
        .Event("OnBeforeWriteEntry", &TCustomInstallRegistry::OnBeforeWriteEntry);
    Class<TInstallRegistry, TCustomInstallRegistry>("TInstallRegistry");
}

void RegisterDialogs() {
    using fw::Class;
    using M = TDialogManager;
    Class<M, TInstallObject>("TDialogManager")
        .Prop("Height", &M::Height, &M::SetHeight)
        .Prop("ManagerType", &M::ManagerType, &M::SetManagerType)
        .Prop("Position", &M::Position, &M::SetPosition)
        .Prop("RelativeLeftOffset", &M::RelativeLeftOffset, &M::SetRelativeLeftOffset)
        .Prop("RelativeTopOffset", &M::RelativeTopOffset, &M::SetRelativeTopOffset)
        .Prop("Width", &M::Width, &M::SetWidth);
    using D = TCustomBaseInstallDlg;
    Class<D, TInstallObject>("TCustomBaseInstallDlg")
        .Prop("ApplyFont", &D::ApplyFont, &D::SetApplyFont)
        .Prop("TranslateTexts", &D::TranslateTexts, &D::SetTranslateTexts)
        .Prop("FormLanguage", &D::FormLanguage, &D::SetFormLanguage)
        .Prop("Manager", &D::Manager, &D::SetManager)
        .Prop("Order", &D::Order, &D::SetOrder)
        .Prop("UseFixedLanguage", &D::UseFixedLanguage, &D::SetUseFixedLanguage)
        .Prop("Position", &D::Position, &D::SetPosition)
        .Prop("RelativeLeftOffset", &D::RelativeLeftOffset, &D::SetRelativeLeftOffset)
        .Prop("RelativeTopOffset", &D::RelativeTopOffset, &D::SetRelativeTopOffset)
        .Prop("Height", &D::Height, &D::SetHeight)
        .Prop("Width", &D::Width, &D::SetWidth)
        .Prop("FixedLanguage", &D::FixedLanguage, &D::SetFixedLanguage)
        .Event("OnBeforeExecute", &D::OnBeforeExecute)
        .Event("OnAfterExecute", &D::OnAfterExecute);
}

void RegisterNet() {
    using fw::Class;
    Class<TCustomLoginInformation, fw::TPersistent>("TLoginInformation")
        .Data("Anonymous", &TCustomLoginInformation::Anonymous)
        .Data("Directory", &TCustomLoginInformation::Directory)
        .Data("Hostname", &TCustomLoginInformation::Hostname)
        .Data("Password", &TCustomLoginInformation::Password)
        .Data("Protocol", &TCustomLoginInformation::Protocol)
        .Data("Username", &TCustomLoginInformation::Username);
    Class<TCustomNetInstallLocation, fw::TComponent>("TCustomNetInstallLocation")
        .Event("OnAfterDownload", &TCustomNetInstallLocation::OnAfterDownload)
        .Event("OnAfterLogin", &TCustomNetInstallLocation::OnAfterLogin)
        .Event("OnBeforeDownload", &TCustomNetInstallLocation::OnBeforeDownload)
        .Event("OnBeforeLogin", &TCustomNetInstallLocation::OnBeforeLogin)
        .Event("OnDataReceived", &TCustomNetInstallLocation::OnDataReceived);
    Class<TNetInstallLocation, TCustomNetInstallLocation>("TNetInstallLocation")
        .Prop("LoginInformation", &TCustomNetInstallLocation::LoginInformation,
              &TCustomNetInstallLocation::SetLoginInformation);
}

}  // namespace

void RegisterClasses() {
    fw::RegisterClasses();
    RegisterEnums();
    RegisterTranslator();
    RegisterArchive();
    RegisterSpecifiers();
    RegisterTree();
    RegisterNet();
    RegisterInstall();
    RegisterLinksAndRegistry();
    RegisterDialogs();
}

}  // namespace inst
