// The status text and cursor coordinate formatters, and where the shell draws them.
#include <climits>
#include <cmath>

#include "geometry/vectors.h"
#include "shell_fixture.h"

TEST(StatusText, GroupsAndCoordinatesAreRoundedOrTruncatedAndSigned) {
    const struct {
        double lon, lat, roll, scale, width, shiftLon, shiftLat;  // degrees; 600 pixels high
        int mode;
        const char* text;
    } cases[] = {
        {80, 73, 0, 8, 800, 0.8, -0.3, 0,
         "U  +View (80, 73, 0, 8.0)  FOV (36.9, 28.1)   Shift (0.8, -0.3)  E"},
        {80, 73, 0, 8, 800, 0.8, -0.3, 1,
         "U   View (80, 73, 0, 8.0)  FOV (36.9, 28.1)  +Shift (0.8, -0.3)  E"},
        {359.6, -0.6, 0.4, 2, 1200, -0.06, 0.04, 0,
         "U  +View (360, -1, 0, 2.0)  FOV (126.9, 90.0)   Shift (-0.1, 0.0)  E"},
        {-0.4, 0.6, -359.6, 4.5, 600, -0.04, 0.16, 1,
         "U   View (0, 1, -360, 4.5)  FOV (47.9, 47.9)  +Shift (0.0, 0.2)  E"},
    };
    for (const auto& c : cases) {
        SkyView v{};
        v.centerLon = c.lon * kDegToRad, v.centerLat = c.lat * kDegToRad;
        v.roll = c.roll * kDegToRad;
        v.focalScale = c.scale, v.width = int(c.width), v.height = 600;
        EXPECT_EQ(formatStatusText(v, "U", float(c.shiftLon * kDegToRad),
                                   float(c.shiftLat * kDegToRad), "E", c.mode), c.text);
    }
    for (auto [value, rounded] : {std::pair{2.5, 3}, {-2.5, -3}, {0.49, 0}, {-0.4, 0},
                                  {1e300, INT_MAX}, {-1e300, INT_MIN}, {std::nan(""), 0}})
        EXPECT_EQ(roundedInteger(value), rounded) << value;
    // Cursor coordinates: the first value truncated, the second rounded and signed.
    const struct {
        float first, second;
        const char* text;
    } coordinates[] = {{123.999f, -0.999f, "    123\xBA" "59' -1\xBA" "00'"},
                       {10.5f, -0.005f, "    10\xBA" "30' -0\xBA" "00'"},
                       {0.0f, 45.25f, "    0\xBA" "00'  45\xBA" "15'"},
                       {-20.5f, 5.0f / 60, "    20\xBA" "30'  0\xBA" "05'"}};
    for (const auto& c : coordinates)
        EXPECT_EQ(formatCoordinateLine(c.first, c.second), c.text) << c.first;
}

TEST_F(ShellTest, StatusLineIsDrawnOverTheBottomEdgeAndCursorCoordinatesOnlyInside) {
    start();
    // The texts drawn since the last look: position, colour and background, and the text.
    auto drawn = [&] {
        std::vector<std::string> out;
        for (const DrawnText& t : fake.texts)
            out.push_back(formatText("%d %d %06X %d %s", t.x, t.y, t.color, t.opaqueBlackBackground,
                                     t.text.substr(0, 10).c_str()));
        fake.texts.clear();
        return out;
    };
    fake.texts.clear();
    onCharacter('3');  // no star numbers among the texts
    // The cursor off the window: the status line alone.
    EXPECT_EQ(drawn(), Log{"10 579 80FFFF 1 Ursa Minor"});
    // The cursor inside: its coordinates too; outside: not.
    fake.cursorKnown = true, fake.cursorX = 400, fake.cursorY = 300;
    platformRepaint();
    EXPECT_EQ(drawn().size(), 2u);
    for (auto [x, y] : {std::pair{800, 300}, {400, 600}, {-1, 300}, {400, -1}}) {
        fake.cursorX = x, fake.cursorY = y;
        platformRepaint();
        EXPECT_EQ(drawn().size(), 1u) << x << "," << y;
    }
}
