// Plays the user of one self-extractor run under Wine: starts it, finds its windows by caption, types
// into its fields and posts clicks, answers the password, overwrite and folder dialogs, and reads the
// message boxes. Shared by the extractor's own tests and the `sfxrun` program of the builder's tests.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace sfx::test {

struct StubDriver {
    std::string caption;                 // the main dialog's title
    std::string folder;                  // typed into "Extract to :" before "&Extract"; empty: keep
    std::vector<std::string> passwords;  // answers to "Enter password..."
    std::map<std::string, bool> overwrite;  // answers to "Confirm overwrite of..." by file (true: Yes)
    bool dontAskAgain = false;
    std::string newFolder;  // when set: "..." then "New..." with this name, OK in both dialogs

    // What was seen.
    std::vector<int> listed;
    std::vector<std::pair<std::string, std::string>> boxes;  // caption, text
    std::vector<std::string> questions;                      // overwrite questions
    int passwordPrompts = 0;
    std::vector<int> leftSelected;  // list positions still selected when the driver closed the dialog
    bool closedByTest = false;
    DWORD exitCode = 0;
    std::string selectedPath;  // what "Select extract directory" showed when OK was clicked
    std::string chosenFolder;  // the "Extract to :" field after the folder dialog
    std::string error;         // why the run could not be played to its end

    // Runs `exe` in `cwd` to its end (three minutes at most); false with `error` when it could not be
    // started or did not end.
    bool Run(const std::string& exe, const std::string& cwd);
    // True when the run ended with the one message "All files have been extracted.".
    bool Succeeded() const;
    // The message boxes seen, as "[caption: text] ...".
    std::string Boxes() const;

private:
    void ReadList(HWND dlg, bool selectedOnly, std::vector<int>& out);
};

}  // namespace sfx::test
