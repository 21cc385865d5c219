// The extractor's secondary dialogs (folder choice, new folder, overwrite question, password) and the
// run after extraction.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <winnetwk.h>

#include "sfx/stub/win32/stub_resource.h"
#include "sfx/stub/win32/stub_state.h"

namespace sfx::stub {

namespace {

constexpr size_t kBrowseMax = kFolderBufferSize;  // the browse folder holds at most 256 characters

bool IsFolder(const char* path) {
    const DWORD a = GetFileAttributesA(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// Rewrites a path with the long name of every component, as the file system spells it.
void LongForm(char* path, size_t cap) {
    if (lstrlenA(path) < 4) return;
    char in[kTextBufferSize];
    CopyText(in, sizeof in, path);
    AddBackslash(in, sizeof in);
    char out[kTextBufferSize];
    CopyText(out, 4, in);  // "C:\"
    const char* p = in + 3;
    while (*p) {
        const char* end = p;
        while (*end && *end != '\\') ++end;
        char probe[kTextBufferSize];
        CopyText(probe, sizeof probe, out);
        const size_t have = static_cast<size_t>(lstrlenA(probe));
        CopyText(probe + have, static_cast<size_t>(end - p) + 1 < sizeof probe - have ? static_cast<size_t>(end - p) + 1
                                                                                     : sizeof probe - have,
                 p);
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA(probe, &fd);
        if (h != INVALID_HANDLE_VALUE) {
            FindClose(h);
            AppendText(out, sizeof out, fd.cFileName);
        } else {
            AppendText(out, sizeof out, probe + have);
        }
        AppendText(out, sizeof out, "\\");
        p = *end ? end + 1 : end;
    }
    CopyText(path, cap < kFolderBufferSize ? cap : kFolderBufferSize, out);
}

void RefreshFolderList(HWND dlg) {
    char spec[kTextBufferSize + 8];
    CopyText(spec, sizeof spec, gBrowseFolder);
    AddBackslash(spec, sizeof spec);
    AppendText(spec, sizeof spec, "*.*");
    DlgDirListA(dlg, spec, IDC_SEL_LIST, IDC_SEL_PATH, DDL_DIRECTORY | DDL_DRIVES | DDL_EXCLUSIVE);
    GetDlgItemTextA(dlg, IDC_SEL_PATH, gBrowseFolder, kBrowseMax);
    LongForm(gBrowseFolder, kBrowseMax);
    SetDlgItemTextA(dlg, IDC_SEL_PATH, gBrowseFolder);
    SetCurrentDirectoryA(gBrowseFolder);

    const HWND list = GetDlgItem(dlg, IDC_SEL_LIST);
    const LRESULT up = SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>("[..]"));
    if (up != LB_ERR && up != 0) {
        SendMessageA(list, LB_DELETESTRING, static_cast<WPARAM>(up), 0);
        SendMessageA(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("[..]"));
    }
    SetFocus(list);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
}

// Draws one folder list item: "[..]" the parent, "[-c-]" a drive, "[name]" a folder.
void DrawFolderItem(const DRAWITEMSTRUCT* di) {
    if (di->itemID == static_cast<UINT>(-1)) return;
    char text[kTextBufferSize];
    SendMessageA(di->hwndItem, LB_GETTEXT, di->itemID, reinterpret_cast<LPARAM>(text));
    char name[kTextBufferSize];
    int len = lstrlenA(text);
    CopyText(name, sizeof name, len >= 2 ? text + 1 : text);
    len = lstrlenA(name);
    if (len && name[len - 1] == ']') name[--len] = '\0';

    char path[kTextBufferSize];
    bool parent = false;
    bool drive = false;
    if (len == 3 && name[0] == '-' && name[2] == '-') {
        drive = true;
        path[0] = name[1];
        CopyText(path + 1, sizeof path - 1, ":\\");
    } else if (lstrcmpA(name, "..") == 0) {
        parent = true;
        CopyText(path, sizeof path, name);
    } else {
        CopyText(path, sizeof path, gBrowseFolder);
        AddBackslash(path, sizeof path);
        AppendText(path, sizeof path, name);
    }

    const bool selected = di->itemState & ODS_SELECTED;
    FillRect(di->hDC, &di->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(di->hDC, TRANSPARENT);
    SetTextColor(di->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));

    const int icon = GetSystemMetrics(SM_CXSMICON);
    const int indent = (drive || parent) ? 0 : icon / 2;
    SHFILEINFOA sfi = {};
    const HIMAGELIST images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA(parent ? "C:\\" : path, 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_DISPLAYNAME));
    if (images) ImageList_Draw(images, parent ? 3 : sfi.iIcon, di->hDC, di->rcItem.left + indent + 3, di->rcItem.top + 1,
                               ILD_TRANSPARENT);
    const char* shown = parent ? ".." : (sfi.szDisplayName[0] ? sfi.szDisplayName : name);
    TextOutA(di->hDC, di->rcItem.left + indent + icon + 8, di->rcItem.top + 2, shown, lstrlenA(shown));
}

INT_PTR CALLBACK NewFolderProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG:
            AddBackslash(gBrowseFolder, kBrowseMax);
            CenterWindow(dlg);
            SetDlgItemTextA(dlg, IDC_NEW_PATH, gBrowseFolder);
            SetFocus(GetDlgItem(dlg, IDC_NEW_NAME));
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wp) == IDCANCEL) {
                EndDialog(dlg, 2);
                return TRUE;
            }
            if (LOWORD(wp) == IDOK) {
                char name[kTextBufferSize];
                GetDlgItemTextA(dlg, IDC_NEW_NAME, name, 261);
                if (!name[0]) return TRUE;
                const char* sub = name;
                bool ok = true;
                for (const char* p = name; *p; ++p)
                    if (*p == ':') ok = false;
                while (*sub == '\\') ++sub;
                if (!*sub) ok = false;
                char full[2 * kTextBufferSize];
                if (ok) {
                    CopyText(full, sizeof full, gBrowseFolder);
                    AppendText(full, sizeof full, sub);
                    // Every missing parent too.
                    for (char* p = full; *p; ++p) {
                        if (*p == '\\' && p > full && p[-1] != ':') {
                            *p = '\0';
                            CreateDirectoryA(full, nullptr);
                            *p = '\\';
                        }
                    }
                    CreateDirectoryA(full, nullptr);
                    ok = IsFolder(full) && SetCurrentDirectoryA(full);
                }
                if (!ok) {
                    MessageBoxA(dlg, "Couldn't create directory", "Error", MB_OK | MB_ICONSTOP);
                    return TRUE;
                }
                if (static_cast<size_t>(lstrlenA(gBrowseFolder) + lstrlenA(sub) + 1) < kBrowseMax)
                    AppendText(gBrowseFolder, kBrowseMax, sub);
                EndDialog(dlg, 1);
                return TRUE;
            }
            break;
    }
    return FALSE;
}

