#include "widgets/win32/caret.h"

#include "widgets/win32/bitmapdraw.h"

namespace kvx::win32 {

namespace {

unsigned SystemGetBlinkTime() { return GetCaretBlinkTime(); }
void SystemSetBlinkTime(unsigned milliseconds) { SetCaretBlinkTime(milliseconds); }

TKVXBlinkTimeApi& BlinkApi() {
    static TKVXBlinkTimeApi api{SystemGetBlinkTime, SystemSetBlinkTime};
    return api;
}

}  // namespace

void KVXSetBlinkTimeApi(const TKVXBlinkTimeApi& api) {
    BlinkApi().Get = api.Get ? api.Get : SystemGetBlinkTime;
    BlinkApi().Set = api.Set ? api.Set : SystemSetBlinkTime;
}

TKVXCaret::TKVXCaret(fw::TWinControl* owner)
    : owner_(owner), bitmap_(std::make_unique<fw::TBitmap>()), savedBlinkTime_(static_cast<uint16_t>(BlinkApi().Get())),
      blinkRate_(savedBlinkTime_) {}

TKVXCaret::~TKVXCaret() {
    DestroySysCaret();
    BlinkApi().Set(savedBlinkTime_);
}

void TKVXCaret::SetIndexProp(int index, uint16_t value) {
    switch (index) {
        case 0: width_ = value; break;
        case 1: height_ = value; break;
        case 2: imageIndex_ = value; break;
        case 3: listIndex_ = value; break;
        case 4: defaultHeight_ = value; break;
        default: break;
    }
}

void TKVXCaret::SetBitmap(fw::TBitmap* value) {
    if (!bitmap_) bitmap_ = std::make_unique<fw::TBitmap>();
    bitmap_->Assign(value);
}

void TKVXCaret::Assign(fw::TPersistent* source) {
    auto* other = dynamic_cast<TKVXCaret*>(source);
    if (!other || other == this) return;
    blinkRate_ = other->blinkRate_;
    width_ = other->width_;
    height_ = other->height_;
    style_ = other->style_;
}

void TKVXCaret::CreateSysCaret() {
    if (!OwnerWindow()) return;
    const HWND window = owner_->Handle();
    switch (style_) {
        case TKVXCaretStyles::csDefault: CreateCaret(window, nullptr, 1, defaultHeight_); break;
        case TKVXCaretStyles::csBlock:
        case TKVXCaretStyles::csUnderBlock: CreateCaret(window, nullptr, width_, height_); break;
        case TKVXCaretStyles::csUnder:
        case TKVXCaretStyles::csOver: CreateCaret(window, nullptr, width_, 1); break;
        case TKVXCaretStyles::csBitmap:
            if (bmpMode_ == TKVXCaretBitmap::cbBmpSize) {
                // An empty picture gives no bitmap and a size of 0 x 0: the system's own caret size.
                CreateCaret(window, bitmap_->Empty() ? nullptr : bitmap_->Handle(), 0, 0);
            } else if (bmpMode_ == TKVXCaretBitmap::cbTile || bmpMode_ == TKVXCaretBitmap::cbStretch) {
                // The system caret still uses the old work bitmap: make the new caret first, then free it.
                auto work = std::make_unique<fw::TBitmap>();
                work->SetSize(width_, height_);
                TRect painted;
                KVXDrawBitmap(work->Canvas(), fw::Rect(0, 0, width_, height_), bitmap_.get(),
                              bmpMode_ == TKVXCaretBitmap::cbTile ? kpfTile : kpfStretch, fw::clNone, painted);
                CreateCaret(window, work->Handle(), 0, 0);
                work_ = std::move(work);
            }
            break;
    }
    sysCaret_ = true;
    BlinkApi().Set(blinkRate_);
}

void TKVXCaret::Show() {
    if (owner_ && owner_->InState(fw::csDesigning)) return;
    shown_ = true;
    if (!created_) {
        created_ = true;
        CreateSysCaret();
    }
    BlinkApi().Set(blinkRate_);
    if (OwnerWindow()) ShowCaret(owner_->Handle());
}

void TKVXCaret::Hide() {
    shown_ = false;
    if (OwnerWindow()) HideCaret(owner_->Handle());
    BlinkApi().Set(savedBlinkTime_);
}

void TKVXCaret::DestroySysCaret() {
    // Without this, the next repaint would hide and show a caret that no longer exists, setting the
    // desktop's blink time while no caret of ours blinks.
    shown_ = false;
    if (!OwnerWindow()) return;
    BlinkApi().Set(savedBlinkTime_);
    // A thread has one caret: destroying it when it is another window's would take that one away.
    if (sysCaret_) DestroyCaret();
    sysCaret_ = false;
}

}  // namespace kvx::win32
