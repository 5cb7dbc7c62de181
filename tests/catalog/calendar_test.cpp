#include <gtest/gtest.h>

#include "catalog/calendar.h"

namespace {

void expectDate(double jd, int month, int day, int year) {
    CalendarDate date = calendarDate(jd);
    EXPECT_EQ(date.month, month) << "JD " << jd;
    EXPECT_EQ(date.day, day) << "JD " << jd;
    EXPECT_EQ(date.year, year) << "JD " << jd;
}

}  // namespace

TEST(Calendar, KnownDaysOnBothSidesOfTheReform) {
    EXPECT_EQ(dayNumber(1, 1, 2000), 2451545.0);
    expectDate(2451545.0, 1, 1, 2000);
    // The last Julian and the first Gregorian day follow each other.
    EXPECT_EQ(dayNumber(10, 4, 1582), 2299160.0);
    EXPECT_EQ(dayNumber(10, 15, 1582), 2299161.0);
    expectDate(2299160.0, 10, 4, 1582);
    expectDate(2299161.0, 10, 15, 1582);
    // The ten days dropped at the reform count as Gregorian dates.
    EXPECT_EQ(dayNumber(10, 5, 1582), 2299151.0);
    EXPECT_EQ(dayNumber(10, 14, 1582), 2299160.0);
    // The start of the count, noon of 1 January 4713 BC (Julian).
    EXPECT_EQ(dayNumber(1, 1, -4713), 0.0);
    expectDate(0.0, 1, 1, -4713);
    // 20 July 137, and the leap day of a Julian century year that the Gregorian calendar drops.
    EXPECT_EQ(dayNumber(7, 20, 137), 1771298.0);
    EXPECT_EQ(dayNumber(3, 1, 1500) - dayNumber(2, 28, 1500), 2.0);
    EXPECT_EQ(dayNumber(3, 1, 1900) - dayNumber(2, 28, 1900), 1.0);
    EXPECT_EQ(dayNumber(3, 1, 2000) - dayNumber(2, 28, 2000), 2.0);
}

TEST(Calendar, HistoricalYearsHaveNoYearZero) {
    EXPECT_EQ(dayNumber(1, 1, -1), 1721058.0);
    EXPECT_EQ(dayNumber(1, 1, 1), 1721424.0);
    EXPECT_EQ(dayNumber(1, 1, 1) - dayNumber(1, 1, -1), 366.0);  // 1 BC is a Julian leap year
    expectDate(1721058.0, 1, 1, -1);
    expectDate(1721423.0, 12, 31, -1);  // the day before AD 1 is the last of 1 BC
    expectDate(1721424.0, 1, 1, 1);
    EXPECT_EQ(dayNumber(1, 1, -2) + 365.0, dayNumber(1, 1, -1));  // 2 BC is a common year
    EXPECT_EQ(dayNumber(3, 1, -5) - dayNumber(2, 28, -5), 2.0);    // 5 BC is a leap year
    EXPECT_EQ(dayNumber(3, 1, -4) - dayNumber(2, 28, -4), 1.0);
    // The day is not checked against the month: 31 February counts on into March.
    EXPECT_EQ(dayNumber(2, 31, 2001), dayNumber(3, 3, 2001));
}

TEST(Calendar, CalendarDaysBeginAtMidnight) {
    // JD 2451545.0 is noon of 1 January 2000; the day runs from .5 before to .5 after.
    expectDate(2451544.5, 1, 1, 2000);
    expectDate(2451545.49, 1, 1, 2000);
    expectDate(2451545.5, 1, 2, 2000);
    expectDate(2451544.49, 12, 31, 1999);
    expectDate(1721423.5, 1, 1, 1);
    expectDate(1721423.49, 12, 31, -1);
}

TEST(Calendar, DecimalYearsCountFromNoonOfTheFirstOfJanuary) {
    EXPECT_EQ(decimalYear(2451545.0), 2000.0);
    EXPECT_EQ(decimalYear(1721058.0), -1.0);
    EXPECT_NEAR(decimalYear(2451545.0 + 365.25 / 2), 2000.5, 1e-12);
    EXPECT_EQ(jdFromDecimalYear(2000.0), 2451545.0);
    EXPECT_EQ(jdFromDecimalYear(2000.5), 2451545.0 + 182.625);
    // A BC fraction counts forward from noon of 1 January of that BC year.
    double start100BC = dayNumber(1, 1, -100);
    EXPECT_EQ(jdFromDecimalYear(-100.0), start100BC);
    EXPECT_NEAR(jdFromDecimalYear(-100.25), start100BC + 365.25 / 4, 1e-6);
    expectDate(jdFromDecimalYear(-100.25), 4, 2, -100);  // 91 days on in a common year
    EXPECT_NEAR(jdFromDecimalYear(137.5), dayNumber(1, 1, 137) + 182.625, 1e-6);
}

TEST(Calendar, DayNumbersRoundTripOverTheWholeCount) {
    for (int jd = 0; jd <= 3000000; jd += 37) {
        CalendarDate date = calendarDate(jd);
        ASSERT_EQ(dayNumber(date.month, date.day, date.year), double(jd)) << "JD " << jd;
        ASSERT_NE(date.year, 0);
        ASSERT_GE(date.month, 1);
        ASSERT_LE(date.month, 12);
        ASSERT_GE(date.day, 1);
        ASSERT_LE(date.day, 31);
    }
}

TEST(Calendar, DaysBeforeTheStartOfTheCountFollowTheJulianCalendar) {
    expectDate(-1.0, 12, 31, -4714);
    expectDate(-365.0, 1, 1, -4714);
    EXPECT_EQ(dayNumber(1, 1, -5000), -104826.0);  // 287 Julian years, 71 of them leap
    for (int jd = -1000000; jd < 0; jd += 37) {
        CalendarDate date = calendarDate(jd);
        ASSERT_EQ(dayNumber(date.month, date.day, date.year), double(jd)) << "JD " << jd;
        ASSERT_LT(date.year, 0);
    }
    // Consecutive days never skip or repeat a date across the start of the count.
    EXPECT_EQ(dayNumber(12, 31, -4714) + 1.0, dayNumber(1, 1, -4713));
}
