#include "widgets/win32/starter.h"

#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "widgets/kvxapplication.h"
#include "widgets/kvxutils.h"

namespace kvx::win32 {

namespace {
unsigned long g_shellMask = 0;

TKVXApplication& App() {
    if (!KVXApplication) throw fw::EOutOfResources(texts::SNoTimers);
    return *KVXApplication;
}
}  // namespace

TKVXStarter::TKVXStarter(TComponent* owner) : TKVXComponent(owner), startTime_(new TKVXDateTime()) {
    try {
        startTimer_ = App().AddTimer(1000, TNotifyEvent(this, &TKVXStarter::StartCheck));
    } catch (...) {
        fw::FreeAndNil(startTime_);
        throw;
    }
    if (!startTimer_) {
        fw::FreeAndNil(startTime_);
        throw fw::EOutOfResources(texts::SNoTimers);
    }
    App().GetTimerItem(startTimer_)->SetEnabled(false);
}

void TKVXStarter::BeforeDestruction() {
    if (KVXApplication && startTimer_) KVXApplication->RemoveTimer(startTimer_);
    startTimer_ = 0;
    StopPolling();
    CloseProcess();
    fw::FreeAndNil(startTime_);
    TKVXComponent::BeforeDestruction();
}

void TKVXStarter::SetShellMask(unsigned long mask) { g_shellMask = mask; }

void TKVXStarter::SetString(int index, const std::string& value) { strings_[index] = value; }

void TKVXStarter::SetAutoStart(bool value) {
    if (value == autoStart_) return;
    autoStart_ = value;
    if (TKVXTimerItem* item = KVXApplication ? KVXApplication->GetTimerItem(startTimer_) : nullptr) {
        item->SetInterval(1000);
        item->SetEnabled(value);
    }
}

const char* TKVXStarter::Verb(TKVXStarterOperation operation) {
    switch (operation) {
    case TKVXStarterOperation::smOpen: return "open";
    case TKVXStarterOperation::smPrint: return "print";
    case TKVXStarterOperation::smExplore: return "explore";
    }
    return "open";
}

int TKVXStarter::ShowCommand(TKVXStarterOptions option) {
    switch (option) {
    case TKVXStarterOptions::soSW_HIDE: return SW_HIDE;
    case TKVXStarterOptions::soSW_MAXIMIZE:
    case TKVXStarterOptions::soSW_SHOWMAXIMIZED: return SW_SHOWMAXIMIZED;
    case TKVXStarterOptions::soSW_MINIMIZE: return SW_MINIMIZE;
    case TKVXStarterOptions::soSW_RESTORE: return SW_RESTORE;
    case TKVXStarterOptions::soSW_SHOW: return SW_SHOW;
    case TKVXStarterOptions::soSW_SHOWMINIMIZED: return SW_SHOWMINIMIZED;
    case TKVXStarterOptions::soSW_SHOWMINNOACTIVE: return SW_SHOWMINNOACTIVE;
    case TKVXStarterOptions::soSW_SHOWNA: return SW_SHOWNA;
    case TKVXStarterOptions::soSW_SHOWNORMAL: return SW_SHOWNORMAL;
    }
    return SW_SHOW;
}

void TKVXStarter::StartCheck(TObject*) {
    int y, mo, d, h, mi, s, ms;
    const fw::TDateTime now = fw::Now();
    fw::DecodeDate(now, y, mo, d);
    fw::DecodeTime(now, h, mi, s, ms);
    const TKVXDateTime& at = *startTime_;
    if (y == at.Year() && mo == at.Month() && d == at.Day() && h == at.Hour() && mi == at.Minute() && s == at.Second())
        Execute();
}

void TKVXStarter::StopPolling() {
    if (pollTimer_ && KVXApplication) KVXApplication->RemoveTimer(pollTimer_);
    pollTimer_ = 0;
}

void TKVXStarter::CloseProcess() {
    if (process_) CloseHandle(process_);
    process_ = nullptr;
}

void TKVXStarter::Execute() {
    if (OnBeforeStart) OnBeforeStart(this);
    // The previous start is no longer watched.
    StopPolling();
    CloseProcess();

    std::string file = Command();
    std::string parameters = Parameters();
    std::string directory = DefaultDir();
    if (StartOperation == TKVXStarterOperation::smExplore) {
        file = KVXAddBackslash(fw::ExtractFileDir(Command()));
        parameters.clear();
        directory.clear();
    }
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_NOCLOSEPROCESS | g_shellMask;
    fw::TForm* main = fw::Application ? fw::Application->MainForm() : nullptr;
    info.hwnd = main && main->HandleAllocated() ? main->Handle() : nullptr;
    info.lpVerb = Verb(StartOperation);
    info.lpFile = file.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    info.nShow = ShowCommand(StartOption);
    ShellExecuteExA(&info);
    process_ = info.hProcess;

    const auto code = static_cast<int>(reinterpret_cast<INT_PTR>(info.hInstApp));
    if (code == 2 || code == 3 || code == 5 || code == 8 || (code >= 26 && code <= 32)) {
        lastError_ = code;
        CloseProcess();
        if (OnError) OnError(this);
        return;
    }
    if (OnFinished) {
        pollTimer_ = App().AddTimer(500, TNotifyEvent(this, &TKVXStarter::Poll));
        if (!pollTimer_) {
            CloseProcess();
            throw fw::EOutOfResources(texts::SNoTimers);
        }
    }
    if (Wait && process_) WaitForSingleObject(process_, INFINITE);
    // Without a poll nobody needs the handle any more.
    if (!pollTimer_) CloseProcess();
    if (OnAfterStart) OnAfterStart(this);
}

void TKVXStarter::Poll(TObject*) {
    DWORD code = 0;
    if (process_ && GetExitCodeProcess(process_, &code) && code == STILL_ACTIVE) return;
    StopPolling();
    CloseProcess();
    if (OnFinished) OnFinished(this);
}

}  // namespace kvx::win32
