#include "app/totals.h"

#include "engine/core/routines.h"

namespace app {

Totals SumRecords(const std::vector<EntryRecord>& records, const std::vector<size_t>& indexes) {
    Totals t;
    for (size_t i : indexes) {
        if (i >= records.size()) continue;
        ++t.count;
        t.packed += records[i].packed;
        t.unpacked += records[i].unpacked;
    }
    return t;
}

std::array<std::string, 5> PanelTexts(engine::TArcType type, const Totals& totals) {
    const int ratio = engine::CalcRatio(totals.packed, totals.unpacked);
    return {totals.count > 0 ? std::string(engine::ArcTypeNameOf(type)) : std::string(),
            "Files: " + std::to_string(totals.count), "Compressed: " + std::to_string(totals.packed),
            "UnCompressed: " + std::to_string(totals.unpacked), "Ratio: " + std::to_string(ratio) + "%"};
}

std::string WindowCaption(const std::string& path, const std::string& fileSpec, engine::TArcType type) {
    if (!engine::IsValidArcType(type)) return std::string();
    return path + "    (" + fileSpec + ")";
}

}  // namespace app
