// Generates render/blackbody_table.cpp, the 191 rows of black-body star colours that
// buildStarColors turns into the star colour table. Row 0 is white; row i (1..190) is the colour
// of a black body at 1000 K + 100 K (i - 1).
//
// Usage: blackbody-table [output-file]   (writes to standard output without an argument)
// Rerun: cmake --build build --target blackbody-table
//        build/blackbody-table render/blackbody_table.cpp
//
// How a row is computed:
// 1. Planck's law (relative spectral radiance lambda^-5 / (exp(c2 / (lambda T)) - 1)) is summed
//    from 360 nm to 830 nm in 1 nm steps against the CIE 1931 2-degree colour-matching
//    functions, taken from the multi-lobe piecewise-Gaussian fit of Wyman, Sloan and Shirley
//    (2013), which stays within a few thousandths of the tabulated functions.
// 2. XYZ goes to linear sRGB (D65 primaries); negative components are clipped to 0.
// 3. The row is scaled so that the channel the table keeps at 1 is exactly 1: red up to
//    6600 K (row 57), blue from 6700 K (row 58) on. A computed curve whose blue passes red a few
//    rows early therefore shows a value just above 1 there, which step 5 removes.
// 4. The sRGB transfer curve is applied. Of linear, the sRGB curve and pure powers 1/1.8, 1/2.0
//    and 1/2.2, the sRGB curve matches the anchor rows best (largest departure about 0.04, at
//    row 11 blue; most others within 0.02).
// 5. The anchor rows below are kept exactly. Between two neighbouring anchors the departure of
//    the computed curve from the anchors is interpolated linearly in the row number and
//    subtracted, so that the curve passes through both anchors; each value is then clamped to
//    the range spanned by the two anchors and to 0..1. (With the present anchors the clamp acts
//    only on blue just below 2000 K, where the bent curve dips under 0.)
// 6. Values are rounded to four decimals (as whole units of 0.0001), and a final pass makes
//    green and blue never fall over rows 1..57 and red and green never rise over rows 58..190.
//    Steps 5 and 6 leave the anchors untouched because every value lies between its anchors.
// A short summary (the largest anchor departure, how many values were clamped or evened out)
// goes to standard error.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int kRowCount = 191;
constexpr int kLastRedRow = 57;  // rows 1..57 keep red at 1, rows 58..190 keep blue at 1
constexpr double kFirstKelvin = 1000.0;
constexpr double kKelvinStep = 100.0;
constexpr int kUnitsPerOne = 10000;  // four decimals

constexpr int kFirstNm = 360;
constexpr int kLastNm = 830;
constexpr double kSecondRadiation = 1.438776877e-2;  // c2 = h c / k in metre kelvin

struct Rgb {
    double channel[3];  // red, green, blue
};

struct Anchor {
    int row;
    Rgb rgb;
};

// The rows whose values are fixed; everything between them is computed.
const Anchor kAnchors[] = {
    {1, {{1.0000, 0.2000, 0.0000}}},   {2, {{1.0000, 0.2706, 0.0000}}},
    {6, {{1.0000, 0.4353, 0.0000}}},   {11, {{1.0000, 0.5529, 0.0431}}},
    {20, {{1.0000, 0.7137, 0.3843}}},  {30, {{1.0000, 0.8275, 0.6118}}},
    {40, {{1.0000, 0.8980, 0.7843}}},  {50, {{1.0000, 0.9529, 0.9176}}},
    {57, {{1.0000, 0.9765, 0.9922}}},  {58, {{0.9961, 0.9804, 1.0000}}},
    {59, {{0.9882, 0.9725, 1.0000}}},  {64, {{0.9451, 0.9451, 1.0000}}},
    {80, {{0.8549, 0.8863, 1.0000}}},  {100, {{0.7882, 0.8392, 1.0000}}},
    {130, {{0.7333, 0.7961, 1.0000}}}, {160, {{0.7020, 0.7725, 1.0000}}},
    {190, {{0.6784, 0.7569, 1.0000}}},
};
constexpr int kAnchorCount = int(sizeof kAnchors / sizeof kAnchors[0]);

