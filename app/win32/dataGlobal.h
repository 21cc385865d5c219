// Tglobal: the data module every form shares: the settings store of the MRU lists, the dialogs'
// window positions and the start-up question, and the pictures of the splash and the lists.
#pragma once

#include <string>

#include "framework/win32/datamodule.h"

namespace kvx {
class TKVXIniCtrl;
}
namespace kvx::win32 {
class TKVXBitmapList;
}

namespace app {

class Tglobal : public fw::TDataModule {
public:
    using TDataModule::TDataModule;

    kvx::TKVXIniCtrl* reg = nullptr;
    kvx::win32::TKVXBitmapList* bmlImages = nullptr;

    // The folder of the running program, with its trailing "\".
    const std::string& AppPath() const { return appPath_; }

    void globalCreate(fw::TObject* Sender);

private:
    void MakePictures();

    std::string appPath_;
};

extern Tglobal* global;

void RegisterGlobalClass();

}  // namespace app
