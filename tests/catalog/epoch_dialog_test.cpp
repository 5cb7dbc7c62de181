// The epoch dialog's rules without its widgets: opening texts and preselection, presets, focus
// loss and reading the fields on OK.
#include <gtest/gtest.h>

#include <string>

#include "catalog/epoch_dialog.h"
#include "geometry/vectors.h"

namespace {

EpochFields fieldsOf(const char* date, const char* longitude, const char* latitude) {
    EpochFields fields;
    fields.text[EpochFieldDate] = date;
    fields.text[EpochFieldLongitude] = longitude;
    fields.text[EpochFieldLatitude] = latitude;
    return fields;
}

const EpochPreset& calvoridon() { return kEpochPresets[1]; }

EpochSetting settingOf(const EpochPreset& preset) {
    return EpochSetting{preset.epoch, preset.offsetLon, preset.offsetLat};
}

constexpr float kMinute = float(kDegToRad / 60.0);

}  // namespace

TEST(EpochDialogRules, OpensWithTheSettingsTextsAndTheFirstMatchingPreset) {
    EXPECT_STREQ(presetRowName(0), "Custom");
    EXPECT_STREQ(presetRowName(1), "Maridon");
    EXPECT_STREQ(presetRowName(2), "Calvoridon");
    EXPECT_EQ(presetRowName(3), nullptr);
    EXPECT_EQ(presetRowName(-1), nullptr);

    EpochSetting defaults;
    EpochFields opened = epochFieldTexts(defaults);
    EXPECT_EQ(opened.text[EpochFieldDate], "20 Jul 137 AD");
    EXPECT_EQ(opened.text[EpochFieldLongitude], "+0\xBA" "00'");
    EXPECT_EQ(opened.text[EpochFieldLatitude], "+0\xBA" "00'");
    EXPECT_EQ(presetRowFor(defaults), 1);

    EpochSetting second = settingOf(calvoridon());
    opened = epochFieldTexts(second);
    EXPECT_EQ(opened.text[EpochFieldDate], "1 Jan 130 BC");
    EXPECT_EQ(opened.text[EpochFieldLongitude], "-2\xBA" "40'");
    EXPECT_EQ(presetRowFor(second), 2);

    // Within half a day and a minute of arc still matches; beyond either it is "Custom".
    second.epoch += 0.49;
    second.offsetLat = 0.9f * kMinute;
    EXPECT_EQ(presetRowFor(second), 2);
    second.epoch += 0.02;
    EXPECT_EQ(presetRowFor(second), 0);
    second.epoch = calvoridon().epoch;
    second.offsetLon += 1.1f * kMinute;
    EXPECT_EQ(presetRowFor(second), 0);
}

TEST(EpochDialogRules, PresetsFillAllThreeFieldsAndCustomLeavesThem) {
    EpochFields fields = fieldsOf("typed", "1 2", "3 4");
    EXPECT_FALSE(applyPresetRow(0, fields));
    EXPECT_EQ(fields.text[EpochFieldDate], "typed");
    EXPECT_EQ(fields.text[EpochFieldLatitude], "3 4");
    EXPECT_FALSE(applyPresetRow(3, fields));
    EXPECT_EQ(fields.text[EpochFieldLongitude], "1 2");

    EXPECT_TRUE(applyPresetRow(2, fields));
    EXPECT_EQ(fields.text[EpochFieldDate], "1 Jan 130 BC");
    EXPECT_EQ(fields.text[EpochFieldLongitude], "-2\xBA" "40'");
    EXPECT_EQ(fields.text[EpochFieldLatitude], "+0\xBA" "00'");
    EXPECT_TRUE(applyPresetRow(1, fields));
    EXPECT_EQ(fields.text[EpochFieldDate], "20 Jul 137 AD");
    EXPECT_EQ(fields.text[EpochFieldLongitude], "+0\xBA" "00'");
}

TEST(EpochDialogRules, LeavingAFieldReformatsWhatParsesAndKeepsWhatDoesNot) {
    EXPECT_EQ(fieldTextOnFocusLoss(EpochFieldDate, "Jul 20, 137"), "20 Jul 137 AD");
    EXPECT_EQ(fieldTextOnFocusLoss(EpochFieldDate, "100 bc"), "1 Jan 100 BC");
    EXPECT_EQ(fieldTextOnFocusLoss(EpochFieldDate, "20/7/137"), "20/7/137");
    EXPECT_EQ(fieldTextOnFocusLoss(EpochFieldDate, ""), "");
    EXPECT_EQ(fieldTextOnFocusLoss(EpochFieldLongitude, "2.5"), "+2\xBA" "30'");
    EXPECT_EQ(fieldTextOnFocusLoss(EpochFieldLatitude, "-0 30"), "-0\xBA" "30'");
    EXPECT_EQ(fieldTextOnFocusLoss(EpochFieldLatitude, "1 60"), "1 60");
    // Offsets are read to their fifteenth character, the date to its thirty-first.
    const std::string cutOffset = "-2" + std::string(13, ' ') + "40";
    EXPECT_EQ(fieldTextOnFocusLoss(EpochFieldLongitude, cutOffset), "-2\xBA" "00'");
    const std::string cutDate = "137" + std::string(28, ' ') + "BC";
    EXPECT_EQ(fieldTextOnFocusLoss(EpochFieldDate, cutDate), "1 Jan 137 AD");
}

TEST(EpochDialogRules, OkReadsAllThreeOrChangesNothing) {
    EpochSetting setting{2451545.0, 0.1f, 0.2f};
    EXPECT_TRUE(readEpochFields(fieldsOf("20 Jul 137 AD", "-2\xBA" "40'", "1 59"), setting));
    EXPECT_EQ(setting.epoch, 1771298.0);
    EXPECT_NEAR(setting.offsetLon, -(2 + 40 / 60.0) * kDegToRad, 1e-7);
    EXPECT_NEAR(setting.offsetLat, (1 + 59 / 60.0) * kDegToRad, 1e-7);

    // Any one field invalid: the setting is as it was, whichever fields came before it.
    const EpochSetting kept = setting;
    for (const EpochFields& bad : {fieldsOf("0.5", "1", "1"), fieldsOf("137", "", "1"),
                                   fieldsOf("137", "1", "1 60")}) {
        EXPECT_FALSE(readEpochFields(bad, setting));
        EXPECT_EQ(setting.epoch, kept.epoch);
        EXPECT_EQ(setting.offsetLon, kept.offsetLon);
        EXPECT_EQ(setting.offsetLat, kept.offsetLat);
    }

    // What a preset writes reads back as that preset, so it is preselected next time.
    EpochFields written = epochFieldTexts(settingOf(calvoridon()));
    ASSERT_TRUE(readEpochFields(written, setting));
    EXPECT_EQ(setting.epoch, calvoridon().epoch);
    EXPECT_EQ(presetRowFor(setting), 2);

    // OK reads 31 characters of every field, the offsets too.
    const std::string longOffset = "-2" + std::string(14, ' ') + "40";
    ASSERT_TRUE(readEpochFields(fieldsOf("137", longOffset.c_str(), "0"), setting));
    EXPECT_NEAR(setting.offsetLon, -(2 + 40 / 60.0) * kDegToRad, 1e-7);
    const std::string longDate = "137" + std::string(29, ' ') + "BC";
    ASSERT_TRUE(readEpochFields(fieldsOf(longDate.c_str(), "0", "0"), setting));
    EXPECT_EQ(formatEpoch(setting.epoch), "1 Jan 137 AD");
}
