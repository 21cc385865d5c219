// TMakeCAB: creates a cabinet (or a set of cabinets) from the files FileSpec names, through the
// cabinet library's FCI calls, which also compress. A cabinet is only ever created new: an existing
// ArchiveFile, a delete, a move or a listing is refused and leaves the file as it is.
#pragma once

#include <exception>
#include <string>
#include <vector>

#include "engine/core/comp_base.h"
#include "engine/formats/cab/cab_globals.h"

namespace engine {

enum class TCompressionType : uint8_t { ctStore, ctMsZip, ctLzx };

using TGetNextCabinetEvent = fw::Event<void(TObject* Sender, CCAB& CabParameters, std::string& NewCabFileName,
                                            int PreviousCabEstimatedSize, bool& AbortCreation)>;

class TCabInterface : public TCompBase {
public:
    explicit TCabInterface(fw::TComponent* owner);
    ERF CabError{};
    TStreamCabinetFileHandler* FileHandler = nullptr;

protected:
    ~TCabInterface() override;
};

class TMakeCAB : public TCabInterface {
public:
    explicit TMakeCAB(fw::TComponent* owner);

    int LzxLevel() const { return lzxLevel_; }
    void SetLzxLevel(int value) { lzxLevel_ = value < 15 ? 15 : value > 21 ? 21 : value; }
    TCompressionType QuantumType() const { return quantumType_; }
    void SetQuantumType(TCompressionType value) { quantumType_ = value; }
    int QuantumLevel() const { return quantumLevel_; }
    void SetQuantumLevel(int value) { quantumLevel_ = value <= 0 ? 1 : value > 7 ? 7 : value; }
    int QuantumMemory() const { return quantumMemory_; }
    void SetQuantumMemory(int value) { quantumMemory_ = value < 10 ? 10 : value > 21 ? 21 : value; }
    bool FailOnIncompressible() const { return failOnIncompressible_; }
    void SetFailOnIncompressible(bool value) { failOnIncompressible_ = value; }
    // The size limit of each cabinet of the set, in bytes; beyond it OnGetNextCabinet names the next.
    int MaxCabinetSize() const { return maxCabinetSize_; }
    void SetMaxCabinetSize(int value) { maxCabinetSize_ = value < 50000 ? 50000 : value; }

    TGetNextCabinetEvent OnGetNextCabinet;

    // The compression type word for the current CompressMethod (also sets MethodNum, MethodName).
    uint16_t CompressTypeWord();

    bool Activate() override;

    virtual bool DoGetNextCabinet(CCAB& parameters, ULONG previousSize);
    virtual bool DoGetTempFile(char* buffer, int size);
    virtual INT_PTR DoGetOpenInfo(const char* name, USHORT* date, USHORT* time, USHORT* attribs, int* err);

    // Keeps the first exception raised inside a callback.
    void KeepException(std::exception_ptr e);

protected:
    ~TMakeCAB() override;

private:
    void CreateContext(const std::string& cabinet, int setID, ULONG threshold, ULONG size);
    bool FlushCabinet();
    bool DestroyContext();
    void ScanFolder(const std::string& mask);
    void AddFile(const std::string& source, const std::string& nameInCab, bool execute);
    // Whether the source opens for reading. The library cannot finish a cabinet after it failed to
    // open a source, so a file that cannot be opened fails here, before the library sees it.
    bool SourceOpens(const std::string& path);
    void RethrowPending();
    // Destroys the context and deletes the cabinets this run made: a failed run leaves none.
    void DiscardCabinets();

    HFCI context_ = nullptr;
    // The library keeps a pointer to the parameters and writes the next cabinet's into them: they
    // live as long as the context.
    CCAB cabParameters_{};
    int lzxLevel_ = 21;
    TCompressionType quantumType_ = TCompressionType::ctMsZip;
    int quantumLevel_ = 7;
    int quantumMemory_ = 21;
    bool failOnIncompressible_ = true;
    int maxCabinetSize_ = 0x7FFFFFFF;
    std::exception_ptr pending_;
    // The cabinets after the first that this run named and that did not exist before.
    std::vector<std::string> laterCabinets_;
};

// Registers TMakeCAB with the framework's reflection (after the engine's own classes).
void RegisterMakeCABClasses();

}  // namespace engine
