#include "engine/core/register_classes.h"

#include "engine/core/comp_base.h"
#include "engine/core/un_base.h"
#include "framework/core/rtti.h"

namespace engine {

namespace {

template <class E, size_t N>
void RegisterIdents(const std::array<std::string_view, N>& idents, const char* typeName)
{
    std::vector<std::string> names;
    for (auto n : idents)
        names.emplace_back(n);
    fw::RegisterEnum<E>(std::move(names), typeName);
}

// An event declared in a base, published by a descendant.
template <class T, class B, class Sig>
fw::Event<Sig> T::*As(fw::Event<Sig> B::*member)
{
    return static_cast<fw::Event<Sig> T::*>(member);
}

}  // namespace

void RegisterClasses()
{
    fw::RegisterClasses();
    RegisterIdents<TArcType>(ArcTypeIdent, "TArcType");
    RegisterIdents<TCompressMethod>(CompressMethodIdent, "TCompressMethod");
    RegisterIdents<TSwitch>(SwitchIdent, "TSwitch");
    RegisterIdents<TStoredDirNames>(StoredDirNamesIdent, "TStoredDirNames");
    RegisterIdents<TDeflateType>(DeflateTypeIdent, "TDeflateType");
    RegisterIdents<TSetDate>(SetDateIdent, "TSetDate");
    RegisterIdents<TCpuType>(CpuTypeIdent, "TCpuType");
    RegisterIdents<TProgressNotify>(ProgressNotifyIdent, "TProgressNotify");

    fw::Class<TqlvFileAttr, fw::TPersistent>("TqlvFileAttr")
        .Prop("ftArchive", TqlvFileAttr::ftArchive, &TqlvFileAttr::GetAttr, &TqlvFileAttr::SetAttr)
        .Prop("ftHidden", TqlvFileAttr::ftHidden, &TqlvFileAttr::GetAttr, &TqlvFileAttr::SetAttr)
        .Prop("ftReadOnly", TqlvFileAttr::ftReadOnly, &TqlvFileAttr::GetAttr, &TqlvFileAttr::SetAttr)
        .Prop("ftSysFile", TqlvFileAttr::ftSysFile, &TqlvFileAttr::GetAttr, &TqlvFileAttr::SetAttr)
        .Prop("ftVolumeID", TqlvFileAttr::ftVolumeID, &TqlvFileAttr::GetAttr, &TqlvFileAttr::SetAttr)
        .Prop("ftDirectory", TqlvFileAttr::ftDirectory, &TqlvFileAttr::GetAttr, &TqlvFileAttr::SetAttr);

    fw::Class<TAwkMain, fw::TComponent>("TAwkMain");
    fw::Class<TZipCommon, TAwkMain>("TZipCommon")
        .Prop("About", &TZipCommon::About, &TZipCommon::SetAbout)
        .Prop("ArchiveFile", &TZipCommon::ArchiveFile, &TZipCommon::SetArchiveFile)
        .Event("OnElapsedTime", &TZipCommon::OnElapsedTime)
        .Event("OnError", &TZipCommon::OnError);

    using U = TUnBase;
    fw::Class<TUnBase, TZipCommon>("TUnBase")
        .Prop("ArcType", &U::ArcType, &U::SetArcType)
        .Prop("CpuType", &U::CpuType, &U::SetCpuType)
        .Prop("ExtractDir", &U::ExtractDir, &U::SetExtractDir)
        .Prop("FileSpec", &U::FileSpec, &U::SetFileSpec)
        .Prop("ZipCmntBufSize", &U::ZipCmntBufSize, &U::SetZipCmntBufSize)
        .Prop("Passwords", &U::Passwords, &U::SetPasswords)
        .Prop("ProgressNotify", &U::ProgressNotify, &U::SetProgressNotify)
        .Prop("SetDateTo", &U::SetDateTo, &U::SetSetDateTo)
        .Prop("UseStoredDirs", &U::UseStoredDirs, &U::SetUseStoredDirs)
        .Event("OnActivate", As<U>(&TZipCommon::OnActivate))
        .Event("OnBegin", As<U>(&TZipCommon::OnBegin))
        .Event("OnDeactivate", As<U>(&TZipCommon::OnDeactivate))
        .Event("OnEnd", As<U>(&TZipCommon::OnEnd))
        .Event("OnFileExists", As<U>(&TZipCommon::OnFileExists))
        .Event("OnGetPassword", As<U>(&TZipCommon::OnGetPassword))
        .Event("OnNextVolume", As<U>(&TZipCommon::OnNextVolume))
        .Event("OnProgress", As<U>(&TZipCommon::OnProgress));

    using C = TCompBase;
    fw::Class<TCompBase, TZipCommon>("TCompBase")
        .Prop("ArcType", &C::ArcType, &C::SetArcType)
        .Prop("CompressMethod", &C::CompressMethod, &C::SetCompressMethod)
        .Prop("DefaultDir", &C::DefaultDir, &C::SetDefaultDir)
        .Prop("FileAttribute", &C::FileAttribute, &C::SetFileAttribute)
        .Prop("FileSpec", &C::FileSpecList, &C::SetFileSpecList)
        .Prop("ProgressNotify", &C::ProgressNotify, &C::SetProgressNotify)
        .Prop("RecurseDirs", &C::RecurseDirs, &C::SetRecurseDirs)
        .Prop("StoredDirNames", &C::StoredDirNames, &C::SetStoredDirNames)
        .Prop("Switch", &C::Switch, &C::SetSwitch)
        .Event("OnActivate", As<C>(&TZipCommon::OnActivate))
        .Event("OnBegin", As<C>(&TZipCommon::OnBegin))
        .Event("OnDeactivate", As<C>(&TZipCommon::OnDeactivate))
        .Event("OnEnd", As<C>(&TZipCommon::OnEnd))
        .Event("OnGetPassword", As<C>(&TZipCommon::OnGetPassword))
        .Event("OnNonWriteableArchive", &C::OnNonWriteableArchive)
        .Event("OnProgress", As<C>(&TZipCommon::OnProgress))
        .Event("OnRead", As<C>(&TZipCommon::OnRead))
        .Event("OnRecurseDir", &C::OnRecurseDir)
        .Event("OnReplaceFile", &C::OnReplaceFile);
}

}  // namespace engine
