#include <gtest/gtest.h>

#include <cmath>

#include "app/navigation.h"
#include "app/shell.h"
#include "app/state.h"
#include "geometry/vectors.h"
#include "shell_fixture.h"

namespace {

double deg(double radians) { return radians * kRadToDeg; }

}  // namespace

TEST_F(ShellTest, PageUpAndDownWrapThroughTheConstellations) {
    startProgram();
    onKeyDown(KeyPageUp);
    EXPECT_EQ(theApp.constellation, 47);
    EXPECT_EQ(lastStatusLine().substr(0, 30), "Piscis Austrinus  +View (293, ");
    EXPECT_NEAR(deg(theApp.view.centerLat), -20, 1e-4);
    onKeyDown(KeyPageDown);
    EXPECT_EQ(theApp.constellation, 0);
    EXPECT_EQ(lastStatusLine().substr(0, 24), "Ursa Minor  +View (80, 7");
    onKeyDown(KeyPageDown);
    EXPECT_EQ(lastStatusLine().substr(0, 10), "Ursa Major");
    // The menu selects by identifier; the arrow mode, flags and edition stay.
    onCharacter('s');
    onCharacter('3');
    onKeyDown(KeyF2);
    onCommand(108);
    EXPECT_EQ(theApp.constellation, 7);
    EXPECT_EQ(theApp.arrowMode, ArrowsMoveShift);
    EXPECT_EQ(theApp.displayFlags, 0x1B);
    EXPECT_EQ(theApp.catalogs.current, 1);
    EXPECT_EQ(lastStatusLine().substr(0, 4), "Lyra");
}

TEST_F(ShellTest, EveryConstellationKeepsItsOwnViewAndShift) {
    startProgram();
    onCommand(108);  // Lyra
    onKeyDown(KeyLeft);
    onCharacter('.');
    onCharacter('s');
    onKeyDown(KeyUp);
    double lon = theApp.view.centerLon, scale = theApp.view.focalScale;
    float shiftLat = theApp.shift.lat;
    onKeyDown(KeyPageDown);
    EXPECT_NEAR(deg(theApp.view.centerLon), 293, 1e-4);  // Cygnus's own
    onKeyDown(KeyPageUp);
    EXPECT_FLOAT_EQ(float(theApp.view.centerLon), float(lon));
    EXPECT_FLOAT_EQ(float(theApp.view.focalScale), float(scale));
    EXPECT_EQ(theApp.shift.lat, shiftLat);
    // Default View restores the table's view but keeps the shift; arrows move the view again.
    onCharacter('V');
    EXPECT_NEAR(deg(theApp.view.centerLon), 266, 1e-4);
    EXPECT_NEAR(theApp.view.focalScale, 8, 1e-6);
    EXPECT_EQ(theApp.shift.lat, shiftLat);
    EXPECT_EQ(theApp.arrowMode, ArrowsMoveView);
    // Default Shift from the menu sets the table's shift and the shift mode, as S does.
    onCommand(304);
    EXPECT_NEAR(deg(theApp.shift.lon), 2.2, 1e-5);
    EXPECT_EQ(theApp.shift.lat, 0.0f);
    EXPECT_EQ(theApp.arrowMode, ArrowsMoveShift);
    onCharacter('v');
    onCharacter(kCharacterCtrlS);
    EXPECT_EQ(theApp.shift.lon, 0.0f);
    EXPECT_EQ(theApp.arrowMode, ArrowsMoveShift);
    // The saved record itself changes only when the constellation is left.
    EXPECT_NEAR(deg(theApp.conViews[7].shiftLat), deg(shiftLat), 1e-6);
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
    EXPECT_NEAR(deg(theApp.view.centerLat), 95, 1e-5);
    onKeyDown(KeyUp);
    EXPECT_NEAR(deg(theApp.view.centerLat), 105, 1e-5);
    onKeyDown(KeyDown);
    EXPECT_NEAR(deg(theApp.view.centerLat), 95, 1e-5);
    fake.shiftDown = false;

    // Control turns the roll with Left and Right; Up and Down then do nothing.
    fake.controlDown = true;
    onKeyDown(KeyLeft);
    EXPECT_NEAR(deg(theApp.view.roll), -1, 1e-5);
    onKeyDown(KeyRight);
    onKeyDown(KeyRight);
    EXPECT_NEAR(deg(theApp.view.roll), 1, 1e-5);
    repaints = fake.repaints;
    onKeyDown(KeyUp);
    onKeyDown(KeyDown);
    EXPECT_NEAR(deg(theApp.view.centerLat), 95, 1e-5);
    EXPECT_EQ(fake.repaints, repaints);
    // Keys outside the table do nothing.
    onKeyDown('A');
    onKeyDown(0x73);  // F4
    EXPECT_EQ(fake.repaints, repaints);

    // A longitude saved as 360.0 comes back as 360 and the next step brings it into range.
    theApp.conViews[1].viewLon = float(360 * kDegToRad);
    onKeyDown(KeyPageDown);
    fake.controlDown = false;
    onKeyDown(KeyRight);
    EXPECT_NEAR(deg(theApp.view.centerLon), 359, 1e-4);
    onKeyDown(KeyLeft);
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
    EXPECT_NE(lastStatusLine().find("+Shift (1.0, 0.0)"), std::string::npos);
    // Control has no effect in shift mode; Shift makes the step one degree.
    fake.controlDown = true;
    onKeyDown(KeyRight);
    EXPECT_NEAR(deg(theApp.shift.lon), 0.9, 1e-5);
    fake.shiftDown = true;
    onKeyDown(KeyDown);
    EXPECT_NEAR(deg(theApp.shift.lat), -1, 1e-5);
    onKeyDown(KeyUp);
    onKeyDown(KeyUp);
    EXPECT_NEAR(deg(theApp.shift.lat), 1, 1e-5);
    // The view stays where it was.
    EXPECT_NEAR(deg(theApp.view.centerLon), 80, 1e-4);
    EXPECT_EQ(theApp.view.roll, 0.0);
}

