// The picture controls on a real form under Wine: the animation runs on the application's timer pool
// and shows each frame's colour; the frame bounds, the pool interval and the end of a run; an auto-sized
// image without a picture.
#include <gtest/gtest.h>

#include "widgets/win32/images.h"
#include "widgets/win32/testsupport/controlhost.h"

namespace kvx::win32 {
namespace {

using test::Pump;
using test::WindowPixel;

constexpr int kFrames = 29;

fw::TColor FrameColor(int frame) { return static_cast<fw::TColor>(RGB(frame * 8, 255 - frame * 8, 40)); }

class KVXAnimation : public test::TControlsTest {
protected:
    void SetUp() override {
        list = fw::Make<TKVXImageList>(form);
        auto* item = new TKVXImageListItem(nullptr, 16, 16);
        for (int i = 0; i < kFrames; ++i) {
            fw::TBitmap picture;
            // The bottom-left pixel is the frame's transparent colour.
            test::PaintPicture(&picture, 16, 16, [i](int x, int y) { return x == 0 && y == 15 ? fw::clFuchsia : FrameColor(i); });
            item->Add(&picture, nullptr);
        }
        list->AddItem(item);
        ani = fw::Make<TKVXAniCtrl>(form);
        ani->SetParent(form);
        ani->SetBounds(20, 20, 16, 16);
        ani->SetImageList(list);
        ani->OnAnimate.Bind(&frames, [](void* n, fw::TObject*) { ++*static_cast<int*>(n); });
    }
    fw::TColor Shown() { return WindowPixel(form->Handle(), 28, 28); }
    TKVXImageList* list = nullptr;
    TKVXAniCtrl* ani = nullptr;
    int frames = 0;
};

TEST_F(KVXAnimation, RunsOnThePoolAndShowsEachFrame) {
    EXPECT_EQ(ani->StopFrame(), kFrames - 1);
    ani->SetInterval(100);
    EXPECT_EQ(ani->Interval(), 100);
    ani->SetAnimate(true);
    EXPECT_EQ(frames, 1) << "the first frame is drawn at the start";
    test::PumpFor(1000);
    ani->SetAnimate(false);
    // About ten ticks in a second; loose bounds for a loaded machine.
    EXPECT_GE(frames, 5);
    EXPECT_LE(frames, 14);
    EXPECT_EQ(ani->Frame(), 0) << "asLoop returns to the first frame";
    Pump();
    EXPECT_EQ(Shown(), FrameColor(0));
    // Steps drawn at once show their frame.
    ani->SetAnimate(true);
    ani->Step();
    ani->Step();
    EXPECT_EQ(ani->Frame(), 2);
    EXPECT_EQ(Shown(), FrameColor(2));
    ani->SetAnimate(false);
}

TEST_F(KVXAnimation, IntervalsBoundsAndTheEndOfARun) {
    ani->SetInterval(120);
    EXPECT_EQ(ani->Interval(), 150) << "the pool serves multiples of 50 ms";
    ani->SetInterval(65535);
    EXPECT_EQ(ani->Interval(), 65500);
    ani->SetStopFrame(5);
    ani->SetStartFrame(10);
    EXPECT_EQ(ani->StartFrame(), 5);
    EXPECT_EQ(ani->StopFrame(), 10);
    ani->SetStartFrame(kFrames);  // past the entry: ignored
    EXPECT_EQ(ani->StartFrame(), 5);
    // One run that hides the control at its end.
    ani->SetAnimationStyle(TKVXAnimationStyle::asRepeatHide);
    ani->SetAnimate(true);
    for (int i = 0; i < 6; ++i) ani->Step();
    EXPECT_FALSE(ani->Animate());
    EXPECT_FALSE(ani->Visible());
    // An invisible control without MakeVisible does not start.
    ani->SetMakeVisible(false);
    ani->SetAnimate(true);
    EXPECT_FALSE(ani->Animate());
}

TEST_F(KVXAnimation, AutoSizedImageWithoutAPicture) {
    auto* image = fw::Make<TKVXLImage>(form);
    image->SetParent(form);
    image->Bevel()->SetMode(TKVXBevelMode::bmStandard);
    image->Bevel()->SetStandardStyle(TKVXBorderStyle::lsLowered);
    image->SetStyle(TKVXBitmapStyle::sbAutosize);
    Pump();
    image->Repaint();
    EXPECT_EQ(image->Width(), 20 + image->BevelWidths());
    image->SetImageList(list);
    image->Repaint();
    EXPECT_EQ(image->Width(), 16 + image->BevelWidths());
}

}  // namespace
}  // namespace kvx::win32
