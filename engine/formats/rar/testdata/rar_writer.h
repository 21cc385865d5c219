// Test helper: writes RAR 2.9 block-format archives with stored entries (no RAR compressor exists
// on these machines; entries marked compressed hold their bytes as given), single or split into volumes with either naming style. lsar and bsdtar
// check what it writes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/codec/crc32.h"

namespace engine::test {

struct RarTestEntry {
    std::string name;  // "\" separators
    std::string data;
    bool folder = false;
    uint32_t dosTime = 0x5A6B1234;  // 2025-03-11 02:17:40
    uint8_t method = 0x30;          // stored; 0x31..0x35 mark compressed data
    bool encrypted = false;
    uint32_t attr = 0x20;
    bool badCrc = false;  // stores a wrong CRC for the data
    uint8_t version = 29;  // version needed to extract
    // For packed data made by a test encoder: the unpacked bytes, whose size and CRC the header
    // carries (empty: the data are the unpacked bytes), and the solid flag.
    std::string unpacked = {};
    bool solid = false;
    uint8_t host = 2;           // the host system: 2 Win32, 3 Unix
    std::string comment = {};   // a stored comment in the header (the layout of RAR 2.x and before)
};

class RarTestWriter {
public:
    // Volumes of at most VolumeData data bytes each (0: one archive), named Base + ".rar",
    // ".r00", ... or Base + ".part1.rar", ".part2.rar", ... Returns the names and contents.
    static std::vector<std::pair<std::string, std::string>> Make(const std::string& base,
                                                                 const std::vector<RarTestEntry>& entries,
                                                                 size_t volumeData = 0, bool newNumbering = false)
    {
        std::vector<std::pair<std::string, std::string>> volumes;
        const bool split = volumeData > 0;
        std::string current;
        size_t room = split ? volumeData : SIZE_MAX;
        const auto start = [&] {
            current.assign(reinterpret_cast<const char*>("Rar!\x1A\x07\x00"), 7);
            // A solid entry makes the archive solid.
            uint16_t flags = std::any_of(entries.begin(), entries.end(), [](const RarTestEntry& e) { return e.solid; }) ? 0x0008 : 0;
            if (split)
                flags |= 0x0001 | (newNumbering ? 0x0010 : 0) | (volumes.empty() ? 0x0100 : 0);
            std::string main = Head(0x73, flags, 13) + std::string(6, '\0');
            current += WithCrc(main);
            room = split ? volumeData : SIZE_MAX;
        };
        const auto finish = [&](bool more) {
            current += WithCrc(Head(0x7B, uint16_t(0x4000 | (more ? 0x0001 : 0)), 7));
            volumes.emplace_back(VolumeName(base, volumes.size(), split, newNumbering), current);
        };
        start();
        for (const RarTestEntry& e : entries) {
            const std::string& plain = e.unpacked.empty() ? e.data : e.unpacked;
            const uint32_t wholeCrc = mx::codec::Crc32(std::span<const uint8_t>(
                                          reinterpret_cast<const uint8_t*>(plain.data()), plain.size())) ^
                                      (e.badCrc ? 1u : 0u);
            size_t done = 0;
            bool first = true;
            do {
                if (room == 0) {
                    finish(true);
                    start();
                }
                const size_t n = std::min(room, e.data.size() - done);
                const bool last = done + n == e.data.size();
                uint16_t flags = 0x8000 | (first ? 0 : 0x0001) | (last ? 0 : 0x0002) | (e.folder ? 0x00E0 : 0) |
                                 (e.encrypted ? 0x0004 : 0) | (e.solid ? 0x0010 : 0);
                const std::string part = e.data.substr(done, n);
                const std::string comment = e.comment.empty() ? std::string() : CommentBlock(e.comment);
                if (!comment.empty())
                    flags |= 0x0008;
                const uint32_t crc = last ? wholeCrc
                                          : mx::codec::Crc32(std::span<const uint8_t>(
                                                reinterpret_cast<const uint8_t*>(part.data()), part.size()));
                std::string h = Head(0x74, flags, uint16_t(32 + e.name.size() + comment.size()));
                h += Le32(uint32_t(n)) + Le32(uint32_t(plain.size())) + char(e.host) + Le32(crc) + Le32(e.dosTime) +
                     char(e.version) + char(e.method) + Le16(uint16_t(e.name.size())) +
                     Le32(e.folder ? 0x10 : e.attr) + e.name;
                // The header's CRC covers it up to the comment, which has its own.
                current += WithCrc(h) + comment + part;
                if (split)
                    room -= n;
                done += n;
                first = false;
            } while (done < e.data.size());
        }
        finish(false);
        return volumes;
    }

    static std::string VolumeName(const std::string& base, size_t index, bool split, bool newNumbering)
    {
        if (!split || (!newNumbering && index == 0))
            return base + ".rar";
        if (newNumbering)
            return base + ".part" + std::to_string(index + 1) + ".rar";
        const std::string n = std::to_string(index - 1);
        return base + ".r" + (n.size() < 2 ? "0" + n : n);
    }

private:
    static std::string Le16(uint16_t v) { return std::string{char(v), char(v >> 8)}; }
    static std::string Le32(uint32_t v) { return Le16(uint16_t(v)) + Le16(uint16_t(v >> 16)); }
    // CRC placeholder, type, flags and size.
    static std::string Head(uint8_t type, uint16_t flags, uint16_t size)
    {
        std::string h(2, '\0');
        h += char(type);
        return h + Le16(flags) + Le16(size);
    }
    // A stored comment: its 13-byte header (unpacked size, version, method, CRC of the text) and the text.
    static std::string CommentBlock(const std::string& text)
    {
        const uint32_t crc =
            mx::codec::Crc32(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
        return WithCrc(Head(0x75, 0, uint16_t(13 + text.size())) + Le16(uint16_t(text.size())) + char(15) + char(0x30) +
                       Le16(uint16_t(crc))) +
               text;
    }
    static std::string WithCrc(std::string header)
    {
        const uint32_t crc = mx::codec::Crc32(
            std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(header.data()) + 2, header.size() - 2));
        header[0] = char(crc);
        header[1] = char(crc >> 8);
        return header;
    }
};

}  // namespace engine::test
