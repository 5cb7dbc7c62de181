// Start-up on the bad input a new user may leave in the working folder: folders under the data
// files' names, and damaged catalogues that hide good ones beside the program.
#include <functional>

#include "shell_fixture.h"

namespace {

const char* const kLoadFailure = "message The catalog files couldn't be loaded. | Tessaran Stars";

}  // namespace

TEST_F(ShellTest, FoldersNamedLikeTheDataFilesArePassedOverForTheFilesBesideTheProgram) {
    for (const char* name : {"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat", "maridon.cfg"})
        ASSERT_TRUE(std::filesystem::create_directory(work.path(name)));
    writeCatalogs();
    ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"), "Epoch 1673941\n"));

    ASSERT_TRUE(startUp(exePath()));
    EXPECT_EQ(std::count(fake.log.begin(), fake.log.end(), kLoadFailure), 0);
    EXPECT_EQ(currentEditionName(theApp.catalogs), "Edition One");
    EXPECT_EQ(theApp.epoch.epoch, 1673941.0);  // the settings beside the program were read
    EXPECT_EQ(theApp.settingsPath, programFile("maridon.cfg"));

    ASSERT_TRUE(shutDown({0, 0, 1120, 896}));
    EXPECT_EQ(readWholeFile(programFile("maridon.cfg")).rfind("WindowRect 0 0 1120 896\n", 0), 0u);
    EXPECT_TRUE(std::filesystem::is_directory(work.path("maridon.cfg")));
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
             if (!writeEdition(path.c_str(), *sampleEdition("Cut Short"))) return false;
             std::string text = readWholeFile(path);
             text.erase(text.rfind('\n', text.size() - 2) + 1);
             return writeTextFile(path, text);
         }},
        {"catb.bin",
         [](const std::string& path) {
             // Record 4321 with magnitude 9.00, beyond the faintest bound of 8.
             std::vector<ReferenceRecord> stars = sampleReferenceRecords();
             if (!writeReferenceCatalog(path.c_str(), stars.data(), int(stars.size())))
                 return false;
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
        writeCatalogs();
        ASSERT_TRUE(bad.write(work.path(bad.file)));
        const std::string before = readWholeFile(work.path(bad.file));

        EXPECT_FALSE(startUp(exePath()));
        EXPECT_EQ(takeLog(), Log{kLoadFailure});
        EXPECT_EQ(readWholeFile(work.path(bad.file)), before);
        std::filesystem::remove(work.path(bad.file));
    }
}
