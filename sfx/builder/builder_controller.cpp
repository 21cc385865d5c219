#include "sfx/builder/builder_controller.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "framework/core/exceptions.h"
#include "sfx/builder/sfx_assembler.h"
#include "sfx/builder/sfx_config_file.h"

namespace sfx {

namespace {

bool EndsWithZip(const std::string& text) {
    if (text.size() < 4) return false;
    std::string tail = text.substr(text.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::toupper(c); });
    return tail == ".ZIP";
}

size_t NameStart(const std::string& path) {
    const size_t sep = path.find_last_of("\\/:");
    return sep == std::string::npos ? 0 : sep + 1;
}

std::string FileNameOf(const std::string& path) { return path.substr(NameStart(path)); }

bool IsFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_regular_file(std::filesystem::path(path), ec);
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_directory(std::filesystem::path(path), ec);
}

Notice Plain(std::string text) { return Notice{Notice::Kind::Plain, std::move(text)}; }

}  // namespace

StubLocation FindOwnStub(const std::string& builderPath, Notices& notes) {
    if (!std::ifstream(builderPath, std::ios::binary)) {
        notes.push_back(Plain(OpenErrorText(builderPath)));
        return {};
    }
    return FindStub(builderPath);
}

std::string SfxBuilderCommandLine(const std::vector<std::string>& params) {
    std::string text;
    for (const std::string& p : params) {
        text += p + " ";
        if (EndsWithZip(text.substr(0, text.size() - 1))) break;
    }
    return text;
}

std::string FolderOf(const std::string& path) {
    const size_t sep = path.find_last_of("\\/:");
    if (sep == std::string::npos) return "";
    // A drive ("C:name") or a root ("C:\name", "\name") keeps its last character.
    if (path[sep] == ':' || sep == 0 || path[sep - 1] == ':') return path.substr(0, sep + 1);
    return path.substr(0, sep);
}

std::string ProposeOutput(const std::string& folder, const std::string& zipPath) {
    std::string out = folder;
    if (out.empty() || out.back() != '\\') out += '\\';
    return out + ChangeExt(FileNameOf(zipPath), "exe");
}

BuilderController::BuilderController(std::string builderPath, StubLocation stub)
    : builderPath_(std::move(builderPath)), stub_(stub) {}

void BuilderController::ApplyCommandLine(const std::vector<std::string>& params) {
    const std::string zip = SfxBuilderCommandLine(params);
    if (zip.empty()) return;
    settings_.zipPath = zip;
    ZipOrOutputEdited();
}

void BuilderController::Edited() {
    if (!configName_.empty()) changed_ = true;
}

void BuilderController::ZipOrOutputEdited() {
    if (StubFound()) createEnabled_ = !settings_.zipPath.empty();
    Edited();
}

void BuilderController::SetExtractToTemp(bool ticked) {
    settings_.SetExtractToTemp(ticked);
    Edited();
}

void BuilderController::SetUseAssociated(bool ticked) {
    settings_.SetUseAssociated(ticked);
    Edited();
}

void BuilderController::LeaveZipFile(const std::string& currentDir) {
    const std::string zip = TrimBlanks(settings_.zipPath);
    if (!TrimBlanks(settings_.outputPath).empty() || zip.empty()) return;
    settings_.outputPath = ProposeOutput(currentDir, zip);
    ZipOrOutputEdited();
}

std::string BuilderController::OutputFolder() const { return FolderOf(TrimBlanks(settings_.outputPath)); }

void BuilderController::OutputFolderChosen(const std::string& folder) {
    settings_.outputPath = ProposeOutput(folder, TrimBlanks(settings_.zipPath));
    ZipOrOutputEdited();
}

std::string BuilderController::FormCaption() const { return configName_.empty() ? kFormCaption : configName_; }

void BuilderController::UpdateCreateFromZip() {
    createEnabled_ = false;
    if (settings_.zipPath.empty()) return;
    createEnabled_ = StubFound() && CheckZipFile(settings_.zipPath) == ZipCheck::Ok;
}

Notices BuilderController::OpenChosen(const std::string& name) {
    Notices notes;
    if (IsFile(name)) {
        try {
            LoadSfxConfig(name, settings_);
        } catch (const fw::EFOpenError& e) {
            return {Plain(e.Message())};
        }
        UpdateCreateFromZip();
        const std::string problem = ZipCheckMessage(CheckZipFile(settings_.zipPath), settings_.zipPath);
        if (!problem.empty()) notes.push_back(Plain(problem));
    } else {
        // A new configuration: the boxes that empty a field let go of their texts first, so every field
        // ends up empty. The hide-run and sort boxes keep their state.
        settings_.ForgetRemembered();
        settings_.SetUseAssociated(false);
        settings_.SetExtractToTemp(false);
        for (std::string* text : {&settings_.zipPath, &settings_.outputPath, &settings_.caption, &settings_.rootDir,
                                  &settings_.program, &settings_.params})
            text->clear();
        settings_.allHilited = true;
        settings_.hideOverwrite = false;
        settings_.overwriteIndex = 0;
        createEnabled_ = false;
    }
    configName_ = name;
    changed_ = false;
    return notes;
}

std::string BuilderController::SaveAsProposal() const {
    return configName_.empty() ? kDefaultConfigName : ChangeExt(configName_, "qlv");
}

std::string BuilderController::SaveAsTarget(const std::string& chosen) { return ChangeExt(chosen, "qlv"); }

bool BuilderController::TargetExists(const std::string& target) { return IsFile(target); }

std::string BuilderController::OverwriteQuestion(const std::string& target) {
    return FileNameOf(target) + " already exists... overwrite?";
}

Notices BuilderController::SaveTo(const std::string& name) {
    configName_ = name;
    try {
        SaveSfxConfig(name, settings_);
    } catch (const fw::EFCreateError& e) {
        return {Plain(e.Message())};
    }
    changed_ = false;
    return {};
}

Notices BuilderController::Create() {
    const std::string zip = TrimBlanks(settings_.zipPath);
    if (!IsFile(zip)) return {};
    const std::string output = TrimBlanks(settings_.outputPath);
    const std::string folder = FolderOf(output);
    if (!folder.empty() && !IsFolder(folder)) return {Plain(folder + " ..not found")};
    switch (CheckZipFile(zip)) {
        case ZipCheck::Ok: break;
        case ZipCheck::NotZip: return {Plain("Not a 'Zip' archive")};
        default: return {Plain(OpenErrorText(zip))};
    }
    const BuildResult r = BuildSelfExtractor(builderPath_, stub_, zip, output, settings_);
    if (r.ok) return {Plain("Compile succcessful")};
    Notices notes;
    if (!r.message.empty())
        notes.push_back(Notice{r.openError ? Notice::Kind::Plain : Notice::Kind::Warning, r.message});
    notes.push_back(Plain("Compile failed"));
    return notes;
}

}  // namespace sfx
