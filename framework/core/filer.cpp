// The form reader (form text into a live root) and the form writer (a live root into form text).
#include "framework/core/filer.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "framework/core/formtext.h"
#include "framework/core/lists.h"
#include "framework/core/platform.h"
#include "framework/core/rtti.h"
#include "framework/core/streams.h"

namespace fw {

namespace {

// A reference from text: set once the named component exists.
struct Fixup {
    TObject* instance = nullptr;
    const PropInfo* prop = nullptr;
    std::string target;  // "Name" or "Root.Name"
    TComponent* root = nullptr;  // the root whose text held it
    std::string formName;
    std::string path;
    int line = 0;
};

// References into roots that do not exist yet; resolved when that root has loaded.
std::vector<Fixup>& PendingFixups() {
    static std::vector<Fixup> pending;
    return pending;
}

std::string RootPart(const std::string& target) {
    size_t dot = target.find('.');
    return dot == std::string::npos ? std::string() : target.substr(0, dot);
}

// Sets every pending reference into `root`, which has just loaded. A name that root does not hold leaves
// the reference empty: the text that made it has long finished loading.
void ResolvePendingFor(TComponent* root) {
    auto& pending = PendingFixups();
    std::vector<Fixup> ready;
    for (auto it = pending.begin(); it != pending.end();) {
        if (SameName(RootPart(it->target), root->Name())) {
            ready.push_back(*it);
            it = pending.erase(it);
        } else {
            ++it;
        }
    }
    for (const Fixup& f : ready)
        if (TComponent* c = ResolveReference(f.target, root))
            if (!f.prop->acceptsObject || f.prop->acceptsObject(c)) SetObjectProp(f.instance, *f.prop, c);
}

class FormReader : public TReader {
public:
    FormReader(TComponent* root, const std::string& formName) : formName_(formName) { root_ = root; }

    void ReadRoot(const FormObject& text, bool runCreate) {
        TComponent* root = root_;
        line_ = text.line;
        loaded_.push_back(root);
        root->SetComponentState(csLoading | csReading);
        if (root->Name().empty()) root->SetName(text.name);
        owner_ = root;
        parent_ = nullptr;
        pendingNode_ = &text;
        pendingComponent_ = root;
        root->ReadState(*this);
        root->ClearComponentState(csReading);
        ResolveFixups();
        // Loaded in creation order, root first; each clears only its own csLoading.
        for (TComponent* c : loaded_) {
            path_.clear();
            line_ = lines_.count(c) ? lines_[c] : text.line;
            c->Loaded();
        }
        path_.clear();
        line_ = text.line;
        RegisterGlobalRoot(root);
        ResolvePendingFor(root);
        if (runCreate) root->DoCreate();
    }

    // ---- TReader ---------------------------------------------------------------------------------------

    void ReadData(TComponent* component) override {
        const FormObject* node = pendingNode_;
        if (!node || component != pendingComponent_)
            throw EReadError("ReadData called for a component that is not being read");
        pendingNode_ = nullptr;
        pendingComponent_ = nullptr;
        for (const FormProperty& p : node->properties) ReadProperty(component, p.path, p);
        TComponent* savedParent = parent_;
        TComponent* savedOwner = owner_;
        parent_ = component->GetChildParent();
        TComponent* childOwner = component->GetChildOwner();
        owner_ = childOwner ? childOwner : root_;
        for (const FormObject& child : node->children) ReadComponent(child);
        parent_ = savedParent;
        owner_ = savedOwner;
    }

