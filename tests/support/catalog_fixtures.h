// A complete edition and reference catalogue whose every field varies from star to star, so that
// a reader or writer that swaps, drops or truncates a field is caught.
#pragma once

#include <vector>

#include "catalog/catalog.h"
#include "catalog/reference_file.h"

// 1028 stars; star k (0-based over the whole edition) has catalogNumber k + 1.
EditionPtr sampleEdition(const char* name);

// 9096 valid records numbered 1..9110 with the 14 multiples of 650 left out.
std::vector<ReferenceRecord> sampleReferenceRecords();
