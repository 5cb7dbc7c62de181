#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "catalog/locator.h"
#include "support/temp_dir.h"

namespace {

// Makes `folder` the working directory for the life of the guard.
struct WorkingDirectory {
    explicit WorkingDirectory(const std::string& folder) : previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous); }
    std::filesystem::path previous;
};

}  // namespace

TEST(DataFileLocator, WorkingDirectoryFirstThenBesideTheExecutable) {
    TempDir dir;
    std::filesystem::create_directory(dir.path("work"));
    std::filesystem::create_directory(dir.path("program"));
    std::string exe = dir.path("program/tessaran-stars");
    ASSERT_TRUE(writeTextFile(dir.path("work/cat1.dat"), "working copy"));
    ASSERT_TRUE(writeTextFile(dir.path("program/cat1.dat"), "shipped copy"));
    WorkingDirectory cwd(dir.path("work"));

    std::string path = "stale";
    ASSERT_TRUE(locateDataFileBeside("cat1.dat", exe, path));
    EXPECT_EQ(path, "cat1.dat");
    EXPECT_EQ(readWholeFile(path), "working copy");

    std::filesystem::remove(dir.path("work/cat1.dat"));
    ASSERT_TRUE(locateDataFileBeside("cat1.dat", exe, path));
    EXPECT_EQ(path, dir.path("program/cat1.dat"));
    EXPECT_EQ(readWholeFile(path), "shipped copy");

    EXPECT_FALSE(locateDataFileBeside("catb.bin", exe, path));
    EXPECT_EQ(path, "");
    EXPECT_FALSE(locateDataFileBeside("cat1.dat", "", path));  // no executable to look beside
    EXPECT_FALSE(locateDataFileBeside("", exe, path));
}

TEST(DataFileLocator, TheExecutablesFolderEndsAtItsLastBackslashOrElseItsLastSlash) {
    TempDir dir;
    WorkingDirectory cwd(dir.root);
    // The backslash is looked for first: "<root>/odd\tessaran-stars" lies in "<root>/odd\",
    // not in "<root>/".
    ASSERT_TRUE(writeTextFile(dir.path("odd\\cat2.dat"), "x"));
    std::string path;
    ASSERT_TRUE(locateDataFileBeside("cat2.dat", dir.path("odd\\tessaran-stars"), path));
    EXPECT_EQ(path, dir.path("odd\\cat2.dat"));
    // A path with neither separator gets a backslash before the name.
    ASSERT_TRUE(writeTextFile(dir.path("prog\\cat3.dat"), "x"));
    ASSERT_TRUE(locateDataFileBeside("cat3.dat", "prog", path));
    EXPECT_EQ(path, "prog\\cat3.dat");
}

TEST(DataFileLocator, LongPathsAreNeitherCutNorOverrun) {
    TempDir dir;
    std::string folder = dir.root;
    for (int i = 0; i < 4; ++i) folder += "/" + std::string(200, char('a' + i));
    ASSERT_GT(folder.size(), 800u);
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(writeTextFile(folder + "/catb.bin", "x"));
    WorkingDirectory cwd(dir.root);
    std::string path;
    ASSERT_TRUE(locateDataFileBeside("catb.bin", folder + "/tessaran-stars", path));
    EXPECT_EQ(path, folder + "/catb.bin");

    // A link text of any length comes back whole.
    std::string target = folder + "/" + std::string(200, 'z') + "/tessaran-stars";
    std::string link = dir.path("link");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    EXPECT_EQ(readSymbolicLink(link.c_str()), target);
    EXPECT_EQ(readSymbolicLink(dir.path("not-a-link").c_str()), "");

    // The running test program finds itself.
    std::string self = executablePath();
    EXPECT_EQ(std::filesystem::path(self).filename(), "test_catalog");
    EXPECT_TRUE(std::filesystem::is_regular_file(self));
}
