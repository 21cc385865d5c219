// The preferences the main window reads at start and after the options dialog, and the view
// settings it applies.
#include "app/text_routines.h"
#include "app/win32/formZipMain.h"
#include "engine/core/file_routines.h"
#include "framework/win32/application.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_listview.h"
#include "framework/win32/std_notebook.h"
#include "framework/win32/std_toolbar.h"
#include "uisupport/win32/formstorage.h"
#include "widgets/win32/starter.h"

namespace app {

namespace {

// One section of the preferences through the main window's storage of that section.
class StorageSection : public SettingsSection {
public:
    explicit StorageSection(uis::TFormStorage* storage) : storage_(storage) {}
    std::string ReadString(const std::string& name, const std::string& def) override {
        return storage_->ReadString(name, def);
    }
    void WriteString(const std::string& name, const std::string& value) override { storage_->WriteString(name, value); }

private:
    uis::TFormStorage* storage_;
};

}  // namespace

void TfrmZipMain::LoadPreferences() {
    StorageSection folders(fsFolders), programs(fsPrograms), view(fsView);
    prefs_ = app::LoadPreferences(folders, programs, view, engine::GetTempDir());
    // A start-up folder that is gone leaves the current folder as it is.
    if (!prefs_.startupFolder.empty() && prefs_.useStartupFolder) engine::SetCurrentDir(prefs_.startupFolder);
    if (auto* starter = dynamic_cast<kvx::win32::TKVXStarter*>(FindComponent("KVXStarter1"))) {
        starter->SetCommand(prefs_.virusScanner);
        starter->SetParameters(prefs_.virusParams);
        if (prefs_.virusMinimized) starter->StartOption = kvx::win32::TKVXStarterOptions::soSW_MINIMIZE;
    }
}

void TfrmZipMain::ApplyViewSettings() {
    StorageSection view(fsView), toolbars(fsToolbars);
    const ViewSettings v = LoadViewSettings(view, toolbars);
    ListView1->SetGridLines(v.gridLines);
    pnlInfo->SetVisible(v.showLog);
    SplitterInfo->SetVisible(v.showLog);
    if (v.showLog) pnlDispInfo->SetCaption(" " + nbkLog->ActivePage());
    mnuViewLog->SetChecked(pnlInfo->Visible());
    tbarStandard->SetVisible(v.standardToolbar);
    miViewStandard->SetChecked(v.standardToolbar);
    pnlActions->SetVisible(v.actionsBar);
    miViewActions->SetChecked(v.actionsBar);
    SetButtonText(v.buttonText);
    SetShowHint(v.toolTips);
    BuildColumns();
}

void TfrmZipMain::SetButtonText(bool value) {
    miViewTextlabels->SetChecked(value);
    for (int i = 0; i < tbarStandard->ButtonCount(); ++i) {
        fw::TToolButton* button = tbarStandard->Buttons(i);
        button->SetHeight(value ? 38 : 26);
        button->SetWidth(value ? 45 : 32);
    }
    fsToolbars->WriteString("cbButtonText_Checked", BoolToSetting(value));
}

}  // namespace app
