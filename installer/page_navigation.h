// The page host's rules: the order its pages are shown in, the page Next and Back lead to, and when
// the host may close. Pages are reached by their index in the sorted order; a skipped page is passed
// over in the direction of the move.
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace inst {

// Sorts pages by their order as the host does: for each page i, every later page j with a smaller
// order is exchanged with page i.
template <class Page, class Order>
void SortPagesByOrder(std::vector<Page>& pages, Order order) {
    for (size_t i = 0; i < pages.size(); ++i)
        for (size_t j = i + 1; j < pages.size(); ++j)
            if (order(pages[j]) < order(pages[i])) std::swap(pages[i], pages[j]);
}

class PageNavigation {
public:
    using SkipQuery = std::function<bool(int index)>;

    PageNavigation(int count, SkipQuery skipped) : count_(count), skipped_(std::move(skipped)) {}

    // The page showing `index` lands on: a skipped page passes on to the one before (backwards) or
    // after it; -1 once the move leaves the pages.
    int Resolve(int index, bool backwards) const;
    // The first page shown: page 0, tried backwards, then forwards; -1 when every page is skipped.
    int First() const;
    // The page Next leads to from `current`; -1 (or `current`) means the pages are done.
    int Next(int current) const;
    // The page Back leads to from `current` (`current` itself when there is none before it).
    int Back(int current) const;
    // Every page before `current` is skipped.
    bool IsFirst(int current) const;
    // Every page after `current` is skipped: Next on it ends the pages.
    bool IsLast(int current) const;

    // The host closes when its pages are finished or the user confirmed cancelling (the abort result);
    // any other close (the system menu, Alt+F4) is refused.
    static bool CanClose(bool finished, int modalResult);

private:
    int count_;
    SkipQuery skipped_;
};

}  // namespace inst
