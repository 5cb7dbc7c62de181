// The reference catalogue file "catb.bin": 9096 little-endian records of 30 bytes, no header.
// Start-up reads it into the reference catalogue and its number index; the data converter and
// the tests write it.
#pragma once

#include <cstdint>

#include "catalog/catalog.h"

constexpr int kReferenceRecordSize = 30;
constexpr long kReferenceFileSize = long(kReferenceStarCount) * kReferenceRecordSize;
constexpr int kMissingColorCode = 999;

// Inclusive bounds of every record field, checked by the reader and kept by the data converter;
// compared in the single precision the fields are stored in (so a declination of 1.5708 passes).
struct FieldRange {
    float lowest, highest;
    bool holds(float value) const { return value >= lowest && value <= highest; }  // NaN fails
};
constexpr int kLowestSecondNumber = 1;
constexpr int kHighestSecondNumber = 272150;
constexpr FieldRange kRaRange = {0.0f, 6.2832f};
constexpr FieldRange kDecRange = {-1.5708f, 1.5708f};
constexpr FieldRange kDistanceRange = {1.0f, 1001.0f};
constexpr FieldRange kProperMotionRange = {-6.0f, 6.0f};
constexpr FieldRange kRadialVelocityRange = {-400.0f, 400.0f};
constexpr FieldRange kMagnitudeRange = {-1.5f, 8.0f};
constexpr FieldRange kColorIndexRange = {-0.5f, 6.0f};

// The designation bytes' tables: Greek letter 1..24 and constellation 1..88 (in character-code
// order, 1 is "And") as the catalogue abbreviates them, and the same spelled out: the letter's
// name and the constellation's full name in the nominative and the genitive.
constexpr int kGreekLetterCount = 24;
constexpr int kIauConstellationCount = 88;
struct ConstellationNames {
    const char* nominative;  // "Canis Major"
    const char* genitive;    // "Canis Majoris"
};
extern const char* const kGreekLetters[kGreekLetterCount];  // "alp"
extern const char* const kGreekLetterNames[kGreekLetterCount];  // "alpha"
extern const char* const kConstellationAbbreviations[kIauConstellationCount];  // "CMa"
extern const ConstellationNames kConstellationNames[kIauConstellationCount];

// One record exactly as stored: the scaled integers and the four designation bytes.
struct ReferenceRecord {
    int16_t number = 0;
    int32_t secondNumber = 0;
    uint8_t flamsteed = 0;      // 0 for none
    uint8_t greekLetter = 0;    // 1..24, 0 for none
    uint8_t letterDigit = 0;    // 1..9, 0 for none
    uint8_t constellation = 0;  // 1..88, 0 for none
    float ra = 0, dec = 0;      // radians
    int16_t distance = 0;       // tenths of a parsec
    int16_t pmRa = 0;           // milliarcsec/yr along the parallel
    int16_t pmDec = 0;          // milliarcsec/yr
    int16_t radialVelocity = 0; // tenths of km/s
    int16_t magnitude = 0;      // hundredths
    int16_t colorCode = 0;      // B-V in hundredths, 999 when missing
};

void encodeReferenceRecord(const ReferenceRecord& record, uint8_t bytes[kReferenceRecordSize]);
void decodeReferenceRecord(const uint8_t bytes[kReferenceRecordSize], ReferenceRecord& record);

// The designation text of the four code bytes, e.g. "21 alp And"; empty without a constellation.
void designationText(const ReferenceRecord& record, char name[16]);

// Fills every field the file gives (star colour included); false when a value is out of range.
bool referenceStarFromRecord(const ReferenceRecord& record, ReferenceStar& star);

// Reads the whole file into `catalog` and its number index. On any failure (missing file, wrong
// size, a value out of range) returns false and leaves `catalog` untouched.
bool readReferenceCatalog(const char* path, ReferenceCatalog& catalog);

bool writeReferenceCatalog(const char* path, const ReferenceRecord* records, int count);
