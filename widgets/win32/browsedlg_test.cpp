// The folder browser component on the system's own browser, answered from its callbacks: the chosen
// folder, Cancel, the OK button's state at start, the shortened status line, validation of a typed
// name, and the item lists it is handed.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "framework/core/sysutils.h"
#include "framework/win32/callback.h"
#include "framework/win32/dialogs.h"
#include "framework/win32/forms.h"
#include "framework/win32/utilwindow.h"
#include "framework/win32/winapi.h"
#include "widgets/kvxutils.h"
#include "widgets/win32/browsedlg.h"
#include "widgets/win32/testsupport/controlhost.h"

#include <shlobj.h>

namespace kvx::win32 {
namespace {

using enum TKVXBrowseDlgOption;

constexpr const char* kTop = "C:\\kvx-browse";
constexpr const char* kInner = "C:\\kvx-browse\\inner";
constexpr const char* kLong = "C:\\kvx-browse\\a-folder-with-a-rather-long-name\\and-a-second-level";

// Cancels a browser that never reached its answer, so that the test fails instead of hanging.
void CALLBACK CancelBrowser(HWND window, UINT, UINT_PTR id, DWORD) {
    FW_CALLBACK_VOID({
        KillTimer(window, id);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    })
}

std::string TextOf(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The child window of the browser that shows Text, or null.
HWND ChildShowing(HWND dialog, const std::string& text) {
    for (HWND c = FindWindowExA(dialog, nullptr, nullptr, nullptr); c; c = FindWindowExA(dialog, c, nullptr, nullptr))
        if (TextOf(c) == text) return c;
    return nullptr;
}

// What one run of the browser saw; the browser is answered with Answer once Target is selected.
struct BrowseRun {
    std::string target;
    int answer = IDOK;
    std::string selectAtInit;  // set as SelectedFolder while the browser is open
    bool okEnabledAtInit = false;
    std::string caption;
    std::string status;
    bool statusShown = false;
    bool targetSelected = false;
};

class KVXBrowseTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateDirectoryA(kTop, nullptr);
        CreateDirectoryA(kInner, nullptr);
        fw::ForceDirectories(kLong);
        owner_ = fw::TForm::CreateNew<fw::TForm>(nullptr);
        owner_->SetBounds(40, 40, 300, 200);
        owner_->Show();
        dlg_ = new TKVXBrowseDlg(owner_);
        dlg_->CaptionTitle = "Pick a folder";
        dlg_->Caption = "Where to?";
        dlg_->OnInit.Bind(&run_, [](void* p, TObject* sender) {
            auto* run = static_cast<BrowseRun*>(p);
            HWND window = static_cast<TKVXBrowseDlg*>(sender)->Handle();
            SetTimer(window, 1, 30000, CancelBrowser);
            run->okEnabledAtInit = IsWindowEnabled(GetDlgItem(window, IDOK));
            run->caption = TextOf(window);
            if (!run->selectAtInit.empty()) static_cast<TKVXBrowseDlg*>(sender)->SetSelectedFolder(run->selectAtInit);
        });
        dlg_->OnSelectionChanged.Bind(&run_, [](void* p, TObject* sender, HWND window, const std::string& path, LPCITEMIDLIST) {
            auto* run = static_cast<BrowseRun*>(p);
            if (run->targetSelected || !fw::SameText(path, run->target)) return;
            run->targetSelected = true;
            run->status = static_cast<TKVXBrowseDlg*>(sender)->StatusText();
            run->statusShown = ChildShowing(window, run->status) != nullptr;
            PostMessageA(window, WM_COMMAND, run->answer, 0);
        });
    }
    void TearDown() override { owner_->Free(); }

    bool Execute(const std::string& target, int answer) {
        run_ = BrowseRun{};
        run_.target = target;
        run_.answer = answer;
        return dlg_->Execute();
    }

