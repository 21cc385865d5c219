// Command decisions of the main window that do not depend on its forms: which extractor serves an
// archive type, how one entry is named to an extractor, the overwrite question's state, the volume
// prompt's text, and which commands are enabled.
#pragma once

#include <string>

#include "engine/core/arc_types.h"

namespace app {

// The name of the main window's extractor component for the type ("UnZIP1", ...); empty when the
// type has no extractor.
std::string ExtractorFor(engine::TArcType type);

// How an extractor is given one entry: the stored folder and the name, with a "\" between them when
// the folder is not empty and does not end with one.
std::string EntryFileSpec(const std::string& folder, const std::string& name);

// The last answer of the overwrite question within one command: 0 none yet, 6 Yes, 7 No, 5 Yes to
// All, 2 No to All (also the window closed).
enum class OverwriteStep { Ask, Overwrite, Skip };
// What happens to the next existing file: with "Confirm Overwrite" the question is asked unless an
// "... to All" answer holds; without it every file is overwritten.
OverwriteStep NextOverwriteStep(int lastAnswer, bool confirm);
// Whether the file is overwritten after the question was answered so.
bool AnswerOverwrites(int answer);

// The volume prompt: its starting text from the engine's folder and name, and the typed path split
// back into a folder (with its "\") and a file name.
std::string VolumePromptText(const std::string& dir, const std::string& fileName);
void SplitVolumeAnswer(const std::string& typed, std::string& dir, std::string& fileName);

// What the main window's commands may do now.
struct CommandStates {
    bool fileCommands = false;  // move, copy, rename, delete, close, mail, shortcut, properties of the archive
    bool addDelete = false;     // add files and delete selected
    bool extract = false;       // extract and view
    bool verify = false;
    bool refresh = false;
    bool open = false;          // new, open, the recent lists, the address bar, drops
};
// Type is the lister's type (atNA when nothing is open). While an engine run is in progress no
// command that starts another run is enabled: the engine serves one run at a time, and a second one
// started from the messages the first one pumps would find its state in use.
CommandStates CommandsFor(engine::TArcType type, bool archiveOpen, bool busy);

}  // namespace app
