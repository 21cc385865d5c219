// TKVXFileGrep: finds files by folder, wildcard masks, attributes, size, dates and content, and reports
// each hit as one line (OnFound, an optional TKVXListBox, and Results). Execute either runs the search
// at once or hands it to a TKVXSearchThread, whose only work is to have the GUI thread run it; the
// search pumps the message queue once per folder, so a Stop button can Cancel it.
//
// Every search ends with OnCancel or OnFinished, and the next Execute is accepted afterwards. The search
// runs on state shared with the worker, not on the component: freeing the component while a search is
// pending drops the worker's request, and freeing it from inside the search (an event handler, a
// message pumped meanwhile) cancels the walk, which then unwinds without touching the component.
#pragma once

#include <memory>
#include <string>

#include "framework/core/lists.h"
#include "framework/win32/threads.h"
#include "widgets/datetimevalue.h"
#include "widgets/filesearch.h"
#include "widgets/kvxclass.h"

namespace kvx::win32 {

class TKVXListBox;

enum class TKVXFileGrepAttribute { fmReadOnly, fmArchive, fmAnyfile, fmSystem, fmHidden };
using TKVXFileGrepAttributes = fw::Set<TKVXFileGrepAttribute>;
enum class TKVXLookFor {
    lfCreateAfter,
    lfCreateBefore,
    lfAccessedAfter,
    lfAccessedBefore,
    lfModifiedAfter,
    lfModifiedBefore
};
using TKVXLookFors = fw::Set<TKVXLookFor>;

using TKVXFoundEvent = fw::Event<void(TObject* Sender, const std::string& found)>;
using TKVXFileChangeEvent = fw::Event<void(TObject* Sender, const std::string& name)>;

class TKVXFileGrep : public TKVXComponent {
public:
    explicit TKVXFileGrep(TComponent* owner);

    std::string FileMasks;
    std::string Dirs;
    std::string Content;
    int64_t MinSize = 0;
    int64_t MaxSize = 0;
    TKVXFileGrepAttributes Attributes{TKVXFileGrepAttribute::fmAnyfile};
    bool RecurseSubDirs = true;
    bool ThreadedSearch = true;
    TKVXReturnValues ReturnValues{TKVXReturnValue::rvDir, TKVXReturnValue::rvFilename};
    TKVXLookFors LookForDates;
    char ReturnDelimiter = ';';

    // Date limits by index: 0 CreatedAfter, 1 CreatedBefore, 2 AccessedAfter, 3 AccessedBefore,
    // 4 ModifiedAfter, 5 ModifiedBefore. Writing copies the value.
    TKVXDateTime* GetDate(int index) const { return dates_[index].get(); }
    void SetDate(int index, TKVXDateTime* value) { dates_[index]->Assign(value); }

    TKVXListBox* OutStringList() const { return out_; }
    void SetOutStringList(TKVXListBox* value);
    fw::TStringList* Results() const { return results_.get(); }
    fw::TThreadPriority ThreadPriority() const { return priority_; }
    void SetThreadPriority(fw::TThreadPriority value);

    // Ignored while a worker exists. Clears Results (OutStringList keeps its lines).
    void Execute();
    void Cancel();
    // A worker exists: the search is pending or running.
    bool Searching() const;

    // The attribute mask the listing uses (63 with fmAnyfile).
    uint32_t AttrMask() const;
    // The search as the properties set it now.
    TKVXSearchParams Params() const;

    fw::TNotifyEvent OnCancel;
    fw::TNotifyEvent OnFinished;
    TKVXFoundEvent OnFound;
    TKVXFileChangeEvent OnDirChange;
    TKVXFileChangeEvent OnFileChange;

    struct State;

protected:
    ~TKVXFileGrep() override;
    void BeforeDestruction() override;
    void Notification(TComponent* component, fw::TOperation operation) override;

private:
    friend struct State;
    std::shared_ptr<State> state_;
    std::unique_ptr<TKVXDateTime> dates_[6];
    std::unique_ptr<fw::TStringList> results_;
    TKVXListBox* out_ = nullptr;
    fw::TThreadPriority priority_ = fw::TThreadPriority::tpNormal;
};

}  // namespace kvx::win32
