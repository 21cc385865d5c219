#include "engine/formats/lzh/entry_io.h"

#include <algorithm>

#include "engine/codec/crc16.h"
#include "engine/codec/crc32.h"
#include "engine/core/run_context.h"

namespace engine {

using mx::codec::Status;

namespace {
constexpr int64_t kBlock = 32768;
}

EntryInput::EntryInput(TUnBase& component, fw::FileHandle archive, bool garbled)
    : component_(component), archive_(archive), garbled_(garbled), buffer_(kBlock)
{
}

Status EntryInput::Read(std::span<const uint8_t>& block) noexcept
{
    if (component_.Aborted()) {
        component_.BytesLeft = 0;
        return Status::Cancelled;
    }
    if (component_.BytesLeft <= 0)
        return Status::End;
    const int64_t want = std::min(component_.BytesLeft, kBlock);
    const int64_t got = fw::Fs().Read(archive_, buffer_.data(), want);
    if (got <= 0) {
        component_.BytesLeft = 0;
        return Status::End;
    }
    const std::string& password = component_.GarblePassword;
    if (garbled_ && !password.empty()) {
        uint16_t& index = component_.GarbleIndex;
        for (int64_t i = 0; i < got; ++i) {
            if (index < 1 || index > password.size())
                index = 1;
            buffer_[size_t(i)] ^= static_cast<uint8_t>(password[index - 1u]);
            index = index >= password.size() ? 1 : uint16_t(index + 1);
        }
    }
    try {
        component_.CountInputBytes(got);
    } catch (...) {
        // A progress handler's failure must not cross the codec.
    }
    block = std::span<const uint8_t>(buffer_.data(), size_t(got));
    return Status::Ok;
}

Status EntryOutput::Write(std::span<const uint8_t> block) noexcept
{
    RunContext& run = CurrentRun();
    if (crcWidth_ == 16)
        mx::codec::UpdateCrc16(block, run.crc16);
    else
        mx::codec::UpdateCrc32(block, run.crc32);
    int64_t count = static_cast<int64_t>(block.size());
    bool ok = true;
    try {
        ok = run.sink ? run.sink->Write(block.data(), count) : true;
    } catch (...) {
        ok = false;
    }
    if (!ok) {
        failed_ = true;
        return Status::OutputFull;
    }
    return Status::Ok;
}

int DecodeReport(Status status, const EntryOutput& output)
{
    if (output.Failed())
        return 25136;
    switch (status) {
    case Status::BadData:
        return 25120;
    case Status::NoMemory:
        return 25253;
    default:
        return 0;
    }
}

}  // namespace engine
