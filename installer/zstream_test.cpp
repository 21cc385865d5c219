// The compression stream: zlib's format (checked with Python's zlib), block-wise output, the stream
// rules and the inflater the archive reads with.
#include "installer/zstream.h"

#include <gtest/gtest.h>

#include "framework/core/exceptions.h"
#include "installer/testkit/support.h"

namespace inst {
namespace {

using test::InstallerTest;
using test::Pattern;

std::string Deflate(const std::string& data, TCompressionLevel level, int* progress = nullptr) {
    fw::TMemoryStream dest;
    {
        TCompressionStream z(level, dest);
        if (progress) z.OnProgress = [progress] { ++*progress; };
        // Odd-sized writes, so that input and output blocks never line up.
        for (size_t pos = 0; pos < data.size(); pos += 7777)
            z.Write(data.data() + pos, static_cast<int64_t>(std::min<size_t>(7777, data.size() - pos)));
        z.Finish();
    }
    return std::string(dest.Data().begin(), dest.Data().end());
}

std::string Inflate(const std::string& packed, size_t inChunk, size_t outChunk) {
    Inflater z;
    std::string out;
    std::vector<uint8_t> buffer(outChunk);
    size_t pos = 0;
    for (;;) {
        if (z.AvailIn() == 0 && pos < packed.size()) {
            const size_t n = std::min(inChunk, packed.size() - pos);
            z.SetInput(reinterpret_cast<const uint8_t*>(packed.data() + pos), n);
            pos += n;
        }
        z.SetOutput(buffer.data(), buffer.size());
        const int code = z.Step();
        out.append(reinterpret_cast<char*>(buffer.data()), buffer.size() - z.AvailOut());
        if (code == kZStreamEnd) return out;
        if (code == kZBufError && pos >= packed.size() && z.AvailIn() == 0) throw fw::Exception("truncated");
        if (code != kZBufError) DCheck(code);
    }
}

using ZStream = InstallerTest;

TEST_F(ZStream, RoundTripsAtEveryLevelAndIsZlibFormat) {
    const TCompressionLevel levels[] = {TCompressionLevel::colNone, TCompressionLevel::colFastest,
                                        TCompressionLevel::colDefault, TCompressionLevel::colMax};
    const std::string data = Pattern(300000, 1, true) + Pattern(100000, 2, false);
    for (TCompressionLevel level : levels) {
        const std::string packed = Deflate(data, level);
        EXPECT_EQ(Inflate(packed, 1000, 333), data) << static_cast<int>(level);
        test::Spit(dir + "z.bin", packed);
        std::string out;
        ASSERT_EQ(test::Python("-c \"import zlib,sys; d=zlib.decompress(open(sys.argv[1],'rb').read()); "
                               "print(len(d), zlib.crc32(d))\" " + dir + "z.bin", &out), 0) << out;
        EXPECT_EQ(out.substr(0, out.find(' ')), std::to_string(data.size()));
        test::Spit(dir + "plain.bin", data);
        std::string crc;
        ASSERT_EQ(test::Python("-c \"import zlib,sys; print(zlib.crc32(open(sys.argv[1],'rb').read()))\" " + dir +
                               "plain.bin", &crc), 0);
        EXPECT_EQ(out.substr(out.find(' ') + 1), crc) << "Python's zlib gives back the same bytes";
    }
    EXPECT_EQ(ZlibLevel(TCompressionLevel::colDefault), -1);
    EXPECT_EQ(ZlibLevel(TCompressionLevel::colMax), 9);
}

TEST_F(ZStream, NothingWrittenGivesTheEmptyStream) {
    const std::string packed = Deflate("", TCompressionLevel::colDefault);
    EXPECT_EQ(packed.size(), 8u);
    EXPECT_EQ(Inflate(packed, 8, 8), "");
    test::Spit(dir + "empty.z", packed);
    std::string out;
    EXPECT_EQ(test::Python("-c \"import zlib,sys; assert zlib.decompress(open(sys.argv[1],'rb').read()) == b''\" " +
                           dir + "empty.z", &out), 0) << out;
}

TEST_F(ZStream, OutputLeavesInBlocksWithProgressForEach) {
    int blocks = 0;
    const std::string packed = Deflate(Pattern(400000, 3, false), TCompressionLevel::colNone, &blocks);
    // One progress call per full block written while data comes in (the last ones leave at the finish).
    const int full = static_cast<int>(packed.size() / TCompressionStream::kBufferSize);
    EXPECT_GE(blocks, full - 1);
    EXPECT_LE(blocks, full);
}

TEST_F(ZStream, ADestinationMovedBetweenWritesIsPutBack) {
    fw::TMemoryStream dest;
    dest.WriteString("HEAD");
    const std::string data = Pattern(200000, 4, false);
    {
        TCompressionStream z(TCompressionLevel::colNone, dest);
        z.Write(data.data(), 100000);
        dest.SetPosition(0);  // someone else seeks
        z.Write(data.data() + 100000, 100000);
        EXPECT_EQ(z.Seek(0, fw::soFromCurrent), 200000);
        EXPECT_THROW(z.Seek(0, fw::soFromBeginning), fw::Exception);
        EXPECT_THROW(z.Seek(5, fw::soFromCurrent), fw::Exception);
        char c;
        EXPECT_THROW(z.Read(&c, 1), fw::Exception);
        dest.SetPosition(2);
        z.Finish();
    }
    const std::string all(dest.Data().begin(), dest.Data().end());
    EXPECT_EQ(all.substr(0, 4), "HEAD");
    EXPECT_EQ(Inflate(all.substr(4), 4096, 4096), data);
}

TEST_F(ZStream, InflaterGoesOnThroughBufferBoundaries) {
    // One byte in and one byte out at a time: every step ends at a boundary of one buffer or the other,
    // and zlib's "no progress possible" answer there only means: give more.
    const std::string data = Pattern(5000, 5, true);
    const std::string packed = Deflate(data, TCompressionLevel::colMax);
    EXPECT_EQ(Inflate(packed, 1, 1), data);
    EXPECT_THROW(Inflate(packed.substr(0, packed.size() - 3), 1, 64), fw::Exception) << "truncated";
    EXPECT_THROW(CCheck(-2), fw::Exception);
    EXPECT_EQ(DCheck(2), 2);
}

}  // namespace
}  // namespace inst
