// Fuzz target: the ini parser on any text; edits must keep the document readable and consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "framework/core/inifiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    fw::IniDocument doc(text);
    std::string value;
    for (const std::string& section : doc.Sections()) {
        for (const std::string& key : doc.Keys(section)) doc.Read(section, key, value);
    }
    // A written value reads back (after the trimming and unquoting the rules apply).
    doc.Write("Fuzz Section", "key", "value");
    if (!doc.Read("fuzz section", "KEY", value) || value != "value") std::abort();
    fw::IniDocument again(doc.Text());
    if (!again.Read("Fuzz Section", "key", value) || value != "value") std::abort();
    if (again.Text() != doc.Text()) std::abort();
    doc.DeleteKey("Fuzz Section", "key");
    doc.EraseSection("Fuzz Section");
    if (doc.Read("Fuzz Section", "key", value)) std::abort();
    return 0;
}
