#include <gtest/gtest.h>

#include <cmath>

#include "app/shell.h"
#include "app/state.h"
#include "geometry/vectors.h"
#include "shell_fixture.h"

namespace {

double deg(double radians) { return radians * kRadToDeg; }

bool statusHas(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST_F(ShellTest, PageUpAndDownWrapThroughTheConstellations) {
    startProgram();
    onKeyDown(KeyPageUp);
    EXPECT_EQ(lastStatusLine().substr(0, 31), "Piscis Austrinus  +View (293, -");
    onKeyDown(KeyPageDown);
    EXPECT_EQ(lastStatusLine().substr(0, 24), "Ursa Minor  +View (80, 7");
    onKeyDown(KeyPageDown);
    EXPECT_EQ(lastStatusLine().substr(0, 10), "Ursa Major");
    // The menu selects by identifier; the arrow mode, flags and edition stay.
    onCharacter('s');
    onCharacter('3');
    onKeyDown(KeyF2);
    onCommand(108);
    EXPECT_EQ(theApp.arrowMode, ArrowsMoveShift);
    EXPECT_EQ(theApp.displayFlags, 0x1B);
    EXPECT_EQ(theApp.catalogs.current, 1);
    EXPECT_EQ(lastStatusLine().substr(0, 19), "Lyra   View (266, 5");
}

TEST_F(ShellTest, EveryConstellationKeepsItsOwnViewAndShift) {
    startProgram();
    onCommand(108);  // Lyra
    onKeyDown(KeyLeft);
    onCharacter('.');
    onCharacter('s');
    onKeyDown(KeyUp);
    onKeyDown(KeyPageDown);
    EXPECT_NEAR(deg(theApp.view.centerLon), 293, 1e-4);  // Cygnus's own
    onKeyDown(KeyPageUp);
    EXPECT_TRUE(statusHas(lastStatusLine(), "View (267, 59, 0, 10.7)")) << lastStatusLine();
    EXPECT_TRUE(statusHas(lastStatusLine(), "Shift (2.2, 0.1)")) << lastStatusLine();
    // Default View restores the table's view but keeps the shift; arrows move the view again.
    onCharacter('V');
    EXPECT_TRUE(statusHas(lastStatusLine(), "+View (266, 59, 0, 8.0)"));
    EXPECT_TRUE(statusHas(lastStatusLine(), " Shift (2.2, 0.1)"));
    // Default Shift from the menu sets the table's shift and the shift mode, as S does.
    onCommand(304);
    EXPECT_TRUE(statusHas(lastStatusLine(), "+Shift (2.2, 0.0)"));
    onCharacter('v');
    onCharacter(kCharacterCtrlS);
    EXPECT_TRUE(statusHas(lastStatusLine(), "+Shift (0.0, 0.0)"));
    // The saved record itself changes only when the constellation is left.
    EXPECT_NEAR(deg(theApp.conViews[7].shiftLat), 0.1, 1e-6);
}

TEST_F(ShellTest, ArrowKeysTurnTheViewAndWrapTheLongitude) {
    startProgram();
    FakePlatform& fake = fakePlatform();
    theApp.view.centerLon = 359.5 * kDegToRad;
    int repaints = fake.repaints;
    onKeyDown(KeyLeft);
    EXPECT_NEAR(deg(theApp.view.centerLon), 0.5, 1e-5);
    EXPECT_EQ(fake.repaints, repaints + 1);
    onKeyDown(KeyRight);
    EXPECT_NEAR(deg(theApp.view.centerLon), 359.5, 1e-5);

    // Ten-degree steps with Shift, over the pole without a stop.
    theApp.view.centerLat = 85 * kDegToRad;
    fake.shiftDown = true;
    onKeyDown(KeyUp);
    onKeyDown(KeyUp);
    EXPECT_NEAR(deg(theApp.view.centerLat), 105, 1e-5);
    onKeyDown(KeyDown);
    EXPECT_NEAR(deg(theApp.view.centerLat), 95, 1e-5);
    fake.shiftDown = false;

    // Control turns the roll with Left and Right; Up and Down then do nothing, nor do other keys.
    fake.controlDown = true;
    onKeyDown(KeyLeft);
    EXPECT_NEAR(deg(theApp.view.roll), -1, 1e-5);
    onKeyDown(KeyRight);
    onKeyDown(KeyRight);
    EXPECT_NEAR(deg(theApp.view.roll), 1, 1e-5);
    repaints = fake.repaints;
    for (int key : {int(KeyUp), int(KeyDown), int('A'), 0x73 /* F4 */}) onKeyDown(key);
    EXPECT_NEAR(deg(theApp.view.centerLat), 95, 1e-5);
    EXPECT_EQ(fake.repaints, repaints);
    fake.controlDown = false;

    // A longitude saved as 360.0 comes back as 360 and the next step brings it into range.
    theApp.conViews[1].viewLon = float(360 * kDegToRad);
    onKeyDown(KeyPageDown);
    onKeyDown(KeyLeft);
    EXPECT_NEAR(deg(theApp.view.centerLon), 1, 1e-4);
}

TEST_F(ShellTest, ArrowKeysInShiftModeMoveTheShiftInSinglePrecision) {
    startProgram();
    FakePlatform& fake = fakePlatform();
    onCharacter(kCharacterCtrlS);
    for (int i = 0; i < 10; ++i) onKeyDown(KeyLeft);
    float sum = 0;
    for (int i = 0; i < 10; ++i) sum += float(0.1 * kDegToRad);
    EXPECT_EQ(theApp.shift.lon, sum);
    EXPECT_TRUE(statusHas(lastStatusLine(), " View (80, 73, 0, 8.0)  FOV (36.9, 28.1)  +Shift (1.0, 0.0)"));
    // Control has no effect in shift mode; Shift makes the step one degree.
    fake.controlDown = true;
    onKeyDown(KeyRight);
    fake.shiftDown = true;
    onKeyDown(KeyDown);
    EXPECT_TRUE(statusHas(lastStatusLine(), "+Shift (0.9, -1.0)")) << lastStatusLine();
    EXPECT_EQ(theApp.view.roll, 0.0);
}

TEST_F(ShellTest, ZoomMultipliesTheFocalScale) {
    startProgram();
    for (char c : {'.', '>', '.'}) onCharacter(c);
    EXPECT_NEAR(theApp.view.focalScale, 8 * std::pow(4.0 / 3.0, 3), 1e-9);
    for (char c : {',', '<', ','}) onCharacter(c);
    EXPECT_NEAR(theApp.view.focalScale, 8, 1e-9);
    onCharacter(',');
    EXPECT_TRUE(statusHas(lastStatusLine(), "View (80, 73, 0, 6.0)  FOV (47.9, 36.9)"));
}

TEST_F(ShellTest, FunctionKeysSwitchEditionsUnderTheSameView) {
    startProgram();
    onKeyDown(KeyLeft);
    const std::string names[] = {"Edition One", "Edition Two", "Edition Three"};
    for (int key : {KeyF3, KeyF2, KeyF1, KeyF3}) {
        int repaints = fakePlatform().repaints;
        onKeyDown(key);
        EXPECT_EQ(fakePlatform().repaints, repaints + 1);
        EXPECT_EQ(lastStatusLine(), "Ursa Minor  +View (81, 73, 0, 8.0)  FOV (36.9, 28.1)   "
                                    "Shift (0.8, -0.3)  " + names[key - KeyF1]);
    }
    onCommand(402);
    EXPECT_EQ(theApp.catalogs.current, 1);
}

TEST_F(ShellTest, ResizingKeepsTheVerticalFieldAndWidensTheHorizontal) {
    startProgram();
    onSize(1200, 600);
    platformRepaint();
    EXPECT_EQ(fakePlatform().presentedWidth, 1200);
    EXPECT_TRUE(statusHas(lastStatusLine(), "FOV (53.1, 28.1)"));
}
