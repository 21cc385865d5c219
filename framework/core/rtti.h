// Reflection: registered classes with their published properties, handlers, fields and factories.
//
// Registration is explicit. Each library has a RegisterClasses() that every program and test main calls
// once (calling it again is harmless); there are no static registrars. A class is registered after its
// base, and an enumeration before the classes that publish it:
//
//   enum class TAlign { alNone, alTop, alBottom };
//   void RegisterClasses() {
//       fw::RegisterEnum<TAlign>({"alNone", "alTop", "alBottom"});
//       fw::Class<TUnZIP, TZipCommon>("TUnZIP")
//           .Prop("ArchiveFile", &TUnZIP::ArchiveFile, &TUnZIP::SetArchiveFile)  // kind from the type
//           .Prop("Align", &TUnZIP::Align, &TUnZIP::SetAlign)                     // enum: needs RegisterEnum
//           .Prop("ftArchive", 0, &TUnZIP::GetAttr, &TUnZIP::SetAttr)             // indexed accessor
//           .Stored(&TUnZIP::IsAlignStored)                                       // modifies the last Prop
//           .Prop("Font", &TUnZIP::Font)                                          // owned sub-object
//           .Event("OnBegin", &TUnZIP::OnBegin);                                  // an fw::Event member
//       fw::Class<TfrmZipMain, TForm>("TfrmZipMain")
//           .Field("UnZIP1", &TfrmZipMain::UnZIP1)                                // a form's component
//           .Method("UnZIP1Progress", &TfrmZipMain::UnZIP1Progress);              // a handler by name
//   }
//
// Kinds follow the C++ type of the getter: bool and enums are Enum (with their name table), fw::Set<E>
// is Set, int and smaller integers Integer, int64_t Int64, char Char, float/double Float, std::string
// String, a pointer to a TComponent Reference, a pointer to another TPersistent Object. A component class
// that can be built from an owner gets a factory, so forms can create it by class name.
//
// Names are looked up ignoring ASCII case, starting at the most derived class: a subclass may re-declare
// a published name with another kind, and then takes its ancestor's slot in GetPropList.
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/object.h"

namespace fw {

enum class TypeKind { Integer, Int64, Char, Float, String, Enum, Set, Object, Reference, Method };
using TypeKinds = uint32_t;
constexpr TypeKinds KindBit(TypeKind k) { return 1u << static_cast<unsigned>(k); }
constexpr TypeKinds tkAny = 0xFFFFFFFFu;
constexpr TypeKinds tkProperties = tkAny & ~KindBit(TypeKind::Method);

// Names of an enumeration's values (ordinal = position), also the elements of a set (0..31).
struct NameTable {
    std::string typeName;
    std::vector<std::string> names;
    int IndexOf(const std::string& name) const;  // ignoring case; -1 when absent
};

// Identifiers for some integer values (colours, cursors, modal results). Values without an identifier
// are written in decimal, or as $XXXXXXXX when `hexFallback` is set (colours).
struct IdentTable {
    std::vector<std::pair<std::string, int64_t>> idents;
    bool hexFallback = false;
    const std::string* NameOf(int64_t value) const;
    bool ValueOf(const std::string& name, int64_t& value) const;
};

// A set of up to 32 enumeration values.
template <class E>
class Set {
public:
    constexpr Set() = default;
    constexpr Set(std::initializer_list<E> items) {
        for (E e : items) bits_ |= Bit(e);
    }
    static constexpr Set FromBits(uint32_t bits) {
        Set s;
        s.bits_ = bits;
        return s;
    }
    constexpr uint32_t Bits() const { return bits_; }
    constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr Set& Include(E e) { bits_ |= Bit(e); return *this; }
    constexpr Set& Exclude(E e) { bits_ &= ~Bit(e); return *this; }
    constexpr Set operator+(Set o) const { return FromBits(bits_ | o.bits_); }
    constexpr Set operator-(Set o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr Set operator*(Set o) const { return FromBits(bits_ & o.bits_); }
    constexpr bool operator==(const Set& o) const = default;

private:
    static constexpr uint32_t Bit(E e) { return 1u << static_cast<unsigned>(e); }
    uint32_t bits_ = 0;
};

template <class T>
struct IsSet : std::false_type {};
template <class E>
struct IsSet<Set<E>> : std::true_type {
    using Element = E;
};

struct PropInfo {
    std::string name;
    TypeKind kind = TypeKind::Integer;
    const TClassInfo* declaredIn = nullptr;
    int index = -1;                           // the index handed to an indexed accessor pair
    const NameTable* names = nullptr;         // Enum and Set
    const IdentTable* idents = nullptr;       // optional, Integer and Int64
    const std::type_info* objectType = nullptr;  // Object and Reference: the declared pointee type
    const std::type_info* eventTag = nullptr;    // Method: the signature
    int floatSize = 0;                        // Float: sizeof the C++ type (4 single, 8 double, more extended)
    bool readOnly = false;
    std::function<bool(TObject*)> stored;     // null: always stored

