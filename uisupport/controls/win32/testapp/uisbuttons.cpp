// uisbuttons: every button kind of the UI support suite (media blur button, shaped button, speed
// button, flat speed button) in its four looks, for screenshots and for clicks through the automation
// endpoint. The buttons are made in FormCreate, one row per kind and one column per look; the
// published handler ShowStates puts the hot and pressed columns into their states.
#include <string>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "framework/win32/std_label.h"
#include "uisupport/controls/win32/controlsregister.h"
#include "uisupport/controls/win32/kyvctrls.h"
#include "uisupport/controls/win32/shbtn.h"
#include "uisupport/win32/mlbuttons.h"

namespace {

const char* const kLooks[4] = {"Normal", "Hot", "Pressed", "Disabled"};

// A glyph strip of `cells` 16-pixel cells: a fuchsia ground around a coloured diamond.
void MakeGlyph(fw::TBitmap& glyph, int cells) {
    glyph.SetSize(16 * cells, 16);
    fw::TCanvas* c = glyph.Canvas();
    c->Brush()->SetColor(fw::clFuchsia);
    c->FillRect(fw::Rect(0, 0, 16 * cells, 16));
    const fw::TColor colors[5] = {fw::clNavy, fw::clGray, fw::clMaroon, fw::clGreen, fw::clSilver};
    for (int i = 0; i < cells; ++i) {
        c->Brush()->SetColor(colors[i % 5]);
        c->Pen()->SetColor(colors[i % 5]);
        const fw::TPoint diamond[4] = {{16 * i + 8, 2}, {16 * i + 14, 8}, {16 * i + 8, 14}, {16 * i + 2, 8}};
        c->Polygon(diamond);
    }
}

class TfrmButtons : public fw::TForm {
public:
    using TForm::TForm;
    fw::TLabel* lblClicks = nullptr;

    void FormCreate(fw::TObject*) {
        const char* kinds[4] = {"Blur", "Shape", "Speed", "Flat"};
        fw::TBitmap glyph;
        for (int row = 0; row < 4; ++row) {
            auto* label = fw::Make<fw::TLabel>(this);
            label->SetParent(this);
            label->SetBounds(8, 40 + row * 55, 110, 16);
            label->SetCaption(kinds[row]);
            for (int look = 0; look < 4; ++look) {
                fw::TControl* button = MakeButton(row, glyph);
                button->SetName(std::string("btn") + kinds[row] + kLooks[look]);
                button->SetParent(this);
                button->SetLeft(120 + look * 90);
                button->SetTop(30 + row * 55);
                button->SetEnabled(look != 3);
                button->OnClick = fw::TNotifyEvent(this, &TfrmButtons::ButtonClick);
            }
        }
    }

    // The hot column as if the mouse were over it, the pressed column as if pressed there.
    void ShowStates(fw::TObject*) {
        for (const char* kind : {"Blur", "Shape", "Speed", "Flat"}) {
            Hover(FindComponent(std::string("btn") + kind + "Hot"));
            fw::TControl* pressed = Hover(FindComponent(std::string("btn") + kind + "Pressed"));
            Perform(pressed, WM_LBUTTONDOWN, MK_LBUTTON);
            // The look stays pressed; the mouse is free for the clicks that follow.
            if (pressed) pressed->SetMouseCapture(false);
        }
        Repaint();
    }

    void ButtonClick(fw::TObject* sender) { lblClicks->SetCaption(static_cast<fw::TComponent*>(sender)->Name()); }

private:
    fw::TControl* MakeButton(int row, fw::TBitmap& glyph) {
        switch (row) {
        case 0: {
            auto* b = fw::Make<uis::TmlBlurButton>(this);
            b->SetBounds(0, 0, 80, 30);
            b->SetKind(uis::TmlKind::bkEllipse);
            b->SetBlur(false);
            b->SetColor(fw::clGray);
            b->SetTextColor(fw::clWhite);
            b->SetActiveTextColor(fw::clLime);
            b->SetBevelWidht(1);
            b->SetCaption("OK");
            return b;
        }
        case 1: {
            auto* b = fw::Make<uis::TShBtn>(this);
            b->SetBounds(0, 0, 85, 35);
            b->SetBtnKind(uis::TBtnKind::bkRndRect);
            b->SetBtnColor(fw::clGray);
            b->SetActiveTextColor(fw::clYellow);
            b->SetColor(fw::clBtnFace);
            b->Font()->SetColor(fw::clWhite);
            MakeGlyph(glyph, 4);
            b->SetGlyph(&glyph);
            b->SetCaption("Find");
            return b;
        }
        default: {
            auto* b = fw::Make<uis::TKyvSpeedButton>(this);
            b->SetBounds(0, 0, 60, 40);
            b->SetFlat(row == 3);
            MakeGlyph(glyph, 1);
            b->SetGlyph(&glyph);
            b->SetCaption(row == 3 ? "Flat" : "Speed");
            return b;
        }
        }
    }

    fw::TControl* Hover(fw::TComponent* component) {
        auto* control = dynamic_cast<fw::TControl*>(component);
        if (!control) return nullptr;
        control->Perform(fw::CM_MOUSEENTER, 0, 0);
        Perform(control, WM_MOUSEMOVE, 0);
        return control;
    }

    // A mouse message at the control's middle, in its own coordinates.
    static void Perform(fw::TControl* control, UINT msg, WPARAM keys) {
        if (!control) return;
        control->Perform(msg, keys, MAKELPARAM(control->Width() / 2, control->Height() / 2));
    }
};

void RegisterButtonsForm() {
    uis::RegisterUISupportControlClasses();
    fw::Class<TfrmButtons, fw::TForm>("TfrmButtons")
        .Field("lblClicks", &TfrmButtons::lblClicks)
        .Method("FormCreate", &TfrmButtons::FormCreate)
        .Method("ShowStates", &TfrmButtons::ShowStates)
        .Method("ButtonClick", &TfrmButtons::ButtonClick);
}

}  // namespace

int main() {
    fw::InitApplication();
    RegisterButtonsForm();
    fw::Application->Initialize();
    TfrmButtons* frmButtons = nullptr;
    fw::Application->CreateForm(frmButtons);
    fw::Application->Run();
    fw::DoneApplication();
    return 0;
}
