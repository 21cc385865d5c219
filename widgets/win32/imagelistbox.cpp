#include "widgets/win32/imagelistbox.h"

#include <algorithm>

#include "framework/core/filer.h"
#include "framework/win32/messages.h"
#include "framework/win32/std_support.h"
#include "widgets/win32/bitmaplist.h"
#include "widgets/win32/captiondraw.h"
#include "widgets/win32/kvxcustomcontrol.h"

namespace kvx::win32 {

namespace {
constexpr uint32_t kDtWordBreak = 0x10;
}  // namespace

TKVXCustomImageListBox::TKVXCustomImageListBox(TComponent* owner)
    : fw::TCustomListBox(owner),
      image_(this, [this](TObject* sender) { ContentChanged(sender); }),
      font3D_(std::make_unique<TKVX3DCaption>()),
      layout_(std::make_unique<TKVXGlyphTextLayout>()) {
    SetStyle(fw::TListBoxStyle::lbOwnerDrawFixed);
    SetControlStyle(ControlStyle() | fw::csOpaque);
    const auto changed = [](void* self, TObject* sender) {
        static_cast<TKVXCustomImageListBox*>(self)->ContentChanged(sender);
    };
    font3D_->OnChange.Bind(this, changed);
    layout_->OnChange.Bind(this, changed);
}

TKVXCustomImageListBox::~TKVXCustomImageListBox() {
    font3D_->OnChange.Reset();
    layout_->OnChange.Reset();
}

void TKVXCustomImageListBox::SetDefaultItem(int value) {
    if (defaultItem_ == value) return;
    defaultItem_ = value;
    Invalidate();
}

void TKVXCustomImageListBox::SetDelimiter(char value) {
    if (delimiter_ == value) return;
    delimiter_ = value;
    Invalidate();
}

void TKVXCustomImageListBox::SetMultiline(bool value) {
    if (multiline_ == value) return;
    multiline_ = value;
    Invalidate();
}

void TKVXCustomImageListBox::SetTransparent(bool value) {
    if (transparent_ == value) return;
    transparent_ = value;
    SetControlStyle(value ? ControlStyle() & ~fw::csOpaque : ControlStyle() | fw::csOpaque);
    RecreateWnd();
}

void TKVXCustomImageListBox::SetOptions(TKVXImageBoxOptions value) {
    if (options_ == value) return;
    options_ = value;
    // The list box asks for item heights only when it is made with variable heights.
    SetStyle(value.Contains(TKVXImageBoxOption::lboCalcHeight) ? fw::TListBoxStyle::lbOwnerDrawVariable
                                                              : fw::TListBoxStyle::lbOwnerDrawFixed);
    Invalidate();
}

void TKVXCustomImageListBox::SetImagesOnly(bool value) {
    if (imagesOnly_ == value) return;
    imagesOnly_ = value;
    if (value)
        FillImageItems();
    else
        Items()->Clear();
}

int TKVXCustomImageListBox::PictureCount() {
    TKVXCustomImageList* list = ImageList();
    if (!list || ListIndex() >= list->Count()) return -1;
    if (dynamic_cast<TKVXBitmapList*>(list)) return list->Count();
    return std::max(list->Count(ListIndex()), 0);
}

int TKVXCustomImageListBox::GetImageIndex(int index) {
    TKVXImageChoice choice{options_, delimiter_, defaultItem_, PictureCount(), Items()->Count()};
    const std::string text = index >= 0 && index < Items()->Count() ? Items()->Get(index) : std::string();
    return KVXImageBoxPicture(choice, index, text);
}

std::string TKVXCustomImageListBox::ItemText(int index) {
    if (index < 0 || index >= Items()->Count()) return {};
    return KVXImageBoxText(options_, delimiter_, Items()->Get(index));
}

fw::TCanvas* TKVXCustomImageListBox::PictureCanvas(int picture, TRect& rect) {
    TKVXCustomImageList* list = ImageList();
    // A bitmap list holds one picture per item; an image list many per item.
    const bool bitmaps = dynamic_cast<TKVXBitmapList*>(list) != nullptr;
    const int item = bitmaps ? picture : ListIndex();
    const int image = bitmaps ? 0 : picture;
    list->GetImageRect(item, image, rect);
    return list->GetCanvas(item);
}

void TKVXCustomImageListBox::ContentChanged(TObject* sender) {
    if (sender == font3D_.get() || sender == layout_.get()) {
        Invalidate();
        return;
    }
    if (options_.Contains(TKVXImageBoxOption::lboCalcHeight) && HandleAllocated())
        RecreateWnd();
    else
        Invalidate();
    if (imagesOnly_) FillImageItems();
}

void TKVXCustomImageListBox::FillImageItems() {
    if (Loading()) return;
    Items()->BeginUpdate();
    Items()->Clear();
    const int count = PictureCount();
    for (int i = 0; i < count; ++i) Items()->Add("");
    Items()->EndUpdate();
}

void TKVXCustomImageListBox::Loaded() {
    fw::TCustomListBox::Loaded();
    if (imagesOnly_) FillImageItems();
}

void TKVXCustomImageListBox::Notification(TComponent* component, fw::TOperation operation) {
    fw::TCustomListBox::Notification(component, operation);
    image_.Notification(component, operation);
}

void TKVXCustomImageListBox::DefineProperties(fw::TFiler& filer) {
    fw::TCustomListBox::DefineProperties(filer);
    image_.DefineProperties(filer);
}

bool TKVXCustomImageListBox::OverParentBackground() {
    auto* parent = dynamic_cast<TKVXCustomControl*>(Parent());
    return transparent_ && parent && parent->HandleAllocated() && parent->HasBackground();
}

void TKVXCustomImageListBox::CopyParentBackground(const TRect& rect) {
    auto* parent = dynamic_cast<TKVXCustomControl*>(Parent());
    if (fw::IsRectEmpty(rect)) return;
    fw::TBitmap* bitmap = parent ? parent->BackgroundBitmap() : nullptr;
    if (!bitmap) {
        Canvas()->FillRect(rect);
        return;
    }
    // Rect's corner in the parent's client area, then in the background bitmap.
    POINT corner{rect.Left, rect.Top};
    MapWindowPoints(Handle(), parent->Handle(), &corner, 1);
    const TPoint at = parent->BackgroundOffset({corner.x, corner.y});
    Canvas()->CopyRect(rect, bitmap->Canvas(), fw::Bounds(at.X, at.Y, rect.Width(), rect.Height()));
}

void TKVXCustomImageListBox::PaintBelowItems() {
    const TRect client = ClientRect();
    const int count = Items()->Count();
    const int top = count > 0 ? ItemRect(count - 1).Bottom : client.Top;
    if (top >= client.Bottom) return;
    HDC dc = GetDC(Handle());
    {
        fw::TBorrowedCanvas bound(Canvas(), dc);
        CopyParentBackground({client.Left, top, client.Right, client.Bottom});
    }
    ReleaseDC(Handle(), dc);
}

void TKVXCustomImageListBox::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case fw::CN_DRAWITEM: CNDrawItem(message); return;
        case WM_ERASEBKGND:
            if (OverParentBackground()) {
                // The items paint the parent's background behind them, WM_PAINT the rest.
                message.Result = 1;
                return;
            }
            break;
        case WM_PAINT:
            fw::TCustomListBox::Dispatch(message);
            // The list box fills the room below its last item itself; the parent's background goes there.
            if (OverParentBackground()) PaintBelowItems();
            return;
        case WM_VSCROLL:
            if (OverParentBackground()) {
                VScrollOverBackground(message);
                return;
            }
            break;
        case WM_MOVE:
            fw::TCustomListBox::Dispatch(message);
            if (OverParentBackground()) Invalidate();
            return;
        case fw::CM_KVXPARENTBACKCHANGED:
            Invalidate();
            return;
        case WM_NCHITTEST:
            if (InState(fw::csDesigning)) {
                message.Result = DefWindowProcA(Handle(), message.Msg, message.WParam, message.LParam);
                return;
            }
            break;
        default: break;
    }
    fw::TCustomListBox::Dispatch(message);
}

