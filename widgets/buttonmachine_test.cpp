#include "widgets/buttonmachine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kvx {
namespace {

using S = TKVXButtonState;

// A button of 20 x 20 whose pointer and pixels the test sets; it records what the machine asks for.
class FakeButton : public TKVXButtonHost {
public:
    FakeButton() : machine(*this) {}

    TKVXButtonMachine machine;
    std::vector<FakeButton*> group;  // the other controls of the parent
    bool pointerInside = true;
    bool hoverLook = true;
    bool ignore = false;
    int clicks = 0, repeats = 0, enters = 0, exits = 0, repaints = 0, invalidates = 0, hints = 0, menus = 0;
    bool hoverTimer = false, repeatTimer = false;
    S stateInMenu = S::bstUp;
    int opaqueFrom = 0;  // PointInButton is false left of this column

    void StateRepaint() override { ++repaints; }
    void StateInvalidate() override { ++invalidates; }
    bool HoverChangesLook() override { return hoverLook; }
    bool IgnoreStateChanges() override { return ignore; }
    bool ButtonVisible() override { return true; }
    void StartHoverTimer() override { hoverTimer = true; }
    void StopHoverTimer() override { hoverTimer = false; }
    void StartRepeatTimer() override { repeatTimer = true; }
    void StopRepeatTimer() override { repeatTimer = false; }
    void Click() override { ++clicks; }
    void DoClick() override { ++repeats; }
    void MouseEnterEvent() override { ++enters; }
    void MouseExitEvent() override { ++exits; }
    void MouseInsideChanged() override {}
    void HideApplicationHint() override { ++hints; }
    bool PointInButton(int x, int y) override { return x >= opaqueFrom && x <= 20 && y >= 0 && y <= 20; }
    bool PointerInside() override { return pointerInside; }
    int ButtonWidth() override { return 20; }
    int ButtonHeight() override { return 20; }
    void BroadcastPressed() override {
        for (FakeButton* b : group)
            if (b != this && b->machine.GroupIndex() == machine.GroupIndex())
                b->machine.OtherPressed(machine.Pressed(), machine.AllowAllUp);
    }
    void RunDropDownMenu() override {
        ++menus;
        stateInMenu = machine.State();
    }

