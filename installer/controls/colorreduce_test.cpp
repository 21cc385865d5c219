#include "installer/controls/colorreduce.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>

#include "engine/formats/common/testdata/tool_runner.h"
#include "framework/core/exceptions.h"
#include "installer/controls/dibfile.h"
#include "testing/test_env.h"

namespace inst {
namespace {

struct Rgb {
    int r, g, b;
};

// A 24-bit pixel block (rows in storage order, padded to 4 bytes) from colour(x, y).
struct Block {
    int width, height;
    std::vector<uint8_t> rows;
    Block(int w, int h, const std::function<Rgb(int, int)>& colour) : width(w), height(h) {
        const size_t stride = ScanLineWidth(24u * static_cast<uint32_t>(w));
        rows.assign(stride * static_cast<size_t>(h), 0xEE);  // padding that must not leak into indices
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const Rgb c = colour(x, y);
                uint8_t* p = &rows[static_cast<size_t>(y) * stride + static_cast<size_t>(x) * 3];
                p[0] = static_cast<uint8_t>(c.b);
                p[1] = static_cast<uint8_t>(c.g);
                p[2] = static_cast<uint8_t>(c.r);
            }
    }
    uint8_t Index(int x, int y) const {
        return rows[static_cast<size_t>(y) * ScanLineWidth(8u * static_cast<uint32_t>(width)) + static_cast<size_t>(x)];
    }
};

PaletteEntry Bgr(int r, int g, int b) {
    return {static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r), 0};
}

TEST(ColorReduce, NearestLevelTakesTheLowerOnATie) {
    EXPECT_EQ(Levels4().nearest[42], 0);  // 42 is nearer 0 than 85
    EXPECT_EQ(Levels4().nearest[43], 1);
    EXPECT_EQ(Levels6().nearest[60], 1);
    EXPECT_EQ(Levels6().nearest[130], 3);
    EXPECT_EQ(Levels6().nearest[250], 5);
    EXPECT_EQ(Levels8().nearest[18], 0);  // 18 is as near 0 as 36: the lower level
    EXPECT_EQ(Levels7().nearest[255], 6);
}

// One pixel through each fixed method: its index and the palette entry it names.
struct FixedCase {
    const char* why;
    TReductionMethod method;
    Rgb pixel;
    int x;
    int index;
    PaletteEntry entry;
    uint32_t colorsUsed;
};

TEST(ColorReduce, FixedPalettes) {
    const FixedCase cases[] = {
        {"6x6x6 cube: nearest 51, 153, 255", TReductionMethod::rmUniform666, {60, 130, 250}, 0, 59, Bgr(51, 153, 255), 216},
        {"7x8x4 levels", TReductionMethod::rmUniform784, {128, 36, 170}, 0, 3 * 32 + 1 * 4 + 2, Bgr(128, 36, 170), 224},
        {"grey of white", TReductionMethod::rmGrayscale, {255, 255, 255}, 0, 255, Bgr(255, 255, 255), 0},
        {"grey weights", TReductionMethod::rmGrayscale, {100, 0, 0}, 0, 30, Bgr(30, 30, 30), 0},
        {"pattern: column 0 keeps red", TReductionMethod::rmChannelPattern, {200, 100, 40}, 0, 50, Bgr(200, 0, 0), 0},
        {"pattern: column 1 keeps green", TReductionMethod::rmChannelPattern, {200, 100, 40}, 1, 64 + 25, Bgr(0, 100, 0), 0},
        {"pattern: column 2 keeps blue", TReductionMethod::rmChannelPattern, {200, 100, 40}, 2, 128 + 10, Bgr(0, 0, 40), 0},
    };
    for (const FixedCase& c : cases) {
        Block b(5, 2, [&](int, int) { return c.pixel; });
        const ReducedPalette p = ReduceRows(b.rows, 5, 2, c.method);
        EXPECT_EQ(b.Index(c.x, 0), c.index) << c.why;
        EXPECT_EQ(p.entries[static_cast<size_t>(c.index)], c.entry) << c.why;
        EXPECT_EQ(p.colorsUsed, c.colorsUsed) << c.why;
    }
    // Entries the uniform palettes leave free stay 128 in every byte.
    Block b(1, 1, [](int, int) { return Rgb{0, 0, 0}; });
    EXPECT_EQ(ReduceUniform666(b.rows, 1, 1).entries[216], (PaletteEntry{128, 128, 128, 128}));
}

TEST(ColorReduce, ChannelPatternCountsRowsInStorageOrder) {
    Block b(3, 2, [](int, int) { return Rgb{200, 100, 40}; });
    ReduceChannelPattern(b.rows, 3, 2);
    EXPECT_EQ(b.Index(0, 1), 64 + 25) << "(0 + 1) mod 3 keeps green";
    EXPECT_EQ(b.Index(2, 1), 50) << "(2 + 1) mod 3 keeps red";
}

