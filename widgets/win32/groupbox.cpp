#include "widgets/win32/groupbox.h"

#include <vector>

#include "framework/win32/keyboard.h"
#include "widgets/drawgeometry.h"
#include "widgets/groupcaption.h"
#include "widgets/win32/captiondraw.h"

namespace kvx::win32 {

namespace {
std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}
}  // namespace

TKVXCustomGroupBox::TKVXCustomGroupBox(TComponent* owner)
    : TKVXCustomParentPanel(owner),
      captionFont_(std::make_unique<fw::TFont>()),
      captionFont3D_(std::make_unique<TKVX3DCaption>()),
      working_(std::make_unique<TKVXFxCaption>()) {
    SetControlStyle(fw::csAcceptsControls | fw::csCaptureMouse | fw::csClickEvents | fw::csSetCaption |
                    fw::csDoubleClicks | fw::csReplicatable);
    captionFont_->OnChange.Bind(this, [](void* self, TObject* sender) {
        static_cast<TKVXCustomGroupBox*>(self)->ContentChanged(sender);
    });
    captionFont3D_->OnChange.Bind(this, [](void* self, TObject* sender) {
        static_cast<TKVXCustomGroupBox*>(self)->ContentChanged(sender);
    });
    Bevel()->SetMode(TKVXBevelMode::bmStandard);
    Bevel()->SetStandardStyle(TKVXBorderStyle::lsFrameInset);
    ComputeMetrics();
    SetBounds(Left(), Top(), 185, 105);
}

TKVXCustomGroupBox::~TKVXCustomGroupBox() {
    captionFont_->OnChange.Reset();
    captionFont3D_->OnChange.Reset();
}

void TKVXCustomGroupBox::SetShowAccelChar(bool value) {
    if (value == showAccelChar_) return;
    showAccelChar_ = value;
    ContentChanged(nullptr);
}

void TKVXCustomGroupBox::SetAlignment(TKVXGroupCaptionAlign value) {
    if (value == alignment_) return;
    alignment_ = value;
    ContentChanged(captionFont3D_.get());
    Realign();
}

void TKVXCustomGroupBox::SetCaptionOffset(int value) {
    if (value == captionOffset_) return;
    captionOffset_ = value;
    ContentChanged(nullptr);
}

void TKVXCustomGroupBox::SetCaptionParentFont(bool value) {
    if (value == captionParentFont_) return;
    captionParentFont_ = value;
    if (Parent()) Perform(fw::CM_PARENTFONTCHANGED);
}

void TKVXCustomGroupBox::ComputeMetrics() {
    working_->Assign(captionFont3D_.get());
    working_->SetAngle(KVXGroupCaptionAngle(alignment_));
    if (working_->Angle() != 0 && !KVXIsTrueTypeFont(captionFont_.get())) {
        // A raster font does not turn. The switch is the box's own, so it keeps following the parent.
        const bool parentFont = captionParentFont_;
        captionFont_->SetName("Arial");
        captionParentFont_ = parentFont;
    }
    extent_ = KVXCaptionLineHeight(working_.get(), captionFont_.get());
}

void TKVXCustomGroupBox::ContentChanged(TObject* sender) {
    if (sender == captionFont3D_.get()) {
        ComputeMetrics();
        if (!Loading()) Invalidate();
        return;
    }
    if (sender == captionFont_.get()) captionParentFont_ = false;
    TKVXCustomParentPanel::ContentChanged(sender);
}

void TKVXCustomGroupBox::AlignControls(fw::TControl* control, TRect& rect) {
    rect = KVXGroupArrangeRect(alignment_, rect, extent_);
    TKVXCustomParentPanel::AlignControls(control, rect);
}

bool TKVXCustomGroupBox::SelectFirstChild() {
    std::vector<fw::TWinControl*> order;
    GetTabOrderList(order);
    for (fw::TWinControl* child : order) {
        if (child->CanFocus()) {
            child->SetFocus();
            return true;
        }
    }
    return false;
}

void TKVXCustomGroupBox::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case fw::CM_PARENTFONTCHANGED:
            TKVXCustomParentPanel::Dispatch(message);
            if (captionParentFont_) {
                if (message.WParam != 0)
                    captionFont_->Assign(reinterpret_cast<fw::TFont*>(message.LParam));
                else
                    captionFont_->Assign(Font());
                captionParentFont_ = true;
            }
            break;
        case fw::CM_DIALOGCHAR:
            if (fw::IsAccel(static_cast<unsigned>(message.WParam), Caption()) && CanFocus() && SelectFirstChild()) {
                message.Result = 1;
                return;
            }
            TKVXCustomParentPanel::Dispatch(message);
            break;
        case fw::CM_ENABLEDCHANGED:
            TKVXCustomParentPanel::Dispatch(message);
            Repaint();
            break;
        case fw::CM_TEXTCHANGED:
            TKVXCustomParentPanel::Dispatch(message);
            Invalidate();
            Realign();
            break;
        default: TKVXCustomParentPanel::Dispatch(message); break;
    }
}

uint32_t TKVXCustomGroupBox::CaptionFormat() const {
    return kDtSingleLine | kDtExpandTabs | (showAccelChar_ ? 0u : kDtNoPrefix);
}

bool TKVXCustomGroupBox::MeasureCaption(int& needed, int& room) {
    const std::string text = Caption();
    if (Trimmed(text).empty()) return false;
    const TKVXGroupRects rects = KVXGroupRects(alignment_, Width(), Height(), extent_, captionOffset_);
    TRect measured{};
    KVXMeasureCaption(text, working_.get(), measured, captionFont_.get(), false, showAccelChar_, 0, CaptionFormat());
    const TKVXGroupSide side = KVXGroupSide(alignment_);
    const bool across = side == TKVXGroupSide::Top || side == TKVXGroupSide::Bottom;
    needed = across ? measured.Width() : measured.Height();
    room = across ? rects.caption.Width() : rects.caption.Height();
    return true;
}

void TKVXCustomGroupBox::Paint() {
    if (Loading()) return;
    PaintBackground();
    fw::TCanvas* c = Canvas();
    TRect inner;
    const std::string text = Caption();
    if (Trimmed(text).empty()) {
        Bevel()->PaintBevel(c, ClientRect(), true, inner);
        return;
    }
    const TKVXGroupRects rects = KVXGroupRects(alignment_, Width(), Height(), extent_, captionOffset_);
    Bevel()->PaintBevel(c, rects.bevel, true, inner);

    const TKVXAlignment textAlign = KVXGroupTextAlignment(alignment_);
    const uint32_t format = KVXAlignmentFormat(textAlign) | CaptionFormat();
    TRect textRect;
    KVXCaptionRect(textAlign, text, working_.get(), rects.caption, captionFont_.get(), false, showAccelChar_, format,
                   textRect);
    // The frame runs through the caption's line: wipe it behind the text.
    FillBackgroundRect(KVXGroupWipeRect(alignment_, textRect));
    c->SetFont(captionFont_.get());
    c->Brush()->SetStyle(fw::TBrushStyle::bsClear);
    KVXDrawCaptionText(c, text, working_.get(), textRect, format, Enabled() ? ktfEnabled : 0, nullptr);
    c->SetFont(Font());
}

}  // namespace kvx::win32