    std::string ReadString() override {
        const FormValue& v = Current(FormValue::Kind::String, "a string");
        return v.text;
    }
    int32_t ReadInteger() override {
        const FormValue& v = Current(FormValue::Kind::Integer, "an integer");
        if (v.hex && v.integer >= 0 && v.integer <= 0xFFFFFFFFll)
            return static_cast<int32_t>(static_cast<uint32_t>(v.integer));
        if (v.integer < INT32_MIN || v.integer > INT32_MAX) throw EReadError("Integer out of range");
        return static_cast<int32_t>(v.integer);
    }
    int64_t ReadInt64() override { return Current(FormValue::Kind::Integer, "an integer").integer; }
    bool ReadBoolean() override {
        const FormValue& v = Current(FormValue::Kind::Ident, "True or False");
        int i = BooleanNames().IndexOf(v.text);
        if (i < 0) throw EReadError("True or False expected");
        return i == 1;
    }
    double ReadFloat() override {
        if (value_ && value_->kind == FormValue::Kind::Integer) {
            Consume();
            return static_cast<double>(value_->integer);
        }
        return Current(FormValue::Kind::Float, "a number").number;
    }
    std::string ReadIdent() override { return Current(FormValue::Kind::Ident, "an identifier").text; }

    void DefineProperty(const std::string& name, ReaderProc read, WriterProc, bool) override {
        if (handled_ || defineName_.empty() || !SameName(name, defineName_) || !read) return;
        handled_ = true;
        read(*this);
    }

    void DefineBinaryProperty(const std::string& name, StreamProc read, StreamProc, bool) override {
        if (handled_ || defineName_.empty() || !SameName(name, defineName_) || !read) return;
        handled_ = true;
        const FormValue& v = Current(FormValue::Kind::Binary, "binary data");
        TMemoryStream stream;
        if (!v.bytes.empty()) stream.WriteBuffer(v.bytes.data(), static_cast<int64_t>(v.bytes.size()));
        stream.SetPosition(0);
        read(stream);
    }

    const std::string& FormName() const override { return formName_; }
    int Line() const override { return line_; }
    const std::string& PropertyPath() const { return path_; }

private:
    void Consume() {
        if (consumed_) throw EReadError("Property " + path_ + " holds a single value");
        consumed_ = true;
    }

    const FormValue& Current(FormValue::Kind kind, const char* what) {
        if (!value_) throw EReadError("No value to read");
        if (value_->kind != kind) throw EReadError(std::string("Property ") + path_ + " needs " + what);
        Consume();
        return *value_;
    }

    void ReadComponent(const FormObject& node) {
        path_.clear();
        line_ = node.line;
        const TClassInfo& cls = GetClass(node.className);
        if (!cls.CanCreate()) throw EClassNotFound("Class " + node.className + " cannot be created by name");
        TComponent* c = cls.Create(owner_);
        loaded_.push_back(c);
        lines_[c] = node.line;
        c->SetComponentState(csLoading | csReading);
        c->SetName(node.name);
        if (const TClassInfo* rootClass = root_->ClassInfo())
            if (const FieldInfo* field = rootClass->FindField(node.name))
                if (!field->assign(root_, c))
                    throw EReadError("Field " + node.name + " is a " + field->typeName + ", not a " + node.className);
        pendingNode_ = &node;
        pendingComponent_ = c;
        c->ReadState(*this);
        c->ClearComponentState(csReading);
    }

    void ReadProperty(TPersistent* instance, const std::string& fullPath, const FormProperty& p) {
        path_ = fullPath;
        line_ = p.line;
        TPersistent* target = instance;
        std::string rest = p.path;
        for (;;) {
            size_t dot = rest.find('.');
            if (dot == std::string::npos) break;
            std::string head = rest.substr(0, dot);
            const PropInfo* prop = FindProp(target, head);
            if (!prop || prop->kind != TypeKind::Object)
                throw EPropertyError("Property " + head + " does not exist or is not an object");
            auto* sub = dynamic_cast<TPersistent*>(GetObjectProp(target, *prop));
            if (!sub) throw EPropertyError("Property " + head + " holds no object");
            target = sub;
            rest = rest.substr(dot + 1);
        }
        const PropInfo* prop = FindProp(target, rest);
        if (!prop) {
            DefineValue(target, rest, p.value);
            return;
        }
        SetValue(target, *prop, p.value);
    }

    void DefineValue(TPersistent* target, const std::string& name, const FormValue& value) {
        defineName_ = name;
        handled_ = false;
        value_ = &value;
        consumed_ = false;
        try {
            target->DefineProperties(*this);
        } catch (...) {
            defineName_.clear();
            value_ = nullptr;
            throw;
        }
        defineName_.clear();
        value_ = nullptr;
        if (!handled_) throw EPropertyError("Property " + name + " does not exist");
    }

