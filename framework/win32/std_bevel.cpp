// TBevel.
#include "framework/win32/std_bevel.h"

namespace fw {

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    controlStyle_ = csReplicatable;
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape value) {
    shape_ = value;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
    style_ = value;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* canvas = Canvas();
    const TColor dark = clBtnShadow, light = clBtnHighlight;
    const TColor first = style_ == TBevelStyle::bsLowered ? dark : light;
    const TColor second = style_ == TBevelStyle::bsLowered ? light : dark;
    const int w = Width(), h = Height();
    auto line = [&](TColor c, int x1, int y1, int x2, int y2) {
        canvas->Pen()->SetColor(c);
        canvas->MoveTo(x1, y1);
        canvas->LineTo(x2, y2);
    };
    auto box = [&](TColor tl, TColor br, int x1, int y1, int x2, int y2) {
        line(tl, x1, y2, x1, y1);
        line(tl, x1, y1, x2 + 1, y1);
        line(br, x2, y1 + 1, x2, y2 + 1);
        line(br, x1, y2, x2, y2);
    };
    switch (shape_) {
        case TBevelShape::bsBox: box(first, second, 0, 0, w - 1, h - 1); break;
        case TBevelShape::bsFrame:
            box(first, first, 0, 0, w - 2, h - 2);
            box(second, second, 1, 1, w - 1, h - 1);
            break;
        case TBevelShape::bsTopLine:
            line(first, 0, 0, w, 0);
            line(second, 0, 1, w, 1);
            break;
        case TBevelShape::bsBottomLine:
            line(first, 0, h - 2, w, h - 2);
            line(second, 0, h - 1, w, h - 1);
            break;
        case TBevelShape::bsLeftLine:
            line(first, 0, 0, 0, h);
            line(second, 1, 0, 1, h);
            break;
        case TBevelShape::bsRightLine:
            line(first, w - 2, 0, w - 2, h);
            line(second, w - 1, 0, w - 1, h);
            break;
        case TBevelShape::bsSpacer: break;
    }
}

void RegisterBevelClasses() {
    RegisterEnum<TBevelShape>({"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"},
                              "TBevelShape");
    RegisterEnum<TBevelStyle>({"bsLowered", "bsRaised"}, "TBevelStyle");
    Class<TBevel, TGraphicControl>("TBevel")
        .Prop("Shape", &TBevel::Shape, &TBevel::SetShape)
        .Prop("Style", &TBevel::Style, &TBevel::SetStyle);
}

}  // namespace fw
