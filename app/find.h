// Find, the shell's side: Ctrl+F and the menu item open the Find dialog, whose list follows the
// text typed, one line per match of the search in catalog/star_search.h. Choosing a line goes
// there: the star's constellation selected as Page Up and Page Down select one, the view centred
// on the star where it is drawn and a ring put round it until the next key or click in the main
// window; a constellation is selected with its saved view and no ring. The ring lives in the
// application state and reaches the renderer through the render request.
#pragma once

#include <string>
#include <vector>

#include "catalog/star_search.h"
#include "geometry/vectors.h"

// Ctrl+F, as the character it types.
constexpr int kCharacterFind = 6;

// The ring round the star Find went to, in the frame the stars are drawn in.
struct FindState {
    bool ringShown = false;
    Vector3 ringDirection = {};
};

// Ctrl+F and the menu item: the dialog, and the match chosen in it gone to.
void findStar();
// Goes to a match of the current edition and the reference catalogue.
void goToFound(const FoundStar& found);
// The next key or click in the main window: a ring shown goes, with a repaint.
void endFindHighlight();

// The dialog's lines for a search: one per match listed and, when the list was cut short, a
// last line saying how many there were.
std::vector<std::string> foundLines(const StarSearch& search, const AncientCatalog& edition,
                                    const ReferenceCatalog& reference);
// The constellation of the first star of the edition identified with a reference star's number;
// -1 when no star names it.
int constellationIdentifying(const AncientCatalog& edition, int referenceNumber);
