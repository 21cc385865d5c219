#include "app/win32/email.h"

#include <deque>
#include <limits>

#include "app/mail_names.h"
#include "app/win32/smapi.h"
#include "framework/core/rtti.h"
#include "framework/core/sysutils.h"

namespace app {

namespace {

using smapi::Mapi;

// The resolved names of one call, freed with the call.
class ResolvedRecipient {
public:
    ResolvedRecipient() = default;
    ResolvedRecipient(const ResolvedRecipient&) = delete;
    ResolvedRecipient& operator=(const ResolvedRecipient&) = delete;
    ~ResolvedRecipient() {
        if (desc && Mapi().FreeBuffer) Mapi().FreeBuffer(desc);
    }
    lpMapiRecipDesc desc = nullptr;
};

// MAPIResolveName, asked again with the resolver's dialog when the name is ambiguous or unknown.
ULONG Resolve(uintptr_t session, const std::string& name, ResolvedRecipient& out) {
    std::string text = name;
    ULONG code = Mapi().ResolveName(session, 0, text.data(), 0, 0, &out.desc);
    if (code == MAPI_E_AMBIGUOUS_RECIPIENT || code == MAPI_E_UNKNOWN_RECIPIENT)
        code = Mapi().ResolveName(session, 0, text.data(), MAPI_DIALOG, 0, &out.desc);
    return code;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Simple MAPI limits its counts to ULONG; the arrays must also fit the address space.
bool TooMany(size_t count, size_t elementSize) {
    return count >= std::numeric_limits<ULONG>::max() || count > std::numeric_limits<size_t>::max() / elementSize;
}

}  // namespace

// The recipients of one message: their texts and entry identifiers stay in place until it is sent.
struct TEmail::Recipients {
    std::deque<std::string> texts;
    std::deque<std::unique_ptr<ResolvedRecipient>> resolved;
    std::vector<MapiRecipDesc> descs;

