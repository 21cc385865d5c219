// The dialog managers' pages on Windows: the modal page host, the modeless copy pages, the change-disk
// page and the page dialogs, made from the classes the registries hold.
#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/screen.h"
#include "installer/dialog_manager.h"
#include "installer/exceptions.h"
#include "installer/install_file.h"
#include "installer/win32/form_container.h"
#include "installer/win32/install_forms.h"

namespace inst {

namespace {

// A page of a registered class with its form text, or null when the class makes no such page.
template <class Page>
Page* MakePage(const fw::TClassInfo* cls, fw::TComponent* owner) {
    fw::TComponent* made = cls->Create(owner);
    auto* page = dynamic_cast<Page*>(made);
    if (!page) {
        made->Free();
        return nullptr;
    }
    fw::LoadRootResource(page);
    return page;
}

ScreenArea TheScreen() { return {fw::Screen->Width(), fw::Screen->Height(), GetSystemMetrics(SM_CYCAPTION)}; }

void ApplyDialogSettings(TCustomBaseInstallDlg& dialog, fw::TForm& form) {
    const DialogPlace place = dialog.Place(TheScreen());
    form.SetBounds(place.left, place.top, dialog.Width(), dialog.Height());
}

// Clears the current manager and frees the form however the showing ends.
class Showing {
public:
    Showing(TDialogManager& manager, fw::TForm* form) : form_(form) { SetCurrentDialogManager(&manager); }
    ~Showing() {
        SetCurrentDialogManager(nullptr);
        if (form_) form_->Free();
    }
    Showing(const Showing&) = delete;
    Showing& operator=(const Showing&) = delete;

private:
    fw::TForm* form_;
};

class Win32Pages : public DialogPages {
public:
    void ShowDialogs(TDialogManager& manager) override {
        auto* host = fw::Make<TBaseFormContainer>(fw::Application);
        fw::LoadRootResource(host);
        Showing showing(manager, host);
        host->SetPosition(fw::poDesigned);
        host->SetBounds(host->Left(), host->Top(), manager.Width(), manager.Height());
        host->Place(manager.Position(), manager.RelativeLeftOffset(), manager.RelativeTopOffset());
        if (host->BuildPages() == 0) return;
        if (host->ShowModal() == kPageAbort) throw EAIUserAbort();
        if (fw::TForm* main = fw::Application->MainForm()) main->Repaint();
        fw::Application->ProcessMessages();
    }

    void UpdateCopyForms(TDialogManager& manager, TFileStatusParameter* status,
                         TDownloadStatusParameter* download) override {
        if (manager.CopyForms().empty()) {
            const PageRegistry& registry = CopyFormList();
            for (int i = 0; i < registry.Count(); ++i) {
                const PageEntry& entry = registry.Entry(i);
                auto* page = MakePage<TBaseDuringCopyForm>(entry.pageClass, fw::Application);
                if (!page) continue;
                if (page->DM() != &manager) {
                    page->Free();
                    continue;
                }
                if (entry.dialog) {
                    page->SetSubject(dynamic_cast<TInstallObject*>(entry.dialog->Container()));
                    entry.dialog->SetForm(page);
                    ApplyDialogSettings(*entry.dialog, *page);
                }
                page->UpdateControls();
                page->ApplyLanguage();
                page->Show();
                manager.CopyForms().push_back(page);
            }
        }
        for (fw::TComponent* c : manager.CopyForms())
            if (auto* page = dynamic_cast<TBaseDuringCopyForm*>(c)) page->UpdateProgress(status, download);
    }

    void CloseCopyForms(TDialogManager& manager) override {
        const std::vector<fw::TComponent*> pages = manager.CopyForms();
        manager.CopyForms().clear();
        for (fw::TComponent* c : pages)
            if (auto* page = dynamic_cast<fw::TForm*>(c)) {
                page->Close();
                page->Free();
            }
    }

    void ShowChangeDisk(TDialogManager& manager, TCustomInstallFile& file, TDiskParameter& disk) override {
        auto* page = MakePage<TBaseChangeDiskForm>(ChangeDiskFormList().Entry(0).pageClass, fw::Application);
        if (!page) return;
        Showing showing(manager, page);
        if (page->DM() != &manager) return;
        // The file shows no message of its own: the page has asked.
        file.SetTag(1);
        page->SetDiskParameter(&disk);
        page->UpdateControls();
        page->ApplyLanguage();
        if (page->ShowModal() == kPageAbort) throw EAIUserAbort();
    }

    int RunDialog(TCustomBaseInstallDlg& dialog) override {
        const fw::TClassInfo* cls = dialog.FormClass();
        if (!cls) return kPageOk;
        auto* form = MakePage<fw::TForm>(cls, fw::Application);
        if (!form) return kPageOk;
        struct Release {
            TCustomBaseInstallDlg& dialog;
            fw::TForm* form;
            ~Release() {
                dialog.SetForm(nullptr);
                form->Free();
            }
        } release{dialog, form};
        dialog.SetForm(form);
        ApplyDialogSettings(dialog, *form);
        return form->ShowModal();
    }
};

}  // namespace

void InstallWin32DialogPages() {
    static Win32Pages pages;
    SetDialogPages(&pages);
}

}  // namespace inst
