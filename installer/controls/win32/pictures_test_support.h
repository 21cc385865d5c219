// Shared pieces of the picture tests under Wine: a fresh application per test with the picture
// classes registered, and the files the Unix tools make once per run.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "framework/win32/graphics_test_util.h"

namespace inst::test {

class PicturesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// The folder of the files made by ImageMagick, icotool and testdata/make_ani.py (made on first use):
//   anim.gif      three frames 20x16 (the second 8x6 at 5,4), 70 ms each, looping
//   c256.gif      64x48 in 256 colours;  trans.gif  17x13 with white transparent
//   i0.ico c1.cur i2.ico   32x32 red (4 bits), lime cursor with hot spot 3,5 (8 bits), blue (1 bit)
//   spin.ani      five steps over those three: rates 6,12,18,24,30, order 0,1,2,1,0, "Spin" by "Me"
//   split.ani     the same steps, each rate and step in a chunk of its own
const gfxtest::CaseDir& PictureFiles();

std::vector<uint8_t> ReadBytes(const std::string& path);

}  // namespace inst::test
