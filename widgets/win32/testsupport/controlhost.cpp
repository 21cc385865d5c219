#include "widgets/win32/testsupport/controlhost.h"

#include "framework/win32/application.h"

namespace kvx::win32::test {

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void PumpFor(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (static_cast<int>(end - GetTickCount()) > 0) {
        Pump();
        Sleep(5);
    }
    Pump();
}

fw::TColor WindowPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return static_cast<fw::TColor>(c);
}

void PaintPicture(fw::TBitmap* bitmap, int width, int height, const std::function<fw::TColor(int, int)>& color) {
    bitmap->SetSize(width, height);
    fw::TCanvas* c = bitmap->Canvas();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) c->SetPixels(x, y, color(x, y));
}

TKVXImageList* MakeImageList(fw::TComponent* owner, int width, int height,
                             std::initializer_list<std::function<fw::TColor(int, int)>> images) {
    auto* list = fw::Make<TKVXImageList>(owner);
    auto* item = new TKVXImageListItem(nullptr, width, height);
    for (const auto& image : images) {
        fw::TBitmap b;
        PaintPicture(&b, width, height, image);
        item->Add(&b, nullptr);
    }
    list->AddItem(item);
    return list;
}

std::function<fw::TColor(int, int)> Checker(int cell, fw::TColor a, fw::TColor b) {
    return [=](int x, int y) { return ((x / cell + y / cell) % 2) ? b : a; };
}

void TControlsTest::SetUpTestSuite() {
    form = fw::TForm::CreateNew<fw::TForm>(nullptr);
    form->SetBorderStyle(fw::TFormBorderStyle::bsNone);
    form->SetBounds(10, 10, 480, 360);
    form->SetColor(fw::clWhite);
    form->Show();
    Pump();
}

void TControlsTest::TearDownTestSuite() {
    form->Free();
    form = nullptr;
    Pump();
}

void TControlsTest::TearDown() {
    while (form->ComponentCount() > 0) form->Components(form->ComponentCount() - 1)->Free();
    while (form->ControlCount() > 0) form->Controls(form->ControlCount() - 1)->Free();
    Pump();
}

}  // namespace kvx::win32::test
