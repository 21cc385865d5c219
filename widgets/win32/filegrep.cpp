#include "widgets/win32/filegrep.h"

#include "framework/win32/application.h"
#include "widgets/win32/kvxlistbox.h"
#include "widgets/win32/win32lister.h"

namespace kvx::win32 {

// What a search runs on. The component points here and the worker holds it too, so it outlives
// whichever of the two goes first; Owner is cleared when the component is freed.
struct TKVXFileGrep::State {
    TKVXFileGrep* Owner = nullptr;
    fw::TThread* Worker = nullptr;
    bool CancelFlag = false;
    bool Running = false;
    TKVXWin32Lister Lister;

    bool Cancelled() const {
        return !Owner || CancelFlag || (Worker && Worker->Terminated()) ||
               (fw::Application && fw::Application->Terminated());
    }
    static void Run(const std::shared_ptr<State>& s);

    // Raises an event of the component, if it is still there. The handler runs on a copy, so it may
    // free the component (and with it the event it was bound to).
    template <class E, class... Args>
    static void Fire(const std::shared_ptr<State>& s, E TKVXFileGrep::*event, const Args&... args) {
        if (!s->Owner) return;
        const E handler = s->Owner->*event;
        if (handler) handler(s->Owner, args...);
    }
};

namespace {

// A self-freeing thread whose only work is to have the GUI thread run the search, tagged with the
// search's state so that freeing the component can drop the request.
class TKVXSearchThread : public fw::TThread {
public:
    explicit TKVXSearchThread(std::shared_ptr<TKVXFileGrep::State> state) : state_(std::move(state)) {
        SetFreeOnTerminate(true);
    }

protected:
    void Execute() override {
        const std::shared_ptr<TKVXFileGrep::State> s = state_;
        fw::Synchronize([s] { TKVXFileGrep::State::Run(s); }, s.get());
    }

private:
    std::shared_ptr<TKVXFileGrep::State> state_;
};

}  // namespace

void TKVXFileGrep::State::Run(const std::shared_ptr<State>& s) {
    if (s->Running) return;
    if (s->Owner) {
        s->Running = true;
        TKVXSearchHooks hooks;
        hooks.Cancelled = [s] { return s->Cancelled(); };
        hooks.Pump = [] {
            if (fw::Application) fw::Application->ProcessMessages();
        };
        hooks.DirChange = [s](const std::string& dir) { Fire(s, &TKVXFileGrep::OnDirChange, dir); };
        hooks.FileChange = [s](const std::string& name) { Fire(s, &TKVXFileGrep::OnFileChange, name); };
        hooks.Found = [s](const std::string& line) {
            // Each step looks again: a handler may free the component or its list box.
            Fire(s, &TKVXFileGrep::OnFound, line);
            if (s->Owner && s->Owner->out_) s->Owner->out_->Items()->Add(line);
            if (s->Owner) s->Owner->results_->Add(line);
        };
        try {
            KVXRunFileSearch(s->Owner->Params(), s->Lister, hooks);
        } catch (...) {
            // A handler's exception ends the search; the next Execute is still accepted.
            s->Running = false;
            s->Worker = nullptr;
            s->CancelFlag = false;
            throw;
        }
        s->Running = false;
    }
    if (s->Worker) {
        s->Worker->Terminate();
        s->Worker = nullptr;
    }
    if (!s->Owner) return;
    const bool cancelled = s->CancelFlag;
    // Cleared first, so a handler may start the next search at once.
    s->CancelFlag = false;
    Fire(s, cancelled ? &TKVXFileGrep::OnCancel : &TKVXFileGrep::OnFinished);
}

TKVXFileGrep::TKVXFileGrep(TComponent* owner)
    : TKVXComponent(owner), state_(std::make_shared<State>()), results_(std::make_unique<fw::TStringList>()) {
    state_->Owner = this;
    for (auto& d : dates_) d = std::make_unique<TKVXDateTime>();
}

TKVXFileGrep::~TKVXFileGrep() = default;

void TKVXFileGrep::BeforeDestruction() {
    Cancel();
    state_->Owner = nullptr;
    // A request not yet run is dropped; its worker then ends by itself.
    fw::RemoveQueuedEvents(state_.get());
    out_ = nullptr;
    TKVXComponent::BeforeDestruction();
}

void TKVXFileGrep::Notification(TComponent* component, fw::TOperation operation) {
    TKVXComponent::Notification(component, operation);
    if (operation == fw::opRemove && component == out_) out_ = nullptr;
}

void TKVXFileGrep::SetOutStringList(TKVXListBox* value) {
    out_ = value;
    if (value) value->FreeNotification(this);
}

void TKVXFileGrep::SetThreadPriority(fw::TThreadPriority value) {
    priority_ = value;
    if (state_->Worker) state_->Worker->SetPriority(value);
}

bool TKVXFileGrep::Searching() const { return state_->Worker != nullptr || state_->Running; }

uint32_t TKVXFileGrep::AttrMask() const {
    using A = TKVXFileGrepAttribute;
    if (Attributes.Contains(A::fmAnyfile)) return kFaAnyFile;
    uint32_t mask = 0;
    if (Attributes.Contains(A::fmReadOnly)) mask |= kFaReadOnly;
    if (Attributes.Contains(A::fmHidden)) mask |= kFaHidden;
    if (Attributes.Contains(A::fmSystem)) mask |= kFaSysFile;
    if (Attributes.Contains(A::fmArchive)) mask |= kFaArchive;
    return mask;
}

TKVXSearchParams TKVXFileGrep::Params() const {
    TKVXSearchParams p;
    p.Dirs = Dirs;
    p.FileMasks = FileMasks;
    p.Content = Content;
    p.RecurseSubDirs = RecurseSubDirs;
    p.MinSize = MinSize;
    p.MaxSize = MaxSize;
    p.AttrMask = AttrMask();
    p.ReturnValues = ReturnValues;
    p.ReturnDelimiter = ReturnDelimiter;
    auto date = [&](TKVXLookFor f, int index) {
        return LookForDates.Contains(f) ? dates_[index]->DateTime() : fw::TDateTime(0);
    };
    using L = TKVXLookFor;
    p.Dates = {date(L::lfCreateAfter, 0),    date(L::lfCreateBefore, 1),  date(L::lfAccessedAfter, 2),
               date(L::lfAccessedBefore, 3), date(L::lfModifiedAfter, 4), date(L::lfModifiedBefore, 5)};
    return p;
}

void TKVXFileGrep::Execute() {
    if (state_->Worker || state_->Running) return;
    results_->Clear();
    if (!ThreadedSearch) {
        // The state is held here: a handler may free the component during the run.
        const std::shared_ptr<State> s = state_;
        State::Run(s);
        return;
    }
    auto* worker = new TKVXSearchThread(state_);
    state_->Worker = worker;
    worker->SetPriority(priority_);
    try {
        worker->Start();
    } catch (...) {
        state_->Worker = nullptr;
        worker->Free();
        throw;
    }
}

void TKVXFileGrep::Cancel() {
    state_->CancelFlag = true;
    if (state_->Worker) state_->Worker->Terminate();
}

}  // namespace kvx::win32
