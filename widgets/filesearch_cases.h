// One tree and one table of searches, run natively over the POSIX lister and
// under Wine over the Win32 lister. Each row names the GNU find expression that
// gives the same hits (the search's own folder walk leaves hidden folders out,
// so the harness prunes them), and, for content, the hits are also those `grep
// -rlF` lists.
#pragma once

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "widgets/filesearch.h"

namespace kvx::searchcases {

// Makes the tree in the current folder (sh). "x.txt" is a folder; ".hid" is a
// hidden folder, which is never searched; old.txt has an old modification time.
inline const char* const kTreeScript =
    "set -e\n"
    "mkdir -p sub/deep .hid x.txt\n"
    "printf 'hello world\\n' > a.txt\n"
    "printf 'hello needle\\n' > a.txte\n"
    "printf 'nothing\\n' > b.TXT\n"
    "printf 'needle\\n' > readme\n"
    "printf 'a needle here\\n' > sub/c.txt\n"
    "printf 'nee\\ndle\\n' > sub/split.txt\n"
    "head -c 3000 /dev/zero > sub/deep/e.txt\n"
    "printf 'log needle' > sub/deep/d.log\n"
    "printf 'needle\\n' > .dot.txt\n"
    "printf 'needle\\n' > .hid/f.txt\n"
    "head -c 10000 /dev/zero > big.bin\n"
    "printf 'old needle\\r\\n' > old.txt\n"
    "touch -d '2020-06-01 12:00:00' old.txt\n"
    "printf 'x' > 'sp ace.txt'\n";

struct Row {
    const char* why;
    const char* masks;
    int64_t minSize, maxSize;
    const char* content;
    uint32_t attrMask;
    bool recurse;
    bool modifiedBefore2021;
    // The find test of a hit (without the pruning of hidden folders).
    const char* find;
    // What Wine's own FindFirstFile adds for the mask, which the search leaves
    // out.
    const char* wineRawExtra;
};

inline const Row kRows[] = {
    {"one mask, every folder", "*.txt", 0, 0, "", kFaAnyFile, true, false, "-iname '*.txt'", "a.txte"},
    {"two masks", "*.txt;*.log", 0, 0, "", kFaAnyFile, true, false, "\\( -iname '*.txt' -o -iname '*.log' \\)", ""},
    {"names without an extension", "*.", 0, 0, "", kFaAnyFile, true, false, "! -name '*.*'", "a.txt"},
    {"question mark is one character", "?.t*", 0, 0, "", kFaAnyFile, true, false, "-iname '?.t*'", ""},
    {"minimum size", "*.*", 1000, 0, "", kFaAnyFile, true, false, "-type f -size +999c", ""},
    {"size range", "*.*", 1, 5000, "", kFaAnyFile, true, false, "-type f -size +0c -size -5001c", ""},
    {"content", "*.txt", 0, 0, "needle", kFaAnyFile, true, false, "-iname '*.txt'", ""},
    {"content in any file", "*", 0, 0, "needle", kFaAnyFile, true, false, "-iname '*'", ""},
    {"modified before 2021", "*.*", 0, 0, "", kFaAnyFile, true, true, "! -newermt '2021-01-01 00:00:00'", ""},
    {"this folder only", "a*", 0, 0, "", kFaAnyFile, false, false, "-iname 'a*'", ""},
    {"plain files only: no hidden ones, no folders", "*.*", 0, 0, "", 0, true, false, "-type f ! -name '.*'", ""},
};

// A mask list of Count masks of which only the last finds anything ("*.log").
inline std::string ManyMasks(int count) {
    std::string masks;
    for (int i = 0; i + 1 < count; ++i) masks += "n" + std::to_string(i) + ".none;";
    return masks + "*.log";
}

inline TKVXSearchParams ParamsOf(const Row& row, const std::string& root) {
    TKVXSearchParams p;
    p.Dirs = root;
    p.FileMasks = row.masks;
    p.MinSize = row.minSize;
    p.MaxSize = row.maxSize;
    p.Content = row.content;
    p.AttrMask = row.attrMask;
    p.RecurseSubDirs = row.recurse;
    if (row.modifiedBefore2021) p.Dates.ModifiedBefore = fw::EncodeDate(2021, 1, 1);
    return p;
}

// The shell command that lists the expected hits of Row under Root, one path a
// line, into Out.
inline std::string OracleScript(const Row& row, const std::string& root, const std::string& out) {
    const std::string t = row.find;
    std::string s = "find '" + root + "' -mindepth 1 " + (row.recurse ? "" : "-maxdepth 1 ") +
                    "\\( -type d -name '.*' -prune " + t + " -print \\) -o \\( " + t + " \\) -print | sort > '" + out +
                    "'";
    if (*row.content)
        s += " && grep -rlF --exclude-dir='.*' -- '" + std::string(row.content) + "' '" + root + "' | sort > '" + out +
             ".grep'";
    return s;
}

// The non-empty lines of a text (the oracle's output).
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

// The expected hits of Row from the oracle's outputs: find's paths, and for content only those grep
// lists too. ReadOut reads an output file by its name ("oracle.txt" or "oracle.txt.grep").
template <class ReadOut>
std::vector<std::string> Expected(const Row& row, ReadOut readOut) {
    std::vector<std::string> want = Lines(readOut("oracle.txt"));
    if (!*row.content) return want;
    const std::vector<std::string> grep = Lines(readOut("oracle.txt.grep"));
    std::erase_if(want, [&](const std::string& p) { return std::find(grep.begin(), grep.end(), p) == grep.end(); });
    return want;
}

// The path of a hit line made with ReturnValues [rvDir, rvFilename] and ";": folder + name.
inline std::string HitPath(const std::string& line) {
    const size_t cut = line.find(';');
    return line.substr(0, cut) + line.substr(cut + 1, line.size() - cut - 2);
}

}  // namespace kvx::searchcases
