#include "framework/tools/fwdrive/driver.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "framework/win32/callback.h"

#include <tlhelp32.h>

namespace fw::drive {
namespace {

constexpr const char* kReplyClass = "FwDriveReply";
constexpr DWORD kPollMs = 50;
constexpr unsigned kDiagnosticAnswerMs = 2000;  // a failure report must not wait long on a hung program
constexpr DWORD kEndGraceMs = 5000;             // an action's program may take this long to end after it

std::string LastErrorText(DWORD code) {
    char buffer[512] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                             sizeof buffer, nullptr);
    std::string text(buffer, n);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return "error " + std::to_string(code) + (text.empty() ? "" : " (" + text + ")");
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

bool IsAbsolute(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

// The row of a payload whose first cell is `key`.
const Row* FindRow(const std::vector<Row>& rows, const std::string& key) {
    for (const Row& r : rows)
        if (!r.empty() && r[0] == key) return &r;
    return nullptr;
}

void PrintIndented(const std::string& title, const std::string& text) {
    std::printf("  %s:\n", title.c_str());
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) std::printf("    %s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/' || GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return path;
    if (GetDriveTypeA("Z:\\") != DRIVE_NO_ROOT_DIR) return "Z:" + path;
    // A prefix without the drive of the Unix root (a test's own): Wine's path of any Unix file.
    std::string mapped = "\\\\?\\unix" + path;
    for (char& c : mapped)
        if (c == '/') c = '\\';
    return mapped;
}

Driver::Driver(DriverOptions options) : options_(std::move(options)) {
    scriptDir_ = DirectoryOf(options_.scriptPath);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Driver::ReplyProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kReplyClass;
    RegisterClassExA(&wc);
    replyWindow_ = CreateWindowExA(0, kReplyClass, "fwdrive", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   wc.hInstance, nullptr);
    SetWindowLongPtrA(replyWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Driver::~Driver() {
    EndProgram();
    if (replyWindow_) DestroyWindow(replyWindow_);
}

LRESULT CALLBACK Driver::ReplyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FW_CALLBACK_BODY(0, {
        if (message != WM_COPYDATA) return DefWindowProcA(window, message, wParam, lParam);
        auto* self = reinterpret_cast<Driver*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!self || !data || data->dwData != kReplyTag) return LRESULT(0);
        std::string text(static_cast<const char*>(data->lpData), data->cbData);
        Reply reply;
        if (!ParseReply(text, reply) || reply.id != self->awaitedId_) return LRESULT(0);
        self->reply_ = reply;
        self->replied_ = true;
        return LRESULT(1);
    })
}

int Driver::Run() {
    std::ifstream in(options_.scriptPath, std::ios::binary);
    if (!in) {
        std::printf("fwdrive: cannot read the script %s\n", options_.scriptPath.c_str());
        return 2;
    }
    std::stringstream text;
    text << in.rdbuf();
    VariableLookup lookup = [this](const std::string& name, std::string& value) {
        auto it = options_.defines.find(name);
        if (it != options_.defines.end()) {
            value = it->second;
            return true;
        }
        char buffer[4096];
        DWORD n = GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
        if (n == 0 || n >= sizeof buffer) return false;
        value.assign(buffer, n);
        return true;
    };
    std::vector<Step> steps;
    std::string error;
    if (!ParseScript(text.str(), lookup, steps, error)) {
        std::printf("fwdrive: %s: %s\n", options_.scriptPath.c_str(), error.c_str());
        return 2;
    }
    for (const Step& step : steps) {
        std::printf("fwdrive: line %d: %s\n", step.line, step.text.c_str());
        std::fflush(stdout);
        if (!RunStep(step)) return 1;
    }
    if (started_ && !ProgramEnded()) {
        std::printf("fwdrive: the program still runs at the end of the script; ending it\n");
    }
    EndProgram();
    std::printf("fwdrive: %s: all %zu steps passed\n", options_.scriptPath.c_str(), steps.size());
    return 0;
}

bool Driver::RunStep(const Step& step) {
    switch (step.kind) {
        case StepKind::Start: return Start(step);
        case StepKind::Attach: return Attach(step);
        case StepKind::Sleep: Sleep(static_cast<DWORD>(step.seconds * 1000)); return true;
        case StepKind::Screenshot: RequestScreenshot(&step, step.name.empty() ? std::string() : step.name + ".png"); return true;
        case StepKind::Expect:
        case StepKind::ExpectError: return Expect(step);
        case StepKind::Request: return Perform(step);
        default: return Wait(step);
    }
}

bool Driver::Start(const Step& step) {
    if (started_) {
        Fail(&step, "a program was started already");
        return false;
    }
    std::string program = WindowsPath(step.program);
    std::string commandLine = "\"" + program + "\"" + (step.arguments.empty() ? "" : " " + step.arguments);
    SetEnvironmentVariableA("FW_AUTOMATION", "1");
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &process_)) {
        Fail(&step, "cannot start " + program + ": " + LastErrorText(GetLastError()));
        return false;
    }
    started_ = true;
    endpoint_ = nullptr;
    seen_.push_back(process_.dwProcessId);
    return true;
}

DWORD Driver::FindAttachable(const std::string& fileName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry)) {
        std::string name = entry.szExeFile;
        size_t slash = name.find_last_of("\\/");
        if (slash != std::string::npos) name = name.substr(slash + 1);
        if (lstrcmpiA(name.c_str(), fileName.c_str()) != 0) continue;
        if (std::find(seen_.begin(), seen_.end(), entry.th32ProcessID) != seen_.end()) continue;
        // Only a program that answers: its endpoint is up.
        const std::string title = std::string(kEndpointTitlePrefix) + std::to_string(entry.th32ProcessID);
        if (FindWindowExA(nullptr, nullptr, kEndpointClass, title.c_str())) found = entry.th32ProcessID;
    }
    CloseHandle(snapshot);
    return found;
}

