// TUUDecode: decodes one UUencoded or XXencoded file, which may be split over several volume files,
// into the file named on its "begin" line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/un_base.h"
#include "engine/formats/uue/uu_code.h"
#include "framework/core/platform.h"

namespace engine {

class TUUDecode : public TUnBase {
public:
    explicit TUUDecode(fw::TComponent* owner);

    int MaxHeaderLines() const { return maxHeaderLines_; }
    void SetMaxHeaderLines(int value) { maxHeaderLines_ = value; }
    bool VolumeLongFilenames() const { return volumeLongFilenames_; }
    void SetVolumeLongFilenames(bool value) { volumeLongFilenames_ = value; }
    uint8_t VolumeStartNum() const { return volumeStartNum_; }
    // At most 10.
    void SetVolumeStartNum(uint8_t value) { volumeStartNum_ = value > 10 ? 10 : value; }
    uu::TNextVolumeName NextVolumeName() const { return nextVolumeName_; }
    void SetNextVolumeName(uu::TNextVolumeName value) { nextVolumeName_ = value; }

    // Writing the type runs type detection on ArchiveFile.
    void SetArcType(TArcType value) override;

    void ProcessArchive() override;

protected:
    ~TUUDecode() override = default;

private:
    enum class VolumeEnd { EndFound, VolumeEnded };
    // Reads the current volume line by line through a buffer, raising progress as bytes are handed out.
    class LineReader {
    public:
        void Reset(fw::FileHandle file, int64_t size);
        // The next line with its line end; empty at the end of the volume. It stays valid until the
        // next ReadLine or PeekLine that moves past it.
        std::string_view ReadLine();
        // The next line without taking it; the ReadLine that follows hands out the same text.
        std::string_view PeekLine();
        int64_t progressTotal = 0;
        int64_t stepBytes = 1;

    private:
        // Moves the unread bytes to the front (growing the buffer when they fill it) and reads more;
        // false when nothing more came.
        bool Fill();
        // The progress reports for the next Count bytes handed out.
        void HandOut(size_t count);
        fw::FileHandle file_ = fw::kInvalidFile;
        std::vector<uint8_t> buffer_;
        size_t pos_ = 0, fill_ = 0;
        int64_t left_ = 0, handedOut_ = 0;
        std::string_view peeked_;
        bool hasPeeked_ = false;
    };

    void Decode();
    std::string ReadHeader();
    void SetupTable(bool automatic);
    VolumeEnd DecodeLines();
    void StartNextVolume();
    void Flush();

    int maxHeaderLines_ = 100;
    bool volumeLongFilenames_ = false;
    uint8_t volumeStartNum_ = 0;
    uu::TNextVolumeName nextVolumeName_ = uu::TNextVolumeName::nvChangeExt;

    uu::DecodeTable table_;
    std::string_view activeTable_;
    std::string customTable_;  // a table read from a "table" header
    LineReader reader_;
    std::vector<uint8_t> out_;
    size_t capacity_ = 0;
};

// Registers TUUDecode with the framework's reflection (after the engine's own classes).
void RegisterUUDecodeClasses();

}  // namespace engine
