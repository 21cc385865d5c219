// TKVXContainer: a container of the four kinds of lists, and the application-wide instance
// KVXContainer whose bitmap list and image list forms refer to by the fixed identifiers "KVXBML30" and
// "KVXIML30" (stored under the property name "Internal" instead of a component name).
#pragma once

#include <string>

#include "widgets/kvxlists.h"
#include "widgets/win32/bitmaplist.h"
#include "widgets/win32/kvximagelist.h"

namespace kvx::win32 {

class TKVXContainer : public TKVXBaseContainer {
public:
    explicit TKVXContainer(TComponent* owner);

    TKVXBitmapList* BitmapList() const { return bitmapList_; }
    TKVXImageList* ImageList() const { return imageList_; }
    TKVXWaveList* WaveList() const { return waveList_; }
    TKVXStringList* StringList() const { return stringList_; }

protected:
    // Detaches the lists' notifications before they go.
    void BeforeDestruction() override;

private:
    TKVXBitmapList* bitmapList_;
    TKVXImageList* imageList_;
    TKVXWaveList* waveList_;
    TKVXStringList* stringList_;
};

// The application-wide container (null before KVXCreateContainer and after KVXDestroyContainer; the
// Win32 start-up makes and frees it).
extern TKVXContainer* KVXContainer;
TKVXContainer* KVXCreateContainer();
void KVXDestroyContainer();

constexpr const char* kBitmapListId = "KVXBML30";
constexpr const char* kImageListId = "KVXIML30";

// "KVXBML30" or "KVXIML30" for KVXContainer's bitmap and image lists; "" for any other list.
std::string KVXContainerListId(const TKVXCustomImageList* list);
// The list behind an identifier; null for any other text.
TKVXCustomImageList* KVXContainerListById(const std::string& text);
// False for null; true for one of KVXContainer's two picture lists.
bool KVXIsContainerList(const TKVXCustomImageList* list);

}  // namespace kvx::win32
