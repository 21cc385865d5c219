// Graphics objects over GDI: fonts, brushes and pens, the canvas that draws with them, and the
// pictures a canvas draws (bitmaps, icons, and the picture that holds either).
//
// Every tool owns its GDI handle and makes it lazily from its attributes. A canvas selects its tools
// into its DC only when a drawing call needs them, and puts the DC's original objects back before the
// DC is released or replaced, so a foreign DC (WM_DRAWITEM, WM_PAINT, a memory DC) is handed back
// exactly as it came.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/core/bmp.h"
#include "framework/core/event.h"
#include "framework/core/graphics_values.h"
#include "framework/core/object.h"
#include "framework/core/rtti.h"
#include "framework/core/streams.h"
#include "framework/win32/winapi.h"

namespace fw {

class TCanvas;
class TBitmap;
class TFiler;

struct TSize {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const TSize&, const TSize&) = default;
};

// ---- colours --------------------------------------------------------------------------------------

// A plain RGB value: system colours through GetSysColor; clNone and clDefault give black.
TColor ColorToRGB(TColor color);
// Colour identifiers for published colour properties (clRed, clBtnFace, ...; $hex otherwise).
const IdentTable& ColorIdentTable();
// Character set identifiers for Font.Charset (DEFAULT_CHARSET, ANSI_CHARSET, ...).
const IdentTable& CharsetIdentTable();
// The resolution fonts are measured against when they are made: the screen's LOGPIXELSY.
int ScreenLogPixels();

// ---- tools ----------------------------------------------------------------------------------------

// The base of fonts, brushes and pens: OnChange after every change of an attribute or the handle.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

enum class TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = Set<TFontStyle>;
enum class TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = uint8_t;

class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;

    void Assign(TPersistent* source) override;

    // The font, made on first use. Setting a handle takes ownership and reads the attributes from it.
    HFONT Handle();
    void SetHandle(HFONT font);
    bool HandleAllocated() const { return handle_ != nullptr; }

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    // Height in pixels: negative for the character height, positive for the cell height.
    int Height() const { return height_; }
    void SetHeight(int height);
    // Size in points: Size = -Height * 72 / PixelsPerInch, rounded.
    int Size() const;
    void SetSize(int size);
    int PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int ppi);  // keeps Height; Size follows
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch pitch);

private:
    void ReleaseHandle();
    void AttributesChanged();

    HFONT handle_ = nullptr;
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    int pixelsPerInch_ = 96;
    TFontStyles style_;
    TColor color_ = clWindowText;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = TFontPitch::fpDefault;
};

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    ~TBrush() override;

    void Assign(TPersistent* source) override;

    HBRUSH Handle();
    void SetHandle(HBRUSH brush);  // takes ownership
    bool HandleAllocated() const { return handle_ != nullptr; }

    TColor Color() const { return color_; }
    void SetColor(TColor color);  // a colour makes a clear brush solid
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle style);
    // A pattern brush from a bitmap; the bitmap stays the caller's and must outlive the brush's use.
    TBitmap* Bitmap() const { return bitmap_; }
    void SetBitmap(TBitmap* bitmap);

private:
    void ReleaseHandle();
    void AttributesChanged();

    HBRUSH handle_ = nullptr;
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
    TBitmap* bitmap_ = nullptr;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Raster operations of a pen (Rop2 gives the system's R2_ code of each).
enum class TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    ~TPen() override;

    void Assign(TPersistent* source) override;

    HPEN Handle();
    void SetHandle(HPEN pen);  // takes ownership
    bool HandleAllocated() const { return handle_ != nullptr; }

    TColor Color() const { return color_; }
    void SetColor(TColor color);
    int Width() const { return width_; }
    void SetWidth(int width);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle style);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode mode);
    // The R2_ code of Mode.
    int Rop2() const;

private:
    void ReleaseHandle();
    void AttributesChanged();

    HPEN handle_ = nullptr;
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    TPenMode mode_ = TPenMode::pmCopy;
};

// ---- canvas ---------------------------------------------------------------------------------------

// A raster operation for Draw/CopyRect (SRCCOPY, SRCAND, ...).
using TCopyMode = int32_t;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

