// TControl: bounds, looks, text and the mouse handling shared by windowless and windowed controls.
#include "framework/win32/controls.h"

#include <algorithm>
#include <vector>

#include "framework/core/filer.h"
#include "framework/win32/actions.h"
#include "framework/win32/graphics.h"

namespace fw {

namespace {

PopupMenuHandler popupMenuHandler = nullptr;
CursorResolver cursorResolver = nullptr;

int SignedLow(LPARAM value) { return static_cast<short>(LOWORD(static_cast<DWORD_PTR>(value))); }
int SignedHigh(LPARAM value) { return static_cast<short>(HIWORD(static_cast<DWORD_PTR>(value))); }

}  // namespace

// ---- free helpers ---------------------------------------------------------------------------------

TShiftState MouseShiftState(WPARAM keys) {
    TShiftState s;
    if (keys & MK_SHIFT) s.Include(ssShift);
    if (keys & MK_CONTROL) s.Include(ssCtrl);
    if (keys & MK_LBUTTON) s.Include(ssLeft);
    if (keys & MK_RBUTTON) s.Include(ssRight);
    if (keys & MK_MBUTTON) s.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState KeyboardShiftState() {
    TShiftState s;
    if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
    return s;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState s = KeyboardShiftState();
    if (static_cast<DWORD_PTR>(keyData) & 0x20000000u) s.Include(ssAlt);
    return s;
}

const IdentTable& CursorIdents() {
    static const IdentTable table{{{"crDefault", crDefault},     {"crNone", crNone},
                                   {"crArrow", crArrow},         {"crCross", crCross},
                                   {"crIBeam", crIBeam},         {"crSizeNESW", crSizeNESW},
                                   {"crSizeNS", crSizeNS},       {"crSizeNWSE", crSizeNWSE},
                                   {"crSizeWE", crSizeWE},       {"crUpArrow", crUpArrow},
                                   {"crHourGlass", crHourGlass}, {"crDrag", crDrag},
                                   {"crNoDrop", crNoDrop},       {"crHSplit", crHSplit},
                                   {"crVSplit", crVSplit},       {"crMultiDrag", crMultiDrag},
                                   {"crSQLWait", crSQLWait},     {"crNo", crNo},
                                   {"crAppStart", crAppStart},   {"crHelp", crHelp},
                                   {"crHandPoint", crHandPoint}, {"crSizeAll", crSizeAll}},
                                  false};
    return table;
}

void SetCursorResolver(CursorResolver resolver) { cursorResolver = resolver; }

HCURSOR CursorHandle(TCursor cursor) {
    const char* id = nullptr;
    switch (cursor) {
        case crNone: return nullptr;
        case crDefault:
        case crArrow: id = IDC_ARROW; break;
        case crCross: id = IDC_CROSS; break;
        case crIBeam: id = IDC_IBEAM; break;
        case crSizeNESW: id = IDC_SIZENESW; break;
        case crSizeNS:
        case crVSplit: id = IDC_SIZENS; break;
        case crSizeNWSE: id = IDC_SIZENWSE; break;
        case crSizeWE:
        case crHSplit: id = IDC_SIZEWE; break;
        case crUpArrow: id = IDC_UPARROW; break;
        case crHourGlass:
        case crSQLWait: id = IDC_WAIT; break;
        case crNo:
        case crNoDrop: id = IDC_NO; break;
        case crAppStart: id = IDC_APPSTARTING; break;
        case crHelp: id = IDC_HELP; break;
        case crHandPoint: id = IDC_HAND; break;
        case crSizeAll: id = IDC_SIZEALL; break;
        default: break;
    }
    if (!id && cursorResolver) {
        if (HCURSOR h = cursorResolver(cursor)) return h;
    }
    return LoadCursorA(nullptr, id ? id : IDC_ARROW);
}

void SetPopupMenuHandler(PopupMenuHandler handler) { popupMenuHandler = handler; }

void TSizeConstraints::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TSizeConstraints*>(source)) {
        maxHeight_ = other->maxHeight_;
        maxWidth_ = other->maxWidth_;
        minHeight_ = other->minHeight_;
        minWidth_ = other->minWidth_;
        return;
    }
    TPersistent::Assign(source);
}

