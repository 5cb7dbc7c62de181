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

namespace {

// An install prefix under the test's folder: prefix/bin holds the program, prefix/share the data.
struct Prefix {
    std::string root, bin, exe, shared;
    Prefix(const TempDir& dir, const std::string& name, const std::string& programFolder = "bin")
        : root(dir.path(name)),
          bin(root + "/" + programFolder),
          exe(bin + "/tessaran-stars"),
          shared(bin + "/" + kInstalledDataFolder) {
        std::filesystem::create_directories(bin);
    }
    void makeShared() const { std::filesystem::create_directories(shared); }
};

enum class Place { None, Work, Beside, Installed, User };

}  // namespace

TEST_F(Locator, DataIsLookedForInTheWorkingDirectoryThenBesideTheProgramThenTheInstalledFolder) {
    const Prefix prefix(dir, "usr");
    prefix.makeShared();
    const std::string besidePath = prefix.bin + "/cat2.dat";
    const std::string installedPath = dir.path("usr/share/tessaran-stars/cat2.dat");
    struct Case {
        const char* what;
        bool work, beside, installed;
        Place expected;
    } cases[] = {
        {"everywhere", true, true, true, Place::Work},
        {"beside and installed", false, true, true, Place::Beside},
        {"installed only", false, false, true, Place::Installed},
        {"working directory and installed", true, false, true, Place::Work},
        {"nowhere", false, false, false, Place::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& file : {std::string("cat2.dat"), besidePath, installedPath})
            std::filesystem::remove(file);
        ASSERT_TRUE(!c.work || writeTextFile("cat2.dat", "working copy"));
        ASSERT_TRUE(!c.beside || writeTextFile(besidePath, "beside"));
        ASSERT_TRUE(!c.installed || writeTextFile(installedPath, "installed"));
        const std::string expected = c.expected == Place::Work     ? "cat2.dat"
                                     : c.expected == Place::Beside ? besidePath
                                     : c.expected == Place::Installed ? installedPath
                                                                      : "";
        std::string path = "stale";
        EXPECT_EQ(locateDataFileBeside("cat2.dat", prefix.exe, path), c.expected != Place::None);
        EXPECT_EQ(path, expected);
    }
    // A folder under the name in the installed folder is no data file either.
    std::filesystem::remove(installedPath);
    std::filesystem::create_directory(installedPath);
    std::string path;
    EXPECT_FALSE(locateDataFileBeside("cat2.dat", prefix.exe, path));
}

TEST_F(Locator, OnlyAProgramInBinWithInstalledDataAndNoneBesideItRunsFromAnInstallPrefix) {
    struct Case {
        const char* name;
        const char* programFolder;
        bool shared, dataBeside, installed;
    } cases[] = {
        {"installed", "bin", true, false, true},
        {"build folder named bin", "bin", true, true, false},
        {"no installed data", "bin", false, false, false},
        {"build folder", "build", true, false, false},
        {"folder ending in bin", "xbin", true, false, false},
        {"folder named bin one level up", "bin/tools", true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Prefix prefix(dir, c.name, c.programFolder);
        if (c.shared) prefix.makeShared();
        ASSERT_TRUE(!c.dataBeside || writeTextFile(prefix.bin + "/catb.bin", "x"));
        EXPECT_EQ(runsFromInstallPrefix(prefix.exe, "catb.bin"), c.installed);
    }
    const Prefix prefix(dir, "bare");
    prefix.makeShared();
    EXPECT_FALSE(runsFromInstallPrefix("", "catb.bin"));
    EXPECT_FALSE(runsFromInstallPrefix(prefix.exe, ""));
}

TEST(UserConfigFolder, ConfigHomeWhenAbsoluteElseDotConfigInHome) {
    struct Case {
        const char* configHome;
        const char* home;
        const char* expected;
    } cases[] = {
        {"/cfg", "/home/u", "/cfg/tessaran-stars"},
        {"/cfg//", "/home/u", "/cfg/tessaran-stars"},
        {nullptr, "/home/u", "/home/u/.config/tessaran-stars"},
        {"", "/home/u/", "/home/u/.config/tessaran-stars"},
        {"relative/cfg", "/home/u", "/home/u/.config/tessaran-stars"},
        {nullptr, nullptr, ""},
        {"", "", ""},
        {"relative", "relative", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.configHome ? c.configHome : "(unset)") + " " +
                     (c.home ? c.home : "(unset)"));
        EXPECT_EQ(userConfigFolder(c.configHome, c.home), c.expected);
    }
}

