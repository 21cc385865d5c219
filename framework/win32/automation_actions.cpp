// The endpoint's actions. They run from the posted WM_FW_AUTOMATION, where user input would run,
// and go the way user input goes: a click on a windowed button is BM_CLICK, a click on a windowless
// control is a press and release posted to its parent, a click on a list view's column or a header's
// section ("<control>.Columns.<n>", "<control>.Sections.<n>") is a press and release posted to the
// header at the item, keys are posted to the focused window; typed keys (`type`) go through the
// system's input queue; files dropped on a control arrive as Wine's X11 driver delivers a drop from a
// file manager: an HDROP made in the program, posted as WM_DROPFILES to the nearest window from the
// control up that accepts files; a drag between two controls is the framework's own drag, started
// on the source and ended by a move and a release over the target's middle.
#include <any>
#include <cstring>
#include <cstdlib>
#include <memory>

#include "framework/core/exceptions.h"
#include "framework/automation/keyspec.h"
#include "framework/automation/protocol.h"
#include "framework/win32/application.h"
#include "framework/win32/automation.h"
#include "framework/win32/automation_endpoint.h"
#include "framework/win32/automation_model.h"
#include "framework/win32/callback.h"
#include "framework/win32/controls.h"

#include <shlobj.h>

namespace fw::automation {
namespace {

void SplitArgs(const std::string& args, std::string& first, std::string& rest) {
    size_t blank = args.find(' ');
    first = args.substr(0, blank);
    rest = blank == std::string::npos ? std::string() : args.substr(blank + 1);
}

void RefuseIfBlocked(TComponent* component) {
    std::string modal = BlockingModal(component);
    if (!modal.empty()) throw Exception("blocked by modal " + modal);
}

TControl* ReachableControl(TComponent* component) {
    auto* control = dynamic_cast<TControl*>(component);
    if (!control) throw Exception(PathOf(component) + " (" + component->ClassName() + ") is not a control");
    if (!control->IsVisible()) throw Exception(PathOf(component) + " is not visible");
    for (TControl* c = control; c; c = c->Parent())
        if (!c->Enabled()) throw Exception(PathOf(component) + " is disabled");
    return control;
}

int DialogId(const std::string& text) {
    char* end = nullptr;
    long id = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || !end || *end) throw Exception("\"" + text + "\" is not a control id");
    return static_cast<int>(id);
}

HWND DialogControl(int id) {
    HWND dialog = FindSystemDialog();
    if (!dialog) throw Exception("no dialog");
    HWND control = GetDlgItem(dialog, id);
    if (!control) throw Exception("the dialog has no control " + std::to_string(id));
    return control;
}

LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

void Click(TComponent* component) {
    TControl* control = ReachableControl(component);
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        HWND window = windowed->Handle();
        // Push buttons, check boxes and radio buttons say DLGC_BUTTON, whatever class they were made under.
        if (SystemClassOf(window) == "button" || (SendMessageA(window, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)) {
            SendMessageA(window, BM_CLICK, 0, 0);
            return;
        }
        if (windowed->CanFocus()) windowed->SetFocus();
        RECT r{};
        GetClientRect(window, &r);
        LPARAM at = Point(r.right / 2, r.bottom / 2);
        PostMessageA(window, WM_MOUSEMOVE, 0, at);
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(window, WM_LBUTTONUP, 0, at);
        return;
    }
    TWinControl* parent = control->Parent();
    if (!parent) throw Exception(PathOf(component) + " has no parent window");
    HWND window = parent->Handle();
    LPARAM at = Point(control->Left() + control->Width() / 2, control->Top() + control->Height() / 2);
    PostMessageA(window, WM_MOUSEMOVE, 0, at);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

// A double click on a windowed control: a press and release, then the second press as
// WM_LBUTTONDBLCLK and its release, as the system sends them for a window class that takes double
// clicks. A list box is double-clicked on its current item (chosen first with the keys, as a user
// would point at it), any other control in its middle.
void DoubleClick(TComponent* component) {
    auto* windowed = dynamic_cast<TWinControl*>(ReachableControl(component));
    if (!windowed) throw Exception(PathOf(component) + " has no window to double-click");
    if (windowed->CanFocus()) windowed->SetFocus();
    HWND window = windowed->Handle();
    RECT r{};
    GetClientRect(window, &r);
    if (SystemClassOf(window) == "listbox") {
        const LRESULT item = SendMessageA(window, LB_GETCARETINDEX, 0, 0);
        RECT itemRect{};
        if (item >= 0 && SendMessageA(window, LB_GETITEMRECT, static_cast<WPARAM>(item),
                                      reinterpret_cast<LPARAM>(&itemRect)) != LB_ERR)
            r = itemRect;
    }
    const LPARAM at = Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(window, WM_MOUSEMOVE, 0, at);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
    PostMessageA(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(window, WM_LBUTTONUP, 0, at);
}

// A click target: a component, or one item of the header a list view or header control shows.
struct ClickTarget {
    TComponent* component = nullptr;
    HWND header = nullptr;
    int item = -1;
};

bool IsNumber(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

ClickTarget ResolveClickTarget(const std::string& path) {
    ClickTarget target;
    const size_t last = path.rfind('.');
    const size_t before = last == std::string::npos || last == 0 ? std::string::npos : path.rfind('.', last - 1);
    if (before == std::string::npos) {
        target.component = ResolveComponent(path);
        return target;
    }
    const std::string collection = path.substr(before + 1, last - before - 1);
    const std::string index = path.substr(last + 1);
    if (!IsNumber(index) || (collection != "Columns" && collection != "Sections")) {
        target.component = ResolveComponent(path);
        return target;
    }
    target.component = ResolveComponent(path.substr(0, before));
    HWND window = WindowOf(target.component);
    const std::string kind = window ? SystemClassOf(window) : std::string();
    if (kind.find("listview") != std::string::npos)
        target.header = reinterpret_cast<HWND>(SendMessageA(window, LVM_GETHEADER, 0, 0));
    else if (kind.find("header") != std::string::npos)
        target.header = window;
    if (!target.header) throw Exception(PathOf(target.component) + " shows no " + collection);
    target.item = std::atoi(index.c_str());
    const int count = static_cast<int>(SendMessageA(target.header, HDM_GETITEMCOUNT, 0, 0));
    if (target.item >= count)
        throw Exception(PathOf(target.component) + " has " + std::to_string(count) + " " + collection);
    return target;
}

// A press and release on one header item, where the user would click it.
void ClickHeaderItem(HWND header, int item) {
    RECT r{};
    if (!SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r)))
        throw Exception("the header item " + std::to_string(item) + " has no place");
    const LPARAM at = Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageA(header, WM_MOUSEMOVE, 0, at);
    PostMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(header, WM_LBUTTONUP, 0, at);
}

void SetModifiers(bool shift, bool ctrl, bool alt) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    auto put = [&](int vk, bool down) { keys[vk] = down ? 0x80 : 0; };
    put(VK_SHIFT, shift);
    put(VK_LSHIFT, shift);
    put(VK_CONTROL, ctrl);
    put(VK_LCONTROL, ctrl);
    put(VK_MENU, alt);
    put(VK_LMENU, alt);
    SetKeyboardState(keys);
}

// The key of a stroke: its virtual key, or the key of the layout that types its character (with
// Shift for "A" or "!"); 0 for a character no key types.
BYTE KeyOf(const drive::KeyStroke& k, bool& shift) {
    shift = k.shift;
    if (k.vk) return k.vk;
    const SHORT scan = VkKeyScanA(k.ch);
    if (scan == -1) return 0;
    if (HIBYTE(scan) & 1) shift = true;
    return LOBYTE(scan);
}

// What `keys` and `type` share: the control focused (or the window of a windowless one) and the keys
// parsed.
TWinControl* FocusForKeys(const std::string& args, std::vector<drive::KeyStroke>& keys) {
    std::string path, spec;
    SplitArgs(args, path, spec);
    TComponent* component = ResolveComponent(path);
    RefuseIfBlocked(component);
    TControl* control = ReachableControl(component);
    std::string error;
    if (!drive::ParseKeys(spec, keys, error)) throw Exception(error);
    TWinControl* focus = dynamic_cast<TWinControl*>(control);
    if (!focus) focus = control->Parent();
    if (focus && focus->CanFocus()) focus->SetFocus();
    return focus;
}

// Posts one key to the window that has the focus when the key's turn comes, then chains to the next.
void TypeFrom(std::shared_ptr<std::vector<drive::KeyStroke>> keys, size_t index, HWND fallback,
              std::function<void()> done) {
    if (index == keys->size()) {
        SetModifiers(false, false, false);
        done();
        return;
    }
    const drive::KeyStroke& k = (*keys)[index];
    bool shift = false;
    const BYTE vk = KeyOf(k, shift);
    SetModifiers(shift, k.ctrl, k.alt);
    // The focused window, as for real typing; the control itself when nothing of ours has the focus
    // (a display without a window manager may not activate the form).
    HWND target = GetFocus();
    if (!target) target = fallback;
    if (target && vk) {
        // Key down and up only: the loop's TranslateMessage makes the character from them and the
        // modifier state set above, as it does for real keys.
        LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16) | (k.alt ? (1 << 29) : 0);
        LPARAM up = data | (static_cast<LPARAM>(3) << 30);
        PostMessageA(target, k.alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, data);
        PostMessageA(target, k.alt ? WM_SYSKEYUP : WM_KEYUP, vk, up);
    } else if (target) {
        // A character no key of the layout types: the character alone.
        PostMessageA(target, WM_CHAR, static_cast<BYTE>(k.ch), 1);
    }
    PostDeferred([keys, index, fallback, done]() { TypeFrom(keys, index + 1, fallback, done); });
}

