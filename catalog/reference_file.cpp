#include "catalog/reference_file.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "catalog/color_index.h"

static_assert(std::numeric_limits<float>::is_iec559, "the file stores IEEE 754 single floats");

const char* const kGreekLetters[kGreekLetterCount] = {
    "alp", "bet", "gam", "del", "eps", "zet", "eta", "the", "iot", "kap", "lam", "mu",
    "nu",  "xi",  "omi", "pi",  "rho", "sig", "tau", "ups", "phi", "chi", "psi", "ome",
};

const char* const kConstellationAbbreviations[kIauConstellationCount] = {
    "And", "Ant", "Aps", "Aql", "Aqr", "Ara", "Ari", "Aur", "Boo", "CMa", "CMi", "CVn", "Cae",
    "Cam", "Cap", "Car", "Cas", "Cen", "Cep", "Cet", "Cha", "Cir", "Cnc", "Col", "Com", "CrA",
    "CrB", "Crt", "Cru", "Crv", "Cyg", "Del", "Dor", "Dra", "Equ", "Eri", "For", "Gem", "Gru",
    "Her", "Hor", "Hya", "Hyi", "Ind", "LMi", "Lac", "Leo", "Lep", "Lib", "Lup", "Lyn", "Lyr",
    "Men", "Mic", "Mon", "Mus", "Nor", "Oct", "Oph", "Ori", "Pav", "Peg", "Per", "Phe", "Pic",
    "PsA", "Psc", "Pup", "Pyx", "Ret", "Scl", "Sco", "Sct", "Ser", "Sex", "Sge", "Sgr", "Tau",
    "Tel", "TrA", "Tri", "Tuc", "UMa", "UMi", "Vel", "Vir", "Vol", "Vul",
};

const char* const kGreekLetterNames[kGreekLetterCount] = {
    "alpha", "beta",  "gamma",  "delta", "epsilon", "zeta",    "eta",     "theta",
    "iota",  "kappa", "lambda", "mu",    "nu",      "xi",      "omicron", "pi",
    "rho",   "sigma", "tau",    "upsilon", "phi",   "chi",     "psi",     "omega",
};

const ConstellationNames kConstellationNames[kIauConstellationCount] = {
    {"Andromeda", "Andromedae"},           {"Antlia", "Antliae"},
    {"Apus", "Apodis"},                    {"Aquila", "Aquilae"},
    {"Aquarius", "Aquarii"},               {"Ara", "Arae"},
    {"Aries", "Arietis"},                  {"Auriga", "Aurigae"},
    {"Bootes", "Bootis"},                  {"Canis Major", "Canis Majoris"},
    {"Canis Minor", "Canis Minoris"},      {"Canes Venatici", "Canum Venaticorum"},
    {"Caelum", "Caeli"},                   {"Camelopardalis", "Camelopardalis"},
    {"Capricornus", "Capricorni"},         {"Carina", "Carinae"},
    {"Cassiopeia", "Cassiopeiae"},         {"Centaurus", "Centauri"},
    {"Cepheus", "Cephei"},                 {"Cetus", "Ceti"},
    {"Chamaeleon", "Chamaeleontis"},       {"Circinus", "Circini"},
    {"Cancer", "Cancri"},                  {"Columba", "Columbae"},
    {"Coma Berenices", "Comae Berenices"}, {"Corona Australis", "Coronae Australis"},
    {"Corona Borealis", "Coronae Borealis"}, {"Crater", "Crateris"},
    {"Crux", "Crucis"},                    {"Corvus", "Corvi"},
    {"Cygnus", "Cygni"},                   {"Delphinus", "Delphini"},
    {"Dorado", "Doradus"},                 {"Draco", "Draconis"},
    {"Equuleus", "Equulei"},               {"Eridanus", "Eridani"},
    {"Fornax", "Fornacis"},                {"Gemini", "Geminorum"},
    {"Grus", "Gruis"},                     {"Hercules", "Herculis"},
    {"Horologium", "Horologii"},           {"Hydra", "Hydrae"},
    {"Hydrus", "Hydri"},                   {"Indus", "Indi"},
    {"Leo Minor", "Leonis Minoris"},       {"Lacerta", "Lacertae"},
    {"Leo", "Leonis"},                     {"Lepus", "Leporis"},
    {"Libra", "Librae"},                   {"Lupus", "Lupi"},
    {"Lynx", "Lyncis"},                    {"Lyra", "Lyrae"},
    {"Mensa", "Mensae"},                   {"Microscopium", "Microscopii"},
    {"Monoceros", "Monocerotis"},          {"Musca", "Muscae"},
    {"Norma", "Normae"},                   {"Octans", "Octantis"},
    {"Ophiuchus", "Ophiuchi"},             {"Orion", "Orionis"},
    {"Pavo", "Pavonis"},                   {"Pegasus", "Pegasi"},
    {"Perseus", "Persei"},                 {"Phoenix", "Phoenicis"},
    {"Pictor", "Pictoris"},                {"Piscis Austrinus", "Piscis Austrini"},
    {"Pisces", "Piscium"},                 {"Puppis", "Puppis"},
    {"Pyxis", "Pyxidis"},                  {"Reticulum", "Reticuli"},
    {"Sculptor", "Sculptoris"},            {"Scorpius", "Scorpii"},
    {"Scutum", "Scuti"},                   {"Serpens", "Serpentis"},
    {"Sextans", "Sextantis"},              {"Sagitta", "Sagittae"},
    {"Sagittarius", "Sagittarii"},         {"Taurus", "Tauri"},
    {"Telescopium", "Telescopii"},         {"Triangulum Australe", "Trianguli Australis"},
    {"Triangulum", "Trianguli"},           {"Tucana", "Tucanae"},
    {"Ursa Major", "Ursae Majoris"},       {"Ursa Minor", "Ursae Minoris"},
    {"Vela", "Velorum"},                   {"Virgo", "Virginis"},
    {"Volans", "Volantis"},                {"Vulpecula", "Vulpeculae"},
};

