// Fuzz target: language tables from any text, and translated messages formatted from them. A table
// may say anything; parsing must end in a table or an error, and a translated format must never read
// arguments the message was not given.
#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/core/lists.h"
#include "installer/translator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static inst::TTranslator* translator = [] {
        auto* t = fw::Make<inst::TTranslator>(nullptr);
        fw::TStringList english;
        english.Add("1;Cannot open the file %s");
        english.Add("2;Disk %d of %s, %d%% done");
        english.Add("#3;");
        english.Add("Welcome");
        english.Add("#");
        t->Language(inst::TQnfdLanguage::qlEnglish)->SetStrings(&english);
        t->SetTranslateIntoLanguage(inst::TQnfdLanguage::qlFrench);
        return t;
    }();
    fw::TStringList lines;
    lines.SetText(std::string(reinterpret_cast<const char*>(data), size));
    inst::TLanguage& french = *translator->Language(inst::TQnfdLanguage::qlFrench);
    try {
        french.SetStrings(&lines);
    } catch (const fw::Exception&) {
        return 0;
    }
    inst::FormatTranslated("Cannot open the file %s", {"a.txt"});
    inst::FormatTranslated("Disk %d of %s, %d%% done", {2, "Setup", 50});
    translator->TranslateText(inst::TQnfdLanguage::qlEnglish, "Cannot open the file %s");
    fw::TStringList memo, result;
    memo.Add("Welcome");
    translator->TranslateMemo(inst::TQnfdLanguage::qlEnglish, memo, result);
    if (french.Strings()->Count() > 0) french.Strings()->Delete(0);
    return 0;
}
