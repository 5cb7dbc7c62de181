#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <vector>

#include "render/raster.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
using Pixels = std::map<std::pair<int, int>, Color>;
Color grey(int level) { return makeColor(level, level, level); }

// A black 64 x 48 frame and the star colours; `record` notes plots instead of drawing them.
struct Raster : testing::Test {
    FrameBuffer frame;
    StarColors starColors;
    RasterTarget target{&frame, &starColors, nullptr};
    static inline std::map<std::pair<int, int>, double> plots;  // the last coverage per pixel
    static inline int plotCount, plotsOutside;

    void SetUp() override { buildStarColors(starColors), blank(64, 48); }
    void blank(int width, int height) {
        frameResize(frame, width, height), frameClear(frame);
        plots.clear(), plotCount = plotsOutside = 0;
    }
    static void record(FrameBuffer& f, int x, int y, Color, double coverage) {
        plots[{x, y}] = coverage, ++plotCount, plotsOutside += !frameContains(f, x, y);
    }
    static double plotAt(int x, int y) { return plots.count({x, y}) ? plots[{x, y}] : 0; }
    // The listed pixels have their colour, every other pixel is black.
    void expectPixels(const Pixels& expected) const {
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x) {
                auto it = expected.find({x, y});
                ASSERT_EQ(frameGetPixel(frame, x, y), it == expected.end() ? kBlack : it->second)
                    << "pixel " << x << ", " << y;
            }
    }
};

}  // namespace

TEST_F(Raster, ColourArithmeticRoundsAndLimitsEachChannel) {
    const struct {
        Color color;
        double k;
        Color scaled;
    } cases[] = {{makeColor(64, 96, 64), 0.5, makeColor(32, 48, 32)}, {grey(1), 0.5, grey(1)},
                 {kWhite, -3, kBlack}, {kWhite, kNaN, kBlack}, {~0u, 1, kWhite},
                 {makeColor(0, 1, 200), 1e300, makeColor(0, 255, 255)}};
    for (const auto& c : cases) EXPECT_EQ(scaleColor(c.color, c.k), c.scaled) << c.k;
    EXPECT_EQ(addColors(makeColor(200, 100, 0), makeColor(100, 100, 5)), makeColor(255, 200, 5));
    EXPECT_EQ(addColors(0xFF000000u, 0x01000000u), kBlack);
    EXPECT_EQ(maxColors(makeColor(10, 200, 30), makeColor(20, 100, 30)), makeColor(20, 200, 30));
    // Ancient circles: grey 160 scaled by (8 - m) / 6.5, and a fixed blue for the nebulous code.
    for (auto [m, c] : {std::pair{3.f, grey(123)}, {6.5f, grey(37)}, {7.f, makeColor(36, 48, 80)}})
        EXPECT_EQ(ancientCircleColor(m), c) << m;
}

TEST_F(Raster, DiscsRampOverOnePixelAcrossTheRimAndStarDotsFollowTheMagnitude) {
    // Radius 0.5 on a pixel centre: the neighbours sit exactly on the ramp's outer end.
    drawDisc(frame, 10.5, 10.5, 0.5, kWhite, record);
    EXPECT_EQ(plotCount, 1);
    EXPECT_EQ(plotAt(10, 10), 1.0);
    // Dots add; magnitude 5.5 is radius 0.5 dimmed by 1.25 / 1.75; an unknown entry is white.
    blank(64, 48);
    starColors.entries[5] = makeColor(100, 0, 0);
    drawStarDot(target, 10.5f, 10.5f, 5.5f, 0);
    for (int entry : {0, 0, 5, 5}) drawStarDot(target, entry ? 30.5f : 20.5f, 10.5f, 5, entry);
    drawStarDot(target, 40.5f, 10.5f, 5, 12345);
    expectPixels({{{10, 10}, grey(182)}, {{20, 10}, kWhite}, {{30, 10}, makeColor(200, 0, 0)},
                  {{40, 10}, kWhite}});
    // Magnitude 3 is radius 1.5.
    ReferenceStar star;
    star.screenX = star.screenY = 20.5f, star.magnitude = 3, star.color = 1;
    drawReferenceStar(target, star);
    EXPECT_EQ(frameGetPixel(frame, 21, 20), makeColor(255, 51, 0));
    EXPECT_EQ(frameGetPixel(frame, 21, 21), makeColor(149, 30, 0));  // 2 - sqrt 2 of it
    EXPECT_EQ(frameGetPixel(frame, 22, 20), kBlack);
}

TEST_F(Raster, RingsHaveATriangularProfileCutInsideAlongTheAxes) {
    blank(100, 100);
    framePutPixel(frame, 59, 50, makeColor(250, 0, 0));
    drawRing(frame, 50.5, 50.5, 9.4, kWhite);  // centred on a pixel centre: whole ex and ey
    // 0.4 inside (by maximum), 0.6 outside on both sides, 1.6 outside; 1.4 inside stays dark on
    // an axis, while on the diagonals the inner flank is drawn to the profile's end.
    Pixels expected = {{{59, 50}, makeColor(250, 191, 191)}, {{60, 50}, grey(159)},
                       {{40, 50}, grey(159)}, {{61, 50}, kBlack}, {{58, 50}, kBlack},
                       {{50, 42}, kBlack}, {{50, 50}, kBlack}};
    for (int dy : {-6, 6})
        for (int dx : {-6, -5, 5, 6}) expected[{50 + dx, 50 + dy}] = grey(dx * dx > 25 ? 109 : 2);
    for (auto [p, c] : expected)
        EXPECT_EQ(frameGetPixel(frame, p.first, p.second), c) << p.first << ", " << p.second;
}

