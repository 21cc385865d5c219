// The GUI and path routines and the folder browser on Wine: the browser answered through its real
// window, long and short paths against Wine's own 8.3 names, embossed images read back as pixels,
// messages discarded, windows centred and the suite's cursors.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/callback.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "framework/win32/screen.h"
#include "framework/win32/imagelist.h"
#include "uisupport/win32/bitmaprtns.h"
#include "uisupport/win32/fileutil.h"
#include "uisupport/win32/guiutils.h"
#include "uisupport/win32/pathnames.h"
#include "uisupport/win32/uisregister.h"

#include <shlobj.h>

namespace uis {
namespace {

class UtilitiesTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::InitApplication();
        RegisterUISupportClasses();
    }
    void TearDown() override { fw::DoneApplication(); }
};

// Ends a browser that never reached its answer, so that the test fails instead of hanging.
void CALLBACK CancelBrowser(HWND window, UINT, UINT_PTR id, DWORD) {
    FW_CALLBACK_VOID({
        KillTimer(window, id);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    })
}

// What the test's handlers saw of the browser's real window.
struct BrowserProbe {
    std::string target;
    bool removeTarget = false;  // the target folder goes while the browser shows it
    bool helpButton = false;
    bool okEnabledOnTarget = false;
    bool okEnabledOnGone = true;
    bool sawGone = false;
    std::string seen;  // every selection, for the failure message
};

class TProbeDialog : public TBrowseFolderDlg {
public:
    using TBrowseFolderDlg::TBrowseFolderDlg;
    BrowserProbe* probe = nullptr;
    void Initialized(fw::TObject*) {
        SetTimer(Handle(), 1, 20000, CancelBrowser);
        probe->helpButton = GetDlgItem(Handle(), kBrowseHelpButtonId) != nullptr;
    }
    void SelChanged(fw::TObject*) {
        probe->seen += "[" + Selection() + "]";
        if (!fw::SameText(Selection(), probe->target)) return;
        HWND ok = GetDlgItem(Handle(), IDOK);
        if (!probe->removeTarget) {
            probe->okEnabledOnTarget = IsWindowEnabled(ok) != FALSE;
            PostMessageA(Handle(), WM_COMMAND, IDOK, 0);
            return;
        }
        if (probe->sawGone) return;
        if (!gonePhase_) {
            // The folder goes while its item still stands in the tree; choosing the item again (by way of
            // its parent, as a user would) must not allow OK.
            probe->okEnabledOnTarget = IsWindowEnabled(ok) != FALSE;
            gonePhase_ = true;
            HWND tree = FindWindowExA(Handle(), nullptr, "SysTreeView32", nullptr);
            const LPARAM item = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
            const LPARAM parent = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_PARENT, item);
            RemoveDirectoryA(probe->target.c_str());
            PostMessageA(tree, TVM_SELECTITEM, TVGN_CARET, parent);
            PostMessageA(tree, TVM_SELECTITEM, TVGN_CARET, item);
            return;
        }
        probe->sawGone = true;
        probe->okEnabledOnGone = IsWindowEnabled(ok) != FALSE;
        PostMessageA(Handle(), WM_COMMAND, IDCANCEL, 0);
    }

private:
    bool gonePhase_ = false;
};

TEST_F(UtilitiesTest, TheFolderBrowserReturnsThePreselectedFolderAndHasItsHelpButton) {
    const std::string target = "C:\\uis-browse\\keep";
    CreateDirectoryA("C:\\uis-browse", nullptr);
    CreateDirectoryA(target.c_str(), nullptr);
    SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHA | SHCNF_FLUSH, target.c_str(), nullptr);
    BrowserProbe probe;
    probe.target = target;
    auto* dialog = fw::Make<TProbeDialog>(nullptr);
    dialog->probe = &probe;
    dialog->SetFolderName(target);
    dialog->SetHelpContext(1234);
    dialog->SetDialogText("Pick a folder");
    dialog->OnInitialized = fw::TNotifyEvent(dialog, &TProbeDialog::Initialized);
    dialog->OnSelChanged = fw::TNotifyEvent(dialog, &TProbeDialog::SelChanged);
    EXPECT_TRUE(dialog->Execute()) << probe.seen;
    EXPECT_TRUE(fw::SameText(dialog->FolderName(), target)) << dialog->FolderName();
    EXPECT_TRUE(probe.helpButton);
    EXPECT_TRUE(probe.okEnabledOnTarget);
    EXPECT_EQ(dialog->Handle(), nullptr);  // forgotten once the dialog is gone
    dialog->Free();
}

