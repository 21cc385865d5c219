#include "engine/win32/engine_win32.h"

#include <string>

#include "engine/core/file_routines.h"
#include "framework/win32/platform_win32.h"
#include "framework/win32/winapi.h"

namespace engine::win32 {

namespace {

std::string SystemMessage(DWORD code)
{
    char buffer[512] = {};
    const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                   buffer, sizeof buffer, nullptr);
    std::string text(buffer, n);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

class Win32Drives : public DriveSeam {
public:
    bool VolumeAnswers(const std::string& root, std::string& errorText) override
    {
        // No "insert a disk" box from the system: the engine asks with its own prompt.
        const UINT old = SetErrorMode(SEM_FAILCRITICALERRORS);
        char name[MAX_PATH + 1], fs[MAX_PATH + 1];
        DWORD serial = 0, maxLen = 0, flags = 0;
        const BOOL ok = GetVolumeInformationA(root.c_str(), name, sizeof name, &serial, &maxLen, &flags, fs, sizeof fs);
        const DWORD error = ok ? 0 : GetLastError();
        SetErrorMode(old);
        if (!ok)
            errorText = SystemMessage(error);
        return ok != FALSE;
    }
};

}  // namespace

void InstallEngineWin32()
{
    static Win32Drives drives;
    fw::InstallWin32Platform();
    SetDriveSeam(&drives);
}

}  // namespace engine::win32
