// shellviews: a form with a shell tree, a shell list and a shell combo on one link, driven by fwdrive
// in the shell tests' prefix (D: is the fixture). Beside the views it holds a spy window on the link,
// the counts of link messages each view received, and handlers that change the fixture from the Unix
// side, turn hidden extensions on and off, open the list's context menu and watch a missing folder.
#include <string>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/menus.h"
#include "framework/win32/utilwindow.h"
#include "uisupport/shell/win32/shellcontrols.h"
#include "uisupport/shell/win32/testsupport/shell_wine_support.h"

namespace {

using fw::TObject;

// Counts the folder changes a view receives; the views themselves are unchanged.
template <class View>
class TCounting : public View {
public:
    using View::View;
    int Received() const { return received_; }
    void ResetReceived() { received_ = 0; }

protected:
    void Dispatch(fw::TMessage& message) override {
        if (message.Msg == uis::kLinkFolderChanged) ++received_;
        View::Dispatch(message);
    }

private:
    int received_ = 0;
};

class TCountingShellTree : public TCounting<uis::TJexoShellTree> {
public:
    using TCounting::TCounting;
};
class TCountingShellList : public TCounting<uis::TJexoShellList> {
public:
    using TCounting::TCounting;
};
class TCountingShellCombo : public TCounting<uis::TJexoShellCombo> {
public:
    using TCounting::TCounting;
};

bool g_warningOnGuiThread = false;

// The monitor's failure box, noting the thread it is shown from.
void ShowWarning(uis::TDirMon*, const std::string& text, const std::string& caption) {
    g_warningOnGuiThread = GetCurrentThreadId() == fw::Application->ThreadId();
    fw::Application->MessageBox(text, caption, MB_OK);
}

class TShellTestForm : public fw::TForm {
public:
    using TForm::TForm;
    TCountingShellTree* tvFolders = nullptr;
    TCountingShellList* lvFiles = nullptr;
    TCountingShellCombo* cbxPath = nullptr;
    uis::TJexoShellLink* ShellLink1 = nullptr;
    fw::TPopupMenu* pmList = nullptr;
    fw::TMenuItem* miMark = nullptr;

    void FormCreate(TObject*) {
        spy_ = fw::AllocateHWnd([this](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
            if (msg == uis::kLinkFolderChanged) ++spyChanges_;
            return DefWindowProcA(h, msg, w, l);
        });
        ShellLink1->RegisterView(reinterpret_cast<uis::LinkHandle>(spy_));
        // The list's monitor events pass here first, to see the thread they arrive on.
        lvFiles->Browser()->SetOnFileChange(fw::TNotifyEvent(this, &TShellTestForm::FilesChanged));
        uis::TDirMon::SetFailureSink(&ShowWarning);
    }
    void FormDestroy(TObject*) {
        if (ShellLink1) ShellLink1->UnregisterView(reinterpret_cast<uis::LinkHandle>(spy_));
        fw::DeallocateHWnd(spy_);
    }

    void FilesChanged(TObject*) {
        ++monitorEvents_;
        if (GetCurrentThreadId() != fw::Application->ThreadId()) ++monitorOffGui_;
        lvFiles->RefreshChanged();
    }

