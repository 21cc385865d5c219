// TBlakHole: the BH writer. It creates BH archives, adds files to them (Fuse-compressed or stored,
// optionally encrypted), moves files into them, deletes entries from them, or lists them. Every
// change is written to a temporary archive that replaces the old one only once it is complete.
#pragma once

#include <string>
#include <vector>

#include "engine/core/comp_base.h"
#include "engine/formats/bh/bh_header.h"

namespace engine {

class TBlakHole : public TCompBase {
public:
    explicit TBlakHole(fw::TComponent* owner);

    void SetArcType(TArcType) override { TCompBase::SetArcType(TArcType::atBh); }
    // Trimmed; a value with "." keeps what follows the first "."; at most 3 characters; "BH" for empty.
    std::string GetDefaultExt() const { return DefaultExt.empty() ? std::string("BH") : DefaultExt; }
    void SetDefaultExt(const std::string& value);
    std::string GetPassword() const { return Password; }
    void SetPassword(const std::string& value) { Password = value; }

    bool Activate() override;

    bool NextHeader(std::string& name, fw::TStream& stream, bool central) override;
    void LoadEntry(const std::string& name) override;

protected:
    ~TBlakHole() override = default;

private:
    struct Source {
        std::string path;    // the file on disk
        std::string stored;  // its stored name (OEM, "\")
        uint32_t attr = 0, stamp = 0;
        int64_t size = 0;
    };
    struct Run;

    bool Body(Run& run, fw::TStream& out, fw::TStream* old);
    void Scan(Run& run, const std::string& folder, const std::string& mask, int depth);
    // Writes one file as a new entry at the end of Out; false when it was left out.
    bool AddFile(Run& run, fw::TStream& out, const Source& source);
    bool ConfirmPassword(const bh::Header& entry, fw::TStream& old);
    void ReportAdded(Run& run);

    bh::Header current_;  // the header that LoadEntry reports
};

void RegisterBhWriterClasses();

}  // namespace engine
