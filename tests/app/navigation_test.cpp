// View navigation through the key handler: saved views, arrow keys, defaults, editions.
#include "app/navigation.h"
#include "geometry/vectors.h"
#include "shell_fixture.h"

namespace {

double deg(double radians) { return radians * kRadToDeg; }
bool has(const std::string& text, const std::string& part) { return text.find(part) != text.npos; }

// The view centre, roll, focal scale, the shift (degrees) and the arrow mode.
std::string viewState() {
    const SkyView& v = theApp.view;
    return formatText("%.1f %.1f %.1f %.2f | %.1f %.1f | %d", deg(v.centerLon), deg(v.centerLat),
                      deg(v.roll), v.focalScale, deg(theApp.shift.lon), deg(theApp.shift.lat),
                      theApp.arrowMode);
}

}  // namespace

TEST_F(ShellTest, PageKeysWrapAndEveryConstellationKeepsItsOwnViewAndShift) {
    start();
    onCharacter('3');
    onKeyDown(KeyF2);
    // Constellation i: i % 7 one-degree steps north, and a zero shift if odd.
    double lon[kConstellationCount], lat[kConstellationCount];
    Shift shift[kConstellationCount];
    for (int i = 0; i < kConstellationCount; ++i) {
        ASSERT_EQ(theApp.constellation, i);
        lon[i] = theApp.view.centerLon, lat[i] = theApp.view.centerLat;
        for (int k = 0; k < i % 7; ++k) onKeyDown(KeyUp);
        if (i % 2) onCharacter(kCharacterCtrlS), onCharacter('v');
        shift[i] = theApp.shift;
        onKeyDown(KeyPageDown);
    }
    EXPECT_EQ(theApp.constellation, 0);  // past the last: the first again
    for (int i = 0; i < kConstellationCount; ++i) {
        onCommand(101 + i);
        EXPECT_EQ(theApp.view.centerLon, lon[i]) << i;
        EXPECT_NEAR(deg(theApp.view.centerLat - lat[i]), i % 7, 1e-4) << i;
        EXPECT_EQ(std::make_pair(theApp.shift.lon, theApp.shift.lat),
                  std::make_pair(i % 2 ? 0.0f : shift[i].lon, i % 2 ? 0.0f : shift[i].lat)) << i;
    }
    // Below the first: the last; the arrow mode, display flags and edition stay.
    onCharacter('s');
    onCommand(101);
    onKeyDown(KeyPageUp);
    EXPECT_EQ(std::make_tuple(theApp.constellation, theApp.arrowMode, theApp.displayFlags,
                              theApp.catalogs.current),
              std::make_tuple(kConstellationCount - 1, int(ArrowsMoveShift), 0x1B, 1));
}

TEST_F(ShellTest, ArrowKeysMoveTheViewOrTheShiftByTheModifiersAndWrapTheLongitude) {
    start();
    const struct {
        const char* keys;  // the arrow mode (v or s), then S for Shift and C for Control held
        int key;
        double lon, lat, roll;  // degrees the view, or the shift, moves
    } moves[] = {
        {"v", KeyLeft, 1, 0, 0},     {"v", KeyUp, 0, 1, 0},      {"vS", KeyLeft, 10, 0, 0},
        {"vC", KeyLeft, 0, 0, -1},   {"vSC", KeyRight, 0, 0, 10}, {"vC", KeyUp, 0, 0, 0},
        {"s", KeyLeft, 0.1, 0, 0},   {"s", KeyUp, 0, 0.1, 0},     {"sS", KeyUp, 0, 1, 0},
        {"sSC", KeyLeft, 1, 0, 0},   {"v", 0x73 /* F4 */, 0, 0, 0},
    };
    for (const auto& m : moves) {
        onCharacter(m.keys[0]);
        const std::string held = m.keys + 1;
        fake.shiftDown = has(held, "S"), fake.controlDown = has(held, "C");
        const SkyView view = theApp.view;
        const Shift shift = theApp.shift;
        takeLog();
        onKeyDown(m.key);
        const bool onView = m.keys[0] == 'v';
        EXPECT_NEAR(onView ? deg(theApp.view.centerLon - view.centerLon)
                           : deg(theApp.shift.lon - shift.lon), m.lon, 1e-5) << m.keys << m.key;
        EXPECT_NEAR(onView ? deg(theApp.view.centerLat - view.centerLat)
                           : deg(theApp.shift.lat - shift.lat), m.lat, 1e-5) << m.keys << m.key;
        EXPECT_NEAR(deg(theApp.view.roll - view.roll), m.roll, 1e-5) << m.keys << m.key;
        EXPECT_EQ(repaints(), m.lon || m.lat || m.roll ? 1 : 0) << m.keys << m.key;
        EXPECT_EQ(theApp.view.centerLon == view.centerLon, !onView || !m.lon) << m.keys << m.key;
    }
    // The longitude wraps both ways.
    theApp.view.centerLon = 359.5 * kDegToRad;
    onKeyDown(KeyLeft);
    EXPECT_NEAR(deg(theApp.view.centerLon), 0.5, 1e-5);
    onKeyDown(KeyRight);
    EXPECT_NEAR(deg(theApp.view.centerLon), 359.5, 1e-5);
}

TEST_F(ShellTest, DefaultViewKeepsTheShiftAndNeitherDefaultTouchesTheSavedView) {
    start();
    onCommand(108);  // Lyra
    onKeyDown(KeyLeft);
    fake.controlDown = true, onKeyDown(KeyRight), fake.controlDown = false;
    onCharacter('.');
    onCharacter('s');
    onKeyDown(KeyUp);
    onKeyDown(KeyPageDown);
    onKeyDown(KeyPageUp);
    EXPECT_EQ(viewState(), "267.0 59.0 1.0 10.67 | 2.2 0.1 | 1");
    onCharacter('V');
    EXPECT_EQ(viewState(), "266.0 59.0 0.0 8.00 | 2.2 0.1 | 0");
    onCharacter('S');
    EXPECT_EQ(viewState(), "266.0 59.0 0.0 8.00 | 2.2 0.0 | 1");
    EXPECT_NEAR(deg(theApp.conViews[7].shiftLat), 0.1, 1e-6);
    EXPECT_NEAR(deg(theApp.conViews[7].viewLon), 267, 1e-4);
}

TEST_F(ShellTest, EditionKeysSelectTheirSlotAndNoOtherSlotIsSelected) {
    start();
    for (int key : {KeyF3, KeyF2, KeyF1, KeyF3}) {
        onKeyDown(key);
        EXPECT_EQ(theApp.catalogs.current, key - KeyF1);
    }
    takeLog();
    for (int slot : {0, 4}) selectEdition(slot);  // no such slot: nothing happens
    EXPECT_TRUE(takeLog().empty());
    EXPECT_EQ(theApp.catalogs.current, 2);
}
