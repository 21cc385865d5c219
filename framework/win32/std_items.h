// The string list behind a list-like control (list box, combo box, radio group, tab control). The
// list keeps the strings and objects itself, so they outlive the window and survive RecreateWnd, and
// tells its control of every change so the window shows the same lines.
#pragma once

#include <string>
#include <vector>

#include "framework/core/lists.h"

namespace fw {

// What the control does when its lines change.
class TItemsSink {
public:
    virtual void ItemInserted(int index, const std::string& s) = 0;
    virtual void ItemDeleted(int index) = 0;
    virtual void ItemsCleared() = 0;
    virtual void ItemChanged(int index, const std::string& s) {
        ItemDeleted(index);
        ItemInserted(index, s);
    }
    // BeginUpdate/EndUpdate of the list (outermost only).
    virtual void ItemsUpdating(bool updating) {}

protected:
    ~TItemsSink() = default;
};

class TControlItems : public TStrings {
public:
    explicit TControlItems(TItemsSink* sink) : sink_(sink) {}

    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    int Count() const override { return static_cast<int>(items_.size()); }
    // In a sorted list Add puts the line where it belongs.
    int Add(const std::string& s) override;

    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);

protected:
    void SetUpdateState(bool updating) override;

private:
    struct Item {
        std::string text;
        TObject* object = nullptr;
    };
    void Check(int index) const;
    std::vector<Item> items_;
    TItemsSink* sink_;
    bool sorted_ = false;
};

}  // namespace fw
