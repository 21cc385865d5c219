#include "app/log_lines.h"

#include <gtest/gtest.h>

namespace {

TEST(LogLines, ErrorLinesOnlyForTheTwoCodeRanges) {
    struct Case {
        int code;
        const char* want;
    } cases[] = {
        {25099, ""},
        {25100, "c:\\data\\a.zip:   docs\\x.txt   Error#: 25100   : Text   Extra"},
        {25450, "c:\\data\\a.zip:   docs\\x.txt   Error#: 25450   : Text   Extra"},
        {25451, ""},
        {26499, ""},
        {26500, "c:\\data\\a.zip:   docs\\x.txt   Message#: 26500   : Text   Extra"},
        {26522, "c:\\data\\a.zip:   docs\\x.txt   Message#: 26522   : Text   Extra"},
        {26523, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(app::ErrorLogLine("C:\\Data\\A.ZIP", "Docs\\X.txt", c.code, "Text", "Extra"), c.want) << c.code;
}

TEST(LogLines, FailedCheckLine) {
    EXPECT_EQ(app::ExtractFailedLine("C:\\out\\b.txt"), "C:\\out\\b.txt\rExtract failed\r\rOnEnd Event...");
}

}  // namespace
