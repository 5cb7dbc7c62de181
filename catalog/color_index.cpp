#include "catalog/color_index.h"

#include <cmath>

namespace {

// Beyond this size of colour index the temperature is already far outside the table on the
// same side (cold for large positive indexes, hot for large negative ones); limiting the index
// keeps its seventh power from overflowing into inf - inf.
constexpr double kColorIndexLimit = 100.0;

}  // namespace

int starColorEntryForBV(double c) {
    if (c > kColorIndexLimit) c = kColorIndexLimit;
    if (c < -kColorIndexLimit) c = -kColorIndexLimit;
    double c2 = c * c, c3 = c2 * c, c4 = c3 * c, c5 = c4 * c, c6 = c5 * c, c7 = c6 * c;
    double logT = 3.979145 - 0.654499 * c + 1.74069 * c2 - 4.608815 * c3 + 6.7926 * c4 -
                  5.39691 * c5 + 2.19297 * c6 - 0.359496 * c7;
    double kelvin = std::pow(10.0, logT);
    // Clamp before converting, so that a huge temperature cannot overflow the integer. A NaN
    // index gives a NaN temperature, which fails the test too and lands on the hottest entry
    // instead of in an undefined conversion.
    if (!(kelvin < 1e9)) kelvin = 1e9;
    int k = (int(kelvin) - 1000) / 100;
    if (k < 0) k = 0;
    if (k > kStarColorCount - 2) k = kStarColorCount - 2;
    return k + 1;
}
