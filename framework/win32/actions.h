// Actions: one command with its caption, state and handler, shared by the controls and menu items
// linked to it. Changing an action's Caption, Checked, Enabled, Visible, Hint, ImageIndex or ShortCut
// reaches every client through ActionChange; clicking a client runs the action's OnExecute. OnUpdate
// runs at every idle point of the loop (and before a menu drops down or a shortcut runs), so a handler
// that sets Enabled greys every menu item and tool button of the action.
#pragma once

#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/object.h"
#include "framework/win32/keyboard.h"

namespace fw {

class TActionList;
class TCustomImageList;

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* owner);

    // OnExecute (or the list's); true when a handler ran.
    virtual bool Execute();
    // OnUpdate (or the list's); true when a handler ran.
    virtual bool Update();

    // Clients are told of every change (ActionChange) and let go of the action when it is freed.
    void RegisterChanges(TComponent* client);
    void UnRegisterChanges(TComponent* client);
    int ClientCount() const { return static_cast<int>(clients_.size()); }

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

protected:
    ~TBasicAction() override;
    void BeforeDestruction() override;
    // Sends ActionChange(this, false) to every client.
    void Change();

private:
    std::vector<TComponent*> clients_;
};

class TContainedAction : public TBasicAction {
public:
    explicit TContainedAction(TComponent* owner);

    TActionList* ActionList() const { return actionList_; }
    void SetActionList(TActionList* value);
    const std::string& Category() const { return category_; }
    void SetCategory(const std::string& value) { category_ = value; }
    int Index() const;

    bool Execute() override;
    bool Update() override;

    void ReadState(TReader& reader) override;
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

protected:
    void BeforeDestruction() override;

private:
    TActionList* actionList_ = nullptr;
    std::string category_;
};

class TCustomAction : public TContainedAction {
public:
    explicit TCustomAction(TComponent* owner);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut value);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value);
    // Checking an action of a group (GroupIndex > 0) unchecks the others of its list.
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);

    // A disabled action does not execute.
    bool Execute() override;

private:
    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    std::string hint_;
    int imageIndex_ = -1;
    TShortCut shortCut_ = 0;
    int helpContext_ = 0;
    int groupIndex_ = 0;
};

class TAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
};

using TActionEvent = Event<void(TObject* Sender, TBasicAction* Action, bool& Handled)>;

class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* owner);

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TContainedAction* Actions(int index) const;
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);

    // Runs OnUpdate of every action.
    void UpdateActions();
    // The first enabled action with this shortcut runs (after its update); true when one ran.
    bool IsShortCut(TShortCut shortCut);

    TActionEvent OnExecute;
    TActionEvent OnUpdate;

    void GetChildren(ChildProc proc, void* context, TComponent* root) override;

protected:
    ~TActionList() override;
    void BeforeDestruction() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TContainedAction;
    std::vector<TContainedAction*> actions_;
    TCustomImageList* images_ = nullptr;
};

// The linked action of a control or menu item runs instead of its OnClick (when OnClick is unset or
// is the action's OnExecute); true when it ran.
bool ExecuteClientAction(TComponent* action, const TNotifyEvent& onClick);

// Runs OnUpdate of every action of every live action list (the idle point does this).
void UpdateAllActions();

void RegisterActionClasses();
void InstallActionHandlers();

}  // namespace fw
