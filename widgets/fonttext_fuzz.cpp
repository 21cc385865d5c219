// Reads arbitrary text as a font line; a line that is taken must write back a line that reads the same.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/core/exceptions.h"
#include "widgets/fonttext.h"

namespace {

struct Fields final : kvx::TKVXFontFields {
    std::string name = "MS Sans Serif";
    int size = 8;
    fw::TColor color = 0;
    uint8_t style = 0;
    std::string Name() const override { return name; }
    int Size() const override { return size; }
    fw::TColor Color() const override { return color; }
    uint8_t Style() const override { return style; }
    void SetName(const std::string& v) override { name = v; }
    void SetSize(int v) override { size = v; }
    void SetColor(fw::TColor v) override { color = v; }
    void SetStyle(uint8_t v) override { style = v; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Fields font;
    try {
        kvx::KVXStringToFont(text, font);
    } catch (const fw::EConvertError&) {
        return 0;
    }
    if (font.name.find(',') != std::string::npos) return 0;  // a name with a comma cannot be one field
    Fields again;
    kvx::KVXStringToFont(kvx::KVXFontToString(font), again);
    if (again.name != font.name || again.size != font.size || again.color != font.color || again.style != font.style)
        std::abort();
    return 0;
}
