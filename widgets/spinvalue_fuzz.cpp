// Reads arbitrary text as a spin edit's field: the first byte picks the suffix's length, the next four
// the minimum, the rest is the text. Reading never raises; the text it leaves reads as the same number
// and is left alone the second time; a step from there stays within any ordered limits.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "widgets/spinvalue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    int32_t minValue = 0;
    std::memcpy(&minValue, data + 1, 4);
    const std::string rest(reinterpret_cast<const char*>(data + 5), size - 5);
    const size_t suffixLength = std::min<size_t>(data[0] % 8, rest.size());
    const std::string suffix = rest.substr(0, suffixLength);
    const std::string text = rest.substr(suffixLength);

    const kvx::TKVXSpinParse first = kvx::KVXParseSpinText(text, suffix, minValue);
    const kvx::TKVXSpinParse second = kvx::KVXParseSpinText(first.text, suffix, minValue);
    // With a suffix whose own signs and digits join the number, the shown text may read differently.
    bool plainSuffix = true;
    for (char c : suffix)
        if (c == '+' || c == '-' || (c >= '0' && c <= '9')) plainSuffix = false;
    if (plainSuffix && (second.value != first.value || second.text != first.text)) std::abort();

    kvx::TKVXSpinLimits limits;
    limits.MinValue = minValue;
    limits.MaxValue = minValue == INT32_MAX ? INT32_MAX : minValue + 1;
    if (minValue == INT32_MAX) limits.MinValue = INT32_MAX - 1;
    const int32_t back = first.value == INT32_MIN ? INT32_MAX : -first.value;
    for (int32_t step : {first.value, back, INT32_MAX, INT32_MIN}) {
        const int32_t v = kvx::KVXSpinStep(first.value, step, limits);
        if (v < limits.MinValue || v > limits.MaxValue) std::abort();
    }
    return 0;
}
