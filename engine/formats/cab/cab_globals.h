// What the cabinet extractor and writer share: the file handler that serves the library's file
// callbacks with integer handles, the cabinet exceptions, the memory callbacks, temporary names and
// the compression type words.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/formats/cab/cab_api.h"
#include "framework/core/exceptions.h"
#include "framework/core/object.h"
#include "framework/core/platform.h"

namespace engine {

// The library's open flags.
inline constexpr int kCabOpenWriteOnly = 0x0001, kCabOpenReadWrite = 0x0002, kCabOpenCreate = 0x0100,
                     kCabOpenExclusive = 0x0400, kCabOpenBinary = 0x8000;

// The library's file operations on integer handles. Every operation reports its outcome in Err:
// 0, a system error number, or -1 for a handle that is not one of the handler's.
class TCabinetFileHandler : public fw::TComponent {
public:
    explicit TCabinetFileHandler(fw::TComponent* owner) : fw::TComponent(owner) {}
    virtual INT_PTR Open(const std::string& name, int oflag, int pmode, int& err, int reserved) = 0;
    virtual UINT Read(INT_PTR handle, void* buffer, UINT count, int& err) = 0;
    virtual UINT Write(INT_PTR handle, const void* buffer, UINT count, int& err) = 0;
    virtual int Close(INT_PTR handle, int& err) = 0;
    virtual CabLong Seek(INT_PTR handle, CabLong distance, int origin, int& err) = 0;
    virtual int Delete(const std::string& name, int& err) = 0;
};

// The handler over system files: a handle is the system handle of one file it opened.
class TStreamCabinetFileHandler : public TCabinetFileHandler {
public:
    explicit TStreamCabinetFileHandler(fw::TComponent* owner) : TCabinetFileHandler(owner) {}
    INT_PTR Open(const std::string& name, int oflag, int pmode, int& err, int reserved) override;
    UINT Read(INT_PTR handle, void* buffer, UINT count, int& err) override;
    UINT Write(INT_PTR handle, const void* buffer, UINT count, int& err) override;
    int Close(INT_PTR handle, int& err) override;
    CabLong Seek(INT_PTR handle, CabLong distance, int origin, int& err) override;
    int Delete(const std::string& name, int& err) override;
    // Whether Handle is one of the open files.
    bool FindStream(INT_PTR handle) const;
    size_t OpenCount() const { return open_.size(); }

protected:
    // Files still open are closed, the last first.
    ~TStreamCabinetFileHandler() override;

private:
    std::vector<fw::FileHandle> open_;
};

// A cabinet library failure: "Cabinet error %d (type %d)".
class ECabinetError : public fw::Exception {
public:
    ECabinetError(int errorCode, int errorType);
    int ErrorCode, ErrorType;
};

// A system failure: "Error %d: %s" with the system's text.
class EApiError : public fw::Exception {
public:
    explicit EApiError(int number);
    int Number;
};

void* DIAMONDAPI CabAlloc(ULONG size);
void DIAMONDAPI CabFree(void* block);

inline uint16_t MakeLzxCompressType(int window) { return uint16_t(window * 256 + 3); }
inline uint16_t MakeCompressType(int type, int level, int memory) { return uint16_t(memory * 256 + level * 16 + type); }

[[noreturn]] void RaiseApiError(int number);
void ApiCheck(bool ok);
// The system temporary folder, empty on failure; a temporary name in Folder (created by the
// system when Unique is 0), empty on failure.
std::string CabTempPath();
std::string CabTempFileName(const std::string& folder, const std::string& prefix, unsigned unique);
// After a library call: a failed result whose error record has its flag set raises ECabinetError.
void CheckCabResult(bool ok, const ERF& error);

}  // namespace engine
