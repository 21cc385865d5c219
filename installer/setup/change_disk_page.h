// The change-disk page: the next volume of the archive is missing; the user inserts the disk or names
// the folder that holds it.
#pragma once

#include "installer/win32/install_forms.h"

namespace fw {
class TEdit;
}

namespace inst {

class TTranslateLabel;
class TTranslateBitBtn;

class TChangeDiskForm : public TBaseChangeDiskForm {
public:
    explicit TChangeDiskForm(fw::TComponent* owner);

    TTranslateLabel* PromptDiskLabel = nullptr;
    fw::TEdit* PathEdit = nullptr;
    TTranslateBitBtn* InstallBtn = nullptr;

    void FormShow(fw::TObject* Sender);
    void PathEditChange(fw::TObject* Sender);
    // The folder dialog without its create button, and without making the chosen folder.
    void BrowseBtnClick(fw::TObject* Sender);
    void CancelBtnClick(fw::TObject* Sender);

private:
    bool updating_ = false;
};

void RegisterChangeDiskPage();

}  // namespace inst
