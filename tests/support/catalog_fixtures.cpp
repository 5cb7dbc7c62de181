#include "catalog_fixtures.h"

#include <cmath>
#include <cstdio>
#include <string>

EditionPtr sampleEdition(const char* name) {
    static const float kMagnitudes[] = {1, 2.5f, 3, 4.5f, 5, 6, kFaintMagnitude,
                                        kNebulousMagnitude};
    EditionPtr edition = newEdition();
    edition->name = name;
    int k = 0;
    for (int c = 0; c < kConstellationCount; ++c) {
        const ConstellationInfo& row = kConstellationTable[c];
        Constellation& constellation = edition->constellations[c];
        for (int s = 0; s < constellation.starCount; ++s, ++k) {
            AncientStar& star = constellation.stars[size_t(s)];
            star.catalogNumber = k + 1;
            star.numberInConstellation = s + 1;
            star.zodiacSign = (k * 7) % 360 / 30, star.signDegrees = (k * 7) % 30;
            star.lonMinutes = k % 60, star.latSouth = k % 2;
            star.latDegrees = k % 90, star.latMinutes = (k * 3) % 60;
            star.magnitude = kMagnitudes[k % 8];
            star.identification = k % 5 == 0 ? 0 : (k * 7) % 9111;
            // Every third star has a short designation and no description.
            if (k % 3 == 0) {
                std::snprintf(star.designation, sizeof star.designation, "d%d", k);
            } else {
                std::snprintf(star.designation, sizeof star.designation, "%-12.12s", row.name);
                star.description = "star " + std::to_string(s + 1) + " of " + row.name;
            }
        }
    }
    return edition;
}

std::vector<ReferenceRecord> sampleReferenceRecords() {
    std::vector<ReferenceRecord> records;
    records.reserve(kReferenceStarCount);
    for (int number = 1; number <= kHighestReferenceNumber; ++number) {
        if (number % 650 == 0) continue;
        int i = int(records.size());
        // Numbers, designation codes, ra, dec, distance, motions, magnitude and colour.
        records.push_back({int16_t(number), 1 + (number * 29) % 272150, uint8_t(i % 256),
                           uint8_t(i % 25), uint8_t(i % 10), uint8_t(i % 89),
                           float(6.283 * i / kReferenceStarCount),
                           float(std::asin(2.0 * i / kReferenceStarCount - 1.0) * 0.9999),
                           int16_t(10 + (i * 11) % 10001), int16_t((i * 37) % 12001 - 6000),
                           int16_t((i * 53) % 12001 - 6000), int16_t((i * 13) % 8001 - 4000),
                           int16_t(-150 + i % 951),
                           int16_t(i % 10 == 0 ? kMissingColorCode : -50 + (i * 7) % 651)});
    }
    return records;
}
