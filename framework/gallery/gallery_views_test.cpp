// The gallery's list and tree views against their windows: sorting by every kind of comparison,
// a column click through the real header, label editing in both views (kept, changed, cancelled,
// refused), texts the window asks for through LVN_GETDISPINFO, overlay images and Data across sorting
// and re-creation, the four view styles, nodes that have children before they are added, and the
// right click that selects its node first.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/core/sysutils.h"
#include "framework/gallery/gallery_test_support.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_test_support.h"

namespace gallery {
namespace {

std::vector<std::string> WindowColumn(HWND view, int sub) {
    std::vector<std::string> texts;
    const int count = static_cast<int>(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) texts.push_back(ListViewText(view, i, sub));
    return texts;
}

std::vector<std::string> ItemCaptions(fw::TListView* view) {
    std::vector<std::string> texts;
    for (int i = 0; i < view->Items()->Count(); ++i) texts.push_back(view->Items()->Item(i)->Caption());
    return texts;
}

int SizeOf(fw::TListItem* item) { return std::atoi(item->SubItems()->Get(0).c_str()); }
// By the size column; data -1 turns the order round.
int BySize(fw::TListItem* a, fw::TListItem* b, LPARAM data) {
    const int order = SizeOf(a) < SizeOf(b) ? -1 : SizeOf(a) > SizeOf(b) ? 1 : 0;
    return data < 0 ? -order : order;
}

struct CaptionsDescending {
    void Compare(fw::TObject*, fw::TListItem* a, fw::TListItem* b, int, int& result) {
        result = -fw::AnsiCompareText(a->Caption(), b->Caption());
    }
};

TEST_F(GalleryTest, ListViewSortsByEveryKindOfComparison) {
    // Each item carries its original position as Data, which must travel with it.
    for (int i = 0; i < form->lvFiles->Items()->Count(); ++i)
        form->lvFiles->Items()->Item(i)->SetData(reinterpret_cast<void*>(static_cast<intptr_t>(i + 1)));
    CaptionsDescending descending;
    struct Case {
        const char* name;
        fw::TLVCompare compare;
        LPARAM data;
        bool onCompare;
        std::vector<std::string> order;
    };
    const std::vector<Case> cases = {
        {"a compare function", &BySize, 0, false, {"readme.txt", "data.zip", "setup.exe"}},
        {"its data turns the order round", &BySize, -1, false, {"setup.exe", "data.zip", "readme.txt"}},
        {"OnCompare without a function", nullptr, 0, true, {"setup.exe", "readme.txt", "data.zip"}},
        {"the captions by the locale", nullptr, 0, false, {"data.zip", "readme.txt", "setup.exe"}},
    };
    const std::vector<std::string> original = {"readme.txt", "setup.exe", "data.zip"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form->lvFiles->OnCompare =
            c.onCompare ? fw::TLVCompareEvent(&descending, &CaptionsDescending::Compare) : fw::TLVCompareEvent();
        EXPECT_TRUE(form->lvFiles->CustomSort(c.compare, c.data));
        EXPECT_EQ(ItemCaptions(form->lvFiles), c.order);
        EXPECT_EQ(WindowColumn(form->lvFiles->Handle(), 0), c.order);
        for (int i = 0; i < 3; ++i) {
            fw::TListItem* item = form->lvFiles->Items()->Item(i);
            const auto data = reinterpret_cast<intptr_t>(item->Data());
            ASSERT_GE(data, 1);
            EXPECT_EQ(original[static_cast<size_t>(data - 1)], item->Caption()) << "Data left its item";
            EXPECT_EQ(item->Index(), i);
        }
    }
    // Sorted before the window exists, the window shows the order.
    auto* view = fw::Make<fw::TListView>(form);
    for (const char* caption : {"b", "c", "a"}) view->Items()->Add()->SetCaption(caption);
    view->AlphaSort();
    view->SetParent(form);
    EXPECT_EQ(WindowColumn(view->Handle(), 0), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(GalleryTest, ColumnClickComesThroughTheRealHeader) {
    HWND header = reinterpret_cast<HWND>(SendMessageA(form->lvFiles->Handle(), LVM_GETHEADER, 0, 0));
    ASSERT_NE(header, nullptr);
    RECT size{};
    ASSERT_TRUE(SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&size)));
    const LPARAM centre = At((size.left + size.right) / 2, (size.top + size.bottom) / 2);
    PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageA(header, WM_LBUTTONUP, 0, centre);
    RunLoop();
    EXPECT_EQ(form->log, (std::vector<std::string>{"column Size"}));
    // The gallery's handler sorts by name.
    EXPECT_EQ(WindowColumn(form->lvFiles->Handle(), 0), (std::vector<std::string>{"data.zip", "readme.txt", "setup.exe"}));
}

// Edits a label the user's way: the view's edit takes the text, then Enter or Escape.
struct Editing {
    bool allow = true;
    std::string replace;
    std::vector<std::string> edited;
    void ListEditing(fw::TObject*, fw::TListItem*, bool& allowEdit) { allowEdit = allow; }
    void ListEdited(fw::TObject*, fw::TListItem*, std::string& s) {
        edited.push_back(s);
        if (!replace.empty()) s = replace;
    }
    void TreeEditing(fw::TObject*, fw::TTreeNode*, bool& allowEdit) { allowEdit = allow; }
    void TreeEdited(fw::TObject*, fw::TTreeNode*, std::string& s) {
        edited.push_back(s);
        if (!replace.empty()) s = replace;
    }
};

TEST_F(GalleryTest, LabelsAreEditedInBothViews) {
    struct Case {
        const char* name;
        bool readOnly;
        bool allow;
        const char* replace;
        UINT key;
        bool edits;             // an edit window came up
        const char* result;     // the caption afterwards ("" = unchanged)
        std::vector<std::string> edited;
    };
    const std::vector<Case> cases = {
        {"Enter keeps the typed text", false, true, "", VK_RETURN, true, "renamed", {"renamed"}},
        {"OnEdited changes it", false, true, "RENAMED", VK_RETURN, true, "RENAMED", {"renamed"}},
        {"Escape cancels", false, true, "", VK_ESCAPE, true, "", {}},
        {"OnEditing refuses", false, false, "", VK_RETURN, false, "", {}},
        {"a read-only view refuses", true, true, "", VK_RETURN, false, "", {}},
    };
    Editing editing;
    form->lvFiles->OnEditing = fw::TLVEditingEvent(&editing, &Editing::ListEditing);
    form->lvFiles->OnEdited = fw::TLVEditedEvent(&editing, &Editing::ListEdited);
    form->tvFolders->OnEditing = fw::TTVEditingEvent(&editing, &Editing::TreeEditing);
    form->tvFolders->OnEdited = fw::TTVEditedEvent(&editing, &Editing::TreeEdited);
    for (const Case& c : cases) {
        for (bool tree : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (tree ? " (tree)" : " (list)"));
            editing = Editing{c.allow, c.replace, {}};
            fw::TListItem* item = form->lvFiles->Items()->Item(1);
            fw::TTreeNode* node = form->tvFolders->Items()->GetFirstNode()->Item(0);
            const std::string before = tree ? node->Text() : item->Caption();
            HWND edit;
            if (tree) {
                form->tvFolders->SetReadOnly(c.readOnly);
                node->EditText();
                edit = reinterpret_cast<HWND>(SendMessageA(form->tvFolders->Handle(), TVM_GETEDITCONTROL, 0, 0));
                EXPECT_EQ(form->tvFolders->IsEditing(), c.edits);
            } else {
                form->lvFiles->SetReadOnly(c.readOnly);
                item->EditCaption();
                edit = reinterpret_cast<HWND>(SendMessageA(form->lvFiles->Handle(), LVM_GETEDITCONTROL, 0, 0));
                EXPECT_EQ(form->lvFiles->IsEditing(), c.edits);
            }
            ASSERT_EQ(edit != nullptr, c.edits);
            if (edit) {
                SetWindowTextA(edit, "renamed");
                PostMessageA(edit, WM_KEYDOWN, c.key, 1);
                PostMessageA(edit, WM_KEYUP, c.key, 1 | (3u << 30));
                RunLoop();
            }
            const std::string want = *c.result ? c.result : before;
            EXPECT_EQ(editing.edited, c.edited);
            if (tree) {
                EXPECT_EQ(node->Text(), want);
                EXPECT_EQ(TreeText(form->tvFolders->Handle(), node->ItemId()), want);
                node->SetText(before);
                form->tvFolders->SetReadOnly(false);
            } else {
                EXPECT_EQ(item->Caption(), want);
                EXPECT_EQ(ListViewText(form->lvFiles->Handle(), 1, 0), want);
                item->SetCaption(before);
                form->lvFiles->SetReadOnly(false);
            }
        }
    }
}

// A view that makes up its second column when the window asks, as a virtual list does.
class TVirtualListView : public fw::TListView {
public:
    using TListView::TListView;
    int asked = 0;

protected:
    void GetDispInfo(NMLVDISPINFOA& info) override {
        if ((info.item.mask & LVIF_TEXT) && info.item.iSubItem == 1 && info.item.pszText) {
            ++asked;
            const std::string text = "row " + std::to_string(info.item.iItem);
            lstrcpynA(info.item.pszText, text.c_str(), info.item.cchTextMax);
            return;
        }
        TListView::GetDispInfo(info);
    }
};

TEST_F(GalleryTest, WindowAsksForTextsThroughGetDispInfo) {
    auto* view = fw::Make<TVirtualListView>(form);
    view->SetViewStyle(fw::TViewStyle::vsReport);
    view->Columns()->Add()->SetCaption("Name");
    view->Columns()->Add()->SetCaption("Made up");
    view->SetBounds(700, 520, 250, 100);
    view->SetParent(form);
    for (const char* caption : {"one", "two", "three"}) {
        fw::TListItem* item = view->Items()->Add();
        item->SetCaption(caption);
        item->SubItems()->Add("stored");
    }
    HWND window = view->Handle();
    EXPECT_EQ(WindowColumn(window, 0), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_EQ(WindowColumn(window, 1), (std::vector<std::string>{"row 0", "row 1", "row 2"}));
    EXPECT_GE(view->asked, 3);
    // The window keeps no copies: a caption changed in the item is what the window reads next.
    view->Items()->Item(2)->SetCaption("drei");
    EXPECT_EQ(ListViewText(window, 2, 0), "drei");
}

// Sub-items added one by one after their item, inside an update, as a lister fills a list: each
// column shows its texts once the update ends, and a later change shows at once; an item filled
// beforehand goes in whole; the selection is walked by position.
TEST_F(GalleryTest, SubItemsAddedAfterTheirItemShowInEveryColumn) {
    auto* view = fw::Make<fw::TListView>(form);
    view->SetViewStyle(fw::TViewStyle::vsReport);
    for (const char* caption : {"Name", "Size", "Packed", "Method"}) view->Columns()->Add()->SetCaption(caption);
    view->SetBounds(700, 520, 250, 100);
    view->SetParent(form);
    HWND window = view->Handle();
    view->BeginUpdate();
    for (int i = 0; i < 3; ++i) {
        fw::TListItem* item = view->Items()->Add();
        item->SetCaption("f" + std::to_string(i));
        for (const char* sub : {"size", "packed", "method"}) item->SubItems()->Add(sub + std::to_string(i));
    }
    view->EndUpdate();
    EXPECT_EQ(WindowColumn(window, 1), (std::vector<std::string>{"size0", "size1", "size2"}));
    EXPECT_EQ(WindowColumn(window, 3), (std::vector<std::string>{"method0", "method1", "method2"}));
    view->Items()->Item(1)->SubItems()->SetStrings(2, "Stored");
    EXPECT_EQ(ListViewText(window, 1, 3), "Stored");

    // An item filled before any window knew it arrives whole, wherever it goes.
    auto* made = new fw::TListItem(nullptr);
    made->SetCaption("first");
    made->SetImageIndex(4);
    made->SetData(made);
    for (const char* sub : {"1", "2", "3"}) made->SubItems()->Add(sub);
    EXPECT_EQ(view->Items()->AddItem(made, 0), made);
    EXPECT_EQ(made->Index(), 0);
    EXPECT_EQ(WindowColumn(window, 0), (std::vector<std::string>{"first", "f0", "f1", "f2"}));
    EXPECT_EQ(ListViewText(window, 0, 3), "3");
    LVITEMA lv{};
    lv.mask = LVIF_IMAGE | LVIF_PARAM;
    SendMessageA(window, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lv));
    EXPECT_EQ(lv.iImage, 4);
    EXPECT_EQ(view->Items()->Item(0)->Data(), made);

    // The selection walked by position, as the window holds it.
    view->SetMultiSelect(true);
    EXPECT_EQ(view->NextSelected(-1), -1);
    view->Items()->Item(1)->SetSelected(true);
    view->Items()->Item(3)->SetSelected(true);
    EXPECT_EQ(view->NextSelected(-1), 1);
    EXPECT_EQ(view->NextSelected(1), 3);
    EXPECT_EQ(view->NextSelected(3), -1);
    EXPECT_EQ(view->Items()->Item(3)->Index(), 3);
    view->Free();
}

TEST_F(GalleryTest, OverlayImagesAndDataSurviveSortingAndRecreation) {
    fw::TListView* view = form->lvFiles;
    const int overlays[] = {1, 0, 2};
    for (int i = 0; i < 3; ++i) {
        fw::TListItem* item = view->Items()->Item(i);
        item->SetOverlayIndex(overlays[i]);
        item->SetImageIndex(i + 3);
        item->SetData(item);
    }
    auto check = [&](const char* when) {
        SCOPED_TRACE(when);
        for (int i = 0; i < 3; ++i) {
            fw::TListItem* item = view->Items()->Item(i);
            const int expected = item->Caption() == "readme.txt" ? 1 : item->Caption() == "data.zip" ? 2 : 0;
            EXPECT_EQ(item->OverlayIndex(), expected);
            EXPECT_EQ(static_cast<UINT>(SendMessageA(view->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(i),
                                                     LVIS_OVERLAYMASK)),
                      static_cast<UINT>(INDEXTOOVERLAYMASK(expected)))
                << item->Caption();
            LVITEMA lv{};
            lv.mask = LVIF_IMAGE;
            lv.iItem = i;
            SendMessageA(view->Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lv));
            EXPECT_EQ(lv.iImage, item->ImageIndex());
            EXPECT_EQ(item->Data(), item);
        }
    };
    check("set");
    view->AlphaSort();
    check("sorted");
    view->RecreateWnd();
    check("recreated");
}

