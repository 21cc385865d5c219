#include "engine/formats/zip/local_walker.h"

#include <algorithm>
#include <array>

namespace engine::zip {

LocalHeaderWalker::LocalHeaderWalker(ReadAtSource& source, uint64_t start, uint64_t end)
    : source_(source), pos_(start), end_(end == 0 ? source.Size() : std::min(end, source.Size())) {}

WalkStep LocalHeaderWalker::Next(LocalEntry& entry) {
    if (done_ || pos_ > end_ || end_ - pos_ < LocalHeader::kSize) {
        done_ = true;
        return WalkStep::End;
    }
    std::array<uint8_t, LocalHeader::kSize> raw{};
    if (!source_.ReadExact(pos_, raw)) {
        done_ = true;
        return WalkStep::End;
    }
    const auto header = LocalHeader::Parse(raw);
    if (!header) {
        done_ = true;
        return WalkStep::End;
    }
    if (header->DataOffset() > end_ - pos_) {
        done_ = true;
        return WalkStep::Truncated;
    }
    const uint64_t namePos = pos_ + LocalHeader::kSize;
    entry.name.assign(header->nameLength, '\0');
    entry.extra.assign(header->extraLength, '\0');
    if ((header->nameLength != 0 &&
         !source_.ReadExact(namePos, {reinterpret_cast<uint8_t*>(entry.name.data()), entry.name.size()})) ||
        (header->extraLength != 0 &&
         !source_.ReadExact(namePos + header->nameLength,
                            {reinterpret_cast<uint8_t*>(entry.extra.data()), entry.extra.size()}))) {
        done_ = true;
        return WalkStep::Truncated;
    }
    entry.header = *header;
    entry.position = pos_;
    entry.dataPosition = pos_ + header->DataOffset();
    const uint64_t left = end_ - entry.dataPosition;
    entry.dataTruncated = header->compressedSize > left;
    if (entry.dataTruncated) {
        pos_ = end_;
        done_ = true;
    } else {
        pos_ = entry.dataPosition + header->compressedSize;  // > the old position: 30 bytes at least
    }
    return WalkStep::Entry;
}

}  // namespace engine::zip
