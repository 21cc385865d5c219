// TKVXTimerPool: one periodic tick at MinInterval serves any number of TKVXTimerItem entries, each
// firing every n-th tick. The tick comes from a TKVXTickSource (a window timer on Win32, driven by
// hand in tests), so the scheduling here is portable.
//
// An item at Interval 500 on a 50 ms pool fires on ticks 10, 20, 30, ... of the pool's counter; every
// Add restarts the tick and the counter (which shifts the phase of all items of the pool). Callbacks
// may remove their own or any other item, and add new ones, while a tick runs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "framework/core/event.h"
#include "widgets/kvxclass.h"

namespace kvx {

class TKVXTimerPool;

// The periodic tick behind a pool.
class TKVXTickSource {
public:
    virtual ~TKVXTickSource() = default;
    // Starts (or restarts) calling tick every `milliseconds`; false when the system refuses.
    virtual bool Start(unsigned milliseconds, std::function<void()> tick) = 0;
    virtual void Stop() = 0;
};
using TKVXTickSourceFactory = std::function<std::unique_ptr<TKVXTickSource>()>;
// The Win32 start-up installs the window-timer source. Without one, pools tick only when their
// HandleTick is called (tests do that).
void KVXSetTickSourceFactory(TKVXTickSourceFactory factory);

// Where an exception escaping a pool tick (or another suite callback) is reported, with its Sender:
// called inside the catch block. The Win32 start-up routes it to the application's handler.
using TKVXExceptionReporter = std::function<void(TObject* sender)>;
void KVXSetExceptionReporter(TKVXExceptionReporter reporter);
void KVXReportException(TObject* sender) noexcept;

class TKVXTimerItem : public TObject {
public:
    // Raises EInvalidOperation "<class>: Invalid Owner or List" without a pool.
    TKVXTimerItem(TKVXTimerPool* pool, uint16_t ident);

    // After this many firings the item switches itself off; -1 is never.
    int CallCount = -1;
    int Counter() const { return counter_; }
    bool Enabled() const { return enabled_; }
    // Switching on needs CallCount other than 0; a change resets Counter.
    void SetEnabled(bool value);
    uint16_t Ident() const { return ident_; }
    uint16_t Interval() const { return interval_; }
    // Ignored when equal or not a multiple of the pool's MinInterval; 0 stands for MinInterval.
    void SetInterval(uint16_t value);
    int TicksPerFiring() const { return ticks_; }

    // Called with the pool as Sender.
    TNotifyEvent Callback;

private:
    friend class TKVXTimerPool;
    void Fire();

    TKVXTimerPool* pool_;
    int counter_ = 0;
    bool enabled_ = true;
    uint16_t ident_;
    uint16_t interval_ = 1000;
    int ticks_ = 1;
};

using TKVXTimerPoolEvent = fw::Event<void(TObject* Sender, uint16_t Ident, int Counter)>;

class TKVXTimerPool : public TKVXComponent {
public:
    explicit TKVXTimerPool(TComponent* owner, uint16_t minInterval = 1000);

    // 16-bit milliseconds. Accepted only while loading, and never 0.
    uint16_t MinInterval() const { return minInterval_; }
    void SetMinInterval(uint16_t value);

    // Appends an item and restarts the tick; returns its position. Raises Exception "List index out
    // of bounds (<ident>)" for an ident already in the pool and "Interval not compatible with
    // MinInterval property!" for an interval below MinInterval or not a multiple of it.
    int Add(uint16_t ident, uint16_t interval, const TNotifyEvent& callback);
    // Removes and frees the item (nothing when absent); stops the tick once the pool is empty.
    void Remove(uint16_t ident);

    TKVXTimerItem* ItemByIdent(uint16_t ident) const;
    int IndexOfIdent(uint16_t ident) const;
    int Count() const { return static_cast<int>(items_.size()); }
    TKVXTimerItem* Items(int index) const { return items_.at(index).get(); }
    int EnabledCount() const;

    bool Running() const { return running_; }
    int TickCounter() const { return tickCounter_; }
    // Stops the tick, then starts it at MinInterval when Start is set and an item is switched on.
    // Raises EOutOfResources "Not enough timers available" when the system refuses.
    void Restart(bool start);

    // One tick from the tick source: runs Tick behind the in-tick guard. An exception is reported
    // with the pool as Sender and the guard is cleared, so later ticks still run.
    void HandleTick();
    // Fires every switched-on item whose ticks per firing divide the counter, then advances it.
    void Tick();

    TKVXTimerPoolEvent OnTimer;

protected:
    void BeforeDestruction() override;

private:
    friend class TKVXTimerItem;
    bool running_ = false;
    bool inTick_ = false;
    bool restarted_ = false;
    int tickCounter_ = 0;
    uint16_t minInterval_;
    std::vector<std::unique_ptr<TKVXTimerItem>> items_;
    std::unique_ptr<TKVXTickSource> source_;
};

}  // namespace kvx
