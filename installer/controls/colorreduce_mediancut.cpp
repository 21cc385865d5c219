// The median cut method over a colour cube of 4096 cells (the high 4 bits of red, green and blue).
// Boxes of cells are split along their longest side at the pixel median until there are as many
// boxes as wanted colours or no box has two cells; each box becomes one palette entry.
#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "installer/controls/colorreduce.h"
#include "installer/controls/colorreduce_rows.h"

namespace inst {

namespace {

constexpr int kCells = 4096;

struct Cell {
    uint8_t comp[3] = {0, 0, 0};  // red, green, blue, 4 bits each
    uint64_t count = 0;
    uint16_t box = 0;
};

struct Box {
    int low[3] = {0, 0, 0};
    int extent[3] = {255, 255, 255};
    std::vector<uint16_t> cells;
    uint64_t pixels = 0;
};

uint16_t CellOf(uint8_t red, uint8_t green, uint8_t blue) {
    return static_cast<uint16_t>((red >> 4) << 8 | (green >> 4) << 4 | (blue >> 4));
}

std::vector<Cell> CountCells(std::span<const uint8_t> rows, int width, int height) {
    std::vector<Cell> cells(kCells);
    for (int i = 0; i < kCells; ++i) {
        cells[static_cast<size_t>(i)].comp[0] = static_cast<uint8_t>(i >> 8);
        cells[static_cast<size_t>(i)].comp[1] = static_cast<uint8_t>((i >> 4) & 15);
        cells[static_cast<size_t>(i)].comp[2] = static_cast<uint8_t>(i & 15);
    }
    ForEachPixel(rows, width, height,
                 [&](int, int, uint8_t blue, uint8_t green, uint8_t red) { ++cells[CellOf(red, green, blue)].count; });
    return cells;
}

std::vector<Box> BuildBoxes(std::vector<Cell>& cells, int wanted) {
    std::vector<Box> boxes(1);
    for (int i = 0; i < kCells; ++i)
        if (cells[static_cast<size_t>(i)].count > 0) {
            boxes[0].cells.push_back(static_cast<uint16_t>(i));
            boxes[0].pixels += cells[static_cast<size_t>(i)].count;
        }
    while (static_cast<int>(boxes.size()) < wanted) {
        // The longest side among boxes of more than one cell: the first box, then red, green, blue, on a tie.
        int pick = -1, channel = 0, longest = -1;
        for (size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].cells.size() < 2) continue;
            for (int c = 0; c < 3; ++c)
                if (boxes[b].extent[c] > longest) {
                    longest = boxes[b].extent[c];
                    pick = static_cast<int>(b);
                    channel = c;
                }
        }
        if (pick < 0) break;
        Box& box = boxes[static_cast<size_t>(pick)];
        std::stable_sort(box.cells.begin(), box.cells.end(),
                         [&](uint16_t a, uint16_t b) { return cells[a].comp[channel] < cells[b].comp[channel]; });
        // The first part takes cells while it stays within half the box's pixels; each part keeps a cell.
        const size_t n = box.cells.size();
        const uint64_t half = box.pixels / 2;
        uint64_t sum = cells[box.cells[0]].count;
        size_t split = 1;
        while (split < n - 1 && sum + cells[box.cells[split]].count <= half) sum += cells[box.cells[split++]].count;

        Box upper;
        upper.cells.assign(box.cells.begin() + static_cast<std::ptrdiff_t>(split), box.cells.end());
        box.cells.resize(split);
        const int high = box.low[channel] + box.extent[channel];
        std::copy(std::begin(box.low), std::end(box.low), std::begin(upper.low));
        std::copy(std::begin(box.extent), std::end(box.extent), std::begin(upper.extent));
        upper.low[channel] = 16 * cells[upper.cells.front()].comp[channel];
        upper.extent[channel] = high - upper.low[channel];
        box.extent[channel] = 16 * cells[box.cells.back()].comp[channel] - box.low[channel];
        // Each part keeps the pixels of its own cells, so later medians split the right counts.
        upper.pixels = box.pixels - sum;
        box.pixels = sum;
        boxes.push_back(std::move(upper));
    }
    return boxes;
}

}  // namespace

ReducedPalette ReduceMedianCut(std::span<uint8_t> rows, int width, int height, int wanted) {
    CheckRows(rows, width, height);
    wanted = std::clamp(wanted, 1, 256);
    std::vector<Cell> cells = CountCells(rows, width, height);
    const std::vector<Box> boxes = BuildBoxes(cells, wanted);

    ReducedPalette p;
    p.entries.fill({0, 0, 0, 0});
    for (size_t b = 0; b < boxes.size(); ++b) {
        uint32_t sum[3] = {0, 0, 0};
        for (uint16_t c : boxes[b].cells) {
            cells[c].box = static_cast<uint16_t>(b);
            for (int k = 0; k < 3; ++k) sum[k] += cells[c].comp[k];
        }
        const uint32_t n = static_cast<uint32_t>(boxes[b].cells.size());
        uint32_t v[3];
        for (int k = 0; k < 3; ++k) v[k] = (sum[k] * 16 + 15) / n;
        if (v[0] <= 16 && v[1] <= 16 && v[2] <= 16) v[0] = v[1] = v[2] = 0;  // near-black becomes black
        p.entries[b] = {static_cast<uint8_t>(v[2]), static_cast<uint8_t>(v[1]), static_cast<uint8_t>(v[0]), 0};
    }
    p.colorsUsed = static_cast<uint32_t>(boxes.size());
    MapRows(rows, width, height, [&](int, int, uint8_t blue, uint8_t green, uint8_t red) {
        return static_cast<uint8_t>(cells[CellOf(red, green, blue)].box);
    });
    return p;
}

std::vector<MedianCutBox> MedianCutBoxes(std::span<const uint8_t> rows, int width, int height, int wanted) {
    CheckRows(rows, width, height);
    std::vector<Cell> cells = CountCells(rows, width, height);
    std::vector<MedianCutBox> out;
    for (Box& b : BuildBoxes(cells, std::clamp(wanted, 1, 256))) out.push_back({std::move(b.cells), b.pixels});
    return out;
}

}  // namespace inst
