// formpack SOURCE.form OUTPUT [--rc RCFILE]
// Checks a form source, expands its @file/@lenfile values and writes the text to embed; with --rc it
// also writes the windres line that embeds OUTPUT as RCDATA named after the form's class.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "framework/core/exceptions.h"
#include "framework/tools/formpack/pack.h"

namespace {

bool WriteWhole(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

std::string DirOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace

int main(int argc, char** argv) {
    std::string rcFile;
    if (argc == 5 && std::string(argv[3]) == "--rc") rcFile = argv[4];
    if (argc != 3 && rcFile.empty()) {
        std::fprintf(stderr, "usage: formpack SOURCE.form OUTPUT [--rc RCFILE]\n");
        return 2;
    }
    std::string source = argv[1], output = argv[2];
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "formpack: cannot open %s\n", source.c_str());
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    try {
        fw::formpack::PackedForm packed = fw::formpack::PackForm(text, source, DirOf(source));
        if (!WriteWhole(output, packed.text) ||
            (!rcFile.empty() && !WriteWhole(rcFile, fw::formpack::RcLine(packed, output)))) {
            std::fprintf(stderr, "formpack: cannot write %s\n", output.c_str());
            std::remove(output.c_str());
            return 1;
        }
    } catch (const fw::Exception& e) {
        std::fprintf(stderr, "formpack: %s\n", e.Message().c_str());
        return 1;
    }
    return 0;
}
