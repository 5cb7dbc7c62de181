// The shell as the user feels it: a key press that turns the view, handler and complete repaint
// of a 1920 x 1080 window; and start-up (settings, the shipped catalogues, the epoch) up to the
// first paint. The platform is the recording fake, so the figures leave out only the blit and
// the text drawing of the real window.
#include <benchmark/benchmark.h>

#include "shipped_program.h"

namespace {

void BM_StartUpToFirstPaint(benchmark::State& state) {
    ShippedProgram program;
    for (auto _ : state) {
        if (!startToFirstPaint(program)) {
            state.SkipWithError("the shipped data in data/ could not be loaded");
            break;
        }
        benchmark::DoNotOptimize(theApp.frame.pixels.data());
    }
}
BENCHMARK(BM_StartUpToFirstPaint)->Unit(benchmark::kMillisecond);

void BM_ArrowKeyRepaint(benchmark::State& state) {
    ShippedProgram program;
    if (!startToFirstPaint(program)) {
        state.SkipWithError("the shipped data in data/ could not be loaded");
        return;
    }
    onCharacter('6');  // every layer on, the equatorial grid included
    int key = KeyLeft;
    for (auto _ : state) {
        onKeyDown(key);
        key = key == KeyLeft ? KeyRight : KeyLeft;
        fakePlatform().texts.clear();
        benchmark::DoNotOptimize(theApp.frame.pixels.data());
    }
}
BENCHMARK(BM_ArrowKeyRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
