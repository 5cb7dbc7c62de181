#include "catalog/epoch_dialog.h"

static const char kCustomRowName[] = "Custom";

const char* presetRowName(int row) {
    if (row == 0) return kCustomRowName;
    if (row >= 1 && row <= kEpochPresetCount) return kEpochPresets[row - 1].name;
    return nullptr;
}

static EpochFields fieldTexts(double epoch, float offsetLon, float offsetLat) {
    EpochFields fields;
    fields.text[EpochFieldDate] = formatEpoch(epoch);
    fields.text[EpochFieldLongitude] = formatOffset(offsetLon);
    fields.text[EpochFieldLatitude] = formatOffset(offsetLat);
    return fields;
}

EpochFields epochFieldTexts(const EpochSetting& setting) {
    return fieldTexts(setting.epoch, setting.offsetLon, setting.offsetLat);
}

int presetRowFor(const EpochSetting& setting) {
    return matchingEpochPreset(setting.epoch, setting.offsetLon, setting.offsetLat);
}

bool applyPresetRow(int row, EpochFields& fields) {
    if (row < 1 || row > kEpochPresetCount) return false;
    const EpochPreset& preset = kEpochPresets[row - 1];
    fields = fieldTexts(preset.epoch, preset.offsetLon, preset.offsetLat);
    return true;
}

static std::string firstCharacters(const std::string& text, int count) {
    return text.substr(0, size_t(count));
}

static bool parseEpochField(const std::string& text, int length, double& jd) {
    return parseEpoch(firstCharacters(text, length).c_str(), jd);
}

static bool parseOffsetField(const std::string& text, int length, float& radians) {
    return parseOffset(firstCharacters(text, length).c_str(), radians);
}

std::string fieldTextOnFocusLoss(EpochField field, const std::string& typed) {
    if (field == EpochFieldDate) {
        double jd;
        if (parseEpochField(typed, kEpochFieldLength, jd)) return formatEpoch(jd);
    } else {
        float radians;
        if (parseOffsetField(typed, kOffsetFieldLength, radians)) return formatOffset(radians);
    }
    return typed;
}

bool readEpochFields(const EpochFields& fields, EpochSetting& setting) {
    EpochSetting read = setting;
    if (!parseEpochField(fields.text[EpochFieldDate], kEpochFieldLength, read.epoch)) return false;
    if (!parseOffsetField(fields.text[EpochFieldLongitude], kEpochFieldLength, read.offsetLon))
        return false;
    if (!parseOffsetField(fields.text[EpochFieldLatitude], kEpochFieldLength, read.offsetLat))
        return false;
    setting = read;
    return true;
}
