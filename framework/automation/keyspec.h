// Key specifications of the `keys` and `type` verbs: plain characters are typed as they are; `{Name}`
// is a named key ({Enter}, {Tab}, {Esc}, {F5}, {Left}, ...; {Alt} is the Alt key pressed alone); `+`,
// `^` and `%` before a key hold Shift, Ctrl and Alt for that key (`+a`, `^o`, `%{F4}`); `{+}`, `{^}`,
// `{%}`, `{{}` and `{}}` type those characters.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw::drive {

struct KeyStroke {
    uint8_t vk = 0;     // virtual-key code of a named key; 0 for a plain character
    char ch = 0;        // the character of a plain key, or of a named key that types one (Enter: '\r')
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// False with `error` set for an unknown key name, an unclosed brace or a modifier without a key.
bool ParseKeys(const std::string& spec, std::vector<KeyStroke>& keys, std::string& error);

}  // namespace fw::drive
