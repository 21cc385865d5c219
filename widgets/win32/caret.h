// TKVXCaret: the system caret of an owner-drawn edit (or any windowed control): one of six shapes, a
// bitmap caret at its own size, tiled or stretched, and the blink rate.
//
// The blink time is the system's one value for every caret on the desktop, so the caret sets it only
// while it is shown and puts back the value it found at creation whenever it is hidden, destroyed or
// freed. Setters only store: a new shape takes effect when the system caret is next created (the
// edit does that when it gains the focus).
#pragma once

#include <cstdint>
#include <memory>

#include "framework/win32/controls.h"
#include "framework/win32/graphics.h"
#include "widgets/kvxclass.h"
#include "widgets/win32/imagelistbase.h"

namespace kvx::win32 {

enum class TKVXCaretStyles { csDefault, csBlock, csUnder, csOver, csBitmap, csUnderBlock };
enum class TKVXCaretBitmap { cbBmpSize, cbTile, cbStretch };

// The system's caret blink time; tests put a recorder in its place (Wine keeps no blink time).
struct TKVXBlinkTimeApi {
    unsigned (*Get)() = nullptr;
    void (*Set)(unsigned milliseconds) = nullptr;
};
// Null functions restore the system's.
void KVXSetBlinkTimeApi(const TKVXBlinkTimeApi& api);

class TKVXCaret : public TKVXObject {
public:
    // Owner: the windowed control whose window holds the caret; not owned.
    explicit TKVXCaret(fw::TWinControl* owner);
    ~TKVXCaret() override;

    uint16_t BlinkRate() const { return blinkRate_; }
    void SetBlinkRate(uint16_t value) { blinkRate_ = value; }
    TKVXCaretStyles Style() const { return style_; }
    void SetStyle(TKVXCaretStyles value) { style_ = value; }
    TKVXCaretBitmap CaretBmpMode() const { return bmpMode_; }
    void SetCaretBmpMode(TKVXCaretBitmap value) { bmpMode_ = value; }
    uint16_t Width() const { return width_; }
    uint16_t Height() const { return height_; }
    uint16_t ImageIndex() const { return imageIndex_; }
    uint16_t ListIndex() const { return listIndex_; }
    uint16_t DefaultHeight() const { return defaultHeight_; }
    // Index 0 Width, 1 Height, 2 ImageIndex, 3 ListIndex, 4 the default height (of csDefault).
    void SetIndexProp(int index, uint16_t value);
    void SetWidth(uint16_t value) { SetIndexProp(0, value); }
    void SetHeight(uint16_t value) { SetIndexProp(1, value); }
    TKVXCustomImageList* ImageList() const { return imageList_; }
    void SetImageList(TKVXCustomImageList* value) { imageList_ = value; }
    fw::TBitmap* Bitmap() const { return bitmap_.get(); }
    // Copies the picture into the caret's own bitmap.
    void SetBitmap(fw::TBitmap* value);
    fw::TWinControl* Owner() const { return owner_; }
    uint16_t SavedBlinkTime() const { return savedBlinkTime_; }
    bool Shown() const { return shown_; }

    // Another caret's BlinkRate, Width, Height and Style; anything else is ignored.
    void Assign(fw::TPersistent* source) override;

    // Creates the system caret in the owner's window in the current shape, then sets the blink time.
    void CreateSysCaret();
    // Shows the caret (creating it the first time) with this caret's blink rate.
    void Show();
    void Hide();
    // Puts the saved blink time back and destroys the system caret; the caret counts as hidden.
    void DestroySysCaret();

private:
    bool OwnerWindow() const { return owner_ && owner_->HandleAllocated(); }

    fw::TWinControl* owner_;
    std::unique_ptr<fw::TBitmap> work_;
    std::unique_ptr<fw::TBitmap> bitmap_;
    TKVXCustomImageList* imageList_ = nullptr;
    uint16_t imageIndex_ = 0;
    uint16_t listIndex_ = 0;
    uint16_t defaultHeight_ = 0;
    uint16_t savedBlinkTime_;
    uint16_t width_ = 2;
    uint16_t height_ = 10;
    uint16_t blinkRate_;
    TKVXCaretStyles style_ = TKVXCaretStyles::csDefault;
    TKVXCaretBitmap bmpMode_ = TKVXCaretBitmap::cbBmpSize;
    bool created_ = false;
    bool shown_ = false;
    // This caret made the thread's system caret and has not destroyed it since.
    bool sysCaret_ = false;
};

}  // namespace kvx::win32
