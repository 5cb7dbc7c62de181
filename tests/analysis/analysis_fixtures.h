// Skies with known answers: reference stars placed at chosen ecliptic positions of an epoch, and
// editions recorded from the sky of an epoch as the samples were (carried, shifted, rounded).
#pragma once

#include <memory>

#include "catalog/catalog.h"

std::unique_ptr<ReferenceCatalog> emptyReferenceCatalog();
// A motionless reference star that lies at (lonDeg, latDeg) in the ecliptic of `jd`.
void placeReferenceStar(ReferenceCatalog& catalog, int entry, int number, double lonDeg,
                        double latDeg, double jd);
void recordPosition(AncientStar& star, double lonDeg, double latDeg, int stepArcmin = 1);
// Rewrites every identified star of `edition` as its reference star at `jd` less the offsets
// (so the offsets line it up again), rounded to whole steps.
void recordSkyOf(AncientCatalog& edition, const ReferenceCatalog& reference, double jd,
                 double lonOffsetArcmin, double latOffsetArcmin, int stepArcmin);
std::unique_ptr<ReferenceCatalog> shippedReference();
EditionPtr shippedEdition(const char* name);
