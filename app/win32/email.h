// TEmail: the mail component over Simple MAPI (smapi.h). It holds at most one session; operations that
// find none log on and off around themselves. Every Simple MAPI failure goes to OnMapiError and is the
// operation's result.
#pragma once

#include <string>
#include <vector>

#include "framework/core/event.h"
#include "framework/core/exceptions.h"
#include "framework/core/object.h"

namespace app {

class EMapiUnavailable : public fw::Exception {
public:
    using fw::Exception::Exception;
};

using TMapiErrorEvent = fw::Event<void(fw::TObject* Sender, unsigned ErrorCode)>;

class TEmail : public fw::TComponent {
public:
    using TComponent::TComponent;

    bool Acknowledge = false;
    std::vector<std::string> Attachment;
    std::vector<std::string> Recipient;
    std::vector<std::string> CC;
    std::vector<std::string> Bcc;
    bool DownLoadFirst = false;
    bool NewSession = false;
    std::string Password;
    std::string Profile;
    bool UseDefProfile = false;
    bool ShowDialog = false;
    std::string Subject;
    std::string Text;
    bool TruncAttFN = true;
    TMapiErrorEvent OnMapiError;

    bool MapiAvail() const;
    bool LoggedOn() const { return session_ != 0; }
    // Raises EMapiUnavailable when the system has no Simple MAPI.
    void CheckMapi() const;
    unsigned Logon();
    unsigned Logoff();
    unsigned SendMail();
    // The resolved form of Name ("" when it cannot be resolved).
    unsigned ResolveName(const std::string& name, std::string& resolved);
    unsigned Address();
    // The note text used instead of Text; an empty text removes it. Returns its length.
    size_t SetLongText(const std::string& text);

protected:
    ~TEmail() override;

private:
    struct Recipients;
    unsigned Error(unsigned code);
    void ReadDefaultProfile();
    unsigned LogonFlags() const;
    // Resolves each name of List into recipients of Class (the list takes the resolved names).
    unsigned BuildRecipients(std::vector<std::string>& list, unsigned recipClass, Recipients& out);
    uintptr_t session_ = 0;
    bool hasLongText_ = false;
    std::string longText_;
};

void RegisterEmailClass();

}  // namespace app
