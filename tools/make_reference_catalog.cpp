// Converter for the shipped reference catalogue data/catb.bin. It runs only when the shipped data
// is regenerated (make data), never at start-up, and writes through the program's own writer.
//
// Sources, three installed by Debian packages, one by npm:
//  - xplanet: stars/BSC, a text extract of the Bright Star Catalogue, 5th revised edition. One
//    line per star: J2000 declination (degrees) and right ascension (hours), V magnitude, the
//    10-character name field (Flamsteed number, Greek letter, its digit, constellation), the
//    catalogue number, the HD number and the SAO number. It gives number, secondNumber (HD), name,
//    ra, dec and magnitude of all 9096 stars.
//  - kstars-data: namedstars.dat and unnamedstars.dat, binary files that describe themselves
//    (see readStarDataFile). Joined by HD number; a fallback for B-V and the astrometry.
//  - stellarium-data: stars/default, Hipparcos astrometry: proper motions by Hipparcos number in
//    hip_pm.dat, parallaxes and colour bytes in the star files stars_0..2, and the cross index
//    Hipparcos - HD - catalogue number in cross-id.dat. They give proper motions and parallaxes,
//    and the cross index gives every star its Hipparcos number.
//  - the npm package d3-celestial 0.7.35 (BSD licence): only data/stars.6.json and stars.8.json,
//    the B-V of the Hipparcos main catalogue by Hipparcos number (see readMainCatalogueColors).
//    They give B-V.
//
// Why several sources: the kstars parallaxes stray from the Hipparcos values for many bright stars
// (Arcturus 92.7 mas against 88.85, Rigel 0.1 against 3.78, Deneb 1.0 against 2.31). For B-V the
// converter measures each source on the 20 brightest stars against their standard Johnson values
// (kStandardColors) and prints the result. Within 0.05 are: 18 of the main catalogue (Betelgeuse
// 1.50 against 1.85, Fomalhaut 0.145 against 0.09), 15 of the colour byte (steps of 0.03;
// Arcturus 0.82 against 1.23), 7 of kstars (Arcturus 1.14, Spica -0.14 against -0.23; and it
// writes 0.00 where it has no value, for Sirius, Procyon and Capella). So:
//  - proper motion and parallax come from Hipparcos, or from kstars for a star Hipparcos lacks;
//  - B-V comes from the main catalogue; where it has none, from the colour byte; then from kstars
//    unless kstars says exactly 0.00.
//
// Missing values and bounds (the reader's valid ranges):
//  - no B-V from any source: the missing code 999;
//  - no parallax, or one of zero or less: distance 1001 pc, outside the space-motion branch, so
//    the star moves linearly on the sphere; a star in neither source also gets proper motion 0;
//  - radial velocities are in none of these files: 0 for every star;
//  - a value beyond a bound of the reader (a distance over 1001 pc, i.e. a parallax under about
//    1 mas, a proper motion beyond 6"/yr, ...) is clamped to that bound.
// Every fill and clamp is counted and printed.
//
// Usage: make-reference-catalog OUTPUT STARS6_JSON STARS8_JSON [BSC_FILE KSTARS_FOLDER
//                                                              HIPPARCOS_FOLDER]
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "catalog/reference_file.h"
#include "geometry/vectors.h"

namespace {

const char kDefaultBrightStarFile[] = "/usr/share/xplanet/stars/BSC";
const char kDefaultKStarsFolder[] = "/usr/share/kstars";
const char kDefaultHipparcosFolder[] = "/usr/share/stellarium/stars/default";
const char* const kKStarsFiles[] = {"namedstars.dat", "unnamedstars.dat"};
// The star files holding Hipparcos stars (record type 0); the deeper ones hold none of ours.
const char* const kHipparcosStarFiles[] = {"stars_0_0v0_8.cat", "stars_1_0v0_8.cat",
                                           "stars_2_0v0_8.cat"};
const char kHipparcosProperMotionFile[] = "hip_pm.dat";
const char kHipparcosCrossIndexFile[] = "cross-id.dat";

// The scales of the file's integers.
constexpr double kDistanceScale = 10;       // tenths of a parsec
constexpr double kProperMotionScale = 1000; // mas/yr
constexpr double kMagnitudeScale = 100;     // hundredths, also of B-V

// ---- Little-endian byte access ----

uint32_t readU32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}
uint16_t readU16(const std::vector<uint8_t>& b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}
// A signed little-endian integer of 1, 2 or 4 bytes.
int32_t readSigned(const std::vector<uint8_t>& b, size_t at, int size) {
    if (size == 1) return int8_t(b[at]);
    if (size == 2) return int16_t(readU16(b, at));
    return int32_t(readU32(b, at));
}

