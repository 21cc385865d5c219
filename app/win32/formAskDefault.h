// TfrmAskDefault: the question at start whether the program may become the default viewer of
// archive files. Yes is 6, No is 7; "Don't ask this again" is read by the caller.
#pragma once

#include "framework/win32/forms.h"

namespace fw {
class TCheckBox;
}

namespace app {

class TfrmAskDefault : public fw::TForm {
public:
    using TForm::TForm;

    fw::TCheckBox* cbDontAsk = nullptr;
};

void RegisterAskDefaultClass();

}  // namespace app
