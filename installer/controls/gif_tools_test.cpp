// GIF files made by ImageMagick, gifsicle and giflib's gifbuild at test time, decoded by us and by
// Pillow and gif2rgb; and our encoder's files decoded by both, with giftext reading their tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include "engine/formats/common/testdata/tool_runner.h"
#include "framework/core/exceptions.h"
#include "installer/controls/gif_stream.h"
#include "installer/controls/gif_texts.h"
#include "testing/test_env.h"

namespace inst {
namespace {

using engine::test::CaptureIn;
using engine::test::RunIn;

// Each file's recipe. The picture "fx" has a colour per pixel, so -colors N really gives N colours.
constexpr const char* kMakeFixtures = R"(set -e
fx() { size=$1; shift; convert -size $size xc: -channel R -fx 'i/w' -channel G -fx 'j/h' -channel B -fx '(i*j)%7/7' +channel "$@"; }
fx 17x13 -colors 2 im_c2.gif
fx 17x13 -colors 3 im_c3.gif
fx 17x13 -colors 16 im_c16.gif
fx 64x48 -colors 256 im_c256.gif
fx 40x30 -colors 16 -interlace GIF im_interlaced.gif
convert -size 17x13 xc:white -fill red -draw 'rectangle 2,2 8,8' -fill blue -draw 'circle 12,6 14,8' -transparent white im_transparent.gif
convert -delay 7 -size 20x16 xc:red \( -size 8x6 xc:lime -repage +5+4 \) \( -size 20x16 gradient:blue-yellow \) -loop 0 im_anim.gif
gifsicle --loopcount=40000 im_anim.gif > gs_loop.gif
gifsicle --comment 'made for a test' im_c16.gif > gs_comment.gif
gifsicle --interlace im_c256.gif > gs_interlace.gif
gifbuild "$1/gifbuild_local_tables.txt" > gb_local.gif
gifbuild "$1/gifbuild_unknown_extension.txt" > gb_unknown.gif
)";

// Per file: "file NAME FRAMES", then per frame "frame LEFT TOP WIDTH HEIGHT MODE", its RGB within that
// rectangle, and for a palette frame its indices.
constexpr const char* kPillowScript = R"(import sys
from PIL import Image
for name in sys.argv[1:]:
    im = Image.open(name)
    n = getattr(im, 'n_frames', 1)
    print('file', name, n)
    for f in range(n):
        im.seek(f)
        l, t, r, b = im.tile[0][1] if im.tile else (0, 0) + im.size
        print('frame', l, t, r - l, b - t, im.mode)
        rgb = im.convert('RGB')
        print(' '.join('%02X%02X%02X' % rgb.getpixel((x, y)) for y in range(t, b) for x in range(l, r)))
        if im.mode == 'P':
            print(' '.join(str(im.getpixel((x, y))) for y in range(t, b) for x in range(l, r)))
)";

const char* const kFixtures[] = {"im_c2",       "im_c3",     "im_c16",   "im_c256",    "im_interlaced", "im_transparent",
                                 "im_anim",     "gs_loop",   "gs_comment", "gs_interlace", "gb_local"};

std::vector<uint8_t> Bytes(const std::string& path) {
    const std::string s = mx::test::ReadFile(path);
    return {s.begin(), s.end()};
}

struct PillowFrame {
    int left = 0, top = 0, width = 0, height = 0;
    std::string mode;
    std::vector<uint32_t> rgb;
    std::vector<int> indices;
};

std::map<std::string, std::vector<PillowFrame>> PillowFrames(const std::string& dir, const std::vector<std::string>& files) {
    mx::test::WriteFile(dir + "/pil.py", kPillowScript);
    std::string args;
    for (const std::string& f : files) args += " " + f;
    EXPECT_TRUE(RunIn(dir, engine::test::Python() + " pil.py" + args + " > pil.txt", "python3", "python3-pil"));
    std::map<std::string, std::vector<PillowFrame>> out;
    std::istringstream in(mx::test::ReadFile(dir + "/pil.txt"));
    std::string word, name;
    int frames = 0;
    while (in >> word >> name >> frames) {
        for (int i = 0; i < frames; ++i) {
            PillowFrame f;
            in >> word >> f.left >> f.top >> f.width >> f.height >> f.mode;
            const size_t n = static_cast<size_t>(f.width) * static_cast<size_t>(f.height);
            for (size_t k = 0; k < n; ++k) {
                in >> word;
                f.rgb.push_back(static_cast<uint32_t>(std::stoul(word, nullptr, 16)));
            }
            if (f.mode == "P")
                for (size_t k = 0; k < n; ++k) {
                    int v = 0;
                    in >> v;
                    f.indices.push_back(v);
                }
            out[name].push_back(std::move(f));
        }
    }
    return out;
}

