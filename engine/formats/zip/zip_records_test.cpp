// Records, extra fields, the end-record search and the walks on archives built byte by byte.
#include "engine/formats/zip/zip_records.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/formats/zip/central_walker.h"
#include "engine/formats/zip/directory_locator.h"
#include "engine/formats/zip/local_walker.h"

namespace engine::zip {
namespace {

std::string Bytes(const auto& array) { return std::string(array.begin(), array.end()); }

SpanSource Source(const std::string& s) { return SpanSource({reinterpret_cast<const uint8_t*>(s.data()), s.size()}); }

// A stored archive of the given (name, data) entries with an optional archive comment.
struct Built {
    std::string bytes;
    uint64_t directoryOffset = 0;
    uint64_t endOffset = 0;
};

Built BuildArchive(const std::vector<std::pair<std::string, std::string>>& entries, const std::string& comment = "",
                   const std::string& entryExtra = "", const std::string& entryComment = "") {
    Built b;
    std::string directory;
    for (const auto& [name, data] : entries) {
        LocalHeader l;
        l.versionNeeded = 10;
        l.compressedSize = l.uncompressedSize = static_cast<uint32_t>(data.size());
        l.crc = 0x12345678;
        l.nameLength = static_cast<uint16_t>(name.size());
        CentralHeader c;
        c.versionMadeBy = 0x031E;
        c.versionNeeded = 10;
        c.crc = l.crc;
        c.compressedSize = c.uncompressedSize = l.compressedSize;
        c.nameLength = l.nameLength;
        c.extraLength = static_cast<uint16_t>(entryExtra.size());
        c.commentLength = static_cast<uint16_t>(entryComment.size());
        c.externalAttr = name.ends_with("/") ? kAttrDirectory : 0x20;
        c.localHeaderOffset = static_cast<uint32_t>(b.bytes.size());
        b.bytes += Bytes(l.Encode()) + name + data;
        directory += Bytes(c.Encode()) + name + entryExtra + entryComment;
    }
    b.directoryOffset = b.bytes.size();
    b.bytes += directory;
    EndRecord e;
    e.entriesOnDisk = e.totalEntries = static_cast<uint16_t>(entries.size());
    e.directorySize = static_cast<uint32_t>(directory.size());
    e.directoryOffset = static_cast<uint32_t>(b.directoryOffset);
    e.commentLength = static_cast<uint16_t>(comment.size());
    b.endOffset = b.bytes.size();
    b.bytes += Bytes(e.Encode()) + comment;
    return b;
}

TEST(ZipRecords, EncodeAndParseAgreeAtTheNamedOffsets) {
    CentralHeader c;
    c.versionMadeBy = 0x0314;
    c.flags = 0x0809;
    c.method = 8;
    c.time = 0x7D1C;
    c.date = 0x5A21;
    c.crc = 0xCAFEBABE;
    c.compressedSize = 1234;
    c.uncompressedSize = 5678;
    c.nameLength = 3;
    c.extraLength = 4;
    c.commentLength = 5;
    c.internalAttr = 1;
    c.externalAttr = 0x81A40000;
    c.localHeaderOffset = 0x01020304;
    const auto raw = c.Encode();
    EXPECT_EQ(raw[CentralHeader::kOffLocalHeaderOffset], 0x04);
    EXPECT_EQ(raw[CentralHeader::kOffCrc + 3], 0xCA);
    const auto back = CentralHeader::Parse(raw);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Encode(), raw);
    EXPECT_EQ(back->DosDateTime(), 0x5A217D1Cu);
    EXPECT_EQ(back->RecordSize(), 46u + 3 + 4 + 5);

    LocalHeader l;
    l.signature = kLocalSignatureAlt;
    const auto lraw = l.Encode();
    EXPECT_FALSE(LocalHeader::Parse(lraw));
    EXPECT_TRUE(LocalHeader::Parse(lraw, true));  // 00 00 00 "P" only where the extractor accepts it
    EXPECT_FALSE(LocalHeader::Parse(std::span(lraw).first(29), true));

