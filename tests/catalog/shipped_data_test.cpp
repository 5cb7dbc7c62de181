// The data shipped in data/: the reference catalogue converted from the packaged star catalogues
// and the three synthetic sample editions generated from it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "catalog/reference_file.h"
#include "support/temp_dir.h"

namespace {

std::string dataFile(const char* name) {
    return std::string(TESSARAN_SOURCE_DIR) + "/data/" + name;
}
std::string tool(const char* name) { return std::string(TESSARAN_BUILD_DIR) + "/" + name; }
// Where make data unpacks the B-V files of the Hipparcos main catalogue it fetches with npm.
std::string mainCatalogueColors(const char* name) {
    return std::string(TESSARAN_SOURCE_DIR) + "/build/npm/d3-celestial-0.7.35/" + name;
}

struct ShippedData : ::testing::Test {
    std::unique_ptr<ReferenceCatalog> catalog = std::make_unique<ReferenceCatalog>();
    void SetUp() override {
        ASSERT_TRUE(readReferenceCatalog(dataFile("catb.bin").c_str(), *catalog));
    }
    const ReferenceStar& numbered(int number) {
        int entry = lookUpReferenceStar(catalog->index, number);
        EXPECT_GE(entry, 0) << number;
        return catalog->stars[entry < 0 ? 0 : entry];
    }
};

// Runs a data tool into a temporary folder; the tool's output goes to a log shown on failure.
void runTool(const TempDir& dir, const std::string& arguments) {
    std::string command = arguments + " > " + dir.path("log") + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << readWholeFile(dir.path("log"));
}

}  // namespace

// Reading succeeded, so every field is within its range; the converter's own choices remain.
TEST_F(ShippedData, ReferenceCatalogueHoldsAscendingNumbersAndTheConvertersDefaults) {
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
}

TEST_F(ShippedData, SpotValuesOfWellKnownStars) {
    // V, distance (pc, from the parallax to 0.1 pc), proper motions ("/yr).
    const struct {
        int number;
        const char* name;
        double v, distance, pmRa, pmDec;
    } stars[] = {{5340, "16 alp Boo", -0.04, 11.3, -1.093, -2.000},
                 {2491, "9 alp CMa", -1.46, 2.6, -0.546, -1.223},
                 {8085, "61 Cyg", 5.21, 3.5, 4.155, 3.259}};
    for (const auto& want : stars) {
        const ReferenceStar& s = numbered(want.number);
        EXPECT_STREQ(s.name, want.name);
        const double got[] = {s.fileMagnitude, s.distance, s.pmRa, s.pmDec};
        const double expected[] = {want.v, want.distance, want.pmRa, want.pmDec};
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(got[i], expected[i], 1e-5) << want.name << " field " << i;
    }
    const ReferenceStar& arcturus = numbered(5340);
    EXPECT_EQ(arcturus.secondNumber, 124897);
    EXPECT_NEAR(arcturus.ra * kRadToDeg / 15, 14.2610, 1e-4);  // 14h15m39.7s
    EXPECT_NEAR(arcturus.dec * kRadToDeg, 19.1825, 1e-4);      // +19 deg 10' 57"
}

// The standard Johnson B-V from UBV photometry, which the older sources missed by up to 0.1.
TEST_F(ShippedData, ColourIndicesOfBrightStarsAreTheStandardValues) {
    const struct {
        int number;
        const char* name;
        double bv;
    } stars[] = {{5340, "16 alp Boo", 1.23}, {5056, "67 alp Vir", -0.23}, {472, "alp Eri", -0.16},
                 {5459, "alp1 Cen", 0.71},   {2491, "9 alp CMa", 0.00}};
    for (const auto& want : stars) {
        const ReferenceStar& s = numbered(want.number);
        EXPECT_STREQ(s.name, want.name);
        EXPECT_NEAR(s.colorIndex, want.bv, 0.03) << want.name;
        EXPECT_NE(s.color, 0) << want.name;  // Sirius too has a colour, not the missing code
    }
}

TEST(ShippedDataRegeneration, SampleEditionsComeOutByteForByte) {
    TempDir dir;
    runTool(dir, tool("make-sample-editions") + " " + dataFile("catb.bin") + " " + dir.root);
    for (const char* name : {"cat1.dat", "cat2.dat", "cat3.dat"})
        EXPECT_TRUE(readWholeFile(dir.path(name)) == readWholeFile(dataFile(name))) << name;
}

TEST(ShippedDataRegeneration, ReferenceCatalogueComesOutByteForByteFromThePackages) {
    const std::string sources[] = {"/usr/share/xplanet/stars/BSC",
                                   "/usr/share/kstars/namedstars.dat",
                                   "/usr/share/kstars/unnamedstars.dat",
                                   "/usr/share/stellarium/stars/default/hip_pm.dat",
                                   mainCatalogueColors("stars.6.json"),
                                   mainCatalogueColors("stars.8.json")};
    for (const std::string& source : sources)
        if (!std::filesystem::exists(source))
            GTEST_SKIP() << source << " is not there (make data installs and fetches the sources)";
    TempDir dir;
    runTool(dir, tool("make-reference-catalog") + " " + dir.path("catb.bin") + " " + sources[4] +
                     " " + sources[5]);
    EXPECT_TRUE(readWholeFile(dir.path("catb.bin")) == readWholeFile(dataFile("catb.bin")));
}
