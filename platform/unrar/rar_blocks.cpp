#include "platform/unrar/rar_blocks.h"

#include <cctype>
#include <cstring>

#include "engine/codec/crc32.h"

namespace unrar {

namespace {

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

// Well-formed UTF-8 with at least one character beyond ASCII.
bool IsUtf8Text(const std::string& text)
{
    bool wide = false;
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            ++i;
            continue;
        }
        const unsigned need = b >= 0xC2 && b <= 0xDF ? 1 : b >= 0xE0 && b <= 0xEF ? 2 : b >= 0xF0 && b <= 0xF4 ? 3 : 0;
        if (need == 0 || i + need >= text.size())
            return false;
        for (unsigned k = 1; k <= need; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        wide = true;
        i += need + 1;
    }
    return wide;
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string& text)
{
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const unsigned need = b >= 0xF0 && b < 0xF8 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t c = need == 3 ? b & 0x07 : need == 2 ? b & 0x0F : b & 0x1F;
        bool valid = need > 0 && i + need < text.size();
        for (unsigned k = 1; valid && k <= need; ++k) {
            const auto t = static_cast<unsigned char>(text[i + k]);
            valid = (t & 0xC0) == 0x80;
            c = (c << 6) | (t & 0x3F);
        }
        if (!valid) {
            out.push_back(char16_t(b));
            ++i;
            continue;
        }
        i += need + 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(char16_t(0xD800 + ((c >> 10) & 0x3FF)));
            out.push_back(char16_t(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(char16_t(c));
        }
    }
    return out;
}

std::u16string DecodeUnicodeName(std::span<const uint8_t> plain, std::span<const uint8_t> encoded)
{
    std::u16string out;
    size_t pos = 0;
    if (encoded.empty())
        return out;
    const unsigned high = encoded[pos++];
    unsigned flags = 0, flagBits = 0;
    while (pos < encoded.size()) {
        if (flagBits == 0) {
            flags = encoded[pos++];
            flagBits = 8;
            if (pos >= encoded.size())
                break;
        }
        switch (flags >> 6) {
        case 0:
            out.push_back(char16_t(encoded[pos++]));
            break;
        case 1:
            out.push_back(char16_t(encoded[pos++] | high << 8));
            break;
        case 2:
            if (pos + 2 > encoded.size())
                return out;
            out.push_back(char16_t(encoded[pos] | encoded[pos + 1] << 8));
            pos += 2;
            break;
        default: {
            const unsigned n = encoded[pos++];
            if (n & 0x80) {
                if (pos >= encoded.size())
                    return out;
                const unsigned correction = encoded[pos++];
                for (unsigned k = 0; k < (n & 0x7F) + 2 && out.size() < plain.size(); ++k)
                    out.push_back(char16_t(((plain[out.size()] + correction) & 0xFF) | high << 8));
            } else {
                for (unsigned k = 0; k < n + 2 && out.size() < plain.size(); ++k)
                    out.push_back(char16_t(plain[out.size()]));
            }
            break;
        }
        }
        flags = (flags << 2) & 0xFF;
        flagBits -= 2;
    }
    const size_t zero = out.find(u'\0');
    if (zero != std::u16string::npos)
        out.resize(zero);
    return out;
}

ParseResult ParseBlockHeader(std::span<const uint8_t> bytes, BlockHeader& out)
{
    if (bytes.size() < 7)
        return ParseResult::Short;
    out.crc = Le16(&bytes[0]);
    out.type = bytes[2];
    out.flags = Le16(&bytes[3]);
    out.headSize = Le16(&bytes[5]);
    out.dataSize = 0;
    if (out.headSize < 7)
        return ParseResult::Bad;
    const bool hasData = (out.flags & kLongBlock) || out.type == kFileHead || out.type == kNewSub || out.type == kSubHead;
    if (hasData) {
        if (out.headSize < 11)
            return ParseResult::Bad;
        if (bytes.size() < 11)
            return ParseResult::Short;
        out.dataSize = Le32(&bytes[7]);
    }
    return ParseResult::Ok;
}

bool HeaderCrcMatches(std::span<const uint8_t> header, const BlockHeader& block)
{
    size_t covered = block.headSize;
    if (block.type == kMainHead && (block.flags & kMainComment))
        covered = 13;
    if (block.type == 0x76 || block.type == 0x79 || block.type == kSubHead)
        return true;  // authenticity blocks and old sub-blocks carry no checkable CRC
    if (block.type == kFileHead && (block.flags & kFileComment) && header.size() >= 32) {
        // An embedded old comment is outside the CRC, which ends with the fields before it.
        covered = ((block.flags & kLarge) ? 40 : 32) + size_t(Le16(&header[26])) + ((block.flags & kSalt) ? 8 : 0);
    }
    if (covered > header.size() || covered < 2)
        return false;
    return (mx::codec::Crc32(header.subspan(2, covered - 2)) & 0xFFFF) == block.crc;
}

ParseResult ParseFileHeader(std::span<const uint8_t> h, FileHeader& out)
{
    if (h.size() < 32)
        return ParseResult::Bad;
    out.flags = Le16(&h[3]);
    out.packSize = Le32(&h[7]);
    out.unpSize = Le32(&h[11]);
    out.hostOS = h[15];
    out.fileCRC = Le32(&h[16]);
    out.fileTime = Le32(&h[20]);
    out.unpVer = h[24];
    out.method = h[25];
    const size_t nameSize = Le16(&h[26]);
    out.attr = Le32(&h[28]);
    size_t pos = 32;
    if (out.flags & kLarge) {
        if (h.size() < 40)
            return ParseResult::Bad;
        out.packSize |= uint64_t(Le32(&h[32])) << 32;
        out.unpSize |= uint64_t(Le32(&h[36])) << 32;
        pos = 40;
    }
    if (pos + nameSize > h.size())
        return ParseResult::Bad;
    out.name.assign(reinterpret_cast<const char*>(&h[pos]), nameSize);
    out.hasSalt = (out.flags & kSalt) != 0;
    if (out.hasSalt) {
        if (pos + nameSize + 8 > h.size())
            return ParseResult::Bad;
        std::memcpy(out.salt, &h[pos + nameSize], 8);
    }
    out.wideName.clear();
    if (out.flags & kUnicode) {
        // The plain name comes before a zero and the encoded Unicode form after it; a field without
        // a zero is UTF-8.
        const size_t zero = out.name.find('\0');
        const std::span<const uint8_t> field(&h[pos], nameSize);
        if (zero != std::string::npos) {
            out.wideName = DecodeUnicodeName(field.first(zero), field.subspan(zero + 1));
            out.name.resize(zero);
        } else {
            out.wideName = Utf8ToUtf16(out.name);
            out.name.clear();
        }
    } else if ((out.hostOS == 3 || out.hostOS == 5) && IsUtf8Text(out.name)) {
        // Unix hosts store their own names without the flag: UTF-8 where the system uses it.
        out.wideName = Utf8ToUtf16(out.name);
    }
    // Unix hosts keep st_mode: a folder is marked for the caller as the DOS folder bit.
    if (out.hostOS == 3 || out.hostOS == 5)
        out.attr = (out.flags & kDirectoryMask) == kDirectoryMask ? 0x10 : ((out.attr & 0200) ? 0x20 : 0x21);
    else if ((out.flags & kDirectoryMask) == kDirectoryMask)
        out.attr |= 0x10;
    return ParseResult::Ok;
}

std::string NextVolumeName(const std::string& name, bool newNumbering)
{
    std::string next = name;
    const size_t slash = next.find_last_of("\\/");
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = next.rfind('.');
    if (dot == std::string::npos || dot < nameStart) {
        next += newNumbering ? ".part2.rar" : ".r00";
        return next;
    }
    if (newNumbering) {
        // The digit run before the extension, counted up with carry; the extension becomes ".rar".
        next = next.substr(0, dot) + ".rar";
        size_t end = dot;
        size_t start = end;
        while (start > nameStart && std::isdigit(uint8_t(next[start - 1])))
            --start;
        if (start == end) {
            next.insert(end, "2");
            return next;
        }
        size_t i = end;
        while (i > start) {
            --i;
            if (next[i] != '9') {
                ++next[i];
                return next;
            }
            next[i] = '0';
        }
        next.insert(start, "1");
        return next;
    }
    std::string ext = next.substr(dot + 1);
    if (ext.size() < 3 || !std::isdigit(uint8_t(ext[1])) || !std::isdigit(uint8_t(ext[2]))) {
        // "x.rar" (or a self-extractor's "x.exe") -> "x.r00"
        return next.substr(0, dot) + ".r00";
    }
    for (size_t i = next.size(); i-- > dot + 1;) {
        char& c = next[i];
        if (std::isdigit(uint8_t(c))) {
            if (c != '9') {
                ++c;
                return next;
            }
            c = '0';
        } else {
            ++c;
            return next;
        }
    }
    return next;
}

}  // namespace unrar
