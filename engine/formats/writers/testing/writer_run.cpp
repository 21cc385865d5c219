// Test helper program: one run of a writer, slow enough for a test to kill it at any moment.
// Usage: writer_run zip|bh|lha add|move|delete ARCHIVE SPEC...
#include <cstdio>
#include <string>

#include "engine/core/register_classes.h"
#include "engine/formats/bh/bh_writer.h"
#include "engine/formats/lzh/writer/lha_component.h"
#include "engine/formats/zip/writer/zip_component.h"
#include "framework/core/lists.h"
#ifdef _WIN32
#include "engine/win32/engine_win32.h"
#endif

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: writer_run zip|bh|lha add|move|delete ARCHIVE SPEC...\n");
        return 2;
    }
#ifdef _WIN32
    engine::win32::InstallEngineWin32();
#endif
    engine::RegisterZipWriterClasses();
    engine::RegisterBhWriterClasses();
    engine::RegisterLhaWriterClasses();
    const std::string kind = argv[1], action = argv[2];
    engine::TCompBase* writer = nullptr;
    if (kind == "zip") {
        auto* zip = fw::Make<engine::TZip>(nullptr);
        zip->SetDeflateType(engine::TDeflateType::dtDeflateX);
        writer = zip;
    } else if (kind == "bh") {
        writer = fw::Make<engine::TBlakHole>(nullptr);
        writer->SetCompressMethod(engine::TCompressMethod::cmFuse);
    } else {
        writer = fw::Make<engine::TLha>(nullptr);
        writer->SetCompressMethod(engine::TCompressMethod::cmFrozen);
    }
    writer->SetStoredDirNames(engine::TStoredDirNames::sdNone);
    for (int i = 4; i < argc; ++i)
        writer->FileSpecList()->Add(argv[i]);
    writer->SetArchiveFile(argv[3]);
    writer->SetSwitch(action == "delete" ? engine::TSwitch::swDelete
                      : action == "move"  ? engine::TSwitch::swMove
                                          : engine::TSwitch::swAdd);
    const bool ok = writer->Activate();
    writer->Free();
    return ok ? 0 : 1;
}
