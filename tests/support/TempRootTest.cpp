// The shared temporary root: private, fresh per object, gone afterwards.
#include "tests/support/TempRoot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace aeroquin::testsupport {
namespace {

TEST(TempRoot, IsAFreshPrivateFolderRemovedWithEverythingInIt) {
    std::filesystem::path kept;
    {
        const TempRoot first;
        const TempRoot second;
        EXPECT_NE(first.path(), second.path());
        EXPECT_EQ(first.path().parent_path(), std::filesystem::temp_directory_path());
        EXPECT_EQ(std::filesystem::status(first.path()).permissions(),
                  std::filesystem::perms::owner_all);
        EXPECT_TRUE(first.files("").empty());
        first.write("Deep/Folder/file.txt", "a\r\nb\n");
        EXPECT_EQ(first.lines("Deep/Folder/file.txt"), (std::vector<std::string>{"a\r", "b"}));
        kept = first.path();
    }
    EXPECT_FALSE(std::filesystem::exists(kept));
}

TEST(TempRoot, CopiesAnExampleIntoAGivenParent) {
    const TempRoot parent;
    const TempRoot root("flat", parent.path());
    EXPECT_EQ(root.path().parent_path(), parent.path());
    EXPECT_EQ(root.files("Config/Vessels"), (std::vector<std::string>{"Probe.cfg", "Probe.csv"}));
    root.write("Config/Vessels/Probe.cfg", "Mass = 1\n");
    EXPECT_EQ(root.read("Config/Vessels/Probe.cfg"), "Mass = 1\n");
    EXPECT_EQ(root.read("Absent.txt"), "");
}

}  // namespace
}  // namespace aeroquin::testsupport