namespace {

// Byte offsets of the record fields.
enum RecordOffset {
    OffsetNumber = 0,
    OffsetSecondNumber = 2,
    OffsetFlamsteed = 6,
    OffsetGreekLetter = 7,
    OffsetLetterDigit = 8,
    OffsetConstellation = 9,
    OffsetRa = 10,
    OffsetDec = 14,
    OffsetDistance = 18,
    OffsetPmRa = 20,
    OffsetPmDec = 22,
    OffsetRadialVelocity = 24,
    OffsetMagnitude = 26,
    OffsetColorCode = 28,
};

void putUint16(uint8_t* bytes, uint16_t value) {
    bytes[0] = uint8_t(value);
    bytes[1] = uint8_t(value >> 8);
}
void putUint32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[i] = uint8_t(value >> (8 * i));
}
void putFloat(uint8_t* bytes, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putUint32(bytes, bits);
}
uint16_t getUint16(const uint8_t* bytes) { return uint16_t(bytes[0] | bytes[1] << 8); }
uint32_t getUint32(const uint8_t* bytes) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | bytes[i];
    return value;
}
float getFloat(const uint8_t* bytes) {
    uint32_t bits = getUint32(bytes);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The size of an open file, -1 when it cannot be found.
long fileSize(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    long size = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0) return -1;
    return size;
}

}  // namespace

void encodeReferenceRecord(const ReferenceRecord& record, uint8_t bytes[kReferenceRecordSize]) {
    putUint16(bytes + OffsetNumber, uint16_t(record.number));
    putUint32(bytes + OffsetSecondNumber, uint32_t(record.secondNumber));
    bytes[OffsetFlamsteed] = record.flamsteed;
    bytes[OffsetGreekLetter] = record.greekLetter;
    bytes[OffsetLetterDigit] = record.letterDigit;
    bytes[OffsetConstellation] = record.constellation;
    putFloat(bytes + OffsetRa, record.ra);
    putFloat(bytes + OffsetDec, record.dec);
    putUint16(bytes + OffsetDistance, uint16_t(record.distance));
    putUint16(bytes + OffsetPmRa, uint16_t(record.pmRa));
    putUint16(bytes + OffsetPmDec, uint16_t(record.pmDec));
    putUint16(bytes + OffsetRadialVelocity, uint16_t(record.radialVelocity));
    putUint16(bytes + OffsetMagnitude, uint16_t(record.magnitude));
    putUint16(bytes + OffsetColorCode, uint16_t(record.colorCode));
}

