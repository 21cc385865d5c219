// Feeds arbitrary bytes to the form-text parser and, when they parse, to the reader on a test form.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "framework/core/object_test_classes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool registered = [] {
        fwtest::RegisterTestClasses();
        return true;
    }();
    (void)registered;
    fwtest::LoadLog().clear();  // the recording widget's log would otherwise grow run after run
    std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        fw::FormObject tree = fw::ParseFormText(text, "fuzz", true);
        (void)fw::FormatFormText(tree);
    } catch (const fw::EParserError&) {
    }
    auto* form = fwtest::NewRoot<fwtest::TTestForm>();
    try {
        fw::ReadComponentText(form, text, "fuzz");
    } catch (const fw::Exception&) {
        return 0;  // the reader freed the partial form
    }
    try {
        std::string written = fw::WriteComponentText(form);
        fw::ParseFormText(written, "written");  // what we write must parse
    } catch (const fw::Exception&) {
        form->Free();
        throw;
    }
    form->Free();
    return 0;
}
