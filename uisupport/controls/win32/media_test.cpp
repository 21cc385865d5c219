// The wave player, the media bevel and the blur buttons on Wine: a sox-made wave saved byte for byte,
// the play flags through the sound seam, faces read back as pixels, and the mouse and key paths.
#include <gtest/gtest.h>

#include <vector>

#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "testing/unix_script.h"
#include "uisupport/controls/win32/button_test_support.h"
#include "uisupport/controls/win32/controlsregister.h"
#include "uisupport/win32/mlbuttons.h"
#include "uisupport/win32/waveplayer.h"

namespace uis {
namespace {

struct SoundCall {
    const void* sound;
    uint32_t flags;
};
std::vector<SoundCall> g_sounds;

bool RecordSound(const void* sound, uint32_t flags) {
    g_sounds.push_back({sound, flags});
    return true;
}

class MediaTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::InitApplication();
        RegisterUISupportControlClasses();
        SetSoundSeam(&RecordSound);
        g_sounds.clear();
        form = fw::TForm::CreateNew<fw::TForm>(nullptr);
        form->SetName("frmMedia");
        form->SetBounds(40, 40, 320, 200);
        form->SetColor(fw::clRed);
    }
    void TearDown() override {
        form->Free();
        SetSoundSeam(nullptr);
        fw::DoneApplication();
    }
    // A wave made by sox in a fresh folder; returns its Windows path.
    std::string SoxWave(const test::CaseDir& d) {
        EXPECT_EQ(mx::test::RunUnixScript(d.unix, d.win,
                                          "cd '" + d.unix + "' && sox -n -r 8000 -b 8 -c 1 tone.wav synth 0.1 sine 440"),
                  0)
            << "sox (Debian package sox) must be installed";
        return d.win + "\\tone.wav";
    }
    fw::TForm* form = nullptr;
};

TEST_F(MediaTest, ASoxWaveSavesByteForByteAndThroughFormText) {
    const test::CaseDir d = test::NewCaseDir();
    const std::string source = SoxWave(d);
    auto* player = fw::Make<TmlWavePlayer>(form);
    player->SetName("Player1");
    player->Wave()->LoadFromFile(source);
    const std::string copy = d.win + "\\copy.wav";
    player->Wave()->SaveToFile(copy);
    EXPECT_EQ(mx::test::ReadFile(copy), mx::test::ReadFile(source));
    EXPECT_EQ(mx::test::RunUnixScript(d.unix, d.win, "sox --i '" + d.unix + "/copy.wav' > /dev/null"), 0);

    // The image travels as the binary property Data of the player's wave.
    const std::string text = fw::WriteComponentText(form);
    EXPECT_NE(text.find("Wave.Data = {"), std::string::npos) << text.substr(0, 400);
    auto* other = fw::TForm::CreateNew<fw::TForm>(nullptr);
    fw::ReadComponentText(other, text, "frmMedia");
    auto* read = dynamic_cast<TmlWavePlayer*>(other->FindComponent("Player1"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(read->Wave()->Memory()), read->Wave()->Size()),
              mx::test::ReadFile(source));
    other->Free();
}

TEST_F(MediaTest, PlayFlagsReachTheSoundCallAndAsyncSoundsStopBeforeTheirImageChanges) {
    const test::CaseDir d = test::NewCaseDir();
    const std::string source = SoxWave(d);
    auto* player = fw::Make<TmlWavePlayer>(form);
    std::vector<std::string> events;
    player->BeforePlay.Bind(&events, [](void* e, fw::TObject*) { static_cast<std::vector<std::string>*>(e)->push_back("before"); });
    player->AfterPlay.Bind(&events, [](void* e, fw::TObject*) { static_cast<std::vector<std::string>*>(e)->push_back("after"); });

    player->Play();  // an empty wave plays nothing and raises nothing
    EXPECT_TRUE(g_sounds.empty());
    EXPECT_EQ(events, (std::vector<std::string>{"before", "after"}));

    player->Wave()->LoadFromFile(source);
    player->Play();  // [wpoSync]: SND_MEMORY alone
    ASSERT_EQ(g_sounds.size(), 1u);
    EXPECT_EQ(g_sounds[0].flags, 4u);
    EXPECT_EQ(g_sounds[0].sound, player->Wave()->Memory());

    player->SetOptions({TmlWavePlayOpt::wpoAsync, TmlWavePlayOpt::wpoNoDefault, TmlWavePlayOpt::wpoLoop});
    player->Play();
    EXPECT_EQ(g_sounds.back().flags, 4u | 1u | 2u | 8u);
    g_sounds.clear();
    player->Wave()->LoadFromFile(source);  // the playing image goes: the sound stops first
    ASSERT_FALSE(g_sounds.empty());
    EXPECT_EQ(g_sounds.front().sound, nullptr);
    EXPECT_EQ(g_sounds.front().flags, 0u);

    player->SetEnabled(false);
    g_sounds.clear();
    player->Play();
    EXPECT_TRUE(g_sounds.empty());
    player->Free();  // destroying stops any sound
    ASSERT_EQ(g_sounds.size(), 1u);
    EXPECT_EQ(g_sounds[0].sound, nullptr);
}

