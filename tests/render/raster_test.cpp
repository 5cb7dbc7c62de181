#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <utility>
#include <vector>

#include "render/raster.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
using Pixels = std::map<std::pair<int, int>, Color>;

// A black 64 x 48 frame with the star colours; `record` notes each plot instead of drawing it.
struct Raster : testing::Test {
    FrameBuffer frame;
    StarColors starColors;
    ColorTable colors;
    RasterTarget target{&frame, &starColors, &colors};
    static inline std::vector<std::pair<int, int>> plotted;
    static inline std::map<std::pair<int, int>, double> coverage;

    void SetUp() override {
        buildStarColors(starColors);
        blank(64, 48);
    }
    void blank(int width, int height) {
        frameResize(frame, width, height);
        frameClear(frame);
        plotted.clear();
        coverage.clear();
    }
    static void record(FrameBuffer&, int x, int y, Color, double c) {
        plotted.push_back({x, y});
        coverage[{x, y}] = c;
    }
    bool allPlotsInside() const {
        for (auto [x, y] : plotted)
            if (!frameContains(frame, x, y)) return false;
        return true;
    }
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

Color grey(int level) { return makeColor(level, level, level); }

}  // namespace

TEST_F(Raster, ColourArithmeticRoundsLimitsAndDropsTheTopByte) {
    const struct {
        Color color;
        double k;
        Color scaled;
    } cases[] = {{makeColor(64, 96, 64), 0.5, makeColor(32, 48, 32)}, {kWhite, 2, kWhite},
                 {makeColor(10, 20, 30), 0, kBlack},  {grey(1), 0.5, grey(1)},
                 {makeColor(3, 0, 0), 0.49, makeColor(1, 0, 0)},  {kWhite, -3, kBlack},
                 {kWhite, kNaN, kBlack},  {makeColor(0, 1, 200), 1e300, makeColor(0, 255, 255)},
                 {0xFF000000u | kWhite, 1, kWhite}};
    for (const auto& c : cases) EXPECT_EQ(scaleColor(c.color, c.k), c.scaled) << c.k;
    EXPECT_EQ(addColors(makeColor(200, 100, 0), makeColor(100, 100, 5)), makeColor(255, 200, 5));
    EXPECT_EQ(addColors(0xFF000000u, 0x01000000u), kBlack);
    EXPECT_EQ(maxColors(makeColor(10, 200, 30), makeColor(20, 100, 30)), makeColor(20, 200, 30));
}

TEST_F(Raster, DiscCoverageRampsOverOnePixelAcrossTheRimAndStaysInTheFrame) {
    // Radius 0.5 on a pixel centre: the edge neighbours sit exactly on the ramp's outer end.
    drawDisc(frame, 10.5, 10.5, 0.5, kWhite, record);
    EXPECT_EQ(coverage, (std::map<std::pair<int, int>, double>{{{10, 10}, 1.0}}));
    // Radius 2: 9 pixels within 1.5 of the centre, 4 on the rim (0.5), 8 at sqrt 5.
    blank(64, 48);
    drawDisc(frame, 20.5, 20.5, 2, kWhite, record);
    EXPECT_EQ(plotted.size(), 21u);
    for (auto [p, c] : coverage)
        EXPECT_DOUBLE_EQ(c, std::min(1.0, 2.5 - std::hypot(p.first - 20, p.second - 20)));
    // Near a corner only pixels of the frame are visited, top to bottom, left to right.
    blank(64, 48);
    drawDisc(frame, 0.2, 47.7, 3, kWhite, record);
    EXPECT_TRUE(!plotted.empty() && allPlotsInside());
    EXPECT_TRUE(std::is_sorted(plotted.begin(), plotted.end(), [](auto a, auto b) {
        return std::make_pair(a.second, a.first) < std::make_pair(b.second, b.first);
    }));
}

