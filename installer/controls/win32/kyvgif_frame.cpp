// TGIFFrame: decoding on demand, encoding from a bitmap, copying and drawing.
#include "framework/core/exceptions.h"
#include "installer/controls/gif_texts.h"
#include "installer/controls/win32/kyvgif.h"
#include "installer/controls/win32/kyvgraph.h"
#include "installer/controls/win32/kyvguiutils.h"

namespace inst {

namespace {

constexpr fw::TColor kFillColor = 0xFF00FF;  // behind a graphic that a bitmap cannot take directly

fw::TColor NearestColor(fw::TColor color) {
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetNearestColor(screen, static_cast<COLORREF>(fw::ColorToRGB(color)));
    ReleaseDC(nullptr, screen);
    return static_cast<fw::TColor>(c);
}

}  // namespace

TGIFFrame::TGIFFrame(TGIFImage* owner) : owner_(owner) {}

TGIFFrame::~TGIFFrame() = default;

void TGIFFrame::Reset() {
    model_ = GifFrame{};
}

void TGIFFrame::SetOrigin(int left, int top) {
    model_.left = left & 0xFFFF;
    model_.top = top & 0xFFFF;
    if (owner_) owner_->RecomputeScreen();
}

fw::TBitmap* TGIFFrame::Bitmap() {
    if (!HasBitmap()) {
        if (HasData())
            Decode();
        else if (!bitmap_)
            bitmap_ = std::make_unique<fw::TBitmap>();
    }
    return bitmap_.get();
}

int TGIFFrame::Width() {
    if (HasBitmap()) return bitmap_->Width();
    return HasData() ? model_.data->width : 0;
}

int TGIFFrame::Height() {
    if (HasBitmap()) return bitmap_->Height();
    return HasData() ? model_.data->height : 0;
}

void TGIFFrame::Decode() {
    owner_->FrameProgress(fw::TProgressStage::psStarting, 0, "");
    try {
        const GifDecodedFrame decoded = DecodeGifFrame(
            model_, GIFTolerant, [this](int p) { owner_->FrameProgress(fw::TProgressStage::psRunning, p, ""); });
        auto bitmap = std::make_unique<fw::TBitmap>();
        bitmap->LoadFromBytes(GifFrameBitmapFile(model_, decoded));
        // A device bitmap in the screen's colours (a 1-bit frame of two colours must not become a
        // monochrome one).
        if (!bitmap->Monochrome()) bitmap->SetPixelFormat(fw::TPixelFormat::pfDevice);
        model_.corrupted = decoded.corrupted;
        bitmap_ = std::move(bitmap);
    } catch (const fw::Exception& e) {
        owner_->FrameProgress(fw::TProgressStage::psEnding, 0, e.Message());
        throw;
    }
    owner_->FrameProgress(fw::TProgressStage::psEnding, 100, "");
}

void TGIFFrame::Encode() {
    if (HasData()) return;
    if (!bitmap_ || bitmap_->Empty()) throw fw::EInvalidGraphicOperation(kGifNoData);
    fw::BmpImage image;
    const fw::TPixelFormat format = bitmap_->PixelFormat();
    if (format == fw::TPixelFormat::pf1bit || format == fw::TPixelFormat::pf4bit || format == fw::TPixelFormat::pf8bit) {
        image = bitmap_->ToImage();
    } else {
        const TReductionMethod method = model_.grayscale ? TReductionMethod::rmGrayscale : DefaultMappingMethod;
        const std::unique_ptr<fw::TMemoryStream> file = ConvertBitmapToDIB(bitmap_.get(), fw::TPixelFormat::pf8bit, method);
        const std::span<const uint8_t> bytes(file->Memory(), static_cast<size_t>(file->Size()));
        if (!fw::DecodeBmp(bytes, image)) throw fw::EInvalidGraphicOperation(kGifEncodingError);
    }
    if ((image.bitsPerPixel != 1 && image.bitsPerPixel != 4 && image.bitsPerPixel != 8) || image.palette.size() > 256)
        throw fw::EInvalidGraphicOperation(kGifEncodingError);
    owner_->FrameProgress(fw::TProgressStage::psStarting, 0, "");
    std::shared_ptr<GifFrameData> data;
    try {
        data = EncodeGifFrame(image.width, image.height, image.palette, image.indices,
                              [this](int p) { owner_->FrameProgress(fw::TProgressStage::psRunning, p, ""); });
    } catch (const fw::Exception& e) {
        // An abort from the progress handler leaves the frame without data, as before.
        owner_->FrameProgress(fw::TProgressStage::psEnding, 0, e.Message());
        throw;
    }
    owner_->FrameProgress(fw::TProgressStage::psEnding, 100, "");
    model_.interlaced = false;
    GifScreen& screen = owner_->MutableScreen();
    if (screen.globalTable.count == 0) {
        screen.globalTable = data->table;
        screen.tableExponent = data->bitsPerPixel;
        screen.colorResolution = data->bitsPerPixel;
        model_.hasLocalTable = false;
    } else {
        model_.hasLocalTable = true;
    }
    model_.data = std::move(data);
    owner_->RecomputeScreen();
}

void TGIFFrame::Assign(fw::TPersistent* source) {
    if (!source) {
        Reset();
        bitmap_.reset();
        return;
    }
    if (auto* f = dynamic_cast<TGIFFrame*>(source)) {
        if (f == this) return;
        const bool ownTable = f->model_.hasLocalTable || f->owner_ != owner_;
        model_ = f->model_;  // shares the encoded data
        model_.hasLocalTable = ownTable;
        if (f->bitmap_) {
            bitmap_ = std::make_unique<fw::TBitmap>();
            bitmap_->Assign(f->bitmap_.get());
        }
        return;
    }
    if (auto* image = dynamic_cast<TGIFImage*>(source)) {
        if (image->FrameCount() == 0) return;
        Assign(image->Frame(image->ActiveFrame() < 0 ? 0 : image->ActiveFrame()));
        return;
    }
    if (auto* graphic = dynamic_cast<fw::TGraphic*>(source)) {
        Reset();
        if (graphic->Empty()) {
            bitmap_.reset();
            return;
        }
        bitmap_ = std::make_unique<fw::TBitmap>();
        auto* sourceBitmap = dynamic_cast<fw::TBitmap*>(graphic);
        try {
            bitmap_->Assign(graphic);
        } catch (const fw::Exception&) {
            // A graphic that cannot become a bitmap is drawn on one.
            bitmap_->SetSize(graphic->Width(), graphic->Height());
            bitmap_->Canvas()->Brush()->SetColor(kFillColor);
            bitmap_->Canvas()->FillRect(fw::TRect{0, 0, graphic->Width(), graphic->Height()});
            bitmap_->Canvas()->Draw(0, 0, graphic);
        }
        if (sourceBitmap) bitmap_->SetMonochrome(sourceBitmap->Monochrome());
        if (graphic->Transparent())
            model_.transparentColor =
                sourceBitmap ? sourceBitmap->TransparentColor() : NearestColor(bitmap_->Canvas()->Brush()->Color());
        if (owner_) owner_->RecomputeScreen();
        return;
    }
    fw::TPersistent::Assign(source);
}

void TGIFFrame::AssignTo(fw::TPersistent* dest) {
    if (dynamic_cast<TGIFFrame*>(dest) || dynamic_cast<TGIFImage*>(dest)) {
        dest->Assign(this);
        return;
    }
    if (auto* graphic = dynamic_cast<fw::TGraphic*>(dest)) {
        graphic->Assign(Bitmap());
        if (auto* b = dynamic_cast<fw::TBitmap*>(graphic); b && model_.transparentColor != fw::clNone) {
            b->SetTransparentColor(NearestColor(model_.transparentColor));
            b->SetTransparent(true);
        }
        return;
    }
    fw::TPersistent::AssignTo(dest);
}

void TGIFFrame::Draw(fw::TCanvas& canvas, const fw::TRect& r) {
    fw::TBitmap* bitmap = Bitmap();
    if (bitmap->Empty()) return;
    if (model_.transparentColor != fw::clNone && owner_ && owner_->fw::TGraphic::Transparent()) {
        DrawBitmapTransparent(&canvas, bitmap, model_.transparentColor, r.Left, r.Top, r.Width(), r.Height(), 0, 0, 0, 0);
    } else {
        canvas.StretchDraw(r, bitmap);
    }
}

}  // namespace inst
