#include "catalog/edition_file.h"

#include "catalog/safe_write.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>

namespace {

// A line is taken in pieces of at most this many characters; the rest of a longer line is read
// as the next line.
constexpr size_t kLinePieceLength = 511;
constexpr size_t kHeaderLength = sizeof(kEditionHeader) - 1;
constexpr size_t kNameColumn = 19;

// Columns of a star line, counted from 0, both ends included.
struct Columns {
    size_t first, last;
};
constexpr Columns kCatalogNumberColumns = {0, 3};
constexpr Columns kNumberInConstellationColumns = {9, 10};
constexpr Columns kLongitudeColumns = {12, 14};
constexpr Columns kLonMinutesColumns = {16, 17};
constexpr size_t kLatSignColumn = 19;
constexpr Columns kLatDegreesColumns = {20, 21};
constexpr Columns kLatMinutesColumns = {23, 24};
constexpr Columns kMagnitudeColumns = {26, 28};
constexpr Columns kIdentificationColumns = {30, 33};
constexpr Columns kDesignationColumns = {35, 46};
constexpr size_t kDescriptionColumn = 48;
static_assert(kLongestDescription == kLinePieceLength - kDescriptionColumn);
static_assert(kLongestEditionName == kLinePieceLength - kNameColumn);
static_assert(kDesignationLength == kDesignationColumns.last - kDesignationColumns.first + 1);

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Reads the file line by line through its own buffer. Only the part of the file up to the last
// line asked for (and at most one block beyond) is ever read.
struct LineReader {
    std::FILE* file = nullptr;
    std::string buffer;
    size_t pos = 0;
    bool atEnd = false;

    // True when at least `count` characters are waiting, reading more of the file if needed.
    bool have(size_t count) {
        while (buffer.size() - pos < count && !atEnd) {
            constexpr size_t kBlock = 8192;
            buffer.erase(0, pos);
            pos = 0;
            size_t old = buffer.size();
            buffer.resize(old + kBlock);
            size_t got = std::fread(&buffer[old], 1, kBlock, file);
            buffer.resize(old + got);
            if (got < kBlock) atEnd = true;
        }
        return buffer.size() - pos >= count;
    }

    // Consumes a line end (LF, or CR LF as text mode reads it) if one is next.
    bool takeLineEnd() {
        if (have(1) && buffer[pos] == '\n') {
            pos += 1;
            return true;
        }
        if (have(2) && buffer[pos] == '\r' && buffer[pos + 1] == '\n') {
            pos += 2;
            return true;
        }
        return false;
    }

