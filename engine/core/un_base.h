// TUnBase: the base of every extractor and of the integrity tester. It adds the entry points Extract
// and Test, the password list, the stored-data copier and the steps of the per-entry contract that
// every extractor follows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/core/run_context.h"
#include "engine/core/zip_common.h"
#include "engine/codec/zipcrypt.h"
#include "framework/core/lists.h"

namespace engine {

class TUnBase : public TZipCommon {
public:
    explicit TUnBase(fw::TComponent* owner);

    TCpuType CpuType() const { return cpuType_; }
    void SetCpuType(TCpuType value) { cpuType_ = value; }

    fw::TStringList* Passwords() const { return passwords_; }
    // Passwords takes a copy of Value's lines.
    void SetPasswords(fw::TStrings* value);

    // ARJ garbling: the password, the 1-based position of its next byte, the entry's modifier.
    std::string GarblePassword;
    uint16_t GarbleIndex = 1;
    uint8_t GarbleModifier = 0;
    // Keys of the traditional ZIP decryption of the current entry.
    mx::codec::ZipCrypto Keys;

    // Extracts the entries that FileSpec selects into files. Never raises; failures arrive through
    // OnError. False when the run could not start (another run is in progress).
    bool Extract();
    // Decodes the selected entries without writing anything (the integrity tester).
    bool Test();

    void Loaded() override;

    // ---- the per-entry contract, for the extractors' walks ---------------------------------------

    // Run start: the progress step, the required archive and type (25243, 25242), OnActivate,
    // Cancel(false), the wildcard note and the stopwatch. CanHandle says whether this extractor
    // reads the archive type.
    void StartRun(bool canHandle);
    // Run end: stopwatch and OnElapsedTime, then OnDeactivate.
    void FinishRun();
    // True when FileSpec held no wildcard at the start of the run: the walk ends after the first
    // matching entry.
    bool SingleEntrySpec() const { return singleEntry_; }

    // Whether the stored name (OEM, "/" or "\") is selected by FileSpec, folders significant.
    bool Selected(const std::string& storedName) const;
    // Steps 3 to 6 for a selected entry: FileName by the output-name rule (a refused name is the
    // report 25243 and false), FileCount + 1, OnFileExists in file mode, OnBegin; a declined entry
    // gives its number back. True when the entry is to be decoded.
    bool BeginEntry(const std::string& storedName, TDateTime entryDate);
    // Step 7. Try is called with each candidate password and tells whether it opens the entry.
    enum class PasswordResult { Found, NotFound, EndRun };
    PasswordResult FindPassword(const std::string& current, const std::function<bool(const std::string&)>& tryPassword);
    // Step 8: opens FileName in file mode (nothing in test mode); a failure is the fatal report 25235
    // for this entry. Resets the run's CRC registers.
    void OpenEntryOutput();
    // Steps 9 and 10: date (unless sdSysDate), close and attributes in file mode; then OnEnd, or 25151
    // when OnEnd is unassigned and the CRC failed. Decoded tells whether the data was decoded.
    void EndEntry(bool decoded, bool crcPass, uint32_t dosDate, uint32_t attributes);

    // Copies Count stored bytes from In to the output sink in blocks of at most 32768, decrypting
    // (ARJ garbling or traditional ZIP decryption) when the entry is encrypted and updating the
    // CRC-16 (CrcKind 16) or CRC-32 (32) register over the plain bytes. Stops at the end of the
    // input, when the sink refuses, or when the run is cancelled. Returns the bytes copied.
    int64_t CopyStored(fw::FileHandle in, int64_t count, int crcKind);

    // The walk of the extractor's format; empty here.
    virtual void ProcessArchive() {}
    // The VolumeID of the reports about the current entry: "0", or for a multi-volume set the number
    // of the volume being read.
    virtual std::string ReportVolumeID() const { return "0"; }

protected:
    ~TUnBase() override;
    bool RunEntry(OutputMode mode);

private:
    TCpuType cpuType_ = TCpuType::cptAuto;
    fw::TStringList* passwords_ = nullptr;
    bool singleEntry_ = false;
    std::string entryName_;  // the current entry's stored name in ANSI
};

}  // namespace engine
