#include "engine/formats/methods/method_names.h"

#include <gtest/gtest.h>

namespace engine {
namespace {

using enum TArcType;

struct Case {
    TArcType type;
    uint32_t method;
    bool folder;
    uint16_t flags;
    const char* want;
};

TEST(MethodNames, EveryTypeAndTheFolderRules) {
    const Case cases[] = {
        {atArc, 2, false, 0, "Stored"}, {atArcExe, 3, false, 0, "Packed"}, {atArc, 4, false, 0, "Squeezed"},
        {atArc, 6, false, 0, "crunched"}, {atArc, 8, false, 0, "Crunched"}, {atArc, 9, false, 0, "Squashed"},
        {atArc, 11, false, 0, "Pack11"}, {atArc, 30, true, 0, "Dir"}, {atArc, 30, false, 0, "Unknown"},
        {atArj, 4, false, 0, "Fastest"}, {atArj, 0, true, 0, "Stored"},  // the folder rule is for unknown methods only
        {atArjExe, 2, false, 0, "2nd Most"}, {atArj, 7, true, 0, "Dir"}, {atArj, 7, false, 0, "Unknown"},
        {atBh, 1, false, 0, "Fused"}, {atBhExe, 2, false, 0, "Deflate"}, {atBh, 9, true, 0, "Unknown"},
        {atCab, 0x1503, false, 0, "Lzx"}, {atCab, 1, false, 0, "MsZIP"}, {atCab, 2, false, 0, "Quantum"},
        {atGZip, 0x8B1F, false, 0, "Deflate"}, {atGZip, 0x9D1F, false, 0, "LzwMAGIC"},
        {atGZip, 0x9E1F, false, 0, "Deflate"}, {atGZip, 0x1E1F, false, 0, "PackMAGIC"},
        {atGZip, 0xA01F, false, 0, "LzhMAGIC"}, {atGZip, 0, false, 0, "Stored"},
        {atHa, 0, false, 0, "Cpy"}, {atHa, 1, false, 0, "Asc"}, {atHa, 2, false, 0, "HSC"},
        {atHa, 14, false, 0, "Dir"}, {atHa, 15, false, 0, "Special"}, {atHa, 7, false, 0, ""},
        {atLha, '0', false, 0, "Stored"}, {atLha, '5', false, 0, "Frozen-5"}, {atLzhExe, '1', false, 0, "Frozen-1"},
        {atLha, 'd', true, 0, "Unknown"},
        {atPak, 3, false, 0, "RLE"}, {atPak, 9, false, 0, "VARIBLE"}, {atPakExe, 10, false, 0, "Crushed"},
        {atPak, 11, false, 0, "Distill"}, {atPak, 6, false, 0, "FIXEDLEN"},
        {atRar, '0', false, 0, "Stored"}, {atRar, '3', false, 0, "Normal"}, {atRarExe, '5', false, 0, "Best"},
        {atRar, 'x', true, 0, "Dir"},
        {atTar, 0, false, 0, "Stored"}, {atTar, 1, true, 0, "Dir"}, {atTar, 1, false, 0, "Unknown"},
        {atZip, 0, false, 0, "Stored"}, {atZip, 1, false, 0, "Shrunk"}, {atZip, 2, false, 0, "Reduce-1"},
        {atZip, 5, false, 0, "Reduce-4"}, {atZipExe, 6, false, 0, "Imploded"}, {atZip, 7, false, 0, "Tokened"},
        {atZip, 8, false, 6, "DeflateS"}, {atZip250, 8, false, 4, "DeflateF"}, {atZip, 8, false, 2, "DeflateX"},
        {atZip, 8, false, 0, "DeflateN"}, {atZip, 8, false, 9, "DeflateN"}, {atZip, 99, true, 0, "Dir"},
        {atZip250Exe, 99, false, 0, "Unknown"},
        {atZoo, 1, false, 0, "Fastest"}, {atZoo, 2, false, 0, "Greatest"},
        {atUue, 0, false, 0, "Unknown"}, {atNA, 0, false, 0, "Unknown"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MethodNameOf(c.type, c.method, c.folder, c.flags), c.want)
            << "type " << static_cast<int>(c.type) << " method " << c.method;
    }
}

}  // namespace
}  // namespace engine
