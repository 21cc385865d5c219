// End-to-end ZIP throughput against Info-ZIP, each pair in one run: extraction of many small and of a
// few large files, creation at the fast and normal levels, listing a 100,000-entry archive, and how
// creation time grows from 10,000 to 40,000 tiny files. The trees are built here at run time, on
// tmpfs when there is one. Ratios are their time / ours (above 1: we are faster), except the last.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "engine/codec/crc32.h"
#include "engine/core/register_classes.h"
#include "engine/formats/zip/unzip/unzip_component.h"
#include "engine/formats/zip/writer/zip_component.h"
#include "engine/formats/zip/zip_records.h"
#include "engine/lister/krenlo.h"
#include "framework/core/lists.h"

namespace fs = std::filesystem;
using namespace engine;

namespace {

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The better of two runs, so that one disturbed run does not decide.
double Best(const std::function<void()>& prepare, const std::function<void()>& work)
{
    double best = 1e30;
    for (int i = 0; i < 2; ++i) {
        prepare();
        best = std::min(best, Seconds(work));
    }
    return best;
}

void Shell(const std::string& command)
{
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "bench_zip: failed: %s\n", command.c_str());
        std::exit(1);
    }
}

// Text-like bytes that compress about as well as source code.
std::string Text(size_t n, uint32_t seed)
{
    static const char* const words[] = {"engine", "archive ", "entry", " = ", "size", "(", ");\n", "return ",
                                        "0x1F", "name", "\tif ", "block", ", ", "header", "{\n", "}\n"};
    std::string s;
    s.reserve(n + 16);
    uint32_t x = seed * 2654435761u + 1;
    while (s.size() < n) {
        x = x * 1103515245u + 12345u;
        s += words[(x >> 16) & 15];
        if (((x >> 8) & 31) == 0)
            s += std::to_string(x % 100000);
    }
    s.resize(n);
    return s;
}

void Write(const fs::path& path, const std::string& data)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << data;
}

void MakeTree(const fs::path& root, int files, size_t size, int perFolder)
{
    fs::remove_all(root);
    for (int i = 0; i < files; ++i)
        Write(root / ("d" + std::to_string(i / perFolder)) / ("f" + std::to_string(i) + ".txt"),
              Text(size == 0 ? 200 + (i * 7919) % 12000 : size, uint32_t(i)));
}

bool Extract(const std::string& archive, const std::string& out)
{
    auto* u = fw::Make<TUnZIP>(nullptr);
    u->SetArchiveFile(archive);
    u->SetExtractDir(out);
    u->SetUseStoredDirs(true);
    int failed = 0;
    u->OnEnd.Bind(&failed, [](void* c, fw::TObject*, const std::string&, bool pass) { *static_cast<int*>(c) += !pass; });
    const bool ok = u->Extract();
    u->Free();
    return ok && failed == 0;
}

void Create(const fs::path& tree, const std::string& archive, TDeflateType level)
{
    const fs::path here = fs::current_path();
    fs::current_path(tree);
    auto* z = fw::Make<TZip>(nullptr);
    z->SetDeflateType(level);
    z->SetRecurseDirs(true);
    z->SetStoredDirNames(TStoredDirNames::sdRelative);
    z->FileSpecList()->Add("*.*");
    z->SetArchiveFile(archive);
    z->SetSwitch(TSwitch::swAdd);
    const bool ok = z->Activate();
    z->Free();
    fs::current_path(here);
    if (!ok) {
        std::fprintf(stderr, "bench_zip: creating %s failed\n", archive.c_str());
        std::exit(1);
    }
}

int List(const std::string& archive)
{
    auto* k = fw::Make<TKrenlo>(nullptr);
    int seen = 0;
    k->OnRead.Bind(&seen, [](void* c, fw::TObject*, int64_t, int) { ++*static_cast<int*>(c); });
    k->SetArchiveFile(archive);
    k->Activate();
    k->Free();
    return seen;
}

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
    const auto wanted = [&](const char* group) { return only.empty() || only == group; };
    RegisterClasses();
    RegisterListerClasses();
    RegisterUnZipClasses();
    RegisterZipWriterClasses();
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path work = base / ("mx_bench_zip_" + std::to_string(::getpid()));
    fs::remove_all(work);
    fs::create_directories(work);
    const std::string w = work.string();

    if (wanted("extract") || wanted("create")) {
        MakeTree(work / "many", 6000, 0, 200);
        MakeTree(work / "large", 4, 24u << 20, 4);
        Shell("cd '" + w + "/many' && zip -q -r -6 ../many.zip .");
        Shell("cd '" + w + "/large' && zip -q -r -6 ../large.zip .");
    }

    for (const char* which : {"many", "large"}) {
        if (!wanted("extract"))
            break;
        const std::string archive = w + "/" + which + ".zip", out = w + "/out";
        const auto clean = [&] { fs::remove_all(out); };
        const double theirs = Best(clean, [&] { Shell("unzip -qo '" + archive + "' -d '" + out + "'"); });
        const double ours = Best(clean, [&] {
            if (!Extract(archive, out)) {
                std::fprintf(stderr, "bench_zip: extracting %s failed\n", archive.c_str());
                std::exit(1);
            }
        });
        std::printf("extract %s: %.2fx unzip\n", which, theirs / ours);
        std::fflush(stdout);
    }

    struct Level {
        const char* label;
        TDeflateType type;
        const char* zipLevel;
    };
    for (const Level& lv : {Level{"F", TDeflateType::dtDeflateF, "2"}, Level{"N", TDeflateType::dtDeflateN, "7"}}) {
        if (!wanted("create"))
            break;
        const std::string archive = w + "/created.zip";
        const auto clean = [&] { fs::remove(archive); };
        const double theirs =
            Best(clean, [&] { Shell("cd '" + w + "/many' && zip -q -r -" + lv.zipLevel + " '" + archive + "' ."); });
        const double ours = Best(clean, [&] { Create(work / "many", archive, lv.type); });
        std::printf("create %s: %.2fx zip -%s\n", lv.label, theirs / ours, lv.zipLevel);
        std::fflush(stdout);
    }

    if (wanted("list")) {
        const std::string listed = w + "/list100k.zip";
        MakeManyEntryArchive(listed, 100000);
        const double theirs = Best([] {}, [&] { Shell("unzip -l '" + listed + "' >/dev/null"); });
        int seen = 0;
        const double ours = Best([] {}, [&] { seen = List(listed); });
        if (seen != 100000)
            std::fprintf(stderr, "bench_zip: listed %d of 100000 entries\n", seen);
        std::printf("list 100k: %.2fx unzip -l\n", theirs / ours);
        std::fflush(stdout);
    }

    if (wanted("tiny")) {
        double tiny[2] = {0, 0};
        const int counts[2] = {10000, 40000};
        for (int i = 0; i < 2; ++i) {
            MakeTree(work / "tiny", counts[i], 16, 500);
            const std::string archive = w + "/tiny.zip";
            tiny[i] = Best([&] { fs::remove(archive); }, [&] { Create(work / "tiny", archive, TDeflateType::dtDeflateF); });
        }
        std::printf("create 40k/10k: %.2f\n", tiny[1] / tiny[0]);
    }
    fs::remove_all(work);
    return 0;
}
