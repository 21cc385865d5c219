// TWinControl: the window's life (class registration, creation, re-creation, destruction), children,
// layout and focus. Message handling is in controls_dispatch.cpp, painting in controls_paint.cpp.
#include <algorithm>
#include <atomic>

#include "framework/win32/callback.h"
#include "framework/win32/controlcanvas.h"
#include "framework/win32/controls.h"
#include "framework/win32/graphics.h"
#include "framework/win32/hooks.h"

namespace fw {

namespace {

// The control being created on this thread: its window binds to it on the first message.
thread_local TWinControl* creatingControl = nullptr;

// The property holding the TWinControl* of a framework window.
ATOM ControlPropAtom() {
    static const ATOM atom = GlobalAddAtomA("fw.control");
    return atom;
}

HINSTANCE ModuleInstance() { return GetModuleHandleA(nullptr); }

// Child window ids, for GetDlgItem (WM_MEASUREITEM names its control by id).
UINT NextChildId() {
    static std::atomic<unsigned> next{1};
    unsigned id = next.fetch_add(1) & 0x7FFF;
    return id == 0 ? 1 : id;
}

}  // namespace

TWinControl* FindControl(HWND window) {
    if (!window) return nullptr;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != GetCurrentProcessId()) return nullptr;
    return static_cast<TWinControl*>(GetPropA(window, MAKEINTATOM(ControlPropAtom())));
}

TWinControl* GetParentForm(TControl* control) {
    TWinControl* form = nullptr;
    for (TControl* c = control; c; c = c->Parent()) {
        if (c->IsForm()) form = static_cast<TWinControl*>(c);
    }
    return form;
}

LRESULT CALLBACK ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    FW_CALLBACK_BODY(0, {
        TWinControl* control = FindControl(window);
        if (!control) {
            control = creatingControl;
            if (!control) return DefWindowProcA(window, msg, wParam, lParam);
            creatingControl = nullptr;
            control->handle_ = window;
            SetPropA(window, MAKEINTATOM(ControlPropAtom()), control);
        }
        TMessage message{msg, wParam, lParam, 0};
        control->WndProc(message);
        if (msg == WM_NCDESTROY) control->WMNCDestroy();
        return message.Result;
    })
}

// ---- TWinControl: life -----------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    // Free() destroyed the window already; a control deleted another way lets its window go quietly.
    if (handle_) {
        RemovePropA(handle_, MAKEINTATOM(ControlPropAtom()));
        HWND doomed = handle_;
        handle_ = nullptr;
        DestroyWindow(doomed);
    }
    if (nameAtom_) GlobalDeleteAtom(nameAtom_);
    if (brush_) DeleteObject(brush_);
}

void TWinControl::BeforeDestruction() {
    Destroying();
    if (Parent()) Parent()->RemoveControl(this);
    DestroyHandle();
    ReleaseControlHooks(*this);
    // Children go with their parent, last first.
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        child->Free();
        if (!controls_.empty() && controls_.back() == child) {
            controls_.pop_back();
            child->parent_ = nullptr;
        }
    }
    TControl::BeforeDestruction();
}

void TWinControl::Loaded() {
    TControl::Loaded();
    FixupTabList();
    Realign();
}

void TWinControl::ReadState(TReader& reader) {
    DisableAlign();
    try {
        TControl::ReadState(reader);
    } catch (...) {
        EnableAlign();
        throw;
    }
    FixupTabList();
    EnableAlign();
}

void TWinControl::GetChildren(ChildProc proc, void* context, TComponent* root) {
    for (TControl* c : controls_) {
        if (c->Owner() == root) proc(context, c);
    }
    if (root != this) return;
    for (int i = 0; i < ComponentCount(); ++i) {
        TComponent* c = Components(i);
        if (!c->GetParentComponent()) proc(context, c);
    }
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return handle_;
}

void TWinControl::HandleNeeded() {
    if (handle_ || InState(csDestroying)) return;
    if (Parent()) {
        if (Parent()->InState(csDestroying)) return;
        // The parent's creation makes ours too.
        if (!Parent()->HandleAllocated()) {
            Parent()->HandleNeeded();
            if (handle_) return;
        }
    }
    CreateHandle();
}