void decodeReferenceRecord(const uint8_t bytes[kReferenceRecordSize], ReferenceRecord& record) {
    record.number = int16_t(getUint16(bytes + OffsetNumber));
    record.secondNumber = int32_t(getUint32(bytes + OffsetSecondNumber));
    record.flamsteed = bytes[OffsetFlamsteed];
    record.greekLetter = bytes[OffsetGreekLetter];
    record.letterDigit = bytes[OffsetLetterDigit];
    record.constellation = bytes[OffsetConstellation];
    record.ra = getFloat(bytes + OffsetRa);
    record.dec = getFloat(bytes + OffsetDec);
    record.distance = int16_t(getUint16(bytes + OffsetDistance));
    record.pmRa = int16_t(getUint16(bytes + OffsetPmRa));
    record.pmDec = int16_t(getUint16(bytes + OffsetPmDec));
    record.radialVelocity = int16_t(getUint16(bytes + OffsetRadialVelocity));
    record.magnitude = int16_t(getUint16(bytes + OffsetMagnitude));
    record.colorCode = int16_t(getUint16(bytes + OffsetColorCode));
}

void designationText(const ReferenceRecord& record, char name[16]) {
    // The longest text, "255 alp9 And", has 12 characters.
    std::string text;
    if (record.constellation != 0) {
        if (record.flamsteed != 0) text += std::to_string(record.flamsteed) + ' ';
        if (record.greekLetter >= 1 && record.greekLetter <= 24)
            text += kGreekLetters[record.greekLetter - 1];
        if (record.letterDigit >= 1 && record.letterDigit <= 9) text += char('0' + record.letterDigit);
        if (record.greekLetter != 0) text += ' ';
        if (record.constellation <= 88) text += kConstellationAbbreviations[record.constellation - 1];
    }
    std::memset(name, 0, 16);
    text.copy(name, 15);
}

bool referenceStarFromRecord(const ReferenceRecord& record, ReferenceStar& star) {
    star.number = record.number;
    star.secondNumber = record.secondNumber;
    designationText(record, star.name);
    star.ra = record.ra;
    star.dec = record.dec;
    star.distance = float(record.distance / 10.0);
    star.pmRa = float(record.pmRa / 1000.0);
    star.pmDec = float(record.pmDec / 1000.0);
    star.radialVelocity = float(record.radialVelocity / 10.0);
    star.fileMagnitude = float(record.magnitude / 100.0);
    star.magnitude = star.fileMagnitude;
    bool missingColor = record.colorCode == kMissingColorCode;
    star.colorIndex = missingColor ? 0.0f : float(record.colorCode / 100.0);
    bool valid = star.number >= 1 && star.number <= kHighestReferenceNumber &&
                 star.secondNumber >= kLowestSecondNumber &&
                 star.secondNumber <= kHighestSecondNumber && kRaRange.holds(star.ra) &&
                 kDecRange.holds(star.dec) && kDistanceRange.holds(star.distance) &&
                 kProperMotionRange.holds(star.pmRa) && kProperMotionRange.holds(star.pmDec) &&
                 kRadialVelocityRange.holds(star.radialVelocity) &&
                 kMagnitudeRange.holds(star.fileMagnitude) &&
                 kColorIndexRange.holds(star.colorIndex);
    star.color = missingColor || !valid ? 0 : starColorEntryForBV(star.colorIndex);
    return valid;
}

bool readReferenceCatalog(const char* path, ReferenceCatalog& catalog) {
    if (!path) return false;
    FilePtr file(std::fopen(path, "rb"));
    if (!file || fileSize(file.get()) != kReferenceFileSize) return false;
    try {
        std::vector<uint8_t> bytes(static_cast<size_t>(kReferenceFileSize));
        if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return false;
        auto loaded = std::make_unique<ReferenceCatalog>();
        clearNumberIndex(loaded->index);
        for (int i = 0; i < kReferenceStarCount; ++i) {
            ReferenceRecord record;
            decodeReferenceRecord(&bytes[size_t(i) * kReferenceRecordSize], record);
            ReferenceStar& star = loaded->stars[i];
            if (!referenceStarFromRecord(record, star)) return false;
            loaded->index.slot[star.number] = int16_t(i);  // a repeated number keeps its last
        }
        catalog = *loaded;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool writeReferenceCatalog(const char* path, const ReferenceRecord* records, int count) {
    if (!path || count < 0 || (count > 0 && !records)) return false;
    FilePtr file(std::fopen(path, "wb"));
    if (!file) return false;
    bool written = true;
    for (int i = 0; i < count && written; ++i) {
        uint8_t bytes[kReferenceRecordSize];
        encodeReferenceRecord(records[i], bytes);
        written = std::fwrite(bytes, 1, sizeof bytes, file.get()) == sizeof bytes;
    }
    return std::fclose(file.release()) == 0 && written;
}
