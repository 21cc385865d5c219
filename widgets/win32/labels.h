// The suite's window-less text controls. TKVXBaseLabel: nine alignments, multi-line text, an accelerator
// that focuses FocusControl, auto-size and ellipsis options. TKVXSimpleLabel adds a 3D caption and can
// be a jump label (a click opens a web address, a mail address or a program through the shell);
// TKVXLabel a bevel and a rotatable effect caption; TKVXGlyphLabel a picture of an image list beside,
// above or below the text. Labels are transparent unless told otherwise.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "widgets/controltypes.h"
#include "widgets/kvxgraph.h"
#include "widgets/win32/kvxcontrol.h"

namespace kvx::win32 {

class TKVXBaseLabel : public TKVXBaseGraphicControl {
public:
    explicit TKVXBaseLabel(TComponent* owner);

    // Index 0 AutoSize, 1 MultiLine, 2 ShowAccelChar.
    bool GetFlag(int index) const;
    void SetFlag(int index, bool value);
    bool MultiLine() const { return multiLine_; }
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetAutoSize(bool value) override { SetFlag(0, value); }
    TKVXAlignment Alignment() const { return alignment_; }
    void SetAlignment(TKVXAlignment value);
    TKVXLabelOptions Options() const { return options_; }
    void SetOptions(TKVXLabelOptions value);
    fw::TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(fw::TWinControl* value);

    std::string LabelText() {
        std::string text;
        GetLabelText(text);
        return text;
    }
    // The draw-text flags of the alignment and options.
    uint32_t TextFlags() const;
    // Only the ellipsis and edit-control flags of the options (what measuring takes).
    uint32_t OptionFlags() const;

    void Loaded() override;

protected:
    virtual void GetLabelText(std::string& text) { text = Caption(); }
    // A font or caption object changed.
    virtual void FontChanged(TObject* sender);
    virtual void AdjustSize() {}
    // The auto-size adjustment: Right and Bottom of a measured rectangle become the size.
    void ResizeTo(const TRect& measured);
    // Paints are not nested: a paint while painting does nothing.
    bool BeginPaintGuard();
    void EndPaintGuard() { painting_ = false; }

    void ContentChanged(TObject* sender) override;
    bool NothingToPaint() override;
    void Dispatch(fw::TMessage& message) override;
    void Notification(TComponent* component, fw::TOperation operation) override;

private:
    bool showAccelChar_ = true;
    bool multiLine_ = false;
    TKVXAlignment alignment_ = TKVXAlignment::agTopLeft;
    fw::TWinControl* focusControl_ = nullptr;
    TKVXLabelOptions options_;
    bool painting_ = false;
};

// Opens a jump target (ShellExecute of the target with the application's window, SW_SHOWNORMAL);
// its result: above 32 is success. Tests replace it.
using TKVXShellOpen = std::function<intptr_t(const std::string& target)>;
void KVXSetShellOpen(TKVXShellOpen open);
intptr_t KVXShellOpen(const std::string& target);

class TKVXCustomSimpleLabel : public TKVXBaseLabel {
public:
    explicit TKVXCustomSimpleLabel(TComponent* owner);

    TKVX3DCaption* Font3D() const { return font3D_.get(); }
    void SetFont3D(TKVX3DCaption* value) { font3D_->Assign(value); }
    const std::string& Jump() const { return jump_; }
    void SetJump(const std::string& value) { jump_ = value; }
    TColor ActiveColor() const { return activeColor_; }
    void SetActiveColor(TColor value) { activeColor_ = value; }
    TColor InActiveColor() const { return inActiveColor_; }
    void SetInActiveColor(TColor value);
    bool JumpUnderline() const { return jumpUnderline_; }
    void SetJumpUnderline(bool value);
    TKVXJumpModes JumpMode() const { return jumpMode_; }
    void SetJumpMode(TKVXJumpModes value);
    int ClickCount() const { return clicks_; }

    void Click() override;
    void Loaded() override;

protected:
    ~TKVXCustomSimpleLabel() override;
    void AdjustSize() override;
    void Paint() override;
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void DefineProperties(fw::TFiler& filer) override;

private:
    std::unique_ptr<TKVX3DCaption> font3D_;
    std::string jump_;
    TColor activeColor_ = fw::clPurple;
    TColor inActiveColor_ = fw::clBlue;
    bool useAsJump_ = false;
    bool jumpUnderline_ = true;
    TKVXJumpModes jumpMode_ = TKVXJumpModes::jmNone;
    int clicks_ = 0;
};

class TKVXCustomLabel : public TKVXBaseLabel {
public:
    explicit TKVXCustomLabel(TComponent* owner);

    TKVXBevel* Bevel() const { return bevel_.get(); }
    void SetBevel(TKVXBevel* value) { bevel_->Assign(value); }
    TKVXFxCaption* FontFx() const { return fontFx_.get(); }
    void SetFontFx(TKVXFxCaption* value) { fontFx_->Assign(value); }

protected:
    ~TKVXCustomLabel() override;
    void FontChanged(TObject* sender) override;
    void AdjustSize() override;
    bool NothingToPaint() override;
    void Paint() override;

private:
    std::unique_ptr<TKVXBevel> bevel_;
    std::unique_ptr<TKVXFxCaption> fontFx_;
};

class TKVXCustomGlyphLabel : public TKVXBaseLabel {
public:
    explicit TKVXCustomGlyphLabel(TComponent* owner);

    // Published as "Alignment": the glyph-to-text arrangement, spacing and offsets.
    TKVXGlyphTextLayout* Layout() const { return layout_.get(); }
    void SetLayout(TKVXGlyphTextLayout* value) { layout_->Assign(value); }
    TKVX3DCaption* Font3D() const { return font3D_.get(); }
    void SetFont3D(TKVX3DCaption* value) { font3D_->Assign(value); }
    TKVXBevel* Bevel() const { return bevel_.get(); }
    void SetBevel(TKVXBevel* value) { bevel_->Assign(value); }
    HPALETTE GetPalette() override;

protected:
    ~TKVXCustomGlyphLabel() override;
    void AdjustSize() override;
    void Paint() override;

private:
    std::unique_ptr<TKVXGlyphTextLayout> layout_;
    std::unique_ptr<TKVX3DCaption> font3D_;
    std::unique_ptr<TKVXBevel> bevel_;
};

class TKVXSimpleLabel : public TKVXCustomSimpleLabel {
public:
    using TKVXCustomSimpleLabel::TKVXCustomSimpleLabel;
};
class TKVXLabel : public TKVXCustomLabel {
public:
    using TKVXCustomLabel::TKVXCustomLabel;
};
class TKVXGlyphLabel : public TKVXCustomGlyphLabel {
public:
    using TKVXCustomGlyphLabel::TKVXCustomGlyphLabel;
};

}  // namespace kvx::win32
