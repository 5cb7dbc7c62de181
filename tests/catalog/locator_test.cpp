#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "catalog/locator.h"
#include "support/temp_dir.h"

namespace {

// A temporary folder that is the working directory for the life of the test.
struct Locator : ::testing::Test {
    TempDir dir;
    std::filesystem::path previous = std::filesystem::current_path();
    Locator() { std::filesystem::current_path(dir.root); }
    ~Locator() override { std::filesystem::current_path(previous); }
};

}  // namespace

TEST_F(Locator, WorkingDirectoryFirstThenBesideTheExecutablePassingOverFolders) {
    std::filesystem::create_directories(dir.path("program"));
    const std::string exe = dir.path("program/tessaran-stars");
    ASSERT_TRUE(writeTextFile("cat1.dat", "working copy"));
    ASSERT_TRUE(writeTextFile(dir.path("program/cat1.dat"), "shipped copy"));
    ASSERT_TRUE(writeTextFile(dir.path("program/maridon.cfg"), "shipped settings"));
    std::string path = "stale";
    ASSERT_TRUE(locateDataFileBeside("cat1.dat", exe, path));
    EXPECT_EQ(path, "cat1.dat");
    std::filesystem::remove("cat1.dat");
    ASSERT_TRUE(locateDataFileBeside("cat1.dat", exe, path));
    EXPECT_EQ(path, dir.path("program/cat1.dat"));
    // A folder under the name is passed over for the file beside the executable.
    std::filesystem::create_directory("maridon.cfg");
    ASSERT_TRUE(locateDataFileBeside("maridon.cfg", exe, path));
    EXPECT_EQ(path, dir.path("program/maridon.cfg"));
    EXPECT_FALSE(locateDataFileBeside("catb.bin", exe, path));
    EXPECT_EQ(path, "");
    EXPECT_FALSE(locateDataFileBeside("cat1.dat", "", path));  // no executable to look beside
    EXPECT_FALSE(locateDataFileBeside("", exe, path));
    // The folder ends at the last backslash, else the last slash; with neither, a backslash
    // of its own goes before the name.
    EXPECT_EQ(pathBesideExecutable("cat2.dat", "/a/odd\\tessaran"), "/a/odd\\cat2.dat");
    EXPECT_EQ(pathBesideExecutable("cat2.dat", "/a/b/tessaran"), "/a/b/cat2.dat");
    EXPECT_EQ(pathBesideExecutable("cat2.dat", "prog"), "prog\\cat2.dat");
    EXPECT_EQ(pathBesideExecutable("cat2.dat", ""), "cat2.dat");
}

TEST_F(Locator, LongPathsAreNeitherCutNorOverrun) {
    std::string folder = dir.root;
    for (int i = 0; i < 4; ++i) folder += "/" + std::string(200, char('a' + i));
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(writeTextFile(folder + "/catb.bin", "x"));
    std::string path;
    ASSERT_TRUE(locateDataFileBeside("catb.bin", folder + "/tessaran-stars", path));
    EXPECT_EQ(path, folder + "/catb.bin");
    // A link text of any length comes back whole, and the test program finds itself.
    const std::string target = folder + "/" + std::string(200, 'z') + "/tessaran-stars";
    ASSERT_EQ(symlink(target.c_str(), "link"), 0);
    EXPECT_EQ(readSymbolicLink("link"), target);
    EXPECT_EQ(readSymbolicLink("missing"), "");
    EXPECT_EQ(std::filesystem::path(executablePath()).filename(), "test_catalog");
}
