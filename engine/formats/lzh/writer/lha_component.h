// TLha: the writer of LHA/LZH archives with level-0 headers. A run adds files stored (-lh0-) or
// frozen (-lh1-), adds them and deletes the sources (swMove), deletes entries (swDelete) or lists the
// archive (swRead). The new archive is built in temporary files and replaces the old one only once
// it is complete. Entries of an existing archive are copied whole, whatever their header level.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/comp_base.h"
#include "framework/core/platform.h"

namespace engine {

namespace lha {
struct LhaEntry;
}

class TLha : public TCompBase {
public:
    explicit TLha(fw::TComponent* owner);

    // Always stores atLha.
    void SetArcType(TArcType value) override;

    // Trimmed, the part after a first ".", at most 3 characters, "LZH" when empty; setting it
    // assigns ArchiveFile again.
    std::string GetDefaultExt();
    void SetDefaultExt(const std::string& value);

    bool NextHeader(std::string& name, fw::TStream& stream, bool central) override;
    void LoadEntry(const std::string& name) override;
    bool Activate() override;

protected:
    ~TLha() override;

private:
    struct RunState;
    bool Body(RunState& run, fw::TStream& out, fw::TStream* old);
    void SearchFolder(RunState& run, const std::string& mask, int depth);
    void AddFile(RunState& run, const fw::FileEntry& found);
    void CopyEntry(RunState& run, fw::TStream& out, const lha::LhaEntry& entry);
    void CopyStream(fw::TStream& from, fw::TStream& out, int64_t count);
    void DeleteMovedSources(RunState& run);

    std::unique_ptr<lha::LhaEntry> current_;  // the header NextHeader read last
};

// Registers TLha with the framework's reflection (after the engine's own classes).
void RegisterLhaWriterClasses();

}  // namespace engine
