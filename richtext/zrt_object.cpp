#include "richtext/zrt_object.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "framework/core/exceptions.h"
#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "richtext/engine_settings.h"
#include "richtext/rtf_text.h"

namespace rt {

std::function<bool(const TZrtObjectField&, std::string&)> FieldTextHandler;

namespace {

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string Extension3(const std::string& name) {
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1, 3);
}

// The class name at the stream's position; empty for a wrong magic or an over-long name.
std::string ReadClassName(fw::TStream& stream) {
    uint8_t head[4];
    if (stream.Read(head, 4) != 4) return {};
    const uint16_t magic = static_cast<uint16_t>(head[0] | head[1] << 8);
    const uint16_t length = static_cast<uint16_t>(head[2] | head[3] << 8);
    if (magic != kObjectMagic || length == 0 || length >= 100) return {};
    std::string name(length, '\0');
    if (stream.Read(name.data(), length) != length) return {};
    const size_t nul = name.find('\0');
    if (nul != std::string::npos) name.resize(nul);
    return name;
}

}  // namespace

void TZrtObjectBase::Changed() {
    if (busy_) return;
    busy_ = true;
    if (OwnerDocument) OwnerDocument->RepaintObject(dynamic_cast<TZrtObject*>(this));
    busy_ = false;
}

void TZrtObject::SaveProperties(fw::TStream& stream) {
    // The published properties as form text; an embedded object needs no component name.
    fw::FormObject root;
    root.name = "Object";
    root.className = ClassName();
    for (const fw::PropInfo* prop : fw::GetPropList(this)) {
        if (prop->readOnly || !prop->IsStored(this)) continue;
        fw::FormProperty p;
        p.path = prop->name;
        switch (prop->kind) {
            case fw::TypeKind::String:
                p.value.kind = fw::FormValue::Kind::String;
                p.value.text = fw::GetStrProp(this, *prop);
                break;
            case fw::TypeKind::Integer:
            case fw::TypeKind::Int64:
                p.value.kind = fw::FormValue::Kind::Integer;
                p.value.integer = fw::GetOrdProp(this, *prop);
                break;
            case fw::TypeKind::Enum:
                p.value.kind = fw::FormValue::Kind::Ident;
                p.value.text = fw::GetPropText(this, *prop);
                break;
            default: continue;
        }
        root.properties.push_back(std::move(p));
    }
    const std::string text = fw::FormatFormText(root);
    const uint32_t n = static_cast<uint32_t>(text.size());
    const uint8_t len[4] = {uint8_t(n), uint8_t(n >> 8), uint8_t(n >> 16), uint8_t(n >> 24)};
    stream.WriteBuffer(len, 4);
    stream.WriteString(text);
}

void TZrtObject::LoadProperties(fw::TStream& stream) {
    uint8_t len[4];
    if (stream.Read(len, 4) != 4) return;
    const uint32_t n = len[0] | len[1] << 8 | len[2] << 16 | static_cast<uint32_t>(len[3]) << 24;
    if (n > stream.Size() - stream.Position()) return;
    const std::string text = stream.ReadString(n);
    // Every read error counts as handled: a property that does not fit is left as it was.
    try {
        const fw::FormObject tree = fw::ParseFormText(text, "object");
        for (const fw::FormProperty& p : tree.properties) {
            const fw::PropInfo* prop = fw::FindProp(this, p.path);
            if (!prop || prop->readOnly) continue;
            try {
                using K = fw::FormValue::Kind;
                if (p.value.kind == K::Integer)
                    fw::SetPropText(this, *prop, std::to_string(p.value.integer));
                else if (p.value.kind == K::String || p.value.kind == K::Ident)
                    fw::SetPropText(this, *prop, p.value.text);
            } catch (const std::exception&) {
            }
        }
    } catch (const std::exception&) {
    }
}