// ---- TControl -------------------------------------------------------------------------------------

TControl::TControl(TComponent* owner) : TComponent(owner), constraints_(new TSizeConstraints) {}

TControl::~TControl() {
    delete font_;
    delete constraints_;
}

void TControl::BeforeDestruction() {
    ForgetDragControl(this);
    Destroying();
    if (parent_) parent_->RemoveControl(this);
    TComponent::BeforeDestruction();
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (parent_) {
        if (parentColor_) Perform(CM_PARENTCOLORCHANGED);
        if (parentFont_) Perform(CM_PARENTFONTCHANGED);
        if (parentShowHint_) Perform(CM_PARENTSHOWHINTCHANGED);
    }
    RequestAlign();
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
    if (operation == opRemove && component == action_) action_ = nullptr;
}

// ---- bounds ----

void TControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    const bool resized = width != width_ || height != height_;
    InvalidateControl(visible_, false);
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    InvalidateControl(visible_, (controlStyle_ & csOpaque) != 0);
    RequestAlign();
    if (resized) Resize();
}

TRect TControl::ClientRect() const { return Rect(0, 0, width_, height_); }

void TControl::SetClientWidth(int v) { SetWidth(v + (width_ - ClientWidth())); }
void TControl::SetClientHeight(int v) { SetHeight(v + (height_ - ClientHeight())); }

TPoint TControl::ClientOrigin() const {
    if (!parent_) return Point(left_, top_);
    return parent_->ClientOrigin() + Point(left_, top_);
}

TPoint TControl::ClientToScreen(const TPoint& p) const { return p + ClientOrigin(); }
TPoint TControl::ScreenToClient(const TPoint& p) const { return p - ClientOrigin(); }

void TControl::SetAlign(TAlign value) {
    if (align_ == value) return;
    align_ = value;
    RequestAlign();
}

void TControl::SetAutoSize(bool value) {
    if (autoSize_ == value) return;
    autoSize_ = value;
    if (value) RequestAlign();
}

void TControl::RequestAlign() {
    if (parent_) parent_->AlignControl(this);
}

void TControl::Resize() {
    if (OnResize) OnResize(this);
}

// ---- tree and state ----

void TControl::SetParent(TWinControl* parent) {
    if (parent_ == parent) return;
    if (parent == this) throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_) parent_->RemoveControl(this);
    if (parent) parent->InsertControl(this);
}

void TControl::ReadState(TReader& reader) {
    controlState_ |= csReadingState;
    try {
        if (auto* parent = dynamic_cast<TWinControl*>(reader.Parent())) SetParent(parent);
        TComponent::ReadState(reader);
    } catch (...) {
        controlState_ &= ~csReadingState;
        throw;
    }
    controlState_ &= ~csReadingState;
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* wc = dynamic_cast<TWinControl*>(parent)) SetParent(wc);
}

void TControl::SetVisible(bool value) {
    if (visible_ == value) return;
    if (!value) InvalidateControl(true, false);
    visible_ = value;
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
    if (value) InvalidateControl(true, (controlStyle_ & csOpaque) != 0);
    RequestAlign();
}

bool TControl::IsVisible() const {
    const TControl* c = this;
    while (c) {
        if (!c->visible_) return false;
        if (!c->parent_) {
            auto* wc = dynamic_cast<const TWinControl*>(c);
            return wc && wc->HandleAllocated() && IsWindowVisible(const_cast<TWinControl*>(wc)->Handle());
        }
        c = c->parent_;
    }
    return false;
}

void TControl::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Perform(CM_ENABLEDCHANGED);
}

// ---- look ----

void TControl::SetColor(TColor value) {
    if (color_ == value && !parentColor_) return;
    color_ = value;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    if (parentColor_ == value) return;
    parentColor_ = value;
    if (value && parent_ && !InState(csReading)) Perform(CM_PARENTCOLORCHANGED);
}

TFont* TControl::Font() const {
    if (!font_) {
        font_ = new TFont;
        auto* self = const_cast<TControl*>(this);
        if (parentFont_ && parent_) self->AssignParentFont();
        font_->OnChange.Bind(self, &TControl::FontChangeHandler);
    }
    return font_;
}

