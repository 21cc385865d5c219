#include "installer/controls/gif_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "framework/core/bmp.h"
#include "framework/core/exceptions.h"
#include "installer/controls/testdata/error_text.h"
#include "installer/controls/gif_lzw.h"
#include "installer/controls/gif_texts.h"

namespace inst {
namespace {

// Builds GIF files block by block.
struct GifBytes {
    std::vector<uint8_t> b;
    GifBytes& Raw(std::initializer_list<int> bytes) {
        for (int v : bytes) b.push_back(static_cast<uint8_t>(v));
        return *this;
    }
    GifBytes& Text(const char* s) {
        b.insert(b.end(), s, s + std::strlen(s));
        return *this;
    }
    GifBytes& Word(int v) { return Raw({v & 0xFF, v >> 8}); }
    GifBytes& Header(const char* version = "89a") { return Text("GIF").Text(version); }
    // Screen w x h with a global table of 2^exponent grey-ish entries (exponent 0: none).
    GifBytes& Screen(int w, int h, int exponent, int background = 0) {
        Word(w).Word(h).Raw({exponent ? 0x80 | (exponent - 1) << 4 | (exponent - 1) : 0, background, 0});
        for (int i = 0; i < (exponent ? 1 << exponent : 0); ++i) Raw({i, 255 - i, i / 2});
        return *this;
    }
    GifBytes& Control(int packed, int delay, int transparent) { return Raw({'!', 0xF9, 4, packed}).Word(delay).Raw({transparent, 0}); }
    GifBytes& Comment(std::initializer_list<const char*> lines) {
        Raw({'!', 0xFE});
        for (const char* l : lines) Raw({static_cast<int>(std::strlen(l))}).Text(l);
        return Raw({0});
    }
    GifBytes& Loop(const char* id, int count, int first = 1) {
        Raw({'!', 0xFF, 11}).Text(id).Raw({3, first}).Word(count).Raw({0});
        return *this;
    }
    // An image at (x, y) of w x h: a local table of 2^exponent entries when exponent > 0, and pixels
    // of `bpp` bits from index(i).
    GifBytes& Image(int x, int y, int w, int h, int localExponent, int bpp, int (*index)(int) = nullptr) {
        Raw({','}).Word(x).Word(y).Word(w).Word(h).Raw({localExponent ? 0x80 | (localExponent - 1) : 0});
        for (int i = 0; i < (localExponent ? 1 << localExponent : 0); ++i) Raw({255 - i, i, 7});
        std::vector<uint8_t> px(static_cast<size_t>(w) * static_cast<size_t>(h));
        for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<uint8_t>(index ? index(static_cast<int>(i)) : static_cast<int>(i) % (1 << bpp));
        const std::vector<uint8_t> s = EncodeLzw(px, w, h, bpp, false);
        b.insert(b.end(), s.begin(), s.end());
        return *this;
    }
    GifBytes& End() { return Raw({';'}); }
};

using test::MessageOf;

TEST(GifStream, Versions) {
    const struct {
        const char* version;
        const char* error;
    } cases[] = {{"89a", "(no error)"}, {"87a", "(no error)"}, {"89A", "(no error)"}, {"87A", "(no error)"},
                 {"88a", kGifUnknownVersion}, {"90a", kGifUnknownVersion}};
    for (const auto& c : cases) {
        GifBytes g;
        g.Header(c.version).Screen(2, 2, 1).Image(0, 0, 2, 2, 0, 1).End();
        EXPECT_EQ(MessageOf([&] { ReadGif(g.b, false); }), c.error) << c.version;
    }
    GifBytes other;
    other.Text("GIX89a").Screen(1, 1, 1).End();
    EXPECT_EQ(MessageOf([&] { ReadGif(other.b, false); }), kGifUnknownVersion);
    EXPECT_EQ(MessageOf([] { ReadGif(std::vector<uint8_t>{'G', 'I', 'F', '8'}, true); }), kStreamReadError);
}

TEST(GifStream, LoopingBlocks) {
    const struct {
        const char* id;
        int count, first;
        bool enabled;
        int want;
    } cases[] = {{"NETSCAPE2.0", 40000, 1, true, 30000}, {"NETSCAPE2.0", 5, 1, true, 5}, {"ANIMEXTS1.0", 0, 1, true, 0},
                 {"NETSCAPE2.0", 5, 2, false, 1}, {"XNETSCAPE20", 5, 1, false, 1}};
    for (const auto& c : cases) {
        GifBytes g;
        g.Header().Screen(2, 2, 1).Loop(c.id, c.count, c.first).Image(0, 0, 2, 2, 0, 1).End();
        const GifFile f = ReadGif(g.b, false);
        EXPECT_EQ(f.loopEnabled, c.enabled) << c.id << " " << c.count;
        EXPECT_EQ(f.loopCount, c.want) << c.id << " " << c.count;
        EXPECT_TRUE(f.frames[0].extensions.empty()) << "application blocks are not kept";
    }
}

size_t CountOf(const std::vector<uint8_t>& data, const char* text) {
    size_t n = 0;
    for (auto it = data.begin(); (it = std::search(it, data.end(), text, text + std::strlen(text))) != data.end(); ++it) ++n;
    return n;
}

TEST(GifStream, LoopingBlockOnlyForSeveralFrames) {
    GifBytes g;
    g.Header().Screen(4, 4, 1).Loop("NETSCAPE2.0", 3).Image(0, 0, 4, 4, 0, 1).End();
    GifFile one = ReadGif(g.b, false);
    EXPECT_EQ(CountOf(WriteGif(one), "NETSCAPE2.0"), 0u) << "one frame: no looping block";
    one.frames.push_back(one.frames[0]);
    const std::vector<uint8_t> two = WriteGif(one);
    EXPECT_EQ(CountOf(two, "NETSCAPE2.0"), 1u);
    const GifFile back = ReadGif(two, false);
    EXPECT_TRUE(back.loopEnabled);
    EXPECT_EQ(back.loopCount, 3);
}

TEST(GifStream, DelaysAreWrittenInHundredths) {
    for (const auto& [ms, hundredths] : {std::pair{7, 0}, std::pair{10, 1}, std::pair{125, 12}, std::pair{0, 0}}) {
        GifBytes g;
        g.Header().Screen(2, 2, 1).Image(0, 0, 2, 2, 0, 1).End();
        GifFile f = ReadGif(g.b, false);
        f.frames[0].frameDelay = ms;
        f.frames[0].disposal = 2;
        UpdateExtensions(f);
        const GifFile back = ReadGif(WriteGif(f), false);
        ASSERT_EQ(back.frames[0].extensions.size(), 1u);
        const std::vector<uint8_t>& gce = back.frames[0].extensions[0].fixed;
        EXPECT_EQ(gce[2] | gce[3] << 8, hundredths) << ms << " ms";
        EXPECT_EQ(back.frames[0].frameDelay, hundredths * 10);
        EXPECT_EQ(back.frames[0].disposal, 2);
        EXPECT_EQ(back.version, 2);
    }
}

TEST(GifStream, GraphicControlGivesTransparencyDelayAndDisposal) {
    GifBytes g;
    g.Header().Screen(2, 2, 2).Control(1 | 3 << 2, 9, 2).Control(0, 4, 0).Image(0, 0, 2, 2, 0, 2).End();
    GifFile f = ReadGif(g.b, false);
    ASSERT_EQ(f.frames.size(), 1u);
    // The second extension clears transparency; the longer delay wins; the last disposal counts.
    EXPECT_EQ(f.frames[0].transparentColor, fw::clNone);
    EXPECT_EQ(f.frames[0].frameDelay, 90);
    EXPECT_EQ(f.frames[0].disposal, 0);

    GifBytes t;
    t.Header().Screen(2, 2, 2).Control(1, 0, 2).Image(0, 0, 2, 2, 0, 2).Control(1, 0, 9).Image(0, 0, 2, 2, 0, 2).End();
    f = ReadGif(t.b, false);
    EXPECT_EQ(f.frames[0].transparentColor, fw::RGB(2, 253, 1)) << "entry 2 of the global table";
    EXPECT_EQ(f.frames[1].transparentColor, fw::clNone) << "an index beyond the table";

    // Writing sets the flag and index from the first exact match, or clears both.
    f.frames[0].transparentColor = fw::RGB(3, 252, 1);
    f.frames[1].transparentColor = fw::RGB(1, 2, 3);
    UpdateExtensions(f);
    const GifFile back = ReadGif(WriteGif(f), false);
    EXPECT_EQ(back.frames[0].transparentColor, fw::RGB(3, 252, 1));
    EXPECT_EQ(back.frames[0].extensions[0].fixed[4], 3);
    EXPECT_EQ(back.frames[1].transparentColor, fw::clNone);
    EXPECT_EQ(back.frames[1].extensions[0].fixed[1] & 1, 0);
}

TEST(GifStream, PlainTextDropsWhatWasCollected) {
    GifBytes g;
    g.Header().Screen(2, 2, 1).Control(0, 50, 0).Raw({'!', 0x01, 12, 0, 0, 0, 0, 2, 0, 2, 0, 1, 1, 0, 1, 2, 'h', 'i', 0});
    g.Image(0, 0, 2, 2, 0, 1).End();
    const GifFile f = ReadGif(g.b, false);
    EXPECT_TRUE(f.frames[0].extensions.empty());
    EXPECT_EQ(f.frames[0].frameDelay, 0);
}

TEST(GifStream, UnknownExtensionLabel) {
    GifBytes g;
    g.Header().Screen(2, 2, 1).Raw({'!', 0x7A, 1, 'x', 0}).Image(0, 0, 2, 2, 0, 1).End();
    EXPECT_EQ(MessageOf([&] { ReadGif(g.b, true); }), "Unrecognized extension block: 7a");
}

TEST(GifStream, Comments) {
    GifBytes g;
    g.Header().Screen(2, 2, 1).Comment({"frame"}).Image(0, 0, 2, 2, 0, 1).Comment({"one", "two"}).Comment({"three"}).End();
    GifFile f = ReadGif(g.b, false);
    ASSERT_EQ(f.frames[0].extensions.size(), 1u);
    EXPECT_EQ(f.frames[0].extensions[0].lines, (std::vector<std::string>{"frame"}));
    EXPECT_EQ(f.screen->comment, (std::vector<std::string>{"one", "two", "\r\n\r\n", "three"}));
    f.version = 1;
    f.frames[0].extensions[0].lines.clear();
    UpdateExtensions(f);
    EXPECT_TRUE(f.frames[0].extensions.empty()) << "a comment without lines is dropped";
    EXPECT_EQ(f.version, 2) << "a comment needs 89a";
    const GifFile back = ReadGif(WriteGif(f), false);
    EXPECT_EQ(back.screen->comment, (std::vector<std::string>{"one", "two", "\r\n\r\n", "three"}));

    GifBytes stray;
    stray.Header().Screen(2, 2, 1).Image(0, 0, 2, 2, 0, 1).Comment({"a"}).Raw({'x'}).End();
    EXPECT_EQ(MessageOf([&] { ReadGif(stray.b, false); }), kStreamReadError);
}

TEST(GifStream, WrittenTablesArePaddedToTheirDeclaredSize) {
    GifBytes g;
    g.Header().Screen(3, 1, 2).Image(0, 0, 3, 1, 0, 2).Image(0, 0, 3, 1, 3, 3).End();
    GifFile f = ReadGif(g.b, false);
    f.screen->globalTable.count = 3;  // a palette of three colours
    f.screen->tableExponent = 2;
    f.frames[1].data->table.count = 5;
    const std::vector<uint8_t> out = WriteGif(f);
    EXPECT_EQ(out[10] & 7, 1) << "global table declared as 2^2 entries";
    // Header 6 + screen 7 + 4 entries x 3, then the first image.
    EXPECT_EQ(out[13 + 12], ',');
    const GifFile back = ReadGif(out, false);
    EXPECT_EQ(back.screen->globalTable.count, 4u);
    EXPECT_EQ(back.screen->globalTable.entries[3], GifRgb{}) << "padding is black";
    EXPECT_EQ(back.frames[1].data->table.count, 8u) << "a local table of 5 is written as 8";
    EXPECT_EQ(DecodeGifFrame(back.frames[1], false).indices, DecodeGifFrame(f.frames[1], false).indices);
}

int Up(int i) { return i % 256; }

TEST(GifStream, LocalTablesSetTheFrameDepth) {
    GifBytes g;
    g.Header().Screen(16, 16, 1).Image(0, 0, 16, 16, 8, 8, &Up).End();
    const GifFile f = ReadGif(g.b, false);
    EXPECT_EQ(f.frames[0].data->bitsPerPixel, 8);
    const GifDecodedFrame d = DecodeGifFrame(f.frames[0], false);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(d.indices[static_cast<size_t>(i)], i) << "not masked to the global table's 1 bit";

    GifBytes local;
    local.Header().Screen(4, 4, 0).Image(0, 0, 4, 4, 2, 2).Image(1, 1, 2, 2, 1, 1).End();
    const GifFile l = ReadGif(local.b, false);
    ASSERT_EQ(l.frames.size(), 2u);
    EXPECT_EQ(DecodeGifFrame(l.frames[0], false).indices[5], 1) << "a file of local tables only decodes";
    EXPECT_EQ(l.frames[1].data->bitsPerPixel, 1);
    EXPECT_TRUE(l.frames[1].hasLocalTable);

    GifBytes none;
    none.Header().Screen(4, 4, 0).Image(0, 0, 4, 4, 0, 2).End();
    EXPECT_EQ(MessageOf([&] { DecodeGifFrame(ReadGif(none.b, false).frames[0], true); }), kGifWrongColors);
}

TEST(GifStream, FrameSizes) {
    GifBytes zero;
    zero.Header().Screen(3, 2, 1).Raw({','}).Word(0).Word(0).Word(0).Word(0).Raw({0});
    const std::vector<uint8_t> px(6, 1);
    const std::vector<uint8_t> s = EncodeLzw(px, 3, 2, 1, false);
    zero.b.insert(zero.b.end(), s.begin(), s.end());
    zero.End();
    const GifFile f = ReadGif(zero.b, false);
    EXPECT_EQ(f.frames[0].data->width, 3) << "width 0 takes the screen's";
    EXPECT_EQ(f.frames[0].data->height, 2);

    GifBytes huge;
    huge.Header().Screen(1, 1, 1).Raw({','}).Word(0).Word(0).Word(65535).Word(65535).Raw({0, 2, 2, 0x4C, 0x01, 0, ';'});
    EXPECT_EQ(MessageOf([&] { ReadGif(huge.b, true); }), kGifCorrupt) << "no 4 GB bitmap for a few bytes";
}

TEST(GifStream, BackgroundColourFromTheGlobalTable) {
    GifBytes g;
    g.Header().Screen(2, 2, 2, 3).Image(0, 0, 2, 2, 0, 2).End();
    EXPECT_EQ(ReadGif(g.b, false).backgroundColor, fw::RGB(3, 252, 1));
    GifBytes beyond;
    beyond.Header().Screen(2, 2, 1, 3).Image(0, 0, 2, 2, 0, 1).End();
    EXPECT_EQ(ReadGif(beyond.b, false).backgroundColor, fw::clNone);
}

// Files cut short: the frame keeps what it has when tolerant, else the read fails.
TEST(GifStream, TruncatedFiles) {
    GifBytes g;
    g.Header().Screen(40, 40, 8).Image(0, 0, 40, 40, 0, 8, &Up).Image(0, 0, 40, 40, 0, 8, &Up).End();
    const size_t firstImage = 6 + 7 + 768;
    const size_t secondImage = g.b.size() - (g.b.size() - firstImage) / 2;
    const struct {
        const char* why;
        size_t cut;
        size_t frames;
    } cases[] = {
        {"inside the first frame's data", firstImage + 200, 1},
        {"inside the second descriptor", secondImage + 4, 1},
        {"inside the second frame's data", g.b.size() - 40, 2},
        {"before the trailer", g.b.size() - 1, 2},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> cut(g.b.begin(), g.b.begin() + static_cast<std::ptrdiff_t>(c.cut));
        GifFile f;
        ASSERT_NO_THROW(f = ReadGif(cut, true)) << c.why;
        ASSERT_EQ(f.frames.size(), c.frames) << c.why;
        if (c.cut != g.b.size() - 1) {
            EXPECT_TRUE(f.frames.back().corrupted) << c.why;
            EXPECT_TRUE(DecodeGifFrame(f.frames.back(), true).corrupted) << c.why;
            EXPECT_EQ(MessageOf([&] { ReadGif(cut, false); }), kStreamReadError) << c.why;
        }
    }
    EXPECT_EQ(MessageOf([&] { ReadGif(std::vector<uint8_t>(g.b.begin(), g.b.begin() + 100), true); }), kStreamReadError)
        << "cut before any frame";
}

TEST(GifStream, DataEndingBeforeTheEndCodeMarksTheFrame) {
    GifBytes g;
    g.Header().Screen(4, 4, 1).Raw({','}).Word(0).Word(0).Word(4).Word(4).Raw({0, 2, 1, 0x04, 0, ';'});
    const GifFile f = ReadGif(g.b, false);
    EXPECT_FALSE(f.frames[0].corrupted) << "the sub-blocks are whole";
    const GifDecodedFrame d = DecodeGifFrame(f.frames[0], false);
    EXPECT_TRUE(d.corrupted);
    EXPECT_EQ(d.indices.size(), 16u);
}

TEST(GifStream, CodeSizeOutOfRange) {
    GifBytes g;
    g.Header().Screen(2, 2, 1).Image(0, 0, 2, 2, 0, 1).End();
    GifFile f = ReadGif(g.b, false);
    f.frames[0].data->stream[0] = 11;
    EXPECT_EQ(MessageOf([&] { DecodeGifFrame(f.frames[0], false); }), kGifCodeSize);
    EXPECT_TRUE(DecodeGifFrame(f.frames[0], true).corrupted);
}

// The bitmap of a frame: 1, 4 or 8 bits by the frame's depth, a palette of 2^bits entries.
TEST(GifStream, FrameBitmapFiles) {
    for (const auto& [bpp, bits] : {std::pair{1, 1}, std::pair{2, 4}, std::pair{3, 4}, std::pair{4, 4}, std::pair{5, 8}, std::pair{8, 8}}) {
        GifBytes g;
        g.Header().Screen(7, 3, bpp).Image(0, 0, 7, 3, 0, bpp).End();
        const GifFile f = ReadGif(g.b, false);
        const GifDecodedFrame d = DecodeGifFrame(f.frames[0], false);
        fw::BmpImage bmp;
        ASSERT_TRUE(fw::DecodeBmp(GifFrameBitmapFile(f.frames[0], d), bmp)) << bpp;
        EXPECT_EQ(bmp.bitsPerPixel, bits) << bpp;
        ASSERT_EQ(bmp.palette.size(), size_t{1} << bits);
        EXPECT_EQ(bmp.indices, d.indices) << bpp;
        EXPECT_EQ(bmp.palette[1], 0x01FE00u) << "entry 1: red 1, green 254, blue 0";
        if ((1 << bpp) < (1 << bits)) {
            EXPECT_EQ(bmp.palette[size_t{1} << bpp], 0x808080u) << "entries past the table are grey";
        }
    }
}

TEST(GifStream, EncodedFramesCoverTheirIndices) {
    const std::vector<uint32_t> palette = {0xFF0000, 0x00FF00, 0x0000FF};
    const std::vector<uint8_t> px = {0, 1, 2, 2, 1, 0};
    auto d = EncodeGifFrame(3, 2, palette, px);
    EXPECT_EQ(d->table.count, 3u);
    EXPECT_EQ(d->bitsPerPixel, 2);
    EXPECT_EQ(d->table.entries[2], (GifRgb{0, 0, 255}));
    const std::vector<uint8_t> wide = {0, 1, 6};
    d = EncodeGifFrame(3, 1, palette, wide);
    EXPECT_EQ(d->table.count, 7u) << "an index past the palette widens the table";
    EXPECT_EQ(d->bitsPerPixel, 3);
    EXPECT_EQ(MessageOf([&] { EncodeGifFrame(70000, 1, palette, std::vector<uint8_t>(70000)); }), kGifEncodingError);
    GifFile none;
    EXPECT_EQ(MessageOf([&] { WriteGif(none); }), kGifNoData);
}

}  // namespace
}  // namespace inst
