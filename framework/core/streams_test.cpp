#include "framework/core/streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "framework/core/exceptions.h"
#include "framework/core/sysutils.h"
#include "testing/test_env.h"

namespace fw {
namespace {

TEST(Streams, MemoryStream) {
    TMemoryStream m;
    EXPECT_EQ(m.Size(), 0);
    m.WriteString("hello world");
    EXPECT_EQ(m.Position(), 11);
    m.SetPosition(6);
    EXPECT_EQ(m.ReadString(5), "world");
    char c;
    EXPECT_EQ(m.Read(&c, 1), 0);
    EXPECT_EQ(m.Seek(-5, soFromEnd), 6);
    m.WriteString("there!");
    EXPECT_EQ(m.Size(), 12);
    // Writing past the end fills the gap with zeros.
    m.Seek(2, soFromEnd);
    m.WriteString("x");
    EXPECT_EQ(m.Size(), 15);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.Memory()) + 12, 3), std::string("\0\0x", 3));
    m.SetSize(5);
    EXPECT_EQ(m.Position(), 5);
    m.SetPosition(0);
    EXPECT_EQ(m.ReadString(5), "hello");
    EXPECT_THROW(m.Seek(-1, soFromBeginning), EStreamError);
    EXPECT_THROW(m.Seek(0, 7), EStreamError);
}

// A memory stream that counts the writes it is given and takes at most Budget bytes in all.
class CountingStream : public TMemoryStream {
public:
    int64_t Write(const void* buffer, int64_t count) override {
        ++writes;
        count = std::min(count, budget);
        budget -= count;
        return TMemoryStream::Write(buffer, count);
    }
    int writes = 0;
    int64_t budget = INT64_MAX;
};

TEST(Streams, BufferedStreamGathersWritesAndKeepsTheirPlaces) {
    CountingStream target;
    target.WriteString("head");
    target.writes = 0;
    TBufferedStream b(target, 16);
    EXPECT_EQ(b.Position(), 4);
    for (const char* piece : {"aaaaa", "bbbbb", "ccccc"}) EXPECT_EQ(b.Write(piece, 5), 5);
    EXPECT_EQ(b.Position(), 19);
    EXPECT_EQ(target.writes, 0);
    b.WriteString("ddddd");  // no room left: the first three go on together
    EXPECT_EQ(target.writes, 1);
    // A patch behind the pending bytes, then back to the end.
    EXPECT_EQ(b.Seek(5, soFromBeginning), 5);
    b.WriteString("XY");
    EXPECT_EQ(b.Seek(0, soFromEnd), 24);
    const std::string big(40, 'e');  // larger than the buffer: written through at once
    b.WriteString(big);
    EXPECT_TRUE(b.Flush());
    EXPECT_EQ(b.Size(), 64);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(target.Memory()), 64),
              "headaXYaabbbbbcccccddddd" + big);
    b.SetPosition(20);
    EXPECT_EQ(b.ReadString(4), "dddd");
}

TEST(Streams, BufferedStreamReportsAFailedWriteAtTheFlush) {
    CountingStream target;
    target.budget = 10;
    TBufferedStream b(target, 8);
    EXPECT_EQ(b.Write("12345678", 8), 8);
    EXPECT_EQ(b.Write("9abc", 4), 4);  // the first piece went on whole
    EXPECT_FALSE(b.Flush());                // the second did not
    EXPECT_EQ(b.Write("h", 1), 0);
    EXPECT_EQ(b.Seek(0, soFromBeginning), -1);
    EXPECT_THROW(b.SetSize(0), EStreamError);
}

TEST(Streams, ShortReadsRaise) {
    TMemoryStream m;
    m.WriteString("abc");
    m.SetPosition(0);
    char buf[8];
    try {
        m.ReadBuffer(buf, 4);
        FAIL() << "no exception";
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    m.SetPosition(0);
    EXPECT_NO_THROW(m.ReadBuffer(buf, 3));
    EXPECT_NO_THROW(m.ReadBuffer(buf, 0));
    EXPECT_THROW(m.ReadBuffer(buf, -1), EReadError);
}

TEST(Streams, CopyFrom) {
    TMemoryStream src, dst;
    std::string big(300000, '\0');
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 7);
    src.WriteString(big);
    // Count 0 copies all of the source from its start, whatever its position.
    EXPECT_EQ(dst.CopyFrom(src, 0), static_cast<int64_t>(big.size()));
    dst.SetPosition(0);
    EXPECT_EQ(dst.ReadString(dst.Size()), big);
    src.SetPosition(10);
    TMemoryStream part;
    EXPECT_EQ(part.CopyFrom(src, 20), 20);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(part.Memory()), 20), big.substr(10, 20));
    src.SetPosition(big.size() - 5);
    EXPECT_THROW(part.CopyFrom(src, 10), EReadError);
}

TEST(Streams, FileStreamModesAndErrors) {
    const std::string dir = IncludeTrailingBackslash(mx::test::FreshDir());
    const std::string name = dir + "f.bin";
    try {
        TFileStream f(name, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file " + name);
    }
    try {
        TFileStream f(dir + "no\\such\\dir\\x.bin", fmCreate);
        FAIL() << "created in a missing folder";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + dir + "no\\such\\dir\\x.bin");
    }
    {
        TFileStream f(name, fmCreate);
        EXPECT_NE(f.Handle(), kInvalidFile);
        f.WriteString("0123456789");
        EXPECT_EQ(f.Size(), 10);
        f.SetSize(4);
        EXPECT_EQ(f.Position(), 4);
    }
    {
        TFileStream f(name, fmOpenReadWrite | fmShareDenyWrite);
        EXPECT_EQ(f.ReadString(4), "0123");
        f.Seek(0, soFromEnd);
        f.WriteString("xy");
    }
    {
        TFileStream f(name, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(f.ReadString(f.Size()), "0123xy");
        char c;
        EXPECT_THROW(f.ReadBuffer(&c, 1), EReadError);
        EXPECT_THROW(f.WriteBuffer("z", 1), EWriteError) << "a read-only stream refuses writes";
    }
    {
        TFileStream f(name, fmCreate);  // create truncates
        EXPECT_EQ(f.Size(), 0);
    }
    TMemoryStream m;
    m.WriteString("saved");
    m.SaveToFile(name);
    TMemoryStream back;
    back.LoadFromFile(name);
    EXPECT_EQ(back.Size(), 5);
    EXPECT_EQ(back.ReadString(5), "saved");
}

TEST(Streams, FileStreamPositionsBeyondFourGigabytes) {
    const std::string name = IncludeTrailingBackslash(mx::test::FreshDir()) + "sparse.bin";
    const int64_t far = (int64_t{5} << 30) + 3;
    {
        TFileStream f(name, fmCreate);
        f.Seek(far, soFromBeginning);
        f.WriteString("end");
        EXPECT_EQ(f.Size(), far + 3);
    }
    TFileStream f(name, fmOpenRead);
    EXPECT_EQ(f.Seek(-3, soFromEnd), far);
    EXPECT_EQ(f.ReadString(3), "end");
    TSearchRec rec;
    ASSERT_EQ(FindFirst(name, 0, rec), 0);
    EXPECT_EQ(rec.Size, far + 3);
    FindClose(rec);
}

}  // namespace
}  // namespace fw
