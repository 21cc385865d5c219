// The context-help vocabulary: the 43 standard hint texts, the captions by which standard dialog
// buttons and the "What's This?" command are recognised, the standard help topics with their mapping
// to contexts of a standard-topics help file, the topics and hints of system and edit commands and of
// the window parts, and the flags and help-call planning of the help monitor.
//
// Everything here is text and arithmetic: the monitor's Windows side asks these tables and shows what
// they answer.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "framework/core/object.h"
#include "framework/core/rtti.h"

namespace uis {

// ---- hints ----------------------------------------------------------------------------------------

constexpr int kStdHintCount = 43;

// The standard hint texts, numbered 1 to 43. A text with "|" holds a short part (for an enabled
// command) and a long part after the "|" (for a disabled one).
class TStdHints {
public:
    TStdHints();
    // The whole text of hint `number`; "" outside 1..43.
    const std::string& Text(int number) const;
    // The part shown for an enabled (before "|") or a disabled (after "|") command; a text without
    // "|" is shown whole either way.
    std::string Part(int number, bool disabled) const;

private:
    std::string texts_[kStdHintCount];
};

// ---- captions --------------------------------------------------------------------------------------

// The captions of the standard buttons and of the monitor's own "What's This?" command.
class TStdCaptions : public fw::TPersistent {
public:
    const std::string& OKButton() const { return ok_; }
    void SetOKButton(const std::string& v) { ok_ = v; }
    const std::string& CancelButton() const { return cancel_; }
    void SetCancelButton(const std::string& v) { cancel_ = v; }
    const std::string& HelpButton() const { return help_; }
    void SetHelpButton(const std::string& v) { help_ = v; }
    const std::string& ApplyButton() const { return apply_; }
    void SetApplyButton(const std::string& v) { apply_ = v; }
    const std::string& WhatIsThisCmd() const { return whatIsThis_; }
    void SetWhatIsThisCmd(const std::string& v) { whatIsThis_ = v; }
    void Assign(fw::TPersistent* source) override;

private:
    std::string ok_ = "OK";
    std::string cancel_ = "Cancel";
    std::string help_ = "Help";
    std::string apply_ = "Apply";
    std::string whatIsThis_ = "&What's This?";
};

// The text with its first "&" removed.
std::string WithoutFirstAmpersand(const std::string& text);
// A caption counts as `standard` when both are equal, case included, once each has lost its first "&".
bool SameStdCaption(const std::string& caption, const std::string& standard);
// A menu entry's text as it is compared: tabs become carriage returns, so an entry that shows a
// short-cut text after a tab never equals a standard caption.
std::string MenuTextForCompare(const std::string& menuText);

enum class TStdButton { None, OK, Cancel, Help, Apply };
TStdButton StdButtonOf(const std::string& caption, const TStdCaptions& captions);

// ---- topics ------------------------------------------------------------------------------------------

// The standard topic numbers.
namespace topic {
constexpr int Nothing = 1;  // also what topic 0 becomes
constexpr int SysNextWindow = 2;
constexpr int SysMove = 3, SysMoveDisabled = 4;
constexpr int SysSize = 5, SysSizeDisabled = 6;
constexpr int SysMaximizeDisabled = 7, SysMinimizeDisabled = 8, SysRestoreDisabled = 9;
constexpr int EditCopy = 10, EditCopyDisabled = 11;
constexpr int EditCut = 12, EditCutDisabled = 13;
constexpr int EditDelete = 14, EditDeleteDisabled = 15;
constexpr int EditPaste = 16, EditPasteDisabled = 17;
constexpr int EditSelectAll = 18, EditSelectAllDisabled = 19;
constexpr int EditUndo = 20, EditUndoDisabled = 21;
constexpr int MdiMoreWindows = 22, MdiWindow = 23;
constexpr int Close = 24, Maximize = 25, Minimize = 26, Restore = 27, ContextHelp = 28;
constexpr int HelpButtonMain = 29, HelpButtonOther = 30;
constexpr int WhatIsThisPopup = 31, WhatIsThisItem = 32;
constexpr int Apply = 33, Cancel = 34, Help = 35, OK = 36;
constexpr int StatusBar = 37, SizingCorner = 38, SysMenuIcon = 39, SizingEdge = 40, ScrollBar = 41, Caption = 42;
}  // namespace topic

// The hint numbers the monitor uses by name.
namespace hint {
constexpr int SystemMenu = 22;
constexpr int HelpButtonMain = 29, HelpButtonOther = 30;
constexpr int InterruptHelpMode = 31, WhatIsThisOffered = 32, HelpMode = 33, CaptionHelpMode = 34;
constexpr int WhatIsThisItem = 35;
constexpr int OK = 36, Cancel = 37, Help = 38, Apply = 39, StatusBar = 40;
constexpr int MdiWindow = 41, MdiActiveWindow = 42, MdiMoreWindows = 43;
}  // namespace hint

int StdButtonTopic(TStdButton button);  // 36, 34, 35, 33; 0 for None
int StdButtonHint(TStdButton button);   // 36, 37, 38, 39; 0 for None

// The standard-topics file and the mapping of topic numbers to its contexts.
class TStdHelpTopics : public fw::TPersistent {
public:
    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(const std::string& value);
    int Offset() const { return offset_; }
    void SetOffset(int value) { offset_ = value; }
    int Interval() const { return interval_; }
    void SetInterval(int value) { interval_ = value; }

    // Offset + Interval * topic, where topic 0 counts as 1.
    int ContextOf(int topicNumber) const;
    // Resolves HelpFile against the application's help file now (ResolveStdTopicsFile) and keeps it.
    const std::string& Resolve();
    const std::string& ResolvedFile() const { return resolved_; }
    void Assign(fw::TPersistent* source) override;

