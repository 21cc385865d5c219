// The value model of the owner-drawn scroll bar: range and position with their clamping, the thumb's
// length and offset along the track, and the scroll notifications of arrow steps, track clicks, keys
// and thumb drags. The bar control feeds it lengths and points along the bar and passes every code it
// reports to its OnScroll event.
//
// Most changes report through one step that sends scEndScroll, then the code; Page Up and Page Down
// keys and thumb drags send their code alone. After clicks, keys and drags the bar reports scTop when
// Position reached Min and scBottom when it reached Max (each again after scEndScroll).
#pragma once

#include <functional>

namespace inst {

// In the order of their values: the increase codes are scLineUp and scPageUp.
enum class TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
enum class TKVXScrollBarKind { skVertical, skHorizontal };
enum class TKVXThumbMode { tmFixed, tmAuto };
enum class TScrollKey { PageUp, PageDown, Left, Up, Right, Down };

// Round to nearest, halves to even.
int RoundHalfEven(double value);

class ScrollModel {
public:
    // Receives every code in order.
    std::function<void(TScrollCode)> OnNotify;

    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    // Each answers whether anything changed (the bar then lays out again). Max below Min becomes Min,
    // Min above Max becomes Max; Position follows into the range.
    bool SetMin(int value);
    bool SetMax(int value);
    bool SetPosition(int value);

    int SmallChange = 1;
    int LargeChange = 10;
    int ButtonWidth = 16;
    TKVXThumbMode ThumbMode = TKVXThumbMode::tmFixed;
    int ThumbLength() const { return thumbLength_; }
    // Taken only in tmFixed.
    bool SetThumbLength(int value);

    // Track and thumb for an inner length along the bar (client length less the bevel). In tmAuto the
    // thumb is the track less the range, at least 8 pixels.
    void Layout(int innerLength);
    int TrackLength() const { return trackLength_; }
    // The thumb's start along the bar, from the inner start (the first button's length included), and
    // its placed length: never beyond the track, so a bar shorter than its thumb keeps it between the
    // buttons.
    int ThumbStart() const { return ButtonWidth + thumbOffset_; }
    int ThumbExtent() const;

    // The second button, Right and Down: Position += SmallChange and scLineUp, unless at Max.
    void Increase();
    // The first button, Left and Up: Position -= SmallChange and scLineDown, unless at Min.
    void Decrease();
    // A left press on the track at Point along the bar (inner coordinates) against a thumb between
    // ThumbFrom and ThumbTo (exclusive): pages towards the point. Answers whether the page-repeat timer
    // stays on (off when the point lies strictly inside the thumb).
    bool TrackClick(int point, int thumbFrom, int thumbTo);
    // Any other press on the track: only the scTop / scBottom reports.
    void OtherClick() { NotifyEdges(); }
    void Key(TScrollKey key);
    // A drag of the thumb by Distance pixels along the bar (positive: down or right). Sends scTrack.
    void Drag(int distance);
    // The thumb was released after a drag.
    void Release() { Notify(TScrollCode::scPosition); }

private:
    void Notify(TScrollCode code);
    void Send(TScrollCode code);
    void NotifyEdges();
    void UpdateThumb();

    int innerLength_ = 132;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
    int thumbLength_ = 16;
    int trackLength_ = 100;
    int thumbOffset_ = 0;
};

}  // namespace inst
