// The gallery form in the test process: each control against the state of its window (what the
// system class itself reports), items and selection across RecreateWnd, owner-drawn heights, run-time
// header sections, scrolling by posted messages, shared system image lists, and a drag between two
// list views through posted mouse messages.
#include <gtest/gtest.h>

#include "framework/core/datetime.h"
#include "framework/core/sysutils.h"
#include "framework/gallery/gallery_form.h"
#include "framework/gallery/gallery_test_support.h"
#include "framework/win32/application.h"
#include "framework/win32/winapi.h"

#include <richedit.h>


namespace gallery {
namespace {

// A scroll box that watches its own scroll messages, as a descendant framing the box would.
class TWatchingScrollBox : public fw::TScrollBox {
public:
    using TScrollBox::TScrollBox;
    std::vector<int> codes;

protected:
    void WMVScroll(fw::TMessage& message) override {
        codes.push_back(LOWORD(message.WParam));
        TScrollBox::WMVScroll(message);
    }
};

TEST_F(GalleryTest, MemoAndGlyphButtonMatchTheirWindows) {
    HWND memo = form->memLog->Handle();
    EXPECT_NE(GetWindowLongPtrA(memo, GWL_STYLE) & ES_MULTILINE, 0);
    EXPECT_EQ(form->memLog->Lines()->Count(), 1);
    EXPECT_EQ(form->memLog->Lines()->Get(0), "ready");
    form->memLog->Lines()->Add("second");
    form->memLog->Lines()->Add("third");
    form->memLog->Lines()->Insert(1, "inserted");
    EXPECT_EQ(WindowTextOf(memo), "ready\r\ninserted\r\nsecond\r\nthird\r\n");
    form->memLog->Lines()->Delete(0);
    EXPECT_EQ(form->memLog->Lines()->Get(0), "inserted");
    EXPECT_EQ(form->memLog->Lines()->Count(), 3);
    // MaxLength 0: the window's limit is lifted, far above the system's default for edits.
    EXPECT_GT(static_cast<unsigned long>(SendMessageA(memo, EM_GETLIMITTEXT, 0, 0)), 1000000ul);
    // Lines survive a new window, and a log past the system's first limit (30,000) is not cut.
    form->memLog->SetWordWrap(false);
    EXPECT_EQ(form->memLog->Lines()->Count(), 3);
    EXPECT_EQ(form->memLog->Lines()->Get(1), "second");
    const std::string line(8000, 'x');
    form->memLog->Lines()->BeginUpdate();
    for (int i = 0; i < 4; ++i) form->memLog->Lines()->Add(line);
    form->memLog->Lines()->EndUpdate();
    EXPECT_EQ(form->memLog->Lines()->Count(), 7);
    EXPECT_EQ(SendMessageA(form->memLog->Handle(), WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(form->memLog->Text().size()));
    EXPECT_GT(form->memLog->Text().size(), 30000u);
    form->memLog->RecreateWnd();
    EXPECT_EQ(form->memLog->Lines()->Count(), 7);
    EXPECT_EQ(form->memLog->Lines()->Get(6), line);

    HWND ok = form->btnOk->Handle();
    EXPECT_EQ(GetWindowLongPtrA(ok, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(WindowTextOf(ok), "OK");
    EXPECT_EQ(form->btnOk->NumGlyphs(), 1);
    EXPECT_TRUE(form->btnOk->Default());
    EXPECT_EQ(WindowTextOf(form->btnGo->Handle()), "Go");
    EXPECT_EQ(WindowTextOf(form->edtName->Handle()), "archive.zip");
    EXPECT_EQ(form->lblName->FocusControl(), form->edtName);
}

TEST_F(GalleryTest, ListAndComboBoxesMatchTheirWindows) {
    HWND list = form->lstPlain->Handle();
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ListBoxText(list, 1), "beta");
    form->lstPlain->SetItemIndex(2);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    form->lstPlain->Items()->Add("delta");
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(ListBoxText(list, 3), "delta");

    // Items, selection and top line survive a new window.
    form->lstPlain->RecreateWnd();
    HWND again = form->lstPlain->Handle();
    EXPECT_EQ(SendMessageA(again, LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(again, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(form->lstPlain->ItemIndex(), 2);
    EXPECT_TRUE(form->lstPlain->Selected(2));

    // Several selected lines (the one selected before stays), kept across a new window too.
    form->lstPlain->SetMultiSelect(true);
    EXPECT_TRUE(form->lstPlain->Selected(2));
    form->lstPlain->SetSelected(0, true);
    form->lstPlain->SetSelected(3, true);
    EXPECT_EQ(SendMessageA(form->lstPlain->Handle(), LB_GETSELCOUNT, 0, 0), 3);
    form->lstPlain->RecreateWnd();
    EXPECT_EQ(SendMessageA(form->lstPlain->Handle(), LB_GETSELCOUNT, 0, 0), 3);
    EXPECT_EQ(form->lstPlain->SelCount(), 3);
    EXPECT_TRUE(form->lstPlain->Selected(3));
    EXPECT_FALSE(form->lstPlain->Selected(1));

    // A sorted list puts new lines in order, in the window too.
    form->lstPlain->SetSorted(true);
    form->lstPlain->Items()->Add("aardvark");
    EXPECT_EQ(ListBoxText(form->lstPlain->Handle(), 0), "aardvark");

    HWND style = form->cbxStyle->Handle();
    EXPECT_EQ(SendMessageA(style, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(style, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(WindowTextOf(style), "Two");
    form->cbxStyle->SetItemIndex(2);
    EXPECT_EQ(WindowTextOf(style), "Three");
    EXPECT_EQ(form->cbxStyle->Text(), "Three");

    EXPECT_EQ(WindowTextOf(form->cbxFind->Handle()), "*.zip");
    form->cbxFind->SetText("*.cab");
    EXPECT_EQ(WindowTextOf(form->cbxFind->Handle()), "*.cab");
    EXPECT_EQ(SendMessageA(form->cbxOwner->Handle(), CB_GETITEMHEIGHT, 0, 0), 18);

    // Objects ride along with the lines.
    form->cbxOwner->Items()->SetObjects(1, form->lstPlain);
    EXPECT_EQ(form->cbxOwner->Items()->Objects(1), form->lstPlain);
}

TEST_F(GalleryTest, DriveAndDirectoryListsShowTheDisk) {
    HWND drives = form->cbxDrive->Handle();
    ASSERT_GE(SendMessageA(drives, CB_GETCOUNT, 0, 0), 1);
    EXPECT_NE(GetWindowLongPtrA(drives, GWL_STYLE) & CBS_OWNERDRAWFIXED, 0);
    EXPECT_EQ(form->cbxDrive->Drive(), 'c');
    EXPECT_EQ(form->cbxDrive->Items()->Get(form->cbxDrive->ItemIndex()).substr(0, 2), "c:");

    HWND dirs = form->lstDirs->Handle();
    EXPECT_NE(GetWindowLongPtrA(dirs, GWL_STYLE) & LBS_OWNERDRAWFIXED, 0);
    EXPECT_TRUE(fw::SameText(form->lstDirs->Directory(), "C:\\windows"));
    EXPECT_EQ(ListBoxText(dirs, 0), "C:\\");
    EXPECT_TRUE(fw::SameText(ListBoxText(dirs, 1), "windows"));
    ASSERT_GT(SendMessageA(dirs, LB_GETCOUNT, 0, 0), 2) << "the subfolders of the directory follow it";
    EXPECT_EQ(SendMessageA(dirs, LB_GETCURSEL, 0, 0), 1);
    // Opening a subfolder makes it the directory.
    const int sub = form->lstDirs->Items()->IndexOf("system32");
    ASSERT_GE(sub, 2);
    form->lstDirs->SetItemIndex(sub);
    form->lstDirs->OpenCurrent();
    EXPECT_TRUE(fw::SameText(form->lstDirs->Directory(), "C:\\windows\\system32"));
    EXPECT_EQ(SendMessageA(dirs, LB_GETCURSEL, 0, 0), 2);
}

TEST_F(GalleryTest, OwnerDrawnVariableListBoxAnswersEachItemHeight) {
    HWND list = form->lstVar->Handle();
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0), VariableItemHeight(i)) << i;
    form->lstVar->RecreateWnd();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(SendMessageA(form->lstVar->Handle(), LB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0),
                  VariableItemHeight(i))
            << i;
}

TEST_F(GalleryTest, ButtonsFollowCodeAndClicks) {
    HWND check = form->chkShow->Handle();
    EXPECT_EQ(WindowTextOf(check), "Show details");
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_CHECKED);
    const int before = form->showClicks;
    form->chkShow->SetChecked(false);
    EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(form->showClicks, before + 1) << "a change made by code fires OnClick";
    SendMessageA(check, BM_CLICK, 0, 0);
    EXPECT_TRUE(form->chkShow->Checked());
    EXPECT_EQ(form->showClicks, before + 2);

    EXPECT_EQ(SendMessageA(form->rbFast->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(form->rbSafe->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form->rbSafe->Checked());
    EXPECT_FALSE(form->rbFast->Checked());
    EXPECT_EQ(SendMessageA(form->rbFast->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);

    EXPECT_EQ(form->rgMode->ItemIndex(), 1);
    EXPECT_EQ(SendMessageA(form->rgMode->Buttons(1)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    SendMessageA(form->rgMode->Buttons(2)->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form->rgMode->ItemIndex(), 2);
    EXPECT_EQ(SendMessageA(form->rgMode->Buttons(1)->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(GalleryTest, BarsAndHeadersMatchTheirWindows) {
    HWND bar = form->ToolBar1->Handle();
    EXPECT_EQ(SendMessageA(bar, TB_BUTTONCOUNT, 0, 0), 4);
    char text[64] = {};
    SendMessageA(bar, TB_GETBUTTONTEXTA, static_cast<WPARAM>(form->tbOpen->CommandId()), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "Open");
    form->tbBold->SetDown(true);
    EXPECT_TRUE(SendMessageA(bar, TB_ISBUTTONCHECKED, static_cast<WPARAM>(form->tbBold->CommandId()), 0));
    // A press and release posted at the button's place: the window reports the click.
    const LPARAM centre = At(form->tbOpen->Left() + form->tbOpen->Width() / 2, form->tbOpen->Top() + form->tbOpen->Height() / 2);
    PostMessageA(bar, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageA(bar, WM_LBUTTONUP, 0, centre);
    Pump();
    EXPECT_EQ(form->openClicks, 1);

    HWND status = form->StatusBar1->Handle();
    EXPECT_EQ(SendMessageA(status, SB_GETPARTS, 0, 0), 2);
    EXPECT_EQ(StatusText(status, 0), "Opened 1") << "the tool button's handler wrote it";
    form->StatusBar1->Panels()->Items(1)->SetText("4 items");
    EXPECT_EQ(StatusText(status, 1), "4 items");
    form->StatusBar1->SetSimplePanel(true);
    form->StatusBar1->SetSimpleText("Working");
    EXPECT_TRUE(SendMessageA(status, SB_ISSIMPLE, 0, 0));

    HWND header = form->HeaderControl1->Handle();
    EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 2);
    int width = 0;
    EXPECT_EQ(HeaderText(header, 0, &width), "Name");
    EXPECT_EQ(width, 150);
    fw::THeaderSection* added = form->HeaderControl1->Sections()->Add();
    added->SetText("Date");
    added->SetWidth(90);
    EXPECT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 3) << "a section added at run time shows";
    EXPECT_EQ(HeaderText(header, 2, &width), "Date");
    EXPECT_EQ(width, 90);
    form->HeaderControl1->SetHotTrack(true);
    EXPECT_NE(GetWindowLongPtrA(header, GWL_STYLE) & HDS_HOTTRACK, 0);

    HWND progress = form->ProgressBar1->Handle();
    EXPECT_EQ(SendMessageA(progress, PBM_GETPOS, 0, 0), 50);
    EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, FALSE, 0), 200);
    form->ProgressBar1->SetPosition(120);
    EXPECT_EQ(SendMessageA(progress, PBM_GETPOS, 0, 0), 120);

    EXPECT_GE(SendMessageA(form->CoolBar1->Handle(), RB_GETBANDCOUNT, 0, 0), 1);
    EXPECT_EQ(GetParent(form->cbxFind->Handle()), form->CoolBar1->Handle());
}

TEST_F(GalleryTest, PagesAndTabsMatchTheirWindows) {
    HWND tabs = form->TabControl1->Handle();
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 1);
    form->TabControl1->Tabs()->Add("Delta");
    EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 4);

    HWND pages = form->PageControl1->Handle();
    EXPECT_EQ(SendMessageA(pages, TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(form->PageControl1->ActivePage(), form->TabSheet2);
    EXPECT_EQ(SendMessageA(pages, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(IsWindowVisible(form->TabSheet2->Handle()));
    EXPECT_FALSE(IsWindowVisible(form->TabSheet1->Handle()));
    form->PageControl1->SetActivePage(form->TabSheet1);
    EXPECT_EQ(SendMessageA(pages, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(form->TabSheet1->Handle()));
    form->TabSheet1->SetCaption("Basic");
    char text[64] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(pages, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(text, "Basic");

    EXPECT_EQ(form->Notebook1->PageCount(), 2);
    EXPECT_EQ(form->Notebook1->ActivePage(), "First");
    EXPECT_TRUE(form->pgFirst->Visible());
    form->Notebook1->SetActivePage("second");
    EXPECT_EQ(form->Notebook1->PageIndex(), 1);
    EXPECT_TRUE(IsWindowVisible(form->pgSecond->Handle()));
    EXPECT_FALSE(IsWindowVisible(form->pgFirst->Handle()));
}

TEST_F(GalleryTest, ListAndTreeViewsMatchTheirWindows) {
    HWND view = form->lvFiles->Handle();
    ASSERT_EQ(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(ListViewText(view, 1, 0), "setup.exe");
    EXPECT_EQ(ListViewText(view, 1, 1), "35840");
    HWND header = reinterpret_cast<HWND>(SendMessageA(view, LVM_GETHEADER, 0, 0));
    EXPECT_EQ(HeaderText(header, 1), "Size");
    EXPECT_NE(GetWindowLongPtrA(view, GWL_STYLE) & LVS_SHAREIMAGELISTS, 0);

    form->lvFiles->Items()->Item(0)->SubItems()->SetStrings(0, "121");
    EXPECT_EQ(ListViewText(view, 0, 1), "121");
    form->lvFiles->AlphaSort();
    EXPECT_EQ(ListViewText(view, 0, 0), "data.zip");
    EXPECT_EQ(form->lvFiles->Items()->Item(0)->Caption(), "data.zip");
    EXPECT_EQ(form->lvFiles->Items()->Item(2)->Index(), 2);

    // Counted updates: the window redraws after the last EndUpdate only.
    form->lvFiles->BeginUpdate();
    form->lvFiles->BeginUpdate();
    form->lvFiles->EndUpdate();
    EXPECT_EQ(form->lvFiles->UpdateCount(), 1);
    form->lvFiles->EndUpdate();
    EXPECT_EQ(form->lvFiles->UpdateCount(), 0);

    form->lvFiles->Items()->Item(1)->SetSelected(true);
    form->lvFiles->SetViewStyle(fw::TViewStyle::vsList);
    form->lvFiles->RecreateWnd();
    view = form->lvFiles->Handle();
    EXPECT_EQ(SendMessageA(view, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(GetWindowLongPtrA(view, GWL_STYLE) & LVS_TYPEMASK, LVS_LIST);
    EXPECT_EQ(form->lvFiles->Selected(), form->lvFiles->Items()->Item(1));
    EXPECT_EQ(ListViewText(view, 1, 0), form->lvFiles->Items()->Item(1)->Caption());

    HWND tree = form->tvFolders->Handle();
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 4);
    fw::TTreeNode* root = form->tvFolders->Items()->GetFirstNode();
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(TreeText(tree, root->ItemId()), "C:\\");
    // CanExpand asks OnExpanding: a refused node stays closed, in the window too.
    fw::TTreeNode* windows = root->Item(0);
    struct Refuser {
        int asked = 0;
        void Expanding(fw::TObject*, fw::TTreeNode*, bool& allow) {
            ++asked;
            allow = false;
        }
    } refuser;
    form->tvFolders->OnExpanding = fw::TTVExpandingEvent(&refuser, &Refuser::Expanding);
    windows->Expand(false);
    EXPECT_EQ(refuser.asked, 1);
    EXPECT_FALSE(windows->Expanded());
    form->tvFolders->OnExpanding = fw::TTVExpandingEvent();
    windows->Expand(false);
    EXPECT_TRUE(windows->Expanded());
    root->Item(0)->Delete();
    EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 2);
    form->tvFolders->RecreateWnd();
    EXPECT_EQ(SendMessageA(form->tvFolders->Handle(), TVM_GETCOUNT, 0, 0), 2);

}

TEST_F(GalleryTest, DatePickerMatchesItsWindow) {
    form->DateTimePicker1->SetDateTime(fw::EncodeDate(2024, 2, 29));
    SYSTEMTIME st{};
    ASSERT_EQ(SendMessageA(form->DateTimePicker1->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st)),
              GDT_VALID);
    EXPECT_EQ(st.wYear, 2024);
    EXPECT_EQ(st.wMonth, 2);
    EXPECT_EQ(st.wDay, 29);
    EXPECT_EQ(static_cast<int>(form->DateTimePicker1->DateTime()), static_cast<int>(fw::EncodeDate(2024, 2, 29)));
    HWND rich = form->reNotes->Handle();
    EXPECT_EQ(form->reNotes->Lines()->Count(), 2);
    EXPECT_EQ(form->reNotes->Lines()->Get(1), "Second line");
    form->reNotes->Lines()->Add("Third line");
    EXPECT_EQ(SendMessageA(rich, EM_GETLINECOUNT, 0, 0), 3);
    form->reNotes->SetSelStart(0);
    form->reNotes->SetSelLength(5);
    EXPECT_EQ(form->reNotes->SelText(), "First");
    form->reNotes->SelAttributes()->SetStyle(fw::TFontStyles{fw::TFontStyle::fsBold});
    EXPECT_TRUE(form->reNotes->SelAttributes()->Style().Contains(fw::TFontStyle::fsBold));
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_NE(format.dwEffects & CFE_BOLD, 0u);
    // No limit unless asked: a long log is never cut.
    EXPECT_GE(SendMessageA(rich, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);

    // The clip may be missing: the control then stays empty and quiet.
    EXPECT_TRUE(form->Animate1->HandleAllocated());
}

TEST_F(GalleryTest, ScrollBoxScrollsByPostedMessages) {
    EXPECT_EQ(form->ScrollBox1->VertScrollBar()->Range(), 400);
    auto* box = fw::Make<TWatchingScrollBox>(form);
    box->SetBounds(700, 400, 120, 80);
    box->SetParent(form);
    auto* tall = fw::Make<fw::TPanel>(form);
    tall->SetBounds(0, 0, 80, 300);
    tall->SetParent(box);
    Pump();
    ASSERT_EQ(box->VertScrollBar()->Range(), 300);
    for (int i = 0; i < 3; ++i) PostMessageA(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    PostMessageA(box->Handle(), WM_VSCROLL, SB_ENDSCROLL, 0);
    Pump();
    const int step = box->VertScrollBar()->Increment();
    EXPECT_EQ(box->VertScrollBar()->Position(), 3 * step);
    EXPECT_EQ(tall->Top(), -3 * step);
    EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 3 * step);
    EXPECT_EQ(box->codes, (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
    PostMessageA(box->Handle(), WM_VSCROLL, SB_BOTTOM, 0);
    Pump();
    EXPECT_EQ(box->VertScrollBar()->Position(), 300 - box->ClientHeight());
}

TEST_F(GalleryTest, FreedListViewLeavesTheSystemImageListAlive) {
    SHFILEINFOA info{};
    auto system = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ASSERT_NE(system, nullptr);
    ASSERT_GT(ImageList_GetImageCount(system), 0);
    auto* images = fw::Make<fw::TImageList>(form);
    images->SetShareImages(true);
    images->SetHandle(system);
    auto* view = fw::Make<fw::TListView>(form);
    view->SetParent(form);
    view->SetSmallImages(images);
    view->SetViewStyle(fw::TViewStyle::vsReport);
    view->Items()->Add()->SetImageIndex(0);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(view->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0)), system);
    view->Free();
    images->Free();
    Pump();
    EXPECT_GT(ImageList_GetImageCount(system), 0);
}

TEST_F(GalleryTest, DragBetweenListViewsByPostedMouseMessages) {
    form->lvFiles->Items()->Item(0)->SetSelected(true);
    HWND source = form->lvFiles->Handle();
    HWND target = form->lvTarget->Handle();
    RECT item{};
    item.left = LVIR_LABEL;
    ASSERT_TRUE(SendMessageA(source, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item)));
    const int x = item.left + 10, y = (item.top + item.bottom) / 2;
    // The press and the first move go together: a list view may watch for the drag inside its press.
    PostMessageA(source, WM_MOUSEMOVE, 0, At(x, y));
    PostMessageA(source, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    PostMessageA(source, WM_MOUSEMOVE, MK_LBUTTON, At(x + 20, y + 20));
    Pump();
    ASSERT_EQ(fw::DragSource(), form->lvFiles);
    EXPECT_TRUE(form->lvFiles->Dragging());
    RECT client{};
    GetClientRect(target, &client);
    PostMessageA(target, WM_MOUSEMOVE, MK_LBUTTON, At(client.right / 2, client.bottom / 2));
    PostMessageA(target, WM_MOUSEMOVE, MK_LBUTTON, At(client.right / 2 + 2, client.bottom / 2));
    PostMessageA(target, WM_LBUTTONUP, 0, At(client.right / 2 + 2, client.bottom / 2));
    Pump();
    EXPECT_EQ(fw::DragSource(), nullptr);
    ASSERT_FALSE(form->log.empty());
    EXPECT_EQ(form->log.front(), "over lvFiles");
    EXPECT_EQ(form->log.back(), "drop lvFiles");
    ASSERT_EQ(form->lvTarget->Items()->Count(), 1);
    EXPECT_EQ(ListViewText(target, 0, 0), "readme.txt");
}

}  // namespace
}  // namespace gallery
