// Proves that win64 tests really run on Windows under Wine: registry writes land in the prefix and
// a window can be created and painted on the test display.
#include "testing/test_env.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

TEST(WineHarness, RegistryValueRoundTrips)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\MorvixTest\\Harness", 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char text[] = "TRUE";
    ASSERT_EQ(RegSetValueExA(key, "Value", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text),
              ERROR_SUCCESS);
    char back[32] = {};
    DWORD size = sizeof back, type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "Value", nullptr, &type, reinterpret_cast<BYTE*>(back), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(back, "TRUE");
    RegCloseKey(key);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\MorvixTest\\Harness"), ERROR_SUCCESS);
}

TEST(WineHarness, WindowIsCreatedOnTheDisplay)
{
    HWND wnd = CreateWindowExA(0, "STATIC", "harness", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(wnd, nullptr);
    char title[32] = {};
    GetWindowTextA(wnd, title, sizeof title);
    EXPECT_STREQ(title, "harness");
    RECT rc{};
    ASSERT_TRUE(GetClientRect(wnd, &rc));
    EXPECT_GT(rc.right, 0);
    HDC dc = GetDC(wnd);
    ASSERT_NE(dc, nullptr);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT box{0, 0, 10, 10};
    FillRect(dc, &box, red);
    GdiFlush();
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(255, 0, 0));
    DeleteObject(red);
    ReleaseDC(wnd, dc);
    DestroyWindow(wnd);
}

TEST(WineHarness, UnixPathsAreReachable)
{
    EXPECT_TRUE(std::filesystem::is_directory(mx::test::SourceDir() + "\\testing"));
}
