#include "widgets/win32/panels.h"

#include "framework/win32/graphics.h"
#include "widgets/controlgeometry.h"
#include "widgets/kvxapplication.h"
#include "widgets/win32/sysinfo.h"

namespace kvx::win32 {

namespace {
TKVXCustomControl* SuiteParentOf(fw::TControl* control) { return dynamic_cast<TKVXCustomControl*>(control->Parent()); }
}  // namespace

// ---- TKVXCustomPanel ----------------------------------------------------------------------------

TKVXCustomPanel::TKVXCustomPanel(TComponent* owner) : TKVXCustomControl(owner) {
    SetControlStyle(fw::csAcceptsControls | fw::csCaptureMouse | fw::csClickEvents | fw::csOpaque | fw::csDoubleClicks |
                    fw::csReplicatable);
    SetColor(fw::clBtnFace);
}

void TKVXCustomPanel::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    SetControlStyle(value ? ControlStyle() & ~fw::csOpaque : ControlStyle() | fw::csOpaque);
    RecreateWnd();
}

TPoint TKVXCustomPanel::Border() const { return KVXHalfBorder(Width(), Height(), ClientWidth(), ClientHeight()); }

bool TKVXCustomPanel::HasBackground() {
    TKVXCustomControl* parent = SuiteParentOf(this);
    return parent && transparent_ && parent->HandleAllocated() && parent->HasBackground();
}

fw::TBitmap* TKVXCustomPanel::BackgroundBitmap() {
    return HasBackground() ? SuiteParentOf(this)->BackgroundBitmap() : nullptr;
}

TPoint TKVXCustomPanel::BackgroundOffset(TPoint point) {
    if (!HasBackground()) return point;
    // This panel's client origin lies at its position plus its border in the parent's client area.
    const TKVXBackLevel level{{Left(), Top()}, Border()};
    return SuiteParentOf(this)->BackgroundOffset(KVXBackgroundPoint({&level, 1}, point));
}

bool TKVXCustomPanel::CopyBackground(fw::TCanvas* canvas, const TRect& rect, TPoint offset) {
    if (Loading()) return false;
    fw::TBitmap* bitmap = BackgroundBitmap();
    if (!bitmap) return false;
    const TPoint border = Border();
    const TPoint at = SuiteParentOf(this)->BackgroundOffset({offset.X + border.X, offset.Y + border.Y});
    canvas->CopyRect(rect, bitmap->Canvas(), fw::Bounds(at.X, at.Y, rect.Width(), rect.Height()));
    return true;
}

// ---- TKVXCustomBevelPanel -----------------------------------------------------------------------

TKVXCustomBevelPanel::TKVXCustomBevelPanel(TComponent* owner)
    : TKVXCustomPanel(owner), bevel_(std::make_unique<TKVXBevel>()) {
    bevel_->SetSystemFrame(true);
    bevel_->OnChange.Bind(this, [](void* self, TObject* sender) {
        static_cast<TKVXCustomBevelPanel*>(self)->ContentChanged(sender);
    });
}

TKVXCustomBevelPanel::~TKVXCustomBevelPanel() { bevel_->OnChange.Reset(); }

void TKVXCustomBevelPanel::SetBevel(TKVXBevel* value) {
    bevel_->Assign(value);
    Perform(fw::CM_KVXBEVELCHANGED);
}

void TKVXCustomBevelPanel::CreateParams(fw::TCreateParams& params) {
    TKVXCustomPanel::CreateParams(params);
    if (!WindowsBevel()) return;
    // The system draws the Windows mode's frame: a client edge in 3D, a plain border otherwise.
    if (Ctl3D())
        params.ExStyle |= WS_EX_CLIENTEDGE;
    else
        params.Style |= WS_BORDER;
}

void TKVXCustomBevelPanel::AlignControls(fw::TControl* control, TRect& rect) {
    TRect inner;
    bevel_->InnerRect(rect, inner);
    rect = inner;
    TKVXCustomPanel::AlignControls(control, rect);
}

void TKVXCustomBevelPanel::Dispatch(fw::TMessage& message) {
    if (message.Msg == fw::CM_CTL3DCHANGED && WindowsBevel()) RecreateWnd();
    TKVXCustomPanel::Dispatch(message);
}

void TKVXCustomBevelPanel::ContentChanged(TObject* sender) {
    if (Loading()) return;
    if (sender == bevel_.get()) {
        bevel_->SetSystemFrame(true);
        if (bevel_->FrameModeChanged()) RecreateWnd();
        Realign();
    }
    Invalidate();
}

bool TKVXCustomBevelPanel::ShowDesignFrame() { return bevel_->Extent() == 0 && !WindowsBevel(); }

void TKVXCustomBevelPanel::DoEnter() {
    if (!Focused() && flat_) DrawHotBorder();
    TKVXCustomPanel::DoEnter();
}

void TKVXCustomBevelPanel::DoMouseEnter() {
    if (!Focused() && flat_ && !Entered()) DrawHotBorder();
    TKVXCustomPanel::DoMouseEnter();
}

void TKVXCustomBevelPanel::DrawHotBorder() {
    if (WindowsBevel()) {
        TKVXCustomPanel::DrawHotBorder();
        return;
    }
    DrawNow([this] {
        TRect inner;
        bevel_->PaintBevel(Canvas(), ClientRect(), true, inner);
    });
}

