// Modal forms: ShowModal before Run and inside OnCreate, the close protocol of a modal loop,
// Terminate from a nested pump, and the modal stack.
#include <gtest/gtest.h>

#include "framework/win32/app_support_test.h"

namespace apptest {
namespace {

using fw::Application;
using ModalTest = AppTest;

TEST_F(ModalTest, ShowModalInsideOnCreateBeforeRun) {
    int result = -1;
    fw::TForm* mainDuringModal = nullptr;
    std::vector<fw::TForm*> stackDuringModal;
    int depthDuringModal = -1;
    TAppMainForm::onCreateAction = [&](TAppMainForm*) {
        auto* dialog = fw::CreateForm<TAppDialog>(Application);
        dialog->log = &log;
        dialog->onShowAction = [&](TAppDialog* d) {
            d->Post([&, d] {
                mainDuringModal = Application->MainForm();
                stackDuringModal = Application->ModalForms();
                depthDuringModal = Application->DispatchDepth();
                d->SetModalResult(fw::mrOk);
            });
        };
        result = dialog->ShowModal();
        dialog->Log("returned");
        dialog->Release();
    };
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->created, 1);
    EXPECT_EQ(result, fw::mrOk);
    EXPECT_EQ(Application->MainForm(), main) << "the dialog made in OnCreate must not become the main form";
    EXPECT_EQ(mainDuringModal, main);
    ASSERT_EQ(stackDuringModal.size(), 1u);
    EXPECT_EQ(stackDuringModal[0]->Name(), "AppDialog");
    EXPECT_GE(depthDuringModal, 1);
    EXPECT_TRUE(Application->ModalForms().empty());
    EXPECT_EQ(log, std::vector<std::string>({"AppDialog:show", "AppDialog:closequery yes", "AppDialog:close",
                                             "AppDialog:returned"}));
    // The program goes on normally.
    main->Post([] { Application->Terminate(); });
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(ModalTest, RefusingCloseQueryKeepsTheDialogOpenAndOnCloseRunsBeforeShowModalReturns) {
    auto* other = fw::TForm::CreateNew<TAppTestForm>(Application);
    other->Show();
    auto* dialog = fw::CreateForm<TAppDialog>(Application);
    dialog->log = &log;
    dialog->closeAnswers = {false, true};
    fw::TModalResult afterRefusal = -1;
    bool visibleAfterRefusal = false;
    bool otherEnabledDuringModal = true;
    int onMessageInModal = 0;
    Application->OnMessage.Bind(&onMessageInModal, [](void* ctx, fw::TObject*, MSG& msg, bool&) {
        if (msg.message == WM_APPTEST_ACTION) ++*static_cast<int*>(ctx);
    });
    dialog->onShowAction = [&](TAppDialog* d) {
        d->Post([&, d] {
            otherEnabledDuringModal = IsWindowEnabled(other->Handle()) != FALSE;
            d->SetModalResult(fw::mrYes);  // refused by OnCloseQuery
        });
        d->Post([&, d] {
            afterRefusal = d->ModalResult();
            visibleAfterRefusal = IsWindowVisible(d->Handle()) != FALSE;
            d->Log("still open");
            d->SetModalResult(fw::mrNo);
        });
    };
    int result = dialog->ShowModal();
    dialog->Log("returned");
    EXPECT_EQ(result, fw::mrNo);
    EXPECT_EQ(afterRefusal, fw::mrNone) << "a refusal clears ModalResult";
    EXPECT_TRUE(visibleAfterRefusal);
    EXPECT_FALSE(otherEnabledDuringModal) << "the thread's other windows are disabled";
    EXPECT_TRUE(IsWindowEnabled(other->Handle()));
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    EXPECT_EQ(onMessageInModal, 2) << "OnMessage runs in the modal loop too";
    EXPECT_EQ(log, std::vector<std::string>({"AppDialog:show", "AppDialog:closequery no", "AppDialog:still open",
                                             "AppDialog:closequery yes", "AppDialog:close", "AppDialog:returned"}));
}

TEST_F(ModalTest, CloseOnAModalFormCancelsAndCaFreeReleasesAfterTheLoop) {
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    int result = -1;
    bool aliveAfterReturn = false;
    bool goneLater = false;
    int ticks = 0;
    // The loop frees the form at its next idle point; a loaded machine may deliver a tick or two
    // before the queue runs dry, so the test looks again on later ticks.
    main->Count(WM_TIMER, [&](fw::TMessage&) {
        goneLater = fw::Screen->FormCount() == 1;
        if (!goneLater && ++ticks < 100) return;
        KillTimer(main->Handle(), 5);
        Application->Terminate();
    });
    main->Post([&] {
        auto* dialog = fw::CreateForm<TAppDialog>(Application);
        dialog->closeAction = fw::caFree;
        dialog->onShowAction = [](TAppDialog* d) { d->Post([d] { d->Close(); }); };
        result = dialog->ShowModal();
        aliveAfterReturn = fw::Screen->FormCount() == 2;
        SetTimer(main->Handle(), 5, 30, nullptr);
    });
    Application->Run();
    EXPECT_EQ(result, fw::mrCancel);
    EXPECT_TRUE(aliveAfterReturn) << "a released modal form lives until the outer loop is idle";
    EXPECT_TRUE(goneLater);
}

TEST_F(ModalTest, TerminateInANestedPumpEndsEveryLoop) {
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    int result = -1;
    int pumps = 0;
    main->Post([&] {
        auto* dialog = fw::CreateForm<TAppDialog>(Application);
        dialog->log = &log;
        dialog->closeAnswers = {false};  // a program that ends cannot be refused
        dialog->onShowAction = [&](TAppDialog* d) {
            d->Post([&, d] {
                // An engine run pumping until it is told to stop.
                d->Post([] { Application->Terminate(); });
                while (!Application->Terminated() && pumps < 100000) {
                    Application->ProcessMessages();
                    ++pumps;
                    Sleep(1);
                }
                d->Log("pump ended");
            });
        };
        result = dialog->ShowModal();
        dialog->Log("returned");
    });
    Application->Run();
    log.push_back("run returned");
    EXPECT_LT(pumps, 100000);
    EXPECT_EQ(result, fw::mrCancel);
    EXPECT_EQ(log, std::vector<std::string>({"AppDialog:show", "AppDialog:pump ended", "AppDialog:closequery no",
                                             "AppDialog:close", "AppDialog:returned", "run returned"}));
}

TEST_F(ModalTest, ShowModalAfterTerminateReturnsCancelAndAVisibleFormCannotBeModal) {
    auto* dialog = fw::CreateForm<TAppDialog>(Application);
    dialog->log = &log;
    Application->Terminate();
    EXPECT_EQ(dialog->ShowModal(), fw::mrCancel);
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));

