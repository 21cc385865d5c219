// What the builder's main form does, without the form: the command-line rejoin, the output proposal,
// the changed flag, the configuration file commands and "Create". The form copies its fields into
// Settings(), calls one of these and shows what comes back; it holds no rules of its own.
#pragma once

#include <string>
#include <vector>

#include "sfx/builder/sfx_settings.h"
#include "sfx/builder/stub_locator.h"

namespace sfx {

// A message for the user, in the order the form shows them.
struct Notice {
    enum class Kind { Plain, Warning } kind = Kind::Plain;
    std::string text;
    bool operator==(const Notice&) const = default;
};
using Notices = std::vector<Notice>;

// The extractor carried at the end of the builder's own file. A file that cannot be opened adds the
// open message and gives no extractor.
StubLocation FindOwnStub(const std::string& builderPath, Notices& notes);

// The starting program passes an archive path unquoted, so a blank splits it into several parameters.
// They are joined again, each followed by one blank, up to the first one at which the text so far,
// without its trailing blank, ends in ".zip" (any case); with none, all of them. "" for no parameters.
std::string SfxBuilderCommandLine(const std::vector<std::string>& params);

// The folder part of a path ("C:\out" for "C:\out\a.exe", "C:\" for "C:\a.exe"; "" without one).
std::string FolderOf(const std::string& path);

// `folder` with a trailing "\" (added when missing) + the file name of `zipPath` with extension "exe".
std::string ProposeOutput(const std::string& folder, const std::string& zipPath);

inline constexpr const char* kFormCaption = "Morvix Self Extracting Archive Builder";

class BuilderController {
public:
    // `builderPath` is the builder's own file, `stub` where it carries the extractor (offset 0: nowhere).
    BuilderController(std::string builderPath, StubLocation stub);

    SfxSettings& Settings() { return settings_; }
    const SfxSettings& Settings() const { return settings_; }

    // ---- start ----
    bool StubFound() const { return stub_.stubOffset > 0; }
    // Zip File := the rejoined parameters, when they are not empty.
    void ApplyCommandLine(const std::vector<std::string>& params);

    // ---- edits ----
    // Any edit of a field, box or the radio group, made in Settings() first.
    void Edited();
    // Zip File or Output changed: "Create" follows Zip File, then as Edited.
    void ZipOrOutputEdited();
    // The temp and associated boxes: the field's text is put aside or given back, then as Edited.
    void SetExtractToTemp(bool ticked);
    void SetUseAssociated(bool ticked);
    // Leaving Zip File with Output empty proposes the archive's name as an ".exe" in `currentDir`.
    void LeaveZipFile(const std::string& currentDir);
    // The folder browser of Output starts here.
    std::string OutputFolder() const;
    void OutputFolderChosen(const std::string& folder);

    bool CreateEnabled() const { return createEnabled_; }
    bool Changed() const { return changed_; }

    // ---- configuration files ----
    const std::string& ConfigName() const { return configName_; }
    // The form's caption: the configuration file's name, or the program's caption while none is open.
    std::string FormCaption() const;
    // Open and New ask this first when the changed flag is set; Yes saves and ends the command.
    static constexpr const char* kSaveChangesQuestion = "Save changes?";
    // Open or New on the chosen name: an existing file is loaded (a file that ends early throws
    // fw::EReadError with the fields read so far kept), a missing one resets the fields. Either way it
    // becomes the configuration file and the changed flag is cleared.
    Notices OpenChosen(const std::string& name);
    // The dialog was cancelled: only the changed flag is cleared.
    void OpenCancelled() { changed_ = false; }
    // The name Save As proposes: the configuration file's with extension "qlv", or "Options.qlv".
    std::string SaveAsProposal() const;
    // The file Save As writes for the chosen name (its extension becomes "qlv"); it is the one to ask
    // about before overwriting.
    static std::string SaveAsTarget(const std::string& chosen);
    static bool TargetExists(const std::string& target);
    static std::string OverwriteQuestion(const std::string& target);
    // Writes the configuration file under `name`, which becomes the configuration file first.
    Notices SaveTo(const std::string& name);

    // ---- "Create" ----
    Notices Create();

private:
    void UpdateCreateFromZip();

    std::string builderPath_;
    StubLocation stub_;
    SfxSettings settings_;
    std::string configName_;
    bool changed_ = false;
    bool createEnabled_ = false;
};

}  // namespace sfx
