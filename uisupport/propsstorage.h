// TPropsStorage: published properties of components as named text values and back.
//
// The storage knows nothing of the store: it reads, writes and erases through three handlers its user
// sets. A value is named ItemKey(property) = Prefix + property name; for a top-level stored property
// Prefix is the component name and "_" ("cbShowLog.Checked" -> "cbShowLog_Checked"). The text of each
// value depends on the property's kind:
//
//   integer, 64-bit   decimal                          "0" when the stored text is not a number
//   character         the one character                an empty text leaves it
//   enumeration       the element's name ("True")      matched ignoring case; no match leaves it
//   floating point    general format, 7/15/18 digits   "." whatever the locale's decimal separator
//   string            the text                         written even when empty
//   set               "[a,b]" ascending, elements 0-31 words split at " ,[]"; unknown words skipped
//   string list       sub-section Section.Key: Count, Item0..
//   collection        Section: Prop.Count; sub-section Section.Prefix+Prop: Item0_Width ...
//   component ref.    Name, Owner.Name or "(null)"
//   other object      its own properties, Key followed by each name (ListView1_FontName ...)
//
// Written texts are trimmed; an empty one is not written except for strings. Loading passes the current
// value's text as the default, so a missing value keeps the property. An error while loading one
// property skips that property and goes on; errors while saving reach the caller.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/rtti.h"

namespace fw {
class TComponent;
class TStrings;
}  // namespace fw

namespace uis {

using TReadStringHandler =
    std::function<std::string(const std::string& section, const std::string& ident, const std::string& def)>;
using TWriteStringHandler =
    std::function<void(const std::string& section, const std::string& ident, const std::string& value)>;
using TEraseSectionHandler = std::function<void(const std::string& section)>;

// The published properties of one object that the storage keeps: every kind but events.
class TPropInfoList {
public:
    explicit TPropInfoList(const fw::TObject* object, fw::TypeKinds kinds = fw::tkProperties);
    int Count() const { return static_cast<int>(props_.size()); }
    const fw::PropInfo* Items(int index) const { return props_.at(static_cast<size_t>(index)); }
    // By name, ignoring case; null when absent.
    const fw::PropInfo* Find(const std::string& name) const;

private:
    std::vector<const fw::PropInfo*> props_;
};

class TPropsStorage {
public:
    TPropsStorage() = default;
    virtual ~TPropsStorage() = default;
    TPropsStorage(const TPropsStorage&) = delete;
    TPropsStorage& operator=(const TPropsStorage&) = delete;

    // The object whose property is read or written now.
    fw::TObject* AObject = nullptr;
    // The root that component references are resolved against (set by Load/SaveComponentProps).
    fw::TComponent* Owner = nullptr;
    std::string Prefix;
    std::string Section;
    TReadStringHandler OnReadString;
    TWriteStringHandler OnWriteString;
    TEraseSectionHandler OnEraseSection;

    // Through the handlers; without OnReadString the result is "".
    virtual std::string ReadString(const std::string& section, const std::string& ident, const std::string& def);
    virtual void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    virtual void EraseSection(const std::string& section);
    // Prefix followed by the property name.
    virtual std::string ItemKey(const std::string& propName);
    // A fresh storage for nested objects.
    virtual std::unique_ptr<TPropsStorage> NewStorage();

    // One property of AObject (nothing when `prop` is null).
    void LoadPropValue(const fw::PropInfo* prop);
    void SavePropValue(const fw::PropInfo* prop);

    // Every line of a StoredProps list whose object is bound (see BindStoredProps).
    void LoadComponentProps(fw::TComponent* owner, fw::TStrings& list);
    void SaveComponentProps(fw::TComponent* owner, fw::TStrings& list);

    // The text of one scalar property as written, and the reverse (see the table above).
    static std::string ValueText(fw::TObject* object, const fw::PropInfo& prop);
    static void ApplyValueText(fw::TObject* object, const fw::PropInfo& prop, const std::string& text);
    // General format with `digits` significant digits and "." as the separator.
    static std::string FloatText(double value, int digits);

private:
    // Every bound line: Owner set meanwhile, Prefix the component name and "_".
    void RunStoredProps(fw::TComponent* owner, fw::TStrings& list, bool save);
    void LoadClassProp(const fw::PropInfo& prop);
    void SaveClassProp(const fw::PropInfo& prop);
    void LoadStrings(const fw::PropInfo& prop, fw::TStrings& strings);
    void SaveStrings(const fw::PropInfo& prop, fw::TStrings& strings);
    void LoadCollection(const fw::PropInfo& prop, fw::TPersistent& collection);
    void SaveCollection(const fw::PropInfo& prop, fw::TPersistent& collection);
    void LoadReference(const fw::PropInfo& prop);
    std::string ReferenceText(fw::TComponent* target) const;
    // The object's own properties through a nested storage with `prefix`.
    void LoadObjectProps(fw::TObject* object, const std::string& prefix, const std::string& section);
    void SaveObjectProps(fw::TObject* object, const std::string& prefix, const std::string& section);
    std::unique_ptr<TPropsStorage> Nested(const std::string& prefix, const std::string& section);

    int depth_ = 0;  // nesting of objects; bounded so that a cycle cannot recurse without end
};

}  // namespace uis
