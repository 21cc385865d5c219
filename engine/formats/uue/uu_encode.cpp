#include "engine/formats/uue/uu_encode.h"

#include <algorithm>
#include <vector>

#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/formats/common/file_source.h"
#include "framework/core/rtti.h"

namespace engine {

std::string EncodedFileExt = ".enc";

namespace {

constexpr const char* kCrLf = "\r\n";

std::string ChangeExt(const std::string& name, const std::string& ext)
{
    const size_t slash = name.find_last_of("\\/");
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return name + ext;
    return name.substr(0, dot) + ext;
}

bool SameFile(const std::string& a, const std::string& b)
{
    return UpperCase(ToBackslashes(ExpandFileName(a))) == UpperCase(ToBackslashes(ExpandFileName(b)));
}

}  // namespace

TUUEncode::TUUEncode(fw::TComponent* owner) : TCompBase(owner)
{
    AllowedMethods = MethodBit(TCompressMethod::cmUUEncode) | MethodBit(TCompressMethod::cmXXEncode);
    SetCompressMethod(TCompressMethod::cmUUEncode);
    SetArcType(TArcType::atUue);
}

void TUUEncode::SetOutFilename(const std::string& value)
{
    if (!value.empty())
        outFilename_ = ChangeExt(value, EncodedFileExt);
}

bool TUUEncode::Activate()
{
    RunScope scope(*this, OutputMode::Files);
    if (!scope.Started())
        return false;
    bool started = false;
    try {
        if (ArchiveFile().empty())
            RaiseError(ArchiveFile(), "", "0", 25243);
        if (outFilename_.empty())
            RaiseError("OutFile", "", "0", 25243);
        // The output's extension is forced, so an input of that name would be overwritten by its
        // own encoding.
        if (SameFile(ArchiveFile(), outFilename_))
            RaiseError(outFilename_, "", "0", 25171);
        if (FileExistsFind(outFilename_) && !IsPlainFile(outFilename_)) {
            bool writeToFile = false;
            if (OnNonWriteableArchive)
                OnNonWriteableArchive(this, outFilename_, writeToFile);
            if (!writeToFile || !FileSetAttr(outFilename_, kAttrArchive))
                RaiseError(outFilename_, "", "0", 25136);
        }
        started = true;
        ProgressStep = static_cast<uint8_t>(ProgressStepOf(ProgressNotify()));
        fw::FileEntry info;
        inputSize_ = fw::Fs().Stat(ToBackslashes(ArchiveFile()), info) ? int64_t(info.size) : 0;
        BytesLeft = inputSize_;
        StepBytes = ProgressStep * inputSize_ / 100;
        if (StepBytes == 0)
            StepBytes = inputSize_ > 0 ? inputSize_ : 1;
        if (OnActivate)
            OnActivate(this);
        bool accept = true;
        if (FileExistsFind(outFilename_) && OnFileExists) {
            const int64_t age = FileAge(ArchiveFile());
            OnFileExists(this, outFilename_, DosDateToDateTime(age < 0 ? 0 : uint32_t(age)), accept);
        }
        if (accept && OnBegin)
            OnBegin(this, outFilename_, 1, accept);
        if (accept) {
            const bool ok = Encode();
            if (OnEnd)
                OnEnd(this, outFilename_, ok);
        }
        if (OnDeactivate)
            OnDeactivate(this);
    } catch (...) {
        // Reported through OnError.
    }
    return started;
}

bool TUUEncode::CreateOutput(fw::FileHandle& file, const std::string& name)
{
    const std::string folder = ExtractFilePath(name);
    if (!folder.empty() && !DirectoryExists(folder))
        ForceDirectories(folder);
    file = CreateOutputFile(name);
    return file != fw::kInvalidFile;
}

void TUUEncode::WriteText(fw::FileHandle output, const std::string& name, const std::string& text)
{
    if (fw::Fs().Write(output, text.data(), int64_t(text.size())) != int64_t(text.size()))
        RaiseError(name, "", "0", 25136);
}

bool TUUEncode::Encode()
{
    fw::FileHandle input = OpenArchiveRead(ArchiveFile());
    if (input == fw::kInvalidFile)
        RaiseError(ArchiveFile(), "", "0", 25235);
    fw::FileHandle output = fw::kInvalidFile;
    bool ok = false;
    StartStopwatch();
    try {
        if (!CreateOutput(output, outFilename_))
            RaiseError(outFilename_, "", "0", 25235);
        table_ = CompressMethod() == TCompressMethod::cmXXEncode ? uu::kXXTable : uu::kUUTable;
        handedOut_ = 0;
        const std::string coder = table_ == uu::kXXTable ? "XXencode" : "UUencode";
        const std::string begin = "begin 644 " + ExtractFileName(ArchiveFile()) + kCrLf;
        std::string head = coder + " 2.0 (Krenlo components: https://morvix.example/)" + kCrLf + kCrLf;
        if (writeTable_)
            head += std::string("table") + kCrLf + std::string(table_.substr(0, 32)) + kCrLf +
                    std::string(table_.substr(32)) + kCrLf + kCrLf;
        WriteText(output, outFilename_, head + begin);
        int lineCount = 3;
        int volume = 0;
        std::string current = outFilename_;
        while (EncodeLines(input, output, lineCount) > 0 && !Aborted()) {
            ++volume;
            CloseFile(output);
            output = fw::kInvalidFile;
            current = uu::UUVolumeName(outFilename_, volume, uu::TNextVolumeName::nvChangeExt, true);
            if (!CreateOutput(output, current))
                RaiseError(current, "", "0", 25235);
            WriteText(output, current, "part " + std::to_string(volume) + kCrLf + begin);
            lineCount = 3;
        }
        std::string tail = std::string("end") + kCrLf + std::to_string(handedOut_) + " bytes" + kCrLf;
        if (volume > 0)
            tail += "encoded into " + std::to_string(volume) + " file(s)" + kCrLf;
        WriteText(output, current, tail);
        ok = handedOut_ == inputSize_ && !Aborted();
    } catch (...) {
    }
    StopStopwatch();
    if (output != fw::kInvalidFile)
        CloseFile(output);
    CloseFile(input);
    return ok;
}

int TUUEncode::EncodeLines(fw::FileHandle input, fw::FileHandle output, int& lineCount)
{
    const int limit = kbytesPerVolume_ * 16;
    const size_t capacity = size_t(std::min<int64_t>(std::max<int64_t>(inputSize_, 1), 32769));
    std::string buffer;
    const auto flush = [&] {
        if (buffer.empty())
            return;
        if (fw::Fs().Write(output, buffer.data(), int64_t(buffer.size())) <= 0)
            RaiseError(outFilename_, "", "0", 25136);
        buffer.clear();
    };
    uint8_t bytes[uu::kLineBytes];
    int n = 0;
    do {
        n = int(fw::Fs().Read(input, bytes, uu::kLineBytes));
        if (n < 0)
            n = 0;
        for (int i = 0; i < n; ++i) {
            if (StepBytes > 0 && handedOut_ % StepBytes == 0)
                ReportProgress(handedOut_, inputSize_);
            ++handedOut_;
            --BytesLeft;
        }
        const std::string line = uu::EncodeLine(table_, bytes, n) + kCrLf;
        if (buffer.size() + line.size() + 1 >= capacity)
            flush();
        buffer += line;
        ++lineCount;
    } while (n > 0 && lineCount != limit && !Aborted());
    flush();
    if (n == 0)
        ReportProgress(1, 1);
    return n;
}

void RegisterUUEncodeClasses()
{
    RegisterClasses();
    using E = TUUEncode;
    fw::Class<TUUEncode, TCompBase>("TUUEncode")
        .Prop("KBytesPerVolume", &E::KBytesPerVolume, &E::SetKBytesPerVolume)
        .Prop("OutFilename", &E::OutFilename, &E::SetOutFilename)
        .Prop("WriteTableToFile", &E::WriteTableToFile, &E::SetWriteTableToFile)
        .Event("OnFileExists", static_cast<TOnFileExists E::*>(&TZipCommon::OnFileExists));
}

}  // namespace engine