TEST_F(Raster, StarDotsGrowAndDimWithMagnitudeAndAddUp) {
    starColors.entries[5] = makeColor(100, 0, 0);
    drawStarDot(target, 10.5f, 10.5f, 5.5f, 0);  // radius 0.5 dimmed by 1.25 / 1.75
    for (int entry : {0, 0, 5, 5}) drawStarDot(target, entry ? 30.5f : 20.5f, 10.5f, 5, entry);
    drawStarDot(target, 40.5f, 10.5f, 5, 12345);  // unknown colour entry: white
    drawStarDot(target, 50, 10, std::numeric_limits<float>::quiet_NaN(), 0);
    drawStarDot(target, 1e30f, 10, 1, 0);
    expectPixels({{{10, 10}, grey(182)}, {{20, 10}, kWhite}, {{30, 10}, makeColor(200, 0, 0)},
                  {{40, 10}, kWhite}});

    // Magnitude 3 is radius 1.5; magnitude 5 and just fainter agree at the boundary.
    blank(64, 48);
    ReferenceStar star;
    star.screenX = star.screenY = 20.5f;
    star.magnitude = 3;
    star.color = 1;
    drawReferenceStar(target, star);
    const Color red = makeColor(255, 51, 0);
    EXPECT_EQ(frameGetPixel(frame, 21, 20), red);
    EXPECT_EQ(frameGetPixel(frame, 21, 21), scaleColor(red, 2 - std::sqrt(2.0)));
    EXPECT_EQ(frameGetPixel(frame, 22, 20), kBlack);
    blank(64, 48);
    drawStarDot(target, 12.3f, 7.8f, 5.0f, 1);
    const std::vector<uint8_t> atFive = frame.pixels;
    blank(64, 48);
    drawStarDot(target, 12.3f, 7.8f, 5.0001f, 1);
    EXPECT_TRUE(frame.pixels == atFive);
}

TEST_F(Raster, RingsHaveATriangularProfileCutInsideAlongTheAxes) {
    blank(100, 100);
    framePutPixel(frame, 59, 50, makeColor(250, 0, 0));
    drawRing(frame, 50.5, 50.5, 9.4, kWhite);  // centred on a pixel centre: whole ex and ey
    EXPECT_EQ(frameGetPixel(frame, 59, 50), makeColor(250, 191, 191));  // 0.4 inside, by max
    EXPECT_EQ(frameGetPixel(frame, 60, 50), grey(159));                 // 0.6 outside
    EXPECT_EQ(frameGetPixel(frame, 61, 50), kBlack);                    // 1.6 outside
    // 1.4 inside on an axis (|ex| + |ey| = 8 < 8.4) is left dark, while on the diagonal the
    // inner flank runs to the profile's end: sqrt 72 and sqrt 61 from the centre.
    EXPECT_EQ(frameGetPixel(frame, 58, 50), kBlack);
    EXPECT_EQ(frameGetPixel(frame, 50, 42), kBlack);
    EXPECT_EQ(frameGetPixel(frame, 56, 56), grey(109));
    EXPECT_EQ(frameGetPixel(frame, 55, 56), grey(2));
    EXPECT_EQ(frameGetPixel(frame, 50, 50), kBlack);

    // Rows are scanned only near the annulus; the result is the plain scan of the whole square.
    const double rings[][3] = {{20.5, 20.5, 0.3}, {33.7, 20.1, 1.6}, {31.3, 24.8, 9.4},
                               {30.9, 25.2, 30.7}, {-20.3, 40, 35}, {-1e6, 24.5, 1e6 + 60.5}};
    for (auto [cx, cy, r] : rings) {
        blank(80, 50);
        drawRing(frame, cx, cy, r, kWhite);
        int lit = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 80; ++x) {
                double ex = cx - (x + 0.5), ey = cy - (y + 0.5);
                double g = std::fabs(std::hypot(ex, ey) - r);
                bool inside = r - 1 > std::fabs(ex) + std::fabs(ey);
                Color want = inside || g >= 1.6 ? kBlack : scaleColor(kWhite, (1.6 - g) / 1.6);
                lit += want != kBlack;
                ASSERT_EQ(frameGetPixel(frame, x, y), want) << cx << " " << r << ": " << x << " " << y;
            }
        EXPECT_GT(lit, 0);
    }
}

