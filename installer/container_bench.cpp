// Container benchmark: the archive container's compress and extract speed against gzip at the same
// level on the same files, as ratios (above 1 = the container is faster), and its size against gzip's.
// The files are the first 24 MB of the shared codec corpus, written to a scratch folder in memory; each time
// is the best of two runs. The container writes one file per entry (and sets its date), gzip one file
// for all of them: that file handling is part of the container's figure.
//
//   container level 9 vs gzip -9: compress 1.02x, extract 0.97x, size 1.001x
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/codec/bench_corpus.h"
#include "framework/core/lists.h"
#include "framework/core/sysutils.h"
#include "installer/container.h"

namespace {

namespace fs = std::filesystem;

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

template <class F>
double Best(F run) {
    double best = 1e30;
    for (int i = 0; i < 2; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        run();
        best = std::min(best, Seconds(std::chrono::steady_clock::now() - t0));
    }
    return best;
}

}  // namespace

int main() {
    const std::vector<mx::codec::bench::CorpusFile> corpus = mx::codec::bench::LoadCorpus();
    // In memory where the machine has it: the figures are the coders' and the container's, not the disk's.
    const fs::path scratch = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path root = scratch / ("bench_container_" + std::to_string(getpid()));
    fs::create_directories(root / "src");
    std::vector<std::string> names;
    size_t total = 0;
    for (size_t i = 0; i < corpus.size() && total < 24u << 20; ++i) {
        const std::string name = "f" + std::to_string(i);
        std::ofstream(root / "src" / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(corpus[i].data.data()), static_cast<std::streamsize>(corpus[i].data.size()));
        names.push_back(name);
        total += corpus[i].data.size();
    }
    fs::current_path(root);
    std::printf("container corpus: %zu files, %zu bytes\n", names.size(), total);
    struct Row {
        inst::TCompressionLevel level;
        int gzipLevel;
    };
    const Row rows[] = {{inst::TCompressionLevel::colFastest, 1}, {inst::TCompressionLevel::colDefault, 6},
                        {inst::TCompressionLevel::colMax, 9}};
    int status = 0;
    for (const Row& row : rows) {
        auto* archive = fw::Make<inst::TQnfdCompress>(nullptr);
        archive->SetCompressedFile((root / "files.1").string());
        archive->SetCompressionLevel(row.level);
        const double ourPack = Best([&] {
            fw::TStringList list;
            for (const std::string& n : names) list.Add("src/" + n);
            archive->SetFilesToProcess(&list);
            archive->Compress(false, 0);
        });
        const double ourUnpack = Best([&] {
            fw::TStringList list;
            for (const std::string& n : names) list.Add("src/" + n);
            archive->SetFilesToProcess(&list);
            archive->SetExtractDirectory((root / "out").string());
            archive->ExtractAll();
        });
        archive->Free();
        // gzip over the same files in one process, its members written to one file and back out again.
        std::string files;
        for (const std::string& n : names) files += " src/" + n;
        const std::string pack = "gzip -" + std::to_string(row.gzipLevel) + " -c" + files + " > all.gz";
        const double gzPack = Best([&] { status |= std::system(pack.c_str()); });
        const double gzUnpack = Best([&] { status |= std::system("gzip -dc all.gz > all.out"); });
        const double ourSize = static_cast<double>(fs::file_size(root / "files.1"));
        const double gzSize = static_cast<double>(fs::file_size(root / "all.gz"));
        std::printf("container level %d vs gzip -%d: compress %.2fx, extract %.2fx, size %.3fx\n", row.gzipLevel,
                    row.gzipLevel, gzPack / ourPack, gzUnpack / ourUnpack, ourSize / gzSize);
    }
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(root);
    return status == 0 ? 0 : 1;
}