bool Driver::Attach(const Step& step) {
    ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(step.seconds * 1000);
    DWORD pid = 0;
    while ((pid = FindAttachable(step.program)) == 0) {
        if (GetTickCount64() >= deadline) {
            Fail(&step, "no running " + step.program + " with an automation window appeared within " +
                            std::to_string(static_cast<int>(step.seconds)) + " s");
            return false;
        }
        Sleep(kPollMs);
    }
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
    if (!process) {
        Fail(&step, "cannot open process " + std::to_string(pid) + ": " + LastErrorText(GetLastError()));
        return false;
    }
    // The program talked to so far is still waited for at the end.
    if (started_) {
        if (process_.hThread) CloseHandle(process_.hThread);
        earlier_.push_back(process_.hProcess);
    }
    process_ = {};
    process_.hProcess = process;
    process_.dwProcessId = pid;
    started_ = true;
    endpoint_ = nullptr;
    seen_.push_back(pid);
    std::printf("fwdrive: attached to %s (pid %lu)\n", step.program.c_str(), static_cast<unsigned long>(pid));
    return true;
}

bool Driver::ProgramEnded() {
    return !started_ || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
}

bool Driver::AllEnded() {
    if (!ProgramEnded()) return false;
    for (HANDLE h : earlier_)
        if (WaitForSingleObject(h, 0) != WAIT_OBJECT_0) return false;
    return true;
}

bool Driver::FindEndpoint(double seconds) {
    if (endpoint_ && IsWindow(endpoint_)) return true;
    endpoint_ = nullptr;
    if (!started_) {
        error_ = "no program was started";
        return false;
    }
    std::string title = std::string(kEndpointTitlePrefix) + std::to_string(process_.dwProcessId);
    ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * options_.slowness * 1000);
    while (true) {
        endpoint_ = FindWindowExA(nullptr, nullptr, kEndpointClass, title.c_str());
        if (endpoint_) return true;
        if (ProgramEnded()) {
            DWORD code = 0;
            GetExitCodeProcess(process_.hProcess, &code);
            error_ = "the program ended (exit code " + std::to_string(code) + ")";
            return false;
        }
        if (GetTickCount64() >= deadline) {
            error_ = "no automation window \"" + title + "\" (is FW_AUTOMATION handled at start?)";
            return false;
        }
        Sleep(kPollMs);
    }
}

