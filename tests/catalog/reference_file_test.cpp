#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalog/reference_file.h"
#include "support/catalog_fixtures.h"
#include "support/temp_dir.h"

namespace {

ReferenceRecord brightRecord() {
    ReferenceRecord r;
    r.number = 100;
    r.secondNumber = 5000;
    r.flamsteed = 21;
    r.greekLetter = 1;
    r.constellation = 1;
    r.ra = 1.0f;
    r.dec = 0.5f;
    r.distance = 123;
    r.pmRa = -1234;
    r.pmDec = 2500;
    r.radialVelocity = -456;
    r.magnitude = 345;
    r.colorCode = 0;
    return r;
}

std::string nameOf(int flamsteed, int letter, int digit, int constellation) {
    ReferenceRecord r;
    r.flamsteed = uint8_t(flamsteed);
    r.greekLetter = uint8_t(letter);
    r.letterDigit = uint8_t(digit);
    r.constellation = uint8_t(constellation);
    char name[16];
    designationText(r, name);
    return name;
}

std::string writeRecords(const TempDir& dir, const std::vector<ReferenceRecord>& records,
                         const char* file = "catb.bin") {
    std::string path = dir.path(file);
    EXPECT_TRUE(writeReferenceCatalog(path.c_str(), records.data(), int(records.size())));
    return path;
}

}  // namespace

TEST(ReferenceRecord, ThirtyLittleEndianBytesInTheFileLayout) {
    ReferenceRecord r = brightRecord();
    r.number = 0x1234;
    r.secondNumber = 0x01020304;
    r.letterDigit = 7;
    r.dec = -2.5f;
    r.pmRa = -2;
    r.colorCode = kMissingColorCode;
    uint8_t bytes[kReferenceRecordSize];
    encodeReferenceRecord(r, bytes);
    const uint8_t expected[kReferenceRecordSize] = {
        0x34, 0x12,                    // number
        0x04, 0x03, 0x02, 0x01,        // second number
        21,   1,    7,    1,           // Flamsteed, letter, digit, constellation
        0x00, 0x00, 0x80, 0x3F,        // ra 1.0
        0x00, 0x00, 0x20, 0xC0,        // dec -2.5
        123,  0,                       // distance
        0xFE, 0xFF,                    // pmRa -2
        0xC4, 0x09,                    // pmDec 2500
        0x38, 0xFE,                    // radial velocity -456
        0x59, 0x01,                    // magnitude 345
        0xE7, 0x03,                    // colour 999
    };
    for (int i = 0; i < kReferenceRecordSize; ++i) EXPECT_EQ(bytes[i], expected[i]) << "byte " << i;

    // Decoding gives back every field: encoding the result again gives the same bytes.
    ReferenceRecord back;
    decodeReferenceRecord(bytes, back);
    uint8_t again[kReferenceRecordSize];
    encodeReferenceRecord(back, again);
    EXPECT_EQ(std::memcmp(again, bytes, sizeof bytes), 0);
    EXPECT_EQ(back.dec, -2.5f);
    EXPECT_EQ(back.pmRa, -2);
}

TEST(ReferenceRecord, DesignationTextFromTheFourCodeBytes) {
    EXPECT_EQ(nameOf(21, 1, 0, 1), "21 alp And");
    EXPECT_EQ(nameOf(0, 1, 2, 15), "alp2 Cap");
    EXPECT_EQ(nameOf(61, 0, 0, 31), "61 Cyg");
    EXPECT_EQ(nameOf(5, 0, 0, 1), "5 And");
    EXPECT_EQ(nameOf(5, 0, 0, 0), "");
    EXPECT_EQ(nameOf(5, 24, 9, 0), "");
    EXPECT_EQ(nameOf(0, 24, 0, 88), "ome Vul");
    EXPECT_EQ(nameOf(0, 12, 0, 45), "mu LMi");
    EXPECT_EQ(nameOf(0, 13, 1, 66), "nu1 PsA");
    EXPECT_EQ(nameOf(255, 8, 9, 83), "255 the9 UMa");  // the longest: 12 characters
    EXPECT_EQ(nameOf(0, 25, 0, 10), " CMa");           // unknown letter: only its blank
    EXPECT_EQ(nameOf(3, 0, 4, 89), "3 4");             // unknown constellation: nothing
}

