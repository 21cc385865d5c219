#include "uisupport/controls/win32/kyvctrls.h"

#include <algorithm>

#include "framework/win32/actions.h"
#include "framework/win32/graphics.h"
#include "framework/win32/imagelist.h"
#include "framework/win32/keyboard.h"
#include "framework/win32/menus.h"
#include "framework/win32/timers.h"
#include "uisupport/controls/win32/glyphcache.h"
#include "uisupport/win32/guiutils.h"

namespace uis {

namespace {

TGlyphSide SideOf(fw::TButtonLayout layout) {
    switch (layout) {
    case fw::TButtonLayout::blGlyphLeft: return TGlyphSide::Left;
    case fw::TButtonLayout::blGlyphRight: return TGlyphSide::Right;
    case fw::TButtonLayout::blGlyphTop: return TGlyphSide::Top;
    case fw::TButtonLayout::blGlyphBottom: return TGlyphSide::Bottom;
    }
    return TGlyphSide::Top;
}

// A one-pixel 3-D frame: top and left in `topLeft`, bottom and right in `bottomRight`; returns the
// rectangle inside it.
fw::TRect Frame3D(fw::TCanvas* canvas, const fw::TRect& r, fw::TColor topLeft, fw::TColor bottomRight) {
    canvas->Pen()->SetColor(topLeft);
    canvas->MoveTo(r.Left, r.Bottom - 1);
    canvas->LineTo(r.Left, r.Top);
    canvas->LineTo(r.Right - 1, r.Top);
    canvas->Pen()->SetColor(bottomRight);
    canvas->LineTo(r.Right - 1, r.Bottom - 1);
    canvas->LineTo(r.Left - 1, r.Bottom - 1);
    return fw::InflateRect(r, -1, -1);
}

// The checkered brush of a latched button: button face and highlight in alternate pixels.
HBRUSH CreateCheckeredBrush() {
    fw::TBitmap pattern;
    pattern.SetSize(8, 8);
    fw::TCanvas* c = pattern.Canvas();
    const fw::TColor face = fw::ColorToRGB(fw::clBtnFace);
    const fw::TColor light = fw::ColorToRGB(fw::clBtnHighlight);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) c->SetPixels(x, y, (x + y) % 2 ? light : face);
    return CreatePatternBrush(pattern.Handle());
}

}  // namespace

// ---- TKyvButtonGlyph ----------------------------------------------------------------------------

TKyvButtonGlyph::TKyvButtonGlyph() : glyph_(std::make_unique<fw::TBitmap>()) {
    glyph_->OnChange = fw::TNotifyEvent(this, &TKyvButtonGlyph::GlyphChanged);
    GlyphPainterCreated();
}

TKyvButtonGlyph::~TKyvButtonGlyph() {
    glyph_->OnChange.Reset();
    Invalidate();
    GlyphPainterDestroyed();
}

void TKyvButtonGlyph::SetGlyph(fw::TBitmap* value) {
    Invalidate();
    if (value)
        glyph_->Assign(value);
    else
        glyph_->SetSize(0, 0);
    GlyphChanged(glyph_.get());
}

void TKyvButtonGlyph::GlyphChanged(fw::TObject*) {
    Invalidate();
    const int w = glyph_->Width();
    const int h = glyph_->Height();
    if (h > 0 && w > 0) {
        transparentColor_ = glyph_->TransparentColor() & ~0x02000000;
        numGlyphs_ = SpeedNumGlyphs(w, h, numGlyphs_);
    }
    if (OnChange) OnChange(nullptr);
}

void TKyvButtonGlyph::SetNumGlyphs(int value) {
    if (value <= 0) return;
    value = std::min(value, 5);
    if (value == numGlyphs_) return;
    Invalidate();
    numGlyphs_ = value;
}

void TKyvButtonGlyph::Invalidate() {
    for (int& index : indexes_) {
        if (index >= 0 && list_) list_->Delete(index);
        index = -1;
    }
    if (list_) {
        if (TGlyphCache* cache = GlyphCache()) cache->ReturnList(list_);
        list_ = nullptr;
    }
}

int TKyvButtonGlyph::CellWidth() const { return numGlyphs_ > 0 ? glyph_->Width() / numGlyphs_ : 0; }

