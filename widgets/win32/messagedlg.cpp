#include "widgets/win32/messagedlg.h"

namespace kvx::win32 {

namespace {
constexpr uint8_t kLastDialogType = 4;
constexpr uint16_t kKnownButtons = 0x07FF;
}  // namespace

fw::TMsgDlgType KVXDialogType(uint8_t dlgType) {
    return static_cast<fw::TMsgDlgType>(dlgType > kLastDialogType ? kLastDialogType : dlgType);
}

fw::TMsgDlgButtons KVXDialogButtons(uint16_t buttons) {
    // The stored bits are the framework's button numbers.
    return fw::TMsgDlgButtons::FromBits(buttons & kKnownButtons);
}

int KVXMessageDlg(const std::string& msg, uint8_t dlgType, uint16_t buttons, int helpCtx) {
    return fw::MessageDlg(msg, KVXDialogType(dlgType), KVXDialogButtons(buttons), helpCtx);
}

}  // namespace kvx::win32
