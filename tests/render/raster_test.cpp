#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <utility>
#include <vector>

#include "render/raster.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

FrameBuffer blankFrame(int width, int height) {
    FrameBuffer frame;
    frameResize(frame, width, height);
    frameClear(frame);
    return frame;
}

using PixelMap = std::map<std::pair<int, int>, Color>;

// Every pixel of the frame: the listed ones must have their colour, all others stay black.
void expectPixels(const FrameBuffer& frame, const PixelMap& expected) {
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            auto it = expected.find({x, y});
            Color want = it == expected.end() ? kBlack : it->second;
            ASSERT_EQ(frameGetPixel(frame, x, y), want) << "pixel (" << x << ", " << y << ")";
        }
}

void expectSameFrames(const FrameBuffer& a, const FrameBuffer& b) {
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            ASSERT_EQ(frameGetPixel(a, x, y), frameGetPixel(b, x, y)) << "pixel (" << x << ", " << y << ")";
}

int litPixelCount(const FrameBuffer& frame) {
    int lit = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) lit += frameGetPixel(frame, x, y) != kBlack;
    return lit;
}

struct Plot {
    int x, y;
    double coverage;
};
std::vector<Plot> recorded;
void recordPlot(FrameBuffer&, int x, int y, Color, double coverage) {
    recorded.push_back({x, y, coverage});
}

struct TestTarget {
    FrameBuffer frame = blankFrame(64, 48);
    StarColors starColors;
    ColorTable colors;
    RasterTarget target{&frame, &starColors, &colors};
    TestTarget() {
        buildStarColors(starColors);
        starColors.entries[1] = makeColor(255, 51, 0);  // the coolest star colour
        starColors.entries[5] = makeColor(100, 0, 0);
    }
};

}  // namespace

TEST(ColorArithmetic, ScalesAddsAndTakesTheMaximumPerChannel) {
    EXPECT_EQ(scaleColor(makeColor(64, 96, 64), 0.5), makeColor(32, 48, 32));
    EXPECT_EQ(scaleColor(kWhite, 2), kWhite);
    EXPECT_EQ(scaleColor(makeColor(10, 20, 30), 0), kBlack);
    EXPECT_EQ(scaleColor(makeColor(1, 1, 1), 0.5), makeColor(1, 1, 1));  // 1.0 truncates to 1
    EXPECT_EQ(scaleColor(makeColor(3, 0, 0), 0.49), makeColor(1, 0, 0));  // 1.97 truncates to 1
    EXPECT_EQ(scaleColor(kWhite, -3), kBlack);
    EXPECT_EQ(scaleColor(kWhite, kNaN), kBlack);
    EXPECT_EQ(scaleColor(makeColor(0, 1, 200), 1e300), makeColor(0, 255, 255));
    EXPECT_EQ(scaleColor(0xFF000000u | kWhite, 1), kWhite);  // the top byte never survives

    EXPECT_EQ(addColors(makeColor(200, 100, 0), makeColor(100, 100, 5)), makeColor(255, 200, 5));
    EXPECT_EQ(maxColors(makeColor(10, 200, 30), makeColor(20, 100, 30)), makeColor(20, 200, 30));
    EXPECT_EQ(addColors(0xFF000000u, 0x01000000u), kBlack);
}

TEST(Discs, CoverageRampsOverOnePixelAcrossTheRim) {
    FrameBuffer frame = blankFrame(40, 40);
    recorded.clear();
    drawDisc(frame, 10.5, 10.5, 0.5, kWhite, recordPlot);
    // Radius 0.5 on a pixel centre: the edge neighbours lie exactly on the ramp's outer end.
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].x, 10);
    EXPECT_EQ(recorded[0].y, 10);
    EXPECT_DOUBLE_EQ(recorded[0].coverage, 1.0);

    recorded.clear();
    drawDisc(frame, 20.5, 20.5, 2, kWhite, recordPlot);
    std::map<std::pair<int, int>, double> coverage;
    for (const Plot& p : recorded) coverage[{p.x, p.y}] = p.coverage;
    // 9 pixels within 1.5 of the centre, then the ramp: 4 at distance 2 and 8 at sqrt 5.
    EXPECT_EQ(recorded.size(), 21u);
    EXPECT_DOUBLE_EQ(coverage[std::make_pair(21, 21)], 1.0);
    EXPECT_DOUBLE_EQ(coverage[std::make_pair(22, 20)], 0.5);  // centre exactly on the rim
    EXPECT_NEAR(coverage[std::make_pair(22, 21)], 0.5 - (std::sqrt(5.0) - 2), 1e-12);
    EXPECT_NEAR(coverage[std::make_pair(19, 18)], 0.5 - (std::sqrt(5.0) - 2), 1e-12);
    EXPECT_EQ(coverage.count({18, 22}), 0u);  // sqrt 8 away: beyond the ramp

    drawDisc(frame, 10.5, 10.5, 0.5, kWhite, plotAdd);
    expectPixels(frame, {{{10, 10}, kWhite}});
}

