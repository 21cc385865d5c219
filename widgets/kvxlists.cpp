#include "widgets/kvxlists.h"

#include "widgets/kvxstreams.h"

namespace kvx {

namespace {

template <class T>
TKVXListItem* MakeItem(TComponent* owner) {
    return fw::Make<T>(owner);
}

}  // namespace

// ---- string lists ---------------------------------------------------------------------------------

TKVXStringListItem::TKVXStringListItem(TComponent* owner) : TKVXListItem(owner), items_(std::make_unique<fw::TStringList>()) {
    items_->OnChange.Bind(this, &TKVXStringListItem::ChildChanged);
}

TKVXStringListItem::~TKVXStringListItem() { items_->OnChange.Reset(); }

void TKVXStringListItem::SetItems(fw::TStrings* value) { items_->Assign(value); }

uint8_t TKVXStringListItem::StoreFlags() const {
    return static_cast<uint8_t>(TKVXListItem::StoreFlags() | (IsEmpty() ? 0 : kItemHasData));
}

void TKVXStringListItem::SaveToStream(fw::TStream& stream) {
    SaveHeader(stream);
    if (!IsEmpty()) KVXWriteStringList(stream, items_.get(), Compressed());
}

void TKVXStringListItem::LoadFromStream(fw::TStream& stream) {
    UpdateBatch([&] {
        if (LoadHeader(stream) & kItemHasData)
            KVXReadStringList(stream, items_.get(), Compressed());
        else
            items_->Clear();
    });
}

void TKVXStringListItem::Assign(fw::TPersistent* source) {
    if (auto* other = dynamic_cast<TKVXStringListItem*>(source)) {
        UpdateBatch([&] {
            AssignHeader(other);
            items_->Assign(other->items_.get());
        });
        return;
    }
    TKVXListItem::Assign(source);
}

TKVXStringList::TKVXStringList(TComponent* owner)
    : TKVXCustomContainer(owner, &MakeItem<TKVXStringListItem>, TKVXListKind::StringList) {}

// ---- wave lists -----------------------------------------------------------------------------------

TKVXWaveListItem::TKVXWaveListItem(TComponent* owner) : TKVXListItem(owner), wave_(std::make_unique<TKVXWave>()) {
    wave_->OnChange.Bind(this, &TKVXWaveListItem::ChildChanged);
}

TKVXWaveListItem::~TKVXWaveListItem() { wave_->OnChange.Reset(); }

void TKVXWaveListItem::SetWave(TKVXWave* value) { wave_->Assign(value); }

uint8_t TKVXWaveListItem::StoreFlags() const {
    return static_cast<uint8_t>(TKVXListItem::StoreFlags() | (IsEmpty() ? 0 : kItemHasData));
}

void TKVXWaveListItem::SaveToStream(fw::TStream& stream) {
    SaveHeader(stream);
    if (!IsEmpty()) KVXWriteWave(stream, wave_.get(), Compressed());
}

void TKVXWaveListItem::LoadFromStream(fw::TStream& stream) {
    UpdateBatch([&] {
        if (LoadHeader(stream) & kItemHasData)
            KVXReadWave(stream, wave_.get(), Compressed());
        else
            wave_->Clear();
    });
}

void TKVXWaveListItem::Assign(fw::TPersistent* source) {
    if (auto* other = dynamic_cast<TKVXWaveListItem*>(source)) {
        UpdateBatch([&] {
            AssignHeader(other);
            wave_->Assign(other->wave_.get());
        });
        return;
    }
    TKVXListItem::Assign(source);
}

TKVXWaveList::TKVXWaveList(TComponent* owner) : TKVXCustomContainer(owner, &MakeItem<TKVXWaveListItem>, TKVXListKind::WaveList) {}

}  // namespace kvx
