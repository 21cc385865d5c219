// Fuzz target: the archive container's header walk and the extraction of every entry, on any bytes.
// The archive is a real file (the container finds volumes by name); extracted data goes to a counting
// sink, so a hostile size costs no memory.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/core/lists.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "installer/container.h"

namespace {

class CountingSink : public fw::TStream {
public:
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void*, int64_t count) override {
        size_ += count;
        return count;
    }
    int64_t Seek(int64_t offset, int origin) override { return origin == fw::soFromBeginning ? offset : size_; }
    int64_t Size() override { return size_; }

private:
    int64_t size_ = 0;
};

std::string Folder() {
    static const std::string folder = [] {
        std::string f = "/tmp/inst_container_fuzz_" + std::to_string(getpid());
        fw::ForceDirectories(f);
        return f;
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string archivePath = Folder() + "/fuzz.1";
    {
        std::FILE* f = std::fopen(archivePath.c_str(), "wb");
        if (!f) return 0;
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    auto* archive = fw::Make<inst::TQnfdCompress>(nullptr);
    archive->StreamFactory = [&](const std::string& path, uint32_t mode) -> std::unique_ptr<fw::TStream> {
        if (path == archivePath) return std::make_unique<fw::TFileStream>(path, mode);
        return std::make_unique<CountingSink>();
    };
    archive->SetCompressedFile(archivePath);
    archive->SetExtractDirectory(Folder() + "/out");
    try {
        archive->ReadHeaders();
        std::vector<std::string> names;
        for (int i = 0; i < archive->Headers().Count(); ++i) names.push_back(archive->Headers().FileHeaders(i).fileName);
        for (const std::string& name : names) {
            fw::TStringList list;
            list.Add(name);
            archive->SetFilesToProcess(&list);
            archive->SetCompressedFile(archivePath);
            try {
                archive->ExtractAll();
            } catch (const fw::Exception&) {
            }
        }
        archive->GetFileStats(0);
    } catch (const fw::Exception&) {
    }
    archive->Free();
    return 0;
}
