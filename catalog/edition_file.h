// Ancient edition files: fixed-column text with the header "Tessaran Catalog:" and 1028 star
// lines in constellation-table order. Start-up reads the three editions, the replace command
// reads a user's file, and the data tools and tests write editions.
#pragma once

#include <cstddef>
#include <string>

#include "catalog/catalog.h"

constexpr char kEditionHeader[] = "Tessaran Catalog:";
// The longest texts that read back: a line is read in pieces of 511 characters, the name starts
// in column 19, the designation has columns 35 to 46 and the description starts in column 48.
constexpr size_t kLongestEditionName = 492;
constexpr size_t kDesignationLength = 12;
constexpr size_t kLongestDescription = 463;

// Reads a whole edition; nullptr when the file is missing, has the wrong header, holds fewer than
// 1028 star lines or memory runs out. Nothing partial is ever returned.
EditionPtr readEdition(const char* path);

// Loads `path` and, only when that succeeds, puts it in place of the current slot's edition.
// On failure the set is left exactly as it was.
bool replaceEdition(CatalogSet& set, const char* path);

// Writes an edition in the column layout the reader takes, so that reading it gives back every
// field. A designation shorter than its 12 columns comes back filled out with blanks when a
// description follows it. False, without touching the file, when a value cannot be written so
// that it reads back (a number wider than its columns, a line break in a text, a description over
// 463 characters, a constellation with the wrong number of stars); false too when the file cannot
// be written.
bool writeEdition(const char* path, const AncientCatalog& edition);

// writeEdition through a temporary file renamed over `path` (catalog/safe_write): a failure
// leaves the file that was there whole and nothing else behind.
bool saveEdition(const std::string& path, const AncientCatalog& edition);

// True when the three magnitude columns of a star line can hold `magnitude` so that it reads
// back exactly, as the writer needs.
bool magnitudeFitsColumns(float magnitude);
