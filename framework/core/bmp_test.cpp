#include "framework/core/bmp.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "framework/core/exceptions.h"
#include "testing/test_env.h"

namespace fw {
namespace {

// A test picture: gradients and a diagonal, so rows and columns cannot be swapped unnoticed.
BmpImage Picture(int w, int h, int bpp) {
    BmpImage img;
    img.width = w;
    img.height = h;
    img.bitsPerPixel = bpp;
    img.pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
    if (bpp <= 8) {
        const int colors = 1 << bpp;
        for (int i = 0; i < colors; ++i)
            img.palette.push_back(static_cast<uint32_t>(((i * 37) & 0xFF) << 16 | ((i * 91) & 0xFF) << 8 | ((255 - i) & 0xFF)));
        img.indices.resize(img.pixels.size());
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
            if (bpp <= 8) {
                img.indices[i] = static_cast<uint8_t>((x * 3 + y * 5 + (x == y ? 7 : 0)) % (1 << bpp));
                img.pixels[i] = img.palette[img.indices[i]];
            } else {
                const uint32_t alpha = bpp == 32 ? static_cast<uint32_t>((x * 11) & 0xFF) << 24 : 0;
                img.pixels[i] = alpha | static_cast<uint32_t>((x * 255 / w) << 16 | (y * 255 / h) << 8 | ((x ^ y) & 0xFF));
            }
        }
    }
    return img;
}

TEST(Bmp, RoundTripAtEachDepth) {
    for (int bpp : {1, 4, 8, 24, 32}) {
        for (const auto& [w, h] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{33, 17}}) {
            const BmpImage img = Picture(w, h, bpp);
            const std::vector<uint8_t> file = EncodeBmp(img);
            BmpImage back;
            std::string why;
            ASSERT_TRUE(DecodeBmp(file, back, &why)) << bpp << " bpp: " << why;
            EXPECT_EQ(back.width, w);
            EXPECT_EQ(back.height, h);
            EXPECT_EQ(back.bitsPerPixel, bpp);
            EXPECT_EQ(back.pixels, img.pixels) << bpp << " bpp " << w << "x" << h;
            if (bpp <= 8) {
                EXPECT_EQ(back.indices, img.indices);
                EXPECT_EQ(back.palette, img.palette);
            }
            // The packed DIB form is the file without its 14-byte header.
            BmpImage dib;
            ASSERT_TRUE(DecodeDib(std::span<const uint8_t>(file).subspan(14), dib));
            EXPECT_EQ(dib.pixels, img.pixels);
        }
    }
}

TEST(Bmp, EncoderRefusesWhatDoesNotFit) {
    BmpImage img = Picture(4, 4, 8);
    EXPECT_THROW(EncodeBmp(img, 4), EInvalidGraphic) << "256 colours do not fit 4 bits";
    EXPECT_THROW(EncodeBmp(img, 16), EInvalidGraphic);
    img.indices[3] = 255;
    img.palette.resize(10);
    EXPECT_THROW(EncodeBmp(img, 8), EInvalidGraphic) << "index outside the palette";
    BmpImage empty;
    EXPECT_THROW(EncodeBmp(empty, 24), EInvalidGraphic);
}

std::vector<uint8_t> Le(std::initializer_list<uint32_t> words, int size) {
    std::vector<uint8_t> out;
    for (uint32_t w : words)
        for (int i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(w >> (8 * i)));
    return out;
}

// A hand-built file: header fields, an optional table or masks, and the bits.
std::vector<uint8_t> Build(int32_t w, int32_t h, uint16_t bpp, uint32_t compression, const std::vector<uint32_t>& table,
                           const std::vector<uint8_t>& bits) {
    std::vector<uint8_t> info = Le({40, static_cast<uint32_t>(w), static_cast<uint32_t>(h)}, 4);
    for (uint8_t b : Le({1, bpp}, 2)) info.push_back(b);
    for (uint8_t b : Le({compression, static_cast<uint32_t>(bits.size()), 0, 0,
                         compression == 3 ? 0u : static_cast<uint32_t>(table.size()), 0}, 4))
        info.push_back(b);
    for (uint32_t t : table)
        for (uint8_t b : Le({t}, 4)) info.push_back(b);
    std::vector<uint8_t> file{'B', 'M'};
    for (uint8_t b : Le({static_cast<uint32_t>(14 + info.size() + bits.size())}, 4)) file.push_back(b);
    for (uint8_t b : Le({0, static_cast<uint32_t>(14 + info.size())}, 4)) file.push_back(b);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), bits.begin(), bits.end());
    return file;
}

