// The shell browser against Wine's shell32 on the fixture drive D: (and C:, nothing else): folders and
// objects, the filter, the four fallback columns, the details branch through a fake, special folders
// without paths, verbs with Wine's confirmation answered, renaming, and the context menu's command
// numbers and copied application items.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "framework/core/lists.h"
#include "framework/win32/application.h"
#include "framework/win32/callback.h"
#include "framework/win32/forms.h"
#include "framework/win32/menus.h"
#include "uisupport/shell/win32/shellcontrols.h"
#include "uisupport/shell/win32/testsupport/shell_wine_support.h"

namespace uis {
namespace {

using test::ExistsOnDisk;
using test::RunUnix;

class ShellBrowserTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fw::InitApplication();
        RegisterShellClasses();
        fw::Application->Initialize();
        ASSERT_TRUE(StartShell());
    }
    static void TearDownTestSuite() { EndShell(); }

    void SetUp() override { browser = fw::Make<TShellBrowser>(nullptr); }
    void TearDown() override {
        browser->Free();
        SetShellDetailsSource(nullptr);
        test::Pump(20);
    }

    // Every object FindNext gives, by ObjectName (display name when it has none).
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        while (browser->FindNext()) {
            const std::string name = browser->ObjectName();
            names.push_back(name.empty() ? browser->DisplayName() : name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Makes the object of D:\<name> current.
    void Select(const std::string& name) {
        browser->SetFolder("D:\\");
        browser->SetObjectName(name);
        ASSERT_EQ(browser->ObjectName(), name);
    }

    TShellBrowser* browser = nullptr;
};

TEST_F(ShellBrowserTest, ANewBrowserShowsMyComputerWithTheDrives) {
    EXPECT_EQ(browser->Folder(), "");
    EXPECT_EQ(browser->GetSpecialFolder(), TJexoShellFolder::SF_DRIVES);
    browser->SetFileSystemOnly(false);
    const std::vector<std::string> names = Names();
    EXPECT_NE(std::find(names.begin(), names.end(), "C:\\"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "D:\\"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "Z:\\"), names.end()) << "the scratch prefix has no Z:";
    // With FileSystemOnly the objects outside the file system (Control Panel) go.
    browser->SetFileSystemOnly(true);
    const std::vector<std::string> onlyFiles = Names();
    EXPECT_EQ(onlyFiles, (std::vector<std::string>{"C:\\", "D:\\"}));
    EXPECT_EQ(browser->Version(), "TShellBrowser V2.0 beta 2");
}

TEST_F(ShellBrowserTest, FolderAndObjectNames) {
    browser->SetFolder("D:\\");
    EXPECT_EQ(browser->Folder(), "D:\\");
    browser->SetFolder("D:\\a");
    EXPECT_EQ(browser->Folder(), "D:\\a\\") << "a folder path ends in a backslash";
    browser->SetObjectName("b");
    EXPECT_EQ(browser->ObjectName(), "b");
    EXPECT_TRUE(browser->IsFolder());
    // The same path in another case changes nothing: the object stays current.
    browser->SetFolder("d:\\A\\");
    EXPECT_EQ(browser->ObjectName(), "b");
    // A whole path, and a drive root as the object of My Computer.
    browser->SetObjectName("D:\\a\\b\\c\\");
    EXPECT_EQ(browser->Folder(), "D:\\a\\b\\");
    EXPECT_EQ(browser->ObjectName(), "c");
    browser->SetObjectName("D:\\");
    EXPECT_EQ(browser->Folder(), "");
    EXPECT_EQ(browser->ObjectName(), "D:\\");
    try {
        browser->SetFolder("D:\\");
        browser->SetObjectName("nothing.here");
        ADD_FAILURE() << "an unknown object must raise";
    } catch (const EShellBrowserError& e) {
        EXPECT_EQ(e.Message(), "Error! Cannot find Object \"nothing.here\" in Folder \"D:\\\"");
    }
}

TEST_F(ShellBrowserTest, AFolderThatFailedIsTriedAgainOnceItExists) {
    browser->SetFolder("D:\\a\\");
    const std::string missing = "D:\\later\\" + std::string(50, 'n');
    try {
        browser->SetFolder(missing);
        ADD_FAILURE() << "a missing folder must raise";
    } catch (const EShellBrowserError& e) {
        EXPECT_EQ(e.Message(), "Cannot Find Folder: " + missing.substr(0, 40));
    }
    EXPECT_EQ(browser->Folder(), "D:\\a\\") << "the folder stays what it was";
    ASSERT_EQ(RunUnix("mkdir -p later/" + std::string(50, 'n')), 0);
    browser->SetFolder(missing);
    EXPECT_EQ(browser->Folder(), missing + "\\");
    ASSERT_EQ(RunUnix("rm -r later"), 0);
}

TEST_F(ShellBrowserTest, GoUpAndOpenFolder) {
    browser->SetFolder("D:\\a\\");
    ASSERT_TRUE(browser->GoUp());
    EXPECT_EQ(browser->Folder(), "D:\\");
    EXPECT_EQ(browser->ObjectName(), "a");
    ASSERT_TRUE(browser->OpenFolder());
    EXPECT_EQ(browser->Folder(), "D:\\a\\");
    browser->SetFolder("D:\\");
    ASSERT_TRUE(browser->GoUp());
    EXPECT_EQ(browser->Folder(), "") << "My Computer, with the drive as its object";
    EXPECT_EQ(browser->ObjectName(), "D:\\");
    ASSERT_TRUE(browser->GoUp());
    EXPECT_EQ(browser->GetSpecialFolder(), TJexoShellFolder::SF_DESKTOP);
    EXPECT_FALSE(browser->GoUp()) << "the desktop has no parent";
    EXPECT_EQ(browser->GetSpecialFolder(), TJexoShellFolder::SF_DESKTOP);
}

TEST_F(ShellBrowserTest, FilterKeepsFoldersAndMatchingFiles) {
    browser->SetFolder("D:\\");
    browser->SetFilter("*.zip;*.arj");
    EXPECT_EQ(browser->Filter(), "*.zip;*.arj");
    EXPECT_EQ(Names(), (std::vector<std::string>{"a", "a.zip", "b", "b.ARJ", "gone", "sub"}));
    browser->SetFilter("");
    EXPECT_EQ(browser->Filter(), "*");
    EXPECT_EQ(Names().size(), 14u);
}

TEST_F(ShellBrowserTest, TheFourFallbackColumns) {
    browser->SetFolder("D:\\");
    const char* headers[] = {"Name", "Size", "Type", "Changed", ""};
    const int widths[] = {150, 60, 120, 100};
    for (int column = 0; column < 5; ++column) EXPECT_EQ(browser->DetailText(column, true), headers[column]);
    for (int column = 0; column < 4; ++column) {
        int width = 0;
        const fw::TAlignment alignment = browser->ColumnInfo(column, width);
        EXPECT_EQ(width, widths[column]);
        EXPECT_EQ(alignment, column == 1 ? fw::TAlignment::taRightJustify : fw::TAlignment::taLeftJustify);
    }
    const std::pair<const char*, const char*> sizes[] = {{"empty.bin", "0 KB"}, {"one.bin", "1 KB"}, {"big.bin", "2 KB"}};
    for (const auto& [name, size] : sizes) {
        browser->SetObjectName(name);
        EXPECT_EQ(browser->DetailText(0, false), browser->DisplayName());
        EXPECT_EQ(browser->DetailText(1, false), size) << name;
        EXPECT_FALSE(browser->DetailText(2, false).empty()) << "the shell's type name";
        EXPECT_FALSE(browser->DetailText(3, false).empty()) << "the last write";
        EXPECT_EQ(browser->DetailText(4, false), "");
    }
}

// A details interface the way a folder with one answers: two columns, texts as wide strings.
class FakeDetails : public IShellDetails {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        FW_CALLBACK_BODY(E_UNEXPECTED, {
            if (riid == IID_IUnknown || riid == IID_IShellDetails) {
                *out = this;
                AddRef();
                return S_OK;
            }
            *out = nullptr;
            return E_NOINTERFACE;
        })
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        FW_CALLBACK_BODY(0ul, { return ++refs; })
    }
    ULONG STDMETHODCALLTYPE Release() override {
        FW_CALLBACK_BODY(0ul, { return --refs; })
    }
    HRESULT STDMETHODCALLTYPE GetDetailsOf(PCUITEMID_CHILD item, UINT column, SHELLDETAILS* details) override {
        FW_CALLBACK_BODY(E_UNEXPECTED, {
            if (column > 1) return E_INVALIDARG;
            const std::wstring text = item ? (column == 0 ? L"object" : L"42 units") : (column == 0 ? L"Title" : L"Amount");
            details->fmt = column == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
            details->cxChar = column == 1 ? 7 : 20;
            details->str.uType = STRRET_WSTR;
            details->str.pOleStr = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
            std::copy(text.c_str(), text.c_str() + text.size() + 1, details->str.pOleStr);
            return S_OK;
        })
    }
    HRESULT STDMETHODCALLTYPE ColumnClick(UINT) override {
        FW_CALLBACK_BODY(E_UNEXPECTED, { return S_FALSE; })
    }
    ULONG refs = 1;
};

TEST_F(ShellBrowserTest, TheDetailsInterfaceOfAFolderThatHasOne) {
    FakeDetails fake;
    int asked = 0;
    SetShellDetailsSource([&](IShellFolder*, HWND) -> IShellDetails* {
        ++asked;
        fake.AddRef();
        return &fake;
    });
    browser->SetFolder("D:\\");
    EXPECT_EQ(browser->DetailText(0, true), "Title");
    EXPECT_EQ(browser->DetailText(1, true), "Amount");
    EXPECT_EQ(browser->DetailText(2, true), "") << "the list of columns ends where the interface refuses";
    int width = 0;
    EXPECT_EQ(browser->ColumnInfo(1, width), fw::TAlignment::taRightJustify);
    EXPECT_EQ(width, 42) << "the shell's characters times 6";
    browser->SetObjectName("big.bin");
    EXPECT_EQ(browser->DetailText(0, false), browser->DisplayName()) << "column 0 of an object is its name";
    EXPECT_EQ(browser->DetailText(1, false), "42 units");
    EXPECT_EQ(asked, 1) << "asked once per folder";
    browser->SetFolder("D:\\a\\");
    browser->DetailText(1, true);
    EXPECT_EQ(asked, 2);
    browser->SetFolder("D:\\");
    browser->Free();
    browser = fw::Make<TShellBrowser>(nullptr);
    EXPECT_EQ(fake.refs, 1u) << "every reference the browser took is given back";

    // A folder without one is asked once, and the fallback columns follow.
    int refused = 0;
    SetShellDetailsSource([&](IShellFolder*, HWND) -> IShellDetails* {
        ++refused;
        return nullptr;
    });
    browser->SetFolder("D:\\");
    EXPECT_EQ(browser->DetailText(1, true), "Size");
    EXPECT_EQ(browser->DetailText(3, true), "Changed");
    EXPECT_EQ(refused, 1);
}

TEST_F(ShellBrowserTest, SpecialFoldersWithoutPaths) {
    struct Case {
        TJexoShellFolder folder;
        bool hasPath;
    };
    // Wine answers "::{GUID}" paths for the printers and the network: no paths at all.
    const Case cases[] = {{TJexoShellFolder::SF_PRINTERS, false}, {TJexoShellFolder::SF_NETWORK, false},
                          {TJexoShellFolder::SF_DRIVES, false},   {TJexoShellFolder::SF_PERSONAL, true},
                          {TJexoShellFolder::SF_FONTS, true},     {TJexoShellFolder::SF_DESKTOP, true}};
    fw::TNotifyEvent watch;
    watch.Bind(nullptr, [](void*, fw::TObject*) {});
    browser->SetOnFileChange(watch);
    TDirMon::SetFailureSink([](TDirMon*, const std::string& text, const std::string&) { ADD_FAILURE() << text; });
    for (const Case& c : cases) {
        ASSERT_TRUE(browser->SetSpecialFolder(c.folder));
        const std::string folder = browser->Folder();
        EXPECT_EQ(!folder.empty(), c.hasPath) << folder;
        EXPECT_TRUE(folder.empty() || folder.substr(0, 2) != "::") << folder;
        EXPECT_EQ(browser->Monitor()->Running(), c.hasPath) << "a folder without a path is not watched";
        if (c.folder != TJexoShellFolder::SF_DESKTOP) {
            EXPECT_EQ(browser->GetSpecialFolder(), c.folder);
        }
    }
    test::Pump(300);
    TDirMon::SetFailureSink(nullptr);
}

// The visible top-level windows of this process.
BOOL CALLBACK CollectWindow(HWND window, LPARAM windows) {
    FW_CALLBACK_BODY(FALSE, {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(window)) reinterpret_cast<std::set<HWND>*>(windows)->insert(window);
        return TRUE;
    })
}

