// TGIFImage: a graphic of the framework that reads and writes GIF files with any number of frames.
// A frame keeps its LZW data as read and is decoded into a bitmap on first use; a frame made from a
// bitmap is encoded when the image is written.
//
//   inst::RegisterGifImage();                // "gif" files and the "GIF Image" clipboard format
//   fw::TPicture picture;
//   picture.LoadFromFile("logo.gif");        // a TGIFImage showing frame 0
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/win32/graphics.h"
#include "installer/controls/gif_stream.h"

namespace inst {

class TGIFImage;

// Damaged frame data is accepted as far as it goes (the frame marked corrupted) instead of raising.
extern bool GIFTolerant;

// One frame: its encoded data (shared between copies), its extensions, and its bitmap once decoded.
class TGIFFrame : public fw::TPersistent {
public:
    explicit TGIFFrame(TGIFImage* owner);
    ~TGIFFrame() override;

    void Assign(fw::TPersistent* source) override;

    TGIFImage* Owner() const { return owner_; }
    // The picture: the bitmap when there is one, else the data decoded now.
    fw::TBitmap* Bitmap();
    bool HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }
    bool HasData() const { return model_.data && !model_.data->stream.empty(); }
    // The bitmap's size; 0 without bitmap and data.
    int Width();
    int Height();

    int Left() const { return model_.left; }
    int Top() const { return model_.top; }
    void SetOrigin(int left, int top);
    bool Interlaced() const { return model_.interlaced; }
    bool Corrupted() const { return model_.corrupted; }
    bool Grayscale() const { return model_.grayscale; }
    void SetGrayscale(bool grayscale) { model_.grayscale = grayscale; }
    fw::TColor TransparentColor() const { return model_.transparentColor; }
    void SetTransparentColor(fw::TColor color) { model_.transparentColor = color; }
    int FrameDelay() const { return model_.frameDelay; }  // milliseconds
    void SetFrameDelay(int ms) { model_.frameDelay = ms & 0xFFFF; }
    int Disposal() const { return model_.disposal; }
    void SetDisposal(int disposal) { model_.disposal = disposal & 7; }
    bool HasLocalTable() const { return model_.hasLocalTable; }
    const std::vector<GifExtension>& Extensions() const { return model_.extensions; }
    const GifFrame& Model() const { return model_; }

    // Stretched into `r`: leaving out the transparent colour when the owner is transparent.
    void Draw(fw::TCanvas& canvas, const fw::TRect& r);

protected:
    void AssignTo(fw::TPersistent* dest) override;

private:
    friend class TGIFImage;
    void Reset();
    void Decode();
    // Makes the data from the bitmap (when the frame has none).
    void Encode();

    TGIFImage* owner_;
    GifFrame model_;
    std::unique_ptr<fw::TBitmap> bitmap_;
};

class TGIFImage : public fw::TGraphic {
public:
    TGIFImage();
    ~TGIFImage() override;

    void Assign(fw::TPersistent* source) override;
    bool Equals(fw::TGraphic* other) override;

    bool Empty() const override;
    int Width() override;
    int Height() override;
    // A GIF image's size is its frames': both raise EInvalidGraphicOperation.
    void SetWidth(int width) override;
    void SetHeight(int height) override;
    bool Transparent() const override;
    HPALETTE Palette() override;

    // Reads from the position to the end and decodes frame 0.
    void LoadFromStream(fw::TStream& stream) override;
    void SaveToStream(fw::TStream& stream) override;
    // "Data": a 32-bit length, then the GIF file.
    void ReadData(fw::TStream& stream) override;
    void WriteData(fw::TStream& stream) override;
    // Frame 0's bitmap (CF_DIB), and the whole GIF in the "GIF Image" format when every frame has its
    // data: that second format survives only while the caller holds the clipboard open around the
    // assignment (CopyGifToClipboard does).
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) override;

    void Draw(fw::TCanvas& canvas, const fw::TRect& r) override;

    // Appends a frame made from `graphic` and makes it active; returns its index.
    virtual int AddFrame(fw::TGraphic* graphic);

    int FrameCount() const { return static_cast<int>(frames_.size()); }
    TGIFFrame* Frame(int index) const;
    int ActiveFrame() const { return activeFrame_; }
    void SetActiveFrame(int index);
    // 0 none, 1 "87a", 2 "89a".
    int GifVersion() const { return header_.version; }
    int ScreenWidth() const { return header_.screenWidth; }
    int ScreenHeight() const { return header_.screenHeight; }
    fw::TColor BackgroundColor() const { return header_.backgroundColor; }
    void SetBackgroundColor(fw::TColor color);
    bool LoopEnabled() const { return header_.loopEnabled; }
    void SetLoopEnabled(bool enabled);
    int LoopCount() const { return header_.loopCount; }
    void SetLoopCount(int count);
    const std::vector<std::string>& Comment() const { return header_.screen->comment; }
    void SetComment(const std::vector<std::string>& lines);
    const GifScreen& Screen() const { return *header_.screen; }

protected:
    // Another GIF image assigns from this one; an empty image clears the destination; otherwise the
    // active frame (or the first frame's bitmap) is assigned.
    void AssignTo(fw::TPersistent* dest) override;

private:
    friend class TGIFFrame;
    void Reset();
    void Load(std::span<const uint8_t> data, bool decode);
    std::vector<uint8_t> Save();
    void RecomputeScreen();
    // The shared screen data, copied first when another image shares it.
    GifScreen& MutableScreen();
    void FrameProgress(fw::TProgressStage stage, int percent, const std::string& message);
    void ChangedNow() { Changed(); }

    GifFile header_;  // everything but the frames, which live in frames_
    std::vector<std::unique_ptr<TGIFFrame>> frames_;
    int activeFrame_ = -1;
};

// The clipboard format "GIF Image" (registered on first use).
UINT GifClipboardFormat();
// Puts frame 0's bitmap and the whole GIF on the clipboard as one change.
void CopyGifToClipboard(TGIFImage* image);

// Registers the classes TGIFFrame and TGIFImage, the file format "gif" ("CompuServe GIF Image") and
// the "GIF Image" clipboard format with the picture class. Calling it again is harmless.
void RegisterGifImage();
void UnregisterGifImage();

}  // namespace inst