void TKVXCustomBevelPanel::DrawFlatBorder() {
    if (Focused() || !flat_ || MouseIsInside()) return;
    if (WindowsBevel()) {
        TKVXCustomPanel::DrawFlatBorder();
        return;
    }
    const int w = bevel_->Extent(), w2 = bevel_->FarExtent(), W = Width(), H = Height();
    DrawNow([&] {
        FillBackgroundRect({0, 0, W, w});
        FillBackgroundRect({0, w, w, H});
        FillBackgroundRect({w, H - w2 - 1, W, H});
        FillBackgroundRect({W - w2, w, W, H - w2});
    });
}

void TKVXCustomBevelPanel::Paint() {
    if (Loading()) return;
    PaintBackground();
    if (Focused() || !flat_) {
        TRect inner;
        bevel_->PaintBevel(Canvas(), ClientRect(), Transparent(), inner);
    } else {
        DrawFlatBorder();
    }
}

// ---- TKVXCustomParentPanel ----------------------------------------------------------------------

TKVXCustomParentPanel::TKVXCustomParentPanel(TComponent* owner) : TKVXCustomBevelPanel(owner) {}

TKVXCustomParentPanel::~TKVXCustomParentPanel() = default;

bool TKVXCustomParentPanel::HasBackground() { return bitmap_ || TKVXCustomBevelPanel::HasBackground(); }

bool TKVXCustomParentPanel::UsesBackgroundBitmap() { return bitmap_ || HasBackground(); }

fw::TBitmap* TKVXCustomParentPanel::BackgroundBitmap() {
    return bitmap_ ? bitmap_.get() : TKVXCustomBevelPanel::BackgroundBitmap();
}

TPoint TKVXCustomParentPanel::BackgroundOffset(TPoint point) {
    return bitmap_ ? point : TKVXCustomBevelPanel::BackgroundOffset(point);
}

bool TKVXCustomParentPanel::CopyBackground(fw::TCanvas* canvas, const TRect& rect, TPoint offset) {
    if (Loading()) return false;
    if (!bitmap_) return TKVXCustomBevelPanel::CopyBackground(canvas, rect, offset);
    const TKVXBackCopy copy = KVXParentPanelCopy(rect, ClientRect(), canvas->ClipRect(), offset, {Left(), Top()});
    if (!quickDraw_) {
        if (HPALETTE palette = BackgroundPalette()) {
            SelectPalette(canvas->Handle(), palette, FALSE);
            RealizePalette(canvas->Handle());
        }
    }
    canvas->CopyRect(copy.dest, bitmap_->Canvas(),
                     fw::Bounds(copy.source.X, copy.source.Y, copy.dest.Width(), copy.dest.Height()));
    return true;
}

HPALETTE TKVXCustomParentPanel::GetPalette() { return NoImage() ? nullptr : ImageList()->GetPalette(ListIndex()); }

void TKVXCustomParentPanel::UpdateBackground(bool force) {
    if (NoImage() || transparent_) {
        bitmap_.reset();
        return;
    }
    if (!bitmap_) bitmap_ = std::make_unique<fw::TBitmap>();
    if (!force && KVXBitmapCovers(ClientRect(), bitmap_->Width(), bitmap_->Height())) return;
    const TPoint size = WindowSize();
    const int width = size.X, height = size.Y;
    bitmap_->SetSize(width, height);
    const bool autoRealize = KVXApplication &&
                             KVXApplication->Options.Contains(TKVXApplicationOption::aoAutoRealizePalette) &&
                             KVXColorDepth() <= 8;
    const uint16_t flags = autoRealize ? kpfTile : static_cast<uint16_t>(kpfTile | kpfPalette);
    ImageList()->DrawClipped(bitmap_->Canvas(), {0, 0, width, height}, flags, 0, 0, ListIndex(), ImageIndex());
}

TPoint TKVXCustomParentPanel::WindowSize() {
    if (!HandleAllocated()) return {Width(), Height()};
    RECT w{};
    GetWindowRect(Handle(), &w);
    return {w.right - w.left, w.bottom - w.top};
}

fw::TBitmap* TKVXCustomParentPanel::MakeOwnBitmap() {
    if (!bitmap_) bitmap_ = std::make_unique<fw::TBitmap>();
    return bitmap_.get();
}

void TKVXCustomParentPanel::Loaded() {
    TKVXCustomBevelPanel::Loaded();
    // Without a designer this is where a panel read from a form first sees its picture; a window made
    // later builds the bitmap at its first WM_SIZE.
    if (HandleAllocated()) UpdateBackground(true);
}

void TKVXCustomParentPanel::WMSize(fw::TMessage& message) {
    if (!Loading()) UpdateBackground(false);
    TKVXCustomBevelPanel::WMSize(message);
}

void TKVXCustomParentPanel::PaintBackground() { TKVXCustomBevelPanel::PaintBackground(); }

bool TKVXCustomParentPanel::ShowDesignFrame() { return TKVXCustomBevelPanel::ShowDesignFrame() && NoImage(); }

void TKVXCustomParentPanel::ImageListChanged(TObject* sender) {
    UpdateBackground(true);
    ContentChanged(sender);
    NotifyChildren(fw::CM_KVXPARENTBACKCHANGED);
}

void TKVXCustomParentPanel::Paint() {
    if (Loading()) return;
    PaintBackground();
    if (!ShowDesignFrame()) {
        TRect inner;
        Bevel()->PaintBevel(Canvas(), ClientRect(), true, inner);
    }
}

}  // namespace kvx::win32
