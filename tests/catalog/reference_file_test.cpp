#include "catalog/reference_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>

#include "support/catalog_fixtures.h"
#include "support/temp_dir.h"

namespace {

// 21 alp And, number 100, HD 5000: every field set, none at a bound.
const ReferenceRecord kBright = {100,  5000,  21,   1,    0,   1,  1.0f, 0.5f,
                                 123, -1234, 2500, -456, 345, 0};

std::string nameOf(uint8_t flamsteed, uint8_t letter, uint8_t digit, uint8_t constellation) {
    char name[16];
    designationText(ReferenceRecord{0, 0, flamsteed, letter, digit, constellation}, name);
    return name;
}

// Every field the file gives, up to the direction an epoch computes: all four-byte members.
bool sameFileFields(const ReferenceStar& a, const ReferenceStar& b) {
    return std::memcmp(&a, &b, offsetof(ReferenceStar, dir)) == 0;
}

}  // namespace

TEST(ReferenceRecord, ThirtyLittleEndianBytesAndTheDesignationText) {
    const ReferenceRecord r = {0x1234, 0x01020304, 21, 1, 7, 1, 1.0f, -2.5f,
                               123,    -2,         2500, -456, 345, kMissingColorCode};
    const uint8_t expected[kReferenceRecordSize] = {
        0x34, 0x12, 0x04, 0x03, 0x02, 0x01,  // number, second number
        21, 1, 7, 1,                         // Flamsteed, letter, digit, constellation
        0x00, 0x00, 0x80, 0x3F, 0x00, 0x00, 0x20, 0xC0,  // ra 1.0, dec -2.5
        123, 0, 0xFE, 0xFF, 0xC4, 0x09,      // distance, pmRa -2, pmDec 2500
        0x38, 0xFE, 0x59, 0x01, 0xE7, 0x03,  // radial velocity -456, magnitude 345, colour 999
    };
    uint8_t bytes[kReferenceRecordSize];
    encodeReferenceRecord(r, bytes);
    for (int i = 0; i < kReferenceRecordSize; ++i) EXPECT_EQ(bytes[i], expected[i]) << "byte " << i;

    // The longest has 12 characters; an unknown letter leaves only its blank, an unknown
    // constellation nothing.
    EXPECT_EQ(nameOf(21, 1, 0, 1) + "|" + nameOf(0, 1, 2, 15) + "|" + nameOf(5, 0, 0, 1) + "|" +
                  nameOf(5, 0, 0, 0) + "|" + nameOf(0, 24, 0, 88) + "|" + nameOf(255, 8, 9, 83) +
                  "|" + nameOf(0, 25, 0, 10) + "|" + nameOf(3, 0, 4, 89),
              "21 alp And|alp2 Cap|5 And||ome Vul|255 the9 UMa| CMa|3 4");
}

