#include "app/atshell.h"

#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"

namespace app {

namespace {

constexpr fw::RegRoot kRoot = fw::kHKeyClassesRoot;

ATShellSeam& Seam() {
    static ATShellSeam seam;
    return seam;
}

// Lower case, with a leading "." when the text has none.
std::string NormalisedExtension(const std::string& text) {
    const std::string ext = fw::LowerCase(text);
    return ext.find('.') == std::string::npos ? "." + ext : ext;
}

}  // namespace

std::string QueryKeyDefault(fw::RegRoot root, const std::string& subKey, const std::string& def) {
    uint32_t type = 0;
    std::string data;
    // The backend reads the value whole: no fixed buffer cuts a long command.
    if (!fw::Registry().QueryValue(root, subKey, "", type, data)) return def;
    if (type != fw::kRegSz && type != fw::kRegExpandSz) return def;
    // String data arrives with its terminating zero, if it was stored with one.
    while (!data.empty() && data.back() == '\0') data.pop_back();
    return data;
}

bool EnumSubKeys(fw::RegRoot root, const std::string& subKey, std::vector<std::string>& list) {
    std::vector<std::string> names;
    if (!fw::Registry().EnumKeys(root, subKey, names) || names.empty()) return false;
    list.insert(list.end(), names.begin(), names.end());
    return true;
}

std::vector<std::string> SplitCommaList(const std::string& text) {
    std::vector<std::string> entries;
    size_t start = 0;
    while (start < text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        entries.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return entries;
}

void SetATShellSeam(ATShellSeam seam) { Seam() = std::move(seam); }

void TATShell::SetExtension(const std::string& value) {
    extension_ = value;
    ReadAssociation();
}

bool TATShell::ReadAssociation() {
    extension_ = NormalisedExtension(extension_);
    if (!fw::Registry().KeyExists(kRoot, extension_)) {
        keyName_.clear();
        iconPath_.clear();
        pathToApp_.clear();
        typeName_.clear();
        shellCommands_.clear();
        quickView_ = false;
        showInNew_ = false;
        return false;
    }
    keyName_ = QueryKeyDefault(kRoot, extension_, "");
    // An empty type name would name HKEY_CLASSES_ROOT itself: nothing below it belongs to the type.
    if (keyName_.empty()) {
        iconPath_.clear();
        pathToApp_.clear();
        typeName_.clear();
        shellCommands_.clear();
        quickView_ = false;
    } else {
        iconPath_ = QueryKeyDefault(kRoot, keyName_ + "\\DefaultIcon", "");
        pathToApp_ = ExecutablePart(QueryKeyDefault(kRoot, keyName_ + "\\Shell\\Open\\Command", ""));
        typeName_ = QueryKeyDefault(kRoot, keyName_, "");
        quickView_ = fw::Registry().KeyExists(kRoot, keyName_ + "\\QuickView");
        shellCommands_ = ReadShellCommands();
    }
    showInNew_ = fw::Registry().KeyExists(kRoot, extension_ + "\\ShellNew");
    return true;
}

std::string TATShell::ExecutablePart(const std::string& command) {
    const size_t at = fw::UpperCase(command).find(".EXE");
    if (at != std::string::npos && command.size() - (at + 4) > 1) return command.substr(0, at + 4);
    return command;
}

std::string TATShell::VerbParameters(const std::string& command) const {
    std::string params = command;
    if (!pathToApp_.empty() && params.find(pathToApp_) != std::string::npos) params.erase(0, pathToApp_.size());
    const size_t placeholder = params.find("%1");
    if (placeholder != std::string::npos) params.erase(placeholder, 2);
    const size_t first = params.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : params.substr(first);
}

std::string TATShell::ReadShellCommands() {
    std::string commands;
    std::vector<std::string> verbs;
    EnumSubKeys(kRoot, keyName_ + "\\Shell", verbs);
    for (const std::string& verb : verbs) {
        if (fw::UpperCase(verb) == "OPEN") continue;
        const std::string command = QueryKeyDefault(kRoot, keyName_ + "\\Shell\\" + verb + "\\command", "");
        commands += verb + "|" + VerbParameters(command) + ",";
    }
    return commands;
}

std::string TATShell::GetAssociatedApp() {
    extension_ = NormalisedExtension(extension_);
    if (!fw::Registry().KeyExists(kRoot, extension_)) return "";
    const std::string type = QueryKeyDefault(kRoot, extension_, "");
    if (type.empty() || !fw::Registry().KeyExists(kRoot, type)) return "";
    const std::string openKey = type + "\\Shell\\Open\\Command";
    if (fw::Registry().KeyExists(kRoot, openKey)) return ExecutablePart(QueryKeyDefault(kRoot, openKey, ""));
    return QueryKeyDefault(kRoot, type, "");
}

bool TATShell::IsValid() const {
    return !keyName_.empty() && !extension_.empty() && extension_ != "." && !iconPath_.empty() && !typeName_.empty() &&
           fw::FileExists(pathToApp_);
}

void TATShell::Register() {
    if (!IsValid()) return;
    if (extension_.find('.') == std::string::npos) extension_ = "." + extension_;
    WriteAssociation();
    if (Seam().associationsChanged) Seam().associationsChanged();
}

void TATShell::Write(const std::string& key, const std::string& name, const std::string& value) {
    fw::Registry().CreateKey(kRoot, key);
    fw::Registry().SetValue(kRoot, key, name, fw::kRegSz, value);
}

void TATShell::WriteAssociation() {
    if (!fw::FileExists(pathToApp_)) {
        if (Seam().showError) Seam().showError("Error: Program not found: " + pathToApp_);
        return;
    }
    const std::string ext = fw::LowerCase(extension_);
    Write(ext, "", keyName_);
    if (showInNew_) {
        Write(ext + "\\ShellNew", "Nullfile", "");
        Write(keyName_ + "\\ShellNew", "", "Nullfile");
    }
    Write(keyName_, "", typeName_);
    Write(keyName_ + "\\shell\\open\\command", "", pathToApp_ + " %1");
    Write(keyName_ + "\\DefaultIcon", "", iconPath_);
    if (quickView_) Write(keyName_ + "\\QuickView", "", "*");
    for (const std::string& entry : SplitCommaList(shellCommands_)) {
        const size_t bar = entry.find('|');
        WriteShellCommand(pathToApp_, entry.substr(0, bar), bar == std::string::npos ? "" : entry.substr(bar + 1));
    }
}

void TATShell::WriteShellCommand(const std::string& program, const std::string& menuName, const std::string& params) {
    std::string command;
    if (params.empty())
        command = program + " %1";
    else if (paramPos_ == TParamPos::ppAfter)
        command = program + " %1 " + params;
    else
        command = program + " " + params + " %1";
    Write(keyName_ + "\\shell\\" + menuName + "\\command", "", command);
}

void RegisterATShellClass() {
    fw::RegisterEnum<TParamPos>({"ppBefore", "ppAfter"}, "TParamPos");
    using C = TATShell;
    fw::Class<C, fw::TComponent>("TATShell")
        .Prop("KeyName", &C::KeyName, &C::SetKeyName)
        .Prop("Extension", &C::Extension, &C::SetExtension)
        .Prop("IconPath", &C::IconPath, &C::SetIconPath)
        .Prop("TypeName", &C::TypeName, &C::SetTypeName)
        .Prop("ShowInNew", &C::ShowInNew, &C::SetShowInNew)
        .Prop("PathToApp", &C::PathToApp, &C::SetPathToApp)
        .Prop("ShellCommands", &C::ShellCommands, &C::SetShellCommands)
        .Prop("ParamPos", &C::ParamPos, &C::SetParamPos)
        .Prop("QuickView", &C::QuickView, &C::SetQuickView);
}

}  // namespace app
