// End-to-end throughput of the older formats against their native tools, each pair taking turns on
// one core as whole processes: TAR extraction of 8,000 files against GNU tar, decoding a UU-encoded
// file of about 170 MB against uudecode, a .Z file against uncompress, and testing an ARC archive
// against arc. Ours is the mxarc program of the same build. Each line is their time / ours (above 1:
// we are faster):
//   tar extract: 1.20x tar
//   uudecode: ...x uudecode
//   uncompress: ...x uncompress
//   arc test: ...x arc
// The inputs are built at run time on tmpfs when there is one; standard error has the times, peak
// sizes and load average behind each line. An optional argument runs one of tar, uu, z or arc.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "testing/bench_process.h"
#include "testing/bench_tree.h"

namespace fs = std::filesystem;
using namespace mx::bench;

// Our side: the mxarc program of the same build.
const std::string kOurs = MX_ARC_CLI;

int main(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    const auto wanted = [&](const char* group) { return only.empty() || only == group; };
    std::fprintf(stderr, "formats bench on core %d\n", PinToOneCore());
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path work = base / ("mx_bench_formats_" + std::to_string(::getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
    const std::string w = work.string(), out = w + "/out";
    const auto freshOut = [&] {
        fs::remove_all(out);
        fs::create_directories(out);
    };

    if (wanted("tar")) {
        MakeTree(work / "tree", 8000, 0, 200);
        Shell("cd '" + w + "/tree' && tar -cf ../files.tar d*");
        fs::remove_all(work / "tree");
        const std::string archive = w + "/files.tar";
        Report("tar extract", "tar", Race(freshOut, {"tar", "-xf", archive, "-C", out}, {kOurs, "x", archive, out}, w));
        fs::remove(archive);
    }

    if (wanted("uu")) {
        Write(work / "big.bin", Text(size_t(124) << 20, 7));
        Shell("cd '" + w + "' && uuencode big.bin big.bin > big.uue && rm big.bin");
        const std::string encoded = w + "/big.uue";
        Report("uudecode", "uudecode",
               Race(freshOut, {"uudecode", "-o", out + "/big.bin", encoded}, {kOurs, "x", encoded, out}, w));
        fs::remove(encoded);
    }

    if (wanted("z")) {
        Write(work / "big", Text(size_t(96) << 20, 11));
        Shell("cd '" + w + "' && compress -f big");
        const std::string packed = w + "/big.Z";
        // uncompress replaces its input by the output: each of its runs gets a copy of its own.
        const auto prepare = [&] {
            freshOut();
            fs::copy_file(packed, out + "/big.Z");
        };
        Report("uncompress", "uncompress", Race(prepare, {"uncompress", out + "/big.Z"}, {kOurs, "x", packed, out}, w));
        fs::remove(packed);
    }

    if (wanted("arc")) {
        fs::create_directories(work / "arcfiles");
        for (int i = 0; i < 300; ++i)
            Write(work / "arcfiles" / ("F" + std::to_string(i) + ".TXT"),
                  Text(2000 + size_t((i * 7919) % 100000), uint32_t(i)));
        Shell("cd '" + w + "/arcfiles' && arc aq ../files.arc *.TXT > /dev/null");
        fs::remove_all(work / "arcfiles");
        const std::string archive = w + "/files.arc";
        Report("arc test", "arc", Race([] {}, {"arc", "t", archive}, {kOurs, "t", archive}, w, true));
    }
    fs::remove_all(work);
    return 0;
}
