#include "uisupport/win32/uisregister.h"

#include "framework/core/object.h"
#include "framework/win32/datamodule.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "framework/win32/screen.h"
#include "uisupport/controls/grutils.h"
#include "uisupport/storedprops.h"
#include "uisupport/win32/fileutil.h"
#include "uisupport/win32/formstorage.h"
#include "uisupport/win32/kyvhook.h"
#include "uisupport/win32/mlbuttons.h"
#include "uisupport/win32/mrumanager.h"
#include "uisupport/win32/waveplayer.h"

namespace uis {

namespace {

// A form, then a data module, of that name.
fw::TComponent* FindScreenRoot(const std::string& name) {
    if (!fw::Screen) return fw::FindGlobalComponent(name);
    for (fw::TForm* form : fw::Screen->FormList())
        if (fw::SameName(form->Name(), name)) return form;
    for (fw::TDataModule* module : fw::Screen->DataModuleList())
        if (fw::SameName(module->Name(), name)) return module;
    return nullptr;
}

fw::TColor SystemColorToRGB(fw::TColor color) { return fw::ColorToRGB(color); }

}  // namespace

void RegisterUISupportClasses() {
    RegisterKyvHookClasses();
    RegisterFileUtilClasses();
    RegisterFormStorageClasses();
    RegisterMRUManagerClasses();
    RegisterWavePlayerClasses();
    RegisterMediaButtonClasses();
    SetRootFinder(&FindScreenRoot);
    SetColorResolver(&SystemColorToRGB);
}

}  // namespace uis