int TKyvButtonGlyph::CreateButtonGlyph(TKyvButtonState state) {
    int s = static_cast<int>(state);
    if (state == TKyvButtonState::bsDown && numGlyphs_ < 3) s = static_cast<int>(TKyvButtonState::bsUp);
    if (indexes_[s] != -1) return indexes_[s];
    const int cw = CellWidth();
    const int ch = glyph_->Height();
    if (cw <= 0 || ch <= 0) return -1;
    if (!list_) list_ = EnsureGlyphCache()->GetList(cw, ch);
    fw::TBitmap cell;
    cell.SetSize(cw, ch);
    const int source = s < numGlyphs_ ? s : 0;
    cell.Canvas()->CopyRect(fw::Rect(0, 0, cw, ch), glyph_->Canvas(), fw::Bounds(source * cw, 0, cw, ch));
    int index;
    if (s == static_cast<int>(TKyvButtonState::bsDisabled) && numGlyphs_ < 2) {
        std::unique_ptr<fw::TBitmap> embossed(
            MakeEmbossedBitmap(&cell, transparentColor_, fw::clBtnFace, true, fw::clBtnShadow, fw::clBtnHighlight));
        index = list_->AddMasked(embossed.get(), fw::clBtnFace);
    } else if (s == static_cast<int>(TKyvButtonState::bsInactive) && numGlyphs_ < 5) {
        fw::TCanvas* c = cell.Canvas();
        const fw::TColor face = fw::ColorToRGB(fw::clBtnFace);
        const fw::TColor key = fw::ColorToRGB(transparentColor_);
        for (int y = 0; y < ch; ++y)
            for (int x = 0; x < cw; ++x) {
                const fw::TColor p = c->Pixels(x, y);
                if (p == key || p == face) continue;
                const int grey = GreyLevel(fw::GetRValue(p), fw::GetGValue(p), fw::GetBValue(p));
                c->SetPixels(x, y, fw::RGB(grey, grey, grey));
            }
        index = list_->AddMasked(&cell, transparentColor_);
    } else {
        index = list_->AddMasked(&cell, transparentColor_);
    }
    indexes_[s] = index;
    glyph_->Dormant();
    return index;
}

fw::TRect TKyvButtonGlyph::Draw(fw::TCanvas* canvas, const fw::TRect& rect, const std::string& caption,
                                TGlyphSide side, int margin, int spacing, bool drawMark, TKyvButtonState state,
                                bool enabled) {
    canvas->TextExtent(caption);  // selects the font into the DC for the raw text calls below
    HDC dc = canvas->Handle();
    const bool hasGlyph = glyph_->Width() > 0 && glyph_->Height() > 0;
    TSpeedLayoutInput in;
    in.Content = rect;
    in.GlyphWidth = hasGlyph ? CellWidth() : 0;
    in.GlyphHeight = hasGlyph ? glyph_->Height() : 0;
    in.Caption = caption;
    in.Side = side;
    in.Margin = margin;
    in.Spacing = spacing;
    in.WordWrap = wordWrap_;
    in.DrawMark = drawMark;
    in.LineWidth = [canvas](const std::string& s) { return canvas->TextWidth(s); };
    in.Measure = [dc](const std::string& text, int maxWidth, bool wrap) {
        RECT r{0, 0, maxWidth, 0};
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r,
                  DT_CALCRECT | DT_CENTER | (wrap ? DT_WORDBREAK : 0));
        return fw::TPoint{r.right - r.left, r.bottom - r.top};
    };
    const TSpeedLayout out = LayoutSpeedButton(in);

    const int index = CreateButtonGlyph(state);
    if (index >= 0) list_->Draw(canvas, out.Glyph.X, out.Glyph.Y, index, fw::dsTransparent);

    UINT flags = alignment_ == TKyvAlignment::taLeftJustify    ? DT_LEFT
                 : alignment_ == TKyvAlignment::taRightJustify ? DT_RIGHT
                                                                : DT_CENTER;
    if (wordWrap_)
        flags |= DT_WORDBREAK;
    else if (out.Caption.find_first_of("\r\n") == std::string::npos)
        flags |= DT_SINGLELINE | DT_VCENTER;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const auto drawText = [&](const fw::TRect& r, fw::TColor color) {
        SetTextColor(dc, static_cast<COLORREF>(fw::ColorToRGB(color)));
        RECT box{r.Left, r.Top, r.Right, r.Bottom};
        DrawTextA(dc, out.Caption.c_str(), static_cast<int>(out.Caption.size()), &box, flags);
    };
    if (!out.Caption.empty()) {
        if (!enabled) {
            drawText(fw::OffsetRect(out.CaptionRect, 1, 1), fw::clBtnHighlight);
            drawText(out.CaptionRect, fw::clBtnShadow);
        } else {
            drawText(out.CaptionRect, canvas->Font()->Color());
        }
    }
    SetBkMode(dc, oldMode);

    if (drawMark) {
        const auto mark = [&](int dx, int dy, fw::TColor color) {
            canvas->Brush()->SetColor(color);
            for (const TMarkRow& row : DropMarkRows(out.Mark.X + dx, out.Mark.Y + dy))
                canvas->FillRect(fw::Bounds(row.X, row.Y, row.Width, 1));
        };
        if (!enabled) {
            mark(1, 1, fw::clBtnHighlight);
            mark(0, 0, fw::clBtnShadow);
        } else {
            mark(0, 0, fw::clBtnText);
        }
    }
    return out.CaptionRect;
}

