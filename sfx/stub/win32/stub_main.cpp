// The extractor program: start, main dialog and the Windows side of the archive walk.
#include <windows.h>

#include <initializer_list>

#include "sfx/stub/core/archive_walk.h"
#include "sfx/stub/core/sfx_options.h"
#include "sfx/stub/win32/stub_resource.h"
#include "sfx/stub/win32/stub_state.h"

namespace sfx::stub {

HINSTANCE gInstance;
HANDLE gArchive;
SfxRunOptions gOptions;
WalkState gWalk;
char gBrowseFolder[kTextBufferSize];
int gOverwriteMode = kModeOverwrite;
HWND gMainDialog;

namespace {

int gListId;  // IDC_LIST_SORTED or IDC_LIST_PLAIN, set before the dialog opens

void CopyN(char* dst, size_t cap, const char* src) { CopyText(dst, cap, src); }

// The program's own file through the core's reading interface.
class OwnFile final : public StubFile {
public:
    bool Seek(uint64_t pos) override {
        LARGE_INTEGER li;
        li.QuadPart = static_cast<LONGLONG>(pos);
        return SetFilePointerEx(gArchive, li, nullptr, FILE_BEGIN) != 0;
    }
    uint32_t Read(void* buf, uint32_t n) override {
        DWORD got = 0;
        if (!ReadFile(gArchive, buf, n, &got, nullptr)) return 0;
        return got;
    }
};

// The objects with virtual functions live on the start-up frame (a global one would need a writable
// data section of its own in the image); these point at them.
OwnFile* gOwnFile;

bool IsFolder(const char* path) {
    const DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The walk's view of the dialog, the user and the file system.
class DialogHost final : public WalkHost {
public:
    HWND dlg = nullptr;

    HWND List() const { return GetDlgItem(dlg, gListId); }
    void ListClear() override { SendMessageA(List(), LB_RESETCONTENT, 0, 0); }
    void ListAdd(const char* name) override { SendMessageA(List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name)); }
    int ListCount() override { return static_cast<int>(SendMessageA(List(), LB_GETCOUNT, 0, 0)); }
    int ListFind(int after, const char* name) override {
        const LRESULT r = SendMessageA(List(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(after),
                                       reinterpret_cast<LPARAM>(name));
        return r == LB_ERR ? -1 : static_cast<int>(r);
    }
    bool ListSelected(int i) override { return SendMessageA(List(), LB_GETSEL, static_cast<WPARAM>(i), 0) > 0; }
    void ListDeselect(int i) override { SendMessageA(List(), LB_SETSEL, FALSE, static_cast<LPARAM>(i)); }
    int ListSelectedCount() override { return static_cast<int>(SendMessageA(List(), LB_GETSELCOUNT, 0, 0)); }

    void AskPassword(char* buf, uint32_t cap) override { AskPasswordDialog(dlg, buf, cap); }
    bool AskOverwrite(const char* fileName) override { return AskOverwriteDialog(dlg, fileName); }
    int OverwriteMode() override { return gOverwriteMode; }

    bool PathExists(const char* path) override {
        const size_t n = lstrlenA(path);
        if (n && (path[n - 1] == '\\' || path[n - 1] == '/')) return IsFolder(path);
        return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    }
    bool MakeFolders(const char* folder) override {
        char part[kTargetBufferSize];
        CopyN(part, sizeof part, folder);
        for (char* p = part; *p; ++p) {
            if ((*p == '\\' || *p == '/') && p > part && p[-1] != ':' && p[-1] != '\\' && p[-1] != '/') {
                const char keep = *p;
                *p = '\0';
                CreateDirectoryA(part, nullptr);
                *p = keep;
            }
        }
        CreateDirectoryA(part, nullptr);
        return IsFolder(folder);
    }
    bool IsOwnFile(const char* path) override {
        HANDLE h = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) return false;
        BY_HANDLE_FILE_INFORMATION a, b;
        const bool same = GetFileInformationByHandle(h, &a) && GetFileInformationByHandle(gArchive, &b) &&
                          a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
                          a.nFileIndexLow == b.nFileIndexLow;
        CloseHandle(h);
        return same;
    }
    bool CreateTarget(const char* path) override {
        out_ = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        return out_ != INVALID_HANDLE_VALUE;
    }
    bool WriteTarget(const void* data, uint32_t n) override {
        const char* p = static_cast<const char*>(data);
        while (n) {
            DWORD done = 0;
            if (!WriteFile(out_, p, n, &done, nullptr) || done == 0) return false;
            p += done;
            n -= done;
        }
        return true;
    }
    bool CloseTarget() override {
        const bool ok = CloseHandle(out_) != 0;
        out_ = nullptr;
        return ok;
    }
    void RemoveTarget(const char* path) override { DeleteFileA(path); }

    void Message(const char* text, const char* caption) override { MessageBoxA(dlg, text, caption, MB_OK); }
    void Status(const char* text) override { SetDlgItemTextA(dlg, IDC_STATUS, text); }
    void Pump() override {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

private:
    HANDLE out_ = nullptr;
};

DialogHost* gHost;

void SelectAll(HWND dlg) { SendDlgItemMessageA(dlg, gListId, LB_SETSEL, TRUE, -1); }

void InitMainDialog(HWND dlg) {
    gHost->dlg = dlg;
    SetClassLongPtrA(dlg, GCLP_HICON, reinterpret_cast<LONG_PTR>(LoadIconA(gInstance, "MnIcon")));
    SetFocus(GetDlgItem(dlg, IDC_FOLDER));

    if (gOptions.hasRoot) {
        CopyText(gWalk.folder, sizeof gWalk.folder, gOptions.rootDir);
    } else {
        GetCurrentDirectoryA(sizeof gWalk.folder, gWalk.folder);
    }

    const HWND run = GetDlgItem(dlg, IDC_RUN);
    if (!gOptions.hasProgram && !gOptions.useAssociated) {
        ShowWindow(run, SW_HIDE);
    } else {
        char text[2 * kTextBufferSize + 32] = "run \"";
        AppendText(text, sizeof text, FileNamePart(gOptions.program));
        AppendText(text, sizeof text, " ");
        AppendText(text, sizeof text, FileNamePart(gOptions.params));
        AppendText(text, sizeof text, "\" after extraction");
        SetWindowTextA(run, text);
        CheckDlgButton(dlg, IDC_RUN, BST_CHECKED);
        if (!gOptions.showRunBox) ShowWindow(run, SW_HIDE);
    }

    SetDlgItemTextA(dlg, IDC_FOLDER, gWalk.folder);
    SendDlgItemMessageA(dlg, IDC_FOLDER, EM_SETSEL, 0, -1);

    if (gOptions.overwriteChoice) {
        CheckRadioButton(dlg, IDC_OVERWRITE, IDC_CONFIRM_OVERWRITE, gOptions.overwriteChoice);
        gOverwriteMode = gOptions.overwriteChoice - IDC_OVERWRITE;
    }
    if (gOptions.hideOverwrite) {
        for (int id : {IDC_OVERWRITE, IDC_DONT_OVERWRITE, IDC_CONFIRM_OVERWRITE, IDC_OVERWRITE_GROUP})
            DestroyWindow(GetDlgItem(dlg, id));
    }
    if (gOptions.hasCaption) SetWindowTextA(dlg, gOptions.caption);
    CenterWindow(dlg);

    WalkArchive(*gHost, *gOwnFile, gOptions.archiveStart, true, gWalk);
    ShowWindow(GetDlgItem(dlg, gListId), SW_SHOW);
    SelectAll(dlg);
    gMainDialog = dlg;
}

void Extract(HWND dlg) {
    SelectAll(dlg);
    GetDlgItemTextA(dlg, IDC_FOLDER, gWalk.folder, sizeof gWalk.folder);
    const int n = lstrlenA(gWalk.folder);
    if (n && gWalk.folder[n - 1] == '\\') gWalk.folder[n - 1] = '\0';
    if (!gWalk.folder[0]) {
        GetCurrentDirectoryA(sizeof gWalk.folder, gWalk.folder);
        SetDlgItemTextA(dlg, IDC_FOLDER, gWalk.folder);
    }
    WalkArchive(*gHost, *gOwnFile, gOptions.archiveStart, false, gWalk);
    if (!gWalk.allDone) return;
    RunAfterExtract(IsDlgButtonChecked(dlg, IDC_RUN) == BST_CHECKED ? 1 : 0);
    EndDialog(dlg, 1);
}

INT_PTR CALLBACK MainDialogProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG:
            InitMainDialog(dlg);
            return FALSE;  // the focus was set to the folder field
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDC_OVERWRITE:
                case IDC_DONT_OVERWRITE:
                case IDC_CONFIRM_OVERWRITE:
                    gOverwriteMode = LOWORD(wp) - IDC_OVERWRITE;
                    return TRUE;
                case IDC_BROWSE:
                    GetDlgItemTextA(dlg, IDC_FOLDER, gBrowseFolder, kFolderBufferSize);
                    if (SelectFolderDialog(dlg) == IDOK) {
                        CopyText(gWalk.folder, sizeof gWalk.folder, gBrowseFolder);
                        SetDlgItemTextA(dlg, IDC_FOLDER, gWalk.folder);
                    }
                    return TRUE;
                case IDOK:
                    Extract(dlg);
                    return TRUE;
                case IDCANCEL: {
                    char folder[kFolderBufferSize];
                    GetDlgItemTextA(dlg, IDC_FOLDER, folder, sizeof folder);
                    if (IsFolder(folder)) SetCurrentDirectoryA(folder);
                    EndDialog(dlg, 2);
                    return TRUE;
                }
            }
            break;
    }
    return FALSE;
}

}  // namespace

