// Start-up, the character and menu commands, the popup menu, the colour chooser and replacing an
// edition, driven through the shell's handlers.
#include <cmath>
#include <memory>

#include "app/commands.h"
#include "catalog/precession.h"
#include "geometry/vectors.h"
#include "shell_fixture.h"

static std::vector<int> corners(const ScreenRect& r) { return {r.left, r.top, r.right, r.bottom}; }

TEST_F(ShellTest, StartUpReadsTheSettingsFirstThenShowsUrsaMinorOfTheFirstEdition) {
    ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"),
                              "WindowRect -3000 10 -2000 700\nEpoch 1673941\nPOffsets -2.5 0.25\n"
                              "ConViewArray\n   100.0  60.0   5.0   6.0   0.0   0.0\n"));
    start();
    EXPECT_EQ(corners(shellWindowRect()), (std::vector<int>{-3000, 10, -2000, 700}));
    EXPECT_EQ(std::make_tuple(theApp.constellation, theApp.catalogs.current, theApp.arrowMode),
              std::make_tuple(0, 0, int(ArrowsMoveView)));
    EXPECT_EQ(std::make_pair(std::lround(theApp.view.centerLon * kRadToDeg), theApp.view.focalScale),
              std::make_pair(100L, 6.0));
    // The reference stars are carried to the saved epoch, and the nearest-stars query has it.
    auto expected = std::make_unique<ReferenceCatalog>();
    ASSERT_TRUE(readReferenceCatalog(programFile("catb.bin").c_str(), *expected));
    applyEpoch(*expected, 1673941);
    EXPECT_EQ(theApp.reference->stars[4000].dir.y, expected->stars[4000].dir.y);
    const NearestStarsMode& mode = theApp.nearestStars.mode;
    EXPECT_EQ(std::make_pair(mode.offsetLon, mode.offsetLat),
              std::make_pair(float(-2.5 * kDegToRad), float(0.25 * kDegToRad)));
    // Without a settings file: the work area less an eighth of it at the right and bottom.
    std::filesystem::remove(programFile("maridon.cfg"));
    fake.workArea = {100, 50, 1700, 950};
    start();
    EXPECT_EQ(corners(shellWindowRect()), (std::vector<int>{100, 50, 1500, 838}));
}

TEST_F(ShellTest, CharactersChangeTheStateTheyNameAndOthersAreIgnored) {
    start();
    // The services a command called, then the display flags, arrow mode, focal scale and shift.
    auto outcome = [&] {
        std::string done;
        for (const std::string& line : takeLog()) done += line + "; ";
        return done + formatText("%02X %d %.2f %.1f %.1f", theApp.displayFlags, theApp.arrowMode,
                                 theApp.view.focalScale, theApp.shift.lon * kRadToDeg,
                                 theApp.shift.lat * kRadToDeg);
    };
    // Ursa Minor's default view and flags, then the characters typed before.
    auto from = [&](const char* before) {
        theApp.displayFlags = 0x1F, theApp.arrowMode = ArrowsMoveView;
        applyView(defaultConView(0), theApp.view, theApp.shift);
        viewUpdate(theApp.view);
        for (const char* c = before; *c; ++c) onCharacter(*c);
        takeLog();
    };
    for (int code : {int('m'), int('x'), int('A'), int('0'), int('7'), int('Q'), 0, 255, -1})
        onCharacter(code);
    for (int id : {0, 100, 149, 200, 207, 306, 400, 408, 1004, 1007, 1101, 65535}) onCommand(id);
    EXPECT_EQ(outcome(), "1F 0 8.00 0.8 -0.3");
    const std::string R = "repaint; frame 800x600; ";
    const struct {
        int code;
        const char* before;
        std::string outcome;
    } rows[] = {
        {'1', "", R + "1E 0 8.00 0.8 -0.3"},    {'2', "", R + "1D 0 8.00 0.8 -0.3"},
        {'3', "", R + "1B 0 8.00 0.8 -0.3"},    {'4', "", R + "17 0 8.00 0.8 -0.3"},
        {'5', "", R + "0F 0 8.00 0.8 -0.3"},    {'6', "", R + "3F 0 8.00 0.8 -0.3"},
        {',', "", R + "1F 0 6.00 0.8 -0.3"},    {'.', "", R + "1F 0 10.67 0.8 -0.3"},
        {'s', "", "1F 1 8.00 0.8 -0.3"},        {'v', "s", "1F 0 8.00 0.8 -0.3"},
        {'V', "s.", R + "1F 0 8.00 0.8 -0.3"},  {'S', "\x13", R + "1F 1 8.00 0.8 -0.3"},
        {kCharacterCtrlS, "", R + "1F 1 8.00 0.0 0.0"},
        {'e', "", "epoch dialog; 1F 0 8.00 0.8 -0.3"},
    };
    for (const auto& row : rows) {
        from(row.before);
        onCharacter(row.code);
        EXPECT_EQ(outcome(), row.outcome) << char(row.code);
    }
}