// ---- TKyvSpeedButton ----------------------------------------------------------------------------

TKyvSpeedButton::TKyvSpeedButton(fw::TComponent* owner)
    : TGraphicControl(owner), glyph_(std::make_unique<TKyvButtonGlyph>()) {
    SetBounds(0, 0, 25, 25);
    // Clicks come from the button's own release handling (groups and menus decide).
    controlStyle_ = fw::csCaptureMouse | fw::csOpaque | fw::csDoubleClicks | fw::csReplicatable | fw::csSetCaption;
    SetShowHint(true);
    SetParentShowHint(false);
    glyph_->OnChange = fw::TNotifyEvent(this, &TKyvSpeedButton::GlyphChanged);
}

TKyvSpeedButton::~TKyvSpeedButton() = default;

void TKyvSpeedButton::GlyphChanged(fw::TObject*) { Invalidate(); }

void TKyvSpeedButton::SetGlyph(fw::TBitmap* value) {
    glyph_->SetGlyph(value);
    PrepareFirstState();
    Invalidate();
}

void TKyvSpeedButton::SetNumGlyphs(int value) {
    glyph_->SetNumGlyphs(value);
    Invalidate();
}

void TKyvSpeedButton::SetAlignment(TKyvAlignment value) {
    glyph_->SetAlignment(value);
    Invalidate();
}

void TKyvSpeedButton::SetWordWrap(bool value) {
    glyph_->SetWordWrap(value);
    Invalidate();
}

void TKyvSpeedButton::SetLayout(fw::TButtonLayout value) {
    layout_ = value;
    Invalidate();
}

void TKyvSpeedButton::SetMargin(int value) {
    if (value < -1 || value == margin_) return;
    margin_ = value;
    Invalidate();
}

void TKyvSpeedButton::SetSpacing(int value) {
    spacing_ = value;
    Invalidate();
}

void TKyvSpeedButton::SetStyle(TKyvButtonStyle value) {
    style_ = value;
    Invalidate();
}

void TKyvSpeedButton::SetFlat(bool value) {
    flat_ = value;
    PrepareFirstState();
    Invalidate();
}

void TKyvSpeedButton::SetTransparent(bool value) {
    transparent_ = value;
    Invalidate();
}

void TKyvSpeedButton::SetGrayedInactive(bool value) {
    grayedInactive_ = value;
    Invalidate();
}

void TKyvSpeedButton::SetGroupIndex(int value) {
    groupIndex_ = value;
    UpdateExclusive();
}

void TKyvSpeedButton::SetAllowAllUp(bool value) {
    allowAllUp_ = value;
    UpdateExclusive();
}

void TKyvSpeedButton::SetAllowTimer(bool value) {
    allowTimer_ = value;
    if (!value) StopTimer();
}

void TKyvSpeedButton::SetDropDownMenu(fw::TPopupMenu* value) {
    if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = value;
    if (value) value->FreeNotification(this);
    Invalidate();
}

void TKyvSpeedButton::SetMarkDropDown(bool value) {
    markDropDown_ = value;
    Invalidate();
}

void TKyvSpeedButton::SetDown(bool value) {
    if (groupIndex_ == 0) value = false;
    if (value == down_) return;
    if (down_ && !allowAllUp_) return;  // a latched button stays down
    down_ = value;
    if (value) {
        if (state_ == TKyvButtonState::bsUp) Invalidate();
        state_ = TKyvButtonState::bsExclusive;
        Repaint();
        UpdateExclusive();
    } else {
        state_ = TKyvButtonState::bsUp;
        Repaint();
    }
}

