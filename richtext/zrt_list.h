// A keyed list of named fixed-size records (table definitions, insertion-point names, styles). New
// nodes go to the front; keys are handed out as the largest key + 1.
#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <deque>
#include <vector>

#include "richtext/model_types.h"

namespace rt {

class TZrtList {
public:
    explicit TZrtList(int recordSize = 0) : recordSize_(recordSize) {}
    virtual ~TZrtList() { Clear(); }
    TZrtList(const TZrtList&) = delete;
    TZrtList& operator=(const TZrtList&) = delete;

    // Called with a node's data before it is freed.
    std::function<void(void* data, int arg)> OnFree;

    virtual void Clear();
    virtual int Add(const std::string& name, const void* data);
    virtual void AddKeyed(int key, const std::string& name, const void* data);
    virtual void Rename(int key, const std::string& name);
    virtual bool Get(std::string& name, void* data, int key) const;
    virtual bool FindByName(std::string& name, void* data, int& key) const;
    virtual bool Update(const std::string* name, const void* data, int key);
    virtual void Delete(int key, int arg = 0);

    void Assign(const TZrtList& list);
    std::string NameOfKey(int key) const;
    int KeyOfName(const std::string& name) const;
    int RecordSize() const { return recordSize_; }
    int Count() const { return static_cast<int>(nodes_.size()); }
    int LastKey() const { return lastKey_; }

    // Typed access for lists of one record type.
    template <class T>
    bool GetRecord(int key, T& record) const {
        static_assert(std::is_trivially_copyable_v<T>);
        std::string name;
        return sizeof(T) == static_cast<size_t>(recordSize_) && Get(name, &record, key);
    }

protected:
    struct Node {
        std::vector<uint8_t> data;
        std::string name;
        int key = 0;
    };
    const Node* Find(int key) const;
    Node* Find(int key);

    int recordSize_;
    int lastKey_ = 0;
    int maxKey_ = 0;          // the largest key in the list
    std::deque<Node> nodes_;  // front first
};

// One style of a style sheet.
struct TStyleRecord {
    char Name[41] = {};
    int32_t CharStyle = 0;
    int32_t ParStyle = 0;
    int32_t SectionStyle = 0;
    uint8_t Reserved[6] = {};
    int32_t Fn = 0;
    TParagraph Par;  // links and objects are always null
    TAttrCell Cell;
    uint8_t Additive = 0;
    uint8_t AutoUpdate = 0;
    uint8_t Hidden = 0;
    int32_t BasedOn = 0;
    int32_t NextStyle = 0;
};
static_assert(std::is_trivially_copyable_v<TStyleRecord>);

// A table definition: the row's left offset and cell gap, and the space to the right of the row.
struct TTableDef {
    int32_t LeftOffset = 0;
    int32_t Gap = 0;
    int32_t SpaceRight = 0;
    int32_t Spare = 0;
};

class TZrtStyleList : public TZrtList {
public:
    TZrtStyleList() : TZrtList(sizeof(TStyleRecord)) {}
    // The style whose character (kind 0), paragraph (1) or section (2) style number is `number`.
    bool FindStyle(int number, int kind, TStyleRecord& style) const;
};

}  // namespace rt
