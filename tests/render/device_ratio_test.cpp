// Drawing at a device pixel ratio: shapes twice as wide at ratio 2 with edges as sharp as at 1,
// and a whole frame that keeps its layout in device pixels.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "render/sky_layers.h"

namespace {

constexpr int kSide = 41;

// One row of a frame, as the blue channel of white drawn over black.
std::vector<int> row(const FrameBuffer& frame, int y) {
    std::vector<int> values;
    for (int x = 0; x < frame.width; ++x) values.push_back(colorBlue(frameGetPixel(frame, x, y)));
    return values;
}

}  // namespace

TEST(DeviceRatio, EachEdgeOfAShapeAtRatioTwoIsTheEdgeAtRatioOneMovedOutwardByHalfItsWidth) {
    // A shape whose outline crosses row 20 at column `axis` + move (a vertical line; a ring about
    // (20.5, 20.5) of radius 10 + move, read on its right from column `from`), and half the width
    // its fade spans.
    using Draw = std::function<void(FrameBuffer&, double move, double ratio)>;
    const struct {
        const char* shape;
        Draw draw;
        int axis, from;
        double halfFade;
    } cases[] = {
        {"line",
         [](FrameBuffer& f, double m, double r) {
             drawLine(f, 20 + m, 2, 20 + m, 38, kWhite, plotMax, r);
         },
         20, 0, 0.75},
        {"ring",
         [](FrameBuffer& f, double m, double r) { drawRing(f, 20.5, 20.5, 10 + m, kWhite, r); },
         30, 21, 0.8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shape);
        auto drawn = [&](double move, double ratio) {
            FrameBuffer frame;
            frameResize(frame, kSide, kSide);
            frameClear(frame);
            c.draw(frame, move, ratio);
            return row(frame, 20);
        };
        const std::vector<int> wide = drawn(0, 2), outer = drawn(c.halfFade, 1),
                               inner = drawn(-c.halfFade, 1);
        for (int x = c.from; x < kSide; ++x) {
            SCOPED_TRACE(testing::Message() << "column " << x);
            if (x > c.axis + c.halfFade) EXPECT_EQ(wide[x], outer[x]);
            else if (x < c.axis - c.halfFade) EXPECT_EQ(wide[x], inner[x]);
            else EXPECT_EQ(wide[x], 255);  // the core between the edges is full
        }
    }
}

TEST(DeviceRatio, AFrameAtRatioTwoHasGridLinesTwiceAsWideAndStarsWhereTheGeometryPutsThem) {
    // A 200 x 150 window on the ecliptic at longitude 90: the meridian of 90 runs down its middle,
    // and one white star of magnitude 3 stands 3 degrees north of the centre, d tan(1.5 degrees)
    // half-heights above it.
    const double kD = 4, kStarOffset = kD * std::tan(1.5 * kDegToRad) * 75;
    auto refs = std::make_unique<ReferenceCatalog>();
    clearNumberIndex(refs->index);
    for (ReferenceStar& star : refs->stars) lonLatToVec3(270 * kDegToRad, 0, star.dir);
    lonLatToVec3(90 * kDegToRad, 3 * kDegToRad, refs->stars[0].dir);
    refs->stars[0].magnitude = 3, refs->stars[0].color = 0;
    Constellation none;
    ColorTable colors;
    setDefaultColors(colors);
    setColor(colors, ColorEclipticGrid, kWhite);
    StarColors starColors;
    buildStarColors(starColors);
    double light[2] = {};
    for (int ratio : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "ratio " << ratio);
        SkyView view{90 * kDegToRad, 0, 0, kD, {}, {}, 200 * ratio, 150 * ratio, 0};
        viewUpdate(view);
        FrameBuffer frame;
        frameResize(frame, view.width, view.height);
        RenderRequest request{refs.get(), &none, 0, 0, &view, FlagEclipticGrid, 1771298.0,
                              nullptr, double(ratio)};
        renderFrame(request, frame, colors, starColors, FrameOutput{});
        // Across the meridian, halfway between the star and the parallel of 15 degrees.
        const std::vector<int> across = row(frame, 60 * ratio);
        double width = 0;
        for (int x = 90 * ratio; x < 110 * ratio; ++x) width += across[x] / 255.0;
        EXPECT_NEAR(width, 1.5 * ratio, 0.25);
        request.displayFlags = FlagStars;
        renderFrame(request, frame, colors, starColors, FrameOutput{});
        double sum = 0, sumX = 0, sumY = 0;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x) {
                const double v = colorBlue(frameGetPixel(frame, x, y));
                sum += v, sumX += v * (x + 0.5), sumY += v * (y + 0.5);
            }
        EXPECT_NEAR(sumX / sum, 100.0 * ratio, 0.05);
        EXPECT_NEAR(75.0 * ratio - sumY / sum, kStarOffset * ratio, 0.05);
        light[ratio - 1] = sum;
    }
    EXPECT_NEAR(light[1] / light[0], 4, 0.4);  // the same size on the screen
}
