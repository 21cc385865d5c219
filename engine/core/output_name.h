// The extractors' output-name rule: where a stored entry name is written below the extract folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace engine {

// The output path of an entry whose stored name (already ANSI, "\" separators) is Name, below
// ExtractDir (ending in "\"). With UseStoredDirs the stored folders are kept, without a stored drive
// or root; otherwise the name part alone goes into ExtractDir.
//
// A stored name is untrusted: no result may lie outside ExtractDir. Names holding a ".." component
// (also spelled with trailing dots or blanks), a drive or stream ":" after the drive rule, a device
// name (CON, NUL, COM1, ...), a character Windows refuses in names, or no name part at all give
// nullopt; the caller reports 25243 and goes on with the next entry.
std::optional<std::string> BuildOutputName(std::string_view name, std::string_view extractDir, bool useStoredDirs);

// True when Component (one folder or file name) is a device name: the rule of
// engine/names/output_name_rule.h, which the stand-alone extractor program follows too.
bool IsDeviceName(std::string_view component);

}  // namespace engine