double rowKelvin(int row) { return kFirstKelvin + kKelvinStep * (row - 1); }

// The channel held at exactly 1 in a row: red on the warm side, blue on the hot side.
int fullChannel(int row) { return row <= kLastRedRow ? 0 : 2; }

// One lobe of the fit: a Gaussian with different widths below and above its peak.
double lobe(double nm, double peak, double widthBelow, double widthAbove) {
    double t = (nm - peak) / (nm < peak ? widthBelow : widthAbove);
    return std::exp(-0.5 * t * t);
}

void colorMatching(double nm, double xyz[3]) {
    xyz[0] = 1.056 * lobe(nm, 599.8, 37.9, 31.0) + 0.362 * lobe(nm, 442.0, 16.0, 26.7) -
             0.065 * lobe(nm, 501.1, 20.4, 26.2);
    xyz[1] = 0.821 * lobe(nm, 568.8, 46.9, 40.5) + 0.286 * lobe(nm, 530.9, 16.3, 31.1);
    xyz[2] = 1.217 * lobe(nm, 437.0, 11.8, 36.0) + 0.681 * lobe(nm, 459.0, 26.0, 13.8);
}

// Tristimulus values of a black body, up to a common factor.
void blackbodyXyz(double kelvin, double xyz[3]) {
    xyz[0] = xyz[1] = xyz[2] = 0;
    for (int nm = kFirstNm; nm <= kLastNm; ++nm) {
        double metres = nm * 1e-9;
        double radiance = 1.0 / (std::pow(metres, 5) * std::expm1(kSecondRadiation / (metres * kelvin)));
        double match[3];
        colorMatching(nm, match);
        for (int k = 0; k < 3; ++k) xyz[k] += radiance * match[k];
    }
}

double srgbEncode(double linear) {
    return linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
}

Rgb computedRow(int row) {
    static const double kXyzToSrgb[3][3] = {{3.2404542, -1.5371385, -0.4985314},
                                            {-0.9692660, 1.8760108, 0.0415560},
                                            {0.0556434, -0.2040259, 1.0572252}};
    double xyz[3];
    blackbodyXyz(rowKelvin(row), xyz);
    double linear[3];
    for (int k = 0; k < 3; ++k) {
        double v = kXyzToSrgb[k][0] * xyz[0] + kXyzToSrgb[k][1] * xyz[1] + kXyzToSrgb[k][2] * xyz[2];
        linear[k] = std::max(v, 0.0);
    }
    double full = linear[fullChannel(row)];
    Rgb rgb;
    for (int k = 0; k < 3; ++k) rgb.channel[k] = srgbEncode(linear[k] / full);
    return rgb;
}

struct Summary {
    double largestDeparture = 0;
    int departureRow = 0, departureChannel = 0;
    int clamped = 0;
    int evenedOut = 0;
};

// Rows anchor[a].row .. anchor[a + 1].row: the computed curve bent through both anchors.
void fillBetween(const Anchor& low, const Anchor& high, const Rgb computed[], int units[][3],
                 Summary& summary) {
    for (int row = low.row + 1; row < high.row; ++row) {
        double t = double(row - low.row) / double(high.row - low.row);
        for (int k = 0; k < 3; ++k) {
            if (k == fullChannel(row)) {
                units[row][k] = kUnitsPerOne;
                continue;
            }
            double departure = (1 - t) * (computed[low.row].channel[k] - low.rgb.channel[k]) +
                               t * (computed[high.row].channel[k] - high.rgb.channel[k]);
            double v = computed[row].channel[k] - departure;
            double lowest = std::max(0.0, std::min(low.rgb.channel[k], high.rgb.channel[k]));
            double highest = std::min(1.0, std::max(low.rgb.channel[k], high.rgb.channel[k]));
            if (v < lowest || v > highest) ++summary.clamped;
            v = std::clamp(v, lowest, highest);
            units[row][k] = int(std::lround(v * kUnitsPerOne));
        }
    }
}