TEST_F(ShellTest, ZoomMultipliesTheFocalScale) {
    startProgram();
    for (char c : {'.', '>', '.'}) onCharacter(c);
    EXPECT_NEAR(theApp.view.focalScale, 8 * std::pow(4.0 / 3.0, 3), 1e-9);
    for (char c : {',', '<', ','}) onCharacter(c);
    EXPECT_NEAR(theApp.view.focalScale, 8, 1e-9);
    // The field of view follows at once.
    onCharacter(',');
    EXPECT_NE(lastStatusLine().find("View (80, 73, 0, 6.0)"), std::string::npos);
    EXPECT_NE(lastStatusLine().find("FOV (47.9, 36.9)"), std::string::npos);
}

TEST_F(ShellTest, FunctionKeysSwitchEditionsUnderTheSameView) {
    startProgram();
    onKeyDown(KeyLeft);
    double lon = theApp.view.centerLon;
    const std::string suffix[] = {"Edition One", "Edition Two", "Edition Three"};
    for (int key : {KeyF3, KeyF2, KeyF1, KeyF3}) {
        int repaints = fakePlatform().repaints;
        onKeyDown(key);
        EXPECT_EQ(fakePlatform().repaints, repaints + 1);
        std::string status = lastStatusLine();
        const std::string& name = suffix[key - KeyF1];
        EXPECT_EQ(status.substr(status.size() - name.size()), name);
        EXPECT_EQ(theApp.catalogs.current, key - KeyF1);
        EXPECT_EQ(theApp.view.centerLon, lon);
        EXPECT_EQ(theApp.constellation, 0);
    }
    // The catalog menu selects in the same way.
    onCommand(402);
    EXPECT_EQ(theApp.catalogs.current, 1);
}

TEST_F(ShellTest, ResizingKeepsTheVerticalFieldAndWidensTheHorizontal) {
    startProgram();
    onSize(1200, 600);
    platformRepaint();
    EXPECT_EQ(theApp.frame.width, 1200);
    EXPECT_EQ(fakePlatform().presentedWidth, 1200);
    EXPECT_NE(lastStatusLine().find("FOV (53.1, 28.1)"), std::string::npos);
    EXPECT_EQ(fakePlatform().texts.back().y, 600 - (3 * fakePlatform().textHeight) / 2);
}