TEST(ReferenceRecord, ConversionsAndInclusiveRanges) {
    ReferenceStar star;
    ASSERT_TRUE(referenceStarFromRecord(brightRecord(), star));
    EXPECT_EQ(star.number, 100);
    EXPECT_EQ(star.secondNumber, 5000);
    EXPECT_STREQ(star.name, "21 alp And");
    EXPECT_EQ(star.ra, 1.0f);
    EXPECT_EQ(star.dec, 0.5f);
    EXPECT_FLOAT_EQ(star.distance, 12.3f);
    EXPECT_FLOAT_EQ(star.pmRa, -1.234f);
    EXPECT_FLOAT_EQ(star.pmDec, 2.5f);
    EXPECT_FLOAT_EQ(star.radialVelocity, -45.6f);
    EXPECT_FLOAT_EQ(star.fileMagnitude, 3.45f);
    EXPECT_EQ(star.magnitude, star.fileMagnitude);
    EXPECT_EQ(star.colorIndex, 0.0f);
    // B-V 0 is about 9530 K, entry 1 + (9530 - 1000) / 100.
    EXPECT_EQ(star.color, 86);

    ReferenceRecord missing = brightRecord();
    missing.colorCode = kMissingColorCode;
    ASSERT_TRUE(referenceStarFromRecord(missing, star));
    EXPECT_EQ(star.colorIndex, 0.0f);
    EXPECT_EQ(star.color, 0);

    struct Case {
        const char* what;
        std::function<void(ReferenceRecord&)> change;
        bool passes;
    };
    const Case cases[] = {
        {"number 1", [](ReferenceRecord& r) { r.number = 1; }, true},
        {"number 9110", [](ReferenceRecord& r) { r.number = 9110; }, true},
        {"number 0", [](ReferenceRecord& r) { r.number = 0; }, false},
        {"number 9111", [](ReferenceRecord& r) { r.number = 9111; }, false},
        {"second 1", [](ReferenceRecord& r) { r.secondNumber = 1; }, true},
        {"second 272150", [](ReferenceRecord& r) { r.secondNumber = 272150; }, true},
        {"second 0", [](ReferenceRecord& r) { r.secondNumber = 0; }, false},
        {"second 272151", [](ReferenceRecord& r) { r.secondNumber = 272151; }, false},
        {"ra 0", [](ReferenceRecord& r) { r.ra = 0; }, true},
        {"ra 6.2832", [](ReferenceRecord& r) { r.ra = 6.2832f; }, true},
        {"ra below 0", [](ReferenceRecord& r) { r.ra = -1e-6f; }, false},
        {"ra 6.2833", [](ReferenceRecord& r) { r.ra = 6.2833f; }, false},
        {"dec 1.5708", [](ReferenceRecord& r) { r.dec = 1.5708f; }, true},
        {"dec -1.5708", [](ReferenceRecord& r) { r.dec = -1.5708f; }, true},
        {"dec 1.5709", [](ReferenceRecord& r) { r.dec = 1.5709f; }, false},
        {"dec -1.5709", [](ReferenceRecord& r) { r.dec = -1.5709f; }, false},
        {"dec NaN", [](ReferenceRecord& r) { r.dec = std::nanf(""); }, false},
        {"distance 1", [](ReferenceRecord& r) { r.distance = 10; }, true},
        {"distance 1001", [](ReferenceRecord& r) { r.distance = 10010; }, true},
        {"distance 0.9", [](ReferenceRecord& r) { r.distance = 9; }, false},
        {"distance 1001.1", [](ReferenceRecord& r) { r.distance = 10011; }, false},
        {"pmRa 6", [](ReferenceRecord& r) { r.pmRa = 6000; }, true},
        {"pmRa -6.001", [](ReferenceRecord& r) { r.pmRa = -6001; }, false},
        {"pmDec -6", [](ReferenceRecord& r) { r.pmDec = -6000; }, true},
        {"pmDec 6.001", [](ReferenceRecord& r) { r.pmDec = 6001; }, false},
        {"velocity -400", [](ReferenceRecord& r) { r.radialVelocity = -4000; }, true},
        {"velocity 400.1", [](ReferenceRecord& r) { r.radialVelocity = 4001; }, false},
        {"magnitude -1.5", [](ReferenceRecord& r) { r.magnitude = -150; }, true},
        {"magnitude 8", [](ReferenceRecord& r) { r.magnitude = 800; }, true},
        {"magnitude -1.51", [](ReferenceRecord& r) { r.magnitude = -151; }, false},
        {"magnitude 8.01", [](ReferenceRecord& r) { r.magnitude = 801; }, false},
        {"colour -0.5", [](ReferenceRecord& r) { r.colorCode = -50; }, true},
        {"colour 6", [](ReferenceRecord& r) { r.colorCode = 600; }, true},
        {"colour -0.51", [](ReferenceRecord& r) { r.colorCode = -51; }, false},
        {"colour 6.5", [](ReferenceRecord& r) { r.colorCode = 650; }, false},
    };
    for (const Case& c : cases) {
        ReferenceRecord r = brightRecord();
        c.change(r);
        EXPECT_EQ(referenceStarFromRecord(r, star), c.passes) << c.what;
    }
}

