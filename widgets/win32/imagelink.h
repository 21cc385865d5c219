// TKVXImageLink: the link from a suite control (or component) to a picture of a suite image list:
// ImageList, ImageIndex (which image) and ListIndex (which list inside a multi-list image list). The
// owner hears every change of the list through a change link registered with it, and is told to
// repaint when the list or an index changes.
//
// Rules: assigning a list moves the change link, asks for free-notification and always tells the
// owner, also for nil; a negative or unchanged index is ignored, and a changed one tells the owner
// only while a list is set; a list that is freed is dropped. Form text stores ImageList only when it is
// not one of the application-wide container's lists, which are stored as their fixed identifier in the
// defined property "Internal" instead.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/core/filer.h"
#include "widgets/win32/imagelistbase.h"

namespace kvx::win32 {

class TKVXImageLink {
public:
    // Changed runs with the list as Sender when the list tells its listeners, and with null otherwise.
    TKVXImageLink(TComponent* owner, std::function<void(TObject* sender)> changed);
    ~TKVXImageLink();
    TKVXImageLink(const TKVXImageLink&) = delete;
    TKVXImageLink& operator=(const TKVXImageLink&) = delete;

    TKVXCustomImageList* List() const { return list_; }
    void SetList(TKVXCustomImageList* list);
    // Index 0 ImageIndex, 1 ListIndex.
    int GetIndex(int which) const { return which == 0 ? imageIndex_ : listIndex_; }
    void SetIndex(int which, int value);
    int ImageIndex() const { return imageIndex_; }
    int ListIndex() const { return listIndex_; }
    // Stores ImageIndex without checks or notification (the animation's current frame).
    void SetImageIndexQuiet(int value) { imageIndex_ = value; }

    // No list, or no image ImageIndex in list ListIndex.
    bool NoImage() const;
    // The owner's Notification: drops a list that is being freed.
    void Notification(TComponent* component, fw::TOperation operation);
    // Whether form text stores ImageList (a list that is not the container's).
    bool ListStored() const;
    // The defined property "Internal".
    void DefineProperties(fw::TFiler& filer);

private:
    TComponent* owner_;
    std::function<void(TObject*)> changed_;
    TKVXChangeLink link_;
    TKVXCustomImageList* list_ = nullptr;
    int imageIndex_ = 0;
    int listIndex_ = 0;
};

}  // namespace kvx::win32
