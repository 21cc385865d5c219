// Test-only ARC writers: records for hand-built archives, and encoders for the methods that today's
// arc no longer writes (run-length packing and the fixed 12-bit LZW of methods 5 to 7).
#pragma once

#include <cstdint>
#include <string>

namespace engine::arc::test {

std::string RunLengthEncode(const std::string& plain);
// Fixed 12-bit LZW codes with the old (methods 5, 6) or new (method 7) hash.
std::string FixedLzwEncode(const std::string& input, bool newHash);
// The packed bytes of Plain for Method (1, 2, 3, 5, 6 or 7).
std::string Pack(int method, const std::string& plain);

// A file record: header (the short form for method 1) and packed data; the CRC is Plain's.
std::string Record(int method, const std::string& name, const std::string& packed, const std::string& plain,
                   uint32_t dosStampDateFirst = 0x6000'5821);
std::string FolderRecord(const std::string& name);
std::string FolderEnd();
std::string EndMarker();

}  // namespace engine::arc::test
