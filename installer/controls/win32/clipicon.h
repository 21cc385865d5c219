// Icons on the clipboard: a private format holding the .ico file image, read and written by
// TClipboardIcon and registered with the picture class.
#pragma once

#include "framework/win32/graphics.h"

namespace inst {

// The private icon format (registered on first use).
UINT IconClipboardFormat();

// A TIcon that goes to and comes from the clipboard in the private format.
class TClipboardIcon : public fw::TIcon {
public:
    void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) override;
    void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) override;
};

// Registers the format with the picture class. Calling it again is harmless.
void RegisterIconClipboardFormat();

}  // namespace inst
