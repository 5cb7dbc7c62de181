#include "catalog/epoch_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "catalog/calendar.h"

constexpr double kMinute = kDegToRad / 60.0;

TEST(EpochText, WritesDaysAndReadsEveryFormOfTheTokenTableWithinAHundredThousandYears) {
    EXPECT_EQ(formatEpoch(2451545.4), "1 Jan 2000 AD");  // the dialog tests show the BC form

    const double july20 = dayNumber(7, 20, 137), bc100 = dayNumber(1, 1, -100);
    const std::pair<const char*, double> read[] = {
        {"137", dayNumber(1, 1, 137)},   {"137.5", jdFromDecimalYear(137.5)},  // year
        {"-100", bc100},                 {"100 BC", bc100},  {"-100 AD", bc100},  // year era
        {"-100 BC", bc100},              {"100.5 bce", jdFromDecimalYear(-100.5)},
        {"2000 XY", dayNumber(1, 1, 2000)},  // an unknown era word counts as none
        {"Jul 137", dayNumber(7, 1, 137)},   {"Jul 137 BC", dayNumber(7, 1, -137)},  // month year
        {"Jul 20, 137", july20},         {"20:Jul:137", july20},  // month day / day month year
        {"Jul 20 137 AD", july20},       {"20 JULY 137 ad extra words", july20},
        {"1 Jan 130 BC", 1673941.0},     {"30 Feb 2000", dayNumber(3, 1, 2000)},  // into March
        {"99999", dayNumber(1, 1, 99999)}, {"99999 BC", dayNumber(1, 1, -99999)},
        {"99999.99", jdFromDecimalYear(99999.99)},  // 28 December
    };
    for (const auto& [text, want] : read) {
        double jd = -1;
        EXPECT_TRUE(parseEpoch(text, jd)) << text;
        EXPECT_EQ(jd, want) << text;
    }
    // 99999.999 is 364.9 days into a year of 365: 1 January 100000.
    for (const char* text : {"0", "0.5", "-0.5 BC", "", " ,;/ ", "12 34", "1e300", "nan",
                             "20/7/137", "Foo 2000", "Ju 2000", "32 Jan 2000", "Jan 0 2000",
                             "20 Foo 137 AD", "100000", "-100000", "99999.999"}) {
        double jd = 0;
        EXPECT_FALSE(parseEpoch(text, jd)) << text;
    }
    for (double jd = 1000000.5; jd < 3000000.0; jd += 12345.0) {
        double back = 0;
        ASSERT_TRUE(parseEpoch(formatEpoch(jd).c_str(), back)) << formatEpoch(jd);
        EXPECT_EQ(back, std::floor(jd + 0.5)) << formatEpoch(jd);
    }
}

TEST(OffsetText, WritesWholeMinutesAndReadsTheFormsUsersType) {
    const std::pair<double, const char*> written[] = {
        {0, "+0\xBA" "00'"},   {-0.04654211 / kMinute, "-2\xBA" "40'"}, {1.6, "+0\xBA" "02'"},
        {-1.6, "-0\xBA" "02'"}, {-1.4, "-0\xBA" "01'"}, {-0.4, "+0\xBA" "00'"},
        {125, "+2\xBA" "05'"},
    };
    for (const auto& [minutes, text] : written)
        EXPECT_EQ(formatOffset(float(minutes * kMinute)), text);

    // 10^20 degrees is exactly 280 past a whole number of turns.
    const std::pair<const char*, double> read[] = {
        {"-2\xBA" "40'", -160}, {"-0 30", -30}, {"2.5", 150},   {"400", 2400},
        {"1 59", 119},          {"-1 30", -90}, {"2\xB0" "40", 160},  // a typed degree sign
        {"0.0084", 1},          {"0.0082", 0},  // 0.504' and 0.492' to whole minutes
        {"1e20", 280 * 60},     {"-1e20", -280 * 60},
    };
    for (const auto& [text, minutes] : read) {
        float r = 99;
        EXPECT_TRUE(parseOffset(text, r)) << text;
        EXPECT_NEAR(r, minutes * kMinute, 1e-6) << text;
    }
    for (const char* text : {"1 60", "1 -1", "", "inf", "nan"}) {
        float r = 0;
        EXPECT_FALSE(parseOffset(text, r)) << text;
    }
}

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