std::set<HWND> VisibleWindows() {
    std::set<HWND> windows;
    EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

TEST_F(ShellBrowserTest, TheDefaultVerbOpensNothingUnderWine) {
    // Wine's menu filled with the default command only is empty: nothing is invoked, and that counts
    // as done because the menu interface was there.
    Select("x.txt");
    const std::set<HWND> before = VisibleWindows();
    EXPECT_TRUE(browser->InvokeVerb("default"));
    EXPECT_TRUE(browser->InvokeVerb(""));
    test::Pump(500);
    EXPECT_EQ(VisibleWindows(), before) << "no window opened";
    EXPECT_TRUE(ExistsOnDisk("x.txt"));
}

TEST_F(ShellBrowserTest, DeletingAFolderThatIsKeptIsNotReportedDone) {
    ASSERT_EQ(RunUnix("mkdir -p kept/inner"), 0);
    Select("kept");
    {
        test::WindowWatcher no("#32770", "", [](HWND box) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO)));
        });
        EXPECT_FALSE(browser->InvokeVerb("delete")) << "declined: the folder is still there";
        EXPECT_TRUE(no.Acted()) << "Wine asks before it deletes";
    }
    EXPECT_TRUE(ExistsOnDisk("kept"));
    Select("kept");
    {
        test::WindowWatcher yes("#32770", "", [](HWND box) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDYES)));
        });
        EXPECT_TRUE(browser->InvokeVerb("delete"));
        EXPECT_TRUE(yes.Acted());
    }
    EXPECT_FALSE(ExistsOnDisk("kept"));
}

