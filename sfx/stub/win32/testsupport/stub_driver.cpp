#include "sfx/stub/win32/testsupport/stub_driver.h"

#include "sfx/stub/win32/stub_resource.h"

namespace sfx::test {

namespace {

// The title of a top-level window, read without waiting for its (possibly busy) thread.
std::string Title(HWND w) {
    char buf[256] = {};
    GetWindowTextA(w, buf, sizeof buf);
    return buf;
}

bool IsDialogClass(HWND w) {
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    return std::string(cls) == "#32770";
}

std::string WindowText(HWND w) {
    char buf[1024] = {};
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 2000, nullptr);
    return buf;
}

void Click(HWND dlg, int id) {
    PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
}

// Clicks a button of a modal dialog and waits until the dialog has gone.
void Answer(HWND dlg, int id) {
    Click(dlg, id);
    for (int i = 0; i < 50 && IsWindow(dlg) && IsWindowVisible(dlg); ++i) Sleep(100);
}

void SetText(HWND dlg, int id, const std::string& text) {
    SendMessageTimeoutA(GetDlgItem(dlg, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        2000, nullptr);
}

BOOL CALLBACK Collect(HWND w, LPARAM lp) {
    auto* ctx = reinterpret_cast<std::pair<DWORD, std::vector<HWND>*>*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == ctx->first && IsWindowVisible(w)) ctx->second->push_back(w);
    return TRUE;
}

}  // namespace

// The list's entries (positions, in archive order for the unsorted list), or the selected ones.
void StubDriver::ReadList(HWND dlg, bool selectedOnly, std::vector<int>& out) {
    for (int id : {IDC_LIST_PLAIN, IDC_LIST_SORTED}) {
        const HWND list = GetDlgItem(dlg, id);
        if (!IsWindowVisible(list)) continue;
        const int n = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i)
            if (!selectedOnly || SendMessageA(list, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0) out.push_back(i);
    }
}

bool StubDriver::Run(const std::string& exe, const std::string& cwd) {
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::string cmd = "\"" + exe + "\"";
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si, &pi)) {
        error = "cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    bool extractClicked = false;
    bool browsed = false;
    bool newFolderMade = false;
    bool browseDone = false;
    size_t nextPassword = 0;
    int idleTicks = 0;
    // Three minutes at most: in the 32-bit emulation a process alone takes about a minute to start.
    for (int tick = 0; tick < 1800; ++tick) {
        if (WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0) break;
        std::vector<HWND> windows;
        std::pair<DWORD, std::vector<HWND>*> ctx(pi.dwProcessId, &windows);
        EnumWindows(Collect, reinterpret_cast<LPARAM>(&ctx));
        HWND main = nullptr;
        bool other = false;
        // A dialog opened from another one is answered first; its owner waits behind it.
        bool nested = false;
        for (HWND w : windows) nested = nested || Title(w) == "Create subdirectory";
        for (HWND w : windows) {
            const std::string title = Title(w);
            if (title.empty() || !IsDialogClass(w)) continue;
            if (title == caption) {
                main = w;
            } else if (title == "Enter password...") {
                other = true;
                ++passwordPrompts;
                SetText(w, IDC_PASSWORD, nextPassword < passwords.size() ? passwords[nextPassword++] : "");
                Answer(w, IDOK);
            } else if (title == "Create subdirectory") {
                other = true;
                SetText(w, IDC_NEW_NAME, newFolder);
                Answer(w, IDOK);
            } else if (title == "Select extract directory") {
                other = true;
                if (nested) continue;
                if (!newFolderMade) {
                    newFolderMade = true;
                    Click(w, IDC_SEL_NEW);
                    Sleep(500);
                } else {
                    selectedPath = WindowText(GetDlgItem(w, IDC_SEL_PATH));
                    Answer(w, IDOK);
                    browseDone = true;
                }
            } else if (title == "Confirm overwrite of...") {
                other = true;
                questions.push_back(WindowText(GetDlgItem(w, IDC_QUESTION)));
                if (dontAskAgain) SendMessageA(GetDlgItem(w, IDC_DONT_ASK), BM_SETCHECK, BST_CHECKED, 0);
                const std::string& q = questions.back();
                const std::string name = q.substr(0, q.find("..."));
                const bool yes = overwrite.count(name) ? overwrite[name] : false;
                Answer(w, yes ? IDOK : IDCANCEL);
            } else {
                // A message box: its text is the static control 0xFFFF.
                other = true;
                boxes.emplace_back(title, WindowText(GetDlgItem(w, 0xFFFF)));
                Answer(w, IDOK);
            }
        }
        if (!main || other) {
            idleTicks = 0;
            continue;
        }
        if (!extractClicked) {
            Sleep(300);
            if (listed.empty()) ReadList(main, false, listed);
            if (!folder.empty() && !browsed) SetText(main, IDC_FOLDER, folder);
            if (!newFolder.empty() && !browsed) {
                browsed = true;
                Click(main, IDC_BROWSE);
                continue;
            }
            if (!newFolder.empty() && !browseDone) continue;  // the folder dialog is on its way
            if (!newFolder.empty()) chosenFolder = WindowText(GetDlgItem(main, IDC_FOLDER));
            Click(main, IDOK);
            extractClicked = true;
            continue;
        }
        // The dialog stayed open after the pass: note what is still selected and close it. After a
        // complete extraction it closes by itself (once the program to run has been started).
        const bool succeeded = !boxes.empty() && boxes.back().first == "Success";
        if (!succeeded && ++idleTicks == 30) {
            ReadList(main, true, leftSelected);
            closedByTest = true;
            Click(main, IDCANCEL);
        }
    }
    bool ended = true;
    if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 99);
        error = "the self-extractor did not end";
        ended = false;
    }
    GetExitCodeProcess(pi.hProcess, &exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ended;
}

bool StubDriver::Succeeded() const {
    return boxes.size() == 1 && boxes[0].first == "Success" && boxes[0].second == "All files have been extracted.";
}

std::string StubDriver::Boxes() const {
    std::string out;
    for (const auto& [title, text] : boxes) out += "[" + title + ": " + text + "] ";
    return out;
}

}  // namespace sfx::test