    const uint8_t dd16[] = {'P', 'K', 7, 8, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0};
    const auto d = DataDescriptor::Parse(dd16);
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->hasSignature);
    EXPECT_EQ(d->uncompressedSize, 3u);
    const auto d12 = DataDescriptor::Parse(std::span(dd16).subspan(4));
    ASSERT_TRUE(d12);
    EXPECT_FALSE(d12->hasSignature);
    EXPECT_EQ(d12->crc, 1u);
    EXPECT_FALSE(DataDescriptor::Parse(std::span(dd16).first(15)));
}

TEST(ZipRecords, ExtraFieldsStopAtTheBlockEnd) {
    const std::string block = std::string("\x55\x54\x05\x00\x03\x01\x02\x03\x04", 9) +
                              std::string("\x01\x00\x08\x00", 4) + std::string(8, '\x7f') +
                              std::string("\x75\x78\xff\x00\x01", 5);  // claims 255 bytes, has 1
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(block.data()), block.size());
    ExtraFieldReader reader(bytes);
    ExtraField f;
    ASSERT_TRUE(reader.Next(f));
    EXPECT_EQ(f.id, 0x5455);
    EXPECT_EQ(f.data.size(), 5u);
    ASSERT_TRUE(reader.Next(f));
    EXPECT_EQ(f.id, kExtraZip64);
    EXPECT_FALSE(reader.Next(f));
    EXPECT_TRUE(reader.Truncated());
    EXPECT_TRUE(FindExtraField(bytes, kExtraZip64));
    EXPECT_FALSE(FindExtraField(bytes, 0x7875));
}

TEST(ZipRecords, CentralRecordsWithExtraAndCommentAreSkippedWhole) {
    const Built b = BuildArchive({{"one.txt", "1111"}, {"dir/", ""}, {"two.txt", "22"}}, "",
                                 std::string("\xaa\xbb\x02\x00xy", 6), "entry comment");
    auto src = Source(b.bytes);
    const DirectoryLocation loc = LocateDirectory(src);
    ASSERT_EQ(loc.kind, DirectoryLocation::Kind::Central);
    EXPECT_TRUE(loc.chainValid);
    EXPECT_EQ(loc.position, b.directoryOffset);
    CentralDirectoryWalker walker(src, loc.position);
    std::vector<std::string> names;
    CentralEntry e;
    while (walker.Next(e) == WalkStep::Entry) {
        names.push_back(e.name);
        EXPECT_EQ(e.comment, "entry comment");
        EXPECT_EQ(e.extra.size(), 6u);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"one.txt", "dir/", "two.txt"}));
    EXPECT_EQ(walker.Position(), b.endOffset);
}

TEST(ZipRecords, EndRecordInsideTheCommentIsNotTaken) {
    // An archive comment that itself holds an end record signature: the fake one lies nearer the end,
    // but its stated comment does not end where the file ends.
    EndRecord fake;
    fake.directoryOffset = 999999;
    fake.commentLength = 3;
    const std::string comment = "see " + Bytes(fake.Encode()) + "1234567890";
    const Built b = BuildArchive({{"a.txt", "aaa"}}, comment);
    auto src = Source(b.bytes);
    const auto hit = FindEndRecord(src);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->position, b.endOffset);
    const DirectoryLocation loc = LocateDirectory(src);
    EXPECT_EQ(loc.archiveComment, comment);
    EXPECT_TRUE(loc.chainValid);

    // Trailing bytes after the archive: the real record's comment no longer ends at the file's end,
    // and the nearest record whose comment fits is taken.
    const std::string trailing = b.bytes + "garbage";
    auto src2 = Source(trailing);
    const auto hit2 = FindEndRecord(src2);
    ASSERT_TRUE(hit2);
    EXPECT_EQ(hit2->position, b.endOffset + 4 + 22);  // the fake one, as nearest: its comment fits too
}