TEST_F(GalleryTest, ListViewShowsEachViewStyle) {
    auto* large = fw::Make<fw::TImageList>(form);
    large->SetWidth(32);
    large->SetHeight(32);
    auto* small = fw::Make<fw::TImageList>(form);
    form->lvFiles->SetLargeImages(large);
    form->lvFiles->SetSmallImages(small);
    struct Case {
        fw::TViewStyle style;
        LONG_PTR bits;
    };
    const Case cases[] = {{fw::TViewStyle::vsIcon, LVS_ICON},
                          {fw::TViewStyle::vsSmallIcon, LVS_SMALLICON},
                          {fw::TViewStyle::vsList, LVS_LIST},
                          {fw::TViewStyle::vsReport, LVS_REPORT}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        for (bool recreate : {false, true}) {
            form->lvFiles->SetViewStyle(c.style);
            if (recreate) form->lvFiles->RecreateWnd();
            HWND view = form->lvFiles->Handle();
            EXPECT_EQ(GetWindowLongPtrA(view, GWL_STYLE) & LVS_TYPEMASK, c.bits);
            EXPECT_EQ(WindowColumn(view, 0), (std::vector<std::string>{"readme.txt", "setup.exe", "data.zip"}));
            RECT r{};
            r.left = LVIR_BOUNDS;
            EXPECT_TRUE(SendMessageA(view, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)));
            EXPECT_GT(r.right - r.left, 0);
            EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(view, LVM_GETIMAGELIST, LVSIL_NORMAL, 0)),
                      large->Handle());
            EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(view, LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
                      small->Handle());
        }
    }
}

