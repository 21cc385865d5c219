// How keys travel. The loops hand every WM_KEYDOWN, WM_SYSKEYDOWN, WM_CHAR and WM_SYSCHAR to
// PreprocessKey before translation, which runs, in this order (Escape during a drag first cancels the
// drag):
//   1. Shortcuts: the active form's main menu in menu order, then its popup menus, then its action
//      lists. A printable key, with or without Shift, is never a shortcut while the focused window
//      wants characters (it answers WM_GETDLGCODE with DLGC_WANTCHARS: edits, memos, combos, custom
//      controls). Ctrl and Alt combinations and function keys are shortcuts everywhere.
//   2. Dialog keys the focused window does not claim through WM_GETDLGCODE: Tab and Shift+Tab move the
//      focus by TabOrder, arrows move within a group of radio buttons, and every dialog key goes to the
//      form as CM_DIALOGKEY, which its buttons answer (Enter presses the Default button, Escape the
//      Cancel one). A control can forward a key there itself: form->Perform(CM_DIALOGKEY, VK_RETURN, 0).
//   3. A form with KeyPreview: its OnKeyDown/OnKeyPress see the key first and may clear it.
//   4. The control's own KeyDown/KeyPress. WM_SYSCHAR, and characters the focused window does not want,
//      become CM_DIALOGCHAR, broadcast to the form's controls (windowless ones too), which answer it
//      when the character is the accelerator of their caption (IsAccel).
#pragma once

#include <cstdint>
#include <string>

#include "framework/win32/controls.h"

namespace fw {

class TForm;

// A key with its modifiers: the virtual key in the low byte, scShift/scCtrl/scAlt above.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// "Ctrl+O", "Shift+Del", "F3"; TextToShortCut gives 0 for text it does not know.
std::string ShortCutToText(TShortCut shortCut);
TShortCut TextToShortCut(const std::string& text);

// True when `key` is the accelerator of `caption`: the character after a single '&', ignoring case.
bool IsAccel(unsigned key, const std::string& caption);
// The caption without its accelerator marks ("&&" stays one '&').
std::string StripHotkey(const std::string& caption);

// True when the window answers WM_GETDLGCODE with DLGC_WANTCHARS (or wants every key).
bool WantsChars(HWND window);
// True when `key` with `shift` types a character (no Ctrl or Alt; a letter, digit, sign or space).
bool IsPrintableKey(uint16_t key, TShiftState shift);

// Moves the focus to the next (or previous) control of the form in TabOrder, wrapping around.
// Returns the control that got the focus, or null.
TWinControl* SelectNext(TWinControl* form, TWinControl* current, bool forward);

// Step 1 above for a form: asks the shortcut handlers (menus, then action lists) in the order they
// were added; true when a shortcut ran.
bool DispatchShortCut(TForm* form, TShortCut shortCut);
using ShortCutHandler = bool (*)(TForm* form, TShortCut shortCut);
void AddShortCutHandler(ShortCutHandler handler);
// The loops' preprocessing (installed on the application by InitStdControls): true when consumed.
// Every message passes: mouse moves and presses also drive the hints.
bool PreprocessKey(MSG& msg);

}  // namespace fw
