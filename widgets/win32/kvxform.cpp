#include "widgets/win32/kvxform.h"

#include <algorithm>

#include "framework/core/exceptions.h"
#include "framework/core/graphics_values.h"
#include "framework/win32/graphics.h"
#include "framework/win32/screen.h"
#include "widgets/kvxapplication.h"
#include "widgets/win32/bitmapstreams.h"
#include "widgets/win32/droplist.h"
#include "widgets/win32/windowfx.h"

namespace kvx::win32 {

namespace {

constexpr UINT kPlacementLength = 44;  // the WINDOWPLACEMENT the store's lines were written from

TKVXScreenSize ScreenSize() {
    if (!fw::Screen) return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return {fw::Screen->Width(), fw::Screen->Height()};
}

// The monitor a stored normal position lies nearest to, so that a window saved on a second screen
// comes back there and one saved off every screen comes back onto the nearest.
TRect MonitorNear(const TRect& r) {
    const RECT rect{r.Left, r.Top, r.Right, r.Bottom};
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoA(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info)) {
        const TKVXScreenSize s = ScreenSize();
        return {0, 0, s.width, s.height};
    }
    return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
}

TKVXIniCtrl* OnlyIniCtrl(const fw::TForm* form) {
    TKVXIniCtrl* found = nullptr;
    int count = 0;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* ini = dynamic_cast<TKVXIniCtrl*>(form->Components(i))) {
            found = ini;
            ++count;
        }
    return count == 1 ? found : nullptr;
}

void ScaleControls(fw::TWinControl* parent, int designPPI, int formPPI) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
        fw::TControl* c = parent->Controls(i);
        c->SetBounds(MulDiv(c->Left(), designPPI, formPPI), MulDiv(c->Top(), designPPI, formPPI),
                     MulDiv(c->Width(), designPPI, formPPI), MulDiv(c->Height(), designPPI, formPPI));
        if (auto* windowed = dynamic_cast<fw::TWinControl*>(c)) ScaleControls(windowed, designPPI, formPPI);
    }
}

}  // namespace

TKVXForm::TKVXForm(TComponent* owner) : TKVXWndProcComponent(owner) {
    useFrameWindow_ = true;
    if (dynamic_cast<fw::TForm*>(owner))
        IniKey = owner->ClassName().substr(std::min<size_t>(1, owner->ClassName().size()), 250);
    else
        IniKey = "Form";
    limits_.Compute(ScreenSize());
}

fw::TForm* TKVXForm::Form() const { return dynamic_cast<fw::TForm*>(Owner()); }

void TKVXForm::SetIniLink(TKVXIniCtrl* value) {
    if (value == iniLink_) return;
    if (iniLink_) iniLink_->RemoveFreeNotification(this);
    iniLink_ = value;
    if (value) value->FreeNotification(this);
}

void TKVXForm::SetAcceptFiles(bool value) {
    if (value == acceptFiles_) return;
    acceptFiles_ = value;
    if (Enabled() && HookReady()) DragAcceptFiles(TargetWindow(), value);
}

void TKVXForm::SetLimit(int index, int value) { limits_.Write(index, value, ScreenSize()); }

void TKVXForm::ComputeLimits() { limits_.Compute(ScreenSize()); }

void TKVXForm::EnableHook() {
    TKVXWndProcComponent::EnableHook();
    if (!Enabled()) return;
    if (HWND window = TargetWindow()) DragAcceptFiles(window, acceptFiles_);
    ComputeLimits();
}

void TKVXForm::DisableHook() {
    if (HookReady()) DragAcceptFiles(TargetWindow(), FALSE);
    TKVXWndProcComponent::DisableHook();
}

void TKVXForm::Notification(TComponent* component, fw::TOperation operation) {
    TKVXWndProcComponent::Notification(component, operation);
    if (operation == fw::opRemove) {
        if (component == iniLink_) iniLink_ = nullptr;
        return;
    }
    if (operation != fw::opInsert || IniUse != TKVXIniUse::ioUseLink || iniLink_) return;
    if (auto* ini = dynamic_cast<TKVXIniCtrl*>(component))
        SetIniLink(ini);
    else if (component == this && Form())
        SetIniLink(OnlyIniCtrl(Form()));
}

