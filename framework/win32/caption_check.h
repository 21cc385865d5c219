// Captions that fit: a control with a one-line caption must give it the room its text takes in the
// control's own font, together with whatever the control draws beside the text (the check mark or
// radio circle, a push button's frame, a glyph). A caption that does not fit is cut off on screen.
//
// Each control measures its own caption (TControl::MeasureCaption). MeasureCaptions asks every control
// of a loaded form; MeasureDialogCaptions looks at a dialog box made from a dialog resource. A program
// started with FW_CAPTION_CHECK=<file> checks every form compiled into it, writes what it found to
// that file and ends (CheckFormCaptionsIfAsked).
#pragma once

#include <string>
#include <vector>

#include "framework/win32/winapi.h"

namespace fw {

class TControl;

struct TCaptionFit {
    std::string control;  // "frmMain.chkFirst"; in a dialog "MainDialog.503"
    std::string caption;
    int needed = 0;       // pixels: the text and what the control draws beside it
    int room = 0;         // pixels the control gives it
    bool Clipped() const { return needed > room; }
};

// Every one-line caption of `root` and of the controls below it.
std::vector<TCaptionFit> MeasureCaptions(TControl* root);
// Every one-line caption among the system buttons and static texts of a dialog box.
std::vector<TCaptionFit> MeasureDialogCaptions(HWND dialog, const std::string& dialogName);

// For the controls' own measures: the width of one line of text as DrawText lays it out in `font`
// ('&' marks an accelerator unless DT_NOPREFIX is among the flags).
int CaptionTextWidth(HFONT font, const std::string& text, unsigned flags = 0);
// A system BUTTON (`button`) or STATIC window's caption, from its style: a push button's frame, a
// check box's box and the gap after it, a group box's indent on both sides. False when the window
// shows no one-line caption (drawn by its owner, a multi-line button or text two lines high, a
// picture, text shortened with an ellipsis).
bool MeasureSystemCaption(HWND window, bool button, HFONT font, const std::string& text, int& needed, int& room);

// "frmMain.chkFirst "On the first page": needs 117 px, has 97"
std::string DescribeCaptionFit(const TCaptionFit& fit);

// With FW_CAPTION_CHECK set to a file name: loads every form compiled into the program (data modules
// first, so that references into them resolve) as its text lays it out, without showing it and
// without running OnCreate; writes one line per form ("checked RESOURCE (Class): N captions"), per
// caption that does not fit ("clipped ...") and per form that cannot be loaded ("error ..."); then
// ends the program, with exit code 1 when it found anything. Runs once, at the program's first form
// (the program has registered its classes by then) or at its end; otherwise does nothing.
void CheckFormCaptionsIfAsked();

}  // namespace fw