void Keys(const std::string& args) {
    auto keys = std::make_shared<std::vector<drive::KeyStroke>>();
    TWinControl* focus = FocusForKeys(args, *keys);
    HWND fallback = focus ? focus->Handle() : nullptr;
    std::function<void()> done = DeferCompletion();
    PostDeferred([keys, fallback, done]() { TypeFrom(keys, 0, fallback, done); });
}

// The window a drop on the control lands in: the control's own window or the nearest one above it
// that accepts files (DragAcceptFiles).
HWND DropTarget(TControl* control) {
    HWND window = WindowOf(control);
    if (!window && control->Parent()) window = control->Parent()->Handle();
    for (HWND w = window; w; w = GetParent(w))
        if (GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) return w;
    throw Exception(PathOf(control) + " accepts no dropped files");
}

std::vector<std::string> DropNames(const std::string& text) {
    std::vector<std::string> names;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t bar = text.find('|', start);
        const std::string name = text.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
        if (!name.empty()) names.push_back(name);
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    if (names.empty()) throw Exception("drop <control> <file>[|<file>...]");
    return names;
}

// The two controls of `drag <source> <target>`.
void DragEnds(const std::string& args, TControl*& source, TControl*& target) {
    std::string first, rest;
    SplitArgs(args, first, rest);
    if (first.empty() || rest.empty()) throw Exception("drag <source> <target>");
    TComponent* from = ResolveComponent(first);
    TComponent* to = ResolveComponent(rest);
    RefuseIfBlocked(from);
    RefuseIfBlocked(to);
    source = ReachableControl(from);
    target = ReachableControl(to);
    if (!WindowOf(target) && !(target->Parent() && target->Parent()->HandleAllocated()))
        throw Exception(PathOf(to) + " has no window to drop on");
}