void TWinControl::SetParentWindow(HWND value) {
    if (parentWindow_ == value) return;
    parentWindow_ = value;
    if (!Parent() && HandleAllocated()) RecreateWnd();
}

void TWinControl::CreateParams(TCreateParams& params) {
    params = TCreateParams{};
    params.Caption = TextBuffer();
    params.Style = WS_CLIPSIBLINGS;
    if (ControlStyle() & csAcceptsControls) params.Style |= WS_CLIPCHILDREN;
    if (Visible()) params.Style |= WS_VISIBLE;
    if (!Enabled()) params.Style |= WS_DISABLED;
    if (Parent()) {
        params.Style |= WS_CHILD;
        params.WndParent = Parent()->Handle();
    } else if (parentWindow_) {
        params.Style |= WS_CHILD;
        params.WndParent = parentWindow_;
    } else {
        params.Style |= WS_POPUP;
    }
    if (TabStop()) params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.lpfnWndProc = DefWindowProcA;
    params.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    params.WindowClass.hInstance = ModuleInstance();
    params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& params, const char* controlClassName) {
    WNDCLASSA system{};
    if (!GetClassInfoA(nullptr, controlClassName, &system) && !GetClassInfoA(ModuleInstance(), controlClassName, &system))
        throw EInvalidOperation(std::string("Window class ") + controlClassName + " does not exist");
    const UINT keep = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    system.style = (system.style & ~static_cast<UINT>(CS_GLOBALCLASS)) | (params.WindowClass.style & keep);
    system.hInstance = ModuleInstance();
    system.lpszClassName = nullptr;
    params.WindowClass = system;
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    defWndProc_ = params.WindowClass.lpfnWndProc ? params.WindowClass.lpfnWndProc : DefWindowProcA;
    if (params.WinClassName.empty()) params.WinClassName = ClassName();

    // One window class per control class, named after it; its procedure is always ours.
    WNDCLASSA existing{};
    if (!GetClassInfoA(params.WindowClass.hInstance, params.WinClassName.c_str(), &existing) ||
        existing.lpfnWndProc != ControlWindowProc) {
        if (existing.lpfnWndProc && existing.lpfnWndProc != ControlWindowProc)
            UnregisterClassA(params.WinClassName.c_str(), params.WindowClass.hInstance);
        WNDCLASSA wc = params.WindowClass;
        wc.lpfnWndProc = ControlWindowProc;
        wc.lpszClassName = params.WinClassName.c_str();
        if (!RegisterClassA(&wc))
            throw EOutOfResources("Cannot register window class " + params.WinClassName);
    }
    CreateWindowHandle(params);
    if (!handle_) throw EOutOfResources("Error creating window " + params.WinClassName);
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
    TWinControl* outer = creatingControl;
    creatingControl = this;
    HMENU id = (params.Style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NextChildId())) : nullptr;
    HWND window = CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                                  params.X, params.Y, params.Width, params.Height, params.WndParent, id,
                                  params.WindowClass.hInstance, params.Param);
    creatingControl = outer;
    if (window && !handle_) {
        handle_ = window;
        SetPropA(window, MAKEINTATOM(ControlPropAtom()), this);
    }
}

