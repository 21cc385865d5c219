#include "widgets/win32/formstyler.h"

#include <algorithm>
#include <cstring>

#include "framework/win32/controls.h"
#include "framework/win32/forms.h"
#include "widgets/captionrects.h"
#include "widgets/drawtypes.h"
#include "widgets/win32/bitmapdraw.h"
#include "widgets/win32/captiondraw.h"
#include "widgets/win32/framedraw.h"
#include "widgets/win32/sysinfo.h"

namespace kvx::win32 {

namespace {

using Opt = TKVXFormStyleOption;

constexpr TKVXColorCount kMinColors = 2;
constexpr TKVXColorCount kMaxColors = 236;
// DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX.
constexpr UINT kCaptionTextFormat = 0x824;
// Enabled text, clipped to its rectangle.
constexpr uint16_t kCaptionTextFlags = 0x0A;

UINT AlignmentFormat(fw::TAlignment alignment) {
    switch (alignment) {
        case fw::TAlignment::taRightJustify: return DT_RIGHT;
        case fw::TAlignment::taCenter: return DT_CENTER;
        default: return DT_LEFT;
    }
}

// Unbinds the caption canvas, releases the window DC and clears the painting flag, also when a paint
// event raises.
class CaptionPaintScope {
public:
    CaptionPaintScope(HWND window, fw::TCanvas& canvas, bool& painting)
        : window_(window), canvas_(canvas), painting_(painting), dc_(GetWindowDC(window)) {
        canvas_.SetHandle(dc_);
        painting_ = true;
    }
    ~CaptionPaintScope() {
        canvas_.SetHandle(nullptr);
        if (dc_) ReleaseDC(window_, dc_);
        painting_ = false;
    }
    CaptionPaintScope(const CaptionPaintScope&) = delete;
    CaptionPaintScope& operator=(const CaptionPaintScope&) = delete;
    bool Valid() const { return dc_ != nullptr; }

private:
    HWND window_;
    fw::TCanvas& canvas_;
    bool& painting_;
    HDC dc_;
};

TKVXFrameComposition& FrameCompositionQuery() {
    static TKVXFrameComposition query;
    return query;
}

// DwmIsCompositionEnabled, found at run time: systems without dwmapi draw no frames themselves.
bool DwmComposition() {
    using Query = HRESULT(WINAPI*)(BOOL*);
    static const Query query = [] {
        HMODULE dwm = LoadLibraryA("dwmapi.dll");
        return dwm ? reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmIsCompositionEnabled")))
                   : nullptr;
    }();
    BOOL enabled = FALSE;
    return query && SUCCEEDED(query(&enabled)) && enabled;
}

}  // namespace

void KVXSetFrameComposition(TKVXFrameComposition query) { FrameCompositionQuery() = std::move(query); }

bool KVXSystemDrawsFrame(HWND window) {
    if (FrameCompositionQuery()) return FrameCompositionQuery()(window);
    return DwmComposition();
}

TKVXFormStyler::TKVXFormStyler(TComponent* owner)
    : TKVXWndProcComponent(owner),
      canvas_(std::make_unique<fw::TCanvas>()),
      font_(std::make_unique<fw::TFont>()),
      font3D_(std::make_unique<TKVX3DCaption>()),
      options_({Opt::fsAdjustRect, Opt::fsUseDefaultFont, Opt::fsUseFormCaption, Opt::fsCheckSystemGradient}),
      icon_(std::make_unique<fw::TBitmap>()) {
    font_->OnChange.Bind(this, &TKVXFormStyler::ChildChanged);
    font3D_->OnChange.Bind(this, &TKVXFormStyler::ChildChanged);
    useFrameWindow_ = true;
}

TKVXFormStyler::~TKVXFormStyler() = default;

fw::TWinControl* TKVXFormStyler::Form() const { return dynamic_cast<fw::TWinControl*>(Owner()); }

void TKVXFormStyler::SetAlignment(fw::TAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    if (paintMode_ != TKVXPaintMode::pcNone) PaintCaption(false);
}

void TKVXFormStyler::SetColors(TKVXColorCount value) {
    value = std::clamp(value, kMinColors, kMaxColors);
    if (value == colors_) return;
    colors_ = value;
    if (paintMode_ == TKVXPaintMode::pcControl) PaintCaption(false);
}

void TKVXFormStyler::SetPaintMode(TKVXPaintMode value) {
    if (value == paintMode_) return;
    paintMode_ = value;
    if (paintMode_ != TKVXPaintMode::pcNone)
        PaintCaption(true);
    else
        RefreshCaption();
}

void TKVXFormStyler::SetOptions(TKVXFormStyleOptions value) {
    if (value == options_) return;
    options_ = value;
    // A running styler follows fsUseFormCaption at once.
    if (Enabled() && Hooked()) SyncCaption();
    if (paintMode_ != TKVXPaintMode::pcNone)
        PaintCaption(true);
    else
        RefreshCaption();
}

void TKVXFormStyler::ChildChanged(TObject*) {
    if (paintMode_ != TKVXPaintMode::pcNone && !Has(Opt::fsUseDefaultFont)) PaintCaption(false);
}

void TKVXFormStyler::RefreshCaption() {
    if (HookReady()) Form()->Perform(WM_NCACTIVATE, 1, 0);
}

void TKVXFormStyler::EnableHook() {
    if (!Enabled()) return;
    TKVXWndProcComponent::EnableHook();
    SyncCaption();
    if (!InState(fw::csLoading)) PaintCaption(true);
}

void TKVXFormStyler::SyncCaption() {
    if (!BlanksCaption()) {
        RestoreCaption();
        return;
    }
    fw::TWinControl* form = Form();
    if (captionSwapped_ || !form) return;
    captionText_ = form->Caption();
    form->SetCaption(" ");
    captionSwapped_ = true;
}

void TKVXFormStyler::DisableHook() {
    icon_->SetSize(0, 0);
    RestoreCaption();
    if (!InState(fw::csDestroying)) RefreshCaption();
}

void TKVXFormStyler::RestoreCaption() {
    if (!captionSwapped_) return;
    captionSwapped_ = false;
    fw::TWinControl* form = Form();
    if (form && !form->InState(fw::csDestroying)) form->SetCaption(captionText_);
}

void TKVXFormStyler::BeforeDestruction() {
    RestoreCaption();
    TKVXWndProcComponent::BeforeDestruction();
}

void TKVXFormStyler::HookWndProc(fw::HookMessage& m) {
    // Messages the styler leaves alone go on to the window unchanged (m.Handled stays false).
    if (!Enabled() || paintMode_ == TKVXPaintMode::pcNone) return;
    switch (m.Msg) {
        case WM_GETTEXT:
            if (!BlanksCaption()) return;
            {
                // The answer is what was copied: the blank when it fits beside the terminating zero.
                const auto size = static_cast<size_t>(m.WParam);
                auto* buffer = reinterpret_cast<char*>(m.LParam);
                m.Result = 0;
                if (buffer && size >= 2) {
                    std::memcpy(buffer, " ", 2);
                    m.Result = 1;
                } else if (buffer && size == 1) {
                    buffer[0] = '\0';
                }
            }
            m.Handled = true;
            return;
        case WM_GETTEXTLENGTH:
            if (!BlanksCaption()) return;
            m.Result = 1;
            m.Handled = true;
            return;
        case WM_NCPAINT:
            m.CallNext();
            if (active_ || Has(Opt::fsInactiveGradient)) PaintCaption(true);
            m.Result = 0;
            return;
        case WM_NCACTIVATE:
            active_ = m.WParam != 0;
            m.CallNext();
            if (active_ || Has(Opt::fsInactiveGradient)) PaintCaption(false);
            m.Result = 1;
            return;
        default:
            return;
    }
}

bool TKVXFormStyler::BlanksCaption() {
    if (Has(Opt::fsUseFormCaption)) return false;
    fw::TWinControl* form = Form();
    return !(form && form->HandleAllocated() && KVXSystemDrawsFrame(form->Handle()));
}

bool TKVXFormStyler::PaintGuarded(HWND window) {
    if (InState(fw::csDesigning) || !Enabled() || paintMode_ == TKVXPaintMode::pcNone || painting_) return true;
    if (!window || !IsWindowVisible(window) || KVXSystemDrawsFrame(window)) return true;
    return Has(Opt::fsCheckSystemGradient) && KVXIsWin98() && KVXColorDepth() > 8;
}

void TKVXFormStyler::PaintCaption(bool full) {
    fw::TWinControl* form = Form();
    if (!form || !form->HandleAllocated()) return;
    HWND window = form->Handle();
    if (PaintGuarded(window)) return;
    if (Has(Opt::fsUseFormCaption)) captionText_ = form->Caption();

    CaptionPaintScope scope(window, *canvas_, painting_);
    if (!scope.Valid()) return;
    int flags = (paintMode_ == TKVXPaintMode::pcOwnerDraw && Has(Opt::fsAdjustRect)) ? 3 : 1;
    if (auto* f = dynamic_cast<fw::TForm*>(form); f && f->BorderStyle() == fw::TFormBorderStyle::bsSingle)
        flags |= kCaptionDialog;
    fw::TRect bar, text;
    KVXCaptionRects(window, bar, text, flags);
    PaintContent(bar, text, flags, full);
}

void TKVXFormStyler::PaintContent(const fw::TRect& bar, const fw::TRect& text, int flags, bool full) {
    if (paintMode_ == TKVXPaintMode::pcControl) {
        const int iconWidth = text.Left - bar.Left;
        const int iconHeight = bar.Height();
        if ((flags & kCaptionSysIcon) && full && iconWidth > 0 && iconHeight > 0) {
            icon_->SetSize(iconWidth, iconHeight);
            icon_->Canvas()->CopyRect({0, 0, iconWidth, iconHeight}, canvas_.get(),
                                      {bar.Left, bar.Top, bar.Left + iconWidth, bar.Top + iconHeight});
        }
        if (active_ || Has(Opt::fsInactiveGradient)) {
            KVXFillGradient(canvas_.get(), bar, fw::clBlack, active_ ? fw::clActiveCaption : fw::clInactiveCaption,
                            colors_, TKVXGradientStyle::gstHorizontal, 0, 0);
            if ((flags & kCaptionSysIcon) && !icon_->Empty()) {
                fw::TRect painted;
                KVXDrawBitmap(canvas_.get(), {bar.Left, bar.Top, bar.Left + icon_->Width(), bar.Top + icon_->Height()},
                              icon_.get(), kpfColorMask, icon_->TransparentColor(), painted);
            }
        }
    } else if (paintMode_ == TKVXPaintMode::pcOwnerDraw && OnPaint) {
        RunClipped(OnPaint, bar);
    }
    SelectCaptionFont(flags);
    canvas_->Brush()->SetStyle(fw::TBrushStyle::bsClear);
    SelectTextColor();
    if (Has(Opt::fsDrawCaptionEvent) || paintMode_ == TKVXPaintMode::pcOwnerDraw) {
        if (OnCaptionPaint) RunClipped(OnCaptionPaint, text);
    } else if (active_ || !Has(Opt::fsUseFormCaption) || Has(Opt::fsInactiveGradient)) {
        DrawCaptionText(text);
    }
}

void TKVXFormStyler::SelectCaptionFont(int flags) {
    if (!Has(Opt::fsUseDefaultFont)) {
        canvas_->Font()->Assign(font_.get());
        return;
    }
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0)) return;
    const LOGFONTA& face = (flags & kCaptionSmall) ? metrics.lfSmCaptionFont : metrics.lfCaptionFont;
    if (HFONT font = CreateFontIndirectA(&face)) canvas_->Font()->SetHandle(font);
}