void TKyvSpeedButton::UpdateExclusive() {
    if (groupIndex_ == 0 || !Parent()) return;
    fw::TMessage message{fw::CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_),
                         reinterpret_cast<LPARAM>(static_cast<fw::TControl*>(this)), 0};
    Parent()->Broadcast(message);
}

// Only a button that went down releases the others: a change of AllowAllUp or GroupIndex is told
// to the group as well and must not release the button that is down.
void TKyvSpeedButton::ButtonPressed(int groupIndex, TKyvSpeedButton* sender) {
    if (!sender || sender == this || groupIndex != groupIndex_) return;
    if (down_ && sender->down_) {
        down_ = false;
        state_ = TKyvButtonState::bsUp;
        Invalidate();
    }
    allowAllUp_ = sender->allowAllUp_;
}

void TKyvSpeedButton::Click() {
    if (auto* form = dynamic_cast<fw::TForm*>(fw::GetParentForm(this))) form->SetModalResult(modalResult_);
    TGraphicControl::Click();
}

HPALETTE TKyvSpeedButton::GetPalette() { return glyph_->Glyph()->Palette(); }

void TKyvSpeedButton::ActionChange(fw::TObject* sender, bool checkDefaults) {
    TGraphicControl::ActionChange(sender, checkDefaults);
    auto* action = dynamic_cast<fw::TCustomAction*>(sender);
    if (!action) return;
    if (groupIndex_ > 0 && !(checkDefaults && down_)) SetDown(action->Checked());
    fw::TActionList* list = action->ActionList();
    fw::TCustomImageList* images = list ? list->Images() : nullptr;
    if (glyph_->Glyph()->Empty() && images && action->ImageIndex() >= 0 && action->ImageIndex() < images->Count()) {
        fw::TBitmap image;
        image.SetSize(images->Width(), images->Height());
        image.Canvas()->Brush()->SetColor(fw::clFuchsia);
        image.Canvas()->FillRect(fw::Rect(0, 0, images->Width(), images->Height()));
        images->Draw(image.Canvas(), 0, 0, action->ImageIndex());
        image.SetTransparentColor(fw::clFuchsia);
        SetGlyph(&image);
    }
}

void TKyvSpeedButton::Loaded() {
    TGraphicControl::Loaded();
    PrepareFirstState();
}

void TKyvSpeedButton::PrepareFirstState() {
    if (!Enabled())
        glyph_->CreateButtonGlyph(TKyvButtonState::bsDisabled);
    else if (flat_)
        glyph_->CreateButtonGlyph(TKyvButtonState::bsInactive);
    else
        glyph_->CreateButtonGlyph(TKyvButtonState::bsUp);
}

// ---- painting -----------------------------------------------------------------------------------

fw::TRect TKyvSpeedButton::DrawFrame(fw::TCanvas* c, fw::TRect r, bool pressed) {
    const bool newLook = NewLook();
    using fw::clBtnFace, fw::clBtnHighlight, fw::clBtnShadow, fw::clWindowFrame;
    bool extra = true;
    if (!pressed) {
        if (newLook && !flat_) {
            r = Frame3D(c, r, clBtnHighlight, clWindowFrame);
            r = Frame3D(c, r, clBtnFace, clBtnShadow);
            extra = false;  // the second frame is the extra pixel here
        } else if (newLook) {
            r = Frame3D(c, r, clBtnHighlight, clBtnShadow);
        } else if (!flat_) {
            r = Frame3D(c, r, clWindowFrame, clWindowFrame);
            r = Frame3D(c, r, clBtnHighlight, clBtnShadow);
        } else {
            r = Frame3D(c, r, clBtnHighlight, clWindowFrame);
        }
    } else if (newLook) {
        r = Frame3D(c, r, clWindowFrame, clBtnHighlight);
        if (!flat_) r = Frame3D(c, r, clBtnShadow, clBtnFace);
    } else if (!flat_) {
        r = Frame3D(c, r, clWindowFrame, clWindowFrame);
        c->Pen()->SetColor(clBtnShadow);
        c->MoveTo(r.Left, r.Bottom - 1);
        c->LineTo(r.Left, r.Top);
        c->LineTo(r.Right, r.Top);
    } else {
        r = Frame3D(c, r, clWindowFrame, clBtnHighlight);
    }
    return extra ? fw::InflateRect(r, -1, -1) : r;
}