    void SetValue(TPersistent* target, const PropInfo& prop, const FormValue& v) {
        using K = FormValue::Kind;
        switch (prop.kind) {
            case TypeKind::Integer:
            case TypeKind::Int64: {
                int64_t n = 0;
                if (v.kind == K::Integer) {
                    n = v.integer;
                    if (prop.kind == TypeKind::Integer) {
                        // 32 bits either way: $FF000000 is a colour, 4000000000 an unsigned value.
                        if (v.hex && n >= 0 && n <= 0xFFFFFFFFll)
                            n = static_cast<int32_t>(static_cast<uint32_t>(n));
                        else if (n < INT32_MIN || n > 0xFFFFFFFFll)
                            throw EPropertyError("Value out of range for " + prop.name);
                    }
                } else if (v.kind == K::Ident && prop.idents && prop.idents->ValueOf(v.text, n)) {
                } else {
                    WrongValue(prop, "an integer");
                }
                SetOrdProp(target, prop, n);
                return;
            }
            case TypeKind::Char:
                if (v.kind == K::String && v.text.size() == 1)
                    SetOrdProp(target, prop, static_cast<unsigned char>(v.text[0]));
                else if (v.kind == K::Integer && v.integer >= 0 && v.integer <= 255)
                    SetOrdProp(target, prop, v.integer);
                else
                    WrongValue(prop, "a character");
                return;
            case TypeKind::Float:
                if (v.kind == K::Float)
                    SetFloatProp(target, prop, v.number);
                else if (v.kind == K::Integer)
                    SetFloatProp(target, prop, static_cast<double>(v.integer));
                else
                    WrongValue(prop, "a number");
                return;
            case TypeKind::String:
                if (v.kind != K::String) WrongValue(prop, "a string");
                SetStrProp(target, prop, v.text);
                return;
            case TypeKind::Enum: {
                if (v.kind != K::Ident) WrongValue(prop, "an identifier");
                int i = prop.names ? prop.names->IndexOf(v.text) : -1;
                if (i < 0) throw EPropertyError("Invalid value " + v.text + " for " + prop.name);
                SetOrdProp(target, prop, i);
                return;
            }
            case TypeKind::Set: {
                if (v.kind != K::Set) WrongValue(prop, "a set");
                uint32_t bits = 0;
                for (const std::string& item : v.items) {
                    int i = prop.names ? prop.names->IndexOf(item) : -1;
                    if (i < 0 || i > 31) throw EPropertyError("Invalid set element " + item + " for " + prop.name);
                    bits |= 1u << i;
                }
                SetOrdProp(target, prop, bits);
                return;
            }
            case TypeKind::Object:
                SetObjectValue(target, prop, v);
                return;
            case TypeKind::Reference: {
                if (v.kind != K::Ident) WrongValue(prop, "a component name");
                if (SameName(v.text, "nil")) {
                    SetObjectProp(target, prop, nullptr);
                    return;
                }
                Fixup f;
                f.instance = target;
                f.prop = &prop;
                f.target = v.text;
                f.root = root_;
                f.formName = formName_;
                f.path = path_;
                f.line = line_;
                fixups_.push_back(std::move(f));
                return;
            }
            case TypeKind::Method: {
                if (v.kind != K::Ident) WrongValue(prop, "a handler name");
                if (SameName(v.text, "nil")) {
                    SetMethodProp(target, prop, std::any());
                    return;
                }
                const TClassInfo* rootClass = root_->ClassInfo();
                const MethodInfo* m = rootClass ? rootClass->FindMethod(v.text) : nullptr;
                if (!m) throw EPropertyError("Handler " + v.text + " not found");
                if (*m->eventTag != *prop.eventTag)
                    throw EPropertyError("Handler " + v.text + " does not match the signature of " + prop.name);
                SetMethodProp(target, prop, m->bind(root_));
                return;
            }
        }
    }