// gif2rgb draws every image of a file on one screen, so each frame is cut out into a file of its own
// first (gifsicle --explode) and its rectangle taken from that file's screen.
std::vector<uint32_t> Gif2RgbFrame(const std::string& dir, const std::string& file, size_t frame, size_t frames,
                                   const GifFile& gif) {
    std::string single = file;
    if (frames > 1) {
        char suffix[8];
        std::snprintf(suffix, sizeof suffix, ".%03zu", frame);
        single = file + ".x" + suffix;
        if (frame == 0) {
            EXPECT_TRUE(RunIn(dir, "gifsicle --explode " + file + " -o " + file + ".x", "gifsicle", "gifsicle"));
        }
    }
    EXPECT_TRUE(RunIn(dir, "gif2rgb -1 -o " + single + ".rgb " + single, "gif2rgb", "giflib-tools"));
    const std::vector<uint8_t> rgb = Bytes(dir + "/" + single + ".rgb");
    const GifFrame& f = gif.frames[frame];
    std::vector<uint32_t> out;
    for (int y = 0; y < f.data->height; ++y)
        for (int x = 0; x < f.data->width; ++x) {
            const size_t at = 3 * (static_cast<size_t>(f.top + y) * static_cast<size_t>(gif.screenWidth) + static_cast<size_t>(f.left + x));
            if (at + 2 >= rgb.size()) return out;
            out.push_back(uint32_t{rgb[at]} << 16 | uint32_t{rgb[at + 1]} << 8 | rgb[at + 2]);
        }
    return out;
}

std::vector<uint32_t> OurRgb(const GifFrame& f, const GifDecodedFrame& d) {
    std::vector<uint32_t> out;
    for (uint8_t i : d.indices) {
        const GifRgb c = f.data->table.entries[i];
        out.push_back(uint32_t{c.red} << 16 | uint32_t{c.green} << 8 | c.blue);
    }
    return out;
}

class GifTools : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = mx::test::FreshDir();
        mx::test::WriteFile(dir_ + "/make.sh", kMakeFixtures);
        for (const auto& [program, package] : {std::pair{"convert", "imagemagick"}, std::pair{"gifsicle", "gifsicle"},
                                               std::pair{"gifbuild", "giflib-tools"}})
            ASSERT_TRUE(engine::test::HaveTool(program)) << program << " is missing: install the Debian package " << package;
        ASSERT_TRUE(RunIn(dir_, "bash make.sh '" + mx::test::SourceDir() + "/installer/controls/testdata'", "bash", "bash"));
    }
    static std::string dir_;
};
std::string GifTools::dir_;

TEST_F(GifTools, EveryFrameDecodesAsPillowAndGif2rgbDecodeIt) {
    std::vector<std::string> names;
    for (const char* f : kFixtures) names.push_back(std::string(f) + ".gif");
    const auto pillow = PillowFrames(dir_, names);
    for (const std::string& name : names) {
        const GifFile gif = ReadGif(Bytes(dir_ + "/" + name), false);
        const auto it = pillow.find(name);
        ASSERT_NE(it, pillow.end()) << name;
        ASSERT_EQ(gif.frames.size(), it->second.size()) << name;
        for (size_t i = 0; i < gif.frames.size(); ++i) {
            const GifFrame& f = gif.frames[i];
            const PillowFrame& p = it->second[i];
            EXPECT_EQ(f.left, p.left) << name << " frame " << i;
            EXPECT_EQ(f.top, p.top) << name << " frame " << i;
            ASSERT_EQ(f.data->width, p.width) << name << " frame " << i;
            ASSERT_EQ(f.data->height, p.height) << name << " frame " << i;
            const GifDecodedFrame d = DecodeGifFrame(f, false);
            EXPECT_FALSE(d.corrupted) << name;
            const std::vector<uint32_t> ours = OurRgb(f, d);
            // Pillow shows what lies beneath a transparent pixel: only the others are compared.
            const int transparent = f.transparentColor == fw::clNone ? -1 : FindColor(f.data->table, f.transparentColor);
            size_t compared = 0;
            for (size_t k = 0; k < ours.size(); ++k) {
                if (d.indices[k] == transparent) continue;
                ++compared;
                ASSERT_EQ(ours[k], p.rgb[k]) << name << " frame " << i << " pixel " << k << " (Pillow)";
            }
            EXPECT_GT(compared, 0u) << name;
            EXPECT_EQ(ours, Gif2RgbFrame(dir_, name, i, gif.frames.size(), gif)) << name << " frame " << i << " (gif2rgb)";
        }
    }
}

