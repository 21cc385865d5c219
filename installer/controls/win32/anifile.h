// TAnimatedCursorImage: an animated cursor file (RIFF "ACON") as a list of icon frames with their
// display rates, which can render all its frames into one bitmap strip.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "framework/win32/graphics.h"
#include "installer/controls/ani_reader.h"

namespace inst {

// One step of an animation: the icon it shows (shared with the other steps showing it), where the
// image came from, its hot spot and how long it stays.
class TIconFrame : public fw::TPersistent {
public:
    TIconFrame() = default;
    ~TIconFrame() override;

    // From another frame: a copy of the icon (a new one when this frame has none) and every field.
    void Assign(fw::TPersistent* source) override;

    fw::TIcon* Icon() const { return icon_.get(); }
    bool IsIcon() const { return isIcon_; }
    const std::array<uint8_t, 8>& Tag() const { return tag_; }
    int HotX() const { return hotX_; }
    int HotY() const { return hotY_; }
    uint32_t DisplayRate() const { return rate_; }  // jiffies (1/60 s)
    int32_t IconIndex() const { return iconIndex_; }

private:
    friend class TAnimatedCursorImage;
    std::shared_ptr<fw::TIcon> icon_;
    bool isIcon_ = true;
    std::array<uint8_t, 8> tag_{};
    int hotX_ = 0;
    int hotY_ = 0;
    uint32_t rate_ = 0;
    int32_t iconIndex_ = 0;
};

class TAnimatedCursorImage : public fw::TPersistent {
public:
    TAnimatedCursorImage() = default;
    ~TAnimatedCursorImage() override;

    // From another animated cursor: header, title, author, colour count and frames (cleared again
    // when that fails).
    void Assign(fw::TPersistent* source) override;

    int Count() const { return static_cast<int>(frames_.size()); }
    TIconFrame* Frames(int index) const;
    fw::TIcon* Icons(int index) const { return Frames(index)->Icon(); }
    const AniHeader& Header() const { return header_; }
    const std::string& Title() const { return title_; }
    const std::string& Author() const { return author_; }
    int SourceColorCount() const { return sourceColorCount_; }

    // Reads from the position to the end; a damaged file raises EReadError "Stream read error".
    void LoadFromStream(fw::TStream& stream);
    // Not supported: says so and ends the operation silently.
    void SaveToStream(fw::TStream& stream);
    // Opens the file shared for reading; on failure the image is left cleared.
    void LoadFromFile(const std::string& fileName);
    void Clear();

    // All frames side by side (or one under the other) on `background`, colours reduced to the
    // source's colour count (at least 16) when `reduce`.
    void RenderStrip(fw::TBitmap* bitmap, fw::TColor background, bool vertical, bool reduce);

protected:
    // A TIcon gets the first frame's icon, a TBitmap the strip (on its brush colour, reduced), a
    // TIconList a copy of every frame's icon.
    void AssignTo(fw::TPersistent* dest) override;

private:
    std::vector<std::unique_ptr<TIconFrame>> frames_;
    AniHeader header_;
    std::string title_;
    std::string author_;
    int sourceColorCount_ = 0;
};

}  // namespace inst
