// Finding stars by what a reader calls them: an ancient star by its running number or its
// designation in an edition, a reference star by its catalogue number or its designation, and a
// constellation of the 48 by its name. Letter case is ignored and blanks are trimmed (runs of
// blanks count as one). A designation is looked for in its parts: "alp Ori", "58 Ori" and
// "58 alp Ori" all name the star written "58 alp Ori"; the Greek letter may be spelled out
// ("alpha"), the constellation given by its abbreviation or its full name in the nominative or
// the genitive ("Ori", "Orion", "Orionis"); a letter without its digit ("alp Cap") names every
// star of that letter ("alp1 Cap", "alp2 Cap"). The viewer's Find dialog lists what it finds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "catalog/catalog.h"

enum class FoundKind { Constellation, AncientStar, ReferenceStar };

struct FoundStar {
    FoundKind kind;
    int constellation;  // row of the constellation table; -1 for a reference star
    int star;           // an ancient star's index in its constellation, a reference star's entry
                        // in the reference catalogue; -1 for a constellation
};

constexpr int kMostStarsListed = 200;

struct StarSearch {
    // Constellations first, then ancient stars in edition order, then reference stars in
    // catalogue order; at most the limit asked for.
    std::vector<FoundStar> found;
    int total = 0;  // every match, listed or not
};

// Everything `query` names in the edition and the reference catalogue. An empty query finds
// nothing; a number finds the ancient star with that running number and the reference star with
// that catalogue number, when either is there.
StarSearch searchStars(std::string_view query, const AncientCatalog& edition,
                       const ReferenceCatalog& reference, int limit = kMostStarsListed);

// The parts of a designation such as "21 alp2 And": each 0 where it is not given. The
// constellation is 1..88 as in the reference catalogue's code byte.
struct DesignationParts {
    int flamsteed = 0;
    int greekLetter = 0;  // 1..24
    int letterDigit = 0;  // 1..9
    int constellation = 0;
};

// Reads a designation in any of the accepted spellings; false when it is none. The constellation
// is required; the number, the letter and its digit, each where given, stand before it in that
// order. The constellation alone ("Ori") reads but names no star.
bool parseDesignation(std::string_view text, DesignationParts& parts);

// True when `query` names a star designated `name`: the same constellation, at least one star
// part, and every part the query gives equal to the name's.
bool designationNames(const DesignationParts& query, const DesignationParts& name);
