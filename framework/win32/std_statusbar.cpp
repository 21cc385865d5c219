// TStatusBar and TProgressBar.
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

// ---- TProgressBar -----------------------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 150, 16); }

void TProgressBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, PROGRESS_CLASSA);
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TProgressBar::CreateWindowState() {
    SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::SetMin(int value) {
    min_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TProgressBar::SetMax(int value) {
    max_ = value;
    if (HandleAllocated()) SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

int TProgressBar::Position() {
    if (HandleAllocated()) position_ = static_cast<int>(SendMessageA(Handle(), PBM_GETPOS, 0, 0));
    return position_;
}

void TProgressBar::SetPosition(int value) {
    position_ = std::clamp(value, min_, std::max(min_, max_));
    if (HandleAllocated()) SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
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
    Class<TProgressBar, TWinControl>("TProgressBar")
        .Prop("Min", &TProgressBar::Min, &TProgressBar::SetMin)
        .Prop("Max", &TProgressBar::Max, &TProgressBar::SetMax)
        .Prop("Position", &TProgressBar::Position, &TProgressBar::SetPosition)
        .Prop("Step", &TProgressBar::Step, &TProgressBar::SetStep);
}

}  // namespace fw
