// TUnCAB: extracts the files of a cabinet, or of a set of cabinets, through the cabinet library's
// FDI calls. The library reads the format; this component answers its notifications, decides per
// file whether and where it is written, and reports through the engine's events.
#pragma once

#include <exception>
#include <string>

#include "engine/core/un_base.h"
#include "engine/formats/cab/cab_globals.h"

namespace engine {

class TUnCABInterface : public TUnBase {
public:
    explicit TUnCABInterface(fw::TComponent* owner);
    ERF CabError{};
    TStreamCabinetFileHandler* FileHandler = nullptr;

protected:
    ~TUnCABInterface() override;
};

class TUnCAB : public TUnCABInterface {
public:
    explicit TUnCAB(fw::TComponent* owner);

    // Writing the type runs type detection on ArchiveFile.
    void SetArcType(TArcType value) override;
    void ProcessArchive() override;

    // The notifications, by kind.
    virtual INT_PTR DoCabinetInfo(FDINOTIFICATION& n);
    virtual INT_PTR DoCopyFile(FDINOTIFICATION& n);
    virtual INT_PTR DoCloseFile(FDINOTIFICATION& n);
    virtual INT_PTR DoNextCabinet(FDINOTIFICATION& n);

    // The callbacks handed to the library. No exception passes through the library: one raised
    // inside a callback is kept, the callback answers a failure, and the run raises it again once
    // the library has returned.
    static INT_PTR DIAMONDAPI Notify(FDINOTIFICATIONTYPE kind, PFDINOTIFICATION n);
    static INT_PTR DIAMONDAPI OpenCallback(char* name, int oflag, int pmode);
    static UINT DIAMONDAPI ReadCallback(INT_PTR hf, void* buffer, UINT count);
    static UINT DIAMONDAPI WriteCallback(INT_PTR hf, void* buffer, UINT count);
    static int DIAMONDAPI CloseCallback(INT_PTR hf);
    static CabLong DIAMONDAPI SeekCallback(INT_PTR hf, CabLong distance, int origin);

    // Keeps the first exception raised inside a callback.
    void KeepException(std::exception_ptr e);

protected:
    ~TUnCAB() override;

private:
    bool IsCabinet(const std::string& path);
    void WalkCabinets();
    void DropPartialOutput();

    HFDI context_ = nullptr;
    std::exception_ptr pending_;
};

// The stored name of a cabinet entry in the OEM code page; Attribs bit 0x80 marks a UTF-8 name.
std::string CabEntryName(const char* name, unsigned attribs);

// Registers TUnCAB with the framework's reflection (after the engine's own classes).
void RegisterUnCABClasses();

}  // namespace engine
