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

std::string fieldTextOnFocusLoss(EpochField field, const std::string& typed) {
    if (field == EpochFieldDate) {
        double jd;
        if (parseEpoch(firstCharacters(typed, kEpochFieldLength).c_str(), jd)) return formatEpoch(jd);
    } else {
        float radians;
        if (parseOffset(firstCharacters(typed, kOffsetFieldLength).c_str(), radians))
            return formatOffset(radians);
    }
    return typed;
}

bool readEpochFields(const EpochFields& fields, EpochSetting& setting) {
    EpochSetting read = setting;
    if (!parseEpoch(firstCharacters(fields.text[EpochFieldDate], kEpochFieldLength).c_str(), read.epoch))
        return false;
    if (!parseOffset(firstCharacters(fields.text[EpochFieldLongitude], kEpochFieldLength).c_str(),
                     read.offsetLon))
        return false;
    if (!parseOffset(firstCharacters(fields.text[EpochFieldLatitude], kEpochFieldLength).c_str(),
                     read.offsetLat))
        return false;
    setting = read;
    return true;
}
