#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "render/colors.h"
#include "support/temp_dir.h"

namespace {

struct ListedRow {
    int row;
    float red, green, blue;
};

const ListedRow kListedRows[] = {
    {0, 1.0000f, 1.0000f, 1.0000f},   {1, 1.0000f, 0.2000f, 0.0000f},
    {2, 1.0000f, 0.2706f, 0.0000f},   {6, 1.0000f, 0.4353f, 0.0000f},
    {11, 1.0000f, 0.5529f, 0.0431f},  {20, 1.0000f, 0.7137f, 0.3843f},
    {30, 1.0000f, 0.8275f, 0.6118f},  {40, 1.0000f, 0.8980f, 0.7843f},
    {50, 1.0000f, 0.9529f, 0.9176f},  {57, 1.0000f, 0.9765f, 0.9922f},
    {58, 0.9961f, 0.9804f, 1.0000f},  {59, 0.9882f, 0.9725f, 1.0000f},
    {64, 0.9451f, 0.9451f, 1.0000f},  {80, 0.8549f, 0.8863f, 1.0000f},
    {100, 0.7882f, 0.8392f, 1.0000f}, {130, 0.7333f, 0.7961f, 1.0000f},
    {160, 0.7020f, 0.7725f, 1.0000f}, {190, 0.6784f, 0.7569f, 1.0000f},
};

constexpr int kLastRedRow = 57;

}  // namespace

TEST(BlackbodyTable, KeepsTheListedRowsExactly) {
    for (const ListedRow& listed : kListedRows) {
        const float* row = kBlackbodyTable[listed.row];
        EXPECT_EQ(row[0], listed.red) << "row " << listed.row;
        EXPECT_EQ(row[1], listed.green) << "row " << listed.row;
        EXPECT_EQ(row[2], listed.blue) << "row " << listed.row;
    }
}

TEST(BlackbodyTable, WarmsToWhiteThenCoolsToBlueWithoutReversing) {
    for (int i = 1; i < kStarColorCount; ++i) {
        const float* row = kBlackbodyTable[i];
        for (int k = 0; k < 3; ++k) {
            EXPECT_GE(row[k], 0.0f) << "row " << i;
            EXPECT_LE(row[k], 1.0f) << "row " << i;
            // Four decimals: a whole number of ten-thousandths, up to float precision.
            double units = double(row[k]) * 10000;
            EXPECT_NEAR(units, std::round(units), 1e-3) << "row " << i << " channel " << k;
        }
        const float* previous = kBlackbodyTable[i - 1];
        if (i <= kLastRedRow) {
            EXPECT_EQ(row[0], 1.0f) << "row " << i;
            if (i > 1) {
                EXPECT_GE(row[1], previous[1]) << "green falls at row " << i;
                EXPECT_GE(row[2], previous[2]) << "blue falls at row " << i;
            }
        } else {
            EXPECT_EQ(row[2], 1.0f) << "row " << i;
            if (i > kLastRedRow + 1) {
                EXPECT_LE(row[0], previous[0]) << "red rises at row " << i;
                EXPECT_LE(row[1], previous[1]) << "green rises at row " << i;
            }
        }
    }
    // Across the turn at 6600-6700 K the colour stays near white.
    for (int k = 0; k < 3; ++k) {
        EXPECT_GT(kBlackbodyTable[kLastRedRow][k], 0.97f);
        EXPECT_GT(kBlackbodyTable[kLastRedRow + 1][k], 0.97f);
    }
}

TEST(BlackbodyTable, GeneratorReproducesTheCommittedFile) {
    TempDir dir;
    ASSERT_FALSE(dir.root.empty());
    std::string generated = dir.path("blackbody_table.cpp");
    std::string command = std::string("\"") + TESSARAN_BUILD_DIR + "/blackbody-table\" \"" +
                          generated + "\" 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::string committed = readWholeFile(std::string(TESSARAN_SOURCE_DIR) + "/render/blackbody_table.cpp");
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(readWholeFile(generated) == committed)
        << "render/blackbody_table.cpp differs from the generator's output; rerun blackbody-table";
}