void TKVXCustomImageListBox::VScrollOverBackground(fw::TMessage& message) {
    // The items move without repainting: a copied background would move with them. Once the
    // scroll ends, the box repaints where the top changed.
    const int top = TopIndex();
    SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    fw::TCustomListBox::Dispatch(message);
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    if (LOWORD(message.WParam) != SB_ENDSCROLL) {
        scrolling_ = true;
        if (TopIndex() != top) scrolledFrom_ = scrolledFrom_ < 0 ? top : scrolledFrom_;
        return;
    }
    scrolling_ = false;
    if (scrolledFrom_ >= 0 && scrolledFrom_ != TopIndex()) Invalidate();
    scrolledFrom_ = -1;
}

void TKVXCustomImageListBox::CNDrawItem(fw::TMessage& message) {
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
    const fw::TOwnerDrawState state = fw::OwnerDrawState(dis->itemState);
    fw::TCanvas* c = Canvas();
    fw::TBorrowedCanvas bound(c, dis->hDC);
    c->SetFont(Font());
    c->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    TRect rect{dis->rcItem.left, dis->rcItem.top, dis->rcItem.right, dis->rcItem.bottom};
    if (rect.Height() == 0) rect.Bottom = rect.Top + ItemHeight();
    const int count = Items()->Count();
    const int index = count == 0 ? -1 : static_cast<int>(static_cast<int32_t>(dis->itemID));
    const bool selected = state.Contains(fw::TOwnerDrawStateItem::odSelected);
    if (OverParentBackground()) {
        CopyParentBackground(rect);
        if (selected) {
            c->Brush()->SetColor(fw::clHighlight);
            c->FillRect(rect);
            c->Font()->SetColor(fw::clHighlightText);
        }
    } else {
        if (selected) {
            c->Brush()->SetColor(fw::clHighlight);
            c->Font()->SetColor(fw::clHighlightText);
        }
        c->FillRect(rect);
    }
    if (index >= 0) {
        DrawItem(index, rect, state);
        if (state.Contains(fw::TOwnerDrawStateItem::odFocused) && !scrolling_) c->DrawFocusRect(rect);
    }
    message.Result = 1;
}

