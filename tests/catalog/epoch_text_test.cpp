#include <gtest/gtest.h>

#include <cmath>

#include "catalog/calendar.h"
#include "catalog/epoch_text.h"
#include "geometry/vectors.h"

namespace {

double parsed(const char* text) {
    double jd = -1;
    EXPECT_TRUE(parseEpoch(text, jd)) << text;
    return jd;
}

bool rejected(const char* text) {
    double jd = 0;
    return !parseEpoch(text, jd);
}

float offset(const char* text) {
    float r = 99;
    EXPECT_TRUE(parseOffset(text, r)) << text;
    return r;
}

constexpr double kMinute = kDegToRad / 60.0;

}  // namespace

TEST(EpochText, WritesDayMonthYearAndEra) {
    EXPECT_EQ(formatEpoch(1771298.0), "20 Jul 137 AD");
    EXPECT_EQ(formatEpoch(1673941.0), "1 Jan 130 BC");
    EXPECT_EQ(formatEpoch(2451545.0), "1 Jan 2000 AD");
}

TEST(EpochText, ReadsYearsAndDecimalYears) {
    EXPECT_EQ(parsed("137"), dayNumber(1, 1, 137));
    EXPECT_EQ(parsed("-100"), dayNumber(1, 1, -100));
    EXPECT_EQ(parsed("100 BC"), dayNumber(1, 1, -100));
    EXPECT_EQ(parsed("-100 AD"), dayNumber(1, 1, -100));  // AD does not make a BC year positive
    EXPECT_EQ(parsed("137.5"), jdFromDecimalYear(137.5));
    EXPECT_EQ(parsed("2000 XY"), dayNumber(1, 1, 2000));  // an unknown era word counts as none
    EXPECT_TRUE(rejected("0"));
    EXPECT_TRUE(rejected("0.5"));
    EXPECT_TRUE(rejected(""));
    EXPECT_TRUE(rejected(" ,;/ "));
    EXPECT_TRUE(rejected("12 34"));
    EXPECT_TRUE(rejected("1e300"));
    EXPECT_TRUE(rejected("nan"));
}

TEST(EpochText, ReadsEveryDateOrder) {
    const double july20 = dayNumber(7, 20, 137);
    EXPECT_EQ(parsed("20 Jul 137 AD"), july20);
    EXPECT_EQ(parsed("Jul 20 137 AD"), july20);
    EXPECT_EQ(parsed("20:Jul:137"), july20);
    EXPECT_EQ(parsed("Jul 20, 137"), july20);
    EXPECT_EQ(parsed("20 july 137"), july20);
    EXPECT_EQ(parsed("20 JULY 137 ad extra words"), july20);
    EXPECT_EQ(parsed("Jul 137 AD"), dayNumber(7, 1, 137));
    EXPECT_EQ(parsed("Jul 137"), dayNumber(7, 1, 137));
    EXPECT_EQ(parsed("1 Jan 130 BC"), 1673941.0);
    EXPECT_EQ(parsed("30 Feb 2000"), dayNumber(3, 1, 2000));  // counts on into March
    EXPECT_TRUE(rejected("20/7/137"));  // 7 is no month word
    EXPECT_TRUE(rejected("Foo 2000"));
    EXPECT_TRUE(rejected("Ju 2000"));
    EXPECT_TRUE(rejected("32 Jan 2000"));
    EXPECT_TRUE(rejected("0 Jan 2000"));
}

TEST(EpochText, WrittenEpochsReadBack) {
    for (double jd = 1000000.5; jd < 3000000.0; jd += 12345.0) {
        double back = 0;
        ASSERT_TRUE(parseEpoch(formatEpoch(jd).c_str(), back)) << formatEpoch(jd);
        EXPECT_EQ(back, std::floor(jd + 0.5)) << formatEpoch(jd);
    }
}

TEST(OffsetText, WritesSignedDegreesAndMinutes) {
    EXPECT_EQ(formatOffset(0.0f), "+0\xBA" "00'");
    EXPECT_EQ(formatOffset(-0.04654211f), "-2\xBA" "40'");
    EXPECT_EQ(formatOffset(float(1.6 * kMinute)), "+0\xBA" "02'");  // to the nearest minute
    EXPECT_EQ(formatOffset(float(-1.6 * kMinute)), "-0\xBA" "02'");
    EXPECT_EQ(formatOffset(float(-1.4 * kMinute)), "-0\xBA" "01'");
    EXPECT_EQ(formatOffset(float(-0.4 * kMinute)), "+0\xBA" "00'");
    EXPECT_EQ(formatOffset(float(125 * kMinute)), "+2\xBA" "05'");
}

TEST(OffsetText, ReadsTheFormsUsersType) {
    EXPECT_NEAR(offset("-2\xBA" "40'"), -(2 + 40 / 60.0) * kDegToRad, 1e-7);
    EXPECT_NEAR(offset("-0 30"), -0.5 * kDegToRad, 1e-7);
    EXPECT_NEAR(offset("2.5"), 2.5 * kDegToRad, 1e-7);
    EXPECT_NEAR(offset("400"), 40 * kDegToRad, 1e-6);
    EXPECT_NEAR(offset("1 59"), (1 + 59 / 60.0) * kDegToRad, 1e-7);
    EXPECT_NEAR(offset("-1 30"), -1.5 * kDegToRad, 1e-7);
    EXPECT_NEAR(offset("2\xB0" "40"), (2 + 40 / 60.0) * kDegToRad, 1e-7);  // a typed degree sign
    EXPECT_NEAR(offset("0.0084"), kMinute, 1e-9);  // 0.504' rounds to a whole minute
    EXPECT_NEAR(offset("0.0082"), 0.0, 1e-9);
    float r = 0;
    EXPECT_FALSE(parseOffset("1 60", r));
    EXPECT_FALSE(parseOffset("1 -1", r));
    EXPECT_FALSE(parseOffset("", r));
    EXPECT_FALSE(parseOffset("inf", r));
    for (float written : {0.0f, -0.04654211f, 0.3f, -1.2f}) {
        float back = 0;
        ASSERT_TRUE(parseOffset(formatOffset(written).c_str(), back));
        EXPECT_EQ(formatOffset(back), formatOffset(written));
    }
}

TEST(EpochPresets, PreselectOnlyAMatchingSetting) {
    EXPECT_EQ(matchingEpochPreset(1771298.0, 0, 0), 1);
    EXPECT_EQ(matchingEpochPreset(1771298.4, 0, 0), 1);
    EXPECT_EQ(matchingEpochPreset(1673941.0, -0.04654211f, 0), 2);
    EXPECT_EQ(matchingEpochPreset(1673941.0, 0, 0), 0);
    EXPECT_EQ(matchingEpochPreset(1771298.0, float(1.5 * kMinute), 0), 0);
    EXPECT_EQ(matchingEpochPreset(2451545.0, 0, 0), 0);
}
