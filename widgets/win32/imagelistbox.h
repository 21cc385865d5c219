// TKVXCustomImageListBox: an owner-drawn list box whose items show a picture of a suite image list
// beside their text. The picture is the item's position in the list, or the number written after the
// delimiter in the item's text (widgets/imageboxrules.h); with lboCalcHeight every item is as high as its
// picture (and its wrapped text with Multiline). ImagesOnly fills the box with one empty item per picture.
// Transparent over a suite parent that has a background, the items are drawn over that background.
#pragma once

#include <memory>

#include "framework/win32/std_listbox.h"
#include "widgets/imageboxrules.h"
#include "widgets/kvxgraph.h"
#include "widgets/win32/imagelink.h"

namespace kvx::win32 {

class TKVXCustomImageListBox : public fw::TCustomListBox {
public:
    explicit TKVXCustomImageListBox(TComponent* owner);

    TKVXCustomImageList* ImageList() const { return image_.List(); }
    void SetImageList(TKVXCustomImageList* value) { image_.SetList(value); }
    int ListIndex() const { return image_.ListIndex(); }
    // Negative or unchanged values are ignored.
    void SetListIndex(int value) { image_.SetIndex(1, value); }
    int DefaultItem() const { return defaultItem_; }
    void SetDefaultItem(int value);
    TKVXImageBoxOptions Options() const { return options_; }
    void SetOptions(TKVXImageBoxOptions value);
    TKVX3DCaption* Font3D() const { return font3D_.get(); }
    void SetFont3D(TKVX3DCaption* value) { font3D_->Assign(value); }
    TKVXGlyphTextLayout* Layout() const { return layout_.get(); }
    void SetLayout(TKVXGlyphTextLayout* value) { layout_->Assign(value); }
    char Delimiter() const { return delimiter_; }
    void SetDelimiter(char value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool Multiline() const { return multiline_; }
    void SetMultiline(bool value);
    bool ImagesOnly() const { return imagesOnly_; }
    void SetImagesOnly(bool value);

    // Form text: ImageList unless it is one of the container's lists; Items unless ImagesOnly makes them.
    bool ImageListStored() const { return image_.ListStored(); }
    bool ItemsStored() const { return !imagesOnly_; }

    // The picture item Index shows (-1: none), and the part of its text that is drawn.
    int GetImageIndex(int index);
    std::string ItemText(int index);
    // Pictures the image list offers the items: -1 without a usable list.
    int PictureCount();

protected:
    ~TKVXCustomImageListBox() override;
    void Dispatch(fw::TMessage& message) override;
    void Notification(TComponent* component, fw::TOperation operation) override;
    void DefineProperties(fw::TFiler& filer) override;
    void Loaded() override;
    void DrawItem(int index, const TRect& rect, fw::TOwnerDrawState state) override;
    void MeasureItem(int index, int& height) override;
    virtual void ContentChanged(TObject* sender);

private:
    bool Loading() const { return InState(fw::csLoading); }
    // True when the items are drawn over a suite parent's background.
    bool OverParentBackground();
    // Copies the parent's background into Rect (client coordinates) of the canvas.
    void CopyParentBackground(const TRect& rect);
    // The parent's background below the last item (over the whole client area when empty).
    void PaintBelowItems();
    void FillImageItems();
    // The picture's canvas and rectangle inside it.
    fw::TCanvas* PictureCanvas(int picture, TRect& rect);
    void CNDrawItem(fw::TMessage& message);
    // WM_VSCROLL over a parent's background.
    void VScrollOverBackground(fw::TMessage& message);

    TKVXImageLink image_;
    int defaultItem_ = -1;
    TKVXImageBoxOptions options_ = kKVXImageBoxDefaultOptions;
    std::unique_ptr<TKVX3DCaption> font3D_;
    std::unique_ptr<TKVXGlyphTextLayout> layout_;
    char delimiter_ = '|';
    bool transparent_ = false;
    bool multiline_ = false;
    bool imagesOnly_ = false;
    // A scroll over the parent's background is running, and the top item when it began (-1: none).
    bool scrolling_ = false;
    int scrolledFrom_ = -1;
};

class TKVXImageListBox : public TKVXCustomImageListBox {
public:
    using TKVXCustomImageListBox::TKVXCustomImageListBox;
};

}  // namespace kvx::win32
