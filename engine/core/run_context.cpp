#include "engine/core/run_context.h"

#include "engine/core/file_routines.h"
#include "engine/core/zip_common.h"

namespace engine {

namespace {

RunContext* g_current = nullptr;
TZipCommon* g_active = nullptr;
TSetDate g_dateSetting = TSetDate::sdOrigDate;

RunContext& IdleContext()
{
    static FileOutputSink sink;
    static RunContext idle = [] {
        RunContext c;
        c.outputMode = OutputMode::Test;
        c.sink = &sink;
        return c;
    }();
    return idle;
}

// True when Component's owner has a run in progress, inner runs first.
bool OwnerIsRunning(const TZipCommon& component)
{
    for (const RunContext* c = g_current; c; c = c->parent)
        if (component.Owner() == c->component)
            return true;
    return false;
}

}  // namespace

bool FileOutputSink::Write(const uint8_t* data, int64_t& count)
{
    RunContext& run = CurrentRun();
    if (run.outputMode != OutputMode::Files || count <= 0)
        return true;
    if (run.outputFile == fw::kInvalidFile) {
        count = 0;
        return false;
    }
    const int64_t want = count;
    const int64_t done = fw::Fs().Write(run.outputFile, data, want);
    count = done < 0 ? 0 : done;
    return count == want;
}

RunContext& CurrentRun() { return g_current ? *g_current : IdleContext(); }
bool RunActive() { return g_current != nullptr; }

TZipCommon* ActiveArcComponent() { return g_active; }
void SetActiveArcComponent(TZipCommon* component) { g_active = component; }

TSetDate DateSetting() { return g_dateSetting; }
void SetDateSetting(TSetDate value) { g_dateSetting = value; }

RunScope::RunScope(TZipCommon& component, OutputMode mode) : component_(component)
{
    if (component.Running())
        return;
    if (g_current && !OwnerIsRunning(component))
        return;
    started_ = true;
    context_.component = &component;
    context_.outputMode = mode;
    context_.sink = g_current && g_current->nestedSink ? g_current->nestedSink : &fileSink_;
    context_.progress = [&component](uint8_t percent) { TZipCommon::RaiseProgress(&component, percent); };
    context_.parent = g_current;
    g_current = &context_;
    g_active = &component;
    component.BeginRun();
}

RunScope::~RunScope()
{
    if (!started_)
        return;
    if (context_.outputFile != fw::kInvalidFile)
        CloseFile(context_.outputFile);
    for (const std::string* name : {&context_.firstTempName, &context_.secondTempName})
        if (!name->empty())
            DeleteFile(*name);
    component_.EndRun();
    g_current = context_.parent;
    // A nested run hands ActiveArcComponent back to the run that started it.
    if (g_current)
        g_active = g_current->component;
}

}  // namespace engine
