// How a button glyph chooses its images, and the program-wide cache of glyph strips, without a device.
//
// A glyph's source bitmap holds 1 to 5 pictures side by side (up, disabled, hot, latched, down). Each
// button state asks for one image slot; a slot the strip lacks is made from picture 0 (a disabled or a
// shaded look, or a plain copy). Made images live in shared strips, one strip per picture size, so all
// glyphs of one size share one strip: a strip hands out slots (freed slots first, then it grows by one
// image) and is freed by the cache as soon as no slot is in use.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "widgets/controltypes.h"

namespace kvx {

constexpr int kKVXMaxGlyphs = 5;
constexpr int kKVXGlyphSlots = 8;

// The image slot of a state: the disabled states use slot 1; any other state s uses slot s while the
// strip has that picture, else slot 4 (dropped, shaded style), 2 (shaded style) or 0.
int KVXGlyphSlot(TKVXButtonState state, int numGlyphs, bool shaded);

// What goes into a slot: a picture of the strip, or one made from picture 0.
enum class TKVXSlotSource { Picture, ShadedLook, DisabledLook, Copy };
TKVXSlotSource KVXSlotSource(int slot, int numGlyphs, bool shaded);

// The picture count a source bitmap of Width x Height gives: the quotient when the width is a whole
// multiple of the height and the quotient is 1 to 5, 1 for 6 and more, else Current unchanged (a
// bitmap without width, or one that is no strip, keeps the count; a count of 0 would divide by zero).
int KVXNumGlyphsOf(int width, int height, int current);

// One shared strip of images of one size. The Win32 side keeps the pictures in a masked image strip.
class TKVXGlyphStrip {
public:
    TKVXGlyphStrip(int width, int height) : width_(width), height_(height) {}
    virtual ~TKVXGlyphStrip() = default;
    TKVXGlyphStrip(const TKVXGlyphStrip&) = delete;
    TKVXGlyphStrip& operator=(const TKVXGlyphStrip&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // Slots in use, and all slots (the images in the strip).
    int InUse() const { return inUse_; }
    int Capacity() const { return static_cast<int>(used_.size()); }
    bool Used(int index) const { return index >= 0 && index < Capacity() && used_[index]; }

    // The first free slot, marked used and counted; a full strip first grows by one empty image.
    int TakeSlot();
    // Frees a used slot (the strip keeps its size and gives the slot out again).
    void DeleteGlyph(int index);

protected:
    // Appends one empty image to the pictures.
    virtual void AppendEmptyImage() = 0;

private:
    int width_;
    int height_;
    int inUse_ = 0;
    std::vector<bool> used_;
};

class TKVXGlyphCache {
public:
    using StripFactory = std::function<std::unique_ptr<TKVXGlyphStrip>(int width, int height)>;
    explicit TKVXGlyphCache(StripFactory factory) : factory_(std::move(factory)) {}

    // The first strip of exactly that size; a new one is made and appended when there is none.
    TKVXGlyphStrip* GetList(int width, int height);
    // Frees the strip when it holds no image in use (null is ignored).
    void ReturnList(TKVXGlyphStrip* strip);
    bool IsEmpty() const { return strips_.empty(); }
    int Count() const { return static_cast<int>(strips_.size()); }

private:
    StripFactory factory_;
    std::vector<std::unique_ptr<TKVXGlyphStrip>> strips_;
};

// The program-wide cache: made on demand with the strip factory that the Win32 layer installs (tests
// install their own), freed when a glyph goes and the cache holds no strip.
void KVXSetGlyphStripFactory(TKVXGlyphCache::StripFactory factory);
TKVXGlyphCache* KVXGlyphCache();
// The cache when it exists, else null (does not make one).
TKVXGlyphCache* KVXGlyphCacheIfAny();
// Frees the cache when it holds no strip.
void KVXReleaseGlyphCache();

// What an action update does to a button's glyph. An empty glyph takes the action's image when it has
// one. A glyph taken from the action stays while it is that same image (updates of the action's caption
// or state would otherwise make it blink on and off) and follows a changed image; any other glyph is
// cleared.
enum class TKVXActionGlyph { Keep, Take, Clear };
TKVXActionGlyph KVXActionGlyphUpdate(bool glyphEmpty, bool glyphFromAction, bool sameImage, bool actionHasImage);

}  // namespace kvx
