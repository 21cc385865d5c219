#include "installer/controls/ani_reader.h"

#include <algorithm>
#include <cstring>

#include "framework/core/exceptions.h"
#include "installer/controls/icon_directory.h"
#include "installer/controls/le_bytes.h"

namespace inst {

namespace {

constexpr size_t kChunkHeaderSize = 8;
constexpr size_t kInfoTextMax = 255;

// A little-endian value of up to four bytes (a short chunk gives what it has).
uint32_t LeUpTo32(std::span<const uint8_t> s) {
    uint32_t v = 0;
    for (size_t i = 0; i < s.size() && i < 4; ++i) v |= uint32_t{s[i]} << (8 * i);
    return v;
}

bool Is(std::span<const uint8_t> s, size_t at, const char* id) { return std::memcmp(s.data() + at, id, 4) == 0; }

// A chunk inside `within`: identifier, declared size, and its data cut to what `within` holds.
struct Chunk {
    std::span<const uint8_t> header;
    std::span<const uint8_t> data;
    uint32_t size = 0;
    bool complete = true;  // the declared size fits
    size_t next = 0;       // the offset after it and its pad byte
};

Chunk ChunkAt(std::span<const uint8_t> within, size_t at) {
    Chunk c;
    c.header = within.subspan(at, kChunkHeaderSize);
    c.size = Le32(within.data() + at + 4);
    const size_t start = at + kChunkHeaderSize;
    const size_t available = within.size() - start;
    c.complete = c.size <= available;
    const size_t n = c.complete ? c.size : available;
    c.data = within.subspan(start, n);
    c.next = start + n + (c.complete && (c.size & 1) && n < available ? 1 : 0);
    return c;
}

class AniReader {
public:
    AniReader(std::span<const uint8_t> data, const AniIconLoader& load) : data_(data), load_(load) {}

    AniFile Read() {
        if (data_.size() < 12 || !Is(data_, 0, "RIFF") || !Is(data_, 8, "ACON")) throw fw::EReadError(fw::SReadError);
        size_t pos = 12;
        while (data_.size() - pos >= kChunkHeaderSize) {
            const Chunk c = ChunkAt(data_, pos);
            if (Is(c.header, 0, "anih")) {
                if (!c.complete) break;  // a short header ends the file
                ReadHeader(c.data);
            } else if (Is(c.header, 0, "rate")) {
                ForEachEntry(c.data, [&](AniFrame& f, uint32_t v) { f.rate = v; }, rateStep_);
            } else if (Is(c.header, 0, "seq ")) {
                ForEachEntry(c.data, [&](AniFrame& f, uint32_t v) { f.iconIndex = static_cast<int32_t>(v); }, seqStep_);
            } else if (Is(c.header, 0, "LIST") && c.data.size() >= 4) {
                if (Is(c.data, 0, "fram")) ReadFrames(c.data.subspan(4));
                else if (Is(c.data, 0, "INFO")) ReadInfo(c.data.subspan(4));
            }
            pos = c.next;
        }
        std::erase_if(file_.frames, [](const AniFrame& f) { return f.icon < 0; });
        file_.header.steps = static_cast<uint32_t>(file_.frames.size());
        if (file_.frames.empty()) throw fw::EReadError(fw::SReadError);
        return std::move(file_);
    }

private:
    void ReadHeader(std::span<const uint8_t> d) {
        uint8_t raw[kAniHeaderSize] = {};
        std::copy_n(d.begin(), std::min(d.size(), kAniHeaderSize), raw);
        AniHeader& a = file_.header;
        a = {Le32(raw), Le32(raw + 4), Le32(raw + 8), Le32(raw + 12), Le32(raw + 16), Le32(raw + 20), Le32(raw + 24), Le32(raw + 28), Le32(raw + 32)};
        if (!(a.flags & kAniFlagIcon) || a.steps == 0) throw fw::EReadError(fw::SReadError);
        // A frame can only get an icon from a chunk of at least a header's size: more are never kept.
        const size_t frames = std::min<size_t>(a.frames, data_.size() / kChunkHeaderSize);
        // A header starts the steps over: rates and order count from its first frame again.
        file_.frames.clear();
        rateStep_ = seqStep_ = 0;
        for (size_t i = 0; i < frames; ++i) file_.frames.push_back({-1, a.displayRate, static_cast<int32_t>(i)});
    }

