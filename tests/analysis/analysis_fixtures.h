// Skies with known answers: editions recorded from the sky of an epoch as the samples were
// (carried, shifted, rounded).
#pragma once

#include <memory>

#include "catalog/catalog.h"

// Rewrites every identified star of `edition` as its reference star at `jd` less the offsets
// (so the offsets line it up again), rounded to whole minutes.
void recordSkyOf(AncientCatalog& edition, const ReferenceCatalog& reference, double jd,
                 double lonOffsetArcmin, double latOffsetArcmin);
std::unique_ptr<ReferenceCatalog> shippedReference();
EditionPtr shippedEdition(const char* name);
