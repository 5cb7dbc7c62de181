// Generator of the three sample editions data/cat1.dat, cat2.dat and cat3.dat. The scholarly
// editions cannot be shipped, so these are synthetic: every star is a modern star of the shipped
// reference catalogue, carried to the edition's epoch with the program's own epoch code, turned
// into ecliptic longitude and latitude of that epoch and written in the edition format through
// the program's own writer. It runs only when the shipped data is regenerated (make data).
//
// Selection: for each of the 48 constellations, figureCount + extraCount stars of the matching
// modern constellation (the last word of the reference star's designation) in order of
// brightness; Argo Navis takes Car, Pup, Vel and Pyx together. A constellation whose modern
// counterpart has too few designated stars is topped up with the next brightest stars of the
// neighbours listed in its row (only Centaurus needs this: Cen has 32 designated stars for 37
// places, and the brightest five of Cru, Cir, Mus and Ant are all Crux stars). Stars without a
// designation have no constellation and are never chosen.
//
// The three samples:
//   A  20 Jul 137 AD (JD 1771298.0), positions rounded to whole 10'.
//   B  the same epoch, longitudes 1 deg too small, random errors of about 15' (standard
//      deviation) in longitude and latitude, then rounded to 10'.
//   C  1 Jan 130 BC (JD 1673941.0), longitudes 2 deg 40' too large, rounded to 10', so that the
//      epoch preset of that date with its offset of -2 deg 40' lines them up with the modern sky.
// Magnitudes: V rounded to the nearest whole number, brighter than 1 written as 1; stars fainter
// than V 6.0, past the naked-eye limit that the whole-number scale ends at, get the faint code 6.5.
//
// The random errors come from a fixed seed and a generator written out here (splitmix64, with
// sums of twelve uniform numbers for the bell-shaped errors), so regenerating gives the same
// bytes on any machine and library.
//
// Usage: make-sample-editions REFERENCE_FILE OUTPUT_FOLDER
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/edition_file.h"
#include "catalog/precession.h"
#include "catalog/random.h"
#include "catalog/reference_file.h"
#include "geometry/vectors.h"

