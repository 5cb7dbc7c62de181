// The catalogue model: the built-in table of 48 constellations, the ancient editions and their
// stars, the modern reference catalogue with its number index, the three edition slots and the
// epoch setting. The file readers fill these records, the epoch code carries the reference stars,
// the renderer writes their screen fields and the shell owns one instance of each.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/vectors.h"

constexpr int kConstellationCount = 48;
constexpr int kAncientStarCount = 1028;
constexpr int kReferenceStarCount = 9096;
constexpr int kHighestReferenceNumber = 9110;
constexpr int kEditionSlotCount = 3;

struct ConstellationInfo {
    const char* name;
    int figureCount;  // stars of the figure
    int extraCount;   // further stars listed after them
};

// In file order: row i is constellation index i everywhere in the program.
extern const ConstellationInfo kConstellationTable[kConstellationCount];
// The row whose name this is, letter case aside; -1 when none is.
int constellationByName(std::string_view name);

struct AncientStar {
    // As read from the edition file; never changed afterwards.
    int32_t numberInConstellation = 0;
    int32_t zodiacSign = 0;   // longitude degrees / 30
    int32_t signDegrees = 0;  // longitude degrees % 30
    int32_t lonMinutes = 0;
    int32_t latSouth = 0;
    int32_t latDegrees = 0;
    int32_t latMinutes = 0;
    float magnitude = 0;  // 6.5 codes a faint star, 7 a nebulous one
    char designation[16] = {};  // at most 12 characters
    std::string description;
    int32_t identification = 0;  // reference star number, 0 for none
    int32_t catalogNumber = 0;
    // Recomputed at every drawing.
    float lon = 0, lat = 0;  // shifted ecliptic position, radians
    Vector3 dir = {};
    float screenX = 0, screenY = 0;
    int32_t visible = 0;
};

constexpr float kFaintMagnitude = 6.5f;
constexpr float kNebulousMagnitude = 7.0f;

struct Constellation {
    std::string name;
    std::vector<AncientStar> stars;  // starCount records, in file order
    int32_t figureCount = 0;
    int32_t extraCount = 0;
    int32_t starCount = 0;
};

// One loaded edition. Dropping the owning pointer frees its constellations and stars.
struct AncientCatalog {
    std::string name;  // from the header line; may be empty
    std::string path;  // the file it was read from
    Constellation constellations[kConstellationCount];
};

using EditionPtr = std::unique_ptr<AncientCatalog>;

// An edition holding the 48 constellations of the table, each with its zero-filled stars.
EditionPtr newEdition();

// A star's place in an edition: its constellation (table row) and its index there. Running
// numbers 1..1028 count the stars through the constellations in table order.
struct StarPlace {
    int constellation = -1, index = -1;
};
// The place of a running number; false (place untouched) when no star has it.
bool starPlaceOf(const AncientCatalog& edition, int number, StarPlace& place);

// Catalogue position of an ancient star as recorded, in degrees.
double ancientLonDegrees(const AncientStar& star);
double ancientLatDegrees(const AncientStar& star);

struct ReferenceStar {
    int32_t number = 0;        // 1 to 9110
    int32_t secondNumber = 0;  // 1 to 272150; checked on loading, not used otherwise
    char name[16] = {};        // designation such as "21 alp And"; may be empty
    float ra = 0, dec = 0;     // J2000.0 equator and equinox, radians
    float distance = 0;        // parsecs
    float pmRa = 0;            // arcsec/yr along the parallel
    float pmDec = 0;           // arcsec/yr
    float radialVelocity = 0;  // km/s, positive receding
    float magnitude = 0;       // at the current epoch
    float fileMagnitude = 0;   // at J2000.0, as read from the file
    float colorIndex = 0;      // B-V, 0 when missing
    int32_t color = 0;         // StarColors entry, 0 (white) when the colour index is missing
    Vector3 dir = {};          // at the epoch, in the ecliptic frame of the epoch
    float screenX = 0, screenY = 0;
    int32_t visible = 0;
};

// Entry index of every catalogue number 1..9110, -1 where no entry carries it.
struct NumberIndex {
    int16_t slot[kHighestReferenceNumber + 1];
};

struct ReferenceCatalog {
    ReferenceStar stars[kReferenceStarCount];
    NumberIndex index;
};

void clearNumberIndex(NumberIndex& index);
// Entry index 0..9095 of the star with this number, or -1.
int lookUpReferenceStar(const NumberIndex& index, int number);

struct CatalogSet {
    EditionPtr slots[kEditionSlotCount];  // the editions of F1, F2, F3
    int current = 0;                      // 0-based slot of the current edition
};

const AncientCatalog* currentEdition(const CatalogSet& set);
// The current edition's name for the status line; empty when no edition is loaded.
const std::string& currentEditionName(const CatalogSet& set);

struct EpochSetting {
    double epoch = 1771298.0;  // Julian Date
    float offsetLon = 0;       // radians, added to every ancient longitude
    float offsetLat = 0;       // radians, added to every ancient latitude
};