TEST(Discs, RejectsRowsAndColumnsOutsideTheFrameAndScansInOrder) {
    FrameBuffer frame = blankFrame(20, 10);
    recorded.clear();
    drawDisc(frame, 0.2, 9.7, 3, kWhite, recordPlot);
    ASSERT_FALSE(recorded.empty());
    EXPECT_EQ(recorded.front().y, 6);  // the first row that reaches within 3.5 of 9.7
    for (size_t i = 0; i < recorded.size(); ++i) {
        const Plot& p = recorded[i];
        EXPECT_TRUE(p.x >= 0 && p.x < 20 && p.y >= 0 && p.y < 10) << p.x << ", " << p.y;
        if (i > 0) {  // top to bottom, left to right
            const Plot& q = recorded[i - 1];
            EXPECT_TRUE(q.y < p.y || (q.y == p.y && q.x < p.x));
        }
    }
}

TEST(StarDots, MagnitudeSetsRadiusAndDimming) {
    TestTarget a, b;
    drawStarDot(a.target, 12.3f, 7.8f, 5.0f, 1);
    drawStarDot(b.target, 12.3f, 7.8f, 5.0001f, 1);
    expectSameFrames(a.frame, b.frame);
    EXPECT_GT(litPixelCount(a.frame), 1);

    TestTarget faint;  // radius 0.5 on a pixel centre, dimmed by 1.25 / 1.75
    drawStarDot(faint.target, 10.5f, 10.5f, 5.5f, 0);
    expectPixels(faint.frame, {{{10, 10}, makeColor(182, 182, 182)}});

    TestTarget bright;  // magnitude 3: radius 1.5
    Color red = bright.starColors.entries[1];
    ReferenceStar star;
    star.screenX = 20.5f;
    star.screenY = 20.5f;
    star.magnitude = 3;
    star.color = 1;
    drawReferenceStar(bright.target, star);
    EXPECT_EQ(frameGetPixel(bright.frame, 21, 20), red);  // distance 1, inside the ramp
    EXPECT_EQ(frameGetPixel(bright.frame, 21, 21), scaleColor(red, 0.5 - (std::sqrt(2.0) - 1.5)));
    EXPECT_EQ(frameGetPixel(bright.frame, 22, 20), kBlack);  // distance 2, the ramp's end
}

TEST(StarDots, OverlappingDotsAddUpToWhite) {
    TestTarget t;  // entry 5 is (100, 0, 0)
    drawStarDot(t.target, 10.5f, 10.5f, 5, 0);
    drawStarDot(t.target, 10.5f, 10.5f, 5, 0);
    drawStarDot(t.target, 30.5f, 10.5f, 5, 5);
    drawStarDot(t.target, 30.5f, 10.5f, 5, 5);
    expectPixels(t.frame, {{{10, 10}, kWhite}, {{30, 10}, makeColor(200, 0, 0)}});
}

TEST(Rings, TriangularProfileWithTheInteriorCutAlongTheAxes) {
    // Centre on pixel (50, 50)'s centre, so ex and ey are whole numbers.
    FrameBuffer frame = blankFrame(100, 100);
    framePutPixel(frame, 59, 50, makeColor(250, 0, 0));
    drawRing(frame, 50.5, 50.5, 9.4, kWhite);
    auto profile = [](double d) { return scaleColor(kWhite, (1.6 - std::fabs(d - 9.4)) / 1.6); };
    EXPECT_EQ(frameGetPixel(frame, 59, 50), makeColor(250, 191, 191));  // 0.4 inside, by max
    EXPECT_EQ(frameGetPixel(frame, 60, 50), makeColor(159, 159, 159));  // 0.6 outside
    EXPECT_EQ(frameGetPixel(frame, 61, 50), kBlack);                    // 1.6 outside
    // 1.4 inside on the axis: |ex| + |ey| = 8 < 8.4, so taken as interior and left dark...
    EXPECT_EQ(frameGetPixel(frame, 58, 50), kBlack);
    EXPECT_EQ(frameGetPixel(frame, 50, 42), kBlack);
    // ...while on the diagonal the inner flank is drawn down to the profile's end.
    EXPECT_EQ(frameGetPixel(frame, 56, 56), profile(std::sqrt(72.0)));
    EXPECT_EQ(frameGetPixel(frame, 55, 56), profile(std::sqrt(61.0)));
    EXPECT_EQ(frameGetPixel(frame, 55, 56), makeColor(2, 2, 2));
    EXPECT_EQ(frameGetPixel(frame, 50, 50), kBlack);
}

