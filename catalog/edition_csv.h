// An edition as comma-separated text, so that a historian can type or check one in a
// spreadsheet: a header row naming the columns, then one row per star in the order of the
// edition file, every field of the star line in a column of its own and the edition's name
// (the text after the file's header) repeated in the first column. The analysis tool exports
// and imports editions through here; the edition writer then makes the file.
//
// Columns: edition, constellation, catalog_number, number_in_constellation, longitude_deg
// (whole degrees from the vernal point), longitude_arcmin, latitude_sign (+ or -),
// latitude_deg, latitude_arcmin, magnitude (6.5 faint, 7 nebulous), identification (reference
// star number, 0 or empty for none), designation, description.
#pragma once

#include <string>
#include <string_view>

#include "catalog/catalog.h"

// The rows of every star; the designation without the blanks that fill out its columns.
std::string editionToCsv(const AncientCatalog& edition);

struct EditionFromCsv {
    EditionPtr edition;  // null when the text is refused
    // What is wrong, naming the line and the column: "line 12, column 5 (longitude_deg): ...".
    std::string problem;
    int line = 0, column = 0;  // 1-based; column 0 when the whole line is at fault
};

// Reads the text back into an edition that the edition writer can write. Every value must be
// one the edition's columns hold (the limits the edition reader's fixed columns set: a catalog
// number -999 to 9999, minutes -9 to 99 and so on, with no check that minutes stay below 60,
// just as the reader does not check), every row must name the constellation of the table that
// is due, and each constellation must have exactly its number of stars.
EditionFromCsv editionFromCsv(std::string_view text);
