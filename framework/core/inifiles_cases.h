// One table of ini texts and lookups, run against the portable parser natively and against both the
// parser and the system's profile functions on Windows.
#pragma once

#include <string>
#include <vector>

namespace fw::inicases {

struct Lookup {
    const char* name;
    const char* section;
    const char* key;
    bool found;
    const char* value;
};

// The file every lookup reads.
inline const char* const kText =
    "; leading comment\r\n"
    "top=before any section\r\n"
    "[Main]\r\n"
    "plain=value\r\n"
    "  spaced   =   padded value   \r\n"
    "empty=\r\n"
    "dq=\"quoted value\"\r\n"
    "sq='single'\r\n"
    "mixed='half\"\r\n"
    "lonequote=\"\r\n"
    "inner=a \"b\" c\r\n"
    "quotedblanks=\"  kept  \"\r\n"
    "eq=a=b=c\r\n"
    "novalue\r\n"
    ";comment=hidden\r\n"
    "Case=Upper\r\n"
    "dup=first\r\n"
    "dup=second\r\n"
    "tab\t=\ttabbed\t\r\n"
    "\r\n"
    "   [  Spaced Section  ]   \r\n"
    "k=in spaced\r\n"
    "[Other]\n"
    "lf=unix line\n"
    "[Broken\r\n"
    "[Main]\r\n"
    "late=in duplicate section\r\n"
    "plain=shadowed\r\n"
    "[Last]\r\n"
    "x=1\r\n"
    "end=no newline";

inline const Lookup kLookups[] = {
    {"plain", "Main", "plain", true, "value"},
    {"blanks around name and value", "Main", "spaced", true, "padded value"},
    {"empty value", "Main", "empty", true, ""},
    {"double quotes stripped", "Main", "dq", true, "quoted value"},
    {"single quotes stripped", "Main", "sq", true, "single"},
    {"unmatched quotes kept", "Main", "mixed", true, "'half\""},
    {"lone quote kept", "Main", "lonequote", true, "\""},
    {"inner quotes kept", "Main", "inner", true, "a \"b\" c"},
    {"blanks inside quotes kept", "Main", "quotedblanks", true, "  kept  "},
    {"split at first equals", "Main", "eq", true, "a=b=c"},
    {"line without equals", "Main", "novalue", false, ""},
    {"unclosed bracket reads as missing", "Other", "[Broken", false, ""},
    {"comment found by its whole name", "Main", ";comment", true, "hidden"},
    {"key case ignored", "main", "CASE", true, "Upper"},
    {"first duplicate wins", "Main", "dup", true, "first"},
    {"tabs are blanks", "Main", "tab", true, "tabbed"},
    {"query blanks ignored", " Main ", " plain ", true, "value"},
    {"missing key", "Main", "nothere", false, ""},
    {"missing section", "Nowhere", "plain", false, ""},
    {"key before sections", "", "top", true, "before any section"},
    {"blanks around section names ignored", "Spaced Section", "k", true, "in spaced"},
    {"LF line ends", "Other", "lf", true, "unix line"},
    {"duplicate section not searched", "Main", "late", false, ""},
    {"last line without line end", "Last", "end", true, "no newline"},
};

struct Listing {
    const char* name;
    const char* section;  // nullptr lists the sections
    std::vector<std::string> want;
};

inline const std::vector<Listing>& Listings() {
    static const std::vector<Listing> listings = {
        {"keys in file order, comments left out", "Main",
         {"plain", "spaced", "empty", "dq", "sq", "mixed", "lonequote", "inner", "quotedblanks", "eq", "Case",
          "dup", "dup", "tab"}},
        {"unclosed bracket is an entry without a value", "Other", {"lf"}},
        {"missing section", "Nowhere", {}},
        {"sections", nullptr, {"Main", "Spaced Section", "Other", "Main", "Last"}},
    };
    return listings;
}

}  // namespace fw::inicases
