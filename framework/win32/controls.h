// Controls and message dispatch: TControl (windowless or not), TWinControl (owns a window),
// TCustomControl (a window with its own canvas) and TGraphicControl (painted by its parent).
//
// Messages reach a control in two ways. Through Win32 (SendMessageA, PostMessageA, the system), they pass
// the window's subclass hook chain first and then the class window procedure, which calls WndProc.
// Perform calls WndProc directly and bypasses every hook. WndProc hands the message to Dispatch, which
// calls the handler for its number, and what no handler takes goes to DefaultHandler (the original
// window procedure for a window, nothing for a windowless control).
//
// Windowless children live in their parent's Controls list. The parent paints them after itself in
// z-order, each clipped and offset to its bounds, and routes the mouse to the topmost one under the
// cursor (capturing it for csCaptureMouse controls while a button is down).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/graphics_values.h"
#include "framework/core/object.h"
#include "framework/core/rtti.h"
#include "framework/win32/messages.h"
#include "framework/win32/winapi.h"

namespace fw {

class TCanvas;
class TControlCanvas;
class TFont;
class TControl;
class TWinControl;

// A window message as controls see it. Result is what the window procedure returns.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
constexpr TAlign alNone = TAlign::alNone;
constexpr TAlign alTop = TAlign::alTop;
constexpr TAlign alBottom = TAlign::alBottom;
constexpr TAlign alLeft = TAlign::alLeft;
constexpr TAlign alRight = TAlign::alRight;
constexpr TAlign alClient = TAlign::alClient;
constexpr TAlign alCustom = TAlign::alCustom;

enum class TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = Set<TAnchorKind>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
constexpr TMouseButton mbLeft = TMouseButton::mbLeft;
constexpr TMouseButton mbRight = TMouseButton::mbRight;
constexpr TMouseButton mbMiddle = TMouseButton::mbMiddle;

enum class TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = Set<TShiftStateItem>;
constexpr TShiftStateItem ssShift = TShiftStateItem::ssShift;
constexpr TShiftStateItem ssAlt = TShiftStateItem::ssAlt;
constexpr TShiftStateItem ssCtrl = TShiftStateItem::ssCtrl;
constexpr TShiftStateItem ssLeft = TShiftStateItem::ssLeft;
constexpr TShiftStateItem ssRight = TShiftStateItem::ssRight;
constexpr TShiftStateItem ssMiddle = TShiftStateItem::ssMiddle;
constexpr TShiftStateItem ssDouble = TShiftStateItem::ssDouble;

// The shift state of a mouse message's wParam (MK_*), and of the keyboard (with GetKeyState).
TShiftState MouseShiftState(WPARAM keys);
TShiftState KeyboardShiftState();
// The shift state of a WM_KEYDOWN/WM_SYSKEYDOWN's lParam plus the keyboard.
TShiftState KeyDataToShiftState(LPARAM keyData);

// Cursor identifiers (negative: the framework's stock cursors; Screen maps them to HCURSORs).
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
const IdentTable& CursorIdents();

// ControlStyle: what a control class is and how it behaves. Fixed per class, set in constructors.
enum : uint32_t {
    csAcceptsControls = 1u << 0,  // may be the Parent of other controls
    csCaptureMouse = 1u << 1,     // a press captures the mouse until release
    csDesignInteractive = 1u << 2,
    csClickEvents = 1u << 3,      // Click on a left release inside
    csFramed = 1u << 4,
    csSetCaption = 1u << 5,       // the Name becomes the Caption while the caption is unset
    csOpaque = 1u << 6,           // paints its whole rectangle: Invalidate does not erase the parent
    csDoubleClicks = 1u << 7,     // without it, a double click arrives as a second press
    csFixedWidth = 1u << 8,
    csFixedHeight = 1u << 9,
    csNoDesignVisible = 1u << 10,
    csReplicatable = 1u << 11,
    csNoStdEvents = 1u << 12,
    csDisplayDragImage = 1u << 13,
    csReflector = 1u << 14,
    csActionClient = 1u << 15,
    csMenuEvents = 1u << 16,
};
using TControlStyle = uint32_t;

// ControlState: what a control is doing now.
enum : uint32_t {
    csLButtonDown = 1u << 0,
    csClicked = 1u << 1,
    csPalette = 1u << 2,
    csReadingState = 1u << 3,
    csAlignmentNeeded = 1u << 4,
    csFocusing = 1u << 5,
    csCreating = 1u << 6,
    csPaintCopy = 1u << 7,  // painting into a caller's DC for a control above (PaintControlBackground)
    csCustomPaint = 1u << 8,
    csDestroyingHandle = 1u << 9,
    csDocking = 1u << 10,
    csMouseInside = 1u << 11,  // CM_MOUSEENTER sent, CM_MOUSELEAVE not yet
};
using TControlState = uint32_t;

// Min/max sizes; stored and streamed, not enforced.
class TSizeConstraints : public TPersistent {
public:
    int MaxHeight() const { return maxHeight_; }
    void SetMaxHeight(int v) { maxHeight_ = v; }
    int MaxWidth() const { return maxWidth_; }
    void SetMaxWidth(int v) { maxWidth_ = v; }
    int MinHeight() const { return minHeight_; }
    void SetMinHeight(int v) { minHeight_ = v; }
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int v) { minWidth_ = v; }
    void Assign(TPersistent* source) override;

private:
    int maxHeight_ = 0, maxWidth_ = 0, minHeight_ = 0, minWidth_ = 0;
};

