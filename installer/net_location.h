// The net install location: one FTP or HTTP server with its login, from which archives and the remote
// file list are downloaded. The internet library is loaded on the first connection, so the setup
// program starts where it is missing; a location that never downloads never loads it.
//
// A missing file is told by the HTTP status code, never by the page's text: a server's error page is
// not saved as an archive, and a file that happens to contain "404" is not refused.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/object.h"
#include "installer/system.h"

namespace inst {

enum class TInternetProtocol { ipFTP, ipHTTP };

class TCustomNetInstallLocation;

class TCustomLoginInformation : public fw::TPersistent {
public:
    explicit TCustomLoginInformation(TCustomNetInstallLocation* owner = nullptr) : owner_(owner) {}

    bool Anonymous = true;
    std::string Directory, Hostname, Password;
    TInternetProtocol Protocol = TInternetProtocol::ipHTTP;
    std::string Username;

    TCustomNetInstallLocation* Location() const { return owner_; }
    void Assign(fw::TPersistent* source) override;
    fw::TPersistent* GetOwner() override;

private:
    TCustomNetInstallLocation* owner_;
};
using TLoginInformation = TCustomLoginInformation;

using TLoginEvent = fw::Event<void(fw::TObject* Sender)>;
using TNotifyWithAbortFlag = fw::Event<void(fw::TObject* Sender, bool Aborted)>;
using TDataReceivedEvent = fw::Event<void(fw::TObject* Sender, const std::string& FileName, int32_t Bytes,
                                          int32_t TotalBytes, int32_t FileSize, const void* Buffer)>;

class TCustomNetInstallLocation : public fw::TComponent {
public:
    static constexpr int kBlockSize = 8192;

    explicit TCustomNetInstallLocation(fw::TComponent* owner);

    TCustomLoginInformation* LoginInformation() const { return login_.get(); }
    void SetLoginInformation(TCustomLoginInformation* v) { login_->Assign(v); }
    bool LibraryLoaded() const { return api_ != nullptr; }

    TNotifyWithAbortFlag OnAfterDownload;
    TLoginEvent OnAfterLogin, OnBeforeLogin;
    fw::TNotifyEvent OnBeforeDownload;
    TDataReceivedEvent OnDataReceived;
    // The second progress receiver, set by a downloading install file for the time of its download.
    TDataReceivedEvent ProgressReceiver;

    virtual void LoadWinInet();
    virtual void Connect();
    virtual void Download(const std::string& remoteName, const std::string& localPath);
    void Disconnect();

    static std::string ServerPath(const std::string& dir);
    static bool IsLoginComplete(const TCustomLoginInformation& login);

protected:
    void BeforeDestruction() override;

private:
    void Transfer(const std::string& remoteName, const std::string& localPath);
    // "<text>. Error message <name>. Server <host>. Response from server <answer>"
    std::string ErrorText(const std::string& text);
    template <class E>
    [[noreturn]] void Fail(const std::string& text);

    std::unique_ptr<InternetApi> api_;
    InternetApi::Handle transfer_ = nullptr;
    InternetApi::Handle session_ = nullptr;
    InternetApi::Handle connection_ = nullptr;
    std::string localFile_, remoteFile_;
    std::unique_ptr<TCustomLoginInformation> login_;
};

class TNetInstallLocation : public TCustomNetInstallLocation {
public:
    explicit TNetInstallLocation(fw::TComponent* owner) : TCustomNetInstallLocation(owner) {}
};

// All net locations; the one in use (named in error messages); the download abort flag (set by the
// copy page's Cancel).
std::vector<TCustomNetInstallLocation*>& NetLocationList();
TCustomNetInstallLocation* LocationInUse();
bool& DownloadAbortFlag();

// The name of a Windows or internet error code ("ERROR_INTERNET_TIMEOUT"), or "Unregistered error code".
std::string InternetErrorName(uint32_t code);

}  // namespace inst