    // ---- handlers the script invokes ----
    void ResetCounts(TObject*) {
        spyChanges_ = 0;
        tvFolders->ResetReceived();
        lvFiles->ResetReceived();
        cbxPath->ResetReceived();
    }
    void RemoveTwoFiles(TObject*) { Unix("rm r1.tmp r2.tmp"); }
    void RemoveFolder(TObject*) { Unix("rm -r gone"); }
    void NewFile(TObject*) { Unix("touch new.txt"); }
    // A file made in "a" gives the folder a new time stamp, which its item-id list carries.
    void TouchInA(TObject*) { Unix("touch a/made.txt && touch -d '2001-02-03 04:05:06' a"); }
    void HideExtensions(TObject*) { SetHideExtensions(1); }
    void ShowExtensions(TObject*) { SetHideExtensions(0); }
    void OpenListMenu(TObject*) {
        fw::TListItem* item = lvFiles->Selected();
        if (!item) throw fw::Exception("nothing selected in the list");
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageA(lvFiles->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(item->Index()), reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        // A right click the user's way: press and release on the item.
        PostMessageA(lvFiles->Handle(), WM_RBUTTONDOWN, MK_RBUTTON, at);
        PostMessageA(lvFiles->Handle(), WM_RBUTTONUP, 0, at);
    }
    void WatchMissing(TObject*) {
        missing_ = fw::Make<uis::TDirMon>(this);
        missing_->SetDirectory("D:\\missing");
    }
    void StopMissing(TObject*) {
        missing_->Stop();
        missingStopped_ = !missing_->Running();
    }
    void MarkClick(TObject* sender) {
        ++marks_;
        markSender_ = dynamic_cast<fw::TComponent*>(sender) ? static_cast<fw::TComponent*>(sender)->Name() : "";
    }

    // ---- what the script reads ----
    int SpyChanges() const { return spyChanges_; }
    int TreeReceived() const { return tvFolders->Received(); }
    int ListReceived() const { return lvFiles->Received(); }
    int ComboReceived() const { return cbxPath->Received(); }
    int MonitorEvents() const { return monitorEvents_; }
    int MonitorOffGui() const { return monitorOffGui_; }
    const std::string& ListVerb() const { return lvFiles->LastContextVerb(); }
    int Marks() const { return marks_; }
    const std::string& MarkSender() const { return markSender_; }
    bool MissingStopped() const { return missingStopped_; }
    bool WarningOnGuiThread() const { return g_warningOnGuiThread; }
    // Selects the list item of the object with this file name (display names may repeat).
    const std::string& SelectName() const { return selectName_; }
    void SetSelectName(const std::string& name) {
        selectName_ = name;
        for (int i = 0; i < lvFiles->Items()->Count(); ++i) {
            fw::TListItem* item = lvFiles->Items()->Item(i);
            lvFiles->Browser()->SetObjectIDList(lvFiles->ItemIDList(item));
            if (lvFiles->Browser()->ObjectName() == name) {
                lvFiles->SetSelected(item);
                item->SetFocused(true);
                lvFiles->SetFocus();
                return;
            }
        }
        throw fw::Exception("no item for " + name);
    }
    // Whether D:\<ProbeName> exists, asked on the Unix side.
    const std::string& ProbeName() const { return probeName_; }
    void SetProbeName(const std::string& name) { probeName_ = name; }
    bool ProbeExists() const { return uis::test::RunUnix("test -e '" + probeName_ + "'") == 0; }

private:
    static void Unix(const std::string& script) {
        if (uis::test::RunUnix(script) != 0) throw fw::Exception("the Unix side failed: " + script);
    }
    static void SetHideExtensions(DWORD value) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", 0,
                            nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            throw fw::Exception("cannot open the Explorer key");
        RegSetValueExA(key, "HideFileExt", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    }

    HWND spy_ = nullptr;
    int spyChanges_ = 0;
    int monitorEvents_ = 0;
    int monitorOffGui_ = 0;
    int marks_ = 0;
    std::string markSender_;
    std::string selectName_;
    std::string probeName_;
    uis::TDirMon* missing_ = nullptr;
    bool missingStopped_ = false;
};

void RegisterTestClasses() {
    fw::Class<TCountingShellTree, uis::TJexoShellTree>("TCountingShellTree");
    fw::Class<TCountingShellList, uis::TJexoShellList>("TCountingShellList");
    fw::Class<TCountingShellCombo, uis::TJexoShellCombo>("TCountingShellCombo");
    fw::Class<TShellTestForm, fw::TForm>("TShellTestForm")
        .Field("tvFolders", &TShellTestForm::tvFolders)
        .Field("lvFiles", &TShellTestForm::lvFiles)
        .Field("cbxPath", &TShellTestForm::cbxPath)
        .Field("ShellLink1", &TShellTestForm::ShellLink1)
        .Field("pmList", &TShellTestForm::pmList)
        .Field("miMark", &TShellTestForm::miMark)
        .Prop("SpyChanges", &TShellTestForm::SpyChanges)
        .Prop("TreeReceived", &TShellTestForm::TreeReceived)
        .Prop("ListReceived", &TShellTestForm::ListReceived)
        .Prop("ComboReceived", &TShellTestForm::ComboReceived)
        .Prop("MonitorEvents", &TShellTestForm::MonitorEvents)
        .Prop("MonitorOffGui", &TShellTestForm::MonitorOffGui)
        .Prop("ListVerb", &TShellTestForm::ListVerb)
        .Prop("Marks", &TShellTestForm::Marks)
        .Prop("MarkSender", &TShellTestForm::MarkSender)
        .Prop("MissingStopped", &TShellTestForm::MissingStopped)
        .Prop("WarningOnGuiThread", &TShellTestForm::WarningOnGuiThread)
        .Prop("SelectName", &TShellTestForm::SelectName, &TShellTestForm::SetSelectName)
        .Prop("ProbeName", &TShellTestForm::ProbeName, &TShellTestForm::SetProbeName)
        .Prop("ProbeExists", &TShellTestForm::ProbeExists)
        .Method("FormCreate", &TShellTestForm::FormCreate)
        .Method("FormDestroy", &TShellTestForm::FormDestroy)
        .Method("ResetCounts", &TShellTestForm::ResetCounts)
        .Method("RemoveTwoFiles", &TShellTestForm::RemoveTwoFiles)
        .Method("RemoveFolder", &TShellTestForm::RemoveFolder)
        .Method("NewFile", &TShellTestForm::NewFile)
        .Method("TouchInA", &TShellTestForm::TouchInA)
        .Method("HideExtensions", &TShellTestForm::HideExtensions)
        .Method("ShowExtensions", &TShellTestForm::ShowExtensions)
        .Method("OpenListMenu", &TShellTestForm::OpenListMenu)
        .Method("WatchMissing", &TShellTestForm::WatchMissing)
        .Method("StopMissing", &TShellTestForm::StopMissing)
        .Method("MarkClick", &TShellTestForm::MarkClick);
}

}  // namespace

int main() {
    fw::InitApplication();
    uis::RegisterShellClasses();
    fw::RegisterMenuClasses();
    RegisterTestClasses();
    {
        uis::ShellSession shell;
        if (shell.Started()) {
            fw::Application->Initialize();
            TShellTestForm* frmShell = nullptr;
            fw::Application->CreateForm(frmShell);
            fw::Application->Run();
        }
        // The views give their shell interfaces back with their forms, before the shell ends.
        fw::DoneApplication();
    }
    return 0;
}