// Dragging between controls: a drag starts on a press (DragMode dmAutomatic) or by BeginDrag, follows
// the mouse, asks each control below it whether it accepts the source, and drops on release.
enum class TDragMode { dmManual, dmAutomatic };
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using TDragOverEvent =
    Event<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State, bool& Accept)>;
using TDragDropEvent = Event<void(TObject* Sender, TObject* Source, int X, int Y)>;
using TEndDragEvent = Event<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TStartDragEvent = Event<void(TObject* Sender, TObject*& DragObject)>;

using TMouseEvent = Event<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = Event<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = Event<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = Event<void(TObject* Sender, char& Key)>;
using TMouseWheelEvent =
    Event<void(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos, bool& Handled)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);

    // ---- bounds (relative to the Parent's client area) ----
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    // The client area in client coordinates (origin 0,0).
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    // The screen position of the client area's origin.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(const TPoint& p) const;
    TPoint ScreenToClient(const TPoint& p) const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    bool AutoSize() const { return autoSize_; }
    virtual void SetAutoSize(bool value);
    TAnchors Anchors() const { return anchors_; }
    void SetAnchors(TAnchors value) { anchors_ = value; }
    TSizeConstraints* Constraints() const { return constraints_; }
    void SetConstraints(TSizeConstraints* value) { constraints_->Assign(value); }

    // ---- tree and state ----
    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to a top-level window that is shown.
    bool IsVisible() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool value);

    // ---- look ----
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool value);
    // The control's font, created on first use (a copy of the parent's while ParentFont is set).
    TFont* Font() const;
    void SetFont(TFont* value);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool value);

    // Caption and Text are the same string, read and written through WM_GETTEXT/WM_SETTEXT, so a
    // control that keeps its text elsewhere (a window) overrides those messages only.
    std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& value) { SetText(value); }
    std::string Text() const { return GetText(); }
    void SetText(const std::string& value);
    std::string GetText() const;
    int GetTextLen() const;

    // ---- help and input ----
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value) { hint_ = value; }
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return parentShowHint_; }
    void SetParentShowHint(bool value);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value);
    // The popup menu opened by a right click; the menus unit gives it behaviour through PopupMenuHook.
    TComponent* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TComponent* value);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value) { helpContext_ = value; }
    // The action (actions unit) driving Caption, Enabled, Hint, Visible and the click.
    TComponent* Action() const { return action_; }
    void SetAction(TComponent* value);
    // The action changed: copy its values (CheckDefaults: only where the control still has defaults).
    virtual void ActionChange(TObject* sender, bool checkDefaults);

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle value) { controlStyle_ = value; }
    TControlState ControlState() const { return controlState_; }
    void SetControlState(TControlState value) { controlState_ = value; }

    // ---- painting ----
    // Marks the control for repainting; a windowless control that is not csOpaque also erases the
    // parent's background below it.
    virtual void Invalidate();
    // Paints now: an opaque windowless control paints straight into its parent's DC; otherwise
    // Invalidate and Update.
    virtual void Repaint();
    void Refresh() { Repaint(); }
    // Paints pending invalid regions of the window holding this control.
    virtual void Update();
    virtual HPALETTE GetPalette() { return nullptr; }
    // A control that shows its caption on one line tells the pixels the caption takes there (its
    // text in the control's font and what the control draws beside it) and the pixels it has; false
    // when it shows none (caption_check.h asks every control of a form).
    virtual bool MeasureCaption(int& needed, int& room);

    // ---- z-order ----
    void BringToFront();
    void SendToBack();

    // ---- messages ----
    // Calls WndProc directly (no Win32 hook sees the message) and returns its Result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual void WndProc(TMessage& message);
    // What no handler took: the default window procedure for a window; nothing for a windowless control.
    virtual void DefaultHandler(TMessage& message);

    // ---- mouse ----
    bool MouseCapture() const;
    void SetMouseCapture(bool value);
    virtual void Click();
    virtual void DblClick();

    // ---- dragging ----
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode value) { dragMode_ = value; }
    TCursor DragCursor() const { return dragCursor_; }
    void SetDragCursor(TCursor value) { dragCursor_ = value; }
    // Starts dragging this control now, or once the mouse has moved `threshold` pixels (-1: the
    // system's drag distance) with the button down.
    void BeginDrag(bool immediate, int threshold = -1);
    // Ends the drag of this control: dropping on the control below the mouse, or cancelled.
    void EndDrag(bool drop);
    bool Dragging() const;
    // The target side: whether `source` may be dropped at (x, y), and the drop itself.
    virtual void DragOver(TObject* source, int x, int y, TDragState state, bool& accept);
    virtual void DragDrop(TObject* source, int x, int y);
    // The source side: the drag started, and it ended on `target` (null: cancelled or refused).
    virtual void DoStartDrag();
    virtual void DoEndDrag(TObject* target, int x, int y);
    // Whether a press starts a drag of a dmAutomatic control; list and tree views start theirs from
    // their own drag notifications instead.
    virtual bool DragStartsOnPress() const { return true; }

    // True for forms (TForm overrides it); GetParentForm stops there.
    virtual bool IsForm() const { return false; }

    // Streaming: the Parent is the streaming parent; a control read nested in a windowed control
    // takes it as its Parent before its properties are read.
    void ReadState(TReader& reader) override;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void SetName(const std::string& newName) override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;
    TStartDragEvent OnStartDrag;

