#include "engine/formats/uue/uu_decode.h"

#include <algorithm>
#include <cstring>

#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/formats/common/file_source.h"
#include "engine/formats/open/archive_detection.h"
#include "framework/core/rtti.h"

namespace engine {

namespace {

constexpr int64_t kBlock = 32769;

std::string_view TrimLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

// ---- the volume reader --------------------------------------------------------------------------

void TUUDecode::LineReader::Reset(fw::FileHandle file, int64_t size)
{
    file_ = file;
    left_ = size < 0 ? 0 : size;
    buffer_.assign(size_t(std::min<int64_t>(std::max<int64_t>(left_, 1), kBlock)), 0);
    pos_ = fill_ = 0;
    handedOut_ = 0;
    hasPeeked_ = false;
}

bool TUUDecode::LineReader::Fill()
{
    if (left_ <= 0)
        return false;
    if (pos_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + pos_, fill_ - pos_);
        fill_ -= pos_;
        pos_ = 0;
    }
    if (fill_ == buffer_.size())
        buffer_.resize(buffer_.size() * 2);  // one line longer than the buffer
    const int64_t want = std::min<int64_t>(left_, int64_t(buffer_.size() - fill_));
    const int64_t got = fw::Fs().Read(file_, buffer_.data() + fill_, want);
    if (got <= 0) {
        left_ = 0;
        return false;
    }
    left_ -= got;
    fill_ += size_t(got);
    return true;
}

void TUUDecode::LineReader::HandOut(size_t count)
{
    // A report before each byte whose position is a multiple of the step.
    if (stepBytes > 0) {
        const int64_t end = handedOut_ + int64_t(count);
        for (int64_t at = (handedOut_ + stepBytes - 1) / stepBytes * stepBytes; at < end; at += stepBytes)
            TZipCommon::ReportProgress(std::min(at, progressTotal), progressTotal);
    }
    handedOut_ += int64_t(count);
}

std::string_view TUUDecode::LineReader::ReadLine()
{
    if (hasPeeked_) {
        hasPeeked_ = false;
        return peeked_;
    }
    size_t scanned = 0;
    for (;;) {
        const size_t avail = fill_ - pos_;
        const void* nl = std::memchr(buffer_.data() + pos_ + scanned, '\n', avail - scanned);
        if (!nl) {
            scanned = avail;  // Fill keeps these bytes, moved to the front
            if (Fill())
                continue;
        }
        const size_t length = nl ? size_t(static_cast<const uint8_t*>(nl) - (buffer_.data() + pos_)) + 1 : avail;
        const std::string_view line(reinterpret_cast<const char*>(buffer_.data() + pos_), length);
        pos_ += length;
        HandOut(length);
        return line;
    }
}

std::string_view TUUDecode::LineReader::PeekLine()
{
    if (!hasPeeked_) {
        peeked_ = ReadLine();
        hasPeeked_ = true;
    }
    return peeked_;
}

// ---- the component ------------------------------------------------------------------------------

TUUDecode::TUUDecode(fw::TComponent* owner) : TUnBase(owner) {}

void TUUDecode::SetArcType(TArcType value) { TUnBase::SetArcType(DetectArchive(*this, value)); }

void TUUDecode::ProcessArchive()
{
    ProgressStep = static_cast<uint8_t>(ProgressStepOf(ProgressNotify()));
    reader_.progressTotal = ArchiveSize;
    BytesLeft = ArchiveSize;
    capacity_ = size_t(std::min<int64_t>(std::max<int64_t>(ArchiveSize, 1), kBlock));
    StepBytes = ProgressStep * ArchiveSize / 100;
    if (StepBytes == 0)
        StepBytes = ArchiveSize > 0 ? ArchiveSize : 1;
    reader_.stepBytes = StepBytes;
    if (OnActivate)
        OnActivate(this);
    try {
        Decode();
    } catch (...) {
        if (OnDeactivate)
            OnDeactivate(this);
        throw;
    }
    if (OnDeactivate)
        OnDeactivate(this);
}

void TUUDecode::Decode()
{
    out_.clear();
    FileCount = 1;
    Cancel(this, false);
    int volume = volumeStartNum_;
    table_.SetFullLineChar('h');
    if (ArchiveFile().empty())
        RaiseError(ArchiveFile(), "", "0", 25243);
    if (ArcType() != TArcType::atUue)
        RaiseError(ArchiveFile(), "", "0", 25242);
    fw::FileHandle input = OpenArchiveRead(ArchiveFile());
    if (input == fw::kInvalidFile)
        RaiseError(ArchiveFile(), "", "0", 25235);
    struct Closer {
        fw::FileHandle& h;
        ~Closer()
        {
            if (h != fw::kInvalidFile)
                CloseFile(h);
        }
    } closeInput{input};
    reader_.Reset(input, OpenFileSize(input));

    activeTable_ = uu::kXXTable;
    table_.Build(activeTable_);
    const std::string name = ReadHeader();
    if (!BuildFileName(name))
        RaiseError(name, "", "0", name.empty() ? 25235 : 25243);
    const bool files = CurrentRun().outputMode == OutputMode::Files;
    bool accept = true;
    if (files && OnFileExists && FileExistsFind(FileName))
        OnFileExists(this, FileName, DosDateToDateTime(ArchiveDate), accept);
    if (accept && OnBegin)
        OnBegin(this, files ? FileName : OemToAnsiPath(name), 0, accept);
    if (!accept)
        return;
    OpenEntryOutput();
    StartStopwatch();
    VolumeName = ArchiveFile();

    // A refused next volume ends the run with what was decoded; a failure that was reported (a
    // write or a volume that cannot be opened) makes the entry fail.
    bool failed = false;
    try {
        while (!Aborted()) {
            if (DecodeLines() == VolumeEnd::EndFound)
                break;
            ++volume;
            std::string next = uu::UUVolumeName(ArchiveFile(), volume, nextVolumeName_, volumeLongFilenames_);
            if (!FindVolume(next, std::to_string(volume)))
                break;
            CloseFile(input);
            input = OpenArchiveRead(next);
            if (input == fw::kInvalidFile)
                RaiseError(next, "", std::to_string(volume), 25235);
            ArchiveSize = OpenFileSize(input);
            reader_.Reset(input, ArchiveSize);
            BytesLeft = ArchiveSize;
            StartNextVolume();
        }
    } catch (...) {
        failed = true;
    }
    StopStopwatch();
    RunContext& run = CurrentRun();
    if (run.outputFile != fw::kInvalidFile) {
        CloseFile(run.outputFile);
        run.outputFile = fw::kInvalidFile;
    }
    if (OnEnd)
        OnEnd(this, files ? FileName : OemToAnsiPath(name), !failed);
}

std::string TUUDecode::ReadHeader()
{
    bool automatic = true;
    for (int i = 0; i < maxHeaderLines_; ++i) {
        const std::string raw(reader_.ReadLine());
        if (raw.empty())
            break;
        const std::string line(TrimLineEnd(raw));
        if (StartsWith(line, "begin ")) {
            // "begin", the mode, a blank and the name; the mode runs up to the next blank.
            std::string rest = line.substr(6);
            const size_t blank = rest.find(' ');
            const std::string name = blank == std::string::npos ? std::string() : rest.substr(blank + 1);
            SetupTable(automatic);
            return name;
        }
        if (StartsWith(line, "table")) {
            automatic = false;
            std::string custom(uu::kXXTable);
            for (int half = 0; half < 2; ++half) {
                const std::string part(TrimLineEnd(reader_.ReadLine()));
                for (size_t k = 0; k < 32 && k < part.size(); ++k)
                    custom[half * 32 + k] = part[k];
            }
            customTable_ = custom;
            activeTable_ = customTable_;
        } else if (StartsWith(line, "charmap")) {
            automatic = false;
        }
    }
    return {};
}

void TUUDecode::SetupTable(bool automatic)
{
    const std::string first(TrimLineEnd(reader_.PeekLine()));
    const char c = first.empty() ? '\0' : first[0];
    if (automatic) {
        if (c == 'M') {
            activeTable_ = uu::kUUTable;
            table_.SetFullLineChar('M');
        } else if (c != 'h') {
            // A file shorter than a full line starts with another count: the table whose count
            // predicts the line's length is the file's.
            const std::string_view guess = uu::GuessTable(first);
            if (guess.empty())
                ReportError(ArchiveFile(), "", "0", 25301);
            else
                activeTable_ = guess;
            table_.SetFullLineChar(activeTable_ == uu::kUUTable ? 'M' : 'h');
        }
    } else {
        table_.SetFullLineChar(c);
    }
    table_.Build(activeTable_);
}

TUUDecode::VolumeEnd TUUDecode::DecodeLines()
{
    std::string_view line = reader_.ReadLine();
    while (!Aborted()) {
        if (line.empty() || line == "\n")
            break;
        const std::string_view text = TrimLineEnd(line);
        std::string_view trimmed(text);
        while (!trimmed.empty() && trimmed.back() == ' ')
            trimmed.remove_suffix(1);
        if (trimmed == "end") {
            Flush();
            return VolumeEnd::EndFound;
        }
        uu::DecodeLine(table_, text, out_);
        if (out_.size() + 1 >= capacity_)
            Flush();
        line = reader_.ReadLine();
    }
    Flush();
    return VolumeEnd::VolumeEnded;
}

void TUUDecode::Flush()
{
    if (!out_.empty()) {
        int64_t count = int64_t(out_.size());
        RunContext& run = CurrentRun();
        const bool ok = run.sink ? run.sink->Write(out_.data(), count) : true;
        out_.clear();
        if (!ok)
            RaiseError(FileName, "", "0", 25136);
    }
    UpdateProgress(1, 1);
    RunContext& run = CurrentRun();
    if (run.progress)
        run.progress(100);
}

void TUUDecode::StartNextVolume()
{
    for (;;) {
        const std::string line(reader_.PeekLine());
        if (line.empty())
            return;  // the volume ended while skipping: nothing of it is decoded
        const char first = line[0];
        if (first == table_.FullLineChar()) {
            ReportError(VolumeName,
                        "line starting with " + std::to_string(int(uint8_t(first))) + " found before \"begin\"", "0",
                        25240);
            return;
        }
        reader_.ReadLine();
        if (StartsWith(line, "begin"))
            return;
        size_t k = 1;
        while (k < line.size() && line[k] == '\r')
            ++k;
        if (line != "\n" && k < line.size() && line[k] == '\n')
            return;
    }
}

void RegisterUUDecodeClasses()
{
    RegisterClasses();
    fw::RegisterEnum<uu::TNextVolumeName>({"nvChangeFilename", "nvChangeExt"}, "TNextVolumeName");
    using D = TUUDecode;
    fw::Class<TUUDecode, TUnBase>("TUUDecode")
        .Prop("MaxHeaderLines", &D::MaxHeaderLines, &D::SetMaxHeaderLines)
        .Prop("NextVolumeName", &D::NextVolumeName, &D::SetNextVolumeName)
        .Prop("VolumeLongFilenames", &D::VolumeLongFilenames, &D::SetVolumeLongFilenames)
        .Prop("VolumeStartNum", &D::VolumeStartNum, &D::SetVolumeStartNum);
}

}  // namespace engine
