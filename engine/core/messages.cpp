#include "engine/core/messages.h"

#include <algorithm>

namespace engine {

const std::vector<std::pair<int, std::string_view>>& MessageTable()
{
    static const std::vector<std::pair<int, std::string_view>> table = [] {
        std::vector<std::pair<int, std::string_view>> t = {
#define MX_MESSAGE(code, name, text) {code, text},
#include "engine/core/messages.def"
#undef MX_MESSAGE
        };
        std::sort(t.begin(), t.end());
        return t;
    }();
    return table;
}

std::string_view MessageText(int code)
{
    const auto& t = MessageTable();
    auto it = std::lower_bound(t.begin(), t.end(), std::pair<int, std::string_view>(code, {}),
                               [](const auto& a, const auto& b) { return a.first < b.first; });
    if (it == t.end() || it->first != code)
        return {};
    return it->second;
}

}  // namespace engine
