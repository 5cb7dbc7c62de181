#include <gtest/gtest.h>

#include <cmath>

#include "catalog/calendar.h"

TEST(Calendar, KnownDaysBothWaysAcrossTheReformTheEraAndMidnight) {
    const struct {
        double jd;
        int month, day, year;
    } days[] = {
        {2451545, 1, 1, 2000},      {2299160, 10, 4, 1582},    {2299161, 10, 15, 1582},
        {1721424, 1, 1, 1},         {1721423, 12, 31, -1},     {1673941, 1, 1, -130},
        {0, 1, 1, -4713},           {-1, 12, 31, -4714},       {-104826, 1, 1, -5000},
        // Calendar days begin at midnight, half a day before the Julian Date of their noon.
        {2451544.5, 1, 1, 2000},    {2451545.49, 1, 1, 2000},  {2451544.49, 12, 31, 1999},
        {1721423.49, 12, 31, -1},
    };
    for (const auto& d : days) {
        CalendarDate date = calendarDate(d.jd);
        EXPECT_TRUE(date.month == d.month && date.day == d.day && date.year == d.year)
            << "JD " << d.jd << ": " << date.day << "." << date.month << "." << date.year;
        EXPECT_TRUE(d.jd != std::floor(d.jd) || dayNumber(d.month, d.day, d.year) == d.jd) << d.jd;
    }
    // The ten days dropped at the reform are read as Gregorian; a day past the month's end
    // counts on into the next month.
    EXPECT_EQ(dayNumber(10, 5, 1582), 2299151.0);
    EXPECT_EQ(dayNumber(2, 31, 2001), dayNumber(3, 3, 2001));
    // Leap days: Julian century years and 1 BC, 5 BC; not Gregorian 1900, nor 4 BC or 2 BC.
    const int leap[][2] = {{1500, 1}, {1900, 0}, {2000, 1}, {-1, 1}, {-5, 1}, {-4, 0}, {-2, 0}};
    for (const auto& y : leap)
        EXPECT_EQ(dayNumber(3, 1, y[0]) - dayNumber(2, 28, y[0]), 1.0 + y[1]) << y[0];
}

TEST(Calendar, EveryDayRoundTripsFarDatesStayValidAndDecimalYearsCountFromNoon) {
    for (int jd = -1000000; jd <= 3000000; jd += 37) {
        CalendarDate date = calendarDate(jd);
        ASSERT_EQ(dayNumber(date.month, date.day, date.year), double(jd)) << "JD " << jd;
    }
    for (double jd : {-1e20, 1e20, std::nan("")}) {
        CalendarDate date = calendarDate(jd);
        EXPECT_TRUE(date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31);
        EXPECT_TRUE(std::isnan(jd) || (date.year > 0) == (jd > 0)) << jd;
    }
    EXPECT_TRUE(jdFromDecimalYear(-1e15) < -1e11 && jdFromDecimalYear(1e15) > 1e11);
    EXPECT_EQ(decimalYear(1721058.0), -1.0);
    EXPECT_DOUBLE_EQ(decimalYear(2451545.0 + 182.625), 2000.5);
    EXPECT_EQ(jdFromDecimalYear(2000.5), 2451545.0 + 182.625);
    // A BC fraction counts forward from 1 January of that BC year, a quarter of 365.25 days.
    EXPECT_DOUBLE_EQ(jdFromDecimalYear(-100.25), dayNumber(1, 1, -100) + 91.3125);
}
