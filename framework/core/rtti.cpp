#include "framework/core/rtti.h"

#include "framework/core/lists.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <unordered_map>

namespace fw {

namespace {

struct Registry {
    std::vector<std::unique_ptr<TClassInfo>> classes;
    std::map<std::string, TClassInfo*> byName;  // upper-case name
    std::unordered_map<std::type_index, TClassInfo*> byType;
    std::unordered_map<std::type_index, std::unique_ptr<NameTable>> enums;
};

Registry& Reg() {
    static Registry registry;
    return registry;
}

std::string Upper(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

bool IsPrefixDotted(const std::string& text, std::string& first, std::string& second) {
    size_t dot = text.find('.');
    if (dot == std::string::npos) return false;
    first = text.substr(0, dot);
    second = text.substr(dot + 1);
    return true;
}

}  // namespace

namespace detail {
void FailRegistration(const std::string& message) { throw EPropertyError("Class registration: " + message); }
}  // namespace detail

// ---- tables ------------------------------------------------------------------------------------------

int NameTable::IndexOf(const std::string& name) const {
    for (size_t i = 0; i < names.size(); ++i)
        if (SameName(names[i], name)) return static_cast<int>(i);
    return -1;
}

const std::string* IdentTable::NameOf(int64_t value) const {
    for (auto& [name, v] : idents)
        if (v == value) return &name;
    return nullptr;
}

bool IdentTable::ValueOf(const std::string& name, int64_t& value) const {
    for (auto& [n, v] : idents)
        if (SameName(n, name)) {
            value = v;
            return true;
        }
    return false;
}

const NameTable& RegisterEnumTable(const std::type_info& type, std::string typeName, std::vector<std::string> names) {
    auto& slot = Reg().enums[std::type_index(type)];
    if (!slot) slot = std::make_unique<NameTable>();
    slot->typeName = std::move(typeName);
    slot->names = std::move(names);
    return *slot;
}

const NameTable* FindEnumTable(const std::type_info& type) {
    auto& enums = Reg().enums;
    auto it = enums.find(std::type_index(type));
    return it == enums.end() ? nullptr : it->second.get();
}

const NameTable& BooleanNames() {
    static const NameTable table{"Boolean", {"False", "True"}};
    return table;
}

// ---- classes -----------------------------------------------------------------------------------------

TClassInfo* RegisterClassInfo(const std::string& name, const std::type_info& type, const std::type_info* parent,
                              bool& alreadyRegistered) {
    Registry& r = Reg();
    auto existing = r.byType.find(std::type_index(type));
    if (existing != r.byType.end()) {
        alreadyRegistered = true;
        return existing->second;
    }
    alreadyRegistered = false;
    if (r.byName.count(Upper(name))) detail::FailRegistration("class name " + name + " registered twice");
    auto info = std::make_unique<TClassInfo>();
    info->name_ = name;
    info->type_ = &type;
    if (parent) {
        info->parent_ = FindClassInfo(*parent);
        if (!info->parent_) detail::FailRegistration(name + ": its base class is not registered yet");
    }
    TClassInfo* raw = info.get();
    r.classes.push_back(std::move(info));
    r.byName[Upper(name)] = raw;
    r.byType[std::type_index(type)] = raw;
    return raw;
}

const TClassInfo* FindClass(const std::string& name) {
    auto& byName = Reg().byName;
    auto it = byName.find(Upper(name));
    return it == byName.end() ? nullptr : it->second;
}

const TClassInfo& GetClass(const std::string& name) {
    const TClassInfo* c = FindClass(name);
    if (!c) throw EClassNotFound("Class " + name + " not found");
    return *c;
}

const TClassInfo* FindClassInfo(const std::type_info& type) {
    auto& byType = Reg().byType;
    auto it = byType.find(std::type_index(type));
    return it == byType.end() ? nullptr : it->second;
}

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (c == other) return true;
    return false;
}

const PropInfo* TClassInfo::FindProp(const std::string& name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (auto& p : c->props_)
            if (SameName(p->name, name)) return p.get();
    return nullptr;
}

const MethodInfo* TClassInfo::FindMethod(const std::string& name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (auto& m : c->methods_)
            if (SameName(m.name, name)) return &m;
    return nullptr;
}

const FieldInfo* TClassInfo::FindField(const std::string& name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (auto& f : c->fields_)
            if (SameName(f.name, name)) return &f;
    return nullptr;
}

std::string TClassInfo::MethodName(TObject* instance, const PropInfo& eventProp, const std::any& event) const {
    if (!eventProp.methodAssigned || !eventProp.methodAssigned(event)) return {};
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (auto& m : c->methods_)
            if (*m.eventTag == *eventProp.eventTag && eventProp.methodEquals(m.bind(instance), event)) return m.name;
    return {};
}

TComponent* TClassInfo::Create(TComponent* owner) const {
    if (!factory_) throw EClassNotFound("Class " + name_ + " cannot be created by name");
    return factory_(owner);
}

// ---- property access ---------------------------------------------------------------------------------

const PropInfo* FindProp(const TObject* instance, const std::string& name) {
    const TClassInfo* c = instance ? instance->ClassInfo() : nullptr;
    return c ? c->FindProp(name) : nullptr;
}

std::vector<const PropInfo*> GetPropList(const TClassInfo* cls, TypeKinds kinds) {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = cls; c; c = c->Parent()) chain.insert(chain.begin(), c);
    std::vector<const PropInfo*> list;
    for (const TClassInfo* c : chain)
        for (auto& p : c->OwnProps()) {
            bool replaced = false;
            for (auto& slot : list)
                if (SameName(slot->name, p->name)) {
                    slot = p.get();
                    replaced = true;
                    break;
                }
            if (!replaced) list.push_back(p.get());
        }
    std::vector<const PropInfo*> filtered;
    for (const PropInfo* p : list)
        if (kinds & KindBit(p->kind)) filtered.push_back(p);
    return filtered;
}

