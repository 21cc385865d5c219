// The ZIP decompression entry: decodes one entry's data from the open archive into the run's output
// sink with the decoder its method names, keeping the run's CRC-32 over the output.
#pragma once

#include <string>

#include "engine/codec/inflate.h"
#include "engine/core/un_base.h"
#include "engine/formats/common/read_source.h"
#include "engine/formats/zip/zip_records.h"
#include "framework/core/platform.h"

namespace engine::zip {

// The entry's data starts at DataPos of Source, the open Archive (behind the encryption header of an
// encrypted entry, whose keys Component.Keys already holds); stored data is copied from Archive, the
// other methods read through Source. Central gives the method, flags and sizes; for an
// encrypted entry the 12 header bytes are taken off its compressed size here. FileName names the
// output in reports. Inflater is the decoder the run's deflated entries share.
//
// Inflate's failures are reported through OnError and absorbed: the entry is then judged by its CRC.
// The other decoders' failures, and an unknown method (25301), are fatal reports that leave as
// E_RAISE.
//
// No decoder writes more than the central directory's uncompressed size. False when the data decodes
// to a different size: more (the output was cut at the declared size) or fewer bytes (the stream
// ended early). The entry must then fail its check even if the bytes written match the stored CRC.
bool UnzipEntry(TUnBase& component, fw::FileHandle archive, ReadAtSource& source, uint64_t dataPos,
                CentralHeader& central, const std::string& fileName, bool encrypted, mx::codec::Inflater& inflater);

}  // namespace engine::zip