protected:
    ~TControl() override;
    void BeforeDestruction() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // The handler table: WndProc calls Dispatch, which calls the handlers below by message number and
    // DefaultHandler for the rest. Overrides call the inherited handler for default behaviour.
    virtual void Dispatch(TMessage& message);
    virtual void WMMouse(TMessage& message);  // buttons and moves in this control's client coordinates
    virtual void WMSetText(TMessage& message);
    virtual void WMGetText(TMessage& message);
    virtual void WMGetTextLength(TMessage& message);
    virtual void CMMouseEnter(TMessage& message);
    virtual void CMMouseLeave(TMessage& message);
    virtual void CMEnabledChanged(TMessage& message);
    virtual void CMVisibleChanged(TMessage& message);
    virtual void CMColorChanged(TMessage& message);
    virtual void CMFontChanged(TMessage& message);
    virtual void CMTextChanged(TMessage& message);
    virtual void CMParentColorChanged(TMessage& message);
    virtual void CMParentFontChanged(TMessage& message);
    virtual void CMParentShowHintChanged(TMessage& message);
    virtual void CMHitTest(TMessage& message);

    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Resize();
    // Asks the parent to lay out its aligned children again.
    virtual void RequestAlign();
    // The right-button-up default: opens PopupMenu at the screen point through PopupMenuHook.
    virtual bool DoPopupMenu(TPoint screenPos);
    // The font was changed by the caller (not through ParentFont).
    void FontChanged();

    // Text kept by a windowless control (a window keeps its own).
    std::string& TextBuffer() { return text_; }

    TControlStyle controlStyle_ = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    TControlState controlState_ = 0;

private:
    friend class TWinControl;
    void InvalidateControl(bool isVisible, bool isOpaque);
    void FontChangeHandler(TObject* sender);
    void AssignParentFont();

    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    TAlign align_ = TAlign::alNone;
    bool autoSize_ = false;
    TAnchors anchors_{TAnchorKind::akLeft, TAnchorKind::akTop};
    TSizeConstraints* constraints_ = nullptr;
    bool visible_ = true;
    bool enabled_ = true;
    TColor color_ = clWindow;
    bool parentColor_ = false;
    mutable TFont* font_ = nullptr;
    bool parentFont_ = true;
    bool assigningParentFont_ = false;
    std::string text_;
    std::string hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    TCursor cursor_ = crDefault;
    TComponent* popupMenu_ = nullptr;
    int helpContext_ = 0;
    TDragMode dragMode_ = TDragMode::dmManual;
    TCursor dragCursor_ = crDrag;
    TComponent* action_ = nullptr;
};

