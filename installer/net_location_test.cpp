// The net install location over a scripted internet library: paths, status codes, empty files, aborts,
// a missing library, and the errors' composed messages.
#include "installer/net_location.h"

#include <gtest/gtest.h>

#include <map>

#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/testkit/support.h"

namespace inst {
namespace {

using test::InstallerTest;
using test::Slurp;

// An internet library that serves files from maps, remembering what it was asked.
class FakeInternet : public InternetApi {
public:
    struct Answer {
        uint32_t status = 200;
        std::string body;
        bool sendLength = true;
    };
    std::map<std::string, Answer> http;      // object -> answer
    std::map<std::string, std::string> ftp;  // directory + "/" + name -> bytes
    std::vector<std::string> log;
    bool connectFails = false;
    uint32_t error = 0;
    int closes = 0;

    Handle Open(const std::string&) override { return &session_; }
    Handle Connect(Handle, const std::string& host, const char* user, const char* password, Service s) override {
        log.push_back("connect " + host + " " + (user ? user : "<null>") + " " + (s == kFtp ? "ftp" : "http"));
        if (connectFails) {
            error = 12029;
            return nullptr;
        }
        return &connection_;
    }
    bool FtpSetCurrentDirectory(Handle, const std::string& dir) override {
        log.push_back("cwd " + dir);
        cwd_ = dir;
        return true;
    }
    bool CloseHandle(Handle) override {
        ++closes;
        return true;
    }
    bool QueryDataAvailable(Handle, uint32_t& bytes) override {
        bytes = static_cast<uint32_t>(current_.size() - pos_);
        return true;
    }
    bool ReadFile(Handle, void* buffer, uint32_t size, uint32_t& read) override {
        read = static_cast<uint32_t>(std::min<size_t>(size, current_.size() - pos_));
        std::memcpy(buffer, current_.data() + pos_, read);
        pos_ += read;
        return true;
    }
    Handle FtpOpenFile(Handle, const std::string& name) override {
        auto it = ftp.find(cwd_ + "/" + name);
        if (it == ftp.end()) {
            error = 12003;
            return nullptr;
        }
        Start(it->second);
        return &file_;
    }
    Handle HttpOpenRequest(Handle, const std::string& verb, const std::string& object, uint32_t flags) override {
        log.push_back(verb + " " + object);
        object_ = object;
        return &file_;
    }
    bool HttpSendRequest(Handle, const std::string& headers) override {
        auto it = http.find(object_);
        answer_ = it == http.end() ? Answer{404, "<!DOCTYPE HTML>\n<html>Error response 404 File not found", true}
                                   : it->second;
        Start(answer_.body);
        return true;
    }
    bool HttpQueryInfo(Handle, uint32_t level, std::string& text, uint32_t& number, uint32_t) override {
        if (level == (kQueryStatusCode | kQueryFlagNumber)) {
            number = answer_.status;
            return true;
        }
        if (!answer_.sendLength) {
            error = 12150;
            return false;
        }
        text = std::to_string(answer_.body.size());
        return true;
    }
    bool LastResponseInfo(std::string& text) override {
        text = "226 Transfer complete";
        return true;
    }
    uint32_t LastError() override { return error; }

private:
    void Start(const std::string& bytes) {
        current_ = bytes;
        pos_ = 0;
    }
    int session_ = 0, connection_ = 0, file_ = 0;
    std::string cwd_, object_, current_;
    size_t pos_ = 0;
    Answer answer_;
};

class NetLocation : public InstallerTest {
protected:
    void SetUp() override {
        InstallerTest::SetUp();
        auto api = std::make_unique<FakeInternet>();
        net = api.get();
        sys().internet.api = std::move(api);
        location = fw::Make<TNetInstallLocation>(nullptr);
        location->SetName("NetLocation");
        location->LoginInformation()->Hostname = "example.test";
    }
    void TearDown() override {
        location->Free();
        InstallerTest::TearDown();
    }
    std::string Error(const std::string& remote) {
        try {
            location->Download(remote, dir + "local.1");
        } catch (const fw::Exception& e) {
            return e.Message();
        }
        return "";
    }
    FakeInternet* net = nullptr;
    TNetInstallLocation* location = nullptr;
};

TEST_F(NetLocation, ServerPathsAndLogins) {
    EXPECT_EQ(TCustomNetInstallLocation::ServerPath("/products\\files"), "/products/files");
    EXPECT_EQ(TCustomNetInstallLocation::ServerPath("  "), "/");
    TCustomLoginInformation login;
    EXPECT_FALSE(TCustomNetInstallLocation::IsLoginComplete(login));
    login.Hostname = "h";
    EXPECT_TRUE(TCustomNetInstallLocation::IsLoginComplete(login));
    login.Anonymous = false;
    login.Hostname = " ";
    login.Username = "u";
    EXPECT_TRUE(TCustomNetInstallLocation::IsLoginComplete(login));
    EXPECT_EQ(InternetErrorName(12150), "ERROR_HTTP_HEADER_NOT_FOUND");
    EXPECT_EQ(InternetErrorName(6), "ERROR_INVALID_HANDLE");
    EXPECT_EQ(InternetErrorName(12033), "Unregistered error code");
}

TEST_F(NetLocation, HttpFetchesFromTheDirectory) {
    location->LoginInformation()->Directory = "/products\\files";
    net->http["/products/files/x.1"].body = "archive bytes";
    std::vector<int> totals;
    location->OnDataReceived.Bind(nullptr, [&](void*, fw::TObject*, const std::string&, int32_t, int32_t total, int32_t size,
                                               const void*) { totals.push_back(total * 100 + size); });
    EXPECT_EQ(Error("x.1"), "");
    EXPECT_EQ(Slurp(dir + "local.1"), "archive bytes");
    EXPECT_EQ(net->log, (std::vector<std::string>{"connect example.test  http", "GET /products/files/x.1"}));
    EXPECT_EQ(totals, std::vector<int>{13 * 100 + 13});
    EXPECT_EQ(LocationInUse(), location);
}

TEST_F(NetLocation, AMissingFileIsToldByTheStatusCode) {
    // The server's error page holds no "404" in its first 30 characters; it must not become the archive.
    EXPECT_EQ(Error("missing.1"),
              "Could not find the file missing.1 on the server. Error message Unregistered error code. Server "
              "example.test. Response from server 226 Transfer complete");
    EXPECT_FALSE(fw::FileExists(dir + "local.1")) << "nothing was saved";
    // A file that happens to begin with "404" is a file like any other.
    net->http["/notes.txt"].body = "404 errors explained";
    EXPECT_EQ(Error("notes.txt"), "");
    EXPECT_EQ(Slurp(dir + "local.1"), "404 errors explained");
    net->http["/gone.1"] = {410, "gone", true};
    EXPECT_NE(Error("gone.1").find("Could not find the file gone.1"), std::string::npos);
}

TEST_F(NetLocation, AnEmptyFileIsNotFoundAfterTheLocalFileWasMade) {
    net->http["/empty.1"] = {200, "", false};
    EXPECT_NE(Error("empty.1").find("Could not find the file empty.1 on the server"), std::string::npos);
    EXPECT_TRUE(fw::FileExists(dir + "local.1"));
    EXPECT_EQ(Slurp(dir + "local.1"), "");
}

TEST_F(NetLocation, AnAbortStopsAfterTheCurrentBlock) {
    net->http["/big.1"].body = test::Pattern(3 * TCustomNetInstallLocation::kBlockSize + 10, 1, false);
    int blocks = 0;
    bool aborted = false;
    location->OnDataReceived.Bind(nullptr, [&](void*, fw::TObject*, const std::string&, int32_t, int32_t, int32_t,
                                               const void*) {
        if (++blocks == 2) DownloadAbortFlag() = true;
    });
    location->OnAfterDownload.Bind(nullptr, [&](void*, fw::TObject*, bool a) { aborted = a; });
    EXPECT_EQ(Error("big.1"), "");
    EXPECT_EQ(blocks, 2);
    EXPECT_TRUE(aborted);
    EXPECT_EQ(Slurp(dir + "local.1").size(), static_cast<size_t>(TCustomNetInstallLocation::kBlockSize))
        << "the block that saw the abort is not written";
}

TEST_F(NetLocation, FtpChangesDirectoryOnEveryConnect) {
    location->LoginInformation()->Protocol = TInternetProtocol::ipFTP;
    location->LoginInformation()->Directory = "pub\\zip";
    net->ftp["pub/zip/a.1"] = "ftp bytes";
    EXPECT_EQ(Error("a.1"), "");
    EXPECT_EQ(Error("a.1"), "");
    EXPECT_EQ(net->log, (std::vector<std::string>{"connect example.test <null> ftp", "cwd pub/zip", "cwd pub/zip"}))
        << "anonymous FTP passes no user name; the connection stays open";
    EXPECT_NE(Error("none.1").find("Cannot open file none.1 on server. Error message ERROR_INTERNET_EXTENDED_ERROR"),
              std::string::npos);
}

TEST_F(NetLocation, FailuresNameTheirCause) {
    net->connectFails = true;
    EXPECT_EQ(Error("a.1"),
              "Cannot connect to host example.test. Error message ERROR_INTERNET_CANNOT_CONNECT. Server example.test. "
              "Response from server 226 Transfer complete");
}

TEST_F(NetLocation, AMissingLibraryFailsOnlyWhenADownloadNeedsIt) {
    sys().internet = InternetLoad();
    sys().internet.libraryMissing = true;
    auto* idle = fw::Make<TNetInstallLocation>(nullptr);
    idle->Free();
    EXPECT_EQ(sys().internetLoads, 0) << "a location that never downloads never loads it";
    try {
        location->Download("a.1", dir + "local.1");
        FAIL();
    } catch (const ENIL_FailLoadWININET& e) {
        EXPECT_EQ(e.Message().substr(0, 26), "Failed to load the Wininet");
    }
    sys().internet = InternetLoad();
    sys().internet.missingProc = "HttpQueryInfo";
    try {
        location->Download("a.1", dir + "local.1");
        FAIL();
    } catch (const ENIL_FailLoadDLLProc& e) {
        EXPECT_EQ(e.Message(), "Failed to load the procedure HttpQueryInfo from WININET.DLL");
    }
}

}  // namespace
}  // namespace inst
