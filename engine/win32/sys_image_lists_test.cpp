// The shell's system icon lists in a list view under Wine: the view shows them, and neither the view
// nor the image list objects destroy them when they go.
#include "engine/win32/sys_image_lists.h"

#include <gtest/gtest.h>

#include "engine/win32/shell_info.h"
#include "framework/core/rtti.h"
#include "framework/win32/controls.h"
#include "framework/win32/imagelist.h"
#include "framework/win32/winapi.h"

namespace engine::win32 {
namespace {

// A plain control over the system list-view class, without LVS_SHAREIMAGELISTS of its own.
class TPlainListView : public fw::TWinControl {
public:
    explicit TPlainListView(fw::TComponent* owner) : fw::TWinControl(owner) { SetBounds(0, 0, 240, 160); }

protected:
    void CreateParams(fw::TCreateParams& params) override
    {
        fw::TWinControl::CreateParams(params);
        CreateSubClass(params, "SysListView32");
        params.Style |= LVS_ICON;
    }
};

// A list view class that publishes its image lists, as the framework's list view does: setting one
// hands it to the window.
class TPublishingListView : public TPlainListView {
public:
    explicit TPublishingListView(fw::TComponent* owner) : TPlainListView(owner) {}
    fw::TCustomImageList* LargeImages() const { return large_; }
    void SetLargeImages(fw::TCustomImageList* value) { Attach(large_, value, LVSIL_NORMAL); }
    fw::TCustomImageList* SmallImages() const { return small_; }
    void SetSmallImages(fw::TCustomImageList* value) { Attach(small_, value, LVSIL_SMALL); }
    int sets = 0;

private:
    void Attach(fw::TCustomImageList*& field, fw::TCustomImageList* value, WPARAM slot)
    {
        ++sets;
        field = value;
        SendMessageA(Handle(), LVM_SETIMAGELIST, slot, reinterpret_cast<LPARAM>(value ? value->Handle() : nullptr));
    }
    fw::TCustomImageList* large_ = nullptr;
    fw::TCustomImageList* small_ = nullptr;
};

class SysImageLists : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
        ASSERT_TRUE(InitCommonControlsEx(&icc));
        fw::RegisterControlClasses();
        fw::RegisterImageListClasses();
        fw::Class<TPublishingListView, fw::TWinControl>("TPublishingListView")
            .Prop("LargeImages", &TPublishingListView::LargeImages, &TPublishingListView::SetLargeImages)
            .Prop("SmallImages", &TPublishingListView::SmallImages, &TPublishingListView::SetSmallImages);
    }

    // The shell's lists, asked independently.
    static HIMAGELIST Shell(UINT size)
    {
        SHFILEINFOA info{};
        return reinterpret_cast<HIMAGELIST>(
            SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | size));
    }
    static HIMAGELIST Shown(fw::TWinControl& view, WPARAM slot)
    {
        return reinterpret_cast<HIMAGELIST>(SendMessageA(view.Handle(), LVM_GETIMAGELIST, slot, 0));
    }
    // Whether the list still works: it counts images and paints the icon of a ".txt" name. A destroyed
    // list may still answer a count from freed memory, but its drawing surfaces are gone.
    static bool Alive(HIMAGELIST list)
    {
        if (ImageList_GetImageCount(list) <= 0)
            return false;
        int cx = 0, cy = 0;
        if (!ImageList_GetIconSize(list, &cx, &cy) || cx <= 0 || cy <= 0 || cx > 256 || cy > 256)
            return false;
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, cx, cy);
        ReleaseDC(nullptr, screen);
        HGDIOBJ old = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, cx, cy, WHITENESS);
        ImageList_Draw(list, GetIconIndex("notes.txt"), dc, 0, 0, ILD_NORMAL);
        bool painted = false;
        for (int y = 0; y < cy && !painted; ++y)
            for (int x = 0; x < cx && !painted; ++x)
                painted = GetPixel(dc, x, y) != RGB(255, 255, 255);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        return painted;
    }
    static fw::TCustomImageList* OwnedList(fw::TComponent* owner, int index)
    {
        return dynamic_cast<fw::TCustomImageList*>(owner->Components(index));
    }

    void SetUp() override
    {
        large_ = Shell(SHGFI_LARGEICON);
        small_ = Shell(SHGFI_SMALLICON);
        ASSERT_NE(large_, nullptr);
        ASSERT_NE(small_, nullptr);
        ASSERT_TRUE(Alive(large_));
        ASSERT_TRUE(Alive(small_));
        owner_ = fw::Make<fw::TComponent>(nullptr);
    }
    void TearDown() override
    {
        fw::FreeAndNil(owner_);
        // Whatever happened, the shell's lists are still there.
        EXPECT_TRUE(Alive(large_));
        EXPECT_TRUE(Alive(small_));
    }

    HIMAGELIST large_ = nullptr;
    HIMAGELIST small_ = nullptr;
    fw::TComponent* owner_ = nullptr;
};