    // The next piece of at most 511 characters, false when the file has nothing more. A piece
    // ends at a line end, which is consumed with it. The piece is then cut as a zero-cleared
    // character buffer would leave it: at the first zero byte, the last CR and the last LF.
    bool nextPiece(std::string& piece) {
        piece.clear();
        if (!have(1)) return false;
        while (piece.size() < kLinePieceLength && !takeLineEnd() && have(1))
            piece.push_back(buffer[pos++]);
        // A line of exactly the piece length is whole: its own line end goes with it.
        if (piece.size() == kLinePieceLength) takeLineEnd();
        piece.resize(std::strlen(piece.c_str()));
        size_t cr = piece.rfind('\r');
        if (cr != std::string::npos) piece.resize(cr);
        return true;
    }
};

std::string_view field(std::string_view line, Columns columns) {
    if (columns.first >= line.size()) return {};
    return line.substr(columns.first, columns.last - columns.first + 1);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Skips leading blanks and an optional sign; true when the number is negative.
bool skipBlanksAndSign(std::string_view& text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    text.remove_prefix(i);
    return negative;
}

// Decimal integer conversion: blanks, an optional sign, digits up to the first other character;
// 0 when there are no digits.
int32_t fieldInteger(std::string_view text) {
    bool negative = skipBlanksAndSign(text);
    int32_t value = 0;
    for (char c : text) {
        if (!isDigit(c)) break;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

// Decimal floating-point conversion of the same kind, in any locale. Only decimal notation is
// taken (no hexadecimal, infinity or NaN), so a magnitude is always a finite number.
float fieldDecimal(std::string_view text) {
    bool negative = skipBlanksAndSign(text);
    bool startsNumber = !text.empty() && (isDigit(text[0]) ||
                                          (text[0] == '.' && text.size() > 1 && isDigit(text[1])));
    if (!startsNumber) return 0;
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return float(negative ? -value : value);
}

void parseStarLine(std::string_view line, AncientStar& star) {
    star.catalogNumber = fieldInteger(field(line, kCatalogNumberColumns));
    star.numberInConstellation = fieldInteger(field(line, kNumberInConstellationColumns));
    int32_t longitude = fieldInteger(field(line, kLongitudeColumns));
    star.zodiacSign = longitude / 30;
    star.signDegrees = longitude % 30;
    star.lonMinutes = fieldInteger(field(line, kLonMinutesColumns));
    star.latSouth = line.size() > kLatSignColumn && line[kLatSignColumn] == '-';
    star.latDegrees = fieldInteger(field(line, kLatDegreesColumns));
    star.latMinutes = fieldInteger(field(line, kLatMinutesColumns));
    star.magnitude = fieldDecimal(field(line, kMagnitudeColumns));
    star.identification = fieldInteger(field(line, kIdentificationColumns));
    std::string_view designation = field(line, kDesignationColumns);
    designation.copy(star.designation, kDesignationLength);
    star.designation[designation.size()] = '\0';
    if (line.size() > kDescriptionColumn) star.description = line.substr(kDescriptionColumn);
}

EditionPtr readEditionFrom(std::FILE* file, const char* path) {
    LineReader reader;
    reader.file = file;
    std::string line;
    if (!reader.nextPiece(line)) return nullptr;
    if (line.size() < kHeaderLength || line.compare(0, kHeaderLength, kEditionHeader) != 0)
        return nullptr;

    EditionPtr edition = newEdition();
    edition->path = path;
    if (line.size() > kNameColumn) edition->name = line.substr(kNameColumn);
    for (Constellation& constellation : edition->constellations) {
        for (AncientStar& star : constellation.stars) {
            if (!reader.nextPiece(line)) return nullptr;
            parseStarLine(line, star);
        }
    }
    return edition;
}

// Numbers right-aligned in their field; false when the value does not fit.
bool appendNumber(std::string& out, long value, size_t width, bool zeroPadded = false) {
    char digits[24];
    bool padWithZeros = zeroPadded && value >= 0;
    int length = std::snprintf(digits, sizeof digits, padWithZeros ? "%0*ld" : "%*ld",
                               int(width), value);
    if (length < 0 || size_t(length) > width) return false;
    out.append(digits, size_t(length));
    return true;
}

// The shortest text of at most three characters that reads back as exactly this magnitude.
bool appendMagnitude(std::string& out, float magnitude) {
    constexpr size_t kWidth = kMagnitudeColumns.last - kMagnitudeColumns.first + 1;
    for (int decimals = 0; decimals <= 2; ++decimals) {
        char text[32];
        auto result = std::to_chars(text, text + sizeof text, double(magnitude),
                                    std::chars_format::fixed, decimals);
        std::string_view number(text, size_t(result.ptr - text));
        // "0.25" fits the field as ".25", "-0.5" as "-.5".
        std::string shortened(number);
        size_t zero = shortened.find("0.");
        if (zero != std::string::npos && (zero == 0 || shortened[zero - 1] == '-'))
            shortened.erase(zero, 1);
        if (shortened.size() > kWidth) continue;
        if (fieldDecimal(shortened) != magnitude) continue;
        out.append(kWidth - shortened.size(), ' ');
        out += shortened;
        return true;
    }
    return false;
}

bool hasLineBreakOrZero(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool appendStarLine(std::string& out, const AncientStar& star) {
    if (star.signDegrees < 0 || star.signDegrees >= 30) return false;
    const void* end = std::memchr(star.designation, '\0', kDesignationLength);
    size_t designationLength =
        end ? size_t(static_cast<const char*>(end) - star.designation) : kDesignationLength;
    std::string_view designation(star.designation, designationLength);
    if (hasLineBreakOrZero(designation) || hasLineBreakOrZero(star.description) ||
        star.description.size() > kLongestDescription)
        return false;
    long longitude = 30L * star.zodiacSign + star.signDegrees;
    bool fits = appendNumber(out, star.catalogNumber, 4);
    out.append(5, ' ');
    fits = fits && appendNumber(out, star.numberInConstellation, 2);
    out += ' ';
    fits = fits && appendNumber(out, longitude, 3);
    out += ' ';
    fits = fits && appendNumber(out, star.lonMinutes, 2, true);
    out += ' ';
    out += star.latSouth ? '-' : '+';
    fits = fits && appendNumber(out, star.latDegrees, 2, true);
    out += ' ';
    fits = fits && appendNumber(out, star.latMinutes, 2, true);
    out += ' ';
    fits = fits && appendMagnitude(out, star.magnitude);
    out += ' ';
    fits = fits && appendNumber(out, star.identification, 4);
    out += ' ';
    out += designation;
    if (!star.description.empty()) {
        // The designation field is filled out to its twelve columns before the description.
        out.append(kDesignationLength - designationLength, ' ');
        out += ' ';
        out += star.description;
    }
    out += '\n';
    return fits;
}

bool editionText(const AncientCatalog& edition, std::string& out) {
    if (edition.name.size() > kLongestEditionName || hasLineBreakOrZero(edition.name)) return false;
    out = kEditionHeader;
    if (!edition.name.empty()) out += "  " + edition.name;
    out += '\n';
    for (int c = 0; c < kConstellationCount; ++c) {
        const ConstellationInfo& row = kConstellationTable[c];
        const Constellation& constellation = edition.constellations[c];
        if (constellation.stars.size() != size_t(row.figureCount + row.extraCount)) return false;
        for (const AncientStar& star : constellation.stars)
            if (!appendStarLine(out, star)) return false;
    }
    return true;
}

}  // namespace

EditionPtr readEdition(const char* path) {
    if (!path) return nullptr;
    FilePtr file(std::fopen(path, "r"));
    if (!file) return nullptr;
    try {
        return readEditionFrom(file.get(), path);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool replaceEdition(CatalogSet& set, const char* path) {
    if (set.current < 0 || set.current >= kEditionSlotCount) return false;
    EditionPtr edition = readEdition(path);
    if (!edition) return false;
    set.slots[set.current] = std::move(edition);
    return true;
}

bool magnitudeFitsColumns(float magnitude) {
    std::string text;
    return appendMagnitude(text, magnitude);
}

bool writeEdition(const char* path, const AncientCatalog& edition) {
    if (!path) return false;
    std::string text;
    try {
        if (!editionText(edition, text)) return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::FILE* file = std::fopen(path, "w");
    if (!file) return false;
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    return std::fclose(file) == 0 && written;
}

bool saveEdition(const std::string& path, const AncientCatalog& edition) {
    return replaceFileWith(path, [&edition](const char* temporary) {
        return writeEdition(temporary, edition);
    });
}
