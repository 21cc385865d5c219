#include "uisupport/helpvocab.h"

#include <cstdlib>

namespace uis {

namespace {

const char* const kHintTexts[kStdHintCount] = {
    "Click to close the window",
    "Click to restore the window previous size and location",
    "Click to popup control menu",
    "Click to reduce the window to an icon",
    "Click to enlarge the window to full size",
    "Drag to move the window, double-click to enlarge it to full size",
    "Double-click to restore the window previous size and location",
    "Drag to move the window, double-click to restore its previous size and location",
    "Drag the title bar to move the window",
    "To scroll window horizontally drag the box or click the arrows",
    "To scroll window vertically drag the box or click the arrows",
    "Click and then choose the object to receive the help on",
    "Drag the edge to resize the window",
    "Drag the corner to resize the window",
    "Enlarges the window to full size|This command is not available because the window is zoomed to it maximum size",
    "Changes the window position|This command is not available because the window is zoomed to it maximum size",
    "Restores the window previous size and location|This command is not available because the window is not "
    "maximized or minimized",
    "Changes the window size|This command is not available because the window is zoomed to it maximum size",
    "Reduces the window to an icon|This command is not available because the window is minimized",
    "Closes the window",
    "Makes the next child window in the window sequence the active window",
    "The window control menu commands",
    "Undoes the last action|This command is not available because there is no last action to undo",
    "Cuts the selection and puts it on the Clipboard|This command is not available because no text is selected",
    "Copies the selection to the Clipboard|This command is not available because no text is selected",
    "Inserts the Clipboard contents at the insertion point|This command is not available because the Clipboard is "
    "empty or not valid",
    "Deletes the selection|This command is not available because no text is selected",
    "Selects the entire contents|This command is not available because there is no contents to select",
    "Context Sensitive Help|Click to get help on command or screen region, double-click to display the contents "
    "window of the online help",
    "Context Sensitive Help|Click to get help on command or screen region, double-click to display the help window "
    "for the dialog",
    "Click to interrupt help mode",
    "Click 'What's This?' button to get help on the selected object",
    "Choose a command or click an object to get help on",
    "Click an object to get help on",
    "Lets you get help on command or screen region",
    "Applies changes you have made and then closes this dialog box",
    "Closes this dialog box without saving any changes you have made",
    "Display contextual Help for this dialog box",
    "Saves all the changes you have made without closing this dialog box",
    "Status Bar displays information about a window objects, menu commands and operations in progress",
    "Switches to '%s' window",
    "'%s' is currently active window",
    "Displays the list of all open windows",
};

TStdHelpTopics::Environment g_environment = nullptr;

// A command's topic when enabled and when disabled, and its hint.
struct CommandEntry {
    unsigned command;
    int enabled;
    int disabled;
    int hint;
};
const CommandEntry kCommands[] = {
    {cmd::SysSize, topic::SysSize, topic::SysSizeDisabled, 18},
    {cmd::SysMove, topic::SysMove, topic::SysMoveDisabled, 16},
    {cmd::SysMinimize, topic::Minimize, topic::SysMinimizeDisabled, 19},
    {cmd::SysMaximize, topic::Maximize, topic::SysMaximizeDisabled, 15},
    {cmd::SysNextWindow, topic::SysNextWindow, 0, 21},
    {cmd::SysClose, topic::Close, 0, 20},
    {cmd::SysVScroll, topic::ScrollBar, 0, 0},
    {cmd::SysHScroll, topic::ScrollBar, 0, 0},
    {cmd::SysRestore, topic::Restore, topic::SysRestoreDisabled, 17},
    {cmd::SysContextHelp, topic::ContextHelp, 0, 0},
    {cmd::EditUndo, topic::EditUndo, topic::EditUndoDisabled, 23},
    {cmd::EditCut, topic::EditCut, topic::EditCutDisabled, 24},
    {cmd::EditCopy, topic::EditCopy, topic::EditCopyDisabled, 25},
    {cmd::EditPaste, topic::EditPaste, topic::EditPasteDisabled, 26},
    {cmd::EditDelete, topic::EditDelete, topic::EditDeleteDisabled, 27},
    {cmd::EditSelectAll, topic::EditSelectAll, topic::EditSelectAllDisabled, 28},
    {cmd::EditSelectAllAlt, topic::EditSelectAll, topic::EditSelectAllDisabled, 28},
};

const CommandEntry* FindCommand(unsigned command) {
    for (const CommandEntry& e : kCommands)
        if (e.command == command) return &e;
    return nullptr;
}

// The help file of a call: the request's file with the window suffix.
THelpCall Call(const std::string& file, const std::string& windowName, unsigned command, uintptr_t data) {
    return THelpCall{WithHelpWindow(file, windowName), command, data};
}

}  // namespace

// ---- hints ----------------------------------------------------------------------------------------

TStdHints::TStdHints() {
    for (int i = 0; i < kStdHintCount; ++i) texts_[i] = kHintTexts[i];
}

const std::string& TStdHints::Text(int number) const {
    static const std::string empty;
    return number >= 1 && number <= kStdHintCount ? texts_[number - 1] : empty;
}

std::string TStdHints::Part(int number, bool disabled) const {
    const std::string& text = Text(number);
    const size_t bar = text.find('|');
    if (bar == std::string::npos) return text;
    return disabled ? text.substr(bar + 1) : text.substr(0, bar);
}

// ---- captions --------------------------------------------------------------------------------------

void TStdCaptions::Assign(fw::TPersistent* source) {
    auto* other = dynamic_cast<TStdCaptions*>(source);
    if (!other) return TPersistent::Assign(source);
    ok_ = other->ok_;
    cancel_ = other->cancel_;
    help_ = other->help_;
    apply_ = other->apply_;
    whatIsThis_ = other->whatIsThis_;
}

std::string WithoutFirstAmpersand(const std::string& text) {
    std::string result = text;
    const size_t amp = result.find('&');
    if (amp != std::string::npos) result.erase(amp, 1);
    return result;
}

bool SameStdCaption(const std::string& caption, const std::string& standard) {
    return WithoutFirstAmpersand(caption) == WithoutFirstAmpersand(standard);
}

std::string MenuTextForCompare(const std::string& menuText) {
    std::string text = menuText;
    for (char& c : text)
        if (c == '\t') c = '\r';
    return text;
}

TStdButton StdButtonOf(const std::string& caption, const TStdCaptions& captions) {
    if (SameStdCaption(caption, captions.OKButton())) return TStdButton::OK;
    if (SameStdCaption(caption, captions.CancelButton())) return TStdButton::Cancel;
    if (SameStdCaption(caption, captions.HelpButton())) return TStdButton::Help;
    if (SameStdCaption(caption, captions.ApplyButton())) return TStdButton::Apply;
    return TStdButton::None;
}

int StdButtonTopic(TStdButton button) {
    switch (button) {
        case TStdButton::OK: return topic::OK;
        case TStdButton::Cancel: return topic::Cancel;
        case TStdButton::Help: return topic::Help;
        case TStdButton::Apply: return topic::Apply;
        default: return 0;
    }
}

int StdButtonHint(TStdButton button) {
    switch (button) {
        case TStdButton::OK: return hint::OK;
        case TStdButton::Cancel: return hint::Cancel;
        case TStdButton::Help: return hint::Help;
        case TStdButton::Apply: return hint::Apply;
        default: return 0;
    }
}

// ---- topics ------------------------------------------------------------------------------------------

void TStdHelpTopics::SetHelpFile(const std::string& value) {
    helpFile_ = value;
    Resolve();
}

int TStdHelpTopics::ContextOf(int topicNumber) const { return offset_ + interval_ * (topicNumber == 0 ? 1 : topicNumber); }

const std::string& TStdHelpTopics::Resolve() {
    std::string appHelpFile, programFolder;
    if (g_environment) g_environment(appHelpFile, programFolder);
    resolved_ = ResolveStdTopicsFile(helpFile_, appHelpFile, programFolder);
    return resolved_;
}

void TStdHelpTopics::Assign(fw::TPersistent* source) {
    auto* other = dynamic_cast<TStdHelpTopics*>(source);
    if (!other) return TPersistent::Assign(source);
    offset_ = other->offset_;
    interval_ = other->interval_;
    SetHelpFile(other->helpFile_);
}

void TStdHelpTopics::SetEnvironment(Environment environment) { g_environment = environment; }

std::string ResolveStdTopicsFile(const std::string& helpFile, const std::string& appHelpFile,
                                 const std::string& programFolder) {
    const size_t gt = appHelpFile.find('>');
    const std::string appFile = appHelpFile.substr(0, gt);
    const std::string suffix = gt == std::string::npos ? std::string() : appHelpFile.substr(gt);
    const size_t slash = appFile.find_last_of("\\:");
    const std::string folder = slash == std::string::npos ? std::string() : appFile.substr(0, slash + 1);
    if (helpFile == "App") return appHelpFile;
    if (helpFile.empty()) return folder + "TovkStd.hlp" + suffix;
    if (helpFile.compare(0, 2, "..") == 0) return programFolder + helpFile;
    if (helpFile.size() >= 2 && helpFile[1] == ':') return helpFile + suffix;
    return folder + helpFile + suffix;
}

std::string WithHelpWindow(const std::string& file, const std::string& windowName) {
    if (windowName.empty() || file.find('>') != std::string::npos) return file;
    return file + ">" + windowName;
}

int CommandTopic(unsigned command, bool enabled) {
    const CommandEntry* e = FindCommand(command);
    if (!e) return 0;
    return enabled ? e->enabled : e->disabled;
}

int CommandHint(unsigned command) {
    const CommandEntry* e = FindCommand(command);
    return e ? e->hint : 0;
}

int SystemStdTopicContext(int topicNumber) {
    switch (topicNumber) {
        case 0: return 28441;
        case topic::OK: return 28443;
        case topic::Help: return 28445;
        case topic::Cancel: return 28444;
        case topic::Apply: return 28447;
        default: return 0;
    }
}

// ---- window parts ------------------------------------------------------------------------------------

TWindowPartHelp WindowPartHelp(int hitTest, bool sizeable, bool minimized, bool maximized) {
    switch (hitTest) {
        case ht::Caption: {
            int hintNumber = 9;
            if (sizeable) hintNumber = minimized ? 8 : maximized ? 7 : 6;
            return {hintNumber, topic::Caption, false};
        }
        case ht::SysMenu: return {3, topic::SysMenuIcon, true};
        case ht::HScroll: return {10, topic::ScrollBar, false};
        case ht::VScroll: return {11, topic::ScrollBar, false};
        case ht::MinButton: return minimized ? TWindowPartHelp{2, topic::Restore, false} : TWindowPartHelp{4, topic::Minimize, false};
        case ht::MaxButton: return maximized ? TWindowPartHelp{2, topic::Restore, false} : TWindowPartHelp{5, topic::Maximize, false};
        case ht::Left:
        case ht::Right:
        case ht::Top:
        case ht::Bottom: return {13, topic::SizingEdge, false};
        case ht::TopLeft:
        case ht::TopRight:
        case ht::BottomLeft:
        case ht::BottomRight: return {14, topic::SizingCorner, false};
        case ht::Close: return {1, topic::Close, false};
        case ht::Help: return {12, topic::ContextHelp, false};
        default: return {};
    }
}

// ---- help calls ------------------------------------------------------------------------------------------

std::optional<THelpCall> PlanHelpCall(const THelpRequest& r) {
    using F = TControlFlag;
    if (r.kind == TContextKind::None || r.kind == TContextKind::StdTopic) {
        const int number = r.kind == TContextKind::None ? 0 : r.context;
        if (r.flags.Contains(F::cfUseSystemStdTopics)) {
            if (const int context = SystemStdTopicContext(number))
                return Call(kSystemHelpFile, r.windowName, helpcmd::ContextPopup, static_cast<uintptr_t>(context));
        }
        if (r.stdTopicsFile.empty()) return std::nullopt;
        const int context = r.offset + r.interval * (number == 0 ? 1 : number);
        const bool popup = r.flags.Contains(F::cfPopupStdTopics) || r.flags.Contains(F::cfPopupIsDefaultWnd);
        return Call(r.stdTopicsFile, r.windowName, popup ? helpcmd::ContextPopup : helpcmd::Context,
                    static_cast<uintptr_t>(context));
    }
    bool popup = r.flags.Contains(F::cfPopupIsDefaultWnd);
    if (r.flags.Contains(F::cfCheckHCSign) && r.context < 0) popup = !popup;
    std::string file = r.formHelpFile.empty() || r.kind == TContextKind::UnknownMenu ? r.appHelpFile : r.formHelpFile;
    if (file.empty()) return std::nullopt;
    return Call(file, r.windowName, popup ? helpcmd::ContextPopup : helpcmd::Context,
                static_cast<uintptr_t>(std::abs(static_cast<long long>(r.context))));
}

std::optional<THelpCall> PlanContentsCall(const std::string& appHelpFile, const std::string& windowName,
                                          TControlFlags flags) {
    if (appHelpFile.empty()) return std::nullopt;
    return Call(appHelpFile, windowName,
                flags.Contains(TControlFlag::cfUseHelpFinderCmd) ? helpcmd::Finder : helpcmd::Contents, 0);
}

void RegisterHelpVocabClasses() {
    fw::RegisterClasses();
    fw::RegisterEnum<TControlFlag>({"cfAutoHelpButton", "cfBeepIfNoHelp", "cfCheckHCSign", "cfDlgAllowHelpMode",
                                    "cfDlgAllowNonStop", "cfDlgCheckHelpButton", "cfDlgForceSmallCursor",
                                    "cfMainFrmRButtonHelp", "cfMenuRButtonHelp", "cfNCObjHints", "cfNonStopHelp",
                                    "cfPopupIsDefaultWnd", "cfPopupWhatIsThis", "cfSmallCursor", "cfPopupStdTopics",
                                    "cfUseHelpFinderCmd", "cfUseSystemStdTopics"},
                                   "TControlFlag");
    fw::Class<TStdCaptions, fw::TPersistent>("TStdCaptions")
        .Prop("OKButton", &TStdCaptions::OKButton, &TStdCaptions::SetOKButton)
        .Prop("CancelButton", &TStdCaptions::CancelButton, &TStdCaptions::SetCancelButton)
        .Prop("HelpButton", &TStdCaptions::HelpButton, &TStdCaptions::SetHelpButton)
        .Prop("ApplyButton", &TStdCaptions::ApplyButton, &TStdCaptions::SetApplyButton)
        .Prop("WhatIsThisCmd", &TStdCaptions::WhatIsThisCmd, &TStdCaptions::SetWhatIsThisCmd);
    fw::Class<TStdHelpTopics, fw::TPersistent>("TStdHelpTopics")
        .Prop("HelpFile", &TStdHelpTopics::HelpFile, &TStdHelpTopics::SetHelpFile)
        .Prop("Offset", &TStdHelpTopics::Offset, &TStdHelpTopics::SetOffset)
        .Prop("Interval", &TStdHelpTopics::Interval, &TStdHelpTopics::SetInterval);
}

}  // namespace uis
