#include "analysis_fixtures.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "catalog/edition_file.h"
#include "catalog/precession.h"
#include "catalog/reference_file.h"

void recordSkyOf(AncientCatalog& edition, const ReferenceCatalog& reference, double jd,
                 double lonOffsetArcmin, double latOffsetArcmin) {
    auto sky = std::make_unique<ReferenceCatalog>(reference);
    applyEpoch(*sky, jd);
    for (Constellation& constellation : edition.constellations)
        for (AncientStar& star : constellation.stars) {
            int entry = lookUpReferenceStar(sky->index, star.identification);
            if (entry < 0) continue;
            double lonRad, latRad;
            vec3ToLonLat(sky->stars[entry].dir, lonRad, latRad);
            long lon = std::lround(floorMod(lonRad * kRadToDeg * 60 - lonOffsetArcmin, 21600.0));
            long lat = std::lround(latRad * kRadToDeg * 60 - latOffsetArcmin);
            star.zodiacSign = int(lon % 21600 / 1800), star.signDegrees = int(lon / 60 % 30);
            star.lonMinutes = int(lon % 60), star.latSouth = lat < 0;
            star.latDegrees = int(std::labs(lat) / 60), star.latMinutes = int(std::labs(lat) % 60);
        }
}

std::unique_ptr<ReferenceCatalog> shippedReference() {
    auto catalog = std::make_unique<ReferenceCatalog>();
    std::string path = std::string(TESSARAN_SOURCE_DIR) + "/data/catb.bin";
    if (!readReferenceCatalog(path.c_str(), *catalog)) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        std::abort();
    }
    return catalog;
}

EditionPtr shippedEdition(const char* name) {
    return readEdition((std::string(TESSARAN_SOURCE_DIR) + "/data/" + name).c_str());
}
