#include "uisupport/win32/formplacement.h"

#include <algorithm>

#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/menus.h"
#include "framework/win32/screen.h"
#include "uisupport/settingsstore.h"
#include "uisupport/win32/kyvhook.h"

namespace uis {

std::string DefaultSection(fw::TComponent* component) {
    if (!component) return {};
    if (auto* control = dynamic_cast<fw::TControl*>(component)) {
        if (control->IsForm()) return control->ClassName();
        if (fw::TWinControl* form = fw::GetParentForm(control)) return form->ClassName() + control->Name();
        if (control->Parent()) return control->Parent()->Name() + control->Name();
        return control->Name();
    }
    auto* owner = dynamic_cast<fw::TControl*>(component->Owner());
    if (owner && owner->IsForm()) return owner->ClassName() + "." + component->Name();
    return component->Name();
}

// ---- TWinMinMaxInfo -----------------------------------------------------------------------------

void TWinMinMaxInfo::SetValue(int index, int value) {
    int& slot = values_[index & 7];
    if (slot == value) return;
    slot = value;
    if (owner_) owner_->MinMaxChanged();
}

bool TWinMinMaxInfo::AllZero() const {
    return std::all_of(std::begin(values_), std::end(values_), [](int v) { return v == 0; });
}

void TWinMinMaxInfo::Assign(fw::TPersistent* source) {
    auto* other = dynamic_cast<TWinMinMaxInfo*>(source);
    if (!other) return TPersistent::Assign(source);
    std::copy(std::begin(other->values_), std::end(other->values_), std::begin(values_));
    if (owner_) owner_->MinMaxChanged();
}

fw::TPersistent* TWinMinMaxInfo::GetOwner() { return owner_; }

// ---- TIniLink -----------------------------------------------------------------------------------

TIniLink::~TIniLink() {
    OnSave.Reset();
    OnLoad.Reset();
    SetStorage(nullptr);
}

void TIniLink::SetStorage(TFormPlacement* value) {
    if (value == storage_) return;
    if (storage_) std::erase(storage_->links_, this);
    storage_ = value;
    if (storage_) storage_->links_.push_back(this);
}

fw::TCustomIniFile* TIniLink::IniObject() const { return storage_ ? storage_->IniObject() : nullptr; }

std::string TIniLink::RootSection() const {
    if (!storage_ || storage_->IniSectionText().empty()) return {};
    return storage_->IniSectionText() + "\\";
}

void TIniLink::SaveNotify() {
    if (OnSave) OnSave(this);
}

void TIniLink::LoadNotify() {
    if (OnLoad) OnLoad(this);
}

// ---- TFormPlacement: properties -----------------------------------------------------------------

TFormPlacement::TFormPlacement(fw::TComponent* owner)
    : TComponent(owner), minMaxInfo_(std::make_unique<TWinMinMaxInfo>(this)) {
    if (fw::TForm* form = Form()) {
        options_ = {TPlacementOption::fpState, TPlacementOption::fpPosition};
        defMaximize_ = form->BorderIcons().Contains(fw::biMaximize);
    }
    hook_ = fw::Make<TKyvWindowHook>(this);
    hook_->AfterMessage = THookMessageEvent(this, &TFormPlacement::AfterWindowMessage);
}

TFormPlacement::~TFormPlacement() = default;

fw::TForm* TFormPlacement::Form() const { return dynamic_cast<fw::TForm*>(Owner()); }

std::string TFormPlacement::IniFileName() const {
    if (!iniFileName_.empty()) return iniFileName_;
    return DefaultStoreName(fw::Application ? fw::Application->ExeName() : std::string("program"), useRegistry_);
}

std::string TFormPlacement::IniSection() const {
    return iniSection_.empty() ? DefaultSection(Owner()) : iniSection_;
}

void TFormPlacement::SetPreventResize(bool value) {
    if (!Form() || value == preventResize_) return;
    preventResize_ = value;
    if (InState(fw::csLoading)) return;  // Loaded applies it
    ResetMaximizedPosition();
    ApplyMaximizeIcon();
    UpdateWindowHook();
}

void TFormPlacement::ApplyMaximizeIcon() {
    fw::TForm* form = Form();
    if (!form) return;
    fw::TBorderIcons icons = form->BorderIcons();
    const bool wanted = !preventResize_ && defMaximize_ && form->BorderStyle() != fw::TFormBorderStyle::bsDialog;
    if (preventResize_) defMaximize_ = defMaximize_ || icons.Contains(fw::biMaximize);
    if (wanted)
        icons.Include(fw::biMaximize);
    else
        icons.Exclude(fw::biMaximize);
    // The frame may change under the hook: it stays quiet meanwhile.
    const bool wasActive = active_;
    active_ = false;
    try {
        form->SetBorderIcons(icons);
    } catch (...) {
        active_ = wasActive;
        throw;
    }
    active_ = wasActive;
}

void TFormPlacement::MinMaxChanged() {
    if (InState(fw::csLoading)) return;
    ResetMaximizedPosition();
    UpdateWindowHook();
}

void TFormPlacement::UpdateWindowHook() {
    if (!hook_) return;
    fw::TForm* form = Form();
    const bool needed = form && (preventResize_ || !minMaxInfo_->AllZero());
    hook_->SetWinControl(needed ? form : nullptr);
}

void TFormPlacement::Loaded() {
    TComponent::Loaded();
    if (fw::TForm* form = Form()) {
        defMaximize_ = form->BorderIcons().Contains(fw::biMaximize);
        AttachFormEvents(form, this);
        eventsAttached_ = true;
        if (preventResize_) {
            ResetMaximizedPosition();
            ApplyMaximizeIcon();
        }
    }
    UpdateWindowHook();
}

void TFormPlacement::BeforeDestruction() {
    if (eventsAttached_) DetachFormEvents(Form(), this);
    eventsAttached_ = false;
    while (!links_.empty()) links_.back()->SetStorage(nullptr);
    if (hook_) hook_->SetWinControl(nullptr);
    CloseStore();
    TComponent::BeforeDestruction();
}

// ---- the store ----------------------------------------------------------------------------------

bool TFormPlacement::OpenStore() {
    if (store_) return false;
    store_ = CreateStore(IniFileName(), useRegistry_);
    return true;
}

void TFormPlacement::CloseStore() { store_.reset(); }

std::string TFormPlacement::ReadIniValue(const std::string& section, const std::string& ident, const std::string& def) {
    const bool opened = OpenStore();
    std::string value;
    try {
        value = StoreReadString(*store_, section, ident, def);
    } catch (...) {
        if (opened) CloseStore();
        throw;
    }
    if (opened) CloseStore();
    return value;
}

void TFormPlacement::WriteIniValue(const std::string& section, const std::string& ident, const std::string& value) {
    const bool opened = OpenStore();
    try {
        StoreWriteString(*store_, section, ident, value);
    } catch (...) {
        if (opened) CloseStore();
        throw;
    }
    if (opened) CloseStore();
}

std::string TFormPlacement::ReadString(const std::string& ident, const std::string& def) {
    return ReadIniValue(IniSection(), ident, def);
}

void TFormPlacement::WriteString(const std::string& ident, const std::string& value) {
    WriteIniValue(IniSection(), ident, value);
}

// ---- saving -------------------------------------------------------------------------------------

void TFormPlacement::Save() {
    if (!restored_ && active_) return;
    const bool opened = OpenStore();
    try {
        SavePlacementValues();
        if (OnSavePlacement) OnSavePlacement(this);
        saved_ = true;
    } catch (...) {
        if (opened) CloseStore();
        throw;
    }
    if (opened) CloseStore();
}

void TFormPlacement::SavePlacementValues() {
    if (fw::TForm* form = Form()) {
        WritePlacementValues(form);
        if (options_.Contains(TPlacementOption::fpActiveControl) && form->ActiveControl())
            StoreWriteString(*store_, IniSection(), "ActiveControl", form->ActiveControl()->Name());
        StoreWriteString(*store_, IniSection(), "Visible", destroying_ ? "1" : "0");
    }
    for (TIniLink* link : std::vector<TIniLink*>(links_)) link->SaveNotify();
}

void TFormPlacement::WritePlacementValues(fw::TForm* form) {
    if (!form->HandleAllocated() && form->InState(fw::csDestroying)) return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(form->Handle(), &wp);
    fw::TForm* main = fw::Application ? fw::Application->MainForm() : nullptr;
    if (form == main && main->HandleAllocated() && IsIconic(main->Handle())) wp.showCmd = SW_SHOWMINIMIZED;
    if (form->FormStyle() == fw::TFormStyle::fsMDIChild && IsIconic(form->Handle())) wp.flags |= WPF_SETMINPOSITION;
    const std::string section = IniSection();
    const std::string suffix = ScreenSuffix(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    fw::TCustomIniFile& store = *store_;
    StoreWriteInteger(store, section, "Flags", static_cast<int>(wp.flags));
    StoreWriteInteger(store, section, "ShowCmd", static_cast<int>(wp.showCmd));
    StoreWriteInteger(store, section, "PixelsPerInch", fw::Screen ? fw::Screen->PixelsPerInch() : 96);
    const std::string minMax = PositionText(wp.ptMinPosition.x, wp.ptMinPosition.y, wp.ptMaxPosition.x, wp.ptMaxPosition.y);
    StoreWriteString(store, section, "MinMaxPos" + suffix, minMax);
    StoreWriteString(store, section, "MinMaxPos", minMax);
    const RECT& n = wp.rcNormalPosition;
    const std::string normal = PositionText(n.left, n.top, n.right, n.bottom);
    StoreWriteString(store, section, "NormPos" + suffix, normal);
    StoreWriteString(store, section, "NormPos", normal);
}

// ---- restoring ----------------------------------------------------------------------------------

void TFormPlacement::Restore() {
    saved_ = false;
    const bool opened = OpenStore();
    try {
        RestorePlacementValues();
        restored_ = true;
        if (OnRestorePlacement) OnRestorePlacement(this);
        fw::TForm* form = Form();
        if (options_.Contains(TPlacementOption::fpActiveControl) && form) {
            const std::string name = StoreReadString(*store_, IniSection(), "ActiveControl", "");
            auto* control = dynamic_cast<fw::TWinControl*>(name.empty() ? nullptr : form->FindComponent(name));
            if (control && control->CanFocus()) form->SetActiveControl(control);
        }
    } catch (...) {
        if (opened) CloseStore();
        throw;
    }
    if (opened) CloseStore();
    ResetMaximizedPosition();
}

void TFormPlacement::RestorePlacementValues() {
    if (fw::TForm* form = Form())
        ApplyPlacementValues(form, options_.Contains(TPlacementOption::fpPosition),
                             options_.Contains(TPlacementOption::fpState));
    for (TIniLink* link : std::vector<TIniLink*>(links_)) link->LoadNotify();
}

std::string TFormPlacement::ReadScreenValue(const std::string& ident) {
    const std::string section = IniSection();
    const std::string suffix = ScreenSuffix(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    std::string value = StoreReadString(*store_, section, ident + suffix, "");
    if (value.empty()) value = StoreReadString(*store_, section, ident, "");
    return value;
}

void TFormPlacement::ApplyPlacementValues(fw::TForm* form, bool position, bool state) {
    if (!position && !state) return;
    HWND window = form->Handle();
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    GetWindowPlacement(window, &wp);
    if (!IsWindowVisible(window)) wp.showCmd = SW_HIDE;
    fw::TCustomIniFile& store = *store_;
    const std::string section = IniSection();

    if (position) {
        wp.flags = static_cast<UINT>(StoreReadInteger(store, section, "Flags", static_cast<int>(wp.flags)));
        const std::string minMax = ReadScreenValue("MinMaxPos");
        if (!minMax.empty()) {
            const int zero[4] = {0, 0, 0, 0};
            int v[4];
            ParsePositionText(minMax, zero, v);
            wp.ptMinPosition = {v[0], v[1]};
            wp.ptMaxPosition = {v[2], v[3]};
        }
        const std::string normal = ReadScreenValue("NormPos");
        if (!normal.empty()) {
            const int current[4] = {form->Left(), form->Top(), form->Left() + form->Width(), form->Top() + form->Height()};
            int v[4];
            ParsePositionText(normal, current, v);
            wp.rcNormalPosition = {v[0], v[1], v[2], v[3]};
        }
        const int screenPpi = fw::Screen ? fw::Screen->PixelsPerInch() : 96;
        const int ppi = StoreReadInteger(store, section, "PixelsPerInch", screenPpi);
        if ((!minMax.empty() || !normal.empty()) && ppi == screenPpi) {
            const fw::TFormBorderStyle border = form->BorderStyle();
            if (border != fw::TFormBorderStyle::bsSizeable && border != fw::TFormBorderStyle::bsSizeToolWin) {
                wp.rcNormalPosition.right = wp.rcNormalPosition.left + form->Width();
                wp.rcNormalPosition.bottom = wp.rcNormalPosition.top + form->Height();
            }
            if (wp.rcNormalPosition.left < wp.rcNormalPosition.right) {
                if (form->Position() == fw::poScreenCenter || form->Position() == fw::poDesktopCenter)
                    form->SetPosition(fw::poDesigned);
                SetWindowPlacement(window, &wp);
            }
        }
    }

    if (state) {
        fw::TForm* main = fw::Application ? fw::Application->MainForm() : nullptr;
        const bool mainOrNone = !main || main == form;
        fw::TWindowState wanted = fw::wsNormal;
        if ((mainOrNone && form->FormStyle() == fw::TFormStyle::fsMDIForm) ||
            (form->FormStyle() == fw::TFormStyle::fsNormal && form->Position() == fw::poDefault))
            wanted = fw::wsMaximized;
        switch (StateOfShowCmd(StoreReadInteger(store, section, "ShowCmd", 0))) {
        case TStoredState::Normal: wanted = fw::wsNormal; break;
        case TStoredState::Minimized: wanted = fw::wsMinimized; break;
        case TStoredState::Maximized: wanted = fw::wsMaximized; break;
        case TStoredState::Default: break;
        }
        if (wanted == fw::wsMinimized && mainOrNone) {
            // The main form is not minimised itself: the application window hears the command.
            form->SetWindowState(fw::wsNormal);
            if (fw::Application) PostMessageA(fw::Application->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
            return;
        }
        form->SetWindowState(wanted);
    }
    form->Update();
}

void TFormPlacement::ResetMaximizedPosition() {
    fw::TForm* form = Form();
    if (!form || !form->HandleAllocated() || InState(fw::csLoading) || preventResize_ || !minMaxInfo_->AllZero())
        return;
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    HWND window = form->Handle();
    GetWindowPlacement(window, &wp);
    if (!IsWindowVisible(window)) wp.showCmd = SW_HIDE;
    int x = 0, y = 0;
    switch (form->BorderStyle()) {
    case fw::TFormBorderStyle::bsSingle:
    case fw::TFormBorderStyle::bsToolWindow:
        x = GetSystemMetrics(SM_CXBORDER), y = GetSystemMetrics(SM_CYBORDER);
        break;
    case fw::TFormBorderStyle::bsSizeable:
    case fw::TFormBorderStyle::bsSizeToolWin:
        x = GetSystemMetrics(SM_CXFRAME), y = GetSystemMetrics(SM_CYFRAME);
        break;
    case fw::TFormBorderStyle::bsDialog:
        x = GetSystemMetrics(SM_CXDLGFRAME), y = GetSystemMetrics(SM_CYDLGFRAME);
        break;
    case fw::TFormBorderStyle::bsNone:
        break;
    }
    wp.ptMaxPosition = {-x, -y};
    SetWindowPlacement(window, &wp);
}

// ---- the form's events and window -------------------------------------------------------------

void TFormPlacement::ReportError() {
    if (fw::Application) fw::Application->HandleException(this);
}

void TFormPlacement::FormShow() {
    if (!active_) return;
    try {
        Restore();
    } catch (...) {
        ReportError();
    }
}

void TFormPlacement::FormCloseQuery(bool& canClose) {
    fw::TForm* form = Form();
    if (!canClose || !active_ || !form || !form->HandleAllocated()) return;
    try {
        Save();
    } catch (...) {
        ReportError();
    }
}

void TFormPlacement::FormDestroy() {
    if (!active_ || saved_) return;
    destroying_ = true;
    try {
        Save();
    } catch (...) {
        ReportError();
    }
    destroying_ = false;
}

void TFormPlacement::AfterWindowMessage(fw::TObject*, fw::TMessage& msg, bool& handled) {
    fw::TForm* form = Form();
    if (preventResize_ && form) {
        switch (msg.Msg) {
        case WM_GETMINMAXINFO:
            if (form->HandleAllocated() && IsWindowVisible(form->Handle())) {
                auto* info = reinterpret_cast<MINMAXINFO*>(msg.LParam);
                info->ptMinTrackSize = {form->Width(), form->Height()};
                info->ptMaxTrackSize = {form->Width(), form->Height()};
                handled = true;
            }
            break;
        case WM_NCHITTEST:
            if (msg.Result >= HTLEFT && msg.Result <= HTBOTTOMRIGHT) msg.Result = HTNOWHERE;
            break;
        case WM_INITMENUPOPUP:
            if (HIWORD(msg.LParam)) {  // the window menu
                auto menu = reinterpret_cast<HMENU>(msg.WParam);
                if (auto* main = dynamic_cast<fw::TMenu*>(form->Menu())) main->DispatchPopup(menu);
                EnableMenuItem(menu, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
                EnableMenuItem(menu, SC_MAXIMIZE, MF_BYCOMMAND | MF_GRAYED);
                handled = true;
            }
            break;
        }
        return;
    }
    if (msg.Msg == WM_GETMINMAXINFO && !minMaxInfo_->AllZero()) {
        auto* info = reinterpret_cast<MINMAXINFO*>(msg.LParam);
        const auto take = [this](int index, LONG& field) {
            if (minMaxInfo_->Value(index) != 0) field = minMaxInfo_->Value(index);
        };
        take(0, info->ptMaxPosition.x);
        take(1, info->ptMaxPosition.y);
        take(2, info->ptMaxSize.y);
        take(3, info->ptMaxSize.x);
        take(4, info->ptMaxTrackSize.y);
        take(5, info->ptMaxTrackSize.x);
        take(6, info->ptMinTrackSize.y);
        take(7, info->ptMinTrackSize.x);
        handled = true;
    }
}

void RegisterFormPlacementClasses() {
    fw::RegisterClasses();
    fw::RegisterEnum<TPlacementOption>({"fpState", "fpPosition", "fpActiveControl"}, "TPlacementOption");
    fw::Class<TWinMinMaxInfo, fw::TPersistent>("TWinMinMaxInfo")
        .Prop("MaxPosLeft", 0, &TWinMinMaxInfo::Value, &TWinMinMaxInfo::SetValue)
        .Prop("MaxPosTop", 1, &TWinMinMaxInfo::Value, &TWinMinMaxInfo::SetValue)
        .Prop("MaxSizeHeight", 2, &TWinMinMaxInfo::Value, &TWinMinMaxInfo::SetValue)
        .Prop("MaxSizeWidth", 3, &TWinMinMaxInfo::Value, &TWinMinMaxInfo::SetValue)
        .Prop("MaxTrackHeight", 4, &TWinMinMaxInfo::Value, &TWinMinMaxInfo::SetValue)
        .Prop("MaxTrackWidth", 5, &TWinMinMaxInfo::Value, &TWinMinMaxInfo::SetValue)
        .Prop("MinTrackHeight", 6, &TWinMinMaxInfo::Value, &TWinMinMaxInfo::SetValue)
        .Prop("MinTrackWidth", 7, &TWinMinMaxInfo::Value, &TWinMinMaxInfo::SetValue);
    fw::Class<TIniLink, fw::TPersistent>("TIniLink");
    fw::Class<TFormPlacement, fw::TComponent>("TFormPlacement")
        .Prop("Active", &TFormPlacement::Active, &TFormPlacement::SetActive)
        .Prop("IniFileName", &TFormPlacement::IniFileNameText, &TFormPlacement::SetIniFileName)
        .Prop("IniSection", &TFormPlacement::IniSectionText, &TFormPlacement::SetIniSection)
        .Prop("MinMaxInfo", &TFormPlacement::MinMaxInfo, &TFormPlacement::SetMinMaxInfo)
        .Prop("Options", &TFormPlacement::Options, &TFormPlacement::SetOptions)
        .Prop("PreventResize", &TFormPlacement::PreventResize, &TFormPlacement::SetPreventResize)
        .Prop("UseRegistry", &TFormPlacement::UseRegistry, &TFormPlacement::SetUseRegistry)
        .Event("OnSavePlacement", &TFormPlacement::OnSavePlacement)
        .Event("OnRestorePlacement", &TFormPlacement::OnRestorePlacement);
}

}  // namespace uis
