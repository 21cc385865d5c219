// The setup program for tests: the program block and the real definition, with variants chosen by the
// environment (which the loader passes on to the setup program it starts):
//   MXI_VARIANT=web       the definition distributed over the net (DistributeType dtWeb)
//   MXI_VARIANT=progman   a small definition whose links are Program Manager items
//   MXI_VARIANT=french    the definition with a translator into French and a small French table
//   MXI_SLOW_COPY=ms      every block the archive reads or writes takes that long more, so that a
//                         copy lasts while a driver looks at it
//   MXI_DISK_BYTES=n      every file the archive writes on drive A: holds at most n bytes, as on a small
//                         disk, so that the transfer to floppies spans volumes
//   MXI_NO_DELAYED_MOVE=1 the system refuses to replace files at the next start, so files in use go
//                         through the batch file
//   MXI_NO_RESTART=1      the system refuses to restart (the setup says so and leaves the work for the
//                         next start)
// Without them it is MxInstall.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "framework/core/streams.h"
#include "framework/win32/application.h"
#include "installer/container.h"
#include "installer/install_tree.h"
#include "installer/setup/setup_program.h"
#include "installer/system.h"
#include "installer/win32/system_win32.h"

namespace {

class TForm1Web : public inst::TForm1 {
public:
    using TForm1::TForm1;
};

class TForm1Progman : public inst::TForm1 {
public:
    using TForm1::TForm1;
};

class TForm1French : public inst::TForm1 {
public:
    using TForm1::TForm1;
};

// A file stream whose every read and write takes `ms` longer, and which takes no more than `room` bytes.
class TestStream : public fw::TStream {
public:
    TestStream(const std::string& path, uint32_t mode, DWORD ms, int64_t room)
        : file_(path, mode), ms_(ms), room_(room) {}
    int64_t Read(void* buffer, int64_t count) override {
        Sleep(ms_);
        return file_.Read(buffer, count);
    }
    int64_t Write(const void* buffer, int64_t count) override {
        Sleep(ms_);
        return file_.Write(buffer, std::clamp<int64_t>(room_ - file_.Position(), 0, count));
    }
    int64_t Seek(int64_t offset, int origin) override { return file_.Seek(offset, origin); }
    void SetSize(int64_t size) override { file_.SetSize(size); }

private:
    fw::TFileStream file_;
    DWORD ms_;
    int64_t room_;
};

class RefusingSystem : public inst::ForwardingSystem {
public:
    RefusingSystem(inst::InstallSystem& base, bool moves, bool restart)
        : ForwardingSystem(base), refuseMoves_(moves), refuseRestart_(restart) {}
    bool MoveFileAtReboot(const std::string& from, const std::string& to) override {
        return !refuseMoves_ && ForwardingSystem::MoveFileAtReboot(from, to);
    }
    bool RestartWindows(bool withPrivilege) override {
        return !refuseRestart_ && ForwardingSystem::RestartWindows(withPrivilege);
    }

private:
    bool refuseMoves_, refuseRestart_;
};

template <class T>
void Create() {
    fw::Class<T, inst::TForm1>(std::is_same_v<T, TForm1Web>       ? "TForm1Web"
                               : std::is_same_v<T, TForm1French> ? "TForm1French"
                                                                 : "TForm1Progman");
    T* form = nullptr;
    fw::Application->CreateForm(form);
}

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

int main() {
    const std::string variant = Env("MXI_VARIANT");
    void (*create)() = nullptr;
    if (variant == "web") create = &Create<TForm1Web>;
    if (variant == "progman") create = &Create<TForm1Progman>;
    if (variant == "french") create = &Create<TForm1French>;
    const DWORD ms = static_cast<DWORD>(std::atoi(Env("MXI_SLOW_COPY").c_str()));
    const int64_t disk = std::atoll(Env("MXI_DISK_BYTES").c_str());
    if (ms > 0 || disk > 0)
        inst::SharedArchive().StreamFactory = [ms, disk](const std::string& path,
                                                         uint32_t mode) -> std::unique_ptr<fw::TStream> {
            const bool floppy = disk > 0 && path.size() > 1 && std::toupper(static_cast<unsigned char>(path[0])) == 'A' &&
                                path[1] == ':';
            return std::make_unique<TestStream>(path, mode, ms, floppy ? disk : INT64_MAX);
        };
    inst::InstallWin32System();
    const bool moves = Env("MXI_NO_DELAYED_MOVE") == "1", restart = Env("MXI_NO_RESTART") == "1";
    static RefusingSystem refusing(inst::Win32System(), moves, restart);
    return inst::RunSetupProgram(create, moves || restart ? &refusing : nullptr);
}
