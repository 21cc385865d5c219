// TATShell: the association of one file extension under HKEY_CLASSES_ROOT: the extension key, its
// type key, the open command, the icon, the entry for new files, the quick-view entry and the other
// shell verbs. Setting Extension reloads everything from the registry, so the component edits
// associations that exist rather than creating new ones. It reads and writes through the installed
// registry backend (advapi32 on Windows, the in-memory registry natively); the shell's notification
// and the error box go through a seam of their own.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/core/object.h"
#include "framework/core/platform.h"

namespace app {

// The registry routines of the component, on HKEY_CLASSES_ROOT and the like.
// The default value of root\subKey; Default when the key or its value cannot be read.
std::string QueryKeyDefault(fw::RegRoot root, const std::string& subKey, const std::string& def);
// Appends the names of root\subKey's subkeys to List; true when at least one was found.
bool EnumSubKeys(fw::RegRoot root, const std::string& subKey, std::vector<std::string>& list);
// The comma-terminated entries of Text ("a|x,b|,c" gives "a|x", "b|", "c").
std::vector<std::string> SplitCommaList(const std::string& text);

enum class TParamPos { ppBefore, ppAfter };

// What the component asks of the shell: to be told that associations changed, and to show an error.
struct ATShellSeam {
    std::function<void()> associationsChanged;
    std::function<void(const std::string& text)> showError;
};
// Installs the seam (an empty one does nothing).
void SetATShellSeam(ATShellSeam seam);

class TATShell : public fw::TComponent {
public:
    using TComponent::TComponent;

    const std::string& KeyName() const { return keyName_; }
    void SetKeyName(const std::string& v) { keyName_ = v; }
    const std::string& Extension() const { return extension_; }
    // Normalised (lower case, a leading "." when the text has none) and reloaded from the registry.
    void SetExtension(const std::string& value);
    const std::string& IconPath() const { return iconPath_; }
    void SetIconPath(const std::string& v) { iconPath_ = v; }
    const std::string& TypeName() const { return typeName_; }
    void SetTypeName(const std::string& v) { typeName_ = v; }
    bool ShowInNew() const { return showInNew_; }
    void SetShowInNew(bool v) { showInNew_ = v; }
    const std::string& PathToApp() const { return pathToApp_; }
    void SetPathToApp(const std::string& v) { pathToApp_ = v; }
    // The verbs but "open": for each, the menu name, "|", the parameters and ",".
    const std::string& ShellCommands() const { return shellCommands_; }
    void SetShellCommands(const std::string& v) { shellCommands_ = v; }
    TParamPos ParamPos() const { return paramPos_; }
    void SetParamPos(TParamPos v) { paramPos_ = v; }
    bool QuickView() const { return quickView_; }
    void SetQuickView(bool v) { quickView_ = v; }

    // Reloads the properties from the registry; false (and everything cleared) when the extension's
    // key does not exist.
    bool ReadAssociation();
    // The program path of a command: up to and including ".EXE" when more than one character follows
    // it, else the whole command.
    static std::string ExecutablePart(const std::string& command);
    // A verb's command without this component's program path, the first "%1" and leading blanks.
    std::string VerbParameters(const std::string& command) const;
    // The program registered to open Extension ("" when none).
    std::string GetAssociatedApp();
    bool IsValid() const;
    // Writes the association when IsValid, then tells the shell that associations changed.
    void Register();

protected:
    ~TATShell() override = default;

private:
    std::string ReadShellCommands();
    void WriteAssociation();
    void WriteShellCommand(const std::string& program, const std::string& menuName, const std::string& params);
    void Write(const std::string& key, const std::string& name, const std::string& value);

    std::string keyName_;
    std::string extension_;
    std::string iconPath_;
    std::string typeName_;
    bool showInNew_ = false;
    std::string pathToApp_;
    std::string shellCommands_;
    TParamPos paramPos_ = TParamPos::ppBefore;
    bool quickView_ = false;
};

// Registers TATShell for form text.
void RegisterATShellClass();

}  // namespace app