    // Type-erased accessors; the set matching `kind` is filled.
    std::function<int64_t(TObject*)> getOrd;  // Integer, Int64, Char, Enum, Set
    std::function<void(TObject*, int64_t)> setOrd;
    std::function<double(TObject*)> getFloat;
    std::function<void(TObject*, double)> setFloat;
    std::function<std::string(TObject*)> getStr;
    std::function<void(TObject*, const std::string&)> setStr;
    std::function<TObject*(TObject*)> getObject;  // Object, Reference
    std::function<void(TObject*, TObject*)> setObject;
    std::function<bool(TObject*)> acceptsObject;  // Reference: is this object of the declared type?
    std::function<std::any(TObject*)> getMethod;  // Method: an fw::Event<Sig> in a std::any
    std::function<void(TObject*, const std::any&)> setMethod;
    std::function<bool(const std::any&, const std::any&)> methodEquals;
    std::function<bool(const std::any&)> methodAssigned;

    bool IsStored(TObject* instance) const { return !stored || stored(instance); }
};

// A handler a form publishes by name, bound to a form instance on demand.
struct MethodInfo {
    std::string name;
    const std::type_info* eventTag = nullptr;
    std::function<std::any(TObject* instance)> bind;  // an fw::Event<Sig> for `instance`
};

// A form's component member, set when a component of that name is read into the form.
struct FieldInfo {
    std::string name;
    std::function<bool(TObject* root, TComponent* value)> assign;  // false: wrong class
    std::function<TComponent*(TObject* root)> get;
    std::string typeName;
};

class TClassInfo {
public:
    const std::string& Name() const { return name_; }
    const TClassInfo* Parent() const { return parent_; }
    bool InheritsFrom(const TClassInfo* other) const;

    // Declared here (not inherited), in declaration order.
    const std::vector<std::unique_ptr<PropInfo>>& OwnProps() const { return props_; }
    // Found here or in an ancestor, most derived first, ignoring case.
    const PropInfo* FindProp(const std::string& name) const;
    const MethodInfo* FindMethod(const std::string& name) const;
    const FieldInfo* FindField(const std::string& name) const;
    // The handler name bound in `event` (an Event in a std::any) to `instance`, or "" when none matches.
    std::string MethodName(TObject* instance, const PropInfo& eventProp, const std::any& event) const;

    bool CanCreate() const { return static_cast<bool>(factory_); }
    // A new component of this class owned by `owner`; EClassNotFound-style error when not creatable.
    TComponent* Create(TComponent* owner) const;

private:
    template <class T, class B>
    friend class Class;
    friend TClassInfo* RegisterClassInfo(const std::string&, const std::type_info&, const std::type_info*, bool&);

