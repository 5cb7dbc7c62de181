#include "catalog/calendar.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr int64_t kGregorianStart = 2299161;  // Julian Day Number of 15 October 1582
constexpr int64_t kJulianCycleDays = 1461;    // four Julian years
constexpr double kDaysPerJulianYear = 365.25;
// Julian Dates are clamped to this many days either side of the start of the count before
// they become integers (some 1.4 billion years), so that no product overflows and every year
// fits an int.
constexpr double kDayLimit = 5.0e11;
constexpr double kYearLimit = 1.0e9;

}  // namespace

// The intermediate products are formed in 64 bits: in the range of dates that occur they are
// the same as the 32-bit arithmetic of the algorithm, and far outside it they cannot overflow.
double dayNumber(int month, int day, int year) {
    int64_t y = year < 0 ? int64_t(year) + 1 : int64_t(year);  // 1 BC is year 0 from here on
    int64_t Y, M;
    if (month > 2) {
        Y = y;
        M = int64_t(month) + 1;
    } else {
        Y = y - 1;
        M = int64_t(month) + 13;
    }
    int64_t F = 365 * Y + Y / 4;  // divisions truncate toward zero
    if (Y < 0 && Y % 4 != 0) F -= 1;  // F = floor(365.25 Y)
    int64_t J = F + (306 * M) / 10 + day + 1720995;
    if (J >= kGregorianStart) J += 2 - Y / 100 + Y / 400;
    return double(J);
}

CalendarDate calendarDate(double jd) {
    double noonDay = jd + 0.5;
    if (!(noonDay > -kDayLimit)) noonDay = -kDayLimit;  // also catches NaN
    if (noonDay > kDayLimit) noonDay = kDayLimit;
    // Calendar days begin at midnight, half a day before the Julian Day Number of their noon.
    // For days on or after the start of the count the floor is the truncation of the
    // algorithm; before it, whole four-year cycles of the Julian calendar carry the day
    // forward into the range where the algorithm holds, and are taken off the year again.
    int64_t A = int64_t(std::floor(noonDay));
    int64_t cycles = 0;
    if (A < 0) {
        cycles = (-A + kJulianCycleDays - 1) / kJulianCycleDays;
        A += cycles * kJulianCycleDays;
    }
    if (A >= kGregorianStart) {
        int64_t alpha = (4 * A - 7468865) / 146097;
        A = A + 1 + alpha - alpha / 4;
    }
    int64_t B = A + 1524;
    int64_t G = (40 * B - 4884) / 14610;
    int64_t D = 365 * G + G / 4;
    int64_t E = (100 * (B - D)) / 3061;
    CalendarDate date;
    date.day = int(B - D - (306 * E) / 10);
    int64_t month = E - 1;
    if (month > 12) month -= 12;
    date.month = int(month);
    int64_t year = G - 4715;
    if (month > 2) year -= 1;
    if (year <= 0) year -= 1;  // no year 0: astronomical year 0 is 1 BC
    date.year = int(year - 4 * cycles);
    return date;
}

double decimalYear(double jd) {
    CalendarDate date = calendarDate(jd);
    double start = dayNumber(1, 1, date.year);
    return date.year + (jd - start) / kDaysPerJulianYear;
}

double historicalYear(double jd) {
    // The fraction stays below 1 so that the last hours of a leap year keep their year.
    constexpr double kLatestYearFraction = 1 - 1e-9;
    const CalendarDate date = calendarDate(jd);
    const double fraction = std::fmin(
        std::fmax((jd - dayNumber(1, 1, date.year)) / kDaysPerJulianYear, 0.0), kLatestYearFraction);
    return date.year < 0 ? date.year - fraction : date.year + fraction;
}

double jdFromDecimalYear(double year) {
    double whole = std::trunc(year);
    double fraction = std::fabs(year - whole);
    if (!(whole > -kYearLimit)) whole = -kYearLimit;  // far beyond any epoch; keeps the
    if (whole > kYearLimit) whole = kYearLimit;        // year a valid int (also for NaN)
    return dayNumber(1, 1, int(whole)) + kDaysPerJulianYear * fraction;
}
