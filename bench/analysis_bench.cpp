// Residuals and statistics of a whole edition, and the fit of epoch and offsets, on the shipped
// reference catalogue and Sample B (random errors, a few wild stars: the hardest of the three).
// The fit runs over ranges of 500 to 4000 years without the bootstrap, to show how the work
// grows with the range (the coarse scan carries the stars once per 50 years; the refinement
// does not depend on the range), and over the default 2000 years with its bootstrap.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "analysis/fit.h"
#include "analysis/statistics.h"
#include "catalog/calendar.h"
#include "catalog/edition_file.h"
#include "catalog/reference_file.h"

namespace {

struct ShippedSky {
    std::unique_ptr<ReferenceCatalog> reference = std::make_unique<ReferenceCatalog>();
    EditionPtr edition;
    ShippedSky() {
        const std::string data = std::string(TESSARAN_SOURCE_DIR) + "/data/";
        if (readReferenceCatalog((data + "catb.bin").c_str(), *reference))
            edition = readEdition((data + "cat2.dat").c_str());
    }
};

const ShippedSky& shippedSky() {
    static const ShippedSky sky;
    return sky;
}

void BM_ResidualsAndStatistics(benchmark::State& state) {
    const ShippedSky& sky = shippedSky();
    if (!sky.edition) return state.SkipWithError("the shipped data is missing");
    for (auto _ : state) {
        ResidualSet residuals = computeResiduals(*sky.edition, *sky.reference, {});
        EditionStatistics statistics = summarizeEdition(residuals);
        benchmark::DoNotOptimize(statistics.edition.robustSpreadArcmin);
    }
    state.SetItemsProcessed(state.iterations() * kAncientStarCount);
}
BENCHMARK(BM_ResidualsAndStatistics)->Unit(benchmark::kMillisecond);

// range(0): years searched, centred on AD 1; range(1): bootstrap resamples.
void BM_EpochFit(benchmark::State& state) {
    const ShippedSky& sky = shippedSky();
    if (!sky.edition) return state.SkipWithError("the shipped data is missing");
    EpochFitOptions options;
    options.firstJd = jdFromDecimalYear(-double(state.range(0)) / 2);
    options.lastJd = jdFromDecimalYear(double(state.range(0)) / 2);
    options.bootstrapResamples = int(state.range(1));
    EpochFit fit;
    for (auto _ : state) fit = fitEpoch(*sky.edition, *sky.reference, options);
    state.counters["carries"] = fit.carries;
    state.counters["epoch_year"] = decimalYear(fit.epochJd);
    state.counters["epoch_sigma_years"] = fit.uncertainty.epochYears;
}
BENCHMARK(BM_EpochFit)
    ->Args({500, 0})
    ->Args({1000, 0})
    ->Args({2000, 0})
    ->Args({4000, 0})
    ->Args({2000, 200})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
