// Test helper: an FDI whose FDICopy plays a script of notifications in the order the cabinet
// library sends them (cabinet information, then per file a copy request, its data through the
// write callback and a close request; a next-cabinet request where the script says), so that the
// extractor's answers can be checked without the library, natively too.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "engine/formats/cab/cab_api.h"

namespace engine::test {

struct ScriptedFile {
    std::string name;
    std::string data;
    uint16_t date = 0x5A6B, time = 0x1234, attribs = 0x20;
    bool nextCabinetFirst = false;  // a next-cabinet request comes before this file
};

struct ScriptedFdi {
    static inline std::vector<ScriptedFile> files;
    static inline std::string nextCabinet;  // reported in the cabinet information of the others
    static inline std::vector<std::string> log;
    static inline PFNWRITE write = nullptr;

    static HFDI DIAMONDAPI Create(PFNALLOC, PFNFREE, PFNOPEN, PFNREAD, PFNWRITE w, PFNCLOSE, PFNSEEK, int, PERF)
    {
        write = w;
        return reinterpret_cast<HFDI>(&files);
    }
    static BOOL DIAMONDAPI IsCabinet(HFDI, INT_PTR, PFDICABINETINFO) { return 1; }
    static BOOL DIAMONDAPI Destroy(HFDI) { return 1; }
    static BOOL DIAMONDAPI Copy(HFDI, char* cabinet, char* path, int, PFNFDINOTIFY notify, PFNFDIDECRYPT, void* user)
    {
        log.push_back(std::string("copy ") + cabinet);
        char psz1[256] = {}, psz2[256] = {}, psz3[256] = {};
        FDINOTIFICATION n{};
        n.pv = user;
        n.psz1 = psz1;
        n.psz2 = psz2;
        n.psz3 = psz3;
        std::snprintf(psz1, sizeof psz1, "%s", nextCabinet == cabinet ? "" : nextCabinet.c_str());
        std::snprintf(psz3, sizeof psz3, "%s", path);
        if (notify(fdintCABINET_INFO, &n) == -1)
            return 0;
        for (const ScriptedFile& f : files) {
            if (f.nextCabinetFirst) {
                std::snprintf(psz1, sizeof psz1, "%s", nextCabinet.c_str());
                std::snprintf(psz3, sizeof psz3, "%s", path);
                if (notify(fdintNEXT_CABINET, &n) == -1)
                    return 0;
                log.push_back(std::string("next ") + psz1);
            }
            std::snprintf(psz1, sizeof psz1, "%s", f.name.c_str());
            n.cb = int32_t(f.data.size());
            n.date = f.date;
            n.time = f.time;
            n.attribs = f.attribs;
            n.fdie = FDIERROR_NONE;
            const INT_PTR hf = notify(fdintCOPY_FILE, &n);
            if (hf == -1)
                return 0;
            if (hf == 0)
                continue;
            std::string data = f.data;
            for (size_t done = 0; done < data.size();) {
                const UINT chunk = UINT(std::min<size_t>(data.size() - done, 1000));
                if (write(hf, data.data() + done, chunk) != chunk)
                    return 0;
                done += chunk;
            }
            n.hf = hf;
            std::snprintf(psz1, sizeof psz1, "%s", f.name.c_str());
            if (notify(fdintCLOSE_FILE_INFO, &n) != 1)
                return 0;
        }
        return 1;
    }
    static FdiFunctions Functions() { return FdiFunctions{Create, IsCabinet, Copy, Destroy}; }
};

}  // namespace engine::test
