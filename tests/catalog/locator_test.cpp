#include "catalog/locator.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

// A temporary folder that is the working directory for the life of the test.
struct Locator : ::testing::Test {
    TempDir dir;
    fs::path previous = fs::current_path();
    Locator() { fs::current_path(dir.root); }
    ~Locator() override { fs::current_path(previous); }
    // Writes each file whose flag is set and removes the others.
    static void place(const std::string (&files)[3], const bool (&present)[3]) {
        for (int i = 0; i < 3; ++i) {
            fs::remove(files[i]);
            ASSERT_TRUE(!present[i] || writeTextFile(files[i], "x"));
        }
    }
};

// An install prefix under the test's folder: prefix/bin holds the program, prefix/share the data.
struct Prefix {
    std::string bin, exe;
    Prefix(const TempDir& dir, const std::string& name, const std::string& programFolder = "bin")
        : bin(dir.path(name) + "/" + programFolder), exe(bin + "/tessaran-stars") {
        fs::create_directories(bin);
    }
    void makeShared() const { fs::create_directories(bin + "/" + kInstalledDataFolder); }
};

}  // namespace

TEST_F(Locator, DataIsLookedForInTheWorkingDirectoryThenBesideTheProgramThenTheInstalledFolder) {
    const Prefix prefix(dir, "usr");
    prefix.makeShared();
    const std::string files[3] = {"cat2.dat", prefix.bin + "/cat2.dat",
                                  dir.path("usr/share/tessaran-stars/cat2.dat")};
    const struct {
        bool present[3];
        int found;  // index into files, -1 for none
    } cases[] = {{{1, 1, 1}, 0}, {{0, 1, 1}, 1}, {{0, 0, 1}, 2}, {{1, 0, 1}, 0}, {{0, 0, 0}, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.found);
        place(files, c.present);
        std::string path = "stale";
        EXPECT_EQ(locateDataFileBeside("cat2.dat", prefix.exe, path), c.found >= 0);
        EXPECT_EQ(path, c.found >= 0 ? files[c.found] : "");
    }
    // Folders under the name are passed over.
    fs::create_directory("cat2.dat");
    fs::create_directory(files[2]);
    std::string path;
    EXPECT_FALSE(locateDataFileBeside("cat2.dat", prefix.exe, path));
    ASSERT_TRUE(writeTextFile(files[1], "x"));
    ASSERT_TRUE(locateDataFileBeside("cat2.dat", prefix.exe, path));
    EXPECT_EQ(path, files[1]);
    // The folder ends at the last backslash, else the last slash; with neither, a backslash
    // of its own goes before the name.
    const std::pair<const char*, const char*> beside[] = {
        {"/a/odd\\tessaran", "/a/odd\\cat2.dat"}, {"/a/b/tessaran", "/a/b/cat2.dat"},
        {"prog", "prog\\cat2.dat"}, {"", "cat2.dat"}};
    for (const auto& [exe, file] : beside) EXPECT_EQ(pathBesideExecutable("cat2.dat", exe), file);
}

TEST_F(Locator, LongPathsAreNeitherCutNorOverrun) {
    std::string folder = dir.root;
    for (int i = 0; i < 4; ++i) folder += "/" + std::string(200, char('a' + i));
    fs::create_directories(folder);
    ASSERT_TRUE(writeTextFile(folder + "/catb.bin", "x"));
    std::string path;
    ASSERT_TRUE(locateDataFileBeside("catb.bin", folder + "/tessaran-stars", path));
    EXPECT_EQ(path, folder + "/catb.bin");
    const std::string target = folder + "/" + std::string(200, 'z') + "/tessaran-stars";
    ASSERT_EQ(symlink(target.c_str(), "link"), 0);
    EXPECT_EQ(readSymbolicLink("link"), target);
}

TEST_F(Locator, OnlyAProgramInBinWithInstalledDataAndNoneBesideItRunsFromAnInstallPrefix) {
    const struct {
        const char* programFolder;
        bool shared, dataBeside, installed;
    } cases[] = {{"bin", true, false, true},  {"bin", true, true, false},
                 {"bin", false, false, false}, {"build", true, false, false},
                 {"xbin", true, false, false}, {"bin/tools", true, false, false}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(n);
        const Prefix prefix(dir, std::to_string(n++), c.programFolder);
        if (c.shared) prefix.makeShared();
        ASSERT_TRUE(!c.dataBeside || writeTextFile(prefix.bin + "/catb.bin", "x"));
        EXPECT_EQ(runsFromInstallPrefix(prefix.exe, "catb.bin"), c.installed);
    }
}

TEST(UserConfigFolder, ConfigHomeWhenAbsoluteElseDotConfigInHome) {
    const char* const cfg = "/cfg/tessaran-stars";
    const char* const home = "/home/u/.config/tessaran-stars";
    const char* const cases[][3] = {  // $XDG_CONFIG_HOME, $HOME, the folder
        {"/cfg", "/home/u", cfg},  {"/cfg//", "/home/u", cfg},       {nullptr, "/home/u", home},
        {"", "/home/u/", home},    {"relative/cfg", "/home/u", home}, {nullptr, nullptr, ""},
        {"relative", "relative", ""}};
    for (const auto& c : cases) EXPECT_EQ(userConfigFolder(c[0], c[1]), c[2]) << c[0];
}

TEST_F(Locator, SettingsStayBesideABuiltProgramAndGoToTheUserFolderOfAnInstalledOne) {
    const Prefix prefix(dir, "prefix");
    const std::string user = dir.path("config/tessaran-stars");
    fs::create_directories(user);
    const std::string files[3] = {"maridon.cfg", prefix.bin + "/maridon.cfg",
                                  user + "/maridon.cfg"};
    const struct {
        bool installed, present[3];
        int path;  // index into files
        bool exists;
    } cases[] = {
        {false, {0, 0, 0}, 1, false}, {false, {0, 1, 0}, 1, true}, {false, {1, 1, 0}, 0, true},
        {false, {0, 0, 1}, 1, false}, {true, {0, 0, 0}, 2, false}, {true, {0, 1, 0}, 2, false},
        {true, {0, 0, 1}, 2, true},   {true, {1, 0, 1}, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        place(files, c.present);
        const WritableFile found =
            locateWritableFile("maridon.cfg", prefix.exe, c.installed ? user + "/" : "");
        EXPECT_EQ(found.path, files[c.path]);
        EXPECT_EQ(found.exists, c.exists);
    }
}

TEST_F(Locator, TheSettingsFolderIsMadeWithItsParentsForTheUserAlone) {
    const std::string made = dir.path("home/.config/tessaran-stars");
    for (int twice = 0; twice < 2; ++twice) {
        EXPECT_TRUE(makeFolderOf(made + "/maridon.cfg"));
        EXPECT_TRUE(fs::is_directory(made));
    }
    const auto others = fs::perms::group_all | fs::perms::others_all;
    for (const char* folder : {"home", "home/.config", "home/.config/tessaran-stars"})
        EXPECT_EQ(fs::status(dir.path(folder)).permissions() & others, fs::perms::none) << folder;
}
