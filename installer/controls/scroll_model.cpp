#include "installer/controls/scroll_model.h"

#include <algorithm>
#include <cmath>

namespace inst {

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

bool ScrollModel::SetMin(int value) {
    value = std::min(value, max_);
    if (value == min_) return false;
    min_ = value;
    position_ = std::max(position_, min_);
    UpdateThumb();
    return true;
}

bool ScrollModel::SetMax(int value) {
    value = std::max(value, min_);
    if (value == max_) return false;
    max_ = value;
    position_ = std::min(position_, max_);
    UpdateThumb();
    return true;
}

bool ScrollModel::SetPosition(int value) {
    value = std::clamp(value, min_, max_);
    if (value == position_) return false;
    position_ = value;
    UpdateThumb();
    return true;
}

bool ScrollModel::SetThumbLength(int value) {
    if (value == thumbLength_ || ThumbMode != TKVXThumbMode::tmFixed) return false;
    thumbLength_ = value;
    UpdateThumb();
    return true;
}

void ScrollModel::Layout(int innerLength) {
    innerLength_ = innerLength;
    UpdateThumb();
}

int ScrollModel::ThumbExtent() const { return std::clamp(thumbLength_, 0, std::max(trackLength_, 0)); }

void ScrollModel::UpdateThumb() {
    trackLength_ = innerLength_ - 2 * ButtonWidth;
    const int range = max_ - min_;
    if (ThumbMode == TKVXThumbMode::tmAuto) thumbLength_ = std::max(trackLength_ - range, 8);
    // A track no longer than the thumb leaves no room to move in: the divisor is 1, as for a track of
    // exactly the thumb's length, instead of zero or negative.
    const int span = trackLength_ - thumbLength_;
    double step = 1;
    if (min_ < max_) step = static_cast<double>(range) / (span > 0 ? span : 1);
    if (step == 0) step = 1;
    thumbOffset_ = RoundHalfEven((position_ - min_) / step);
    thumbOffset_ = std::clamp(thumbOffset_, 0, std::max(trackLength_ - ThumbExtent(), 0));
}

void ScrollModel::Send(TScrollCode code) {
    if (OnNotify) OnNotify(code);
}

void ScrollModel::Notify(TScrollCode code) {
    Send(TScrollCode::scEndScroll);
    Send(code);
}

void ScrollModel::NotifyEdges() {
    if (position_ == min_) Notify(TScrollCode::scTop);
    if (position_ == max_) Notify(TScrollCode::scBottom);
}

void ScrollModel::Increase() {
    if (position_ == max_) return;
    SetPosition(position_ + SmallChange);
    Notify(TScrollCode::scLineUp);
}

void ScrollModel::Decrease() {
    if (position_ == min_) return;
    SetPosition(position_ - SmallChange);
    Notify(TScrollCode::scLineDown);
}

bool ScrollModel::TrackClick(int point, int thumbFrom, int thumbTo) {
    if (point < thumbFrom) {
        SetPosition(position_ - LargeChange);
        Notify(TScrollCode::scPageDown);
    } else if (point > thumbTo) {
        SetPosition(position_ + LargeChange);
        Notify(TScrollCode::scPageUp);
    }
    const bool repeat = !(point > thumbFrom && point < thumbTo);
    NotifyEdges();
    return repeat;
}

void ScrollModel::Key(TScrollKey key) {
    switch (key) {
        case TScrollKey::PageUp:
            SetPosition(position_ - LargeChange);
            Send(TScrollCode::scPageDown);
            break;
        case TScrollKey::PageDown:
            SetPosition(position_ + LargeChange);
            Send(TScrollCode::scPageUp);
            break;
        case TScrollKey::Left:
        case TScrollKey::Up: Decrease(); break;
        case TScrollKey::Right:
        case TScrollKey::Down: Increase(); break;
    }
    NotifyEdges();
}

void ScrollModel::Drag(int distance) {
    const int span = trackLength_ - thumbLength_;
    int step = 1;
    if (span > 0) step = RoundHalfEven(static_cast<double>(max_ - min_) / span * std::abs(distance));
    if (distance < 0) step = -step;
    if (distance == 0) step = 0;
    SetPosition(position_ + step);
    Send(TScrollCode::scTrack);
    NotifyEdges();
}

}  // namespace inst
