#include <gtest/gtest.h>

#include <map>

#include "app/commands.h"
#include "app/shell.h"
#include "app/startup.h"
#include "app/state.h"
#include "geometry/vectors.h"
#include "resources/popup_menu.h"
#include "shell_fixture.h"

namespace {

std::vector<int> corners(const ScreenRect& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

TEST_F(ShellTest, StartUpWithoutTheThirdEditionFailsAndWritesNoSettings) {
    writeProgramCatalogs();
    std::filesystem::remove(programFile("cat3.dat"));
    const std::string settings = "Epoch 1673941\nWindowRect 1 2 3 4\n";
    ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"), settings));
    EXPECT_FALSE(startUp(exePath()));
    const FakePlatform& fake = fakePlatform();
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, "The catalog files couldn't be loaded.");
    EXPECT_EQ(fake.messages[0].caption, "Tessaran Stars");
    EXPECT_EQ(fake.repaints, 0);
    EXPECT_EQ(readWholeFile(programFile("maridon.cfg")), settings);

    // A damaged reference catalogue fails the same way.
    resetAppState();
    writeProgramCatalogs();
    ASSERT_TRUE(writeTextFile(programFile("catb.bin"), "short"));
    EXPECT_FALSE(startUp(exePath()));
    EXPECT_EQ(fake.messages.size(), 2u);
}

TEST_F(ShellTest, StartUpShowsUrsaMinorFromTheFirstEditionAtTheSavedPlace) {
    ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"),
                              "WindowRect -3000 10 -2000 700\nConViewArray\n"
                              "   100.0  60.0   5.0   6.0   0.0   0.0\n"));
    startProgram();
    EXPECT_EQ(corners(shellWindowRect()), (std::vector<int>{-3000, 10, -2000, 700}));
    EXPECT_EQ(lastStatusLine(),
              "Ursa Minor  +View (100, 60, 5, 6.0)  FOV (47.9, 36.9)   Shift (0.0, 0.0)  Edition One");
    EXPECT_EQ(fakePlatform().presentedWidth, 800);
    EXPECT_EQ(fakePlatform().presentedHeight, 600);
    EXPECT_TRUE(fakePlatform().messages.empty());

    // Without a settings file the window takes seven eighths of the work area.
    std::filesystem::remove(programFile("maridon.cfg"));
    resetAppState();
    resetFakePlatform();
    fakePlatform().workArea = {100, 50, 1700, 950};
    startProgram();
    EXPECT_EQ(corners(shellWindowRect()), (std::vector<int>{100, 50, 1500, 838}));
}

TEST_F(ShellTest, ClosingStoresTheViewOnScreenAndTheNextRunStartsFromIt) {
    startProgram();
    onCharacter('s');
    onKeyDown(KeyUp);      // Ursa Minor's shift
    onKeyDown(KeyPageUp);  // Piscis Austrinus
    onCharacter('v');
    onKeyDown(KeyRight);
    onCharacter('.');
    setColor(theApp.colors, ColorEclipticGrid, makeColor(10, 20, 30));
    fakePlatform().outerRectOnClose = {40, 30, 840, 660};
    onCommand(900);  // Exit
    EXPECT_EQ(fakePlatform().closeRequests, 1);

    resetAppState();
    resetFakePlatform();
    startProgram();
    EXPECT_EQ(corners(shellWindowRect()), (std::vector<int>{40, 30, 840, 660}));
    EXPECT_EQ(getColor(theApp.colors, ColorEclipticGrid), makeColor(10, 20, 30));
    // Every run starts on Ursa Minor with the arrows on the view.
    EXPECT_EQ(lastStatusLine().substr(0, 54), "Ursa Minor  +View (80, 73, 0, 8.0)  FOV (36.9, 28.1)  ");
    EXPECT_NE(lastStatusLine().find(" Shift (0.8, -0.2)"), std::string::npos);
    onKeyDown(KeyPageUp);
    EXPECT_EQ(lastStatusLine().substr(0, 43), "Piscis Austrinus  +View (292, -20, 0, 10.7)");
}

