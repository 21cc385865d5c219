// The roots of the widget suite: TKVXObject (property sub-objects) and TKVXComponent (non-visual
// components), both with one change notification and a simple update lock; and the suite's texts.
//
// The contract descendants rely on: a setter that changes a value calls Change(); a batch framed by
// BeginUpdate() and EndUpdate(true) gives exactly one notification at its end; EndUpdate(false) ends
// it silently. The lock is a flag, not a counter: pairs do not nest.
#pragma once

#include <string>

#include "framework/core/event.h"
#include "framework/core/object.h"

namespace kvx {

using fw::TComponent;
using fw::TNotifyEvent;
using fw::TObject;

// Design-time information every concrete component publishes (up to 11 characters); no effect.
using TKVXAboutVar = std::string;

// The change notification and update lock that both roots add to their framework base.
template <class Base>
class TKVXNotifying : public Base {
public:
    using Base::Base;

    void BeginUpdate() { updating_ = true; }
    void EndUpdate(bool doChange) {
        updating_ = false;
        if (doChange) Change();
    }
    bool Updating() const { return updating_; }
    // Runs F as one batch: locked, then one notification, also when F raises.
    template <class F>
    void UpdateBatch(F f) {
        BeginUpdate();
        try {
            f();
        } catch (...) {
            EndUpdate(true);
            throw;
        }
        EndUpdate(true);
    }

    // OnChange(Self) unless locked.
    virtual void Change() {
        if (!updating_ && OnChange) OnChange(this);
    }
    // The OnChange handler an object gives to the objects it owns, so that changes bubble up.
    virtual void ChildChanged(TObject*) { Change(); }

    TNotifyEvent OnChange;

private:
    bool updating_ = false;
};

// Stores a changed value for a setter; true when it changed (the setter then notifies).
template <class T>
bool KVXStore(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}

class TKVXObject : public TKVXNotifying<fw::TPersistent> {
public:
    TKVXObject() = default;
};

class TKVXComponent : public TKVXNotifying<TComponent> {
public:
    explicit TKVXComponent(TComponent* owner) : TKVXNotifying<TComponent>(owner) {}

    TKVXAboutVar About;
};

// The suite's user-visible texts.
namespace texts {
inline constexpr const char* SNewFolder = "&New Folder";
inline constexpr const char* SFiles = "Files";
inline constexpr const char* SCompanyName = "CompanyName";
inline constexpr const char* SProductName = "ProductName";
inline constexpr const char* SProductVersion = "ProductVersion";
inline constexpr const char* SLegalCopyright = "LegalCopyright";
inline constexpr const char* SLegalTrademark = "LegalTrademark";
inline constexpr const char* SFileDescription = "FileDescription";
inline constexpr const char* SComments = "Comments";
inline constexpr const char* SHelp = "&Help";
inline constexpr const char* SClose = "&Close";
inline constexpr const char* SCancel = "Cancel";
inline constexpr const char* SPropertyNotUsed = "This property is no longer used in KVX-Tools!";
inline constexpr const char* SClearList = "Clear List...";
inline constexpr const char* SClearListHint = "Clear recent files list";
inline constexpr const char* SClearListConfirm = "Really clear recent files list?";
inline constexpr const char* SInfo = "Info ";
inline constexpr const char* SAvailableMemory = "Available Memory:";
inline constexpr const char* SSystemResources = "System Resources:";
inline constexpr const char* SOrCompatible = "or compatible";
inline constexpr const char* SPlatformCpu = "Platform, CPU:";
inline constexpr const char* SFree = "free";
inline constexpr const char* SSelectPath = "Select Path...";
inline constexpr const char* SDrive = "&Drive:";
inline constexpr const char* SPath = "&Path:";
inline constexpr const char* SInsert = "&Insert";
inline constexpr const char* SCopy = "&Copy";
inline constexpr const char* SCut = "&Cut";
inline constexpr const char* SUndo = "&Undo";
inline constexpr const char* SSelectAll = "Select all";
inline constexpr const char* SDelete = "&Delete";
inline constexpr const char* SInvalidOwner = "Invalid owner (<>TForm) or second instance on a form";
inline constexpr const char* SIntervalNotCompatible = "Interval not compatible with MinInterval property!";
inline constexpr const char* SNext = "Ne&xt >";
inline constexpr const char* SBack = "< &Back";
inline constexpr const char* SFinish = "&Finish";
// Framework texts the suite raises with.
inline constexpr const char* SListIndexError = "List index out of bounds (%d)";
inline constexpr const char* SNoTimers = "Not enough timers available";
}  // namespace texts

}  // namespace kvx
