// Dialog managers: a TDialogManager on the main form stands for one moment of the install run (before
// the install, after a good or a bad one, during copying, when a disk is needed, before a reboot). When
// the install component broadcasts that moment, the manager shows the wizard pages registered for it:
// before/after pages one at a time in a modal host, copy pages modeless while files are written, the
// change-disk page modal on demand.
//
// The pages are forms: the Windows side shows them through the DialogPages seam. This holds what does
// not need a window: the managers and their notifications, the page class registries (filled once when
// the program starts, in the order of the pages' units), the current manager, and TCustomBaseInstallDlg,
// the non-visual description of a page.
#pragma once

#include <string>
#include <vector>

#include "framework/core/event.h"
#include "installer/dialog_placement.h"
#include "installer/install_tree.h"
#include "installer/languages.h"

namespace fw {
class TClassInfo;
}

namespace inst {

class TCustomBaseInstallDlg;
class TCustomInstallFile;
class TDialogManager;

enum class TManagerType {
    dmBeforeInstall,
    dmAfterGoodInstall,
    dmAfterBadInstall,
    dmDuringCopyFiles,
    dmChangeDisk,
    dmReboot
};

// The modal results the host and the pages use: OK (Next past the last page; Proceed) and abort (the
// user confirmed cancelling).
constexpr int kPageOk = 1;
constexpr int kPageAbort = 3;

// A registered page class, and the dialog component that describes it (none for the setup's pages).
struct PageEntry {
    const fw::TClassInfo* pageClass = nullptr;
    TCustomBaseInstallDlg* dialog = nullptr;
};

class PageRegistry {
public:
    explicit PageRegistry(std::string listName) : listName_(std::move(listName)) {}
    // Registering a class again (without a dialog) changes nothing.
    void Add(const fw::TClassInfo* pageClass, TCustomBaseInstallDlg* dialog = nullptr);
    int Count() const { return static_cast<int>(entries_.size()); }
    // Raises Exception "%d is an invalid index in the BIFList" (the list's name) outside the list.
    const PageEntry& Entry(int index) const;
    // A dialog going away leaves its entries without it.
    void ForgetDialog(TCustomBaseInstallDlg* dialog);
    void Clear() { entries_.clear(); }

private:
    std::string listName_;
    std::vector<PageEntry> entries_;
};

// Before/after pages (managers dmBeforeInstall, dmAfterGoodInstall, dmAfterBadInstall, dmReboot), copy
// pages and change-disk pages.
PageRegistry& InstallFormList();
PageRegistry& CopyFormList();
PageRegistry& ChangeDiskFormList();

// What shows the pages: the Windows side installs it; without one nothing is shown.
class DialogPages {
public:
    virtual ~DialogPages() = default;
    // The manager's before/after pages in the modal host; EAIUserAbort when the user cancelled.
    virtual void ShowDialogs(TDialogManager& manager) {}
    // Shows the copy pages first when none is shown, then hands them the progress.
    virtual void UpdateCopyForms(TDialogManager& manager, TFileStatusParameter* status,
                                 TDownloadStatusParameter* download) {}
    virtual void CloseCopyForms(TDialogManager& manager) {}
    // The change-disk page, modal; EAIUserAbort when the user cancelled.
    virtual void ShowChangeDisk(TDialogManager& manager, TCustomInstallFile& file, TDiskParameter& disk) {}
    // Runs a page dialog's form modal; its modal result.
    virtual int RunDialog(TCustomBaseInstallDlg& dialog) { return kPageOk; }
};
DialogPages& Pages();
// Installs the seam (nullptr: nothing is shown). The object must outlive its use.
void SetDialogPages(DialogPages* pages);

// The manager now showing its host or its change-disk page; null otherwise.
TDialogManager* CurrentDialogManager();
void SetCurrentDialogManager(TDialogManager* manager);

class TDialogManager : public TInstallObject {
public:
    explicit TDialogManager(fw::TComponent* owner);
    int RegisteredType() const override { return kTypeDialog; }

    int Height() const { return height_; }
    void SetHeight(int v) { height_ = v; }
    TManagerType ManagerType() const { return managerType_; }
    void SetManagerType(TManagerType v) { managerType_ = v; }
    TQuenfordDialogPosition Position() const { return position_; }
    void SetPosition(TQuenfordDialogPosition v) { position_ = v; }
    int RelativeLeftOffset() const { return relativeLeftOffset_; }
    void SetRelativeLeftOffset(int v) { relativeLeftOffset_ = v; }
    int RelativeTopOffset() const { return relativeTopOffset_; }
    void SetRelativeTopOffset(int v) { relativeTopOffset_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }

    // The copy pages shown now (forms, kept by the Windows side) and the dialogs attached.
    std::vector<fw::TComponent*>& CopyForms() { return copyForms_; }
    const std::vector<TCustomBaseInstallDlg*>& Dialogs() const { return dialogs_; }

    void Notify(TInstallContainer* sender, int code, fw::TObject* param) override;
    virtual void ShowDialogs();
    virtual void ShowChangeDisk(fw::TObject* param);
    virtual void AddDialog(TCustomBaseInstallDlg* dialog);
    virtual void RemoveDialog(TCustomBaseInstallDlg* dialog);
    void UpdateCopyForms(TFileStatusParameter* status, TDownloadStatusParameter* download);
    void CloseCopyForms();

protected:
    ~TDialogManager() override;
    void BeforeDestruction() override;

private:
    std::vector<fw::TComponent*> copyForms_;
    std::vector<TCustomBaseInstallDlg*> dialogs_;
    int height_ = 395;
    TManagerType managerType_ = TManagerType::dmBeforeInstall;
    TQuenfordDialogPosition position_ = TQuenfordDialogPosition::qdpCenter;
    int relativeLeftOffset_ = 0;
    int relativeTopOffset_ = 0;
    int width_ = 478;
};

// The first dialog manager of the type whose container is the install component; null when none.
TDialogManager* FindDialogManager(TManagerType type);

// A non-visual description of a page: its size, place, language and picture, the manager it belongs
// to, and events around its run. A descendant names the form class it runs.
class TCustomBaseInstallDlg : public TInstallObject {
public:
    explicit TCustomBaseInstallDlg(fw::TComponent* owner);
    int RegisteredType() const override { return kTypeDialog; }

    bool ApplyFont() const { return applyFont_; }
    void SetApplyFont(bool v) { applyFont_ = v; }
    bool TranslateTexts() const { return translateTexts_; }
    void SetTranslateTexts(bool v) { translateTexts_ = v; }
    TQnfdLanguage FormLanguage() const { return formLanguage_; }
    void SetFormLanguage(TQnfdLanguage v) { formLanguage_ = v; }
    bool UseFixedLanguage() const { return useFixedLanguage_; }
    void SetUseFixedLanguage(bool v) { useFixedLanguage_ = v; }
    TQnfdLanguage FixedLanguage() const { return fixedLanguage_; }
    void SetFixedLanguage(TQnfdLanguage v) { fixedLanguage_ = v; }
    TDialogManager* Manager() const { return manager_; }
    // Moves the dialog from its manager's dialogs to the new one's.
    void SetManager(TDialogManager* value);
    TQuenfordDialogPosition Position() const { return position_; }
    void SetPosition(TQuenfordDialogPosition v) { position_ = v; }
    int RelativeLeftOffset() const { return relativeLeftOffset_; }
    void SetRelativeLeftOffset(int v) { relativeLeftOffset_ = v; }
    int RelativeTopOffset() const { return relativeTopOffset_; }
    void SetRelativeTopOffset(int v) { relativeTopOffset_ = v; }
    int Height() const { return height_; }
    void SetHeight(int v) { height_ = v; }
    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    // The page shown now (while it runs or is hosted).
    fw::TComponent* Form() const { return form_; }
    void SetForm(fw::TComponent* form) { form_ = form; }

    fw::TNotifyEvent OnBeforeExecute, OnAfterExecute;

    // The base takes part in every run.
    virtual bool IsEnabled() { return true; }
    // The form class a run shows; none in the base.
    virtual const fw::TClassInfo* FormClass() const { return nullptr; }
    // Where the dialog's form goes on a screen: the placement table, rounded to the nearest integer.
    DialogPlace Place(const ScreenArea& screen) const;
    // Fires OnBeforeExecute, runs the form modal (true for OK; any other result raises EAIUserAbort),
    // fires OnAfterExecute. A silent abort answers false.
    bool Execute();

protected:
    void BeforeDestruction() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
    bool applyFont_ = true;
    bool translateTexts_ = true;
    TQnfdLanguage formLanguage_ = TQnfdLanguage::qlEnglish;
    bool useFixedLanguage_ = false;
    TQnfdLanguage fixedLanguage_ = TQnfdLanguage::qlUser;
    TDialogManager* manager_ = nullptr;
    fw::TComponent* form_ = nullptr;
    TQuenfordDialogPosition position_ = TQuenfordDialogPosition::qdpCenter;
    int relativeLeftOffset_ = 0;
    int relativeTopOffset_ = 0;
    int height_ = 395;
    int width_ = 478;
};

}  // namespace inst