// What a window is created with; CreateParams fills it and may change anything.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    // style, hbrBackground, hCursor, hIcon, lpszMenuName; lpfnWndProc is the procedure messages fall back
    // to (DefWindowProcA, or a system class's procedure after CreateSubClass).
    WNDCLASSA WindowClass{};
    // The registered class name; the control class name unless CreateParams changes it.
    std::string WinClassName;
};

// The class window procedure of every framework window.
LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);

    // The window, created on first use (never again while the control is being destroyed).
    HWND Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    void HandleNeeded();
    // The parent window for a control without a Parent (a form owned by another window).
    HWND ParentWindow() const { return parentWindow_; }
    void SetParentWindow(HWND value);
    // Destroys the window (and its children's) and creates them again at once, keeping text, bounds
    // and control-bound hooks. Nothing happens while the control has no window.
    void RecreateWnd();

    // ---- children ----
    int ControlCount() const { return static_cast<int>(controls_.size()); }
    // Raises EListError for an index out of range.
    TControl* Controls(int index) const;
    // Windowed children only, in z-order.
    int WinControlCount() const;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    bool ContainsControl(TControl* control) const;
    // Sends the message to every child with Perform until one sets Result.
    void Broadcast(TMessage& message);
    // Sends `msg` with wParam 0 and lParam 0 to every child.
    void NotifyControls(UINT msg);
    // The topmost visible (and enabled unless allowDisabled) child at the client point.
    TControl* ControlAtPos(const TPoint& pos, bool allowDisabled = false, bool allowWinControls = false) const;

    // ---- painting ----
    // Paints the windowless children from `first` up (null: all), each clipped and offset into `dc`.
    // It stops below a child that is in csPaintCopy (PaintControlBackground paints what lies under it).
    void PaintControls(HDC dc, TControl* first);
    void Invalidate() override;
    void Repaint() override;
    void Update() override;

    // ---- layout ----
    void SetBounds(int left, int top, int width, int height) override;
    TRect ClientRect() const override;
    TPoint ClientOrigin() const override;
    void Realign();
    void DisableAlign();
    void EnableAlign();
    bool AlignDisabled() const { return alignLevel_ != 0; }

    // ---- focus and keys ----
    virtual bool CanFocus() const;
    virtual bool Focused() const;
    virtual void SetFocus();
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool value);
    int TabOrder() const;
    void SetTabOrder(int value);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);
    bool ParentCtl3D() const { return parentCtl3D_; }
    void SetParentCtl3D(bool value);
    // The windowed children that take part in tabbing, in TabOrder.
    void GetTabOrderList(std::vector<TWinControl*>& list);

    void ReadState(TReader& reader) override;
    // Streamed children: the children owned by `root`, in z-order; a root also lists the components it
    // owns that have no parent (timers, menus, data components).
    void GetChildren(ChildProc proc, void* context, TComponent* root) override;

    // Messages.
    void DefaultHandler(TMessage& message) override;
    // The procedure DefaultHandler calls (DefWindowProcA or the system class's).
    WNDPROC DefWndProc() const { return defWndProc_; }

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseWheelEvent OnMouseWheel;

protected:
    ~TWinControl() override;
    void BeforeDestruction() override;
    void Loaded() override;

    virtual void CreateParams(TCreateParams& params);
    // Makes the window a subclass of a system class ("BUTTON", "EDIT", ...): its procedure becomes the
    // default one and its class styles are kept.
    void CreateSubClass(TCreateParams& params, const char* controlClassName);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    // Runs after the window exists: children's windows, font, text; then hooks are attached.
    virtual void CreateHandle();
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    void DestroyHandle();
    // Called after every CreateWnd (first or re-created), for state the window keeps (items, selection).
    virtual void CreateWindowState() {}

    virtual void PaintWindow(HDC dc);
    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void AdjustClientRect(TRect& rect);
    // A custom-aligned child's place (alCustom); the default leaves it.
    virtual void CustomAlignPosition(TControl* control, int& left, int& top, int& width, int& height) {}

    virtual void KeyDown(uint16_t& key, TShiftState shift);
    virtual void KeyUp(uint16_t& key, TShiftState shift);
    virtual void KeyPress(char& key);
    // Fires OnMouseWheel; true when handled.
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos);
    virtual void DoEnter();
    virtual void DoExit();

    void Dispatch(TMessage& message) override;
    void WndProc(TMessage& message) override;
    virtual void WMPaint(TMessage& message);
    virtual void WMEraseBkgnd(TMessage& message);
    virtual void WMSize(TMessage& message);
    virtual void WMMove(TMessage& message);
    virtual void WMSetFocus(TMessage& message);
    virtual void WMKillFocus(TMessage& message);
    virtual void WMKey(TMessage& message);  // WM_KEYDOWN/UP, WM_SYSKEYDOWN/UP, WM_CHAR
    virtual void WMMouseWheel(TMessage& message);
    virtual void WMContextMenu(TMessage& message);
    virtual void WMSetCursor(TMessage& message);
    virtual void CMEnter(TMessage& message);
    virtual void CMExit(TMessage& message);
    // Passed on to every child (buttons follow the focus with their default frame).
    virtual void CMFocusChanged(TMessage& message);
    void CMEnabledChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    void CMColorChanged(TMessage& message) override;
    void CMFontChanged(TMessage& message) override;

    // Whether a mouse message at `pos` goes to a windowless child (true: it was routed there).
    bool RouteMouseToControl(TMessage& message);