    std::string name_;
    const TClassInfo* parent_ = nullptr;
    const std::type_info* type_ = nullptr;
    std::vector<std::unique_ptr<PropInfo>> props_;
    std::vector<MethodInfo> methods_;
    std::vector<FieldInfo> fields_;
    std::function<TComponent*(TComponent*)> factory_;
};

// Registry look-ups.
const TClassInfo* FindClass(const std::string& name);          // null when unknown (ignores case)
const TClassInfo& GetClass(const std::string& name);           // raises EClassNotFound "Class %s not found"
const TClassInfo* FindClassInfo(const std::type_info& type);   // by C++ type
template <class T>
const TClassInfo* ClassInfoOf() {
    return FindClassInfo(typeid(T));
}

// Enumeration name tables.
const NameTable& RegisterEnumTable(const std::type_info& type, std::string typeName,
                                   std::vector<std::string> names);
const NameTable* FindEnumTable(const std::type_info& type);
template <class E>
const NameTable& RegisterEnum(std::vector<std::string> names, std::string typeName = {}) {
    return RegisterEnumTable(typeid(E), typeName.empty() ? std::string(typeid(E).name()) : typeName,
                             std::move(names));
}
const NameTable& BooleanNames();  // {False, True}

// Property access through PropInfo (by the kind's accessors).
const PropInfo* FindProp(const TObject* instance, const std::string& name);
std::vector<const PropInfo*> GetPropList(const TObject* instance, TypeKinds kinds = tkProperties);
std::vector<const PropInfo*> GetPropList(const TClassInfo* cls, TypeKinds kinds = tkProperties);

int64_t GetOrdProp(TObject* instance, const PropInfo& prop);
void SetOrdProp(TObject* instance, const PropInfo& prop, int64_t value);
double GetFloatProp(TObject* instance, const PropInfo& prop);
void SetFloatProp(TObject* instance, const PropInfo& prop, double value);
std::string GetStrProp(TObject* instance, const PropInfo& prop);
void SetStrProp(TObject* instance, const PropInfo& prop, const std::string& value);
TObject* GetObjectProp(TObject* instance, const PropInfo& prop);
void SetObjectProp(TObject* instance, const PropInfo& prop, TObject* value);
std::any GetMethodProp(TObject* instance, const PropInfo& prop);
void SetMethodProp(TObject* instance, const PropInfo& prop, const std::any& value);

// Default text per kind: integers in decimal (or an identifier, or $XXXXXXXX for colours); enum names;
// sets as [a,b]; floats as the shortest text that reads back exactly, with '.'; strings as they are;
// references as Name (same root) or Root.Name; events as the root's handler name. `root` is the component
// that names are relative to (null: found from the instance's owners).
std::string GetPropText(TObject* instance, const PropInfo& prop, TComponent* root = nullptr);
// The reverse; raises EConvertError or EPropertyError on text the kind cannot take.
void SetPropText(TObject* instance, const PropInfo& prop, const std::string& text, TComponent* root = nullptr);

// Text of single values (used by the form text too).
std::string FloatToText(double value);
bool TextToFloat(const std::string& text, double& value);
bool TextToInt64(const std::string& text, int64_t& value);  // decimal, -decimal or $hex
std::string SetToText(uint32_t bits, const NameTable& names);
std::string OrdToText(const PropInfo& prop, int64_t value);
int64_t TextToOrd(const PropInfo& prop, const std::string& text);

// The component that names inside `instance` are relative to: the nearest loaded root above it, else the
// topmost owner.
TComponent* RootOf(TPersistent* instance);
// "Name" when `target` is `root` or owned by it, "Root.Name" otherwise.
std::string ReferenceName(TComponent* target, TComponent* root);
// Finds "Name" in `root` (or `root` itself) or "Root.Name" among the global roots.
TComponent* ResolveReference(const std::string& text, TComponent* root);

// fw_core's own classes: TObject, TPersistent, TComponent (Name, Tag), TStrings, TStringList,
// TCollection, TCollectionItem. Other fw_core units add their registrations to its body in rtti.cpp
// (one function per library, so no second definition elsewhere in fw_core).
void RegisterClasses();

// ---- registration machinery ------------------------------------------------------------------------

TClassInfo* RegisterClassInfo(const std::string& name, const std::type_info& type, const std::type_info* parent,
                              bool& alreadyRegistered);

namespace detail {

template <class M>
struct MemberTraits;
template <class R, class C>
struct MemberTraits<R (C::*)() const> {
    using Value = std::decay_t<R>;
};
template <class R, class C>
struct MemberTraits<R (C::*)()> {
    using Value = std::decay_t<R>;
};
template <class R, class C>
struct MemberTraits<R (C::*)(int) const> {
    using Value = std::decay_t<R>;
};
template <class R, class C>
struct MemberTraits<R (C::*)(int)> {
    using Value = std::decay_t<R>;
};

template <class V>
constexpr bool IsOrdinal = std::is_integral_v<V> || std::is_enum_v<V> || IsSet<V>::value;

template <class V>
int64_t ToOrd(const V& v) {
    if constexpr (IsSet<V>::value)
        return static_cast<int64_t>(v.Bits());
    else
        return static_cast<int64_t>(v);
}
template <class V>
V FromOrd(int64_t o) {
    if constexpr (IsSet<V>::value)
        return V::FromBits(static_cast<uint32_t>(o));
    else if constexpr (std::is_same_v<V, bool>)
        return o != 0;
    else
        return static_cast<V>(o);
}

void FailRegistration(const std::string& message);

}  // namespace detail

template <class T, class Base = void>
class Class {
public:
    explicit Class(const std::string& name) {
        info_ = RegisterClassInfo(name, typeid(T), std::is_void_v<Base> ? nullptr : &TypeOfBase(), skip_);
        if (skip_) return;
        // (is_constructible would also demand a public destructor, which components do not have.)
        if constexpr (std::is_base_of_v<TComponent, T> && !std::is_abstract_v<T> &&
                      requires(TComponent* owner) { new T(owner); }) {
            info_->factory_ = [](TComponent* owner) -> TComponent* { return Make<T>(owner); };
        }
    }

