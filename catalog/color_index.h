// A reference star's B-V colour index and the row of the star colour table it picks: row 0 is
// white (for a missing index), rows 1 to 190 the black-body colours from 1000 K to 19900 K in
// steps of 100 K. The reference reader stores the row in each star; the renderer (render/colors.h)
// holds the colours of the rows.
#pragma once

constexpr int kStarColorCount = 191;  // rows of the star colour table

// The row, 1..190, of the temperature the colour index gives, limited to the table's ends.
int starColorEntryForBV(double colorIndex);