TEST_F(Locator, SettingsStayBesideABuiltProgramAndGoToTheUserFolderOfAnInstalledOne) {
    const Prefix prefix(dir, "prefix");
    const std::string user = dir.path("config/tessaran-stars");
    std::filesystem::create_directories(user);
    const std::string besidePath = prefix.bin + "/maridon.cfg";
    const std::string userPath = user + "/maridon.cfg";
    struct Case {
        const char* what;
        bool installed, work, beside, inUser;
        Place expected;
        bool exists;
    } cases[] = {
        {"built, no file", false, false, false, false, Place::Beside, false},
        {"built, file beside", false, false, true, false, Place::Beside, true},
        {"built, working directory first", false, true, true, false, Place::Work, true},
        {"built, the user's file is not looked at", false, false, false, true, Place::Beside, false},
        {"installed, no file", true, false, false, false, Place::User, false},
        {"installed, a file beside is not taken", true, false, true, false, Place::User, false},
        {"installed, the user's file", true, false, false, true, Place::User, true},
        {"installed, working directory first", true, true, false, true, Place::Work, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const std::string& file : {std::string("maridon.cfg"), besidePath, userPath})
            std::filesystem::remove(file);
        ASSERT_TRUE(!c.work || writeTextFile("maridon.cfg", "Epoch 1"));
        ASSERT_TRUE(!c.beside || writeTextFile(besidePath, "Epoch 2"));
        ASSERT_TRUE(!c.inUser || writeTextFile(userPath, "Epoch 3"));
        const WritableFile found =
            locateWritableFile("maridon.cfg", prefix.exe, c.installed ? user + "/" : "");
        EXPECT_EQ(found.path, c.expected == Place::Work     ? "maridon.cfg"
                              : c.expected == Place::User ? userPath
                                                          : besidePath);
        EXPECT_EQ(found.exists, c.exists);
    }
}

TEST_F(Locator, TheSettingsFolderIsMadeWithItsParentsForTheUserAlone) {
    ASSERT_TRUE(writeTextFile(dir.path("blocker"), "a file"));
    struct Case {
        const char* what;
        std::string file;
        std::string folder;  // that must exist afterwards; empty for none
        bool made;
    } cases[] = {
        {"missing parents", dir.path("home/.config/tessaran-stars/maridon.cfg"),
         dir.path("home/.config/tessaran-stars"), true},
        {"folder already there", dir.path("home/.config/tessaran-stars/maridon.cfg"),
         dir.path("home/.config/tessaran-stars"), true},
        {"relative path", "here/maridon.cfg", "here", true},
        {"bare name", "maridon.cfg", "", true},
        {"a file in the way", dir.path("blocker/tessaran-stars/maridon.cfg"), "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(makeFolderOf(c.file), c.made);
        EXPECT_TRUE(c.folder.empty() || std::filesystem::is_directory(c.folder));
    }
    EXPECT_FALSE(std::filesystem::exists("maridon.cfg"));
    const auto others = std::filesystem::perms::group_all | std::filesystem::perms::others_all;
    for (const char* made : {"home", "home/.config", "home/.config/tessaran-stars"})
        EXPECT_EQ(std::filesystem::status(dir.path(made)).permissions() & others,
                  std::filesystem::perms::none)
            << made;
}
