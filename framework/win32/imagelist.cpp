#include "framework/win32/imagelist.h"

#include <string>

#include "framework/core/exceptions.h"
#include "framework/core/rtti.h"
#include "framework/win32/graphics.h"

namespace fw {

namespace {

COLORREF ToColorRef(TColor color) { return static_cast<COLORREF>(ColorToRGB(color)); }

// A monochrome bitmap that deletes itself.
class MonoBitmap {
public:
    MonoBitmap(int width, int height) : bitmap_(CreateBitmap(width, height, 1, 1, nullptr)) {
        if (!bitmap_) throw EOutOfResources("Out of system resources");
    }
    ~MonoBitmap() { DeleteObject(bitmap_); }
    MonoBitmap(const MonoBitmap&) = delete;
    MonoBitmap& operator=(const MonoBitmap&) = delete;
    HBITMAP Get() const { return bitmap_; }

private:
    HBITMAP bitmap_;
};

// Turns `image` (a private copy) into what the list expects for a masked image: `mask` becomes white
// where `image` has `color` and black elsewhere, and those pixels of `image` become black, because the
// list paints transparently by AND-ing the mask and OR-ing the image.
void SplitMask(TBitmap& image, TColor color, const MonoBitmap& mask) {
    const int width = image.Width();
    const int height = image.Height();
    HDC imageDC = image.Canvas()->Handle();
    HDC maskDC = CreateCompatibleDC(nullptr);
    if (!maskDC) throw EOutOfResources("Out of system resources");
    HGDIOBJ old = SelectObject(maskDC, mask.Get());
    // Colour to monochrome: pixels of the background colour give 1 (white).
    SetBkColor(imageDC, ToColorRef(color));
    BitBlt(maskDC, 0, 0, width, height, imageDC, 0, 0, SRCCOPY);
    // Monochrome to colour: 1 gives the background colour (white), 0 the text colour (black); DSna
    // (destination AND NOT source) then clears the image under the white mask.
    constexpr DWORD kDSna = 0x00220326;
    SetBkColor(imageDC, RGB(255, 255, 255));
    SetTextColor(imageDC, RGB(0, 0, 0));
    BitBlt(imageDC, 0, 0, width, height, maskDC, 0, 0, kDSna);
    SelectObject(maskDC, old);
    DeleteDC(maskDC);
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* owner) : TComponent(owner) {}

TCustomImageList::~TCustomImageList() { FreeHandle(); }

void TCustomImageList::SetWidth(int value) {
    if (value == width_) return;
    if (value <= 0) throw EInvalidOperation("Invalid image size");
    width_ = value;
    Recreate();
}

void TCustomImageList::SetHeight(int value) {
    if (value == height_) return;
    if (value <= 0) throw EInvalidOperation("Invalid image size");
    height_ = value;
    Recreate();
}

void TCustomImageList::SetAllocBy(int value) { allocBy_ = value < 1 ? 1 : value; }

void TCustomImageList::SetMasked(bool value) {
    if (value == masked_) return;
    masked_ = value;
    Recreate();
}

void TCustomImageList::SetBkColor(TColor value) {
    bkColor_ = value;
    if (handle_) ImageList_SetBkColor(handle_, value == clNone ? CLR_NONE : ToColorRef(value));
    Change();
}

HIMAGELIST TCustomImageList::Handle() {
    if (!handle_) {
        const UINT flags = ILC_COLOR24 | (masked_ ? ILC_MASK : 0);
        handle_ = ImageList_Create(width_, height_, flags, allocBy_, allocBy_);
        if (!handle_) throw EOutOfResources("Failed to create image list");
        ownHandle_ = true;
        ImageList_SetBkColor(handle_, bkColor_ == clNone ? CLR_NONE : ToColorRef(bkColor_));
    }
    return handle_;
}

void TCustomImageList::SetHandle(HIMAGELIST value) {
    if (value == handle_) return;
    FreeHandle();
    handle_ = value;
    ownHandle_ = false;
    if (value) {
        int cx = 0, cy = 0;
        if (ImageList_GetIconSize(value, &cx, &cy) && cx > 0 && cy > 0) {
            width_ = cx;
            height_ = cy;
        }
    }
    Change();
}

HIMAGELIST TCustomImageList::ReleaseHandle() {
    HIMAGELIST given = handle_;
    handle_ = nullptr;
    ownHandle_ = false;
    return given;
}

void TCustomImageList::FreeHandle() {
    if (handle_ && (ownHandle_ || !shareImages_)) ImageList_Destroy(handle_);
    handle_ = nullptr;
    ownHandle_ = false;
}

void TCustomImageList::Recreate() {
    if (handle_) {
        FreeHandle();
        Handle();
    }
    Change();
}

int TCustomImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

void TCustomImageList::CheckIndex(int index, const char* what) const {
    if (index < 0 || index >= Count())
        throw EInvalidOperation(std::string("Cannot ") + what + " image " + std::to_string(index) + ": the list holds " +
                                std::to_string(Count()));
}

void TCustomImageList::Change() {
    if (OnChange) OnChange(this);
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
    if (!image || image->Empty()) throw EInvalidOperation("Cannot add an empty image to the list");
    HIMAGELIST list = Handle();
    const int index = ImageList_Add(list, image->Handle(), mask ? mask->Handle() : nullptr);
    if (index < 0) throw EInvalidOperation("The image list refused the image");
    Change();
    return index;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor) {
    if (!image || image->Empty()) throw EInvalidOperation("Cannot add an empty image to the list");
    // A list without masks shows the picture as it is.
    if (!masked_) return Add(image, nullptr);
    TBitmap copy;
    copy.Assign(image);
    MonoBitmap mask(copy.Width(), copy.Height());
    SplitMask(copy, maskColor == clDefault ? image->TransparentColor() : maskColor, mask);
    const int index = ImageList_Add(Handle(), copy.Handle(), mask.Get());
    if (index < 0) throw EInvalidOperation("The image list refused the image");
    Change();
    return index;
}

int TCustomImageList::AddIcon(TIcon* icon) {
    if (!icon || icon->Empty()) throw EInvalidOperation("Cannot add an empty icon to the list");
    const int index = ImageList_ReplaceIcon(Handle(), -1, icon->Handle());
    if (index < 0) throw EInvalidOperation("The image list refused the icon");
    Change();
    return index;
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
    CheckIndex(index, "replace");
    if (!image || image->Empty()) throw EInvalidOperation("Cannot put an empty image in the list");
    if (!ImageList_Replace(handle_, index, image->Handle(), mask ? mask->Handle() : nullptr))
        throw EInvalidOperation("The image list refused the image");
    Change();
}

void TCustomImageList::ReplaceMasked(int index, TBitmap* image, TColor maskColor) {
    CheckIndex(index, "replace");
    if (!image || image->Empty()) throw EInvalidOperation("Cannot put an empty image in the list");
    if (!masked_) return Replace(index, image, nullptr);
    TBitmap copy;
    copy.Assign(image);
    MonoBitmap mask(copy.Width(), copy.Height());
    SplitMask(copy, maskColor == clDefault ? image->TransparentColor() : maskColor, mask);
    if (!ImageList_Replace(handle_, index, copy.Handle(), mask.Get()))
        throw EInvalidOperation("The image list refused the image");
    Change();
}

void TCustomImageList::ReplaceIcon(int index, TIcon* icon) {
    CheckIndex(index, "replace");
    if (!icon || icon->Empty()) throw EInvalidOperation("Cannot put an empty icon in the list");
    if (ImageList_ReplaceIcon(handle_, index, icon->Handle()) < 0)
        throw EInvalidOperation("The image list refused the icon");
    Change();
}

void TCustomImageList::Delete(int index) {
    CheckIndex(index, "delete");
    ImageList_Remove(handle_, index);
    Change();
}

void TCustomImageList::Clear() {
    if (handle_) ImageList_Remove(handle_, -1);
    Change();
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, TImageDrawStyle style) {
    if (!canvas || index < 0 || index >= Count()) return;
    COLORREF background = CLR_NONE;
    COLORREF foreground = CLR_NONE;
    UINT flags = ILD_NORMAL;
    switch (style) {
        case TImageDrawStyle::dsNormal:
            if (bkColor_ != clNone) background = ToColorRef(bkColor_);
            break;
        case TImageDrawStyle::dsTransparent:
            flags = ILD_TRANSPARENT;
            break;
        case TImageDrawStyle::dsMask:
            DrawMask(canvas->Handle(), x, y, index);
            return;
        case TImageDrawStyle::dsBlend50:
            flags = ILD_TRANSPARENT | ILD_BLEND50;
            foreground =
                blendColor_ == clNone || blendColor_ == clDefault ? ToColorRef(clHighlight) : ToColorRef(blendColor_);
            break;
        case TImageDrawStyle::dsSelected:
            flags = ILD_TRANSPARENT | ILD_SELECTED;
            foreground = ToColorRef(clHighlight);
            break;
    }
    ImageList_DrawEx(handle_, index, canvas->Handle(), x, y, 0, 0, background, foreground, flags);
}

void TCustomImageList::DrawMask(HDC dc, int x, int y, int index) {
    // Lists differ in how ILD_MASK lands on the destination (copied or AND-ed), so the mask is drawn on
    // white first and the result copied: black where the image is, white where it is transparent.
    HDC memDC = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, width_, height_);
    if (!memDC || !bitmap) {
        if (bitmap) DeleteObject(bitmap);
        if (memDC) DeleteDC(memDC);
        throw EOutOfResources("Out of system resources");
    }
    HGDIOBJ old = SelectObject(memDC, bitmap);
    PatBlt(memDC, 0, 0, width_, height_, WHITENESS);
    ImageList_DrawEx(handle_, index, memDC, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_MASK);
    BitBlt(dc, x, y, width_, height_, memDC, 0, 0, SRCCOPY);
    SelectObject(memDC, old);
    DeleteObject(bitmap);
    DeleteDC(memDC);
}

void RegisterImageListClasses() {
    RegisterClasses();  // TComponent first; harmless when done already
    Class<TCustomImageList, TComponent>("TCustomImageList")
        .Prop("AllocBy", &TCustomImageList::AllocBy, &TCustomImageList::SetAllocBy)
        .Prop("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor)
        .Idents(ColorIdentTable())
        .Prop("BlendColor", &TCustomImageList::BlendColor, &TCustomImageList::SetBlendColor)
        .Idents(ColorIdentTable())
        .Prop("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight)
        .Prop("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked)
        .Prop("ShareImages", &TCustomImageList::ShareImages, &TCustomImageList::SetShareImages)
        .Prop("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth)
        .Event("OnChange", &TCustomImageList::OnChange);
    Class<TImageList, TCustomImageList>("TImageList");
}

}  // namespace fw
