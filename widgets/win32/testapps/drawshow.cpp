// kvx_drawshow: one sheet painted by the suite's drawing procedures (bevels, frames, arrows, gradients,
// button frames, caption effects and a shape), for a screenshot of the looks.
#include <string>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "widgets/kvxgraph.h"
#include "widgets/win32/buttonframe.h"
#include "widgets/win32/captiondraw.h"
#include "widgets/win32/framedraw.h"
#include "widgets/win32/shapepaint.h"
#include "widgets/win32/startup.h"

namespace {

using fw::TColor;
using fw::TRect;
using namespace kvx;
using namespace kvx::win32;

class TDrawSheet : public fw::TGraphicControl {
public:
    explicit TDrawSheet(fw::TComponent* owner) : TGraphicControl(owner) {}

protected:
    void Paint() override {
        fw::TCanvas* c = Canvas();
        c->Brush()->SetColor(fw::clBtnFace);
        c->FillRect(ClientRect());
        Bevels(c, 10);
        Frames(c, 70);
        Gradients(c, 130);
        Buttons(c, 215);
        Captions(c, 275);
    }

private:
    static void Label(fw::TCanvas* c, int x, int y, const std::string& text) {
        c->Brush()->SetStyle(fw::TBrushStyle::bsClear);
        c->Font()->SetColor(fw::clBtnText);
        c->TextOut(x, y, text);
    }

    static void Bevels(fw::TCanvas* c, int y) {
        Label(c, 10, y, "Bevels");
        const TKVXBevelStyle styles[] = {TKVXBevelStyle::bvLowered, TKVXBevelStyle::bvRaised, TKVXBevelStyle::bvFrameLowered,
                                         TKVXBevelStyle::bvFrameRaised, TKVXBevelStyle::bvNormal};
        int x = 80;
        for (TKVXBevelStyle s : styles) {
            TRect r{x, y, x + 44, y + 44};
            KVXDrawBevel(c, r, s, fw::clBtnHighlight, fw::clBtnShadow, 2);
            x += 56;
        }
        TRect r{x, y, x + 44, y + 44};
        KVXDrawShadowBevel(c, r, fw::clBlack, fw::clBtnShadow, fw::clBtnFace, 5, 1, false);
        KVXDrawArrow(c, x + 70, y + 10, 6, fw::clBlack, true, true);
        KVXDrawArrow(c, x + 90, y + 10, 6, fw::clBlack, false, true);
        KVXDrawArrow(c, x + 110, y + 10, 6, fw::clBlack, true, false);
    }

    static void Frames(fw::TCanvas* c, int y) {
        Label(c, 10, y, "Frames");
        int x = 80;
        for (int s = 1; s <= static_cast<int>(TKVXBorderStyle::lsDoubleLowered); ++s) {
            TRect r{x, y, x + 32, y + 44};
            KVXDrawFrame(c, r, static_cast<TKVXBorderStyle>(s), 0);
            x += 40;
        }
    }

    static void Gradients(fw::TCanvas* c, int y) {
        Label(c, 10, y, "Gradients");
        int x = 80;
        for (int s = 0; s <= static_cast<int>(TKVXGradientStyle::gstBottomRight); ++s) {
            KVXFillGradient(c, {x, y, x + 64, y + 70}, fw::clBlue, fw::clBlack, 16, static_cast<TKVXGradientStyle>(s),
                            kpfClip, 0);
            x += 72;
        }
    }

    static void Buttons(fw::TCanvas* c, int y) {
        Label(c, 10, y, "Buttons");
        struct Look {
            TKVXUserButtonStyle style;
            uint8_t state;
            uint16_t flags;
        };
        const Look looks[] = {{TKVXUserButtonStyle::ubsWin31, 0, kbfCorners},  {TKVXUserButtonStyle::ubsWin40, 0, kbfFocused},
                              {TKVXUserButtonStyle::ubsWin40, 4, kbfDefault}, {TKVXUserButtonStyle::ubsTrevik, 0, kbfDefault},
                              {TKVXUserButtonStyle::ubsFlat, 2, 0},           {TKVXUserButtonStyle::ubsFlat, kButtonLatched, 0},
                              {TKVXUserButtonStyle::ubsNavigator, 4, 0}};
        int x = 80;
        for (const Look& l : looks) {
            TRect r{x, y, x + 72, y + 44};
            KVXDrawButtonFrame(c, false, r, l.style, l.state, l.flags, fw::clBtnFace);
            x += 80;
        }
    }

    static void Captions(fw::TCanvas* c, int y) {
        Label(c, 10, y, "Captions");
        c->Font()->SetName("Tahoma");
        c->Font()->SetSize(14);
        c->Font()->SetColor(fw::clNavy);
        int x = 80, row = 0;
        for (int s = 0; s <= static_cast<int>(TKVXThreeDStyle::tdShadow); ++s) {
            TKVX3DCaption caption;
            caption.SetStyle(static_cast<TKVXThreeDStyle>(s));
            caption.SetDepth(0, 2);
            caption.SetDepth(1, 2);
            caption.SetColor(0, fw::clWhite);
            caption.SetColor(1, fw::clGray);
            c->Brush()->SetColor(fw::clMaroon);
            KVXDrawCaptionText(c, "Caption", &caption, {x, y + 40 * row, x + 130, y + 40 * row + 30}, 0x20 | 0x800, ktfEnabled,
                               nullptr);
            x += 140;
            if (x > 520) x = 80, ++row;
        }
        TKVXFxCaption turned;
        turned.SetAngle(30);
        turned.SetStyle(TKVXThreeDStyle::tdRaised);
        fw::TFont* f = c->Font();
        TRect measured{0, 0, 200, 0};
        KVXMeasureCaption("Turned", &turned, measured, f, false, false, 0, 0);
        KVXDrawCaptionText(c, "Turned", &turned, fw::OffsetRect(measured, 520, y + 40), 0x20, ktfEnabled, nullptr);
        TKVXSimpleBevel bevel;
        bevel.SetStyle(TKVXSimpleBevelStyle::sbInset);
        TKVXShadow shadow;
        shadow.SetDepth(4);
        fw::TBrush brush;
        brush.SetColor(fw::clYellow);
        KVXPaintShape({500, y + 100, 560, y + 150}, c, TKVXShapeType::stStar, nullptr, nullptr, false, &brush, 0, &bevel,
                      &shadow, nullptr, fw::clBtnFace, fw::clBtnFace);
        KVXPaintShape({570, y + 100, 640, y + 150}, c, TKVXShapeType::stOctagon, nullptr, nullptr, false, &brush, 0, &bevel,
                      &shadow, nullptr, fw::clBtnFace, fw::clBtnFace);
    }
};

class TfrmDraw : public fw::TForm {
public:
    using TForm::TForm;
    TDrawSheet* Sheet = nullptr;
};

}  // namespace

int main() {
    fw::InitApplication();
    KVXStartApplication();
    fw::Class<TDrawSheet, fw::TGraphicControl>("TDrawSheet");
    fw::Class<TfrmDraw, fw::TForm>("TfrmDraw").Field("Sheet", &TfrmDraw::Sheet);
    fw::Application->Initialize();
    TfrmDraw* frmDraw = nullptr;
    fw::Application->CreateForm(frmDraw);
    fw::Application->Run();
    KVXStopApplication();
    fw::DoneApplication();
    return 0;
}
