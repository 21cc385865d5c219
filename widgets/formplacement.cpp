#include "widgets/formplacement.h"

#include <charconv>
#include <cstdlib>
#include <vector>

#include "widgets/fonttext.h"
#include "widgets/kvxutils.h"

namespace kvx {

namespace {

bool IsVertical(int index) {
    return index == flTrackMaxHeight || index == flTrackMinHeight || index == flMaximizedHeight ||
           index == flMaximizedPosY;
}

// The maximum and minimum of the same dimension as Index.
int MaxOf(int index) { return IsVertical(index) ? flTrackMaxHeight : flTrackMaxWidth; }
int MinOf(int index) { return IsVertical(index) ? flTrackMinHeight : flTrackMinWidth; }

bool ParseDecimal(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && ptr == end && !text.empty();
}

// Brings [low, high) back inside [limitLow, limitHigh): first off the far edge, then off the near one.
void FitSpan(int32_t& low, int32_t& high, int limitLow, int limitHigh) {
    if (high > limitHigh) {
        low = limitHigh - std::abs(high - low);
        high = limitHigh;
    }
    if (low < limitLow) {
        high += limitLow - low;
        low = limitLow;
    }
}

}  // namespace

int KVXResolveLimit(int value, bool vertical, TKVXScreenSize screen) {
    if (value >= 0) return value;
    return (vertical ? screen.height : screen.width) / -value;
}

bool TKVXFormLimits::Write(int index, int value, TKVXScreenSize screen) {
    if (index < 0 || index >= kKVXFormLimits || value < -100) return false;
    if (written_[index] == value) return true;
    const int resolved = KVXResolveLimit(value, IsVertical(index), screen);
    if (index == flTrackMaxHeight || index == flTrackMaxWidth) {
        if (resolved != 0 && resolved < effective_[MinOf(index)]) return false;
    } else if (index == flTrackMinHeight || index == flTrackMinWidth) {
        const int maximum = effective_[MaxOf(index)];
        if (resolved != 0 && maximum > 0 && maximum < resolved) return false;
    }
    written_[index] = value;
    effective_[index] = resolved;
    return true;
}

void TKVXFormLimits::Compute(TKVXScreenSize screen) {
    for (int i = 0; i < kKVXFormLimits; ++i) effective_[i] = KVXResolveLimit(written_[i], IsVertical(i), screen);
    for (int maxIndex : {flTrackMaxWidth, flTrackMaxHeight}) {
        const int size = IsVertical(maxIndex) ? screen.height : screen.width;
        int& maximum = effective_[maxIndex];
        if (maximum > size) maximum = size;
        int& minimum = effective_[MinOf(maxIndex)];
        if (maximum != 0 && maximum < minimum) minimum = maximum;
    }
}

std::string KVXPlacementText(const TKVXPlacementRecord& p) {
    return KVXJoinIntegers({200, p.flags, p.showCmd, p.normal.Left, p.normal.Top, p.normal.Right, p.normal.Bottom}, ',');
}

bool KVXParsePlacement(const std::string& text, TKVXPlacementRecord& record) {
    fw::TStringList items;
    KVXSplitString(text, ',', &items);
    if (items.Count() != 7 || items.Strings(0) != "200") return false;
    int values[7];
    for (int i = 0; i < 7; ++i)
        if (!ParseDecimal(items.Strings(i), values[i])) return false;
    record.flags = values[1];
    record.showCmd = values[2];
    record.normal = {values[3], values[4], values[5], values[6]};
    return true;
}

bool KVXApplyPlacement(const std::string& text, const TKVXPlacementContext& context, TKVXPlacementRecord& placement) {
    using enum TKVXFormIniSaveOption;
    TKVXPlacementRecord stored;
    if (!KVXParsePlacement(text, stored)) return false;
    const TKVXFormIniSaveOptions& saved = context.saved;
    if (saved.Contains(soState)) {
        placement.flags = stored.flags;
        // Show command 0 would hide the form inside its own show: without foAutoShow it keeps its own.
        if (context.autoShow) placement.showCmd = stored.showCmd;
    }
    if (!saved.Contains(soPos) && !saved.Contains(soSize)) return true;
    const TRect& r = stored.normal;
    const TRect& form = context.formBounds;
    TRect& n = placement.normal;
    if (saved.Contains(soPos)) {
        n.Left = r.Left;
        n.Top = r.Top;
        if (!saved.Contains(soSize)) {
            n.Right = r.Left + form.Width();
            n.Bottom = r.Top + form.Height();
        }
    }
    if (saved.Contains(soSize)) {
        if (saved.Contains(soPos)) {
            n.Right = r.Right;
            n.Bottom = r.Bottom;
        } else {
            n.Right = form.Left + r.Width();
            n.Bottom = form.Top + r.Height();
        }
    }
    FitSpan(n.Left, n.Right, context.screen.Left, context.screen.Right);
    FitSpan(n.Top, n.Bottom, context.screen.Top, context.screen.Bottom);
    return true;
}

std::string KVXAsciiUpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string KVXAsciiLowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

void KVXRegisterFormTypes() {
    fw::RegisterEnum<TKVXFormIniSaveOption>({"soColor", "soFont", "soPos", "soSize", "soState"}, "TKVXFormIniSaveOption");
    fw::RegisterEnum<TKVXFormOption>({"foAutoCenter", "foAutoShow", "foTryAdaptRes", "foRestoreOnce"}, "TKVXFormOption");
}

}  // namespace kvx