// The drag a user makes: the source starts dragging, the mouse moves over the target's middle and
// is released there. The move and the release go to the window below the mouse, as the system
// sends them; the target's OnDragOver decides whether the drop is taken.
void Drag(const std::string& args) {
    TControl* source = nullptr;
    TControl* target = nullptr;
    DragEnds(args, source, target);
    HWND window = WindowOf(target);
    if (!window) window = target->Parent()->Handle();
    const TPoint middle = target->ClientToScreen(fw::Point(target->Width() / 2, target->Height() / 2));
    SetCursorPos(middle.X, middle.Y);
    source->BeginDrag(true, 0);
    POINT local{middle.X, middle.Y};
    ScreenToClient(window, &local);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, Point(local.x, local.y));
    SendMessageA(window, WM_LBUTTONUP, 0, Point(local.x, local.y));
    // A refused drop ends the drag there; one still running (no framework window below) is cancelled.
    if (source->Dragging()) source->EndDrag(false);
}

void Drop(const std::string& args) {
    std::string path, rest;
    SplitArgs(args, path, rest);
    TComponent* component = ResolveComponent(path);
    RefuseIfBlocked(component);
    TControl* control = ReachableControl(component);
    const std::vector<std::string> names = DropNames(rest);
    HWND target = DropTarget(control);
    std::string list;
    for (const std::string& n : names) list += n + '\0';
    list += '\0';
    HGLOBAL block = GlobalAlloc(GHND | GMEM_SHARE, sizeof(DROPFILES) + list.size());
    if (!block) throw Exception("no memory for the drop");
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    RECT r{};
    GetClientRect(target, &r);
    header->pt = POINT{r.right / 2, r.bottom / 2};
    header->fNC = FALSE;
    header->fWide = FALSE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(block);
    if (!PostMessageA(target, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0)) {
        GlobalFree(block);
        throw Exception("the drop could not be posted");
    }
}

