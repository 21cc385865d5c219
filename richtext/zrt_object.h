// Embedded objects: components that stand in the text at a placeholder byte or float relative to a
// paragraph or the page, their stream format (component properties plus data), and text fields.
//
// Object stream, little-endian:
//
//   +--------+--------+----------------+------------------+-----------+--------------+
//   | 0E11   | n (u16)| class name + 0 | properties       | data type | data         |
//   | 2 bytes| 2 bytes| n bytes (<100) | u32 length, text | 4 bytes   | by SaveData  |
//   +--------+--------+----------------+------------------+-----------+--------------+
//
// The properties are the object's published properties as form text. The data type is three
// characters and a zero byte, or four zero bytes for a linked object, whose data lives elsewhere.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "framework/core/object.h"
#include "framework/core/streams.h"

namespace rt {

class TZrtRTFText;
struct TObjectRef;

constexpr uint16_t kObjectMagic = 0x0E11;

enum class TZrtObjectWriteRTFMode { wobOnlyStandard, wobOnlyRTF, wobBoth };

class TZrtObjectBase : public fw::TComponent {
public:
    explicit TZrtObjectBase(fw::TComponent* owner) : fw::TComponent(owner) {}

    TZrtRTFText* OwnerDocument = nullptr;
    TObjectRef* Reference = nullptr;
    std::string FileName;
    int32_t PosValue1 = 0, PosValue2 = 0;
    bool LoadedFromFile = false;

    int32_t ObjTag() const { return objTag_; }
    void SetObjTag(int32_t v) { objTag_ = v; }
    const std::string& ObjName() const { return objName_; }
    void SetObjName(const std::string& v) { objName_ = v; }
    int32_t WidthTW() const { return widthTW_; }
    void SetWidthTW(int32_t v) { widthTW_ = v; }
    int32_t HeightTW() const { return heightTW_; }
    void SetHeightTW(int32_t v) { heightTW_ = v; }

    // Asks the owner document to repaint this object.
    virtual void Changed();
    virtual int DefaultWidth() const { return 1001; }
    virtual int DefaultHeight() const { return 721; }
    virtual void PlaceholderDeleted() {}

protected:
    ~TZrtObjectBase() override = default;

private:
    bool busy_ = false;
    int32_t objTag_ = 0;
    std::string objName_;
    int32_t widthTW_ = 1440;
    int32_t heightTW_ = 720;
};

class TZrtObject : public TZrtObjectBase {
public:
    explicit TZrtObject(fw::TComponent* owner) : TZrtObjectBase(owner) {}

    // (Sender, stream name, state, done)
    std::function<void(TZrtObject*, const std::string&, int, bool&)> OnLoadStream;

    const std::string& StreamName() const { return streamName_; }
    void SetStreamName(const std::string& v) { streamName_ = v; }
    const std::string& Extra() const { return extra_; }
    void SetExtra(const std::string& v) { extra_ = v; }
    TZrtObjectWriteRTFMode WriteRTFMode() const { return writeMode_; }
    void SetWriteRTFMode(TZrtObjectWriteRTFMode v) { writeMode_ = v; }

    std::string DataType;  // up to three characters
    bool IsLoaded = false;
    bool Linked = false;
    uint8_t CreationByte = 1;

    // A copy of this object for another owner; null on any error.
    virtual TZrtObject* Clone(fw::TComponent* owner);
    virtual void SaveProperties(fw::TStream& stream);
    virtual void LoadProperties(fw::TStream& stream);
    virtual void LoadData(fw::TStream&) {}
    virtual void SaveData(fw::TStream&) {}
    virtual std::string TypeName() const { return "???"; }
    virtual void WriteRTF(fw::TStream&) {}
    void SaveToFile(const std::string& name);
    void LoadFromFile(const std::string& name);

protected:
    ~TZrtObject() override = default;

private:
    std::string streamName_;
    std::string extra_;
    TZrtObjectWriteRTFMode writeMode_ = TZrtObjectWriteRTFMode::wobOnlyStandard;
};

class TZrtOImageObject : public TZrtObject {
public:
    explicit TZrtOImageObject(fw::TComponent* owner) : TZrtObject(owner) {}

    // The picture an embedding program gave (its own class; the object owns and frees it), with its
    // size in pixels.
    fw::TPersistent* Picture() const { return picture_; }
    void SetPicture(fw::TPersistent* picture, int widthPx, int heightPx);
    // With a picture: its size in twips at the screen resolution.
    int DefaultWidth() const override;
    int DefaultHeight() const override;

protected:
    ~TZrtOImageObject() override;

private:
    fw::TPersistent* picture_ = nullptr;
    int pictureWidth_ = 0;
    int pictureHeight_ = 0;
};

// A text field (page number, date, ...) made by the RTF reader for field instructions.
class TZrtObjectField : public TZrtObject {
public:
    explicit TZrtObjectField(fw::TComponent* owner) : TZrtObject(owner) { CreationByte = 0; }

    const std::string& FieldName() const { return fieldName_; }
    void SetFieldName(const std::string& v) { fieldName_ = v; }
    const std::string& FieldMask() const { return fieldMask_; }
    void SetFieldMask(const std::string& v) { fieldMask_ = v; }
    int32_t ParNumber = 0;

    // The text the field shows. `page` and `pageCount` come from painting.
    virtual std::string GetFieldText(int page, int pageCount) const;

protected:
    ~TZrtObjectField() override = default;

private:
    std::string fieldName_;
    std::string fieldMask_;
};

// The engine-wide field text hook; not set by the suite.
extern std::function<bool(const TZrtObjectField&, std::string&)> FieldTextHandler;

void SaveObject(TZrtObject* object, fw::TStream& stream);
void LoadObject(TZrtObject* object, fw::TStream* stream);
// Reads the class name at the stream's start and makes an object of that class. Only classes derived
// from TZrtObject are made; null for anything else or on any error.
TZrtObject* ObjectFromStream(fw::TComponent* owner, fw::TStream& stream, int32_t& tag, int32_t& width,
                             int32_t& height, std::string& name);
TZrtObject* CreateObject(fw::TComponent* owner, const std::string& className);
// The object class registered for a file extension ("bmp" or ".bmp"); empty when none.
std::string ClassForExtension(const std::string& extension);
// Entries "<.ext>=<ClassName>"; empty unless a program fills it.
std::vector<std::string>& GraphicClassList();

void RegisterObjectClasses();

}  // namespace rt
