// The data shipped in data/: the reference catalogue converted from the packaged star catalogues
// and the three synthetic sample editions generated from it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "catalog/reference_file.h"
#include "support/temp_dir.h"

const std::string kData = std::string(TESSARAN_SOURCE_DIR) + "/data/";

TEST(ShippedData, ReferenceCatalogueHoldsTheConvertersChoicesAndSpotValuesOfWellKnownStars) {
    auto catalog = std::make_unique<ReferenceCatalog>();
    ASSERT_TRUE(readReferenceCatalog((kData + "catb.bin").c_str(), *catalog));
    // Reading succeeded, so every field is within its range; the converter's own choices remain.
    int previous = 0, farthest = 0, colourless = 0;
    for (const ReferenceStar& s : catalog->stars) {
        EXPECT_GT(s.number, previous);
        previous = s.number;
        EXPECT_EQ(s.radialVelocity, 0.0f) << s.number;  // in none of the sources
        farthest += s.distance == 1001.0f;
        colourless += s.color == 0;
    }
    EXPECT_EQ(farthest, 26 + 219);  // no usable parallax, or one under 1 mas
    EXPECT_EQ(colourless, 9);
    // V, distance (pc, from the parallax to 0.1 pc), proper motions ("/yr), and the standard
    // Johnson B-V from UBV photometry, which the older sources missed by up to 0.1.
    const struct {
        int number;
        const char* name;
        double v, distance, pmRa, pmDec, bv;
    } stars[] = {{5340, "16 alp Boo", -0.04, 11.3, -1.093, -2.000, 1.23},
                 {2491, "9 alp CMa", -1.46, 2.6, -0.546, -1.223, 0.00},
                 {8085, "61 Cyg", 5.21, 3.5, 4.155, 3.259, NAN}};
    for (const auto& want : stars) {
        const int entry = lookUpReferenceStar(catalog->index, want.number);
        ASSERT_GE(entry, 0) << want.name;
        const ReferenceStar& s = catalog->stars[entry];
        EXPECT_STREQ(s.name, want.name);
        const double got[] = {s.fileMagnitude, s.distance, s.pmRa, s.pmDec};
        const double expected[] = {want.v, want.distance, want.pmRa, want.pmDec};
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(got[i], expected[i], 1e-5) << want.name << " field " << i;
        if (std::isnan(want.bv)) continue;
        EXPECT_NEAR(s.colorIndex, want.bv, 0.03) << want.name;
        EXPECT_NE(s.color, 0) << want.name;  // Sirius too has a colour, not the missing code
    }
    const ReferenceStar& arcturus = catalog->stars[lookUpReferenceStar(catalog->index, 5340)];
    EXPECT_NEAR(arcturus.ra * kRadToDeg / 15, 14.2610, 1e-4);  // 14h15m39.7s
    EXPECT_NEAR(arcturus.dec * kRadToDeg, 19.1825, 1e-4);      // +19 deg 10' 57"
}

TEST(ShippedDataRegeneration, SampleEditionsComeOutByteForByte) {
    TempDir dir;
    const std::string command = std::string(TESSARAN_BUILD_DIR) + "/make-sample-editions " +
                                kData + "catb.bin" + " " + dir.root + " > " + dir.path("log");
    ASSERT_EQ(std::system((command + " 2>&1").c_str()), 0) << readWholeFile(dir.path("log"));
    for (const char* name : {"cat1.dat", "cat2.dat", "cat3.dat"})
        EXPECT_TRUE(readWholeFile(dir.path(name)) == readWholeFile(kData + name)) << name;
}
