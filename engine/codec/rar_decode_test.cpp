// The RAR decoders on streams written by the test's own writer: what each symbol produces, state that
// carries into solid entries, and hostile streams that must end with an error, never a crash or a
// hang. The real archives are checked against unar in engine/formats/rar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/codec/bytestream.h"
#include "engine/codec/rar_unpack.h"
#include "engine/codec/testenc/rar_testenc.h"

namespace mx::codec {
namespace {

using testenc::Rar20Writer;
using testenc::Rar29Writer;

struct Result {
  Status status;
  std::string out;
};

Result Unpack(RarUnpacker& u, const std::vector<uint8_t>& packed, unsigned version, uint64_t size, bool solid = false,
              size_t block = 0) {
  std::vector<uint8_t> out;
  SpanSource in(packed, block);
  VectorSink sink(out);
  RarUnpackParams p;
  p.version = version;
  p.dictionary = 0x10000;
  p.solid = solid;
  p.size = size;
  const Status st = u.Unpack(in, sink, p);
  return {st, std::string(out.begin(), out.end())};
}

std::vector<uint8_t> Text(const std::string& s) { return {s.begin(), s.end()}; }

TEST(RarDecode, SymbolsOfTheRar29Stream) {
  struct Case {
    const char* name;
    void (*write)(Rar29Writer&);
    std::string want;
  };
  const Case cases[] = {
      {"literals", [](Rar29Writer& w) { w.Literals(Text("plain")); }, "plain"},
      {"overlapping match", [](Rar29Writer& w) { w.Literals(Text("ab")); w.Match(7, 2); }, "ababababa"},
      {"long distance with low-distance code",
       [](Rar29Writer& w) {
         for (int i = 0; i < 300; ++i) w.Literal(static_cast<uint8_t>('a' + i % 26));
         w.Match(5, 297);
       },
       ""},
      {"repeat the last match (258) and a history match (259)",
       [](Rar29Writer& w) {
         w.Literals(Text("xyz"));
         w.Match(3, 3);
         w.w.Put(258, 9);  // again: length 3 from distance 3
         w.w.Put(259, 9);  // the most recent distance, with a repeat length
         w.w.Put(1, 5);    // length slot 1: 2 + 1
       },
       "xyzxyzxyzxyz"},
      {"short distance symbols", [](Rar29Writer& w) { w.Literals(Text("q")); w.w.Put(263, 9); w.w.Put(0, 2); }, "qqq"},
      {"a table change inside the file", [](Rar29Writer& w) { w.Literals(Text("one")); w.NewTables(); w.Literals(Text("two")); }, "onetwo"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rar29Writer w;
    c.write(w);
    std::string want = c.want;
    if (want.empty()) {
      for (int i = 0; i < 300; ++i) want += static_cast<char>('a' + i % 26);
      want += want.substr(3, 5);
    }
    w.EndOfFile();
    const auto packed = w.w.Finish();
    RarUnpacker u;
    const Result r = Unpack(u, packed, 29, want.size());
    EXPECT_EQ(r.status, Status::Ok);
    EXPECT_EQ(r.out, want);
    // The same stream handed out a byte at a time.
    RarUnpacker v;
    EXPECT_EQ(Unpack(v, packed, 36, want.size(), false, 1).out, want);
  }
}

TEST(RarDecode, SolidEntriesContinueWindowAndTables) {
  RarUnpacker u;
  Rar29Writer first;
  first.Literals(Text("solid state "));
  first.EndOfFile(false);  // the next file reuses these tables
  ASSERT_EQ(Unpack(u, first.w.Finish(), 29, 12).status, Status::Ok);
  Rar29Writer second(false);  // no table block: the tables carry over
  second.Match(11, 12);
  second.Literals(Text("!"));
  second.EndOfFile(true);
  const Result r = Unpack(u, second.w.Finish(), 29, 12, true);
  EXPECT_EQ(r.status, Status::Ok);
  EXPECT_EQ(r.out, "solid state!");
  // "01" promised a table block at the start of the next file.
  Rar29Writer third;
  third.Match(5, 12);
  third.EndOfFile();
  EXPECT_EQ(Unpack(u, third.w.Finish(), 29, 5, true).out, "solid");
  // A solid entry after a failure has nothing to continue.
  Rar29Writer bad(false);
  bad.Match(4, 1000000);
  bad.EndOfFile();
  EXPECT_EQ(Unpack(u, bad.w.Finish(), 29, 4, true).status, Status::BadData);
  EXPECT_EQ(Unpack(u, second.w.Finish(), 29, 12, true).status, Status::BadData);
  EXPECT_FALSE(u.CanContinue());
}

TEST(RarDecode, Rar20LzAndTableChanges) {
  Rar20Writer w;
  w.LzTables();
  for (char c : std::string("rar two ")) w.Literal(static_cast<uint8_t>(c));
  w.Match(8, 8);
  w.TableCode();
  w.AudioTables(2);
  for (int i = 0; i < 6; ++i) w.Delta(0);
  w.TableCode();
  w.LzTables();
  w.Literal('.');
  RarUnpacker u;
  const Result r = Unpack(u, w.w.Finish(), 20, 23);
  EXPECT_EQ(r.status, Status::Ok);
  // Zero deltas from a silent predictor are zero bytes.
  EXPECT_EQ(r.out, std::string("rar two rar two ") + std::string(6, '\0') + ".");
}

// A table change right after the last symbol of a solid RAR 2.0 entry belongs to that entry: the next
// entry's stream starts with symbols of the new tables.
TEST(RarDecode, Rar20TableChangeAtTheEndOfASolidEntry) {
  Rar20Writer first;
  first.LzTables();
  for (char c : std::string("lz then audio")) first.Literal(static_cast<uint8_t>(c));
  first.TableCode();
  first.AudioTables(3);
  Rar20Writer second;
  for (int i = 0; i < 9; ++i) second.Delta(0);
  RarUnpacker u;
  ASSERT_EQ(Unpack(u, first.w.Finish(), 20, 13).out, "lz then audio");
  const Result r = Unpack(u, second.w.Finish(), 20, 9, true);
  EXPECT_EQ(r.status, Status::Ok);
  EXPECT_EQ(r.out, std::string(9, '\0'));
}

TEST(RarDecode, HostileStreamsFailCleanly) {
  struct Case {
    const char* name;
    unsigned version;
    uint64_t size;
    std::vector<uint8_t> (*build)();
    Status want;
  };
  const Case cases[] = {
      {"distance before the first byte", 29, 10,
       [] {
         Rar29Writer w;
         w.Literals(Text("ab"));
         w.Match(8, 3);
         w.EndOfFile();
         return w.w.Finish();
       },
       Status::BadData},
      {"stream ends before the declared size", 29, 1000,
       [] {
         Rar29Writer w;
         w.Literals(Text("short"));
         return w.w.Finish();
       },
       Status::Truncated},
      {"end marker before the declared size", 29, 1000000000,
       [] {
         Rar29Writer w;
         w.Literals(Text("short"));
         w.EndOfFile();
         return w.w.Finish();
       },
       Status::BadData},
      {"over-subscribed code lengths", 29, 4,
       [] {
         testenc::MsbWriter w;
         w.Put(0, 2);
         for (int i = 0; i < 20; ++i) w.Put(1, 4);  // twenty 1-bit codes
         return w.Finish();
       },
       Status::BadData},
      {"repeat of the previous length at the first position", 29, 4,
       [] {
         testenc::MsbWriter w;
         w.Put(0, 2);
         for (int i = 0; i < 20; ++i) w.Put(5, 4);
         w.Put(16, 5);
         w.Put(0, 3);
         return w.Finish();
       },
       Status::BadData},
      {"filter program that is not a standard one", 29, 4,
       [] {
         Rar29Writer w;
         // New program 0, start 0, 4 bytes of code whose first byte is the XOR of the others.
         testenc::MsbWriter r;
         r.Put(0, 2);  // index: 0 (start over) -> program 0
         r.Put(0, 4);
         r.Put(0, 2);  // block start 0
         r.Put(0, 4);
         r.Put(0, 2);  // block length 4
         r.Put(4, 4);
         r.Put(0, 2);  // code size 4
         r.Put(4, 4);
         for (uint8_t b : {uint8_t(1 ^ 2 ^ 3), uint8_t(1), uint8_t(2), uint8_t(3)}) r.Byte(b);
         const auto record = r.Finish();
         w.Filter(0x80 | 0x20, record);
         w.Literals(Text("data"));
         w.EndOfFile();
         return w.w.Finish();
       },
       Status::BadData},
      {"filter block beyond the filter memory", 29, 4,
       [] {
         Rar29Writer w;
         testenc::MsbWriter r;
         r.Put(0, 2);
         r.Put(0, 4);
         r.Put(0, 2);
         r.Put(0, 4);
         r.Put(3, 2);  // block length 0x7FFFFFFF
         r.Put(0x7FFFFFFF, 32);
         r.Put(0, 2);
         r.Put(1, 4);
         r.Byte(0);
         w.Filter(0x80 | 0x20, r.Finish());
         w.EndOfFile();
         return w.w.Finish();
       },
       Status::BadData},
      {"PPM block of order 1", 29, 4, [] { return std::vector<uint8_t>{0xA0, 0x00, 0, 0, 0, 0}; }, Status::BadData},
      {"PPM block continuing a model that was never started", 29, 4,
       [] { return std::vector<uint8_t>{0x85, 0, 0, 0, 0}; }, Status::BadData},
      {"RAR 2.0 distance before the first byte", 20, 10,
       [] {
         Rar20Writer w;
         w.LzTables();
         w.Literal('a');
         w.Match(5, 40000);
         return w.w.Finish();
       },
       Status::BadData},
      {"RAR 1.5 stream of zeros reaches back before its start", 15, 100, [] { return std::vector<uint8_t>(4, 0); },
       Status::BadData},
      {"RAR 1.5 stream that ends early", 15, 100, [] { return std::vector<uint8_t>{0xFF}; }, Status::Truncated},
      {"version not supported", 50, 4, [] { return std::vector<uint8_t>(16, 0); }, Status::BadData},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RarUnpacker u;
    const Result r = Unpack(u, c.build(), c.version, c.size);
    EXPECT_EQ(r.status, c.want);
    EXPECT_LE(r.out.size(), c.size);
    if (std::string(c.name).find("not a standard") != std::string::npos) EXPECT_TRUE(u.UnknownFilter());
    else EXPECT_FALSE(u.UnknownFilter());
  }
}

// A PPM block may start a model of up to 256 MB; a caller may allow less, and a larger model is then
// refused before any memory is taken for it.
TEST(RarDecode, APpmModelLargerThanTheCallerAllowsIsRefused) {
  const std::vector<uint8_t> packed{0xA5, 0x07, 0, 0, 0, 0};  // a new model of order 6 and 8 MB
  for (const uint32_t allowed : {4u << 20, 8u << 20}) {
    RarUnpacker u;
    std::vector<uint8_t> out;
    SpanSource in(packed);
    VectorSink sink(out);
    RarUnpackParams p;
    p.version = 29;
    p.dictionary = 0x10000;
    p.size = 4;
    p.maxModel = allowed;
    const Status st = u.Unpack(in, sink, p);
    if (allowed < (8u << 20)) {
      EXPECT_EQ(st, Status::BadData);
      EXPECT_TRUE(out.empty());
    } else {
      EXPECT_NE(st, Status::NoMemory);
    }
  }
}

}  // namespace
}  // namespace mx::codec