private:
    friend class TControl;
    friend LRESULT CALLBACK ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    void AlignControl(TControl* control);
    void PaintHandler(HDC dc);
    void UpdateBoundsFromWindow();
    void UpdateControlMouse(TControl* over);
    void ReflectToChild(TMessage& message, HWND child);
    void FixupTabList();
    void UpdateNameProp();
    void WMNCDestroy();
    HBRUSH BackgroundBrush();

    HWND handle_ = nullptr;
    HWND parentWindow_ = nullptr;
    WNDPROC defWndProc_ = nullptr;
    std::vector<TControl*> controls_;  // z-order, bottom first
    TControl* mouseControl_ = nullptr;    // the windowless child under the mouse
    TControl* captureControl_ = nullptr;  // the windowless child holding the capture
    bool trackingLeave_ = false;
    int alignLevel_ = 0;
    std::vector<TWinControl*> tabList_;  // windowed children in TabOrder
    bool tabStop_ = false;
    int tabOrder_ = -1;  // the value read while loading, until the parent sorts its list
    HBRUSH brush_ = nullptr;
    TColor brushColor_ = clNone;
    bool ctl3D_ = true;
    bool parentCtl3D_ = true;
    ATOM nameAtom_ = 0;
};

// A window with its own canvas and a Paint method.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner);
    TCanvas* Canvas() const;
    TNotifyEvent OnPaint;

protected:
    ~TCustomControl() override;
    virtual void Paint();
    void PaintWindow(HDC dc) override;
    void WMPaint(TMessage& message) override;
    void DestroyWnd() override;

private:
    TControlCanvas* canvas_ = nullptr;
};

// A windowless control painted by its parent; Canvas draws into the parent's DC at its position.
class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner);
    TCanvas* Canvas() const;
    TNotifyEvent OnPaint;

protected:
    ~TGraphicControl() override;
    virtual void Paint();
    void Dispatch(TMessage& message) override;

private:
    TControlCanvas* canvas_ = nullptr;
};

// The control behind a window made by the framework, or null.
TWinControl* FindControl(HWND window);
// The topmost form above (or at) the control; null when none.
TWinControl* GetParentForm(TControl* control);
// The control at a screen point: the window there, then its windowless child at the point.
TControl* FindDragTarget(const TPoint& screenPos, bool allowDisabled);
// Mouse and key messages of any control while a drag is pending or running (dragdrop.cpp); true when
// the drag took the message.
bool DispatchDragMessage(TControl* receiver, TMessage& message);
// The control being dragged, or null.
TControl* DragSource();
// A control being freed leaves the drag: as its source the drag is cancelled, as a target forgotten.
void ForgetDragControl(TControl* control);

// Paints what lies below a windowless (or windowed) control into `dc`, with the control's top-left at
// the DC origin: the parent's background (WM_ERASEBKGND) and the parent's own painting and its
// windowless children below the control (WM_PAINT with wParam = dc), under csPaintCopy.
void PaintControlBackground(TControl* control, HDC dc);

// The window property holding the component name as a global atom (readable from another process).
constexpr const char* kNamePropName = "fw.name";

// Set by the menus unit: shows `menu` for `control` at the screen point; true when it did.
using PopupMenuHandler = bool (*)(TControl* control, TComponent* menu, TPoint screenPos);
void SetPopupMenuHandler(PopupMenuHandler handler);

// Set by Screen: the cursor handle of a program cursor id (positive ids, and any the framework does not
// know). Without one, such ids give the arrow.
using CursorResolver = HCURSOR (*)(TCursor cursor);
void SetCursorResolver(CursorResolver resolver);
// The handle of a cursor id: stock cursors by their system ids, the rest through the resolver.
HCURSOR CursorHandle(TCursor cursor);

// Registers the control classes, their enumerations and published properties for form text.
void RegisterControlClasses();

}  // namespace fw