TZrtObject* TZrtObject::Clone(fw::TComponent* owner) {
    TZrtObject* copy = nullptr;
    try {
        copy = CreateObject(owner, ClassName());
        if (!copy) return nullptr;
        fw::TMemoryStream stream;
        SaveObject(this, stream);
        LoadObject(copy, &stream);
        copy->FileName = FileName;
        copy->SetObjTag(ObjTag());
        copy->SetObjName(ObjName());
        copy->PosValue1 = PosValue1;
        copy->PosValue2 = PosValue2;
        copy->SetWidthTW(WidthTW());
        copy->SetHeightTW(HeightTW());
        return copy;
    } catch (const std::exception&) {
        if (copy) copy->Free();
        return nullptr;
    }
}

void TZrtObject::SaveToFile(const std::string& name) {
    fw::TFileStream file(name, fw::fmCreate);
    DataType = Extension3(name);
    SaveData(file);
}

void TZrtObject::LoadFromFile(const std::string& name) {
    fw::TFileStream file(name, fw::fmOpenRead | fw::fmShareDenyWrite);
    DataType = Extension3(name);
    LoadData(file);
    if (WidthTW() == 0 && HeightTW() == 0) {
        SetWidthTW(DefaultWidth());
        SetHeightTW(DefaultHeight());
        if (Reference) {
            Reference->Width = WidthTW();
            Reference->Height = HeightTW();
        }
    }
}

std::string TZrtObjectField::GetFieldText(int page, int pageCount) const {
    std::string text;
    if (FieldTextHandler && FieldTextHandler(*this, text)) return text;
    const std::string& n = fieldName_;
    if (SameText(n, "PAGE")) return std::to_string(page);
    if (SameText(n, "NEXTPAGE")) return std::to_string(page + 1);
    if (SameText(n, "PRIORPAGE")) return std::to_string(page - 1);
    if (SameText(n, "NUMPAGES")) return std::to_string(pageCount);
    if (SameText(n, "TIME")) return System().timeText ? System().timeText() : std::string();
    if (SameText(n, "DATE")) return System().dateText ? System().dateText() : std::string();
    if (SameText(n, "PARNUM")) return std::to_string(ParNumber + 1);
    return "<" + n + ">";
}

void SaveObject(TZrtObject* object, fw::TStream& stream) {
    std::string name = object->ClassName();
    if (name.size() > 98) name.resize(98);
    const uint16_t n = static_cast<uint16_t>(name.size() + 1);
    const uint8_t head[4] = {uint8_t(kObjectMagic & 0xFF), uint8_t(kObjectMagic >> 8), uint8_t(n & 0xFF),
                             uint8_t(n >> 8)};
    stream.WriteBuffer(head, 4);
    stream.WriteBuffer(name.c_str(), n);
    if (object->Reference) object->SetExtra(object->Reference->Name);
    object->SaveProperties(stream);
    const bool linked = !object->StreamName().empty() || object->Linked;
    char type[4] = {0, 0, 0, 0};
    if (!linked) {
        const std::string t = object->TypeName().substr(0, 3);
        std::memcpy(type, t.data(), t.size());
    }
    stream.WriteBuffer(type, 4);
    if (!linked) {
        object->SaveData(stream);
        object->LoadedFromFile = true;
    }
}

void LoadObject(TZrtObject* object, fw::TStream* stream) {
    if (!stream) return;
    stream->SetPosition(0);
    const std::string name = ReadClassName(*stream);
    if (!name.empty() && SameText(name, object->ClassName())) {
        object->LoadProperties(*stream);
        if (object->Reference) object->Reference->Name = object->Extra().substr(0, 60);
    }
    char type[4] = {0, 0, 0, 0};
    const bool haveType = stream->Read(type, 4) == 4 && type[0] != 0;
    if (haveType) {
        object->DataType.assign(type, strnlen(type, 3));
        object->LoadData(*stream);
        object->IsLoaded = true;
    } else if (object->StreamName().empty()) {
        object->IsLoaded = true;
    } else if (!object->IsLoaded && object->OnLoadStream) {
        bool done = false;
        object->OnLoadStream(object, object->StreamName(), 0, done);
    }
}