TEST_F(ShellTest, CharactersAndMenuItemsActAndUnknownOnesDoNothing) {
    startProgram();
    FakePlatform& fake = fakePlatform();
    int repaints = fake.repaints;
    for (int code : {int('m'), int('x'), int('A'), int('0'), int('7'), int('Q'), 0, 255, -1})
        onCharacter(code);
    for (int command : {0, 100, 149, 200, 207, 306, 400, 406, 1004, 1007, 1101, 65535})
        onCommand(command);
    EXPECT_EQ(fake.repaints, repaints);
    EXPECT_EQ(theApp.displayFlags, 0x1F);
    EXPECT_EQ(theApp.constellation, 0);
    EXPECT_TRUE(fake.aboutBoxTimeouts.empty());

    // a and the menu's About open the modal about box.
    onCharacter('a');
    onCommand(800);
    EXPECT_EQ(fake.aboutBoxTimeouts, (std::vector<int>{0, 0}));
    EXPECT_EQ(fake.repaints, repaints);

    // 1 to 6 and 201 to 206 toggle the display elements, each with one repaint.
    onCharacter('6');
    EXPECT_EQ(theApp.displayFlags, 0x3F);
    onCharacter('6');
    for (int n = 1; n <= 6; ++n) onCommand(200 + n);
    EXPECT_EQ(theApp.displayFlags, 0x20);
    EXPECT_EQ(fake.repaints, repaints + 8);

    // The arrow mode redraws only the status line.
    fake.texts.clear();
    onCommand(302);
    EXPECT_EQ(fake.repaints, repaints + 8);
    ASSERT_EQ(fake.texts.size(), 1u);
    EXPECT_NE(fake.texts[0].text.find("  +Shift ("), std::string::npos);
}

TEST_F(ShellTest, PopupMenuShowsTheStateBeforeEveryDisplay) {
    startProgram();
    FakePlatform& fake = fakePlatform();
    onRightButtonDown(120, 45);
    EXPECT_EQ(fake.popupsShown, 1);
    EXPECT_EQ(fake.popupX, 120);
    EXPECT_EQ(fake.popupY, 45);
    using Marks = std::map<int, bool>;
    EXPECT_EQ(fake.menuChecks, (Marks{{201, true}, {202, true}, {203, true}, {204, true},
                                      {205, true}, {206, false}, {301, true}, {302, false}}));
    EXPECT_EQ(fake.menuTexts, (std::map<int, std::string>{{401, "F1  Edition One"},
                                                           {402, "F2  Edition Two"},
                                                           {403, "F3  Edition Three"}}));
    onCharacter('6');
    onCharacter('2');
    onCharacter('s');
    onRightButtonDown(0, 0);
    EXPECT_EQ(fake.menuChecks, (Marks{{201, true}, {202, false}, {203, true}, {204, true},
                                      {205, true}, {206, true}, {301, false}, {302, true}}));
}

