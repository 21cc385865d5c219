// Type detection for the components that read archives: runs when their ArchiveFile or ArcType is
// written, and fills in the type, the archive's start, the embedded ZIP offset, size and date.
#pragma once

#include "engine/core/zip_common.h"

namespace engine {

// Detects the type of Component's ArchiveFile. An empty ArchiveFile keeps Requested; a file that
// cannot be opened gives atFileOpenErr. Returns the type to store.
TArcType DetectArchive(TZipCommon& component, TArcType requested);

}  // namespace engine
