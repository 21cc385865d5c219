#include "uisupport/recentstrings.h"

#include <algorithm>

namespace uis {

void TRecentStrings::SetCapacity(int value) {
    capacity_ = std::max(1, value);
    DeleteExceed();
}

int TRecentStrings::Add(const std::string& s) {
    BeginUpdate();
    int index;
    try {
        index = IndexOf(s);
        if (index >= 0) {
            const int target = mode_ == TRecentMode::rmInsert ? 0 : Count() - 1;
            Move(index, target);
            index = target;
        } else {
            index = mode_ == TRecentMode::rmInsert ? 0 : Count();
            Insert(index, s);
            DeleteExceed();
            index = mode_ == TRecentMode::rmInsert ? 0 : Count() - 1;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    return index;
}

void TRecentStrings::AddStrings(const fw::TStrings& strings) {
    BeginUpdate();
    try {
        const int count = std::min(capacity_, strings.Count());
        if (mode_ == TRecentMode::rmAppend) {
            for (int i = 0; i < count; ++i) Add(strings.Get(i));
        } else {
            for (int i = count - 1; i >= 0; --i) Add(strings.Get(i));
        }
        DeleteExceed();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TRecentStrings::Remove(const std::string& s) {
    const int index = IndexOf(s);
    if (index >= 0) Delete(index);
}

void TRecentStrings::DeleteExceed() {
    BeginUpdate();
    try {
        if (mode_ == TRecentMode::rmAppend) {
            while (Count() > capacity_) Delete(0);
        } else {
            for (int i = Count() - 1; i >= capacity_; --i) Delete(i);
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// The user data rides in the line's object slot, which the list never dereferences or owns.
int TRecentStrings::UserData(int index) const {
    return static_cast<int>(reinterpret_cast<intptr_t>(GetObject(index)));
}

void TRecentStrings::SetUserData(int index, int value) {
    PutObject(index, reinterpret_cast<fw::TObject*>(static_cast<intptr_t>(value)));
}

std::string RecentItemCaption(int index, unsigned startAccel, bool showAccel, char delimiter,
                              const std::string& caption) {
    if (!showAccel) return caption;
    const int64_t n = static_cast<int64_t>(index) + startAccel;
    std::string prefix;
    if (n >= 0 && n <= 9)
        prefix = std::string("&") + static_cast<char>('0' + n);
    else if (n >= 10 && n <= 100)
        prefix = std::string("&") + static_cast<char>(n + 55);
    else
        prefix = " ";
    return prefix + delimiter + caption;
}

void SplitCaptionHint(const std::string& caption, std::string& text, std::string& hint) {
    const size_t bar = caption.find('|');
    if (bar == std::string::npos) {
        text = hint = caption;
        return;
    }
    text = caption.substr(0, bar);
    hint = caption.substr(bar + 1);
}

}  // namespace uis
