// The screen: its size and resolution, the program's cursors, and the live forms and data modules.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/graphics_values.h"
#include "framework/core/object.h"
#include "framework/win32/controls.h"
#include "framework/win32/winapi.h"

namespace fw {

class TForm;
class TDataModule;
class TStrings;
class TStringList;

class TScreen : public TComponent {
public:
    explicit TScreen(TComponent* owner);

    int Width() const;
    int Height() const;
    // The primary monitor's area without the task bar.
    TRect WorkArea() const;
    int WorkAreaLeft() const { return WorkArea().Left; }
    int WorkAreaTop() const { return WorkArea().Top; }
    int WorkAreaWidth() const { return WorkArea().Width(); }
    int WorkAreaHeight() const { return WorkArea().Height(); }

    // The display's logical resolution (96 without DPI awareness). Tests inject another value to
    // exercise the scaling of forms at load; 0 goes back to the display's.
    int PixelsPerInch() const;
    void SetPixelsPerInchOverride(int ppi) { ppiOverride_ = ppi; }

    // The cursor of the whole program; crDefault lets each control show its own.
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    // The cursor behind an identifier: stock ones (crArrow...) from the system, program cursors as
    // registered (SetCursors); unknown identifiers give the arrow.
    HCURSOR Cursors(TCursor id) const;
    void SetCursors(TCursor id, HCURSOR cursor);
    // A cursor registered with SetCursors, or null.
    HCURSOR ProgramCursor(TCursor id) const;

    // Live forms and data modules, in creation order.
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TForm* Forms(int index) const { return forms_.at(static_cast<size_t>(index)); }
    const std::vector<TForm*>& FormList() const { return forms_; }
    int DataModuleCount() const { return static_cast<int>(dataModules_.size()); }
    TDataModule* DataModules(int index) const { return dataModules_.at(static_cast<size_t>(index)); }
    const std::vector<TDataModule*>& DataModuleList() const { return dataModules_; }

    // The form that is active (has the activation), and its focused control.
    TForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const;

    // Installed font families, sorted (read once).
    TStrings* Fonts();

    TNotifyEvent OnActiveFormChange;
    TNotifyEvent OnActiveControlChange;

    // ---- used by the forms and data modules ----
    void AddForm(TForm* form);
    void RemoveForm(TForm* form);
    void AddDataModule(TDataModule* module);
    void RemoveDataModule(TDataModule* module);
    void SetActiveForm(TForm* form);
    void ActiveControlChanged();

protected:
    ~TScreen() override;

private:
    std::vector<TForm*> forms_;
    std::vector<TDataModule*> dataModules_;
    TForm* activeForm_ = nullptr;
    TCursor cursor_ = crDefault;
    std::map<TCursor, HCURSOR> cursors_;
    int ppiOverride_ = 0;
    TStringList* fonts_ = nullptr;
};

// The program's screen object (made by InitApplication).
extern TScreen* Screen;

}  // namespace fw
