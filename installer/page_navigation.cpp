#include "installer/page_navigation.h"

namespace inst {

namespace {
constexpr int kAbortResult = 3;
}

int PageNavigation::Resolve(int index, bool backwards) const {
    while (index >= 0 && index < count_) {
        if (!skipped_ || !skipped_(index)) return index;
        index += backwards ? -1 : 1;
    }
    return -1;
}

int PageNavigation::First() const {
    const int page = Resolve(0, true);
    return page >= 0 ? page : Resolve(0, false);
}

int PageNavigation::Next(int current) const {
    const int page = Resolve(current + 1, false);
    return page >= 0 ? page : Resolve(current + 1, true);
}

int PageNavigation::Back(int current) const {
    const int page = Resolve(current - 1, true);
    return page >= 0 ? page : Resolve(current - 1, false);
}

bool PageNavigation::IsFirst(int current) const {
    for (int i = 0; i < current && i < count_; ++i)
        if (!skipped_ || !skipped_(i)) return false;
    return true;
}

bool PageNavigation::IsLast(int current) const {
    for (int i = current + 1; i < count_; ++i)
        if (!skipped_ || !skipped_(i)) return false;
    return true;
}

bool PageNavigation::CanClose(bool finished, int modalResult) { return finished || modalResult == kAbortResult; }

}  // namespace inst
