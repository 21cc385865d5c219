// mxzip: a small command-line front end over the ZIP components, so that the throughput benchmark
// can time our extraction, creation and listing as whole processes, the same way it times the
// Info-ZIP programs.
//
//   mxzip x ARCHIVE DIR     extract everything into DIR (stored folders kept)
//   mxzip a F|N ARCHIVE     add the current folder, recursively, at the fast or normal level
//   mxzip l ARCHIVE         list the entries, one "size name" line each, on standard output
//
// The exit status is 0 when every entry went through, 1 otherwise.
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/core/register_classes.h"
#include "engine/formats/zip/unzip/unzip_component.h"
#include "engine/formats/zip/writer/zip_component.h"
#include "engine/lister/krenlo.h"
#include "framework/core/lists.h"

using namespace engine;

namespace {

bool Extract(const std::string& archive, const std::string& dir)
{
    auto* u = fw::Make<TUnZIP>(nullptr);
    u->SetArchiveFile(archive);
    u->SetExtractDir(dir);
    u->SetUseStoredDirs(true);
    int failed = 0;
    u->OnEnd.Bind(&failed, [](void* c, fw::TObject*, const std::string&, bool pass) { *static_cast<int*>(c) += !pass; });
    const bool ok = u->Extract();
    u->Free();
    return ok && failed == 0;
}

bool Create(const std::string& archive, TDeflateType level)
{
    auto* z = fw::Make<TZip>(nullptr);
    z->SetDeflateType(level);
    z->SetRecurseDirs(true);
    z->SetStoredDirNames(TStoredDirNames::sdRelative);
    z->FileSpecList()->Add("*.*");
    z->SetArchiveFile(archive);
    z->SetSwitch(TSwitch::swAdd);
    const bool ok = z->Activate();
    z->Free();
    return ok;
}

bool List(const std::string& archive)
{
    auto* k = fw::Make<TKrenlo>(nullptr);
    k->OnRead.Bind(k, [](void* c, fw::TObject*, int64_t, int) {
        const auto* lister = static_cast<TKrenlo*>(c);
        std::printf("%lld %s\n", static_cast<long long>(lister->UnpackedSize), lister->FileName.c_str());
    });
    k->SetArchiveFile(archive);
    const bool ok = k->Activate();
    k->Free();
    return ok;
}

int Usage()
{
    std::fprintf(stderr, "usage: mxzip x ARCHIVE DIR | mxzip a F|N ARCHIVE | mxzip l ARCHIVE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || std::strlen(argv[1]) != 1)
        return Usage();
    RegisterClasses();
    RegisterListerClasses();
    RegisterUnZipClasses();
    RegisterZipWriterClasses();
    bool ok = false;
    switch (argv[1][0]) {
        case 'x':
            if (argc != 4)
                return Usage();
            ok = Extract(argv[2], argv[3]);
            break;
        case 'a':
            if (argc != 4 || (std::strcmp(argv[2], "F") != 0 && std::strcmp(argv[2], "N") != 0))
                return Usage();
            ok = Create(argv[3], argv[2][0] == 'F' ? TDeflateType::dtDeflateF : TDeflateType::dtDeflateN);
            break;
        case 'l':
            if (argc != 3)
                return Usage();
            ok = List(argv[2]);
            break;
        default:
            return Usage();
    }
    if (!ok)
        std::fprintf(stderr, "mxzip: %s %s failed\n", argv[1], argv[argc - 1]);
    return ok ? 0 : 1;
}