    // Where the application's help file and the program's folder come from (the Windows side installs
    // it; without one both are empty).
    using Environment = void (*)(std::string& appHelpFile, std::string& programFolder);
    static void SetEnvironment(Environment environment);

private:
    std::string helpFile_;
    int offset_ = 100000;
    int interval_ = 1;
    std::string resolved_;
};

// The standard-topics file for `helpFile`, relative to the application's help file, whose window
// suffix (from ">" on) is kept: "App" is the application's file itself; "" gives "TovkStd.hlp" in its
// folder; a name beginning with ".." is taken in the program's folder (no suffix); a full path (":" as
// its second character) stands as it is; any other name is taken in the application file's folder.
std::string ResolveStdTopicsFile(const std::string& helpFile, const std::string& appHelpFile,
                                 const std::string& programFolder);
// The file with ">" + windowName appended, unless windowName is empty or the file names a window.
std::string WithHelpWindow(const std::string& file, const std::string& windowName);

// System commands (WM_SYSCOMMAND identifiers) and edit commands (WM_UNDO ... EM_SETSEL).
namespace cmd {
constexpr unsigned SysSize = 61440, SysMove = 61456, SysMinimize = 61472, SysMaximize = 61488;
constexpr unsigned SysNextWindow = 61504, SysClose = 61536, SysVScroll = 61552, SysHScroll = 61568;
constexpr unsigned SysRestore = 61728, SysContextHelp = 61824;
constexpr unsigned EditCut = 768, EditCopy = 769, EditPaste = 770, EditDelete = 771, EditUndo = 772;
constexpr unsigned EditSelectAll = 177, EditSelectAllAlt = 1025;
}  // namespace cmd

// The standard topic of a system-menu or edit-menu command (0: none; disabled commands other than
// move, size, minimise, maximise, restore and the edit commands have none).
int CommandTopic(unsigned command, bool enabled);
// The hint number of such a command (0: none).
int CommandHint(unsigned command);
// The context of topics 0 and 33 to 36 in the system's help file, used with cfUseSystemStdTopics; 0
// for the others.
int SystemStdTopicContext(int topicNumber);
constexpr const char* kSystemHelpFile = "Windows.hlp";

// ---- window parts ------------------------------------------------------------------------------------

// Hit-test codes of WM_NCHITTEST the vocabulary knows.
namespace ht {
constexpr int Client = 1, Caption = 2, SysMenu = 3, Menu = 5, HScroll = 6, VScroll = 7;
constexpr int MinButton = 8, MaxButton = 9, Left = 10, Right = 11, Top = 12, TopLeft = 13, TopRight = 14;
constexpr int Bottom = 15, BottomLeft = 16, BottomRight = 17, Border = 18, Close = 20, Help = 21;
}  // namespace ht

struct TWindowPartHelp {
    int hint = 0;                    // standard hint number, 0: none
    int topic = 0;                   // standard topic, 0: none
    bool rightButtonOnly = false;    // the topic is shown for a right-button request only
};
// The hint and topic of a window part of a window that is sizeable or not, minimised or maximised.
// The menu bar (5) is answered by the menu; the client area and the border give nothing.
TWindowPartHelp WindowPartHelp(int hitTest, bool sizeable, bool minimized, bool maximized);

// ---- the monitor's flags and help calls ------------------------------------------------------------

enum class TControlFlag {
    cfAutoHelpButton,
    cfBeepIfNoHelp,
    cfCheckHCSign,
    cfDlgAllowHelpMode,
    cfDlgAllowNonStop,
    cfDlgCheckHelpButton,
    cfDlgForceSmallCursor,
    cfMainFrmRButtonHelp,
    cfMenuRButtonHelp,
    cfNCObjHints,
    cfNonStopHelp,
    cfPopupIsDefaultWnd,
    cfPopupWhatIsThis,
    cfSmallCursor,
    cfPopupStdTopics,
    cfUseHelpFinderCmd,
    cfUseSystemStdTopics
};
using TControlFlags = fw::Set<TControlFlag>;
constexpr uint32_t kDefaultControlFlags = 0xFBDD;

// WinHelp commands.
namespace helpcmd {
constexpr unsigned Context = 1, Contents = 3, ContextPopup = 8, Finder = 11, SetPopupPos = 13;
}

// What the current help context is.
enum class TContextKind { None, Real, StdTopic, UnknownMenu, MenuRequest };

struct THelpCall {
    std::string file;
    unsigned command = 0;
    uintptr_t data = 0;
};

// What showing help for a context asks of the help system.
struct THelpRequest {
    TContextKind kind = TContextKind::None;
    int context = 0;               // a real context, or the standard topic number
    TControlFlags flags = TControlFlags::FromBits(kDefaultControlFlags);
    std::string formHelpFile;      // the active form's own help file
    std::string appHelpFile;
    std::string windowName;        // the monitor's HelpWindowName
    std::string stdTopicsFile;     // the resolved standard-topics file
    int offset = 100000, interval = 1;
};
// The call that shows the request's help, or nothing when there is no file to show it from.
std::optional<THelpCall> PlanHelpCall(const THelpRequest& request);
// The contents call: HELP_FINDER with cfUseHelpFinderCmd, else HELP_CONTENTS; nothing without a file.
std::optional<THelpCall> PlanContentsCall(const std::string& appHelpFile, const std::string& windowName,
                                          TControlFlags flags);

// Registers TStdCaptions, TStdHelpTopics and the flag names for form text.
void RegisterHelpVocabClasses();

}  // namespace uis
