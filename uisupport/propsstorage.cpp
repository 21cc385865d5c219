#include "uisupport/propsstorage.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <map>

#include "framework/core/datetime.h"
#include "framework/core/format.h"
#include "framework/core/lists.h"
#include "framework/core/sysutils.h"
#include "uisupport/storedprops.h"
#include "uisupport/textutils.h"

namespace uis {

namespace {

// What a read handler returns for a value that is not there: a NUL cannot be stored in a registry or
// ini text, so no stored value equals it.
const std::string kMissing("\0missing", 8);

// Nested objects deeper than this are left alone: a sub-object that leads back to itself must not
// recurse without end.
constexpr int kMaxNesting = 16;

// Collections whose items have nothing to probe are bounded by this many items.
constexpr int kMaxProbelessItems = 65536;

bool IsScalar(fw::TypeKind kind) {
    return kind != fw::TypeKind::Object && kind != fw::TypeKind::Reference && kind != fw::TypeKind::Method;
}

int FloatDigits(const fw::PropInfo& prop) {
    if (prop.floatSize == 4) return 7;
    if (prop.floatSize == 8) return 15;
    return 18;
}

}  // namespace

// ---- TPropInfoList ------------------------------------------------------------------------------

TPropInfoList::TPropInfoList(const fw::TObject* object, fw::TypeKinds kinds) {
    if (object) props_ = fw::GetPropList(object, kinds & fw::tkProperties);
}

const fw::PropInfo* TPropInfoList::Find(const std::string& name) const {
    for (const fw::PropInfo* prop : props_)
        if (fw::SameText(prop->name, name)) return prop;
    return nullptr;
}

// ---- handlers -----------------------------------------------------------------------------------

std::string TPropsStorage::ReadString(const std::string& section, const std::string& ident, const std::string& def) {
    return OnReadString ? OnReadString(section, ident, def) : std::string();
}

void TPropsStorage::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    if (OnWriteString) OnWriteString(section, ident, value);
}

void TPropsStorage::EraseSection(const std::string& section) {
    if (OnEraseSection) OnEraseSection(section);
}

std::string TPropsStorage::ItemKey(const std::string& propName) { return Prefix + propName; }

std::unique_ptr<TPropsStorage> TPropsStorage::NewStorage() { return std::make_unique<TPropsStorage>(); }

// ---- scalar texts -------------------------------------------------------------------------------

std::string TPropsStorage::FloatText(double value, int digits) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    std::string text(buffer, result.ptr);
    // The exponent as "E", its sign only when negative, and no leading zeros: 1.5E-5, 1E20.
    const size_t e = text.find('e');
    if (e == std::string::npos) return text;
    std::string exponent = text.substr(e + 1);
    const bool negative = !exponent.empty() && exponent[0] == '-';
    if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) exponent.erase(0, 1);
    while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
    return text.substr(0, e) + (negative ? "E-" : "E") + exponent;
}

std::string TPropsStorage::ValueText(fw::TObject* object, const fw::PropInfo& prop) {
    using K = fw::TypeKind;
    switch (prop.kind) {
    case K::Integer:
    case K::Int64:
        return std::to_string(prop.getOrd(object));
    case K::Char:
        return std::string(1, static_cast<char>(prop.getOrd(object)));
    case K::Enum: {
        const int64_t ord = prop.getOrd(object);
        if (prop.names && ord >= 0 && ord < static_cast<int64_t>(prop.names->names.size()))
            return prop.names->names[static_cast<size_t>(ord)];
        return std::to_string(ord);
    }
    case K::Float:
        return FloatText(prop.getFloat(object), FloatDigits(prop));
    case K::String:
        return prop.getStr(object);
    case K::Set: {
        const auto bits = static_cast<uint32_t>(prop.getOrd(object));
        std::string text = "[";
        const size_t count = prop.names ? std::min<size_t>(prop.names->names.size(), 32) : 0;
        for (size_t i = 0; i < count; ++i) {
            if (!(bits & (1u << i))) continue;
            if (text.size() > 1) text += ',';
            text += prop.names->names[i];
        }
        return text + "]";
    }
    default:
        return {};
    }
}

