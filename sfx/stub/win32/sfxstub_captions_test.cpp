// Every dialog of the extractor program, made from its own resources as the program makes it: each
// one-line caption (buttons, check boxes, radio buttons, group boxes, texts) fits its control in the
// dialog font the system gives it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/win32/caption_check.h"
#include "testing/test_env.h"

namespace {

BOOL CALLBACK AddDialogName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
    if (!IS_INTRESOURCE(name)) reinterpret_cast<std::vector<std::string>*>(names)->push_back(name);
    return TRUE;
}

INT_PTR CALLBACK QuietDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(SfxStubCaptions, EveryDialogCaptionFits) {
    HMODULE stub = LoadLibraryExA(mx::test::HostPath(MX_SFXSTUB).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(stub, nullptr);
    std::vector<std::string> dialogs;
    EnumResourceNamesA(stub, MAKEINTRESOURCEA(5), AddDialogName, reinterpret_cast<LONG_PTR>(&dialogs));  // RT_DIALOG
    EXPECT_EQ(dialogs.size(), 5u) << "MainDialog and the four smaller dialogs";
    int captions = 0;
    for (const std::string& name : dialogs) {
        HRSRC res = FindResourceA(stub, name.c_str(), MAKEINTRESOURCEA(5));
        ASSERT_NE(res, nullptr) << name;
        auto* layout = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(stub, res)));
        // Made hidden (the templates have no WS_VISIBLE) with the program's own fonts and sizes.
        HWND dialog = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), layout, nullptr, QuietDialog, 0);
        ASSERT_NE(dialog, nullptr) << name;
        for (const fw::TCaptionFit& fit : fw::MeasureDialogCaptions(dialog, name)) {
            ++captions;
            EXPECT_FALSE(fit.Clipped()) << fw::DescribeCaptionFit(fit);
        }
        DestroyWindow(dialog);
    }
    // Every text, button and box of the five dialogs was measured (23 today).
    EXPECT_GE(captions, 20);
    FreeLibrary(stub);
}

}  // namespace
