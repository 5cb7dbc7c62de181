// The epoch and offset texts of the epoch dialog: writing a Julian Date as "20 Jul 137 AD" and an
// offset as "-2º40'", and reading back every form a user may type (a year, a decimal year, a
// month and year, day month year with or without an era). Texts are single-byte Western code
// page; the degree mark is the byte 0xBA. Called by the epoch dialog.
#pragma once

#include <string>

#include "geometry/vectors.h"  // kDegreeMark

// A built-in epoch preset of the dialog.
struct EpochPreset {
    const char* name;
    double epoch;  // Julian Date
    float offsetLon, offsetLat;  // radians
};
constexpr int kEpochPresetCount = 2;
extern const EpochPreset kEpochPresets[kEpochPresetCount];  // "Maridon", "Calvoridon"

std::string formatEpoch(double jd);
// The Julian Date of a typed epoch; false when the text is not a valid epoch.
bool parseEpoch(const char* text, double& jd);

std::string formatOffset(float radians);
// A typed offset ("-2º40'", "-0 30", "2.5") in radians; false when invalid.
bool parseOffset(const char* text, float& radians);

// The list row to preselect for a setting: 1 + the index of the first preset within half a day
// and a minute of arc of it, or 0 ("Custom") when none is.
int matchingEpochPreset(double epoch, float offsetLon, float offsetLat);
