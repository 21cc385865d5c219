// Containers: non-visual components that own a list of items (bitmaps, image strips, string lists,
// wave sounds) and tell every control showing one of them when something changed.
//
// Controls listen through a TKVXChangeLink registered with the container. An item's own change goes to
// its container's OnChange only; a container-level change (add, insert, clear, assign, load) calls every
// link, in registration order, then the container's OnChange. Items are written to form text as children
// of their container, each with its stored data in the binary property "Internal".
//
// The stream header that begins every item's stored data:
//   flags         1 byte    bit 0 compressed; bit 1 a description follows; bit 2 an ident follows;
//                           bit 3 the item has data; bits 4-6 the save pixel format of picture items
//   description   1 + n     with bit 1: a length byte (0..255) and the characters
//   ident         4 bytes   with bit 2: the ident, 32-bit little-endian (read back into 16 bits)
//
// A container stored with SaveToStream: a 32-bit item count; with offsets, one 32-bit stream position
// per item (where its header begins); then the items one after another.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/streams.h"
#include "widgets/kvxclass.h"
#include "widgets/kvxutils.h"

namespace kvx {

class TKVXBaseContainer;

// Header flag bits.
constexpr uint8_t kItemCompressed = 0x01;
constexpr uint8_t kItemDescription = 0x02;
constexpr uint8_t kItemIdent = 0x04;
constexpr uint8_t kItemHasData = 0x08;
constexpr uint8_t kItemPixelFormatMask = 0x70;
constexpr int kItemPixelFormatShift = 4;

class TKVXChangeLink : public TObject {
public:
    TKVXChangeLink() = default;
    // Unregisters from Sender.
    ~TKVXChangeLink() override;

    // The container this link is registered with; null when none.
    TKVXBaseContainer* Sender() const { return sender_; }
    TNotifyEvent OnChange;
    // Raises OnChange(Sender).
    virtual void Change();

private:
    friend class TKVXBaseContainer;
    TKVXBaseContainer* sender_ = nullptr;
};

class TKVXBaseContainer : public TKVXComponent {
public:
    explicit TKVXBaseContainer(TComponent* owner) : TKVXComponent(owner) {}

    void RegisterChanges(TKVXChangeLink* link);
    void UnregisterChanges(TKVXChangeLink* link);
    int LinkCount() const { return static_cast<int>(links_.size()); }
    // Every link (unless updates are locked), then OnChange.
    void Change() override;

protected:
    // Unregisters all links, last first.
    void BeforeDestruction() override;

private:
    std::vector<TKVXChangeLink*> links_;
};

class TKVXListItem : public TKVXComponent {
public:
    explicit TKVXListItem(TComponent* owner) : TKVXComponent(owner) {}

    const std::string& Description() const { return description_; }
    void SetDescription(const std::string& value);
    uint16_t Ident() const { return ident_; }
    void SetIdent(uint16_t value);
    bool Compressed() const { return compressed_; }
    void SetCompressed(bool value);

    virtual void Clear() = 0;
    virtual bool IsEmpty() const = 0;
    virtual void LoadFromStream(fw::TStream& stream) = 0;
    virtual void SaveToStream(fw::TStream& stream) = 0;
    // Bit 0 from Compressed, bit 1 for a description, bit 2 for an ident; items add their own bits.
    virtual uint8_t StoreFlags() const;

    // Reads the header, sets Compressed, Description and Ident, and returns the flags.
    uint8_t LoadHeader(fw::TStream& stream);
    // Writes the header for StoreFlags (a description is cut to 255 characters).
    void SaveHeader(fw::TStream& stream) const;
    void AssignHeader(const TKVXListItem* source);

    // Its own notification, then the container's OnChange with the item as Sender.
    void Change() override;
    // Read as a child of a container, the item joins that container's list first.
    void ReadState(fw::TReader& reader) override;
    // "Internal": the item's stored data.
    void DefineProperties(fw::TFiler& filer) override;

protected:
    // An item freed on its own leaves its container's list.
    void BeforeDestruction() override;

private:
    std::string description_;
    uint16_t ident_ = 0;
    bool compressed_ = false;
};

// What a container holds (the list classes set it).
enum class TKVXListKind { ImageList = 0, BitmapList = 1, WaveList = 2, StringList = 3 };

class TKVXCustomContainer : public TKVXBaseContainer {
public:
    // Makes a new item of the container's item class, owned by Owner.
    using ItemFactory = TKVXListItem* (*)(TComponent* owner);

    TKVXCustomContainer(TComponent* owner, ItemFactory factory, TKVXListKind kind);

    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError for an index out of range.
    TKVXListItem* Item(int index) const;
    TKVXListKind ListKind() const { return kind_; }
    bool DefaultCompressed() const { return defaultCompressed_; }
    void SetDefaultCompressed(bool value) { defaultCompressed_ = value; }
    TKVXPathPrefix StoragePrefix = TKVXPathPrefix::ppProgram;

    // Appends Item (taking ownership), or a new item of the item class when Item is null; notifies and
    // returns the index.
    int AddItem(TKVXListItem* item = nullptr);
    int InsertItem(int index, TKVXListItem* item = nullptr);
    // Frees every item and notifies.
    void Clear();
    // A new item per item of Source, assigned from it, then one notification.
    void AssignItems(const TKVXCustomContainer* source);
    // A container of the same class: its items and DefaultCompressed, with one notification.
    void Assign(fw::TPersistent* source) override;

    virtual void SaveToStream(fw::TStream& stream, bool withOffsets);
    // Replaces the items by those stored; a damaged stream raises with the items read so far kept, and
    // the listeners are told once in either case.
    virtual void LoadFromStream(fw::TStream& stream, bool withOffsets);

    void GetChildren(ChildProc proc, void* context, TComponent* root) override;
    TComponent* GetChildOwner() override { return this; }

protected:
    void BeforeDestruction() override;
    TKVXListItem* NewItem();

private:
    friend class TKVXListItem;
    void FreeItems();
    void ItemFreed(TKVXListItem* item);

    std::vector<TKVXListItem*> items_;
    ItemFactory factory_;
    TKVXListKind kind_;
    bool defaultCompressed_ = false;
};

}  // namespace kvx