int WindowChildren(HWND tree, HTREEITEM item) {
    TVITEMA tv{};
    tv.mask = TVIF_CHILDREN | TVIF_HANDLE;
    tv.hItem = item;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return tv.cChildren;
}

TEST_F(GalleryTest, NodeHasChildrenBeforeTheyAreAdded) {
    fw::TTreeNode* root = form->tvFolders->Items()->GetFirstNode();
    fw::TTreeNode* lazy = form->tvFolders->Items()->AddChild(root, "Lazy");
    HWND tree = form->tvFolders->Handle();
    EXPECT_FALSE(lazy->HasChildren());
    EXPECT_EQ(WindowChildren(tree, lazy->ItemId()), 0);
    lazy->SetHasChildren(true);
    EXPECT_TRUE(lazy->HasChildren());
    EXPECT_EQ(WindowChildren(tree, lazy->ItemId()), 1) << "the window shows a button before any child exists";
    // The children come when the node opens.
    struct Filler {
        int calls = 0;
        void Expanding(fw::TObject* sender, fw::TTreeNode* node, bool&) {
            ++calls;
            if (node->Count() == 0) static_cast<fw::TTreeView*>(sender)->Items()->AddChild(node, "Found later");
        }
    } filler;
    form->tvFolders->OnExpanding = fw::TTVExpandingEvent(&filler, &Filler::Expanding);
    lazy->Expand(false);
    EXPECT_EQ(filler.calls, 1);
    EXPECT_TRUE(lazy->Expanded());
    auto child = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(lazy->ItemId())));
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(form->tvFolders->Items()->GetNode(child)->Text(), "Found later");
    // Without children and without the flag, no button.
    form->tvFolders->OnExpanding = fw::TTVExpandingEvent();
    lazy->DeleteChildren();
    lazy->SetHasChildren(false);
    EXPECT_EQ(WindowChildren(tree, lazy->ItemId()), 0);
    // The flag survives a new window.
    lazy->SetHasChildren(true);
    form->tvFolders->RecreateWnd();
    EXPECT_EQ(WindowChildren(form->tvFolders->Handle(), lazy->ItemId()), 1);
}