TEST(ColorReduce, HistogramTakesTheMostFrequentColoursFirst) {
    // 3 reds, 2 greens, 2 blues (the green seen first), 1 white.
    const Rgb row[] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {255, 0, 0}, {255, 255, 255}};
    Block b(8, 1, [&](int x, int) { return row[x]; });
    HistogramTrace trace;
    const ReducedPalette p = ReduceHistogram(b.rows, 8, 1, 256, &trace);
    EXPECT_EQ(p.entries[0], Bgr(255, 0, 0));
    EXPECT_EQ(p.entries[1], Bgr(0, 0, 255)) << "blue and green tie; blue was counted first";
    EXPECT_EQ(p.entries[2], Bgr(0, 255, 0));
    EXPECT_EQ(p.entries[3], Bgr(255, 255, 255));
    EXPECT_EQ(p.entries[4], (PaletteEntry{128, 128, 128, 128})) << "unused entries are grey";
    EXPECT_EQ(trace.distinct, 4);
    const int want[] = {1, 2, 0, 1, 2, 0, 0, 3};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(b.Index(x, 0), want[x]) << x;
}

TEST(ColorReduce, HistogramMapsTheRestToTheNearestEntry) {
    // 300 colours: 256 frequent greys, and 44 rare near-reds.
    Block b(600, 1, [](int x, int) { return x < 512 ? Rgb{x / 2, x / 2, x / 2} : Rgb{250, x - 512, 0}; });
    const ReducedPalette p = ReduceHistogram(b.rows, 600, 1, 256);
    for (int x = 512; x < 600; ++x) {
        const PaletteEntry& e = p.entries[b.Index(x, 0)];
        EXPECT_EQ(e.red, e.green) << "a near-red maps to the nearest grey";
        EXPECT_EQ(e.red, e.blue);
    }
}

// More than 2049 colours lose low bits in turn: blue, red, green.
TEST(ColorReduce, HistogramDropsBlueThenRedThenGreen) {
    struct Case {
        int variants;  // 2: blue's low bit varies; 4: blue's and red's; 8: all three
        uint8_t red, green, blue;
    } cases[] = {{2, 255, 255, 254}, {4, 254, 255, 254}, {8, 254, 254, 254}};
    for (const Case& c : cases) {
        // 1100 colours with low bits 0, each in `variants` versions that differ in low bits only.
        Block b(1100 * c.variants, 1, [&](int x, int) {
            const int k = x / c.variants, v = x % c.variants;
            return Rgb{(k % 16) * 16 + ((v >> 1) & 1), (k / 16 % 16) * 16 + ((v >> 2) & 1), (k / 256) * 16 + (v & 1)};
        });
        HistogramTrace trace;
        ReduceHistogram(b.rows, b.width, 1, 256, &trace);
        EXPECT_EQ(trace.blueMask, c.blue) << c.variants;
        EXPECT_EQ(trace.redMask, c.red) << c.variants;
        EXPECT_EQ(trace.greenMask, c.green) << c.variants;
        EXPECT_LE(trace.distinct, 2049);
    }
}

TEST(ColorReduce, MedianCutSplitsOnlyBoxesOfSeveralCells) {
    Block one(4, 4, [](int, int) { return Rgb{200, 10, 10}; });
    const std::vector<MedianCutBox> single = MedianCutBoxes(one.rows, 4, 4, 256);
    ASSERT_EQ(single.size(), 1u) << "a box of one cell is never split";
    EXPECT_EQ(single[0].pixels, 16u);

    Block two(4, 1, [](int x, int) { return x == 0 ? Rgb{0, 0, 0} : Rgb{255, 255, 255}; });
    const std::vector<MedianCutBox> pair = MedianCutBoxes(two.rows, 4, 1, 256);
    ASSERT_EQ(pair.size(), 2u) << "two cells split into two single cells";
    EXPECT_EQ(pair[0].cells.size() + pair[1].cells.size(), 2u);
    const ReducedPalette p = ReduceMedianCut(two.rows, 4, 1, 256);
    EXPECT_EQ(p.colorsUsed, 2u);
    EXPECT_EQ(p.entries[two.Index(0, 0)], Bgr(0, 0, 0)) << "near-black becomes black";
    EXPECT_EQ(p.entries[two.Index(1, 0)], Bgr(255, 255, 255));
    EXPECT_EQ(p.entries[2], (PaletteEntry{0, 0, 0, 0})) << "entries past the boxes are 0";
}