TEST_F(MediaTest, AnEllipticFaceShowsItsParentInTheCornersAndItsColourInside) {
    auto* button = fw::Make<TmlBlurButton>(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 90, 30);
    button->SetKind(TmlKind::bkEllipse);
    button->SetBlur(false);
    button->SetColor(fw::clGray);
    button->SetBackColor(fw::clBtnFace);
    button->SetTextColor(fw::clWhite);
    button->SetCaption("");
    button->SetTransparent(true);
    form->HandleNeeded();  // the parent paints what lies under the button
    fw::TBitmap shot;
    test::Snapshot(button, shot);
    fw::TCanvas* c = shot.Canvas();
    EXPECT_EQ(c->Pixels(1, 1), fw::clRed);    // the form behind the corner
    EXPECT_EQ(c->Pixels(88, 28), fw::clRed);
    EXPECT_EQ(c->Pixels(45, 15), fw::clGray); // the face
    EXPECT_EQ(c->Pixels(20, 15), fw::clGray);

    button->SetTransparent(false);
    test::Snapshot(button, shot);
    EXPECT_EQ(shot.Canvas()->Pixels(1, 1), fw::ColorToRGB(fw::clBtnFace));  // opaque: BackColor
    EXPECT_EQ(shot.Canvas()->Pixels(45, 15), fw::clGray);

    // The rectangle keeps its black frame; a blurred face softens it.
    button->SetKind(TmlKind::bkRect);
    test::Snapshot(button, shot);
    EXPECT_EQ(shot.Canvas()->Pixels(0, 0), fw::clBlack);
    button->SetBlur(true);
    test::Snapshot(button, shot);
    EXPECT_NE(shot.Canvas()->Pixels(0, 5), fw::clBlack);
}

TEST_F(MediaTest, PressMoveOutAndReleaseGivesNoClickButEnterDoes) {
    auto* button = fw::Make<TmlBlurButton>(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 90, 30);
    button->SetModalResult(fw::mrOk);
    int clicks = 0;
    button->OnClick.Bind(&clicks, [](void* c, fw::TObject*) { ++*static_cast<int*>(c); });
    form->Show();
    test::Pump();  // the first paint builds the faces
    HWND window = button->Handle();
    ASSERT_EQ(button->CurrentFace(), 0);
    button->Perform(fw::CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(button->Hot());
    test::Mouse(window, WM_LBUTTONDOWN, 20, 10, MK_LBUTTON);
    EXPECT_EQ(button->PressState(), TPressState::psPressed);
    EXPECT_EQ(button->CurrentFace(), 2);
    test::Mouse(window, WM_MOUSEMOVE, -30, -30, MK_LBUTTON);
    EXPECT_EQ(button->PressState(), TPressState::psPressedOutside);
    EXPECT_EQ(button->CurrentFace(), 1);
    test::Mouse(window, WM_LBUTTONUP, -30, -30);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(button->PressState(), TPressState::psNone);
    button->Perform(fw::CM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(button->CurrentFace(), 0);  // the face is normal again once the mouse left

    test::Mouse(window, WM_LBUTTONDOWN, 20, 10, MK_LBUTTON);
    test::Mouse(window, WM_LBUTTONUP, 20, 10);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form->ModalResult(), fw::mrOk);

    form->SetModalResult(fw::mrNone);
    button->SetFocus();
    SendMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(clicks, 2);
}

TEST_F(MediaTest, AMediaBevelDrawsItsTwoColoursAndNothingAtWidthZero) {
    auto* bevel = fw::Make<TmlMediaBevel>(form);
    bevel->SetParent(form);
    bevel->SetBounds(20, 20, 50, 50);
    bevel->SetInnerColor(fw::clWhite);
    bevel->SetOuterColor(fw::clBlack);
    fw::TBitmap shot;
    test::Snapshot(form, shot);
    EXPECT_EQ(shot.Canvas()->Pixels(20, 20), fw::clWhite);
    EXPECT_EQ(shot.Canvas()->Pixels(21, 40), fw::clWhite);
    EXPECT_EQ(shot.Canvas()->Pixels(69, 69), fw::clBlack);
    EXPECT_EQ(shot.Canvas()->Pixels(68, 40), fw::clBlack);
    EXPECT_EQ(shot.Canvas()->Pixels(45, 45), fw::clRed);  // the inside is not filled
    bevel->SetBevelWidth(0);
    test::Snapshot(form, shot);
    EXPECT_EQ(shot.Canvas()->Pixels(20, 20), fw::clRed);
}

}  // namespace
}  // namespace uis