namespace {

struct ModernSource {
    const char* name;        // the constellation table's name, checked against it
    const char* modern;      // modern constellations the stars are taken from
    const char* neighbours;  // where a shortfall is made up, empty when none is needed
};

const ModernSource kModernSources[kConstellationCount] = {
    {"Ursa Minor", "UMi", ""},         {"Ursa Major", "UMa", ""},
    {"Draco", "Dra", ""},              {"Cepheus", "Cep", ""},
    {"Bootes", "Boo", ""},             {"Corona Borealis", "CrB", ""},
    {"Hercules", "Her", ""},           {"Lyra", "Lyr", ""},
    {"Cygnus", "Cyg", ""},             {"Cassiopeia", "Cas", ""},
    {"Perseus", "Per", ""},            {"Auriga", "Aur", ""},
    {"Ophiuchus", "Oph", ""},          {"Serpens", "Ser", ""},
    {"Sagitta", "Sge", ""},            {"Aquila", "Aql", ""},
    {"Delphinus", "Del", ""},          {"Equuleus", "Equ", ""},
    {"Pegasus", "Peg", ""},            {"Andromeda", "And", ""},
    {"Triangulum", "Tri", ""},         {"Aries", "Ari", ""},
    {"Taurus", "Tau", ""},             {"Gemini", "Gem", ""},
    {"Cancer", "Cnc", ""},             {"Leo", "Leo", ""},
    {"Virgo", "Vir", ""},              {"Libra", "Lib", ""},
    {"Scorpius", "Sco", ""},           {"Sagittarius", "Sgr", ""},
    {"Capricornus", "Cap", ""},        {"Aquarius", "Aqr", ""},
    {"Pisces", "Psc", ""},             {"Cetus", "Cet", ""},
    {"Orion", "Ori", ""},              {"Eridanus", "Eri", ""},
    {"Lepus", "Lep", ""},              {"Canis Major", "CMa", ""},
    {"Canis Minor", "CMi", ""},        {"Argo Navis", "Car Pup Vel Pyx", ""},
    {"Hydra", "Hya", ""},              {"Crater", "Crt", ""},
    {"Corvus", "Crv", ""},             {"Centaurus", "Cen", "Cru Cir Mus Ant"},
    {"Lupus", "Lup", ""},              {"Ara", "Ara", ""},
    {"Corona Australis", "CrA", ""},   {"Piscis Austrinus", "PsA", ""},
};

struct SampleEdition {
    const char* fileName;
    const char* label;        // the header name
    double epoch;             // Julian Date
    double lonOffsetMinutes;  // added to every modern longitude
    double errorMinutes;      // standard deviation of the random errors, 0 for none
};

const SampleEdition kSamples[] = {
    {"cat1.dat", "Sample A (synthetic, 20 Jul 137 AD)", 1771298.0, 0.0, 0.0},
    {"cat2.dat", "Sample B (synthetic, 20 Jul 137 AD, longitudes -1 deg, errors of 15')",
     1771298.0, -60.0, 15.0},
    {"cat3.dat", "Sample C (synthetic, 1 Jan 130 BC, longitudes +2 deg 40')", 1673941.0, 160.0,
     0.0},
};

constexpr uint64_t kSeed = 0x7E55A4A51028ULL;
constexpr int kMinutesPerStep = 10;  // positions are rounded to whole 10'
constexpr double kFaintestWholeMagnitude = 6.0;


std::vector<std::string> words(const char* text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

// The modern constellation of a reference star: the last word of its designation.
std::string modernConstellation(const ReferenceStar& star) {
    const char* space = std::strrchr(star.name, ' ');
    return space ? space + 1 : star.name;
}

// Entry indices of the not yet taken stars of the given modern constellations, brightest first.
std::vector<int> candidates(const ReferenceCatalog& catalog, const char* modern,
                            const std::vector<bool>& taken) {
    std::vector<std::string> wanted = words(modern);
    std::vector<int> found;
    for (int i = 0; i < kReferenceStarCount; ++i) {
        if (taken[i] || catalog.stars[i].name[0] == '\0') continue;
        if (std::find(wanted.begin(), wanted.end(), modernConstellation(catalog.stars[i])) !=
            wanted.end())
            found.push_back(i);
    }
    std::stable_sort(found.begin(), found.end(), [&](int a, int b) {
        return catalog.stars[a].fileMagnitude < catalog.stars[b].fileMagnitude;
    });
    return found;
}

struct Choice {
    int entry;
    bool fromNeighbour;
};

// The stars of every constellation in table order; false when even the neighbours fall short.
bool chooseStars(const ReferenceCatalog& catalog, std::vector<Choice> chosen[kConstellationCount]) {
    std::vector<bool> taken(kReferenceStarCount, false);
    for (int c = 0; c < kConstellationCount; ++c) {
        const ModernSource& source = kModernSources[c];
        const int count = kConstellationTable[c].figureCount + kConstellationTable[c].extraCount;
        for (int pass = 0; pass < 2 && int(chosen[c].size()) < count; ++pass) {
            std::vector<int> pool =
                candidates(catalog, pass == 0 ? source.modern : source.neighbours, taken);
            for (int entry : pool) {
                if (int(chosen[c].size()) == count) break;
                chosen[c].push_back({entry, pass == 1});
                taken[entry] = true;
            }
        }
        int fromNeighbours = int(std::count_if(chosen[c].begin(), chosen[c].end(),
                                               [](const Choice& x) { return x.fromNeighbour; }));
        if (int(chosen[c].size()) < count) {
            std::fprintf(stderr, "%s: only %zu stars for %d places\n", source.name,
                         chosen[c].size(), count);
            return false;
        }
        if (fromNeighbours > 0)
            std::printf("%s: %d stars of %s, the next brightest %d from its neighbours %s\n",
                        source.name, count - fromNeighbours, source.modern, fromNeighbours,
                        source.neighbours);
    }
    return true;
}

// The recorded magnitude of a star of visual magnitude v.
float wholeMagnitude(double v) {
    if (v > kFaintestWholeMagnitude) return kFaintMagnitude;
    return float(std::max(1L, std::lround(v)));
}

// Longitude and latitude in degrees, rounded to whole steps of 10', into the star's fields.
void setPosition(AncientStar& star, double lonDegrees, double latDegrees) {
    const long stepsPerDegree = 60 / kMinutesPerStep;
    long lonSteps =
        std::lround(floorMod(lonDegrees, 360.0) * stepsPerDegree) % (360 * stepsPerDegree);
    int lonWhole = int(lonSteps / stepsPerDegree);
    star.zodiacSign = lonWhole / 30;
    star.signDegrees = lonWhole % 30;
    star.lonMinutes = int(lonSteps % stepsPerDegree) * kMinutesPerStep;
    long latSteps = std::lround(std::max(-90.0, std::min(90.0, latDegrees)) * stepsPerDegree);
    star.latSouth = latSteps < 0;
    latSteps = std::labs(latSteps);
    star.latDegrees = int(latSteps / stepsPerDegree);
    star.latMinutes = int(latSteps % stepsPerDegree) * kMinutesPerStep;
}

std::unique_ptr<AncientCatalog> buildEdition(const SampleEdition& sample,
                                             ReferenceCatalog& catalog,
                                             const std::vector<Choice> chosen[kConstellationCount],
                                             SplitMix64& random) {
    applyEpoch(catalog, sample.epoch);
    EditionPtr edition = newEdition();
    edition->name = sample.label;
    int catalogNumber = 0;
    for (int c = 0; c < kConstellationCount; ++c) {
        Constellation& constellation = edition->constellations[c];
        constellation.stars.clear();  // filled below in order of brightness
        for (const Choice& choice : chosen[c]) {
            const ReferenceStar& modern = catalog.stars[choice.entry];
            double lon, lat;
            vec3ToLonLat(modern.dir, lon, lat);
            double lonDegrees = lon * kRadToDeg + sample.lonOffsetMinutes / 60.0;
            double latDegrees = lat * kRadToDeg;
            if (sample.errorMinutes > 0) {
                lonDegrees += random.bell() * sample.errorMinutes / 60.0;
                latDegrees += random.bell() * sample.errorMinutes / 60.0;
            }
            AncientStar star;
            star.catalogNumber = ++catalogNumber;
            star.numberInConstellation = int(constellation.stars.size()) + 1;
            setPosition(star, lonDegrees, latDegrees);
            star.magnitude = wholeMagnitude(modern.fileMagnitude);
            std::snprintf(star.designation, sizeof star.designation, "%.12s", modern.name);
            char description[96];
            std::snprintf(description, sizeof description,
                          "drawn from reference star %d (%s, V %.2f)%s", modern.number,
                          modern.name, modern.fileMagnitude,
                          choice.fromNeighbour ? ", a neighbour" : "");
            star.description = description;
            star.identification = modern.number;
            constellation.stars.push_back(star);
        }
    }
    return edition;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s REFERENCE_FILE OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    for (int c = 0; c < kConstellationCount; ++c)
        if (std::strcmp(kModernSources[c].name, kConstellationTable[c].name) != 0) {
            std::fprintf(stderr, "row %d: %s is not %s\n", c, kModernSources[c].name,
                         kConstellationTable[c].name);
            return 1;
        }
    auto catalog = std::make_unique<ReferenceCatalog>();
    if (!readReferenceCatalog(argv[1], *catalog)) {
        std::fprintf(stderr, "cannot read the reference catalogue %s\n", argv[1]);
        return 1;
    }
    std::vector<Choice> chosen[kConstellationCount];
    if (!chooseStars(*catalog, chosen)) return 1;

    SplitMix64 random = {kSeed};
    for (const SampleEdition& sample : kSamples) {
        std::string path = std::string(argv[2]) + "/" + sample.fileName;
        std::unique_ptr<AncientCatalog> edition = buildEdition(sample, *catalog, chosen, random);
        edition->path = path;
        if (!writeEdition(path.c_str(), *edition)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        EditionPtr check = readEdition(path.c_str());
        if (!check) {
            std::fprintf(stderr, "%s does not pass the edition reader\n", path.c_str());
            return 1;
        }
        std::printf("%s: %s\n", path.c_str(), check->name.c_str());
    }
    return 0;
}
