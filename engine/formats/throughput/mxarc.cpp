// mxarc: a small command-line front end over the extractors and the integrity tester, so that the
// formats benchmark can time our extraction and testing as whole processes, the same way it times
// the native tools.
//
//   mxarc x ARCHIVE DIR     extract everything into DIR (stored folders kept), the extractor chosen
//                           by the archive's detected type
//   mxarc t ARCHIVE         test every entry
//
// The exit status is 0 when every entry went through, 1 otherwise.
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/core/register_classes.h"
#include "engine/formats/arc/arc_component.h"
#include "engine/formats/gzip/gzip_component.h"
#include "engine/formats/tar/tar_component.h"
#include "engine/formats/uue/uu_decode.h"
#include "engine/formats/zip/unzip/unzip_component.h"
#include "engine/zipcheck/zip_check.h"

using namespace engine;

namespace {

TUnBase* MakeExtractor(TArcType type)
{
    switch (type) {
    case TArcType::atArc:
    case TArcType::atArcExe:
        return fw::Make<TUnARC>(nullptr);
    case TArcType::atGZip:
        return fw::Make<TUnGZIP>(nullptr);
    case TArcType::atTar:
        return fw::Make<TUnTAR>(nullptr);
    case TArcType::atUue:
        return fw::Make<TUUDecode>(nullptr);
    default:
        return IsZipArcType(type) ? fw::Make<TUnZIP>(nullptr) : nullptr;
    }
}

// Entries seen and entries that failed, from the OnEnd or OnStatus events.
struct Counts {
    int done = 0, failed = 0;
    bool AllPassed() const { return done > 0 && failed == 0; }
    static void Count(void* self, fw::TObject*, const std::string&, bool pass)
    {
        auto* c = static_cast<Counts*>(self);
        ++c->done;
        c->failed += !pass;
    }
};

TArcType Detect(const std::string& archive)
{
    auto* check = fw::Make<TZipCheck>(nullptr);
    check->SetArchiveFile(archive);
    const TArcType type = check->ArcType();
    check->Free();
    return type;
}

bool Extract(const std::string& archive, const std::string& dir)
{
    TUnBase* u = MakeExtractor(Detect(archive));
    if (!u)
        return false;
    u->SetArchiveFile(archive);
    u->SetExtractDir(dir);
    u->SetUseStoredDirs(true);
    Counts counts;
    u->OnEnd.Bind(&counts, &Counts::Count);
    const bool ok = u->Extract();
    u->Free();
    return ok && counts.AllPassed();
}

bool Test(const std::string& archive)
{
    auto* check = fw::Make<TZipCheck>(nullptr);
    Counts counts;
    check->OnStatus.Bind(&counts, &Counts::Count);
    check->SetArchiveFile(archive);
    const bool ok = check->Activate();
    check->Free();
    return ok && counts.AllPassed();
}

int Usage()
{
    std::fprintf(stderr, "usage: mxarc x ARCHIVE DIR | mxarc t ARCHIVE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || std::strlen(argv[1]) != 1)
        return Usage();
    RegisterClasses();
    RegisterZipCheckClasses();
    RegisterUnArcClasses();
    RegisterUnGzipClasses();
    RegisterUnTarClasses();
    RegisterUUDecodeClasses();
    RegisterUnZipClasses();
    bool ok = false;
    if (argv[1][0] == 'x' && argc == 4)
        ok = Extract(argv[2], argv[3]);
    else if (argv[1][0] == 't' && argc == 3)
        ok = Test(argv[2]);
    else
        return Usage();
    if (!ok)
        std::fprintf(stderr, "mxarc: %s %s failed\n", argv[1], argv[2]);
    return ok ? 0 : 1;
}