// Each box keeps the pixels of its own cells, whatever the order of splits.
TEST(ColorReduce, MedianCutBoxesCountTheirOwnPixels) {
    Block b(90, 70, [](int x, int y) { return Rgb{x * 3 % 256, y * 4 % 256, (x * y) % 256}; });
    std::map<uint16_t, uint64_t> perCell;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 90; ++x)
            ++perCell[static_cast<uint16_t>((x * 3 % 256 >> 4) << 8 | (y * 4 % 256 >> 4) << 4 | ((x * y) % 256 >> 4))];
    for (int wanted : {2, 7, 64, 256}) {
        const std::vector<MedianCutBox> boxes = MedianCutBoxes(b.rows, 90, 70, wanted);
        EXPECT_EQ(static_cast<int>(boxes.size()), std::min<int>(wanted, static_cast<int>(perCell.size())));
        std::set<uint16_t> seen;
        for (const MedianCutBox& box : boxes) {
            uint64_t sum = 0;
            for (uint16_t c : box.cells) {
                sum += perCell[c];
                EXPECT_TRUE(seen.insert(c).second) << "cell in two boxes";
            }
            EXPECT_EQ(box.pixels, sum) << "box of " << box.cells.size() << " cells, " << wanted << " wanted";
        }
        EXPECT_EQ(seen.size(), perCell.size());
    }
}

TEST(ColorReduce, BadBlocksAreRefused) {
    std::vector<uint8_t> rows(10);
    EXPECT_THROW(ReduceRows(rows, 0, 1, TReductionMethod::rmGrayscale), fw::EInvalidGraphic);
    EXPECT_THROW(ReduceRows(rows, 4, 1, TReductionMethod::rmHistogram), fw::EInvalidGraphic) << "12 bytes needed";
}

// Every method's file opens in Pillow with the colours our palette gives each pixel, and ImageMagick's
// identify reports the palette size the header declares.
TEST(ColorReduce, ReducedFilesOpenInPillowAndIdentify) {
    const std::string dir = mx::test::FreshDir();
    const int w = 37, h = 23;  // odd sizes: padded rows
    auto colour = [](int x, int y) { return Rgb{x * 7 % 256, y * 11 % 256, (x + y) * 5 % 256}; };
    struct Made {
        std::string name;
        uint32_t declared;
        std::vector<uint8_t> file;
    };
    std::vector<Made> made;
    const std::pair<TReductionMethod, const char*> methods[] = {
        {TReductionMethod::rmHistogram, "histogram"},   {TReductionMethod::rmMedianCut, "mediancut"},
        {TReductionMethod::rmUniform784, "uniform784"}, {TReductionMethod::rmUniform666, "uniform666"},
        {TReductionMethod::rmChannelPattern, "pattern"}, {TReductionMethod::rmGrayscale, "grey"}};
    for (const auto& [method, name] : methods) {
        Block b(w, h, colour);
        std::vector<uint8_t> file = ReducedBitmapFile(b.rows, w, h, method);
        const uint32_t used = file[46] | file[47] << 8;
        made.push_back({name, used == 0 ? 256u : used, file});
        mx::test::WriteFile(dir + "/" + name + ".bmp", std::string(file.begin(), file.end()));
    }
    const std::string script =
        "import sys\n"
        "from PIL import Image\n"
        "for n in sys.argv[1:]:\n"
        "    im = Image.open(n + '.bmp')\n"
        "    print(n, im.mode, im.size[0], im.size[1])\n"
        "    print(' '.join('%02X%02X%02X' % p for p in im.convert('RGB').getdata()))\n";
    mx::test::WriteFile(dir + "/pil.py", script);
    std::string names;
    for (const Made& m : made) names += " " + m.name;
    ASSERT_TRUE(engine::test::RunIn(dir, engine::test::Python() + " pil.py" + names + " > pil.txt", "python3", "python3-pil"));
    std::istringstream pil(mx::test::ReadFile(dir + "/pil.txt"));
    for (const Made& m : made) {
        std::string name, mode;
        int pw = 0, ph = 0;
        pil >> name >> mode >> pw >> ph;
        ASSERT_EQ(name, m.name);
        EXPECT_EQ(pw, w);
        EXPECT_EQ(ph, h);
        // Our own reading of the file: palette after the 54 bytes of headers, rows bottom first.
        const size_t offBits = m.file[10] | m.file[11] << 8;
        const size_t stride = ScanLineWidth(8u * w);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::string hex;
                pil >> hex;
                const uint8_t index = m.file[offBits + static_cast<size_t>(h - 1 - y) * stride + static_cast<size_t>(x)];
                const uint8_t* q = &m.file[54 + 4 * size_t{index}];
                char want[8];
                std::snprintf(want, sizeof want, "%02X%02X%02X", q[2], q[1], q[0]);
                ASSERT_EQ(hex, want) << m.name << " at " << x << "," << y;
            }
        const std::string id = engine::test::CaptureIn(dir, "identify -verbose " + m.name + ".bmp");
        EXPECT_NE(id.find("Colormap entries: " + std::to_string(m.declared)), std::string::npos)
            << m.name << " declares " << m.declared << "; identify says:\n" << id.substr(0, 600);
    }
}

}  // namespace
}  // namespace inst
