#include "installer/dialog_manager.h"

#include <algorithm>

#include "framework/core/exceptions.h"
#include "framework/core/lists.h"
#include "installer/container.h"
#include "installer/exceptions.h"
#include "installer/install_file.h"
#include "installer/install_root.h"
#include "installer/net_location.h"
#include "installer/translator.h"

namespace inst {

namespace {

DialogPages* g_pages = nullptr;
TDialogManager* g_current = nullptr;

template <class T>
void Erase(std::vector<T*>& list, const void* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) list.erase(it);
}

}  // namespace

// ---- Page registries ------------------------------------------------------------------------------------------

void PageRegistry::Add(const fw::TClassInfo* pageClass, TCustomBaseInstallDlg* dialog) {
    for (const PageEntry& e : entries_)
        if (e.pageClass == pageClass && e.dialog == dialog) return;
    entries_.push_back({pageClass, dialog});
}

const PageEntry& PageRegistry::Entry(int index) const {
    if (index < 0 || index >= Count())
        throw fw::Exception(FormatTranslated("%d is an invalid index in the " + listName_, {index}));
    return entries_[static_cast<size_t>(index)];
}

void PageRegistry::ForgetDialog(TCustomBaseInstallDlg* dialog) {
    for (PageEntry& e : entries_)
        if (e.dialog == dialog) e.dialog = nullptr;
}

PageRegistry& InstallFormList() {
    static PageRegistry list("BIFList");
    return list;
}

PageRegistry& CopyFormList() {
    static PageRegistry list("DCFList");
    return list;
}

PageRegistry& ChangeDiskFormList() {
    static PageRegistry list("BCDFList");
    return list;
}

DialogPages& Pages() {
    static DialogPages none;
    return g_pages ? *g_pages : none;
}

void SetDialogPages(DialogPages* pages) { g_pages = pages; }

TDialogManager* CurrentDialogManager() { return g_current; }
void SetCurrentDialogManager(TDialogManager* manager) { g_current = manager; }

// ---- TDialogManager --------------------------------------------------------------------------------------------

TDialogManager::TDialogManager(fw::TComponent* owner) : TInstallObject(owner) { isFileRelated_ = false; }

TDialogManager::~TDialogManager() = default;

void TDialogManager::BeforeDestruction() {
    if (g_current == this) g_current = nullptr;
    const std::vector<TCustomBaseInstallDlg*> dialogs = dialogs_;
    for (TCustomBaseInstallDlg* d : dialogs) d->SetManager(nullptr);
    if (!copyForms_.empty()) Pages().CloseCopyForms(*this);
    TInstallObject::BeforeDestruction();
}

void TDialogManager::Notify(TInstallContainer* sender, int code, fw::TObject* param) {
    TInstallObject::Notify(sender, code, param);
    switch (managerType_) {
        case TManagerType::dmBeforeInstall:
            if (code == kNotifyBeforeInstall) ShowDialogs();
            break;
        case TManagerType::dmAfterGoodInstall:
            if (code == kNotifyAfterGoodInstall) ShowDialogs();
            break;
        case TManagerType::dmAfterBadInstall:
            if (code == kNotifyAfterBadInstall) ShowDialogs();
            break;
        case TManagerType::dmReboot:
            if (code == kNotifyReboot) ShowDialogs();
            break;
        case TManagerType::dmDuringCopyFiles:
            if (code == kNotifyFileStatus || code == kNotifyDownloadStatus) {
                if (!param) throw IException("%s got a nil PO parameter", {Name()});
                if (code == kNotifyFileStatus) {
                    auto* status = dynamic_cast<TFileStatusParameter*>(param);
                    if (!status)
                        throw IException("The PO object passed to %s is not a TFileStatusParameter object", {Name()});
                    UpdateCopyForms(status, nullptr);
                } else {
                    auto* download = dynamic_cast<TDownloadStatusParameter*>(param);
                    if (!download)
                        throw IException("The PO object passed to %s is not a TDownloadStatusParameter object",
                                         {Name()});
                    UpdateCopyForms(nullptr, download);
                }
            } else if (code == kNotifyOperationEnded || code == kNotifyBeforeGoodPages ||
                       code == kNotifyBeforeBadPages) {
                // An aborted copy ends without its last notification: the result pages take over.
                CloseCopyForms();
            }
            break;
        case TManagerType::dmChangeDisk:
            if (code == kNotifyChangeDisk) ShowChangeDisk(param);
            break;
    }
}

