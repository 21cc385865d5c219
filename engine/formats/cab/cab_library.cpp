#include <memory>

#include "engine/formats/cab/cab_api.h"
#include "engine/formats/dynlib/dynamic_library.h"

namespace engine {

namespace {

HFDI DIAMONDAPI StubFdiCreate(PFNALLOC, PFNFREE, PFNOPEN, PFNREAD, PFNWRITE, PFNCLOSE, PFNSEEK, int, PERF) { return nullptr; }
BOOL DIAMONDAPI StubIsCabinet(HFDI, INT_PTR, PFDICABINETINFO) { return 1; }
BOOL DIAMONDAPI StubCopy(HFDI, char*, char*, int, PFNFDINOTIFY, PFNFDIDECRYPT, void*) { return 1; }
BOOL DIAMONDAPI StubDestroy(HFDI) { return 1; }
HFCI DIAMONDAPI StubFciCreate(PERF, PFNFCIFILEPLACED, PFNFCIALLOC, PFNFCIFREE, PFNFCIOPEN, PFNFCIREAD, PFNFCIWRITE,
                              PFNFCICLOSE, PFNFCISEEK, PFNFCIDELETE, PFNFCIGETTEMPFILE, PCCAB, void*)
{
    return nullptr;
}
BOOL DIAMONDAPI StubAddFile(HFCI, char*, char*, BOOL, PFNFCIGETNEXTCABINET, PFNFCISTATUS, PFNFCIGETOPENINFO, USHORT)
{
    return 1;
}
BOOL DIAMONDAPI StubFlushCabinet(HFCI, BOOL, PFNFCIGETNEXTCABINET, PFNFCISTATUS) { return 1; }
BOOL DIAMONDAPI StubFlushFolder(HFCI, PFNFCIGETNEXTCABINET, PFNFCISTATUS) { return 1; }
BOOL DIAMONDAPI StubFciDestroy(HFCI) { return 1; }

struct Bound {
    std::unique_ptr<DynamicLibrary> fdiModule, fciModule;
    FdiFunctions fdi{StubFdiCreate, StubIsCabinet, StubCopy, StubDestroy};
    FciFunctions fci{StubFciCreate, StubAddFile, StubFlushCabinet, StubFlushFolder, StubFciDestroy};
    bool fdiLoaded = false, fciLoaded = false;
    // What the library gave, for SetFdiFunctions(nullptr).
    FdiFunctions boundFdi{};
    bool boundFdiLoaded = false;

    Bound()
    {
#ifdef _WIN32
        // The module's loading alone sets the flag; a missing entry point keeps its stub.
        fdiModule = std::make_unique<DynamicLibrary>("cabinet.dll");
        if ((fdiLoaded = fdiModule->Loaded())) {
            FdiFunctions f{};
            if (fdiModule->Bind(f.Create, "FDICreate") && fdiModule->Bind(f.IsCabinet, "FDIIsCabinet") &&
                fdiModule->Bind(f.Copy, "FDICopy") && fdiModule->Bind(f.Destroy, "FDIDestroy"))
                fdi = f;
        }
        fciModule = std::make_unique<DynamicLibrary>("Cabinet");
        if ((fciLoaded = fciModule->Loaded())) {
            FciFunctions f{};
            if (fciModule->Bind(f.Create, "FCICreate") && fciModule->Bind(f.AddFile, "FCIAddFile") &&
                fciModule->Bind(f.FlushCabinet, "FCIFlushCabinet") && fciModule->Bind(f.FlushFolder, "FCIFlushFolder") &&
                fciModule->Bind(f.Destroy, "FCIDestroy"))
                fci = f;
        }
#endif
        boundFdi = fdi;
        boundFdiLoaded = fdiLoaded;
    }
};

Bound& State()
{
    static Bound bound;
    return bound;
}

}  // namespace

const FdiFunctions& Fdi() { return State().fdi; }
const FciFunctions& Fci() { return State().fci; }
bool FDILoaded() { return State().fdiLoaded; }
bool FCILoaded() { return State().fciLoaded; }

void SetFdiFunctions(const FdiFunctions* functions)
{
    Bound& b = State();
    if (functions) {
        b.fdi = *functions;
        b.fdiLoaded = true;
    } else {
        b.fdi = b.boundFdi;
        b.fdiLoaded = b.boundFdiLoaded;
    }
}

}  // namespace engine
