// Dialog layouts in the units their templates are written in: the dialog font ("Tahoma" at 8
// points, or the label font's stand-in where there is no Tahoma) and dialog units turned into
// pixels through that font's average character width (a quarter of it per unit across) and
// height (an eighth of it per unit down). The epoch dialog and the nearest-stars window lay
// themselves out with these.
#pragma once

#include <QFont>
#include <QRect>

const QFont& dialogFont();

struct DialogUnits {
    int baseX, baseY;  // average character width and character height of the font, pixels
};

DialogUnits dialogUnitsOf(const QFont& font);
int dialogUnitsToPixelsX(const DialogUnits& units, int x);
int dialogUnitsToPixelsY(const DialogUnits& units, int y);
QRect dialogUnitsRect(const DialogUnits& units, int x, int y, int width, int height);
