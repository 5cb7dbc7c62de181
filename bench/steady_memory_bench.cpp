// Steady memory over a long session: the shipped program at 1920 x 1080 repaints 1000 times while
// the user turns the view, pages through the constellations and switches editions, then replaces
// the current edition 100 times from a file. Resident memory is read before and after each phase
// (after one warm-up round, so first-use allocations are not counted as growth) and reported as
// counters; a growth beyond kAllowedGrowthKb marks the run as failed.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/commands.h"
#include "shipped_program.h"

namespace {

constexpr int kRepaints = 1000;
constexpr int kReplacements = 100;
constexpr long kAllowedGrowthKb = 256;

long residentKb() {
    long pages = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return 0;
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// One user action per repaint: mostly arrow keys, every tenth a page to the next constellation,
// every 25th a switch to the next edition.
void userAction(int i) {
    if (i % 25 == 0) {
        onKeyDown(KeyF1 + (i / 25) % 3);
    } else if (i % 10 == 0) {
        onKeyDown(KeyPageDown);
    } else {
        onKeyDown(i % 2 ? KeyLeft : KeyRight);
    }
    fakePlatform().texts.clear();  // the fake records every text drawn; the real window keeps none
}

void repaintPhase(int rounds) {
    for (int i = 0; i < rounds; ++i) userAction(i);
}

void replacePhase(int rounds, const std::string& editionPath) {
    for (int i = 0; i < rounds; ++i) {
        fakePlatform().fileAnswers.push_back(editionPath);
        replaceCurrentCatalog();
        fakePlatform().texts.clear();
    }
}

void BM_SteadyMemory(benchmark::State& state) {
    ShippedProgram program;
    const std::string editionPath = std::string(TESSARAN_SOURCE_DIR) + "/data/cat2.dat";
    if (!startToFirstPaint(program)) {
        state.SkipWithError("the shipped data in data/ could not be loaded");
        return;
    }
    onCharacter('6');  // every layer on

    repaintPhase(100);
    replacePhase(5, editionPath);
    long start = residentKb(), afterRepaints = start, afterReplacements = start;
    for (auto _ : state) {
        repaintPhase(kRepaints);
        afterRepaints = residentKb();
        replacePhase(kReplacements, editionPath);
        afterReplacements = residentKb();
    }
    state.counters["rss_start_kb"] = double(start);
    state.counters["rss_after_repaints_kb"] = double(afterRepaints);
    state.counters["rss_after_replacements_kb"] = double(afterReplacements);
    state.counters["growth_kb"] = double(afterReplacements - start);
    if (afterReplacements - start > kAllowedGrowthKb) {
        state.SkipWithError("resident memory grew during the session");
    }
}
BENCHMARK(BM_SteadyMemory)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