void TWinControl::CreateHandle() {
    if (handle_) return;
    controlState_ |= csCreating;
    try {
        CreateWnd();
    } catch (...) {
        controlState_ &= ~csCreating;
        throw;
    }
    controlState_ &= ~csCreating;
    UpdateNameProp();
    if (Parent()) {
        // Keep the window's z-order among its windowed siblings.
        HWND after = HWND_TOP;
        const auto& list = Parent()->controls_;
        auto self = std::find(list.begin(), list.end(), this);
        for (auto it = self; it != list.end(); ++it) {
            if (it == self) continue;
            if (auto* wc = dynamic_cast<TWinControl*>(*it); wc && wc->HandleAllocated()) {
                after = GetWindow(wc->handle_, GW_HWNDNEXT);
                if (!after) after = HWND_BOTTOM;
                break;
            }
        }
        if (after != HWND_TOP)
            SetWindowPos(handle_, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    AttachControlHooks(*this, handle_);
    UpdateBoundsFromWindow();
    for (TControl* child : std::vector<TControl*>(controls_)) {
        if (auto* wc = dynamic_cast<TWinControl*>(child)) wc->CreateHandle();
    }
    CreateWindowState();
    Realign();
}

// The component name as a global atom in the window property, readable from other processes.
void TWinControl::UpdateNameProp() {
    if (!handle_) return;
    const ATOM old = nameAtom_;
    nameAtom_ = Name().empty() ? 0 : GlobalAddAtomA(Name().c_str());
    if (nameAtom_)
        SetPropA(handle_, kNamePropName, reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(nameAtom_)));
    else
        RemovePropA(handle_, kNamePropName);
    if (old) GlobalDeleteAtom(old);
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    for (TControl* child : controls_) {
        if (auto* wc = dynamic_cast<TWinControl*>(child)) wc->DestroyHandle();
    }
    DestroyWnd();
}

void TWinControl::DestroyWnd() {
    if (!handle_) return;
    // The window keeps the text; take it back before the window goes.
    const int len = GetWindowTextLengthA(handle_);
    std::string text(static_cast<size_t>(std::max(len, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(handle_, text.data(), len + 1)));
    TextBuffer() = text;
    FreeControlCanvasDCs(handle_);
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
    controlState_ |= csDestroyingHandle;
    HWND window = handle_;
    if (window) DestroyWindow(window);
    controlState_ &= ~csDestroyingHandle;
    // WM_NCDESTROY cleared it; a window that refused to go is let go of.
    if (handle_ == window && window) {
        RemovePropA(window, MAKEINTATOM(ControlPropAtom()));
        handle_ = nullptr;
    }
}

void TWinControl::WMNCDestroy() {
    HWND window = handle_;
    if (!window) return;
    RemovePropA(window, kNamePropName);
    RemovePropA(window, MAKEINTATOM(ControlPropAtom()));
    if (nameAtom_) {
        GlobalDeleteAtom(nameAtom_);
        nameAtom_ = 0;
    }
    handle_ = nullptr;
    mouseControl_ = nullptr;
    captureControl_ = nullptr;
    trackingLeave_ = false;
    controlState_ &= ~csMouseInside;
}

void TWinControl::RecreateWnd() {
    if (!handle_ || InState(csDestroying)) return;
    DestroyHandle();
    HandleNeeded();
}

// ---- children ------------------------------------------------------------------------------------

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount())
        throw EListError("Control index out of bounds (" + std::to_string(index) + ")");
    return controls_[static_cast<size_t>(index)];
}

int TWinControl::WinControlCount() const {
    return static_cast<int>(std::count_if(controls_.begin(), controls_.end(),
                                          [](TControl* c) { return dynamic_cast<TWinControl*>(c) != nullptr; }));
}

bool TWinControl::ContainsControl(TControl* control) const {
    for (TControl* c = control; c; c = c->Parent()) {
        if (c == this) return true;
    }
    return false;
}

void TWinControl::InsertControl(TControl* control) {
    if (!control || control->Parent() == this) return;
    if (control == this || (dynamic_cast<TWinControl*>(control) &&
                            static_cast<TWinControl*>(control)->ContainsControl(this)))
        throw EInvalidOperation("Control '" + control->Name() + "' cannot be a child of itself");
    control->parent_ = this;
    controls_.push_back(control);
    auto* wc = dynamic_cast<TWinControl*>(control);
    if (wc) {
        tabList_.push_back(wc);
    }
    if (!control->InState(csReading)) {
        if (control->ParentColor()) control->Perform(CM_PARENTCOLORCHANGED);
        if (control->ParentFont()) control->Perform(CM_PARENTFONTCHANGED);
        if (control->ParentShowHint()) control->Perform(CM_PARENTSHOWHINTCHANGED);
    }
    if (wc) {
        if (HandleAllocated()) wc->HandleNeeded();
    } else {
        control->Invalidate();
    }
    if (control->Align() != alNone) AlignControl(control);
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), TRUE);
}