void TKVXCustomImageListBox::DrawItem(int index, const TRect& rect, fw::TOwnerDrawState state) {
    if (OnDrawItem) {
        fw::TCustomListBox::DrawItem(index, rect, state);
        return;
    }
    TRect area{rect.Left + 2, rect.Top, rect.Right - 2, rect.Bottom - 1};
    const uint16_t flags = Enabled() ? ktfEnabled : 0;
    const uint32_t format = multiline_ ? kDtWordBreak : 0;
    const int picture = GetImageIndex(index);
    TRect glyph{};
    fw::TCanvas* pictures = picture >= 0 ? PictureCanvas(picture, glyph) : nullptr;
    const bool transparentPicture = options_.Contains(TKVXImageBoxOption::lboTransparentImages);
    const TColor key = pictures ? ImageList()->TransparentColor(dynamic_cast<TKVXBitmapList*>(ImageList()) ? picture : ListIndex(),
                                                                 picture)
                                : fw::clWhite;
    KVXDrawGlyphText(Canvas(), ItemText(index), font3D_.get(), area, pictures, glyph, nullptr, key, layout_.get(),
                     multiline_, false, transparentPicture, flags, format);
}

void TKVXCustomImageListBox::MeasureItem(int index, int& height) {
    if (index < 0) return;
    const int picture = GetImageIndex(index);
    if (picture < 0) return;
    TRect glyph{};
    PictureCanvas(picture, glyph);
    int wanted = glyph.Height() + 2;
    if (multiline_) {
        const int offset = glyph.Width() + layout_->Spacing() + 2;
        TRect text{0, 0, Width() - offset - 4, 0};
        KVXMeasureCaption(ItemText(index), font3D_.get(), text, Font(), true, false, 0, kDtWordBreak);
        wanted = std::max(wanted, text.Height());
    }
    height = std::max(height, wanted);
}

}  // namespace kvx::win32