bool Driver::Send(const std::string& verb, const std::string& args, Reply& reply, double findSeconds,
                  unsigned answerMs) {
    if (!FindEndpoint(findSeconds)) return false;
    Request request{nextId_++, verb, args};
    std::string text = FormatRequest(request);
    COPYDATASTRUCT data{};
    data.dwData = kRequestTag;
    data.cbData = static_cast<DWORD>(text.size());
    data.lpData = text.data();
    awaitedId_ = request.id;
    replied_ = false;
    DWORD_PTR result = 0;
    // SMTO_NORMAL lets this thread take the reply, which the endpoint sends while we wait here.
    LRESULT sent = SendMessageTimeoutA(endpoint_, WM_COPYDATA, reinterpret_cast<WPARAM>(replyWindow_),
                                       reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                                       static_cast<UINT>(answerMs * options_.slowness), &result);
    awaitedId_ = 0;
    if (!sent) {
        DWORD code = GetLastError();
        error_ = ProgramEnded() ? "the program ended" : "no answer to \"" + verb + "\": " + LastErrorText(code);
        endpoint_ = nullptr;
        return false;
    }
    if (!replied_) {
        error_ = "the endpoint took \"" + verb + "\" but sent no reply";
        return false;
    }
    reply = reply_;
    return true;
}

bool Driver::Perform(const Step& step) {
    Reply reply;
    if (!Send(step.verb, step.args, reply)) {
        Fail(&step, error_);
        return false;
    }
    if (!reply.ok) {
        Fail(&step, step.verb + " failed: " + reply.payload);
        return false;
    }
    if (IsQueryVerb(step.verb)) {
        PrintIndented(step.verb, reply.payload);
        return true;
    }
    unsigned sequence = 0;
    if (std::sscanf(reply.payload.c_str(), "queued %u", &sequence) != 1) {
        Fail(&step, "unexpected reply to an action: " + reply.payload);
        return false;
    }
    lastAction_ = sequence;
    // `quit` ends the program; nothing more will run there.
    if (step.verb == "quit") return true;
    bool failed = false;
    if (!WaitForAction(sequence, kDefaultTimeout, failed)) {
        if (failed) {
            Fail(&step, step.verb + " failed when it ran: " + error_);
            return false;
        }
        // An action that ends the program (a Close button, Exit in a menu) took the endpoint with it
        // before it could report the action done: it has run once the program is gone.
        if (started_ && WaitForSingleObject(process_.hProcess, static_cast<DWORD>(kEndGraceMs * options_.slowness)) ==
                            WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process_.hProcess, &code);
            std::printf("fwdrive: the program ended with the action (exit code %lu)\n", static_cast<unsigned long>(code));
            return true;
        }
        Fail(&step, "the action did not run: " + error_);
        return false;
    }
    return true;
}

// An action is settled when the endpoint reports it done (it and the input it posted were
// dispatched), or running: then the GUI thread answers us from a loop nested inside it, such as
// the modal form it opened. An action whose target was gone, disabled or blocked when it ran, or
// whose value was refused, is reported failed (`failed` set, the endpoint's text in `error_`).
bool Driver::WaitForAction(uint32_t sequence, double seconds, bool& failed) {
    ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * options_.slowness * 1000);
    while (true) {
        Reply reply;
        if (!Send("progress", std::to_string(sequence), reply)) return false;
        if (!reply.ok) {
            failed = true;
            error_ = reply.payload;
            return false;
        }
        unsigned done = 0, running = 0;
        if (std::sscanf(reply.payload.c_str(), "done %u running %u", &done, &running) == 2 &&
            (done >= sequence || running == sequence))
            return true;
        if (GetTickCount64() >= deadline) {
            error_ = "action " + std::to_string(sequence) + " still pending (" + reply.payload + ")";
            return false;
        }
        Sleep(kPollMs / 2);
    }
}

