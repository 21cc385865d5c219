// The suite's explicit start-up on Win32: creates KVXApplication and connects it to the system
// (folders and login name, the window timer behind the timer pools, the application's exception
// handler, the single-instance mutex and the hand cursor). Call after fw::InitApplication.
//
//   fw::InitApplication();
//   kvx::win32::KVXStartApplication();
//   ...
//   kvx::win32::KVXStopApplication();
//   fw::DoneApplication();
#pragma once

#include <string>

#include "framework/core/graphics_values.h"
#include "widgets/kvxapplication.h"

namespace fw {
class TBitmap;
}

namespace kvx::win32 {

// The screen cursor number of the hand cursor, which labels and buttons use.
constexpr int crKVXHand = -255;
// The program's cursor resource the hand cursor is loaded from; without one the suite draws its own.
constexpr int kHandCursorResource = 16548;

TKVXApplication* KVXStartApplication();
void KVXStopApplication();

// The name of the single-instance mutex: the file-name part of the program's path as started.
std::string KVXInstanceMutexName();

// 8x8 white with the pixels where exactly one of x and y is odd in Color; one bitmap, repainted when
// the colour changes. Owned by the suite until KVXStopApplication.
fw::TBitmap* KVXCheckerBitmap(fw::TColor color);
// A black-and-white copy made on the first call and kept.
fw::TBitmap* KVXCheckerPattern();

}  // namespace kvx::win32
