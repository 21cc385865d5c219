// The bases of the wizard pages. Every page is a form with form text of its own; it finds its dialog
// manager by type when it is made, and the manager shows it:
//   TBaseInstallForm      before/after pages, one at a time inside the modal page host
//                         (TBaseFormContainer), as a borderless child window of the host;
//   TBaseDuringCopyForm   copy pages, modeless while files are written, fed the progress;
//   TBaseChangeDiskForm   the change-disk page, modal when a volume is missing.
// A page is translated into the translator's language when it is shown (ApplyLanguage).
#pragma once

#include <vector>

#include "framework/win32/forms.h"
#include "installer/dialog_manager.h"
#include "installer/languages.h"

namespace fw {
class TImage;
}

namespace inst {

class TBaseFormContainer;

class TBaseQuenfordForm : public fw::TForm {
public:
    explicit TBaseQuenfordForm(fw::TComponent* owner);

    bool ApplyFont() const { return applyFont_; }
    void SetApplyFont(bool v) { applyFont_ = v; }
    bool TranslateTexts() const { return translateTexts_; }
    void SetTranslateTexts(bool v) { translateTexts_ = v; }
    // The install object the page edits.
    TInstallObject* Subject() const { return subject_; }
    void SetSubject(TInstallObject* v) { subject_ = v; }
    // The language the page's texts are in now.
    TQnfdLanguage FormLanguage() const { return formLanguage_; }
    void SetFormLanguage(TQnfdLanguage v) { formLanguage_ = v; }
    bool UseFixedLanguage() const { return useFixedLanguage_; }
    void SetUseFixedLanguage(bool v) { useFixedLanguage_ = v; }
    TQnfdLanguage FixedLanguage() const { return fixedLanguage_; }
    void SetFixedLanguage(TQnfdLanguage v) { fixedLanguage_ = v; }

    virtual void Translate() { ApplyLanguage(); }
    // Shows or hides the page's buttons; empty in the base.
    virtual void UpdateControls() {}
    // Gives the page the language's font and texts (the fixed language or the translator's), then lets
    // pending messages run. Without a translator nothing changes.
    virtual void ApplyLanguage();

protected:
    ~TBaseQuenfordForm() override;
    void BeforeDestruction() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;
    // Puts the install component's theme picture into `image` unless it has a picture of its own.
    static void UseInstallTheme(fw::TImage* image);

private:
    bool applyFont_ = true;
    bool translateTexts_ = true;
    TInstallObject* subject_ = nullptr;
    TQnfdLanguage formLanguage_ = TQnfdLanguage::qlEnglish;
    bool useFixedLanguage_ = false;
    TQnfdLanguage fixedLanguage_ = TQnfdLanguage::qlUser;
};

// Every page of the install library alive now.
std::vector<TBaseQuenfordForm*>& LibraryForms();

class TBaseInstallForm : public TBaseQuenfordForm {
public:
    // Owned by a form (the page host), the page is a child window of it.
    explicit TBaseInstallForm(fw::TComponent* owner);

    TCustomBaseInstallDlg* DC() const { return dc_; }
    void SetDC(TCustomBaseInstallDlg* v) { dc_ = v; }
    TDialogManager* DM() const { return dm_; }
    void SetDM(TDialogManager* v) { dm_ = v; }
    int Order() const { return order_; }
    void SetOrder(int v) { order_ = v; }

    // The host's answers; false when the page is not hosted.
    virtual bool IsFirstPage();
    virtual bool IsLastPage();
    // Runs before the host leaves the page; empty in the base.
    virtual void OnLeavePage() {}
    // Ends the pages with the abort result (the host's, or the page's own when not hosted).
    virtual void CloseCancelled();
    virtual void GoNext();
    virtual void GoBack();
    // The host shows the page: its buttons are brought up to date and it comes to the front.
    virtual void ActivatePage();
    virtual bool IsSkipped() { return false; }
    // Asks the install component whether to give up; on yes, ends the pages with the abort result.
    virtual void CancelInstall();

protected:
    // The host when the page is hosted.
    TBaseFormContainer* Host() const;

private:
    TCustomBaseInstallDlg* dc_ = nullptr;
    TDialogManager* dm_ = nullptr;
    int order_ = 0;
};

class TBaseDuringCopyForm : public TBaseQuenfordForm {
public:
    explicit TBaseDuringCopyForm(fw::TComponent* owner) : TBaseQuenfordForm(owner) {}

    TDialogManager* DM() const { return dm_; }
    void SetDM(TDialogManager* v) { dm_ = v; }

    // Asks the install component whether to give up; on yes, the archive and the downloads stop at
    // their next block. The page stays open either way.
    virtual void CancelInstall();
    // The progress of the file written (status) or downloaded (download); empty in the base.
    virtual void UpdateProgress(TFileStatusParameter* status, TDownloadStatusParameter* download) {}

private:
    TDialogManager* dm_ = nullptr;
};

class TBaseChangeDiskForm : public TBaseQuenfordForm {
public:
    explicit TBaseChangeDiskForm(fw::TComponent* owner) : TBaseQuenfordForm(owner) {}

    TDiskParameter* DiskParameter() const { return diskParameter_; }
    void SetDiskParameter(TDiskParameter* v) { diskParameter_ = v; }
    TDialogManager* DM() const { return dm_; }
    void SetDM(TDialogManager* v) { dm_ = v; }

    // Asks the install component whether to give up; on yes, the page closes with the abort result.
    virtual void CancelInstall();

private:
    TDiskParameter* diskParameter_ = nullptr;
    TDialogManager* dm_ = nullptr;
};

// Asks the install component's OnUserAbort (yes without one).
bool UserWantsToAbort();

// Installs the Windows side of the dialog managers (Pages()).
void InstallWin32DialogPages();
// Registers the page bases and the page host for form text and installs the Windows side of the
// dialog managers. Harmless to repeat.
void RegisterInstallForms();

}  // namespace inst
