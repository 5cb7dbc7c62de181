// Builds a hostile constellation and reference catalogue from the bytes (any integers, floats
// that may be huge, negative or NaN, long names and descriptions, designations without a
// terminating zero, odd star counts) and runs the nearest-stars search and list text on them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "app/nearest_window.h"
#include "geometry/nearest_stars.h"

namespace {

constexpr size_t kMostStars = 64;
constexpr size_t kLongestText = 4096;

// Any value, NaN and infinities included, or as often a small screen coordinate, so that clicks
// and stars meet within the radius.
template <typename T>
T anyValue(FuzzedDataProvider& in) {
    if (in.ConsumeBool()) return T(in.ConsumeIntegralInRange<int>(-50, 1200));
    if constexpr (std::is_integral_v<T>) return in.ConsumeIntegral<T>();
    else return in.ConsumeFloatingPoint<T>();
}
float anyFloat(FuzzedDataProvider& in) { return anyValue<float>(in); }

void fillBytes(FuzzedDataProvider& in, char* bytes, size_t size) {
    std::vector<uint8_t> taken = in.ConsumeBytes<uint8_t>(size);
    std::memset(bytes, 0, size);
    if (!taken.empty()) std::memcpy(bytes, taken.data(), taken.size());
}

void fillAncientStar(FuzzedDataProvider& in, AncientStar& star) {
    star.numberInConstellation = in.ConsumeIntegral<int32_t>();
    star.zodiacSign = in.ConsumeIntegral<int32_t>();
    star.signDegrees = in.ConsumeIntegral<int32_t>();
    star.lonMinutes = in.ConsumeIntegral<int32_t>();
    star.latSouth = in.ConsumeIntegral<int32_t>();
    star.latDegrees = in.ConsumeIntegral<int32_t>();
    star.latMinutes = in.ConsumeIntegral<int32_t>();
    star.magnitude = anyFloat(in);
    fillBytes(in, star.designation, sizeof star.designation);
    star.description = in.ConsumeRandomLengthString(kLongestText);
    star.identification = in.ConsumeIntegral<int32_t>();
    star.catalogNumber = in.ConsumeIntegral<int32_t>();
    star.screenX = anyFloat(in);
    star.screenY = anyFloat(in);
    star.visible = in.ConsumeIntegral<int32_t>();
}

void fillReferenceStar(FuzzedDataProvider& in, ReferenceStar& star) {
    star.number = in.ConsumeIntegral<int32_t>();
    fillBytes(in, star.name, sizeof star.name);
    star.magnitude = anyFloat(in);
    star.dir = {in.ConsumeFloatingPoint<double>(), in.ConsumeFloatingPoint<double>(),
                in.ConsumeFloatingPoint<double>()};
    star.screenX = anyFloat(in);
    star.screenY = anyFloat(in);
    star.visible = in.ConsumeIntegral<int32_t>();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    NearestStarsMode mode;
    nearestStarsSetMode(mode, in.ConsumeFloatingPoint<double>(), in.ConsumeFloatingPoint<float>(),
                        in.ConsumeFloatingPoint<float>(), in.ConsumeIntegral<int>());
    int x = anyValue<int>(in), y = anyValue<int>(in);
    double radius = anyValue<double>(in);

    Constellation constellation;
    constellation.name = in.ConsumeRandomLengthString(kLongestText);
    // The recorded counts need not agree with the stars there are.
    constellation.figureCount = in.ConsumeIntegral<int32_t>();
    constellation.extraCount = in.ConsumeIntegral<int32_t>();
    constellation.starCount = in.ConsumeIntegral<int32_t>();
    constellation.stars.resize(in.ConsumeIntegralInRange<size_t>(0, kMostStars));
    for (AncientStar& star : constellation.stars) fillAncientStar(in, star);
    std::vector<ReferenceStar> stars(in.ConsumeIntegralInRange<size_t>(0, kMostStars));
    for (ReferenceStar& star : stars) fillReferenceStar(in, star);

    int found[kNearestReferenceCount];
    int count = findNearestReferenceStars(stars.data(), int(stars.size()), x, y, radius, found);
    if (count < 0 || count > kNearestReferenceCount) std::abort();
    for (int k = 0; k < count; ++k)
        if (found[k] < 0 || size_t(found[k]) >= stars.size()) std::abort();
    int ancient = findNearestAncientStar(constellation, x, y, radius);
    if (ancient < -1 || ancient >= int(constellation.stars.size())) std::abort();

    std::string text;
    bool listed = buildNearestStarsList(mode, constellation, stars.data(), int(stars.size()), x, y,
                                        radius, text);
    if (listed != (ancient >= 0 || count > 0)) std::abort();
    if (listed && ancient >= 0 &&
        text.find(constellation.stars[ancient].description) == std::string::npos)
        std::abort();
    return 0;
}
