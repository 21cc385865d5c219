#include "installer/strutils.h"

#include "framework/core/lists.h"
#include "framework/core/object.h"

namespace inst {

std::string AddBackslash(const std::string& s) {
    if (s.empty() || s.back() == '\\') return s;
    return s + "\\";
}

std::string RemoveBackslash(const std::string& s) {
    if (!s.empty() && s.back() == '\\') return s.substr(0, s.size() - 1);
    return s;
}

int FieldCount(const std::string& s) {
    int n = 0;
    for (char c : s)
        if (c == ';') ++n;
    if (!s.empty() && s.back() != ';') ++n;
    return n;
}

std::string Field(const std::string& s, int n, const std::string& sep) {
    if (n < 1 || sep.empty()) return std::string();
    size_t start = 0;
    for (int i = 1; i < n; ++i) {
        size_t p = s.find(sep, start);
        if (p == std::string::npos) return std::string();
        start = p + sep.size();
    }
    size_t end = s.find(sep, start);
    return s.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

void SplitList(const std::string& s, const std::string& sep, fw::TStrings& list) {
    list.Clear();
    const int count = FieldCount(s);
    for (int i = 1; i <= count; ++i) list.Add(Field(s, i, sep));
}

void AfterColon(const std::string& s, std::string& out) {
    size_t p = s.find(':');
    if (p != std::string::npos) out = s.substr(p + 1);
}

std::string SafeFileName(const std::string& s) {
    std::string out;
    for (char c : s) {
        switch (c) {
            case '/': out += '-'; break;
            case '"': case '*': case ':': case ';': case '<': case '>': case '?': case '\\': case '|': break;
            default: out += c;
        }
    }
    return out;
}

void SetUniqueName(fw::TComponent* component, const std::string& base) {
    for (int n = 0;; ++n) {
        try {
            component->SetName(n == 0 ? base : base + std::to_string(n));
            return;
        } catch (const fw::EComponentError&) {
            if (n > 100000) throw;
        }
    }
}

}  // namespace inst
