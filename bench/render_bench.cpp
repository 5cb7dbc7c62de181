// One whole sky frame without the text step: projection of both catalogues, clearing, both
// grids, identification lines, ancient circles and every reference star, in the widest default
// view (Hydra, focal scale 2.5) at full-HD and 4K sizes, and at 4K as a full-HD window on a
// screen of 200 % draws it (the third argument is the device pixel ratio in hundredths); clearing
// the same frame buffer beside it, so that a frame can be read as a multiple of the cheapest one.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>

#include "app/default_views.h"
#include "catalog/edition_file.h"
#include "catalog/precession.h"
#include "catalog/reference_file.h"
#include "render/sky_layers.h"

namespace {

constexpr int kHydra = 40;

struct FrameScene {
    std::unique_ptr<ReferenceCatalog> refs = std::make_unique<ReferenceCatalog>();
    EditionPtr edition;
    SkyView view;
    FrameBuffer frame;
    ColorTable colors;
    StarColors starColors;
    bool shipped = false;
};

// Stars spread evenly over the sphere (golden-angle spiral) with magnitudes distributed as in a
// bright-star catalogue (about three times as many per fainter magnitude, down to 6.5).
void syntheticSky(FrameScene& s) {
    clearNumberIndex(s.refs->index);
    for (int i = 0; i < kReferenceStarCount; ++i) {
        ReferenceStar& star = s.refs->stars[i];
        star.number = i + 1;
        lonLatToVec3(std::fmod(i * 2.399963229728653, kTwoPi),
                     std::asin(2.0 * (i + 0.5) / kReferenceStarCount - 1.0), star.dir);
        double u = std::fmod(i * 0.6180339887498949, 1.0);
        star.magnitude = float(std::fmax(6.5 + 2 * std::log10(1e-4 + u), -1.5));
        star.color = 1 + i % (kStarColorCount - 1);
        s.refs->index.slot[i + 1] = int16_t(i);
    }
    // Hydra's 27 stars near the view centre, each identified with a reference star.
    s.edition = std::make_unique<AncientCatalog>();
    Constellation& hydra = s.edition->constellations[kHydra];
    hydra.starCount = 27;
    hydra.stars.resize(27);
    for (int k = 0; k < 27; ++k) {
        AncientStar& star = hydra.stars[k];
        int lon = 120 + 2 * k, lat = -10 - (k * 7) % 25;
        star.numberInConstellation = k + 1;
        star.zodiacSign = lon / 30;
        star.signDegrees = lon % 30;
        star.latSouth = 1;
        star.latDegrees = -lat;
        star.magnitude = float(2 + k % 5);
        star.identification = 1 + (k * 331) % kReferenceStarCount;
    }
}

// The shipped catalogues when they are there, otherwise the synthetic sky.
FrameScene* sceneFor(int width, int height) {
    static FrameScene* scene = [] {
        auto* s = new FrameScene;
        const std::string data = std::string(TESSARAN_SOURCE_DIR) + "/data/";
        s->edition = readEdition((data + "cat1.dat").c_str());
        s->shipped = s->edition && readReferenceCatalog((data + "catb.bin").c_str(), *s->refs);
        if (s->shipped)
            applyEpoch(*s->refs, EpochSetting().epoch);
        else
            syntheticSky(*s);
        applyConView(defaultConView(kHydra), s->view);
        setDefaultColors(s->colors);
        buildStarColors(s->starColors);
        return s;
    }();
    scene->view.width = width;
    scene->view.height = height;
    viewUpdate(scene->view);
    if (scene->frame.width != width || scene->frame.height != height)
        frameResize(scene->frame, width, height);
    return scene;
}

void BM_RenderFrame(benchmark::State& state) {
    FrameScene& s = *sceneFor(int(state.range(0)), int(state.range(1)));
    const ConView hydraView = defaultConView(kHydra);
    RenderRequest request;
    request.refStars = s.refs.get();
    request.constellation = &s.edition->constellations[kHydra];
    request.lonOffset = hydraView.shiftLon;
    request.latOffset = hydraView.shiftLat;
    request.view = &s.view;
    request.displayFlags = 0x3F;
    request.epoch = EpochSetting().epoch;
    request.devicePixelRatio = state.range(2) / 100.0;
    const FrameOutput noPlatform;  // no blit and no text: the frame-buffer work alone
    int visible = 0;
    for (auto _ : state) {
        renderFrame(request, s.frame, s.colors, s.starColors, noPlatform);
        benchmark::DoNotOptimize(s.frame.pixels.data());
        benchmark::ClobberMemory();
    }
    for (const ReferenceStar& star : s.refs->stars) visible += star.visible;
    state.counters["visible_stars"] = visible;
    state.SetLabel(s.shipped ? "shipped catalogues" : "synthetic sky");
}
BENCHMARK(BM_RenderFrame)
    ->Args({1920, 1080, 100})
    ->Args({3840, 2160, 100})
    ->Args({3840, 2160, 200})
    ->Unit(benchmark::kMillisecond);

void BM_ClearFrame(benchmark::State& state) {
    FrameScene& s = *sceneFor(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        frameClear(s.frame);
        benchmark::DoNotOptimize(s.frame.pixels.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ClearFrame)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);

}  // namespace
