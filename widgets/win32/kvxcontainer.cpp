#include "widgets/win32/kvxcontainer.h"

namespace kvx::win32 {

TKVXContainer* KVXContainer = nullptr;

TKVXContainer::TKVXContainer(TComponent* owner)
    : TKVXBaseContainer(owner),
      bitmapList_(fw::Make<TKVXBitmapList>(this)),
      imageList_(fw::Make<TKVXImageList>(this)),
      waveList_(fw::Make<TKVXWaveList>(this)),
      stringList_(fw::Make<TKVXStringList>(this)) {
    // A change of a list's items reaches this container's own listeners.
    for (TKVXCustomContainer* list : {static_cast<TKVXCustomContainer*>(bitmapList_), static_cast<TKVXCustomContainer*>(imageList_),
                                      static_cast<TKVXCustomContainer*>(waveList_), static_cast<TKVXCustomContainer*>(stringList_)})
        list->OnChange.Bind(this, &TKVXContainer::ChildChanged);
}

void TKVXContainer::BeforeDestruction() {
    for (TKVXCustomContainer* list : {static_cast<TKVXCustomContainer*>(bitmapList_), static_cast<TKVXCustomContainer*>(imageList_),
                                      static_cast<TKVXCustomContainer*>(waveList_), static_cast<TKVXCustomContainer*>(stringList_)})
        list->OnChange.Reset();
    TKVXBaseContainer::BeforeDestruction();
}

TKVXContainer* KVXCreateContainer() {
    if (!KVXContainer) KVXContainer = new TKVXContainer(nullptr);
    return KVXContainer;
}

void KVXDestroyContainer() { fw::FreeAndNil(KVXContainer); }

std::string KVXContainerListId(const TKVXCustomImageList* list) {
    if (!list || !KVXContainer) return {};
    if (list == KVXContainer->BitmapList()) return kBitmapListId;
    if (list == KVXContainer->ImageList()) return kImageListId;
    return {};
}

TKVXCustomImageList* KVXContainerListById(const std::string& text) {
    if (!KVXContainer) return nullptr;
    if (text == kBitmapListId) return KVXContainer->BitmapList();
    if (text == kImageListId) return KVXContainer->ImageList();
    return nullptr;
}

bool KVXIsContainerList(const TKVXCustomImageList* list) { return list && !KVXContainerListId(list).empty(); }

}  // namespace kvx::win32
