// The text rules of the file-name and folder edits: how a name is written into the edit and read
// back, which names are accepted, how dropped and chosen folders join the text, what a paste may put
// into a one-line name, and the geometry of the generated "..." glyph.
#pragma once

#include <functional>
#include <string>

namespace uis {

// The name enclosed in double quotes when it holds a blank and does not begin with a quote already.
std::string QuotedFileName(const std::string& name);

// The file an edit's text names: the text itself when `fileExists` says so; otherwise the program part
// of the text read as a command line (a quoted path comes back without its quotes, arguments are
// dropped).
std::string FileNameOfText(const std::string& text, const std::function<bool(const std::string&)>& fileExists);

// A path whose characters the file system accepts: no control character, none of < > " | ? *, and ":"
// only as the drive's second character.
bool IsValidPathText(const std::string& path);
// A file name an edit takes: a valid path whose file part is a valid file name ("report[1].txt" is).
bool IsValidFileValue(const std::string& value);

// What a paste may put into a one-line name: the text up to its first line break.
std::string FirstLineOf(const std::string& text);

// `folder` added to the folder edit's text: after ";" when several folders are kept and the text is not
// empty, else in its place.
std::string JoinFolder(const std::string& text, const std::string& folder, bool multiple);
// Each ";"-separated part mapped through `convert` and joined again with ";" (several folders), or the
// whole text mapped (one).
std::string MapFolders(const std::string& text, bool multiple, const std::function<std::string(const std::string&)>& convert);

// The "..." glyph for a button of `buttonWidth` pixels: a bitmap `width` x 4 with three 2 x 2 squares
// on row 1 at x = `start`, `start` + 2 + `gap` and `start` + 4 + 2 * `gap`.
struct TEllipsisGeometry {
    int width = 1;
    int height = 4;
    int gap = 1;
    int start = 0;
};
TEllipsisGeometry EllipsisGeometry(int buttonWidth);

}  // namespace uis
