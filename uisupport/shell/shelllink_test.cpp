// The link between views against fake views: who is told, the guard against a second round while
// a folder change is delivered, OnChange, a disabled link, and a view that fails while it is told.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "framework/core/rtti.h"
#include "uisupport/shell/shelllink.h"

namespace uis {
namespace {

struct Sent {
    LinkHandle to;
    unsigned msg;
    uintptr_t wParam;
};

class ShellLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        link = fw::Make<TJexoShellLink>(nullptr);
        for (LinkHandle view : {11, 22, 33}) link->RegisterView(view);
        SetLinkSender([this](LinkHandle to, unsigned msg, uintptr_t wParam) {
            sent.push_back({to, msg, wParam});
            if (onSend) onSend(to, msg);
        });
    }
    void TearDown() override {
        SetLinkSender(nullptr);
        link->Free();
    }
    std::vector<LinkHandle> Receivers(unsigned msg) const {
        std::vector<LinkHandle> to;
        for (const Sent& s : sent)
            if (s.msg == msg) to.push_back(s.to);
        return to;
    }

    TJexoShellLink* link = nullptr;
    std::vector<Sent> sent;
    std::function<void(LinkHandle, unsigned)> onSend;
};

TEST_F(ShellLinkTest, EveryOtherViewIsToldNeverTheSender) {
    int list = 0;
    link->ChangeFolder(22, &list);
    EXPECT_EQ(Receivers(kLinkFolderChanged), (std::vector<LinkHandle>{11, 33}));
    EXPECT_EQ(sent.front().wParam, reinterpret_cast<uintptr_t>(&list));
    link->SelectAll(11);
    EXPECT_EQ(Receivers(kLinkSelectAll), (std::vector<LinkHandle>{22, 33}));
    link->RefreshAll(33);
    EXPECT_EQ(Receivers(kLinkRefresh), (std::vector<LinkHandle>{11, 22}));
}

TEST_F(ShellLinkTest, AViewAnsweringAFolderChangeStartsNoSecondRound) {
    int changes = 0;
    link->OnChange.Bind(nullptr, [&changes](void*, fw::TObject*) { ++changes; });
    onSend = [this](LinkHandle to, unsigned msg) {
        // A view that moves its selection in answer would tell the others again.
        if (msg == kLinkFolderChanged) link->ChangeFolder(to, nullptr);
        EXPECT_FALSE(link->Enabled());
    };
    link->ChangeFolder(11, nullptr);
    EXPECT_EQ(Receivers(kLinkFolderChanged).size(), 2u);
    EXPECT_TRUE(link->Enabled());
    EXPECT_EQ(changes, 1);
}

TEST_F(ShellLinkTest, ADisabledLinkSendsNothing) {
    link->SetEnabled(false);
    link->ChangeFolder(11, nullptr);
    link->SelectAll(11);
    link->RefreshAll(11);
    EXPECT_TRUE(sent.empty());
}

TEST_F(ShellLinkTest, AFailingViewLeavesTheLinkEnabled) {
    int changes = 0;
    link->OnChange.Bind(nullptr, [&changes](void*, fw::TObject*) { ++changes; });
    onSend = [](LinkHandle to, unsigned) {
        if (to == 22) throw std::runtime_error("view failed");
    };
    EXPECT_THROW(link->ChangeFolder(11, nullptr), std::runtime_error);
    EXPECT_TRUE(link->Enabled()) << "a dead link would keep every view apart for good";
    EXPECT_EQ(changes, 0);
    onSend = nullptr;
    sent.clear();
    link->ChangeFolder(11, nullptr);
    EXPECT_EQ(Receivers(kLinkFolderChanged), (std::vector<LinkHandle>{22, 33}));
    EXPECT_EQ(changes, 1);
}

TEST_F(ShellLinkTest, RegisteringTwiceAndUnregistering) {
    link->RegisterView(22);
    link->UnregisterView(33);
    link->RegisterView(0);
    EXPECT_EQ(link->Views(), (std::vector<LinkHandle>{11, 22}));
    // A view that unregisters while it is told (it is being freed) does not upset the round.
    onSend = [this](LinkHandle to, unsigned) {
        if (to == 11) link->UnregisterView(22);
    };
    link->RefreshAll(99);
    EXPECT_EQ(Receivers(kLinkRefresh), (std::vector<LinkHandle>{11, 22}));
    EXPECT_EQ(link->Views(), (std::vector<LinkHandle>{11}));
}

TEST_F(ShellLinkTest, VersionNamesTheClass) {
    fw::RegisterClasses();
    RegisterShellLinkClass();
    EXPECT_EQ(link->Version(), "TJexoShellLink V2.0 beta 2");
}

}  // namespace
}  // namespace uis
