// TStatusBar.
#include "framework/win32/std_statusbar.h"

namespace fw {

void TStatusPanel::SetText(const std::string& value) {
    text_ = value;
    Changed(false);
}

void TStatusPanel::SetWidth(int value) {
    width_ = value;
    Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment value) {
    alignment_ = value;
    Changed(false);
}

void TStatusPanel::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TStatusPanel*>(source)) {
        text_ = other->text_;
        width_ = other->width_;
        alignment_ = other->alignment_;
        Changed(true);
        return;
    }
    TCollectionItem::Assign(source);
}

TStatusPanels::TStatusPanels(TStatusBar* bar) : TCollection(&TCollection::MakeItem<TStatusPanel>, bar), bar_(bar) {}

void TStatusPanels::Update(TCollectionItem*) { bar_->UpdatePanels(); }

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), panels_(std::make_unique<TStatusPanels>(this)) {
    controlStyle_ = csCaptureMouse | csClickEvents | csDoubleClicks;
    SetColor(clBtnFace);
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, STATUSCLASSNAMEA);
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY;
    if (sizeGrip_) params.Style |= SBARS_SIZEGRIP;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TStatusBar::CreateWindowState() { UpdatePanels(); }

void TStatusBar::UpdatePanels() {
    if (!HandleAllocated()) return;
    HWND window = Handle();
    SendMessageA(window, SB_SIMPLE, simplePanel_ ? TRUE : FALSE, 0);
    if (simplePanel_) {
        SendMessageA(window, SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
        return;
    }
    const int count = std::max(panels_->Count(), 1);
    std::vector<int> edges(static_cast<size_t>(count));
    int right = 0;
    for (int i = 0; i < panels_->Count(); ++i) {
        right += panels_->Items(i)->Width();
        edges[static_cast<size_t>(i)] = right;
    }
    if (panels_->Count() > 0) edges.back() = -1;
    else edges[0] = -1;
    SendMessageA(window, SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < panels_->Count(); ++i) {
        TStatusPanel* panel = panels_->Items(i);
        std::string text = panel->Text();
        if (panel->Alignment() == TAlignment::taCenter) text = "\t" + text;
        if (panel->Alignment() == TAlignment::taRightJustify) text = "\t\t" + text;
        SendMessageA(window, SB_SETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void TStatusBar::SetSimplePanel(bool value) {
    simplePanel_ = value;
    UpdatePanels();
}

void TStatusBar::SetSimpleText(const std::string& value) {
    simpleText_ = value;
    if (simplePanel_ && HandleAllocated())
        SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TStatusBar::SetSizeGrip(bool value) {
    if (sizeGrip_ == value) return;
    sizeGrip_ = value;
    RecreateWnd();
}

void TStatusBar::Dispatch(TMessage& message) {
    if (message.Msg == CN_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
        if (header->code == NM_CLICK) Click();
        if (header->code == NM_DBLCLK) DblClick();
        message.Result = 0;
        return;
    }
    TWinControl::Dispatch(message);
}

void RegisterStatusBarClasses() {
    RegisterStdSupport();
    Class<TStatusPanel, TCollectionItem>("TStatusPanel")
        .Prop("Text", &TStatusPanel::Text, &TStatusPanel::SetText)
        .Prop("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth)
        .Prop("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment);
    Class<TStatusPanels, TCollection>("TStatusPanels");
    Class<TStatusBar, TWinControl>("TStatusBar")
        .Prop("Panels", &TStatusBar::Panels, &TStatusBar::SetPanels)
        .Prop("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel)
        .Prop("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText)
        .Prop("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip);
}

}  // namespace fw
