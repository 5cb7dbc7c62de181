#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/commands.h"
#include "app/shell.h"
#include "app/state.h"
#include "app/status_text.h"
#include "geometry/vectors.h"
#include "shell_fixture.h"

namespace {

SkyView ursaMinorView(int width, int height) {
    SkyView view{};
    Shift shift;
    applyView(defaultConView(0), view, shift);
    view.width = width;
    view.height = height;
    return view;
}

float radians(double degrees) { return float(degrees * kDegToRad); }

}  // namespace

TEST(StatusText, UrsaMinorAtItsDefaultViewOn800By600) {
    SkyView view = ursaMinorView(800, 600);
    ConView saved = defaultConView(0);
    EXPECT_EQ(formatStatusText(view, "Ursa Minor", saved.shiftLon, saved.shiftLat, "Edition", 0),
              "Ursa Minor  +View (80, 73, 0, 8.0)  FOV (36.9, 28.1)   Shift (0.8, -0.3)  Edition");
    EXPECT_EQ(formatStatusText(view, "Ursa Minor", saved.shiftLon, saved.shiftLat, "Edition", 1),
              "Ursa Minor   View (80, 73, 0, 8.0)  FOV (36.9, 28.1)  +Shift (0.8, -0.3)  Edition");
    // Printing marks neither group.
    EXPECT_EQ(formatStatusText(view, "Ursa Minor", saved.shiftLon, saved.shiftLat, "", -1),
              "Ursa Minor   View (80, 73, 0, 8.0)  FOV (36.9, 28.1)   Shift (0.8, -0.3)  ");
    // A wider window widens only the horizontal field.
    view.width = 1200;
    EXPECT_NE(formatStatusText(view, "Ursa Minor", 0, 0, "", 0).find("FOV (53.1, 28.1)"),
              std::string::npos);
}

TEST(StatusText, ValuesAreRoundedHalfAwayFromZero) {
    SkyView view = ursaMinorView(800, 600);
    view.centerLon = radians(359.6);
    view.centerLat = radians(-0.6);
    view.roll = radians(0.4);
    EXPECT_EQ(formatStatusText(view, "X", radians(-0.06), radians(0.04), "", 0)
                  .substr(0, 28),
              "X  +View (360, -1, 0, 8.0)  ");
    EXPECT_NE(formatStatusText(view, "X", radians(-0.06), radians(0.04), "", 0)
                  .find("Shift (-0.1, 0.0)"),
              std::string::npos);
    // Zero never shows a sign.
    EXPECT_NE(formatStatusText(view, "X", -0.0f, radians(-0.04), "", 0).find("Shift (0.0, 0.0)"),
              std::string::npos);
    EXPECT_EQ(roundedInteger(2.5), 3);
    EXPECT_EQ(roundedInteger(-2.5), -3);
    EXPECT_EQ(roundedInteger(-0.4), 0);
    EXPECT_EQ(roundedInteger(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(roundedInteger(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(roundedInteger(std::nan("")), 0);
}

TEST(StatusText, AnyInputGivesTheWholeText) {
    SkyView view = ursaMinorView(0, 0);
    view.centerLon = 1e30;
    view.focalScale = std::numeric_limits<double>::infinity();
    std::string longName(3000, 'n');
    std::string text = formatStatusText(view, longName.c_str(), std::nanf(""), -1e30f,
                                        longName.c_str(), 7);
    EXPECT_EQ(text.substr(0, 3000), longName);
    EXPECT_EQ(text.substr(text.size() - 3000), longName);
    EXPECT_NE(text.find("View (2147483647,"), std::string::npos);
}

TEST(CursorCoordinates, FirstValueTruncatedSecondRoundedAndSigned) {
    EXPECT_EQ(formatCoordinateLine(123.999f, -0.999f), "    123\xBA" "59' -1\xBA" "00'");
    EXPECT_EQ(formatCoordinateLine(10.5f, -0.005f), "    10\xBA" "30' -0\xBA" "00'");
    EXPECT_EQ(formatCoordinateLine(0.0f, 45.25f), "    0\xBA" "00'  45\xBA" "15'");
    EXPECT_EQ(formatCoordinateLine(359.99f, 89.999f), "    359\xBA" "59'  90\xBA" "00'");
    // Out-of-range values still give a line.
    EXPECT_FALSE(formatCoordinateLine(std::nanf(""), 1e30f).empty());
}

TEST_F(ShellTest, StatusLineAndCursorCoordinatesAreDrawnOverTheBottomEdge) {
    startProgram();
    const FakePlatform& fake = fakePlatform();
    const int h = fake.textHeight;
    std::vector<DrawnText> status = textsStartingWith("Ursa Minor  +View (80, 73, 0, 8.0)");
    ASSERT_EQ(status.size(), 1u);
    EXPECT_EQ(status[0].text,
              "Ursa Minor  +View (80, 73, 0, 8.0)  FOV (36.9, 28.1)   Shift (0.8, -0.3)  Edition One");
    EXPECT_EQ(status[0].x, 10);
    EXPECT_EQ(status[0].y, 600 - (3 * h) / 2);
    EXPECT_EQ(status[0].color, makeColor(255, 255, 128));
    EXPECT_TRUE(status[0].opaqueBlackBackground);
    // The cursor was not over the window: no coordinates.
    EXPECT_TRUE(textsStartingWith("    ").empty());

    // A paint with the cursor at the centre shows the view centre, right-aligned one text
    // height from the right edge.
    fakePlatform().cursorKnown = true;
    fakePlatform().cursorX = 400;
    fakePlatform().cursorY = 300;
    fakePlatform().texts.clear();
    platformRepaint();
    std::vector<DrawnText> lines = textsStartingWith("    ");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text.substr(lines[0].text.size() - 8), "  73\xBA" "00'");
    int w = fake.charWidth * int(lines[0].text.size());
    EXPECT_EQ(lines[0].x, 800 - (h + w));
    EXPECT_EQ(lines[0].y, 600 - (3 * h) / 2);
    EXPECT_EQ(lines[0].color, kStatusTextColor);

    // With the equatorial grid on, the equatorial line is drawn above the ecliptic one.
    fakePlatform().texts.clear();
    onCharacter('6');
    lines = textsStartingWith("    ");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].y, 600 - (3 * h) / 2);
    EXPECT_EQ(lines[1].y, 600 - (5 * h) / 2);
    EXPECT_EQ(lines[1].color, getColor(theApp.colors, ColorEquatorialText));
    EXPECT_EQ(lines[1].color, makeColor(159, 143, 143));
    EXPECT_NE(lines[0].text, lines[1].text);

    // A mouse move draws only the coordinates, for its own point; a cursor outside the client
    // area is not read.
    fakePlatform().texts.clear();
    int repaints = fake.repaints;
    onMouseMove(10, 10);
    EXPECT_EQ(fake.repaints, repaints);
    EXPECT_EQ(fake.texts.size(), 2u);
    EXPECT_EQ(textsStartingWith("Ursa Minor").size(), 0u);
    fakePlatform().cursorX = 800;
    fakePlatform().texts.clear();
    platformRepaint();
    EXPECT_TRUE(textsStartingWith("    ").empty());
}
