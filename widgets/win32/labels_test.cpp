// The labels on a real form under Wine: the auto size against the system's own measure, jump targets
// through the shell seam, a turned raster font, and the accelerator that focuses FocusControl.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/win32/std_edit.h"
#include "widgets/win32/captiondraw.h"
#include "widgets/win32/labels.h"
#include "widgets/win32/testsupport/controlhost.h"
#include "widgets/win32/testsupport/dibcanvas.h"

namespace kvx::win32 {
namespace {

using test::Pump;

class KVXLabels : public test::TControlsTest {
protected:
    void TearDown() override {
        KVXSetShellOpen(nullptr);
        test::TControlsTest::TearDown();
    }
};

TEST_F(KVXLabels, AutoSizeIsTheSystemMeasurePlusTheDepth) {
    auto* label = fw::Make<TKVXSimpleLabel>(form);
    label->SetParent(form);
    label->SetCaption("Archive\tsize: 12 MB");
    label->Font3D()->SetStyle(TKVXThreeDStyle::tdRaisedShadow);
    label->Font3D()->SetDepth(0, 2);
    label->Font3D()->SetDepth(1, 3);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, label->Font()->Handle());
    RECT r{0, 0, 0, 0};
    DrawTextA(dc, "Archive\tsize: 12 MB", -1, &r, DT_CALCRECT | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(label->Width(), r.right + 5);
    EXPECT_EQ(label->Height(), r.bottom + 5);
}

TEST_F(KVXLabels, JumpTargetsGoThroughTheShell) {
    std::vector<std::string> opened;
    intptr_t answer = 42;
    KVXSetShellOpen([&](const std::string& target) {
        opened.push_back(target);
        return answer;
    });
    auto* mail = fw::Make<TKVXSimpleLabel>(form);
    mail->SetParent(form);
    mail->SetCaption("support@example.org");
    mail->SetJumpMode(TKVXJumpModes::jmInternet);
    mail->Click();
    auto* app = fw::Make<TKVXSimpleLabel>(form);
    app->SetParent(form);
    app->SetCaption("notepad.exe");
    app->SetJumpMode(TKVXJumpModes::jmApplication);
    app->Click();
    EXPECT_EQ(opened, (std::vector<std::string>{"mailto:support@example.org", "notepad.exe"}));
    // A web link that fails cannot be clicked again; a program that did not start stays clickable.
    answer = 2;
    app->Click();
    EXPECT_TRUE(app->Enabled());
    mail->Click();
    EXPECT_FALSE(mail->Enabled());
    EXPECT_EQ(mail->JumpMode(), TKVXJumpModes::jmNone);
}

TEST_F(KVXLabels, TurnedRasterFontBecomesArial) {
    ASSERT_TRUE(test::LoadWineBitmapFont()) << "Wine's bitmap fonts: install the Debian package fonts-wine";
    auto* label = fw::Make<TKVXLabel>(form);
    label->SetParent(form);
    label->SetCaption("Turned");
    label->Font()->SetHandle(test::RasterSansSerif());
    ASSERT_FALSE(KVXIsTrueTypeFont(label->Font()));
    label->FontFx()->SetAngle(90);
    EXPECT_EQ(label->Font()->Name(), "Arial");
    EXPECT_EQ(label->FontFx()->Angle(), 90);
    EXPECT_GT(label->Height(), label->Width()) << "the turned caption stands upright";
    // A new raster font drops the turn instead.
    label->Font()->SetHandle(test::RasterSansSerif());
    EXPECT_EQ(label->FontFx()->Angle(), 0);
}

TEST_F(KVXLabels, AcceleratorFocusesTheFocusControl) {
    auto* edit = fw::Make<fw::TEdit>(form);
    edit->SetParent(form);
    edit->SetBounds(100, 100, 80, 21);
    auto* other = fw::Make<fw::TEdit>(form);
    other->SetParent(form);
    other->SetBounds(100, 130, 80, 21);
    auto* label = fw::Make<TKVXLabel>(form);
    label->SetParent(form);
    label->SetCaption("&Name");
    label->SetFocusControl(edit);
    other->SetFocus();
    Pump();
    EXPECT_EQ(form->Perform(fw::CM_DIALOGCHAR, 'n', 0), 1);
    EXPECT_TRUE(edit->Focused());
    label->SetFlag(2, false);  // no accelerator shown: none answered
    other->SetFocus();
    EXPECT_EQ(form->Perform(fw::CM_DIALOGCHAR, 'n', 0), 0);
    EXPECT_TRUE(other->Focused());
}

}  // namespace
}  // namespace kvx::win32
