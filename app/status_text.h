// The status line and the cursor coordinates drawn over the bottom of the sky: which
// constellation, view, field of view, shift and edition are shown, and the sky coordinates under
// the mouse. The texts are pure functions (printing puts the status text at the foot of the
// page); the drawing runs at the end of every paint, on a change of arrow mode and on every
// mouse move.
#pragma once

#include <string>

#include "catalog/text_format.h"
#include "geometry/view.h"
#include "render/colors.h"

constexpr Color kStatusTextColor = makeColor(255, 255, 128);

// A value rounded half away from zero to a whole number, held within the range of an int (a
// value that is not a number gives 0).
int roundedInteger(double value);

// "%s  %cView (%d, %d, %d, %.1f)  FOV (%.1f, %.1f)  %cShift (%.1f, %.1f)  %s". The shift is in
// radians; an arrow mode other than 0 (view) and 1 (shift) marks neither group.
std::string formatStatusText(const SkyView& view, const char* constellationName, float shiftLon,
                             float shiftLat, const char* editionName, int arrowMode);

// One cursor coordinate line from two values in degrees: the first truncated to whole minutes,
// the second rounded to the nearest minute and signed.
std::string formatCoordinateLine(float first, float second);

// Draws the status line of the application state at the bottom left, then the cursor
// coordinates when the cursor lies inside the client area.
void drawStatusLine();
// Draws the sky coordinates of device pixel (x, y) at the bottom right: ecliptic, and equatorial
// of the epoch above them while the equatorial grid is shown.
void drawCursorCoordinates(int x, int y);
