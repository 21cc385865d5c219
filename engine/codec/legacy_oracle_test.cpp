// The test encoders' output checked by an independent decoder: Info-ZIP unzip decodes shrunk and
// imploded entries (not reduced ones; no installed tool does). An archive that unzip accepts and
// that our decoders read back to the same bytes ties both ends to the outside format.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/codec/testenc/legacy_testenc.h"
#include "testing/test_env.h"

namespace mx::codec {
namespace {

std::string Capture(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

void RequireUnzip() {
  ASSERT_EQ(std::system("unzip -v >/dev/null 2>&1"), 0) << "unzip missing: install the Debian package 'unzip'";
}

std::vector<testenc::ZipEntry> Entries() {
  std::vector<testenc::ZipEntry> entries;
  for (const auto& sample : testenc::Corpus()) {
    auto add = [&](const std::string& tag, uint16_t method, uint16_t flags, std::vector<uint8_t> packed) {
      testenc::ZipEntry e;
      e.name = sample.name + "." + tag;
      e.method = method;
      e.flags = flags;
      e.size = static_cast<uint32_t>(sample.data.size());
      e.crc = testenc::Crc32(sample.data);
      e.packed = std::move(packed);
      entries.push_back(std::move(e));
    };
    // Writers clear the shrink table when it fills, as the test encoder does by default, or when
    // every code below a smaller limit is taken; the early clears stand for the latter.
    add("shrink", 1, 0, testenc::Shrink(sample.data));
    for (unsigned clearEvery : {40u, 200u, 1500u})
      add("shrink" + std::to_string(clearEvery), 1, 0, testenc::Shrink(sample.data, clearEvery));
    for (bool big : {false, true})
      for (bool lit : {false, true})
        add(std::string("implode") + (big ? "8k" : "4k") + (lit ? "3" : "2"), 6, testenc::ImplodeFlags(big, lit),
            testenc::Implode(sample.data, big, lit));
  }
  return entries;
}

TEST(LegacyOracle, UnzipDecodesWhatTheTestEncodersWrite) {
  RequireUnzip();
  auto entries = Entries();
  std::string dir = test::FreshDir();
  std::string path = dir + "/legacy.zip";
  auto zip = testenc::BuildZip(entries);
  test::WriteFile(path, std::string(zip.begin(), zip.end()));

  EXPECT_EQ(std::system(("unzip -tqq '" + path + "'").c_str()), 0);
  for (const auto& e : entries) {
    SCOPED_TRACE(e.name);
    std::string theirs = Capture("unzip -p '" + path + "' '" + e.name + "'");
    std::vector<uint8_t> ours;
    ASSERT_EQ(testenc::DecodeEntry(e, ours), Status::Ok);
    EXPECT_EQ(theirs.size(), e.size);
    EXPECT_TRUE(theirs == std::string(ours.begin(), ours.end()));
  }
}

}  // namespace
}  // namespace mx::codec
