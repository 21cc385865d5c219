// What the standard controls share beyond their value types: owner-draw state, the canvas a control
// lends to its owner-draw handlers, and small window helpers.
#pragma once

#include <memory>

#include "framework/core/event.h"
#include "framework/core/graphics_values.h"
#include "framework/core/lists.h"
#include "framework/core/rtti.h"
#include "framework/win32/controls.h"
#include "framework/win32/graphics.h"
#include "framework/win32/std_types.h"

namespace fw {

// The scroll bars of a memo or rich edit.
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// What an owner-drawn item is showing (from DRAWITEMSTRUCT.itemState).
enum class TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odComboBoxEdit };
using TOwnerDrawState = Set<TOwnerDrawStateItem>;
TOwnerDrawState OwnerDrawState(UINT itemState);

using TDrawItemEvent = Event<void(TObject* Sender, int Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = Event<void(TObject* Sender, int Index, int& Height)>;

// A canvas bound to a DC owned by someone else (WM_DRAWITEM), for the length of one call.
class TBorrowedCanvas {
public:
    TBorrowedCanvas(TCanvas* canvas, HDC dc) : canvas_(canvas) { canvas_->SetHandle(dc); }
    ~TBorrowedCanvas() { canvas_->SetHandle(nullptr); }
    TBorrowedCanvas(const TBorrowedCanvas&) = delete;
    TBorrowedCanvas& operator=(const TBorrowedCanvas&) = delete;

private:
    TCanvas* canvas_;
};

// The window text of a window, read with GetWindowTextA.
std::string WindowText(HWND window);
// Sets or clears `bits` in a window's GWL_STYLE (or GWL_EXSTYLE) and redraws the frame.
void SetWindowStyleBits(HWND window, LONG_PTR bits, bool on, int which = GWL_STYLE);

// Registers the enumerations above and the shared value types (once).
void RegisterStdSupport();

}  // namespace fw
