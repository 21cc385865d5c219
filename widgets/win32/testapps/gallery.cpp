// kvx_gallery: the suite's controls on one form, for a screenshot and for clicks through the real input
// path. The top rows hold the buttons in their four looks (normal, hot, pressed, disabled; ShowStates
// puts the hot and pressed columns into their states); below them labels, the dock button beside an
// edit, a group box, a back panel with a transparent panel, a scroll box, shapes, a shadow strip and an
// animation, each once enabled and once disabled.
#include <string>

#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_label.h"
#include "widgets/win32/dockbutton.h"
#include "widgets/win32/facebutton.h"
#include "widgets/win32/groupbox.h"
#include "widgets/win32/images.h"
#include "widgets/win32/kvximagelist.h"
#include "widgets/win32/labels.h"
#include "widgets/win32/panels.h"
#include "widgets/win32/pushbutton.h"
#include "widgets/win32/register.h"
#include "widgets/win32/scrollbox.h"
#include "widgets/win32/shapes.h"
#include "widgets/win32/speedbutton.h"
#include "widgets/win32/startup.h"

namespace {

using namespace kvx;
using namespace kvx::win32;

const char* const kLooks[4] = {"Normal", "Hot", "Pressed", "Disabled"};

// A picture of Cells 16 x 16 cells: a coloured diamond on fuchsia (the transparent colour).
void PaintCells(fw::TBitmap& picture, int cells, const fw::TColor* colors) {
    picture.SetSize(16 * cells, 16);
    fw::TCanvas* c = picture.Canvas();
    c->Brush()->SetColor(fw::clFuchsia);
    c->FillRect(fw::Rect(0, 0, 16 * cells, 16));
    for (int i = 0; i < cells; ++i) {
        c->Brush()->SetColor(colors[i]);
        c->Pen()->SetColor(colors[i]);
        const fw::TPoint diamond[4] = {{16 * i + 8, 1}, {16 * i + 14, 8}, {16 * i + 8, 15}, {16 * i + 2, 8}};
        c->Polygon(diamond);
    }
}

// An image list of two items: a tile for the back panel, and eight animation frames.
TKVXImageList* MakePictures(fw::TComponent* owner) {
    auto* list = fw::Make<TKVXImageList>(owner);
    auto* tile = new TKVXImageListItem(nullptr, 16, 16);
    fw::TBitmap picture;
    picture.SetSize(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            picture.Canvas()->SetPixels(x, y, ((x / 4 + y / 4) % 2) ? fw::TColor(0xE0C8B0) : fw::TColor(0xC8B098));
    tile->Add(&picture, nullptr);
    list->AddItem(tile);
    auto* frames = new TKVXImageListItem(nullptr, 16, 16);
    for (int i = 0; i < 8; ++i) {
        const fw::TColor colors[1] = {static_cast<fw::TColor>(RGB(30 * i, 200 - 20 * i, 120))};
        PaintCells(picture, 1, colors);
        frames->Add(&picture, nullptr);
    }
    list->AddItem(frames);
    return list;
}

class TfrmGallery : public fw::TForm {
public:
    using TForm::TForm;
    fw::TLabel* lblClicks = nullptr;

    void FormCreate(fw::TObject*) {
        pictures_ = MakePictures(this);
        const char* kinds[2] = {"Speed", "Office"};
        const fw::TColor colors[4] = {fw::clNavy, fw::clGray, fw::clMaroon, fw::clGreen};
        fw::TBitmap glyph;
        PaintCells(glyph, 4, colors);
        for (int row = 0; row < 2; ++row) {
            Heading(8, 34 + row * 34, kinds[row]);
            for (int look = 0; look < 4; ++look) {
                TKVXCustomSpeedButton* b = row == 0 ? fw::Make<TKVXCustomSpeedButton>(this) : fw::Make<TKVXOfficeButton>(this);
                b->SetName(std::string("btn") + kinds[row] + kLooks[look]);
                b->SetParent(this);
                b->SetBounds(90 + look * 100, 28 + row * 34, 80, 28);
                b->SetCaption("Go");
                b->SetGlyph(&glyph);
                b->SetNumGlyphs(4);
                b->SetEnabled(look != 3);
                b->OnClick = fw::TNotifyEvent(this, &TfrmGallery::ButtonClick);
            }
        }
        FaceRow(96);
        PushRow(130);
        for (int look = 0; look < 2; ++look) Column(look, 100 + look * 260);
    }

    // The hot column as if the mouse were over it, the pressed column as if pressed there.
    void ShowStates(fw::TObject*) {
        for (const char* kind : {"Speed", "Office", "Face"}) {
            Hover(FindComponent(std::string("btn") + kind + "Hot"));
            fw::TControl* pressed = Hover(FindComponent(std::string("btn") + kind + "Pressed"));
            MouseAtMiddle(pressed, WM_LBUTTONDOWN, MK_LBUTTON);
            if (pressed) pressed->SetMouseCapture(false);
        }
        if (auto* push = dynamic_cast<TKVXButton*>(FindComponent("btnPushPressed")))
            SendMessageA(push->Handle(), BM_SETSTATE, 1, 0);
        if (auto* ani = dynamic_cast<TKVXAniCtrl*>(FindComponent("aniNormal"))) ani->ShowFrame(3);
        Repaint();
    }

    void ButtonClick(fw::TObject* sender) { lblClicks->SetCaption(static_cast<fw::TComponent*>(sender)->Name()); }

private:
    void Heading(int x, int y, const std::string& text) {
        auto* label = fw::Make<fw::TLabel>(this);
        label->SetParent(this);
        label->SetBounds(x, y, 80, 16);
        label->SetCaption(text);
    }

    template <class T>
    T* Put(fw::TWinControl* parent, const std::string& name, int look, int x, int y, int w, int h) {
        auto* c = fw::Make<T>(this);
        c->SetName(name + kLooks[look == 0 ? 0 : 3]);
        c->SetParent(parent);
        c->SetBounds(x, y, w, h);
        c->SetEnabled(look == 0);
        return c;
    }

    // Image-face buttons: a rounded face per state (up, hot, down, disabled) on white, which is outside.
    void FaceRow(int y) {
        Heading(8, y + 6, "Face");
        auto* list = fw::Make<TKVXImageList>(this);
        auto* item = new TKVXImageListItem(nullptr, 80, 28);
        const fw::TColor colors[4] = {fw::TColor(0xD0A060), fw::TColor(0xF0C080), fw::TColor(0x906030), fw::clSilver};
        for (fw::TColor color : colors) {
            fw::TBitmap face;
            face.SetSize(80, 28);
            fw::TCanvas* c = face.Canvas();
            c->Brush()->SetColor(fw::clWhite);
            c->FillRect(fw::Rect(0, 0, 80, 28));
            c->Brush()->SetColor(color);
            c->Pen()->SetColor(fw::clBlack);
            c->RoundRect(0, 0, 80, 28, 14, 14);
            item->Add(&face, nullptr);
        }
        list->AddItem(item);
        const TKVXButtonState states[4] = {TKVXButtonState::bstUp, TKVXButtonState::bstHot, TKVXButtonState::bstDown,
                                           TKVXButtonState::bstDisabled};
        for (int look = 0; look < 4; ++look) {
            auto* b = fw::Make<TKVXMMButton>(this);
            b->SetName(std::string("btnFace") + kLooks[look]);
            b->SetParent(this);
            b->SetBounds(90 + look * 100, y, 80, 28);
            b->SetButtonFaceImageList(list);
            for (int s = 0; s < 4; ++s) b->SetFace(states[s], {0, s});
            b->SetAllowMouseOver(true);
            b->SetCaption("Face");
            b->SetEnabled(look != 3);
            b->OnClick = fw::TNotifyEvent(this, &TfrmGallery::ButtonClick);
        }
    }

    // Push buttons: normal, default, pressed and disabled.
    void PushRow(int y) {
        Heading(8, y + 6, "Push");
        for (int look = 0; look < 4; ++look) {
            auto* b = fw::Make<TKVXButton>(this);
            b->SetName(std::string("btnPush") + kLooks[look]);
            b->SetParent(this);
            b->SetBounds(90 + look * 100, y, 80, 28);
            b->SetCaption(look == 1 ? "Default" : "&Push");
            b->SetDefault(look == 1);
            b->SetEnabled(look != 3);
            b->OnClick = fw::TNotifyEvent(this, &TfrmGallery::ButtonClick);
        }
    }

    // One column of the other controls: enabled (Look 0) or disabled (Look 1).
    void Column(int look, int x) {
        const int y = 176;
        auto* label = Put<TKVXLabel>(this, "label", look, x, y, 120, 20);
        label->SetCaption("&Label");
        label->FontFx()->SetStyle(TKVXThreeDStyle::tdRaised);

        auto* edit = Put<fw::TEdit>(this, "edt", look, x, y + 28, 100, 22);
        edit->SetText("C:\\");
        auto* dock = Put<TKVXDockSpeedButton>(this, "dock", look, 0, 0, 22, 22);
        dock->SetGlyphKind(TKVXGlyphKind::gkFolder);
        dock->SetControl(edit);

        auto* group = Put<TKVXGroupBox>(this, "grp", look, x, y + 60, 180, 70);
        group->SetCaption("&Dates");
        auto* inGroup = fw::Make<fw::TEdit>(this);
        inGroup->SetParent(group);
        inGroup->SetBounds(12, 24, 100, 22);

        auto* back = Put<TKVXBackPanel>(this, "back", look, x, y + 140, 240, 110);
        back->SetImageList(pictures_);
        auto* inner = fw::Make<TKVXSimplePanel>(this);
        inner->SetParent(back);
        inner->SetBounds(8, 8, 100, 40);
        inner->Bevel()->SetMode(TKVXBevelMode::bmWindows);
        inner->SetTransparent(true);
        auto* glyphLabel = fw::Make<TKVXGlyphLabel>(this);
        glyphLabel->SetParent(inner);
        glyphLabel->SetCaption("Tiled");
        glyphLabel->SetLeft(6);
        auto* scroll = fw::Make<TKVXScrollBox>(this);
        scroll->SetParent(back);
        scroll->SetBounds(116, 8, 116, 94);
        scroll->SetTransparent(true);
        auto* below = fw::Make<fw::TEdit>(this);
        below->SetParent(scroll);
        below->SetBounds(8, 120, 60, 22);
        auto* shape = fw::Make<TKVXTeethShape>(this);
        shape->SetParent(back);
        shape->SetBounds(8, 56, 100, 44);
        shape->Teeth()->SetCount(3);
        shape->Brush()->SetColor(fw::clYellow);
        shape->Shadow()->SetDepth(4);
        shape->ShapeCaption()->SetCaption("Step");
        shape->SetEnabled(look == 0);

        auto* strip = Put<TKVXShadowFill>(this, "shadow", look, x + 240, y + 148, 8, 110);
        strip->SetStyle(TKVXShadowFillStyle::sfShadow);
        auto* ani = Put<TKVXAniCtrl>(this, "ani", look, x + 200, y, 16, 16);
        ani->SetImageList(pictures_);
        ani->SetImageValue(1, 1);
    }

    fw::TControl* Hover(fw::TComponent* component) {
        auto* control = dynamic_cast<fw::TControl*>(component);
        if (!control) return nullptr;
        control->Perform(fw::CM_MOUSEENTER, 0, 0);
        MouseAtMiddle(control, WM_MOUSEMOVE, 0);
        return control;
    }

    static void MouseAtMiddle(fw::TControl* control, UINT msg, WPARAM keys) {
        if (!control) return;
        control->Perform(msg, keys, MAKELPARAM(control->Width() / 2, control->Height() / 2));
    }

    TKVXImageList* pictures_ = nullptr;
};

}  // namespace

int main() {
    fw::InitApplication();
    KVXStartApplication();
    KVXRegisterWin32Classes();
    fw::Class<TfrmGallery, fw::TForm>("TfrmGallery")
        .Field("lblClicks", &TfrmGallery::lblClicks)
        .Method("FormCreate", &TfrmGallery::FormCreate)
        .Method("ShowStates", &TfrmGallery::ShowStates)
        .Method("ButtonClick", &TfrmGallery::ButtonClick);
    fw::Application->Initialize();
    TfrmGallery* frmGallery = nullptr;
    fw::Application->CreateForm(frmGallery);
    fw::Application->Run();
    KVXStopApplication();
    fw::DoneApplication();
    return 0;
}