    // A speed button: hot tracking, no see-through pixels.
    void MakeSpeed() {
        machine.AllowMouseOver = true;
        machine.AllowTransparency = false;
    }
    void Enter() { machine.MouseEnter(); }
    void Press() { machine.MouseDown(10, 10); }
    void Release(int x = 10) { machine.MouseUp(x, 10); }
    void ClickInside() {
        Press();
        Release();
    }
};

struct Step {
    char event;  // e enter, l leave, d down, u up inside, o up outside, m move outside, b move back inside
    S want;
};

TEST(KVXButtonMachine, SpeedButtonTransitions) {
    struct Case {
        const char* name;
        std::vector<Step> steps;
        int clicks;
    };
    const Case cases[] = {
        {"hover and leave", {{'e', S::bstHot}, {'l', S::bstUp}}, 0},
        {"click", {{'e', S::bstHot}, {'d', S::bstDown}, {'u', S::bstHot}}, 1},
        {"drag out and release", {{'e', S::bstHot}, {'d', S::bstDown}, {'m', S::bstUp}, {'o', S::bstUp}}, 0},
        {"drag out and back", {{'e', S::bstHot}, {'d', S::bstDown}, {'m', S::bstUp}, {'b', S::bstDown}, {'u', S::bstHot}}, 1},
    };
    for (const Case& c : cases) {
        FakeButton b;
        b.MakeSpeed();
        for (const Step& s : c.steps) {
            switch (s.event) {
                case 'e': b.Enter(); break;
                case 'l': b.machine.MouseExit(); break;
                case 'd': b.Press(); break;
                case 'u': b.Release(); break;
                case 'o': b.Release(40); break;
                case 'm': b.machine.MouseMove(40, 10); break;
                case 'b': b.machine.MouseMove(10, 10); break;
            }
            EXPECT_EQ(b.machine.State(), s.want) << c.name << " after '" << s.event << "'";
        }
        EXPECT_EQ(b.clicks, c.clicks) << c.name;
    }
}

TEST(KVXButtonMachine, EnterAndExitEventsFireOnceEach) {
    FakeButton b;
    b.MakeSpeed();
    b.Enter();
    b.machine.MouseMove(5, 5);
    b.Enter();
    EXPECT_EQ(b.enters, 1);
    b.machine.MouseExit();
    b.machine.MouseExit();
    EXPECT_EQ(b.exits, 1);
    EXPECT_EQ(b.hints, 2);
}

TEST(KVXButtonMachine, HoverTimerRunsWhileHotAndReturnsToThePreviousState) {
    FakeButton b;
    b.MakeSpeed();
    b.Enter();
    EXPECT_TRUE(b.hoverTimer);
    // The pointer left without a leave message: the next tick finds it outside.
    b.pointerInside = false;
    b.machine.CheckMouseLeave();
    EXPECT_EQ(b.machine.State(), S::bstUp);
    EXPECT_FALSE(b.hoverTimer);
    EXPECT_FALSE(b.machine.MouseInside());
    EXPECT_EQ(b.exits, 1);
    // A late leave message adds no second exit.
    b.machine.MouseExit();
    EXPECT_EQ(b.exits, 1);
}

TEST(KVXButtonMachine, HoverWithoutLookChangeDoesNotRepaint) {
    FakeButton b;
    b.MakeSpeed();
    b.hoverLook = false;
    b.Enter();
    EXPECT_EQ(b.machine.State(), S::bstHot);
    EXPECT_EQ(b.repaints, 0);
    b.Press();
    EXPECT_EQ(b.repaints, 1);
}

TEST(KVXButtonMachine, GroupOfThreeLatchesOneAtATime) {
    FakeButton b[3];
    for (FakeButton& x : b) {
        x.MakeSpeed();
        x.machine.SetGroupIndex(1);
        for (FakeButton& y : b) x.group.push_back(&y);
    }
    b[0].machine.SetPressed(true);
    EXPECT_EQ(b[0].machine.State(), S::bstLatched);
    // Pressing the second releases the first.
    b[1].Enter();
    b[1].ClickInside();
    EXPECT_TRUE(b[1].machine.Pressed());
    EXPECT_EQ(b[1].machine.State(), S::bstLatched);
    EXPECT_FALSE(b[0].machine.Pressed());
    EXPECT_EQ(b[0].machine.State(), S::bstUp);
    EXPECT_EQ(b[1].clicks, 1);
    // Pressing the pressed one again: nothing, no click.
    b[1].ClickInside();
    EXPECT_TRUE(b[1].machine.Pressed());
    EXPECT_EQ(b[1].clicks, 1);
    // Assignment cannot release a pressed member without AllowAllUp.
    b[1].machine.SetPressed(false);
    EXPECT_TRUE(b[1].machine.Pressed());
}

TEST(KVXButtonMachine, AllowAllUpSpreadsThroughTheGroup) {
    FakeButton b[2];
    for (FakeButton& x : b) {
        x.MakeSpeed();
        x.machine.SetGroupIndex(3);
        for (FakeButton& y : b) x.group.push_back(&y);
    }
    b[0].machine.AllowAllUp = true;
    b[0].machine.SetPressed(true);  // tells the group, which takes over AllowAllUp
    EXPECT_TRUE(b[1].machine.AllowAllUp);
    b[0].ClickInside();
    EXPECT_FALSE(b[0].machine.Pressed());
    EXPECT_EQ(b[0].clicks, 1);
    EXPECT_FALSE(b[1].machine.Pressed());
}

TEST(KVXButtonMachine, PressedNeedsAGroup) {
    FakeButton b;
    b.machine.SetPressed(true);
    EXPECT_FALSE(b.machine.Pressed());
    EXPECT_EQ(b.machine.State(), S::bstUp);
}

TEST(KVXButtonMachine, ReleaseOutsideRestoresTheLatch) {
    FakeButton b;
    b.MakeSpeed();
    b.machine.SetGroupIndex(1);
    b.machine.AllowAllUp = true;
    b.machine.SetPressed(true);
    b.Press();
    b.machine.MouseMove(40, 10);  // a latched group member keeps its look while held outside
    EXPECT_EQ(b.machine.State(), S::bstLatched);
    b.Release(40);
    EXPECT_EQ(b.machine.State(), S::bstLatched);
    EXPECT_TRUE(b.machine.Pressed());
    EXPECT_EQ(b.clicks, 0);
}

TEST(KVXButtonMachine, RepeatedClickFiresOnPressAndOnTicksNotOnRelease) {
    FakeButton b;
    b.MakeSpeed();
    b.machine.RepeatedClick = true;
    b.Enter();
    b.Press();
    EXPECT_EQ(b.repeats, 1);
    EXPECT_TRUE(b.repeatTimer);
    b.machine.RepeatTick();
    b.machine.RepeatTick();
    EXPECT_EQ(b.repeats, 3);
    b.machine.MouseExit();
    b.machine.RepeatTick();  // not while the pointer is away
    EXPECT_EQ(b.repeats, 3);
    b.Release();
    EXPECT_FALSE(b.repeatTimer);
    EXPECT_EQ(b.clicks, 0);
}

TEST(KVXButtonMachine, DropDownMenuInsteadOfAClick) {
    FakeButton b;
    b.MakeSpeed();
    b.machine.HasDropDownMenu = true;
    b.Enter();
    b.ClickInside();
    EXPECT_EQ(b.menus, 1);
    EXPECT_EQ(b.stateInMenu, S::bstDropped);
    EXPECT_EQ(b.machine.State(), S::bstHot);
    EXPECT_EQ(b.clicks, 0);
    // The accelerator drops it too.
    b.machine.Accelerator();
    EXPECT_EQ(b.menus, 2);
}

TEST(KVXButtonMachine, EnablingFollowsPressed) {
    FakeButton b;
    b.machine.SetGroupIndex(2);
    b.machine.SetPressed(true);
    b.machine.EnabledChanged(false);
    EXPECT_EQ(b.machine.State(), S::bstLatchedDisabled);
    b.machine.EnabledChanged(true);
    EXPECT_EQ(b.machine.State(), S::bstLatched);
    FakeButton c;
    c.machine.EnabledChanged(false);
    EXPECT_EQ(c.machine.State(), S::bstDisabled);
    c.Press();  // a disabled button takes no press
    EXPECT_FALSE(c.machine.MouseIsDown());
}

TEST(KVXButtonMachine, TransparentPixelsIgnorePresses) {
    FakeButton b;  // AllowTransparency on, as the base button
    b.opaqueFrom = 8;
    b.machine.MouseDown(3, 10);
    EXPECT_EQ(b.machine.State(), S::bstUp);
    EXPECT_FALSE(b.machine.MouseIsDown());
    b.machine.MouseDown(12, 10);
    EXPECT_EQ(b.machine.State(), S::bstDown);
    b.machine.MouseUp(12, 10);
    EXPECT_EQ(b.clicks, 1);
}

TEST(KVXButtonMachine, InactiveMdiIgnoresStateChanges) {
    FakeButton b;
    b.MakeSpeed();
    b.machine.NumGlyphs = 3;
    b.ignore = true;
    b.Enter();
    EXPECT_EQ(b.machine.State(), S::bstUp);
    b.Press();
    EXPECT_EQ(b.machine.State(), S::bstUp);
    b.Release();
    EXPECT_EQ(b.clicks, 1);  // the click itself still happens
}

TEST(KVXButtonMachine, AcceleratorTogglesAGroupButtonAndClicksAPlainOne) {
    FakeButton g;
    g.MakeSpeed();
    g.machine.SetGroupIndex(1);
    g.machine.Accelerator();
    EXPECT_TRUE(g.machine.Pressed());
    EXPECT_EQ(g.machine.State(), S::bstLatched);
    EXPECT_EQ(g.clicks, 1);
    FakeButton p;
    p.MakeSpeed();
    p.pointerInside = false;
    p.machine.Accelerator();
    EXPECT_EQ(p.clicks, 1);
    EXPECT_FALSE(p.machine.MouseInside());
}

TEST(KVXButtonMachine, RepeatIntervalsMustSuitThePool) {
    for (int ok : {50, 100, 150, 65500}) EXPECT_TRUE(KVXValidRepeatInterval(ok)) << ok;
    for (int bad : {0, 25, 75, 120, 65535, -50}) EXPECT_FALSE(KVXValidRepeatInterval(bad)) << bad;
}

}  // namespace
}  // namespace kvx
