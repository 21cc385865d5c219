// TBitBtn.
#include "framework/win32/std_bitbtn.h"

#include "framework/win32/caption_check.h"

namespace fw {

TBitBtn::TBitBtn(TComponent* owner)
    : TButton(owner), glyph_(std::make_unique<TBitmap>()), canvas_(std::make_unique<TCanvas>()) {
    glyph_->OnChange = TNotifyEvent(this, &TBitBtn::GlyphChanged);
}

TBitBtn::~TBitBtn() = default;

void TBitBtn::CreateParams(TCreateParams& params) {
    TButton::CreateParams(params);
    params.Style = (params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::GlyphChanged(TObject*) {
    // A glyph several images wide says how many it holds, unless told otherwise.
    if (!glyph_->Empty() && glyph_->Height() > 0 && glyph_->Width() % glyph_->Height() == 0) {
        const int n = glyph_->Width() / glyph_->Height();
        if (n >= 1 && n <= 4) numGlyphs_ = n;
    }
    glyph_->SetTransparent(true);
    Invalidate();
}

void TBitBtn::SetGlyph(TBitmap* value) { glyph_->Assign(value); }

void TBitBtn::SetNumGlyphs(int value) {
    numGlyphs_ = std::clamp(value, 1, 4);
    Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout value) {
    layout_ = value;
    Invalidate();
}

void TBitBtn::SetMargin(int value) {
    margin_ = value;
    Invalidate();
}

void TBitBtn::SetSpacing(int value) {
    spacing_ = value;
    Invalidate();
}

void TBitBtn::SetButtonStyle(bool isDefault) {
    if (isDefault_ == isDefault) return;
    isDefault_ = isDefault;
    Invalidate();
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& item) {
    TBorrowedCanvas bound(canvas_.get(), item.hDC);
    TCanvas* canvas = canvas_.get();
    RECT r = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(Rect(r.left, r.top, r.right, r.bottom));
    if (isDefault_) {
        canvas->Brush()->SetColor(clWindowFrame);
        canvas->FrameRect(Rect(r.left, r.top, r.right, r.bottom));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(item.hDC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

    // The glyph (its state's image) and the caption, laid out as one block.
    canvas->SetFont(Font());
    canvas->Font()->SetColor(disabled ? clGrayText : Font()->Color());
    const std::string caption = Caption();
    // The caption as the system draws button texts: "&" marks the accelerator, which is underlined.
    RECT extent{0, 0, 0, 0};
    if (!caption.empty()) DrawTextA(canvas->Handle(), caption.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
    const TSize text{extent.right, extent.bottom};
    const int gw = glyph_->Empty() ? 0 : glyph_->Width() / numGlyphs_;
    const int gh = glyph_->Empty() ? 0 : glyph_->Height();
    const bool horizontal = layout_ == TButtonLayout::blGlyphLeft || layout_ == TButtonLayout::blGlyphRight;
    const int gap = gw > 0 && text.cx > 0 ? spacing_ : 0;
    const int blockW = horizontal ? gw + gap + text.cx : std::max(gw, static_cast<int>(text.cx));
    const int blockH = horizontal ? std::max(gh, static_cast<int>(text.cy)) : gh + gap + text.cy;
    const int w = r.right - r.left, h = r.bottom - r.top;
    int x = r.left + (w - blockW) / 2, y = r.top + (h - blockH) / 2;
    if (margin_ >= 0) {
        if (layout_ == TButtonLayout::blGlyphLeft) x = r.left + margin_;
        if (layout_ == TButtonLayout::blGlyphRight) x = r.right - margin_ - blockW;
        if (layout_ == TButtonLayout::blGlyphTop) y = r.top + margin_;
        if (layout_ == TButtonLayout::blGlyphBottom) y = r.bottom - margin_ - blockH;
    }
    if (pressed) {
        ++x;
        ++y;
    }
    int gx = x, gy = y, tx = x, ty = y;
    switch (layout_) {
        case TButtonLayout::blGlyphLeft:
            gy = y + (blockH - gh) / 2;
            tx = x + gw + gap;
            ty = y + (blockH - text.cy) / 2;
            break;
        case TButtonLayout::blGlyphRight:
            tx = x;
            ty = y + (blockH - text.cy) / 2;
            gx = x + text.cx + gap;
            gy = y + (blockH - gh) / 2;
            break;
        case TButtonLayout::blGlyphTop:
            gx = x + (blockW - gw) / 2;
            tx = x + (blockW - text.cx) / 2;
            ty = y + gh + gap;
            break;
        case TButtonLayout::blGlyphBottom:
            tx = x + (blockW - text.cx) / 2;
            gx = x + (blockW - gw) / 2;
            gy = y + text.cy + gap;
            break;
    }
    if (gw > 0) {
        // Up, disabled, down: the image for the state, the first when the glyph has no such image.
        int image = 0;
        if (disabled && numGlyphs_ >= 2) image = 1;
        if (pressed && numGlyphs_ >= 3) image = 2;
        TBitmap part;
        part.SetSize(gw, gh);
        part.Canvas()->CopyRect(Rect(0, 0, gw, gh), glyph_->Canvas(), Rect(image * gw, 0, image * gw + gw, gh));
        part.SetTransparent(true);
        canvas->Draw(gx, gy, &part);
    }
    if (!caption.empty()) {
        SetBkMode(item.hDC, TRANSPARENT);
        RECT place{tx, ty, tx + text.cx, ty + text.cy};
        DrawTextA(canvas->Handle(), caption.c_str(), -1, &place,
                  DT_SINGLELINE | DT_NOCLIP | ((item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0));
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = r;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(item.hDC, &focus);
    }
}

bool TBitBtn::MeasureCaption(int& needed, int& room) {
    const std::string caption = Caption();
    if (caption.empty()) return false;
    const int text = CaptionTextWidth(Font()->Handle(), caption);
    const int gw = glyph_->Empty() || numGlyphs_ < 1 ? 0 : glyph_->Width() / numGlyphs_;
    const bool horizontal = layout_ == TButtonLayout::blGlyphLeft || layout_ == TButtonLayout::blGlyphRight;
    const int block = horizontal ? gw + (gw > 0 ? spacing_ : 0) + text : std::max(gw, text);
    const int edge = GetSystemMetrics(SM_CXEDGE);
    needed = horizontal && margin_ >= 0 ? margin_ + block + edge : block + 2 * edge;
    room = Width();
    return true;
}

void RegisterBitBtnClasses() {
    RegisterButtonClasses();
    RegisterEnum<TButtonLayout>({"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}, "TButtonLayout");
    Class<TBitBtn, TButton>("TBitBtn")
        .Prop("Glyph", &TBitBtn::Glyph, &TBitBtn::SetGlyph)
        .Prop("NumGlyphs", &TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs)
        .Prop("Layout", &TBitBtn::Layout, &TBitBtn::SetLayout)
        .Prop("Margin", &TBitBtn::Margin, &TBitBtn::SetMargin)
        .Prop("Spacing", &TBitBtn::Spacing, &TBitBtn::SetSpacing);
}

}  // namespace fw