void TControl::SetFont(TFont* value) { Font()->Assign(value); }

void TControl::AssignParentFont() {
    if (!parent_) return;
    assigningParentFont_ = true;
    try {
        Font()->Assign(parent_->Font());
    } catch (...) {
        assigningParentFont_ = false;
        throw;
    }
    assigningParentFont_ = false;
}

void TControl::FontChangeHandler(TObject*) {
    if (!assigningParentFont_) parentFont_ = false;
    Perform(CM_FONTCHANGED);
}

void TControl::FontChanged() { FontChangeHandler(this); }

void TControl::SetParentFont(bool value) {
    if (parentFont_ == value) return;
    parentFont_ = value;
    if (value && parent_ && !InState(csReading)) Perform(CM_PARENTFONTCHANGED);
}

// ---- text ----

void TControl::SetText(const std::string& value) {
    if (GetText() == value) return;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
    Perform(CM_TEXTCHANGED);
}

int TControl::GetTextLen() const {
    return static_cast<int>(const_cast<TControl*>(this)->Perform(WM_GETTEXTLENGTH));
}

std::string TControl::GetText() const {
    auto* self = const_cast<TControl*>(this);
    const int len = GetTextLen();
    if (len <= 0) return {};
    std::string buffer(static_cast<size_t>(len) + 1, '\0');
    const auto got = self->Perform(WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, len)));
    return buffer;
}

void TControl::SetName(const std::string& newName) {
    const std::string oldName = Name();
    const bool follow = (controlStyle_ & csSetCaption) && !InState(csLoading | csReading) &&
                        (!Owner() || !Owner()->InState(csLoading | csReading)) && GetText() == oldName;
    TComponent::SetName(newName);
    if (auto* wc = dynamic_cast<TWinControl*>(this)) wc->UpdateNameProp();
    if (follow) SetText(newName);
}

// ---- help and input ----

void TControl::SetShowHint(bool value) {
    if (showHint_ == value && !parentShowHint_) return;
    showHint_ = value;
    parentShowHint_ = false;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
    if (parentShowHint_ == value) return;
    parentShowHint_ = value;
    if (value && parent_ && !InState(csReading)) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetCursor(TCursor value) {
    if (cursor_ == value) return;
    cursor_ = value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TComponent* value) {
    if (popupMenu_ == value) return;
    if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
    popupMenu_ = value;
    if (value) value->FreeNotification(this);
}

// ---- painting ----

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
    if (!isVisible || !parent_ || !parent_->HandleAllocated() || parent_->InState(csDestroying)) return;
    RECT r{left_, top_, left_ + width_, top_ + height_};
    const bool parentOpaque = (parent_->ControlStyle() & csOpaque) != 0;
    InvalidateRect(parent_->Handle(), &r, (isOpaque || parentOpaque) ? FALSE : TRUE);
}

void TControl::Invalidate() { InvalidateControl(visible_, (controlStyle_ & csOpaque) != 0); }

void TControl::Repaint() {
    if (!visible_ || !parent_ || !parent_->HandleAllocated()) return;
    if (controlStyle_ & csOpaque) {
        HWND window = parent_->Handle();
        HDC dc = GetDC(window);
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, left_, top_, left_ + width_, top_ + height_);
        parent_->PaintControls(dc, this);
        RestoreDC(dc, saved);
        ReleaseDC(window, dc);
    } else {
        Invalidate();
        Update();
    }
}

void TControl::Update() {
    if (parent_) parent_->Update();
}

void TControl::BringToFront() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    list.push_back(this);
    if (auto* wc = dynamic_cast<TWinControl*>(this); wc && wc->HandleAllocated())
        SetWindowPos(wc->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    else
        Invalidate();
}