INT_PTR CALLBACK SelectFolderProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_INITDIALOG:
            AddBackslash(gBrowseFolder, kBrowseMax);
            if (!IsFolder(gBrowseFolder)) GetCurrentDirectoryA(kBrowseMax, gBrowseFolder);
            CenterWindow(dlg);
            RefreshFolderList(dlg);
            return FALSE;
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYSMICON) + 2);
            return TRUE;
        case WM_DRAWITEM:
            DrawFolderItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wp)) {
                case IDC_SEL_LIST:
                    if (HIWORD(wp) == LBN_DBLCLK) {
                        char chosen[kTextBufferSize];
                        if (DlgDirSelectExA(dlg, chosen, kBrowseMax, IDC_SEL_LIST)) {
                            CopyText(gBrowseFolder, kBrowseMax, chosen);
                            AddBackslash(gBrowseFolder, kBrowseMax);
                            RefreshFolderList(dlg);
                        }
                    } else if (HIWORD(wp) == LBN_SETFOCUS || HIWORD(wp) == LBN_KILLFOCUS) {
                        InvalidateRect(GetDlgItem(dlg, IDC_SEL_LIST), nullptr, TRUE);
                    }
                    return TRUE;
                case IDC_SEL_NETWORK:
                    if (WNetConnectionDialog(dlg, RESOURCETYPE_DISK) == NO_ERROR) RefreshFolderList(dlg);
                    return TRUE;
                case IDC_SEL_NEW:
                    if (DialogBoxParamA(gInstance, "DLGNEW", dlg, NewFolderProc, 0) == 1) RefreshFolderList(dlg);
                    return TRUE;
                case IDOK:
                    AddBackslash(gBrowseFolder, kBrowseMax);
                    EndDialog(dlg, 1);
                    return TRUE;
                case IDCANCEL:
                    EndDialog(dlg, 2);
                    return TRUE;
            }
            break;
    }
    return FALSE;
}