void TKyvSpeedButton::Paint() {
    if (!Enabled()) {
        state_ = TKyvButtonState::bsDisabled;
        dragging_ = false;
    } else if (state_ == TKyvButtonState::bsDisabled) {
        state_ = down_ && groupIndex_ ? TKyvButtonState::bsExclusive : TKyvButtonState::bsUp;
    }
    const bool down = state_ == TKyvButtonState::bsDown || state_ == TKyvButtonState::bsExclusive;
    TKyvButtonState drawState = state_;
    if (flat_ && !mouseInControl_) drawState = TKyvButtonState::bsInactive;

    fw::TBitmap buffer;
    buffer.SetSize(Width(), Height());
    fw::TCanvas* c = buffer.Canvas();
    c->Brush()->SetColor(fw::clBtnFace);
    c->FillRect(fw::Rect(0, 0, Width(), Height()));
    if (transparent_) PaintParentBackground(this, c);

    fw::TRect r = fw::Rect(0, 0, Width(), Height());
    if (drawState != TKyvButtonState::bsInactive || state_ == TKyvButtonState::bsExclusive)
        r = DrawFrame(c, r, down);
    else
        r = fw::InflateRect(r, -2, -2);
    if (state_ == TKyvButtonState::bsExclusive && !transparent_ && (!flat_ || drawState == TKyvButtonState::bsInactive)) {
        HBRUSH pattern = CreateCheckeredBrush();
        const fw::TRect checked = fw::InflateRect(r, 1, 1);
        RECT box{checked.Left, checked.Top, checked.Right, checked.Bottom};
        FillRect(c->Handle(), &box, pattern);
        DeleteObject(pattern);
    }
    if (down) r = fw::OffsetRect(r, 1, 1);
    const TKyvButtonState glyphState =
        grayedInactive_ && state_ != TKyvButtonState::bsDisabled ? drawState : state_;
    c->SetFont(Font());
    DrawGlyphAndCaption(c, r, markDropDown_ && dropDownMenu_, glyphState);
    Canvas()->Draw(0, 0, &buffer);
}

void TKyvSpeedButton::DrawGlyphAndCaption(fw::TCanvas* canvas, const fw::TRect& rect, bool drawMark,
                                          TKyvButtonState state) {
    glyph_->Draw(canvas, rect, Caption(), SideOf(layout_), margin_, spacing_, drawMark, state, Enabled());
}

// ---- mouse --------------------------------------------------------------------------------------

void TKyvSpeedButton::MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    if (menuTracking_) return;
    TGraphicControl::MouseDown(button, shift, x, y);
    if (!Enabled()) return;
    mouseInControl_ = true;
    if (button != fw::mbLeft) return;
    if (!down_) {
        state_ = TKyvButtonState::bsDown;
        Repaint();
    }
    dragging_ = true;
    menuTracking_ = true;
    if (dropDownMenu_ && dropDownMenu_->AutoPopup()) {
        DropDown(x, y);
        // The press ends as a release where it began, without a click.
        MouseUp(fw::mbLeft, shift, x, y);
        // A click that closed the menu on the button does not press it again.
        if (fw::TWinControl* parent = Parent(); parent && parent->HandleAllocated()) {
            MSG msg;
            while (PeekMessageA(&msg, parent->Handle(), WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_NOREMOVE) &&
                   msg.message != WM_LBUTTONUP &&
                   fw::PtInRect(BoundsRect(), fw::Point(static_cast<short>(LOWORD(msg.lParam)),
                                                        static_cast<short>(HIWORD(msg.lParam)))))
                DiscardMessage(parent->Handle(), msg.message);
        }
    }
    menuTracking_ = false;
    if (allowTimer_ && dragging_) {
        if (!repeatTimer_) {
            repeatTimer_ = fw::Make<fw::TTimer>(this);
            repeatTimer_->SetOnTimer(fw::TNotifyEvent(this, &TKyvSpeedButton::RepeatTimer));
        }
        repeatTimer_->SetEnabled(false);
        repeatTimer_->SetInterval(static_cast<unsigned>(initPause_));
        repeatTimer_->SetEnabled(true);
    }
}