    fw::TForm* owner_ = nullptr;
    TKVXBrowseDlg* dlg_ = nullptr;
    BrowseRun run_;
};

TEST_F(KVXBrowseTest, ChosenFolderComesBackAndIsSelectedAgain) {
    dlg_->SetSelectedFolder(kInner);
    ASSERT_TRUE(Execute(kInner, IDOK));
    EXPECT_TRUE(run_.targetSelected);
    EXPECT_TRUE(fw::SameText(dlg_->SelectedFolder(), kInner)) << dlg_->SelectedFolder();
    // The shell's display name (the whole path under Wine).
    const std::string& name = dlg_->DisplayName();
    EXPECT_TRUE(name.size() >= 5 && fw::SameText(name.substr(name.size() - 5), "inner")) << name;
    EXPECT_EQ(run_.caption, "Pick a folder");
    EXPECT_FALSE(run_.okEnabledAtInit) << "OK starts disabled without doEnableOK";
    EXPECT_EQ(dlg_->Handle(), nullptr);

    // Cancel: the last folder was selected again, and is kept.
    const std::string chosen = dlg_->SelectedFolder();
    EXPECT_FALSE(Execute(kInner, IDCANCEL));
    EXPECT_TRUE(run_.targetSelected) << "the folder chosen last was not selected again";
    EXPECT_EQ(dlg_->SelectedFolder(), chosen);

    dlg_->Options.Include(doEnableOK);
    ASSERT_TRUE(Execute(kInner, IDOK));
    EXPECT_TRUE(run_.okEnabledAtInit);
}

TEST_F(KVXBrowseTest, SelectedFolderSetWhileOpenMovesTheSelection) {
    dlg_->SetSelectedFolder(kTop);
    run_ = BrowseRun{};
    run_.target = kInner;
    run_.selectAtInit = kInner;
    ASSERT_TRUE(dlg_->Execute());
    EXPECT_TRUE(fw::SameText(dlg_->SelectedFolder(), kInner)) << dlg_->SelectedFolder();
}

TEST_F(KVXBrowseTest, StatusLineFollowsTheSelectionShortened) {
    dlg_->Options = {doReturnFileSysDirs, doShowPath, doStatusText};
    dlg_->SetSelectedFolder(kLong);
    ASSERT_TRUE(Execute(kLong, IDOK));
    EXPECT_EQ(run_.status, KVXShortenPath(kLong, kKVXBrowseStatusLength));
    EXPECT_LE(run_.status.size(), 40u);
    EXPECT_NE(run_.status.find("and-a-second-level"), std::string::npos) << run_.status;
    EXPECT_TRUE(run_.statusShown) << "the browser's status line does not show " << run_.status;
    // Closed, the setters only store.
    dlg_->SetStatusText("stored");
    EXPECT_EQ(dlg_->StatusText(), "stored");
}

// A browser that validates typed names, as the system's does with BIF_EDITBOX | BIF_VALIDATE (Wine's
// browser has no edit box in its classic dialog): it comes up, the user types two names that are no
// folders, and it closes once the callback lets it. It hands back the desktop folder as chosen.
struct ValidatingBrowser {
    static inline UINT flags = 0;
    static inline const ITEMIDLIST* root = nullptr;
    static inline LPITEMIDLIST result = nullptr;
    static inline std::vector<int> answers;
    static LPITEMIDLIST Browse(BROWSEINFOA* info) {
        flags = info->ulFlags;
        root = info->pidlRoot;
        answers.clear();
        HWND window = fw::AllocateHWnd([](HWND h, UINT msg, WPARAM w, LPARAM l) { return DefWindowProcA(h, msg, w, l); });
        info->lpfn(window, BFFM_INITIALIZED, 0, info->lParam);
        for (const char* typed : {"no-such-folder", "still-none"}) {
            answers.push_back(info->lpfn(window, BFFM_VALIDATEFAILEDA, reinterpret_cast<LPARAM>(typed), info->lParam));
            if (!answers.back()) break;
        }
        fw::DeallocateHWnd(window);
        result = nullptr;
        SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, &result);
        return result;
    }
};

