// Shell drops: names listed from a hand-built HDROP (ANSI and wide), the drop point, and DragFinish.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/win32/dropfiles.h"
#include "framework/win32/winapi.h"

namespace fw {
namespace {

// What the shell hands to WM_DropHeader, a global block:
//   +0  DWORD pFiles   offset of the name list from the block's start
//   +4  POINT pt       drop point, client coordinates
//   +12 BOOL  fNC      dropped on the non-client area
//   +16 BOOL  fWide    names in UTF-16
//   +20 name\0 name\0 ... \0
struct DropHeader {
    DWORD pFiles;
    POINT pt;
    BOOL fNC;
    BOOL fWide;
};
static_assert(sizeof(DropHeader) == 20);
HDROP MakeDrop(const std::vector<std::string>& names, POINT pt, bool nonClient, bool wide) {
    std::vector<uint8_t> list;
    for (const std::string& name : names) {
        for (char c : name) {
            list.push_back(static_cast<uint8_t>(c));
            if (wide) list.push_back(0);  // these test names are ASCII
        }
        list.insert(list.end(), wide ? 2 : 1, 0);
    }
    list.insert(list.end(), wide ? 2 : 1, 0);
    HGLOBAL block = GlobalAlloc(GHND | GMEM_SHARE, sizeof(DropHeader) + list.size());
    auto* header = static_cast<DropHeader*>(GlobalLock(block));
    header->pFiles = sizeof(DropHeader);
    header->pt = pt;
    header->fNC = nonClient;
    header->fWide = wide;
    std::memcpy(reinterpret_cast<uint8_t*>(header) + sizeof(DropHeader), list.data(), list.size());
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

TEST(DropFilesTest, ListsTheNamesAndFreesTheHandle) {
    const std::vector<std::string> names = {"C:\\data\\report.zip", "C:\\a.txt",
                                            "D:\\long folder name\\" + std::string(200, 'n') + ".arj"};
    for (bool wide : {false, true}) {
        SCOPED_TRACE(wide ? "wide" : "ansi");
        HDROP drop = MakeDrop(names, POINT{12, 34}, false, wide);
        {
            TDropFiles files(drop);
            EXPECT_EQ(files.Count(), 3);
            EXPECT_EQ(files.Names(), names);
            EXPECT_TRUE(files.InClient());
            EXPECT_EQ(files.Point().x, 12);
            EXPECT_EQ(files.Point().y, 34);
            EXPECT_EQ(GlobalFlags(drop) & GMEM_INVALID_HANDLE, 0u);
        }
        // DragFinish released the block.
        EXPECT_EQ(GlobalFlags(drop), static_cast<UINT>(GMEM_INVALID_HANDLE));
    }
}

TEST(DropFilesTest, NonClientAndReleasedDrops) {
    HDROP drop = MakeDrop({"C:\\frame.txt"}, POINT{1, 2}, true, false);
    HDROP kept = nullptr;
    {
        TDropFiles files(drop);
        EXPECT_EQ(files.Names(), std::vector<std::string>{"C:\\frame.txt"});
        EXPECT_FALSE(files.InClient());  // dropped on the frame
        kept = files.Release();
    }
    EXPECT_EQ(kept, drop);
    EXPECT_EQ(GlobalFlags(kept) & GMEM_INVALID_HANDLE, 0u);  // still ours
    DragFinish(kept);

    EXPECT_TRUE(DroppedFileNames(nullptr).empty());
    TDropFiles none(nullptr);
    EXPECT_EQ(none.Count(), 0);
    none.Finish();
}

}  // namespace
}  // namespace fw
