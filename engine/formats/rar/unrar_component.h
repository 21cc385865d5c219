// TUnRAR: extracts or tests the entries of RAR archives, volume sets included, through the UnRAR
// library. The format is the library's business; this component walks the library's headers,
// decides per entry, supplies passwords and volume names and reports through the engine's events.
#pragma once

#include <cstdint>
#include <string>

#include "engine/core/un_base.h"
#include "engine/formats/rar/unrar_api.h"

namespace engine {

class TUnRAR : public TUnBase {
public:
    explicit TUnRAR(fw::TComponent* owner);

    // The volume being opened, and the unpacked size of the entry being processed.
    std::string CurrentVolume;
    int64_t EntrySize = 0;

    const std::string& Password() const { return password_; }
    void SetPassword(const std::string& value) { password_ = value; }

    // Writing the type runs type detection on ArchiveFile.
    void SetArcType(TArcType value) override;

    void ProcessArchive() override;

protected:
    ~TUnRAR() override = default;

private:
    friend struct RarCallbacks;
    void ProcessHeaders(const std::string& name, int operation);
    int ReadFirstHeader(void* handle, RARHeaderData& header, const std::string& name);

    std::string password_;
};

// The engine message for a library result code (0 for codes without one).
int RarErrorToMessage(int code);

// Registers TUnRAR with the framework's reflection (after the engine's own classes).
void RegisterUnRARClasses();

}  // namespace engine
