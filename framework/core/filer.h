// Filers: the reader and writer a component sees while it is streamed to or from form text.
//
// A class streams values that are not published by overriding DefineProperties:
//
//   void TKVXDirTree::DefineProperties(fw::TFiler& filer) {
//       TComponent::DefineProperties(filer);
//       filer.DefineProperty("Internal",
//           [this](fw::TReader& r) { internal_ = r.ReadInteger(); },
//           [this](fw::TWriter& w) { w.WriteInteger(internal_); },
//           internal_ != 0);
//       filer.DefineBinaryProperty("Data",
//           [this](fw::TStream& s) { ReadData(s); }, [this](fw::TStream& s) { WriteData(s); }, !Empty());
//   }
//
// The reader calls the read procedure of the name it met in the text; the writer calls the write
// procedure of each name whose hasData is true. Binary values are whatever the write procedure wrote.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "framework/core/object.h"

namespace fw {

class TStream;
class TReader;
class TWriter;

class TFiler {
public:
    using ReaderProc = std::function<void(TReader&)>;
    using WriterProc = std::function<void(TWriter&)>;
    using StreamProc = std::function<void(TStream&)>;

    virtual ~TFiler() = default;

    virtual void DefineProperty(const std::string& name, ReaderProc read, WriterProc write, bool hasData) = 0;
    virtual void DefineBinaryProperty(const std::string& name, StreamProc read, StreamProc write, bool hasData) = 0;

    // The form or data module being streamed.
    TComponent* Root() const { return root_; }

protected:
    TComponent* root_ = nullptr;
};

class TReader : public TFiler {
public:
    // The value at the reading position, in the form the text holds it. A value of another form raises
    // EReadError naming the form, line and property.
    virtual std::string ReadString() = 0;
    virtual int32_t ReadInteger() = 0;
    virtual int64_t ReadInt64() = 0;
    virtual bool ReadBoolean() = 0;
    virtual double ReadFloat() = 0;
    virtual std::string ReadIdent() = 0;

    // The component handed to components read nested here: the enclosing component's GetChildParent().
    TComponent* Parent() const { return parent_; }
    // The owner that components read now get (the root, unless a GetChildOwner says otherwise).
    TComponent* Owner() const { return owner_; }

    // Reads `component`'s properties and then its nested objects, up to its "end". TComponent::ReadState
    // calls this; overrides of ReadState wrap it.
    virtual void ReadData(TComponent* component) = 0;

    // The name of the form text (for messages) and the current line.
    virtual const std::string& FormName() const = 0;
    virtual int Line() const = 0;

protected:
    TComponent* parent_ = nullptr;
    TComponent* owner_ = nullptr;
};

class TWriter : public TFiler {
public:
    virtual void WriteString(const std::string& value) = 0;
    virtual void WriteInteger(int64_t value) = 0;
    virtual void WriteBoolean(bool value) = 0;
    virtual void WriteFloat(double value) = 0;
    virtual void WriteIdent(const std::string& value) = 0;
};

}  // namespace fw
