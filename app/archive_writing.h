// What the main window decides before it hands files to a writer: which writer serves an archive
// type (and which types may be changed in place at all), the method lists of the dialogs, the
// writer choices by index, how the names of an add split into files and folders, the replace
// question, the names a delete hands over, and the new archive's name and the open dialog's filters.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/core/arc_types.h"

namespace app {

// The writer component ("Zip1", "Lha1", "BlakHole1") that adds to or deletes from an open archive of
// the type; empty when none may. A cabinet is never changed in place: its writer only ever writes a
// new cabinet, so an add or delete would lose the stored entries.
std::string UpdateWriterFor(engine::TArcType type);

// The method list the dialogs offer for an archive type ("Store", "Deflate" for ZIP, ...); empty for
// a type without one. The second entry is preselected.
std::vector<std::string> MethodNames(engine::TArcType type);
// The method of an index of that list (cmStore for an index out of range).
engine::TCompressMethod MethodAt(engine::TArcType type, int index);

// The "&Switch" choice (0 add, 1 move) and the stored-folder choice (0 none, 1 absolute, 2 absolute
// without drive, 3 relative).
engine::TSwitch SwitchAt(int index);
engine::TStoredDirNames StoredDirsAt(int index);

// The four types of the "New" page, by index: Zip, Lha, BlackHole, Cabinet.
struct NewArchiveType {
    const char* caption;
    engine::TArcType type;
    const char* writer;     // the component that creates it
    const char* extension;  // without the dot
};
const NewArchiveType* NewArchiveTypeAt(int index);
// The name a new archive gets: unchanged when its extension already is the type's (in any case),
// else the extension replaced (or added).
std::string NewArchiveName(const std::string& name, int typeIndex);

// The open dialog's filter for its "Archive Type:" choice ("All archives" and an unknown or empty
// choice give every archive extension).
std::string ArchiveFilterFor(const std::string& choice);

// How the names of one add split: files (and folders whose name has an extension) go to the writer
// as they stand; a folder without extension is queued for a whole-folder run when the user wants
// folder contents, else skipped. `askFolders` is asked once, for the first such folder, and only
// when folder contents were not asked for already.
struct AddPlan {
    std::vector<std::string> files;
    std::vector<std::string> folders;  // to queue
    bool asked = false;
    bool addFolderContents = false;  // after the question
};
AddPlan PlanAdd(const std::vector<std::string>& names, bool addFolderContents,
                const std::function<bool(const std::string&)>& isFolder,
                const std::function<bool(const std::string&)>& askFolders);
// The folder question of an add.
std::string AddFolderQuestion(const std::string& folder);

// The replace question for a file already stored. Dates are shown "mm-dd-yy hh:nn" with the given
// separators.
struct ReplaceFacts {
    std::string name;
    int64_t size = 0;
    double date = 0;  // TDateTime
    int attr = 0;
};
std::string ReplaceQuestion(const ReplaceFacts& stored, const ReplaceFacts& incoming, char dateSeparator,
                            char timeSeparator);

// The line the Find Files dialog writes per hit is "folder;name;size;created;accessed;modified": the
// path it stands for (folder, then name; "" for a line without the delimiter).
std::string FoundLinePath(const std::string& line, char delimiter = ';');

}  // namespace app
