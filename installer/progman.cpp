#include "installer/progman.h"

#include "framework/core/sysutils.h"
#include "installer/strutils.h"
#include "installer/translator.h"

namespace inst {

namespace {

// One leading quote (only when more than the quote is there) and one trailing quote taken off.
std::string Unquote(std::string field) {
    if (field.size() > 1 && field.front() == '"') field.erase(0, 1);
    if (!field.empty() && field.back() == '"') field.pop_back();
    return field;
}

}  // namespace

EAIPMError::EAIPMError()
    : EAI(TranslateEnglish("The TProgramManager object was unable to communicate with Program Manager")) {}

EAIPMCannotOpen::EAIPMCannotOpen()
    : EAIPMError(TranslateEnglish("The TProgramManager object was unable to establish a link with Program Manager")) {}

EAIPMCannotOpenGroup::EAIPMCannotOpenGroup(const std::string& group)
    : EAIPMError(FormatTranslated("The TProgramManager object was unable to open the following group: %s", {group})),
      Group(group) {}

EAIPMCannotCreateGroup::EAIPMCannotCreateGroup(const std::string& group)
    : EAIPMError(FormatTranslated("The TProgramManager object was unable to create the following group: %s", {group})),
      Group(group) {}

// The item name is an argument, never part of the format: a "%" in it stays a "%".
EAIPMCannotAddItem::EAIPMCannotAddItem(const std::string& group, const std::string& item, const std::string& command)
    : EAIPMError(FormatTranslated("The TProgramManager object was unable to add the following program item: %s to the "
                                  "following group: %s. The arguments passed to  Program Manager were: %s",
                                  {item, group, command})),
      Group(group),
      Item(item),
      Command(command) {}

EAIPMCannotReplaceItem::EAIPMCannotReplaceItem(const std::string& group, const std::string& item)
    : EAIPMError(FormatTranslated(
          "The TProgramManager object was unable to replace the following program item: %s to the following group: %s",
          {item, group})),
      Group(group),
      Item(item) {}

TProgramManager::TProgramManager(fw::TComponent* owner) : fw::TComponent(owner) {}

TProgramManager& ProgramManager() {
    static TProgramManager* manager = fw::Make<TProgramManager>(nullptr);
    return *manager;
}

void TProgramManager::Connect() {
    if (conversation_) return;
    conversation_ = Sys().ConnectDde("PROGMAN", "PROGMAN");
    if (!conversation_) throw EAIPMCannotOpen();
}

void TProgramManager::Execute(const std::string& command, const std::function<void()>& fail) {
    if (!conversation_->Execute(command)) fail();
}

void TProgramManager::SelectGroup(const std::string& name) {
    Connect();
    currentGroup_.clear();
    items_.Clear();
    std::string data;
    if (!conversation_->Request(name, data) || data.empty()) return;
    items_.SetText(data);
    currentGroup_ = name;
}

void TProgramManager::GetGroups(fw::TStrings& list) {
    Connect();
    std::string data;
    list.Clear();
    if (conversation_->Request("Groups", data)) list.SetText(data);
}

void TProgramManager::CreateGroup(const std::string& name) {
    Connect();
    if (fw::Trim(name).empty()) return;
    Execute("[CreateGroup(\"" + name + "\")]", [&] { throw EAIPMCannotCreateGroup(name); });
    SelectGroup(name);
    // The shell made (or opened) the group even when it gives no data for it: items go there.
    if (currentGroup_.empty()) currentGroup_ = name;
}

void TProgramManager::AddItem(const std::string& commandLine, const std::string& itemName, const std::string& iconPath,
                              int iconIndex, const std::string& defaultDir, const std::string& hotKey) {
    Connect();
    if (currentGroup_.empty()) return;
    const std::string group = currentGroup_;
    Execute("[ShowGroup(" + group + ",8)]", [&] { throw EAIPMCannotOpenGroup(group); });
    const std::string command = "[AddItem(" + commandLine + "," + itemName + "," + iconPath + "," +
                                std::to_string(iconIndex) + ",,," + defaultDir + "," + hotKey + ")]";
    Execute(command, [&] { throw EAIPMCannotAddItem(group, itemName, command); });
    SelectGroup(group);
    if (currentGroup_.empty()) currentGroup_ = group;
}

void TProgramManager::ReplaceItem(const std::string& itemName) {
    Connect();
    if (currentGroup_.empty()) return;
    const std::string group = currentGroup_;
    Execute("[ShowGroup(" + group + ",8)]", [&] { throw EAIPMCannotOpenGroup(group); });
    Execute("[ReplaceItem(\"" + itemName + "\")]", [&] { throw EAIPMCannotReplaceItem(group, itemName); });
    SelectGroup(group);
    if (currentGroup_.empty()) currentGroup_ = group;
}

int TProgramManager::ItemCount() const { return items_.Count() >= 2 ? items_.Count() - 1 : 0; }

std::string TProgramManager::ItemField(int index, int n) const {
    if (index < 1 || index > ItemCount()) return std::string();
    return Unquote(Field(items_.Get(index), n, ","));
}

std::string TProgramManager::ItemName(int index) const { return Unquote(ItemField(index, 1)); }
std::string TProgramManager::ItemCommand(int index) const { return Unquote(ItemField(index, 2)); }

int TProgramManager::FindItem(const std::string& itemName) const {
    for (int i = 1; i <= ItemCount(); ++i)
        if (ItemName(i) == itemName) return i;
    return -1;
}

}  // namespace inst
