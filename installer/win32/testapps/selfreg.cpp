// A library that registers itself: DllRegisterServer writes a marker value with the library's path.
#include <windows.h>

namespace {
HMODULE g_module = nullptr;
}

// fw-lint: entry point
extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = module;
    return TRUE;
}

// fw-lint: entry point (the library's exported registration entry; plain C, nothing throws)
extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer() {
    char path[MAX_PATH];
    GetModuleFileNameA(g_module, path, MAX_PATH);
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\MorvixTest\\SelfReg", 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    const LONG rc = RegSetValueExA(key, "Registered", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                                   static_cast<DWORD>(lstrlenA(path) + 1));
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? S_OK : E_FAIL;
}
