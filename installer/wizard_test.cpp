// The wizard's rules without windows: the order and moves of the page host, its place on the screen,
// the folders the folder dialog opens on and makes, and the dialog managers' answers to the install
// component's notifications (the pages themselves are tested under Wine).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "framework/core/lists.h"
#include "installer/dialog_manager.h"
#include "installer/dialog_placement.h"
#include "installer/exceptions.h"
#include "installer/folder_paths.h"
#include "installer/install_file.h"
#include "installer/page_navigation.h"
#include "installer/testkit/support.h"

namespace inst {
namespace {

struct Page {
    int order;
    bool skipped;
};

std::vector<int> ShownOrders(std::vector<Page> pages) {
    SortPagesByOrder(pages, [](const Page& p) { return p.order; });
    PageNavigation nav(static_cast<int>(pages.size()), [&](int i) { return pages[static_cast<size_t>(i)].skipped; });
    std::vector<int> shown;
    for (int page = nav.First(), previous = -1; page >= 0 && page != previous; previous = page, page = nav.Next(page))
        shown.push_back(pages[static_cast<size_t>(page)].order);
    return shown;
}

TEST(PageNavigationTest, PagesShowInOrderWhateverTheirRegistration) {
    EXPECT_EQ(ShownOrders({{5, false}, {60, false}, {45, false}}), (std::vector<int>{5, 45, 60}));
    EXPECT_EQ(ShownOrders({{60, false}, {45, false}, {5, false}, {45, false}}), (std::vector<int>{5, 45, 45, 60}));
    EXPECT_EQ(ShownOrders({}), std::vector<int>{});
    EXPECT_EQ(ShownOrders({{10, true}}), std::vector<int>{}) << "a manager whose pages are all skipped shows nothing";
}

TEST(PageNavigationTest, SkippedPagesArePassedOverBothWays) {
    //                      0      1     2      3
    const bool skipped[] = {true, false, true, false};
    PageNavigation nav(4, [&](int i) { return skipped[i]; });
    EXPECT_EQ(nav.First(), 1) << "page 0 tried backwards, then forwards";
    EXPECT_EQ(nav.Next(1), 3);
    EXPECT_EQ(nav.Back(3), 1);
    EXPECT_EQ(nav.Back(1), 1) << "nothing before: Back stays";
    EXPECT_TRUE(nav.IsFirst(1));
    EXPECT_FALSE(nav.IsFirst(3));
    EXPECT_TRUE(nav.IsLast(3));
    EXPECT_EQ(nav.Next(3), -1) << "Next on the last page finishes";
}

TEST(PageNavigationTest, ASkippedLastPageMakesTheOneBeforeItTheLast) {
    const bool skipped[] = {false, false, true};
    PageNavigation nav(3, [&](int i) { return skipped[i]; });
    EXPECT_TRUE(nav.IsLast(1));
    EXPECT_FALSE(nav.IsLast(0));
    const int next = nav.Next(1);
    EXPECT_TRUE(next == -1 || next == 1) << "Next on page 1 finishes the host (" << next << ")";
    EXPECT_EQ(ShownOrders({{5, false}, {45, false}, {60, true}}), (std::vector<int>{5, 45}));
}

TEST(PageNavigationTest, TheHostClosesOnlyWhenFinishedOrCancelled) {
    EXPECT_FALSE(PageNavigation::CanClose(false, 0)) << "the system menu's Close";
    EXPECT_FALSE(PageNavigation::CanClose(false, 2)) << "the plain cancel result of Alt+F4";
    EXPECT_TRUE(PageNavigation::CanClose(false, kPageAbort));
    EXPECT_TRUE(PageNavigation::CanClose(true, kPageOk));
}

TEST(DialogPlacementTest, TheTableInBothRoundings) {
    using P = TQuenfordDialogPosition;
    const ScreenArea screen{1025, 769, 18};
    // Free space 547 x 374: the centre is 273.5 across, 187 down.
    struct Case {
        P position;
        DialogPlace truncated, nearest;
    } cases[] = {
        {P::qdpCenterLeft, {10, 207}, {10, 207}},
        {P::qdpCenter, {283, 207}, {284, 207}},
        {P::qdpCenterRight, {537, 207}, {537, 207}},
        {P::qdpBottomLeft, {10, 336}, {10, 336}},
        {P::qdpBottomCenter, {283, 336}, {284, 336}},
        {P::qdpBottomRight, {537, 336}, {537, 336}},
        {P::qdpTopLeft, {10, 20}, {10, 20}},
        {P::qdpTopCenter, {283, 20}, {284, 20}},
        {P::qdpTopRight, {537, 20}, {537, 20}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlaceDialog(c.position, 10, 20, 478, 395, screen, PlacementRounding::Truncate), c.truncated)
            << static_cast<int>(c.position);
        EXPECT_EQ(PlaceDialog(c.position, 10, 20, 478, 395, screen, PlacementRounding::NearestEven), c.nearest)
            << static_cast<int>(c.position);
    }
    // Halves go to the even neighbour: 272.5 becomes 272, 273.5 becomes 274; truncation keeps 272.
    EXPECT_EQ(PlaceDialog(P::qdpCenter, 0, 0, 478, 395, {1023, 768, 18}, PlacementRounding::NearestEven).left, 272);
    EXPECT_EQ(PlaceDialog(P::qdpCenter, 0, 0, 478, 395, {1023, 768, 18}, PlacementRounding::Truncate).left, 272);
    // A window wider than the screen: the whole part of a negative half.
    EXPECT_EQ(PlaceDialog(P::qdpCenter, 0, 0, 1025, 395, {1024, 768, 18}, PlacementRounding::Truncate).left, 0);
}

TEST(DialogPlacementTest, BottomRightLeavesTheOffsetsAndTheCaption) {
    const DialogPlace p = PlaceDialog(TQuenfordDialogPosition::qdpBottomRight, 10, 20, 478, 395, {1024, 768, 19},
                                      PlacementRounding::Truncate);
    EXPECT_EQ(p.left + 478, 1024 - 10) << "10 pixels from the right edge";
    EXPECT_EQ(p.top + 395, 768 - 20 - 19) << "20 pixels and the caption height above the bottom";
}

TEST(FolderPathsTest, TheNearestExistingFolder) {
    const std::set<std::string> folders = {"C:", "C:\\", "C:\\Program Files", "D:\\Data"};
    FolderExists exists = [&](const std::string& p) { return folders.count(p) > 0; };
    EXPECT_EQ(NearestExistingFolder("C:\\Program Files\\Morvix Tools\\Zip", exists), "C:\\Program Files")
        << "the last two folders are missing";
    EXPECT_EQ(BrowserSelection("C:\\Program Files\\Morvix Tools\\Zip", exists), "C:\\Program Files");
    EXPECT_EQ(BrowserSelection("C:\\Other Place\\Zip", exists), "C:\\") << "a drive becomes its root";
    EXPECT_EQ(BrowserSelection("C:", exists), "C:\\");
    EXPECT_EQ(NearestExistingFolder("E:\\Nothing\\Here", exists), "");
    EXPECT_EQ(BrowserSelection("D:\\Data", exists), "D:\\Data");
    EXPECT_EQ(MissingFolders("C:\\Program Files\\Morvix Tools\\Zip", exists),
              (std::vector<std::string>{"C:\\Program Files\\Morvix Tools", "C:\\Program Files\\Morvix Tools\\Zip"}));
    EXPECT_EQ(MissingFolders("C:\\Other Place\\Zip\\", exists),
              (std::vector<std::string>{"C:\\Other Place", "C:\\Other Place\\Zip"}))
        << "a trailing backslash names the same folder";
    EXPECT_TRUE(MissingFolders("D:\\Data", exists).empty());
}

// The pages as the Windows side would show them: every call recorded.
class RecordedPages : public DialogPages {
public:
    RecordedPages() { SetDialogPages(this); }
    ~RecordedPages() override { SetDialogPages(nullptr); }
    void ShowDialogs(TDialogManager& m) override { calls.push_back("show " + m.Name()); }
    void UpdateCopyForms(TDialogManager& m, TFileStatusParameter* s, TDownloadStatusParameter* d) override {
        calls.push_back("copy " + m.Name() + " " + (s ? s->FileName : d->FileName));
        if (m.CopyForms().empty()) m.CopyForms().push_back(&m);  // stands for a shown page
    }
    void CloseCopyForms(TDialogManager& m) override { calls.push_back("close " + m.Name()); }
    void ShowChangeDisk(TDialogManager& m, TCustomInstallFile& f, TDiskParameter& d) override {
        calls.push_back("disk " + m.Name() + " " + f.Name() + " " + std::to_string(d.DiskNumber));
    }
    std::vector<std::string> calls;
};

class DialogManagers : public test::DefinitionTest {
protected:
    TDialogManager* Manager(const std::string& name, TManagerType type) {
        auto* m = fw::Make<TDialogManager>(def);
        m->SetName(name);
        m->SetContainer(root);
        m->SetManagerType(type);
        return m;
    }
};

TEST_F(DialogManagers, EachManagerAnswersItsMoment) {
    RecordedPages pages;
    Manager("Before", TManagerType::dmBeforeInstall);
    Manager("Good", TManagerType::dmAfterGoodInstall);
    Manager("Bad", TManagerType::dmAfterBadInstall);
    Manager("Copy", TManagerType::dmDuringCopyFiles);
    Manager("Disk", TManagerType::dmChangeDisk);
    Manager("Reboot", TManagerType::dmReboot);
    EXPECT_EQ(FindDialogManager(TManagerType::dmReboot)->Name(), "Reboot");
    for (int code : std::vector<int>{kNotifyBeforeInstall, kNotifyReboot, kNotifyAfterGoodInstall, kNotifyAfterBadInstall, -986})
        root->Broadcast(root, code, nullptr);
    EXPECT_EQ(pages.calls, (std::vector<std::string>{"show Before", "show Reboot", "show Good", "show Bad"}));

    pages.calls.clear();
    TFileStatusParameter status;
    status.FileName = "MorvixZip.exe";
    root->Broadcast(root, kNotifyFileStatus, &status);
    TDownloadStatusParameter download;
    download.FileName = "files.1";
    root->Broadcast(root, kNotifyDownloadStatus, &download);
    root->Broadcast(root, kNotifyOperationEnded, nullptr);
    root->Broadcast(root, kNotifyOperationEnded, nullptr);
    EXPECT_EQ(pages.calls,
              (std::vector<std::string>{"copy Copy MorvixZip.exe", "copy Copy files.1", "close Copy"}))
        << "copy pages close once";

    // An aborted copy sends no end: the result pages close the copy pages first.
    pages.calls.clear();
    root->Broadcast(root, kNotifyFileStatus, &status);
    root->Broadcast(root, kNotifyBeforeBadPages, nullptr);
    EXPECT_EQ(pages.calls, (std::vector<std::string>{"copy Copy MorvixZip.exe", "close Copy"}));
}

TEST_F(DialogManagers, WrongParametersAreNamed) {
    RecordedPages pages;
    Manager("DialogManager3", TManagerType::dmDuringCopyFiles);
    auto* disk = Manager("DialogManager4", TManagerType::dmChangeDisk);
    auto message = [&](int code, fw::TObject* param) {
        try {
            root->Broadcast(root, code, param);
        } catch (const fw::Exception& e) {
            return e.Message();
        }
        return std::string("nothing raised");
    };
    TDiskParameter wrong;
    EXPECT_EQ(message(kNotifyFileStatus, nullptr), "DialogManager3 got a nil PO parameter");
    EXPECT_EQ(message(kNotifyFileStatus, &wrong),
              "The PO object passed to DialogManager3 is not a TFileStatusParameter object");
    EXPECT_EQ(message(kNotifyDownloadStatus, &wrong),
              "The PO object passed to DialogManager3 is not a TDownloadStatusParameter object");

    // The change-disk manager checks nothing while no page is registered for it.
    ChangeDiskFormList().Clear();
    EXPECT_EQ(message(kNotifyChangeDisk, nullptr), "nothing raised");
    ChangeDiskFormList().Add(fw::ClassInfoOf<TDialogManager>());  // any class: the seam shows nothing
    EXPECT_EQ(message(kNotifyChangeDisk, nullptr),
              "The ParameterObject is Nil in the TDialogManager. Cannot show the change disk form");
    EXPECT_EQ(message(kNotifyChangeDisk, &wrong), "TChangeDiskDlg--PO is not a TList object");
    fw::TList list;
    ListAdd(list, &wrong);
    EXPECT_EQ(message(kNotifyChangeDisk, &list), "TChangeDiskDlg--Not engouh parameters for status event");
    ListAdd(list, &wrong);
    EXPECT_EQ(message(kNotifyChangeDisk, &list), "TChangeDiskDlg says bad first parameter");
    TInstallFile* file = AddFile(root, "a.txt", "a");
    list.Clear();
    ListAdd(list, file);
    ListAdd(list, file);
    EXPECT_EQ(message(kNotifyChangeDisk, &list), "TChangeDiskDlg says bad second parameter");
    list.Clear();
    wrong.DiskNumber = 2;
    ListAdd(list, file);
    ListAdd(list, &wrong);
    EXPECT_EQ(message(kNotifyChangeDisk, &list), "nothing raised");
    EXPECT_EQ(pages.calls.back(), "disk DialogManager4 a_txt 2");
    ChangeDiskFormList().Clear();

    EXPECT_THROW(disk->AddDialog(nullptr), fw::Exception);
    try {
        InstallFormList().Entry(InstallFormList().Count());
        ADD_FAILURE() << "an index past the list";
    } catch (const fw::Exception& e) {
        EXPECT_EQ(e.Message(), std::to_string(InstallFormList().Count()) + " is an invalid index in the BIFList");
    }
}

TEST_F(DialogManagers, ADialogMovesBetweenManagersAndLeavesWithThem) {
    auto* before = Manager("Before", TManagerType::dmBeforeInstall);
    auto* good = Manager("Good", TManagerType::dmAfterGoodInstall);
    auto* dialog = fw::Make<TCustomBaseInstallDlg>(def);
    dialog->SetManager(before);
    EXPECT_EQ(before->Dialogs().size(), 1u);
    dialog->SetManager(good);
    EXPECT_TRUE(before->Dialogs().empty());
    EXPECT_EQ(good->Dialogs().front(), dialog);
    good->Free();
    EXPECT_EQ(dialog->Manager(), nullptr) << "the manager going away";
    // A page dialog rounds its centre to the nearest integer, halves to even.
    dialog->SetWidth(478);
    EXPECT_EQ(dialog->Place({1025, 768, 18}).left, 274);
}

}  // namespace
}  // namespace inst
