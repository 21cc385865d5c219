// TAwkMain: the first engine base. It adds to the framework's component the abort flag, the run's
// stopwatch and the progress counters.
#pragma once

#include <cstdint>

#include "framework/core/object.h"

namespace engine {

// The run's stopwatch: start and stop ticks (32-bit, like the system tick count) and the seconds
// between them.
class TqlvTimer {
public:
    void Start();
    void Stop();
    float Elapsed() const { return elapsed_; }

private:
    uint32_t startTick_ = 0;
    uint32_t stopTick_ = 0;
    float elapsed_ = 0;
};

class TAwkMain : public fw::TComponent {
public:
    explicit TAwkMain(fw::TComponent* owner);

    // Stores Abort in Component's abort flag (when there is one) and lets the application process its
    // pending messages. The application calls it with true on ActiveArcComponent; every run starts
    // with its flag cleared.
    static void Cancel(TAwkMain* component, bool abort);
    void Cancel(bool abort) { Cancel(this, abort); }
    bool Aborted() const { return abort_; }

    TqlvTimer& Stopwatch() { return stopwatch_; }

    // The progress step in percent, (ProgressNotify + 1) x 5, set at the start of each run.
    uint8_t ProgressStep = 10;
    // Entries reported so far in the current run.
    int FileCount = 0;
    // Compressed bytes of the current entry still to be read, and the input bytes per progress step.
    int64_t BytesLeft = 0;
    int64_t StepBytes = 0;
    // The current entry's compressed size, the base of its progress.
    int64_t ProgressTotal = 0;

    // Prepares the progress of an entry of PackedSize input bytes: StepBytes is PackedSize x
    // ProgressStep / 100, or PackedSize when that is 0.
    void BeginEntryProgress(int64_t packedSize);
    // Counts Count input bytes taken by a decoder. Before each byte, when BytesLeft is a multiple of
    // StepBytes, the progress of (PackedSize - BytesLeft) of PackedSize is reported, so a block counts
    // exactly as its bytes one by one would.
    void CountInputBytes(int64_t count);

protected:
    bool abort_ = false;

private:
    TqlvTimer stopwatch_;
};

}  // namespace engine
