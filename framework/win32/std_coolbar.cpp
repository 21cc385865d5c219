// TCoolBar over the system "ReBarWindow32" class.
#include "framework/win32/std_coolbar.h"

namespace fw {

void TCoolBand::SetControl(TWinControl* value) {
    control_ = value;
    Changed(true);
}

void TCoolBand::SetText(const std::string& value) {
    text_ = value;
    Changed(true);
}

void TCoolBand::SetWidth(int value) {
    width_ = value;
    Changed(true);
}

void TCoolBand::SetMinHeight(int value) {
    minHeight_ = value;
    Changed(true);
}

void TCoolBand::SetBreak(bool value) {
    break_ = value;
    Changed(true);
}

void TCoolBand::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TCoolBand*>(source)) {
        control_ = other->control_;
        text_ = other->text_;
        width_ = other->width_;
        minHeight_ = other->minHeight_;
        break_ = other->break_;
        Changed(true);
        return;
    }
    TCollectionItem::Assign(source);
}

TCoolBands::TCoolBands(TCoolBar* bar) : TCollection(&TCollection::MakeItem<TCoolBand>, bar), bar_(bar) {}

void TCoolBands::Update(TCollectionItem*) { bar_->UpdateBands(); }

TCoolBar::TCoolBar(TComponent* owner) : TWinControl(owner), bands_(std::make_unique<TCoolBands>(this)) {
    controlStyle_ = csAcceptsControls | csDoubleClicks;
    SetBounds(0, 0, 150, 75);
    SetAlign(alTop);
    SetColor(clBtnFace);
}

TCoolBar::~TCoolBar() = default;

void TCoolBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, REBARCLASSNAMEA);
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | RBS_VARHEIGHT | RBS_BANDBORDERS;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCoolBar::CreateWindowState() { UpdateBands(); }

void TCoolBar::Loaded() {
    TWinControl::Loaded();
    UpdateBands();
}

TCoolBand* TCoolBar::FindBand(TControl* control) const {
    for (int i = 0; i < bands_->Count(); ++i)
        if (bands_->Items(i)->Control() == control) return bands_->Items(i);
    return nullptr;
}

void TCoolBar::UpdateBands() {
    if (!HandleAllocated() || InState(csLoading) || updating_) return;
    updating_ = true;
    HWND window = Handle();
    while (SendMessageA(window, RB_GETBANDCOUNT, 0, 0) > 0) SendMessageA(window, RB_DELETEBAND, 0, 0);
    // Windowed children without a band get one of their own.
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* child = dynamic_cast<TWinControl*>(Controls(i)); child && !FindBand(child)) {
            bands_->BeginUpdate();
            bands_->Add()->SetControl(child);
            bands_->EndUpdate();
        }
    for (int i = 0; i < bands_->Count(); ++i) {
        TCoolBand* band = bands_->Items(i);
        REBARBANDINFOA info{};
        info.cbSize = REBARBANDINFOA_V6_SIZE;
        info.fMask = RBBIM_STYLE | RBBIM_TEXT | RBBIM_SIZE | RBBIM_CHILDSIZE | RBBIM_ID;
        info.fStyle = RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS | (band->Break() ? RBBS_BREAK : 0);
        info.lpText = const_cast<char*>(band->Text().c_str());
        info.cx = static_cast<UINT>(band->Width());
        info.wID = static_cast<UINT>(i);
        TWinControl* control = band->Control();
        if (control && control->Parent() == this) {
            info.fMask |= RBBIM_CHILD;
            info.hwndChild = control->Handle();
            info.cxMinChild = 0;
            info.cyMinChild = static_cast<UINT>(std::max(band->MinHeight(), control->Height()));
        } else {
            info.cyMinChild = static_cast<UINT>(band->MinHeight());
        }
        SendMessageA(window, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&info));
    }
    updating_ = false;
}

void TCoolBar::WMPaint(TMessage& message) { DefaultHandler(message); }

void TCoolBar::AlignControls(TControl*, TRect&) {
    // The window places the controls of its bands.
}

void TCoolBar::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    for (int i = 0; i < bands_->Count(); ++i)
        if (bands_->Items(i)->Control() == component) bands_->Items(i)->SetControl(nullptr);
}

void RegisterCoolBarClasses() {
    Class<TCoolBand, TCollectionItem>("TCoolBand")
        .Prop("Control", &TCoolBand::Control, &TCoolBand::SetControl)
        .Prop("Text", &TCoolBand::Text, &TCoolBand::SetText)
        .Prop("Width", &TCoolBand::Width, &TCoolBand::SetWidth)
        .Prop("MinHeight", &TCoolBand::MinHeight, &TCoolBand::SetMinHeight)
        .Prop("Break", &TCoolBand::Break, &TCoolBand::SetBreak);
    Class<TCoolBands, TCollection>("TCoolBands");
    Class<TCoolBar, TWinControl>("TCoolBar").Prop("Bands", &TCoolBar::Bands, &TCoolBar::SetBands);
}

}  // namespace fw
