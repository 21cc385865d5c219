#include "installer/controls/win32/anifile.h"

#include <algorithm>

#include "framework/core/exceptions.h"
#include "installer/controls/win32/icolist.h"
#include "installer/controls/win32/kyvgraph.h"
#include "installer/controls/win32/kyvguiutils.h"

namespace inst {

// ---- TIconFrame -----------------------------------------------------------------------------------

TIconFrame::~TIconFrame() = default;

void TIconFrame::Assign(fw::TPersistent* source) {
    auto* f = dynamic_cast<TIconFrame*>(source);
    if (!f) {
        fw::TPersistent::Assign(source);
        return;
    }
    if (f == this) return;
    if (!icon_) icon_ = std::make_shared<fw::TIcon>();
    icon_->Assign(f->icon_.get());
    isIcon_ = f->isIcon_;
    tag_ = f->tag_;
    hotX_ = f->hotX_;
    hotY_ = f->hotY_;
    rate_ = f->rate_;
    iconIndex_ = f->iconIndex_;
}

// ---- TAnimatedCursorImage -------------------------------------------------------------------------

TAnimatedCursorImage::~TAnimatedCursorImage() = default;

void TAnimatedCursorImage::Clear() {
    frames_.clear();
    header_ = AniHeader{};
    title_.clear();
    author_.clear();
    sourceColorCount_ = 0;
}

TIconFrame* TAnimatedCursorImage::Frames(int index) const {
    if (index < 0 || index >= Count()) throw fw::EListError("List index out of bounds (" + std::to_string(index) + ")");
    return frames_[static_cast<size_t>(index)].get();
}

void TAnimatedCursorImage::LoadFromStream(fw::TStream& stream) {
    const int64_t available = std::max<int64_t>(stream.Size() - stream.Position(), 0);
    std::vector<uint8_t> data(static_cast<size_t>(available));
    if (available > 0) stream.ReadBuffer(data.data(), available);
    // Each image is loaded as the framework's icon; one that does not load ends its list.
    std::vector<std::shared_ptr<fw::TIcon>> icons;
    const AniFile file = ReadAni(data, [&](AniIcon& image) {
        auto icon = std::make_shared<fw::TIcon>();
        try {
            icon->LoadFromBytes(image.file);
        } catch (const fw::Exception&) {
            return false;
        }
        if (image.isIcon) {
            image.hotX = icon->Width() / 2;
            image.hotY = icon->Height() / 2;
        }
        icons.push_back(std::move(icon));
        return true;
    });
    Clear();
    header_ = file.header;
    title_ = file.title;
    author_ = file.author;
    sourceColorCount_ = file.sourceColorCount;
    for (const AniFrame& step : file.frames) {
        const AniIcon& image = file.icons[static_cast<size_t>(step.icon)];
        auto frame = std::make_unique<TIconFrame>();
        frame->icon_ = icons[static_cast<size_t>(step.icon)];
        frame->isIcon_ = image.isIcon;
        frame->tag_ = image.tag;
        frame->hotX_ = image.hotX;
        frame->hotY_ = image.hotY;
        frame->rate_ = step.rate;
        frame->iconIndex_ = step.iconIndex;
        frames_.push_back(std::move(frame));
    }
}

void TAnimatedCursorImage::SaveToStream(fw::TStream&) { ShowNotImplemented(); }

void TAnimatedCursorImage::LoadFromFile(const std::string& fileName) {
    try {
        fw::TFileStream stream(fileName, fw::fmOpenRead | fw::fmShareDenyNone);
        LoadFromStream(stream);
    } catch (...) {
        Clear();
        throw;
    }
}

void TAnimatedCursorImage::Assign(fw::TPersistent* source) {
    if (!source) {
        Clear();
        return;
    }
    auto* other = dynamic_cast<TAnimatedCursorImage*>(source);
    if (!other) {
        fw::TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    Clear();
    try {
        header_ = other->header_;
        title_ = other->title_;
        author_ = other->author_;
        sourceColorCount_ = other->sourceColorCount_;
        for (const auto& f : other->frames_) {
            auto copy = std::make_unique<TIconFrame>();
            copy->Assign(f.get());
            frames_.push_back(std::move(copy));
        }
    } catch (...) {
        Clear();
        throw;
    }
}

void TAnimatedCursorImage::RenderStrip(fw::TBitmap* bitmap, fw::TColor background, bool vertical, bool reduce) {
    if (!bitmap || frames_.empty()) return;
    fw::TIcon* first = frames_[0]->Icon();
    const int w = first->Width(), h = first->Height();
    const int n = Count();
    fw::TBitmap strip;
    strip.SetSize(vertical ? w : w * n, vertical ? h * n : h);
    fw::TCanvas* canvas = strip.Canvas();
    canvas->Brush()->SetColor(background);
    canvas->FillRect(fw::TRect{0, 0, strip.Width(), strip.Height()});
    for (int i = 0; i < n; ++i) {
        fw::TIcon* icon = frames_[static_cast<size_t>(i)]->Icon();
        canvas->Draw(vertical ? 0 : i * icon->Width(), vertical ? i * icon->Height() : 0, icon);
    }
    if (reduce) {
        const std::unique_ptr<fw::TMemoryStream> file = ReduceBitmapColors(&strip, std::max(sourceColorCount_, 16));
        bitmap->LoadFromStream(*file);
    } else {
        bitmap->Assign(&strip);
    }
}

void TAnimatedCursorImage::AssignTo(fw::TPersistent* dest) {
    if (auto* icon = dynamic_cast<fw::TIcon*>(dest)) {
        if (!frames_.empty()) icon->Assign(frames_[0]->Icon());
        return;
    }
    if (auto* bitmap = dynamic_cast<fw::TBitmap*>(dest)) {
        if (!frames_.empty()) RenderStrip(bitmap, bitmap->Canvas()->Brush()->Color(), false, true);
        return;
    }
    if (auto* list = dynamic_cast<TIconList*>(dest)) {
        list->BeginUpdate();
        try {
            list->Clear();
            for (const auto& f : frames_) list->Add(f->Icon());
        } catch (...) {
            list->EndUpdate();
            throw;
        }
        list->EndUpdate();
        return;
    }
    fw::TPersistent::AssignTo(dest);
}

}  // namespace inst
