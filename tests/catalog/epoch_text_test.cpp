#include <gtest/gtest.h>

#include <cmath>

#include "catalog/calendar.h"
#include "catalog/epoch_text.h"

namespace {

constexpr double kMinute = kDegToRad / 60.0;

}  // namespace

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
