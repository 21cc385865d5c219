#include "engine/formats/zip/central_walker.h"

#include <algorithm>
#include <array>

namespace engine::zip {

namespace {

// Reads len bytes at pos into out; the caller has checked that they lie inside the walk.
bool ReadString(ReadAtSource& source, uint64_t pos, size_t len, std::string& out) {
    out.assign(len, '\0');
    if (len == 0) return true;
    return source.ReadExact(pos, {reinterpret_cast<uint8_t*>(out.data()), len});
}

}  // namespace

CentralDirectoryWalker::CentralDirectoryWalker(ReadAtSource& source, uint64_t start, uint64_t end)
    : source_(source), pos_(start), end_(end == 0 ? source.Size() : std::min(end, source.Size())) {}

WalkStep CentralDirectoryWalker::Next(CentralEntry& entry) {
    if (done_ || pos_ > end_ || end_ - pos_ < CentralHeader::kSize) {
        done_ = true;
        return WalkStep::End;
    }
    std::array<uint8_t, CentralHeader::kSize> raw{};
    if (!source_.ReadExact(pos_, raw)) {
        done_ = true;
        return WalkStep::End;
    }
    const auto header = CentralHeader::Parse(raw);
    if (!header) {
        done_ = true;
        return WalkStep::End;
    }
    // Name, extra field and comment must all lie before the end; then the next record follows them.
    if (header->RecordSize() > end_ - pos_) {
        done_ = true;
        return WalkStep::Truncated;
    }
    const uint64_t namePos = pos_ + CentralHeader::kSize;
    const uint64_t extraPos = namePos + header->nameLength;
    const uint64_t commentPos = extraPos + header->extraLength;
    if (!ReadString(source_, namePos, header->nameLength, entry.name) ||
        !ReadString(source_, extraPos, header->extraLength, entry.extra) ||
        !ReadString(source_, commentPos, header->commentLength, entry.comment)) {
        done_ = true;
        return WalkStep::Truncated;
    }
    entry.header = *header;
    entry.position = pos_;
    pos_ += header->RecordSize();
    return WalkStep::Entry;
}

}  // namespace engine::zip