TEST_F(ShellBrowserTest, RenameGivesTheNewNameOnDisk) {
    ASSERT_EQ(RunUnix("printf r > torename.txt"), 0);
    Select("torename.txt");
    std::string name = "renamed.txt";
    browser->Rename(name);
    EXPECT_EQ(name, "renamed.txt");
    EXPECT_EQ(browser->ObjectName(), "renamed.txt") << "the renamed object stays current";
    EXPECT_TRUE(ExistsOnDisk("renamed.txt"));
    EXPECT_FALSE(ExistsOnDisk("torename.txt"));
    ASSERT_EQ(RunUnix("rm renamed.txt"), 0);
}


// The tree on a form of its own: the walk to a deep folder.
TEST_F(ShellBrowserTest, TreeSelectsADeepFolder) {
    auto* form = fw::Make<fw::TForm>(nullptr);
    auto* tree = fw::Make<TJexoShellTree>(form);
    tree->SetParent(form);
    form->Show();
    tree->SetRootedAt(TJexoShellFolder::SF_DRIVES);
    EXPECT_EQ(tree->SelectedFolder(), "D:\\");
    tree->SetSelectedFolder("D:\\a\\b\\c\\");
    EXPECT_EQ(tree->SelectedFolder(), "D:\\a\\b\\c\\");
    form->Free();
}