TEST(ReferenceRecord, ConvertsScaledFieldsAndChecksInclusiveRanges) {
    ReferenceStar star;
    ASSERT_TRUE(referenceStarFromRecord(kBright, star));
    EXPECT_EQ(star.number * 10000 + star.secondNumber, 100 * 10000 + 5000);
    const float scaled[] = {star.ra,    star.dec,           star.distance,      star.pmRa,
                            star.pmDec, star.radialVelocity, star.fileMagnitude, star.magnitude};
    const float want[] = {1.0f, 0.5f, 12.3f, -1.234f, 2.5f, -45.6f, 3.45f, 3.45f};
    for (int i = 0; i < 8; ++i) EXPECT_FLOAT_EQ(scaled[i], want[i]) << i;
    EXPECT_EQ(star.color, 86);  // B-V 0 is about 9530 K: entry 1 + (9530 - 1000) / 100
    ReferenceRecord r = kBright;
    r.colorCode = kMissingColorCode;
    ASSERT_TRUE(referenceStarFromRecord(r, star));
    EXPECT_TRUE(star.colorIndex == 0.0f && star.color == 0);

    using R = ReferenceRecord&;
    struct Range {
        const char* field;
        void (*set)(R, double);
        double in[2], out[2];  // the bounds as stored, and the nearest values beyond them
    };
    const Range ranges[] = {
        {"number", [](R r, double v) { r.number = int16_t(v); }, {1, 9110}, {0, 9111}},
        {"second", [](R r, double v) { r.secondNumber = int32_t(v); }, {1, 272150}, {0, 272151}},
        {"ra", [](R r, double v) { r.ra = float(v); }, {0, 6.2832}, {-1e-6, 6.2833}},
        {"dec", [](R r, double v) { r.dec = float(v); }, {-1.5708, 1.5708}, {-1.5709, 1.5709}},
        {"distance", [](R r, double v) { r.distance = int16_t(v); }, {10, 10010}, {9, 10011}},
        {"pmRa", [](R r, double v) { r.pmRa = int16_t(v); }, {-6000, 6000}, {-6001, 6001}},
        {"pmDec", [](R r, double v) { r.pmDec = int16_t(v); }, {-6000, 6000}, {-6001, 6001}},
        {"velocity", [](R r, double v) { r.radialVelocity = int16_t(v); }, {-4000, 4000},
         {-4001, 4001}},
        {"magnitude", [](R r, double v) { r.magnitude = int16_t(v); }, {-150, 800}, {-151, 801}},
        {"colour", [](R r, double v) { r.colorCode = int16_t(v); }, {-50, 600}, {-51, 650}},
    };
    for (const Range& range : ranges) {
        for (int side = 0; side < 4; ++side) {
            const double value = side < 2 ? range.in[side] : range.out[side - 2];
            r = kBright;
            range.set(r, value);
            EXPECT_EQ(referenceStarFromRecord(r, star), side < 2) << range.field << " " << value;
        }
    }
    r = kBright;
    r.dec = std::nanf("");
    EXPECT_FALSE(referenceStarFromRecord(r, star));
}

TEST(ReferenceFile, WriteThenReadGivesBackEveryRecordAndAFailedReadChangesNothing) {
    TempDir dir;
    std::vector<ReferenceRecord> records = sampleReferenceRecords();
    records[7].number = records[2].number;  // a repeated number keeps its last entry
    auto write = [&](const char* name) {
        std::string path = dir.path(name);
        EXPECT_TRUE(writeReferenceCatalog(path.c_str(), records.data(), int(records.size())));
        return path;
    };
    std::string good = write("catb.bin");
    auto catalog = std::make_unique<ReferenceCatalog>();
    ASSERT_TRUE(readReferenceCatalog(good.c_str(), *catalog));
    for (int i = 0; i < kReferenceStarCount; ++i) {
        ReferenceStar want;
        ASSERT_TRUE(referenceStarFromRecord(records[size_t(i)], want)) << i;
        ASSERT_TRUE(sameFileFields(catalog->stars[i], want)) << i;
        ASSERT_TRUE(i == 2 || lookUpReferenceStar(catalog->index, want.number) == i) << i;
    }
    EXPECT_EQ(lookUpReferenceStar(catalog->index, records[2].number), 7);
    for (int absent : {8, 650, 9100, 0, -5, 9111})  // 8 was record 7's own number
        EXPECT_EQ(lookUpReferenceStar(catalog->index, absent), -1) << absent;

    catalog->stars[0].magnitude = 99.0f;  // an epoch value a failed read must not reset
    auto previous = std::make_unique<ReferenceCatalog>(*catalog);
    const std::string bytes = readWholeFile(good);
    std::vector<std::string> bad = {dir.path("short.bin"), dir.path("long.bin"),
                                    dir.path("missing.bin"), dir.root};
    ASSERT_TRUE(writeTextFile(bad[0], bytes.substr(0, bytes.size() - 1)));  // 272879 bytes
    ASSERT_TRUE(writeTextFile(bad[1], bytes + '\0'));                      // 272881 bytes
    // A late record, so that most of the catalogue has been converted before the failure.
    records[9000].dec = 1.5709f;
    bad.push_back(write("dec.bin"));
    records[9000].dec = 0, records[9000].colorCode = 650;
    bad.push_back(write("colour.bin"));
    for (const std::string& path : bad) {
        EXPECT_FALSE(readReferenceCatalog(path.c_str(), *catalog)) << path;
        for (int i = 0; i < kReferenceStarCount; ++i)
            ASSERT_TRUE(sameFileFields(catalog->stars[i], previous->stars[i])) << path << " " << i;
        EXPECT_EQ(std::memcmp(&catalog->index, &previous->index, sizeof(NumberIndex)), 0) << path;
    }
}
