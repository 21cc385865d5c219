// Actions, action lists and the links of controls to actions.
#include "framework/win32/actions.h"

#include <algorithm>

#include "framework/core/exceptions.h"
#include "framework/core/filer.h"
#include "framework/core/format.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/controls.h"
#include "framework/win32/forms.h"
#include "framework/win32/imagelist.h"
#include "framework/win32/menus.h"

namespace fw {
namespace {

std::vector<TActionList*>& Lists() {
    static std::vector<TActionList*> lists;
    return lists;
}

void NotifyClient(TComponent* client, TBasicAction* action) {
    if (auto* item = dynamic_cast<TMenuItem*>(client))
        item->ActionChange(action, false);
    else if (auto* control = dynamic_cast<TControl*>(client))
        control->ActionChange(action, false);
}

}  // namespace

// ---- TBasicAction ----------------------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}
TBasicAction::~TBasicAction() = default;

void TBasicAction::BeforeDestruction() {
    Destroying();
    // Clients let go through the free notification they asked for.
    clients_.clear();
    TComponent::BeforeDestruction();
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::RegisterChanges(TComponent* client) {
    if (client && std::find(clients_.begin(), clients_.end(), client) == clients_.end()) clients_.push_back(client);
}

void TBasicAction::UnRegisterChanges(TComponent* client) {
    clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

void TBasicAction::Change() {
    for (TComponent* client : std::vector<TComponent*>(clients_))
        if (std::find(clients_.begin(), clients_.end(), client) != clients_.end()) NotifyClient(client, this);
}

// ---- TContainedAction ------------------------------------------------------------------------------

TContainedAction::TContainedAction(TComponent* owner) : TBasicAction(owner) {}

void TContainedAction::BeforeDestruction() {
    SetActionList(nullptr);
    TBasicAction::BeforeDestruction();
}

void TContainedAction::SetActionList(TActionList* value) {
    if (actionList_ == value) return;
    if (actionList_) {
        auto& list = actionList_->actions_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
    actionList_ = value;
    if (actionList_) actionList_->actions_.push_back(this);
}

int TContainedAction::Index() const {
    if (!actionList_) return -1;
    const auto& list = actionList_->actions_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

bool TContainedAction::Execute() {
    if (actionList_ && actionList_->OnExecute) {
        bool handled = false;
        actionList_->OnExecute(actionList_, this, handled);
        if (handled) return true;
    }
    return TBasicAction::Execute();
}

bool TContainedAction::Update() {
    if (actionList_ && actionList_->OnUpdate) {
        bool handled = false;
        actionList_->OnUpdate(actionList_, this, handled);
        if (handled) return true;
    }
    return TBasicAction::Update();
}

void TContainedAction::ReadState(TReader& reader) {
    SetParentComponent(reader.Parent());
    TBasicAction::ReadState(reader);
}

TComponent* TContainedAction::GetParentComponent() const { return actionList_; }

void TContainedAction::SetParentComponent(TComponent* parent) {
    if (auto* list = dynamic_cast<TActionList*>(parent)) SetActionList(list);
}

// ---- TCustomAction ---------------------------------------------------------------------------------

TCustomAction::TCustomAction(TComponent* owner) : TContainedAction(owner) {}

void TCustomAction::SetCaption(const std::string& value) {
    if (caption_ == value) return;
    caption_ = value;
    Change();
}

void TCustomAction::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    if (value && groupIndex_ > 0 && ActionList()) {
        for (int i = 0; i < ActionList()->ActionCount(); ++i) {
            auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
            if (other && other != this && other->groupIndex_ == groupIndex_) other->SetChecked(false);
        }
    }
    Change();
}

void TCustomAction::SetEnabled(bool value) {
    if (enabled_ == value) return;
    enabled_ = value;
    Change();
}

void TCustomAction::SetVisible(bool value) {
    if (visible_ == value) return;
    visible_ = value;
    Change();
}

void TCustomAction::SetHint(const std::string& value) {
    if (hint_ == value) return;
    hint_ = value;
    Change();
}

void TCustomAction::SetImageIndex(int value) {
    if (imageIndex_ == value) return;
    imageIndex_ = value;
    Change();
}

void TCustomAction::SetShortCut(TShortCut value) {
    if (shortCut_ == value) return;
    shortCut_ = value;
    Change();
}

void TCustomAction::SetHelpContext(int value) {
    if (helpContext_ == value) return;
    helpContext_ = value;
    Change();
}

void TCustomAction::SetGroupIndex(int value) {
    if (groupIndex_ == value) return;
    groupIndex_ = value;
    if (checked_ && value > 0) {
        checked_ = false;
        SetChecked(true);
    }
}

bool TCustomAction::Execute() {
    Update();
    if (!enabled_) return false;
    return TContainedAction::Execute();
}

// ---- TActionList -----------------------------------------------------------------------------------

TActionList::TActionList(TComponent* owner) : TComponent(owner) { Lists().push_back(this); }

TActionList::~TActionList() = default;

void TActionList::BeforeDestruction() {
    Destroying();
    auto& lists = Lists();
    lists.erase(std::remove(lists.begin(), lists.end(), this), lists.end());
    for (TContainedAction* action : std::vector<TContainedAction*>(actions_)) action->SetActionList(nullptr);
    TComponent::BeforeDestruction();
}

void TActionList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == images_) images_ = nullptr;
}

TContainedAction* TActionList::Actions(int index) const {
    if (index < 0 || index >= ActionCount()) throw EListError(Format("List index out of bounds (%d)", {index}));
    return actions_[static_cast<size_t>(index)];
}

void TActionList::SetImages(TCustomImageList* value) {
    if (images_ == value) return;
    if (images_) RemoveFreeNotification(images_);
    images_ = value;
    if (images_) FreeNotification(images_);
}

void TActionList::UpdateActions() {
    for (TContainedAction* action : std::vector<TContainedAction*>(actions_)) action->Update();
}

bool TActionList::IsShortCut(TShortCut shortCut) {
    if (shortCut == 0) return false;
    for (TContainedAction* contained : std::vector<TContainedAction*>(actions_)) {
        auto* action = dynamic_cast<TCustomAction*>(contained);
        if (!action || action->ShortCut() != shortCut) continue;
        action->Update();
        if (!action->Enabled() || !action->Visible()) continue;
        action->Execute();
        return true;
    }
    return false;
}

void TActionList::GetChildren(ChildProc proc, void* context, TComponent* root) {
    for (TContainedAction* action : actions_)
        if (action->Owner() == root) proc(context, action);
}

// ---- links -------------------------------------------------------------------------------------------

bool ExecuteClientAction(TComponent* component, const TNotifyEvent& onClick) {
    auto* action = dynamic_cast<TBasicAction*>(component);
    if (!action) return false;
    if (onClick && !(onClick == action->OnExecute)) return false;
    action->Execute();
    return true;
}

void UpdateAllActions() {
    for (TActionList* list : std::vector<TActionList*>(Lists()))
        if (std::find(Lists().begin(), Lists().end(), list) != Lists().end() && !list->InState(csLoading))
            list->UpdateActions();
}

void TControl::SetAction(TComponent* value) {
    if (action_ == value) return;
    if (auto* old = dynamic_cast<TBasicAction*>(action_)) {
        old->UnRegisterChanges(this);
        RemoveFreeNotification(old);
    }
    action_ = value;
    if (auto* action = dynamic_cast<TBasicAction*>(action_)) {
        action->RegisterChanges(this);
        FreeNotification(action);
        ActionChange(action, InState(csLoading));
    }
}

void TControl::ActionChange(TObject* sender, bool checkDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(sender);
    if (!action) return;
    if (!checkDefaults || Caption().empty() || Caption() == Name()) SetCaption(action->Caption());
    if (!checkDefaults || Enabled()) SetEnabled(action->Enabled());
    if (!checkDefaults || Hint().empty()) SetHint(action->Hint());
    if (!checkDefaults || Visible()) SetVisible(action->Visible());
    if (!checkDefaults || HelpContext() == 0) SetHelpContext(action->HelpContext());
    if (!checkDefaults || !OnClick) OnClick = action->OnExecute;
}

namespace {
bool ActionListShortCut(TForm* form, TShortCut shortCut) {
    for (int i = 0; i < form->ComponentCount(); ++i) {
        if (auto* list = dynamic_cast<TActionList*>(form->Components(i)); list && list->IsShortCut(shortCut))
            return true;
    }
    return false;
}
}  // namespace

void RegisterActionClasses() {
    RegisterClasses();
    Class<TBasicAction, TComponent>("TBasicAction")
        .Event("OnExecute", &TBasicAction::OnExecute)
        .Event("OnUpdate", &TBasicAction::OnUpdate);
    Class<TContainedAction, TBasicAction>("TContainedAction")
        .Prop("Category", &TContainedAction::Category, &TContainedAction::SetCategory);
    Class<TCustomAction, TContainedAction>("TCustomAction")
        .Prop("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption)
        .Prop("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked)
        .Prop("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled)
        .Prop("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible)
        .Prop("Hint", &TCustomAction::Hint, &TCustomAction::SetHint)
        .Prop("ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex)
        .Prop("ShortCut", &TCustomAction::ShortCut, &TCustomAction::SetShortCut)
        .Prop("HelpContext", &TCustomAction::HelpContext, &TCustomAction::SetHelpContext)
        .Prop("GroupIndex", &TCustomAction::GroupIndex, &TCustomAction::SetGroupIndex);
    Class<TAction, TCustomAction>("TAction");
    Class<TActionList, TComponent>("TActionList")
        .Prop("Images", &TActionList::Images, &TActionList::SetImages)
        .Event("OnExecute", &TActionList::OnExecute)
        .Event("OnUpdate", &TActionList::OnUpdate);
}

void InstallActionHandlers() {
    AddShortCutHandler(&ActionListShortCut);
    if (Application) Application->AddIdleHandler(&UpdateAllActions);
}

}  // namespace fw
