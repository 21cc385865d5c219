// RAR decoding speed against unar on the largest compressed archives of the fixture corpus, each
// tested whole (every entry decoded and its CRC checked): our library through its entry points,
// unar as "lsar -t". unar's start-up (lsar -t on a 12-byte archive) is taken off its times. The best
// of three rounds counts. Prints per large archive and for them together:
//   rar <archive> (<kind>): <ours> MB/s, unar <theirs> MB/s: <ours/theirs>x unar
// The small archives of the other methods take unar less time than its start-up varies by: for them
// only our speed is printed.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "engine/formats/rar/unrar_api.h"

namespace {

uint64_t g_bytes = 0;

int UNRAR_CALL Count(unsigned char*, int size)
{
    g_bytes += unsigned(size);
    return 1;
}

// Tests every entry; the bytes decoded, 0 when an entry fails.
uint64_t TestArchive(const std::string& path)
{
    std::string name = path;
    RAROpenArchiveData open{};
    open.ArcName = name.data();
    open.OpenMode = RAR_OM_EXTRACT;
    void* handle = RAROpenArchive(&open);
    if (!handle)
        return 0;
    RARSetProcessDataProc(handle, &Count);
    g_bytes = 0;
    RARHeaderData header{};
    bool ok = true;
    while (RARReadHeader(handle, &header) == ERAR_SUCCESS)
        ok = RARProcessFile(handle, RAR_TEST, nullptr, nullptr) == ERAR_SUCCESS && ok;
    RARCloseArchive(handle);
    return ok ? g_bytes : 0;
}

double Best(const std::function<bool()>& run, int rounds)
{
    double best = 1e9;
    for (int i = 0; i < 3; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int r = 0; r < rounds; ++r) {
            if (!run()) {
                std::fprintf(stderr, "rar bench: a run failed\n");
                std::exit(1);
            }
        }
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count() / rounds);
    }
    return best;
}

}  // namespace

int main()
{
    const std::string dir = std::string(MX_FIXTURE_DIR) + "/rar/";
    struct Archive {
        const char* path;
        const char* kind;
        int rounds;  // small archives run several times per round
        bool large;  // long enough to time unar on
    };
    const Archive archives[] = {
        {"libarchive/test_read_format_rar_ppmd_lzss_conversion.rar", "2.9 PPMd and LZ, 241 MB", 1, true},
        {"libarchive/test_read_format_rar_multi_lzss_blocks.rar", "2.9 LZ, 20 MB", 3, true},
        {"libarchive/test_read_format_rar_filter.rar", "2.9 LZ with x86 filters", 20, false},
        {"sharpcompress/Rar2.rar", "2.0 LZ", 20, false},
        {"sharpcompress/Rar15.rar", "1.5", 20, false},
    };
    const auto lsar = [](const std::string& path) {
        return std::system(("lsar -t '" + path + "' >/dev/null 2>&1").c_str()) == 0;
    };
    if (!lsar(dir + "ssokolow/testfile.rar3.rar")) {
        std::fprintf(stderr, "rar bench: lsar is missing (Debian package unar)\n");
        return 1;
    }
    const double startup = Best([&] { return lsar(dir + "ssokolow/testfile.rar3.rar"); }, 5);
    double oursTotal = 0, theirsTotal = 0, bytesTotal = 0;
    for (const Archive& a : archives) {
        const std::string path = dir + a.path;
        const uint64_t bytes = TestArchive(path);
        const double ours = Best([&] { return TestArchive(path) == bytes && bytes > 0; }, a.rounds);
        const double mb = double(bytes) / 1e6;
        if (!a.large) {
            std::printf("rar %s (%s): %.1f MB/s\n", a.path, a.kind, mb / ours);
            continue;
        }
        const double theirs = std::max(1e-6, Best([&] { return lsar(path); }, a.rounds) - startup);
        std::printf("rar %s (%s): %.1f MB/s, unar %.1f MB/s: %.2fx unar\n", a.path, a.kind, mb / ours, mb / theirs,
                    theirs / ours);
        oursTotal += ours;
        theirsTotal += theirs;
        bytesTotal += mb;
    }
    std::printf("rar decode, the large archives: %.1f MB/s, unar %.1f MB/s: %.2fx unar\n", bytesTotal / oursTotal,
                bytesTotal / theirsTotal, theirsTotal / oursTotal);
    return 0;
}
