#include "framework/automation/keyspec.h"

#include "framework/automation/protocol.h"

namespace fw::drive {
namespace {

struct NamedKey {
    const char* name;
    uint8_t vk;
    char ch;
};

// Virtual-key codes of the system (the values of its VK_* constants).
constexpr NamedKey kNamedKeys[] = {
    {"Enter", 0x0D, '\r'},  {"Return", 0x0D, '\r'}, {"Tab", 0x09, '\t'},     {"Esc", 0x1B, 0x1B},
    {"Escape", 0x1B, 0x1B}, {"Backspace", 0x08, 0x08}, {"BS", 0x08, 0x08},  {"Space", 0x20, ' '},
    {"Delete", 0x2E, 0},    {"Del", 0x2E, 0},       {"Insert", 0x2D, 0},     {"Ins", 0x2D, 0},
    {"Home", 0x24, 0},      {"End", 0x23, 0},       {"PgUp", 0x21, 0},       {"PgDn", 0x22, 0},
    {"Left", 0x25, 0},      {"Up", 0x26, 0},        {"Right", 0x27, 0},      {"Down", 0x28, 0},
    {"Apps", 0x5D, 0},      {"Alt", 0x12, 0},
};

bool SameAscii(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return i == a.size() && !b[i];
}

bool LookUp(const std::string& name, KeyStroke& key) {
    if (name.size() == 1) {  // {+} {^} {%} {{} {}} and any single character
        key.ch = name[0];
        return true;
    }
    for (const NamedKey& k : kNamedKeys) {
        if (SameAscii(name, k.name)) {
            key.vk = k.vk;
            key.ch = k.ch;
            return true;
        }
    }
    if ((name[0] == 'F' || name[0] == 'f') && name.size() <= 3) {
        int n = 0;
        for (size_t i = 1; i < name.size(); ++i) {
            if (name[i] < '0' || name[i] > '9') return false;
            n = n * 10 + (name[i] - '0');
        }
        if (n >= 1 && n <= 24) {
            key.vk = static_cast<uint8_t>(0x70 + n - 1);
            return true;
        }
    }
    return false;
}

}  // namespace

bool ParseKeys(const std::string& spec, std::vector<KeyStroke>& keys, std::string& error) {
    keys.clear();
    KeyStroke pending;
    bool modifier = false;
    for (size_t i = 0; i < spec.size(); ++i) {
        char c = spec[i];
        if (c == '+' || c == '^' || c == '%') {
            (c == '+' ? pending.shift : c == '^' ? pending.ctrl : pending.alt) = true;
            modifier = true;
            continue;
        }
        if (c == '{') {
            // "{}}" names the closing brace itself.
            size_t close = spec.find('}', i + 2);
            if (close == std::string::npos) {
                error = "unclosed { in key sequence: " + Escape(spec);
                return false;
            }
            std::string name = spec.substr(i + 1, close - i - 1);
            if (!LookUp(name, pending)) {
                error = "unknown key {" + name + "}";
                return false;
            }
            i = close;
        } else {
            pending.ch = c;
        }
        keys.push_back(pending);
        pending = KeyStroke();
        modifier = false;
    }
    if (modifier) {
        error = "modifier without a key at the end of: " + Escape(spec);
        return false;
    }
    return true;
}

}  // namespace fw::drive