TEST_F(UtilitiesTest, TheFolderBrowserRefusesOkOnAFolderThatIsGone) {
    const std::string target = "C:\\uis-browse\\soon-gone";
    CreateDirectoryA("C:\\uis-browse", nullptr);
    CreateDirectoryA(target.c_str(), nullptr);
    // The shell learns of the new folder as it would from any program that makes one.
    SHChangeNotify(SHCNE_MKDIR, SHCNF_PATHA | SHCNF_FLUSH, target.c_str(), nullptr);
    BrowserProbe probe;
    probe.target = target;
    probe.removeTarget = true;
    auto* dialog = fw::Make<TProbeDialog>(nullptr);
    dialog->probe = &probe;
    dialog->SetFolderName(target);
    dialog->OnInitialized = fw::TNotifyEvent(dialog, &TProbeDialog::Initialized);
    dialog->OnSelChanged = fw::TNotifyEvent(dialog, &TProbeDialog::SelChanged);
    EXPECT_FALSE(dialog->Execute());
    EXPECT_FALSE(probe.helpButton);  // no HelpContext, no Help button
    EXPECT_TRUE(probe.okEnabledOnTarget);
    EXPECT_TRUE(probe.sawGone) << probe.seen;
    EXPECT_FALSE(probe.okEnabledOnGone);
    dialog->Free();
}

TEST_F(UtilitiesTest, LongPathOfShortPathGivesThePathBackOnWinesOwnNames) {
    const std::string folder = "C:\\uis-paths\\a long folder name";
    const std::string file = folder + "\\a long file name.text";
    CreateDirectoryA("C:\\uis-paths", nullptr);
    CreateDirectoryA(folder.c_str(), nullptr);
    CloseHandle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    char wine[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(file.c_str(), wine, MAX_PATH), 0u);
    const std::string shortPath = ShortPathOf(file);
    EXPECT_TRUE(fw::SameText(shortPath, wine)) << shortPath << " vs " << wine;
    EXPECT_NE(shortPath, file);
    EXPECT_EQ(LongPathOf(shortPath), file);
    EXPECT_EQ(LongNameOf(file), "a long file name.text");
    EXPECT_EQ(LongNameOf("C:\\uis-paths\\missing"), "");
    EXPECT_EQ(LongPathOf("C:\\uis-paths\\missing\\x"), "C:\\uis-paths\\missing\\x");  // unknown parts stay
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_FALSE(FolderExists(file));
}

TEST_F(UtilitiesTest, EmbossedBitmapsPaintHighlightThenShadowThroughTheShape) {
    fw::TBitmap source;
    source.SetSize(8, 8);
    source.Canvas()->Brush()->SetColor(fw::clFuchsia);
    source.Canvas()->FillRect(fw::Rect(0, 0, 8, 8));
    source.Canvas()->Brush()->SetColor(fw::clBlack);
    source.Canvas()->FillRect(fw::Rect(2, 2, 6, 6));
    std::unique_ptr<fw::TBitmap> embossed(
        MakeEmbossedBitmap(&source, fw::clFuchsia, fw::clWhite, true, fw::clRed, fw::clBlue));
    fw::TCanvas* c = embossed->Canvas();
    EXPECT_EQ(c->Pixels(0, 0), fw::clWhite);  // background
    EXPECT_EQ(c->Pixels(3, 3), fw::clRed);    // the shape in the shadow colour
    EXPECT_EQ(c->Pixels(6, 6), fw::clBlue);   // the highlight one pixel right and down
    EXPECT_EQ(c->Pixels(6, 2), fw::clWhite);
}

