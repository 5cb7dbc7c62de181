// Changing an identification from the nearest-stars list, undo and redo, the changed mark, saving
// the edition and the question before closing with changes unsaved.
#include <fstream>
#include <iterator>

#include "app/commands.h"
#include "catalog/edition_file.h"
#include "resources/popup_menu.h"
#include "shell_fixture.h"

namespace {

constexpr int kStar = 3;  // of Ursa Minor

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A click on star kStar of Ursa Minor, with reference entries 10 and 20 moved beside it.
class IdentifyTest : public ShellTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ShellTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(start());
        const AncientStar& star = currentConstellation()->stars[kStar];
        theApp.view.centerLon = star.lon, theApp.view.centerLat = star.lat;
        viewUpdate(theApp.view);
        for (int entry : {10, 20}) theApp.reference->stars[entry].dir = star.dir;
        platformRepaint();
        onLeftButtonDown(int(star.screenX + 0.5f), int(star.screenY + 0.5f));
        original = star.identification;
        takeLog();
    }
    int identification() const { return currentConstellation()->stars[kStar].identification; }
    int number(int entry) const { return theApp.reference->stars[entry].number; }
    std::string menuText() {
        showPopupMenu(0, 0);
        return fake.menuTexts[CmdFirstEdition];
    }
    int original = 0;
};

}  // namespace

TEST_F(IdentifyTest, TheListOffersItsReferenceStarsAndUndoRedoRestoreExactly) {
    ASSERT_EQ(fake.identifyChoices.size(), 3u);  // the two reference stars, then none
    EXPECT_EQ(fake.identifyChoices[2].rfind("Identify ", 0), 0u);
    onCharacter('t');
    onCommand(CmdIdentifyFirst);
    const int first = identification();
    EXPECT_TRUE(first == number(10) || first == number(20));
    EXPECT_NE(fake.nearestText.find(std::to_string(first)), std::string::npos);
    EXPECT_NE(fake.identifyChoices[0].find("(as now)"), std::string::npos);
    EXPECT_EQ(fake.windowTitle, "Edition One* - Tessaran Stars");
    EXPECT_EQ(menuText(), "F1  Edition One*");
    onCommand(CmdIdentifyFirst + 2);  // none
    EXPECT_EQ(identification(), 0);

    fake.shiftDown = false;
    onCharacter(kCharacterUndo);
    EXPECT_EQ(identification(), first);
    onCharacter(kCharacterUndo);
    EXPECT_EQ(identification(), original);
    EXPECT_EQ(fake.windowTitle, "Tessaran Stars");
    EXPECT_EQ(menuText(), "F1  Edition One");
    onCharacter(kCharacterUndo);  // nothing left to undo
    EXPECT_EQ(identification(), original);
    fake.shiftDown = true;
    onCharacter(kCharacterUndo);
    EXPECT_EQ(identification(), first);
    // A new change ends what could be redone.
    onCommand(CmdIdentifyFirst + 1);
    onCharacter(kCharacterUndo);
    EXPECT_NE(identification(), 0);
    // Undo reaches an edition that is no longer current; a replaced one forgets its changes.
    onKeyDown(KeyF2);
    fake.shiftDown = false;
    onCharacter(kCharacterUndo);
    EXPECT_EQ(theApp.catalogs.slots[0]->constellations[0].stars[kStar].identification, first);
    onKeyDown(KeyF1);
    fake.fileAnswers = {programFile(kEditionFileNames[0])};
    ASSERT_EQ(replaceCurrentCatalog(), 1);
    EXPECT_EQ(fake.windowTitle, "Tessaran Stars");
    onCharacter(kCharacterUndo);
    EXPECT_EQ(identification(), original);
}

TEST_F(IdentifyTest, SavingWritesTheEditionWholeAskingBeforeReplacingAFile) {
    onCommand(CmdIdentifyFirst);
    const std::string target = work.path("changed.dat");
    fake.fileAnswers = {target};
    onCommand(CmdSaveCatalogAs);
    EXPECT_EQ(fake.windowTitle, "Tessaran Stars");
    // Byte for byte the file read, but for the identification columns of the star's line.
    const std::string before = fileText(programFile(kEditionFileNames[0]));
    const std::string after = fileText(target);
    ASSERT_EQ(after.size(), before.size());
    std::vector<size_t> differing;
    for (size_t i = 0; i < after.size(); ++i)
        if (after[i] != before[i]) differing.push_back(i);
    ASSERT_FALSE(differing.empty());
    EXPECT_LT(differing.back() - differing.front(), 4u);
    EXPECT_EQ(readEdition(target.c_str())->constellations[0].stars[kStar].identification,
              identification());

    // An existing file: Cancel keeps it, Replace writes over it.
    onCommand(CmdIdentifyFirst + 2);
    fake.fileAnswers = {target, target};
    fake.questionAnswers = {1, 0};
    onCommand(CmdSaveCatalogAs);
    EXPECT_EQ(fileText(target), after);
    onCommand(CmdSaveCatalogAs);
    EXPECT_EQ(readEdition(target.c_str())->constellations[0].stars[kStar].identification, 0);
    EXPECT_EQ(std::count_if(fake.log.begin(), fake.log.end(),
                            [](const std::string& l) { return l.rfind("question", 0) == 0; }),
              2);

    // A write that fails leaves the old file whole and nothing beside it.
    const std::string saved = fileText(target);
    currentConstellation()->stars[0].description = "two\nlines";  // cannot be written
    onCommand(CmdIdentifyFirst);
    fake.fileAnswers = {target};
    fake.questionAnswers = {0};
    onCommand(CmdSaveCatalogAs);
    EXPECT_EQ(fake.log.back(), "message The catalog couldn't be saved. | Tessaran Stars");
    EXPECT_EQ(fileText(target), saved);
    for (const auto& entry : std::filesystem::directory_iterator(work.root))
        EXPECT_EQ(entry.path().filename(), "changed.dat");
    EXPECT_EQ(fake.windowTitle, "Edition One* - Tessaran Stars");
}

TEST_F(IdentifyTest, ClosingWithChangesUnsavedAsksSaveDiscardOrCancel) {
    const std::string settings = theApp.settingsPath;
    std::filesystem::remove(settings);
    onCommand(CmdIdentifyFirst);
    takeLog();
    fake.questionAnswers = {2, 0, 0};  // Cancel; Save with the dialog cancelled; Save
    onKeyDown(KeyEscape);
    onKeyDown(KeyEscape);
    EXPECT_FALSE(std::filesystem::exists(settings));
    const std::string target = work.path("kept.dat");
    fake.fileAnswers = {target};
    onKeyDown(KeyEscape);
    EXPECT_TRUE(std::filesystem::exists(settings));
    EXPECT_EQ(readEdition(target.c_str())->constellations[0].stars[kStar].identification,
              identification());
}
