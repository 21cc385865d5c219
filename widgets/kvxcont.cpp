#include "widgets/kvxcont.h"

#include <algorithm>
#include <typeinfo>

#include "framework/core/filer.h"
#include "framework/core/lists.h"
#include "widgets/kvxstreams.h"

namespace kvx {

// ---- TKVXChangeLink -------------------------------------------------------------------------------

TKVXChangeLink::~TKVXChangeLink() {
    if (sender_) sender_->UnregisterChanges(this);
}

void TKVXChangeLink::Change() {
    if (OnChange) OnChange(sender_);
}

// ---- TKVXBaseContainer ----------------------------------------------------------------------------

void TKVXBaseContainer::RegisterChanges(TKVXChangeLink* link) {
    if (!link) return;
    if (link->sender_ && link->sender_ != this) link->sender_->UnregisterChanges(link);
    link->sender_ = this;
    if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TKVXBaseContainer::UnregisterChanges(TKVXChangeLink* link) {
    auto it = std::find(links_.begin(), links_.end(), link);
    if (it == links_.end()) return;
    link->sender_ = nullptr;
    links_.erase(it);
}

void TKVXBaseContainer::Change() {
    if (Updating()) return;
    // A link may unregister itself (or another) from its handler: walk a copy.
    const std::vector<TKVXChangeLink*> links = links_;
    for (TKVXChangeLink* link : links)
        if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Change();
    TKVXComponent::Change();
}

void TKVXBaseContainer::BeforeDestruction() {
    while (!links_.empty()) UnregisterChanges(links_.back());
    TKVXComponent::BeforeDestruction();
}

// ---- TKVXListItem ---------------------------------------------------------------------------------

void TKVXListItem::SetDescription(const std::string& value) {
    if (value == description_) return;
    description_ = value;
    Change();
}

void TKVXListItem::SetIdent(uint16_t value) {
    if (value == ident_) return;
    ident_ = value;
    Change();
}

void TKVXListItem::SetCompressed(bool value) {
    if (value == compressed_) return;
    compressed_ = value;
    Change();
}

uint8_t TKVXListItem::StoreFlags() const {
    uint8_t flags = 0;
    if (compressed_) flags |= kItemCompressed;
    if (!description_.empty()) flags |= kItemDescription;
    if (ident_ != 0) flags |= kItemIdent;
    return flags;
}

uint8_t TKVXListItem::LoadHeader(fw::TStream& stream) {
    const uint8_t flags = KVXReadByte(stream);
    std::string description;
    uint16_t ident = 0;
    if (flags & kItemDescription) KVXReadShortString(stream, description);
    if (flags & kItemIdent) ident = static_cast<uint16_t>(KVXReadInteger(stream));
    compressed_ = (flags & kItemCompressed) != 0;
    description_ = std::move(description);
    ident_ = ident;
    return flags;
}

void TKVXListItem::SaveHeader(fw::TStream& stream) const {
    const uint8_t flags = StoreFlags();
    KVXWriteByte(stream, flags);
    if (flags & kItemDescription) KVXWriteShortString(stream, description_);
    if (flags & kItemIdent) KVXWriteInteger(stream, ident_);
}

void TKVXListItem::AssignHeader(const TKVXListItem* source) {
    if (!source) return;
    compressed_ = source->compressed_;
    description_ = source->description_;
    ident_ = source->ident_;
}

void TKVXListItem::Change() {
    TKVXComponent::Change();
    auto* container = dynamic_cast<TKVXCustomContainer*>(Owner());
    if (!container || container->Updating() || container->InState(fw::csDestroying)) return;
    if (container->OnChange) container->OnChange(this);
}

void TKVXListItem::BeforeDestruction() {
    if (auto* container = dynamic_cast<TKVXCustomContainer*>(Owner())) container->ItemFreed(this);
    TKVXComponent::BeforeDestruction();
}

void TKVXListItem::ReadState(fw::TReader& reader) {
    if (auto* container = dynamic_cast<TKVXCustomContainer*>(reader.Parent())) container->AddItem(this);
    TKVXComponent::ReadState(reader);
}

void TKVXListItem::DefineProperties(fw::TFiler& filer) {
    TKVXComponent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Internal", [this](fw::TStream& s) { LoadFromStream(s); }, [this](fw::TStream& s) { SaveToStream(s); }, true);
}

// ---- TKVXCustomContainer --------------------------------------------------------------------------

TKVXCustomContainer::TKVXCustomContainer(TComponent* owner, ItemFactory factory, TKVXListKind kind)
    : TKVXBaseContainer(owner), factory_(factory), kind_(kind) {}

TKVXListItem* TKVXCustomContainer::Item(int index) const {
    if (index < 0 || index >= Count()) fw::ListIndexError(index);
    return items_[static_cast<size_t>(index)];
}

TKVXListItem* TKVXCustomContainer::NewItem() { return factory_(this); }

int TKVXCustomContainer::AddItem(TKVXListItem* item) { return InsertItem(Count(), item); }

int TKVXCustomContainer::InsertItem(int index, TKVXListItem* item) {
    if (index < 0 || index > Count()) fw::ListIndexError(index);
    if (!item) item = NewItem();
    InsertComponent(item);
    items_.insert(items_.begin() + index, item);
    Change();
    return index;
}

void TKVXCustomContainer::FreeItems() {
    while (!items_.empty()) {
        TKVXListItem* item = items_.back();
        items_.pop_back();
        item->Free();
    }
}

void TKVXCustomContainer::ItemFreed(TKVXListItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it != items_.end()) items_.erase(it);
}

void TKVXCustomContainer::Clear() {
    FreeItems();
    Change();
}

void TKVXCustomContainer::AssignItems(const TKVXCustomContainer* source) {
    if (source && source != this) {
        const std::vector<TKVXListItem*> from = source->items_;
        for (TKVXListItem* s : from) {
            TKVXListItem* item = NewItem();
            items_.push_back(item);
            item->Assign(s);
        }
    }
    Change();
}

void TKVXCustomContainer::Assign(fw::TPersistent* source) {
    auto* other = dynamic_cast<TKVXCustomContainer*>(source);
    if (other && typeid(*other) == typeid(*this)) {
        if (other == this) return;
        UpdateBatch([&] {
            Clear();
            defaultCompressed_ = other->defaultCompressed_;
            AssignItems(other);
        });
        return;
    }
    TKVXBaseContainer::Assign(source);
}

void TKVXCustomContainer::SaveToStream(fw::TStream& stream, bool withOffsets) {
    KVXWriteInteger(stream, Count());
    if (!withOffsets || items_.empty()) {
        for (TKVXListItem* item : items_) item->SaveToStream(stream);
        return;
    }
    const int64_t table = stream.Position();
    for (size_t i = 0; i < items_.size(); ++i) KVXWriteInteger(stream, 0);
    std::vector<int64_t> starts;
    for (TKVXListItem* item : items_) {
        starts.push_back(stream.Position());
        item->SaveToStream(stream);
    }
    const int64_t end = stream.Position();
    stream.SetPosition(table);
    for (int64_t start : starts) KVXWriteInteger(stream, static_cast<int32_t>(start));
    stream.SetPosition(end);
}

void TKVXCustomContainer::LoadFromStream(fw::TStream& stream, bool withOffsets) {
    UpdateBatch([&] {
        Clear();
        // Every item has at least its header byte (and, with offsets, its 4-byte offset).
        const int32_t count = KVXReadCount(stream, withOffsets ? 5 : 1);
        if (withOffsets && count > 0) stream.Seek(int64_t{4} * count, fw::soFromCurrent);
        for (int32_t i = 0; i < count; ++i) Item(AddItem())->LoadFromStream(stream);
    });
}

void TKVXCustomContainer::GetChildren(ChildProc proc, void* context, TComponent*) {
    for (TKVXListItem* item : items_) proc(context, item);
}

void TKVXCustomContainer::BeforeDestruction() {
    FreeItems();
    TKVXBaseContainer::BeforeDestruction();
}

}  // namespace kvx
