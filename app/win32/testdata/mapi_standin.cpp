// A stand-in for the system's Simple MAPI library (mapi32.dll), for the mail scenarios: there is no
// mail client here, and the system's own library hands mail to a mailto: program. Each call and its
// arguments go to "mapi32.log" beside the library, one line each (the recipients and files of a
// message on lines of their own). Names resolve to "<name without brackets> (resolved)" with the
// address "SMTP:<name>"; a name holding "unknown" is unknown. A line "fail-send-once" in
// "mapi32.cfg" beside the library makes the first MAPISendMail fail. Built with
// MAPI_STANDIN_PARTIAL, MAPIFindNext is left out.
#include <windows.h>
#include <mapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Beside(const char* name) {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&Beside), &self);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, MAX_PATH);
    std::string s = path;
    s.erase(s.find_last_of('\\') + 1);
    return s + name;
}

void Log(const std::string& line) {
    if (FILE* f = std::fopen(Beside("mapi32.log").c_str(), "ab")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

std::string Text(const char* s) { return s ? s : "(null)"; }

std::string Hex(unsigned long v) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%lx", v);
    return buffer;
}

bool Configured(const char* word) {
    FILE* f = std::fopen(Beside("mapi32.cfg").c_str(), "rb");
    if (!f) return false;
    char line[256];
    bool found = false;
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, word, std::strlen(word)) == 0) found = true;
    std::fclose(f);
    return found;
}

int sends = 0;

}  // namespace

extern "C" {

__declspec(dllexport) ULONG WINAPI MAPILogon(ULONG_PTR, LPSTR profile, LPSTR, FLAGS flags, ULONG, LPLHANDLE session) {
    Log("MAPILogon profile=" + Text(profile) + " flags=" + Hex(flags));
    *session = 0x1234;
    return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR, FLAGS, ULONG) {
    Log("MAPILogoff session=" + Hex(static_cast<unsigned long>(session)));
    return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPIResolveName(LHANDLE, ULONG_PTR, LPSTR name, FLAGS flags, ULONG,
                                                   lpMapiRecipDesc* recip) {
    const std::string typed = Text(name);
    Log("MAPIResolveName name=" + typed + " flags=" + Hex(flags));
    if (typed.find("unknown") != std::string::npos) return MAPI_E_UNKNOWN_RECIPIENT;
    std::string plain;
    for (char c : typed)
        if (c != '[' && c != ']') plain += c;
    const std::string resolved = plain + " (resolved)";
    const std::string address = "SMTP:" + plain;
    // One block: the description, then its two strings; MAPIFreeBuffer frees it.
    const size_t size = sizeof(MapiRecipDesc) + resolved.size() + 1 + address.size() + 1;
    auto* block = static_cast<char*>(std::calloc(1, size));
    auto* desc = reinterpret_cast<MapiRecipDesc*>(block);
    char* text = block + sizeof(MapiRecipDesc);
    std::memcpy(text, resolved.c_str(), resolved.size() + 1);
    desc->lpszName = text;
    text += resolved.size() + 1;
    std::memcpy(text, address.c_str(), address.size() + 1);
    desc->lpszAddress = text;
    desc->ulRecipClass = MAPI_TO;
    *recip = desc;
    return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPIFreeBuffer(LPVOID p) {
    std::free(p);
    return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE, ULONG_PTR, lpMapiMessage message, FLAGS flags, ULONG) {
    ++sends;
    Log("MAPISendMail flags=" + Hex(flags) + " msgflags=" + Hex(message->flFlags) +
        " subject=" + Text(message->lpszSubject) + " note=" + Text(message->lpszNoteText) +
        " recipients=" + std::to_string(message->nRecipCount) + " files=" + std::to_string(message->nFileCount));
    for (ULONG i = 0; i < message->nRecipCount; ++i) {
        const MapiRecipDesc& r = message->lpRecips[i];
        Log(" recipient class=" + std::to_string(r.ulRecipClass) + " name=" + Text(r.lpszName) +
            " address=" + Text(r.lpszAddress));
    }
    for (ULONG i = 0; i < message->nFileCount; ++i) {
        const MapiFileDesc& f = message->lpFiles[i];
        Log(" file path=" + Text(f.lpszPathName) + " name=" + Text(f.lpszFileName) +
            " position=" + std::to_string(static_cast<long>(f.nPosition)));
    }
    if (sends == 1 && Configured("fail-send-once")) return MAPI_E_FAILURE;
    return SUCCESS_SUCCESS;
}

__declspec(dllexport) ULONG WINAPI MAPIAddress(LHANDLE, ULONG_PTR, LPSTR, ULONG editFields, LPSTR, ULONG count,
                                               lpMapiRecipDesc, FLAGS, ULONG, LPULONG newCount,
                                               lpMapiRecipDesc* newRecips) {
    Log("MAPIAddress fields=" + std::to_string(editFields) + " recipients=" + std::to_string(count));
    *newCount = 0;
    *newRecips = nullptr;
    return MAPI_E_USER_ABORT;
}

__declspec(dllexport) ULONG WINAPI MAPIReadMail(LHANDLE, ULONG_PTR, LPSTR, FLAGS, ULONG, lpMapiMessage*) {
    return MAPI_E_NOT_SUPPORTED;
}

__declspec(dllexport) ULONG WINAPI MAPIDeleteMail(LHANDLE, ULONG_PTR, LPSTR, FLAGS, ULONG) {
    return MAPI_E_NOT_SUPPORTED;
}

__declspec(dllexport) ULONG WINAPI MAPISaveMail(LHANDLE, ULONG_PTR, lpMapiMessage, FLAGS, ULONG, LPSTR) {
    return MAPI_E_NOT_SUPPORTED;
}

#ifndef MAPI_STANDIN_PARTIAL
__declspec(dllexport) ULONG WINAPI MAPIFindNext(LHANDLE, ULONG_PTR, LPSTR, LPSTR, FLAGS, ULONG, LPSTR) {
    return MAPI_E_NO_MESSAGES;
}
#endif
}