// A right click at a client point of the view, with the pointer there as for a user (the views watch
// it for a drag); returns the script's failure once the popup menu showed and was closed.
std::string RightClickOpensPopup(fw::TWinControl* view, int x, int y) {
    const fw::TPoint screen = view->ClientToScreen(fw::Point(x, y));
    SetCursorPos(screen.X, screen.Y);
    fw::stdtest::ScriptedInput script;
    script.abandon = [] { EndMenu(); };
    script.Add("the popup shows", [] { HWND m = FindWindowA("#32768", nullptr); return m && IsWindowVisible(m); })
        .Do("close it", [] { EndMenu(); });
    script.Start();
    PostMessageA(view->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, At(x, y));
    PostMessageA(view->Handle(), WM_RBUTTONUP, 0, At(x, y));
    script.PumpUntilFinished(5000);
    RunLoop();
    return script.Failure();
}

TEST_F(GalleryTest, RightClickSelectsTheNodeBeforeThePopupOpensInBothViews) {
    auto* popup = fw::Make<fw::TPopupMenu>(form);
    auto* item = fw::Make<fw::TMenuItem>(form);
    item->SetCaption("Properties");
    popup->Items()->Add(item);
    struct Watch {
        fw::TTreeView* tree;
        std::vector<std::string> seen;
        void Popup(fw::TObject*) { seen.push_back(tree->Selected() ? tree->Selected()->Text() : "(none)"); }
    } watch{form->tvFolders, {}};
    popup->OnPopup = fw::TNotifyEvent(&watch, &Watch::Popup);
    form->tvFolders->SetPopupMenu(popup);
    fw::TTreeNode* root = form->tvFolders->Items()->GetFirstNode();
    fw::TTreeNode* target = root->Item(1);  // Program Files
    for (bool select : {false, true}) {
        SCOPED_TRACE(select ? "RightClickSelect" : "without RightClickSelect");
        form->tvFolders->SetRightClickSelect(select);
        form->tvFolders->SetSelected(root);
        RECT r{};
        HTREEITEM id = target->ItemId();
        std::memcpy(&r, &id, sizeof id);  // the item goes in, its rectangle comes back
        ASSERT_TRUE(SendMessageA(form->tvFolders->Handle(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r)));
        EXPECT_EQ(RightClickOpensPopup(form->tvFolders, r.left + 3, (r.top + r.bottom) / 2), "");
        EXPECT_EQ(watch.seen, (std::vector<std::string>{select ? "Program Files" : "C:\\"}));
        EXPECT_EQ(form->tvFolders->Selected(), select ? target : root);
        watch.seen.clear();
    }
    // The list view opens its popup menu the same way.
    int listPopups = 0;
    struct Count {
        int* n;
        void Popup(fw::TObject*) { ++*n; }
    } count{&listPopups};
    popup->OnPopup = fw::TNotifyEvent(&count, &Count::Popup);
    form->lvFiles->SetPopupMenu(popup);
    RECT row{};
    row.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageA(form->lvFiles->Handle(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)));
    EXPECT_EQ(RightClickOpensPopup(form->lvFiles, row.left + 5, (row.top + row.bottom) / 2), "");
    EXPECT_EQ(listPopups, 1);
}

}  // namespace
}  // namespace gallery
