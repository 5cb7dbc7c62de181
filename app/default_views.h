// The built-in default view of every constellation and the saved-view record (ConView) the
// shell keeps per constellation. The shell starts every constellation from this table and
// restores it on "Default View"; the snapshot tool renders with it unless told otherwise.
#pragma once

#include "catalog/catalog.h"
#include "geometry/view.h"

// A constellation's saved view: angles in radians, the focal scale as a SkyView's.
struct ConView {
    float shiftLon, shiftLat;  // added to the ancient positions
    float viewLon, viewLat;    // view centre
    float roll;
    float focalScale;
};

// One row of the built-in table, angles in degrees.
struct DefaultViewRow {
    float viewLon, viewLat, roll, focalScale, shiftLon, shiftLat;
};

// In constellation-table order.
extern const DefaultViewRow kDefaultViewTable[kConstellationCount];

// The default ConView of a constellation (index 0..47; any other index gives constellation 0's).
ConView defaultConView(int constellation);

// Puts the saved centre, roll and focal scale into the view (float widened to double); the
// caller runs viewUpdate afterwards.
void applyConView(const ConView& saved, SkyView& view);
// Stores the view's centre, roll and focal scale (narrowed to float); the shift is left as is.
void storeConView(const SkyView& view, ConView& saved);