TEST_F(Raster, LinesAreThreePixelsAcrossAndFadeOverOneAndAHalfFromTheirAxis) {
    drawLine(frame, 10, 20, 30, 20, kIdLineColor, plotMax);
    drawLine(frame, 40, 40, 40.24, 40.32, kWhite, plotMax);  // 0.4 long: nothing
    Pixels expected;
    for (int i = 0; i <= 20; ++i) {
        expected[{10 + i, 19}] = expected[{10 + i, 21}] = makeColor(21, 32, 21);  // a third
        expected[{10 + i, 20}] = kIdLineColor;
    }
    expectPixels(expected);
    // Slope 1/2 (and 2): the walk steps where its error reaches exactly 0, so columns 11 and 13
    // centre on the pixel nearer the axis.
    for (bool steep : {false, true}) {
        blank(64, 48);
        steep ? drawLine(frame, 10.2, 10, 12.2, 14, kWhite, record)
              : drawLine(frame, 10, 10.2, 14, 12.2, kWhite, record);
        for (auto [a, b] : {std::pair{11, 12}, {13, 13}})
            EXPECT_NEAR(steep ? plotAt(b, a) : plotAt(a, b), 1 - 1.3 / std::sqrt(1.25) / 1.5, 1e-9);
    }
    // On the top row no pixel is plotted above it, on the last none below.
    blank(64, 48);
    drawLine(frame, 5, 0, 25, 0, kWhite, record), drawLine(frame, 5, 47, 25, 47, kWhite, record);
    EXPECT_EQ(plotCount, 2 * 2 * 21);
}

TEST_F(Raster, GridPolylinesJoinTheirPointsInTheCurrentLineColourWithoutBrighteningJoints) {
    ColorTable colors;
    colors.entries[ColorCurrentLine] = makeColor(100, 50, 20);
    target.colors = &colors;
    const ScreenPoint corner[] = {{10, 10}, {20, 10}, {20, 20}};
    framePolylineSink(&target, corner, 1);
    expectPixels({});
    framePolylineSink(&target, corner, 3);
    for (auto [x, y, lit] : {std::tuple{20, 10, true}, {15, 10, true}, {20, 15, true},
                             {20, 20, true}, {21, 21, false}, {25, 10, false}, {9, 10, false}})
        EXPECT_EQ(frameGetPixel(frame, x, y), lit ? colors.entries[ColorCurrentLine] : kBlack)
            << x << ", " << y;
}

TEST_F(Raster, HostileSizesNeverHangOrLeaveTheFrame) {
    for (double bad : {kNaN, kInf, -kInf}) {
        drawDisc(frame, bad, 10, 2, kWhite, plotAdd), drawDisc(frame, 10, 10, bad, kWhite, plotAdd);
        drawRing(frame, 10, bad, 5, kWhite), drawRing(frame, 10, 10, bad, kWhite);
        drawLine(frame, 10, 10, bad, 12, kWhite, plotMax);
        drawLine(frame, bad, bad, 10, 12, kWhite, plotMax);
    }
    drawDisc(frame, 1e300, -1e300, 5, kWhite, plotAdd);
    drawRing(frame, 32, 24, 1e12, kWhite);  // every pixel deep inside
    drawStarDot(target, 50, 10, std::numeric_limits<float>::quiet_NaN(), 0);
    drawStarDot(target, 1e30f, 10, 1, 0);
    expectPixels({});
    // Lines reaching far beyond the frame walk only the frame, on their true axis.
    drawLine(frame, -1e9, -1e9, 1e9, 1e9, kWhite, record);
    for (auto [p, c] : plots)
        EXPECT_NEAR(c, 1 - std::abs(p.first - p.second) / std::sqrt(4.5), 1e-6);
    EXPECT_TRUE(plots.count({47, 47}) && plotCount <= 3 * 48 && plotsOutside == 0);
    drawDisc(frame, 32, 24, 1e12, kWhite, plotAdd);  // covers the frame, visiting only it
    EXPECT_EQ(std::count(frame.pixels.begin(), frame.pixels.end(), 255), 64 * 48 * 3);
}

// At ratio 2 a shape's core widens by half its width on each side while each edge keeps its
// ratio-1 fade: a vertical line on column 20, and a ring of radius 10 about (20.5, 20.5) read on
// its right, on row 20.
TEST(DeviceRatio, EachEdgeOfAShapeAtRatioTwoIsTheEdgeAtRatioOneMovedOutwardByHalfItsWidth) {
    for (bool ring : {false, true}) {
        const double halfFade = ring ? 0.8 : 0.75;
        const int axis = ring ? 30 : 20;
        auto drawn = [&](double move, double ratio) {
            FrameBuffer frame;
            frameResize(frame, 41, 41), frameClear(frame);
            ring ? drawRing(frame, 20.5, 20.5, 10 + move, kWhite, ratio)
                 : drawLine(frame, 20 + move, 2, 20 + move, 38, kWhite, plotMax, ratio);
            std::vector<int> row;
            for (int x = 0; x < 41; ++x) row.push_back(colorBlue(frameGetPixel(frame, x, 20)));
            return row;
        };
        const std::vector<int> wide = drawn(0, 2), outer = drawn(halfFade, 1),
                               inner = drawn(-halfFade, 1);
        for (int x = ring ? 21 : 0; x < 41; ++x) {
            const int edge = x > axis + halfFade ? outer[x] : x < axis - halfFade ? inner[x] : 255;
            EXPECT_EQ(wide[x], edge) << (ring ? "ring" : "line") << ", column " << x;
        }
    }
}
