// Program Manager groups over DDE, for systems without the Start-menu folders: one conversation with the
// "PROGMAN" service for the whole program. A group's data is one line describing the group and one line
// per item: comma-separated fields, the first two (name and command line) in double quotes.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/core/lists.h"
#include "framework/core/object.h"
#include "installer/exceptions.h"
#include "installer/system.h"

namespace inst {

class EAIPMError : public EAI {
public:
    using EAI::EAI;
    EAIPMError();
};
class EAIPMCannotOpen : public EAIPMError {
public:
    EAIPMCannotOpen();
};
class EAIPMCannotOpenGroup : public EAIPMError {
public:
    explicit EAIPMCannotOpenGroup(const std::string& group);
    std::string Group;
};
class EAIPMCannotCreateGroup : public EAIPMError {
public:
    explicit EAIPMCannotCreateGroup(const std::string& group);
    std::string Group;
};
class EAIPMCannotAddItem : public EAIPMError {
public:
    EAIPMCannotAddItem(const std::string& group, const std::string& item, const std::string& command);
    std::string Group, Item, Command;
};
class EAIPMCannotReplaceItem : public EAIPMError {
public:
    EAIPMCannotReplaceItem(const std::string& group, const std::string& item);
    std::string Group, Item;
};

class TProgramManager : public fw::TComponent {
public:
    explicit TProgramManager(fw::TComponent* owner);

    bool Connected() const { return conversation_ != nullptr; }
    const std::string& CurrentGroup() const { return currentGroup_; }
    fw::TStringList& Items() { return items_; }

    virtual void Connect();
    void SelectGroup(const std::string& name);
    void GetGroups(fw::TStrings& list);
    void CreateGroup(const std::string& name);
    void AddItem(const std::string& commandLine, const std::string& itemName, const std::string& iconPath,
                 int iconIndex, const std::string& defaultDir, const std::string& hotKey);
    void ReplaceItem(const std::string& itemName);

    int ItemCount() const;
    // Field n (1-based) of item line `index` (1..ItemCount), one pair of quotes taken off.
    std::string ItemField(int index, int n) const;
    std::string ItemName(int index) const;
    std::string ItemCommand(int index) const;
    std::string ItemDefaultDir(int index) const { return ItemField(index, 3); }
    std::string ItemIconPath(int index) const { return ItemField(index, 4); }
    std::string ItemX(int index) const { return ItemField(index, 5); }
    std::string ItemY(int index) const { return ItemField(index, 6); }
    std::string ItemIconIndex(int index) const { return ItemField(index, 7); }
    std::string ItemHotKey(int index) const { return ItemField(index, 8); }
    // The first item of that exact name (case counts), or -1.
    int FindItem(const std::string& itemName) const;

    // Ends the conversation (the next command opens it again).
    void Disconnect() { conversation_.reset(); }

private:
    void Execute(const std::string& command, const std::function<void()>& fail);

    std::unique_ptr<DdeConversation> conversation_;
    std::string currentGroup_;
    fw::TStringList items_;
};

// The one Program Manager of the program (made on first use, no owner).
TProgramManager& ProgramManager();

}  // namespace inst
