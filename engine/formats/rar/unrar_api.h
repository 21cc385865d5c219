// The UnRAR library interface: the records, callbacks, result codes and the seven entry points that
// the archive engine binds by name. Any library with this interface serves; ours (platform/unrar)
// implements it for the RAR 1.5-4.x block format.
#pragma once

#include <cstdint>

#ifdef _WIN32
#define UNRAR_CALL __stdcall
#else
#define UNRAR_CALL
#endif

extern "C" {

// Result codes.
enum : int {
    ERAR_SUCCESS = 0,
    ERAR_END_ARCHIVE = 10,
    ERAR_NO_MEMORY = 11,
    ERAR_BAD_DATA = 12,  // a CRC error; also a wrong password
    ERAR_BAD_ARCHIVE = 13,
    ERAR_UNKNOWN_FORMAT = 14,  // RAR 5 archives, versions and filter programs not supported
    ERAR_EOPEN = 15,  // also a next volume that was refused
    ERAR_ECREATE = 16,
    ERAR_ECLOSE = 17,
    ERAR_EREAD = 18,
    ERAR_EWRITE = 19,
    ERAR_SMALL_BUF = 20,
    ERAR_BROKEN_CHAIN = 21,  // a volume that does not continue the set
    ERAR_MISSING_PASSWORD = 22,
};

// RARProcessFile operations; RAROpenArchive modes.
enum : int { RAR_SKIP = 0, RAR_TEST = 1, RAR_EXTRACT = 2 };
enum : unsigned { RAR_OM_LIST = 0, RAR_OM_EXTRACT = 1 };
// Volume callback modes: the next volume was not found (the callback may put a path into the
// buffer and answer 1), or a volume has been opened (answer 0 stops).
enum : int { RAR_VOL_ASK = 0, RAR_VOL_NOTIFY = 1 };
// The size of the name buffer handed to the volume callback, terminator included.
inline constexpr int kRarVolumeNameSize = 1024;

struct RAROpenArchiveData {
    char* ArcName;
    unsigned OpenMode;
    unsigned OpenResult;
    char* CmtBuf;
    unsigned CmtBufSize;
    unsigned CmtSize;
    unsigned CmtState;
};

struct RARHeaderData {
    char ArcName[260];
    char FileName[260];
    unsigned Flags;  // 0x01 continued, 0x02 continues, 0x04 encrypted, 0x10 solid, 0xE0 folder
    unsigned PackSize;
    unsigned UnpSize;
    unsigned HostOS;
    unsigned FileCRC;
    unsigned FileTime;  // DOS date and time
    unsigned UnpVer;
    unsigned Method;
    unsigned FileAttr;  // 0x10: folder
    char* CmtBuf;
    unsigned CmtBufSize;
    unsigned CmtSize;
    unsigned CmtState;
};

typedef int(UNRAR_CALL* CHANGEVOLPROC)(char* arcName, int mode);
typedef int(UNRAR_CALL* PROCESSDATAPROC)(unsigned char* addr, int size);

void* UNRAR_CALL RAROpenArchive(RAROpenArchiveData* data);
int UNRAR_CALL RARCloseArchive(void* handle);
int UNRAR_CALL RARReadHeader(void* handle, RARHeaderData* header);
int UNRAR_CALL RARProcessFile(void* handle, int operation, char* destPath, char* destName);
void UNRAR_CALL RARSetChangeVolProc(void* handle, CHANGEVOLPROC proc);
void UNRAR_CALL RARSetProcessDataProc(void* handle, PROCESSDATAPROC proc);
void UNRAR_CALL RARSetPassword(void* handle, char* password);

}  // extern "C"
