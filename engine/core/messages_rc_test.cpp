// The programs' string table, compiled from messages.def by the resource compiler, gives the same
// texts as the engine's table for every number.
#include <gtest/gtest.h>

#include <windows.h>

#include "engine/core/messages.h"

TEST(MessagesResource, EveryTextLoadsFromTheStringTable)
{
    for (const auto& [code, text] : engine::MessageTable()) {
        char buffer[512] = {};
        const int n = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(code), buffer, sizeof buffer);
        EXPECT_EQ(std::string(buffer, n > 0 ? n : 0), std::string(text)) << code;
    }
}
