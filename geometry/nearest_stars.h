// The nearest-stars search behind a left click: the ancient star of the current constellation
// nearest to the click and up to five reference stars around it, brightest and nearest first,
// found from the screen positions the last repaint stored, and the list text the nearest-stars
// window shows. No platform service is used; the shell keeps one NearestStarsMode and the
// window's state and calls these on clicks, edition switches and the q toggle.
#pragma once

#include <string>

#include "catalog/catalog.h"
#include "geometry/vectors.h"

constexpr int kNearestReferenceCount = 5;
constexpr char kNoStarsText[] = "(no stars)";

struct NearestStarsMode {
    int equatorial = 0;  // 0: ecliptic longitude/latitude, else right ascension/declination
    Matrix3 eclipticToEquatorial = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    float offsetLon = 0, offsetLat = 0;  // the epoch offsets, radians
};

// Stores the offsets and the mode; in equatorial mode builds the turn to the equator of `epoch`.
void nearestStarsSetMode(NearestStarsMode& mode, double epoch, float offsetLon, float offsetLat,
                         int equatorial);
// "Nearest Stars [lon/lat]" or "Nearest Stars [ra/dec]".
const char* nearestStarsTitle(const NearestStarsMode& mode);

// Index of the visible ancient star nearest to (x, y) within `radius` pixels (the radius
// included), or -1; of two at the same distance the earlier one.
int findNearestAncientStar(const Constellation& constellation, int x, int y, double radius);
// Up to five visible reference stars strictly within `radius`, ordered by magnitude times
// distance (lower first, ties in catalogue order); returns how many were written to `found`.
int findNearestReferenceStars(const ReferenceStar* stars, int count, int x, int y, double radius,
                              int found[kNearestReferenceCount]);

// "ddd°mm' sdd°mm'" of two angles in radians, each rounded to whole arc minutes.
std::string positionText(double first, double second);

// The list for a click: the nearest ancient star with its description, identification,
// designation, position and magnitude, a rule, then the reference stars. False when nothing was
// found. Texts of any length are kept whole.
bool buildNearestStarsList(const NearestStarsMode& mode, const Constellation& constellation,
                           const ReferenceStar* stars, int starCount, int x, int y,
                           double radius, std::string& text);