void TWinControl::RemoveControl(TControl* control) {
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end()) return;
    auto* wc = dynamic_cast<TWinControl*>(control);
    if (wc) {
        wc->DestroyHandle();
        tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), wc), tabList_.end());
    } else {
        control->InvalidateControl(control->Visible(), false);
    }
    if (mouseControl_ == control) mouseControl_ = nullptr;
    if (captureControl_ == control) {
        captureControl_ = nullptr;
        if (HandleAllocated() && GetCapture() == handle_) ReleaseCapture();
    }
    it = std::find(controls_.begin(), controls_.end(), control);
    if (it != controls_.end()) controls_.erase(it);
    control->parent_ = nullptr;
    if (control->Align() != alNone) Realign();
    if (!InState(csDestroying)) Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), FALSE);
}

void TWinControl::Broadcast(TMessage& message) {
    for (TControl* child : std::vector<TControl*>(controls_)) {
        child->WndProc(message);
        if (message.Result != 0) return;
    }
}

void TWinControl::NotifyControls(UINT msg) {
    TMessage message{msg, 0, 0, 0};
    Broadcast(message);
}

TControl* TWinControl::ControlAtPos(const TPoint& pos, bool allowDisabled, bool allowWinControls) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        TControl* c = *it;
        const bool windowed = dynamic_cast<TWinControl*>(c) != nullptr;
        if (windowed && !allowWinControls) continue;
        if (!c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
        if (!PtInRect(c->BoundsRect(), pos)) continue;
        const TPoint local = pos - Point(c->Left(), c->Top());
        if (c->Perform(CM_HITTEST, 0, MAKELPARAM(static_cast<WORD>(local.X), static_cast<WORD>(local.Y))) == 0)
            continue;
        return c;
    }
    return nullptr;
}

TControl* FindDragTarget(const TPoint& screenPos, bool allowDisabled) {
    POINT p{screenPos.X, screenPos.Y};
    TWinControl* window = FindControl(WindowFromPoint(p));
    if (!window) return nullptr;
    TControl* inner = window->ControlAtPos(window->ScreenToClient(screenPos), allowDisabled);
    return inner ? inner : window;
}

// ---- layout -------------------------------------------------------------------------------------

void TWinControl::SetBounds(int left, int top, int width, int height) {
    if (left == Left() && top == Top() && width == Width() && height == Height()) return;
    if (handle_ && !IsIconic(handle_)) {
        SetWindowPos(handle_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        // WM_SIZE/WM_MOVE updated the fields; a window that did not move still takes the values.
        if (left != Left() || top != Top() || width != Width() || height != Height()) {
            left_ = left;
            top_ = top;
            width_ = width;
            height_ = height;
        }
    } else {
        const bool resized = width != Width() || height != Height();
        left_ = left;
        top_ = top;
        width_ = width;
        height_ = height;
        if (resized) {
            Realign();
            Resize();
        }
    }
    RequestAlign();
}

void TWinControl::UpdateBoundsFromWindow() {
    if (!handle_ || IsIconic(handle_)) return;
    RECT r;
    GetWindowRect(handle_, &r);
    if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) {
        if (HWND parent = GetParent(handle_)) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    }
    left_ = r.left;
    top_ = r.top;
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
}