std::vector<const PropInfo*> GetPropList(const TObject* instance, TypeKinds kinds) {
    return GetPropList(instance ? instance->ClassInfo() : nullptr, kinds);
}

namespace {
[[noreturn]] void WrongKind(const PropInfo& prop, const char* what) {
    throw EPropertyError("Property " + prop.name + " is not " + what);
}
[[noreturn]] void ReadOnly(const PropInfo& prop) { throw EPropertyError("Property " + prop.name + " is read-only"); }
}  // namespace

int64_t GetOrdProp(TObject* instance, const PropInfo& prop) {
    if (!prop.getOrd) WrongKind(prop, "ordinal");
    return prop.getOrd(instance);
}

void SetOrdProp(TObject* instance, const PropInfo& prop, int64_t value) {
    if (!prop.getOrd) WrongKind(prop, "ordinal");
    if (!prop.setOrd) ReadOnly(prop);
    prop.setOrd(instance, value);
}

double GetFloatProp(TObject* instance, const PropInfo& prop) {
    if (!prop.getFloat) WrongKind(prop, "a number");
    return prop.getFloat(instance);
}

void SetFloatProp(TObject* instance, const PropInfo& prop, double value) {
    if (!prop.getFloat) WrongKind(prop, "a number");
    if (!prop.setFloat) ReadOnly(prop);
    prop.setFloat(instance, value);
}

std::string GetStrProp(TObject* instance, const PropInfo& prop) {
    if (!prop.getStr) WrongKind(prop, "a string");
    return prop.getStr(instance);
}

void SetStrProp(TObject* instance, const PropInfo& prop, const std::string& value) {
    if (!prop.getStr) WrongKind(prop, "a string");
    if (!prop.setStr) ReadOnly(prop);
    prop.setStr(instance, value);
}

TObject* GetObjectProp(TObject* instance, const PropInfo& prop) {
    if (!prop.getObject) WrongKind(prop, "an object");
    return prop.getObject(instance);
}

void SetObjectProp(TObject* instance, const PropInfo& prop, TObject* value) {
    if (!prop.getObject) WrongKind(prop, "an object");
    if (prop.acceptsObject && !prop.acceptsObject(value))
        throw EPropertyError("Property " + prop.name + " cannot hold a " + value->ClassName());
    if (!prop.setObject) ReadOnly(prop);
    prop.setObject(instance, value);
}

std::any GetMethodProp(TObject* instance, const PropInfo& prop) {
    if (!prop.getMethod) WrongKind(prop, "an event");
    return prop.getMethod(instance);
}

void SetMethodProp(TObject* instance, const PropInfo& prop, const std::any& value) {
    if (!prop.setMethod) WrongKind(prop, "an event");
    prop.setMethod(instance, value);
}

// ---- text --------------------------------------------------------------------------------------------

std::string FloatToText(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof(buf), value);
    return std::string(buf, res.ptr);
}

bool TextToFloat(const std::string& text, double& value) {
    if (text.empty()) return false;
    const char* first = text.data();
    const char* last = first + text.size();
    if (*first == '+') ++first;
    auto res = std::from_chars(first, last, value);
    return res.ec == std::errc() && res.ptr == last;
}

