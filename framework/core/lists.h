// Lists: TList (of pointers), TStrings and TStringList, TCollection/TCollectionItem and TBits.
//
// TStrings is abstract over eight virtual primitives (Get, Put, GetObject, PutObject, Insert, Delete,
// Clear, Count), so that list boxes, combo boxes and memos can present their items as TStrings. Objects
// attached to strings are never owned.
//
// TStringList is CASE-INSENSITIVE by default (IndexOf, Find, sorting, duplicates); set CaseSensitive to
// change that. Index errors raise EListError "List index out of bounds (%d)".
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/object.h"

namespace fw {

class TStream;

[[noreturn]] void ListIndexError(int index);

class TList : public TObject {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    void* Get(int index) const;
    void Put(int index, void* item);
    void* operator[](int index) const { return Get(index); }
    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    int Remove(void* item);  // the index it had, or -1
    int IndexOf(void* item) const;
    void Exchange(int index1, int index2);
    void Move(int curIndex, int newIndex);
    void* First() const { return Get(0); }
    void* Last() const { return Get(Count() - 1); }
    void Clear() { items_.clear(); }
    void Pack();  // drops null items
    void Sort(const std::function<int(void*, void*)>& compare);

private:
    void Check(int index) const;
    std::vector<void*> items_;
};

class TStrings : public TPersistent {
public:
    // The primitives.
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& s);
    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* object);
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int Count() const = 0;

    std::string Strings(int index) const { return Get(index); }
    void SetStrings(int index, const std::string& s) { Put(index, s); }
    std::string operator[](int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }
    void SetObjects(int index, TObject* object) { PutObject(index, object); }

    virtual int Add(const std::string& s);
    int AddObject(const std::string& s, TObject* object);
    void Append(const std::string& s) { Add(s); }
    void InsertObject(int index, const std::string& s, TObject* object);
    void AddStrings(const TStrings& strings);
    virtual int IndexOf(const std::string& s) const;  // ignoring case unless the list says otherwise
    int IndexOfObject(TObject* object) const;
    virtual void Exchange(int index1, int index2);
    virtual void Move(int curIndex, int newIndex);
    bool Equals(const TStrings& other) const;

    // "Name=Value" lines.
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    int IndexOfName(const std::string& name) const;
    std::string Values(const std::string& name) const;
    void SetValue(const std::string& name, const std::string& value);  // an empty value deletes the line

    // All lines joined with CR LF after each; setting splits at CR LF, LF or CR.
    std::string Text() const;
    void SetText(const std::string& text);
    // Comma-separated, items with blanks, commas or quotes in double quotes ("" for a quote).
    std::string CommaText() const;
    void SetCommaText(const std::string& text);

    // Nested updates: SetUpdateState(true) on the first BeginUpdate, (false) on the last EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    void Assign(TPersistent* source) override;

    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

    // How strings compare: equality (IndexOf, IndexOfName) by the fixed ANSI upper-case table, order
    // (sorted lists) as the locale sorts; byte for byte when case-sensitive.
    virtual bool CaseSensitive() const { return false; }
    int CompareStrings(const std::string& a, const std::string& b) const;
    bool SameString(const std::string& a, const std::string& b) const;

protected:
    virtual void SetUpdateState(bool updating) {}
    void AssignTo(TPersistent* dest) override;

private:
    int updateCount_ = 0;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
    TStringList() = default;

    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    int Count() const override { return static_cast<int>(items_.size()); }

    int Add(const std::string& s) override;
    int IndexOf(const std::string& s) const override;
    void Exchange(int index1, int index2) override;

    // Binary search of a sorted list; returns whether found and where it is or would go.
    bool Find(const std::string& s, int& index) const;
    void Sort();
    void CustomSort(const std::function<int(TStringList& list, int index1, int index2)>& compare);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates d) { duplicates_ = d; }
    bool CaseSensitive() const override { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void Changed();
    virtual void Changing();
    void SetUpdateState(bool updating) override;

private:
    struct Item {
        std::string s;
        TObject* object = nullptr;
    };
    void Check(int index) const;
    void InsertItem(int index, const std::string& s, TObject* object);

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = TDuplicates::dupIgnore;
};

class TCollection;

class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    void SetCollection(TCollection* collection);
    int Index() const;
    void SetIndex(int index);
    int ID() const { return id_; }
    virtual std::string DisplayName() const { return ClassName(); }
    TPersistent* GetOwner() override;

protected:
    // Tells the collection that this item changed (all items when `allItems`).
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

// The items of a collection are made by its item factory, so streamed collections can add items.
class TCollection : public TPersistent {
public:
    using ItemFactory = TCollectionItem* (*)(TCollection*);
    template <class T>
    static TCollectionItem* MakeItem(TCollection* c) {
        return new T(c);
    }

    explicit TCollection(ItemFactory factory, TPersistent* owner = nullptr);
    ~TCollection() override;

    int Count() const { return static_cast<int>(items_.size()); }
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;

    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    void Assign(TPersistent* source) override;
    TPersistent* GetOwner() override { return owner_; }

protected:
    // Called after a change: `item` null means the whole collection. Collections of controls override it
    // to tell their owner.
    virtual void Update(TCollectionItem* item) {}
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);

    ItemFactory factory_;
    TPersistent* owner_;
    std::vector<TCollectionItem*> items_;
    int nextId_ = 0;
    int updateCount_ = 0;
};

class TBits : public TObject {
public:
    int Size() const { return static_cast<int>(bits_.size()); }
    void SetSize(int size);
    bool Bits(int index) const;
    void SetBits(int index, bool value);  // grows the set when index >= Size
    int OpenBit() const;                  // the first clear bit (Size when all are set)

private:
    std::vector<bool> bits_;
};

}  // namespace fw
