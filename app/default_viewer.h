// The question at start whether the archive manager may become the default viewer of archive files,
// and what "Yes" does: the existing associations of twelve archive extensions are pointed at the
// program (its open command and its icon; the other verbs of the type stay as they are).
#pragma once

#include <array>
#include <string>

namespace app {

class TATShell;

// In the order they are registered.
constexpr std::array<const char*, 12> kViewerExtensions = {".zip", ".lha", ".bh",  ".arc", ".arj", ".cab",
                                                           ".rar", ".gzip", ".gz", ".tar", ".uue", ".zoo"};

// Whether to ask: the program registered for ".zip" is not this one (same spelling) and the stored
// "Ask Default" holds (a missing value holds).
bool ShouldAskDefault(const std::string& registeredApp, const std::string& program, bool askDefault);

// Points every extension of kViewerExtensions whose association exists at Program. Another
// program's verbs are left alone: their parameters belong to that program, and re-pointed at this
// one ("MorvixZip.exe /p %1") they would reach it as a path.
void MakeDefaultViewer(TATShell& shell, const std::string& program);

}  // namespace app