bool TextToInt64(const std::string& text, int64_t& value) {
    if (text.empty()) return false;
    const char* p = text.data();
    const char* end = p + text.size();
    bool negative = false;
    if (*p == '-' || *p == '+') {
        negative = *p == '-';
        ++p;
    }
    if (p < end && *p == '$') {
        ++p;
        if (p == end || end - p > 16) return false;
        uint64_t u = 0;
        auto res = std::from_chars(p, end, u, 16);
        if (res.ec != std::errc() || res.ptr != end) return false;
        value = negative ? static_cast<int64_t>(0 - u) : static_cast<int64_t>(u);
        return true;
    }
    if (p == end) return false;
    uint64_t u = 0;
    auto res = std::from_chars(p, end, u, 10);
    if (res.ec != std::errc() || res.ptr != end) return false;
    if (negative) {
        if (u > uint64_t(1) << 63) return false;
        value = static_cast<int64_t>(0 - u);
    } else {
        if (u > uint64_t(INT64_MAX)) return false;
        value = static_cast<int64_t>(u);
    }
    return true;
}

std::string SetToText(uint32_t bits, const NameTable& names) {
    std::string text = "[";
    bool first = true;
    for (unsigned i = 0; i < 32; ++i) {
        if (!(bits & (1u << i))) continue;
        if (!first) text += ',';
        first = false;
        text += i < names.names.size() ? names.names[i] : std::to_string(i);
    }
    return text + "]";
}

std::string OrdToText(const PropInfo& prop, int64_t value) {
    switch (prop.kind) {
        case TypeKind::Enum:
            if (prop.names && value >= 0 && value < static_cast<int64_t>(prop.names->names.size()))
                return prop.names->names[static_cast<size_t>(value)];
            return std::to_string(value);
        case TypeKind::Set:
            return SetToText(static_cast<uint32_t>(value), prop.names ? *prop.names : NameTable{});
        case TypeKind::Char:
            return std::string(1, static_cast<char>(value));
        default:
            if (prop.idents) {
                if (const std::string* name = prop.idents->NameOf(value)) return *name;
                if (prop.idents->hexFallback) {
                    char buf[20];
                    std::snprintf(buf, sizeof(buf), "$%08X", static_cast<unsigned>(static_cast<uint32_t>(value)));
                    return buf;
                }
            }
            return std::to_string(value);
    }
}

namespace {

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    return s.substr(b, e - b);
}

[[noreturn]] void BadValue(const PropInfo& prop, const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid value for " + prop.name);
}

}  // namespace

