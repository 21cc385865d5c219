#include "app/mail_names.h"

#include <gtest/gtest.h>

namespace {

using namespace app;
using Names = std::vector<std::string>;

TEST(MailNames, SplitDropsEmptyPartsAndBlanks) {
    EXPECT_EQ(SplitNames("a;;b"), (Names{"a", "b"}));
    EXPECT_EQ(SplitNames(" a ; b;  ;c "), (Names{"a", "b", "c"}));
    EXPECT_EQ(SplitNames(""), Names{});
    EXPECT_EQ(SplitNames(";;"), Names{});
    EXPECT_EQ(JoinNames({"a", "b c"}), "a;b c");
    EXPECT_EQ(JoinNames({}), "");
}

TEST(MailNames, ShortAttachmentNames) {
    struct Case {
        const char* name;
        const char* shortName;
    } cases[] = {
        {"archive.zip", "archive.zip"},            // 11: kept
        {"abcdefgh.zip", "abcdefgh.zip"},          // 12: kept
        {"abcdefghi.zip", "abcdefgh.zip"},         // the "." after the ninth: the first eight before it
        {"abcdefgh.zipx", "bcdefgh.zipx"},         // the "." earlier: the last 12
        {"abcdefghijklmnop.txt", "abcdefgh.txt"},  // 20 characters, the "." after the twelfth
        {"abcdefghijkl.longext", "efgh.longext"},  // still longer than 12: the last 12 of it
        {"x.....abcdefghij", "abcdefghij"},        // the last 12 start with dots: they go
    };
    for (const Case& c : cases) EXPECT_EQ(ShortAttachmentName(c.name), c.shortName) << c.name;
}

TEST(MailNames, BracketedAddressesTheResolverDoesNotKnow) {
    EXPECT_EQ(BracketedAddress("[SMTP:x@example.org]", "x@example.org"), "SMTP:x@example.org");
    EXPECT_EQ(BracketedAddress("Joe [joe@example.org]", "Joe"), "Joe joe@example.org");
    EXPECT_EQ(BracketedAddress("[x]", "[x]"), "");
    EXPECT_EQ(BracketedAddress("joe", "Joe Smith"), "");
}

}  // namespace
