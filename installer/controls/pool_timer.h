// One item of the suite application's timer pool, held by a control for its whole life. Created
// switched off. When the pool has no free ident left (or there is no suite application) the holder
// keeps ident 0 and every call does nothing: the control then simply does not repeat.
#pragma once

#include <cstdint>
#include <functional>

#include "widgets/kvxclass.h"

namespace inst {

class PoolTimer {
public:
    PoolTimer(uint16_t interval, std::function<void()> tick);
    ~PoolTimer();
    PoolTimer(const PoolTimer&) = delete;
    PoolTimer& operator=(const PoolTimer&) = delete;

    uint16_t Ident() const { return ident_; }
    bool Enabled() const;
    void SetEnabled(bool value);
    // A multiple of the pool's tick; 0 stands for one tick.
    void SetInterval(uint16_t value);

private:
    void Tick(kvx::TObject* sender);

    uint16_t ident_ = 0;
    std::function<void()> tick_;
};

}  // namespace inst
