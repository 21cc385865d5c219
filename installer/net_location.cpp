#include "installer/net_location.h"

#include <algorithm>
#include <vector>

#include "framework/core/format.h"
#include "framework/core/platform.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/strutils.h"

namespace inst {

namespace {

TCustomNetInstallLocation* g_inUse = nullptr;

struct ErrorName {
    uint32_t code;
    const char* name;
};
const ErrorName kErrorNames[] = {
    {6, "ERROR_INVALID_HANDLE"},
    {12001, "ERROR_INTERNET_OUT_OF_HANDLES"},
    {12002, "ERROR_INTERNET_TIMEOUT"},
    {12003, "ERROR_INTERNET_EXTENDED_ERROR"},
    {12004, "ERROR_INTERNET_INTERNAL_ERROR"},
    {12005, "ERROR_INTERNET_INVALID_URL"},
    {12006, "ERROR_INTERNET_UNRECOGNIZED_SCHEME"},
    {12007, "ERROR_INTERNET_NAME_NOT_RESOLVED"},
    {12008, "ERROR_INTERNET_PROTOCOL_NOT_FOUND"},
    {12009, "ERROR_INTERNET_INVALID_OPTION"},
    {12010, "ERROR_INTERNET_BAD_OPTION_LENGTH"},
    {12011, "ERROR_INTERNET_OPTION_NOT_SETTABLE"},
    {12012, "ERROR_INTERNET_SHUTDOWN"},
    {12013, "ERROR_INTERNET_INCORRECT_USER_NAME"},
    {12014, "ERROR_INTERNET_INCORRECT_PASSWORD"},
    {12015, "ERROR_INTERNET_LOGIN_FAILURE"},
    {12016, "ERROR_INTERNET_INVALID_OPERATION"},
    {12017, "ERROR_INTERNET_OPERATION_CANCELLED"},
    {12018, "ERROR_INTERNET_INCORRECT_HANDLE_TYPE"},
    {12019, "ERROR_INTERNET_INCORRECT_HANDLE_STATE"},
    {12020, "ERROR_INTERNET_NOT_PROXY_REQUEST"},
    {12021, "ERROR_INTERNET_REGISTRY_VALUE_NOT_FOUND"},
    {12022, "ERROR_INTERNET_BAD_REGISTRY_PARAMETER"},
    {12023, "ERROR_INTERNET_NO_DIRECT_ACCESS"},
    {12024, "ERROR_INTERNET_NO_CONTEXT"},
    {12025, "ERROR_INTERNET_NO_CALLBACK"},
    {12026, "ERROR_INTERNET_REQUEST_PENDING"},
    {12027, "ERROR_INTERNET_INCORRECT_FORMAT"},
    {12028, "ERROR_INTERNET_ITEM_NOT_FOUND"},
    {12029, "ERROR_INTERNET_CANNOT_CONNECT"},
    {12030, "ERROR_INTERNET_CONNECTION_ABORTED"},
    {12031, "ERROR_INTERNET_CONNECTION_RESET"},
    {12032, "ERROR_INTERNET_FORCE_RETRY"},
    {12036, "ERROR_INTERNET_HANDLE_EXISTS"},
    {12041, "ERROR_INTERNET_MIXED_SECURITY"},
    {12110, "ERROR_FTP_TRANSFER_IN_PROGRESS"},
    {12111, "ERROR_FTP_DROPPED"},
    {12130, "ERROR_GOPHER_PROTOCOL_ERROR"},
    {12131, "ERROR_GOPHER_NOT_FILE"},
    {12132, "ERROR_GOPHER_DATA_ERROR"},
    {12133, "ERROR_GOPHER_END_OF_DATA"},
    {12134, "ERROR_GOPHER_INVALID_LOCATOR"},
    {12135, "ERROR_GOPHER_INCORRECT_LOCATOR_TYPE"},
    {12136, "ERROR_GOPHER_NOT_GOPHER_PLUS"},
    {12137, "ERROR_GOPHER_ATTRIBUTE_NOT_FOUND"},
    {12138, "ERROR_GOPHER_UNKNOWN_LOCATOR"},
    {12150, "ERROR_HTTP_HEADER_NOT_FOUND"},
    {12151, "ERROR_HTTP_DOWNLEVEL_SERVER"},
    {12152, "ERROR_HTTP_INVALID_SERVER_RESPONSE"},
    {12153, "ERROR_HTTP_INVALID_HEADER"},
    {12154, "ERROR_HTTP_INVALID_QUERY_REQUEST"},
    {12155, "ERROR_HTTP_HEADER_ALREADY_EXISTS"},
};

constexpr uint32_t kHeaderNotFound = 12150;

}  // namespace

std::string InternetErrorName(uint32_t code) {
    for (const ErrorName& e : kErrorNames)
        if (e.code == code) return e.name;
    return "Unregistered error code";
}

std::vector<TCustomNetInstallLocation*>& NetLocationList() {
    static std::vector<TCustomNetInstallLocation*> list;
    return list;
}

TCustomNetInstallLocation* LocationInUse() { return g_inUse; }

bool& DownloadAbortFlag() {
    static bool flag = false;
    return flag;
}

// ---- TCustomLoginInformation ------------------------------------------------------------------------------

void TCustomLoginInformation::Assign(fw::TPersistent* source) {
    if (auto* l = dynamic_cast<TCustomLoginInformation*>(source)) {
        Anonymous = l->Anonymous;
        Directory = l->Directory;
        Hostname = l->Hostname;
        Password = l->Password;
        Protocol = l->Protocol;
        Username = l->Username;
        return;
    }
    fw::TPersistent::Assign(source);
}

fw::TPersistent* TCustomLoginInformation::GetOwner() { return owner_; }

// ---- TCustomNetInstallLocation ------------------------------------------------------------------------------

TCustomNetInstallLocation::TCustomNetInstallLocation(fw::TComponent* owner)
    : fw::TComponent(owner), login_(std::make_unique<TCustomLoginInformation>(this)) {
    NetLocationList().push_back(this);
}

void TCustomNetInstallLocation::BeforeDestruction() {
    if (g_inUse == this) g_inUse = nullptr;
    Disconnect();
    api_.reset();
    auto& list = NetLocationList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    fw::TComponent::BeforeDestruction();
}

std::string TCustomNetInstallLocation::ServerPath(const std::string& dir) {
    if (fw::Trim(dir).empty()) return "/";
    return fw::StringReplaceAll(dir, "\\", "/");
}

bool TCustomNetInstallLocation::IsLoginComplete(const TCustomLoginInformation& login) {
    const bool host = !fw::Trim(login.Hostname).empty();
    if (login.Anonymous) return host;
    return host || !fw::Trim(login.Password).empty() || !fw::Trim(login.Username).empty();
}

std::string TCustomNetInstallLocation::ErrorText(const std::string& text) {
    const uint32_t code = api_ ? api_->LastError() : 0;
    std::string response;
    if (!api_ || !api_->LastResponseInfo(response)) response = "No server response";
    const std::string host = g_inUse ? g_inUse->LoginInformation()->Hostname : std::string();
    return fw::Format("%s. Error message %s. Server %s. Response from server %s",
                      {text, InternetErrorName(code), host, response});
}

template <class E>
void TCustomNetInstallLocation::Fail(const std::string& text) {
    throw E(ErrorText(text));
}

void TCustomNetInstallLocation::LoadWinInet() {
    InternetLoad load = Sys().LoadInternet();
    if (load.libraryMissing || (!load.api && load.missingProc.empty()))
        throw ENIL_FailLoadWININET(
            "Failed to load the Wininet.dll. If this is a hybrid installation, you might want to include the "
            "WININET.DLL file in the PresetupFiles property of the TInstall component");
    if (!load.api)
        throw ENIL_FailLoadDLLProc(fw::Format("Failed to load the procedure %s from WININET.DLL", {load.missingProc}));
    api_ = std::move(load.api);
}

void TCustomNetInstallLocation::Connect() {
    g_inUse = this;
    if (!api_) LoadWinInet();
    const TCustomLoginInformation& login = *login_;
    if (!session_) {
        session_ = api_->Open(std::string());
        if (!session_) Fail<ENIL_OpenSession>("Cannot open internet connection");
    }
    if (!connection_) {
        if (OnBeforeLogin) OnBeforeLogin(this);
        const bool ftp = login.Protocol == TInternetProtocol::ipFTP;
        const char* user = login.Anonymous ? (ftp ? nullptr : "") : login.Username.c_str();
        const char* password = login.Anonymous ? (ftp ? nullptr : "") : login.Password.c_str();
        connection_ = api_->Connect(session_, login.Hostname, user, password,
                                    ftp ? InternetApi::kFtp : InternetApi::kHttp);
        if (!connection_) Fail<ENIL_OpenService>(fw::Format("Cannot connect to host %s", {login.Hostname}));
        if (OnAfterLogin) OnAfterLogin(this);
    }
    if (login.Protocol == TInternetProtocol::ipFTP) {
        const std::string dir = ServerPath(login.Directory);
        if (!api_->FtpSetCurrentDirectory(connection_, dir))
            Fail<ENIL_FTPSetDir>(fw::Format("Cannot set directory on server to %s", {dir}));
    }
}

void TCustomNetInstallLocation::Disconnect() {
    if (!api_) return;
    if (connection_ && api_->CloseHandle(connection_)) connection_ = nullptr;
    if (session_ && api_->CloseHandle(session_)) session_ = nullptr;
}

void TCustomNetInstallLocation::Download(const std::string& remoteName, const std::string& localPath) {
    Connect();
    localFile_ = localPath;
    remoteFile_ = remoteName;
    if (OnBeforeDownload) OnBeforeDownload(this);
    const bool ftp = login_->Protocol == TInternetProtocol::ipFTP;
    if (ftp) {
        transfer_ = api_->FtpOpenFile(connection_, remoteName);
        if (!transfer_) Fail<ENIL_FTPOpenFile>(fw::Format("Cannot open file %s on server", {remoteName}));
    } else {
        const std::string object = ServerPath(AddBackslash(login_->Directory)) + remoteName;
        transfer_ = api_->HttpOpenRequest(connection_, "GET", object,
                                          InternetApi::kFlagReload | InternetApi::kFlagExistingConnect |
                                              InternetApi::kFlagNoCacheWrite);
        if (!transfer_) Fail<ENIL_HTTPOpenFile>(fw::Format("Cannot open file %s on server", {remoteName}));
    }
    try {
        if (!ftp) {
            if (!api_->HttpSendRequest(transfer_, "Accept: */*\r\n\r\n"))
                Fail<ENIL_HTTPSendRequest>(fw::Format("Cannot send request for file %s to the server", {remoteName}));
            // The server's answer says whether the file is there; an error page is never the file.
            std::string text;
            uint32_t status = 0;
            if (!api_->HttpQueryInfo(transfer_, InternetApi::kQueryStatusCode | InternetApi::kQueryFlagNumber, text,
                                     status, 4) ||
                status < 200 || status > 299)
                Fail<ENIL_FileNotFound>(fw::Format("Could not find the file %s on the server", {remoteName}));
        }
        Transfer(remoteName, localPath);
    } catch (...) {
        api_->CloseHandle(transfer_);
        transfer_ = nullptr;
        throw;
    }
    const bool closed = api_->CloseHandle(transfer_);
    transfer_ = nullptr;
    if (!closed) Fail<ENIL_FTPCloseFile>(fw::Format("Cannot close the file %s on the server", {remoteName}));
    if (OnAfterDownload) OnAfterDownload(this, DownloadAbortFlag());
}

void TCustomNetInstallLocation::Transfer(const std::string& remoteName, const std::string& localPath) {
    uint32_t size = 0;
    if (login_->Protocol == TInternetProtocol::ipFTP) {
        if (!api_->QueryDataAvailable(transfer_, size))
            Fail<ENIL_FailDataQuery>(fw::Format("Could not query file %s on server", {remoteName}));
    } else {
        std::string text;
        uint32_t number = 0;
        if (api_->HttpQueryInfo(transfer_, InternetApi::kQueryContentLength, text, number, 33) ||
            api_->LastError() == kHeaderNotFound) {
            size = static_cast<uint32_t>(fw::StrToIntDef(fw::Trim(text), 0));
        } else {
            Fail<ENIL_FailDataQuery>(fw::Format("Could not query file %s on server", {remoteName}));
        }
    }
    const std::string writeError = fw::Format("%s could not write to the local dest file %s", {Name(), localPath});
    std::unique_ptr<fw::TFileStream> local;
    try {
        local = std::make_unique<fw::TFileStream>(localPath, fw::fmCreate);
    } catch (const fw::Exception&) {
        throw ENIL_WriteDestFile(writeError);
    }
    std::vector<uint8_t> block(kBlockSize);
    int64_t total = 0;
    uint32_t read = 0;
    auto next = [&] {
        if (!api_->ReadFile(transfer_, block.data(), kBlockSize, read))
            Fail<ENIL_ReadFile>(fw::Format("Could not read from file %s on the server", {remoteName}));
    };
    next();
    while (read > 0) {
        total += read;
        const auto t = static_cast<int32_t>(std::min<int64_t>(total, INT32_MAX));
        if (OnDataReceived) OnDataReceived(this, remoteName, static_cast<int32_t>(read), t, static_cast<int32_t>(size), block.data());
        if (ProgressReceiver)
            ProgressReceiver(this, remoteName, static_cast<int32_t>(read), t, static_cast<int32_t>(size), block.data());
        fw::HostSeam().PumpMessages();
        if (DownloadAbortFlag()) break;
        if (local->Write(block.data(), read) != static_cast<int64_t>(read)) throw ENIL_WriteDestFile(writeError);
        next();
    }
    local.reset();
    if (total == 0) Fail<ENIL_FileNotFound>(fw::Format("Could not find the file %s on the server", {remoteName}));
}

}  // namespace inst
