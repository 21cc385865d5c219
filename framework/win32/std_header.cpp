// THeaderControl over the system "SysHeader32" class.
#include "framework/win32/std_header.h"

namespace fw {

// ---- sections -------------------------------------------------------------------------------------

THeaderSection::THeaderSection(TCollection* collection) : TCollectionItem(collection) {}

void THeaderSection::SetText(const std::string& value) {
    text_ = value;
    Changed(false);
}

void THeaderSection::SetWidth(int value) {
    value = std::clamp(value, minWidth_, std::max(maxWidth_, minWidth_));
    if (width_ == value) return;
    width_ = value;
    Changed(true);
}

void THeaderSection::SetMinWidth(int value) {
    minWidth_ = std::max(value, 0);
    if (width_ < minWidth_) SetWidth(minWidth_);
}

void THeaderSection::SetMaxWidth(int value) {
    maxWidth_ = std::max(value, 0);
    if (width_ > maxWidth_) SetWidth(maxWidth_);
}

void THeaderSection::SetAlignment(TAlignment value) {
    alignment_ = value;
    Changed(false);
}

void THeaderSection::SetStyle(THeaderSectionStyle value) {
    style_ = value;
    Changed(false);
}

int THeaderSection::Left() const {
    int left = 0;
    for (int i = 0; i < Index(); ++i) left += static_cast<THeaderSection*>(Collection()->Items(i))->width_;
    return left;
}

void THeaderSection::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<THeaderSection*>(source)) {
        text_ = other->text_;
        width_ = other->width_;
        minWidth_ = other->minWidth_;
        maxWidth_ = other->maxWidth_;
        alignment_ = other->alignment_;
        allowClick_ = other->allowClick_;
        style_ = other->style_;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(source);
}

THeaderSections::THeaderSections(THeaderControl* header)
    : TCollection(&TCollection::MakeItem<THeaderSection>, header), header_(header) {}

void THeaderSections::Update(TCollectionItem*) { header_->UpdateSections(); }

// ---- THeaderControl -----------------------------------------------------------------------------------

THeaderControl::THeaderControl(TComponent* owner)
    : TWinControl(owner), sections_(std::make_unique<THeaderSections>(this)), canvas_(std::make_unique<TCanvas>()) {
    controlStyle_ = csDoubleClicks;
    SetAlign(alTop);
    SetBounds(0, 0, 250, 17);
}

THeaderControl::~THeaderControl() = default;

void THeaderControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_HEADERA);
    params.Style |= HDS_HORZ | HDS_FULLDRAG;
    if (style_ == THeaderStyle::hsButtons) params.Style |= HDS_BUTTONS;
    if (hotTrack_) params.Style |= HDS_HOTTRACK;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void THeaderControl::CreateWindowState() { UpdateSections(); }