TEST(ZipRecords, EndRecordWindowAndLongComments) {
    const Built found = BuildArchive({{"a", "x"}}, std::string(30000, 'c'));
    auto s1 = Source(found.bytes);
    EXPECT_TRUE(FindEndRecord(s1));
    const Built lost = BuildArchive({{"a", "x"}}, std::string(40000, 'c'));
    auto s2 = Source(lost.bytes);
    EXPECT_FALSE(FindEndRecord(s2));  // more than 32 KB from the end
    // A window larger than any comment can need reads no more than that.
    const Built far = BuildArchive({{"a", "x"}}, "", "", "");
    const std::string padded = std::string(200000, 'p') + far.bytes + std::string(70000, 't');
    auto s3 = Source(padded);
    EXPECT_FALSE(FindEndRecord(s3, 1u << 30));
    const std::string near = std::string(200000, 'p') + far.bytes + std::string(60000, 't');
    auto s4 = Source(near);
    EXPECT_TRUE(FindEndRecord(s4, 1u << 30));
    // Every prefix of a small archive is searched safely.
    for (size_t n = 0; n <= found.bytes.size() && n < 200; ++n) {
        const std::string cut = found.bytes.substr(0, n);
        auto s = Source(cut);
        (void)LocateDirectory(s);
    }
}

TEST(ZipRecords, DirectoryFoundByScanWhenItsOffsetIsWrong) {
    Built b = BuildArchive({{"a.txt", "aaa"}, {"b.txt", "bb"}});
    b.bytes[b.endOffset + EndRecord::kOffDirectoryOffset] = 0x01;  // points into the first entry
    auto src = Source(b.bytes);
    const DirectoryLocation loc = LocateDirectory(src);
    ASSERT_EQ(loc.kind, DirectoryLocation::Kind::Central);
    EXPECT_TRUE(loc.recoveredByScan);
    EXPECT_EQ(loc.position, b.directoryOffset);
}

TEST(ZipRecords, LocalWalkAlwaysAdvancesAndStaysInside) {
    const Built b = BuildArchive({{"a.txt", "aaa"}, {"b.txt", "bb"}});
    const std::string noDirectory = b.bytes.substr(0, b.directoryOffset);
    auto src = Source(noDirectory);
    const DirectoryLocation loc = LocateDirectory(src);
    ASSERT_EQ(loc.kind, DirectoryLocation::Kind::Local);
    LocalHeaderWalker walker(src, loc.position);
    LocalEntry e;
    ASSERT_EQ(walker.Next(e), WalkStep::Entry);
    EXPECT_EQ(e.name, "a.txt");
    EXPECT_EQ(e.dataPosition, 35u);
    ASSERT_EQ(walker.Next(e), WalkStep::Entry);
    EXPECT_EQ(e.name, "b.txt");
    EXPECT_EQ(walker.Next(e), WalkStep::End);

    // A compressed size running past the end reports the entry and ends the walk there.
    std::string huge = noDirectory;
    huge[LocalHeader::kOffCompressedSize + 3] = '\x7f';
    auto src2 = Source(huge);
    LocalHeaderWalker w2(src2, 0);
    ASSERT_EQ(w2.Next(e), WalkStep::Entry);
    EXPECT_TRUE(e.dataTruncated);
    EXPECT_EQ(w2.Next(e), WalkStep::End);

    // A name running past the end is a truncated record, not a read outside the data.
    const std::string shortName = noDirectory.substr(0, 33);
    auto src3 = Source(shortName);
    LocalHeaderWalker w3(src3, 0);
    EXPECT_EQ(w3.Next(e), WalkStep::Truncated);
}

TEST(ZipRecords, CentralWalkStopsOnTruncatedRecord) {
    const Built b = BuildArchive({{"a.txt", "aaa"}});
    const std::string cut = b.bytes.substr(0, b.directoryOffset + 48);  // the name is cut short
    auto src = Source(cut);
    CentralDirectoryWalker walker(src, b.directoryOffset);
    CentralEntry e;
    EXPECT_EQ(walker.Next(e), WalkStep::Truncated);
    EXPECT_EQ(walker.Next(e), WalkStep::End);
}

}  // namespace
}  // namespace engine::zip
