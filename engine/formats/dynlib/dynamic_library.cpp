#include "engine/formats/dynlib/dynamic_library.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace engine {

DynamicLibrary::DynamicLibrary(const std::string& name)
{
#ifdef _WIN32
    const UINT previous = SetErrorMode(SEM_NOOPENFILEERRORBOX);
    module_ = LoadLibraryA(name.c_str());
    SetErrorMode(previous);
#else
    (void)name;
#endif
}

DynamicLibrary::~DynamicLibrary()
{
#ifdef _WIN32
    if (module_)
        FreeLibrary(static_cast<HMODULE>(module_));
#endif
}

void* DynamicLibrary::Symbol(const char* name) const
{
#ifdef _WIN32
    // Function pointers and data pointers have one size on Windows.
    return module_ ? reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module_), name)) : nullptr;
#else
    (void)name;
    return nullptr;
#endif
}

}  // namespace engine