enum class TFillStyle { fsSurface, fsBorder };

class TGraphic;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // The DC; a canvas without one asks CreateHandle, and raises EInvalidOperation "Canvas does not
    // allow drawing" when that gives none.
    HDC Handle();
    // Uses `dc` (or none). The canvas never releases or deletes a DC: before it lets go of one it
    // selects the DC's original font, brush and pen back into it.
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return dc_ != nullptr; }

    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* font) { font_->Assign(font); }
    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(TBrush* brush) { brush_->Assign(brush); }
    TPen* Pen() const { return pen_.get(); }
    void SetPen(TPen* pen) { pen_->Assign(pen); }

    TPoint PenPos();
    void SetPenPos(const TPoint& pos);
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode mode) { copyMode_ = mode; }

    // Shapes. Rectangles exclude Right and Bottom, as GDI's.
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void Rectangle(int x1, int y1, int x2, int y2);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
    void Ellipse(int x1, int y1, int x2, int y2);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
    void Polygon(std::span<const TPoint> points);
    void Polyline(std::span<const TPoint> points);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void FloodFill(int x, int y, TColor color, TFillStyle style);

    // Images.
    void Draw(int x, int y, TGraphic* graphic);
    void StretchDraw(const TRect& r, TGraphic* graphic);
    void CopyRect(const TRect& dest, TCanvas* source, const TRect& src);
    // Copies `src` of `bitmap` to `dest`, painting the pixels of `color` with the brush instead.
    void BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& src, TColor color);
    void DrawFocusRect(const TRect& r);

    // Text, in Font, on Brush unless the brush is clear.
    void TextOut(int x, int y, const std::string& text);
    void TextRect(const TRect& r, int x, int y, const std::string& text);
    TSize TextExtent(const std::string& text);
    int TextWidth(const std::string& text) { return TextExtent(text).cx; }
    int TextHeight(const std::string& text) { return TextExtent(text).cy; }
    // Extra ETO_ flags for TextOut/TextRect (ETO_RTLREADING...).
    int TextFlags() const { return textFlags_; }
    void SetTextFlags(int flags) { textFlags_ = flags; }

    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);
    TRect ClipRect();

    // Serialises drawing from several threads; counts nest.
    void Lock();
    void Unlock();
    bool TryLock();
    int LockCount() const { return lockCount_; }

    // Forgets the selected tools so the next call selects them again (after someone else drew on the DC).
    void Refresh();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Asked for a DC when the canvas has none; the base gives none.
    virtual void CreateHandle() {}
    virtual void Changing();
    virtual void Changed();

    enum : uint32_t { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
    void RequiredState(uint32_t state);
    // Puts the DC's own objects back and forgets which tools were selected.
    void DeselectHandles();

private:
    void FontChanged(TObject* sender);
    void PenChanged(TObject* sender);
    void BrushChanged(TObject* sender);
    void SelectFont();
    void SelectPen();
    void SelectBrush();

    HDC dc_ = nullptr;
    uint32_t state_ = 0;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TBrush> brush_;
    std::unique_ptr<TPen> pen_;
    HGDIOBJ oldFont_ = nullptr;
    HGDIOBJ oldPen_ = nullptr;
    HGDIOBJ oldBrush_ = nullptr;
    TPoint penPos_;
    TCopyMode copyMode_ = cmSrcCopy;
    int textFlags_ = 0;
    CRITICAL_SECTION lock_;
    int lockCount_ = 0;
};

// ---- pictures -------------------------------------------------------------------------------------

enum class TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = Event<void(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                                  const TRect& R, const std::string& Msg)>;

// An image that can draw itself on a canvas and stream itself as a file image.
class TGraphic : public TPersistent {
public:
    virtual bool Empty() const = 0;
    virtual int Width() = 0;
    virtual int Height() = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual bool Transparent() const { return transparent_; }
    virtual void SetTransparent(bool transparent);
    virtual HPALETTE Palette() { return nullptr; }
    virtual void SetPalette(HPALETTE) {}
    bool Modified() const { return modified_; }
    void SetModified(bool modified);