// The context menu: the shell's commands and the copies of the application's items never share a
// number, a copied item runs its own handler with the right sender, OnHint comes back.
class ContextMenuTest : public ShellBrowserTest {
public:
    void SetUp() override {
        ShellBrowserTest::SetUp();
        appMenu = fw::Make<fw::TPopupMenu>(nullptr);
        top = fw::Make<fw::TMenuItem>(appMenu);
        top->SetName("miMark");
        top->SetCaption("&Mark");
        top->OnClick = fw::TNotifyEvent(this, &ContextMenuTest::Clicked);
        appMenu->Items()->Add(top);
        group = fw::Make<fw::TMenuItem>(appMenu);
        group->SetName("miGroup");
        group->SetCaption("&Group");
        appMenu->Items()->Add(group);
        sub = fw::Make<fw::TMenuItem>(appMenu);
        sub->SetName("miSub");
        sub->SetCaption("&Sub");
        sub->OnClick = fw::TNotifyEvent(this, &ContextMenuTest::Clicked);
        group->Add(sub);
        fw::Application->OnHint = fw::TNotifyEvent(this, &ContextMenuTest::Hint);
    }
    void TearDown() override {
        appMenu->Free();
        fw::Application->OnHint = nullptr;
        ShellBrowserTest::TearDown();
    }
    void Clicked(fw::TObject* sender) { senders.push_back(dynamic_cast<fw::TComponent*>(sender)->Name()); }
    void Hint(fw::TObject*) {}