    void SetObjectValue(TPersistent* target, const PropInfo& prop, const FormValue& v) {
        TObject* object = GetObjectProp(target, prop);
        if (v.kind == FormValue::Kind::List) {
            auto* strings = dynamic_cast<TStrings*>(object);
            if (!strings) WrongValue(prop, "something other than a string list");
            strings->BeginUpdate();
            try {
                strings->Clear();
                for (const std::string& s : v.items) strings->Add(s);
            } catch (...) {
                strings->EndUpdate();
                throw;
            }
            strings->EndUpdate();
            return;
        }
        if (v.kind == FormValue::Kind::Collection) {
            auto* collection = dynamic_cast<TCollection*>(object);
            if (!collection) WrongValue(prop, "something other than a collection");
            std::string base = path_;
            collection->BeginUpdate();
            try {
                collection->Clear();
                for (size_t i = 0; i < v.collection.size(); ++i) {
                    TCollectionItem* item = collection->Add();
                    for (const FormProperty& p : v.collection[i])
                        ReadProperty(item, base + "[" + std::to_string(i) + "]." + p.path, p);
                }
            } catch (...) {
                collection->EndUpdate();
                throw;
            }
            collection->EndUpdate();
            return;
        }
        WrongValue(prop, "its parts set one by one (" + prop.name + ".Name = ...)");
    }

    [[noreturn]] void WrongValue(const PropInfo& prop, const std::string& what) {
        throw EPropertyError("Property " + prop.name + " needs " + what);
    }

    void ResolveFixups() {
        for (const Fixup& f : fixups_) {
            path_ = f.path;
            line_ = f.line;
            std::string rootName = RootPart(f.target);
            if (!rootName.empty() && !SameName(rootName, root_->Name()) && !FindGlobalComponent(rootName)) {
                PendingFixups().push_back(f);  // that root has not been created yet
                continue;
            }
            TComponent* c = ResolveReference(f.target, root_);
            if (!c) throw EReadError("Component " + f.target + " not found");
            SetObjectProp(f.instance, *f.prop, c);
        }
        fixups_.clear();
    }

    std::string formName_;
    std::vector<TComponent*> loaded_;
    std::unordered_map<TComponent*, int> lines_;
    std::vector<Fixup> fixups_;
    const FormObject* pendingNode_ = nullptr;
    TComponent* pendingComponent_ = nullptr;
    std::string path_;
    int line_ = 0;
    // The defined property being offered to DefineProperties.
    std::string defineName_;
    bool handled_ = false;
    const FormValue* value_ = nullptr;
    bool consumed_ = false;
};

// ---- writer ------------------------------------------------------------------------------------------

class FormWriter : public TWriter {
public:
    explicit FormWriter(TComponent* root) { root_ = root; }

    FormObject WriteRoot() { return WriteComponent(root_); }

    void WriteString(const std::string& value) override { Put(FormValue::Kind::String).text = value; }
    void WriteInteger(int64_t value) override { Put(FormValue::Kind::Integer).integer = value; }
    void WriteBoolean(bool value) override { Put(FormValue::Kind::Ident).text = value ? "True" : "False"; }
    void WriteFloat(double value) override { Put(FormValue::Kind::Float).number = value; }
    void WriteIdent(const std::string& value) override { Put(FormValue::Kind::Ident).text = value; }

    void DefineProperty(const std::string& name, ReaderProc, WriterProc write, bool hasData) override {
        if (!hasData || !write || !props_) return;
        FormProperty p;
        p.path = prefix_ + name;
        props_->push_back(std::move(p));
        slot_ = &props_->back().value;
        written_ = false;
        write(*this);
        if (!written_) props_->pop_back();  // nothing came out
        slot_ = nullptr;
    }

