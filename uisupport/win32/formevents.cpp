#include "uisupport/win32/formevents.h"

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "framework/win32/forms.h"

namespace uis {

namespace {

class FormEventHub : public fw::TObject {
public:
    explicit FormEventHub(fw::TForm* form) : form_(form) {
        savedShow_ = form->OnShow;
        savedCloseQuery_ = form->OnCloseQuery;
        savedDestroy_ = form->OnDestroy;
        form->OnShow = fw::TNotifyEvent(this, &FormEventHub::Show);
        form->OnCloseQuery = fw::TCloseQueryEvent(this, &FormEventHub::CloseQuery);
        form->OnDestroy = fw::TNotifyEvent(this, &FormEventHub::Destroy);
    }

    // Gives the form its own handlers back where the hub's are still in place.
    void Release() {
        if (form_->OnShow == fw::TNotifyEvent(this, &FormEventHub::Show)) form_->OnShow = savedShow_;
        if (form_->OnCloseQuery == fw::TCloseQueryEvent(this, &FormEventHub::CloseQuery))
            form_->OnCloseQuery = savedCloseQuery_;
        if (form_->OnDestroy == fw::TNotifyEvent(this, &FormEventHub::Destroy)) form_->OnDestroy = savedDestroy_;
    }

    std::vector<TFormEventClient*> clients;  // in the order they attached
    int running = 0;                         // calls of the hub on the stack

private:
    // The last client may detach while the hub runs: the hub then goes once its call returns.
    struct Running {
        explicit Running(FormEventHub* hub) : hub(hub) { ++hub->running; }
        ~Running();
        FormEventHub* hub;
    };

    // Clients may detach while the hub calls them: each call checks the client is still there.
    template <class F>
    void Each(bool newestFirst, F call) {
        const std::vector<TFormEventClient*> walk(clients);
        for (size_t i = 0; i < walk.size(); ++i) {
            TFormEventClient* client = walk[newestFirst ? walk.size() - 1 - i : i];
            if (std::find(clients.begin(), clients.end(), client) != clients.end()) call(client);
        }
    }

    void Show(fw::TObject* sender) {
        Running running(this);
        Each(true, [](TFormEventClient* c) { c->FormShow(); });
        if (savedShow_) savedShow_(sender);
    }
    void CloseQuery(fw::TObject* sender, bool& canClose) {
        Running running(this);
        if (savedCloseQuery_) savedCloseQuery_(sender, canClose);
        Each(false, [&](TFormEventClient* c) {
            if (canClose) c->FormCloseQuery(canClose);
        });
    }
    void Destroy(fw::TObject* sender) {
        Running running(this);
        Each(true, [](TFormEventClient* c) { c->FormDestroy(); });
        if (savedDestroy_) savedDestroy_(sender);
    }

    fw::TForm* form_;
    fw::TNotifyEvent savedShow_;
    fw::TCloseQueryEvent savedCloseQuery_;
    fw::TNotifyEvent savedDestroy_;

public:
    const fw::TForm* Form() const { return form_; }
};

std::map<const fw::TForm*, std::unique_ptr<FormEventHub>>& Hubs() {
    static auto* hubs = new std::map<const fw::TForm*, std::unique_ptr<FormEventHub>>;
    return *hubs;
}

FormEventHub::Running::~Running() {
    if (--hub->running > 0 || !hub->clients.empty()) return;
    hub->Release();
    Hubs().erase(hub->Form());
}

}  // namespace

void AttachFormEvents(fw::TForm* form, TFormEventClient* client) {
    if (!form || !client) return;
    auto& hub = Hubs()[form];
    if (!hub) hub = std::make_unique<FormEventHub>(form);
    if (std::find(hub->clients.begin(), hub->clients.end(), client) == hub->clients.end())
        hub->clients.push_back(client);
}

void DetachFormEvents(fw::TForm* form, TFormEventClient* client) {
    const auto found = Hubs().find(form);
    if (found == Hubs().end()) return;
    std::erase(found->second->clients, client);
    if (!found->second->clients.empty() || found->second->running > 0) return;
    found->second->Release();
    Hubs().erase(found);
}

int FormEventClientCount(const fw::TForm* form) {
    const auto found = Hubs().find(form);
    return found == Hubs().end() ? 0 : static_cast<int>(found->second->clients.size());
}

}  // namespace uis
