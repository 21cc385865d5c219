// bench_listview: 100,000 list-view items added inside BeginUpdate/EndUpdate and sorted, through
// TListView and, as the peer, through the bare system list view (texts stored in the window, sorted
// by LVM_SORTITEMS). Prints items per second and the ratio to the peer.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/callback.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_listview.h"

namespace {

constexpr int kItems = 100000;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Names in no particular order, so sorting has work to do.
std::vector<std::string> MakeNames() {
    std::vector<std::string> names;
    names.reserve(kItems);
    uint32_t x = 12345;
    for (int i = 0; i < kItems; ++i) {
        x = x * 1103515245u + 12345u;
        names.push_back("file" + std::to_string((x >> 8) % 1000000) + "_" + std::to_string(i) + ".txt");
    }
    return names;
}

struct Timing {
    double add = 0;
    double sort = 0;
};

Timing Framework(fw::TForm* form, const std::vector<std::string>& names) {
    auto* view = fw::Make<fw::TListView>(form);
    view->SetViewStyle(fw::TViewStyle::vsReport);
    view->Columns()->Add()->SetCaption("Name");
    view->Columns()->Add()->SetCaption("Size");
    view->SetParent(form);
    Timing t;
    auto start = Clock::now();
    view->BeginUpdate();
    for (int i = 0; i < kItems; ++i) {
        fw::TListItem* item = view->Items()->Add();
        item->SetCaption(names[static_cast<size_t>(i)]);
        item->SubItems()->Add(std::to_string(i));
    }
    view->EndUpdate();
    t.add = Seconds(start);
    start = Clock::now();
    view->AlphaSort();
    t.sort = Seconds(start);
    view->Free();
    return t;
}

int CALLBACK PeerCompare(LPARAM a, LPARAM b, LPARAM context) {
    FW_CALLBACK_BODY(0, {
        const auto& names = *reinterpret_cast<const std::vector<std::string>*>(context);
        return fw::AnsiCompareText(names[static_cast<size_t>(a)], names[static_cast<size_t>(b)]);
    })
}

Timing Peer(fw::TForm* form, const std::vector<std::string>& names) {
    HWND view = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHAREIMAGELISTS, 0, 0,
                                400, 300, form->Handle(), nullptr, GetModuleHandleA(nullptr), nullptr);
    for (int c = 0; c < 2; ++c) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = 100;
        column.pszText = const_cast<char*>(c == 0 ? "Name" : "Size");
        SendMessageA(view, LVM_INSERTCOLUMNA, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
    }
    Timing t;
    auto start = Clock::now();
    SendMessageA(view, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < kItems; ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = i;
        item.pszText = const_cast<char*>(names[static_cast<size_t>(i)].c_str());
        item.lParam = i;
        SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        const std::string size = std::to_string(i);
        LVITEMA sub{};
        sub.iSubItem = 1;
        sub.pszText = const_cast<char*>(size.c_str());
        SendMessageA(view, LVM_SETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&sub));
    }
    SendMessageA(view, WM_SETREDRAW, TRUE, 0);
    t.add = Seconds(start);
    start = Clock::now();
    SendMessageA(view, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&names), reinterpret_cast<LPARAM>(&PeerCompare));
    t.sort = Seconds(start);
    DestroyWindow(view);
    return t;
}

}  // namespace

int main() {
    fw::InitApplication();
    fw::RegisterListViewClasses();
    fw::Application->Initialize();
    fw::TForm* form = fw::TForm::CreateNew(nullptr);
    form->SetBounds(0, 0, 500, 400);
    const std::vector<std::string> names = MakeNames();
    const Timing ours = Framework(form, names);
    const Timing peer = Peer(form, names);
    std::printf("list view, %d items: add %.0f items/s (bare list view %.0f items/s, ratio %.2f); "
                "sort %.0f items/s (bare %.0f items/s, ratio %.2f)\n",
                kItems, kItems / ours.add, kItems / peer.add, peer.add / ours.add, kItems / ours.sort,
                kItems / peer.sort, peer.sort / ours.sort);
    form->Free();
    fw::DoneApplication();
    return 0;
}