    fw::TPopupMenu* appMenu = nullptr;
    fw::TMenuItem* top = nullptr;
    fw::TMenuItem* group = nullptr;
    fw::TMenuItem* sub = nullptr;
    std::vector<std::string> senders;
};

TEST_F(ContextMenuTest, CommandNumbersAndCopiedItems) {
    Select("x.txt");
    std::vector<UINT> ids;
    std::vector<std::string> texts;
    std::string verb = "unchanged";
    {
        test::WindowWatcher menu("#32768", "", [&](HWND window) {
            auto handle = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
            for (int i = 0; i < GetMenuItemCount(handle); ++i) {
                char text[128] = {};
                GetMenuStringA(handle, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
                texts.push_back(text);
                ids.push_back(GetMenuItemID(handle, i));
            }
            // The first copied item: its accelerator.
            test::PostChar(window, 'm');
        });
        browser->ShowContextMenu(fw::Point(100, 100), appMenu, verb);
        ASSERT_TRUE(menu.Acted());
    }
    EXPECT_EQ(verb, "") << "an application item is no shell verb";
    EXPECT_EQ(senders, std::vector<std::string>{"miMark2"}) << "the copy runs the item's handler, as its sender";
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[texts.size() - 2], "&Mark");
    EXPECT_EQ(texts.back(), "&Group");
    for (size_t i = 0; i < ids.size(); ++i) {
        if (ids[i] == 0 || ids[i] == static_cast<UINT>(-1)) continue;  // separators and submenus
        if (i + 2 >= ids.size()) {
            EXPECT_GE(ids[i], 0x8000u) << texts[i];
        } else {
            EXPECT_TRUE(ids[i] >= 1 && ids[i] <= 0x7FFF) << texts[i] << " " << ids[i];
        }
    }
    EXPECT_TRUE(fw::Application->OnHint == fw::TNotifyEvent(this, &ContextMenuTest::Hint)) << "OnHint comes back";
}

TEST_F(ContextMenuTest, ASubItemGetsItsParentsCopyAsSender) {
    Select("x.txt");
    std::string verb;
    test::WindowWatcher menu("#32768", "", [](HWND window) {
        test::PostChar(window, 'g');  // opens the group
        Sleep(300);
        test::PostChar(window, 's');
    });
    browser->ShowContextMenu(fw::Point(100, 100), appMenu, verb);
    EXPECT_TRUE(menu.Acted());
    EXPECT_EQ(senders, std::vector<std::string>{"miGroup2"});
}

TEST_F(ContextMenuTest, ADeclinedDeleteLeavesNoVerb) {
    Select("r1.tmp");
    std::string verb = "unchanged";
    {
        test::WindowWatcher confirm("#32770", "", [](HWND box) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO)));
        });
        test::WindowWatcher menu("#32768", "", [](HWND window) { test::PostChar(window, 'd'); });
        browser->ShowContextMenu(fw::Point(100, 100), nullptr, verb);
        EXPECT_TRUE(menu.Acted());
        EXPECT_TRUE(confirm.Acted());
    }
    EXPECT_EQ(verb, "");
    EXPECT_TRUE(ExistsOnDisk("r1.tmp"));
    Select("r1.tmp");
    {
        test::WindowWatcher confirm("#32770", "", [](HWND box) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDYES)));
        });
        test::WindowWatcher menu("#32768", "", [](HWND window) { test::PostChar(window, 'd'); });
        browser->ShowContextMenu(fw::Point(100, 100), nullptr, verb);
    }
    EXPECT_EQ(verb, "delete");
    EXPECT_FALSE(ExistsOnDisk("r1.tmp"));
}

}  // namespace
}  // namespace uis
