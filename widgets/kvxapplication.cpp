#include "widgets/kvxapplication.h"

#include "framework/core/datetime.h"
#include "framework/core/format.h"
#include "framework/core/platform.h"
#include "framework/core/sysutils.h"
#include "widgets/kvxregister.h"

namespace kvx {

TKVXApplication* KVXApplication = nullptr;

TKVXApplication* KVXCreateApplication() {
    KVXRegisterClasses();
    if (!KVXApplication) KVXApplication = new TKVXApplication();
    return KVXApplication;
}

void KVXDestroyApplication() { fw::FreeAndNil(KVXApplication); }

TKVXApplication::TKVXApplication()
    : TComponent(nullptr), iniCtrl_(new TKVXIniCtrl(nullptr)), timerPool_(new TKVXTimerPool(nullptr, 50)) {
    SetLogName("");
}

void TKVXApplication::BeforeDestruction() {
    fw::FreeAndNil(timerPool_);
    fw::FreeAndNil(iniCtrl_);
    TComponent::BeforeDestruction();
}

void TKVXApplication::SetEditMode(uint8_t value) {
    if (value == editMode_) return;
    editMode_ = value;
    if (OnEditModeChange) OnEditModeChange(this);
}

std::string TKVXApplication::DefaultRegPath() const {
    return KVXDefaultRegPath(Company, fw::HostSeam().Title(), Version);
}

// ---- log --------------------------------------------------------------------------------------

void TKVXApplication::SetLogPrefix(TKVXPathPrefix value) {
    if (value == logPrefix_) return;
    logPrefix_ = value;
    SetLogName(logName_);
}

void TKVXApplication::SetLogName(const std::string& value) {
    std::string name = value;
    if (KVXIsBlank(name))
        name = fw::ChangeFileExt(KVXProgramPath(), ".LOG");
    else if (fw::ExtractFileExt(name).empty())
        name += ".LOG";
    logName_ = logPrefix_ == TKVXPathPrefix::ppFixed ? name : KVXPrefixFolder(logPrefix_, true) + fw::ExtractFileName(name);
}

namespace {
constexpr const char* kCrLf = "\r\n";
const std::string kStars(80, '*');

int64_t FileSizeOf(const std::string& path) {
    fw::FileEntry entry;
    return fw::Fs().Stat(path, entry) && !(entry.attr & fw::faDirectory) ? entry.size : -1;
}
}  // namespace

void TKVXApplication::WriteHeader(std::string& out) {
    const fw::TDateTime now = fw::Now();
    out += kCrLf;
    out += "LogFile started: " + fw::DateToStr(now) + " " + fw::TimeToStr(now) + kCrLf;
    out += "Application    : " + fw::HostSeam().Title() + kCrLf;
    out += "Path/ExeName   : " + fw::HostSeam().ExeName() + kCrLf;
    if (!KVXIsBlank(Version)) out += "Version        : " + Version + kCrLf;
    out += kStars + kCrLf;
    out += kCrLf;
    out += std::string("Entries:") + kCrLf;
}

void TKVXApplication::WriteLog(const std::string& text) {
    fw::FileSystem& fs = fw::Fs();
    bool fresh = false;
    if (LogMaxsize > 100 && FileSizeOf(logName_) > LogMaxsize) {
        bool cancel = false;
        if (OnMaxLogSize) OnMaxLogSize(this, logName_, cancel);
        if (cancel) return;
        if (LogMaxAction == TKVXLogAction::laClearLog) {
            fresh = true;
        } else if (LogMaxAction == TKVXLogAction::laBackupLog) {
            for (int n = 0;; ++n) {
                const std::string backup = fw::ChangeFileExt(logName_, ".l" + std::to_string(n));
                if (FileSizeOf(backup) >= 0) continue;
                fs.MoveFile(logName_, backup, false);
                break;
            }
            fw::HostSeam().PumpMessages();
            fresh = true;
        }
    }

    const bool exists = FileSizeOf(logName_) >= 0;
    const bool truncate =
        !exists || fresh || (Options.Contains(TKVXApplicationOption::aoLogAlwaysClear) && !logWritten_);
    const bool header = fresh || (!logWritten_ && Options.Contains(TKVXApplicationOption::aoLogHeader));
    const fw::FileHandle file =
        fs.Open(logName_, fw::FileAccess::Write, fw::FileShare::DenyWrite,
                truncate ? fw::FileCreate::CreateAlways : fw::FileCreate::OpenAlways);
    if (file == fw::kInvalidFile) {
        if (header) throw fw::EInOutError("Cannot write the log file " + logName_);
        return;
    }

    std::string out;
    if (header) WriteHeader(out);
    if (text == "#CR") {
        out += kCrLf;
    } else if (text == "#Header") {
        WriteHeader(out);
    } else if (text == "#Line") {
        out += kStars + kCrLf;
    } else {
        ++lineNumber_;
        if (Options.Contains(TKVXApplicationOption::aoLogNr)) out += fw::Format("%.5d", {lineNumber_}) + ": ";
        out += text;
        if (Options.Contains(TKVXApplicationOption::aoLogTime)) out += " [" + fw::TimeToStr(fw::Now()) + "]";
        out += kCrLf;
    }
    const bool written = fs.Seek(file, 0, fw::SeekOrigin::End) >= 0 &&
                         fs.Write(file, out.data(), static_cast<int64_t>(out.size())) == static_cast<int64_t>(out.size());
    fs.Close(file);
    logWritten_ = true;
    if (!written && header) throw fw::EInOutError("Cannot write the log file " + logName_);
}

void TKVXApplication::LogException(TObject* sender) noexcept {
    const std::exception_ptr error = std::current_exception();
    if (!error) return;
    try {
        std::string message;
        const void* address = nullptr;
        try {
            std::rethrow_exception(error);
        } catch (const fw::Exception& e) {
            message = e.Message();
            address = &e;
        } catch (const std::exception& e) {
            message = e.what();
            address = &e;
        } catch (...) {
            message = "Unknown exception";
        }
        std::string text = fw::Format("%s, Address: %p", {message, address});
        if (auto* component = dynamic_cast<TComponent*>(sender); component && !component->Name().empty())
            text = sender->ClassName() + " (Name: " + component->Name() + "): " + text;
        else if (sender)
            text = sender->ClassName() + ": " + text;
        WriteLog(text);
    } catch (...) {
        // The log is the last resort of the exception handler: a failure here is dropped.
    }
}

void TKVXApplication::HandleException(TObject* sender, fw::Exception& e, const std::function<void()>& show) {
    bool cancel = false;
    if (OnException) OnException(sender, e, cancel);
    if (cancel) return;
    if (Options.Contains(TKVXApplicationOption::aoLogException)) LogException(sender);
    if (show) show();
}

// ---- timers -----------------------------------------------------------------------------------

uint16_t TKVXApplication::AddTimer(uint16_t interval, const TNotifyEvent& callback) {
    for (int slot = 0; slot < kTimerSlots; ++slot) {
        if (slots_[slot]) continue;
        const auto ident = static_cast<uint16_t>(kFirstTimerIdent + slot);
        timerPool_->Add(ident, interval, callback);
        slots_[slot] = true;
        return ident;
    }
    return 0;
}

void TKVXApplication::RemoveTimer(uint16_t ident) {
    if (ident < kFirstTimerIdent || ident >= kFirstTimerIdent + kTimerSlots) return;
    timerPool_->Remove(ident);
    slots_[ident - kFirstTimerIdent] = false;
}

TKVXTimerItem* TKVXApplication::GetTimerItem(uint16_t ident) const { return timerPool_->ItemByIdent(ident); }

}  // namespace kvx
