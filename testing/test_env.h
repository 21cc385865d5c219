// Paths and helpers that native and Wine tests share.
#pragma once

#include <string>

namespace mx::test {

// The source tree, the build tree and this test program's scratch folder, as paths this process can open
// (under Wine the Unix paths come back as Z: drive paths).
std::string SourceDir();
std::string BuildDir();
std::string ScratchDir();

// The real archives and expected outputs that tests read: testing/fixtures of the source tree.
std::string FixtureDir();

// A fresh, empty folder below the scratch folder, named after the running test case.
std::string FreshDir();

// Turns a Unix path into one this process can open: unchanged natively, "Z:\..." under Windows.
std::string HostPath(const std::string& unixPath);
// The reverse: a "Z:\..." path of this process as a Unix shell names it (other paths unchanged).
std::string UnixPathOf(const std::string& hostPath);

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace mx::test
