// Shared pieces of the install library's native tests: a fixture that resets the library's globals and
// the native seams, and helpers for files and the independent Python checks.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "installer/system.h"

namespace inst::test {

// Every test starts with an empty registry, a fresh scripted system (its Windows folder in the
// test's own folder), no install component, no record and a free id table.
class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string dir;  // the test's fresh folder, with a trailing separator
    NativeSystem& sys();
};

std::string Slurp(const std::string& path);
void Spit(const std::string& path, const std::string& bytes);
// A reproducible byte pattern: text-like when `text`, else noise that does not compress.
std::string Pattern(size_t size, unsigned seed, bool text);
// Runs /usr/bin/python3 with the arguments (shell-quoted here); returns the exit code, output in `out`.
int Python(const std::string& args, std::string* out = nullptr);
// The installer's test data folder (installer/testkit).
std::string TestData();

}  // namespace inst::test
