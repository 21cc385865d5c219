#include "installer/controls/pool_timer.h"

#include "widgets/kvxapplication.h"

namespace inst {

using kvx::KVXApplication;
using kvx::TKVXTimerItem;

PoolTimer::PoolTimer(uint16_t interval, std::function<void()> tick) : tick_(std::move(tick)) {
    if (!KVXApplication) return;
    ident_ = KVXApplication->AddTimer(interval, kvx::TNotifyEvent(this, &PoolTimer::Tick));
    SetEnabled(false);
}

PoolTimer::~PoolTimer() {
    if (ident_ == 0 || !KVXApplication) return;
    if (TKVXTimerItem* item = KVXApplication->GetTimerItem(ident_)) {
        item->SetEnabled(false);
        item->Callback.Reset();
    }
    KVXApplication->RemoveTimer(ident_);
}

bool PoolTimer::Enabled() const {
    if (ident_ == 0 || !KVXApplication) return false;
    const TKVXTimerItem* item = KVXApplication->GetTimerItem(ident_);
    return item && item->Enabled();
}

void PoolTimer::SetEnabled(bool value) {
    if (ident_ == 0 || !KVXApplication) return;
    if (TKVXTimerItem* item = KVXApplication->GetTimerItem(ident_)) item->SetEnabled(value);
}

void PoolTimer::SetInterval(uint16_t value) {
    if (ident_ == 0 || !KVXApplication) return;
    if (TKVXTimerItem* item = KVXApplication->GetTimerItem(ident_)) item->SetInterval(value);
}

void PoolTimer::Tick(kvx::TObject*) {
    if (tick_) tick_();
}

}  // namespace inst