bool Driver::Wait(const Step& step) {
    ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(step.seconds * options_.slowness * 1000);
    std::string last;
    while (true) {
        double left = static_cast<double>(deadline - std::min(deadline, GetTickCount64())) / 1000.0;
        bool met = false;
        if (step.kind == StepKind::WaitExit) {
            met = AllEnded();
        } else if (step.kind == StepKind::WaitWindow) {
            met = ProgramHasWindow(step.name);
        } else if (step.kind == StepKind::WaitFile) {
            met = GetFileAttributesA(step.name.c_str()) != INVALID_FILE_ATTRIBUTES;
        } else {
            Reply reply;
            if (!Send(step.kind == StepKind::WaitDialog ? "dialog" : step.kind == StepKind::WaitForm ? "forms" : "state",
                      "", reply, left > 0.1 ? left : 0.1)) {
                Fail(&step, error_);
                return false;
            }
            last = reply.payload;
            std::vector<Row> rows = reply.ok ? SplitRows(reply.payload) : std::vector<Row>();
            switch (step.kind) {
                case StepKind::WaitForm:
                    // forms: name, class, visible, enabled, modal, hwnd
                    for (const Row& r : rows)
                        if (r.size() >= 3 && r[0] == step.name && (!step.visible || r[2] == "1")) met = true;
                    break;
                case StepKind::WaitModal:
                    if (const Row* modal = FindRow(rows, "modal"); modal && modal->size() >= 2)
                        met = modal->back() == step.name;
                    break;
                case StepKind::WaitDialog:
                    if (const Row* caption = FindRow(rows, "caption"); caption && caption->size() >= 2)
                        met = (*caption)[1] == step.name;
                    break;
                case StepKind::WaitDone: {
                    const Row* done = FindRow(rows, "done");
                    const Row* cursor = FindRow(rows, "cursor");
                    met = done && done->size() >= 2 && std::strtoul((*done)[1].c_str(), nullptr, 10) >= lastAction_ &&
                          cursor && cursor->size() >= 2 && (*cursor)[1] == "crDefault";
                    break;
                }
                case StepKind::WaitIdle: {
                    const Row* depth = FindRow(rows, "depth");
                    const Row* cursor = FindRow(rows, "cursor");
                    const Row* queued = FindRow(rows, "queued");
                    met = depth && depth->size() >= 2 && (*depth)[1] == "1" && cursor && cursor->size() >= 2 &&
                          (*cursor)[1] == "crDefault" && queued && queued->size() >= 2 && (*queued)[1] == "0";
                    break;
                }
                default: break;
            }
        }
        if (met) return true;
        if (GetTickCount64() >= deadline) {
            Fail(&step, "timed out after " + std::to_string(static_cast<int>(step.seconds)) + " s" +
                            (last.empty() ? std::string() : "; last reply: " + Escape(last)));
            return false;
        }
        if (step.kind != StepKind::WaitExit && ProgramEnded()) {
            Fail(&step, "the program ended while waiting");
            return false;
        }
        Sleep(kPollMs);
    }
}

