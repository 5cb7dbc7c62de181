// The status text and cursor coordinate formatters, and where the shell draws them.
#include <climits>
#include <cmath>

#include "geometry/vectors.h"
#include "shell_fixture.h"

namespace {

float radians(double degrees) { return float(degrees * kDegToRad); }

}  // namespace

TEST(StatusText, GroupsAreRoundedHalfAwayFromZeroAndMarkTheArrowMode) {
    const struct {
        double lon, lat, roll, scale;
        int width, height;
        double shiftLon, shiftLat;
        int mode;
        const char* text;
    } cases[] = {
        {80, 73, 0, 8, 800, 600, 0.8, -0.3, 0,
         "U  +View (80, 73, 0, 8.0)  FOV (36.9, 28.1)   Shift (0.8, -0.3)  E"},
        {80, 73, 0, 8, 800, 600, 0.8, -0.3, 1,
         "U   View (80, 73, 0, 8.0)  FOV (36.9, 28.1)  +Shift (0.8, -0.3)  E"},
        {80, 73, 0, 8, 800, 600, 0.8, -0.3, -1,
         "U   View (80, 73, 0, 8.0)  FOV (36.9, 28.1)   Shift (0.8, -0.3)  E"},
        {359.6, -0.6, 0.4, 2, 1200, 600, -0.06, 0.04, 0,
         "U  +View (360, -1, 0, 2.0)  FOV (126.9, 90.0)   Shift (-0.1, 0.0)  E"},
        {-0.4, 0.6, -359.6, 4.5, 600, 600, -0.04, 0.16, 1,
         "U   View (0, 1, -360, 4.5)  FOV (47.9, 47.9)  +Shift (0.0, 0.2)  E"},
    };
    for (const auto& c : cases) {
        SkyView view{};
        view.centerLon = c.lon * kDegToRad, view.centerLat = c.lat * kDegToRad;
        view.roll = c.roll * kDegToRad, view.focalScale = c.scale;
        view.width = c.width, view.height = c.height;
        EXPECT_EQ(formatStatusText(view, "U", radians(c.shiftLon), radians(c.shiftLat), "E", c.mode),
                  c.text);
    }
    const std::pair<double, int> rounded[] = {{2.5, 3},         {-2.5, -3},       {0.49, 0},
                                              {-0.4, 0},        {1e300, INT_MAX}, {-1e300, INT_MIN},
                                              {std::nan(""), 0}};
    for (const auto& [value, expected] : rounded) EXPECT_EQ(roundedInteger(value), expected) << value;
    // Names of any length and values out of every range still give the whole text.
    SkyView wild{};
    wild.centerLon = 1e30, wild.focalScale = INFINITY;
    const std::string name(3000, 'n');
    const std::string text = formatStatusText(wild, name.c_str(), NAN, -1e30f, name.c_str(), 7);
    EXPECT_EQ(text.rfind(name + "   View (2147483647, "), 0u);
    EXPECT_EQ(text.substr(text.size() - 3002), "  " + name);
}

TEST(CursorCoordinates, FirstValueTruncatedSecondRoundedAndSigned) {
    const struct {
        float first, second;
        const char* text;
    } cases[] = {{123.999f, -0.999f, "    123\xBA" "59' -1\xBA" "00'"},
                 {10.5f, -0.005f, "    10\xBA" "30' -0\xBA" "00'"},
                 {0.0f, 45.25f, "    0\xBA" "00'  45\xBA" "15'"},
                 {359.99f, 89.999f, "    359\xBA" "59'  90\xBA" "00'"},
                 {-20.5f, 5.0f / 60, "    20\xBA" "30'  0\xBA" "05'"}};
    for (const auto& c : cases) EXPECT_EQ(formatCoordinateLine(c.first, c.second), c.text) << c.first;
    EXPECT_FALSE(formatCoordinateLine(NAN, 1e30f).empty());
}

TEST_F(ShellTest, StatusLineAndCursorCoordinatesAreDrawnOverTheBottomEdge) {
    start();
    const int h = fake.textHeight;
    // The paint of start-up: the status line alone, the cursor being off the window.
    auto drawn = [&](const std::string& prefix) {
        std::vector<DrawnText> found;
        for (const DrawnText& t : fake.texts)
            if (t.text.rfind(prefix, 0) == 0) found.push_back(t);
        return found;
    };
    std::vector<DrawnText> lines = drawn("Ursa Minor");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(std::make_tuple(lines[0].x, lines[0].y, lines[0].color, lines[0].opaqueBlackBackground),
              std::make_tuple(10, 600 - 21, makeColor(255, 255, 128), true));
    EXPECT_TRUE(drawn("    ").empty());

    // With the cursor at the centre, the view centre right-aligned one text height from the edge.
    fake.cursorKnown = true, fake.cursorX = 400, fake.cursorY = 300;
    fake.texts.clear();
    platformRepaint();
    lines = drawn("    ");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text.substr(lines[0].text.size() - 8), "  73\xBA" "00'");
    const int w = fake.charWidth * int(lines[0].text.size());
    EXPECT_EQ(std::make_tuple(lines[0].x, lines[0].y, lines[0].color),
              std::make_tuple(800 - h - w, 600 - 21, makeColor(255, 255, 128)));

    // The equatorial grid on: the equatorial line one text height above, in its text colour.
    fake.texts.clear();
    onCharacter('6');
    lines = drawn("    ");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].y, 600 - 21);
    EXPECT_EQ(lines[1].y, 600 - 35);
    EXPECT_EQ(lines[1].color, makeColor(159, 143, 143));
    EXPECT_NE(lines[0].text, lines[1].text);

    // A mouse move draws only the coordinates of its point; a cursor outside is not drawn for.
    fake.texts.clear();
    takeLog();
    onMouseMove(10, 10);
    EXPECT_TRUE(takeLog().empty());
    EXPECT_EQ(fake.texts.size(), 2u);
    EXPECT_TRUE(drawn("Ursa Minor").empty());
    for (auto [x, y] : {std::pair{800, 300}, {400, 600}, {-1, 300}, {400, -1}}) {
        fake.cursorX = x, fake.cursorY = y;
        fake.texts.clear();
        platformRepaint();
        EXPECT_TRUE(drawn("    ").empty()) << x << "," << y;
    }
}
