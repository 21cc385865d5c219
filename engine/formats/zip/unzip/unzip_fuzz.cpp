// Lists and tests arbitrary bytes as a ZIP archive: the lister's walk, then the extractor's walk,
// password checks and every decoder in test mode, which writes nothing.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/formats/zip/unzip/unzip_component.h"
#include "engine/lister/krenlo.h"
#include "framework/core/lists.h"

namespace {

std::string ArchivePath()
{
    static const std::string path = "/tmp/mx_unzip_fuzz_" + std::to_string(::getpid()) + ".zip";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool registered = false;
    if (!registered) {
        engine::RegisterListerClasses();
        engine::RegisterUnZipClasses();
        registered = true;
    }
    const std::string path = ArchivePath();
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    engine::TKrenlo* lister = fw::Make<engine::TKrenlo>(owner);
    int seen = 0;
    lister->OnRead.Bind(&seen, [](void* ctx, fw::TObject*, int64_t, int) { ++*static_cast<int*>(ctx); });
    lister->SetShowBlankDirs(size % 2 == 0);
    lister->SetArchiveFile(path);
    lister->Activate();

    engine::TUnZIP* unzip = fw::Make<engine::TUnZIP>(owner);
    fw::TStringList passwords;
    passwords.Add("test");
    unzip->SetPasswords(&passwords);
    unzip->OnGetPassword.Bind(nullptr, [](void*, fw::TObject*, const std::string&, std::string& password,
                                           bool& tryAgain) {
        password = "12345678";
        tryAgain = true;
    });
    unzip->SetArchiveFile(path);
    unzip->Test();
    owner->Free();
    std::remove(path.c_str());
    return 0;
}
