// TZip: the writer of ZIP archives. A run adds files (swAdd), adds them and deletes the sources
// (swMove), deletes entries (swDelete) or lists the archive (swRead). Every change writes a complete
// new archive beside the old one; the old archive is replaced only once the new one is complete and
// on disk, and any failure or cancel before that leaves it exactly as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/comp_base.h"
#include "engine/formats/zip/zip_records.h"

namespace engine {

class TZipCompObject;

class TZip : public TCompBase {
public:
    explicit TZip(fw::TComponent* owner);

    // Always stores atZip.
    void SetArcType(TArcType value) override;

    TDeflateType DeflateType() const { return deflateType_; }
    // dtDeflateF, dtDeflateN and dtDeflateX also set the engine-wide level (2, 7, 9) that every ZIP
    // writer uses; dtDeflateS leaves it.
    void SetDeflateType(TDeflateType value);
    // The engine-wide deflate level.
    static int DeflateLevel();

    // Default archive extension, kept for the caller: trimmed, the part after a first ".", at most 3
    // characters, "ZIP" when empty.
    std::string GetDefaultExt();
    void SetDefaultExt(const std::string& value);

    const std::string& GetPassword() const { return Password; }
    void SetPassword(const std::string& value) { Password = value; }
    void SetPasswords(fw::TStrings* value);

    // The header walks of ListArchive: NextHeader reads the central (Central) or local record at
    // NextHeaderPos; Name receives the stored name with "\" separators, in the archive's code page.
    bool FirstHeader(std::string& name, fw::TStream& stream, bool central) override;
    bool NextHeader(std::string& name, fw::TStream& stream, bool central) override;
    // Fills the current-entry members from the record NextHeader read last.
    void LoadEntry(const std::string& name) override;

    bool Activate() override;

protected:
    ~TZip() override;

private:
    struct RunState;
    struct HeaderValues {
        uint16_t versionNeeded = 0, flags = 0, method = 0;
        uint32_t dosTime = 0, crc = 0, compressedSize = 0, uncompressedSize = 0;
    };

    bool Run(RunState& run);
    bool OpenOldArchive(RunState& run);
    std::string ItemFolder(const std::string& item);
    void SearchFolder(RunState& run, const std::string& mask, int depth);
    void AddFile(RunState& run, const fw::FileEntry& found);
    void CopyKeptEntries(RunState& run);
    void AppendNewEntries(RunState& run);
    void DeleteWalk(RunState& run);
    bool SettlePassword(RunState& run, const std::string& name, const TZipCompObject& entry);
    void Commit(RunState& run);
    void ReportNewEntries(RunState& run);
    void DeleteMovedSources(RunState& run);

    TDeflateType deflateType_ = TDeflateType::dtDeflateN;
    HeaderValues header_;
};

// Registers TZip with the framework's reflection (after the engine's own classes).
void RegisterZipWriterClasses();

}  // namespace engine
