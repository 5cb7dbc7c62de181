#include "catalog/epoch_text.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "catalog/calendar.h"
#include "geometry/vectors.h"

const EpochPreset kEpochPresets[kEpochPresetCount] = {
    {"Maridon", 1771298.0, 0.0f, 0.0f},
    {"Calvoridon", 1673941.0, -0.04654211f, 0.0f},
};

static const char* const kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

constexpr double kOneArcminute = 0.000290888209;
constexpr int kMaxEpochTokens = 4;
constexpr int kMaxOffsetTokens = 2;
constexpr double kLargestYear = 100000.0;

static double roundHalfAway(double v) { return v > 0 ? std::floor(v + 0.5) : -std::floor(0.5 - v); }

// Splits at runs of separators, keeping at most `maxTokens` tokens.
static int splitTokens(const char* text, const char* separators, std::string tokens[],
                       int maxTokens) {
    int count = 0;
    const char* p = text;
    while (*p && count < maxTokens) {
        while (*p && std::strchr(separators, *p)) ++p;
        if (!*p) break;
        const char* start = p;
        while (*p && !std::strchr(separators, *p)) ++p;
        tokens[count++].assign(start, p);
    }
    return count;
}

static bool isWord(const std::string& token) {
    unsigned char c = static_cast<unsigned char>(token[0]);
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

static int monthOfWord(const std::string& token) {
    if (token.size() < 3) return 0;
    char word[4] = {char(std::toupper(static_cast<unsigned char>(token[0]))),
                    char(std::tolower(static_cast<unsigned char>(token[1]))),
                    char(std::tolower(static_cast<unsigned char>(token[2]))), 0};
    for (int m = 0; m < 12; ++m)
        if (std::strcmp(word, kMonthNames[m]) == 0) return m + 1;
    return 0;
}

static int eraOfWord(const std::string& token) {
    switch (token[0]) {
    case 'A': case 'a': case 'C': case 'c': return 1;
    case 'B': case 'b': return -1;
    default: return 0;
    }
}

// Month given as a token: only a month word names a month.
static int monthOfToken(const std::string& token) { return isWord(token) ? monthOfWord(token) : 0; }

static int integerOf(const std::string& token) {
    long v = std::strtol(token.c_str(), nullptr, 10);
    if (v > 1000000000L) return 1000000000;
    if (v < -1000000000L) return -1000000000;
    return int(v);
}

static double decimalOf(const std::string& token) { return std::strtod(token.c_str(), nullptr); }

std::string formatEpoch(double jd) {
    CalendarDate date = calendarDate(jd);
    const char* month = date.month >= 1 && date.month <= 12 ? kMonthNames[date.month - 1] : "???";
    char text[64];
    std::snprintf(text, sizeof text, "%d %s %d %s", date.day, month, std::abs(date.year),
                  date.year < 0 ? "BC" : "AD");
    return text;
}

bool parseEpoch(const char* text, double& jd) {
    std::string t[kMaxEpochTokens];
    int n = splitTokens(text, " :;,/", t, kMaxEpochTokens);
    int day = 1, month = 1, era = 0;
    double year = 0;
    switch (n) {
    case 1:
        year = decimalOf(t[0]);
        break;
    case 2:
        if (isWord(t[0])) {
            month = monthOfWord(t[0]);
            year = integerOf(t[1]);
        } else if (isWord(t[1])) {
            year = decimalOf(t[0]);
            era = eraOfWord(t[1]);
        } else {
            return false;
        }
        break;
    case 3:
        if (isWord(t[0]) && isWord(t[2])) {
            month = monthOfWord(t[0]);
            year = integerOf(t[1]);
            era = eraOfWord(t[2]);
        } else if (isWord(t[0])) {
            month = monthOfWord(t[0]);
            day = integerOf(t[1]);
            year = integerOf(t[2]);
        } else {
            day = integerOf(t[0]);
            month = monthOfToken(t[1]);
            year = integerOf(t[2]);
        }
        break;
    case 4:
        if (isWord(t[0])) {
            month = monthOfWord(t[0]);
            day = integerOf(t[1]);
        } else {
            day = integerOf(t[0]);
            month = monthOfToken(t[1]);
        }
        year = integerOf(t[2]);
        era = eraOfWord(t[3]);
        break;
    default:
        return false;
    }
    // Beyond a hundred thousand years either side no calendar arithmetic or precession holds.
    if (!(std::fabs(year) < kLargestYear)) return false;
    if (day < 1 || day > 31 || month < 1 || month > 12 || std::trunc(year) == 0) return false;
    if (era == -1 && year > 0) year = -year;
    double result = year != std::trunc(year) ? jdFromDecimalYear(year)
                                             : dayNumber(month, day, int(year));
    // A decimal year late in year 99999 falls in year 100000 (its days are Julian years'),
    // which the dialog would then show as a date it refuses.
    if (std::abs(calendarDate(result).year) >= kLargestYear) return false;
    jd = result;
    return true;
}

std::string formatOffset(float radians) {
    double m = roundHalfAway(double(radians) * kRadToDeg * 60.0);
    if (!(std::fabs(m) < 1e9)) m = 0;  // no angle worth showing; keeps the conversion defined
    long minutes = long(m);
    long whole = std::labs(minutes);
    char text[48];
    std::snprintf(text, sizeof text, "%c%ld%c%2.2ld'", minutes < 0 ? '-' : '+', whole / 60,
                  kDegreeMark, whole % 60);
    return text;
}

bool parseOffset(const char* text, float& radians) {
    // The degree mark of the dialog's own texts, and the degree sign a user may type.
    const char separators[] = {' ', ':', ';', ',', '/', kDegreeMark, '\xB0', 0};
    std::string t[kMaxOffsetTokens];
    int n = splitTokens(text, separators, t, kMaxOffsetTokens);
    if (n == 0) return false;
    bool negative = t[0][0] == '-';
    double value;
    if (n == 2) {
        int minutes = integerOf(t[1]);
        if (minutes < 0 || minutes > 59) return false;
        value = std::abs(integerOf(t[0])) + minutes / 60.0;
    } else {
        value = std::fabs(decimalOf(t[0]));
    }
    if (!std::isfinite(value)) return false;
    double whole = std::trunc(value);
    value = whole + roundHalfAway((value - whole) * 60.0) / 60.0;
    value = std::fmod(value, 360.0);  // exact for any size, unlike a floor of the quotient
    double r = value * kDegToRad;
    radians = float(negative ? -r : r);
    return true;
}

int matchingEpochPreset(double epoch, float offsetLon, float offsetLat) {
    for (int i = 0; i < kEpochPresetCount; ++i) {
        const EpochPreset& p = kEpochPresets[i];
        if (std::fabs(p.epoch - epoch) < 0.5 && std::fabs(p.offsetLon - offsetLon) < kOneArcminute &&
            std::fabs(p.offsetLat - offsetLat) < kOneArcminute)
            return i + 1;
    }
    return 0;
}