TZrtObject* CreateObject(fw::TComponent* owner, const std::string& className) {
    const fw::TClassInfo* cls = fw::FindClass(className);
    const fw::TClassInfo* base = fw::ClassInfoOf<TZrtObject>();
    if (!cls || !base || !cls->InheritsFrom(base) || !cls->CanCreate()) return nullptr;
    fw::TComponent* c = cls->Create(owner);
    auto* object = dynamic_cast<TZrtObject*>(c);
    if (!object && c) c->Free();
    return object;
}

TZrtObject* ObjectFromStream(fw::TComponent* owner, fw::TStream& stream, int32_t& tag, int32_t& width,
                             int32_t& height, std::string& name) {
    TZrtObject* object = nullptr;
    try {
        stream.SetPosition(0);
        const std::string className = ReadClassName(stream);
        if (className.empty()) return nullptr;
        object = CreateObject(owner, className);
        if (!object) return nullptr;
        object->LoadProperties(stream);
        tag = object->ObjTag();
        name = object->ObjName();
        width = object->WidthTW();
        height = object->HeightTW();
        return object;
    } catch (const std::exception&) {
        if (object) object->Free();
        return nullptr;
    }
}

std::vector<std::string>& GraphicClassList() {
    static std::vector<std::string> list;
    return list;
}

std::string ClassForExtension(const std::string& extension) {
    std::string ext = extension;
    if (ext.empty() || ext[0] != '.') ext = "." + ext;
    auto& list = GraphicClassList();
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
        if (it->size() > ext.size() && SameText(it->substr(0, ext.size()), ext)) return it->substr(ext.size() + 1);
    }
    return {};
}

TZrtOImageObject::~TZrtOImageObject() {
    if (picture_) picture_->Free();
}

void TZrtOImageObject::SetPicture(fw::TPersistent* picture, int widthPx, int heightPx) {
    if (picture_ && picture_ != picture) picture_->Free();
    picture_ = picture;
    pictureWidth_ = picture ? widthPx : 0;
    pictureHeight_ = picture ? heightPx : 0;
    IsLoaded = picture != nullptr;
    Changed();
}

int TZrtOImageObject::DefaultWidth() const {
    return picture_ ? pictureWidth_ * 1440 / std::max(1, System().screenResolution) : TZrtObject::DefaultWidth();
}

int TZrtOImageObject::DefaultHeight() const {
    return picture_ ? pictureHeight_ * 1440 / std::max(1, System().screenResolution) : TZrtObject::DefaultHeight();
}

void RegisterObjectClasses() {
    fw::RegisterClasses();
    fw::RegisterEnum<TZrtObjectWriteRTFMode>({"wobOnlyStandard", "wobOnlyRTF", "wobBoth"},
                                             "TZrtObjectWriteRTFMode");
    fw::Class<TZrtObjectBase, fw::TComponent>("TZrtObjectBase");
    fw::Class<TZrtObject, TZrtObjectBase>("TZrtObject")
        .Prop("WidthTW", &TZrtObject::WidthTW, &TZrtObject::SetWidthTW)
        .Prop("HeightTW", &TZrtObject::HeightTW, &TZrtObject::SetHeightTW)
        .Prop("ObjName", &TZrtObject::ObjName, &TZrtObject::SetObjName)
        .Prop("ObjTag", &TZrtObject::ObjTag, &TZrtObject::SetObjTag)
        .Prop("WriteRTFMode", &TZrtObject::WriteRTFMode, &TZrtObject::SetWriteRTFMode)
        .Prop("StreamName", &TZrtObject::StreamName, &TZrtObject::SetStreamName)
        .Prop("Extra", &TZrtObject::Extra, &TZrtObject::SetExtra);
    fw::Class<TZrtOImageObject, TZrtObject>("TZrtOImageObject");
    fw::Class<TZrtObjectField, TZrtObject>("TZrtObjectField")
        .Prop("FieldName", &TZrtObjectField::FieldName, &TZrtObjectField::SetFieldName)
        .Prop("FieldMask", &TZrtObjectField::FieldMask, &TZrtObjectField::SetFieldMask);
}

}  // namespace rt