void TPropsStorage::ApplyValueText(fw::TObject* object, const fw::PropInfo& prop, const std::string& text) {
    using K = fw::TypeKind;
    if (prop.readOnly) return;
    switch (prop.kind) {
    case K::Integer:
    case K::Int64:
        prop.setOrd(object, fw::StrToInt64Def(text, 0));
        break;
    case K::Char:
        if (!text.empty()) prop.setOrd(object, static_cast<unsigned char>(text[0]));
        break;
    case K::Enum:
        if (prop.names) {
            const int index = prop.names->IndexOf(text);
            if (index >= 0) prop.setOrd(object, index);
        }
        break;
    case K::Float: {
        std::string local = text;
        for (char& c : local)
            if (c == '.') c = fw::FormatSettings.DecimalSeparator;
        double value = 0;
        if (!fw::TryStrToFloat(local, value)) break;
        if (prop.floatSize == 4 && std::fabs(value) > FLT_MAX) break;  // no single holds it
        prop.setFloat(object, value);
        break;
    }
    case K::String:
        prop.setStr(object, text);
        break;
    case K::Set: {
        if (!prop.names) break;
        static const CharSet delimiters = MakeCharSet(" ,[]");
        uint32_t bits = 0;
        const int words = CountWords(text, delimiters);
        for (int i = 1; i <= words; ++i) {
            const int index = prop.names->IndexOf(WordAt(i, text, delimiters));
            if (index >= 0 && index < 32) bits |= 1u << index;
        }
        prop.setOrd(object, bits);
        break;
    }
    default:
        break;
    }
}

// ---- one property -------------------------------------------------------------------------------

void TPropsStorage::SavePropValue(const fw::PropInfo* prop) {
    if (!prop || !AObject || prop->kind == fw::TypeKind::Method) return;
    if (!IsScalar(prop->kind)) {
        SaveClassProp(*prop);
        return;
    }
    const std::string text = fw::Trim(ValueText(AObject, *prop));
    if (text.empty() && prop->kind != fw::TypeKind::String) return;
    WriteString(Section, ItemKey(prop->name), text);
}

void TPropsStorage::LoadPropValue(const fw::PropInfo* prop) {
    if (!prop || !AObject || prop->kind == fw::TypeKind::Method) return;
    try {
        if (!IsScalar(prop->kind)) {
            LoadClassProp(*prop);
            return;
        }
        const std::string current = fw::Trim(ValueText(AObject, *prop));
        std::string text;
        if (!current.empty() || prop->kind == fw::TypeKind::String)
            text = fw::Trim(ReadString(Section, ItemKey(prop->name), current));
        ApplyValueText(AObject, *prop, text);
    } catch (...) {
        // A value that cannot be applied leaves this property as it was; the others still load.
    }
}

// ---- class properties ---------------------------------------------------------------------------

void TPropsStorage::SaveClassProp(const fw::PropInfo& prop) {
    fw::TObject* object = prop.getObject(AObject);
    const std::string key = ItemKey(prop.name);
    if (!object) {
        if (prop.kind == fw::TypeKind::Reference) WriteString(Section, key, "(null)");
        return;
    }
    if (auto* strings = dynamic_cast<fw::TStrings*>(object)) {
        SaveStrings(prop, *strings);
    } else if (auto* collection = dynamic_cast<fw::TCollection*>(object)) {
        SaveCollection(prop, *collection);
    } else if (auto* component = dynamic_cast<fw::TComponent*>(object)) {
        WriteString(Section, key, ReferenceText(component));
        return;
    }
    SaveObjectProps(object, key, Section);
}

void TPropsStorage::LoadClassProp(const fw::PropInfo& prop) {
    if (prop.kind == fw::TypeKind::Reference) {
        LoadReference(prop);
        return;
    }
    fw::TObject* object = prop.getObject(AObject);
    if (!object) return;
    if (auto* strings = dynamic_cast<fw::TStrings*>(object)) {
        LoadStrings(prop, *strings);
    } else if (auto* collection = dynamic_cast<fw::TCollection*>(object)) {
        LoadCollection(prop, *collection);
    } else if (dynamic_cast<fw::TComponent*>(object)) {
        LoadReference(prop);
        return;
    }
    LoadObjectProps(object, ItemKey(prop.name), Section);
}

