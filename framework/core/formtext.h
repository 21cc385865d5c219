// Form text: how forms and data modules are described, read into a root and written back.
//
//   object frmZipMain: TfrmZipMain
//     Caption = 'Morvix Zip'              // strings: 'a''b'#13#10'c', joined parts may use +
//     Width = 640                         // integers: decimal, -decimal, $hex
//     Ratio = 1.5                         // floats
//     Align = alClient                    // enums, True/False, identifiers, handler names, references
//     IniLink = global.reg                // a component of another root
//     Options = [soA, soB]                // sets
//     Lines = ('one' 'two')               // string lists
//     Columns = < item Caption = 'Name' end >   // collections
//     Picture.Data = { 0A0B0C }           // binary (defined properties)
//     Font.Name = 'Arial'                 // dotted paths reach sub-objects
//     object UnZIP1: TUnZIP               // nested objects, owned by the root
//     end
//   end
//
// Source files may also hold @file('x.bmp') and @lenfile('x.bmp'), which formpack expands into binary
// values before the text is compiled in as RCDATA named after the class in upper case.
//
// Loading (ReadComponentText) follows a fixed order: the root (which already exists) gets
// csLoading|csReading and runs ReadState; each object is created by class name with the root as owner,
// named, stored in the root's field of that name, and reads its own state; properties are set through
// their setters in text order; references are fixed up after the whole root is read (a reference into a
// root that does not exist yet waits until that root has loaded); then Loaded runs on every component in
// creation order, root first; then the root's DoCreate (OnCreate). A failure frees the partial root and
// raises with the form, the line and the property in the message.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/object.h"

namespace fw {

struct FormProperty;

struct FormValue {
    enum class Kind { Integer, Float, String, Ident, Set, List, Collection, Binary, FileRef };
    Kind kind = Kind::Integer;
    int line = 0;
    int column = 0;
    int64_t integer = 0;
    bool hex = false;                    // written as $hex: wraps into 32 bits for Integer properties
    double number = 0;
    std::string text;                    // String, Ident (maybe dotted), FileRef: the file name
    bool lengthPrefixed = false;         // FileRef: @lenfile
    std::vector<std::string> items;      // Set: identifiers; List: strings
    std::vector<std::vector<FormProperty>> collection;  // one property list per item
    std::vector<int> itemLines;
    std::string bytes;                   // Binary
};

struct FormProperty {
    std::string path;  // "Font.Name"
    int line = 0;
    int column = 0;
    FormValue value;
};

struct FormObject {
    std::string name;
    std::string className;
    int line = 0;
    int column = 0;
    std::vector<FormProperty> properties;
    std::vector<FormObject> children;
};

// Parses form text. Damaged or hostile text raises EParserError naming the form, line and column.
// `allowFileRefs` accepts @file/@lenfile (source files); compiled forms must not hold them.
FormObject ParseFormText(std::string_view text, const std::string& formName, bool allowFileRefs = false);

// Reads the text into `root` (see above). On failure `root` has been freed when this raises.
// Without `runCreate` the root's DoCreate is left out: the form is laid out as its text says, and
// none of its OnCreate code runs (for looking at a form's layout without starting it).
void ReadComponentText(TComponent* root, std::string_view text, const std::string& formName, bool runCreate = true);
// Reads the form resource named after root's class (upper case); false when there is none.
bool ReadComponentResource(TComponent* root);

// Writes `root` and the components it lists through GetChildren, omitting values equal to those of a
// fresh instance of the same class.
std::string WriteComponentText(TComponent* root);

// Text-format pieces shared by the reader, the writer and formpack.
std::string QuoteFormString(const std::string& value);
// Writes a parsed or built form back as text (comments are not kept).
std::string FormatFormText(const FormObject& root);

}  // namespace fw
