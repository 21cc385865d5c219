// TGIFImage: loading and saving, copying, the clipboard, and registration with the picture class.
#include "installer/controls/win32/kyvgif.h"

#include <algorithm>
#include <cstring>

#include "framework/core/exceptions.h"
#include "framework/core/rtti.h"
#include "framework/win32/clipboard.h"
#include "installer/controls/gif_texts.h"
#include "installer/controls/le_bytes.h"
#include "installer/controls/win32/anifile.h"

namespace inst {

bool GIFTolerant = true;

namespace {

std::vector<uint8_t> ReadRest(fw::TStream& stream, int64_t count) {
    const int64_t available = stream.Size() - stream.Position();
    count = std::clamp<int64_t>(count, 0, std::max<int64_t>(available, 0));
    std::vector<uint8_t> data(static_cast<size_t>(count));
    if (count > 0) stream.ReadBuffer(data.data(), count);
    return data;
}

// The bytes of a global memory block.
std::vector<uint8_t> BlockBytes(HANDLE data) {
    std::vector<uint8_t> out;
    if (!data) return out;
    const auto* p = static_cast<const uint8_t*>(GlobalLock(data));
    if (!p) return out;
    out.assign(p, p + GlobalSize(data));
    GlobalUnlock(data);
    return out;
}

}  // namespace

TGIFImage::TGIFImage() {
    Reset();
    SetTransparent(true);
}

TGIFImage::~TGIFImage() {
    OnChange = {};
    frames_.clear();
}

void TGIFImage::Reset() {
    header_ = GifFile{};
    frames_.clear();
    activeFrame_ = -1;
}

GifScreen& TGIFImage::MutableScreen() {
    if (header_.screen.use_count() > 1) header_.screen = std::make_shared<GifScreen>(*header_.screen);
    return *header_.screen;
}

void TGIFImage::RecomputeScreen() {
    int w = 0, h = 0;
    for (const auto& f : frames_) {
        w = std::max(w, f->Left() + f->Width());
        h = std::max(h, f->Top() + f->Height());
    }
    header_.screenWidth = w;
    header_.screenHeight = h;
}

void TGIFImage::FrameProgress(fw::TProgressStage stage, int percent, const std::string& message) {
    Progress(stage, static_cast<uint8_t>(std::clamp(percent, 0, 100)), false, fw::TRect{}, message);
}

TGIFFrame* TGIFImage::Frame(int index) const {
    if (index < 0 || index >= FrameCount()) throw fw::EListError("List index out of bounds (" + std::to_string(index) + ")");
    return frames_[static_cast<size_t>(index)].get();
}

void TGIFImage::SetActiveFrame(int index) {
    if (index < -1 || index >= FrameCount()) throw fw::EListError("List index out of bounds (" + std::to_string(index) + ")");
    if (index == activeFrame_) return;
    activeFrame_ = index;
    Changed();
}

void TGIFImage::SetBackgroundColor(fw::TColor color) {
    header_.backgroundColor = color;
    Changed();
}

void TGIFImage::SetLoopEnabled(bool enabled) {
    header_.loopEnabled = enabled;
    Changed();
}

void TGIFImage::SetLoopCount(int count) {
    header_.loopCount = std::clamp(count, 0, 0xFFFF);
    Changed();
}

void TGIFImage::SetComment(const std::vector<std::string>& lines) {
    MutableScreen().comment = lines;
    Changed();
}

// ---- reading and writing -----------------------------------------------------------------------------

void TGIFImage::Load(std::span<const uint8_t> data, bool decode) {
    Reset();
    GifFile file = ReadGif(data, GIFTolerant);
    std::vector<GifFrame> frames = std::move(file.frames);
    header_ = std::move(file);
    for (GifFrame& model : frames) {
        auto frame = std::make_unique<TGIFFrame>(this);
        frame->model_ = std::move(model);
        frames_.push_back(std::move(frame));
    }
    if (!frames_.empty()) {
        activeFrame_ = 0;
        if (decode) {
            try {
                frames_[0]->Decode();
            } catch (...) {
                frames_.erase(frames_.begin());
                activeFrame_ = frames_.empty() ? -1 : 0;
                throw;
            }
        }
    }
    Changed();
}

std::vector<uint8_t> TGIFImage::Save() {
    if (frames_.empty()) throw fw::EInvalidGraphicOperation(kGifNoData);
    for (auto& f : frames_) f->Encode();
    GifFile out = header_;
    for (const auto& f : frames_) out.frames.push_back(f->model_);
    UpdateExtensions(out);
    for (size_t i = 0; i < frames_.size(); ++i) frames_[i]->model_.extensions = out.frames[i].extensions;
    std::vector<uint8_t> bytes = WriteGif(out);
    header_.version = out.version;
    header_.screenWidth = out.screenWidth;
    header_.screenHeight = out.screenHeight;
    return bytes;
}

void TGIFImage::LoadFromStream(fw::TStream& stream) {
    const std::vector<uint8_t> data = ReadRest(stream, stream.Size() - stream.Position());
    Load(data, true);
}

void TGIFImage::SaveToStream(fw::TStream& stream) {
    const std::vector<uint8_t> bytes = Save();
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TGIFImage::ReadData(fw::TStream& stream) {
    const uint32_t length = ReadLe32(stream);
    Load(ReadRest(stream, length), true);
}

void TGIFImage::WriteData(fw::TStream& stream) {
    const std::vector<uint8_t> bytes = Save();
    WriteLe32(stream, static_cast<uint32_t>(bytes.size()));
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

// ---- the graphic ----------------------------------------------------------------------------------

bool TGIFImage::Empty() const {
    if (frames_.empty()) return true;
    const TGIFFrame& f = *frames_[static_cast<size_t>(activeFrame_ < 0 ? 0 : activeFrame_)];
    return !f.HasBitmap() && !f.HasData();
}

int TGIFImage::Width() { return activeFrame_ < 0 || Empty() ? 0 : frames_[static_cast<size_t>(activeFrame_)]->Width(); }

int TGIFImage::Height() { return activeFrame_ < 0 || Empty() ? 0 : frames_[static_cast<size_t>(activeFrame_)]->Height(); }

void TGIFImage::SetWidth(int) { throw fw::EInvalidGraphicOperation(kGifCannotResize); }

void TGIFImage::SetHeight(int) { throw fw::EInvalidGraphicOperation(kGifCannotResize); }

bool TGIFImage::Transparent() const {
    if (!fw::TGraphic::Transparent()) return false;
    return std::any_of(frames_.begin(), frames_.end(), [](const auto& f) { return f->TransparentColor() != fw::clNone; });
}

HPALETTE TGIFImage::Palette() {
    if (activeFrame_ < 0) return nullptr;
    return frames_[static_cast<size_t>(activeFrame_)]->Bitmap()->Palette();
}

void TGIFImage::Draw(fw::TCanvas& canvas, const fw::TRect& r) {
    if (activeFrame_ >= 0) frames_[static_cast<size_t>(activeFrame_)]->Draw(canvas, r);
}

bool TGIFImage::Equals(fw::TGraphic* other) {
    auto* gif = dynamic_cast<TGIFImage*>(other);
    return gif && gif->header_.screen == header_.screen;
}

int TGIFImage::AddFrame(fw::TGraphic* graphic) {
    frames_.push_back(std::make_unique<TGIFFrame>(this));
    activeFrame_ = FrameCount() - 1;
    frames_.back()->Assign(graphic);
    if (header_.version == 0) header_.version = 1;
    if (frames_.size() > 1) header_.version = 2;
    Changed();
    return activeFrame_;
}

void TGIFImage::Assign(fw::TPersistent* source) {
    if (!source) {
        Reset();
        Changed();
        return;
    }
    if (auto* gif = dynamic_cast<TGIFImage*>(source)) {
        if (gif == this) return;
        Reset();
        header_ = gif->header_;  // shares the screen data
        for (const auto& f : gif->frames_) {
            frames_.push_back(std::make_unique<TGIFFrame>(this));
            frames_.back()->Assign(f.get());
        }
        activeFrame_ = gif->activeFrame_;
        Changed();
        return;
    }
    if (auto* frame = dynamic_cast<TGIFFrame*>(source)) {
        Reset();
        if (frame->Owner()) {
            GifScreen& screen = MutableScreen();
            const GifScreen& from = frame->Owner()->Screen();
            screen.aspect = from.aspect;
            screen.tableExponent = from.tableExponent;
            screen.colorResolution = from.colorResolution;
            screen.globalTable = from.globalTable;
        }
        frames_.push_back(std::make_unique<TGIFFrame>(this));
        frames_.back()->Assign(frame);
        activeFrame_ = 0;
        header_.version = std::max(header_.version, 1);
        RecomputeScreen();
        Changed();
        return;
    }
    if (auto* bitmap = dynamic_cast<fw::TBitmap*>(source)) {
        Reset();
        AddFrame(bitmap);
        Changed();
        return;
    }
    if (auto* cursor = dynamic_cast<TAnimatedCursorImage*>(source)) {
        Reset();
        header_.backgroundColor = fw::clWindow;
        for (int i = 0; i < cursor->Count(); ++i) {
            const int index = AddFrame(cursor->Icons(i));
            frames_[static_cast<size_t>(index)]->SetFrameDelay(static_cast<int>(cursor->Frames(i)->DisplayRate() * 100 / 6));
        }
        Changed();
        return;
    }
    fw::TGraphic::Assign(source);
}

void TGIFImage::AssignTo(fw::TPersistent* dest) {
    if (dynamic_cast<TGIFImage*>(dest)) {
        dest->Assign(this);
        return;
    }
    if (Empty()) {
        dest->Assign(nullptr);
        return;
    }
    if (activeFrame_ < 0) {
        dest->Assign(frames_[0]->Bitmap());
        return;
    }
    frames_[static_cast<size_t>(activeFrame_)]->AssignTo(dest);
}

// ---- clipboard ------------------------------------------------------------------------------------

UINT GifClipboardFormat() {
    static const UINT format = RegisterClipboardFormatA("GIF Image");
    return format;
}

void TGIFImage::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) {
    format = CF_DIB;
    data = nullptr;
    palette = nullptr;
    if (frames_.empty()) return;
    const bool encoded = std::all_of(frames_.begin(), frames_.end(), [](const auto& f) { return f->HasData(); });
    if (encoded) {
        const std::vector<uint8_t> bytes = Save();
        std::vector<uint8_t> block(4 + bytes.size());
        const uint32_t n = static_cast<uint32_t>(bytes.size());
        std::memcpy(block.data(), &n, 4);
        std::copy(bytes.begin(), bytes.end(), block.begin() + 4);
        fw::Clipboard().SetBuffer(GifClipboardFormat(), block.data(), block.size());
    }
    frames_[0]->Bitmap()->SaveToClipboardFormat(format, data, palette);
}

void TGIFImage::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) {
    const UINT gifFormat = GifClipboardFormat();
    HANDLE gifData = format == gifFormat ? data : nullptr;
    if (!gifData && IsClipboardFormatAvailable(gifFormat)) gifData = GetClipboardData(gifFormat);
    if (gifData) {
        const std::vector<uint8_t> block = BlockBytes(gifData);
        if (block.size() < 4) throw fw::EInvalidGraphic("Unsupported clipboard format");
        const size_t length = std::min<size_t>(Le32(block.data()), block.size() - 4);
        Load(std::span<const uint8_t>(block).subspan(4, length), false);
        if (!frames_.empty() && IsClipboardFormatAvailable(CF_DIB)) {
            fw::TBitmap bitmap;
            bitmap.LoadFromClipboardFormat(CF_DIB, GetClipboardData(CF_DIB), nullptr);
            frames_[0]->bitmap_ = std::make_unique<fw::TBitmap>();
            frames_[0]->bitmap_->Assign(&bitmap);
        }
        return;
    }
    fw::TBitmap bitmap;
    bitmap.LoadFromClipboardFormat(format, data, palette);
    Assign(&bitmap);
}

void CopyGifToClipboard(TGIFImage* image) {
    fw::TClipboard& clipboard = fw::Clipboard();
    clipboard.Open();
    try {
        clipboard.Assign(image);
    } catch (...) {
        clipboard.Close();
        throw;
    }
    clipboard.Close();
}

// ---- registration ---------------------------------------------------------------------------------

void RegisterGifImage() {
    fw::Class<TGIFFrame, fw::TPersistent>("TGIFFrame");
    fw::Class<TGIFImage, fw::TGraphic>("TGIFImage");
    const fw::TGraphicClass cls{"TGIFImage", &fw::NewGraphic<TGIFImage>};
    fw::TPicture::RegisterFileFormat("gif", kGifDescription, cls);
    fw::TPicture::RegisterClipboardFormat(GifClipboardFormat(), cls);
}

void UnregisterGifImage() { fw::TPicture::UnregisterGraphicClass("TGIFImage"); }

}  // namespace inst
