// The epoch dialog's rules apart from its widgets: the texts its three fields open with, the
// preset row it preselects, what choosing a preset writes into the fields, how a field is
// rewritten when it loses the focus, and reading the fields back on OK. The Qt dialog in
// platform/ calls these and only shows what they give; the shell's epoch command opens it.
#pragma once

#include <string>

#include "catalog/catalog.h"
#include "catalog/epoch_text.h"

enum EpochField {
    EpochFieldDate = 0,
    EpochFieldLongitude = 1,
    EpochFieldLatitude = 2,
};
constexpr int kEpochFieldCount = 3;

// Characters read from a field: from any of them on OK, and from the date field when it loses
// the focus. The dialog's fields hold no more than this, so nothing shown is left unread.
constexpr int kEpochFieldLength = 31;
// Characters read from an offset field when it loses the focus; the offset fields' own limit.
constexpr int kOffsetFieldLength = 15;

constexpr char kInvalidEpochValuesMessage[] = "One or more of the values is invalid.";

// The preset rows: "Custom" (row 0), then the built-in presets in order.
constexpr int kPresetRowCount = 1 + kEpochPresetCount;
const char* presetRowName(int row);  // nullptr outside 0..kPresetRowCount - 1

struct EpochFields {
    std::string text[kEpochFieldCount];  // single-byte texts, indexed by EpochField
};

// The field texts of a setting: the date as formatEpoch writes it, the offsets as formatOffset.
EpochFields epochFieldTexts(const EpochSetting& setting);
// The row shown when the dialog opens: the first preset matching the setting, else "Custom".
int presetRowFor(const EpochSetting& setting);
// Choosing a row: a preset writes its three texts into `fields` and gives true; "Custom" or
// anything else leaves them and gives false.
bool applyPresetRow(int row, EpochFields& fields);
// The text a field shows once it has lost the focus: the typed text reformatted when its first
// characters (as many as that field reads) parse, else the typed text unchanged.
std::string fieldTextOnFocusLoss(EpochField field, const std::string& typed);
// OK: parses the date, the longitude and the latitude, in that order, from the first
// kEpochFieldLength characters of each. True with the new values in `setting`; false, with
// `setting` untouched, when any of them is invalid.
bool readEpochFields(const EpochFields& fields, EpochSetting& setting);
