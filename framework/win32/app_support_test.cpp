#include "framework/win32/app_support_test.h"

#include "framework/core/rtti.h"
#include "framework/win32/callback.h"

namespace apptest {

namespace {

void CALLBACK SafetyTimer(HWND, UINT, UINT_PTR, DWORD) {
    FW_CALLBACK_VOID({
        ADD_FAILURE() << "the test did not finish in time; ending every loop";
        if (fw::Application) fw::Application->Terminate();
    })
}

UINT_PTR g_safetyTimer = 0;

}  // namespace

void RegisterAppTestClasses() {
    fw::Class<TAppTestPanel, fw::TCustomControl>("TAppTestPanel");
    fw::Class<TAppTestForm, fw::TForm>("TAppTestForm");
    fw::Class<TAppMainForm, TAppTestForm>("TAppMainForm")
        .Field("pnlTop1", &TAppMainForm::pnlTop1)
        .Field("pnlTop2", &TAppMainForm::pnlTop2)
        .Field("pnlBottom", &TAppMainForm::pnlBottom)
        .Field("pnlLeft", &TAppMainForm::pnlLeft)
        .Field("pnlRight", &TAppMainForm::pnlRight)
        .Field("pnlClient", &TAppMainForm::pnlClient)
        .Method("FormCreate", &TAppMainForm::FormCreate);
    fw::Class<TAppDialog, TAppTestForm>("TAppDialog")
        .Method("FormShow", &TAppDialog::FormShow)
        .Method("FormCloseQuery", &TAppDialog::FormCloseQuery)
        .Method("FormClose", &TAppDialog::FormClose);
    fw::Class<TAppScaledForm, fw::TForm>("TAppScaledForm").Field("pnlBox", &TAppScaledForm::pnlBox);
    fw::Class<TAppFixedForm, fw::TForm>("TAppFixedForm").Field("pnlBox", &TAppFixedForm::pnlBox);
    fw::Class<TAppBrokenForm, fw::TForm>("TAppBrokenForm");
    fw::Class<TAppVisibleForm, fw::TForm>("TAppVisibleForm").Method("FormCreate", &TAppVisibleForm::FormCreate);
    fw::Class<TAppModule, fw::TDataModule>("TAppModule")
        .Method("ModuleCreate", &TAppModule::ModuleCreate)
        .Method("ModuleDestroy", &TAppModule::ModuleDestroy);
}

void AppTest::SetUp() {
    fw::InitApplication();
    RegisterAppTestClasses();
    fw::Application->Initialize();
    TAppMainForm::onCreateAction = nullptr;
    g_safetyTimer = SetTimer(nullptr, 0, 20000, &SafetyTimer);
}

void AppTest::TearDown() {
    KillTimer(nullptr, g_safetyTimer);
    fw::DoneApplication();
    TAppMainForm::onCreateAction = nullptr;
}

bool AppTest::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (static_cast<int>(GetTickCount() - start) > timeoutMs) return false;
        fw::Application->ProcessMessages();
        Sleep(1);
    }
    return true;
}

}  // namespace apptest