TEST(Rings, MatchEveryPixelOfAFullScanOfTheSquare) {
    struct Case {
        double cx, cy, r;
    } cases[] = {{20.5, 20.5, 0.3},  {20.2, 19.9, 1},    {33.7, 20.1, 1.6}, {40, 30, 2.2},
                 {31.3, 24.8, 9.4},  {30.9, 25.2, 30.7}, {-20.3, 40, 35},   {70.5, -3.2, 12},
                 {-1e6, 24.5, 1e6 + 60.5}};
    for (const Case& c : cases) {
        FrameBuffer drawn = blankFrame(80, 50), scanned = blankFrame(80, 50);
        drawRing(drawn, c.cx, c.cy, c.r, kWhite);
        double n = std::ceil(c.r) + 1, px = std::trunc(c.cx + 0.5), py = std::trunc(c.cy + 0.5);
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 80; ++x) {
                if (std::fabs(x - px) > n || std::fabs(y - py) > n) continue;
                double ex = c.cx - (x + 0.5), ey = c.cy - (y + 0.5);
                if (c.r - 1 > std::fabs(ex) + std::fabs(ey)) continue;
                double g = std::fabs(std::sqrt(ex * ex + ey * ey) - c.r);
                if (g < 1.6) plotMax(scanned, x, y, kWhite, (1.6 - g) * 0.625);
            }
        SCOPED_TRACE(testing::Message() << "ring " << c.cx << ", " << c.cy << ", " << c.r);
        EXPECT_GT(litPixelCount(scanned), 0);
        expectSameFrames(drawn, scanned);
    }
}

TEST(Lines, HorizontalLineIsThreePixelsAcross) {
    FrameBuffer frame = blankFrame(64, 48);
    drawLine(frame, 10, 20, 30, 20, kIdLineColor, plotMax);
    Color third = makeColor(21, 32, 21);  // (64, 96, 64) at coverage 1/3
    EXPECT_EQ(scaleColor(kIdLineColor, 1.0 / 3), third);
    PixelMap expected;
    for (int x = 10; x <= 30; ++x) {
        expected[{x, 19}] = third;
        expected[{x, 20}] = kIdLineColor;
        expected[{x, 21}] = third;
    }
    expectPixels(frame, expected);

    // Half a pixel lower the axis runs between rows 20 and 21; row 22 lies exactly at the
    // fading distance and gets no plot at all.
    recorded.clear();
    drawLine(frame, 10, 20.5, 30, 20.5, kWhite, recordPlot);
    ASSERT_EQ(recorded.size(), 2u * 21);
    for (const Plot& p : recorded) {
        EXPECT_TRUE(p.y == 20 || p.y == 21) << p.x << ", " << p.y;
        EXPECT_DOUBLE_EQ(p.coverage, 2.0 / 3);
    }
}

TEST(Lines, ShortLinesAndTheDiagonal) {
    FrameBuffer frame = blankFrame(40, 40);
    drawLine(frame, 10, 10, 10.24, 10.32, kWhite, plotMax);  // 0.4 long
    expectPixels(frame, {});

    // 0.5 long, both ends in pixel (10, 10): the vertical walk of one row.
    drawLine(frame, 10.0, 10.0, 10.3, 10.4, kWhite, plotMax);
    Color side = scaleColor(kWhite, (1.5 - 0.8) / 1.5);  // 0.8 from the axis
    expectPixels(frame, {{{10, 10}, kWhite}, {{9, 10}, side}, {{11, 10}, side}});

    FrameBuffer diagonal = blankFrame(40, 40);
    drawLine(diagonal, 10, 10, 20, 20, kWhite, plotMax);
    Color beside = scaleColor(kWhite, (1.5 - std::sqrt(0.5)) / 1.5);
    PixelMap expected;
    for (int i = 10; i <= 20; ++i) {
        expected[{i, i}] = kWhite;
        expected[{i - 1, i}] = beside;
        expected[{i + 1, i}] = beside;
    }
    expectPixels(diagonal, expected);
}

