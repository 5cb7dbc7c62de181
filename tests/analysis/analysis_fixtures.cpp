#include "analysis_fixtures.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "catalog/edition_file.h"
#include "catalog/precession.h"
#include "catalog/reference_file.h"

std::unique_ptr<ReferenceCatalog> emptyReferenceCatalog() {
    auto catalog = std::make_unique<ReferenceCatalog>();
    clearNumberIndex(catalog->index);
    return catalog;
}

void placeReferenceStar(ReferenceCatalog& catalog, int entry, int number, double lonDeg,
                        double latDeg, double jd) {
    Matrix3 m;  // J2000 equator to the ecliptic of jd; its transpose turns back
    mat3Identity(m);
    appendEquatorToEcliptic(m, kJ2000);
    appendPrecession(m, jd);
    Vector3 ecliptic, equator;
    lonLatToVec3(lonDeg * kDegToRad, latDeg * kDegToRad, ecliptic);
    double* out[] = {&equator.x, &equator.y, &equator.z};
    for (int i = 0; i < 3; ++i)
        *out[i] = m.m[i][0] * ecliptic.x + m.m[i][1] * ecliptic.y + m.m[i][2] * ecliptic.z;
    double ra, dec;
    vec3ToLonLat(equator, ra, dec);
    ReferenceStar& star = catalog.stars[entry];
    star = ReferenceStar();
    star.number = number;
    star.ra = float(ra), star.dec = float(dec), star.distance = 1000;
    catalog.index.slot[number] = int16_t(entry);
}

void recordPosition(AncientStar& star, double lonDeg, double latDeg, int stepArcmin) {
    long lon = std::lround(floorMod(lonDeg, 360.0) * 60 / stepArcmin) * stepArcmin % 21600;
    star.zodiacSign = int(lon / 1800), star.signDegrees = int(lon / 60 % 30);
    star.lonMinutes = int(lon % 60);
    long lat = std::lround(latDeg * 60 / stepArcmin) * stepArcmin;
    star.latSouth = lat < 0;
    star.latDegrees = int(std::labs(lat) / 60), star.latMinutes = int(std::labs(lat) % 60);
}

void recordSkyOf(AncientCatalog& edition, const ReferenceCatalog& reference, double jd,
                 double lonOffsetArcmin, double latOffsetArcmin, int stepArcmin) {
    auto sky = std::make_unique<ReferenceCatalog>(reference);
    applyEpoch(*sky, jd);
    for (Constellation& constellation : edition.constellations)
        for (AncientStar& star : constellation.stars) {
            int entry = lookUpReferenceStar(sky->index, star.identification);
            if (entry < 0) continue;
            double lon, lat;
            vec3ToLonLat(sky->stars[entry].dir, lon, lat);
            recordPosition(star, lon * kRadToDeg - lonOffsetArcmin / 60,
                           lat * kRadToDeg - latOffsetArcmin / 60, stepArcmin);
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