void TControl::SendToBack() {
    if (!parent_) return;
    auto& list = parent_->controls_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    list.insert(list.begin(), this);
    if (auto* wc = dynamic_cast<TWinControl*>(this); wc && wc->HandleAllocated())
        SetWindowPos(wc->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    else
        Invalidate();
}

// ---- messages ----

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    WndProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    if (DispatchDragMessage(this, message)) return;
    // Without csDoubleClicks a double click is a second press.
    if (!(controlStyle_ & csDoubleClicks)) {
        if (message.Msg == WM_LBUTTONDBLCLK) message.Msg = WM_LBUTTONDOWN;
        else if (message.Msg == WM_RBUTTONDBLCLK) message.Msg = WM_RBUTTONDOWN;
        else if (message.Msg == WM_MBUTTONDBLCLK) message.Msg = WM_MBUTTONDOWN;
    }
    Dispatch(message);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK: WMMouse(message); break;
        case WM_SETTEXT: WMSetText(message); break;
        case WM_GETTEXT: WMGetText(message); break;
        case WM_GETTEXTLENGTH: WMGetTextLength(message); break;
        case CM_MOUSEENTER: CMMouseEnter(message); break;
        case CM_MOUSELEAVE: CMMouseLeave(message); break;
        case CM_ENABLEDCHANGED: CMEnabledChanged(message); break;
        case CM_VISIBLECHANGED: CMVisibleChanged(message); break;
        case CM_COLORCHANGED: CMColorChanged(message); break;
        case CM_FONTCHANGED: CMFontChanged(message); break;
        case CM_TEXTCHANGED: CMTextChanged(message); break;
        case CM_PARENTCOLORCHANGED: CMParentColorChanged(message); break;
        case CM_PARENTFONTCHANGED: CMParentFontChanged(message); break;
        case CM_PARENTSHOWHINTCHANGED: CMParentShowHintChanged(message); break;
        case CM_HITTEST: CMHitTest(message); break;
        default: DefaultHandler(message); break;
    }
}

void TControl::WMSetText(TMessage& message) {
    const char* text = reinterpret_cast<const char*>(message.LParam);
    text_ = text ? text : "";
    message.Result = 1;
}

void TControl::WMGetText(TMessage& message) {
    char* buffer = reinterpret_cast<char*>(message.LParam);
    const size_t capacity = static_cast<size_t>(message.WParam);
    if (!buffer || capacity == 0) {
        message.Result = 0;
        return;
    }
    const size_t n = std::min(text_.size(), capacity - 1);
    std::copy_n(text_.data(), n, buffer);
    buffer[n] = '\0';
    message.Result = static_cast<LRESULT>(n);
}

void TControl::WMGetTextLength(TMessage& message) { message.Result = static_cast<LRESULT>(text_.size()); }

void TControl::CMMouseEnter(TMessage& message) {
    const auto* who = reinterpret_cast<TControl*>(message.LParam);
    if (!who || who == this) {
        if (OnMouseEnter) OnMouseEnter(this);
    }
    if (parent_) parent_->Perform(CM_MOUSEENTER, 0, who ? message.LParam : reinterpret_cast<LPARAM>(this));
}

void TControl::CMMouseLeave(TMessage& message) {
    const auto* who = reinterpret_cast<TControl*>(message.LParam);
    if (!who || who == this) {
        if (OnMouseLeave) OnMouseLeave(this);
    }
    if (parent_) parent_->Perform(CM_MOUSELEAVE, 0, who ? message.LParam : reinterpret_cast<LPARAM>(this));
}

void TControl::CMEnabledChanged(TMessage&) { Invalidate(); }
void TControl::CMVisibleChanged(TMessage&) {}
void TControl::CMColorChanged(TMessage&) { Invalidate(); }
void TControl::CMFontChanged(TMessage&) { Invalidate(); }
void TControl::CMTextChanged(TMessage&) {}

void TControl::CMParentColorChanged(TMessage& message) {
    if (!parentColor_) return;
    const TColor c = message.WParam ? static_cast<TColor>(message.LParam) : (parent_ ? parent_->Color() : color_);
    if (c != color_) {
        color_ = c;
        Perform(CM_COLORCHANGED);
    }
    parentColor_ = true;
}

void TControl::CMParentFontChanged(TMessage&) {
    if (parentFont_ && parent_ && font_) AssignParentFont();
}

void TControl::CMParentShowHintChanged(TMessage&) {
    if (!parentShowHint_ || !parent_) return;
    if (showHint_ != parent_->ShowHint()) {
        showHint_ = parent_->ShowHint();
        Perform(CM_SHOWHINTCHANGED);
    }
}

