// The image-face button under Wine: presses on the face's transparent pixels are ignored, a hot button
// without a hot face is hit where its up face shows, the fallback faces, auto-size, and the face
// table in form text in the older and the newer format.
#include <gtest/gtest.h>

#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "widgets/win32/facebutton.h"
#include "widgets/win32/register.h"
#include "widgets/win32/testsupport/controlhost.h"

namespace kvx::win32 {
namespace {

using S = TKVXButtonState;
using test::Pump;
using test::WindowPixel;

// A 48 x 32 face: white (the face transparent colour) left of x = 16, the colour elsewhere.
std::function<fw::TColor(int, int)> Face(fw::TColor color) {
    return [color](int x, int) { return x < 16 ? fw::clWhite : color; };
}

class KVXFaceButtons : public test::TControlsTest {
protected:
    void SetUp() override {
        faces = fw::Make<TKVXImageList>(form);
        auto* item = new TKVXImageListItem(nullptr, 48, 32);
        for (fw::TColor c : {fw::clRed, fw::clLime, fw::clBlue}) {
            fw::TBitmap picture;
            test::PaintPicture(&picture, 48, 32, Face(c));
            item->Add(&picture, nullptr);
        }
        faces->AddItem(item);
        button = fw::Make<TKVXMMButton>(form);
        button->SetParent(form);
        button->SetBounds(40, 40, 10, 10);
        button->SetButtonFaceStyle(TKVXBitmapStyle::sbAutosize);
        button->SetButtonFaceImageList(faces);
        button->SetFace(S::bstUp, {0, 0});
        button->OnClick.Bind(&clicks, [](void* n, fw::TObject*) { ++*static_cast<int*>(n); });
        Pump();
        button->Repaint();
        Pump();
    }
    void Press(int x, int y) {
        HWND h = form->Handle();
        SendMessageA(h, WM_MOUSEMOVE, 0, MAKELPARAM(40 + x, 40 + y));
        SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40 + x, 40 + y));
        SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(40 + x, 40 + y));
    }
    fw::TColor Shown(int x, int y) { return WindowPixel(form->Handle(), 40 + x, 40 + y); }
    TKVXImageList* faces = nullptr;
    TKVXMMButton* button = nullptr;
    int clicks = 0;
};

TEST_F(KVXFaceButtons, AutosizeAndPressesOnlyOnTheFace) {
    EXPECT_EQ(button->Width(), 48);
    EXPECT_EQ(button->Height(), 32);
    EXPECT_EQ(button->FaceRect(), (TRect{0, 0, 48, 32}));
    EXPECT_EQ(Shown(30, 10), fw::clRed);
    Press(5, 10);  // a white pixel: outside the button
    EXPECT_EQ(clicks, 0);
    Press(30, 10);
    EXPECT_EQ(clicks, 1);
}

TEST_F(KVXFaceButtons, HotWithoutItsOwnFaceIsHitWhereTheUpFaceShows) {
    button->SetAllowMouseOver(true);
    SendMessageA(form->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(40 + 30, 40 + 10));
    Pump();
    EXPECT_EQ(button->State(), S::bstHot);
    EXPECT_EQ(Shown(30, 10), fw::clRed) << "the hot state shows the up face";
    Press(30, 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button->State(), S::bstHot) << "no flicker back to up";
}

TEST_F(KVXFaceButtons, FallbackFaces) {
    button->SetFace(S::bstDown, {0, 1});
    button->SetEnabled(false);
    Pump();
    button->Repaint();
    EXPECT_EQ(Shown(30, 10), fw::clRed) << "disabled falls back to the up face";
    button->SetEnabled(true);
    button->SetFace(S::bstDisabled, {0, 2});
    button->SetEnabled(false);
    Pump();
    button->Repaint();
    EXPECT_EQ(Shown(30, 10), fw::clBlue);
    button->SetEnabled(true);
    button->SetFace(S::bstUp, {0, 9});  // no such picture: the up state shows nothing
    EXPECT_TRUE(button->NoFaceImage(S::bstUp));
    Press(30, 10);
    EXPECT_EQ(clicks, 0);
}

TEST(KVXFaceButtonText, OlderIndicesLoadAndTheNewerAreWritten) {
    KVXRegisterWin32Classes();
    auto* f = fw::TForm::CreateNew<fw::TForm>(nullptr);
    // Pairs one after the other: state 0 (1, 2), state 4 (3, 4).
    std::string pairs;
    const int values[14] = {1, 2, 0, 0, 0, 0, 0, 0, 3, 4, 0, 0, 0, 0};
    static const char kHex[] = "0123456789ABCDEF";
    for (int v : values)
        for (int b = 0; b < 4; ++b) {
            const unsigned byte = (static_cast<unsigned>(v) >> (8 * b)) & 0xFF;
            pairs += kHex[byte >> 4];
            pairs += kHex[byte & 15];
        }
    fw::ReadComponentText(f,
                          "object FaceForm: TForm\n  object Face1: TKVXMMButton\n    ButtonFaceIndices = {" + pairs +
                              "}\n    ButtonFaceTransCol = {FF00FF00}\n  end\nend\n",
                          "FaceForm");
    auto* b = dynamic_cast<TKVXMMButton*>(f->FindComponent("Face1"));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Face(S::bstUp), (TKVXFacePair{1, 2}));
    EXPECT_EQ(b->Face(S::bstDown), (TKVXFacePair{3, 4}));
    EXPECT_EQ(b->FaceTransparentColor(), static_cast<TColor>(0x00FF00FF));
    const std::string written = fw::WriteComponentText(f);
    EXPECT_NE(written.find("ButtonFaceIndicesNew"), std::string::npos) << written;
    EXPECT_EQ(written.find("ButtonFaceIndices ="), std::string::npos) << written;
    f->Free();
    // A value of the wrong length changes nothing.
    auto* g = fw::TForm::CreateNew<fw::TForm>(nullptr);
    fw::ReadComponentText(g, "object FaceForm: TForm\n  object Face1: TKVXMMButton\n    ButtonFaceIndicesNew = {0102}\n  end\nend\n",
                          "FaceForm");
    EXPECT_EQ(dynamic_cast<TKVXMMButton*>(g->FindComponent("Face1"))->Face(S::bstUp), (TKVXFacePair{0, 0}));
    g->Free();
}

}  // namespace
}  // namespace kvx::win32
