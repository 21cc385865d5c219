// TRecentStrings: the list behind an MRU menu. Names are unique ignoring case; adding a name that is
// present moves it. In rmInsert mode the newest name is at index 0, in rmAppend mode at the end; the
// list never holds more than Capacity names. Each name carries an integer of user data.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/lists.h"

namespace uis {

enum class TRecentMode { rmInsert, rmAppend };

class TRecentStrings : public fw::TStringList {
public:
    TRecentStrings() = default;

    int Capacity() const { return capacity_; }
    // Stores the larger of 1 and the value and drops the excess at once.
    void SetCapacity(int value);
    TRecentMode Mode() const { return mode_; }
    void SetMode(TRecentMode value) { mode_ = value; }

    // Adds the name, or moves it when present (ignoring case); returns its index (0, or the last).
    int Add(const std::string& s) override;
    // At most Capacity lines of `strings`: in order in rmAppend mode, from the last of them to the first in
    // rmInsert mode (so that the first line ends at the top); then drops the excess. One change event.
    void AddStrings(const fw::TStrings& strings);
    // Deletes the name if present.
    void Remove(const std::string& s);
    // Drops the names beyond Capacity: the oldest ones (index 0 in rmAppend mode, the last ones in rmInsert
    // mode).
    void DeleteExceed();

    int UserData(int index) const;
    void SetUserData(int index, int value);

private:
    int capacity_ = 10;
    TRecentMode mode_ = TRecentMode::rmInsert;
};

// The menu caption of the recent name at `index`: with `showAccel`, n = index + startAccel gives the
// prefix "&" and the digit for 0 to 9, "&" and the character n + 55 for 10 to 100 ("A" for 10), a single
// blank above 100; then the delimiter and the caption.
std::string RecentItemCaption(int index, unsigned startAccel, bool showAccel, char delimiter,
                              const std::string& caption);
// A caption "text|hint" split at its first "|"; without one, both are the whole caption.
void SplitCaptionHint(const std::string& caption, std::string& text, std::string& hint);

}  // namespace uis