bool readBinaryFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::string trimmed(const std::string& s) {
    size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// ---- The Bright Star Catalogue extract ----

struct BrightStar {
    int number = 0;
    int hd = 0;
    double decDegrees = 0, raHours = 0, vMagnitude = 0;
    std::string nameField;  // the 10 characters between the quotes
};

// One data line: `dec ra mag "name field" number HD SAO`.
bool parseBrightStarLine(const std::string& line, BrightStar& star) {
    size_t open = line.find('"');
    if (open == std::string::npos || open + 11 >= line.size() || line[open + 11] != '"')
        return false;
    int sao = 0;
    if (std::sscanf(line.c_str(), "%lf %lf %lf", &star.decDegrees, &star.raHours,
                    &star.vMagnitude) != 3 ||
        std::sscanf(line.c_str() + open + 12, "%d %d %d", &star.number, &star.hd, &sao) != 3)
        return false;
    star.nameField = line.substr(open + 1, 10);
    return true;
}

bool readBrightStars(const std::string& path, std::vector<BrightStar>& stars) {
    std::ifstream in(path);
    if (!in) return false;
    std::string line;
    while (std::getline(in, line)) {
        if (trimmed(line).empty() || line[0] == '#') continue;
        BrightStar star;
        if (!parseBrightStarLine(line, star)) {
            std::fprintf(stderr, "unreadable line in %s: %s\n", path.c_str(), line.c_str());
            return false;
        }
        stars.push_back(star);
    }
    return true;
}

// The designation codes, found by asking the program's own designation text for every code, so
// that the letter and constellation tables exist only once.
struct DesignationCodes {
    std::string greek[25];          // [1..24], e.g. "alp"
    std::string constellation[89];  // [1..88], e.g. "And"
};

DesignationCodes designationCodes() {
    DesignationCodes codes;
    char text[16];
    for (int c = 1; c <= 88; ++c) {
        ReferenceRecord record;
        record.constellation = uint8_t(c);
        designationText(record, text);
        codes.constellation[c] = text;
    }
    for (int g = 1; g <= 24; ++g) {
        ReferenceRecord record;
        record.greekLetter = uint8_t(g);
        record.constellation = 1;
        designationText(record, text);
        codes.greek[g] = std::string(text).substr(0, std::strcspn(text, " "));
    }
    return codes;
}

// Columns 0-2 Flamsteed number, 3-5 Greek letter ("Alp", "Mu "), 6 its digit, 7-9 constellation.
// A star without a constellation gets no designation at all.
bool encodeNameField(const std::string& field, const DesignationCodes& codes,
                     ReferenceRecord& record) {
    record.flamsteed = record.greekLetter = record.letterDigit = record.constellation = 0;
    std::string constellation = trimmed(field.substr(7, 3));
    if (constellation.empty()) return true;
    for (int c = 1; c <= 88 && !record.constellation; ++c)
        if (codes.constellation[c] == constellation) record.constellation = uint8_t(c);
    std::string flamsteed = trimmed(field.substr(0, 3));
    if (!flamsteed.empty()) record.flamsteed = uint8_t(std::atoi(flamsteed.c_str()));
    std::string greek = trimmed(field.substr(3, 3));
    for (int g = 1; g <= 24 && !greek.empty() && !record.greekLetter; ++g)
        if (sameIgnoringCase(codes.greek[g], greek)) record.greekLetter = uint8_t(g);
    if (field[6] >= '1' && field[6] <= '9') record.letterDigit = uint8_t(field[6] - '0');
    return record.constellation != 0 && (greek.empty() || record.greekLetter != 0);
}

// ---- kstars star data files ----
//
// Layout, worked out from the bytes (all little-endian, as the "SK" marker says; "KS" would mean
// the other byte order):
//   124 bytes   text banner, zero-padded ("KStars Star Data v1.0. ...")
//   2 bytes     "SK"
//   1 byte      format version (1)
//   2 bytes     number of fields (11)
//   16 bytes    per field: name (10 bytes, zero-padded), size in bytes, type code, scale (int32)
//               RA 4/1e6 hours, Dec 4/1e5 degrees, dRA and dDec 4/10 mas/yr (dRA along the
//               parallel: Arcturus -1096.7), parallax 4/10 mas, HD 4 (the descriptor says scale
//               10, but the field holds the plain number), mag and bv_index 2/100,
//               spec_type 2 characters, flags 1, unused 1: 32 bytes a record
//   4 bytes     number of index entries (512 trixels)
//   12 bytes    per entry: trixel number, file offset of its first record, record count
//   a few bytes of trailer (magnitude limit, HTM level, ...), then the records at their offsets.
struct KStarsRecord {
    double raHours, decDegrees, pmRa, pmDec, parallax, colorIndex;  // mas/yr, mas
    int hd;
};

constexpr size_t kKStarsBannerSize = 124;
constexpr size_t kKStarsFieldDescriptorSize = 16;
constexpr size_t kKStarsIndexEntrySize = 12;

struct FieldSlot {
    size_t offset = 0;
    int size = 0;
    double scale = 1;
    bool present = false;
};

bool readStarDataFile(const std::string& path, std::vector<KStarsRecord>& out,
                      std::string& error) {
    std::vector<uint8_t> b;
    if (!readBinaryFile(path, b)) return error = "cannot read " + path, false;
    size_t at = kKStarsBannerSize;
    if (b.size() < at + 5 || b[at] != 'S' || b[at + 1] != 'K')
        return error = path + ": no little-endian \"SK\" marker", false;
    at += 3;  // marker and version
    int fieldCount = readU16(b, at);
    at += 2;
    std::map<std::string, FieldSlot> fields;
    size_t recordSize = 0;
    for (int i = 0; i < fieldCount; ++i, at += kKStarsFieldDescriptorSize) {
        if (at + kKStarsFieldDescriptorSize > b.size())
            return error = path + ": short header", false;
        const char* text = reinterpret_cast<const char*>(&b[at]);
        std::string name(text, strnlen(text, 10));
        FieldSlot slot;
        slot.offset = recordSize;
        slot.size = b[at + 10];
        int32_t scale = int32_t(readU32(b, at + 12));
        slot.scale = scale > 0 ? scale : 1;
        slot.present = true;
        fields[name] = slot;
        recordSize += slot.size;
    }
    for (const char* needed : {"RA", "Dec", "dRA", "dDec", "parallax", "HD", "bv_index"}) {
        const FieldSlot& slot = fields[needed];
        if (!slot.present || (slot.size != 2 && slot.size != 4))
            return error = path + ": no integer field " + needed, false;
    }
    uint32_t entries = readU32(b, at);
    at += 4;
    if (at + size_t(entries) * kKStarsIndexEntrySize > b.size())
        return error = path + ": short index", false;
    auto value = [&](size_t record, const char* name) {
        const FieldSlot& slot = fields[name];
        return readSigned(b, record + slot.offset, slot.size) / slot.scale;
    };
    for (uint32_t e = 0; e < entries; ++e) {
        size_t entry = at + e * kKStarsIndexEntrySize;
        size_t offset = readU32(b, entry + 4);
        size_t count = readU32(b, entry + 8);
        if (offset + count * recordSize > b.size()) return error = path + ": short data", false;
        for (size_t r = 0; r < count; ++r) {
            size_t record = offset + r * recordSize;
            const FieldSlot& hd = fields["HD"];
            out.push_back({value(record, "RA"), value(record, "Dec"), value(record, "dRA"),
                           value(record, "dDec"), value(record, "parallax"),
                           value(record, "bv_index"),
                           readSigned(b, record + hd.offset, hd.size)});
        }
    }
    return true;
}

// ---- Hipparcos astrometry of stellarium-data ----
//
// Star files: a 32-byte header of eight 32-bit words (magic 0x835f040a, record type, major and
// minor version, level, magnitude minimum, range and steps), one 32-bit star count for each of
// the 20 x 4^level zones, then the records. Type 0 records are 28 bytes: Hipparcos number
// (24 bits) and component number (8 bits), two 32-bit position offsets within the zone, the
// colour byte, the magnitude byte, the 16-bit spectral index, two 32-bit motions in the zone's
// frame, and the parallax in hundredths of mas (32-bit; Arcturus 8885). The colour byte b gives
// B-V = 4 b / 127 - 0.5 (16 for Vega and Sirius, 30 for Procyon, 50 for 61 Cyg A).
constexpr uint32_t kHipparcosMagic = 0x835f040a;
constexpr size_t kHipparcosHeaderSize = 32;
constexpr size_t kHipparcosRecordSize = 28;

struct HipparcosEntry {
    int component;
    int colorByte;
    double parallax;  // mas
};

struct HipparcosCrossEntry {
    int hip;
    char component;  // 'A', 'B', ... or 0
    int hr;          // the Bright Star number, 0 when not given
};

struct ProperMotion {
    double ra, dec;  // mas/yr, ra along the parallel
};

struct HipparcosData {
    std::map<int, std::vector<HipparcosEntry>> stars;   // by Hipparcos number
    std::map<int, ProperMotion> motions;                 // by Hipparcos number
    std::map<int, std::vector<HipparcosCrossEntry>> byHd;
};

double hipparcosColorIndex(int colorByte) { return colorByte * 4.0 / 127.0 - 0.5; }

bool readHipparcosStarFile(const std::string& path, HipparcosData& data, std::string& error) {
    std::vector<uint8_t> b;
    if (!readBinaryFile(path, b)) return error = "cannot read " + path, false;
    if (b.size() < kHipparcosHeaderSize || readU32(b, 0) != kHipparcosMagic || readU32(b, 4) != 0)
        return error = path + ": not a Hipparcos star file", false;
    uint32_t level = readU32(b, 16);
    size_t zones = 20u << (2 * level);
    size_t at = kHipparcosHeaderSize, total = 0;
    for (size_t z = 0; z < zones; ++z, at += 4) total += readU32(b, at);
    if (at + total * kHipparcosRecordSize > b.size()) return error = path + ": short data", false;
    for (size_t i = 0; i < total; ++i, at += kHipparcosRecordSize) {
        uint32_t id = readU32(b, at);
        data.stars[int(id & 0xFFFFFF)].push_back(
            {int(id >> 24), b[at + 12], int32_t(readU32(b, at + 24)) / 100.0});
    }
    return true;
}

bool readHipparcos(const std::string& folder, HipparcosData& data, std::string& error) {
    for (const char* name : kHipparcosStarFiles)
        if (!readHipparcosStarFile(folder + "/" + name, data, error)) return false;
    std::ifstream motions(folder + "/" + kHipparcosProperMotionFile);
    if (!motions) return error = std::string("cannot read ") + kHipparcosProperMotionFile, false;
    std::string line;
    while (std::getline(motions, line)) {
        int hip;
        ProperMotion pm;
        if (line[0] != '#' && std::sscanf(line.c_str(), "%d %lf %lf", &hip, &pm.ra, &pm.dec) == 3)
            data.motions[hip] = pm;
    }
    // Tab-separated: Hipparcos number, component letter, SAO, HD, Bright Star number.
    std::ifstream cross(folder + "/" + kHipparcosCrossIndexFile);
    if (!cross) return error = std::string("cannot read ") + kHipparcosCrossIndexFile, false;
    while (std::getline(cross, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> cells;
        std::stringstream row(line);
        for (std::string cell; std::getline(row, cell, '\t');) cells.push_back(cell);
        if (cells.size() < 4 || cells[3].empty()) continue;
        HipparcosCrossEntry entry = {std::atoi(cells[0].c_str()),
                                     cells[1].empty() ? char(0) : cells[1][0],
                                     cells.size() > 4 ? std::atoi(cells[4].c_str()) : 0};
        data.byHd[std::atoi(cells[3].c_str())].push_back(entry);
    }
    return true;
}

struct HipparcosMatch {
    ProperMotion motion;
    HipparcosEntry entry;
};

// The Hipparcos number of a Bright Star: by HD number, preferring the cross-index row that names
// this Bright Star number, among the rows whose star the star files hold; nullptr when none.
const HipparcosCrossEntry* findCrossEntry(const HipparcosData& data, const BrightStar& star) {
    auto rows = data.byHd.find(star.hd);
    if (rows == data.byHd.end()) return nullptr;
    const HipparcosCrossEntry* chosen = nullptr;
    for (const HipparcosCrossEntry& row : rows->second)
        if (data.stars.count(row.hip) &&
            (!chosen || (row.hr == star.number && chosen->hr != star.number)))
            chosen = &row;
    return chosen;
}

// The Hipparcos star of a cross-index row: its motion, and its component's record or the lowest
// component's.
bool findHipparcos(const HipparcosData& data, const HipparcosCrossEntry& chosen,
                   HipparcosMatch& match) {
    auto motion = data.motions.find(chosen.hip);
    if (motion == data.motions.end()) return false;
    const std::vector<HipparcosEntry>& entries = data.stars.at(chosen.hip);
    const HipparcosEntry* best = &entries[0];
    int wanted = chosen.component ? chosen.component - 'A' + 1 : -1;
    for (const HipparcosEntry& e : entries)
        if (e.component == wanted || (best->component != wanted && e.component < best->component))
            best = &e;
    match = {motion->second, *best};
    return true;
}

// ---- B-V of the Hipparcos main catalogue, from d3-celestial ----
//
// stars.6.json (stars to V 6) and stars.8.json (to V 8, every star of the other too) are GeoJSON
// feature collections, one feature a Hipparcos star:
//   {"type":"Feature","id":HIP,"properties":{"mag":V,"bv":"B-V"},"geometry":{...}}
// with B-V a decimal text, empty where the main catalogue has none. A star in both files must
// have the same text in both.
struct MainCatalogueColors {
    std::map<int, double> byHip;
    std::string error;  // empty when every file was read
};

// Just enough of a JSON reader for these files: a value is skipped or taken as its text; a
// backslash in a string keeps the character after it as it is (ids and colours hold no escapes).
struct JsonCursor {
    const std::string& text;
    size_t at = 0;
    bool failed = false;

    char peek() {
        while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
        return at < text.size() ? text[at] : '\0';
    }
    bool take(char c) {
        if (peek() != c) return false;
        ++at;
        return true;
    }
    void expect(char c) {
        if (!take(c)) failed = true;
    }
    std::string string() {
        std::string out;
        if (!take('"')) return failed = true, out;
        while (at < text.size() && text[at] != '"') {
            if (text[at] == '\\') ++at;
            if (at < text.size()) out += text[at++];
        }
        if (at >= text.size()) failed = true;
        ++at;
        return out;
    }
    // A number, true, false or null, as its text.
    std::string scalar() {
        peek();
        size_t first = at;
        while (at < text.size() && std::strchr("+-.0123456789eEtruefalsn", text[at])) ++at;
        if (at == first) failed = true;
        return text.substr(first, at - first);
    }
    // Calls member(key) for each key of an object; member reads or skips the value.
    template <typename Member>
    void object(Member member) {
        expect('{');
        if (take('}')) return;
        do {
            std::string key = string();
            expect(':');
            if (!failed) member(key);
        } while (!failed && take(','));
        expect('}');
    }
    template <typename Element>
    void array(Element element) {
        expect('[');
        if (take(']')) return;
        do element();
        while (!failed && take(','));
        expect(']');
    }
    void skip(int depth = 0) {
        constexpr int kDeepest = 32;
        if (depth > kDeepest) failed = true;
        else if (peek() == '{') object([&](const std::string&) { skip(depth + 1); });
        else if (peek() == '[') array([&] { skip(depth + 1); });
        else if (peek() == '"') string();
        else scalar();
    }
};

// A whole decimal text as a number.
bool decimal(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && end == text.c_str() + text.size() && std::isfinite(value);
}

void readMainCatalogueFile(const std::string& path, MainCatalogueColors& colors) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return void(colors.error = "cannot read " + path);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    JsonCursor json{text};
    std::string problem;
    auto feature = [&] {
        std::string id, bv;
        json.object([&](const std::string& key) {
            if (key == "id") id = json.scalar();
            else if (key != "properties") json.skip();
            else json.object([&](const std::string& property) {
                if (property == "bv") bv = json.string();
                else json.skip();
            });
        });
        double hip = 0, value = 0;
        if (json.failed || !problem.empty()) return;
        if (!decimal(id, hip) || hip < 1 || hip > 1e9 || hip != std::floor(hip)) {
            problem = "a feature without a Hipparcos number";
            return;
        }
        if (bv.empty()) return;  // no value in the main catalogue
        if (!decimal(bv, value))
            problem = "Hipparcos " + id + ": B-V \"" + bv + "\"";
        else if (!colors.byHip.emplace(int(hip), value).second && colors.byHip[int(hip)] != value)
            problem = "Hipparcos " + id + ": two different B-V";
    };
    json.object([&](const std::string& key) {
        if (key == "features") json.array(feature);
        else json.skip();
    });
    if (json.peek() != '\0') json.failed = true;
    if (json.failed)
        colors.error = path + ": not JSON as expected near byte " + std::to_string(json.at);
    else if (!problem.empty()) colors.error = path + ": " + problem;
}

MainCatalogueColors readMainCatalogueColors(const std::vector<std::string>& paths) {
    MainCatalogueColors colors;
    for (const std::string& path : paths)
        if (colors.error.empty()) readMainCatalogueFile(path, colors);
    return colors;
}

// The kstars record of a Bright Star: by HD number, the nearest in position when HD repeats.
const KStarsRecord* findKStars(const std::multimap<int, KStarsRecord>& byHd,
                               const BrightStar& star) {
    const KStarsRecord* best = nullptr;
    double bestDistance = 0;
    auto range = byHd.equal_range(star.hd);
    for (auto it = range.first; it != range.second; ++it) {
        double dRa = std::remainder((it->second.raHours - star.raHours) * 15.0, 360.0) *
                     std::cos(star.decDegrees * kDegToRad);
        double dDec = it->second.decDegrees - star.decDegrees;
        double distance = dRa * dRa + dDec * dDec;
        if (!best || distance < bestDistance) best = &it->second, bestDistance = distance;
    }
    return best;
}

// ---- Conversion ----

// The B-V sources, in the order they are taken.
enum ColorSource { kMainCatalogueColor, kColorByteColor, kKStarsColor, kColorSourceCount };
const char* const kColorSourceNames[kColorSourceCount] = {
    "main catalogue", "colour byte", "kstars"};

// What each source says of one star's B-V.
struct ColorCandidates {
    bool present[kColorSourceCount] = {};
    double value[kColorSourceCount] = {};
};

struct Counts {
    int fromHipparcos = 0, fromKStars = 0, motionFromNeither = 0;
    int colorFrom[kColorSourceCount] = {}, colorMissing = 0;
    int distanceFilled = 0, distanceClampedFar = 0, distanceClampedNear = 0;
    int motionClamped = 0, magnitudeClamped = 0, colorClamped = 0;
};

struct SourceData {
    std::multimap<int, KStarsRecord> kstars;  // by HD number
    HipparcosData hipparcos;
    MainCatalogueColors mainColors;
};

struct ConvertedStar {
    ReferenceRecord record;
    ColorCandidates colors;
};

// value x scale rounded to the file's integer, clamped to the reader's range of the field.
int16_t scaledWithin(double value, double scale, const FieldRange& range, int& clampCount) {
    long lowest = std::lround(range.lowest * scale), highest = std::lround(range.highest * scale);
    long scaled = std::lround(value * scale);
    if (scaled < lowest) return ++clampCount, int16_t(lowest);
    if (scaled > highest) return ++clampCount, int16_t(highest);
    return int16_t(scaled);
}

ConvertedStar convertStar(const BrightStar& star, const DesignationCodes& codes,
                          const SourceData& sources, Counts& counts, bool& ok) {
    ConvertedStar converted;
    ReferenceRecord& record = converted.record;
    record.number = int16_t(star.number);
    record.secondNumber = star.hd;
    if (!encodeNameField(star.nameField, codes, record)) {
        std::fprintf(stderr, "star %d: unknown name field \"%s\"\n", star.number,
                     star.nameField.c_str());
        ok = false;
    }
    record.ra = float(star.raHours * 15.0 * kDegToRad);
    record.dec = float(star.decDegrees * kDegToRad);
    record.magnitude =
        scaledWithin(star.vMagnitude, kMagnitudeScale, kMagnitudeRange, counts.magnitudeClamped);
    record.radialVelocity = 0;

    const KStarsRecord* ks = findKStars(sources.kstars, star);
    const HipparcosCrossEntry* cross = findCrossEntry(sources.hipparcos, star);
    HipparcosMatch hip;
    bool inHipparcos = cross && findHipparcos(sources.hipparcos, *cross, hip);

    double pmRa = 0, pmDec = 0, parallax = 0;
    if (inHipparcos) {
        ++counts.fromHipparcos;
        pmRa = hip.motion.ra, pmDec = hip.motion.dec, parallax = hip.entry.parallax;
    } else if (ks) {
        ++counts.fromKStars;
        pmRa = ks->pmRa, pmDec = ks->pmDec, parallax = ks->parallax;
    } else {
        ++counts.motionFromNeither;
    }
    // The sources give mas/yr, the reader's range is in "/yr.
    record.pmRa = scaledWithin(pmRa / 1000.0, kProperMotionScale, kProperMotionRange,
                               counts.motionClamped);
    record.pmDec = scaledWithin(pmDec / 1000.0, kProperMotionScale, kProperMotionRange,
                                counts.motionClamped);
    if (parallax <= 0) {
        // Beyond the space-motion branch: the star moves linearly.
        ++counts.distanceFilled;
        record.distance = int16_t(std::lround(kDistanceRange.highest * kDistanceScale));
    } else {
        double parsecs = 1000.0 / parallax;
        int& clampCount = parsecs > kDistanceRange.highest ? counts.distanceClampedFar
                                                           : counts.distanceClampedNear;
        record.distance = scaledWithin(parsecs, kDistanceScale, kDistanceRange, clampCount);
    }

    ColorCandidates& colors = converted.colors;
    auto offer = [&colors](ColorSource source, double value) {
        colors.present[source] = true;
        colors.value[source] = value;
    };
    const std::map<int, double>& mainColors = sources.mainColors.byHip;
    auto main = cross ? mainColors.find(cross->hip) : mainColors.end();
    if (main != mainColors.end()) offer(kMainCatalogueColor, main->second);
    if (inHipparcos) offer(kColorByteColor, hipparcosColorIndex(hip.entry.colorByte));
    // kstars writes exactly 0.00 where it has no value.
    if (ks && ks->colorIndex != 0.0) offer(kKStarsColor, ks->colorIndex);
    int source = 0;
    while (source < kColorSourceCount && !colors.present[source]) ++source;
    if (source == kColorSourceCount) {
        ++counts.colorMissing;
        record.colorCode = int16_t(kMissingColorCode);
    } else {
        ++counts.colorFrom[source];
        record.colorCode = scaledWithin(colors.value[source], kMagnitudeScale, kColorIndexRange,
                                        counts.colorClamped);
    }
    return converted;
}

// The 20 brightest stars of the catalogue (alpha Cen counted once, by its brighter component)
// and their standard Johnson B-V from UBV photometry, against which the sources are measured.
struct StandardColor {
    const char* designation;
    double bv;
};
const StandardColor kStandardColors[] = {
    {"alp CMa", 0.00},  {"alp Car", 0.15},  {"alp Boo", 1.23},  {"alp1 Cen", 0.71},
    {"alp Lyr", 0.00},  {"alp Aur", 0.80},  {"bet Ori", -0.03}, {"alp CMi", 0.42},
    {"alp Eri", -0.16}, {"alp Ori", 1.85},  {"bet Cen", -0.23}, {"alp Aql", 0.22},
    {"alp Tau", 1.54},  {"alp Sco", 1.83},  {"alp Vir", -0.23}, {"bet Gem", 1.00},
    {"alp PsA", 0.09},  {"alp Cyg", 0.09},  {"bet Cru", -0.23}, {"alp1 Cru", -0.24}};
constexpr double kColorAgreement = 0.05;

// The designation without its Flamsteed number: "16 alp Boo" -> "alp Boo".
std::string withoutFlamsteed(const ReferenceRecord& record) {
    char text[16];
    designationText(record, text);
    std::string name = text;
    if (record.flamsteed != 0 && record.greekLetter != 0) name.erase(0, name.find(' ') + 1);
    return name;
}

// Prints each source's B-V of the standard stars and how many lie within kColorAgreement, for
// each source alone and for the chosen values; false when a designation is not found once.
bool compareWithStandardColors(const std::vector<ConvertedStar>& stars) {
    const int columns = kColorSourceCount + 1;  // the sources, then the chosen value
    int agreeing[columns] = {};
    std::printf("B-V of the %zu brightest stars: standard Johnson value, then",
                std::size(kStandardColors));
    for (const char* name : kColorSourceNames) std::printf(" %s,", name);
    std::printf(" shipped (- none, * more than %.2f off)\n", kColorAgreement);
    for (const StandardColor& standard : kStandardColors) {
        const ConvertedStar* found = nullptr;
        int matches = 0;
        for (const ConvertedStar& star : stars)
            if (withoutFlamsteed(star.record) == standard.designation) found = &star, ++matches;
        if (matches != 1) {
            std::fprintf(stderr, "%d stars are called %s\n", matches, standard.designation);
            return false;
        }
        std::printf("  %-8s %+.2f", standard.designation, standard.bv);
        for (int c = 0; c < columns; ++c) {
            bool shipped = c == kColorSourceCount;
            bool present = shipped ? found->record.colorCode != kMissingColorCode
                                   : found->colors.present[c];
            double value = shipped ? found->record.colorCode / kMagnitudeScale
                                   : found->colors.value[c];
            // The slack absorbs the binary error of a difference of two decimals.
            bool agrees = present && std::fabs(value - standard.bv) <= kColorAgreement + 1e-9;
            agreeing[c] += agrees;
            if (present) std::printf("  %+.3f%c", value, agrees ? ' ' : '*');
            else std::printf("  %6s ", "-");
        }
        std::printf("\n");
    }
    std::printf("within %.2f of the standard value, of %zu:", kColorAgreement,
                std::size(kStandardColors));
    for (int c = 0; c < kColorSourceCount; ++c)
        std::printf(" %s %d,", kColorSourceNames[c], agreeing[c]);
    std::printf(" shipped %d\n", agreeing[kColorSourceCount]);
    return true;
}

void printStar(const ReferenceRecord* records, int count, int number, const char* label) {
    for (int i = 0; i < count; ++i) {
        const ReferenceRecord& r = records[i];
        if (r.number != number) continue;
        char name[16];
        designationText(r, name);
        std::printf("  %-12s %4d %-12s pm %+.3f %+.3f \"/yr, distance %.1f pc (parallax %.1f mas),"
                    " B-V %.2f\n",
                    label, number, name, r.pmRa / kProperMotionScale, r.pmDec / kProperMotionScale,
                    r.distance / kDistanceScale, 1000.0 * kDistanceScale / r.distance,
                    r.colorCode / kMagnitudeScale);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 7) {
        std::fprintf(stderr,
                     "usage: %s OUTPUT STARS6_JSON STARS8_JSON [BSC_FILE KSTARS_FOLDER "
                     "HIPPARCOS_FOLDER]\n"
                     "  STARS6_JSON, STARS8_JSON: data/stars.6.json and data/stars.8.json of the "
                     "npm package d3-celestial 0.7.35\n"
                     "defaults: %s %s %s\n",
                     argv[0], kDefaultBrightStarFile, kDefaultKStarsFolder,
                     kDefaultHipparcosFolder);
        return 2;
    }
    const std::string output = argv[1];
    const std::vector<std::string> mainCatalogueFiles = {argv[2], argv[3]};
    const std::string brightStarFile = argc == 7 ? argv[4] : kDefaultBrightStarFile;
    const std::string kstarsFolder = argc == 7 ? argv[5] : kDefaultKStarsFolder;
    const std::string hipparcosFolder = argc == 7 ? argv[6] : kDefaultHipparcosFolder;

    std::vector<BrightStar> stars;
    if (!readBrightStars(brightStarFile, stars)) {
        std::fprintf(stderr, "cannot read %s\n", brightStarFile.c_str());
        return 1;
    }
    if (int(stars.size()) != kReferenceStarCount) {
        std::fprintf(stderr, "%s holds %zu stars, not %d\n", brightStarFile.c_str(), stars.size(),
                     kReferenceStarCount);
        return 1;
    }
    std::sort(stars.begin(), stars.end(),
              [](const BrightStar& a, const BrightStar& b) { return a.number < b.number; });

    std::string error;
    SourceData sources;
    size_t kstarsRecords = 0;
    for (const char* name : kKStarsFiles) {
        std::vector<KStarsRecord> records;
        if (!readStarDataFile(kstarsFolder + "/" + name, records, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
        kstarsRecords += records.size();
        for (const KStarsRecord& r : records) sources.kstars.emplace(r.hd, r);
    }
    if (!readHipparcos(hipparcosFolder, sources.hipparcos, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    sources.mainColors = readMainCatalogueColors(mainCatalogueFiles);
    if (!sources.mainColors.error.empty()) {
        std::fprintf(stderr, "%s\n", sources.mainColors.error.c_str());
        return 1;
    }

    const DesignationCodes codes = designationCodes();
    std::vector<ConvertedStar> converted;
    std::vector<ReferenceRecord> records;
    Counts counts;
    bool ok = true;
    int joinedKStars = 0;
    for (size_t i = 0; i < stars.size(); ++i) {
        if (i > 0 && stars[i].number == stars[i - 1].number) {
            std::fprintf(stderr, "star number %d occurs twice\n", stars[i].number);
            return 1;
        }
        if (findKStars(sources.kstars, stars[i])) ++joinedKStars;
        converted.push_back(convertStar(stars[i], codes, sources, counts, ok));
        records.push_back(converted.back().record);
    }
    if (!ok) return 1;

    if (!writeReferenceCatalog(output.c_str(), records.data(), int(records.size()))) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    auto check = std::make_unique<ReferenceCatalog>();
    if (!readReferenceCatalog(output.c_str(), *check)) {
        std::fprintf(stderr, "%s does not pass the reference reader\n", output.c_str());
        return 1;
    }

    std::printf("%s: %zu stars from %s\n", output.c_str(), records.size(), brightStarFile.c_str());
    std::printf("joined by HD: %d stars with kstars (%zu records), %d with Hipparcos\n",
                joinedKStars, kstarsRecords, counts.fromHipparcos);
    std::printf("proper motion and parallax: %d from Hipparcos, %d from kstars, "
                "%d from neither (filled: motion 0, distance 1001 pc)\n",
                counts.fromHipparcos, counts.fromKStars, counts.motionFromNeither);
    std::printf("distance: %d filled with 1001 pc (no parallax, or zero or negative), "
                "%d clamped to 1001 pc, %d clamped to 1 pc\n",
                counts.distanceFilled, counts.distanceClampedFar, counts.distanceClampedNear);
    std::printf("proper motion components clamped to 6\"/yr: %d\n", counts.motionClamped);
    std::printf("radial velocity: %zu filled with 0\n", records.size());
    std::printf("B-V, in this order: ");
    for (int c = 0; c < kColorSourceCount; ++c)
        std::printf("%s %d, ", kColorSourceNames[c], counts.colorFrom[c]);
    std::printf("missing %d (code 999), clamped %d; the main catalogue files hold %zu values\n",
                counts.colorMissing, counts.colorClamped, sources.mainColors.byHip.size());
    std::printf("magnitude clamped: %d\n", counts.magnitudeClamped);
    if (!compareWithStandardColors(converted)) return 1;
    std::printf("spot values:\n");
    printStar(records.data(), int(records.size()), 5340, "Arcturus");
    printStar(records.data(), int(records.size()), 2491, "Sirius");
    printStar(records.data(), int(records.size()), 8085, "61 Cygni A");
    printStar(records.data(), int(records.size()), 8086, "61 Cygni B");
    return 0;
}
