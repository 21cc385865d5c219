#include "app/win32/formSplash.h"

#include "app/win32/dataGlobal.h"
#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/std_controls.h"
#include "framework/win32/std_image.h"
#include "widgets/win32/bitmaplist.h"

namespace app {

TfrmSplash* frmSplash = nullptr;

void TfrmSplash::FormCreate(fw::TObject*) {
    if (global && global->bmlImages->Count() > 7)
        imgSplash->Picture()->SetBitmap(global->bmlImages->Item(7)->Bitmap());
    Show();
    Repaint();
    fw::Application->ProcessMessages();
}

void HideSplash() {
    if (frmSplash && frmSplash->Visible()) frmSplash->Hide();
}

void RegisterSplashClass() {
    fw::Class<TfrmSplash, fw::TForm>("TfrmSplash")
        .Field("imgSplash", &TfrmSplash::imgSplash)
        .Field("txtStatus", &TfrmSplash::txtStatus)
        .Method("FormCreate", &TfrmSplash::FormCreate);
}

}  // namespace app