void TPropsStorage::SaveStrings(const fw::PropInfo& prop, fw::TStrings& strings) {
    const std::string section = Section + "." + ItemKey(prop.name);
    EraseSection(section);
    if (strings.Count() == 0) return;
    WriteString(section, "Count", std::to_string(strings.Count()));
    for (int i = 0; i < strings.Count(); ++i) WriteString(section, "Item" + std::to_string(i), strings.Get(i));
}

void TPropsStorage::LoadStrings(const fw::PropInfo& prop, fw::TStrings& strings) {
    const std::string section = Section + "." + ItemKey(prop.name);
    const int count = fw::StrToIntDef(fw::Trim(ReadString(section, "Count", "0")), 0);
    if (count <= 0) return;
    fw::TStringList lines;
    // A damaged count must not run away: the lines end at the first one that is missing.
    for (int i = 0; i < count; ++i) {
        std::string line = ReadString(section, "Item" + std::to_string(i), kMissing);
        if (line == kMissing) break;
        lines.Add(line);
    }
    if (prop.setObject && !prop.readOnly)
        prop.setObject(AObject, &lines);
    else
        strings.Assign(&lines);
}

void TPropsStorage::SaveCollection(const fw::PropInfo& prop, fw::TPersistent& object) {
    auto& collection = static_cast<fw::TCollection&>(object);
    const std::string section = Section + "." + Prefix + prop.name;
    EraseSection(section);
    WriteString(Section, prop.name + ".Count", std::to_string(collection.Count()));
    for (int i = 0; i < collection.Count(); ++i)
        SaveObjectProps(collection.Items(i), "Item" + std::to_string(i) + "_", section);
}

void TPropsStorage::LoadCollection(const fw::PropInfo& prop, fw::TPersistent& object) {
    auto& collection = static_cast<fw::TCollection&>(object);
    const std::string section = Section + "." + Prefix + prop.name;
    const std::string current = std::to_string(collection.Count());
    int count = fw::StrToIntDef(fw::Trim(ReadString(Section, prop.name + ".Count", current)), collection.Count());
    if (count < 0) count = collection.Count();
    collection.BeginUpdate();
    try {
        if (count != collection.Count()) {
            collection.Clear();
            // Items are added while the store holds them, so a damaged count cannot run away.
            for (int i = 0; i < count; ++i) {
                fw::TCollectionItem* item = collection.Add();
                const std::string prefix = "Item" + std::to_string(i) + "_";
                const TPropInfoList props(item);
                bool probed = false, present = false;
                for (int p = 0; p < props.Count() && !present; ++p) {
                    if (!IsScalar(props.Items(p)->kind)) continue;
                    probed = true;
                    present = ReadString(section, prefix + props.Items(p)->name, kMissing) != kMissing;
                }
                if ((probed && !present) || (!probed && i >= kMaxProbelessItems)) {
                    collection.Delete(i);
                    break;
                }
            }
        }
        for (int i = 0; i < collection.Count(); ++i)
            LoadObjectProps(collection.Items(i), "Item" + std::to_string(i) + "_", section);
    } catch (...) {
        collection.EndUpdate();
        throw;
    }
    collection.EndUpdate();
}

std::string TPropsStorage::ReferenceText(fw::TComponent* target) const {
    fw::TComponent* owner = target->Owner();
    if (!owner || owner == Owner) return target->Name();
    std::string ownerName = owner->Name();
    if (ownerName.empty()) {
        ownerName = owner->ClassName();
        if (!ownerName.empty() && (ownerName[0] == 'T' || ownerName[0] == 't')) ownerName.erase(0, 1);
    }
    return ownerName + "." + target->Name();
}

