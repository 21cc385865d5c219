// formpack: turns a form source file into the text that is compiled in as RCDATA.
//
// It checks the syntax, and expands @file('x.bmp') into the file's bytes and @lenfile('x.bmp') into a
// 32-bit little-endian length followed by the bytes, both as binary values. File names are relative to
// the folder of the form source. The resource is named after the root's class in upper case.
#pragma once

#include <string>

namespace fw::formpack {

struct PackedForm {
    std::string text;          // the expanded form text
    std::string resourceName;  // "TFRMZIPMAIN"
};

// Raises fw::EParserError for bad syntax and fw::EFOpenError for a referenced file that cannot be read.
PackedForm PackForm(const std::string& source, const std::string& formName, const std::string& baseDir);

// The windres line that embeds `packedFile` under the form's resource name.
std::string RcLine(const PackedForm& form, const std::string& packedFile);

}  // namespace fw::formpack
