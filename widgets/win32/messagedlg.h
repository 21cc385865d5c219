// KVXMessageDlg: the suite's one modal question, shown as the framework's standard message dialog at
// its default place. The codes are the suite's stored ones:
//   DlgType  0 warning, 1 error, 2 information, 3 confirmation, 4 custom (no icon)
//   Buttons  one bit each: 0 Yes, 1 No, 2 OK, 3 Cancel, 4 Abort, 5 Retry, 6 Ignore, 7 All, 10 Help
//   result   1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No, 8 All
#pragma once

#include <cstdint>
#include <string>

#include "framework/win32/dialogs.h"

namespace kvx::win32 {

// The framework's type for a stored code (codes past 4 count as custom) and its button set (bits 8
// and 9 are the framework's No to All and Yes to All; higher bits name nothing and are dropped).
fw::TMsgDlgType KVXDialogType(uint8_t dlgType);
fw::TMsgDlgButtons KVXDialogButtons(uint16_t buttons);

int KVXMessageDlg(const std::string& msg, uint8_t dlgType, uint16_t buttons, int helpCtx);

}  // namespace kvx::win32