void TKVXForm::ReadState(fw::TReader& reader) {
    TKVXWndProcComponent::ReadState(reader);
    fw::TForm* form = Form();
    if (!Enabled() || !form) return;
    shownOnce_ = false;
    savedShow_ = form->OnShow;
    savedDestroy_ = form->OnDestroy;
    form->OnShow = TNotifyEvent(this, &TKVXForm::FormShowHook);
    form->OnDestroy = TNotifyEvent(this, &TKVXForm::FormDestroyHook);
}

// ---- show and destroy ---------------------------------------------------------------------------

void TKVXForm::FormShowHook(TObject* sender) {
    fw::TForm* form = Form();
    if (Enabled() && form && !(Options.Contains(TKVXFormOption::foRestoreOnce) && shownOnce_)) {
        LoadSettings();
        shownOnce_ = true;
        FitToLimits(form);
        if (Options.Contains(TKVXFormOption::foTryAdaptRes)) AdaptResolution();
    }
    if (savedShow_) savedShow_(sender);
}

void TKVXForm::FormDestroyHook(TObject* sender) {
    if (Enabled()) SaveSettings();
    if (savedDestroy_) savedDestroy_(sender);
}

void TKVXForm::FitToLimits(fw::TForm* form) {
    const auto limit = [this](int index) { return limits_.Effective(index); };
    if (form->WindowState() == fw::wsNormal) {
        int width = form->Width(), height = form->Height();
        if (limit(flTrackMaxWidth) > 0 && width > limit(flTrackMaxWidth)) width = limit(flTrackMaxWidth);
        if (limit(flTrackMaxHeight) > 0 && height > limit(flTrackMaxHeight)) height = limit(flTrackMaxHeight);
        if (limit(flTrackMinWidth) > 0 && width < limit(flTrackMinWidth)) width = limit(flTrackMinWidth);
        if (limit(flTrackMinHeight) > 0 && height < limit(flTrackMinHeight)) height = limit(flTrackMinHeight);
        form->SetBounds(form->Left(), form->Top(), width, height);
    } else if (form->WindowState() == fw::wsMaximized) {
        const auto pick = [&](int index, int current) { return limit(index) > 0 ? limit(index) : current; };
        form->SetBounds(pick(flMaximizedPosX, form->Left()), pick(flMaximizedPosY, form->Top()),
                        pick(flMaximizedWidth, form->Width()), pick(flMaximizedHeight, form->Height()));
    }
}

void TKVXForm::AdaptResolution() {
    fw::TForm* form = Form();
    if (adapted_ || !form || !form->Scaled()) return;
    adapted_ = true;
    // The framework fitted the form to the screen when it was read; this takes it back to the
    // pixels it was designed with.
    form->SetPixelsPerInch(fw::Screen ? fw::Screen->PixelsPerInch() : 96);
    if (form->PixelsPerInch() == DesignPPI || form->PixelsPerInch() <= 0) return;
    ScaleControls(form, DesignPPI, form->PixelsPerInch());
}

// ---- settings -----------------------------------------------------------------------------------

TKVXIniCtrl* TKVXForm::Store() const {
    switch (IniUse) {
        case TKVXIniUse::ioUseLink: return iniLink_;
        case TKVXIniUse::ioUseGlobal: return KVXApplication ? KVXApplication->IniCtrl() : nullptr;
        case TKVXIniUse::ioNone: break;
    }
    return nullptr;
}

std::string TKVXForm::PlacementText() {
    WINDOWPLACEMENT p{};
    p.length = kPlacementLength;
    // Saved while the form is destroyed: its window is read as it stands, never made anew.
    fw::TForm* form = Form();
    if (form && form->HandleAllocated()) GetWindowPlacement(form->Handle(), &p);
    const RECT& n = p.rcNormalPosition;
    return KVXPlacementText({static_cast<int>(p.flags), static_cast<int>(p.showCmd), {n.left, n.top, n.right, n.bottom}});
}

