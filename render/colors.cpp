#include "render/colors.h"

Color getColor(const ColorTable& table, int index) {
    if (index < 0 || index > 7) return kBlack;
    return table.entries[index];
}

void setColor(ColorTable& table, int index, Color color) {
    if (index < 0 || index > 7) return;
    table.entries[index] = color;
    if (index == ColorEquatorialGrid) table.entries[ColorEquatorialText] = averageColor(color, kWhite);
}

void setDefaultColors(ColorTable& table) {
    setColor(table, ColorNumbers, kDefaultNumbersColor);
    setColor(table, ColorEclipticGrid, kDefaultEclipticGridColor);
    setColor(table, ColorEquatorialGrid, kDefaultEquatorialGridColor);
}

Color averageColor(Color a, Color b) {
    return makeColor((colorRed(a) + colorRed(b)) >> 1, (colorGreen(a) + colorGreen(b)) >> 1,
                     (colorBlue(a) + colorBlue(b)) >> 1);
}

void buildStarColors(StarColors& colors) {
    colors.entries[0] = kWhite;
    for (int i = 1; i < kStarColorCount; ++i) {
        const float* row = kBlackbodyTable[i];
        // Truncated, not rounded: 0.9686 gives 246.
        colors.entries[i] = makeColor(int(255 * row[0]), int(255 * row[1]), int(255 * row[2]));
    }
}
