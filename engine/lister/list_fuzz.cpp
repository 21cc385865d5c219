// Walks arbitrary bytes with one of the lister's older-format walks (chosen at build time), from a
// lister whose type is set without detection, so that every input reaches the walk.
#include <cstddef>
#include <cstdint>

#include "engine/core/e_raise.h"
#include "engine/formats/common/read_source.h"
#include "engine/lister/krenlo.h"
#include "engine/lister/older_formats.h"

namespace {

#if defined(MX_LIST_FORMAT_arc)
constexpr engine::TArcType kType = engine::TArcType::atArc;
#elif defined(MX_LIST_FORMAT_pak)
constexpr engine::TArcType kType = engine::TArcType::atPak;
#elif defined(MX_LIST_FORMAT_arj)
constexpr engine::TArcType kType = engine::TArcType::atArj;
#elif defined(MX_LIST_FORMAT_bh)
constexpr engine::TArcType kType = engine::TArcType::atBh;
#elif defined(MX_LIST_FORMAT_ha)
constexpr engine::TArcType kType = engine::TArcType::atHa;
#elif defined(MX_LIST_FORMAT_lha)
constexpr engine::TArcType kType = engine::TArcType::atLzh;
#else
constexpr engine::TArcType kType = engine::TArcType::atZoo;
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool registered = false;
    if (!registered) {
        engine::RegisterListerClasses();
        registered = true;
    }
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    engine::TKrenlo* lister = fw::Make<engine::TKrenlo>(owner);
    lister->TZipCommon::SetArcType(kType);
    lister->SetShowBlankDirs(size % 2 == 0);
    int seen = 0;
    lister->OnRead.Bind(&seen, [](void* ctx, fw::TObject*, int64_t, int) {
        if (++*static_cast<int*>(ctx) > 1000000)
            __builtin_trap();  // a walk that does not end
    });
    engine::SpanSource source({data, size});
    try {
        engine::ListOlderFormat(*lister, source);
    } catch (const engine::E_RAISE&) {
    }
    owner->Free();
    return 0;
}