INPUT KeyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    if (up) in.ki.dwFlags |= KEYEVENTF_KEYUP;
    // The keys of the navigation block are extended keys; without the flag they would be the keypad's.
    switch (vk) {
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN:
        case VK_HOME:
        case VK_END:
        case VK_PRIOR:
        case VK_NEXT:
        case VK_INSERT:
        case VK_DELETE:
        case VK_APPS: in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY; break;
        default: break;
    }
    return in;
}

// One stroke as a user makes it: the modifiers go down, the key goes down and up, the modifiers go
// up again. A character no key of the layout types is sent as that character.
void AppendStroke(std::vector<INPUT>& inputs, const drive::KeyStroke& k) {
    bool shift = false;
    const BYTE vk = KeyOf(k, shift);
    if (!vk) {
        INPUT in{};
        in.type = INPUT_KEYBOARD;
        in.ki.wScan = static_cast<unsigned char>(k.ch);
        in.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(in);
        in.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(in);
        return;
    }
    std::vector<WORD> held;
    if (shift) held.push_back(VK_SHIFT);
    if (k.ctrl) held.push_back(VK_CONTROL);
    if (k.alt) held.push_back(VK_MENU);
    for (WORD m : held) inputs.push_back(KeyInput(m, false));
    inputs.push_back(KeyInput(vk, false));
    inputs.push_back(KeyInput(vk, true));
    for (auto it = held.rbegin(); it != held.rend(); ++it) inputs.push_back(KeyInput(*it, true));
}

// `type`: focus, then the keys through SendInput, so the keyboard state, the loop's translation and
// the system's own Alt and F10 handling see them as they see a user's keys. The form comes to the
// foreground first, since the system gives keys to the foreground window's focus.
void Type(const std::string& args) {
    std::vector<drive::KeyStroke> keys;
    TWinControl* focus = FocusForKeys(args, keys);
    if (TWinControl* form = focus ? GetParentForm(focus) : nullptr; form && form->HandleAllocated())
        SetForegroundWindow(form->Handle());
    std::vector<INPUT> inputs;
    for (const drive::KeyStroke& k : keys) AppendStroke(inputs, k);
    if (!inputs.empty() &&
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) != static_cast<UINT>(inputs.size()))
        throw Exception("the system took not all of the keys");
    AfterInput(DeferCompletion());
}

MenuClickHandler g_menuClick = nullptr;

// The item's click as the menus unit does it, or its published Enabled and OnClick.
void CheckMenuItem(TComponent* item) {
    if (const PropInfo* enabled = FindProp(item, "Enabled"); enabled && enabled->kind == TypeKind::Enum &&
                                                             GetOrdProp(item, *enabled) == 0)
        throw Exception(PathOf(item) + " is disabled");
    const PropInfo* onClick = FindProp(item, "OnClick");
    if (!onClick || onClick->kind != TypeKind::Method || *onClick->eventTag != typeid(void(TObject*)))
        throw Exception(PathOf(item) + " (" + item->ClassName() + ") has no OnClick");
}

// The program's handlers run as under the user's click: what they raise goes through the callback
// barrier to the application (OnException, or the message shown; EAbort stays silent). Only the
// request itself (a missing, disabled or blocked target) fails the action.
void ClickMenuItem(TComponent* item) {
    CheckMenuItem(item);
    CallbackBarrierVoid([item] {
        if (g_menuClick && g_menuClick(item)) return;
        const PropInfo* onClick = FindProp(item, "OnClick");
        std::any handler = GetMethodProp(item, *onClick);
        if (!onClick->methodAssigned(handler)) return;  // an item without a handler does nothing
        std::any_cast<const TNotifyEvent&>(handler)(item);
    });
}

void Invoke(const std::string& args) {
    size_t dot = args.find('.');
    if (dot == std::string::npos) throw Exception("invoke <root>.<handler>");
    TComponent* root = ResolveComponent(args.substr(0, dot));
    std::string name = args.substr(dot + 1);
    const MethodInfo* method = root->ClassInfo() ? root->ClassInfo()->FindMethod(name) : nullptr;
    if (!method) throw Exception("no handler \"" + name + "\" in " + root->ClassName());
    if (*method->eventTag != typeid(void(TObject*))) throw Exception("\"" + name + "\" is not a notify handler");
    RefuseIfBlocked(root);
    TNotifyEvent handler = std::any_cast<TNotifyEvent>(method->bind(root));
    CallbackBarrierVoid([&handler, root] { handler(root); });
}

}  // namespace

