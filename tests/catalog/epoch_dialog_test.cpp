#include "catalog/epoch_dialog.h"

#include <gtest/gtest.h>

#include "catalog/calendar.h"

namespace {

std::string joined(const EpochFields& f) {
    return f.text[EpochFieldDate] + " | " + f.text[EpochFieldLongitude] + " | " +
           f.text[EpochFieldLatitude];
}

constexpr float kMinute = float(kDegToRad / 60.0);
const std::string kMaridon = "20 Jul 137 AD | +0\xBA" "00' | +0\xBA" "00'";
const std::string kCalvoridon = "1 Jan 130 BC | -2\xBA" "40' | +0\xBA" "00'";

}  // namespace

TEST(EpochDialogRules, OpeningTextsPresetRowsPreselectionAndChoosingAPreset) {
    const char* const rows[] = {nullptr, "Custom", "Maridon", "Calvoridon", nullptr};
    for (int row = -1; row < 4; ++row) EXPECT_STREQ(presetRowName(row), rows[row + 1]) << row;
    EXPECT_EQ(joined(epochFieldTexts(EpochSetting{})), kMaridon);
    EXPECT_EQ(joined(epochFieldTexts({1673941.0, -0.04654211f, 0})), kCalvoridon);
    // Within half a day and a minute of arc of a preset it is preselected, else "Custom".
    const struct {
        double epoch;
        float lon, lat;
        int row;
    } cases[] = {{1673941.49, -0.04654211f, 0.9f * kMinute, 2}, {1673941.51, -0.04654211f, 0, 0},
                 {1673941.0, -0.04654211f + 1.1f * kMinute, 0, 0}, {1673941.0, 0, 0, 0},
                 {1771298.4, 0, -0.9f * kMinute, 1}, {2451545.0, 0, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(presetRowFor({c.epoch, c.lon, c.lat}), c.row) << c.epoch << " " << c.lon;

    EpochFields fields{{"typed", "1 2", "3 4"}};
    EXPECT_FALSE(applyPresetRow(0, fields) || applyPresetRow(3, fields));
    EXPECT_EQ(joined(fields), "typed | 1 2 | 3 4");
    EXPECT_TRUE(applyPresetRow(2, fields));
    EXPECT_EQ(joined(fields), kCalvoridon);
    // What the preset wrote reads back as that preset, so it is preselected next time.
    EpochSetting setting;
    ASSERT_TRUE(readEpochFields(fields, setting));
    EXPECT_EQ(presetRowFor(setting), 2);
    EXPECT_TRUE(applyPresetRow(1, fields));
    EXPECT_EQ(joined(fields), kMaridon);
}

TEST(EpochDialogRules, LeavingAFieldReformatsWhatParsesWithinItsLength) {
    const std::pair<std::string, std::string> date[] = {
        {"Jul 20, 137", "20 Jul 137 AD"}, {"20/7/137", "20/7/137"},
        {"137" + std::string(28, ' ') + "BC", "1 Jan 137 AD"}};  // 31 characters read
    for (const auto& [typed, shown] : date)
        EXPECT_EQ(fieldTextOnFocusLoss(EpochFieldDate, typed), shown);
    const std::pair<std::string, std::string> offset[] = {
        {"2.5", "+2\xBA" "30'"}, {"1 60", "1 60"},
        {"-2" + std::string(13, ' ') + "40", "-2\xBA" "00'"}};  // 15 characters read
    for (const auto& [typed, shown] : offset) {
        EXPECT_EQ(fieldTextOnFocusLoss(EpochFieldLongitude, typed), shown);
        EXPECT_EQ(fieldTextOnFocusLoss(EpochFieldLatitude, typed), shown);
    }
}

TEST(EpochDialogRules, OkReadsAllThreeFieldsOrChangesNothing) {
    EpochSetting setting{2451545.0, 0.1f, 0.2f};
    // On OK every field is read to its 31st character, the offsets too.
    const std::string lon = "-2" + std::string(14, ' ') + "40";
    ASSERT_TRUE(readEpochFields({{"20 Jul 137 AD", lon, "1 59"}}, setting));
    EXPECT_EQ(setting.epoch, 1771298.0);
    EXPECT_NEAR(setting.offsetLon, -160 * kMinute, 1e-7);
    EXPECT_NEAR(setting.offsetLat, 119 * kMinute, 1e-7);
    const EpochSetting kept = setting;
    for (const EpochFields& bad : {EpochFields{{"0.5", "1", "1"}}, EpochFields{{"137", "", "1"}},
                                   EpochFields{{"137", "1", "1 60"}}}) {
        EXPECT_FALSE(readEpochFields(bad, setting));
        EXPECT_TRUE(setting.epoch == kept.epoch && setting.offsetLon == kept.offsetLon &&
                    setting.offsetLat == kept.offsetLat);
    }
}
