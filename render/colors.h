// Colours: the 0x00BBGGRR colour value, the eight-entry colour table of the display elements
// (three of which the user sets and the settings file keeps), and the 191 star colours by
// temperature, one for each row a B-V colour index picks (catalog/color_index.h). The renderer
// and the shell read the tables.
#pragma once

#include <cstdint>

#include "catalog/color_index.h"

using Color = uint32_t;  // red in bits 0-7, green 8-15, blue 16-23

constexpr Color makeColor(int red, int green, int blue) {
    return Color(red & 0xFF) | Color(green & 0xFF) << 8 | Color(blue & 0xFF) << 16;
}
constexpr int colorRed(Color c) { return int(c & 0xFF); }
constexpr int colorGreen(Color c) { return int(c >> 8 & 0xFF); }
constexpr int colorBlue(Color c) { return int(c >> 16 & 0xFF); }

constexpr Color kWhite = makeColor(255, 255, 255);
constexpr Color kBlack = 0;

// Entry numbers of the colour table: display element number minus one where the user sets it.
enum ColorEntry {
    ColorNumbers = 2,
    ColorEclipticGrid = 4,
    ColorEquatorialGrid = 5,
    ColorEquatorialText = 6,  // always the average of entry 5 and white
    ColorCurrentLine = 7,     // the grid being drawn
};

constexpr Color kDefaultNumbersColor = makeColor(64, 96, 64);
constexpr Color kDefaultEclipticGridColor = makeColor(32, 32, 64);
constexpr Color kDefaultEquatorialGridColor = makeColor(64, 32, 32);

struct ColorTable {
    Color entries[8] = {};
};

Color getColor(const ColorTable& table, int index);
// Stores an entry; setting entry 5 also derives entry 6.
void setColor(ColorTable& table, int index, Color color);
void setDefaultColors(ColorTable& table);
Color averageColor(Color a, Color b);

// Black-body colours from 1000 K (row 1) to 19900 K (row 190) in steps of 100 K; row 0 white.
extern const float kBlackbodyTable[kStarColorCount][3];

struct StarColors {
    Color entries[kStarColorCount] = {};
};

void buildStarColors(StarColors& colors);