void TKyvSpeedButton::DropDown(int, int) {
    TMenuAlign align = TMenuAlign::Left;
    if (dropDownMenu_->Alignment() == fw::TPopupAlignment::paRight) align = TMenuAlign::Right;
    if (dropDownMenu_->Alignment() == fw::TPopupAlignment::paCenter) align = TMenuAlign::Center;
    const fw::TPoint at = DropPoint(menuPosition_ == TKyvDropDownMenuPos::dmpBottom ? TDropPosition::Bottom
                                                                                   : TDropPosition::Right,
                                    align, Width(), Height());
    const fw::TPoint screen = ClientToScreen(at);
    SetMouseCapture(false);
    dropDownMenu_->SetPopupComponent(this);
    dropDownMenu_->Popup(screen.X, screen.Y);
}

void TKyvSpeedButton::MouseMove(fw::TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_) return;
    TKyvButtonState next = down_ ? TKyvButtonState::bsExclusive : TKyvButtonState::bsUp;
    if (fw::PtInRect(ClientRect(), fw::Point(x, y))) next = down_ ? TKyvButtonState::bsExclusive : TKyvButtonState::bsDown;
    if (next != state_) {
        state_ = next;
        Repaint();
    }
}

void TKyvSpeedButton::MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != fw::mbLeft || !dragging_) {
        UpdateMouseInControl();
        return;
    }
    dragging_ = false;
    const bool inside = fw::PtInRect(ClientRect(), fw::Point(x, y));
    if (groupIndex_ == 0) {
        state_ = TKyvButtonState::bsUp;
        mouseInControl_ = false;
        if (inside)
            Repaint();
        else
            Invalidate();
    } else if (inside) {
        SetDown(!down_);
        if (down_) Repaint();
    } else if (down_) {
        state_ = TKyvButtonState::bsExclusive;
        Repaint();
    }
    if (inside && !menuTracking_) Click();
    StopTimer();
    UpdateMouseInControl();
}

void TKyvSpeedButton::RepeatTimer(fw::TObject*) {
    repeatTimer_->SetInterval(static_cast<unsigned>(repeatInterval_));
    if (state_ == TKyvButtonState::bsDown && MouseCapture()) {
        try {
            Click();
        } catch (...) {
            StopTimer();
            throw;
        }
    }
}

void TKyvSpeedButton::StopTimer() {
    if (repeatTimer_) repeatTimer_->SetEnabled(false);
}

void TKyvSpeedButton::UpdateMouseInControl() {
    bool inside = false;
    if (Enabled() && Visible() && IsOwnActiveWindow()) {
        POINT cursor;
        GetCursorPos(&cursor);
        inside = fw::FindDragTarget(fw::Point(cursor.x, cursor.y), false) == this;
    }
    if (inside == mouseInControl_) return;
    mouseInControl_ = inside;
    if (inside)
        DoMouseEnter();
    else
        DoMouseLeave();
    if (flat_) Invalidate();
}

void TKyvSpeedButton::DoMouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TKyvSpeedButton::DoMouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

// The events fire from DoMouseEnter and DoMouseLeave; the parent hears the message as from any control.
void TKyvSpeedButton::CMMouseEnter(fw::TMessage& message) {
    if (Parent()) Parent()->Perform(fw::CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(static_cast<fw::TControl*>(this)));
    if (mouseInControl_ || !Enabled()) return;
    mouseInControl_ = true;
    if (flat_) Repaint();
    DoMouseEnter();
}

void TKyvSpeedButton::CMMouseLeave(fw::TMessage& message) {
    if (Parent()) Parent()->Perform(fw::CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(static_cast<fw::TControl*>(this)));
    if (!mouseInControl_ || dragging_) return;
    mouseInControl_ = false;
    if (flat_) Invalidate();
    DoMouseLeave();
}

void TKyvSpeedButton::DblClick() {
    if (!menuTracking_ && down_) TGraphicControl::DblClick();
}

void TKyvSpeedButton::CMEnabledChanged(fw::TMessage& message) {
    TGraphicControl::CMEnabledChanged(message);
    PrepareFirstState();
    UpdateMouseInControl();
    Invalidate();
}

