// Test helper: records an extractor's events (begin numbers, end verdicts, error codes).
#pragma once

#include <string>
#include <vector>

#include "engine/core/un_base.h"

namespace engine::test {

struct ExtractRecorder {
    std::vector<int> recNums;
    std::vector<std::string> begun;
    std::vector<std::pair<std::string, bool>> ended;
    std::vector<int> errors;
    bool declineAll = false;

    int Passed() const
    {
        int n = 0;
        for (const auto& e : ended)
            n += e.second ? 1 : 0;
        return n;
    }
    int Failed() const { return int(ended.size()) - Passed(); }

    void Attach(TUnBase& u)
    {
        u.OnBegin.Bind(this, [](void* c, fw::TObject*, const std::string& fn, int recNum, bool& extract) {
            auto& r = *static_cast<ExtractRecorder*>(c);
            r.recNums.push_back(recNum);
            r.begun.push_back(fn);
            if (r.declineAll)
                extract = false;
        });
        u.OnEnd.Bind(this, [](void* c, fw::TObject*, const std::string& fn, bool pass) {
            static_cast<ExtractRecorder*>(c)->ended.emplace_back(fn, pass);
        });
        u.OnError.Bind(this, [](void* c, fw::TObject*, const std::string&, const std::string&, const std::string&,
                                int code) { static_cast<ExtractRecorder*>(c)->errors.push_back(code); });
    }
};

}  // namespace engine::test