TEST_F(Raster, LinesAreThreePixelsAcrossFadingToNothingAtOneAndAHalf) {
    drawLine(frame, 10, 20, 30, 20, kIdLineColor, plotMax);
    drawLine(frame, 40, 10, 50, 20, kWhite, plotMax);        // diagonal: sides at sqrt 0.5
    drawLine(frame, 40, 40, 40.24, 40.32, kWhite, plotMax);  // 0.4 long: nothing
    Pixels expected;
    for (int i = 0; i <= 20; ++i) {
        expected[{10 + i, 19}] = expected[{10 + i, 21}] = makeColor(21, 32, 21);  // a third
        expected[{10 + i, 20}] = kIdLineColor;
    }
    for (int i = 0; i <= 10; ++i) {
        expected[{39 + i, 10 + i}] = expected[{41 + i, 10 + i}] = grey(135);
        expected[{40 + i, 10 + i}] = kWhite;
    }
    expectPixels(expected);
    // Half a pixel lower the axis runs between rows 20 and 21; row 22 lies at 1.5, unplotted.
    blank(64, 48);
    drawLine(frame, 10, 20.5, 30, 20.5, kWhite, record);
    EXPECT_EQ(plotted.size(), 42u);
    for (auto [p, c] : coverage) EXPECT_TRUE(c == 2.0 / 3 && p.second / 2 == 10) << p.second;
    // 0.5 long, both ends in pixel (10, 10): one row of the mostly vertical walk.
    blank(64, 48);
    drawLine(frame, 10.0, 10.0, 10.3, 10.4, kWhite, record);
    EXPECT_EQ(plotted.size(), 3u);
    EXPECT_EQ((coverage[{10, 10}]), 1.0);
    EXPECT_NEAR((coverage[{9, 10}]), 0.7 / 1.5, 1e-12);  // 0.8 from the axis
    EXPECT_NEAR((coverage[{11, 10}]), 0.7 / 1.5, 1e-12);
}

TEST_F(Raster, SlopedEdgeAndCrossingLinesFollowTheirAxisInsideTheFrame) {
    // The second line leaves the frame: its walk stops at the edge but keeps the true slope.
    const double lines[][6] = {{3.2, 4.7, 40.6, 17.1, 3, 41}, {10.4, 10.2, 100.3, 55.1, 10, 63}};
    for (const auto& [x0, y0, x1, y1, first, last] : lines) {
        blank(64, 48);
        drawLine(frame, x0, y0, x1, y1, kWhite, plotMax);
        for (int x = 0; x < 64; ++x) {
            bool onAxis = false;
            for (int y = 0; y < 48; ++y) {
                Color pixel = frameGetPixel(frame, x, y);
                if (pixel == kBlack) continue;
                double dist = std::fabs((y - y0) * (x1 - x0) - (x - x0) * (y1 - y0)) /
                              std::hypot(x1 - x0, y1 - y0);
                ASSERT_LT(dist, 1.5) << x << ", " << y;
                EXPECT_NEAR(colorRed(pixel), 255 * (1.5 - dist) / 1.5, 0.51) << x << ", " << y;
                onAxis = onAxis || dist <= 0.5;
            }
            EXPECT_EQ(onAxis, x >= first && x <= last) << "column " << x;
        }
    }
    // Along the border rows and columns no third pixel is plotted beyond the edge.
    blank(64, 48);
    for (const auto& [x0, y0, x1, y1] : {std::array{5, 0, 25, 0}, {5, 47, 25, 47}, {0, 3, 0, 17},
                                         {63, 3, 63, 17}})
        drawLine(frame, x0, y0, x1, y1, kWhite, record);
    EXPECT_EQ(plotted.size(), 2u * (21 + 21 + 15 + 15));
    EXPECT_TRUE(allPlotsInside());
    // Crossing lines keep the larger value, not the sum.
    const Color c = makeColor(100, 150, 200);
    drawLine(frame, 10, 20, 30, 20, c, plotMax);
    drawLine(frame, 20, 10, 20, 30, c, plotMax);
    EXPECT_EQ(frameGetPixel(frame, 20, 20), c);
    EXPECT_EQ(frameGetPixel(frame, 21, 21), scaleColor(c, 1.0 / 3));
}

