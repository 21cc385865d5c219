#include "engine/formats/zip/directory_locator.h"

#include <algorithm>
#include <array>
#include <vector>

#include "engine/formats/common/le_bytes.h"

namespace engine::zip {

namespace {

bool HasSignatureAt(ReadAtSource& source, uint64_t pos, uint32_t signature) {
    std::array<uint8_t, 4> sig{};
    return source.ReadExact(pos, sig) && Le32(sig.data()) == signature;
}

// Reads `count` bytes ending at the end of the source (fewer when the source is shorter).
std::vector<uint8_t> ReadTail(ReadAtSource& source, uint64_t count, uint64_t& start) {
    const uint64_t size = source.Size();
    const uint64_t n = std::min(count, size);
    start = size - n;
    std::vector<uint8_t> buf(static_cast<size_t>(n));
    buf.resize(source.ReadAt(start, buf));
    return buf;
}

}  // namespace

std::optional<EndRecordHit> FindEndRecord(ReadAtSource& source, uint64_t window) {
    uint64_t start = 0;
    const std::vector<uint8_t> tail = ReadTail(source, std::min(window, kEndRecordMaxReach), start);
    if (tail.size() < EndRecord::kSize) return std::nullopt;
    const uint64_t size = source.Size();

    std::optional<EndRecordHit> fits;  // nearest candidate whose comment lies inside the file
    std::optional<EndRecordHit> any;   // nearest candidate at all
    for (size_t i = tail.size() - EndRecord::kSize + 1; i-- > 0;) {
        if (tail[i] != 'P' || tail[i + 1] != 'K' || tail[i + 2] != 5 || tail[i + 3] != 6) continue;
        const auto record = EndRecord::Parse(std::span<const uint8_t>(tail).subspan(i));
        if (!record) continue;
        const EndRecordHit hit{start + i, *record};
        const uint64_t recordEnd = hit.position + EndRecord::kSize + record->commentLength;
        if (recordEnd == size) return hit;
        if (recordEnd < size && !fits) fits = hit;
        if (!any) any = hit;
    }
    return fits ? fits : any;
}

DirectoryLocation LocateDirectory(ReadAtSource& source, uint64_t embeddedOffset, uint64_t localStart) {
    DirectoryLocation loc;
    const uint64_t size = source.Size();

    loc.end = FindEndRecord(source);
    if (loc.end) {
        const EndRecord& end = loc.end->record;
        // The archive comment follows the record; a comment cut short by the end of the file is kept
        // as far as it goes.
        const uint64_t commentPos = loc.end->position + EndRecord::kSize;
        const uint64_t commentLen = std::min<uint64_t>(end.commentLength, size - commentPos);
        loc.archiveComment.assign(static_cast<size_t>(commentLen), '\0');
        if (commentLen != 0) {
            const size_t got = source.ReadAt(commentPos, {reinterpret_cast<uint8_t*>(loc.archiveComment.data()),
                                                          loc.archiveComment.size()});
            loc.archiveComment.resize(got);
        }

        // Where the record says, then where the directory must lie when it ends right before the
        // record (data in front of the archive that its offsets do not count).
        const uint64_t stated = embeddedOffset + end.directoryOffset;
        const uint64_t statedEnd = stated + end.directorySize;
        uint64_t biases[2] = {0, 0};
        const int tries = loc.end->position > statedEnd ? 2 : 1;
        if (tries == 2) biases[1] = loc.end->position - statedEnd;
        // A directory at the stated place is taken even when its first entry's local header is not
        // where it says (the lister reports that); a shifted one only when that header checks out.
        std::optional<DirectoryLocation> atStated;
        for (int k = 0; k < tries; ++k) {
            std::array<uint8_t, CentralHeader::kSize> raw{};
            if (!source.ReadExact(stated + biases[k], raw)) continue;
            const auto central = CentralHeader::Parse(raw);
            if (!central) continue;
            DirectoryLocation found = loc;
            found.kind = DirectoryLocation::Kind::Central;
            found.position = stated + biases[k];
            found.offsetBias = biases[k];
            found.chainValid =
                HasSignatureAt(source, embeddedOffset + biases[k] + central->localHeaderOffset, kLocalSignature);
            if (found.chainValid) return found;
            if (k == 0) atStated = found;
        }
        if (atStated) return *atStated;
    }

    // The stored pointer is wrong or there is no end record: look for the first central header in the
    // last 32 KB.
    {
        uint64_t start = 0;
        const std::vector<uint8_t> tail = ReadTail(source, kEndRecordWindow, start);
        for (size_t i = 0; i + CentralHeader::kSize <= tail.size(); ++i) {
            if (tail[i] == 'P' && tail[i + 1] == 'K' && tail[i + 2] == 1 && tail[i + 3] == 2) {
                loc.kind = DirectoryLocation::Kind::Central;
                loc.position = start + i;
                loc.recoveredByScan = true;
                return loc;
            }
        }
    }

    // No central directory at all: walk the local headers from the start of the file, or from the
    // archive's start behind a prefix.
    for (const uint64_t pos : {uint64_t{0}, localStart}) {
        if (HasSignatureAt(source, pos, kLocalSignature)) {
            loc.kind = DirectoryLocation::Kind::Local;
            loc.position = pos;
            return loc;
        }
    }
    return loc;
}

}  // namespace engine::zip
