// A host seam for engine tests that hands everything to the host it wraps; a test overrides the
// message pump to act where the engine lets messages run (a Cancel pressed meanwhile, say).
#pragma once

#include <string>

#include "framework/core/platform.h"

namespace engine::test {

class ForwardingHost : public fw::Host {
public:
    explicit ForwardingHost(fw::Host& inner) : inner_(inner) {}
    void PumpMessages() override { inner_.PumpMessages(); }
    int MessageBox(const std::string& text, const std::string& caption, uint32_t flags) override
    {
        return inner_.MessageBox(text, caption, flags);
    }
    std::string Title() override { return inner_.Title(); }
    void SetTitle(const std::string& title) override { inner_.SetTitle(title); }
    std::string CommandLine() override { return inner_.CommandLine(); }
    std::string ExeName() override { return inner_.ExeName(); }

private:
    fw::Host& inner_;
};

}  // namespace engine::test
