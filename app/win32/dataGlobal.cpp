#include "app/win32/dataGlobal.h"

#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/graphics.h"
#include "widgets/inictrl.h"
#include "widgets/win32/bitmaplist.h"

namespace app {

Tglobal* global = nullptr;

namespace {

// A picture of an archive: a box with a band across it, in the given colours.
void DrawArchive(fw::TCanvas* c, int x, int y, int size, fw::TColor body, fw::TColor band) {
    c->Pen()->SetColor(fw::clBlack);
    c->Brush()->SetColor(body);
    c->Rectangle(x, y + size / 8, x + size, y + size);
    c->Brush()->SetColor(band);
    c->Rectangle(x + size * 3 / 8, y, x + size * 5 / 8, y + size);
}

}  // namespace

void Tglobal::globalCreate(fw::TObject*) {
    appPath_ = fw::ExtractFilePath(fw::Application->ExeName());
    MakePictures();
}

// Ten pictures: 0-5 small archive pictures in the type colours, 6 the list boxes' row picture,
// 7 the splash picture, 8-9 spares of the same kind.
void Tglobal::MakePictures() {
    if (bmlImages->Count() > 0) return;
    static const fw::TColor kBodies[] = {0x00C0FF, 0x80FF80, 0xFFC080, 0xC0C0C0, 0x8080FF, 0xFF80FF,
                                         0x40C0FF, 0, 0x80FFFF, 0xE0E0E0};
    for (int i = 0; i < 10; ++i) {
        auto* item = static_cast<kvx::win32::TKVXBitmapListItem*>(bmlImages->Item(bmlImages->AddItem()));
        fw::TBitmap* bitmap = item->Bitmap();
        const bool splash = i == 7;
        bitmap->SetWidth(splash ? 300 : 16);
        bitmap->SetHeight(splash ? 120 : 16);
        fw::TCanvas* c = bitmap->Canvas();
        c->Brush()->SetColor(fw::clWhite);
        c->FillRect(fw::TRect(0, 0, bitmap->Width(), bitmap->Height()));
        if (splash) {
            DrawArchive(c, 20, 20, 80, 0x00C0FF, 0x0060C0);
            c->Font()->SetSize(20);
            c->Font()->SetStyle(fw::TFontStyles{fw::TFontStyle::fsBold});
            c->TextOut(120, 45, "Morvix Zip");
        } else {
            DrawArchive(c, 1, 1, 14, kBodies[i], 0x404040);
        }
    }
}

void RegisterGlobalClass() {
    fw::Class<Tglobal, fw::TDataModule>("Tglobal")
        .Field("reg", &Tglobal::reg)
        .Field("bmlImages", &Tglobal::bmlImages)
        .Prop("AppPath", &Tglobal::AppPath)
        .Method("globalCreate", &Tglobal::globalCreate);
}

}  // namespace app
