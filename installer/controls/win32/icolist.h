// TIconList: a list of icons (or empty entries) owned by the list, streamed into form data as the
// binary property "Icons".
//
//  Stream:  +0 uint32 count, then per entry: uint32 size, and that many bytes of .ico file image
//           (size 0 for an empty entry or an empty icon)
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/win32/graphics.h"

namespace inst {

class TIconList : public fw::TPersistent {
public:
    TIconList() = default;
    ~TIconList() override;

    // From nothing: clear; from another list: copies of its entries; from a TIcon: one copy of it.
    void Assign(fw::TPersistent* source) override;

    // Every change but Get, Count and IndexOf fires OnChange, once per outermost update.
    void BeginUpdate();
    void EndUpdate();

    // The icon at `index`, or null for an empty entry.
    virtual fw::TIcon* Get(int index) const;
    virtual int Count() const { return static_cast<int>(entries_.size()); }
    // An index equal to Count appends; the entry becomes a copy of `icon` (null empties its icon).
    virtual void Put(int index, fw::TIcon* icon);
    virtual int Add(fw::TIcon* icon);
    virtual int AddResource(HINSTANCE instance, const std::string& name);
    virtual void Clear();
    virtual void Delete(int index);
    virtual void Exchange(int index1, int index2);
    virtual int IndexOf(fw::TIcon* icon) const;
    virtual void Insert(int index, fw::TIcon* icon);
    virtual void InsertResource(int index, HINSTANCE instance, const std::string& name);
    virtual void Move(int from, int to);
    // Loading clears the list first; bounded by the stream (a count or size past its end raises
    // EReadError "Stream read error").
    virtual void LoadFromStream(fw::TStream& stream);
    virtual void SaveToStream(fw::TStream& stream);

    // "Icons", written when the list is not empty.
    void DefineProperties(fw::TFiler& filer) override;

    fw::TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    void CheckIndex(int index, int count) const;
    void IconChanged(fw::TObject* sender);
    std::unique_ptr<fw::TIcon> NewEntry(fw::TIcon* from);

    std::vector<std::unique_ptr<fw::TIcon>> entries_;
    int updateCount_ = 0;
};

}  // namespace inst
