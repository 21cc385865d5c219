// Replays a fuzz target's seed corpus: every file below the folders named on the command line is
// fed to LLVMFuzzerTestOneInput once, in an exact-size heap buffer so that ASan sees overreads.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        fs::path root(argv[i]);
        if (fs::is_regular_file(root)) {
            files.push_back(root);
            continue;
        }
        if (!fs::is_directory(root)) {
            std::fprintf(stderr, "no seed folder %s\n", argv[i]);
            return 1;
        }
        for (const auto& e : fs::recursive_directory_iterator(root))
            if (e.is_regular_file())
                files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& f : files) {
        std::ifstream in(f, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        auto buf = std::make_unique<uint8_t[]>(bytes.size() + (bytes.empty() ? 1 : 0));
        std::copy(bytes.begin(), bytes.end(), buf.get());
        LLVMFuzzerTestOneInput(buf.get(), bytes.size());
    }
    std::printf("%zu seeds replayed\n", files.size());
    return files.empty() ? 1 : 0;
}
