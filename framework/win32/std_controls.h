// The standard controls: one header to include them all and one call that registers them for form
// text. Each control lives in its own std_<name>.{h,cpp}.
#pragma once

#include "framework/win32/std_animate.h"
#include "framework/win32/std_bevel.h"
#include "framework/win32/std_bitbtn.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_combobox.h"
#include "framework/win32/std_coolbar.h"
#include "framework/win32/std_datetimepicker.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_filectrls.h"
#include "framework/win32/std_header.h"
#include "framework/win32/std_image.h"
#include "framework/win32/std_label.h"
#include "framework/win32/std_listbox.h"
#include "framework/win32/std_listview.h"
#include "framework/win32/std_memo.h"
#include "framework/win32/std_notebook.h"
#include "framework/win32/std_pagecontrol.h"
#include "framework/win32/std_panel.h"
#include "framework/win32/std_progressbar.h"
#include "framework/win32/std_radiogroup.h"
#include "framework/win32/std_richedit.h"
#include "framework/win32/std_scrollbox.h"
#include "framework/win32/std_splitter.h"
#include "framework/win32/std_statusbar.h"
#include "framework/win32/std_tabcontrol.h"
#include "framework/win32/std_toolbar.h"
#include "framework/win32/std_treeview.h"

namespace fw {

// Registers every standard control class with its published properties (after the control classes).
// Calling it again is harmless.
void RegisterStandardControls();

}  // namespace fw