std::string Driver::ReadExpected(const Step& step, bool& ok) {
    ok = true;
    if (step.expectedFile.empty()) return step.expected;
    std::string path = WindowsPath(step.expectedFile);
    if (!IsAbsolute(path)) path = scriptDir_ + "\\" + path;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ok = false;
        return path;
    }
    std::stringstream text;
    text << in.rdbuf();
    std::string s = text.str();
    // Files written on any system: line breaks count as "\n".
    std::string out;
    for (size_t i = 0; i < s.size(); ++i)
        if (!(s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n')) out += s[i];
    return out;
}

bool Driver::Expect(const Step& step) {
    bool readable = true;
    std::string expected = ReadExpected(step, readable);
    if (!readable) {
        Fail(&step, "cannot read the expected text " + expected);
        return false;
    }
    Reply reply;
    if (!Send(step.verb, step.args, reply)) {
        Fail(&step, error_);
        return false;
    }
    bool wantOk = step.kind == StepKind::Expect;
    if (reply.ok != wantOk) {
        Fail(&step, std::string(wantOk ? "the query failed: " : "the request succeeded: ") + Escape(reply.payload));
        return false;
    }
    if (!PayloadMatches(reply.payload, expected)) {
        std::printf("fwdrive: line %d: expected:\n", step.line);
        PrintIndented("expected", expected);
        PrintIndented("actual", reply.payload);
        Fail(&step, "expected " + Escape(expected) + ", got " + Escape(reply.payload));
        return false;
    }
    // A refused action queued nothing; an accepted one would have, and that was the failure above.
    return true;
}

void Driver::Fail(const Step* step, const std::string& message) {
    if (step)
        std::printf("fwdrive: FAILED at line %d (%s): %s\n", step->line, step->text.c_str(), message.c_str());
    else
        std::printf("fwdrive: FAILED: %s\n", message.c_str());
    std::fflush(stdout);
    PrintDiagnostics();
    RequestScreenshot(step);
    EndProgram();
}

void Driver::PrintDiagnostics() {
    if (!started_ || ProgramEnded()) {
        std::printf("fwdrive: the program is not running\n");
        return;
    }
    for (const char* verb : {"state", "forms", "dialog"}) {
        Reply reply;
        if (!Send(verb, "", reply, 1.0, kDiagnosticAnswerMs)) {
            std::printf("  %s: no answer (%s)\n", verb, error_.c_str());
            continue;
        }
        PrintIndented(std::string(verb) + (reply.ok ? "" : " (err)"), reply.payload);
    }
}

// The Linux harness watches the output folder: for a file "fwdrive-screenshot.request" it takes a
// screenshot of the display under the name written in it and then creates "<request>.done".
void Driver::RequestScreenshot(const Step* step, const std::string& given) {
    std::string base = options_.scriptPath;
    size_t slash = base.find_last_of("\\/");
    if (slash != std::string::npos) base = base.substr(slash + 1);
    size_t dot = base.rfind('.');
    if (dot != std::string::npos) base = base.substr(0, dot);
    std::string name = !given.empty() ? given : base + "-line" + std::to_string(step ? step->line : 0) + ".png";
    std::string request = options_.outDir + "\\fwdrive-screenshot.request";
    std::string done = request + ".done";
    DeleteFileA(done.c_str());
    {
        std::ofstream out(request, std::ios::binary | std::ios::trunc);
        out << name << "\n";
        if (!out) {
            std::printf("fwdrive: cannot write %s\n", request.c_str());
            return;
        }
    }
    std::printf("fwdrive: screenshot requested: %s\n", name.c_str());
    if (!options_.waitForScreenshot) return;
    for (int i = 0; i < 100 && GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(kPollMs);
}

bool Driver::ProgramHasWindow(const std::string& className) {
    if (!started_) return false;
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className.c_str(), nullptr)) != nullptr) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid == process_.dwProcessId && IsWindowVisible(window)) return true;
    }
    return false;
}

void Driver::EndProgram() {
    if (!started_) return;
    if (!ProgramEnded()) {
        TerminateProcess(process_.hProcess, 1);
        if (WaitForSingleObject(process_.hProcess, 10000) != WAIT_OBJECT_0)
            std::printf("fwdrive: the program did not end after TerminateProcess\n");
        else
            std::printf("fwdrive: ended the program (pid %lu)\n", static_cast<unsigned long>(process_.dwProcessId));
    }
    if (process_.hThread) CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = {};
    started_ = false;
    endpoint_ = nullptr;
    for (HANDLE h : earlier_) CloseHandle(h);
    earlier_.clear();
}

}  // namespace fw::drive