    // The file image (.bmp, .ico ...). A damaged image raises EInvalidGraphic and leaves the graphic as
    // it was.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);
    // Clipboard data of `format` (CF_BITMAP, CF_DIB ...); the default raises EInvalidGraphic.
    virtual void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette);
    virtual void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette);

    // The form text's "Data": by default the file image as SaveToStream writes it.
    virtual void ReadData(TStream& stream);
    virtual void WriteData(TStream& stream);
    void DefineProperties(TFiler& filer) override;

    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

    // True when `other` holds the same picture (the base compares the streamed images).
    virtual bool Equals(TGraphic* other);

    // Drawing goes through the canvas (TCanvas::Draw / StretchDraw).
    virtual void Draw(TCanvas& canvas, const TRect& r) = 0;

protected:
    virtual void Changed();
    void Progress(TProgressStage stage, uint8_t percent, bool redrawNow, const TRect& r, const std::string& msg);

private:
    bool transparent_ = false;
    bool modified_ = false;
};

// How a graphic class is made by name (picture Data, file formats).
using TGraphicFactory = TGraphic* (*)();
template <class G>
TGraphic* NewGraphic() {
    return new G();
}
struct TGraphicClass {
    std::string name;  // "TBitmap"
    TGraphicFactory create = nullptr;
};
void RegisterGraphicClass(const TGraphicClass& cls);
// Null when no class of that name was registered.
const TGraphicClass* FindGraphicClass(const std::string& name);

enum class TBitmapHandleType { bmDIB, bmDDB };
enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum class TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;

    // Copies another bitmap (null empties); other graphics convert themselves through their AssignTo.
    void Assign(TPersistent* source) override;

    bool Empty() const override;
    int Width() override { return width_; }
    int Height() override { return height_; }
    void SetWidth(int width) override { SetSize(width, height_); }
    void SetHeight(int height) override { SetSize(width_, height); }
    // Keeps the overlapping part of the picture; new pixels are white.
    void SetSize(int width, int height);

    // A memory DC with the bitmap selected into it.
    TCanvas* Canvas();

    // The bitmap, taken out of the canvas's DC so the caller may select it into another (the canvas
    // makes a new DC on its next use).
    HBITMAP Handle();
    // Takes ownership of `bitmap` (a DIB section or a device bitmap).
    void SetHandle(HBITMAP bitmap);
    bool HandleAllocated() const { return handle_ != nullptr; }
    // Gives the bitmap to the caller, who deletes it; this one keeps the picture in a copy of its own.
    HBITMAP ReleaseHandle();
    TBitmapHandleType HandleType() const { return handleType_; }
    void SetHandleType(TBitmapHandleType type);
    TPixelFormat PixelFormat() const { return pixelFormat_; }
    // Converts the picture; palette formats get the bitmap's palette or a standard one.
    void SetPixelFormat(TPixelFormat format);
    bool Monochrome() const;
    void SetMonochrome(bool monochrome);
    HPALETTE Palette() override;
    void SetPalette(HPALETTE palette) override;  // takes ownership
    // Kept for the programs that call them; images stay in memory as they are.
    void Dormant() {}
    void FreeImage() {}

    TColor TransparentColor();
    void SetTransparentColor(TColor color);  // makes the mode tmFixed
    TTransparentMode TransparentMode() const { return transparentMode_; }
    void SetTransparentMode(TTransparentMode mode);
    // A monochrome mask, white where the picture has `color`, black elsewhere; the bitmap owns it.
    HBITMAP MaskHandle();
    // Turns this bitmap into the monochrome mask of `color`.
    void Mask(TColor color);

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // A BMP file image.
    void LoadFromBytes(std::span<const uint8_t> data);
    std::vector<uint8_t> SaveToBytes();
    // RT_BITMAP resources.
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);
    void LoadFromResourceID(HINSTANCE instance, int id);
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) override;

    // "Data" is a 32-bit length and the BMP file image.
    void ReadData(TStream& stream) override;
    void WriteData(TStream& stream) override;

    void Draw(TCanvas& canvas, const TRect& r) override;

    // The whole picture as the portable codec's image (pixels always filled; palette and indices for
    // 1/4/8-bit formats).
    BmpImage ToImage();
    void FromImage(const BmpImage& image);

