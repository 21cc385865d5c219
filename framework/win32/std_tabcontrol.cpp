// Tab strips over the system "SysTabControl32" class.
#include "framework/win32/std_tabcontrol.h"

namespace fw {

TCustomTabControl::TCustomTabControl(TComponent* owner) : TWinControl(owner), tabs_(new TControlItems(this)) {
    controlStyle_ = csAcceptsControls | csDoubleClicks;
    SetBounds(0, 0, 289, 193);
    SetTabStop(true);
    SetColor(clBtnFace);
}

TCustomTabControl::~TCustomTabControl() { delete tabs_; }

void TCustomTabControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_TABCONTROLA);
    params.Style |= WS_CLIPCHILDREN;
    if (multiLine_) params.Style |= TCS_MULTILINE;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTabControl::CreateWindowState() {
    for (int i = 0; i < tabs_->Count(); ++i) ItemInserted(i, tabs_->Get(i));
    if (savedIndex_ >= 0) SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(savedIndex_), 0);
    Realign();
}

void TCustomTabControl::DestroyWnd() {
    if (HandleAllocated()) savedIndex_ = TabIndex();
    TWinControl::DestroyWnd();
}

void TCustomTabControl::ItemInserted(int index, const std::string& s) {
    if (!HandleAllocated()) return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(s.c_str());
    SendMessageA(Handle(), TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    Realign();
}

void TCustomTabControl::ItemDeleted(int index) {
    if (HandleAllocated()) {
        SendMessageA(Handle(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
        Realign();
    } else if (savedIndex_ >= tabs_->Count()) {
        savedIndex_ = tabs_->Count() - 1;
    }
}

void TCustomTabControl::ItemsCleared() {
    if (HandleAllocated()) SendMessageA(Handle(), TCM_DELETEALLITEMS, 0, 0);
    savedIndex_ = -1;
}

void TCustomTabControl::ItemChanged(int index, const std::string& s) {
    if (!HandleAllocated()) return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(s.c_str());
    SendMessageA(Handle(), TCM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

int TCustomTabControl::TabIndex() {
    return HandleAllocated() ? static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0)) : savedIndex_;
}

void TCustomTabControl::SetTabIndex(int value) {
    if (!HandleAllocated()) {
        savedIndex_ = value;
        return;
    }
    SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(value), 0);
}

void TCustomTabControl::SetMultiLine(bool value) {
    if (multiLine_ == value) return;
    multiLine_ = value;
    RecreateWnd();
}

TRect TCustomTabControl::DisplayRect() {
    TRect rect = ClientRect();
    AdjustClientRect(rect);
    return rect;
}

void TCustomTabControl::AdjustClientRect(TRect& rect) {
    if (!HandleAllocated()) return;
    RECT r{rect.Left, rect.Top, rect.Right, rect.Bottom};
    SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    rect = Rect(r.left, r.top, r.right, r.bottom);
}

void TCustomTabControl::WMSize(TMessage& message) {
    TWinControl::WMSize(message);
    Realign();
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

void TCustomTabControl::Change() {
    if (OnChange) OnChange(this);
}

void TCustomTabControl::Dispatch(TMessage& message) {
    if (message.Msg == CN_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
        switch (header->code) {
            case TCN_SELCHANGING: message.Result = CanChange() ? FALSE : TRUE; return;
            case TCN_SELCHANGE:
                Change();
                message.Result = 0;
                return;
            default: break;
        }
    }
    TWinControl::Dispatch(message);
}

void RegisterTabControlClasses() {
    Class<TCustomTabControl, TWinControl>("TCustomTabControl")
        .Prop("MultiLine", &TCustomTabControl::MultiLine, &TCustomTabControl::SetMultiLine)
        .Event("OnChanging", &TCustomTabControl::OnChanging)
        .Event("OnChange", &TCustomTabControl::OnChange);
    Class<TTabControl, TCustomTabControl>("TTabControl")
        .Prop("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs)
        .Prop("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex);
}

}  // namespace fw
