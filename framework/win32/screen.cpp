#include "framework/win32/screen.h"

#include <algorithm>

#include "framework/core/lists.h"
#include "framework/win32/callback.h"
#include "framework/win32/datamodule.h"
#include "framework/win32/forms.h"

namespace fw {

TScreen* Screen = nullptr;

namespace {

// The system cursor standing for a stock identifier (the drag and split cursors fall back to the
// nearest system shape).
const char* StockCursorName(TCursor id) {
    switch (id) {
    case crDefault:
    case crArrow:
    case crDrag:
    case crMultiDrag:
        return IDC_ARROW;
    case crCross:
        return IDC_CROSS;
    case crIBeam:
        return IDC_IBEAM;
    case crSizeNESW:
        return IDC_SIZENESW;
    case crSizeNS:
    case crVSplit:
        return IDC_SIZENS;
    case crSizeNWSE:
        return IDC_SIZENWSE;
    case crSizeWE:
    case crHSplit:
        return IDC_SIZEWE;
    case crUpArrow:
        return IDC_UPARROW;
    case crHourGlass:
    case crSQLWait:
        return IDC_WAIT;
    case crNoDrop:
    case crNo:
        return IDC_NO;
    case crAppStart:
        return IDC_APPSTARTING;
    case crHelp:
        return IDC_HELP;
    case crHandPoint:
        return IDC_HAND;
    case crSizeAll:
        return IDC_SIZEALL;
    default:
        return nullptr;
    }
}

int CALLBACK AddFontFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM param) {
    FW_CALLBACK_BODY(1, {
        auto* list = reinterpret_cast<TStringList*>(param);
        std::string name = font->lfFaceName;
        if (!name.empty() && name[0] != '@' && list->IndexOf(name) < 0) list->Add(name);
        return 1;
    })
}

}  // namespace

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TScreen::~TScreen() {
    if (fonts_) fonts_->Free();
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }

int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkArea() const {
    RECT r{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) r = RECT{0, 0, Width(), Height()};
    return Rect(r.left, r.top, r.right, r.bottom);
}

int TScreen::PixelsPerInch() const {
    if (ppiOverride_ > 0) return ppiOverride_;
    HDC dc = GetDC(nullptr);
    int ppi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return ppi > 0 ? ppi : 96;
}

void TScreen::SetCursor(TCursor cursor) {
    if (cursor == cursor_) return;
    cursor_ = cursor;
    if (cursor == crDefault) {
        // Let the window under the mouse choose its own cursor again.
        POINT p{};
        GetCursorPos(&p);
        HWND window = WindowFromPoint(p);
        if (window && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
            LRESULT code = SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
            SendMessageA(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window),
                         MAKELPARAM(static_cast<WORD>(code), WM_MOUSEMOVE));
            return;
        }
    }
    ::SetCursor(Cursors(cursor));
}

HCURSOR TScreen::Cursors(TCursor id) const {
    auto it = cursors_.find(id);
    if (it != cursors_.end()) return it->second;
    if (id == crNone) return nullptr;
    const char* name = StockCursorName(id);
    return LoadCursorA(nullptr, name ? name : IDC_ARROW);
}

HCURSOR TScreen::ProgramCursor(TCursor id) const {
    auto it = cursors_.find(id);
    return it == cursors_.end() ? nullptr : it->second;
}

void TScreen::SetCursors(TCursor id, HCURSOR cursor) {
    if (cursor)
        cursors_[id] = cursor;
    else
        cursors_.erase(id);
}

TWinControl* TScreen::ActiveControl() const { return activeForm_ ? activeForm_->ActiveControl() : nullptr; }

TStrings* TScreen::Fonts() {
    if (!fonts_) {
        fonts_ = new TStringList();
        HDC dc = GetDC(nullptr);
        LOGFONTA query{};
        query.lfCharSet = DEFAULT_CHARSET;
        EnumFontFamiliesExA(dc, &query, &AddFontFamily, reinterpret_cast<LPARAM>(fonts_), 0);
        ReleaseDC(nullptr, dc);
        fonts_->Sort();
    }
    return fonts_;
}

void TScreen::AddForm(TForm* form) {
    if (std::find(forms_.begin(), forms_.end(), form) == forms_.end()) forms_.push_back(form);
}

void TScreen::RemoveForm(TForm* form) {
    forms_.erase(std::remove(forms_.begin(), forms_.end(), form), forms_.end());
    if (activeForm_ == form) SetActiveForm(nullptr);
}

void TScreen::AddDataModule(TDataModule* module) {
    if (std::find(dataModules_.begin(), dataModules_.end(), module) == dataModules_.end())
        dataModules_.push_back(module);
}

void TScreen::RemoveDataModule(TDataModule* module) {
    dataModules_.erase(std::remove(dataModules_.begin(), dataModules_.end(), module), dataModules_.end());
}

void TScreen::SetActiveForm(TForm* form) {
    if (form == activeForm_) return;
    activeForm_ = form;
    if (OnActiveFormChange) OnActiveFormChange(this);
    ActiveControlChanged();
}

void TScreen::ActiveControlChanged() {
    if (OnActiveControlChange) OnActiveControlChange(this);
}

}  // namespace fw
