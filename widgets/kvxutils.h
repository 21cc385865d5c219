// The suite's small routines without state: rectangles, strings, the standard folders and a path
// shortener for display.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/core/graphics_values.h"

namespace kvx {

using fw::TRect;

// ---- Rectangles -------------------------------------------------------------------------------
void KVXInflateRectBy(TRect& rect, int dLeft, int dTop, int dRight, int dBottom);
// Source scaled by min(Dest width / Source width, Dest height / Source height), truncated, at Dest's
// top-left corner. An empty Source gives an empty rectangle there.
void KVXFitRect(const TRect& source, const TRect& dest, TRect& result);
void KVXRectSize(const TRect& rect, int& width, int& height);
// Both corners of Inner inside Outer, right and bottom edges excluded.
bool KVXRectInRect(const TRect& inner, const TRect& outer);
// The bounding box of Rect rotated about its centre by Angle degrees, moved to (0, 0). Angle 0 leaves
// Rect unchanged.
void KVXRotatedRect(TRect& rect, int angle);
// Largest and smallest of a non-empty array (0 for an empty one).
int KVXMaxIntValue(const std::vector<int>& values);
int KVXMinIntValue(const std::vector<int>& values);
double KVXMinFloatValue(const std::vector<double>& values);
// Base multiplied Exponent times (1 for 0 or a negative exponent).
int64_t KVXIntPower(int64_t base, int exponent);

// ---- Strings ----------------------------------------------------------------------------------
// Empty or spaces only: the suite's "not set".
bool KVXIsBlank(const std::string& s);
std::string KVXStringOfChar(int count, char ch);
std::string KVXTrim(const std::string& s);
std::string KVXReplaceChar(const std::string& s, char oldChar, char newChar);
std::string KVXJoinStrings(const std::vector<std::string>& strings, char separator);
std::string KVXJoinIntegers(const std::vector<int>& values, char separator);
// S with one trailing backslash (a blank S gets one too).
std::string KVXAddBackslash(const std::string& s);
// A non-blank S without its trailing backslash.
std::string KVXRemoveBackslash(const std::string& s);

// ---- Folders ----------------------------------------------------------------------------------
enum class TKVXPathPrefix { ppWindows, ppSystem, ppProgram, ppFixed };

// Where the folders come from: the Win32 start-up installs the system's answers; natively the
// program's own folder stands for all three until a test installs its own.
struct TKVXFolderSource {
    std::function<std::string()> ProgramPath;  // the program's full path
    std::function<std::string()> WindowsFolder;
    std::function<std::string()> SystemFolder;
};
void KVXSetFolderSource(TKVXFolderSource source);

std::string KVXProgramPath();
// With a trailing backslash.
std::string KVXProgramFolder();
// Without a trailing backslash, as the system gives them.
std::string KVXWindowsFolder();
std::string KVXSystemFolder();
// ppWindows, ppSystem, ppProgram: that folder, with or without a trailing backslash; ppFixed: "".
std::string KVXPrefixFolder(TKVXPathPrefix prefix, bool withBackslash);

// ---- Paths for display ------------------------------------------------------------------------
// Folders replaced by "..." from the left until the path fits in MaxLength characters or nothing is
// left to drop: C:\Program Files\Sub\file.txt gives C:\...\Sub\file.txt at 20, C:\...\file.txt at
// 16, ...\file.txt at 12 and file.txt at 8.
std::string KVXShortenPath(const std::string& path, int maxLength);

}  // namespace kvx
