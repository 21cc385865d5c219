// fwgallery: shows the gallery form; with FW_AUTOMATION=1 fwdrive reads and drives every control.
#include "framework/gallery/gallery_form.h"
#include "framework/win32/application.h"

int main() {
    fw::InitApplication();
    gallery::RegisterGalleryClasses();
    fw::Application->Initialize();
    gallery::TfrmGallery* form = nullptr;
    fw::Application->CreateForm(form);
    fw::Application->Run();
    fw::DoneApplication();
    return 0;
}