void TKVXForm::ApplyPlacement(const std::string& text) {
    using enum TKVXFormIniSaveOption;
    fw::TForm* form = Form();
    HWND window = TargetWindow();
    if (!form || !window) return;
    if (!IniSaveOptions.Contains(soPos) && !IniSaveOptions.Contains(soSize) && !IniSaveOptions.Contains(soState) &&
        form->Position() != fw::poScreenCenter)
        return;
    WINDOWPLACEMENT p{};
    p.length = kPlacementLength;
    GetWindowPlacement(window, &p);
    const RECT& n = p.rcNormalPosition;
    TKVXPlacementRecord placement{static_cast<int>(p.flags), static_cast<int>(p.showCmd), {n.left, n.top, n.right, n.bottom}};
    TKVXPlacementRecord stored;
    const TRect screen = KVXParsePlacement(text, stored) ? MonitorNear(stored.normal) : TRect{};
    const TKVXPlacementContext context{IniSaveOptions, Options.Contains(TKVXFormOption::foAutoShow),
                                       form->BoundsRect(), screen};
    if (KVXApplyPlacement(text, context, placement)) {
        p.flags = static_cast<UINT>(placement.flags);
        p.showCmd = static_cast<UINT>(placement.showCmd);
        const TRect& r = placement.normal;
        p.rcNormalPosition = {r.Left, r.Top, r.Right, r.Bottom};
        SetWindowPlacement(window, &p);
        // The framework centres a form after its first OnShow: the restored position must stay.
        if (IniSaveOptions.Contains(soPos)) form->SetPosition(fw::poDesigned);
        return;
    }
    if (Options.Contains(TKVXFormOption::foAutoCenter)) KVXCenterOnScreen(form);
    if (OnNoRestoreData) OnNoRestoreData(this);
}

void TKVXForm::LoadSettings() {
    TKVXIniCtrl* store = Store();
    fw::TForm* form = Form();
    if (!store || !form) return;
    ApplyPlacement(store->ReadString(Section, IniKey, ""));
    // An unreadable colour or font counts as none: the form opens as designed.
    if (IniSaveOptions.Contains(TKVXFormIniSaveOption::soColor)) {
        const std::string colour = store->ReadString(Section, IniKey + "Color", "");
        if (!colour.empty()) try {
                form->SetColor(fw::StringToColor(colour));
            } catch (const fw::Exception&) {
            }
    }
    if (IniSaveOptions.Contains(TKVXFormIniSaveOption::soFont)) {
        const std::string font = store->ReadString(Section, IniKey + "Font", "");
        if (!font.empty()) {
            fw::TFont read;
            read.Assign(form->Font());
            try {
                KVXStringToFont(font, &read);
                form->Font()->Assign(&read);
            } catch (const fw::Exception&) {
            }
        }
    }
}

void TKVXForm::SaveSettings() {
    TKVXIniCtrl* store = Store();
    fw::TForm* form = Form();
    if (!store || !form) return;
    store->WriteString(Section, IniKey, PlacementText());
    if (IniSaveOptions.Contains(TKVXFormIniSaveOption::soColor))
        store->WriteString(Section, IniKey + "Color", fw::ColorToString(form->Color()));
    else
        store->DeleteKey(Section, IniKey + "Color");
    if (IniSaveOptions.Contains(TKVXFormIniSaveOption::soFont))
        store->WriteString(Section, IniKey + "Font", KVXFontToString(form->Font()));
    else
        store->DeleteKey(Section, IniKey + "Font");
}

// ---- messages -----------------------------------------------------------------------------------

