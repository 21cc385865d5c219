#include "engine/formats/open/archive_detection.h"

#include "engine/core/file_routines.h"
#include "engine/detect/arc_detect.h"
#include "engine/formats/common/file_source.h"

namespace engine {

TArcType DetectArchive(TZipCommon& component, TArcType requested)
{
    if (component.ArchiveFile().empty())
        return requested;
    component.SfxZipOffset = 0;
    component.ArcStartPos = 1;
    component.ArchiveSize = 0;
    const fw::FileHandle handle = OpenArchiveRead(component.ArchiveFile());
    if (handle == fw::kInvalidFile)
        return TArcType::atFileOpenErr;
    const int64_t size = OpenFileSize(handle);
    DetectResult result;
    if (size >= 0) {
        FileReadSource source(handle, static_cast<uint64_t>(size));
        result = DetectArcType(source, component.ArchiveFile(),
                               static_cast<uint32_t>(component.ZipCmntBufSize()));
        component.ArchiveSize = size;
    } else {
        result.arcType = TArcType::atFileOpenErr;
    }
    CloseFile(handle);
    component.ArcStartPos = result.arcStartPos;
    component.SfxZipOffset = result.sfxZipOffset;
    const int64_t age = FileAge(component.ArchiveFile());
    component.ArchiveDate = age >= 0 ? static_cast<uint32_t>(age) : 29221;
    return result.arcType;
}

}  // namespace engine