// Green and blue never fall up to row 57; red and green never rise from row 58 on.
void makeMonotone(int units[][3], Summary& summary) {
    for (int row = 2; row < kRowCount; ++row) {
        if (row == kLastRedRow + 1) continue;  // the two halves meet here and are not compared
        for (int k = 0; k < 3; ++k) {
            int previous = units[row - 1][k];
            int evened = row <= kLastRedRow ? std::max(units[row][k], previous)
                                            : std::min(units[row][k], previous);
            if (evened != units[row][k]) ++summary.evenedOut;
            units[row][k] = evened;
        }
    }
}

std::string formatUnits(int units) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%04df", units / kUnitsPerOne, units % kUnitsPerOne);
    return text;
}

std::string tableSource(const int units[][3]) {
    std::string out =
        "// Generated by tools/blackbody_table.cpp; do not edit by hand. To regenerate:\n"
        "//   cmake --build build --target blackbody-table\n"
        "//   build/blackbody-table render/blackbody_table.cpp\n"
        "// Black-body colours for the star colour table: row 0 white, row i the colour at\n"
        "// 1000 K + 100 K (i - 1), red, green and blue in 0..1 with the largest exactly 1.\n"
        "#include \"render/colors.h\"\n"
        "\n"
        "const float kBlackbodyTable[kStarColorCount][3] = {\n";
    for (int row = 0; row < kRowCount; ++row) {
        out += "    {" + formatUnits(units[row][0]) + ", " + formatUnits(units[row][1]) + ", " +
               formatUnits(units[row][2]) + "},  // ";
        out += row == 0 ? std::string("white") : std::to_string(int(rowKelvin(row))) + " K";
        out += "\n";
    }
    out += "};\n";
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: blackbody-table [output-file]\n");
        return 2;
    }
    static Rgb computed[kRowCount];
    for (int row = 1; row < kRowCount; ++row) computed[row] = computedRow(row);

    static int units[kRowCount][3];
    Summary summary;
    units[0][0] = units[0][1] = units[0][2] = kUnitsPerOne;
    for (int a = 0; a < kAnchorCount; ++a) {
        const Anchor& anchor = kAnchors[a];
        for (int k = 0; k < 3; ++k) {
            units[anchor.row][k] = int(std::lround(anchor.rgb.channel[k] * kUnitsPerOne));
            double departure = std::fabs(computed[anchor.row].channel[k] - anchor.rgb.channel[k]);
            if (departure > summary.largestDeparture) {
                summary.largestDeparture = departure;
                summary.departureRow = anchor.row;
                summary.departureChannel = k;
            }
        }
        if (a + 1 < kAnchorCount) fillBetween(anchor, kAnchors[a + 1], computed, units, summary);
    }
    makeMonotone(units, summary);

    std::string source = tableSource(units);
    FILE* out = argc == 2 ? std::fopen(argv[1], "wb") : stdout;
    if (!out) {
        std::fprintf(stderr, "blackbody-table: cannot write %s\n", argv[1]);
        return 1;
    }
    bool written = std::fwrite(source.data(), 1, source.size(), out) == source.size();
    if (argc == 2) written = std::fclose(out) == 0 && written;
    if (!written) {
        std::fprintf(stderr, "blackbody-table: writing the table failed\n");
        return 1;
    }
    static const char* const kChannelNames[3] = {"red", "green", "blue"};
    std::fprintf(stderr,
                 "blackbody-table: %d rows; largest departure at an anchor %.4f (row %d %s); "
                 "%d values clamped between anchors, %d evened out\n",
                 kRowCount, summary.largestDeparture, summary.departureRow,
                 kChannelNames[summary.departureChannel], summary.clamped, summary.evenedOut);
    return 0;
}