    void DefineBinaryProperty(const std::string& name, StreamProc, StreamProc write, bool hasData) override {
        if (!hasData || !write || !props_) return;
        TMemoryStream stream;
        write(stream);
        FormProperty p;
        p.path = prefix_ + name;
        p.value.kind = FormValue::Kind::Binary;
        p.value.bytes.assign(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
        props_->push_back(std::move(p));
    }

private:
    FormValue& Put(FormValue::Kind kind) {
        if (!slot_) throw EWriteError("Nothing is being written");
        if (written_) throw EWriteError("A defined property writes a single value");
        written_ = true;
        slot_->kind = kind;
        return *slot_;
    }

    // A default instance to compare against; null when the class cannot be created.
    static TComponent* Fresh(TComponent* c) {
        const TClassInfo* cls = c->ClassInfo();
        if (!cls || !cls->CanCreate()) return nullptr;
        return cls->Create(nullptr);
    }

    FormObject WriteComponent(TComponent* c) {
        if (!IsValidIdent(c->Name()))
            throw EWriteError("A " + c->ClassName() + " without a name cannot be written");
        FormObject obj;
        obj.name = c->Name();
        obj.className = c->ClassName();
        TComponent* fresh = Fresh(c);
        try {
            WriteProperties(c, fresh, "", obj.properties);
        } catch (...) {
            if (fresh) fresh->Free();
            throw;
        }
        if (fresh) fresh->Free();
        std::vector<TComponent*> children;
        c->GetChildren([](void* ctx, TComponent* child) { static_cast<std::vector<TComponent*>*>(ctx)->push_back(child); },
                       &children, root_);
        for (TComponent* child : children) obj.children.push_back(WriteComponent(child));
        return obj;
    }

    void WriteProperties(TPersistent* instance, TPersistent* fresh, const std::string& prefix,
                         std::vector<FormProperty>& out) {
        for (const PropInfo* prop : GetPropList(instance, tkAny)) {
            if (!prop->IsStored(instance)) continue;
            // A value the reader could not set back is not written; objects are filled, not set.
            if (prop->readOnly && prop->kind != TypeKind::Object && prop->kind != TypeKind::Method) continue;
            WriteProperty(instance, fresh, *prop, prefix, out);
        }
        std::vector<FormProperty>* savedProps = props_;
        std::string savedPrefix = prefix_;
        props_ = &out;
        prefix_ = prefix;
        instance->DefineProperties(*this);
        props_ = savedProps;
        prefix_ = savedPrefix;
    }

    void WriteProperty(TPersistent* instance, TPersistent* fresh, const PropInfo& prop, const std::string& prefix,
                       std::vector<FormProperty>& out) {
        FormProperty p;
        p.path = prefix + prop.name;
        FormValue& v = p.value;
        switch (prop.kind) {
            case TypeKind::Integer:
            case TypeKind::Int64:
            case TypeKind::Char:
            case TypeKind::Enum:
            case TypeKind::Set: {
                if (!prop.getOrd) return;
                int64_t n = GetOrdProp(instance, prop);
                if (fresh && GetOrdProp(fresh, prop) == n) return;
                if (prop.kind == TypeKind::Char) {
                    v.kind = FormValue::Kind::String;
                    v.text = std::string(1, static_cast<char>(n));
                } else if (prop.kind == TypeKind::Enum) {
                    v.kind = FormValue::Kind::Ident;
                    v.text = OrdToText(prop, n);
                } else if (prop.kind == TypeKind::Set) {
                    v.kind = FormValue::Kind::Set;
                    for (unsigned i = 0; i < 32; ++i)
                        if (n & (int64_t(1) << i)) v.items.push_back(prop.names && i < prop.names->names.size()
                                                                         ? prop.names->names[i] : std::to_string(i));
                } else if (const std::string* ident = prop.idents ? prop.idents->NameOf(n) : nullptr) {
                    v.kind = FormValue::Kind::Ident;
                    v.text = *ident;
                } else {
                    v.kind = FormValue::Kind::Integer;
                    v.integer = n;
                }
                break;
            }
            case TypeKind::Float: {
                double d = GetFloatProp(instance, prop);
                if (fresh && GetFloatProp(fresh, prop) == d) return;
                v.kind = FormValue::Kind::Float;
                v.number = d;
                break;
            }
            case TypeKind::String: {
                std::string s = GetStrProp(instance, prop);
                if (fresh ? GetStrProp(fresh, prop) == s : s.empty()) return;
                v.kind = FormValue::Kind::String;
                v.text = s;
                break;
            }
            case TypeKind::Object: {
                auto* object = dynamic_cast<TPersistent*>(GetObjectProp(instance, prop));
                if (!object) return;
                auto* freshObject = fresh ? dynamic_cast<TPersistent*>(GetObjectProp(fresh, prop)) : nullptr;
                if (auto* strings = dynamic_cast<TStrings*>(object)) {
                    auto* freshStrings = dynamic_cast<TStrings*>(freshObject);
                    if (freshStrings ? strings->Equals(*freshStrings) : strings->Count() == 0) return;
                    v.kind = FormValue::Kind::List;
                    for (int i = 0; i < strings->Count(); ++i) v.items.push_back(strings->Get(i));
                    break;
                }
                if (auto* collection = dynamic_cast<TCollection*>(object)) {
                    auto* freshCollection = dynamic_cast<TCollection*>(freshObject);
                    if (collection->Count() == 0 && (!freshCollection || freshCollection->Count() == 0)) return;
                    v.kind = FormValue::Kind::Collection;
                    for (int i = 0; i < collection->Count(); ++i) {
                        v.collection.emplace_back();
                        // Item values are compared with a new item of the same collection class.
                        TCollectionItem* freshItem = freshCollection ? freshCollection->Add() : nullptr;
                        try {
                            WriteProperties(collection->Items(i), freshItem, "", v.collection.back());
                        } catch (...) {
                            delete freshItem;
                            throw;
                        }
                        delete freshItem;
                    }
                    break;
                }
                WriteProperties(object, freshObject, p.path + ".", out);
                return;
            }
            case TypeKind::Reference: {
                auto* target = dynamic_cast<TComponent*>(GetObjectProp(instance, prop));
                if (!target) return;
                v.kind = FormValue::Kind::Ident;
                v.text = ReferenceName(target, root_);
                break;
            }
            case TypeKind::Method: {
                const TClassInfo* rootClass = root_->ClassInfo();
                if (!rootClass) return;
                std::string name = rootClass->MethodName(root_, prop, GetMethodProp(instance, prop));
                if (name.empty()) return;
                v.kind = FormValue::Kind::Ident;
                v.text = name;
                break;
            }
        }
        out.push_back(std::move(p));
    }

    std::vector<FormProperty>* props_ = nullptr;
    std::string prefix_;
    FormValue* slot_ = nullptr;
    bool written_ = false;
};

}  // namespace

void DropPendingFixups(TComponent* component) {
    auto& pending = PendingFixups();
    if (pending.empty()) return;
    pending.erase(std::remove_if(pending.begin(), pending.end(),
                                 [component](const Fixup& f) { return f.root == component || f.instance == component; }),
                  pending.end());
}

void ReadComponentText(TComponent* root, std::string_view text, const std::string& formName, bool runCreate) {
    FormObject tree;
    try {
        tree = ParseFormText(text, formName);
    } catch (...) {
        root->Free();
        throw;
    }
    FormReader reader(root, formName);
    auto where = [&] {
        std::string s = "Error loading form " + formName + " at line " + std::to_string(reader.Line());
        if (!reader.PropertyPath().empty()) s += ", property " + reader.PropertyPath();
        return s + ": ";
    };
    try {
        reader.ReadRoot(tree, runCreate);
    } catch (Exception& e) {
        e.SetMessage(where() + e.Message());
        root->Free();
        throw;
    } catch (std::exception& e) {
        std::string message = where() + e.what();
        root->Free();
        throw EReadError(message);
    }
}

bool ReadComponentResource(TComponent* root) {
    std::string name = root->ClassName();
    for (char& c : name)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    std::string bytes;
    if (!Res().FindRcData(name, bytes)) return false;
    ReadComponentText(root, bytes, root->ClassName());
    return true;
}

std::string WriteComponentText(TComponent* root) {
    root->SetComponentState(csWriting);
    try {
        FormWriter writer(root);
        std::string text = FormatFormText(writer.WriteRoot());
        root->ClearComponentState(csWriting);
        return text;
    } catch (...) {
        root->ClearComponentState(csWriting);
        throw;
    }
}

}  // namespace fw
