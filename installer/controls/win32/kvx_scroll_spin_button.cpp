#include "installer/controls/win32/kvx_scroll_spin_button.h"

#include <array>

#include "installer/controls/scroll_model.h"
#include "widgets/win32/framedraw.h"
#include "widgets/win32/kvxcustomcontrol.h"

namespace inst::win32 {

namespace {

using fw::TColor;
using fw::TPoint;
using kvx::TKVXBorderStyle;

enum Divider { dNone, d1, d2, d3, d4, d5 };

// Where the arrows of a layout go, as multiples of the control's width and height plus a pixel offset
// (apex of a left or right triangle, top-left of an up or down arrow).
struct Place {
    bool used = false;
    double fw = 0, dx = 0, fh = 0, dy = 0;
    TPoint At(int w, int h) const { return {RoundHalfEven(fw * w + dx), RoundHalfEven(fh * h + dy)}; }
};
struct Layout {
    Place up, down, left, right;
    Divider divider = dNone;
};

constexpr double q = 0.25, hf = 0.5, tq = 0.75;
Place P(double fw, double dx, double fh, double dy) { return {true, fw, dx, fh, dy}; }

Layout LayoutOf(uint8_t set) {
    switch (set) {
        case sbUp: return {P(hf, -2, hf, -2), {}, {}, {}, dNone};
        case sbUp | sbDown: return {P(q, -2, q, -2), P(tq, -2, tq, -2), {}, {}, d1};
        case sbLeft | sbUp: return {P(tq, -2, q, -2), {}, P(q, -2, tq, -2), {}, d2};
        case sbRight | sbUp: return {P(q, -2, q, -2), {}, {}, P(tq, -2, tq, -2), d1};
        case sbLeft | sbUp | sbDown: return {P(tq, -2, q, -2), P(tq, -2, tq, -2), P(q, -2, hf, 0), {}, d3};
        case sbRight | sbUp | sbDown: return {P(q, -2, q, -2), P(q, -2, tq, -2), {}, P(tq, -2, hf, 0), d4};
        case sbLeft | sbRight | sbUp: return {P(q, -2, hf, -2), {}, P(tq, -2, q, -2), P(tq, 0, tq, 0), d3};
        case sbLeft | sbRight | sbUp | sbDown: return {P(hf, -1, q, -2), P(hf, -1, tq, 0), P(q, -2, hf, 0), P(tq, 2, hf, 0), d5};
        case sbDown: return {{}, P(hf, -3, hf, -2), {}, {}, dNone};
        case sbRight | sbDown: return {{}, P(q, -2, tq, -2), {}, P(tq, -2, q, -2), d2};
        case sbLeft | sbDown: return {{}, P(q, -2, tq, -2), P(tq, -2, q, 0), {}, d2};
        case sbLeft | sbRight | sbDown: return {{}, P(tq, -2, hf, -2), P(q, -2, q, 0), P(q, 0, tq, -2), d4};
        case sbLeft: return {{}, {}, P(hf, -2, hf, -1), {}, dNone};
        case sbLeft | sbRight: return {{}, {}, P(q, -2, q, 0), P(tq, 0, tq, -2), d1};
        case sbRight: return {{}, {}, {}, P(hf, 0, hf, -1), dNone};
        default: return {};
    }
}

bool SingleArrow(uint8_t set) { return set == sbUp || set == sbDown || set == sbLeft || set == sbRight; }

void Line(fw::TCanvas* c, TColor color, std::initializer_list<TPoint> points) {
    c->Pen()->SetColor(color);
    bool first = true;
    for (const TPoint& p : points) {
        if (first)
            c->MoveTo(p.X, p.Y);
        else
            c->LineTo(p.X, p.Y);
        first = false;
    }
}

void DrawDivider(fw::TCanvas* c, Divider d, int W, int H) {
    const int h = H / 2, t = W / 3, m = W / 2;
    switch (d) {
        case dNone: break;
        case d1:
            Line(c, fw::clBlack, {{0, H}, {W, 0}});
            Line(c, fw::clWhite, {{1, H}, {W, 1}});
            break;
        case d2: Line(c, fw::clBlack, {{0, 0}, {W, H}}); break;
        case d3:
            Line(c, fw::clBlack, {{0, 0}, {W - t, h}, {W, h}});
            Line(c, fw::clBlack, {{W - t, h}, {0, H}});
            break;
        case d4:
            Line(c, fw::clBlack, {{W, 0}, {t, h}, {0, h}});
            Line(c, fw::clBlack, {{t, h}, {W, H}});
            break;
        case d5:
            Line(c, fw::clWhite, {{1, 0}, {m, h - 1}});
            Line(c, fw::clWhite, {{W, 1}, {m + 1, h + 1}});
            Line(c, static_cast<TColor>(0x808080), {{0, 1}, {m, h + 1}});
            Line(c, static_cast<TColor>(0x808080), {{W - 1, 0}, {m, h}});
            Line(c, fw::clBlack, {{0, 0}, {W, H}});
            Line(c, fw::clBlack, {{0, H}, {W, 0}});
            break;
    }
}

// A black triangle pointing left (Dir -1) or right (+1) with its apex at P, two pixels deep.
void SideArrow(fw::TCanvas* c, TPoint p, int dir) {
    c->Pen()->SetColor(fw::clBlack);
    c->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
    c->Brush()->SetColor(fw::clBlack);
    const std::array<TPoint, 3> points = {p, TPoint{p.X - 2 * dir, p.Y - 2}, TPoint{p.X - 2 * dir, p.Y + 2}};
    c->Polygon(points);
}

}  // namespace

TKVXScrollSpinButton::TKVXScrollSpinButton(fw::TComponent* owner) : TKVXGraphicControl(owner) {
    SetColor(fw::clWindow);
    SetBounds(Left(), Top(), 20, 20);
    machine_.OnClick = [this](int state) { Fire(state); };
    machine_.OnRepaint = [this] { Repaint(); };
    machine_.HasCapture = [this] { return MouseCapture(); };
}

void TKVXScrollSpinButton::SetSpinButtons(uint8_t value) {
    if (machine_.SetArrows(value)) Repaint();
}

void TKVXScrollSpinButton::Fire(int state) {
    const fw::TNotifyEvent* events[] = {&OnTopClick, &OnBottomClick, &OnLeftClick, &OnRightClick};
    const fw::TNotifyEvent event = *events[state - 1];
    if (event) event(this);
}

void TKVXScrollSpinButton::DrawCell(fw::TCanvas* canvas, int state) {
    const int W = Width(), H = Height();
    const uint8_t set = machine_.Arrows();
    canvas->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect({0, 0, W, H});
    fw::TRect frame{0, 0, W, H};
    kvx::win32::KVXDrawFrame(canvas, frame, TKVXBorderStyle::lsSingleRaised, 0);
    const Layout layout = LayoutOf(set);
    const bool enabled = state != 5;
    if (layout.up.used) {
        const TPoint p = layout.up.At(W, H);
        kvx::win32::KVXDrawArrow(canvas, p.X, p.Y, 3, fw::clBlack, false, enabled);
    }
    if (layout.down.used) {
        const TPoint p = layout.down.At(W, H);
        kvx::win32::KVXDrawArrow(canvas, p.X, p.Y, 3, fw::clBlack, true, enabled);
    }
    if (layout.left.used) SideArrow(canvas, layout.left.At(W, H), -1);
    if (layout.right.used) SideArrow(canvas, layout.right.At(W, H), 1);
    DrawDivider(canvas, layout.divider, W, H);
    if (SingleArrow(set) && state >= 1 && state <= 4) {
        fw::TRect pressed{0, 0, W, H};
        kvx::win32::KVXDrawFrame(canvas, pressed, TKVXBorderStyle::lsLowered, 0);
    }
}

void TKVXScrollSpinButton::Paint() {
    if (!Enabled()) machine_.EndTracking();
    // The cell is drawn off-screen and copied in one step.
    fw::TBitmap cell;
    cell.SetSize(Width(), Height());
    DrawCell(cell.Canvas(), machine_.State());
    Canvas()->Draw(0, 0, &cell);
}

void TKVXScrollSpinButton::MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    TKVXGraphicControl::MouseDown(button, shift, x, y);
    if (button == fw::TMouseButton::mbLeft && Enabled()) machine_.Press();
}

void TKVXScrollSpinButton::MouseMove(fw::TShiftState shift, int x, int y) {
    TKVXGraphicControl::MouseMove(shift, x, y);
    machine_.Move(Inside(x, y));
}

void TKVXScrollSpinButton::MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    TKVXGraphicControl::MouseUp(button, shift, x, y);
    if (button == fw::TMouseButton::mbLeft) machine_.Release(Inside(x, y));
}

void TKVXScrollSpinButton::CMEnabledChanged(fw::TMessage& message) {
    TKVXGraphicControl::CMEnabledChanged(message);
    machine_.SetEnabled(Enabled());
}

}  // namespace inst::win32