TEST(Lines, SlopedLinesFollowTheirAxisToTheLastColumn) {
    // The second line leaves the frame: its walk stops at the edge but keeps the true slope.
    struct Case {
        double x0, y0, x1, y1;
        int firstColumn, lastColumn;
    } cases[] = {{3.2, 4.7, 40.6, 17.1, 3, 41}, {10.4, 10.2, 100.3, 55.1, 10, 63}};
    for (const Case& c : cases) {
        FrameBuffer frame = blankFrame(64, 48);
        drawLine(frame, c.x0, c.y0, c.x1, c.y1, kWhite, plotMax);
        double dx = c.x1 - c.x0, dy = c.y1 - c.y0, len = std::hypot(dx, dy);
        for (int x = 0; x < 64; ++x) {
            bool onAxis = false;
            for (int y = 0; y < 48; ++y) {
                Color pixel = frameGetPixel(frame, x, y);
                if (pixel == kBlack) continue;
                double dist = std::fabs((y - c.y0) * dx - (x - c.x0) * dy) / len;
                ASSERT_LT(dist, 1.5) << x << ", " << y;
                EXPECT_NEAR(colorRed(pixel), 255 * (1.5 - dist) / 1.5, 0.51) << x << ", " << y;
                onAxis = onAxis || dist <= 0.5;
            }
            EXPECT_EQ(onAxis, x >= c.firstColumn && x <= c.lastColumn) << "column " << x;
        }
    }
}

TEST(Lines, EdgeRowsAndColumnsPlotNothingOutside) {
    FrameBuffer frame = blankFrame(30, 20);
    recorded.clear();
    drawLine(frame, 5, 0, 25, 0, kWhite, recordPlot);
    drawLine(frame, 5, 19, 25, 19, kWhite, recordPlot);
    drawLine(frame, 0, 3, 0, 17, kWhite, recordPlot);
    drawLine(frame, 29, 3, 29, 17, kWhite, recordPlot);
    EXPECT_EQ(recorded.size(), 2u * (21 * 2 + 15 * 2));  // no third pixel beyond the edge
    for (const Plot& p : recorded)
        EXPECT_TRUE(p.x >= 0 && p.x < 30 && p.y >= 0 && p.y < 20) << p.x << ", " << p.y;
}

TEST(Lines, CrossingLinesKeepTheLargerValue) {
    FrameBuffer frame = blankFrame(40, 40);
    Color c = makeColor(100, 150, 200);
    drawLine(frame, 10, 20, 30, 20, c, plotMax);
    drawLine(frame, 20, 10, 20, 30, c, plotMax);
    EXPECT_EQ(frameGetPixel(frame, 20, 20), c);
    EXPECT_EQ(frameGetPixel(frame, 21, 20), c);
    EXPECT_EQ(frameGetPixel(frame, 21, 21), scaleColor(c, 1.0 / 3));  // 1/3 from each line
}

TEST(AncientStars, CircleColourAndSymbolFollowMagnitudeAndFlags) {
    EXPECT_EQ(ancientCircleColor(1), makeColor(172, 172, 172));
    EXPECT_EQ(ancientCircleColor(3), makeColor(123, 123, 123));
    EXPECT_EQ(ancientCircleColor(6), makeColor(49, 49, 49));
    EXPECT_EQ(ancientCircleColor(kFaintMagnitude), makeColor(37, 37, 37));
    EXPECT_EQ(ancientCircleColor(kNebulousMagnitude), makeColor(36, 48, 80));
    EXPECT_EQ(ancientCircleColor(-3), makeColor(255, 255, 255));  // 270.8, limited

    AncientStar star;
    star.screenX = 30.5f;
    star.screenY = 20.5f;
    star.magnitude = kNebulousMagnitude;
    TestTarget circles;
    drawAncientStar(circles.target, star, kDefaultDisplayFlags, 10);
    EXPECT_EQ(frameGetPixel(circles.frame, 40, 20), makeColor(36, 48, 80));  // on the circle
    EXPECT_EQ(frameGetPixel(circles.frame, 30, 20), kBlack);

    star.magnitude = 5;
    TestTarget dots;
    drawAncientStar(dots.target, star, kDefaultDisplayFlags & ~FlagCircles, 10);
    expectPixels(dots.frame, {{{30, 20}, kWhite}});
}

