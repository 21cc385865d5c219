// What the ZIP writer keeps per entry of its lists of stored names: for an entry of the old archive
// everything its central record says (so that it can be copied and described again without reading
// its local header's sizes), for a file added in this run its date, size and attributes.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/comp_base.h"

namespace engine {

class TZipCompObject : public TCompObject {
public:
    // DosDate, Size (uncompressed) and Attr (external attributes) come from TCompObject.
    uint32_t CompressedSize = 0;
    uint32_t Crc = 0;
    uint16_t ExtraLength = 0;    // of the central record
    uint16_t CommentLength = 0;
    uint16_t Method = 0;
    uint16_t Flags = 0;
    uint16_t VersionNeeded = 0;
    uint16_t InternalAttr = 0;
    // File positions in the old archive (prefix included): its local header and its central record.
    uint64_t LocalOffset = 0;
    uint64_t CentralOffset = 0;
    // The stored name as its bytes (OEM code page, "/" separators) and the entry comment.
    std::string StoredName;
    std::string Comment;
    // The central record's extra field, carried to the new directory with the entry.
    std::string CentralExtra;
};

}  // namespace engine
