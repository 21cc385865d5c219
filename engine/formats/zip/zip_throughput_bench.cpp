// End-to-end ZIP throughput against Info-ZIP, each pair in one run: extraction of 17,000 small and of
// a few large files, creation at the fast and normal levels, listing a 100,000-entry archive, and
// creation from 10,000 and 40,000 tiny files (time, peak size, and how the time grows). The trees
// are built here at run time, on tmpfs when there is one. Both sides run as whole processes, timed
// from start to exit, taking turns on one core: ours is the mxzip program of the same build. Ratios
// are their time / ours (above 1: we are faster), except the last. The times and peak resident sizes
// behind each line, and the load average, go to standard error.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/formats/zip/zip_records.h"
#include "testing/bench_process.h"
#include "testing/bench_tree.h"

namespace fs = std::filesystem;
using namespace engine;

// Our side: the mxzip program of the same build.
const std::string kOurs = MX_ZIP_CLI;

namespace {

using namespace mx::bench;

// An archive of Count stored entries of a few bytes each, written directly.
void MakeManyEntryArchive(const std::string& path, int count)
{
    std::string body, central;
    for (int i = 0; i < count; ++i) {
        const std::string name = "dir" + std::to_string(i / 1000) + "/entry" + std::to_string(i) + ".txt";
        const std::string data = "x" + std::to_string(i);
        uint32_t crc = 0xFFFFFFFFu;
        mx::codec::UpdateCrc32({reinterpret_cast<const uint8_t*>(data.data()), data.size()}, crc);
        zip::LocalHeader l;
        l.versionNeeded = 10;
        l.crc = ~crc;
        l.compressedSize = l.uncompressedSize = uint32_t(data.size());
        l.nameLength = uint16_t(name.size());
        l.date = 0x5821;
        zip::CentralHeader c;
        c.versionMadeBy = 20;
        c.versionNeeded = 10;
        c.crc = l.crc;
        c.date = l.date;
        c.compressedSize = c.uncompressedSize = l.compressedSize;
        c.nameLength = l.nameLength;
        c.externalAttr = 0x20;
        c.localHeaderOffset = uint32_t(body.size());
        const auto le = l.Encode();
        body.append(reinterpret_cast<const char*>(le.data()), le.size());
        body += name + data;
        const auto ce = c.Encode();
        central.append(reinterpret_cast<const char*>(ce.data()), ce.size());
        central += name;
    }
    zip::EndRecord end;
    end.entriesOnDisk = end.totalEntries = uint16_t(count & 0xFFFF);  // the count wraps, as Info-ZIP writes it
    end.directorySize = uint32_t(central.size());
    end.directoryOffset = uint32_t(body.size());
    const auto e = end.Encode();
    std::ofstream(path, std::ios::binary) << body << central
                                          << std::string(reinterpret_cast<const char*>(e.data()), e.size());
}

}  // namespace

// An optional argument runs one group only: extract, create, list or tiny.
int main(int argc, char** argv)
{
    const std::string only = argc > 1 ? argv[1] : "";
    std::fprintf(stderr, "zip bench on core %d\n", mx::bench::PinToOneCore());
    const auto wanted = [&](const char* group) { return only.empty() || only == group; };
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path work = base / ("mx_bench_zip_" + std::to_string(::getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
    const std::string w = work.string();

    if (wanted("extract")) {
        MakeTree(work / "small", 17000, 0, 200, 4000);
        MakeTree(work / "large", 4, 24u << 20, 4);
        Shell("cd '" + w + "/small' && zip -q -r -6 ../many.zip .");
        Shell("cd '" + w + "/large' && zip -q -r -6 ../large.zip .");
        fs::remove_all(work / "small");
        fs::remove_all(work / "large");
    }
    if (wanted("create"))
        MakeTree(work / "many", 6000, 0, 200);

    for (const char* which : {"many", "large"}) {
        if (!wanted("extract"))
            break;
        const std::string archive = w + "/" + which + ".zip", out = w + "/out";
        const auto clean = [&] { fs::remove_all(out); };
        const Pair p = Race(clean, {"unzip", "-qo", archive, "-d", out}, {kOurs, "x", archive, out}, w);
        Report("extract " + std::string(which), "unzip", p);
    }

    struct Level {
        const char* label;
        const char* zipLevel;
    };
    for (const Level& lv : {Level{"F", "2"}, Level{"N", "7"}}) {
        if (!wanted("create"))
            break;
        const std::string archive = w + "/created.zip", tree = w + "/many";
        const auto clean = [&] { fs::remove(archive); };
        const Pair p = Race(clean, {"zip", "-q", "-r", std::string("-") + lv.zipLevel, archive, "."},
                            {kOurs, "a", lv.label, archive}, tree);
        Report("create " + std::string(lv.label), std::string("zip -") + lv.zipLevel, p);
    }

    if (wanted("list")) {
        const std::string listed = w + "/list100k.zip";
        MakeManyEntryArchive(listed, 100000);
        const Pair p = Race([] {}, {"unzip", "-l", listed}, {kOurs, "l", listed}, w, true, 5);
        Report("list 100k", "unzip -l", p);
    }

    if (wanted("tiny")) {
        Run tiny[2];
        const int counts[2] = {10000, 40000};
        for (int i = 0; i < 2; ++i) {
            MakeTree(work / "tiny", counts[i], 16, 500);
            const std::string archive = w + "/tiny.zip";
            const Pair p = Race([&] { fs::remove(archive); }, {"zip", "-q", "-r", "-2", archive, "."},
                                {kOurs, "a", "F", archive}, w + "/tiny");
            tiny[i] = p.ours;
            const std::string line = "create " + std::to_string(counts[i] / 1000) + "k tiny";
            if (counts[i] == 40000) {
                std::printf("%s: %.2fx zip -2, peak %ld KB vs %ld KB\n", line.c_str(), p.theirs.seconds / p.ours.seconds,
                            p.ours.peakKb, p.theirs.peakKb);
                std::fflush(stdout);
            }
            std::fprintf(stderr, "  %s: zip -2 %.3f s %ld KB, ours %.3f s %ld KB (%.2fx); %s\n", line.c_str(),
                         p.theirs.seconds, p.theirs.peakKb, p.ours.seconds, p.ours.peakKb,
                         p.theirs.seconds / p.ours.seconds, mx::bench::LoadAverage().c_str());
        }
        std::printf("create 40k/10k: %.2f\n", tiny[1].seconds / tiny[0].seconds);
    }
    fs::remove_all(work);
    return 0;
}
