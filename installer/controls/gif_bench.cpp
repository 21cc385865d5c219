// GIF decode and encode speed against Pillow on the same files. Three palette pictures (a noisy
// photo-like 8-bit one, a flat drawing with long runs, a 1-bit dither) are encoded by us; then each
// side decodes every file and encodes every picture, the best of a few rounds counting. Prints:
//   gif decode: <ours/Pillow>x Pillow (<ours> MB/s, Pillow <theirs> MB/s of pixels)
//   gif encode: ...
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "installer/controls/gif_lzw.h"
#include "installer/controls/gif_stream.h"

namespace {

struct Picture {
    std::string name;
    int width, height, bits;
    std::vector<uint8_t> indices;
    std::vector<uint32_t> palette;
};

std::vector<Picture> Pictures() {
    std::vector<Picture> out;
    std::mt19937 rng(5);
    Picture photo{"photo", 1024, 768, 8, {}, {}};
    for (int y = 0; y < photo.height; ++y)
        for (int x = 0; x < photo.width; ++x)
            photo.indices.push_back(static_cast<uint8_t>((x / 4 + y / 3 + static_cast<int>(rng() % 9)) & 255));
    Picture flat{"flat", 1024, 768, 4, {}, {}};
    for (int y = 0; y < flat.height; ++y)
        for (int x = 0; x < flat.width; ++x) flat.indices.push_back(static_cast<uint8_t>(((x / 97) ^ (y / 61)) & 15));
    Picture dither{"dither", 1024, 768, 1, {}, {}};
    for (int y = 0; y < dither.height; ++y)
        for (int x = 0; x < dither.width; ++x) dither.indices.push_back(static_cast<uint8_t>((x * 7 + y * 3 + (x * y) % 5) % 11 < 5));
    for (Picture* p : {&photo, &flat, &dither})
        for (int i = 0; i < (1 << p->bits); ++i)
            p->palette.push_back(static_cast<uint32_t>((i * 37) & 255) << 16 | static_cast<uint32_t>((i * 91) & 255) << 8 |
                                 static_cast<uint32_t>(255 - i));
    out.push_back(std::move(photo));
    out.push_back(std::move(flat));
    out.push_back(std::move(dither));
    return out;
}

double Best(const std::function<void()>& run) {
    double best = 1e9;
    for (int round = 0; round < 5; ++round) {
        const auto t0 = std::chrono::steady_clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

// Pillow decodes every file and saves every picture (palette mode, no optimisation) as GIF in memory,
// timing the best of five rounds of each; prints the two times in seconds.
constexpr const char* kPillowScript = R"(import io, sys, time
from PIL import Image
files = sys.argv[1:]
datas = [open(f, 'rb').read() for f in files]
ims = []
for d in datas:
    im = Image.open(io.BytesIO(d)); im.load(); ims.append(im.copy())
def best(run):
    b = 1e9
    for _ in range(5):
        t = time.perf_counter(); run(); b = min(b, time.perf_counter() - t)
    return b
def decode():
    for d in datas:
        im = Image.open(io.BytesIO(d)); im.load()
def encode():
    for im in ims:
        im.save(io.BytesIO(), 'GIF', optimize=False)
print(best(decode), best(encode))
)";

}  // namespace

int main() {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("gif_bench_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::vector<Picture> pictures = Pictures();
    std::vector<std::vector<uint8_t>> files;
    double pixels = 0;
    std::string args;
    for (const Picture& p : pictures) {
        inst::GifFile gif;
        gif.version = 1;
        inst::GifFrame frame;
        frame.data = inst::EncodeGifFrame(p.width, p.height, p.palette, p.indices);
        gif.screen->globalTable = frame.data->table;
        gif.screen->tableExponent = frame.data->bitsPerPixel;
        gif.frames.push_back(frame);
        files.push_back(inst::WriteGif(gif));
        const fs::path path = dir / (p.name + ".gif");
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(files.back().data()),
                                                    static_cast<std::streamsize>(files.back().size()));
        args += " '" + path.string() + "'";
        pixels += static_cast<double>(p.width) * p.height;
    }

    size_t check = 0;
    const double decode = Best([&] {
        for (const auto& f : files) {
            const inst::GifFile gif = inst::ReadGif(f, false);
            check += inst::DecodeGifFrame(gif.frames[0], false).indices[7];
        }
    });
    const double encode = Best([&] {
        for (const Picture& p : pictures) check += inst::EncodeLzw(p.indices, p.width, p.height, p.bits, false).size();
    });

    fs::path script = dir / "pillow.py";
    std::ofstream(script) << kPillowScript;
    FILE* pipe = popen(("/usr/bin/python3 '" + script.string() + "'" + args).c_str(), "r");
    double pillowDecode = 0, pillowEncode = 0;
    if (!pipe || std::fscanf(pipe, "%lf %lf", &pillowDecode, &pillowEncode) != 2) {
        std::fprintf(stderr, "gif bench: Pillow (/usr/bin/python3 with python3-pil) did not run\n");
        if (pipe) pclose(pipe);
        fs::remove_all(dir);
        return 1;
    }
    pclose(pipe);
    fs::remove_all(dir);
    const double mp = pixels / 1e6;
    std::printf("gif decode: %.2fx Pillow (%.0f MB/s, Pillow %.0f MB/s of pixels)\n", pillowDecode / decode, mp / decode,
                mp / pillowDecode);
    std::printf("gif encode: %.2fx Pillow (%.0f MB/s, Pillow %.0f MB/s of pixels)\n", pillowEncode / encode, mp / encode,
                mp / pillowEncode);
    return check == 0 ? 2 : 0;
}
