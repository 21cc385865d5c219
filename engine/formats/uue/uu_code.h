// The character tables and line coding shared by the UU and XX decoder and encoder, and the names
// of the volumes an encoded file is split into.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace engine::uu {

// 64 characters each, indexed by the 6-bit value.
inline constexpr std::string_view kXXTable = "+-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
inline constexpr std::string_view kUUTable =
    "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";
// Bytes per full data line and the characters they take.
inline constexpr int kLineBytes = 45;

enum class TNextVolumeName : uint8_t { nvChangeFilename, nvChangeExt };

// The decoding direction of a table: -2 for characters outside it, else the value (the first
// occurrence wins); the blank always decodes to 0.
class DecodeTable {
public:
    DecodeTable() { Build(kXXTable); }
    void Build(std::string_view table);
    int Value(uint8_t c) const { return values_[c]; }
    // The value as data: a character outside the table counts as 0.
    uint8_t Sextet(uint8_t c) const { return sextets_[c]; }
    // The table character for 45, which starts a full line.
    char FullLineChar() const { return fullLine_; }
    void SetFullLineChar(char c) { fullLine_ = c; }

private:
    std::array<int, 256> values_{};
    std::array<uint8_t, 256> sextets_{};
    char fullLine_ = 'h';
};

// Decodes one data line (line end removed) into Out: the count character, then groups of four
// characters. Characters missing at the end of a short line, or outside the table, count as 0.
// Returns the count, or -1 when the first character is not in the table (nothing decoded).
int DecodeLine(const DecodeTable& table, std::string_view line, std::vector<uint8_t>& out);

// The line of N (at most 45) bytes without its line end.
std::string EncodeLine(std::string_view table, const uint8_t* data, int n);

// The length a line of count N has: 1 + 4 x ceil(N / 3).
inline int LineLengthFor(int n) { return 1 + 4 * ((n + 2) / 3); }

// Which table a first data line belongs to when it does not start with a full-line character: the
// one whose count predicts the line's length (UU when both do). Empty when neither does.
std::string_view GuessTable(std::string_view line);

// The name of volume Number (1 to 999) of the encoded file Base.
std::string UUVolumeName(const std::string& base, int number, TNextVolumeName mode, bool longNames);

}  // namespace engine::uu
