// Start-up on the bad input a new user may leave in the working folder: folders under the data
// files' names, and damaged catalogues that hide good ones beside the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "app/startup.h"
#include "app/state.h"
#include "shell_fixture.h"

TEST_F(ShellTest, FoldersNamedLikeTheDataFilesArePassedOverForTheFilesBesideTheProgram) {
    for (const char* name : {"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat", "maridon.cfg"})
        ASSERT_TRUE(std::filesystem::create_directory(workFile(name)));
    writeProgramCatalogs();
    ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"), "Epoch 1673941\n"));

    ASSERT_TRUE(startUp(exePath()));
    EXPECT_TRUE(fakePlatform().messages.empty());
    EXPECT_EQ(currentEditionName(theApp.catalogs), "Edition One");
    EXPECT_EQ(theApp.epoch.epoch, 1673941.0);  // the settings beside the program were read
    EXPECT_EQ(theApp.settingsPath, programFile("maridon.cfg"));

    ASSERT_TRUE(shutDown({0, 0, 1120, 896}));
    EXPECT_EQ(readWholeFile(programFile("maridon.cfg")).rfind("WindowRect 0 0 1120 896\n", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(workFile("maridon.cfg")));
}

TEST_F(ShellTest, ADamagedCatalogueInTheWorkingFolderFailsStartUpAndIsLeftAsItWas) {
    const struct {
        const char* file;
        std::function<bool(const std::string&)> write;
    } damaged[] = {
        {"cat1.dat", [](const std::string& path) { return writeTextFile(path, ""); }},
        {"cat3.dat",
         [](const std::string& path) {
             // Without the last star of Piscis Austrinus.
             if (!writeTestEdition(path, "Cut Short")) return false;
             std::string text = readWholeFile(path);
             text.erase(text.rfind('\n', text.size() - 2) + 1);
             return writeTextFile(path, text);
         }},
        {"catb.bin",
         [](const std::string& path) {
             // Record 4321 with magnitude 9.00, beyond the faintest bound of 8.
             if (!writeTestReferenceCatalog(path)) return false;
             std::string bytes = readWholeFile(path);
             bytes[4321 * 30 + 26] = char(900 & 0xFF);
             bytes[4321 * 30 + 27] = char(900 >> 8);
             return writeTextFile(path, bytes);
         }},
    };
    for (const auto& bad : damaged) {
        SCOPED_TRACE(bad.file);
        resetAppState();
        resetFakePlatform();
        writeProgramCatalogs();
        ASSERT_TRUE(bad.write(workFile(bad.file)));
        const std::string before = readWholeFile(workFile(bad.file));

        EXPECT_FALSE(startUp(exePath()));
        const FakePlatform& fake = fakePlatform();
        ASSERT_EQ(fake.messages.size(), 1u);
        EXPECT_EQ(fake.messages[0].text, "The catalog files couldn't be loaded.");
        EXPECT_EQ(fake.messages[0].caption, "Tessaran Stars");
        EXPECT_EQ(readWholeFile(workFile(bad.file)), before);
        std::filesystem::remove(workFile(bad.file));
    }
}
