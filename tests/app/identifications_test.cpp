// Changing an identification from the nearest-stars list, undo and redo, the changed mark, saving
// the edition whole or not at all, and saving it before closing when asked.
#include "app/commands.h"
#include "catalog/edition_file.h"
#include "resources/popup_menu.h"
#include "shell_fixture.h"

namespace {

constexpr int kStar = 3;  // of Ursa Minor

int savedIdentification(const std::string& path) {
    const EditionPtr edition = readEdition(path.c_str());
    return edition ? edition->constellations[0].stars[kStar].identification : -1;
}

// A click on star kStar of Ursa Minor, with reference entries 10 and 20 moved beside it.
class IdentifyTest : public ShellTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ShellTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(start());
        const AncientStar& star = centreViewOn(kStar);
        for (int entry : {10, 20}) theApp.reference->stars[entry].dir = star.dir;
        platformRepaint();
        onLeftButtonDown(int(star.screenX + 0.5f), int(star.screenY + 0.5f));
        original = star.identification;
        takeLog();
    }
    int identification() const { return currentConstellation()->stars[kStar].identification; }
    int original = 0;
};

}  // namespace

TEST_F(IdentifyTest, TheListOffersItsReferenceStarsAndUndoRedoRestoreExactly) {
    ASSERT_EQ(fake.identifyChoices.size(), 3u);  // the two reference stars, then none
    onCommand(CmdIdentifyFirst);
    const int first = identification();
    EXPECT_NE(fake.nearestText.find(std::to_string(first)), std::string::npos);
    EXPECT_NE(fake.identifyChoices[0].find("(as now)"), std::string::npos);
    EXPECT_EQ(fake.identifyChoices[1].find("(as now)"), std::string::npos);
    EXPECT_EQ(fake.windowTitle, "Edition One* - Tessaran Stars");
    onCommand(CmdIdentifyFirst + 2);  // none
    EXPECT_EQ(identification(), 0);

    // Ctrl+Z undoes, with Shift redoes; a new change (the other star) ends what could be redone.
    const int steps[][3] = {// Shift, a command before, the identification after
                            {0, 0, first}, {0, 0, original}, {0, 0, original}, {1, 0, first},
                            {0, CmdIdentifyFirst + 1, first}, {0, 0, original}};
    for (const auto& step : steps) {
        if (step[1]) onCommand(step[1]);
        fake.shiftDown = step[0];
        onCharacter(kCharacterUndo);
        EXPECT_EQ(identification(), step[2]) << "step " << &step - steps;
    }
    // An edition read anew forgets its changes.
    fake.fileAnswers = {programFile(kEditionFileNames[0])};
    ASSERT_EQ(replaceCurrentCatalog(), 1);
    fake.shiftDown = true;
    onCharacter(kCharacterUndo);
    EXPECT_EQ(identification(), original);
}

TEST_F(IdentifyTest, SavingWritesTheEditionWholeOrNotAtAllAndClosingAsksFirst) {
    onCommand(CmdIdentifyFirst);
    const std::string target = work.path("changed.dat");
    fake.fileAnswers = {target};
    onCommand(CmdSaveCatalogAs);
    const int saved = identification();
    EXPECT_EQ(savedIdentification(target), saved);

    // A write that fails leaves the old file whole, nothing beside it and the change unsaved.
    onCommand(CmdIdentifyFirst + 2);  // none
    currentConstellation()->stars[0].description = "two\nlines";  // cannot be written
    fake.fileAnswers = {target};
    fake.questionAnswers = {0};
    onCommand(CmdSaveCatalogAs);
    EXPECT_EQ(fake.log.back(), "message The catalog couldn't be saved. | Tessaran Stars");
    EXPECT_EQ(savedIdentification(target), saved);
    for (const auto& entry : std::filesystem::directory_iterator(work.root))
        EXPECT_EQ(entry.path().filename(), "changed.dat");
    EXPECT_EQ(fake.windowTitle, "Edition One* - Tessaran Stars");
    // Save in the question before closing saves the changes first.
    currentConstellation()->stars[0].description.clear();
    fake.questionAnswers = {0};
    fake.fileAnswers = {work.path("kept.dat")};
    onKeyDown(KeyEscape);
    EXPECT_EQ(savedIdentification(work.path("kept.dat")), identification());
}
