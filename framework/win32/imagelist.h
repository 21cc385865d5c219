// Image lists: a row of same-sized images with masks over a common-controls HIMAGELIST, drawn by index
// into a canvas and handed to list views, tree views and toolbars by handle.
//
// The handle is made on first use. A handle made here is destroyed with the object (or when Width or
// Height change); a foreign handle given through SetHandle is destroyed only while ShareImages is off,
// so a shared list (the shell's system icon lists) outlives every object that shows it.
#pragma once

#include "framework/core/event.h"
#include "framework/core/graphics_values.h"
#include "framework/core/object.h"
#include "framework/win32/winapi.h"

namespace fw {

class TBitmap;
class TCanvas;
class TIcon;

// How Draw paints an image.
enum class TImageDrawStyle {
    dsNormal,       // with the list's background colour under the masked parts (none: transparent)
    dsTransparent,  // through the mask, whatever the background colour
    dsMask,         // the mask alone: black where the image is, white where it is transparent
    dsBlend50,      // through the mask, blended half and half with BlendColor
    dsSelected,     // through the mask, blended with the selection colour (clHighlight)
};
constexpr TImageDrawStyle dsNormal = TImageDrawStyle::dsNormal;
constexpr TImageDrawStyle dsTransparent = TImageDrawStyle::dsTransparent;
constexpr TImageDrawStyle dsMask = TImageDrawStyle::dsMask;
constexpr TImageDrawStyle dsBlend50 = TImageDrawStyle::dsBlend50;
constexpr TImageDrawStyle dsSelected = TImageDrawStyle::dsSelected;

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* owner);

    // The image size. Changing it on a list with a handle starts a new, empty list.
    int Width() const { return width_; }
    void SetWidth(int value);
    int Height() const { return height_; }
    void SetHeight(int value);
    // How many slots the list grows by; used for the next handle made here.
    int AllocBy() const { return allocBy_; }
    void SetAllocBy(int value);
    // Whether images keep a mask (read when the handle is made).
    bool Masked() const { return masked_; }
    void SetMasked(bool value);
    // A foreign handle is left alone when the object lets go of it.
    bool ShareImages() const { return shareImages_; }
    void SetShareImages(bool value) { shareImages_ = value; }
    // Painted under the masked parts by dsNormal; clNone draws them transparent.
    TColor BkColor() const { return bkColor_; }
    void SetBkColor(TColor value);
    // The colour dsBlend50 mixes in; clNone and clDefault mean the selection colour.
    TColor BlendColor() const { return blendColor_; }
    void SetBlendColor(TColor value) { blendColor_ = value; }

    // The list, made on first use.
    HIMAGELIST Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // Shows `value` (or none) from now on. The previous handle goes as described above; Width and Height
    // follow the new list.
    void SetHandle(HIMAGELIST value);
    // Gives the handle to the caller, who then destroys it; the object is left without one.
    HIMAGELIST ReleaseHandle();

    int Count() const;

    // Appends the images of `image` (one per Width pixels across) with `mask` (null: none; white is
    // transparent). Returns the index of the first; raises EInvalidOperation when the list refuses them.
    int Add(TBitmap* image, TBitmap* mask);
    // Appends the images of `image`, transparent where it has `maskColor` (clDefault: the bitmap's
    // TransparentColor). The caller's bitmap is not changed.
    int AddMasked(TBitmap* image, TColor maskColor);
    int AddIcon(TIcon* icon);
    // Replace the image at `index`; an index out of range raises EInvalidOperation.
    void Replace(int index, TBitmap* image, TBitmap* mask);
    void ReplaceMasked(int index, TBitmap* image, TColor maskColor);
    void ReplaceIcon(int index, TIcon* icon);
    void Delete(int index);
    void Clear();

    // Paints image `index` with its top-left corner at (x, y); an index out of range paints nothing.
    void Draw(TCanvas* canvas, int x, int y, int index, TImageDrawStyle style = dsNormal);

    TNotifyEvent OnChange;

protected:
    ~TCustomImageList() override;
    virtual void Change();

private:
    void FreeHandle();
    void Recreate();
    void CheckIndex(int index, const char* what) const;
    void DrawMask(HDC dc, int x, int y, int index);

    HIMAGELIST handle_ = nullptr;
    bool ownHandle_ = false;  // made here: destroyed whatever ShareImages says
    int width_ = 16;
    int height_ = 16;
    int allocBy_ = 4;
    bool masked_ = true;
    bool shareImages_ = false;
    TColor bkColor_ = clNone;
    TColor blendColor_ = clNone;
};

// The class forms publish.
class TImageList : public TCustomImageList {
public:
    explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}

protected:
    ~TImageList() override = default;
};

// Registers TCustomImageList and TImageList with their published properties for form text, after
// fw_core's classes. Calling it again is harmless.
void RegisterImageListClasses();

}  // namespace fw