    dialog->Show();
    EXPECT_THROW(dialog->ShowModal(), fw::EInvalidOperation);
}

TEST_F(ModalTest, NestedModalFormsStackInnermostLast) {
    std::vector<std::string> names;
    auto* outer = fw::CreateForm<TAppDialog>(Application);
    outer->onShowAction = [&](TAppDialog* o) {
        o->Post([&, o] {
            auto* inner = fw::CreateForm<TAppDialog>(Application);
            inner->onShowAction = [&, o](TAppDialog* i) {
                i->Post([&, o, i] {
                    for (fw::TForm* f : Application->ModalForms()) names.push_back(f->Name());
                    EXPECT_FALSE(IsWindowEnabled(o->Handle())) << "the outer dialog is disabled";
                    i->SetModalResult(fw::mrAbort);
                });
            };
            EXPECT_EQ(inner->ShowModal(), fw::mrAbort);
            EXPECT_TRUE(IsWindowEnabled(o->Handle()));
            inner->Release();
            o->SetModalResult(fw::mrRetry);
        });
    };
    EXPECT_EQ(outer->ShowModal(), fw::mrRetry);
    EXPECT_EQ(names, std::vector<std::string>({"AppDialog", "AppDialog_1"}));
}

}  // namespace
}  // namespace apptest
