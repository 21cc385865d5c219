#include "engine/formats/cab/cab_globals.h"

#include <algorithm>
#include <cstdlib>

#include "engine/core/file_routines.h"
#include "engine/core/routines.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace engine {

namespace {

std::string SystemMessage(int number)
{
#ifdef _WIN32
    char text[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, DWORD(number), 0,
                                   text, sizeof text, nullptr);
    std::string s(text, n);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' '))
        s.pop_back();
    return s;
#else
    return "system error " + std::to_string(number);
#endif
}

}  // namespace

TStreamCabinetFileHandler::~TStreamCabinetFileHandler()
{
    while (!open_.empty()) {
        fw::Fs().Close(open_.back());
        open_.pop_back();
    }
}

INT_PTR TStreamCabinetFileHandler::Open(const std::string& name, int oflag, int, int& err, int)
{
    // Create wins; otherwise the access by the low bits (the values 2 and 1, not bit positions). The
    // exclusive bit asks that the file be new; the library's temporary files already exist (the
    // system made their names), so it only keeps others out.
    fw::FileAccess access = fw::FileAccess::Read;
    fw::FileCreate create = fw::FileCreate::OpenExisting;
    if (oflag & kCabOpenCreate) {
        access = fw::FileAccess::ReadWrite;
        create = fw::FileCreate::CreateAlways;
    } else if ((oflag & 3) == kCabOpenReadWrite) {
        access = fw::FileAccess::ReadWrite;
    } else if ((oflag & 3) == kCabOpenWriteOnly) {
        access = fw::FileAccess::Write;
    }
    const fw::FileShare share = (oflag & kCabOpenExclusive) ? fw::FileShare::Exclusive : fw::FileShare::DenyNone;
    int error = 0;
    const fw::FileHandle h = fw::Fs().Open(ToBackslashes(name), access, share, create, &error);
    if (h == fw::kInvalidFile) {
        err = error ? error : fw::Fs().LastError();
        return -1;
    }
    open_.push_back(h);
    err = 0;
    return INT_PTR(h);
}

bool TStreamCabinetFileHandler::FindStream(INT_PTR handle) const
{
    return std::find(open_.begin(), open_.end(), fw::FileHandle(handle)) != open_.end();
}

UINT TStreamCabinetFileHandler::Read(INT_PTR handle, void* buffer, UINT count, int& err)
{
    if (!FindStream(handle)) {
        err = -1;
        return 0;
    }
    const int64_t got = fw::Fs().Read(fw::FileHandle(handle), buffer, count);
    const UINT n = got > 0 ? UINT(got) : 0;
    err = n == count ? 0 : fw::Fs().LastError();
    return n;
}

UINT TStreamCabinetFileHandler::Write(INT_PTR handle, const void* buffer, UINT count, int& err)
{
    if (!FindStream(handle)) {
        err = -1;
        return 0;
    }
    const int64_t done = fw::Fs().Write(fw::FileHandle(handle), buffer, count);
    const UINT n = done > 0 ? UINT(done) : 0;
    err = n == count ? 0 : fw::Fs().LastError();
    return n;
}

int TStreamCabinetFileHandler::Close(INT_PTR handle, int& err)
{
    err = 0;
    const auto it = std::find(open_.begin(), open_.end(), fw::FileHandle(handle));
    if (it != open_.end()) {
        fw::Fs().Close(*it);
        open_.erase(it);
    }
    return 0;
}

CabLong TStreamCabinetFileHandler::Seek(INT_PTR handle, CabLong distance, int origin, int& err)
{
    if (!FindStream(handle)) {
        err = -1;
        return 0;
    }
    const fw::SeekOrigin from = origin == 0 ? fw::SeekOrigin::Begin : origin == 1 ? fw::SeekOrigin::Current : fw::SeekOrigin::End;
    const int64_t pos = fw::Fs().Seek(fw::FileHandle(handle), distance, from);
    err = (origin == 0 && pos != distance) ? fw::Fs().LastError() : 0;
    return CabLong(pos);
}

int TStreamCabinetFileHandler::Delete(const std::string& name, int& err)
{
    err = DeleteFile(name) ? 0 : fw::Fs().LastError();
    return 0;
}

ECabinetError::ECabinetError(int errorCode, int errorType)
    : fw::Exception("Cabinet error " + std::to_string(errorCode) + " (type " + std::to_string(errorType) + ")"),
      ErrorCode(errorCode),
      ErrorType(errorType)
{
}

EApiError::EApiError(int number) : fw::Exception("Error " + std::to_string(number) + ": " + SystemMessage(number)), Number(number) {}

void* DIAMONDAPI CabAlloc(ULONG size) { return std::malloc(size ? size : 1); }
void DIAMONDAPI CabFree(void* block) { std::free(block); }

void RaiseApiError(int number) { throw EApiError(number); }

void ApiCheck(bool ok)
{
    if (!ok)
        RaiseApiError(fw::Fs().LastError());
}

std::string CabTempPath() { return fw::Fs().TempFolder(); }

std::string CabTempFileName(const std::string& folder, const std::string& prefix, unsigned unique)
{
#ifdef _WIN32
    char name[MAX_PATH + 1] = {};
    if (!GetTempFileNameA(folder.c_str(), prefix.c_str(), unique, name))
        return {};
    return name;
#else
    (void)unique;
    return fw::Fs().TempFileName(folder, prefix);
#endif
}

void CheckCabResult(bool ok, const ERF& error)
{
    if (!ok && error.fError)
        throw ECabinetError(error.erfOper, error.erfType);
}

}  // namespace engine
