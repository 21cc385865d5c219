// The object model: TObject, TPersistent and TComponent.
//
// Components form an ownership tree. An owner frees what it owns; cross-pointers between components are
// raw and are cleared through free notification (FreeNotification + Notification(c, opRemove)).
// Components die only through Free(): the destructor is protected, and Free() first runs
// BeforeDestruction() while the whole object is still alive (csDestroying, opRemove to everyone who
// asked, owned components freed in reverse creation order).
//
// Create components with fw::Make<T>(owner, args...): it constructs the object and then tells the owner
// and the owner's other components (opInsert) with the finished object, so that a receiver can look at
// its class. `new T(owner)` also makes the owner own it, but nobody hears opInsert.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/exceptions.h"

namespace fw {

class TClassInfo;
class TFiler;
class TReader;
class TComponent;

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    // The registered class of this object's dynamic type, or null when that type was never registered.
    const TClassInfo* ClassInfo() const;
    // The registered class name; for an unregistered type, the C++ type name.
    std::string ClassName() const;
    // True when this object's class is `cls` or descends from it (by the registered parent chain).
    bool InheritsFrom(const TClassInfo* cls) const;
    bool InheritsFrom(const std::string& className) const;

    // Runs BeforeDestruction, then deletes the object.
    void Free();

protected:
    virtual void BeforeDestruction() {}
};

// Frees the object (if any) and clears the pointer first, so that notifications see it gone.
template <class T>
void FreeAndNil(T*& object) {
    T* doomed = object;
    object = nullptr;
    if (doomed) static_cast<TObject*>(doomed)->Free();
}

class TPersistent : public TObject {
public:
    // Copies `source` into this object. The fallback asks the source to AssignTo this object, whose
    // fallback raises EConvertError "Cannot assign a <source> to a <this>".
    virtual void Assign(TPersistent* source);
    // The owner of a sub-object (a TFont's control), for naming paths; null at the top.
    virtual TPersistent* GetOwner() { return nullptr; }
    // Properties that are streamed but not published (binary data, "IsForm", "UniqueID").
    virtual void DefineProperties(TFiler& filer) {}

protected:
    virtual void AssignTo(TPersistent* dest);
    [[noreturn]] void AssignError(TPersistent* source);
};

enum TOperation { opInsert, opRemove };

// ComponentState bits.
enum : uint32_t {
    csLoading = 1u << 0,
    csReading = 1u << 1,
    csWriting = 1u << 2,
    csDestroying = 1u << 3,
    csDesigning = 1u << 4,  // never set: there is no designer
    csUpdating = 1u << 5,
};
using TComponentState = uint32_t;

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner);

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;
    // The index of this component in its owner's list, or -1.
    int ComponentIndex() const;

    const std::string& Name() const { return name_; }
    // Renames the component. The name must be an identifier (or empty) and unique among the owner's
    // components, ignoring case; a clash raises EComponentError unless an override settles it first.
    virtual void SetName(const std::string& newName);

    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    TComponentState ComponentState() const { return state_; }
    bool InState(TComponentState bits) const { return (state_ & bits) != 0; }
    void SetComponentState(TComponentState bits) { state_ |= bits; }
    void ClearComponentState(TComponentState bits) { state_ &= ~bits; }

    // An owned component by name, ignoring case; null when none.
    TComponent* FindComponent(const std::string& name) const;

    // Moves ownership. InsertComponent sends opInsert, RemoveComponent opRemove.
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    // Asks to hear (opRemove) when `component` is freed. Works across owners; both sides forget each
    // other when either is freed.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Marks this component and everything it owns csDestroying.
    virtual void Destroying();

    // Streaming hooks. ReadState reads this component's properties and child objects; components wrap
    // it. Loaded runs once the whole root and its references are read, and clears csLoading.
    virtual void ReadState(TReader& reader);
    virtual void Loaded();
    // The form's OnCreate point: runs after every Loaded of a load.
    virtual void DoCreate() {}

    // Streamed children: GetChildren lists the components written nested in this one (a root lists the
    // components it owns that have no other streamed parent).
    using ChildProc = void (*)(void* context, TComponent* child);
    virtual void GetChildren(ChildProc proc, void* context, TComponent* root) {}
    // The owner for components read nested in this one (null: the root).
    virtual TComponent* GetChildOwner() { return nullptr; }
    // The parent handed to components read nested in this one (TReader::Parent()).
    virtual TComponent* GetChildParent() { return this; }
    // The streaming parent (a control's Parent); the reader writes nesting from it.
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* parent) {}

    TPersistent* GetOwner() override { return owner_; }

protected:
    ~TComponent() override;
    void BeforeDestruction() override;

    // opInsert when a component joins this one's owner; opRemove when a component this one owns, shares
    // an owner with, or asked about through FreeNotification is going. The base forwards to every owned
    // component.
    virtual void Notification(TComponent* component, TOperation operation);

    // Raises EComponentError if `newName` is not acceptable for `component` (owned by this one).
    virtual void ValidateRename(TComponent* component, const std::string& currentName,
                                const std::string& newName);

private:
    template <class T, class... A>
    friend T* Make(TComponent* owner, A&&... args);

    void Insert(TComponent* component);
    void Remove(TComponent* component);
    // Points the owner's registered field of this component's name at it (or clears it).
    void SetReference(bool enable);
    void NotifyInserted();

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::string name_;
    int tag_ = 0;
    TComponentState state_ = 0;
};

// Constructs a component and tells its owner and the owner's components (opInsert).
template <class T, class... A>
T* Make(TComponent* owner, A&&... args) {
    T* component = new T(owner, std::forward<A>(args)...);
    component->NotifyInserted();
    return component;
}

// ASCII case-insensitive equality (component and property names are identifiers).
bool SameName(const std::string& a, const std::string& b);
// A Pascal identifier: a letter or '_' first, then letters, digits and '_'.
bool IsValidIdent(const std::string& name);

// The global list of loaded roots (forms and data modules), found by name for "Root.Name" references.
// A root is added once its load has finished and removed when it is freed.
void RegisterGlobalRoot(TComponent* root);
void UnregisterGlobalRoot(TComponent* root);
TComponent* FindGlobalComponent(const std::string& name);
bool IsGlobalRoot(const TComponent* component);

}  // namespace fw