TRect TWinControl::ClientRect() const {
    if (handle_) {
        RECT r;
        GetClientRect(handle_, &r);
        return Rect(r.left, r.top, r.right, r.bottom);
    }
    return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin() const {
    if (!handle_) return TControl::ClientOrigin();
    POINT p{0, 0};
    ::ClientToScreen(handle_, &p);
    return Point(p.x, p.y);
}

void TWinControl::AdjustClientRect(TRect&) {}

void TWinControl::DisableAlign() { ++alignLevel_; }

void TWinControl::EnableAlign() {
    if (alignLevel_ > 0) --alignLevel_;
    if (alignLevel_ == 0 && (controlState_ & csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* control) {
    if (InState(csDestroying)) return;
    if (alignLevel_ != 0 || InState(csLoading)) {
        controlState_ |= csAlignmentNeeded;
        return;
    }
    DisableAlign();
    try {
        TRect rect = ClientRect();
        AlignControls(control, rect);
    } catch (...) {
        controlState_ &= ~csAlignmentNeeded;
        --alignLevel_;
        throw;
    }
    controlState_ &= ~csAlignmentNeeded;
    --alignLevel_;
}

namespace {

// Whether c1 goes before c2 among controls of one alignment (nearer the edge they align to).
bool InsertBefore(TControl* c1, TControl* c2, TAlign align) {
    switch (align) {
        case alTop: return c1->Top() < c2->Top();
        case alBottom: return c1->Top() + c1->Height() >= c2->Top() + c2->Height();
        case alLeft: return c1->Left() < c2->Left();
        case alRight: return c1->Left() + c1->Width() >= c2->Left() + c2->Width();
        default: return false;
    }
}

}  // namespace

void TWinControl::AlignControls(TControl* control, TRect& rect) {
    AdjustClientRect(rect);
    auto doAlign = [&](TAlign align) {
        std::vector<TControl*> list;
        if (control && control->Align() == align && control->Visible() && control->Parent() == this)
            list.push_back(control);
        for (TControl* c : controls_) {
            if (c == control || c->Align() != align || !c->Visible()) continue;
            size_t j = 0;
            while (j < list.size() && !InsertBefore(c, list[j], align)) ++j;
            list.insert(list.begin() + static_cast<std::ptrdiff_t>(j), c);
        }
        for (TControl* c : list) {
            int left = rect.Left, top = rect.Top;
            int width = std::max(0, rect.Right - rect.Left), height = std::max(0, rect.Bottom - rect.Top);
            switch (align) {
                case alTop:
                    height = c->Height();
                    rect.Top += height;
                    break;
                case alBottom:
                    height = c->Height();
                    rect.Bottom -= height;
                    top = rect.Bottom;
                    break;
                case alLeft:
                    width = c->Width();
                    rect.Left += width;
                    break;
                case alRight:
                    width = c->Width();
                    rect.Right -= width;
                    left = rect.Right;
                    break;
                case alCustom:
                    left = c->Left();
                    top = c->Top();
                    width = c->Width();
                    height = c->Height();
                    CustomAlignPosition(c, left, top, width, height);
                    break;
                default: break;
            }
            c->SetBounds(left, top, width, height);
        }
    };
    doAlign(alTop);
    doAlign(alBottom);
    doAlign(alLeft);
    doAlign(alRight);
    doAlign(alClient);
    doAlign(alCustom);
}

// ---- focus -------------------------------------------------------------------------------------

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent()) {
        if (!c->Visible() || !c->Enabled()) return false;
    }
    return true;
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    ::SetFocus(Handle());
}

void TWinControl::SetTabStop(bool value) {
    if (tabStop_ == value) return;
    tabStop_ = value;
    if (handle_) {
        LONG_PTR style = GetWindowLongPtrA(handle_, GWL_STYLE);
        style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        SetWindowLongPtrA(handle_, GWL_STYLE, style);
    }
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (!Parent()) return;
    if (InState(csLoading) || Parent()->InState(csLoading)) {
        // The parent sorts its list by these values once loaded.
        tabOrder_ = value;
        return;
    }
    auto& list = Parent()->tabList_;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    const int count = static_cast<int>(list.size());
    const int index = (value < 0 || value > count) ? count : value;
    list.insert(list.begin() + index, this);
}

void TWinControl::FixupTabList() {
    std::stable_sort(tabList_.begin(), tabList_.end(), [](TWinControl* a, TWinControl* b) {
        const int ka = a->tabOrder_ < 0 ? 0x7FFFFFFF : a->tabOrder_;
        const int kb = b->tabOrder_ < 0 ? 0x7FFFFFFF : b->tabOrder_;
        return ka < kb;
    });
    for (TWinControl* c : tabList_) c->tabOrder_ = -1;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) {
    for (TWinControl* c : tabList_) {
        if (c->TabStop()) list.push_back(c);
        c->GetTabOrderList(list);
    }
}

void TWinControl::SetCtl3D(bool value) {
    if (ctl3D_ == value && !parentCtl3D_) return;
    ctl3D_ = value;
    parentCtl3D_ = false;
    Perform(CM_CTL3DCHANGED);
}

void TWinControl::SetParentCtl3D(bool value) {
    if (parentCtl3D_ == value) return;
    parentCtl3D_ = value;
    if (value && Parent()) {
        ctl3D_ = Parent()->Ctl3D();
        Perform(CM_CTL3DCHANGED);
    }
}

}  // namespace fw
