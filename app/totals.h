// The status bar's five panels, the sums they show and the window caption of an open archive.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/entry_table.h"
#include "engine/core/arc_types.h"

namespace app {

struct Totals {
    int64_t count = 0;
    int64_t packed = 0;
    int64_t unpacked = 0;
};

// The count and the 64-bit sums of packed and unpacked sizes of the records at Indexes.
Totals SumRecords(const std::vector<EntryRecord>& records, const std::vector<size_t>& indexes);

// Panel 0 the ten-character type name (empty when nothing is counted), then "Files: ",
// "Compressed: ", "UnCompressed: " and "Ratio: " with the ratio of the two sums and "%".
std::array<std::string, 5> PanelTexts(engine::TArcType type, const Totals& totals);

// "<path>    (<file spec>)" for an archive of a real type; empty otherwise.
std::string WindowCaption(const std::string& path, const std::string& fileSpec, engine::TArcType type);

}  // namespace app
