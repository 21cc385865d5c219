#include "uisupport/win32/guiutils.h"

#include "framework/win32/controls.h"
#include "framework/win32/graphics.h"
#include "framework/win32/imagelist.h"
#include "framework/win32/screen.h"
#include "uisupport/textutils.h"
#include "uisupport/win32/memsurface.h"

namespace uis {

namespace {

// DSPDxax: the brush where the source is set, the destination elsewhere.
constexpr DWORD kRopDSPDxax = 0x00E20746;

// Paints `color` through the shape (black in `mono`) at (x, y) of `dc`.
void PaintThroughShape(HDC dc, int x, int y, int width, int height, HDC mono, fw::TColor color) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(fw::ColorToRGB(color)));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    // Black source pixels become all ones, so the brush lands on the shape.
    const COLORREF oldText = SetTextColor(dc, RGB(255, 255, 255));
    const COLORREF oldBack = SetBkColor(dc, RGB(0, 0, 0));
    BitBlt(dc, x, y, width, height, mono, 0, 0, kRopDSPDxax);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldBack);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
}

}  // namespace

void RegisterSuiteCursors() {
    if (!fw::Screen) return;
    HINSTANCE module = GetModuleHandleA(nullptr);
    HCURSOR hand = LoadCursorA(module, "KYV_HANDCUR");
    HCURSOR drag = LoadCursorA(module, "KYV_DRAGCUR");
    fw::Screen->SetCursors(crHandCursor, hand ? hand : LoadCursorA(nullptr, IDC_HAND));
    fw::Screen->SetCursors(crDragCursor, drag ? drag : LoadCursorA(nullptr, IDC_SIZEALL));
}

void PaintParentBackground(fw::TControl* control, fw::TCanvas* canvas) {
    if (!control || !canvas) return;
    fw::PaintControlBackground(control, canvas->Handle());
}

fw::TBitmap* MakeEmbossedBitmap(fw::TBitmap* bitmap, fw::TColor maskColor, fw::TColor backColor, bool highlight,
                                fw::TColor shadowColor, fw::TColor highlightColor) {
    const int width = bitmap->Width();
    const int height = bitmap->Height();
    TMemorySurface mono(nullptr, width, height, true);
    {
        // The bitmap's own canvas: a bitmap can be selected into one DC only.
        HDC source = bitmap->Canvas()->Handle();
        const fw::TColor background = bitmap->Monochrome() ? fw::clWhite : maskColor;
        const COLORREF old = SetBkColor(source, static_cast<COLORREF>(fw::ColorToRGB(background)));
        BitBlt(mono.DC(), 0, 0, width, height, source, 0, 0, SRCCOPY);
        SetBkColor(source, old);
    }
    auto* result = new fw::TBitmap;
    try {
        result->SetSize(width, height);
        fw::TCanvas* canvas = result->Canvas();
        canvas->Brush()->SetColor(backColor);
        canvas->FillRect(fw::Rect(0, 0, width, height));
        if (highlight) PaintThroughShape(canvas->Handle(), 1, 1, width, height, mono.DC(), highlightColor);
        PaintThroughShape(canvas->Handle(), 0, 0, width, height, mono.DC(), shadowColor);
    } catch (...) {
        delete result;
        throw;
    }
    return result;
}

fw::TBitmap* MakeEmbossedBitmapDefault(fw::TBitmap* bitmap, fw::TColor maskColor) {
    return MakeEmbossedBitmap(bitmap, maskColor, fw::clBtnFace, true, fw::clBtnShadow, fw::clBtnHighlight);
}

void DrawEmbossedImage(fw::TCustomImageList* images, fw::TCanvas* canvas, int x, int y, int index, bool highlight,
                       fw::TColor shadowColor, fw::TColor highlightColor) {
    if (!images || !canvas || index < 0 || index >= images->Count()) return;
    const int width = images->Width();
    const int height = images->Height();
    TMemorySurface mono(nullptr, width, height, true);
    PatBlt(mono.DC(), 0, 0, width, height, WHITENESS);
    ImageList_Draw(images->Handle(), index, mono.DC(), 0, 0, ILD_MASK);
    const fw::TColor brushColor = canvas->Brush()->Color();
    if (highlight) PaintThroughShape(canvas->Handle(), x + 1, y + 1, width, height, mono.DC(), highlightColor);
    PaintThroughShape(canvas->Handle(), x, y, width, height, mono.DC(), shadowColor);
    canvas->Brush()->SetColor(brushColor);
}

void DiscardMessage(HWND window, UINT message) {
    MSG msg;
    if (PeekMessageA(&msg, window, message, message, PM_REMOVE) && msg.message == WM_QUIT)
        PostQuitMessage(static_cast<int>(msg.wParam));
}

void FitRectOnScreen(fw::TRect& rect) {
    FitRectInto(rect, fw::Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
}

void CentreOnScreen(HWND window) {
    RECT r;
    if (!GetWindowRect(window, &r)) return;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    fw::TRect placed = fw::Bounds((GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                                  (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height);
    FitRectOnScreen(placed);
    SetWindowPos(window, nullptr, placed.Left, placed.Top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

std::string EllipsizeToWidth(const std::string& text, fw::TCanvas* canvas, int maxWidth) {
    return uis::EllipsizeToWidth(text, maxWidth, [canvas](const std::string& s) { return canvas->TextWidth(s); });
}

bool IsOwnActiveWindow() {
    HWND active = GetActiveWindow();
    return active && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId();
}

}  // namespace uis
