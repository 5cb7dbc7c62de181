#include "catalog/catalog.h"

#include <cctype>

const ConstellationInfo kConstellationTable[kConstellationCount] = {
    {"Ursa Minor", 7, 1},        {"Ursa Major", 27, 8},      {"Draco", 31, 0},
    {"Cepheus", 11, 2},          {"Bootes", 22, 1},          {"Corona Borealis", 8, 0},
    {"Hercules", 29, 1},         {"Lyra", 10, 0},            {"Cygnus", 17, 2},
    {"Cassiopeia", 13, 0},       {"Perseus", 26, 3},         {"Auriga", 14, 0},
    {"Ophiuchus", 24, 5},        {"Serpens", 18, 0},         {"Sagitta", 5, 0},
    {"Aquila", 9, 6},            {"Delphinus", 10, 0},       {"Equuleus", 4, 0},
    {"Pegasus", 20, 0},          {"Andromeda", 23, 0},       {"Triangulum", 4, 0},
    {"Aries", 13, 5},            {"Taurus", 33, 11},         {"Gemini", 18, 7},
    {"Cancer", 9, 4},            {"Leo", 27, 8},             {"Virgo", 26, 6},
    {"Libra", 8, 9},             {"Scorpius", 21, 3},        {"Sagittarius", 31, 0},
    {"Capricornus", 28, 0},      {"Aquarius", 42, 3},        {"Pisces", 34, 4},
    {"Cetus", 22, 0},            {"Orion", 38, 0},           {"Eridanus", 34, 0},
    {"Lepus", 12, 0},            {"Canis Major", 18, 11},    {"Canis Minor", 2, 0},
    {"Argo Navis", 45, 0},       {"Hydra", 25, 2},           {"Crater", 7, 0},
    {"Corvus", 7, 0},            {"Centaurus", 37, 0},       {"Lupus", 19, 0},
    {"Ara", 7, 0},               {"Corona Australis", 13, 0}, {"Piscis Austrinus", 12, 6},
};

int constellationByName(std::string_view name) {
    for (int c = 0; c < kConstellationCount; ++c) {
        const std::string_view row = kConstellationTable[c].name;
        bool same = name.size() == row.size();
        for (size_t i = 0; i < name.size() && same; ++i)
            same = std::tolower((unsigned char)name[i]) == std::tolower((unsigned char)row[i]);
        if (same) return c;
    }
    return -1;
}

EditionPtr newEdition() {
    EditionPtr edition = std::make_unique<AncientCatalog>();
    for (int c = 0; c < kConstellationCount; ++c) {
        const ConstellationInfo& row = kConstellationTable[c];
        Constellation& constellation = edition->constellations[c];
        constellation.name = row.name;
        constellation.figureCount = row.figureCount;
        constellation.extraCount = row.extraCount;
        constellation.starCount = row.figureCount + row.extraCount;
        constellation.stars.resize(size_t(constellation.starCount));
    }
    return edition;
}

bool starPlaceOf(const AncientCatalog& edition, int number, StarPlace& place) {
    if (number < 1) return false;
    for (int c = 0; c < kConstellationCount; ++c) {
        const int count = int(edition.constellations[c].stars.size());
        if (number <= count) {
            place = {c, number - 1};
            return true;
        }
        number -= count;
    }
    return false;
}

double ancientLonDegrees(const AncientStar& star) {
    return 30.0 * star.zodiacSign + star.signDegrees + star.lonMinutes / 60.0;
}

double ancientLatDegrees(const AncientStar& star) {
    double lat = star.latDegrees + star.latMinutes / 60.0;
    return star.latSouth ? -lat : lat;
}

void clearNumberIndex(NumberIndex& index) {
    for (int16_t& slot : index.slot) slot = -1;
}

int lookUpReferenceStar(const NumberIndex& index, int number) {
    if (number < 1 || number > kHighestReferenceNumber) return -1;
    return index.slot[number];
}

const AncientCatalog* currentEdition(const CatalogSet& set) {
    if (set.current < 0 || set.current >= kEditionSlotCount) return nullptr;
    return set.slots[set.current].get();
}

const std::string& currentEditionName(const CatalogSet& set) {
    static const std::string none;
    const AncientCatalog* edition = currentEdition(set);
    return edition ? edition->name : none;
}
