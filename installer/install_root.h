// The root of the install tree as the install library sees it: the install component. This holds what
// files, containers and specifiers ask of it (where the installation runs from, how it is distributed,
// whether a run is in progress, the product it installs, the work left for after a reboot). The setup
// program's install component derives from it.
#pragma once

#include <string>

#include "installer/file_container.h"

namespace inst {

class TInstallInformation : public fw::TPersistent {
public:
    std::string CompanyName = "My Company";
    std::string ProductName = "My product";
    std::string Version = "1.0";
    void Assign(fw::TPersistent* source) override;
};

class TInstallRoot : public TFileContainer {
public:
    explicit TInstallRoot(fw::TComponent* owner);
    ~TInstallRoot() override;

    bool CreatesPathSpecifier() const override { return false; }

    TInstallInformation* Information() const { return information_; }
    void SetInformation(TInstallInformation* v) { information_->Assign(v); }
    TDistributeType DistributeType() const { return distributeType_; }
    virtual void SetDistributeType(TDistributeType v) { distributeType_ = v; }
    const std::string& SourceDir() const { return sourceDir_; }
    void SetSourceDir(const std::string& v) { sourceDir_ = v; }
    bool Reboot() const { return reboot_; }
    void SetReboot(bool v) { reboot_ = v; }
    // An install run (or the completion after a reboot) is in progress.
    bool Running() const { return running_; }
    void SetRunning(bool v) { running_ = v; }
    // The -e value: the self-extracting file the installation runs from ("" when not started so).
    bool StartedFromSelfExtractor() const { return selfExtract_; }
    const std::string& SelfExtractName() const { return selfExtractName_; }
    void SetSelfExtractor(bool started, const std::string& name) {
        selfExtract_ = started;
        selfExtractName_ = name;
    }
    int UnfinishedCount() const { return unfinishedCount_; }

    // Records work for the run after the reboot under the install record's "Unfinished" key:
    // kind 0 = the component of that name completes its work, 1 = the named file is deleted.
    virtual void AddUnfinishedWork(const std::string& name, int kind);

protected:
    void BeforeDestruction() override;
    void ResetUnfinishedCount() { unfinishedCount_ = 0; }
    // Stores the distribution type without the rules of a derived setter.
    void StoreDistributeType(TDistributeType v) { distributeType_ = v; }

private:
    TInstallInformation* information_;
    TDistributeType distributeType_ = TDistributeType::dtTraditional;
    std::string sourceDir_;
    bool reboot_ = false;
    bool running_ = false;
    bool selfExtract_ = false;
    std::string selfExtractName_;
    int unfinishedCount_ = 0;
};

}  // namespace inst
