// TfrmUUEncode: the UU-encode dialog, made once and shown without blocking. It encodes one file (or
// the files a wildcard names) with the main window's encoder, in UU or XX code.
#pragma once

#include "framework/win32/forms.h"

namespace fw {
class TButton;
class TCheckBox;
class TEdit;
class TRadioGroup;
}  // namespace fw
namespace engine {
class TUUEncode;
}

namespace app {

class TfrmZipMain;

class TfrmUUEncode : public fw::TForm {
public:
    using TForm::TForm;

    fw::TEdit* Edit1 = nullptr;
    fw::TEdit* Edit2 = nullptr;
    fw::TEdit* Edit3 = nullptr;
    fw::TRadioGroup* RadioGroup1 = nullptr;
    fw::TCheckBox* CheckBox1 = nullptr;
    fw::TButton* btnEncode = nullptr;
    TfrmZipMain* ZMain = nullptr;

    void FormActivate(fw::TObject* Sender);
    void EditChange(fw::TObject* Sender);
    void btnReadFileClick(fw::TObject* Sender);
    void btnWriteFileClick(fw::TObject* Sender);
    void btnEncodeClick(fw::TObject* Sender);
    void btnCloseClick(fw::TObject* Sender);
};

void RegisterUUEncodeFormClass();

}  // namespace app