    // A property with a getter and an optional setter (nullptr: read-only).
    template <class G, class S = std::nullptr_t>
    Class& Prop(const std::string& name, G getter, S setter = nullptr) {
        using V = typename detail::MemberTraits<G>::Value;
        if (skip_) return *this;
        PropInfo& p = NewProp<V>(name);
        Fill<V>(p, [=](TObject* o) -> V { return (Self(o)->*getter)(); }, setter,
                [=](TObject* o, V v) {
                    if constexpr (!std::is_same_v<S, std::nullptr_t>) (Self(o)->*setter)(v);
                });
        return *this;
    }

    // A property over a public data member: reads and writes the member, with no side effects.
    template <class V, class C>
        requires std::is_base_of_v<C, T>
    Class& Data(const std::string& name, V C::*member) {
        if (skip_) return *this;
        PropInfo& p = NewProp<V>(name);
        Fill<V>(p, [=](TObject* o) -> V { return Self(o)->*member; }, 0, [=](TObject* o, V v) { Self(o)->*member = v; });
        return *this;
    }

    // An indexed property: one accessor pair serves several names, told apart by `index`.
    template <class G, class S>
    Class& Prop(const std::string& name, int index, G getter, S setter) {
        using V = typename detail::MemberTraits<G>::Value;
        if (skip_) return *this;
        PropInfo& p = NewProp<V>(name);
        p.index = index;
        Fill<V>(p, [=](TObject* o) -> V { return (Self(o)->*getter)(index); }, setter,
                [=](TObject* o, V v) {
                    if constexpr (!std::is_same_v<S, std::nullptr_t>) (Self(o)->*setter)(index, v);
                });
        return *this;
    }

    // An event: a public fw::Event member.
    template <class Sig>
    Class& Event(const std::string& name, fw::Event<Sig> T::*member) {
        if (skip_) return *this;
        using E = fw::Event<Sig>;
        PropInfo& p = AddProp(name);
        p.kind = TypeKind::Method;
        p.eventTag = &typeid(Sig);
        p.getMethod = [member](TObject* o) { return std::any(Self(o)->*member); };
        p.setMethod = [member](TObject* o, const std::any& v) {
            Self(o)->*member = v.has_value() ? std::any_cast<const E&>(v) : E();
        };
        p.methodEquals = [](const std::any& a, const std::any& b) {
            return std::any_cast<const E&>(a) == std::any_cast<const E&>(b);
        };
        p.methodAssigned = [](const std::any& a) {
            return a.has_value() && std::any_cast<const E&>(a).Assigned();
        };
        return *this;
    }

    // A handler that form text binds by name.
    template <class... Args>
    Class& Method(const std::string& name, void (T::*method)(TObject*, Args...)) {
        if (skip_) return *this;
        using Sig = void(TObject*, Args...);
        MethodInfo m;
        m.name = name;
        m.eventTag = &typeid(Sig);
        m.bind = [method](TObject* o) { return std::any(fw::Event<Sig>(Self(o), method)); };
        info_->methods_.push_back(std::move(m));
        return *this;
    }

    // A component member of a form, set by name when the component is read.
    template <class F>
    Class& Field(const std::string& name, F* T::*member) {
        if (skip_) return *this;
        FieldInfo f;
        f.name = name;
        f.typeName = typeid(F).name();
        if (const TClassInfo* fc = FindClassInfo(typeid(F))) f.typeName = fc->Name();
        f.assign = [member](TObject* root, TComponent* value) {
            F* typed = value ? dynamic_cast<F*>(value) : nullptr;
            if (value && !typed) return false;
            Self(root)->*member = typed;
            return true;
        };
        f.get = [member](TObject* root) -> TComponent* { return Self(root)->*member; };
        info_->fields_.push_back(std::move(f));
        return *this;
    }

