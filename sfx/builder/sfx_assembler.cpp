#include "sfx/builder/sfx_assembler.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "sfx/builder/option_writer.h"
#include "sfx/builder/random_access.h"
#include "sfx/builder/sfx_config_file.h"
#include "sfx/builder/zip_offset_fixup.h"

namespace sfx {

namespace {

BuildResult Fail(std::string message) { return BuildResult{false, std::move(message)}; }

BuildResult OpenFailed(const std::string& path) { return BuildResult{false, OpenErrorText(path), true}; }

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(std::filesystem::path(a), std::filesystem::path(b), ec) && !ec;
}

std::string FixupMessage(FixupStatus s) {
    switch (s) {
        case FixupStatus::Ok: return "";
        case FixupStatus::NoEndRecord: return "The archive has no end of central directory record.";
        case FixupStatus::Zip64: return "The archive uses ZIP64 records, which a self-extractor cannot hold.";
        case FixupStatus::TooLarge: return "The archive is too large for a self-extractor.";
        case FixupStatus::IoError: break;
    }
    return "Error reading or writing the archive.";
}

// Copies `in` from its current position to its end in blocks.
bool CopyRest(std::ifstream& in, std::ofstream& out, std::vector<char>& buf) {
    for (;;) {
        in.read(buf.data(), static_cast<std::streamsize>(kCopyBlock));
        const std::streamsize got = in.gcount();
        if (got <= 0) return in.eof();
        if (!out.write(buf.data(), got)) return false;
    }
}

}  // namespace

BuildResult BuildSelfExtractor(const std::string& builderPath, const StubLocation& stub,
                               const std::string& zipPath, const std::string& outputPath, SfxSettings& s) {
    if (stub.stubOffset == 0) return Fail("Error, SFX stub not found.");
    // Creating the output truncates it: naming the source archive there would destroy it.
    if (SameFile(outputPath, zipPath))
        return Fail("The output file is the ZIP archive itself. Choose another name for the self-extractor.");
    if (SameFile(outputPath, builderPath))
        return Fail("The output file is the builder itself. Choose another name for the self-extractor.");

    const OptionBytes block = WriteOptions(s, true);
    s.ForgetRemembered();
    const uint64_t shift64 = stub.stubSize + block.blockLength;
    if (shift64 > 0xFFFFFFFFu) return Fail(FixupMessage(FixupStatus::TooLarge));
    const uint32_t shift = static_cast<uint32_t>(shift64);

    {
        // Check the source archive as it stands before anything is written.
        FileAccess src(zipPath);
        if (!src.Ok()) {
            std::ifstream probe(zipPath, std::ios::binary);
            if (!probe) return OpenFailed(zipPath);
        }
        if (src.Ok()) {
            const FixupResult check = FixCentralDir(src, shift, false);
            if (check.status != FixupStatus::Ok) return Fail(FixupMessage(check.status));
        }
    }

    std::vector<char> buf(kCopyBlock + 1);
    {
        std::ofstream out(outputPath, std::ios::binary | std::ios::trunc);
        if (!out) return OpenFailed(outputPath);
        std::ifstream self(builderPath, std::ios::binary);
        if (!self) return OpenFailed(builderPath);
        self.seekg(static_cast<std::streamoff>(stub.stubOffset));
        if (!self || !CopyRest(self, out, buf)) return Fail("Error copying the extractor into " + outputPath);

        if (!out.write(block.bytes.data(), static_cast<std::streamsize>(block.bytes.size())))
            return Fail("Error writing " + outputPath);

        std::ifstream zip(zipPath, std::ios::binary);
        if (!zip) return OpenFailed(zipPath);
        if (!CopyRest(zip, out, buf)) return Fail("Error copying the archive into " + outputPath);
        if (!out.flush()) return Fail("Error writing " + outputPath);
    }

    FileAccess out(outputPath);
    if (!out.Ok()) return OpenFailed(outputPath);
    const FixupResult fixed = FixCentralDir(out, shift, true);
    if (fixed.status != FixupStatus::Ok) return Fail(FixupMessage(fixed.status));
    return BuildResult{true, ""};
}

}  // namespace sfx