private:
    friend class TBitmapCanvas;
    void Changed() override;
    void FreeContext();
    void DestroyImage();
    void Adopt(HBITMAP bitmap, HPALETTE palette, bool keepPalette);
    void ReadImageInfo();
    HDC CanvasDC();

    HBITMAP handle_ = nullptr;
    HPALETTE palette_ = nullptr;
    HBITMAP mask_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    TBitmapHandleType handleType_ = TBitmapHandleType::bmDDB;
    bool rawBits_ = false;  // a bottom-up DIB section made here, whose bits are read directly
    TPixelFormat pixelFormat_ = TPixelFormat::pfDevice;
    TColor transparentColor_ = clDefault;
    TTransparentMode transparentMode_ = TTransparentMode::tmAuto;
    std::unique_ptr<TCanvas> canvas_;
};

class TIcon : public TGraphic {
public:
    TIcon() = default;
    ~TIcon() override;

    void Assign(TPersistent* source) override;

    bool Empty() const override;
    int Width() override;
    int Height() override;
    // An icon's size comes from its image; setting it raises EInvalidGraphicOperation.
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    bool Transparent() const override { return true; }

    HICON Handle();
    // Takes ownership of `icon`.
    void SetHandle(HICON icon);
    HICON ReleaseHandle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // True for an image read from a .cur file (its hot spot is kept).
    bool IsCursor() const { return cursor_; }

    // ICO and CUR files; the picture shown is the entry closest to the system icon size at the
    // deepest colour. Saving writes the image that was read, or one built from the handle.
    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    void LoadFromBytes(std::span<const uint8_t> data);
    std::vector<uint8_t> SaveToBytes();
    void LoadFromResourceName(HINSTANCE instance, const std::string& name);
    void LoadFromResourceID(HINSTANCE instance, int id);

    void Draw(TCanvas& canvas, const TRect& r) override;

private:
    void Clear();

    HICON handle_ = nullptr;
    std::vector<uint8_t> image_;  // the file image read, if any
    int width_ = 0;
    int height_ = 0;
    bool cursor_ = false;
};

class TPicture : public TPersistent {
public:
    TPicture() = default;
    ~TPicture() override;

    void Assign(TPersistent* source) override;

    TGraphic* Graphic() const { return graphic_.get(); }
    // Holds a copy of `graphic` (null empties the picture).
    void SetGraphic(TGraphic* graphic);
    // The graphic as a bitmap or icon; a picture holding something else is emptied into a new one.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* bitmap) { SetGraphic(bitmap); }
    TIcon* Icon();
    void SetIcon(TIcon* icon) { SetGraphic(icon); }
    int Width() const;
    int Height() const;

    // The format comes from the extension; an unknown one raises EInvalidGraphic
    // "Unknown picture file extension (.xyz)".
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);

    // "Data": the graphic's class name (a length byte and the name) followed by its WriteData.
    void DefineProperties(TFiler& filer) override;
    void ReadData(TStream& stream);
    void WriteData(TStream& stream);

    static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                   const TGraphicClass& cls);
    static void UnregisterGraphicClass(const std::string& className);
    static void RegisterClipboardFormat(UINT format, const TGraphicClass& cls);
    static bool SupportsClipboardFormat(UINT format);
    // "All (*.bmp;*.ico)|*.bmp;*.ico|Bitmaps (*.bmp)|*.bmp|..." for open dialogs.
    static std::string GraphicFilter();
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette);

    TNotifyEvent OnChange;
    TProgressEvent OnProgress;

private:
    void Changed(TObject* sender);
    void ProgressRelay(TObject* sender, TProgressStage stage, uint8_t percent, bool redrawNow, const TRect& r,
                       const std::string& msg);
    void Take(TGraphic* graphic);
    struct GraphicDeleter {
        void operator()(TGraphic* g) const;
    };
    std::unique_ptr<TGraphic, GraphicDeleter> graphic_;
};

// Registers the graphics classes (TFont, TBrush, TPen, TPicture ... with their published properties
// and enumerations) and the picture formats bmp, ico and cur. Calling it again is harmless.
void RegisterGraphicsClasses();

}  // namespace fw
