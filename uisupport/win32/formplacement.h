// TFormPlacement: saves and restores the window placement of the form that owns it in an ini file or
// under a registry key (HKEY_CURRENT_USER), and enforces the form's size limits; TIniLink lets other
// components (the MRU manager) save and load with it; TWinMinMaxInfo holds the limits.
//
// A placement read from form text follows its form's show (restore), close query (save) and destroy
// (save once more unless saved since the last restore) through the form's event hub (formevents.h).
// The store is open only inside Save, Restore and single ReadIniValue / WriteIniValue calls.
//
// The values of a form, in its section (IniSection, or the default section of the owner):
//   Flags, ShowCmd, PixelsPerInch   decimal
//   MinMaxPos(WxH), MinMaxPos       "%d,%d,%d,%d": minimised x, y, maximised x, y
//   NormPos(WxH), NormPos           "%d,%d,%d,%d": left, top, right, bottom of the restored window
//   ActiveControl                   with fpActiveControl, the focused control's name
//   Visible                         "1" when saved from the destroy handler, "0" otherwise
// WxH is the screen size at save time; a restore reads the suffixed value of the current screen first
// and the plain one when it is missing or empty, and ignores positions saved at another resolution.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/inifiles.h"
#include "framework/core/object.h"
#include "framework/core/rtti.h"
#include "framework/win32/controls.h"
#include "uisupport/win32/formevents.h"

namespace fw {
class TForm;
}

namespace uis {

class TFormPlacement;
class TKyvWindowHook;

enum class TPlacementOption { fpState, fpPosition, fpActiveControl };
using TPlacementOptions = fw::Set<TPlacementOption>;

// The default section of a component: a form's class name; a control's parent form class name followed
// by its name (without a parent form, its parent's name and its own); any other component its name, or
// "<owner class>.<name>" when its owner is a form.
std::string DefaultSection(fw::TComponent* component);

// Eight limits of the form's window, 0 meaning none: MaxPosLeft (0), MaxPosTop (1), MaxSizeHeight (2),
// MaxSizeWidth (3), MaxTrackHeight (4), MaxTrackWidth (5), MinTrackHeight (6), MinTrackWidth (7).
class TWinMinMaxInfo : public fw::TPersistent {
public:
    explicit TWinMinMaxInfo(TFormPlacement* owner) : owner_(owner) {}
    int Value(int index) const { return values_[index & 7]; }
    void SetValue(int index, int value);
    bool AllZero() const;
    void Assign(fw::TPersistent* source) override;
    fw::TPersistent* GetOwner() override;

private:
    TFormPlacement* owner_;
    int values_[8] = {};
};

class TIniLink : public fw::TPersistent {
public:
    TIniLink() = default;
    ~TIniLink() override;

    TFormPlacement* Storage() const { return storage_; }
    // Leaves the old placement's list and joins the new one's.
    void SetStorage(TFormPlacement* value);
    // The placement's open store, or null.
    fw::TCustomIniFile* IniObject() const;
    // The placement's IniSection as set, followed by "\"; "" when that is empty.
    std::string RootSection() const;

    virtual void SaveNotify();
    virtual void LoadNotify();

    fw::TNotifyEvent OnSave;
    fw::TNotifyEvent OnLoad;

private:
    friend class TFormPlacement;
    TFormPlacement* storage_ = nullptr;
};

class TFormPlacement : public fw::TComponent, protected TFormEventClient {
public:
    explicit TFormPlacement(fw::TComponent* owner);

    // Restore on the form's show, save on its close query and destroy.
    bool Active() const { return active_; }
    void SetActive(bool value) { active_ = value; }
    // The registry key path (UseRegistry) or ini file name; empty means the default.
    std::string IniFileName() const;
    const std::string& IniFileNameText() const { return iniFileName_; }
    void SetIniFileName(const std::string& value) { iniFileName_ = value; }
    // The section; empty means the owner's default section.
    std::string IniSection() const;
    void SetIniSection(const std::string& value) { iniSection_ = value; }
    const std::string& IniSectionText() const { return iniSection_; }
    TWinMinMaxInfo* MinMaxInfo() const { return minMaxInfo_.get(); }
    void SetMinMaxInfo(TWinMinMaxInfo* value) { minMaxInfo_->Assign(value); }
    TPlacementOptions Options() const { return options_; }
    void SetOptions(TPlacementOptions value) { options_ = value; }
    // The user cannot resize or maximise the form.
    bool PreventResize() const { return preventResize_; }
    void SetPreventResize(bool value);
    bool UseRegistry() const { return useRegistry_; }
    void SetUseRegistry(bool value) { useRegistry_ = value; }

    fw::TNotifyEvent OnSavePlacement;
    fw::TNotifyEvent OnRestorePlacement;

    // Writes everything; nothing while Active and no restore has run yet.
    void Save();
    // Reads and applies everything.
    void Restore();
    // One value of the placement's section.
    std::string ReadString(const std::string& ident, const std::string& def);
    void WriteString(const std::string& ident, const std::string& value);
    // Through the open store, or one opened for this call.
    virtual std::string ReadIniValue(const std::string& section, const std::string& ident, const std::string& def);
    virtual void WriteIniValue(const std::string& section, const std::string& ident, const std::string& value);

    // Makes the store object unless one is open; true when this call made it.
    bool OpenStore();
    void CloseStore();
    fw::TCustomIniFile* IniObject() const { return store_.get(); }

    bool Saved() const { return saved_; }
    bool Restored() const { return restored_; }
    // The owner when it is a form.
    fw::TForm* Form() const;
    // The window hook that enforces the limits (watching the form only while it has to).
    TKyvWindowHook* WindowHook() const { return hook_; }
    // TWinMinMaxInfo changed.
    void MinMaxChanged();
    // Sets the maximised position to minus the form's frame, unless limits or PreventResize apply.
    void ResetMaximizedPosition();

    void Loaded() override;

protected:
    ~TFormPlacement() override;
    void BeforeDestruction() override;
    virtual void SavePlacementValues();
    virtual void RestorePlacementValues();

    void FormShow() override;
    void FormCloseQuery(bool& canClose) override;
    void FormDestroy() override;

    void SetRestored(bool value) { restored_ = value; }

private:
    friend class TIniLink;
    void WritePlacementValues(fw::TForm* form);
    void ApplyPlacementValues(fw::TForm* form, bool position, bool state);
    // The suffixed value of the current screen, or the plain one; "" when neither holds text.
    std::string ReadScreenValue(const std::string& ident);
    void UpdateWindowHook();
    void ApplyMaximizeIcon();
    void AfterWindowMessage(fw::TObject* sender, fw::TMessage& msg, bool& handled);
    void ReportError();

    bool active_ = true;
    std::string iniFileName_;
    std::string iniSection_;
    std::unique_ptr<TWinMinMaxInfo> minMaxInfo_;
    TPlacementOptions options_;
    bool preventResize_ = false;
    bool useRegistry_ = false;
    std::unique_ptr<fw::TCustomIniFile> store_;
    std::vector<TIniLink*> links_;
    bool saved_ = false;
    bool restored_ = false;
    bool destroying_ = false;
    bool defMaximize_ = false;
    bool eventsAttached_ = false;
    TKyvWindowHook* hook_ = nullptr;
};

void RegisterFormPlacementClasses();

}  // namespace uis
