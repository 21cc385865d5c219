#include "framework/automation/protocol.h"

#include <charconv>

namespace fw::drive {

std::string Escape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\t': out += "\\t"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\\': out += "\\\\"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        char n = text[++i];
        switch (n) {
            case 't': out += '\t'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            default: out += n;  // "\\" and any other pair: the character itself
        }
    }
    return out;
}

namespace {

bool ParseId(const std::string& text, uint32_t& id) {
    if (text.empty() || text.size() > 10) return false;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
    return ec == std::errc() && end == text.data() + text.size();
}

// Splits "a\tb\trest" into three fields; the third may hold further tabs.
bool SplitThree(const std::string& text, std::string& a, std::string& b, std::string& rest) {
    size_t t1 = text.find('\t');
    if (t1 == std::string::npos) return false;
    size_t t2 = text.find('\t', t1 + 1);
    if (t2 == std::string::npos) return false;
    a = text.substr(0, t1);
    b = text.substr(t1 + 1, t2 - t1 - 1);
    rest = text.substr(t2 + 1);
    return true;
}

}  // namespace

std::string FormatRequest(const Request& request) {
    return std::to_string(request.id) + "\t" + request.verb + "\t" + Escape(request.args);
}

bool ParseRequest(const std::string& text, Request& request) {
    std::string id, verb, args;
    if (!SplitThree(text, id, verb, args) || !ParseId(id, request.id) || verb.empty()) return false;
    if (args.find_first_of("\t\n") != std::string::npos) return false;
    request.verb = verb;
    request.args = Unescape(args);
    return true;
}

std::string FormatReply(const Reply& reply) {
    return std::to_string(reply.id) + (reply.ok ? "\tok\t" : "\terr\t") + reply.payload;
}

bool ParseReply(const std::string& text, Reply& reply) {
    std::string id, status, payload;
    if (!SplitThree(text, id, status, payload) || !ParseId(id, reply.id)) return false;
    if (status != "ok" && status != "err") return false;
    reply.ok = status == "ok";
    reply.payload = payload;
    return true;
}

std::string JoinRow(const Row& cells) {
    std::string out;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i) out += '\t';
        out += Escape(cells[i]);
    }
    return out;
}

std::string JoinRows(const std::vector<Row>& rows) {
    std::string out;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i) out += '\n';
        out += JoinRow(rows[i]);
    }
    return out;
}

std::vector<Row> SplitRows(const std::string& payload) {
    std::vector<Row> rows;
    if (payload.empty()) return rows;
    size_t start = 0;
    while (true) {
        size_t end = payload.find('\n', start);
        std::string line = payload.substr(start, end == std::string::npos ? std::string::npos : end - start);
        Row row;
        size_t cellStart = 0;
        while (true) {
            size_t tab = line.find('\t', cellStart);
            row.push_back(Unescape(line.substr(cellStart, tab == std::string::npos ? std::string::npos
                                                                                  : tab - cellStart)));
            if (tab == std::string::npos) break;
            cellStart = tab + 1;
        }
        rows.push_back(std::move(row));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return rows;
}

void SplitWord(const std::string& input, std::string& first, std::string& rest) {
    const std::string text = input;  // `rest` may be the input itself
    size_t i = text.find_first_not_of(" \t");
    first.clear();
    rest.clear();
    if (i == std::string::npos) return;
    size_t end;
    if (text[i] == '"') {
        size_t close = text.find('"', i + 1);
        if (close == std::string::npos) {
            first = text.substr(i + 1);
            return;
        }
        first = text.substr(i + 1, close - i - 1);
        end = close + 1;
    } else {
        end = text.find_first_of(" \t", i);
        first = text.substr(i, end == std::string::npos ? std::string::npos : end - i);
    }
    if (end == std::string::npos) return;
    size_t r = text.find_first_not_of(" \t", end);
    if (r != std::string::npos) rest = text.substr(r);
}

}  // namespace fw::drive

namespace fw::drive {

namespace {
constexpr const char* kQueries[] = {"forms", "state", "comps", "get", "rows", "dialog", "log", "progress"};
constexpr const char* kActions[] = {"set",  "click",   "dblclick", "invoke", "menu", "keys", "type",
                                    "press", "dlgtext", "answer",   "drop",   "drag", "quit"};
}  // namespace

bool IsQueryVerb(const std::string& verb) {
    for (const char* q : kQueries)
        if (verb == q) return true;
    return false;
}

bool IsKnownVerb(const std::string& verb) {
    if (IsQueryVerb(verb)) return true;
    for (const char* a : kActions)
        if (verb == a) return true;
    return false;
}

}  // namespace fw::drive