const char* gExistingName;
bool gOverwriteAnswer = false;

INT_PTR CALLBACK FileExistsProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: {
            CenterWindow(dlg);
            char text[kTextBufferSize + 40];
            CopyText(text, sizeof text, gExistingName);
            AppendText(text, sizeof text, "...already exists, overwrite ?");
            SetDlgItemTextA(dlg, IDC_QUESTION, text);
            return TRUE;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wp);
            if (id != IDOK && id != IDCANCEL) break;
            gOverwriteAnswer = id == IDOK;
            if (IsDlgButtonChecked(dlg, IDC_DONT_ASK) == BST_CHECKED) {
                const HWND main = gMainDialog;
                CheckDlgButton(main, IDC_CONFIRM_OVERWRITE, BST_UNCHECKED);
                CheckDlgButton(main, id == IDOK ? IDC_OVERWRITE : IDC_DONT_OVERWRITE, BST_CHECKED);
                gOverwriteMode = id == IDOK ? kModeOverwrite : kModeSkip;
            }
            EndDialog(dlg, id);
            return TRUE;
        }
    }
    return FALSE;
}

char* gPasswordTarget;
uint32_t gPasswordCap;

INT_PTR CALLBACK PasswordProc(HWND dlg, UINT msg, WPARAM wp, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG:
            CenterWindow(dlg);
            SetFocus(GetDlgItem(dlg, IDC_PASSWORD));
            return FALSE;
        case WM_COMMAND:
            // Only "&Ok" closes the prompt; Escape (IDCANCEL) does nothing.
            if (LOWORD(wp) == IDOK) {
                GetDlgItemTextA(dlg, IDC_PASSWORD, gPasswordTarget, static_cast<int>(gPasswordCap));
                EndDialog(dlg, 1);
            }
            return TRUE;
    }
    return FALSE;
}

}  // namespace

void AskPasswordDialog(HWND owner, char* buf, uint32_t cap) {
    gPasswordTarget = buf;
    gPasswordCap = cap;
    buf[0] = '\0';
    DialogBoxParamA(gInstance, "PASSWD", owner, PasswordProc, 0);
}

bool AskOverwriteDialog(HWND owner, const char* fileName) {
    gExistingName = fileName;
    gOverwriteAnswer = false;
    DialogBoxParamA(gInstance, "FILEEXIST", owner, FileExistsProc, 0);
    return gOverwriteAnswer;
}

INT_PTR SelectFolderDialog(HWND owner) { return DialogBoxParamA(gInstance, "DLGSEL", owner, SelectFolderProc, 0); }

void RunAfterExtract(int checked) {
    if (checked != 1) return;
    char target[2 * kTextBufferSize];
    CopyText(target, sizeof target, gWalk.folder);
    AddBackslash(target, sizeof target);
    AppendText(target, sizeof target, gOptions.params);
    if (gOptions.useAssociated && gOptions.hasParams) {
        ShellExecuteA(nullptr, nullptr, target, nullptr, "", SW_SHOWNORMAL);
    } else if (gOptions.hasProgram) {
        // The short form keeps a program path with blanks in one piece; without one, the text as given.
        char program[kTextBufferSize];
        const DWORD n = GetShortPathNameA(gOptions.program, program, sizeof program);
        if (n == 0 || n >= sizeof program) CopyText(program, sizeof program, gOptions.program);
        // A folder with blanks reaches the program as one argument.
        char params[2 * kTextBufferSize + 2];
        bool blank = false;
        for (const char* p = target; *p; ++p)
            if (*p == ' ') blank = true;
        if (blank) {
            CopyText(params, sizeof params, "\"");
            AppendText(params, sizeof params, target);
            AppendText(params, sizeof params, "\"");
        } else {
            CopyText(params, sizeof params, target);
        }
        ShellExecuteA(nullptr, "open", program, params, "", SW_SHOWNORMAL);
    }
}

}  // namespace sfx::stub
