#include "framework/tools/formpack/pack.h"

#include <fstream>
#include <iterator>

#include "framework/core/exceptions.h"
#include "framework/core/formtext.h"

namespace fw::formpack {

namespace {

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EFOpenError("Cannot open file " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    bool absolute = !name.empty() && (name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':'));
    if (absolute || dir.empty()) return name;
    char last = dir.back();
    return (last == '/' || last == '\\') ? dir + name : dir + "/" + name;
}

void Expand(std::vector<FormProperty>& props, const std::string& baseDir);

void ExpandValue(FormValue& v, const std::string& baseDir) {
    if (v.kind == FormValue::Kind::FileRef) {
        std::string bytes = ReadWhole(JoinPath(baseDir, v.text));
        if (v.lengthPrefixed) {
            uint32_t n = static_cast<uint32_t>(bytes.size());
            std::string prefix;
            for (int i = 0; i < 4; ++i) prefix += static_cast<char>((n >> (8 * i)) & 0xFF);
            bytes = prefix + bytes;
        }
        v.kind = FormValue::Kind::Binary;
        v.bytes = std::move(bytes);
        v.text.clear();
    } else if (v.kind == FormValue::Kind::Collection) {
        for (auto& item : v.collection) Expand(item, baseDir);
    }
}

void Expand(std::vector<FormProperty>& props, const std::string& baseDir) {
    for (FormProperty& p : props) ExpandValue(p.value, baseDir);
}

void ExpandObject(FormObject& obj, const std::string& baseDir) {
    Expand(obj.properties, baseDir);
    for (FormObject& child : obj.children) ExpandObject(child, baseDir);
}

}  // namespace

PackedForm PackForm(const std::string& source, const std::string& formName, const std::string& baseDir) {
    FormObject tree = ParseFormText(source, formName, true);
    ExpandObject(tree, baseDir);
    PackedForm packed;
    packed.text = FormatFormText(tree);
    packed.resourceName = tree.className;
    for (char& c : packed.resourceName)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return packed;
}

std::string RcLine(const PackedForm& form, const std::string& packedFile) {
    std::string quoted;
    for (char c : packedFile) {
        if (c == '\\' || c == '"') quoted += '\\';
        quoted += c;
    }
    return form.resourceName + " RCDATA \"" + quoted + "\"\n";
}

}  // namespace fw::formpack