    char* Keep(const std::string& s) {
        texts.push_back(s);
        return texts.back().data();
    }
};

TEmail::~TEmail() {
    if (session_ && smapi::MapiLoaded()) Mapi().Logoff(session_, 0, 0, 0);
    session_ = 0;
}

bool TEmail::MapiAvail() const { return smapi::MapiLoaded(); }

void TEmail::CheckMapi() const {
    if (!smapi::MapiLoaded()) throw EMapiUnavailable("MAPI services are not available on this system");
}

unsigned TEmail::Error(unsigned code) {
    if (OnMapiError) OnMapiError(this, code);
    return code;
}

unsigned TEmail::LogonFlags() const {
    unsigned flags = 0;
    if (DownLoadFirst) flags |= MAPI_FORCE_DOWNLOAD;
    if (NewSession) flags |= MAPI_NEW_SESSION;
    return flags;
}

void TEmail::ReadDefaultProfile() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows Messaging Subsystem\\Profiles",
                      0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS &&
        RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows Messaging Subsystem\\Profiles", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return;
    char value[256] = {};
    DWORD size = sizeof value - 1, type = 0;
    if (RegQueryValueExA(key, "DefaultProfile", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ)
        Profile = value;
    else
        Profile.clear();
    RegCloseKey(key);
}

unsigned TEmail::Logon() {
    CheckMapi();
    if (session_) return 0;
    if (UseDefProfile) ReadDefaultProfile();
    std::string profile = Profile, password = Password;
    LHANDLE session = 0;
    ULONG code = Mapi().Logon(0, profile.empty() ? nullptr : profile.data(), password.empty() ? nullptr : password.data(),
                              LogonFlags(), 0, &session);
    if (code != SUCCESS_SUCCESS) code = Mapi().Logon(0, nullptr, nullptr, LogonFlags() | MAPI_LOGON_UI, 0, &session);
    if (code != SUCCESS_SUCCESS) return Error(code);
    session_ = session;
    return 0;
}

unsigned TEmail::Logoff() {
    CheckMapi();
    if (!session_) return 0;
    const ULONG code = Mapi().Logoff(session_, 0, 0, 0);
    session_ = 0;
    return code;
}

size_t TEmail::SetLongText(const std::string& text) {
    hasLongText_ = !text.empty();
    longText_ = text;
    return longText_.size();
}

unsigned TEmail::BuildRecipients(std::vector<std::string>& list, unsigned recipClass, Recipients& out) {
    unsigned result = 0;
    for (std::string& name : list) {
        if (name.empty()) continue;
        auto resolved = std::make_unique<ResolvedRecipient>();
        const ULONG code = Resolve(session_, name, *resolved);
        if (code != SUCCESS_SUCCESS || !resolved->desc) {
            result = Error(code);
            continue;
        }
        MapiRecipDesc desc{};
        desc.ulRecipClass = recipClass;
        const std::string resolvedName = resolved->desc->lpszName ? resolved->desc->lpszName : "";
        const std::string address = BracketedAddress(name, resolvedName);
        if (!address.empty()) {
            desc.lpszName = out.Keep(address);
            desc.lpszAddress = out.Keep(address);
        } else {
            name = resolvedName;
            desc.lpszName = out.Keep(resolvedName);
            desc.lpszAddress =
                out.Keep(resolved->desc->lpszAddress && *resolved->desc->lpszAddress ? resolved->desc->lpszAddress
                                                                                     : resolvedName);
            desc.ulEIDSize = resolved->desc->ulEIDSize;
            desc.lpEntryID = resolved->desc->lpEntryID;
        }
        out.descs.push_back(desc);
        out.resolved.push_back(std::move(resolved));
    }
    return result;
}

unsigned TEmail::SendMail() {
    CheckMapi();
    const size_t names = Recipient.size() + CC.size() + Bcc.size();
    if (TooMany(names, sizeof(MapiRecipDesc))) return Error(MAPI_E_TOO_MANY_RECIPIENTS);
    if (TooMany(Attachment.size(), sizeof(MapiFileDesc))) return Error(MAPI_E_TOO_MANY_FILES);
    const bool ownSession = !session_;
    if (ownSession && Logon() != 0) return Error(MAPI_E_LOGON_FAILURE);

    Recipients recipients;
    BuildRecipients(Recipient, MAPI_TO, recipients);
    BuildRecipients(CC, MAPI_CC, recipients);
    BuildRecipients(Bcc, MAPI_BCC, recipients);

    unsigned code = 0;
    std::deque<std::string> files;
    std::vector<MapiFileDesc> attachments;
    for (const std::string& path : Attachment) {
        if (!FileExists(path)) {
            code = Error(MAPI_E_ATTACHMENT_NOT_FOUND);
            break;
        }
        MapiFileDesc file{};
        file.nPosition = static_cast<ULONG>(-1);
        files.push_back(path);
        file.lpszPathName = files.back().data();
        const std::string name = fw::ExtractFileName(path);
        files.push_back(TruncAttFN ? ShortAttachmentName(name) : name);
        file.lpszFileName = files.back().data();
        attachments.push_back(file);
    }
    if (code == 0) {
        std::string subject = Subject;
        std::string note = hasLongText_ ? longText_ : Text;
        MapiMessage message{};
        message.lpszSubject = subject.empty() ? nullptr : subject.data();
        message.lpszNoteText = note.empty() ? nullptr : note.data();
        message.nRecipCount = static_cast<ULONG>(recipients.descs.size());
        message.lpRecips = recipients.descs.empty() ? nullptr : recipients.descs.data();
        message.nFileCount = static_cast<ULONG>(attachments.size());
        message.lpFiles = attachments.empty() ? nullptr : attachments.data();
        if (Acknowledge) message.flFlags |= MAPI_RECEIPT_REQUESTED;
        ULONG flags = 0;
        if (recipients.descs.empty() || ShowDialog) flags |= MAPI_DIALOG;
        const ULONG sent = Mapi().SendMail(session_, 0, &message, flags, 0);
        if (sent != SUCCESS_SUCCESS) code = Error(sent);
    }
    if (ownSession) Logoff();
    return code;
}

unsigned TEmail::ResolveName(const std::string& name, std::string& resolved) {
    CheckMapi();
    const bool ownSession = !session_;
    if (ownSession && Logon() != 0) return MAPI_E_LOGON_FAILURE;
    ResolvedRecipient result;
    const ULONG code = Resolve(session_, name, result);
    if (code != SUCCESS_SUCCESS || !result.desc) {
        resolved.clear();
        Error(code);
    } else {
        const std::string answer = result.desc->lpszName ? result.desc->lpszName : "";
        resolved = BracketedAddress(name, answer).empty() ? answer : name;
    }
    if (ownSession) Logoff();
    return code;
}

unsigned TEmail::Address() {
    CheckMapi();
    if (TooMany(Recipient.size() + CC.size() + Bcc.size(), sizeof(MapiRecipDesc)))
        return Error(MAPI_E_TOO_MANY_RECIPIENTS);
    const bool ownSession = !session_;
    if (ownSession && Logon() != 0) return MAPI_E_LOGON_FAILURE;
    Recipients recipients;
    BuildRecipients(Recipient, MAPI_TO, recipients);
    BuildRecipients(CC, MAPI_CC, recipients);
    BuildRecipients(Bcc, MAPI_BCC, recipients);
    char caption[] = "";
    ULONG count = 0;
    lpMapiRecipDesc chosen = nullptr;
    const ULONG code = Mapi().Address(session_, 0, caption, 4, nullptr, static_cast<ULONG>(recipients.descs.size()),
                                      recipients.descs.empty() ? nullptr : recipients.descs.data(), 0, 0, &count,
                                      &chosen);
    if (code == SUCCESS_SUCCESS) {
        Recipient.clear();
        CC.clear();
        Bcc.clear();
        for (ULONG i = 0; i < count; ++i) {
            const std::string name = chosen[i].lpszName ? chosen[i].lpszName : "";
            if (chosen[i].ulRecipClass == MAPI_CC)
                CC.push_back(name);
            else if (chosen[i].ulRecipClass == MAPI_BCC)
                Bcc.push_back(name);
            else
                Recipient.push_back(name);
        }
        if (chosen) Mapi().FreeBuffer(chosen);
    } else {
        Error(code);
    }
    if (ownSession) Logoff();
    return code;
}

void RegisterEmailClass() {
    fw::Class<TEmail, fw::TComponent>("TEmail")
        .Data("Acknowledge", &TEmail::Acknowledge)
        .Data("DownLoadFirst", &TEmail::DownLoadFirst)
        .Data("NewSession", &TEmail::NewSession)
        .Data("UseDefProfile", &TEmail::UseDefProfile)
        .Data("ShowDialog", &TEmail::ShowDialog)
        .Data("TruncAttFN", &TEmail::TruncAttFN)
        .Data("Subject", &TEmail::Subject)
        .Data("Text", &TEmail::Text);
}

}  // namespace app