TEST(PopupMenuTable, HoldsEveryItemOnceInOrderWithBalancedSubmenus) {
    std::vector<int> commands;
    std::vector<std::string> submenus;
    int depth = 0, separators = 0;
    for (int i = 0; i < kPopupMenuSize; ++i) {
        const PopupMenuEntry& entry = kPopupMenu[i];
        if (entry.kind == PopupSubmenu) submenus.push_back(entry.text), ++depth;
        if (entry.kind == PopupEnd) --depth;
        if (entry.kind == PopupSeparator) ++separators;
        ASSERT_TRUE(depth == 0 || depth == 1) << i;
        if (entry.kind != PopupCommand) continue;
        commands.push_back(entry.command);
        if (entry.command <= 148) {
            EXPECT_STREQ(entry.text, kConstellationTable[entry.command - 101].name);
        }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(separators, 4);
    EXPECT_EQ(submenus, (std::vector<std::string>{"Constellations:  North", "Constellations:  Zodiac",
                                                  "Constellations:  South", "Display Elements",
                                                  "Colors", "Arrow keys", "Catalog"}));
    std::vector<int> expected;
    for (int id = 101; id <= 148; ++id) expected.push_back(id);
    for (int id : {201, 202, 203, 204, 205, 206, 1003, 1005, 1006, 301, 302, 303, 304, 305, 401,
                   402, 403, 404, 405, 1100, 500, 800, 900})
        expected.push_back(id);
    EXPECT_EQ(commands, expected);
}

TEST_F(ShellTest, ColorChooserKeepsItsCustomColoursForTheRun) {
    startProgram();
    FakePlatform& fake = fakePlatform();
    int repaints = fake.repaints;
    onCommand(1005);  // cancelled: nothing changes, no repaint
    EXPECT_EQ(fake.colorRequests, (std::vector<Color>{kDefaultEclipticGridColor}));
    EXPECT_EQ(fake.repaints, repaints);
    EXPECT_EQ(getColor(theApp.colors, ColorEclipticGrid), kDefaultEclipticGridColor);

    fake.customColorOnConfirm = makeColor(1, 2, 3);
    fake.colorAnswers.push_back(makeColor(0, 0, 255));
    onCommand(1006);
    EXPECT_EQ(getColor(theApp.colors, ColorEquatorialText), makeColor(127, 127, 255));
    EXPECT_EQ(fake.repaints, repaints + 1);
    // The same colour confirmed still repaints; the custom colours come back at the next opening.
    fake.colorAnswers.push_back(kDefaultNumbersColor);
    onCommand(1003);
    EXPECT_EQ(fake.colorRequests[2], kDefaultNumbersColor);
    EXPECT_EQ(fake.customColorSeen[2], makeColor(1, 2, 3));
    EXPECT_EQ(fake.repaints, repaints + 2);
}

TEST_F(ShellTest, ReplacingTheCurrentCatalogKeepsTheSlotOnFailure) {
    startProgram();
    FakePlatform& fake = fakePlatform();
    TempDir other;
    ASSERT_TRUE(writeTestEdition(other.path("better.dat"), "A Better Edition"));
    ASSERT_TRUE(writeTextFile(other.path("broken.dat"), "not a catalog\n"));

    EXPECT_EQ(replaceCurrentCatalog(), 0);  // cancelled
    ASSERT_EQ(fake.fileRequests.size(), 1u);
    EXPECT_EQ(fake.fileRequests[0].title, "Load Catalog");
    EXPECT_EQ(fake.fileRequests[0].pattern, "*.dat");
    EXPECT_EQ(fake.fileRequests[0].initialDir, "");

    // Slot 2 replaced: slots 1 and 3 keep theirs, the new name shows at once.
    onKeyDown(KeyF2);
    onKeyDown(KeyPageDown);
    fake.fileAnswers.push_back(other.path("better.dat"));
    onCharacter('c');
    EXPECT_EQ(lastStatusLine().substr(0, 10), "Ursa Major");
    EXPECT_EQ(lastStatusLine().substr(lastStatusLine().size() - 18), "  A Better Edition");
    onRightButtonDown(5, 5);
    EXPECT_EQ(fake.menuTexts[401], "F1  Edition One");
    EXPECT_EQ(fake.menuTexts[402], "F2  A Better Edition");
    EXPECT_EQ(fake.menuTexts[403], "F3  Edition Three");

    // A file that is no catalog: the message, and the slot keeps its edition. The dialog
    // starts in the folder of the file chosen before.
    fake.fileAnswers.push_back(other.path("broken.dat"));
    onCommand(404);
    EXPECT_EQ(fake.fileRequests[2].initialDir, other.root + "/");
    ASSERT_EQ(fake.messages.size(), 1u);
    EXPECT_EQ(fake.messages[0].text, "The new catalog couldn't be loaded.");
    EXPECT_EQ(fake.messages[0].caption, "Tessaran Stars");
    EXPECT_EQ(theApp.catalogs.slots[1]->name, "A Better Edition");
    EXPECT_EQ(theApp.catalogs.current, 1);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(work.root));
}

TEST_F(ShellTest, UserGuideIsHandedToTheBrowserWhenItIsThere) {
    startProgram();
    FakePlatform& fake = fakePlatform();
    onCharacter('h');
    ASSERT_TRUE(writeTextFile(programFile("readme.html"), "<html></html>"));
    onCommand(1100);
    ASSERT_TRUE(writeTextFile(workFile("readme.html"), "<html></html>"));
    onCharacter('h');
    EXPECT_EQ(fake.openedDocuments, (std::vector<std::string>{programFile("readme.html"), "readme.html"}));
}
