// TKVXApplication: the suite's application-wide object beside the framework's Application. It holds
// the global settings store, the options and log writer, the single-instance flag, the exception
// logger, the 50 ms timer pool on which controls register their repeat and poll timers, and the
// edit-mode flags shared by all suite edits.
//
// It is made by an explicit start-up call (KVXCreateApplication here; kvx::win32::KVXStartApplication
// adds the Win32 services) and reached through the global KVXApplication.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/core/event.h"
#include "framework/core/rtti.h"
#include "widgets/inictrl.h"
#include "widgets/kvxclass.h"
#include "widgets/kvxutils.h"
#include "widgets/timerpool.h"

namespace kvx {

enum class TKVXApplicationOption {
    aoAutoRealizePalette,
    aoMouseCtrlActive,
    aoLogAlwaysClear,
    aoLogException,
    aoLogHeader,
    aoLogNr,
    aoLogTime
};
using TKVXApplicationOptions = fw::Set<TKVXApplicationOption>;
enum class TKVXLogAction { laNone, laClearLog, laBackupLog };

using TKVXMaxLogSizeEvent = fw::Event<void(TObject* Sender, const std::string& LogName, bool& Cancel)>;
using TKVXExceptionEvent = fw::Event<void(TObject* Sender, fw::Exception& E, bool& Cancel)>;

// EditMode bits.
constexpr uint8_t kEditInsert = 1;
constexpr uint8_t kEditShift = 2;
constexpr uint8_t kEditCtrl = 4;
constexpr uint8_t kEditAlt = 8;

// The application's timer idents: 0xFD01 .. 0xFDFA.
constexpr uint16_t kFirstTimerIdent = 0xFD01;
constexpr int kTimerSlots = 250;

class TKVXApplication : public TComponent {
public:
    TKVXApplication();

    std::string Company;
    std::string Version;
    TKVXApplicationOptions Options{TKVXApplicationOption::aoMouseCtrlActive, TKVXApplicationOption::aoLogAlwaysClear,
                                   TKVXApplicationOption::aoLogHeader, TKVXApplicationOption::aoLogNr};
    TKVXIniCtrl* IniCtrl() const { return iniCtrl_; }
    TKVXTimerPool* TimerPool() const { return timerPool_; }
    uint8_t DlgEffectDelay = 3;
    TComponent* MessageDlgComponent = nullptr;

    // 1 insert mode, 2 Shift, 4 Ctrl, 8 Alt.
    uint8_t EditMode() const { return editMode_; }
    void SetEditMode(uint8_t value);
    // Set by TKVXApplicationCtrl; raised with the application object as Sender.
    TNotifyEvent OnEditModeChange;

    // Another copy of the program was running at start (set by the Win32 start-up).
    bool SecondInstance = false;

    // ---- log ------------------------------------------------------------------------------------
    TKVXPathPrefix LogPrefix() const { return logPrefix_; }
    void SetLogPrefix(TKVXPathPrefix value);
    const std::string& LogName() const { return logName_; }
    // Blank: the program's path with ".LOG"; no extension: ".LOG" added; then, unless ppFixed, the
    // prefix's folder and the file-name part.
    void SetLogName(const std::string& value);
    int32_t LogMaxsize = -1;
    TKVXLogAction LogMaxAction = TKVXLogAction::laNone;
    TKVXMaxLogSizeEvent OnMaxLogSize;
    int LogLineNumber() const { return lineNumber_; }
    // One entry; "#CR" an empty line, "#Header" the header block, "#Line" 80 asterisks. An entry that
    // cannot be written is lost; when the header block was due, EInOutError is raised.
    void WriteLog(const std::string& text);
    // The exception being handled (if any) as an entry; never raises.
    void LogException(TObject* sender) noexcept;

    // ---- exceptions -----------------------------------------------------------------------------
    TKVXExceptionEvent OnException;
    // The unhandled-exception handler: OnException (may cancel), the log (aoLogException), then
    // `show` (the framework's standard display).
    void HandleException(TObject* sender, fw::Exception& e, const std::function<void()>& show);

    // ---- timers ---------------------------------------------------------------------------------
    // Registers the callback under the lowest free ident; 0 when all 250 are in use. Interval errors
    // raise as the pool's Add does.
    uint16_t AddTimer(uint16_t interval, const TNotifyEvent& callback);
    // Idents above 0xFD00 only.
    void RemoveTimer(uint16_t ident);
    TKVXTimerItem* GetTimerItem(uint16_t ident) const;

    std::string DefaultRegPath() const;

protected:
    void BeforeDestruction() override;

private:
    void WriteHeader(std::string& out);

    TKVXIniCtrl* iniCtrl_;
    TKVXTimerPool* timerPool_;
    uint8_t editMode_ = kEditInsert;
    TKVXPathPrefix logPrefix_ = TKVXPathPrefix::ppProgram;
    std::string logName_;
    bool logWritten_ = false;
    int32_t lineNumber_ = 0;
    bool slots_[kTimerSlots] = {};
};

// The program's suite application object (null before KVXCreateApplication and after
// KVXDestroyApplication).
extern TKVXApplication* KVXApplication;
// Creates KVXApplication (once; later calls return it).
TKVXApplication* KVXCreateApplication();
void KVXDestroyApplication();

}  // namespace kvx
