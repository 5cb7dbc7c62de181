#include "catalog/edition_csv.h"

#include <charconv>
#include <cstring>
#include <vector>

#include "catalog/csv.h"
#include "catalog/edition_file.h"
#include "catalog/text_format.h"

namespace {

enum Column {
    kEditionColumn,
    kConstellationColumn,
    kCatalogNumberColumn,
    kNumberInConstellationColumn,
    kLongitudeColumn,
    kLonMinutesColumn,
    kLatSignColumn,
    kLatDegreesColumn,
    kLatMinutesColumn,
    kMagnitudeColumn,
    kIdentificationColumn,
    kDesignationColumn,
    kDescriptionColumn,
    kColumnCount
};

const char* const kColumnNames[kColumnCount] = {
    "edition",         "constellation",    "catalog_number", "number_in_constellation",
    "longitude_deg",   "longitude_arcmin", "latitude_sign",  "latitude_deg",
    "latitude_arcmin", "magnitude",        "identification", "designation",
    "description"};

// The values a field of the star line holds so that it reads back: as many digits as it has
// columns, or a minus sign and one digit fewer.
struct Limits {
    long lowest, highest;
};
constexpr Limits columnsHold(int columns) {
    long power = 1;
    for (int i = 1; i < columns; ++i) power *= 10;
    return {-(power - 1), power * 10 - 1};
}

// The plain integer fields. Whole degrees of longitude are read apart: they become the sign of
// the zodiac and the degrees within it, which must not be negative.
struct IntegerField {
    Column column;
    Limits limits;
    int32_t AncientStar::*member;
};
const IntegerField kIntegerFields[] = {
    {kCatalogNumberColumn, columnsHold(4), &AncientStar::catalogNumber},
    {kNumberInConstellationColumn, columnsHold(2), &AncientStar::numberInConstellation},
    {kLonMinutesColumn, columnsHold(2), &AncientStar::lonMinutes},
    {kLatDegreesColumn, columnsHold(2), &AncientStar::latDegrees},
    {kLatMinutesColumn, columnsHold(2), &AncientStar::latMinutes},
    {kIdentificationColumn, columnsHold(4), &AncientStar::identification},
};
constexpr Limits kLongitudeLimits = {0, columnsHold(3).highest};
constexpr int kDegreesPerSign = 30;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool hasLineBreakOrZero(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

int starsOf(int constellation) {
    const ConstellationInfo& row = kConstellationTable[constellation];
    return row.figureCount + row.extraCount;
}

// Collects the first complaint, naming where it is.
struct Complaint {
    EditionFromCsv& result;
    bool operator()(int line, int column, const std::string& what) {
        result.line = line;
        result.column = column;
        if (column > 0 && column <= kColumnCount)
            result.problem = formatText("line %d, column %d (%s): %s", line, column,
                                        kColumnNames[column - 1], what.c_str());
        else if (column > 0)
            result.problem = formatText("line %d, column %d: %s", line, column, what.c_str());
        else
            result.problem = formatText("line %d: %s", line, what.c_str());
        return false;
    }
};

bool readInteger(std::string_view text, Limits limits, long& value) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() &&
           value >= limits.lowest && value <= limits.highest;
}

std::string integerProblem(std::string_view text, Limits limits) {
    long value;
    std::string_view t = trimmed(text);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || end != t.data() + t.size() || error == std::errc::invalid_argument)
        return formatText("\"%.*s\" is not a whole number", int(text.size()), text.data());
    return formatText("%.*s is outside %ld to %ld", int(t.size()), t.data(), limits.lowest,
                      limits.highest);
}

// One row's fields into the star; false, with the complaint made, when a value is refused.
bool readStar(const CsvRecord& row, AncientStar& star, Complaint& complain) {
    const std::vector<std::string>& f = row.fields;
    for (const IntegerField& field : kIntegerFields) {
        long value = 0;
        const std::string& text = f[field.column];
        const bool emptyIsNone = field.column == kIdentificationColumn && trimmed(text).empty();
        if (!emptyIsNone && !readInteger(text, field.limits, value))
            return complain(row.line, field.column + 1, integerProblem(text, field.limits));
        star.*field.member = int32_t(value);
    }
    long longitude;
    if (!readInteger(f[kLongitudeColumn], kLongitudeLimits, longitude))
        return complain(row.line, kLongitudeColumn + 1,
                        integerProblem(f[kLongitudeColumn], kLongitudeLimits));
    star.zodiacSign = int32_t(longitude / kDegreesPerSign);
    star.signDegrees = int32_t(longitude % kDegreesPerSign);

    const std::string_view sign = trimmed(f[kLatSignColumn]);
    if (!(sign.empty() || sign == "+" || sign == "-"))
        return complain(
            row.line, kLatSignColumn + 1,
            formatText("\"%s\" is neither + (north) nor - (south)", f[kLatSignColumn].c_str()));
    star.latSouth = sign == "-";

    const std::string_view magnitude = trimmed(f[kMagnitudeColumn]);
    float value = 0;
    auto [end, error] = std::from_chars(magnitude.data(), magnitude.data() + magnitude.size(),
                                        value, std::chars_format::fixed);
    if (magnitude.empty() || error != std::errc() || end != magnitude.data() + magnitude.size())
        return complain(row.line, kMagnitudeColumn + 1,
                        formatText("\"%s\" is not a number", f[kMagnitudeColumn].c_str()));
    if (!magnitudeFitsColumns(value))
        return complain(row.line, kMagnitudeColumn + 1,
                        formatText("%s does not fit the three columns of a magnitude",
                                   f[kMagnitudeColumn].c_str()));
    star.magnitude = value;

    const std::string& designation = f[kDesignationColumn];
    if (designation.size() > kDesignationLength || hasLineBreakOrZero(designation))
        return complain(
            row.line, kDesignationColumn + 1,
            formatText("longer than %zu characters or holding a line break", kDesignationLength));
    std::memcpy(star.designation, designation.data(), designation.size());
    star.designation[designation.size()] = '\0';

    const std::string& description = f[kDescriptionColumn];
    if (description.size() > kLongestDescription || hasLineBreakOrZero(description))
        return complain(
            row.line, kDescriptionColumn + 1,
            formatText("longer than %zu characters or holding a line break", kLongestDescription));
    star.description = description;
    return true;
}

