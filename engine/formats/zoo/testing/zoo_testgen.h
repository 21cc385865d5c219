// Test-only ZOO writer: ZOO's LZW encoder and archives built from the format description (no tool on
// this system makes ZOO archives).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace engine::zoo::test {

std::string LzwEncode(const std::string& plain);

struct Member {
    std::string name;    // the 8.3 name field
    std::string folder;  // "" for none
    std::string longName;
    int method = 0;       // 0 stored, 1 LZW
    std::string plain;
    bool deleted = false;
    uint16_t crc = 0xFFFF;  // 0xFFFF: the CRC of plain
    std::string packed = {};  // when not empty: the data as stored (method 2 data made elsewhere)
};

// A type-2 archive holding Members in order, ended by the terminating entry.
std::string Archive(const std::vector<Member>& members);

}  // namespace engine::zoo::test
