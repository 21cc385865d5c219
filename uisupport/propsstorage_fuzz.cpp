// Loads every kind of property from a store made of arbitrary lines ("[section]" headers and
// "name=value" entries), then saves and loads again. Damaged counts, names and numbers must leave the
// properties alone or set them, never crash, hang or run out of memory.
#include <cstdint>
#include <string>

#include "uisupport/propsstorage_testclasses.h"
#include "uisupport/storedprops.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool registered = (uis::test::RegisterTestClasses(), true);
    (void)registered;
    uis::test::MemStore store;
    std::string section = "Main";
    const std::string text(reinterpret_cast<const char*>(data), size);
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            section = line.substr(1, line.size() - 2);
        } else if (const size_t eq = line.find('='); eq != std::string::npos) {
            store.sections[section][line.substr(0, eq)] = line.substr(eq + 1);
        }
        start = end + 1;
    }

    auto* form = fw::Make<uis::test::TTestForm>(nullptr);
    form->SetName("frmMain");
    auto* control = fw::Make<uis::test::TTestControl>(form);
    control->SetName("c");
    auto* buddy = fw::Make<uis::test::TTestControl>(form);
    buddy->SetName("b");
    fw::TStringList lines;
    for (const char* prop : {"Number", "Big", "Letter", "Single", "Double", "Extended", "Text", "Checked", "Kind",
                             "Style", "Strict", "Font", "Items", "Columns", "Link", "Buddy", "OnClick"}) {
        lines.Add(std::string("c.") + prop);
        lines.Add(std::string("b.") + prop);
    }
    uis::BindStoredProps(form, lines, true);
    uis::TPropsStorage storage;
    storage.Section = "Main";
    store.Attach(storage);
    storage.LoadComponentProps(form, lines);
    storage.SaveComponentProps(form, lines);
    storage.LoadComponentProps(form, lines);
    form->Free();
    return 0;
}