TEST_F(GifTools, WhatTheToolsWrote) {
    const GifFile anim = ReadGif(Bytes(dir_ + "/im_anim.gif"), false);
    ASSERT_EQ(anim.frames.size(), 3u);
    EXPECT_TRUE(anim.loopEnabled);
    EXPECT_EQ(anim.loopCount, 0);
    EXPECT_EQ(anim.frames[1].frameDelay, 70);
    EXPECT_EQ(anim.frames[1].left, 5);
    EXPECT_EQ(anim.frames[1].top, 4);
    EXPECT_EQ(ReadGif(Bytes(dir_ + "/gs_loop.gif"), false).loopCount, 30000) << "40000 is read as 30000";
    const GifFile comment = ReadGif(Bytes(dir_ + "/gs_comment.gif"), false);
    bool found = false;
    for (const GifExtension& e : comment.frames[0].extensions)
        found |= e.kind == GifExtensionKind::ekComment && e.lines == std::vector<std::string>{"made for a test"};
    EXPECT_TRUE(found);
    EXPECT_TRUE(ReadGif(Bytes(dir_ + "/im_interlaced.gif"), false).frames[0].interlaced);
    EXPECT_TRUE(ReadGif(Bytes(dir_ + "/gs_interlace.gif"), false).frames[0].interlaced);
    EXPECT_NE(ReadGif(Bytes(dir_ + "/im_transparent.gif"), false).frames[0].transparentColor, fw::clNone);
    const GifFile local = ReadGif(Bytes(dir_ + "/gb_local.gif"), false);
    EXPECT_EQ(local.screen->globalTable.count, 0u);
    ASSERT_EQ(local.frames.size(), 2u);
    EXPECT_TRUE(local.frames[0].hasLocalTable);
    EXPECT_EQ(local.frames[0].data->bitsPerPixel, 2);
    EXPECT_EQ(local.frames[1].data->bitsPerPixel, 1);
    EXPECT_EQ(local.frames[1].data->stream[0], 2) << "a 1-bit image has minimum code size 2";
    try {
        ReadGif(Bytes(dir_ + "/gb_unknown.gif"), true);
        ADD_FAILURE() << "an unknown extension label was accepted";
    } catch (const fw::EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message(), "Unrecognized extension block: 7a");
    }
}

// Our own walk over a file's blocks: where the first image's data starts, and where each image's data
// ends (a cut there leaves whole frames only).
struct BlockWalk {
    size_t firstData = 0;
    std::vector<size_t> dataEnds;
};

BlockWalk Walk(const std::vector<uint8_t>& b) {
    BlockWalk w;
    auto subBlocks = [&](size_t at) {
        while (at < b.size() && b[at] != 0) at += b[at] + 1u;
        return at + 1;
    };
    size_t at = 13 + ((b[10] & 0x80) ? 3 * (size_t{2} << (b[10] & 7)) : 0);
    while (at < b.size() && b[at] != ';') {
        if (b[at] == '!') {
            at = subBlocks(at + 2);
            continue;
        }
        const uint8_t packed = b[at + 9];
        const size_t data = at + 10 + ((packed & 0x80) ? 3 * (size_t{2} << (packed & 7)) : 0);
        if (w.firstData == 0) w.firstData = data;
        at = subBlocks(data + 1);
        w.dataEnds.push_back(at);
    }
    return w;
}

