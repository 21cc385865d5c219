#include "framework/tools/fwdrive/script.h"

#include <cstdlib>

#include "framework/automation/protocol.h"

namespace fw::drive {
namespace {

bool ParseSeconds(const std::string& word, double& seconds) {
    if (word.empty() || word.find_first_not_of("0123456789.") != std::string::npos) return false;
    char* end = nullptr;
    double v = std::strtod(word.c_str(), &end);
    if (!end || *end || v < 0) return false;
    seconds = v;
    return true;
}

// Splits off a trailing number of seconds, if the last word is one.
void TakeTrailingSeconds(std::string& rest, double& seconds) {
    size_t end = rest.find_last_not_of(" \t");
    if (end == std::string::npos) return;
    size_t start = rest.find_last_of(" \t", end);
    start = start == std::string::npos ? 0 : start + 1;
    if (start == 0) return;  // the only word is the name
    if (ParseSeconds(rest.substr(start, end - start + 1), seconds)) {
        rest.erase(start);
        size_t keep = rest.find_last_not_of(" \t");
        rest.erase(keep == std::string::npos ? 0 : keep + 1);
    }
}

std::string Unquote(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}

// "verb args = expected": fills verb, args and the expectation.
bool ParseExpectation(const std::string& rest, Step& step, std::string& error) {
    std::string request = rest, expected;
    size_t eq = rest.find(" = ");
    if (eq != std::string::npos) {
        request = rest.substr(0, eq);
        expected = rest.substr(eq + 3);
    } else if (rest.size() >= 2 && rest.compare(rest.size() - 2, 2, " =") == 0) {
        request = rest.substr(0, rest.size() - 2);
    } else if (step.kind == StepKind::Expect) {
        error = "expect needs \" = <text>\"";
        return false;
    }
    std::string args;
    SplitWord(request, step.verb, args);
    step.args = Unescape(args);
    if (!IsKnownVerb(step.verb)) {
        error = "unknown verb \"" + step.verb + "\"";
        return false;
    }
    if (step.kind == StepKind::Expect && !IsQueryVerb(step.verb)) {
        error = "expect takes a query, not the action \"" + step.verb + "\"";
        return false;
    }
    if (expected.rfind("@file(", 0) == 0 && expected.back() == ')')
        step.expectedFile = Unquote(expected.substr(6, expected.size() - 7));
    else
        step.expected = Unescape(expected);
    return true;
}

bool ParseLine(const std::string& line, Step& step, std::string& error) {
    std::string word, rest;
    SplitWord(line, word, rest);
    if (word == "start") {
        step.kind = StepKind::Start;
        SplitWord(rest, step.program, step.arguments);
        if (step.program.empty()) {
            error = "start needs a program";
            return false;
        }
        return true;
    }
    if (word == "attach") {
        step.kind = StepKind::Attach;
        TakeTrailingSeconds(rest, step.seconds);
        step.program = Unquote(rest);
        if (step.program.empty() || step.program.find_first_of("\\/") != std::string::npos) {
            error = "attach <program file name> [<secs>]";
            return false;
        }
        return true;
    }
    if (word == "sleep") {
        step.kind = StepKind::Sleep;
        if (!ParseSeconds(rest, step.seconds)) {
            error = "sleep needs a number of seconds";
            return false;
        }
        return true;
    }
    if (word == "screenshot") {
        step.kind = StepKind::Screenshot;
        step.name = rest;
        if (step.name.find_first_of(" \\/:") != std::string::npos) {
            error = "a screenshot's name is a plain name";
            return false;
        }
        return true;
    }
    if (word == "wait") {
        std::string what;
        SplitWord(rest, what, rest);
        TakeTrailingSeconds(rest, step.seconds);
        if (what == "idle" || what == "done" || what == "exit") {
            step.kind = what == "idle" ? StepKind::WaitIdle : what == "done" ? StepKind::WaitDone : StepKind::WaitExit;
            if (!rest.empty() && !ParseSeconds(rest, step.seconds)) {
                error = "wait " + what + " takes only a number of seconds";
                return false;
            }
            return true;
        }
        if (what == "form" || what == "modal") {
            step.kind = what == "form" ? StepKind::WaitForm : StepKind::WaitModal;
            std::string flag;
            SplitWord(rest, step.name, flag);
            if (what == "form" && flag == "visible") {
                step.visible = true;
                flag.clear();
            }
            if (step.name.empty() || !flag.empty()) {
                error = "wait " + what + " <root>" + (what == "form" ? " [visible]" : "") + " [<secs>]";
                return false;
            }
            return true;
        }
        if (what == "dialog") {
            step.kind = StepKind::WaitDialog;
            step.name = Unescape(Unquote(rest));
            if (step.name.empty()) {
                error = "wait dialog needs a caption";
                return false;
            }
            return true;
        }
        if (what == "file") {
            step.kind = StepKind::WaitFile;
            step.name = Unescape(Unquote(rest));
            if (step.name.empty()) {
                error = "wait file needs a path";
                return false;
            }
            return true;
        }
        if (what == "window") {
            step.kind = StepKind::WaitWindow;
            step.name = rest;
            if (step.name.empty()) {
                error = "wait window needs a window class";
                return false;
            }
            return true;
        }
        error = "wait form|modal|dialog|window|file|idle|done|exit";
        return false;
    }
    if (word == "expect" || word == "expect-error") {
        step.kind = word == "expect" ? StepKind::Expect : StepKind::ExpectError;
        return ParseExpectation(rest, step, error);
    }
    if (!IsKnownVerb(word)) {
        error = "unknown command \"" + word + "\"";
        return false;
    }
    step.kind = StepKind::Request;
    step.verb = word;
    step.args = Unescape(rest);
    return true;
}

}  // namespace

bool ExpandVariables(const std::string& text, const VariableLookup& lookup, std::string& out, std::string& error) {
    out.clear();
    size_t i = 0;
    while (i < text.size()) {
        size_t open = text.find("${", i);
        if (open == std::string::npos) {
            out += text.substr(i);
            break;
        }
        out += text.substr(i, open - i);
        size_t close = text.find('}', open + 2);
        if (close == std::string::npos) {
            error = "unclosed ${";
            return false;
        }
        std::string name = text.substr(open + 2, close - open - 2), value;
        if (!lookup || !lookup(name, value)) {
            error = "undefined variable ${" + name + "}";
            return false;
        }
        out += value;
        i = close + 1;
    }
    return true;
}

bool ParseScript(const std::string& text, const VariableLookup& lookup, std::vector<Step>& steps, std::string& error) {
    steps.clear();
    int number = 0;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        std::string raw = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        start = end == std::string::npos ? text.size() + 1 : end + 1;
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        size_t first = raw.find_first_not_of(" \t");
        if (first == std::string::npos || raw[first] == '#') continue;
        size_t last = raw.find_last_not_of(" \t");
        raw = raw.substr(first, last - first + 1);
        Step step;
        step.line = number;
        std::string why;
        if (!ExpandVariables(raw, lookup, step.text, why) || !ParseLine(step.text, step, why)) {
            error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
        steps.push_back(std::move(step));
    }
    return true;
}

bool PayloadMatches(const std::string& payload, const std::string& expected) {
    auto trim = [](std::string s) {
        if (!s.empty() && s.back() == '\n') s.pop_back();
        if (!s.empty() && s.back() == '\r') s.pop_back();
        return s;
    };
    std::string got = trim(payload), want = trim(expected);
    if (got == want) return true;
    // A cell written as "*" stands for any text (window handles, times).
    std::vector<Row> gotRows = SplitRows(got), wantRows = SplitRows(want);
    if (gotRows.size() != wantRows.size()) return false;
    for (size_t r = 0; r < gotRows.size(); ++r) {
        if (gotRows[r].size() != wantRows[r].size()) return false;
        for (size_t c = 0; c < gotRows[r].size(); ++c)
            if (wantRows[r][c] != "*" && wantRows[r][c] != gotRows[r][c]) return false;
    }
    return true;
}

}  // namespace fw::drive
