#include "installer/install_root.h"

#include "installer/exceptions.h"
#include "installer/install_record.h"
#include "installer/pathspec.h"
#include "installer/qnfdregistry.h"

namespace inst {

void TInstallInformation::Assign(fw::TPersistent* source) {
    if (auto* i = dynamic_cast<TInstallInformation*>(source)) {
        CompanyName = i->CompanyName;
        ProductName = i->ProductName;
        Version = i->Version;
        return;
    }
    fw::TPersistent::Assign(source);
}

TInstallRoot::TInstallRoot(fw::TComponent* owner)
    : TFileContainer(owner, false), information_(new TInstallInformation) {
    if (InstallComponent())
        throw IEInstall("The TInstall component does not currently support the use of 2 TInstall components in the same project");
    SetInstallComponent(this);
    SetDescription("TInstall component");
    SetFireAfterInstallObjects(false);
    SetInstallTypes(TInstallTypeSet{TInstallType::itFull});
    SetArchiveFileType(FindSpecifier<TpsMainArchiveFile>());
}

TInstallRoot::~TInstallRoot() {
    if (InstallComponent() == this) SetInstallComponent(nullptr);
    delete information_;
}

void TInstallRoot::BeforeDestruction() {
    if (InstallComponent() == this) SetInstallComponent(nullptr);
    TFileContainer::BeforeDestruction();
}

void TInstallRoot::AddUnfinishedWork(const std::string& name, int kind) {
    if (InstallRecordKey().empty())
        throw IEInstall("The TInstall could not either write or read unfinished business from the registry");
    ++unfinishedCount_;
    WriteRegString(TRootKeys::hkLocalMachine, InstallRecordKey() + "\\Unfinished", name, std::to_string(kind));
}

}  // namespace inst