// Follows the blocks of the task allocator: those handed out and not yet taken back, and frees of
// blocks that were not out (a second free).
class AllocationSpy : public IMallocSpy {
public:
    std::set<const void*> seen, live;
    int strayFrees = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        FW_CALLBACK_BODY(E_NOINTERFACE, {
            *out = iid == IID_IUnknown || iid == IID_IMallocSpy ? this : nullptr;
            return *out ? S_OK : E_NOINTERFACE;
        })
    }
    ULONG STDMETHODCALLTYPE AddRef() override { FW_CALLBACK_BODY(ULONG{1}, { return ULONG{1}; }) }
    ULONG STDMETHODCALLTYPE Release() override { FW_CALLBACK_BODY(ULONG{1}, { return ULONG{1}; }) }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { FW_CALLBACK_BODY(size, { return size; }) }
    void* STDMETHODCALLTYPE PostAlloc(void* actual) override {
        FW_CALLBACK_BODY(actual, {
            seen.insert(actual);
            live.insert(actual);
            return actual;
        })
    }
    void* STDMETHODCALLTYPE PreFree(void* request, BOOL spyed) override {
        FW_CALLBACK_BODY(request, {
            if (spyed && request && !live.erase(request)) ++strayFrees;
            return request;
        })
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override { FW_CALLBACK_VOID({}) }
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* request, SIZE_T size, void** actual, BOOL) override {
        FW_CALLBACK_BODY(size, {
            *actual = request;
            return size;
        })
    }
    void* STDMETHODCALLTYPE PostRealloc(void* actual, BOOL) override { FW_CALLBACK_BODY(actual, { return actual; }) }
    void* STDMETHODCALLTYPE PreGetSize(void* request, BOOL) override { FW_CALLBACK_BODY(request, { return request; }) }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { FW_CALLBACK_BODY(size, { return size; }) }
    void* STDMETHODCALLTYPE PreDidAlloc(void* request, BOOL) override { FW_CALLBACK_BODY(request, { return request; }) }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { FW_CALLBACK_BODY(actual, { return actual; }) }
    void STDMETHODCALLTYPE PreHeapMinimize() override { FW_CALLBACK_VOID({}) }
    void STDMETHODCALLTYPE PostHeapMinimize() override { FW_CALLBACK_VOID({}) }
};

TEST_F(KVXBrowseTest, ValidationDecidesAndItemListsAreFreed) {
    dlg_->Options = {doReturnFileSysDirs, doAllowEdit};
    dlg_->StartFolder = TKVXSystemFolders::bfoMyComputer;
    std::vector<std::string> typed;
    dlg_->OnValidate.Bind(&typed, [](void* p, TObject*, const std::string& path, bool& cancel) {
        auto* names = static_cast<std::vector<std::string>*>(p);
        names->push_back(path);
        cancel = names->size() == 1;  // the first name keeps the browser open
    });
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    AllocationSpy spy;
    ASSERT_EQ(CoRegisterMallocSpy(&spy), S_OK);
    const fw::BrowseSeam system = fw::SetBrowseSeam(&ValidatingBrowser::Browse);
    const bool ok = dlg_->Execute();
    fw::SetBrowseSeam(system);
    CoRevokeMallocSpy();
    EXPECT_TRUE(ok);
    EXPECT_EQ(ValidatingBrowser::flags, 0x31u) << "file-system folders, edit box and validation";
    EXPECT_EQ(typed, (std::vector<std::string>{"no-such-folder", "still-none"}));
    EXPECT_EQ(ValidatingBrowser::answers, (std::vector<int>{1, 0}));
    // The root the shell gave for the start folder and the chosen item are both given back, once.
    ASSERT_NE(ValidatingBrowser::root, nullptr);
    ASSERT_TRUE(spy.seen.contains(ValidatingBrowser::root)) << "the spy does not see the shell's allocations";
    ASSERT_TRUE(spy.seen.contains(ValidatingBrowser::result));
    EXPECT_FALSE(spy.live.contains(ValidatingBrowser::root));
    EXPECT_FALSE(spy.live.contains(ValidatingBrowser::result));
    EXPECT_EQ(spy.strayFrees, 0);

    // The open desktop is no special folder: the browser gets no root at all.
    dlg_->StartFolder = TKVXSystemFolders::bfoDesktopExpanded;
    dlg_->OnValidate = nullptr;
    fw::SetBrowseSeam(&ValidatingBrowser::Browse);
    dlg_->Execute();
    fw::SetBrowseSeam(system);
    EXPECT_EQ(ValidatingBrowser::root, nullptr);
    if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace
}  // namespace kvx::win32