TEST_F(SysImageLists, AViewShowsTheSystemListsAndFreeingItAllLeavesThem)
{
    auto* view = fw::Make<TPlainListView>(nullptr);
    AssignSysImageLists(*view, owner_);

    ASSERT_EQ(owner_->ComponentCount(), 2);
    fw::TCustomImageList* large = OwnedList(owner_, 0);
    fw::TCustomImageList* small = OwnedList(owner_, 1);
    ASSERT_NE(large, nullptr);
    ASSERT_NE(small, nullptr);
    EXPECT_TRUE(large->ShareImages());
    EXPECT_TRUE(small->ShareImages());
    EXPECT_EQ(large->Handle(), large_);
    EXPECT_EQ(small->Handle(), small_);
    EXPECT_EQ(Shown(*view, LVSIL_NORMAL), large_);
    EXPECT_EQ(Shown(*view, LVSIL_SMALL), small_);
    EXPECT_NE(GetWindowLongPtrA(view->Handle(), GWL_STYLE) & LVS_SHAREIMAGELISTS, 0);
    // The list sizes follow the system lists.
    EXPECT_EQ(small->Width(), GetSystemMetrics(SM_CXSMICON));
    EXPECT_EQ(large->Width(), GetSystemMetrics(SM_CXICON));

    // An item shows the icon the shell gives its extension.
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.pszText = const_cast<char*>("notes.txt");
    item.iImage = GetIconIndex("notes.txt");
    ASSERT_EQ(SendMessageA(view->Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)), 0);

    FreeSysImageLists(*view);
    EXPECT_EQ(owner_->ComponentCount(), 0);
    EXPECT_EQ(Shown(*view, LVSIL_NORMAL), nullptr);
    EXPECT_EQ(Shown(*view, LVSIL_SMALL), nullptr);
    EXPECT_TRUE(Alive(large_));
    FreeSysImageLists(*view);  // a second release does nothing
    view->Free();
    EXPECT_TRUE(Alive(large_));
    EXPECT_TRUE(Alive(small_));
}

TEST_F(SysImageLists, AViewFreedWithTheListsStillInLeavesThem)
{
    // The window goes first, with the lists still in it, then the owner with the list objects.
    auto* view = fw::Make<TPlainListView>(nullptr);
    AssignSysImageLists(*view, owner_);
    ASSERT_EQ(Shown(*view, LVSIL_SMALL), small_);
    view->Free();
    EXPECT_TRUE(Alive(large_));
    EXPECT_TRUE(Alive(small_));
    fw::FreeAndNil(owner_);
    EXPECT_TRUE(Alive(large_));
    EXPECT_TRUE(Alive(small_));

    // A later view gets lists again, and the owner freed before the release leaves nothing to free.
    owner_ = fw::Make<fw::TComponent>(nullptr);
    auto* next = fw::Make<TPlainListView>(nullptr);
    AssignSysImageLists(*next, owner_);
    EXPECT_EQ(Shown(*next, LVSIL_NORMAL), large_);
    fw::FreeAndNil(owner_);
    FreeSysImageLists(*next);
    EXPECT_EQ(Shown(*next, LVSIL_NORMAL), large_);  // nothing known to take off
    next->Free();
    owner_ = fw::Make<fw::TComponent>(nullptr);
}

TEST_F(SysImageLists, TheViewKeepsEveryListItShows)
{
    // The share style is in force in the window itself: a list the program puts in later survives the
    // view as well (a view without the style destroys the lists it holds when its window goes).
    HIMAGELIST own = ImageList_Duplicate(small_);
    ASSERT_NE(own, nullptr);
    ASSERT_TRUE(Alive(own));
    auto* view = fw::Make<TPlainListView>(nullptr);
    AssignSysImageLists(*view, owner_);
    SendMessageA(view->Handle(), LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(own));
    view->Free();
    EXPECT_TRUE(Alive(own));
    ImageList_Destroy(own);
}

TEST_F(SysImageLists, AssigningAgainReplacesThePreviousPair)
{
    auto* view = fw::Make<TPlainListView>(nullptr);
    AssignSysImageLists(*view, owner_);
    AssignSysImageLists(*view, owner_);
    EXPECT_EQ(owner_->ComponentCount(), 2);
    EXPECT_EQ(Shown(*view, LVSIL_NORMAL), large_);
    FreeSysImageLists(*view);
    EXPECT_EQ(owner_->ComponentCount(), 0);
    view->Free();
}

TEST_F(SysImageLists, PublishedImageListPropertiesAreSetAndCleared)
{
    auto* view = fw::Make<TPublishingListView>(nullptr);
    AssignSysImageLists(*view, owner_);
    ASSERT_EQ(owner_->ComponentCount(), 2);
    EXPECT_EQ(view->LargeImages(), OwnedList(owner_, 0));
    EXPECT_EQ(view->SmallImages(), OwnedList(owner_, 1));
    EXPECT_EQ(view->sets, 2);
    EXPECT_EQ(Shown(*view, LVSIL_NORMAL), large_);
    EXPECT_EQ(Shown(*view, LVSIL_SMALL), small_);

    FreeSysImageLists(*view);
    EXPECT_EQ(view->LargeImages(), nullptr);
    EXPECT_EQ(view->SmallImages(), nullptr);
    EXPECT_EQ(Shown(*view, LVSIL_NORMAL), nullptr);
    view->Free();
}

}  // namespace
}  // namespace engine::win32
