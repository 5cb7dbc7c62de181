// A seeded random sequence that is the same on every machine and library (the standard
// distributions are not): splitmix64. The sample-edition generator draws its recording errors
// from it, the epoch fit its bootstrap resamples and the artwork generator its noise, each from
// a fixed seed, so regenerated files and fitted uncertainties come out the same every time.
#pragma once

#include <cstdint>

struct SplitMix64 {
    uint64_t state;

    uint64_t next() {
        uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1), from the top 53 bits.
    double uniform() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double low, double high) { return low + (high - low) * uniform(); }
    // 0 .. n - 1, for n > 0.
    int below(int n) { return int(next() % uint64_t(n)); }
    // Mean 0, standard deviation 1, within +-6: the sum of twelve uniform numbers less 6.
    double bell() {
        double sum = 0;
        for (int i = 0; i < 12; ++i) sum += uniform();
        return sum - 6.0;
    }
};