TEST(Bmp, ReadsRle8Rle4BitfieldsAnd16Bit) {
    BmpImage img;
    // RLE8, 4x2, bottom-up: the stream's first row is the picture's bottom row.
    const std::vector<uint8_t> rle8{3, 1, 1, 2, 0, 0,  // bottom row: 1 1 1 2
                                    0, 3, 2, 0, 1, 0,  // top row: absolute 2 0 1 (padded) ...
                                    1, 3, 0, 1};       // ... then 3; end of bitmap
    ASSERT_TRUE(DecodeBmp(Build(4, 2, 8, 1, {0x000000, 0x0000FF, 0x00FF00, 0xFF0000}, rle8), img));
    EXPECT_EQ(img.indices, (std::vector<uint8_t>{2, 0, 1, 3, 1, 1, 1, 2}));
    EXPECT_EQ(img.Pixel(3, 0), 0xFF0000u);
    // RLE4 with a delta: 4x2, bottom row "1 2 1 _", end of line, two to the right, then "3 3".
    const std::vector<uint8_t> rle4{3, 0x12, 0, 0, 0, 2, 2, 0, 2, 0x33, 0, 1};
    ASSERT_TRUE(DecodeBmp(Build(4, 2, 4, 2, {0, 0x111111, 0x222222, 0x333333}, rle4), img));
    EXPECT_EQ(img.indices, (std::vector<uint8_t>{0, 0, 3, 3, 1, 2, 1, 0}));
    // 16 bits, 5-5-5: pure red, green, blue and white.
    ASSERT_TRUE(DecodeBmp(Build(4, 1, 16, 0, {}, Le({0x7C00, 0x03E0, 0x001F, 0x7FFF}, 2)), img));
    EXPECT_EQ(img.pixels, (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
    // 16 bits with 5-6-5 masks (which follow the 40-byte header).
    ASSERT_TRUE(DecodeBmp(Build(2, 1, 16, 3, {0xF800, 0x07E0, 0x001F}, Le({0x07E0, 0x8410}, 2)), img));
    EXPECT_EQ(img.pixels, (std::vector<uint32_t>{0x00FF00, 0x848284}));
    // 32 bits with masks in another order.
    ASSERT_TRUE(DecodeBmp(Build(1, 1, 32, 3, {0x000000FF, 0x0000FF00, 0x00FF0000}, Le({0x00332211}, 4)), img));
    EXPECT_EQ(img.pixels[0], 0x112233u);
    // A top-down image (negative height) keeps its row order.
    ASSERT_TRUE(DecodeBmp(Build(1, -2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0}), img));
    EXPECT_EQ(img.pixels, (std::vector<uint32_t>{0x030201, 0x060504}));
}

TEST(Bmp, RejectsDamagedHeaders) {
    const std::vector<uint8_t> good = EncodeBmp(Picture(8, 8, 8));
    ASSERT_NO_THROW(ReadBmp(good));
    struct Damage {
        const char* name;
        size_t offset;
        std::vector<uint8_t> bytes;
    };
    const Damage rows[] = {
        {"signature", 0, {'X'}},
        {"offset beyond the end", 10, {0xFF, 0xFF, 0, 0}},
        {"offset inside the header", 10, {20, 0, 0, 0}},
        {"header size", 14, {0xFF, 0xFF, 0, 0}},
        {"zero width", 18, {0, 0, 0, 0}},
        {"huge width", 18, {0xFF, 0xFF, 0, 0}},
        {"negative width", 18, {0xF8, 0xFF, 0xFF, 0xFF}},
        {"huge height", 22, {0, 0, 0, 0x80}},
        {"planes", 26, {2, 0}},
        {"bit count", 28, {7, 0}},
        {"compression", 30, {9, 0, 0, 0}},
        {"RLE4 on 8 bits", 30, {2, 0, 0, 0}},
        {"colour count", 46, {1, 1, 0, 0}},
    };
    for (const Damage& d : rows) {
        std::vector<uint8_t> bad = good;
        std::copy(d.bytes.begin(), d.bytes.end(), bad.begin() + static_cast<std::ptrdiff_t>(d.offset));
        BmpImage img;
        EXPECT_FALSE(DecodeBmp(bad, img)) << d.name;
        EXPECT_THROW(ReadBmp(bad), EInvalidGraphic) << d.name;
    }
    for (size_t cut : {size_t{0}, size_t{13}, size_t{20}, size_t{60}, good.size() - 1}) {
        BmpImage img;
        EXPECT_FALSE(DecodeBmp(std::span<const uint8_t>(good).first(cut), img)) << "cut at " << cut;
    }
}

#ifndef _WIN32
// Pillow, an independent reader, sees the same pixels in what we write at every depth.
TEST(Bmp, PillowReadsWhatWeWrite) {
    const std::string dir = mx::test::FreshDir();
    for (int bpp : {1, 4, 8, 24, 32}) {
        const BmpImage img = Picture(13, 6, bpp);
        const std::vector<uint8_t> file = EncodeBmp(img);
        const std::string path = dir + "/d" + std::to_string(bpp) + ".bmp";
        mx::test::WriteFile(path, std::string(file.begin(), file.end()));
        const std::string cmd = "/usr/bin/python3 -c \"from PIL import Image\nim = Image.open('" + path +
                                "').convert('RGB')\nw, h = im.size\nprint(w, h)\nfor y in range(h):\n"
                                " for x in range(w):\n  r, g, b = im.getpixel((x, y))\n  print((r << 16) | (g << 8) | b)\"";
        FILE* p = popen(cmd.c_str(), "r");
        ASSERT_NE(p, nullptr);
        int w = 0, h = 0;
        ASSERT_EQ(std::fscanf(p, "%d %d", &w, &h), 2) << "/usr/bin/python3 with PIL (package python3-pil) is needed";
        EXPECT_EQ(w, 13);
        EXPECT_EQ(h, 6);
        for (int i = 0; i < w * h; ++i) {
            unsigned v = 0;
            ASSERT_EQ(std::fscanf(p, "%u", &v), 1);
            EXPECT_EQ(v, img.pixels[static_cast<size_t>(i)] & 0xFFFFFFu) << bpp << " bpp pixel " << i;
        }
        EXPECT_EQ(pclose(p), 0);
    }
}
#endif

}  // namespace
}  // namespace fw