void SetMenuClickHandler(MenuClickHandler handler) { g_menuClick = handler; }

void CheckAction(const std::string& verb, const std::string& args) {
    std::string first, rest;
    SplitArgs(args, first, rest);
    if (verb == "set") {
        PropertyTarget t = ResolveProperty(first);
        if (t.prop && t.prop->readOnly && t.prop->kind != TypeKind::Object)
            throw Exception("property \"" + t.prop->name + "\" is read-only");
        RefuseIfBlocked(t.component);
    } else if (verb == "click") {
        ClickTarget target = ResolveClickTarget(args);
        RefuseIfBlocked(target.component);
        ReachableControl(target.component);
    } else if (verb == "dblclick") {
        TComponent* component = ResolveComponent(args);
        RefuseIfBlocked(component);
        ReachableControl(component);
    } else if (verb == "keys" || verb == "type") {
        TComponent* component = ResolveComponent(first);
        RefuseIfBlocked(component);
        ReachableControl(component);
        std::vector<drive::KeyStroke> keys;
        std::string error;
        if (!drive::ParseKeys(rest, keys, error)) throw Exception(error);
    } else if (verb == "invoke") {
        size_t dot = args.find('.');
        if (dot == std::string::npos) throw Exception("invoke <root>.<handler>");
        TComponent* root = ResolveComponent(args.substr(0, dot));
        const MethodInfo* method = root->ClassInfo() ? root->ClassInfo()->FindMethod(args.substr(dot + 1)) : nullptr;
        if (!method) throw Exception("no handler \"" + args.substr(dot + 1) + "\" in " + root->ClassName());
        RefuseIfBlocked(root);
    } else if (verb == "menu") {
        TComponent* item = ResolveComponent(args);
        RefuseIfBlocked(item);
        CheckMenuItem(item);
    } else if (verb == "drop") {
        TComponent* component = ResolveComponent(first);
        RefuseIfBlocked(component);
        DropTarget(ReachableControl(component));
        DropNames(rest);
    } else if (verb == "drag") {
        TControl* source = nullptr;
        TControl* target = nullptr;
        DragEnds(args, source, target);
    } else if (verb == "press") {
        DialogControl(DialogId(first));
    } else if (verb == "dlgtext") {
        DialogControl(DialogId(first));
    } else if (verb == "answer") {
        if (first.empty()) throw Exception("answer <kind> <value>");
    } else if (verb != "quit") {
        throw Exception("unknown action \"" + verb + "\"");
    }
}

void RunAction(const std::string& verb, const std::string& args) {
    std::string first, rest;
    SplitArgs(args, first, rest);
    if (verb == "set") {
        PropertyTarget t = ResolveProperty(first);
        RefuseIfBlocked(t.component);
        SetPropertyText(t, rest);
    } else if (verb == "click") {
        ClickTarget target = ResolveClickTarget(args);
        RefuseIfBlocked(target.component);
        if (target.header) {
            ReachableControl(target.component);
            ClickHeaderItem(target.header, target.item);
        } else {
            Click(target.component);
        }
    } else if (verb == "dblclick") {
        TComponent* component = ResolveComponent(args);
        RefuseIfBlocked(component);
        DoubleClick(component);
    } else if (verb == "keys") {
        Keys(args);
    } else if (verb == "type") {
        Type(args);
    } else if (verb == "invoke") {
        Invoke(args);
    } else if (verb == "menu") {
        TComponent* item = ResolveComponent(args);
        RefuseIfBlocked(item);
        ClickMenuItem(item);
    } else if (verb == "drop") {
        Drop(args);
    } else if (verb == "drag") {
        Drag(args);
    } else if (verb == "press") {
        int id = DialogId(first);
        HWND control = DialogControl(id);
        PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
    } else if (verb == "dlgtext") {
        HWND control = DialogControl(DialogId(first));
        SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(rest.c_str()));
    } else if (verb == "answer") {
        QueueAnswer(first, rest);
    } else if (verb == "quit") {
        if (Application)
            Application->Terminate();
        else
            PostQuitMessage(0);
    } else {
        throw Exception("unknown action \"" + verb + "\"");
    }
}

}  // namespace fw::automation
