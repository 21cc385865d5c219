// Plays arbitrary notification scripts into the CAB extractor through a scripted library: names
// (UTF-8 or not, hostile or not), sizes, attributes, next-cabinet requests and the data blocks, in
// test mode so that nothing is written.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/formats/cab/testdata/scripted_fdi.h"
#include "engine/formats/cab/uncab_component.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool registered = false;
    if (!registered) {
        engine::RegisterUnCABClasses();
        registered = true;
    }
    using engine::test::ScriptedFdi;
    ScriptedFdi::files.clear();
    ScriptedFdi::log.clear();
    size_t pos = 0;
    const auto take = [&](size_t n) {
        std::string s(reinterpret_cast<const char*>(data) + pos, std::min(n, size - pos));
        pos += s.size();
        return s;
    };
    while (pos + 4 <= size && ScriptedFdi::files.size() < 64) {
        engine::test::ScriptedFile f;
        const uint8_t nameLen = data[pos], dataLen = data[pos + 1];
        f.attribs = data[pos + 2];
        f.nextCabinetFirst = (data[pos + 3] & 1) != 0;
        pos += 4;
        f.name = take(nameLen % 64);
        f.data = take(dataLen);
        ScriptedFdi::files.push_back(f);
    }
    ScriptedFdi::nextCabinet = size % 3 == 0 ? "next.cab" : "";
    const engine::FdiFunctions functions = ScriptedFdi::Functions();
    engine::SetFdiFunctions(&functions);

    static const std::string path = "/tmp/mx_cabnotify_fuzz_" + std::to_string(::getpid()) + ".cab";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite("MSCF\0\0\0\0", 1, 8, f);
        std::fclose(f);
    }
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    auto* cab = fw::Make<engine::TUnCAB>(owner);
    cab->OnNextVolume.Bind(nullptr, [](void*, fw::TObject*, std::string&, std::string&, const std::string&, bool, bool& cancel) {
        cancel = true;
    });
    cab->SetFileSpec(size % 2 ? "*.*" : "a*");
    cab->SetArchiveFile(path);
    cab->Test();
    owner->Free();
    engine::SetFdiFunctions(nullptr);
    std::remove(path.c_str());
    return 0;
}