void TPropsStorage::LoadReference(const fw::PropInfo& prop) {
    auto* current = dynamic_cast<fw::TComponent*>(prop.getObject(AObject));
    const std::string def = current ? ReferenceText(current) : std::string("(null)");
    const std::string text = fw::Trim(ReadString(Section, ItemKey(prop.name), def));
    if (text.empty() || !prop.setObject || prop.readOnly) return;
    if (fw::SameText(text, "(null)")) {
        prop.setObject(AObject, nullptr);
        return;
    }
    const size_t dot = text.find('.');
    fw::TComponent* root = dot == std::string::npos ? Owner : FindRootByName(text.substr(0, dot));
    if (!root) return;
    fw::TComponent* target = root->FindComponent(dot == std::string::npos ? text : text.substr(dot + 1));
    if (target && prop.acceptsObject && !prop.acceptsObject(target))
        throw fw::EPropertyError("Invalid property value");
    prop.setObject(AObject, target);
}

// ---- nested objects -----------------------------------------------------------------------------

std::unique_ptr<TPropsStorage> TPropsStorage::Nested(const std::string& prefix, const std::string& section) {
    if (depth_ >= kMaxNesting) return nullptr;
    std::unique_ptr<TPropsStorage> nested = NewStorage();
    nested->Owner = Owner;
    nested->Prefix = prefix;
    nested->Section = section;
    nested->depth_ = depth_ + 1;
    return nested;
}

void TPropsStorage::SaveObjectProps(fw::TObject* object, const std::string& prefix, const std::string& section) {
    std::unique_ptr<TPropsStorage> nested = Nested(prefix, section);
    if (!nested) return;
    nested->OnWriteString = OnWriteString;
    nested->OnEraseSection = OnEraseSection;
    nested->AObject = object;
    const TPropInfoList props(object);
    for (int i = 0; i < props.Count(); ++i) nested->SavePropValue(props.Items(i));
}

void TPropsStorage::LoadObjectProps(fw::TObject* object, const std::string& prefix, const std::string& section) {
    std::unique_ptr<TPropsStorage> nested = Nested(prefix, section);
    if (!nested) return;
    nested->OnReadString = OnReadString;
    nested->AObject = object;
    const TPropInfoList props(object);
    for (int i = 0; i < props.Count(); ++i) nested->LoadPropValue(props.Items(i));
}

// ---- StoredProps lists --------------------------------------------------------------------------

namespace {

struct NameLess {
    bool operator()(const std::string& a, const std::string& b) const { return fw::CompareText(a, b) < 0; }
};

// Runs `step(component, prop)` for each bound line of the list, in order.
template <class F>
void ForEachStoredProp(fw::TComponent* owner, fw::TStrings& list, F step) {
    BindStoredProps(owner, list, false);
    std::map<std::string, TPropInfoList, NameLess> props;
    for (int i = 0; i < list.Count(); ++i) {
        auto* component = dynamic_cast<fw::TComponent*>(list.GetObject(i));
        if (component) props.try_emplace(component->Name(), component);
    }
    for (int i = 0; i < list.Count(); ++i) {
        std::string componentName, propName;
        SplitCompProp(list.Get(i), componentName, propName);
        auto* component = dynamic_cast<fw::TComponent*>(list.GetObject(i));
        if (!component) continue;
        const auto found = props.find(component->Name());
        step(component, found == props.end() ? nullptr : found->second.Find(propName));
    }
}

}  // namespace

void TPropsStorage::LoadComponentProps(fw::TComponent* owner, fw::TStrings& list) { RunStoredProps(owner, list, false); }

void TPropsStorage::SaveComponentProps(fw::TComponent* owner, fw::TStrings& list) { RunStoredProps(owner, list, true); }

void TPropsStorage::RunStoredProps(fw::TComponent* owner, fw::TStrings& list, bool save) {
    Owner = owner;
    try {
        ForEachStoredProp(owner, list, [&](fw::TComponent* component, const fw::PropInfo* prop) {
            AObject = component;
            Prefix = component->Name() + "_";
            if (save)
                SavePropValue(prop);
            else
                LoadPropValue(prop);
        });
    } catch (...) {
        Owner = nullptr;
        throw;
    }
    Owner = nullptr;
}

}  // namespace uis