void CenterWindow(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
    SetWindowPos(wnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void CopyText(char* dst, size_t cap, const char* src) {
    if (!cap) return;
    size_t i = 0;
    for (; i + 1 < cap && src[i]; ++i) dst[i] = src[i];
    dst[i] = '\0';
}

void AppendText(char* dst, size_t cap, const char* src) {
    const size_t n = static_cast<size_t>(lstrlenA(dst));
    if (n < cap) CopyText(dst + n, cap - n, src);
}

void AddBackslash(char* path, size_t cap) {
    const int n = lstrlenA(path);
    if (n == 0 || path[n - 1] != '\\') AppendText(path, cap, "\\");
}

const char* FileNamePart(const char* path) {
    const char* part = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') part = p + 1;
    return part;
}

}  // namespace sfx::stub

using namespace sfx::stub;

namespace {

int Run(HINSTANCE instance) {
    gInstance = instance;
    OwnFile ownFile;
    DialogHost host;
    gOwnFile = &ownFile;
    gHost = &host;
    char self[MAX_PATH + 1];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    self[n <= MAX_PATH ? n : MAX_PATH] = '\0';
    gArchive = CreateFileA(self, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (gArchive == INVALID_HANDLE_VALUE) {
        MessageBoxA(nullptr, self, "Cannot open file ..", MB_OK);
        return 1;
    }
    sfx::ReadSfxOptions(ownFile, gOptions, [](char* buf, uint32_t cap) -> uint32_t { return GetTempPathA(cap, buf); });
    gListId = gOptions.sortList ? IDC_LIST_SORTED : IDC_LIST_PLAIN;
    const INT_PTR result = DialogBoxParamA(instance, "MainDialog", nullptr, MainDialogProc, 0);
    if (!CloseHandle(gArchive)) MessageBoxA(nullptr, "Cannot close the file", "Error", MB_OK);
    return result == 1 ? 0 : 2;
}

}  // namespace

// The program starts here, without the C run-time's start-up code: nothing of ours needs constructors
// run or arguments parsed, and leaving it out keeps the image small.
extern "C" void WINAPI StubEntry() { ExitProcess(static_cast<UINT>(Run(GetModuleHandleA(nullptr)))); }
