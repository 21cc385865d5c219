// A library loaded by name at run time, with no "file not found" error box while it loads; the
// module is freed when the object goes. Natively nothing can be loaded.
#pragma once

#include <string>

namespace engine {

class DynamicLibrary {
public:
    // Loads Name with the system's open-file error boxes off (error mode 0x8000), then restores
    // the previous mode.
    explicit DynamicLibrary(const std::string& name);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    // The entry point of that name, or nullptr.
    void* Symbol(const char* name) const;
    // Binds Name into Fn; false when it is missing.
    template <class F>
    bool Bind(F& fn, const char* name) const
    {
        fn = reinterpret_cast<F>(Symbol(name));
        return fn != nullptr;
    }

private:
    void* module_ = nullptr;
};

}  // namespace engine