void TKVXFormStyler::SelectTextColor() {
    if (!active_) {
        canvas_->Font()->SetColor(fw::clInactiveCaptionText);
    } else if (Has(Opt::fsUseDefaultFont) || !Has(Opt::fsUseFontColor)) {
        // Black text on the dark end of the gradient would vanish.
        const bool black = fw::ColorToRGB(fw::clCaptionText) == fw::ColorToRGB(fw::clBlack);
        canvas_->Font()->SetColor(black ? fw::TColor(0xFFFFFF) : fw::clCaptionText);
    }
}

void TKVXFormStyler::DrawCaptionText(const fw::TRect& text) {
    const UINT format = AlignmentFormat(alignment_) | kCaptionTextFormat;
    // Without a 3D caption this is plain DrawText in the canvas's font, colour and background mode.
    if (Has(Opt::fsUseDefaultFont))
        KVXDrawCaptionText(canvas_.get(), captionText_, nullptr, text, format, 0, nullptr);
    else
        KVXDrawCaptionText(canvas_.get(), captionText_, font3D_.get(), text, format, kCaptionTextFlags, nullptr);
}

void TKVXFormStyler::RunClipped(TKVXPaintEvent& event, const fw::TRect& rect) {
    HDC dc = canvas_->Handle();
    HRGN region = CreateRectRgn(rect.Left, rect.Top, rect.Right, rect.Bottom);
    SelectClipRgn(dc, region);
    try {
        event(this, canvas_.get(), rect);
    } catch (...) {
        SelectClipRgn(dc, nullptr);
        DeleteObject(region);
        throw;
    }
    SelectClipRgn(dc, nullptr);
    DeleteObject(region);
}

}  // namespace kvx::win32
