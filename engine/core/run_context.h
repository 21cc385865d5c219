// The working state of one engine run: the running component, where extracted data goes, the
// progress callback, the CRC registers and the temporary files. A context exists from an entry point
// to its return; the engine-wide values that callers observe (ActiveArcComponent, the date setting)
// stay global.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/core/arc_types.h"
#include "framework/core/platform.h"

namespace engine {

class TZipCommon;

// Where extracted data goes: 1 files (Extract), 7 nowhere (Test).
enum class OutputMode : uint8_t { Files = 1, Test = 7 };

// The engine's output sink. Write takes count bytes and returns in count how many it took; the result
// is true when all were taken.
class OutputSink {
public:
    virtual ~OutputSink() = default;
    virtual bool Write(const uint8_t* data, int64_t& count) = 0;
};

// The default sink: in file mode the bytes go to the run's output file, otherwise they are dropped.
class FileOutputSink : public OutputSink {
public:
    bool Write(const uint8_t* data, int64_t& count) override;
};

struct RunContext {
    TZipCommon* component = nullptr;
    OutputMode outputMode = OutputMode::Files;
    // The sink and the progress callback; a nested run (the tester's) installs its own, and the
    // parent's come back when the nested run ends.
    OutputSink* sink = nullptr;
    // The sink that runs nested in this one take instead of their file writer (the integrity
    // tester's progress counter); null for none.
    OutputSink* nestedSink = nullptr;
    std::function<void(uint8_t percent)> progress;
    uint8_t progressByte = 0;
    // The output file opened for the current entry (file mode), and whether it cut a file that was
    // there before.
    fw::FileHandle outputFile = fw::kInvalidFile;
    bool outputExisted = false;
    // CRC registers of the current entry: CRC-32 starts at 0xFFFFFFFF, CRC-16 at 0.
    uint32_t crc32 = 0xFFFFFFFFu;
    uint16_t crc16 = 0;
    // Temporary files of a writer run; both are deleted when the run ends.
    std::string firstTempName, secondTempName;
    RunContext* parent = nullptr;
};

// The innermost running context; outside every run an idle context that drops output and progress.
RunContext& CurrentRun();
bool RunActive();

// The component whose run is in progress (the application cancels through it). Stays set after the
// run until another run starts, the application clears it, or the component is freed.
TZipCommon* ActiveArcComponent();
void SetActiveArcComponent(TZipCommon* component);

// The last SetDateTo written on any extractor: sdSysDate keeps the write date of extracted files.
TSetDate DateSetting();
void SetDateSetting(TSetDate value);

// Starts a run of Component at an entry point and ends it when it goes out of scope.
//
// Only one run at a time: a run started while another is in progress is refused (Started() false),
// unless it is a nested run of a component owned by one of the running ones (the integrity tester
// runs a private lister and extractor, and the lister again inside the extractor's run). A refused start changes nothing. A started run makes the component
// ActiveArcComponent, clears its abort flag first (so a cancel of an earlier run cannot silence the
// new run's reports), and marks it running, which keeps it from being freed or re-pointed at another
// archive until the run returns.
class RunScope {
public:
    RunScope(TZipCommon& component, OutputMode mode);
    ~RunScope();
    RunScope(const RunScope&) = delete;
    RunScope& operator=(const RunScope&) = delete;

    bool Started() const { return started_; }
    RunContext& Context() { return context_; }

private:
    TZipCommon& component_;
    RunContext context_;
    FileOutputSink fileSink_;
    bool started_ = false;
};

}  // namespace engine