void TControl::CMHitTest(TMessage& message) { message.Result = HTCLIENT; }

// ---- mouse ----

bool TControl::MouseCapture() const {
    if (auto* wc = dynamic_cast<const TWinControl*>(this))
        return wc->HandleAllocated() && GetCapture() == wc->handle_;
    return parent_ && parent_->captureControl_ == this && parent_->HandleAllocated() &&
           GetCapture() == parent_->handle_;
}

void TControl::SetMouseCapture(bool value) {
    if (MouseCapture() == value) return;
    if (auto* wc = dynamic_cast<TWinControl*>(this)) {
        if (value)
            SetCapture(wc->Handle());
        else
            ReleaseCapture();
        return;
    }
    if (!parent_ || !parent_->HandleAllocated()) return;
    if (value) {
        parent_->captureControl_ = this;
        SetCapture(parent_->Handle());
    } else {
        parent_->captureControl_ = nullptr;
        if (GetCapture() == parent_->Handle()) ReleaseCapture();
    }
}

void TControl::Click() {
    if (action_ && ExecuteClientAction(action_, OnClick)) return;
    if (OnClick) OnClick(this);
}

void TControl::DblClick() {
    if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

bool TControl::DoPopupMenu(TPoint screenPos) {
    if (dynamic_cast<TWinControl*>(this))
        return popupMenu_ && popupMenuHandler && popupMenuHandler(this, popupMenu_, screenPos);
    for (TControl* c = this; c; c = c->parent_) {
        if (c->popupMenu_) return popupMenuHandler && popupMenuHandler(c, c->popupMenu_, screenPos);
    }
    return false;
}

void TControl::WMMouse(TMessage& message) {
    const int x = SignedLow(message.LParam);
    const int y = SignedHigh(message.LParam);
    const TShiftState shift = MouseShiftState(message.WParam);
    const bool stdEvents = !(controlStyle_ & csNoStdEvents);
    switch (message.Msg) {
        case WM_MOUSEMOVE:
            DefaultHandler(message);
            if (stdEvents) MouseMove(shift, x, y);
            break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            const bool isDouble = message.Msg == WM_LBUTTONDBLCLK;
            DefaultHandler(message);
            if (controlStyle_ & csCaptureMouse) SetMouseCapture(true);
            if (controlStyle_ & csClickEvents) controlState_ |= csClicked;
            if (isDouble && (controlStyle_ & csClickEvents)) DblClick();
            if (stdEvents) MouseDown(mbLeft, isDouble ? shift + TShiftState{ssDouble} : shift, x, y);
            break;
        }
        case WM_LBUTTONUP:
            DefaultHandler(message);
            if (controlStyle_ & csCaptureMouse) SetMouseCapture(false);
            if (controlState_ & csClicked) {
                controlState_ &= ~csClicked;
                if (PtInRect(ClientRect(), Point(x, y))) Click();
            }
            if (stdEvents) MouseUp(mbLeft, shift, x, y);
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            DefaultHandler(message);
            if (stdEvents)
                MouseDown(mbRight, message.Msg == WM_RBUTTONDBLCLK ? shift + TShiftState{ssDouble} : shift, x, y);
            break;
        case WM_RBUTTONUP:
            if (stdEvents) MouseUp(mbRight, shift, x, y);
            // A window opens its own popup menu; without one, the default handling sends WM_CONTEXTMENU,
            // which a system control answers with its own menu or passes to its parent. A windowless
            // control has no such path: the nearest parent with a menu opens it.
            if (DoPopupMenu(ClientToScreen(Point(x, y))))
                message.Result = 0;
            else
                DefaultHandler(message);
            break;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            DefaultHandler(message);
            if (stdEvents)
                MouseDown(mbMiddle, message.Msg == WM_MBUTTONDBLCLK ? shift + TShiftState{ssDouble} : shift, x, y);
            break;
        case WM_MBUTTONUP:
            DefaultHandler(message);
            if (stdEvents) MouseUp(mbMiddle, shift, x, y);
            break;
        default: DefaultHandler(message); break;
    }
}

}  // namespace fw