TEST(FrameSinks, DrawIdentificationLinesAndGridPolylines) {
    TestTarget lines;
    framePutPixel(lines.frame, 20, 20, makeColor(0, 0, 255));
    frameLineSink(&lines.target, 10, 20, 30, 20);
    EXPECT_EQ(frameGetPixel(lines.frame, 20, 20), makeColor(64, 96, 255));
    EXPECT_EQ(frameGetPixel(lines.frame, 11, 20), kIdLineColor);

    TestTarget grid;
    Color c = makeColor(40, 80, 120);
    grid.colors.entries[ColorCurrentLine] = c;
    ScreenPoint points[3] = {{10, 10}, {30, 10}, {30, 30}};
    framePolylineSink(&grid.target, points, 1);
    framePolylineSink(&grid.target, nullptr, 3);
    expectPixels(grid.frame, {});
    framePolylineSink(&grid.target, points, 3);
    EXPECT_EQ(frameGetPixel(grid.frame, 20, 10), c);
    EXPECT_EQ(frameGetPixel(grid.frame, 30, 20), c);
    EXPECT_EQ(frameGetPixel(grid.frame, 30, 10), c);  // the shared end, drawn by both segments
    EXPECT_EQ(frameGetPixel(grid.frame, 20, 20), kBlack);
}

TEST(HostileInput, NeverHangsAndNeverLeavesTheFrame) {
    FrameBuffer frame = blankFrame(32, 24);
    for (double bad : {kNaN, kInf, -kInf}) {
        drawDisc(frame, bad, 10, 2, kWhite, plotAdd);
        drawDisc(frame, 10, 10, bad, kWhite, plotAdd);
        drawRing(frame, 10, bad, 5, kWhite);
        drawRing(frame, 10, 10, bad, kWhite);
        drawLine(frame, 10, 10, bad, 12, kWhite, plotMax);
        drawLine(frame, bad, bad, 10, 12, kWhite, plotMax);
    }
    drawDisc(frame, 1e300, -1e300, 5, kWhite, plotAdd);
    drawRing(frame, 16, 12, 1e12, kWhite);  // every pixel deep inside
    drawLine(frame, -1e300, 5, 1e300, 5, kWhite, plotMax);
    expectPixels(frame, {});

    // A line reaching far beyond the frame walks only the frame.
    recorded.clear();
    drawLine(frame, -1e12, 10, 1e12, 10, kWhite, recordPlot);
    EXPECT_EQ(recorded.size(), 32u * 3);
    recorded.clear();
    drawLine(frame, -1e9, -1e9, 1e9, 1e9, kWhite, recordPlot);
    int onDiagonal = 0;
    for (const Plot& p : recorded) {
        EXPECT_NEAR(p.coverage, (1.5 - std::abs(p.x - p.y) / std::sqrt(2.0)) / 1.5, 1e-6);
        onDiagonal += p.x == p.y;
    }
    EXPECT_EQ(onDiagonal, 24);  // one per row, from the corner on
    EXPECT_LE(recorded.size(), 3u * 24);

    // A disc of radius 1e12 scans only the frame, which it covers completely.
    drawDisc(frame, 16, 12, 1e12, kWhite, plotAdd);
    EXPECT_EQ(litPixelCount(frame), 32 * 24);

    TestTarget t;
    drawStarDot(t.target, 10, 10, std::numeric_limits<float>::quiet_NaN(), 0);
    drawStarDot(t.target, 1e30f, 10, 1, 0);
    expectPixels(t.frame, {});
    drawStarDot(t.target, 10.5f, 10.5f, 5, 12345);  // unknown colour entry: white
    expectPixels(t.frame, {{{10, 10}, kWhite}});

    FrameBuffer empty = blankFrame(0, 0);  // a minimised window: no pixel to visit
    recorded.clear();
    drawDisc(empty, 0, 0, 3, kWhite, recordPlot);
    drawRing(empty, 0, 0, 3, kWhite);
    drawLine(empty, 0, 0, 5, 5, kWhite, recordPlot);
    EXPECT_TRUE(recorded.empty());
}
