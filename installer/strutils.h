// String and name helpers of the install library.
#pragma once

#include <string>

namespace fw {
class TComponent;
class TStrings;
}  // namespace fw

namespace inst {

// S with "\" appended unless S is empty or already ends with "\".
std::string AddBackslash(const std::string& s);
// S without one final "\".
std::string RemoveBackslash(const std::string& s);
// The number of ";" in S, plus 1 when S is not empty and does not end with ";".
int FieldCount(const std::string& s);
// The n-th (1-based) field of S separated by sep; "" when S has fewer than n-1 separators.
std::string Field(const std::string& s, int n, const std::string& sep);
// Clears list and adds the fields 1..FieldCount(S) of the ";"-separated S.
void SplitList(const std::string& s, const std::string& sep, fw::TStrings& list);
// The text after the first ":"; without one, out keeps its value.
void AfterColon(const std::string& s, std::string& out);
// "/" becomes "-"; the characters " * : ; < > ? \ | are dropped; everything else stays.
std::string SafeFileName(const std::string& s);
// Names the component base, base1, base2, ... whichever its owner accepts first.
void SetUniqueName(fw::TComponent* component, const std::string& base);

}  // namespace inst