void TDialogManager::ShowDialogs() { Pages().ShowDialogs(*this); }

void TDialogManager::ShowChangeDisk(fw::TObject* param) {
    if (ChangeDiskFormList().Count() == 0) return;
    if (!param)
        throw fw::Exception(
            TranslateEnglish("The ParameterObject is Nil in the TDialogManager. Cannot show the change disk form"));
    auto* list = dynamic_cast<fw::TList*>(param);
    if (!list) throw fw::Exception(TranslateEnglish("TChangeDiskDlg--PO is not a TList object"));
    if (list->Count() < 2) throw fw::Exception(TranslateEnglish("TChangeDiskDlg--Not engouh parameters for status event"));
    auto* file = dynamic_cast<TCustomInstallFile*>(ListItem(*list, 0));
    if (!file) throw fw::Exception(TranslateEnglish("TChangeDiskDlg says bad first parameter"));
    auto* disk = dynamic_cast<TDiskParameter*>(ListItem(*list, 1));
    if (!disk) throw fw::Exception(TranslateEnglish("TChangeDiskDlg says bad second parameter"));
    Pages().ShowChangeDisk(*this, *file, *disk);
}

void TDialogManager::AddDialog(TCustomBaseInstallDlg* dialog) {
    if (!dialog)
        throw fw::Exception(FormatTranslated("Cannot add a NIL Dialog to the Dialog Manager %s", {Name()}));
    if (std::find(dialogs_.begin(), dialogs_.end(), dialog) == dialogs_.end()) dialogs_.push_back(dialog);
}

void TDialogManager::RemoveDialog(TCustomBaseInstallDlg* dialog) { Erase(dialogs_, dialog); }

void TDialogManager::UpdateCopyForms(TFileStatusParameter* status, TDownloadStatusParameter* download) {
    Pages().UpdateCopyForms(*this, status, download);
}

void TDialogManager::CloseCopyForms() {
    if (!copyForms_.empty()) Pages().CloseCopyForms(*this);
    copyForms_.clear();
}

TDialogManager* FindDialogManager(TManagerType type) {
    TInstallContainer* root = InstallComponent();
    if (!root) return nullptr;
    for (TInstallContainer* c : AllContainers())
        if (auto* m = dynamic_cast<TDialogManager*>(c); m && m->ManagerType() == type && m->Container() == root)
            return m;
    return nullptr;
}

// ---- TCustomBaseInstallDlg -------------------------------------------------------------------------------------

TCustomBaseInstallDlg::TCustomBaseInstallDlg(fw::TComponent* owner) : TInstallObject(owner) {
    isFileRelated_ = false;
    SetOrder(0);
    SetInstallTypes({TInstallType::itFull, TInstallType::itDefault, TInstallType::itCompact, TInstallType::itCustom});
}

void TCustomBaseInstallDlg::SetManager(TDialogManager* value) {
    if (value == manager_) return;
    if (manager_) {
        manager_->RemoveDialog(this);
        RemoveFreeNotification(manager_);
    }
    manager_ = value;
    if (manager_) {
        manager_->AddDialog(this);
        FreeNotification(manager_);
    }
}

void TCustomBaseInstallDlg::BeforeDestruction() {
    SetManager(nullptr);
    for (PageRegistry* list : {&InstallFormList(), &CopyFormList(), &ChangeDiskFormList()}) list->ForgetDialog(this);
    TInstallObject::BeforeDestruction();
}

void TCustomBaseInstallDlg::Notification(fw::TComponent* component, fw::TOperation operation) {
    TInstallObject::Notification(component, operation);
    if (operation == fw::opRemove && component == manager_) manager_ = nullptr;
    if (operation == fw::opRemove && component == form_) form_ = nullptr;
}

DialogPlace TCustomBaseInstallDlg::Place(const ScreenArea& screen) const {
    return PlaceDialog(position_, relativeLeftOffset_, relativeTopOffset_, width_, height_, screen,
                       PlacementRounding::NearestEven);
}

bool TCustomBaseInstallDlg::Execute() {
    try {
        if (OnBeforeExecute) OnBeforeExecute(this);
        if (Pages().RunDialog(*this) != kPageOk) throw EAIUserAbort();
        if (OnAfterExecute) OnAfterExecute(this);
    } catch (const fw::EAbort&) {
        return false;
    }
    return true;
}

}  // namespace inst
