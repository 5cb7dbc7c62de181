// Raster primitives at the sizes of a real frame: every reference star as a dot, a
// constellation's circles at growing zoom, and a grid's worth of polylines.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "render/raster.h"

namespace {

constexpr int kFrameWidth = 1920;
constexpr int kFrameHeight = 1080;

struct Scene {
    FrameBuffer frame;
    StarColors starColors;
    ColorTable colors;
    RasterTarget target{&frame, &starColors, &colors};
    Scene() {
        frameResize(frame, kFrameWidth, kFrameHeight);
        frameClear(frame);
        buildStarColors(starColors);
        setDefaultColors(colors);
        colors.entries[ColorCurrentLine] = colors.entries[ColorEclipticGrid];
    }
};

// A fixed pseudo-random sequence in [0, 1), so every run draws the same sky.
struct Sequence {
    uint32_t state = 12345;
    double next() {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 16777216.0;
    }
};

std::vector<ReferenceStar> referenceSky() {
    std::vector<ReferenceStar> stars(kReferenceStarCount);
    Sequence random;
    for (ReferenceStar& star : stars) {
        star.screenX = float(random.next() * kFrameWidth);
        star.screenY = float(random.next() * kFrameHeight);
        // As in the catalogue: about three times as many stars per fainter magnitude, down to
        // 6.5, the brightest near -1.5.
        star.magnitude = float(std::fmax(6.5 + 2 * std::log10(1e-4 + random.next()), -1.5));
        star.color = int(random.next() * kStarColorCount);
    }
    return stars;
}

void BM_ReferenceStars(benchmark::State& state) {
    Scene scene;
    std::vector<ReferenceStar> stars = referenceSky();
    for (auto _ : state) {
        for (const ReferenceStar& star : stars) drawReferenceStar(scene.target, star);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(stars.size()));
}
BENCHMARK(BM_ReferenceStars)->Unit(benchmark::kMillisecond);

// Forty circles of one radius (the view's pixels per degree), centres spread over the frame.
void BM_AncientCircles(benchmark::State& state) {
    Scene scene;
    double radius = double(state.range(0));
    Sequence random;
    std::vector<AncientStar> stars(40);
    for (AncientStar& star : stars) {
        star.screenX = float(random.next() * kFrameWidth);
        star.screenY = float(random.next() * kFrameHeight);
        star.magnitude = float(1 + 5 * random.next());
    }
    for (auto _ : state) {
        for (const AncientStar& star : stars)
            drawAncientStar(scene.target, star, kDefaultDisplayFlags, radius);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * int64_t(stars.size()));
}
BENCHMARK(BM_AncientCircles)->Arg(20)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

// Thirty-five closed polylines of 361 points: a whole grid seen from close by.
void BM_GridPolylines(benchmark::State& state) {
    Scene scene;
    std::vector<std::vector<ScreenPoint>> lines;
    for (int k = 0; k < 35; ++k) {
        std::vector<ScreenPoint> points;
        double rx = 100 + 25 * k, ry = 60 + 14 * k;
        for (int i = 0; i <= 360; ++i) {
            double a = i * 0.017453292519943295;
            points.push_back({std::fmin(kFrameWidth / 2 + rx * std::cos(a), kFrameWidth - 1),
                              std::fmin(kFrameHeight / 2 + ry * std::sin(a), kFrameHeight - 1)});
        }
        lines.push_back(points);
    }
    for (auto _ : state) {
        for (const std::vector<ScreenPoint>& points : lines)
            framePolylineSink(&scene.target, points.data(), int(points.size()));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_GridPolylines)->Unit(benchmark::kMillisecond);

}  // namespace
