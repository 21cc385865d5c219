#include "widgets/timerpool.h"

#include <climits>

#include "framework/core/format.h"

namespace kvx {

namespace {
TKVXTickSourceFactory& TickFactory() {
    static TKVXTickSourceFactory factory;
    return factory;
}
TKVXExceptionReporter& Reporter() {
    static TKVXExceptionReporter reporter;
    return reporter;
}
}  // namespace

void KVXSetTickSourceFactory(TKVXTickSourceFactory factory) { TickFactory() = std::move(factory); }
void KVXSetExceptionReporter(TKVXExceptionReporter reporter) { Reporter() = std::move(reporter); }

void KVXReportException(TObject* sender) noexcept {
    try {
        if (Reporter()) Reporter()(sender);
    } catch (...) {
        // A reporter that fails itself has nobody left to tell.
    }
}

// ---- TKVXTimerItem ------------------------------------------------------------------------------

TKVXTimerItem::TKVXTimerItem(TKVXTimerPool* pool, uint16_t ident) : pool_(pool), ident_(ident) {
    if (!pool) throw fw::EInvalidOperation("TKVXTimerItem: Invalid Owner or List");
    // The ticks of the initial interval are set here: SetInterval(1000) on a new item is a no-op.
    ticks_ = std::max(1, interval_ / pool->MinInterval());
}

void TKVXTimerItem::SetEnabled(bool value) {
    if (value == enabled_ || (value && CallCount == 0)) return;
    enabled_ = value;
    counter_ = 0;
}

void TKVXTimerItem::SetInterval(uint16_t value) {
    const uint16_t min = pool_->MinInterval();
    if (value == 0) value = min;
    if (value == interval_ || value % min != 0) return;
    interval_ = value;
    ticks_ = std::max(1, value / min);
    counter_ = 0;
}

void TKVXTimerItem::Fire() {
    if (!enabled_) return;
    counter_ = counter_ == INT_MAX ? 0 : counter_ + 1;
    if (counter_ == CallCount) enabled_ = false;
    TKVXTimerPool* pool = pool_;
    if (Callback) {
        // A copy: the callback may free this item (and its binding) while it runs.
        const TNotifyEvent callback = Callback;
        callback(pool);
    } else if (pool->OnTimer) {
        const TKVXTimerPoolEvent event = pool->OnTimer;
        event(pool, ident_, counter_);
    }
}

// ---- TKVXTimerPool ------------------------------------------------------------------------------

TKVXTimerPool::TKVXTimerPool(TComponent* owner, uint16_t minInterval)
    : TKVXComponent(owner), minInterval_(minInterval ? minInterval : 1000) {}

void TKVXTimerPool::SetMinInterval(uint16_t value) {
    if (value == 0 || !InState(fw::csLoading)) return;
    minInterval_ = value;
}

int TKVXTimerPool::Add(uint16_t ident, uint16_t interval, const TNotifyEvent& callback) {
    if (IndexOfIdent(ident) >= 0) throw fw::Exception(fw::Format(texts::SListIndexError, {static_cast<int>(ident)}));
    if (interval < minInterval_ || interval % minInterval_ != 0) throw fw::Exception(texts::SIntervalNotCompatible);
    items_.push_back(std::make_unique<TKVXTimerItem>(this, ident));
    TKVXTimerItem* item = items_.back().get();
    item->SetInterval(interval);
    item->Callback = callback;
    Restart(true);
    return static_cast<int>(items_.size()) - 1;
}

void TKVXTimerPool::Remove(uint16_t ident) {
    const int index = IndexOfIdent(ident);
    if (index < 0) return;
    std::unique_ptr<TKVXTimerItem> item = std::move(items_[index]);
    items_.erase(items_.begin() + index);
    item->enabled_ = false;
    item->Callback.Reset();
    item.reset();
    if (items_.empty()) Restart(false);
}

TKVXTimerItem* TKVXTimerPool::ItemByIdent(uint16_t ident) const {
    const int index = IndexOfIdent(ident);
    return index < 0 ? nullptr : items_[index].get();
}

int TKVXTimerPool::IndexOfIdent(uint16_t ident) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i]->ident_ == ident) return static_cast<int>(i);
    return -1;
}

int TKVXTimerPool::EnabledCount() const {
    int n = 0;
    for (const auto& item : items_) n += item->enabled_ ? 1 : 0;
    return n;
}

void TKVXTimerPool::Restart(bool start) {
    if (!source_ && TickFactory()) source_ = TickFactory()();
    running_ = false;
    if (source_) source_->Stop();
    if (!start || EnabledCount() == 0) return;
    if (source_ && !source_->Start(minInterval_, [this] { HandleTick(); })) throw fw::EOutOfResources(texts::SNoTimers);
    tickCounter_ = 1;
    running_ = true;
    restarted_ = true;
}

void TKVXTimerPool::HandleTick() {
    if (inTick_) return;
    inTick_ = true;
    try {
        Tick();
    } catch (...) {
        inTick_ = false;
        KVXReportException(this);
        return;
    }
    inTick_ = false;
}

void TKVXTimerPool::Tick() {
    // Idents, not items: a callback may remove any item (its own included) or add new ones.
    std::vector<uint16_t> idents;
    idents.reserve(items_.size());
    for (const auto& item : items_) idents.push_back(item->ident_);
    const int counter = tickCounter_;
    restarted_ = false;
    // The counter moves on even when a callback raises: otherwise the next tick would repeat this
    // one and fire again the items that already fired.
    struct Advance {
        TKVXTimerPool& pool;
        ~Advance() {
            // An Add during the tick restarted the counter at 1 for the next tick.
            if (!pool.restarted_) pool.tickCounter_ = pool.tickCounter_ == INT_MAX ? 0 : pool.tickCounter_ + 1;
        }
    } advance{*this};
    for (uint16_t ident : idents) {
        TKVXTimerItem* item = ItemByIdent(ident);
        if (item && item->enabled_ && counter % item->ticks_ == 0) item->Fire();
    }
}

void TKVXTimerPool::BeforeDestruction() {
    running_ = false;
    if (source_) source_->Stop();
    source_.reset();
    while (!items_.empty()) items_.pop_back();
    TKVXComponent::BeforeDestruction();
}

}  // namespace kvx
