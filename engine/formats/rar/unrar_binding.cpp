#include "engine/formats/rar/unrar_binding.h"

#include <memory>

#include "engine/core/routines.h"
#include "engine/formats/dynlib/dynamic_library.h"

namespace engine {

namespace {

void* UNRAR_CALL StubOpen(RAROpenArchiveData* data)
{
    if (data)
        data->OpenResult = ERAR_EOPEN;
    return nullptr;
}
int UNRAR_CALL StubClose(void*) { return ERAR_SUCCESS; }
int UNRAR_CALL StubRead(void*, RARHeaderData*) { return ERAR_END_ARCHIVE; }
int UNRAR_CALL StubProcess(void*, int, char*, char*) { return ERAR_SUCCESS; }
void UNRAR_CALL StubVolProc(void*, CHANGEVOLPROC) {}
void UNRAR_CALL StubDataProc(void*, PROCESSDATAPROC) {}
void UNRAR_CALL StubPassword(void*, char*) {}

constexpr UnRARFunctions kStubs{StubOpen, StubClose, StubRead, StubProcess, StubVolProc, StubDataProc, StubPassword};

struct Binding {
    std::unique_ptr<DynamicLibrary> library;
    UnRARFunctions functions = kStubs;
    bool loaded = false;
};

// The library a native program links in, when it provides one.
struct LinkedLibrary {
    UnRARFunctions functions = kStubs;
    bool provided = false;
};

LinkedLibrary& Linked()
{
    static LinkedLibrary linked;
    return linked;
}

Binding& State()
{
    static Binding binding;
    static bool bound = false;
    if (!bound) {
        bound = true;
        BindUnRAR("UnRAR");
    }
    return binding;
}

}  // namespace

void BindUnRAR(const std::string& name)
{
    Binding& b = State();
#ifdef _WIN32
    // The new library is loaded before the old one is let go: binding the same library again only
    // counts it once more, and it is never unloaded and started afresh in between.
    auto library = std::make_unique<DynamicLibrary>(name);
#endif
    b.functions = kStubs;
    b.loaded = false;
    b.library.reset();
#ifdef _WIN32
    UnRARFunctions f{};
    if (library->Loaded() && library->Bind(f.OpenArchive, "RAROpenArchive") &&
        library->Bind(f.CloseArchive, "RARCloseArchive") && library->Bind(f.ReadHeader, "RARReadHeader") &&
        library->Bind(f.ProcessFile, "RARProcessFile") && library->Bind(f.SetChangeVolProc, "RARSetChangeVolProc") &&
        library->Bind(f.SetProcessDataProc, "RARSetProcessDataProc") && library->Bind(f.SetPassword, "RARSetPassword")) {
        b.functions = f;
        b.loaded = true;
        b.library = std::move(library);
    }
#else
    if (UpperCase(name) == "UNRAR" && Linked().provided) {
        b.functions = Linked().functions;
        b.loaded = true;
    }
#endif
}

void ProvideLinkedUnRAR(const UnRARFunctions& functions)
{
    Linked().functions = functions;
    Linked().provided = true;
}

void SetUnRARFunctions(const UnRARFunctions& functions)
{
    Binding& b = State();
    b.library.reset();
    b.functions = functions;
    b.loaded = true;
}

const UnRARFunctions& UnRAR() { return State().functions; }
bool UnRARLoaded() { return State().loaded; }

}  // namespace engine
