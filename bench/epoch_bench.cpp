// Carrying the whole reference catalogue to an epoch, as the epoch dialog does on OK.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "catalog/calendar.h"
#include "catalog/precession.h"

namespace {

// A deterministic spread over the sphere (golden-angle spiral) with distances from 1 to
// 1000 pc and proper motions up to 6"/yr, so that both kinds of motion occur in
// proportions like those of a bright-star catalogue.
std::unique_ptr<ReferenceCatalog> syntheticCatalog() {
    auto catalog = std::make_unique<ReferenceCatalog>();
    for (int i = 0; i < kReferenceStarCount; ++i) {
        ReferenceStar& star = catalog->stars[i];
        star.number = i + 1;
        star.ra = float(std::fmod(i * 2.399963229728653, kTwoPi));
        star.dec = float(std::asin(2.0 * (i + 0.5) / kReferenceStarCount - 1.0));
        star.distance = 1.0f + float((i * 7919) % 10000) / 10.0f;
        long long n = i;
        star.pmRa = float((n * 104729) % 12001 - 6000) / 1000.0f * ((i % 5 == 0) ? 1.0f : 0.01f);
        star.pmDec = float((n * 15485863) % 12001 - 6000) / 1000.0f * ((i % 7 == 0) ? 1.0f : 0.01f);
        star.radialVelocity = float((i * 31) % 801 - 400);
        star.fileMagnitude = float(i % 950) / 100.0f - 1.5f;
    }
    return catalog;
}

void BM_ApplyEpoch(benchmark::State& state) {
    auto catalog = syntheticCatalog();
    // Alternate two epochs so that no run is served whole from the nutation memo.
    const double epochs[] = {dayNumber(7, 20, 137), dayNumber(1, 1, -130)};
    int k = 0;
    for (auto _ : state) {
        applyEpoch(*catalog, epochs[k]);
        k ^= 1;
        benchmark::DoNotOptimize(catalog->stars[kReferenceStarCount - 1].dir);
    }
    state.SetItemsProcessed(state.iterations() * kReferenceStarCount);
}
BENCHMARK(BM_ApplyEpoch)->Unit(benchmark::kMicrosecond);

}  // namespace
