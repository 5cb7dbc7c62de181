// The nearest-stars search behind a left click: the ancient star of the current constellation
// nearest to the click and up to five reference stars around it, brightest and nearest first,
// found from the screen positions the last repaint stored. No text and no platform service: the
// shell's nearest-stars window (app/nearest_window.h) calls these and words what they find.
#pragma once

#include "catalog/catalog.h"

constexpr int kNearestReferenceCount = 5;

// Index of the visible ancient star nearest to (x, y) within `radius` pixels (the radius
// included), or -1; of two at the same distance the earlier one.
int findNearestAncientStar(const Constellation& constellation, int x, int y, double radius);
// Up to five visible reference stars strictly within `radius`, ordered by magnitude times
// distance (lower first, ties in catalogue order); returns how many were written to `found`.
int findNearestReferenceStars(const ReferenceStar* stars, int count, int x, int y, double radius,
                              int found[kNearestReferenceCount]);
