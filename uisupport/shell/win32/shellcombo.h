// TJexoShellCombo is an owner-drawn drop-down of the desktop, its children and the drives, indented
// by level, with the current folder's path shown as temporary entries below its drive.
#pragma once

#include <string>

#include "framework/win32/std_combobox.h"
#include "uisupport/shell/win32/shellapi.h"
#include "uisupport/shell/win32/shellview.h"

namespace fw {
class TImageList;
}

namespace uis {

class TShellBrowser;

// One entry of the combo, kept as the entry's object.
class TJexoComboItem : public fw::TObject {
public:
    std::string name;     // the entry's string; a drive's root path such as "C:\"
    std::string display;  // the shell's display name
    int level = 0;        // indentation (the desktop is 0)
    int icon = -1;        // system small-icon index
    bool driveRoot = false;
    bool permanent = false;  // the base list; path entries are temporary
    IDListPtr idList;        // absolute
};

class TJexoShellCombo : public fw::TCustomComboBox {
public:
    explicit TJexoShellCombo(fw::TComponent* owner);

    TJexoShellLink* ShellLink() const { return link_.Link(); }
    void SetShellLink(TJexoShellLink* value) { link_.Set(this, value); }
    // Writing a different index selects the entry and sends its folder to the link.
    int ItemIndex() { return TCustomComboBox::ItemIndex(); }
    void SetItemIndex(int value);
    std::string Version() const;

    // Shows a file-system path as temporary entries below its drive and selects the last one.
    void SelectPath(const std::string& path);
    TJexoComboItem* Entry(int index) const;
    TShellBrowser* Browser() const { return browser_; }
    static constexpr int kIndent = 10;

protected:
    ~TJexoShellCombo() override;
    void BeforeDestruction() override;
    void CreateWindowState() override;
    void DestroyWnd() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;
    void Dispatch(fw::TMessage& message) override;
    void DrawItem(int index, const fw::TRect& rect, fw::TOwnerDrawState state) override;

private:
    void BuildBaseList();
    void AddChildren(int position, int level);
    int AddEntry(int position, std::string name, const std::string& display, int level, int icon, LPCITEMIDLIST list,
                 bool permanent);
    void RemoveEntry(int index);
    void RemoveTemporaryAfter(int position);
    void FolderMessage(LPCITEMIDLIST list);
    void DroppedUp();
    void ShowMenu(const fw::TPoint& screen);

    TShellBrowser* browser_ = nullptr;
    fw::TImageList* images_ = nullptr;
    ViewLink link_;
    bool created_ = false;
};

void RegisterShellComboClass();

}  // namespace uis