TEST_F(UtilitiesTest, EmbossedImagesAndMaskedBitmapsLeaveTheirTransparentPixelsAlone) {
    fw::TBitmap image;
    image.SetSize(8, 8);
    image.Canvas()->Brush()->SetColor(fw::clFuchsia);
    image.Canvas()->FillRect(fw::Rect(0, 0, 8, 8));
    image.Canvas()->Brush()->SetColor(fw::clNavy);
    image.Canvas()->FillRect(fw::Rect(2, 2, 6, 6));
    auto* images = fw::Make<fw::TImageList>(nullptr);
    images->SetWidth(8);
    images->SetHeight(8);
    images->AddMasked(&image, fw::clFuchsia);
    fw::TBitmap target;
    target.SetSize(10, 10);
    target.Canvas()->Brush()->SetColor(fw::clWhite);
    target.Canvas()->FillRect(fw::Rect(0, 0, 10, 10));
    target.Canvas()->Brush()->SetColor(fw::clYellow);
    DrawEmbossedImage(images, target.Canvas(), 1, 1, 0, true, fw::clRed, fw::clBlue);
    EXPECT_EQ(target.Canvas()->Pixels(4, 4), fw::clRed);
    EXPECT_EQ(target.Canvas()->Pixels(7, 7), fw::clBlue);
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), fw::clWhite);
    EXPECT_EQ(target.Canvas()->Brush()->Color(), fw::clYellow);  // the brush colour is kept
    images->Free();

    // Stretched to twice the size, the fuchsia ground stays out; clDefault keys on the bottom-left pixel.
    fw::TBitmap ground;
    ground.SetSize(20, 20);
    ground.Canvas()->Brush()->SetColor(fw::clGreen);
    ground.Canvas()->FillRect(fw::Rect(0, 0, 20, 20));
    DrawMaskedBitmapRect(ground.Canvas(), 2, 2, fw::clFuchsia, &image, fw::TRect{}, 16, 16);
    EXPECT_EQ(ground.Canvas()->Pixels(3, 3), fw::clGreen);
    EXPECT_EQ(ground.Canvas()->Pixels(9, 9), fw::clNavy);   // (2,2)-(6,6) doubled lies at 6..14
    EXPECT_EQ(ground.Canvas()->Pixels(15, 15), fw::clGreen);
    ground.Canvas()->FillRect(fw::Rect(0, 0, 20, 20));
    DrawMaskedBitmap(ground.Canvas(), 10, 10, fw::clDefault, &image);
    EXPECT_EQ(ground.Canvas()->Pixels(10, 10), fw::clGreen);
    EXPECT_EQ(ground.Canvas()->Pixels(13, 13), fw::clNavy);
    DrawMaskedBitmap(ground.Canvas(), 10, 10, fw::clNone, &image);
    EXPECT_EQ(ground.Canvas()->Pixels(10, 10), fw::clFuchsia);
}

TEST_F(UtilitiesTest, DiscardMessageKeepsAQuitAndWindowsCentreOnTheScreen) {
    auto* form = fw::TForm::CreateNew<fw::TForm>(nullptr);
    form->SetBounds(0, 0, 200, 100);
    HWND window = form->Handle();
    PostMessageA(window, WM_APP + 5, 0, 0);
    DiscardMessage(window, WM_APP + 5);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window, WM_APP + 5, WM_APP + 5, PM_NOREMOVE));
    PostQuitMessage(3);
    DiscardMessage(nullptr, WM_QUIT);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));  // posted again
    EXPECT_EQ(msg.wParam, 3u);

    CentreOnScreen(window);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 200) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - 100) / 2);
    form->Show();
    SetActiveWindow(window);
    EXPECT_TRUE(IsOwnActiveWindow());
    fw::TRect big = fw::Rect(-30, 700, 170, 900);
    FitRectOnScreen(big);
    EXPECT_EQ(big, fw::Rect(0, GetSystemMetrics(SM_CYSCREEN) - 200, 200, GetSystemMetrics(SM_CYSCREEN)));
    form->Free();

    RegisterSuiteCursors();
    EXPECT_NE(fw::Screen->ProgramCursor(crHandCursor), nullptr);
    EXPECT_NE(fw::Screen->ProgramCursor(crDragCursor), nullptr);
}

}  // namespace
}  // namespace uis
