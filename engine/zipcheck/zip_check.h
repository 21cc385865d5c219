// TZipCheck: the integrity tester. It runs the extractor of the archive's type in test mode (nothing
// written, every entry's check value compared) and reports each entry's result through OnStatus.
// With OnProgress assigned, a private lister first learns the total unpacked size, and the decoded
// bytes are counted against it for a progress over the whole archive.
#pragma once

#include <cstdint>

#include "engine/core/un_base.h"

namespace engine {

class TKrenlo;

class TZipCheck : public TUnBase {
public:
    explicit TZipCheck(fw::TComponent* owner);

    // Per entry: its name and whether it passed. Required.
    TOnIntegrityStatus OnStatus;
    // These replace the extractor events of the same names: the tester reports names only.
    TOnIntegrityBegin OnBegin;
    TOnIntegrityEnd OnEnd;

    // Writing the type runs type detection on ArchiveFile.
    void SetArcType(TArcType value) override;

    // Sets the tester's own abort flag; while one of its private components runs, that one is
    // cancelled too, so the application's Cancel reaches the work in progress.
    void Cancel(bool value);

    // Tests the entries FileSpec selects. Never raises: failures arrive through OnError. False when
    // the run could not start (another run is in progress).
    bool Activate();

    // Passed to the tester's sink for every decoded block.
    void CountDecoded(int64_t count);

protected:
    ~TZipCheck() override = default;

private:
    void RunTest();
    void RunLister();
    TUnBase* MakeExtractor();
    void FreePrivateComponents();
    bool IsRarArchive() const;

    // The private components' events.
    void ListerRead(fw::TObject* sender, int64_t offset, int filenum);
    void ListerTotals(fw::TObject* sender, int numFiles);
    void ListerNextVolume(fw::TObject* sender, std::string& dir, std::string& fn, const std::string& volumeID,
                          bool exists, bool& cancel);
    void ExtractorBegin(fw::TObject* sender, const std::string& fn, int recNum, bool& extract);
    void ExtractorEnd(fw::TObject* sender, const std::string& fn, bool crcPass);
    void ExtractorNextVolume(fw::TObject* sender, std::string& dir, std::string& fn, const std::string& volumeID,
                             bool exists, bool& cancel);

    TKrenlo* checkLister_ = nullptr;
    TUnBase* checkExtractor_ = nullptr;
    // Unpacked bytes the listing counted and the sink has not seen yet.
    int64_t remainingBytes_ = 0;
};

// Registers TZipCheck with the framework's reflection (after the engine's own classes).
void RegisterZipCheckClasses();

}  // namespace engine
