// TKVXAboutDlg: an about box built in code on each Execute (a framed icon, the title, version,
// description, notice, a link and the memory and platform figures), or the shell's standard about
// box. The form and its work bitmaps are freed before Execute returns.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "widgets/win32/basedialog.h"

namespace fw {
class TIcon;
}

namespace kvx::win32 {

enum class TKVXAboutIconStyle { isNone, isStandard, isExtended };
enum class TKVXAboutStyle { bsStandard, bsKVX };

// The shell's about box (ShellAboutA's arguments and result); tests replace it.
using TKVXShellAbout = std::function<int(HWND owner, const std::string& title, const std::string& notice, HICON icon)>;
void KVXSetShellAbout(TKVXShellAbout about);

class TKVXAboutDlg : public TKVXBaseDialog {
public:
    explicit TKVXAboutDlg(TComponent* owner);
    ~TKVXAboutDlg() override;

    bool Execute() override { return ExecuteAt(nullptr); }
    // With a control the box is placed by that control, and the shell's box is owned by its window.
    bool ExecuteAt(fw::TControl* control);

    std::string Appname;
    std::string Copyright;
    std::string Jump;
    std::string Description;
    bool UseDefault = false;
    TKVXAboutIconStyle IconStyle = TKVXAboutIconStyle::isExtended;
    int AppNameSize = 22;
    TKVXAboutStyle Style = TKVXAboutStyle::bsKVX;
    std::string Version;
    bool UseResInfo = false;

    fw::TIcon* Icon() const { return icon_.get(); }
    void SetIcon(fw::TIcon* value);

    // The texts the box shows, the application's defaults and version resource filled in.
    std::string TitleText() const;
    std::string NoticeText() const;
    std::string VersionText() const;
    std::string DescriptionText() const;

private:
    bool ShowStandard(fw::TControl* control);
    bool ShowBuilt(fw::TControl* control);

    std::unique_ptr<fw::TIcon> icon_;
};

}  // namespace kvx::win32