void THeaderControl::UpdateSections() {
    if (!HandleAllocated()) return;
    HWND window = Handle();
    while (SendMessageA(window, HDM_GETITEMCOUNT, 0, 0) > 0) SendMessageA(window, HDM_DELETEITEM, 0, 0);
    for (int i = 0; i < sections_->Count(); ++i) {
        THeaderSection* s = sections_->Items(i);
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT | HDI_LPARAM;
        item.cxy = s->Width();
        item.pszText = const_cast<char*>(s->Text().c_str());
        item.fmt = s->Alignment() == TAlignment::taCenter ? HDF_CENTER
                   : s->Alignment() == TAlignment::taRightJustify ? HDF_RIGHT
                                                                   : HDF_LEFT;
        item.fmt |= s->Style() == THeaderSectionStyle::hsOwnerDraw ? HDF_OWNERDRAW : HDF_STRING;
        item.lParam = i;
        SendMessageA(window, HDM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

void THeaderControl::SetStyle(THeaderStyle value) {
    if (style_ == value) return;
    style_ = value;
    SetWindowStyleBits(HandleAllocated() ? Handle() : nullptr, HDS_BUTTONS, value == THeaderStyle::hsButtons);
}

void THeaderControl::SetHotTrack(bool value) {
    if (hotTrack_ == value) return;
    hotTrack_ = value;
    SetWindowStyleBits(HandleAllocated() ? Handle() : nullptr, HDS_HOTTRACK, value);
}

void THeaderControl::SectionClick(THeaderSection* section) {
    if (OnSectionClick) OnSectionClick(this, section);
}

void THeaderControl::SectionResize(THeaderSection* section) {
    if (OnSectionResize) OnSectionResize(this, section);
}

void THeaderControl::SectionTrack(THeaderSection* section, int width, TSectionTrackState state) {
    if (OnSectionTrack) OnSectionTrack(this, section, width, state);
}

void THeaderControl::DrawSection(THeaderSection* section, const TRect& rect, bool pressed) {
    if (OnDrawSection) {
        OnDrawSection(this, section, rect, pressed);
        return;
    }
    canvas_->FillRect(rect);
    canvas_->TextOut(rect.Left + 4, rect.Top + 1, section->Text());
}

void THeaderControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case CN_NOTIFY: CNNotify(message); break;
        case CN_DRAWITEM: CNDrawItem(message); break;
        default: TWinControl::Dispatch(message); break;
    }
}

void THeaderControl::CNNotify(TMessage& message) {
    const auto* hdr = reinterpret_cast<const NMHDR*>(message.LParam);
    message.Result = 0;
    // Only the HDN_ codes carry an NMHEADER; custom draw and the rest have other layouts.
    if (hdr->code > HDN_FIRST || hdr->code < HDN_LAST) return;
    const auto* nm = reinterpret_cast<const NMHEADERA*>(message.LParam);
    const int index = nm->iItem;
    THeaderSection* section = index >= 0 && index < sections_->Count() ? sections_->Items(index) : nullptr;
    const int width = nm->pitem && (nm->pitem->mask & HDI_WIDTH) ? nm->pitem->cxy : (section ? section->Width() : 0);
    switch (nm->hdr.code) {
        case HDN_ITEMCLICKA:
        case HDN_ITEMCLICKW:
            if (section && section->AllowClick()) SectionClick(section);
            break;
        case HDN_BEGINTRACKA:
        case HDN_BEGINTRACKW:
            if (section) SectionTrack(section, width, TSectionTrackState::tsTrackBegin);
            break;
        case HDN_TRACKA:
        case HDN_TRACKW:
            if (section) SectionTrack(section, width, TSectionTrackState::tsTrackMove);
            break;
        case HDN_ENDTRACKA:
        case HDN_ENDTRACKW:
            if (section) SectionTrack(section, width, TSectionTrackState::tsTrackEnd);
            break;
        case HDN_ITEMCHANGINGA:
        case HDN_ITEMCHANGINGW:
            // Keep a dragged divider within the section's limits.
            if (section && nm->pitem && (nm->pitem->mask & HDI_WIDTH) &&
                (nm->pitem->cxy < section->MinWidth() || nm->pitem->cxy > section->MaxWidth()))
                message.Result = TRUE;
            break;
        case HDN_ITEMCHANGEDA:
        case HDN_ITEMCHANGEDW:
            if (section && nm->pitem && (nm->pitem->mask & HDI_WIDTH) && nm->pitem->cxy != section->width_) {
                section->width_ = nm->pitem->cxy;
                SectionResize(section);
            }
            break;
        default: break;
    }
}

void THeaderControl::CNDrawItem(TMessage& message) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
    const int index = static_cast<int>(dis->itemID);
    if (index >= 0 && index < sections_->Count()) {
        TBorrowedCanvas bound(canvas_.get(), dis->hDC);
        canvas_->SetFont(Font());
        canvas_->Brush()->SetColor(clBtnFace);
        DrawSection(sections_->Items(index), Rect(dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom),
                    (dis->itemState & ODS_SELECTED) != 0);
    }
    message.Result = 1;
}

void RegisterHeaderClasses() {
    RegisterStdSupport();
    RegisterEnum<THeaderSectionStyle>({"hsText", "hsOwnerDraw"}, "THeaderSectionStyle");
    RegisterEnum<THeaderStyle>({"hsButtons", "hsFlat"}, "THeaderStyle");
    RegisterEnum<TSectionTrackState>({"tsTrackBegin", "tsTrackMove", "tsTrackEnd"}, "TSectionTrackState");
    Class<THeaderSection, TCollectionItem>("THeaderSection")
        .Prop("Text", &THeaderSection::Text, &THeaderSection::SetText)
        .Prop("Width", &THeaderSection::Width, &THeaderSection::SetWidth)
        .Prop("MinWidth", &THeaderSection::MinWidth, &THeaderSection::SetMinWidth)
        .Prop("MaxWidth", &THeaderSection::MaxWidth, &THeaderSection::SetMaxWidth)
        .Prop("Alignment", &THeaderSection::Alignment, &THeaderSection::SetAlignment)
        .Prop("AllowClick", &THeaderSection::AllowClick, &THeaderSection::SetAllowClick)
        .Prop("Style", &THeaderSection::Style, &THeaderSection::SetStyle);
    Class<THeaderSections, TCollection>("THeaderSections");
    Class<THeaderControl, TWinControl>("THeaderControl")
        .Prop("Sections", &THeaderControl::Sections, &THeaderControl::SetSections)
        .Prop("Style", &THeaderControl::Style, &THeaderControl::SetStyle)
        .Prop("HotTrack", &THeaderControl::HotTrack, &THeaderControl::SetHotTrack)
        .Event("OnSectionClick", &THeaderControl::OnSectionClick)
        .Event("OnSectionResize", &THeaderControl::OnSectionResize)
        .Event("OnSectionTrack", &THeaderControl::OnSectionTrack)
        .Event("OnDrawSection", &THeaderControl::OnDrawSection);
}

}  // namespace fw
