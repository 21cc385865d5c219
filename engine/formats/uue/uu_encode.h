// TUUEncode: writes one file (ArchiveFile) as UUencoded or XXencoded text into OutFilename,
// optionally split into volumes of KBytesPerVolume kilobytes (file.enc, file.en1, ...).
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/comp_base.h"
#include "engine/formats/uue/uu_code.h"
#include "framework/core/platform.h"

namespace engine {

// The extension given to encoded output files (".enc").
extern std::string EncodedFileExt;

class TUUEncode : public TCompBase {
public:
    explicit TUUEncode(fw::TComponent* owner);

    bool WriteTableToFile() const { return writeTable_; }
    void SetWriteTableToFile(bool value) { writeTable_ = value; }
    int KBytesPerVolume() const { return kbytesPerVolume_; }
    void SetKBytesPerVolume(int value) { kbytesPerVolume_ = value < 0 ? 0 : value; }
    const std::string& OutFilename() const { return outFilename_; }
    // A non-empty name is stored with its extension replaced by EncodedFileExt.
    void SetOutFilename(const std::string& value);

    // True once the names have been checked and the run has started, whatever happens afterwards;
    // OnEnd tells whether the file was encoded completely.
    bool Activate() override;

protected:
    ~TUUEncode() override = default;

private:
    bool Encode();
    bool CreateOutput(fw::FileHandle& file, const std::string& name);
    // Writes data lines until the input ends or the volume is full; the count of the last line.
    int EncodeLines(fw::FileHandle input, fw::FileHandle output, int& lineCount);
    void WriteText(fw::FileHandle output, const std::string& name, const std::string& text);

    bool writeTable_ = true;
    int kbytesPerVolume_ = 0;
    std::string outFilename_;
    std::string_view table_ = uu::kUUTable;
    int64_t inputSize_ = 0, handedOut_ = 0;
};

// Registers TUUEncode with the framework's reflection (after the engine's own classes).
void RegisterUUEncodeClasses();

}  // namespace engine
