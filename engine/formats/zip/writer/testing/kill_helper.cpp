// Test helper program: adds one file to an archive with the ZIP writer at the slowest level, so that
// a test can kill it with SIGKILL while it writes. Usage: kill_helper ARCHIVE FILE
#include <cstdio>

#include "engine/core/register_classes.h"
#include "engine/formats/zip/writer/zip_component.h"
#include "framework/core/lists.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: kill_helper ARCHIVE FILE\n");
        return 2;
    }
    engine::RegisterZipWriterClasses();
    auto* zip = fw::Make<engine::TZip>(nullptr);
    zip->SetDeflateType(engine::TDeflateType::dtDeflateX);
    zip->FileSpecList()->Add(argv[2]);
    zip->SetArchiveFile(argv[1]);
    zip->SetSwitch(engine::TSwitch::swAdd);
    const bool ok = zip->Activate();
    zip->Free();
    return ok ? 0 : 1;
}
