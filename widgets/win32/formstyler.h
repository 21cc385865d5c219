// TKVXFormStyler: paints the caption bar of the form that owns it, a horizontal gradient from black
// into the system caption colour with the caption text over it, or hands the painting to events. It
// watches the form through the form's hook chain: the caption is painted after the system drew its
// own frame (WM_NCPAINT, WM_NCACTIVATE), so wherever the system keeps the frame to itself (desktop
// composition, a window manager's decorations) the system's own caption simply stays.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/core/event.h"
#include "framework/win32/graphics.h"
#include "framework/win32/std_types.h"
#include "widgets/kvxgraph.h"
#include "widgets/win32/wndproccomponent.h"

namespace kvx::win32 {

// Who paints: nobody, the component itself, or the paint events.
enum class TKVXPaintMode { pcNone, pcControl, pcOwnerDraw };
using TKVXPaintEvent = fw::Event<void(fw::TObject* Sender, fw::TCanvas* aCanvas, fw::TRect Dest)>;

enum class TKVXFormStyleOption {
    fsAdjustRect,
    fsUseDefaultFont,
    fsUseFontColor,
    fsInactiveGradient,
    fsDrawCaptionEvent,
    fsUseFormCaption,
    fsCheckSystemGradient
};
using TKVXFormStyleOptions = fw::Set<TKVXFormStyleOption>;
using TKVXColorCount = uint8_t;  // 2..236

// The size of NONCLIENTMETRICSA without the padded border width of newer systems; every system
// accepts it, while MinGW's sizeof is larger.
constexpr UINT kNonClientMetricsSize = 340;

// Whether the system draws the window's frame itself (desktop composition): then whatever is
// painted into the window DC's caption never shows, and the styler leaves the system's own caption,
// text included. The default asks dwmapi where the system has it; tests replace it.
using TKVXFrameComposition = std::function<bool(HWND window)>;
void KVXSetFrameComposition(TKVXFrameComposition query);
bool KVXSystemDrawsFrame(HWND window);

class TKVXFormStyler : public TKVXWndProcComponent {
public:
    explicit TKVXFormStyler(TComponent* owner);
    ~TKVXFormStyler() override;

    fw::TAlignment Alignment() const { return alignment_; }
    void SetAlignment(fw::TAlignment value);
    TKVXColorCount Colors() const { return colors_; }
    void SetColors(TKVXColorCount value);
    fw::TFont* Font() const { return font_.get(); }
    void SetFont(fw::TFont* value) { font_->Assign(value); }
    TKVX3DCaption* Font3D() const { return font3D_.get(); }
    void SetFont3D(TKVX3DCaption* value) { font3D_->Assign(value); }
    TKVXPaintMode PaintMode() const { return paintMode_; }
    void SetPaintMode(TKVXPaintMode value);
    TKVXFormStyleOptions Options() const { return options_; }
    void SetOptions(TKVXFormStyleOptions value);

    // Paints the caption bar now; Full also takes a new copy of the system icon area.
    void PaintCaption(bool full);
    // Lets the system draw its own caption again.
    void RefreshCaption();
    // The caption is drawn as active (follows WM_NCACTIVATE; false until the first one).
    bool CaptionActive() const { return active_; }
    const std::string& CaptionText() const { return captionText_; }

    TKVXPaintEvent OnPaint;
    TKVXPaintEvent OnCaptionPaint;

protected:
    void EnableHook() override;
    void DisableHook() override;
    void HookWndProc(fw::HookMessage& message) override;
    void ChildChanged(TObject* sender) override;
    // A styler freed before its form gives the form its caption back.
    void BeforeDestruction() override;

private:
    // Swaps the form's caption for the blank, or gives it back, as the options and system ask.
    void SyncCaption();
    void RestoreCaption();
    bool PaintGuarded(HWND window);
    void PaintContent(const fw::TRect& bar, const fw::TRect& text, int flags, bool full);
    void SelectCaptionFont(int flags);
    void SelectTextColor();
    void DrawCaptionText(const fw::TRect& text);
    void RunClipped(TKVXPaintEvent& event, const fw::TRect& rect);
    bool Has(TKVXFormStyleOption option) const { return options_.Contains(option); }
    // Without fsUseFormCaption, and where the caption the styler paints can be seen.
    bool BlanksCaption();
    fw::TWinControl* Form() const;

    fw::TAlignment alignment_ = fw::TAlignment::taLeftJustify;
    TKVXColorCount colors_ = 32;
    std::unique_ptr<fw::TCanvas> canvas_;
    std::unique_ptr<fw::TFont> font_;
    std::unique_ptr<TKVX3DCaption> font3D_;
    bool active_ = false;
    TKVXPaintMode paintMode_ = TKVXPaintMode::pcControl;
    TKVXFormStyleOptions options_;
    std::string captionText_;
    std::unique_ptr<fw::TBitmap> icon_;
    bool painting_ = false;
    // The form's caption is the blank and captionText_ holds the real one.
    bool captionSwapped_ = false;
};

}  // namespace kvx::win32
