// The cabinet library's FDI (extract) and FCI (create) declarations. On Windows they are the SDK's
// (fdi.h, fci.h: every callback __cdecl, which the i686 build depends on); natively the same shapes
// are declared here so that the notification handling builds and runs against a scripted library.
#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#include <fci.h>
#include <fdi.h>
// The engine has routines of these names; the system's macros would rename the calls.
#undef DeleteFile
#undef AnsiToOem
#undef OemToAnsi
#else
#define DIAMONDAPI
using INT_PTR = std::intptr_t;
using UINT = unsigned;
using ULONG = uint32_t;
using USHORT = uint16_t;
using BOOL = int;
using LONG32 = int32_t;

struct ERF {
    int erfOper;
    int erfType;
    BOOL fError;
};
using PERF = ERF*;

enum FDINOTIFICATIONTYPE {
    fdintCABINET_INFO, fdintPARTIAL_FILE, fdintCOPY_FILE, fdintCLOSE_FILE_INFO, fdintNEXT_CABINET, fdintENUMERATE
};
enum FDIERROR { FDIERROR_NONE, FDIERROR_USER_ABORT = 11 };

struct FDINOTIFICATION {
    int32_t cb;
    char* psz1;
    char* psz2;
    char* psz3;
    void* pv;
    INT_PTR hf;
    USHORT date;
    USHORT time;
    USHORT attribs;
    USHORT setID;
    USHORT iCabinet;
    USHORT iFolder;
    FDIERROR fdie;
};
using PFDINOTIFICATION = FDINOTIFICATION*;
struct FDICABINETINFO {
    int32_t cbCabinet;
    USHORT cFolders, cFiles, setID, iCabinet;
    BOOL fReserve, hasprev, hasnext;
};
using PFDICABINETINFO = FDICABINETINFO*;
using HFDI = void*;
using HFCI = void*;

struct CCAB {
    ULONG cb;
    ULONG cbFolderThresh;
    UINT cbReserveCFHeader;
    UINT cbReserveCFFolder;
    UINT cbReserveCFData;
    int iCab;
    int iDisk;
    int fFailOnIncompressible;
    USHORT setID;
    char szDisk[256];
    char szCab[256];
    char szCabPath[256];
};
using PCCAB = CCAB*;

using PFNALLOC = void* (*)(ULONG cb);
using PFNFREE = void (*)(void* pv);
using PFNOPEN = INT_PTR (*)(char* pszFile, int oflag, int pmode);
using PFNREAD = UINT (*)(INT_PTR hf, void* pv, UINT cb);
using PFNWRITE = UINT (*)(INT_PTR hf, void* pv, UINT cb);
using PFNCLOSE = int (*)(INT_PTR hf);
using PFNSEEK = LONG32 (*)(INT_PTR hf, LONG32 dist, int seektype);
using PFNFDINOTIFY = INT_PTR (*)(FDINOTIFICATIONTYPE fdint, PFDINOTIFICATION pfdin);
using PFNFDIDECRYPT = int (*)(void*);

using PFNFCIALLOC = void* (*)(ULONG cb);
using PFNFCIFREE = void (*)(void* memory);
using PFNFCIOPEN = INT_PTR (*)(char* pszFile, int oflag, int pmode, int* err, void* pv);
using PFNFCIREAD = UINT (*)(INT_PTR hf, void* memory, UINT cb, int* err, void* pv);
using PFNFCIWRITE = UINT (*)(INT_PTR hf, void* memory, UINT cb, int* err, void* pv);
using PFNFCICLOSE = int (*)(INT_PTR hf, int* err, void* pv);
using PFNFCISEEK = LONG32 (*)(INT_PTR hf, LONG32 dist, int seektype, int* err, void* pv);
using PFNFCIDELETE = int (*)(char* pszFile, int* err, void* pv);
using PFNFCIFILEPLACED = int (*)(PCCAB pccab, char* pszFile, LONG32 cbFile, BOOL fContinuation, void* pv);
using PFNFCIGETTEMPFILE = BOOL (*)(char* pszTempName, int cbTempName, void* pv);
using PFNFCIGETNEXTCABINET = BOOL (*)(PCCAB pccab, ULONG cbPrevCab, void* pv);
using PFNFCISTATUS = LONG32 (*)(UINT typeStatus, ULONG cb1, ULONG cb2, void* pv);
using PFNFCIGETOPENINFO = INT_PTR (*)(char* pszName, USHORT* pdate, USHORT* ptime, USHORT* pattribs, int* err, void* pv);

HFDI FDICreate(PFNALLOC, PFNFREE, PFNOPEN, PFNREAD, PFNWRITE, PFNCLOSE, PFNSEEK, int cpuType, PERF perf);
BOOL FDIIsCabinet(HFDI hfdi, INT_PTR hf, PFDICABINETINFO pfdici);
BOOL FDICopy(HFDI hfdi, char* pszCabinet, char* pszCabPath, int flags, PFNFDINOTIFY pfnfdin, PFNFDIDECRYPT pfnfdid,
             void* pvUser);
BOOL FDIDestroy(HFDI hfdi);
HFCI FCICreate(PERF perf, PFNFCIFILEPLACED, PFNFCIALLOC, PFNFCIFREE, PFNFCIOPEN, PFNFCIREAD, PFNFCIWRITE, PFNFCICLOSE,
               PFNFCISEEK, PFNFCIDELETE, PFNFCIGETTEMPFILE, PCCAB pccab, void* pv);
BOOL FCIAddFile(HFCI hfci, char* pszSourceFile, char* pszFileName, BOOL fExecute, PFNFCIGETNEXTCABINET,
                PFNFCISTATUS, PFNFCIGETOPENINFO, USHORT typeCompress);
BOOL FCIFlushCabinet(HFCI hfci, BOOL fGetNextCab, PFNFCIGETNEXTCABINET, PFNFCISTATUS);
BOOL FCIFlushFolder(HFCI hfci, PFNFCIGETNEXTCABINET, PFNFCISTATUS);
BOOL FCIDestroy(HFCI hfci);
#endif

namespace engine {

#ifdef _WIN32
using CabLong = __LONG32;
#else
using CabLong = LONG32;
#endif

// The bound FDI and FCI entry points.
struct FdiFunctions {
    decltype(&FDICreate) Create;
    decltype(&FDIIsCabinet) IsCabinet;
    decltype(&FDICopy) Copy;
    decltype(&FDIDestroy) Destroy;
};
struct FciFunctions {
    decltype(&FCICreate) Create;
    decltype(&FCIAddFile) AddFile;
    decltype(&FCIFlushCabinet) FlushCabinet;
    decltype(&FCIFlushFolder) FlushFolder;
    decltype(&FCIDestroy) Destroy;
};

// Bound when first needed: "cabinet.dll" for FDI, "Cabinet" for FCI. A missing library leaves
// stubs (create calls give no context, the others succeed) and the flag False. Natively nothing
// binds.
const FdiFunctions& Fdi();
const FciFunctions& Fci();
bool FDILoaded();
bool FCILoaded();
// Tests: installs scripted entry points as if the library were bound (nullptr: the library's again).
void SetFdiFunctions(const FdiFunctions* functions);

}  // namespace engine