// Where a row's constellation leaves the count: the constellation `current` holds `held` of
// its stars so far. False, with the complaint made, when the row is not the one due.
bool placeRow(const CsvRecord& row, int& current, int& held, Complaint& complain) {
    const std::string& name = row.fields[kConstellationColumn];
    const int named = constellationByName(trimmed(name));
    if (named < 0)
        return complain(row.line, kConstellationColumn + 1,
                        formatText("\"%s\" is no constellation of the table", name.c_str()));
    const bool full = held == starsOf(current);
    const int due = full ? current + 1 : current;
    if (named == due) {
        if (full) {
            current = due;
            held = 0;
        }
        ++held;
        return true;
    }
    if (due == kConstellationCount)
        return complain(row.line, 0,
                        formatText("one row too many: the edition's %d stars are all there",
                                   kAncientStarCount));
    const char* currentName = kConstellationTable[current].name;
    if (named == current)
        return complain(row.line, kConstellationColumn + 1,
                        formatText("%s has more than its %d stars", currentName, starsOf(current)));
    if (named == current + 1)
        return complain(
            row.line, kConstellationColumn + 1,
            formatText("%s has only %d of its %d stars", currentName, held, starsOf(current)));
    return complain(row.line, kConstellationColumn + 1,
                    formatText("%s is out of the table's order: a star of %s is due",
                               kConstellationTable[named].name, kConstellationTable[due].name));
}

}  // namespace

std::string editionToCsv(const AncientCatalog& edition) {
    std::string text =
        csvRecord(std::vector<std::string>(kColumnNames, kColumnNames + kColumnCount));
    for (int c = 0; c < kConstellationCount; ++c) {
        for (const AncientStar& star : edition.constellations[c].stars) {
            char magnitude[32];
            auto written = std::to_chars(magnitude, magnitude + sizeof magnitude, star.magnitude);
            const size_t designationLength = strnlen(star.designation, kDesignationLength);
            text += csvRecord({
                edition.name,
                kConstellationTable[c].name,
                std::to_string(star.catalogNumber),
                std::to_string(star.numberInConstellation),
                std::to_string(kDegreesPerSign * star.zodiacSign + star.signDegrees),
                std::to_string(star.lonMinutes),
                star.latSouth ? "-" : "+",
                std::to_string(star.latDegrees),
                std::to_string(star.latMinutes),
                std::string(magnitude, written.ptr),
                std::to_string(star.identification),
                withoutTrailingBlanks({star.designation, designationLength}),
                star.description,
            });
        }
    }
    return text;
}

EditionFromCsv editionFromCsv(std::string_view text) {
    EditionFromCsv result;
    Complaint complain{result};
    CsvText csv = readCsv(text);
    if (!csv.problem.empty()) {
        result.line = csv.line;
        result.column = csv.column;
        result.problem =
            formatText("line %d, column %d: %s", csv.line, csv.column, csv.problem.c_str());
        return result;
    }
    if (csv.records.empty()) {
        complain(1, 0, "no header row");
        return result;
    }
    for (const CsvRecord& row : csv.records) {
        const size_t count = row.fields.size();
        if (count < kColumnCount) {
            complain(row.line, int(count) + 1, formatText("the row ends after %zu columns", count));
            return result;
        }
        if (count > kColumnCount) {
            complain(row.line, kColumnCount + 1,
                     formatText("the row has %zu columns; %d are expected", count, kColumnCount));
            return result;
        }
    }
    const CsvRecord& header = csv.records.front();
    for (int k = 0; k < kColumnCount; ++k)
        if (trimmed(header.fields[size_t(k)]) != kColumnNames[k]) {
            complain(
                header.line, k + 1,
                formatText("the header row has \"%s\" here", header.fields[size_t(k)].c_str()));
            return result;
        }

    EditionPtr edition = newEdition();
    int current = 0, held = 0;
    for (size_t r = 1; r < csv.records.size(); ++r) {
        const CsvRecord& row = csv.records[r];
        const std::string& name = row.fields[kEditionColumn];
        if (r == 1) {
            if (name.size() > kLongestEditionName || hasLineBreakOrZero(name)) {
                complain(row.line, kEditionColumn + 1,
                         formatText("longer than %zu characters or holding a line break",
                                    kLongestEditionName));
                return result;
            }
            edition->name = name;
        } else if (name != edition->name) {
            complain(row.line, kEditionColumn + 1,
                     formatText("the edition's name differs from line %d's", csv.records[1].line));
            return result;
        }
        if (!placeRow(row, current, held, complain)) return result;
        if (!readStar(row, edition->constellations[current].stars[size_t(held - 1)], complain))
            return result;
    }
    if (current != kConstellationCount - 1 || held != starsOf(current)) {
        const int endLine = csv.records.back().line + 1;
        complain(endLine, 0,
                 formatText("the text ends with %s holding %d of its %d stars",
                            kConstellationTable[current].name, held, starsOf(current)));
        return result;
    }
    result.edition = std::move(edition);
    return result;
}