TEST_F(ShellTest, PopupMenuShowsTheStateBeforeEveryDisplay) {
    start();
    onRightButtonDown(120, 45);
    EXPECT_EQ(takeLog(), Log{"popup 120 45"});
    using Marks = std::map<int, bool>;
    EXPECT_EQ(fake.menuChecks, (Marks{{201, true}, {202, true}, {203, true}, {204, true},
                                      {205, true}, {206, false}, {301, true}, {302, false}}));
    for (int code : {'6', '2', 's'}) onCharacter(code);
    onRightButtonDown(0, 0);
    EXPECT_EQ(fake.menuChecks, (Marks{{201, true}, {202, false}, {203, true}, {204, true},
                                      {205, true}, {206, true}, {301, false}, {302, true}}));
}

TEST_F(ShellTest, ColourChooserChangesTheColourOnConfirmAndKeepsItsCustomColours) {
    start();
    onCommand(1005);  // cancelled: nothing changes, no repaint
    EXPECT_EQ(takeLog(), Log{"colour 32 32 64 custom 0 0 0"});
    EXPECT_EQ(getColor(theApp.colors, ColorEclipticGrid), kDefaultEclipticGridColor);
    fake.customColorOnConfirm = makeColor(1, 2, 3);
    fake.colorAnswers = {makeColor(0, 0, 255), kDefaultNumbersColor};
    onCommand(1006);
    EXPECT_EQ(getColor(theApp.colors, ColorEquatorialGrid), makeColor(0, 0, 255));
    EXPECT_EQ(getColor(theApp.colors, ColorEquatorialText), makeColor(127, 127, 255));
    // The same colour confirmed still repaints; the custom colours come back at the next opening.
    onCommand(1003);
    EXPECT_EQ(takeLog(), (Log{"colour 64 32 32 custom 0 0 0", "repaint", "frame 800x600",
                              "colour 64 96 64 custom 1 2 3", "repaint", "frame 800x600"}));
}

TEST_F(ShellTest, ReplacingTheCurrentCatalogKeepsTheOtherSlotsAndTheOldOneOnFailure) {
    start();
    TempDir other;
    ASSERT_TRUE(writeEdition(other.path("better.dat").c_str(), *sampleEdition("A Better Edition")));
    ASSERT_TRUE(writeTextFile(other.path("broken.dat"), "not a catalog\n"));
    EXPECT_EQ(replaceCurrentCatalog(), 0);  // cancelled
    onKeyDown(KeyF2);
    fake.fileAnswers = {other.path("better.dat"), other.path("broken.dat")};
    EXPECT_EQ(replaceCurrentCatalog(), 1);
    onRightButtonDown(5, 5);
    EXPECT_EQ(fake.menuTexts[402], "F2  A Better Edition");
    // No catalog: the message, and the slot keeps its edition; the dialog opens where it was.
    takeLog();
    onCommand(404);
    EXPECT_EQ(takeLog(), (Log{"file Load Catalog | *.dat | " + other.root + "/",
                              "message The new catalog couldn't be loaded. | Tessaran Stars"}));
    EXPECT_EQ(std::make_pair(currentEditionName(theApp.catalogs), theApp.catalogs.slots[0]->name),
              std::make_pair(std::string("A Better Edition"), std::string("Edition One")));
}