    // Modifiers of the last declared property.
    Class& Stored(bool stored) {
        if (skip_ || info_->props_.empty()) return *this;
        if (stored)
            info_->props_.back()->stored = nullptr;
        else
            info_->props_.back()->stored = [](TObject*) { return false; };
        return *this;
    }
    Class& Stored(bool (T::*predicate)() const) {
        if (skip_ || info_->props_.empty()) return *this;
        info_->props_.back()->stored = [predicate](TObject* o) { return (Self(o)->*predicate)(); };
        return *this;
    }
    Class& Idents(const IdentTable& table) {
        if (skip_ || info_->props_.empty()) return *this;
        info_->props_.back()->idents = &table;
        return *this;
    }

    const TClassInfo* Info() const { return info_; }

private:
    static const std::type_info& TypeOfBase() {
        if constexpr (std::is_void_v<Base>)
            return typeid(void);
        else {
            static_assert(std::is_base_of_v<Base, T>, "Base must be a base of T");
            return typeid(Base);
        }
    }
    static T* Self(TObject* o) { return static_cast<T*>(o); }

    PropInfo& AddProp(const std::string& name) {
        auto p = std::make_unique<PropInfo>();
        p->name = name;
        p->declaredIn = info_;
        info_->props_.push_back(std::move(p));
        return *info_->props_.back();
    }

    template <class V>
    PropInfo& NewProp(const std::string& name) {
        PropInfo& p = AddProp(name);
        if constexpr (std::is_same_v<V, bool>) {
            p.kind = TypeKind::Enum;
            p.names = &BooleanNames();
        } else if constexpr (std::is_same_v<V, char>) {
            p.kind = TypeKind::Char;
        } else if constexpr (std::is_enum_v<V>) {
            p.kind = TypeKind::Enum;
            p.names = FindEnumTable(typeid(V));
            if (!p.names) detail::FailRegistration(info_->Name() + "." + name + ": enumeration not registered");
        } else if constexpr (IsSet<V>::value) {
            p.kind = TypeKind::Set;
            p.names = FindEnumTable(typeid(typename IsSet<V>::Element));
            if (!p.names) detail::FailRegistration(info_->Name() + "." + name + ": enumeration not registered");
        } else if constexpr (std::is_integral_v<V>) {
            p.kind = sizeof(V) > 4 ? TypeKind::Int64 : TypeKind::Integer;
        } else if constexpr (std::is_floating_point_v<V>) {
            p.kind = TypeKind::Float;
            p.floatSize = static_cast<int>(sizeof(V));
        } else if constexpr (std::is_same_v<V, std::string>) {
            p.kind = TypeKind::String;
        } else if constexpr (std::is_pointer_v<V>) {
            using P = std::remove_cv_t<std::remove_pointer_t<V>>;
            static_assert(std::is_base_of_v<TPersistent, P>, "pointer properties must be TPersistent");
            p.kind = std::is_base_of_v<TComponent, P> ? TypeKind::Reference : TypeKind::Object;
            p.objectType = &typeid(P);
        } else {
            static_assert(sizeof(V) == 0, "unsupported property type");
        }
        return p;
    }

    template <class V, class Get, class S, class Put>
    void Fill(PropInfo& p, Get get, S setter, Put put) {
        p.readOnly = std::is_same_v<S, std::nullptr_t>;
        if constexpr (detail::IsOrdinal<V>) {
            p.getOrd = [get](TObject* o) { return detail::ToOrd<V>(get(o)); };
            if (!p.readOnly) p.setOrd = [put](TObject* o, int64_t v) { put(o, detail::FromOrd<V>(v)); };
        } else if constexpr (std::is_floating_point_v<V>) {
            p.getFloat = [get](TObject* o) { return static_cast<double>(get(o)); };
            if (!p.readOnly) p.setFloat = [put](TObject* o, double v) { put(o, static_cast<V>(v)); };
        } else if constexpr (std::is_same_v<V, std::string>) {
            p.getStr = [get](TObject* o) { return get(o); };
            if (!p.readOnly) p.setStr = [put](TObject* o, const std::string& v) { put(o, v); };
        } else if constexpr (std::is_pointer_v<V>) {
            using P = std::remove_cv_t<std::remove_pointer_t<V>>;
            p.getObject = [get](TObject* o) -> TObject* { return const_cast<P*>(get(o)); };
            p.acceptsObject = [](TObject* v) { return v == nullptr || dynamic_cast<P*>(v) != nullptr; };
            if (!p.readOnly) p.setObject = [put](TObject* o, TObject* v) { put(o, v ? dynamic_cast<P*>(v) : nullptr); };
        }
    }

    TClassInfo* info_ = nullptr;
    bool skip_ = false;
};

}  // namespace fw