    // A "rate" or "seq " chunk: one 32-bit entry per step, each for the next frame in turn. Steps past
    // the frames of the header get frames of their own (showing the icon of their position until a
    // "seq " chunk says otherwise).
    template <class Set>
    void ForEachEntry(std::span<const uint8_t> d, Set set, size_t& step) {
        const size_t entries = std::max<size_t>(d.size() / 4, 1);
        for (size_t i = 0; i < entries; ++i) {
            const uint32_t v = LeUpTo32(d.subspan(std::min(i * 4, d.size())));
            while (step >= file_.frames.size())
                file_.frames.push_back({-1, file_.header.displayRate, static_cast<int32_t>(file_.frames.size())});
            set(file_.frames[step++], v);
        }
    }

    void ReadFrames(std::span<const uint8_t> list) {
        size_t pos = 0;
        while (list.size() - pos > 7) {
            const Chunk c = ChunkAt(list, pos);
            if (Is(c.header, 0, "icon")) {
                AniIcon icon;
                if (!LoadIcon(c, icon)) return;
                const int number = static_cast<int>(file_.icons.size());
                file_.icons.push_back(std::move(icon));
                bool matched = false;
                for (AniFrame& f : file_.frames)
                    if (f.iconIndex == iconNumber_) {
                        f.icon = number;
                        matched = true;
                    }
                if (!matched) file_.frames.push_back({number, file_.header.displayRate, -1});
                ++iconNumber_;
            }
            pos = c.next;
        }
    }

    bool LoadIcon(const Chunk& c, AniIcon& icon) {
        IconDirectory dir;
        if (!ParseIconDirectory(c.data, dir)) return false;
        icon.file.assign(c.data.begin(), c.data.end());
        std::copy(c.header.begin(), c.header.end(), icon.tag.begin());
        icon.isIcon = dir.type == 1;
        icon.file[2] = 1;  // a cursor loads as an icon; its hot spot is kept here
        for (const IconDirEntry& e : dir.entries) {
            file_.sourceColorCount = std::max(file_.sourceColorCount, ColorsOfBitCount(e.imageBits));
            icon.hotX = e.word3;
            icon.hotY = e.word4;
        }
        if (icon.isIcon) {
            icon.hotX = dir.entries[0].width / 2;
            icon.hotY = dir.entries[0].height / 2;
        }
        return !load_ || load_(icon);
    }

    void ReadInfo(std::span<const uint8_t> list) {
        size_t pos = 0;
        while (list.size() - pos >= kChunkHeaderSize) {
            const Chunk c = ChunkAt(list, pos);
            if (!c.complete) return;  // larger than what remains of the list
            std::string* text = Is(c.header, 0, "INAM") ? &file_.title : Is(c.header, 0, "IART") ? &file_.author : nullptr;
            if (text) {
                const std::span<const uint8_t> s = c.data.first(std::min(c.data.size(), kInfoTextMax));
                text->assign(s.begin(), std::find(s.begin(), s.end(), uint8_t{0}));
            }
            pos = c.next;
        }
    }

    std::span<const uint8_t> data_;
    const AniIconLoader& load_;
    AniFile file_;
    size_t rateStep_ = 0;
    size_t seqStep_ = 0;
    int iconNumber_ = 0;
};

}  // namespace

AniFile ReadAni(std::span<const uint8_t> data, const AniIconLoader& load) { return AniReader(data, load).Read(); }

}  // namespace inst
