#include "app/archive_file.h"

#include <gtest/gtest.h>

#include "app/text_routines.h"

namespace {

TEST(ArchiveFile, DestinationsKeepTheFileNameAndOneBackslash) {
    EXPECT_EQ(app::DestinationIn("C:\\", "C:\\fx\\a b.zip"), "C:\\a b.zip");
    EXPECT_EQ(app::DestinationIn("C:\\dest", "C:\\fx\\t.zip"), "C:\\dest\\t.zip");
    EXPECT_EQ(app::DestinationIn("C:\\dest\\", "C:\\fx\\t.zip"), "C:\\dest\\t.zip");
    EXPECT_EQ(app::RenamedPath("C:\\fx\\t.zip", "u.zip"), "C:\\fx\\u.zip");
    EXPECT_EQ(app::RenamedPath("C:\\v1.2\\t.zip", "new name.zip"), "C:\\v1.2\\new name.zip");
}

TEST(ArchiveFile, TheLogIsProposedBesideTheArchive) {
    EXPECT_EQ(app::ReplaceExtension("C:\\v1.2\\a.zip", "log"), "C:\\v1.2\\a.log");
    EXPECT_EQ(app::ReplaceExtension("", "log"), ".log");
}

}  // namespace