void TKVXForm::HookWndProc(fw::HookMessage& m) {
    if (!Enabled()) {
        TKVXWndProcComponent::HookWndProc(m);
        return;
    }
    const auto text = [&m] { return m.LParam ? std::string(reinterpret_cast<const char*>(m.LParam)) : std::string(); };
    const auto lo = [](auto v) { return static_cast<uint16_t>(v & 0xFFFF); };
    const auto hi = [](auto v) { return static_cast<uint16_t>((v >> 16) & 0xFFFF); };
    switch (m.Msg) {
        case WM_MOVE:
            if (OnMove) OnMove(this);
            break;
        case WM_SIZE:
            if (OnSize) OnSize(this, lo(m.LParam), hi(m.LParam), lo(m.WParam));
            break;
        case WM_SYSCOLORCHANGE:
            if (OnSysColorChange) OnSysColorChange(this);
            break;
        case WM_SHOWWINDOW:
            if (m.WParam && !m.LParam && Form()) {
                if (Effect == TKVXDlgEffect::deExplode) KVXExplode(Form());
                if (Effect == TKVXDlgEffect::deExplodeExt) KVXExplodeExt(Form());
            }
            break;
        case WM_WININICHANGE:
            if (OnIniChange) OnIniChange(this, text());
            break;
        case WM_DEVMODECHANGE:
            if (OnDevModeChange) OnDevModeChange(this, text());
            break;
        case WM_FONTCHANGE:
            if (OnFontChange) OnFontChange(this);
            break;
        case WM_TIMECHANGE:
            if (OnTimeChange) OnTimeChange(this);
            break;
        case WM_GETMINMAXINFO:
            if (m.LParam) MinMaxInfo(*reinterpret_cast<MINMAXINFO*>(m.LParam));
            break;
        case WM_PAINTICON:
            if (OnPaintIcon) OnPaintIcon(this);
            break;
        case WM_SPOOLERSTATUS:
            if (OnSpoolerStatus) OnSpoolerStatus(this, lo(m.LParam));
            break;
        case WM_COMPACTING:
            if (OnCompacting) OnCompacting(this, static_cast<int>(m.WParam));
            break;
        case WM_WINDOWPOSCHANGING:
            if (OnMoving && m.LParam) {
                auto* pos = reinterpret_cast<WINDOWPOS*>(m.LParam);
                bool cancel = false;
                OnMoving(this, pos->x, pos->y, cancel);
                if (cancel) pos->flags |= SWP_NOMOVE;
            }
            break;
        case WM_POWER:
            Power(m);
            break;
        case WM_DISPLAYCHANGE:
            ComputeLimits();
            if (OnDisplayChange) OnDisplayChange(this, lo(m.LParam), hi(m.LParam), lo(m.WParam));
            break;
        case WM_DROPFILES:
            // The window's own procedure frees the drop once the message goes on.
            if (OnFMDragDrop) DroppedFiles(reinterpret_cast<HDROP>(m.WParam));
            break;
        default:
            break;
    }
    TKVXWndProcComponent::HookWndProc(m);
}

void TKVXForm::MinMaxInfo(MINMAXINFO& info) {
    const auto exchange = [](const auto& event, TKVXForm* self, LONG& a, LONG& b, LONG& c, LONG& d) {
        int va = a, vb = b, vc = c, vd = d;
        event(self, va, vb, vc, vd);
        a = va;
        b = vb;
        c = vc;
        d = vd;
    };
    const auto apply = [this](int index, LONG& field) {
        if (limits_.Effective(index) > 0) field = limits_.Effective(index);
    };
    if (OnTrackInfo) {
        exchange(OnTrackInfo, this, info.ptMinTrackSize.x, info.ptMinTrackSize.y, info.ptMaxTrackSize.x,
                 info.ptMaxTrackSize.y);
    } else {
        apply(flTrackMaxWidth, info.ptMaxTrackSize.x);
        apply(flTrackMaxHeight, info.ptMaxTrackSize.y);
        apply(flTrackMinWidth, info.ptMinTrackSize.x);
        apply(flTrackMinHeight, info.ptMinTrackSize.y);
    }
    if (OnMaximizeInfo) {
        exchange(OnMaximizeInfo, this, info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxSize.x, info.ptMaxSize.y);
    } else {
        apply(flMaximizedPosX, info.ptMaxPosition.x);
        apply(flMaximizedPosY, info.ptMaxPosition.y);
        apply(flMaximizedWidth, info.ptMaxSize.x);
        apply(flMaximizedHeight, info.ptMaxSize.y);
    }
}

