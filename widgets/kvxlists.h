// The string lists and wave lists: containers whose items hold a TStringList or a TKVXWave.
//
// Stored data after the item header (bit 3 set when the item is not empty):
//   string item   the strings as a string-list item (kvxstreams.h), plain or framed by Compressed
//   wave item     the wave framed (Compressed) or with its 32-bit length
// Without bit 3 nothing follows, and reading empties the item.
#pragma once

#include <memory>

#include "framework/core/lists.h"
#include "widgets/kvxcont.h"
#include "widgets/kvxwave.h"

namespace kvx {

class TKVXStringListItem : public TKVXListItem {
public:
    explicit TKVXStringListItem(TComponent* owner);

    fw::TStringList* Items() const { return items_.get(); }
    void SetItems(fw::TStrings* value);

    void Clear() override { items_->Clear(); }
    bool IsEmpty() const override { return items_->Count() == 0; }
    uint8_t StoreFlags() const override;
    void LoadFromStream(fw::TStream& stream) override;
    void SaveToStream(fw::TStream& stream) override;
    void Assign(fw::TPersistent* source) override;

protected:
    ~TKVXStringListItem() override;

private:
    std::unique_ptr<fw::TStringList> items_;
};

class TKVXStringList : public TKVXCustomContainer {
public:
    explicit TKVXStringList(TComponent* owner);
    TKVXStringListItem* Item(int index) const { return static_cast<TKVXStringListItem*>(TKVXCustomContainer::Item(index)); }
};

class TKVXWaveListItem : public TKVXListItem {
public:
    explicit TKVXWaveListItem(TComponent* owner);

    TKVXWave* Wave() const { return wave_.get(); }
    void SetWave(TKVXWave* value);

    void Clear() override { wave_->Clear(); }
    bool IsEmpty() const override { return wave_->Empty(); }
    uint8_t StoreFlags() const override;
    void LoadFromStream(fw::TStream& stream) override;
    void SaveToStream(fw::TStream& stream) override;
    void Assign(fw::TPersistent* source) override;

protected:
    ~TKVXWaveListItem() override;

private:
    std::unique_ptr<TKVXWave> wave_;
};

class TKVXWaveList : public TKVXCustomContainer {
public:
    explicit TKVXWaveList(TComponent* owner);
    TKVXWaveListItem* Item(int index) const { return static_cast<TKVXWaveListItem*>(TKVXCustomContainer::Item(index)); }
};

}  // namespace kvx
