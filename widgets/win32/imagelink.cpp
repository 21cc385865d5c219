#include "widgets/win32/imagelink.h"

#include "framework/core/filer.h"
#include "widgets/win32/kvxcontainer.h"

namespace kvx::win32 {

TKVXImageLink::TKVXImageLink(TComponent* owner, std::function<void(TObject*)> changed)
    : owner_(owner), changed_(std::move(changed)) {
    link_.OnChange.Bind(this, [](void* self, TObject* sender) { static_cast<TKVXImageLink*>(self)->changed_(sender); });
}

TKVXImageLink::~TKVXImageLink() {
    if (list_) list_->UnregisterChanges(&link_);
}

void TKVXImageLink::SetList(TKVXCustomImageList* list) {
    if (list_) {
        list_->UnregisterChanges(&link_);
        if (list != list_) owner_->RemoveFreeNotification(list_);
    }
    list_ = list;
    if (list_) {
        list_->RegisterChanges(&link_);
        owner_->FreeNotification(list_);
    }
    changed_(nullptr);
}

void TKVXImageLink::SetIndex(int which, int value) {
    int& field = which == 0 ? imageIndex_ : listIndex_;
    if (value < 0 || value == field) return;
    field = value;
    if (list_) changed_(nullptr);
}

bool TKVXImageLink::NoImage() const { return !list_ || !list_->IsValid(listIndex_, imageIndex_); }

void TKVXImageLink::Notification(TComponent* component, fw::TOperation operation) {
    if (operation == fw::opRemove && list_ && component == list_) SetList(nullptr);
}

bool TKVXImageLink::ListStored() const { return list_ && !KVXIsContainerList(list_); }

void TKVXImageLink::DefineProperties(fw::TFiler& filer) {
    filer.DefineProperty(
        "Internal", [this](fw::TReader& r) { SetList(KVXContainerListById(r.ReadString())); },
        [this](fw::TWriter& w) { w.WriteString(KVXContainerListId(list_)); }, KVXIsContainerList(list_));
}

}  // namespace kvx::win32