void TKVXForm::Power(fw::HookMessage& m) {
    switch (m.WParam) {
        case PWR_SUSPENDREQUEST:
            if (OnAPMSuspendRequest) {
                bool cancel = false;
                OnAPMSuspendRequest(this, cancel);
                if (cancel) {
                    m.CallNext();
                    m.Result = PWR_FAIL;
                }
            }
            break;
        case PWR_SUSPENDRESUME:
            if (OnAPMResume) OnAPMResume(this);
            break;
        case PWR_CRITICALRESUME:
            if (OnAPMCriticalResume) OnAPMCriticalResume(this);
            break;
        default:
            break;
    }
}

void TKVXForm::DroppedFiles(HDROP drop) {
    fw::TStringList list;
    POINT point{};
    const int count = KVXReadDrop(
        drop,
        [this](std::string name) {
            if (CharCase == TKVXCharCase::ccLowerCase) return KVXAsciiLowerCase(std::move(name));
            if (CharCase == TKVXCharCase::ccUpperCase) return KVXAsciiUpperCase(std::move(name));
            return name;
        },
        list, point);
    if (count > 0) OnFMDragDrop(this, count, point.x, point.y, &list);
}

// ---- registration -------------------------------------------------------------------------------

void KVXRegisterFormPlacementClasses() {
    KVXRegisterFormTypes();
    using F = TKVXForm;
    fw::Class<F, TKVXWndProcComponent>("TKVXForm")
        .Prop("Enabled", &F::Enabled, &F::SetEnabled)
        .Data("CharCase", &F::CharCase)
        .Prop("IniLink", &F::IniLink, &F::SetIniLink)
        .Data("IniUse", &F::IniUse)
        .Data("Section", &F::Section)
        .Data("IniKey", &F::IniKey)
        .Data("IniSaveOptions", &F::IniSaveOptions)
        .Prop("AcceptFiles", &F::AcceptFiles, &F::SetAcceptFiles)
        .Data("Effect", &F::Effect)
        .Data("Options", &F::Options)
        .Data("DesignPPI", &F::DesignPPI)
        .Prop("TrackMaxHeight", flTrackMaxHeight, &F::Limit, &F::SetLimit)
        .Prop("TrackMaxWidth", flTrackMaxWidth, &F::Limit, &F::SetLimit)
        .Prop("TrackMinHeight", flTrackMinHeight, &F::Limit, &F::SetLimit)
        .Prop("TrackMinWidth", flTrackMinWidth, &F::Limit, &F::SetLimit)
        .Prop("MaximizedHeight", flMaximizedHeight, &F::Limit, &F::SetLimit)
        .Prop("MaximizedWidth", flMaximizedWidth, &F::Limit, &F::SetLimit)
        .Prop("MaximizedPosX", flMaximizedPosX, &F::Limit, &F::SetLimit)
        .Prop("MaximizedPosY", flMaximizedPosY, &F::Limit, &F::SetLimit)
        .Event("OnAPMResume", &F::OnAPMResume)
        .Event("OnAPMCriticalResume", &F::OnAPMCriticalResume)
        .Event("OnAPMSuspendRequest", &F::OnAPMSuspendRequest)
        .Event("OnCompacting", &F::OnCompacting)
        .Event("OnDevModeChange", &F::OnDevModeChange)
        .Event("OnDisplayChange", &F::OnDisplayChange)
        .Event("OnFMDragDrop", &F::OnFMDragDrop)
        .Event("OnFontChange", &F::OnFontChange)
        .Event("OnMaximizeInfo", &F::OnMaximizeInfo)
        .Event("OnMove", &F::OnMove)
        .Event("OnMoving", &F::OnMoving)
        .Event("OnPaintIcon", &F::OnPaintIcon)
        .Event("OnSize", &F::OnSize)
        .Event("OnSpoolerStatus", &F::OnSpoolerStatus)
        .Event("OnSysColorChange", &F::OnSysColorChange)
        .Event("OnTrackInfo", &F::OnTrackInfo)
        .Event("OnTimeChange", &F::OnTimeChange)
        .Event("OnIniChange", &F::OnIniChange)
        .Event("OnNoRestoreData", &F::OnNoRestoreData);
}

}  // namespace kvx::win32
