#include "installer/controls/ani_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "engine/formats/common/testdata/tool_runner.h"
#include "framework/core/exceptions.h"
#include "installer/controls/testdata/error_text.h"
#include "installer/controls/icon_directory.h"
#include "installer/controls/le_bytes.h"
#include "testing/test_env.h"

namespace inst {
namespace {

// An .ico (type 1) or .cur (type 2) file image with one w x w image per entry of `bits` bits.
std::vector<uint8_t> IconFile(int type, std::vector<int> bits, int w = 16, int hotX = 0, int hotY = 0) {
    std::vector<uint8_t> f;
    PutLe16(f, 0);
    PutLe16(f, static_cast<uint32_t>(type));
    PutLe16(f, static_cast<uint32_t>(bits.size()));
    std::vector<std::vector<uint8_t>> images;
    for (int b : bits) {
        std::vector<uint8_t> img;
        PutLe32(img, 40);
        PutLe32(img, static_cast<uint32_t>(w));
        PutLe32(img, static_cast<uint32_t>(2 * w));
        PutLe16(img, 1);
        PutLe16(img, static_cast<uint32_t>(b));
        for (int i = 0; i < 6; ++i) PutLe32(img, 0);
        img.resize(img.size() + (b <= 8 ? 4u << b : 0) + static_cast<size_t>(w) * static_cast<size_t>((w * b + 31) / 32 * 4 + 4), 0);
        images.push_back(img);
    }
    uint32_t offset = static_cast<uint32_t>(6 + 16 * bits.size());
    for (size_t i = 0; i < bits.size(); ++i) {
        f.push_back(static_cast<uint8_t>(w));
        f.push_back(static_cast<uint8_t>(w));
        f.push_back(0);
        f.push_back(0);
        PutLe16(f, type == 2 ? static_cast<uint32_t>(hotX + static_cast<int>(i)) : 1);
        PutLe16(f, type == 2 ? static_cast<uint32_t>(hotY + static_cast<int>(i)) : static_cast<uint32_t>(bits[i]));
        PutLe32(f, static_cast<uint32_t>(images[i].size()));
        PutLe32(f, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& img : images) f.insert(f.end(), img.begin(), img.end());
    return f;
}

std::vector<uint8_t> Chunk(const char* id, const std::vector<uint8_t>& data, uint32_t size = 0xFFFFFFFF) {
    std::vector<uint8_t> c(id, id + 4);
    PutLe32(c, size == 0xFFFFFFFF ? static_cast<uint32_t>(data.size()) : size);
    c.insert(c.end(), data.begin(), data.end());
    if (data.size() % 2) c.push_back(0);
    return c;
}

std::vector<uint8_t> Words(std::initializer_list<uint32_t> values) {
    std::vector<uint8_t> out;
    for (uint32_t v : values) PutLe32(out, v);
    return out;
}

std::vector<uint8_t> Header(uint32_t frames, uint32_t steps, uint32_t rate = 10, uint32_t flags = 1) {
    return Chunk("anih", Words({36, frames, steps, 0, 0, 0, 0, rate, flags}));
}

std::vector<uint8_t> List(const char* type, std::initializer_list<std::vector<uint8_t>> chunks) {
    std::vector<uint8_t> data(type, type + 4);
    for (const auto& c : chunks) data.insert(data.end(), c.begin(), c.end());
    return Chunk("LIST", data);
}

std::vector<uint8_t> Ani(std::initializer_list<std::vector<uint8_t>> chunks, const char* form = "ACON") {
    std::vector<uint8_t> body(form, form + 4);
    for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
    return Chunk("RIFF", body);
}

using test::MessageOf;

TEST(AniReader, DamagedFilesAreRefused) {
    const std::vector<uint8_t> icons = List("fram", {Chunk("icon", IconFile(1, {4}))});
    const struct {
        const char* why;
        std::vector<uint8_t> file;
    } cases[] = {
        {"not an ACON form", Ani({Header(1, 1), icons}, "WAVE")},
        {"no icon flag", Ani({Header(1, 1, 10, 0), icons})},
        {"no steps", Ani({Header(1, 0), icons})},
        {"no icons", Ani({Header(1, 1)})},
        {"shorter than a form", {'R', 'I', 'F', 'F', 0, 0}},
        {"nothing", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(MessageOf([&] { ReadAni(c.file); }), "Stream read error") << c.why;
}

TEST(AniReader, FramesWithoutAnIconAreRemoved) {
    const AniFile a = ReadAni(Ani({Header(3, 3), List("fram", {Chunk("icon", IconFile(1, {4})), Chunk("icon", IconFile(1, {8}))})}));
    ASSERT_EQ(a.frames.size(), 2u);
    EXPECT_EQ(a.header.steps, 2u);
    EXPECT_EQ(a.frames[0].icon, 0);
    EXPECT_EQ(a.frames[1].icon, 1);
    EXPECT_EQ(a.sourceColorCount, 256);
}

TEST(AniReader, HotSpots) {
    const AniFile a =
        ReadAni(Ani({Header(2, 2), List("fram", {Chunk("icon", IconFile(2, {4, 8}, 32, 3, 5)), Chunk("icon", IconFile(1, {1}, 24))})}));
    ASSERT_EQ(a.icons.size(), 2u);
    EXPECT_FALSE(a.icons[0].isIcon);
    EXPECT_EQ(a.icons[0].hotX, 4) << "a cursor's hot spot comes from its last directory entry";
    EXPECT_EQ(a.icons[0].hotY, 6);
    EXPECT_EQ(a.icons[0].file[2], 1) << "the cursor loads as an icon";
    EXPECT_TRUE(a.icons[1].isIcon);
    EXPECT_EQ(a.icons[1].hotX, 12) << "an icon's hot spot is its centre";
    EXPECT_EQ(a.icons[1].hotY, 12);
    EXPECT_EQ(std::string(a.icons[1].tag.begin(), a.icons[1].tag.begin() + 4), "icon");
}

// "rate" and "seq " chunks hold one entry per step; a chunk of one entry serves the next frame.
TEST(AniReader, RatesAndStepsGoToTheFramesInTurn) {
    const auto icons = List("fram", {Chunk("icon", IconFile(1, {4})), Chunk("icon", IconFile(1, {4})), Chunk("icon", IconFile(1, {4}))});
    const struct {
        const char* why;
        std::vector<uint8_t> file;
    } cases[] = {
        {"arrays", Ani({Header(3, 5), Chunk("rate", Words({6, 12, 18, 24, 30})), Chunk("seq ", Words({0, 1, 2, 1, 0})), icons})},
        {"one entry per chunk", Ani({Header(3, 5), Chunk("rate", Words({6})), Chunk("rate", Words({12})),
                                     Chunk("rate", Words({18, 24})), Chunk("rate", Words({30})), Chunk("seq ", Words({0, 1})),
                                     Chunk("seq ", Words({2})), Chunk("seq ", Words({1})), Chunk("seq ", Words({0})), icons})},
        {"sequence before rates", Ani({Header(3, 5), Chunk("seq ", Words({0, 1, 2, 1, 0})), icons, Chunk("rate", Words({6, 12, 18, 24, 30}))})},
    };
    for (const auto& c : cases) {
        const AniFile a = ReadAni(c.file);
        ASSERT_EQ(a.frames.size(), 5u) << c.why;
        const uint32_t rates[] = {6, 12, 18, 24, 30};
        const int order[] = {0, 1, 2, 1, 0};
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(a.frames[i].rate, rates[i]) << c.why << " step " << i;
            EXPECT_EQ(a.frames[i].iconIndex, order[i]) << c.why << " step " << i;
            EXPECT_EQ(a.frames[i].icon, order[i]) << c.why << " step " << i;
        }
    }
    // No "rate" chunk: every frame has the header's rate.
    const AniFile plain = ReadAni(Ani({Header(3, 3, 7), icons}));
    for (const AniFrame& f : plain.frames) EXPECT_EQ(f.rate, 7u);
}

// A second header after rates and steps starts them over for its own frames.
TEST(AniReader, ASecondHeaderStartsTheStepsOver) {
    const auto icon = Chunk("icon", IconFile(1, {4}));
    const AniFile a = ReadAni(Ani({Header(1, 4), Chunk("rate", Words({1, 2, 3, 4})), Header(2, 2), Chunk("rate", Words({7})),
                                   List("fram", {icon, icon})}));
    ASSERT_EQ(a.frames.size(), 2u);
    EXPECT_EQ(a.frames[0].rate, 7u);
    EXPECT_EQ(a.frames[1].rate, 10u);
}

TEST(AniReader, IconsWithoutAFrameGetOne) {
    const AniFile a = ReadAni(Ani({Header(1, 1), List("fram", {Chunk("icon", IconFile(1, {4})), Chunk("icon", IconFile(1, {4}))})}));
    ASSERT_EQ(a.frames.size(), 2u);
    EXPECT_EQ(a.frames[1].iconIndex, -1);
    EXPECT_EQ(a.frames[1].icon, 1);
}

TEST(AniReader, Info) {
    const std::string longTitle(300, 'T');
    const std::vector<uint8_t> title(longTitle.begin(), longTitle.end());
    const AniFile a = ReadAni(Ani({List("INFO", {Chunk("INAM", title), Chunk("IART", {'M', 'e', 0, 'x'})}), Header(1, 1),
                                   List("fram", {Chunk("icon", IconFile(1, {4}))})}));
    EXPECT_EQ(a.title, std::string(255, 'T'));
    EXPECT_EQ(a.author, "Me");
    // A sub-chunk claiming more than its list holds ends the list.
    const AniFile cut = ReadAni(Ani({List("INFO", {Chunk("INAM", {'A', 0}, 500), Chunk("IART", {'B', 0})}), Header(1, 1),
                                     List("fram", {Chunk("icon", IconFile(1, {4}))})}));
    EXPECT_EQ(cut.author, "");
}

// Sizes from the file never reach past the data.
TEST(AniReader, OversizedCountsAndChunks) {
    const auto icon = Chunk("icon", IconFile(1, {4}));
    const struct {
        const char* why;
        std::vector<uint8_t> file;
        size_t frames;
    } cases[] = {
        {"four billion frames in the header", Ani({Header(0xFFFFFFFF, 1), List("fram", {icon})}), 1},
        {"a rate chunk claiming a gigabyte", Ani({Header(1, 1), List("fram", {icon}), Chunk("rate", Words({5}), 0x40000000)}), 1},
        {"an icon chunk claiming past its list", Ani({Header(2, 2), List("fram", {icon, Chunk("icon", IconFile(1, {4}), 100000)})}), 2},
        {"odd sized unknown chunk", Ani({Chunk("junk", {1, 2, 3}), Header(1, 1), List("fram", {icon})}), 1},
    };
    for (const auto& c : cases) {
        AniFile a;
        ASSERT_NO_THROW(a = ReadAni(c.file)) << c.why;
        EXPECT_EQ(a.frames.size(), c.frames) << c.why;
    }
    // An icon whose directory points outside its chunk does not load, and ends the list.
    std::vector<uint8_t> bad = IconFile(1, {4});
    bad[6 + 12] = 0xF0;  // offset of the image
    const AniFile a = ReadAni(Ani({Header(2, 2), List("fram", {icon, Chunk("icon", bad), icon})}));
    EXPECT_EQ(a.frames.size(), 1u);
}

TEST(AniReader, TheLoaderCanRefuseAnImage) {
    const auto icon = Chunk("icon", IconFile(1, {4}));
    int calls = 0;
    const AniFile a = ReadAni(Ani({Header(3, 3), List("fram", {icon, icon, icon})}), [&](AniIcon& i) {
        i.hotX = 99;
        return ++calls < 2;
    });
    EXPECT_EQ(calls, 2);
    ASSERT_EQ(a.frames.size(), 1u);
    EXPECT_EQ(a.icons[0].hotX, 99);
}

TEST(IconDirectory, EntriesMustLieInsideTheFile) {
    IconDirectory dir;
    std::string why;
    std::vector<uint8_t> ok = IconFile(2, {1, 4, 8}, 16, 7, 9);
    ASSERT_TRUE(ParseIconDirectory(ok, dir, &why)) << why;
    ASSERT_EQ(dir.entries.size(), 3u);
    EXPECT_EQ(dir.type, 2);
    EXPECT_EQ(dir.entries[2].word3, 9);
    EXPECT_EQ(dir.entries[1].imageBits, 4);
    const struct {
        const char* why;
        size_t at;
        uint8_t value;
    } cases[] = {{"reserved word", 0, 1}, {"type 3", 2, 3}, {"no images", 4, 0}, {"more entries than bytes", 4, 200},
                 {"size past the end", 6 + 11, 0x10}, {"offset past the end", 6 + 15, 0x80}};
    for (const auto& c : cases) {
        std::vector<uint8_t> f = ok;
        f[c.at] = c.value;
        EXPECT_FALSE(ParseIconDirectory(f, dir, &why)) << c.why;
    }
    EXPECT_FALSE(ParseIconDirectory(std::vector<uint8_t>{0, 0, 1}, dir));
}

// Real files: frames made by icotool, wrapped in RIFF by testdata/make_ani.py with per-step rates and
// order; the reader gives back the frames, rates, order and hot spots written.
TEST(AniReader, IcotoolFramesInAWrittenAnimation) {
    const std::string dir = mx::test::FreshDir();
    const std::string script = mx::test::SourceDir() + "/installer/controls/testdata/make_ani.py";
    ASSERT_TRUE(engine::test::RunIn(dir,
                                    "for c in red lime blue; do convert -size 32x32 xc:$c $c.png; done && "
                                    "icotool -c -b 4 -o i0.ico red.png && icotool -c --cursor -X 3 -Y 5 -b 8 -o c1.cur lime.png && "
                                    "icotool -c -b 1 -o i2.ico blue.png",
                                    "icotool", "icoutils"));
    for (bool split : {false, true}) {
        ASSERT_TRUE(engine::test::RunIn(dir,
                                        engine::test::Python() + " '" + script + "' t.ani --rates 6,12,18,24,30 --seq 0,1,2,1,0 " +
                                            "--title Spin --author Me i0.ico c1.cur i2.ico" + (split ? " --split" : ""),
                                        "python3", "python3"));
        const std::string bytes = mx::test::ReadFile(dir + "/t.ani");
        const AniFile a = ReadAni(std::vector<uint8_t>(bytes.begin(), bytes.end()));
        EXPECT_EQ(a.title, "Spin");
        EXPECT_EQ(a.author, "Me");
        EXPECT_EQ(a.sourceColorCount, 256);
        ASSERT_EQ(a.icons.size(), 3u);
        EXPECT_TRUE(a.icons[0].isIcon);
        EXPECT_EQ(a.icons[0].hotX, 16);
        EXPECT_FALSE(a.icons[1].isIcon);
        EXPECT_EQ(a.icons[1].hotX, 3);
        EXPECT_EQ(a.icons[1].hotY, 5);
        ASSERT_EQ(a.frames.size(), 5u);
        const uint32_t rates[] = {6, 12, 18, 24, 30};
        const int order[] = {0, 1, 2, 1, 0};
        for (size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(a.frames[i].rate, rates[i]) << (split ? "split " : "") << i;
            EXPECT_EQ(a.frames[i].icon, order[i]) << (split ? "split " : "") << i;
        }
    }
}

}  // namespace
}  // namespace inst
