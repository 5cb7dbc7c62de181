// Start-up on the bad input a new user may leave about: missing or damaged catalogues beside the
// program or hiding good ones in the working folder.
#include <functional>

#include "shell_fixture.h"

namespace {

const char* const kLoadFailure = "message The catalog files couldn't be loaded. | Tessaran Stars";

}  // namespace

TEST_F(ShellTest, AMissingOrDamagedCatalogueStopsStartUpAndLeavesEveryFileAsItWas) {
    using Damage = std::function<std::string(std::string)>;  // the good file's bytes to the bad
    const struct {
        const char* file;
        bool inWorkingFolder;
        Damage damage;  // none: the file is removed
    } cases[] = {
        {"cat1.dat", true, [](std::string) { return std::string(); }},
        {"cat3.dat", true,  // without the last star of Piscis Austrinus
         [](std::string t) { return t.erase(t.rfind('\n', t.size() - 2) + 1); }},
        {"catb.bin", true,
         [](std::string bytes) {  // record 4321 of magnitude 9.00, past the faintest bound of 8
             bytes[4321 * 30 + 26] = char(900 & 0xFF), bytes[4321 * 30 + 27] = char(900 >> 8);
             return bytes;
         }},
        {"cat3.dat", false, nullptr},
        {"catb.bin", false, [](std::string bytes) { return bytes.substr(0, 5); }},
        {"cat1.dat", false, [](std::string) { return std::string("not a catalog\n"); }},
    };
    const std::string settings = "Epoch 1673941\nWindowRect 1 2 3 4\n";
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.file + std::string(bad.inWorkingFolder ? " in the working folder" : ""));
        std::filesystem::remove(work.path(bad.file));
        writeCatalogs();
        ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"), settings));
        const std::string path = bad.inWorkingFolder ? work.path(bad.file) : programFile(bad.file);
        const std::string good = readWholeFile(programFile(bad.file));
        if (bad.damage) ASSERT_TRUE(writeTextFile(path, bad.damage(good)));
        else std::filesystem::remove(path);
        const std::string before = readWholeFile(path);
        resetAppState();
        EXPECT_FALSE(startUp(exePath()));
        EXPECT_EQ(takeLog(), Log{kLoadFailure});
        EXPECT_EQ(readWholeFile(path), before);
        EXPECT_EQ(readWholeFile(programFile("maridon.cfg")), settings);
    }
    EXPECT_TRUE(fake.texts.empty());
}
