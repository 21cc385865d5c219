// The automation protocol between the driver (fwdrive) and the endpoint inside a program.
//
// A request is a WM_COPYDATA with dwData kRequestTag; its text is
//     <id> TAB <verb> TAB <args>
// where args is one escaped cell. The endpoint answers with a WM_COPYDATA kReplyTag to the driver's
// reply window, sent before the request returns:
//     <id> TAB ok|err TAB <payload>
// A payload that is a list has one row per line and a tab between cells; every cell is escaped, so a
// cell never holds a raw tab, line feed or backslash. Escapes: \t \n \r \\ (any other backslash pair
// reads as the character after the backslash).
//
// Scripts write every argument and every expected text escaped once, so `set f.Memo1.Text a\nb`
// stores a line break and `expect rows f.List = a\tb\nc` compares against two rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw::drive {

constexpr uint32_t kRequestTag = 0x46574131;  // 'FWA1'
constexpr uint32_t kReplyTag = 0x46575231;    // 'FWR1'

// Window class and title prefix of the endpoint ("FwAutomation:<pid>").
constexpr const char* kEndpointClass = "FwAutomation";
constexpr const char* kEndpointTitlePrefix = "FwAutomation:";

std::string Escape(const std::string& text);
std::string Unescape(const std::string& text);

struct Request {
    uint32_t id = 0;
    std::string verb;
    std::string args;  // unescaped
};

struct Reply {
    uint32_t id = 0;
    bool ok = false;
    std::string payload;  // rows and cells as sent (cells still escaped)
};

std::string FormatRequest(const Request& request);
// False when the text is not "<id>\t<verb>\t<args>" with a decimal id and a non-empty verb.
bool ParseRequest(const std::string& text, Request& request);

std::string FormatReply(const Reply& reply);
bool ParseReply(const std::string& text, Reply& reply);

// Payload lists: rows of cells. JoinRows escapes each cell; SplitRows undoes it.
using Row = std::vector<std::string>;
std::string JoinRow(const Row& cells);
std::string JoinRows(const std::vector<Row>& rows);
std::vector<Row> SplitRows(const std::string& payload);

// Splits "first rest" at the first run of blanks: the first word and the rest with leading blanks
// removed. A word in double quotes may hold blanks ("C:\Program Files\x.exe").
void SplitWord(const std::string& text, std::string& first, std::string& rest);

}  // namespace fw::drive

namespace fw::drive {

// Queries are answered at once; every other verb is an action that the endpoint queues.
bool IsQueryVerb(const std::string& verb);
bool IsKnownVerb(const std::string& verb);

}  // namespace fw::drive
