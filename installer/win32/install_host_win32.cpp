// The install component's host in a framework program: the application object and its main form.
#include <utility>

#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/screen.h"
#include "installer/install_host.h"
#include "installer/win32/system_win32.h"

namespace inst {

namespace {

class Win32InstallHost : public InstallHost {
public:
    fw::TComponent* MainForm() override { return fw::Application ? fw::Application->MainForm() : nullptr; }
    bool SwapActivateHandler(fw::TComponent* form, fw::TNotifyEvent& handler) override {
        auto* f = dynamic_cast<fw::TForm*>(form);
        if (!f) return false;
        std::swap(f->OnActivate, handler);
        return true;
    }
    void MaximizeForm(fw::TComponent* form) override {
        if (auto* f = dynamic_cast<fw::TForm*>(form)) {
            f->SetWindowState(fw::wsMaximized);
            f->Repaint();
        }
    }
    void MoveFormOffScreen(fw::TComponent* form) override {
        if (auto* f = dynamic_cast<fw::TForm*>(form)) f->SetBounds(-2 * f->Width(), -2 * f->Height(), f->Width(), f->Height());
    }
    void RouteExceptions(std::function<void(fw::Exception&)> handler) override {
        if (!fw::Application) return;
        if (!handler) {
            fw::Application->OnException.Reset();
            return;
        }
        fw::Application->OnException.Bind(nullptr, [handler](void*, fw::TObject*, fw::Exception& e) { handler(e); });
    }
    void ShowException(const fw::Exception& e) override {
        if (fw::Application) fw::Application->ShowException(e);
    }
    void Terminate() override {
        if (fw::Application) fw::Application->Terminate();
    }
    void SetBusyCursor(bool busy) override {
        if (fw::Screen) fw::Screen->SetCursor(busy ? fw::crHourGlass : fw::crDefault);
    }
};

}  // namespace

void InstallWin32Host() {
    static Win32InstallHost host;
    SetInstallHost(&host);
}

}  // namespace inst