TEST(ReferenceFile, WriteThenReadGivesBackEveryRecord) {
    TempDir dir;
    std::vector<ReferenceRecord> records = sampleReferenceRecords();
    records[7].number = records[2].number;  // a repeated number keeps its last position
    int dropped = 8;                        // the number record 7 carried before
    std::string path = writeRecords(dir, records);
    auto catalog = std::make_unique<ReferenceCatalog>();
    ASSERT_TRUE(readReferenceCatalog(path.c_str(), *catalog));

    for (int i = 0; i < kReferenceStarCount; ++i) {
        const ReferenceRecord& r = records[size_t(i)];
        const ReferenceStar& s = catalog->stars[i];
        SCOPED_TRACE(i);
        ASSERT_EQ(s.number, r.number);
        EXPECT_EQ(s.secondNumber, r.secondNumber);
        char name[16];
        designationText(r, name);
        EXPECT_STREQ(s.name, name);
        EXPECT_EQ(s.ra, r.ra);
        EXPECT_EQ(s.dec, r.dec);
        EXPECT_FLOAT_EQ(s.distance, r.distance / 10.0f);
        EXPECT_FLOAT_EQ(s.pmRa, r.pmRa / 1000.0f);
        EXPECT_FLOAT_EQ(s.pmDec, r.pmDec / 1000.0f);
        EXPECT_FLOAT_EQ(s.radialVelocity, r.radialVelocity / 10.0f);
        EXPECT_FLOAT_EQ(s.fileMagnitude, r.magnitude / 100.0f);
        if (r.colorCode == kMissingColorCode) {
            EXPECT_EQ(s.colorIndex, 0.0f);
            EXPECT_EQ(s.color, 0);
        } else {
            EXPECT_FLOAT_EQ(s.colorIndex, r.colorCode / 100.0f);
            EXPECT_GE(s.color, 1);
            EXPECT_LE(s.color, 190);
        }
        if (i != 2) {
            EXPECT_EQ(lookUpReferenceStar(catalog->index, r.number), i);
        }
    }
    EXPECT_EQ(lookUpReferenceStar(catalog->index, records[2].number), 7);
    EXPECT_EQ(lookUpReferenceStar(catalog->index, dropped), -1);
    EXPECT_EQ(lookUpReferenceStar(catalog->index, 650), -1);
    EXPECT_EQ(lookUpReferenceStar(catalog->index, 9100), -1);
    EXPECT_EQ(lookUpReferenceStar(catalog->index, 9110), kReferenceStarCount - 1);
}

TEST(ReferenceFile, AFailedReadLeavesThePreviousCatalogueUntouched) {
    TempDir dir;
    std::vector<ReferenceRecord> records = sampleReferenceRecords();
    std::string good = writeRecords(dir, records);
    auto catalog = std::make_unique<ReferenceCatalog>();
    ASSERT_TRUE(readReferenceCatalog(good.c_str(), *catalog));
    catalog->stars[0].magnitude = 99.0f;  // an epoch value that a failed read must not reset
    auto previous = std::make_unique<ReferenceCatalog>(*catalog);

    std::vector<std::string> bad;
    std::string bytes = readWholeFile(good);
    ASSERT_EQ(bytes.size(), size_t(kReferenceFileSize));
    bad.push_back(dir.path("short.bin"));
    ASSERT_TRUE(writeTextFile(bad.back(), bytes.substr(0, bytes.size() - 1)));  // 272879
    bad.push_back(dir.path("long.bin"));
    ASSERT_TRUE(writeTextFile(bad.back(), bytes + '\0'));  // 272881
    for (auto [field, file] : {std::pair<int, const char*>{0, "dec.bin"}, {1, "colour.bin"}}) {
        std::vector<ReferenceRecord> spoiled = records;
        // A late record, so that most of the catalogue has been converted before the failure.
        if (field == 0) {
            spoiled[9000].dec = 1.5709f;
        } else {
            spoiled[9000].colorCode = 650;
        }
        bad.push_back(writeRecords(dir, spoiled, file));
    }
    bad.push_back(dir.path("missing.bin"));
    bad.push_back(dir.root);  // a folder

    for (const std::string& path : bad) {
        EXPECT_FALSE(readReferenceCatalog(path.c_str(), *catalog)) << path;
        for (int i = 0; i < kReferenceStarCount; ++i) {
            ASSERT_EQ(catalog->stars[i].number, previous->stars[i].number) << path;
            ASSERT_EQ(catalog->stars[i].magnitude, previous->stars[i].magnitude) << path;
            ASSERT_EQ(catalog->stars[i].dec, previous->stars[i].dec) << path;
        }
        for (int n = 0; n <= kHighestReferenceNumber; ++n)
            ASSERT_EQ(catalog->index.slot[n], previous->index.slot[n]) << path;
    }
}