int64_t TextToOrd(const PropInfo& prop, const std::string& rawText) {
    std::string text = Trim(rawText);
    int64_t value = 0;
    switch (prop.kind) {
        case TypeKind::Enum: {
            int index = prop.names ? prop.names->IndexOf(text) : -1;
            if (index < 0) BadValue(prop, text);
            return index;
        }
        case TypeKind::Set: {
            if (text.size() < 2 || text.front() != '[' || text.back() != ']') BadValue(prop, text);
            uint32_t bits = 0;
            std::string body = text.substr(1, text.size() - 2);
            size_t start = 0;
            while (start <= body.size()) {
                size_t comma = body.find(',', start);
                std::string item = Trim(body.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
                if (!item.empty()) {
                    int index = prop.names ? prop.names->IndexOf(item) : -1;
                    if (index < 0 || index > 31) BadValue(prop, item);
                    bits |= 1u << index;
                } else if (comma != std::string::npos) {
                    BadValue(prop, text);
                }
                if (comma == std::string::npos) break;
                start = comma + 1;
            }
            return bits;
        }
        case TypeKind::Char:
            if (rawText.size() != 1) BadValue(prop, rawText);
            return static_cast<unsigned char>(rawText[0]);
        case TypeKind::Integer:
            if (prop.idents && prop.idents->ValueOf(text, value)) return value;
            if (!TextToInt64(text, value)) BadValue(prop, text);
            // $FF000000 is a colour: hexadecimal text wraps into the 32 bits.
            if (text.find('$') != std::string::npos && value >= 0 && value <= 0xFFFFFFFFll)
                return static_cast<int32_t>(static_cast<uint32_t>(value));
            if (value < INT32_MIN || value > 0xFFFFFFFFll) BadValue(prop, text);  // unsigned 32-bit too
            return value;
        default:
            if (prop.idents && prop.idents->ValueOf(text, value)) return value;
            if (!TextToInt64(text, value)) BadValue(prop, text);
            return value;
    }
}

TComponent* RootOf(TPersistent* instance) {
    TPersistent* p = instance;
    TComponent* c = nullptr;
    while (p && !(c = dynamic_cast<TComponent*>(p))) p = p->GetOwner();
    if (!c) return nullptr;
    TComponent* top = c;
    for (TComponent* walk = c; walk; walk = walk->Owner()) {
        if (IsGlobalRoot(walk)) return walk;
        top = walk;
    }
    return top;
}

std::string ReferenceName(TComponent* target, TComponent* root) {
    if (!target) return {};
    if (target == root || target->Owner() == root || !target->Owner()) return target->Name();
    TComponent* targetRoot = RootOf(target);
    if (targetRoot == target) return target->Name();
    return targetRoot->Name() + "." + target->Name();
}

TComponent* ResolveReference(const std::string& text, TComponent* root) {
    std::string first, second;
    if (IsPrefixDotted(text, first, second)) {
        TComponent* otherRoot = (root && SameName(root->Name(), first)) ? root : FindGlobalComponent(first);
        return otherRoot ? otherRoot->FindComponent(second) : nullptr;
    }
    if (!root) return FindGlobalComponent(text);
    if (TComponent* c = root->FindComponent(text)) return c;
    if (SameName(root->Name(), text)) return root;
    return nullptr;
}

std::string GetPropText(TObject* instance, const PropInfo& prop, TComponent* root) {
    switch (prop.kind) {
        case TypeKind::Integer:
        case TypeKind::Int64:
        case TypeKind::Char:
        case TypeKind::Enum:
        case TypeKind::Set:
            return OrdToText(prop, GetOrdProp(instance, prop));
        case TypeKind::Float:
            return FloatToText(GetFloatProp(instance, prop));
        case TypeKind::String:
            return GetStrProp(instance, prop);
        case TypeKind::Object: {
            TObject* o = GetObjectProp(instance, prop);
            return o ? o->ClassName() : std::string();
        }
        case TypeKind::Reference: {
            auto* target = dynamic_cast<TComponent*>(GetObjectProp(instance, prop));
            if (!root) root = RootOf(dynamic_cast<TPersistent*>(instance));
            return ReferenceName(target, root);
        }
        case TypeKind::Method: {
            if (!root) root = RootOf(dynamic_cast<TPersistent*>(instance));
            if (!root || !root->ClassInfo()) return {};
            return root->ClassInfo()->MethodName(root, prop, GetMethodProp(instance, prop));
        }
    }
    return {};
}

void SetPropText(TObject* instance, const PropInfo& prop, const std::string& text, TComponent* root) {
    switch (prop.kind) {
        case TypeKind::Integer:
        case TypeKind::Int64:
        case TypeKind::Char:
        case TypeKind::Enum:
        case TypeKind::Set:
            SetOrdProp(instance, prop, TextToOrd(prop, text));
            return;
        case TypeKind::Float: {
            double v = 0;
            if (!TextToFloat(Trim(text), v)) BadValue(prop, text);
            SetFloatProp(instance, prop, v);
            return;
        }
        case TypeKind::String:
            SetStrProp(instance, prop, text);
            return;
        case TypeKind::Object:
            throw EPropertyError("Property " + prop.name + " is an object and has no text");
        case TypeKind::Reference: {
            if (!root) root = RootOf(dynamic_cast<TPersistent*>(instance));
            std::string name = Trim(text);
            TComponent* target = nullptr;
            if (!name.empty()) {
                target = ResolveReference(name, root);
                if (!target) throw EPropertyError("Component " + name + " not found for " + prop.name);
            }
            SetObjectProp(instance, prop, target);
            return;
        }
        case TypeKind::Method: {
            if (!root) root = RootOf(dynamic_cast<TPersistent*>(instance));
            std::string name = Trim(text);
            if (name.empty()) {
                SetMethodProp(instance, prop, std::any());
                return;
            }
            const MethodInfo* m = root && root->ClassInfo() ? root->ClassInfo()->FindMethod(name) : nullptr;
            if (!m) throw EPropertyError("Handler " + name + " not found for " + prop.name);
            if (*m->eventTag != *prop.eventTag)
                throw EPropertyError("Handler " + name + " does not match the signature of " + prop.name);
            SetMethodProp(instance, prop, m->bind(root));
            return;
        }
    }
}

// ---- fw_core's classes -------------------------------------------------------------------------------

void RegisterClasses() {
    Class<TObject>("TObject");
    Class<TPersistent, TObject>("TPersistent");
    Class<TComponent, TPersistent>("TComponent")
        .Prop("Name", &TComponent::Name, &TComponent::SetName)
        .Stored(false)  // the object header carries it
        .Prop("Tag", &TComponent::Tag, &TComponent::SetTag);
    Class<TStrings, TPersistent>("TStrings");
    Class<TStringList, TStrings>("TStringList");
    Class<TCollection, TPersistent>("TCollection");
    Class<TCollectionItem, TPersistent>("TCollectionItem");
}

}  // namespace fw
