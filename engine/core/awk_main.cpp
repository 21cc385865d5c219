#include "engine/core/awk_main.h"

#include "engine/core/file_routines.h"
#include "engine/core/routines.h"
#include "engine/core/run_context.h"

namespace engine {

void TqlvTimer::Start()
{
    elapsed_ = 0;
    startTick_ = TickCount();
}

void TqlvTimer::Stop()
{
    stopTick_ = TickCount();
    // Unsigned difference: a tick count that wrapped during the run still measures right.
    elapsed_ = static_cast<float>(static_cast<uint32_t>(stopTick_ - startTick_)) / 1000.0f;
}

TAwkMain::TAwkMain(fw::TComponent* owner) : fw::TComponent(owner) {}

void TAwkMain::Cancel(TAwkMain* component, bool abort)
{
    if (component)
        component->abort_ = abort;
    ProcessMessages();
}

void TAwkMain::BeginEntryProgress(int64_t packedSize)
{
    ProgressTotal = packedSize < 0 ? 0 : packedSize;
    BytesLeft = ProgressTotal;
    // In two parts, so that sizes near the 64-bit limit (a damaged header) cannot overflow.
    StepBytes = ProgressTotal / 100 * ProgressStep + ProgressTotal % 100 * ProgressStep / 100;
    if (StepBytes <= 0)
        StepBytes = ProgressTotal;
}

void TAwkMain::CountInputBytes(int64_t count)
{
    if (count <= 0)
        return;
    if (count > BytesLeft)
        count = BytesLeft;
    if (StepBytes > 0) {
        // Multiples of StepBytes in (BytesLeft - count, BytesLeft], highest first.
        int64_t b = BytesLeft - BytesLeft % StepBytes;
        const int64_t low = BytesLeft - count;
        while (b > low && b > 0) {
            RunContext& run = CurrentRun();
            run.progressByte = PercentOf(ProgressTotal - b, ProgressTotal);
            if (run.progress)
                run.progress(run.progressByte);
            b -= StepBytes;
        }
    }
    BytesLeft -= count;
}

}  // namespace engine
