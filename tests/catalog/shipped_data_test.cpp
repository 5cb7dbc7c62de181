// The data shipped in data/: the reference catalogue converted from the packaged star catalogues
// and the three synthetic sample editions generated from it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/edition_file.h"
#include "catalog/precession.h"
#include "catalog/reference_file.h"
#include "geometry/vectors.h"
#include "support/temp_dir.h"

namespace {

const char* const kEditionFiles[] = {"cat1.dat", "cat2.dat", "cat3.dat"};
// The packaged catalogues the converter reads.
const char* const kSourceFiles[] = {
    "/usr/share/xplanet/stars/BSC", "/usr/share/kstars/namedstars.dat",
    "/usr/share/kstars/unnamedstars.dat", "/usr/share/stellarium/stars/default/hip_pm.dat"};

constexpr double kMaridonEpoch = 1771298.0;
constexpr double kCalvoridonEpoch = 1673941.0;
constexpr double kCalvoridonLonOffset = -0.04654211;  // -2 deg 40'

std::string dataFile(const char* name) {
    return std::string(TESSARAN_SOURCE_DIR) + "/data/" + name;
}
std::string tool(const char* name) { return std::string(TESSARAN_BUILD_DIR) + "/" + name; }

bool fileExists(const std::string& path) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

std::unique_ptr<ReferenceCatalog> shippedCatalog() {
    auto catalog = std::make_unique<ReferenceCatalog>();
    if (!readReferenceCatalog(dataFile("catb.bin").c_str(), *catalog)) return nullptr;
    return catalog;
}

const ReferenceStar* starNumbered(const ReferenceCatalog& catalog, int number) {
    int entry = lookUpReferenceStar(catalog.index, number);
    return entry < 0 ? nullptr : &catalog.stars[entry];
}

// A designation without the blanks that pad it to its 12 columns in an edition.
std::string trimmed(const char* text) {
    std::string s = text;
    return s.substr(0, s.find_last_not_of(' ') + 1);
}

// The modern constellation of a designation: its last word.
std::string modernConstellation(const char* name) {
    std::string s = trimmed(name);
    size_t space = s.rfind(' ');
    return space == std::string::npos ? s : s.substr(space + 1);
}

double arcminutesBetween(const Vector3& a, const Vector3& b) {
    Vector3 cross = {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    return std::atan2(vec3Length(cross), vec3Dot(a, b)) * kRadToDeg * 60.0;
}

// The direction the program draws an ancient star at with a longitude offset added.
Vector3 ancientDirection(const AncientStar& star, double lonOffset) {
    Vector3 dir;
    lonLatToVec3(ancientLonDegrees(star) * kDegToRad + lonOffset,
                 ancientLatDegrees(star) * kDegToRad, dir);
    return dir;
}

}  // namespace

TEST(ShippedReferenceCatalog, HoldsEveryBrightStarWithinTheReaderRanges) {
    EXPECT_EQ(readWholeFile(dataFile("catb.bin")).size(), size_t(kReferenceFileSize));
    std::unique_ptr<ReferenceCatalog> catalog = shippedCatalog();
    ASSERT_TRUE(catalog);

    int previous = 0, withoutParallax = 0, withoutColor = 0, standing = 0, named = 0;
    for (const ReferenceStar& s : catalog->stars) {
        EXPECT_GT(s.number, previous);
        previous = s.number;
        EXPECT_GE(s.secondNumber, kLowestSecondNumber);
        EXPECT_LE(s.secondNumber, kHighestSecondNumber);
        EXPECT_TRUE(kRaRange.holds(s.ra) && kDecRange.holds(s.dec)) << s.number;
        EXPECT_TRUE(kDistanceRange.holds(s.distance)) << s.number;
        EXPECT_TRUE(kProperMotionRange.holds(s.pmRa) && kProperMotionRange.holds(s.pmDec))
            << s.number;
        EXPECT_EQ(s.radialVelocity, 0.0f) << s.number;  // in none of the sources
        EXPECT_TRUE(kMagnitudeRange.holds(s.fileMagnitude)) << s.number;
        EXPECT_TRUE(kColorIndexRange.holds(s.colorIndex)) << s.number;
        withoutParallax += s.distance == 1001.0f;
        withoutColor += s.color == 0;
        standing += s.pmRa == 0.0f && s.pmDec == 0.0f;
        named += s.name[0] != '\0';
    }
    EXPECT_LE(previous, kHighestReferenceNumber);
    // The joins found nearly every star: only a few lack a colour or a motion, and only those
    // without a parallax or with one under 1 mas stand at 1001 pc.
    EXPECT_LT(withoutParallax, 300);
    EXPECT_LT(withoutColor, 50);
    EXPECT_LT(standing, 50);
    // Only stars with a Flamsteed number or Greek letter carry a constellation.
    EXPECT_GT(named, 3000);
    EXPECT_LT(named, 3300);
}

TEST(ShippedReferenceCatalog, MatchesWellKnownStars) {
    std::unique_ptr<ReferenceCatalog> catalog = shippedCatalog();
    ASSERT_TRUE(catalog);

    const ReferenceStar* arcturus = starNumbered(*catalog, 5340);
    ASSERT_TRUE(arcturus);
    EXPECT_STREQ(arcturus->name, "16 alp Boo");
    EXPECT_EQ(arcturus->secondNumber, 124897);
    EXPECT_NEAR(arcturus->ra, 14.2610 * 15 * kDegToRad, 1e-5);
    EXPECT_NEAR(arcturus->dec, 19.1825 * kDegToRad, 1e-5);
    EXPECT_NEAR(arcturus->fileMagnitude, -0.04, 0.005);
    EXPECT_NEAR(arcturus->pmRa, -1.09, 0.01);  // along the parallel
    EXPECT_NEAR(arcturus->pmDec, -2.00, 0.01);
    EXPECT_NEAR(1000.0 / arcturus->distance, 88.8, 0.8);  // distances are kept to 0.1 pc
    EXPECT_NEAR(arcturus->colorIndex, 1.23, 0.1);        // kstars gives 1.14
    EXPECT_GT(arcturus->color, 0);

    const ReferenceStar* sirius = starNumbered(*catalog, 2491);
    ASSERT_TRUE(sirius);
    EXPECT_STREQ(sirius->name, "9 alp CMa");
    EXPECT_NEAR(sirius->colorIndex, 0.0, 0.02);
    EXPECT_NEAR(sirius->distance, 1000.0 / 379.0, 0.06);
    EXPECT_NEAR(sirius->fileMagnitude, -1.46, 0.005);

    const ReferenceStar* cygniA = starNumbered(*catalog, 8085);
    ASSERT_TRUE(cygniA);
    EXPECT_STREQ(cygniA->name, "61 Cyg");
    EXPECT_NEAR(cygniA->pmRa, 4.1, 0.1);
    EXPECT_NEAR(std::hypot(cygniA->pmRa, cygniA->pmDec), 5.28, 0.05);
    EXPECT_NEAR(cygniA->distance, 3.5, 0.06);

    // A designation with a letter digit, and one star without any designation.
    const ReferenceStar* capricorni = starNumbered(*catalog, 7754);
    ASSERT_TRUE(capricorni);
    EXPECT_STREQ(capricorni->name, "6 alp2 Cap");
    const ReferenceStar* plain = starNumbered(*catalog, 9090);
    ASSERT_TRUE(plain);
    EXPECT_STREQ(plain->name, "");
}

TEST(ShippedReferenceCatalog, RegeneratingFromThePackagesGivesTheSameBytes) {
    for (const char* source : kSourceFiles)
        if (!fileExists(source))
            GTEST_SKIP() << source << " is not installed (make data installs the packages)";
    ASSERT_TRUE(fileExists(tool("make-reference-catalog")));
    TempDir dir;
    std::string out = dir.path("catb.bin");
    std::string command = tool("make-reference-catalog") + " " + out + " > " + dir.path("log");
    ASSERT_EQ(std::system(command.c_str()), 0) << readWholeFile(dir.path("log"));
    EXPECT_TRUE(readWholeFile(out) == readWholeFile(dataFile("catb.bin")));
}

TEST(ShippedSampleEditions, RegeneratingFromTheReferenceCatalogueGivesTheSameBytes) {
    ASSERT_TRUE(fileExists(tool("make-sample-editions")));
    TempDir dir;
    std::string command = tool("make-sample-editions") + " " + dataFile("catb.bin") + " " +
                          dir.root + " > " + dir.path("log");
    ASSERT_EQ(std::system(command.c_str()), 0) << readWholeFile(dir.path("log"));
    for (const char* name : kEditionFiles)
        EXPECT_TRUE(readWholeFile(dir.path(name)) == readWholeFile(dataFile(name))) << name;
}

TEST(ShippedSampleEditions, AreSyntheticCopiesOfTheBrightestModernStars) {
    std::unique_ptr<ReferenceCatalog> catalog = shippedCatalog();
    ASSERT_TRUE(catalog);
    for (const char* file : kEditionFiles) {
        SCOPED_TRACE(file);
        EditionPtr edition = readEdition(dataFile(file).c_str());
        ASSERT_TRUE(edition);
        EXPECT_NE(edition->name.find("synthetic"), std::string::npos) << edition->name;

        int running = 0;
        std::set<int> used;
        std::map<std::string, int> rowOfModern;
        for (int c = 0; c < kConstellationCount; ++c) {
            const Constellation& con = edition->constellations[c];
            ASSERT_EQ(int(con.stars.size()), con.starCount);
            std::set<std::string> modern;
            float faintestTaken = -10;
            for (size_t i = 0; i < con.stars.size(); ++i) {
                const AncientStar& star = con.stars[i];
                EXPECT_EQ(star.catalogNumber, ++running);
                EXPECT_EQ(star.numberInConstellation, int(i) + 1);
                const ReferenceStar* ref = starNumbered(*catalog, star.identification);
                ASSERT_TRUE(ref) << star.identification;
                EXPECT_TRUE(used.insert(star.identification).second) << star.identification;
                EXPECT_EQ(trimmed(star.designation), ref->name);
                EXPECT_NE(star.description.find(std::to_string(ref->number)), std::string::npos);
                std::string abbreviation = modernConstellation(ref->name);
                modern.insert(abbreviation);
                if (!rowOfModern.count(abbreviation)) rowOfModern[abbreviation] = c;
                EXPECT_EQ(rowOfModern[abbreviation], c) << abbreviation << " serves two rows";

                float v = ref->fileMagnitude;
                if (v > 6.0f) {
                    EXPECT_EQ(star.magnitude, kFaintMagnitude) << v;
                } else if (v < 1.0f) {
                    EXPECT_EQ(star.magnitude, 1.0f) << v;
                } else {
                    EXPECT_LE(std::fabs(star.magnitude - v), 0.5f) << v;
                }
                bool topUp = c == 43 && abbreviation != "Cen";  // from the neighbours, after
                if (!topUp) {
                    EXPECT_GE(v, faintestTaken) << "brightness order in " << con.name;
                    faintestTaken = v;
                }
            }
            // One modern constellation per row, except the four parts of Argo Navis and the
            // neighbours that make up the shortfall of Centaurus.
            const std::set<std::string> argo = {"Car", "Pup", "Vel", "Pyx"};
            const std::set<std::string> centaurus = {"Cen", "Cru", "Cir", "Mus", "Ant"};
            if (c == 39) {
                EXPECT_TRUE(std::includes(argo.begin(), argo.end(), modern.begin(), modern.end()));
            } else if (c == 43) {
                EXPECT_TRUE(std::includes(centaurus.begin(), centaurus.end(), modern.begin(),
                                          modern.end()));
            } else {
                EXPECT_EQ(modern.size(), 1u) << con.name;
            }
            // None brighter was passed over in the row's modern constellation.
            if (modern.size() == 1) {
                for (const ReferenceStar& s : catalog->stars) {
                    if (s.name[0] && modernConstellation(s.name) == *modern.begin() &&
                        !used.count(s.number)) {
                        EXPECT_GE(s.fileMagnitude, faintestTaken) << s.number << " " << con.name;
                    }
                }
            }
        }
        EXPECT_EQ(running, kAncientStarCount);
        EXPECT_EQ(modernConstellation(edition->constellations[0].stars[0].designation), "UMi");
        EXPECT_EQ(modernConstellation(edition->constellations[13].stars[0].designation), "Ser");
        EXPECT_EQ(modernConstellation(edition->constellations[37].stars[0].designation), "CMa");
        EXPECT_EQ(modernConstellation(edition->constellations[43].stars[0].designation), "Cen");
        EXPECT_EQ(modernConstellation(edition->constellations[47].stars[0].designation), "PsA");
    }
}

TEST(ShippedSampleEditions, LieWhereTheGeneratorPutThemAgainstTheModernSky) {
    std::unique_ptr<ReferenceCatalog> catalog = shippedCatalog();
    ASSERT_TRUE(catalog);
    EditionPtr editions[3];
    for (int e = 0; e < 3; ++e) {
        editions[e] = readEdition(dataFile(kEditionFiles[e]).c_str());
        ASSERT_TRUE(editions[e]) << kEditionFiles[e];
    }
    auto forEachStar = [&](const AncientCatalog& edition, auto&& visit) {
        for (const Constellation& con : edition.constellations)
            for (const AncientStar& star : con.stars)
                visit(star,
                      catalog->stars[lookUpReferenceStar(catalog->index, star.identification)]);
    };

    // Sample A: the modern sky of 20 Jul 137 AD rounded to 10', so under 8' everywhere.
    applyEpoch(*catalog, kMaridonEpoch);
    double largestA = 0;
    forEachStar(*editions[0], [&](const AncientStar& star, const ReferenceStar& ref) {
        largestA = std::max(largestA, arcminutesBetween(ancientDirection(star, 0), ref.dir));
    });
    EXPECT_LT(largestA, 8.0);

    // Sample B: the same sky with longitudes 1 deg short and bell-shaped errors of 15'.
    double sumLon = 0, sumLon2 = 0, sumLat = 0, sumLat2 = 0, largestB = 0;
    forEachStar(*editions[1], [&](const AncientStar& star, const ReferenceStar& ref) {
        double lon, lat;
        vec3ToLonLat(ref.dir, lon, lat);
        double dLon = std::remainder(ancientLonDegrees(star) - lon * kRadToDeg, 360.0) * 60.0;
        double dLat = (ancientLatDegrees(star) - lat * kRadToDeg) * 60.0;
        sumLon += dLon, sumLon2 += dLon * dLon, sumLat += dLat, sumLat2 += dLat * dLat;
        largestB = std::max({largestB, std::fabs(dLon + 60.0), std::fabs(dLat)});
    });
    double meanLon = sumLon / kAncientStarCount, meanLat = sumLat / kAncientStarCount;
    EXPECT_NEAR(meanLon, -60.0, 2.0);
    EXPECT_NEAR(meanLat, 0.0, 2.0);
    EXPECT_NEAR(std::sqrt(sumLon2 / kAncientStarCount - meanLon * meanLon), 15.3, 1.5);
    EXPECT_NEAR(std::sqrt(sumLat2 / kAncientStarCount - meanLat * meanLat), 15.3, 1.5);
    EXPECT_LT(largestB, 6 * 15.0 + 5.0);  // the errors are bounded at six deviations

    // Sample C: the sky of 1 Jan 130 BC, lined up by the preset's offset of -2 deg 40'.
    applyEpoch(*catalog, kCalvoridonEpoch);
    double largestC = 0, largestCWithoutOffset = 0;
    forEachStar(*editions[2], [&](const AncientStar& star, const ReferenceStar& ref) {
        Vector3 lined = ancientDirection(star, kCalvoridonLonOffset);
        largestC = std::max(largestC, arcminutesBetween(lined, ref.dir));
        largestCWithoutOffset = std::max(largestCWithoutOffset,
                                         arcminutesBetween(ancientDirection(star, 0), ref.dir));
    });
    EXPECT_LT(largestC, 8.0);
    EXPECT_GT(largestCWithoutOffset, 100.0);
    std::printf("largest separations: A %.2f', B %.1f' beyond the 1 deg shift, C %.2f'; "
                "B deviations %.1f' in longitude, %.1f' in latitude\n",
                largestA, largestB, largestC,
                std::sqrt(sumLon2 / kAncientStarCount - meanLon * meanLon),
                std::sqrt(sumLat2 / kAncientStarCount - meanLat * meanLat));
}
