#include "platform/dialog_units.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "platform/drawing.h"

constexpr int kDialogFontPoints = 8;
constexpr int kPointsPerInch = 72;
constexpr char kAverageWidthSample[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
constexpr int kAverageWidthSampleLength = 52;

static QFont makeDialogFont() {
    // The label font has already settled on Tahoma or its stand-in.
    QFont font = labelFont();
    int dotsPerInch = 96;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        dotsPerInch = int(screen->logicalDotsPerInchY());
    // Points to pixels rounded to the nearest, as a template's font is made.
    int pixels = (kDialogFontPoints * dotsPerInch + kPointsPerInch / 2) / kPointsPerInch;
    font.setPixelSize(std::max(1, pixels));
    return font;
}

const QFont& dialogFont() {
    static const QFont font = makeDialogFont();
    return font;
}

// Multiplies by a fraction, rounding half away from zero.
static int scaled(int value, int numerator, int denominator) {
    long long product = (long long)value * numerator;
    long long half = denominator / 2;
    return int(product >= 0 ? (product + half) / denominator : -((-product + half) / denominator));
}

DialogUnits dialogUnitsOf(const QFont& font) {
    QFontMetrics metrics(font);
    // Half-up rounding of the mean width of the 52 letters.
    int width = (metrics.horizontalAdvance(QLatin1String(kAverageWidthSample)) * 2 /
                     kAverageWidthSampleLength + 1) / 2;
    return DialogUnits{std::max(1, width), std::max(1, metrics.height())};
}

int dialogUnitsToPixelsX(const DialogUnits& units, int x) { return scaled(x, units.baseX, 4); }
int dialogUnitsToPixelsY(const DialogUnits& units, int y) { return scaled(y, units.baseY, 8); }

QRect dialogUnitsRect(const DialogUnits& units, int x, int y, int width, int height) {
    return QRect(dialogUnitsToPixelsX(units, x), dialogUnitsToPixelsY(units, y),
                 dialogUnitsToPixelsX(units, width), dialogUnitsToPixelsY(units, height));
}
