// The view and its stereographic projection: which part of the sky the window shows and where
// each sky direction lands on the screen. The shell owns the one SkyView of the main window and
// updates it after every change of centre, roll, zoom or size; the sky layers, the status line,
// the nearest-stars search and printing project and unproject through it. All directions are in
// the ecliptic frame of the current epoch (+y the ecliptic north pole, +x longitude 0).
#pragma once

#include <cstdint>

#include "geometry/vectors.h"

struct SkyView {
    double centerLon = 0;   // ecliptic longitude of the picture's centre, radians
    double centerLat = 0;   // ecliptic latitude of the centre, radians (not limited here)
    double roll = 0;        // turn of the picture about its centre; 0 puts ecliptic north up
    double focalScale = 1;  // zoom parameter d > 0; larger is closer
    Matrix4 skyToScreen = {};  // derived: sky direction to projection plane
    Matrix4 screenToSky = {};  // derived: projection plane back to a direction
    int32_t width = 0;         // drawing area in pixels
    int32_t height = 0;
    double pixelsPerDegree = 0;  // derived: screen size of one degree of sky
};

// Recomputes pixelsPerDegree and both matrices; run after any input field changes.
void viewUpdate(SkyView& view);
// Fills the two matrices from centre, roll and focal scale only, so a copy of a view that
// changes just the width and height keeps valid matrices.
void viewBuildMatrices(SkyView& view);

// Screen position of a projected point p (a direction passed through skyToScreen), without
// asking whether it lies in front of the viewer. For points behind the viewer this continues
// the stereographic picture past the horizon, away from the centre.
void viewScreenPosition(const SkyView& view, const Vector3& p, float& sx, float& sy);

// 1 when the projected point p lands inside the drawing area. Points at or beyond 90 degrees
// from the centre (p.z not above 0, NaN included) give 0 with sx and sy left unwritten; points
// in front of the viewer but outside the area give 0 with sx and sy written, for clipping.
int viewProject(const SkyView& view, const Vector3& p, float& sx, float& sy);

// The ecliptic direction under a pixel, longitude in [0, 2 pi); exact inverse of the projection
// for every pixel, including those beyond the visible hemisphere.
void viewUnproject(const SkyView& view, int px, int py, float& lon, float& lat);
// The same direction and, in addition, its right ascension and declination of the epoch `jd`.
void viewUnprojectBoth(const SkyView& view, int px, int py, double jd, float& lon, float& lat,
                       float& ra, float& dec);