TEST_F(Raster, AncientSymbolsAndTheWalkersFrameSinks) {
    for (auto [m, level] : {std::pair{1.f, 172}, {3.f, 123}, {6.f, 49}, {6.5f, 37}, {-3.f, 255}})
        EXPECT_EQ(ancientCircleColor(m), grey(level)) << m;
    EXPECT_EQ(ancientCircleColor(kNebulousMagnitude), makeColor(36, 48, 80));
    AncientStar star;
    star.screenX = 30.5f;
    star.screenY = 20.5f;
    star.magnitude = 5;
    drawAncientStar(target, star, FlagStars, 10);  // circles off: a white dot
    star.screenX = 10.5f;
    star.magnitude = kNebulousMagnitude;
    drawAncientStar(target, star, FlagCircles, 10);
    EXPECT_EQ(frameGetPixel(frame, 30, 20), kWhite);
    EXPECT_EQ(frameGetPixel(frame, 20, 20), makeColor(36, 48, 80));  // on the circle
    EXPECT_EQ(frameGetPixel(frame, 10, 20), kBlack);

    blank(64, 48);
    framePutPixel(frame, 20, 20, makeColor(0, 0, 255));
    frameLineSink(&target, 10, 20, 30, 20);  // the fixed colour, by maximum
    EXPECT_EQ(frameGetPixel(frame, 20, 20), makeColor(64, 96, 255));
    const Color grid = makeColor(40, 80, 120);
    colors.entries[ColorCurrentLine] = grid;
    const ScreenPoint points[3] = {{10, 30}, {30, 30}, {30, 45}};
    framePolylineSink(&target, points, 1);
    framePolylineSink(&target, nullptr, 3);
    EXPECT_EQ(frameGetPixel(frame, 20, 30), kBlack);
    framePolylineSink(&target, points, 3);
    for (auto [x, y] : {std::pair{20, 30}, {30, 30}, {30, 40}}) EXPECT_EQ(frameGetPixel(frame, x, y), grid);
    EXPECT_EQ(frameGetPixel(frame, 20, 35), kBlack);
}

TEST_F(Raster, HostileSizesNeverHangOrLeaveTheFrame) {
    for (double bad : {kNaN, kInf, -kInf}) {
        drawDisc(frame, bad, 10, 2, kWhite, plotAdd);
        drawDisc(frame, 10, 10, bad, kWhite, plotAdd);
        drawRing(frame, 10, bad, 5, kWhite);
        drawRing(frame, 10, 10, bad, kWhite);
        drawLine(frame, 10, 10, bad, 12, kWhite, plotMax);
        drawLine(frame, bad, bad, 10, 12, kWhite, plotMax);
    }
    drawDisc(frame, 1e300, -1e300, 5, kWhite, plotAdd);
    drawRing(frame, 32, 24, 1e12, kWhite);  // every pixel deep inside
    drawLine(frame, -1e300, 5, 1e300, 5, kWhite, plotMax);
    expectPixels({});
    // Lines reaching far beyond the frame walk only the frame, on their true axis.
    drawLine(frame, -1e12, 10, 1e12, 10, kWhite, record);
    EXPECT_EQ(plotted.size(), 64u * 3);
    blank(64, 48);
    drawLine(frame, -1e9, -1e9, 1e9, 1e9, kWhite, record);
    for (auto [p, c] : coverage)
        EXPECT_NEAR(c, 1 - std::abs(p.first - p.second) / std::sqrt(4.5), 1e-6);
    EXPECT_TRUE(coverage.count({47, 47}) && plotted.size() <= 3u * 48);
    // A disc of radius 1e12 covers exactly the frame.
    drawDisc(frame, 32, 24, 1e12, kWhite, plotAdd);
    EXPECT_TRUE(std::all_of(frame.pixels.begin(), frame.pixels.end(), [](int b) { return b == 255; }));
    blank(0, 0);
    drawDisc(frame, 0, 0, 3, kWhite, record);
    drawRing(frame, 0, 0, 3, kWhite);
    drawLine(frame, 0, 0, 5, 5, kWhite, record);
    EXPECT_TRUE(plotted.empty());
}
