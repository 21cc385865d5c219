// TFileRelated: an install object tied to an archive (relative to a path specifier) and, for web
// distribution, to a net install location its archive is downloaded from. Base of install files and
// file containers.
#pragma once

#include <string>

#include "installer/container.h"
#include "installer/install_tree.h"
#include "installer/net_location.h"

namespace inst {

enum class TDistributeType { dtTraditional, dtWeb, dtTraditionalNet };

class TFileRelated : public TInstallObject {
public:
    explicit TFileRelated(fw::TComponent* owner);

    const std::string& LocalArchive() const { return localArchive_; }
    void SetLocalArchive(const std::string& v) { localArchive_ = v; }
    TlzhCommand AddToArchive() const { return addToArchive_; }
    void SetAddToArchive(TlzhCommand v) { addToArchive_ = v; }
    bool InfoRead() const { return infoRead_; }
    void SetInfoRead(bool v) { infoRead_ = v; }
    const std::string& ArchiveFile() const { return archiveFile_; }
    virtual void SetArchiveFile(const std::string& value);
    TCustomPathSpecifier* ArchiveFileType() const { return archiveFileType_; }
    virtual void SetArchiveFileType(TCustomPathSpecifier* value);
    bool Net() const { return net_; }
    virtual void SetNet(bool value) { net_ = value; }
    TCustomNetInstallLocation* NetLocation() const { return netLocation_; }
    virtual void SetNetLocation(TCustomNetInstallLocation* value);

    TDataReceivedEvent OnDataReceived;

    // The download-progress method handed to the net location.
    virtual void DataReceived(fw::TObject* sender, const std::string& fileName, int32_t bytes, int32_t totalBytes,
                              int32_t fileSize, const void* buffer);
    // Fetches Name + ".1" from the net location into a new temporary file, unless a copy is remembered.
    virtual void Download();
    virtual bool IsDownloaded();
    virtual void RememberLocalFile(const std::string& path);
    // ArchiveFileType's path for this node followed by ArchiveFile, without trailing backslash.
    virtual std::string GetArchivePath();

    // A remembered downloaded copy (the "LocalFile" value under the install record) that exists.
    bool FindLocalArchive(std::string& path);
    // The folder of this node's net archive below the build directory: host\directory.
    std::string NetDirectory();
    // The location used: the node's own, its file container's, or the install component's.
    TCustomNetInstallLocation* EffectiveLocation();

    void SetContainer(TInstallContainer* value) override;
    void Loaded() override;

protected:
    void Notification(fw::TComponent* component, fw::TOperation operation) override;
    // The distribution type of the install component; dtTraditionalNet without one.
    static TDistributeType Distribution();

    std::string localArchive_;
    bool net_ = true;

private:
    TlzhCommand addToArchive_ = TlzhCommand::lzcOverwrite;
    bool infoRead_ = false;
    std::string archiveFile_;
    TCustomPathSpecifier* archiveFileType_ = nullptr;
    TCustomNetInstallLocation* netLocation_ = nullptr;
};

}  // namespace inst
