#include "uisupport/shell/win32/shellapi.h"

#include <cstring>
#include <vector>

#include "framework/win32/application.h"
#include "uisupport/shell/idlist.h"
#include "uisupport/shell/shellnames.h"

namespace uis {
namespace {

struct Shell {
    bool oleStarted = false;
    IMalloc* malloc = nullptr;
    IShellFolder* desktop = nullptr;
};

Shell& State() {
    static Shell shell;
    return shell;
}

const uint8_t kEmptyList[2] = {0, 0};

const uint8_t* Bytes(LPCITEMIDLIST list) { return reinterpret_cast<const uint8_t*>(list); }

LPITEMIDLIST FromBytes(const std::vector<uint8_t>& bytes) {
    if (bytes.empty() || !State().malloc) return nullptr;
    void* memory = State().malloc->Alloc(bytes.size());
    if (!memory) return nullptr;
    std::memcpy(memory, bytes.data(), bytes.size());
    return static_cast<LPITEMIDLIST>(memory);
}

}  // namespace

bool StartShell() {
    Shell& s = State();
    if (s.desktop) return true;
    s.oleStarted = SUCCEEDED(OleInitialize(nullptr));
    if (FAILED(SHGetMalloc(&s.malloc))) s.malloc = nullptr;
    if (FAILED(SHGetDesktopFolder(&s.desktop))) s.desktop = nullptr;
    if (s.malloc && s.desktop) return true;
    EndShell();
    if (fw::Application) {
        fw::Application->MessageBox("Cannot find Shell!", "", MB_OK | MB_ICONSTOP);
        fw::Application->Terminate();
    }
    return false;
}

void EndShell() {
    Shell& s = State();
    if (s.desktop) s.desktop->Release();
    if (s.malloc) s.malloc->Release();
    s.desktop = nullptr;
    s.malloc = nullptr;
    if (s.oleStarted) OleUninitialize();
    s.oleStarted = false;
}

bool ShellStarted() { return State().desktop != nullptr; }
IMalloc* ShellMalloc() { return State().malloc; }
IShellFolder* DesktopFolder() { return State().desktop; }
LPCITEMIDLIST DesktopIDList() { return reinterpret_cast<LPCITEMIDLIST>(kEmptyList); }

UINT IDListSize(LPCITEMIDLIST list) {
    return list ? static_cast<UINT>(uis::IDListSize(Bytes(list), kIDListMaxBytes)) : 0;
}

LPITEMIDLIST CopyIDList(LPCITEMIDLIST list) {
    const UINT size = IDListSize(list);
    if (!size) return nullptr;
    return FromBytes(std::vector<uint8_t>(Bytes(list), Bytes(list) + size));
}

LPITEMIDLIST ConcatIDLists(LPCITEMIDLIST first, LPCITEMIDLIST second) {
    return FromBytes(IDListConcat(Bytes(first), kIDListMaxBytes, Bytes(second), kIDListMaxBytes));
}

void FreeIDList(LPITEMIDLIST list) {
    if (list && State().malloc) State().malloc->Free(list);
}

bool SplitLastItem(LPCITEMIDLIST list, LPITEMIDLIST& parent, LPITEMIDLIST& last) {
    parent = last = nullptr;
    std::vector<uint8_t> head, tail;
    if (!list || !IDListSplitLast(Bytes(list), kIDListMaxBytes, head, tail)) return false;
    parent = FromBytes(head);
    last = FromBytes(tail);
    if (parent && last) return true;
    FreeIDList(parent);
    FreeIDList(last);
    parent = last = nullptr;
    return false;
}

int CompareIDLists(IShellFolder* folder, int column, LPCITEMIDLIST a, LPCITEMIDLIST b) {
    if (!folder || !a || !b) return 0;
    const HRESULT hr = folder->CompareIDs(static_cast<LPARAM>(column), a, b);
    if (FAILED(hr)) return 0;
    return static_cast<short>(HRESULT_CODE(hr));
}

bool SameIDList(IShellFolder* folder, LPCITEMIDLIST a, LPCITEMIDLIST b) {
    if (!a || !b) return false;
    if (!folder) folder = DesktopFolder();
    if (!folder) return false;
    const HRESULT hr = folder->CompareIDs(0, a, b);
    return SUCCEEDED(hr) && static_cast<short>(HRESULT_CODE(hr)) == 0;
}

LPITEMIDLIST ParseName(IShellFolder* folder, HWND owner, const std::string& name) {
    if (!folder) folder = DesktopFolder();
    if (!folder) return nullptr;
    const int length = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
    if (length <= 0) return nullptr;
    std::vector<WCHAR> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide.data(), length);
    ULONG eaten = 0;
    LPITEMIDLIST list = nullptr;
    if (FAILED(folder->ParseDisplayName(owner, nullptr, wide.data(), &eaten, &list, nullptr))) return nullptr;
    return list;
}

std::string StrRetToString(LPCITEMIDLIST item, STRRET& ret) {
    switch (ret.uType) {
        case STRRET_WSTR: {
            std::string text;
            if (ret.pOleStr) {
                const int length = WideCharToMultiByte(CP_ACP, 0, ret.pOleStr, -1, nullptr, 0, nullptr, nullptr);
                if (length > 0) {
                    text.resize(static_cast<size_t>(length));
                    WideCharToMultiByte(CP_ACP, 0, ret.pOleStr, -1, text.data(), length, nullptr, nullptr);
                    text.resize(static_cast<size_t>(length - 1));
                }
                CoTaskMemFree(ret.pOleStr);
                ret.pOleStr = nullptr;
            }
            return text;
        }
        case STRRET_OFFSET: {
            // The text lies inside the item's first entry; never read past it.
            const IDListBytes first = IDListItem(Bytes(item), kIDListMaxBytes, 0);
            if (ret.uOffset >= first.size()) return {};
            const char* start = reinterpret_cast<const char*>(first.data()) + ret.uOffset;
            return std::string(start, strnlen(start, first.size() - ret.uOffset));
        }
        case STRRET_CSTR: return std::string(ret.cStr, strnlen(ret.cStr, sizeof ret.cStr));
        default: return {};
    }
}

std::string PathOfIDList(LPCITEMIDLIST list) {
    char path[MAX_PATH] = {};
    if (!list || !SHGetPathFromIDListA(list, path)) return {};
    std::string text = path;
    return IsFileSystemPath(text) ? text : std::string();
}

}  // namespace uis