TEST_F(GifTools, FilesCutInHalfLoadCorruptedWhenTolerant) {
    for (const char* name : kFixtures) {
        const std::vector<uint8_t> whole = Bytes(dir_ + "/" + name + ".gif");
        const std::vector<uint8_t> half(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
        const BlockWalk walk = Walk(whole);
        ASSERT_GT(walk.firstData, 0u) << name;
        if (half.size() <= walk.firstData) {
            // Nothing of a frame survives: the read fails in both modes.
            EXPECT_THROW(ReadGif(half, true), fw::EReadError) << name;
            continue;
        }
        GifFile gif;
        ASSERT_NO_THROW(gif = ReadGif(half, true)) << name;
        ASSERT_FALSE(gif.frames.empty()) << name;
        if (std::find(walk.dataEnds.begin(), walk.dataEnds.end(), half.size()) != walk.dataEnds.end()) {
            // Cut between two frames: the frames before it are whole.
            EXPECT_LT(gif.frames.size(), walk.dataEnds.size()) << name;
            EXPECT_FALSE(gif.frames.back().corrupted) << name;
            continue;
        }
        EXPECT_TRUE(gif.frames.back().corrupted) << name;
        EXPECT_TRUE(DecodeGifFrame(gif.frames.back(), true).corrupted) << name;
        EXPECT_THROW(ReadGif(half, false), fw::EReadError) << name;
    }
}

// Our encoder: each file has a frame on the global table and one with a local table of another size.
TEST_F(GifTools, OurFilesDecodeInPillowAndGif2rgbWithTheirDeclaredTables) {
    const struct {
        int globalColors, localColors, width, height;
    } cases[] = {{2, 3, 17, 13}, {3, 5, 1, 9}, {16, 2, 40, 1}, {200, 17, 33, 21}, {256, 256, 64, 48}, {5, 129, 9, 9}};
    std::vector<std::string> names;
    std::vector<GifFile> written;
    std::vector<std::vector<std::vector<uint8_t>>> sources;
    for (const auto& c : cases) {
        GifFile gif;
        gif.version = 1;
        std::vector<std::vector<uint8_t>> frames;
        for (int which = 0; which < 2; ++which) {
            const int colors = which == 0 ? c.globalColors : c.localColors;
            std::vector<uint32_t> palette;
            for (int i = 0; i < colors; ++i)
                palette.push_back(static_cast<uint32_t>((i * 53 + which * 100) % 256) << 16 | static_cast<uint32_t>(i * 29 % 256) << 8 |
                                  static_cast<uint32_t>(255 - i));
            std::vector<uint8_t> px(static_cast<size_t>(c.width) * static_cast<size_t>(c.height));
            for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<uint8_t>((i * 7 + i / 3) % static_cast<size_t>(colors));
            GifFrame f;
            f.data = EncodeGifFrame(c.width, c.height, palette, px);
            if (which == 0) {
                gif.screen->globalTable = f.data->table;
                gif.screen->tableExponent = f.data->bitsPerPixel;
            } else {
                f.hasLocalTable = true;
            }
            gif.frames.push_back(f);
            frames.push_back(px);
        }
        UpdateExtensions(gif);
        const std::string name = "ours_" + std::to_string(c.globalColors) + "_" + std::to_string(c.localColors) + ".gif";
        const std::vector<uint8_t> bytes = WriteGif(gif);
        mx::test::WriteFile(dir_ + "/" + name, std::string(bytes.begin(), bytes.end()));
        names.push_back(name);
        written.push_back(ReadGif(bytes, false));
        sources.push_back(frames);
    }
    const auto pillow = PillowFrames(dir_, names);
    for (size_t n = 0; n < names.size(); ++n) {
        const std::string& name = names[n];
        const GifFile& gif = written[n];
        ASSERT_EQ(pillow.at(name).size(), 2u) << name;
        for (size_t i = 0; i < 2; ++i) {
            const GifFrame& f = gif.frames[i];
            GifDecodedFrame source;
            source.indices = sources[n][i];
            const std::vector<uint32_t> want = OurRgb(f, source);
            EXPECT_EQ(pillow.at(name)[i].rgb, want) << name << " frame " << i << " (Pillow)";
            if (i == 0) {
                EXPECT_EQ(pillow.at(name)[0].indices, std::vector<int>(source.indices.begin(), source.indices.end())) << name;
            }
            EXPECT_EQ(Gif2RgbFrame(dir_, name, i, 2, gif), want) << name << " frame " << i << " (gif2rgb)";
        }
        // giftext reads the declared sizes: 2^n entries for the screen's table and the local one.
        const std::string text = CaptureIn(dir_, "giftext " + name + " 2>&1");
        std::smatch m;
        ASSERT_TRUE(std::regex_search(text, m, std::regex("ColorResolution = \\d+, BitsPerPixel = (\\d+)"))) << text;
        EXPECT_EQ(std::stoi(m[1]), TableExponent(static_cast<uint32_t>(cases[n].globalColors))) << name;
        ASSERT_TRUE(std::regex_search(text, m, std::regex("Image is Non Interlaced, BitsPerPixel = (\\d+)"))) << text;
        EXPECT_EQ(std::stoi(m[1]), TableExponent(static_cast<uint32_t>(cases[n].localColors))) << name;
        EXPECT_NE(text.find("GIF file terminated normally"), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace inst
