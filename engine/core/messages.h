// The engine's numbered message table (25100 to 26999). The texts come from messages.def, which
// also yields the programs' string-table resource, so both always agree.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace engine {

enum MsgCode : int {
#define MX_MESSAGE(code, name, text) msg##name = code,
#include "engine/core/messages.def"
#undef MX_MESSAGE
};

// The table text of Code; an empty text for a number the table does not hold.
std::string_view MessageText(int code);

// Every (number, text) of the table, in ascending order.
const std::vector<std::pair<int, std::string_view>>& MessageTable();

}  // namespace engine