void TKyvSpeedButton::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
    case fw::CM_BUTTONPRESSED: {
        auto* control = reinterpret_cast<fw::TControl*>(message.LParam);
        ButtonPressed(static_cast<int>(message.WParam), dynamic_cast<TKyvSpeedButton*>(control));
        return;
    }
    case fw::CM_DIALOGCHAR:
        if (fw::IsAccel(static_cast<unsigned>(message.WParam), Caption()) && Enabled() && IsVisible()) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    case fw::CM_SYSCOLORCHANGE:
        glyph_->Invalidate();
        Invalidate();
        break;
    case fw::CM_FONTCHANGED:
    case fw::CM_TEXTCHANGED:
        Invalidate();
        break;
    case fw::CM_VISIBLECHANGED:
        TGraphicControl::Dispatch(message);
        UpdateMouseInControl();
        return;
    }
    TGraphicControl::Dispatch(message);
}

void TKyvSpeedButton::Notification(fw::TComponent* component, fw::TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == fw::opRemove && component == dropDownMenu_) dropDownMenu_ = nullptr;
    if (operation == fw::opRemove && component == repeatTimer_) repeatTimer_ = nullptr;
}

void RegisterSpeedButtonClasses() {
    fw::RegisterClasses();
    fw::RegisterMenuClasses();
    fw::RegisterEnum<TKyvButtonStyle>({"bsAutoDetect", "bsWin31", "bsNew"}, "TKyvButtonStyle");
    fw::RegisterEnum<TKyvDropDownMenuPos>({"dmpBottom", "dmpRight"}, "TKyvDropDownMenuPos");
    fw::RegisterEnum<TKyvAlignment>({"taLeftJustify", "taRightJustify", "taCenter"}, "TKyvAlignment");
    fw::Class<TKyvSpeedButton, fw::TGraphicControl>("TKyvSpeedButton")
        .Prop("Glyph", &TKyvSpeedButton::Glyph, &TKyvSpeedButton::SetGlyph)
        .Prop("NumGlyphs", &TKyvSpeedButton::NumGlyphs, &TKyvSpeedButton::SetNumGlyphs)
        .Prop("Alignment", &TKyvSpeedButton::Alignment, &TKyvSpeedButton::SetAlignment)
        .Prop("WordWrap", &TKyvSpeedButton::WordWrap, &TKyvSpeedButton::SetWordWrap)
        .Prop("Layout", &TKyvSpeedButton::Layout, &TKyvSpeedButton::SetLayout)
        .Prop("Margin", &TKyvSpeedButton::Margin, &TKyvSpeedButton::SetMargin)
        .Prop("Spacing", &TKyvSpeedButton::Spacing, &TKyvSpeedButton::SetSpacing)
        .Prop("Style", &TKyvSpeedButton::Style, &TKyvSpeedButton::SetStyle)
        .Prop("Flat", &TKyvSpeedButton::Flat, &TKyvSpeedButton::SetFlat)
        .Prop("Transparent", &TKyvSpeedButton::Transparent, &TKyvSpeedButton::SetTransparent)
        .Prop("GrayedInactive", &TKyvSpeedButton::GrayedInactive, &TKyvSpeedButton::SetGrayedInactive)
        .Prop("GroupIndex", &TKyvSpeedButton::GroupIndex, &TKyvSpeedButton::SetGroupIndex)
        .Prop("Down", &TKyvSpeedButton::Down, &TKyvSpeedButton::SetDown)
        .Prop("AllowAllUp", &TKyvSpeedButton::AllowAllUp, &TKyvSpeedButton::SetAllowAllUp)
        .Prop("AllowTimer", &TKyvSpeedButton::AllowTimer, &TKyvSpeedButton::SetAllowTimer)
        .Prop("InitPause", &TKyvSpeedButton::InitPause, &TKyvSpeedButton::SetInitPause)
        .Prop("RepeatInterval", &TKyvSpeedButton::RepeatInterval, &TKyvSpeedButton::SetRepeatInterval)
        .Prop("DropDownMenu", &TKyvSpeedButton::DropDownMenu, &TKyvSpeedButton::SetDropDownMenu)
        .Prop("MenuPosition", &TKyvSpeedButton::MenuPosition, &TKyvSpeedButton::SetMenuPosition)
        .Prop("MarkDropDown", &TKyvSpeedButton::MarkDropDown, &TKyvSpeedButton::SetMarkDropDown)
        .Prop("ModalResult", &TKyvSpeedButton::ModalResult, &TKyvSpeedButton::SetModalResult)
        .Idents(fw::ModalResultIdents());
}

}  // namespace uis
