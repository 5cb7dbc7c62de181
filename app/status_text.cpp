#include "app/status_text.h"

#include <climits>
#include <cmath>
#include <cstdio>

#include "app/platform_services.h"
#include "app/state.h"

namespace {

constexpr char kStatusFormat[] =
    "%s  %cView (%d, %d, %d, %.1f)  FOV (%.1f, %.1f)  %cShift (%.1f, %.1f)  %s";
constexpr char kCoordinateFormat[] = "    %d\xBA%02.2d' %c%d\xBA%2.02d'";

constexpr int kStatusLeft = 10;
constexpr char kModeMarker = '+';

char modeMarker(int arrowMode, int markedMode) { return arrowMode == markedMode ? kModeMarker : ' '; }

int wholeDegrees(double radians) { return roundedInteger(radians * kRadToDeg); }

// Degrees rounded to whole tenths.
double tenthsOfDegree(float radians) { return roundedInteger(radians * kRadToDeg * 10) / 10.0; }

double fieldOfView(double extent, double focalScale) {
    return 2 * std::atan2(extent, focalScale) * kRadToDeg;
}

int clampedInteger(double value) {
    if (!(value == value)) return 0;
    if (value >= double(INT_MAX)) return INT_MAX;
    if (value <= double(INT_MIN)) return INT_MIN;
    return int(value);
}

// Line 0 (ecliptic) shares the status line's top; line 1 (equatorial) lies one text height above.
void drawCoordinateLine(float first, float second, int lineNumber, Color color) {
    std::string text = formatCoordinateLine(first, second);
    int width = 0, height = 0;
    platformMeasureText(text.c_str(), width, height);
    const SkyView& view = theApp.view;
    platformDrawText(view.width - (height + width), view.height - ((2 * lineNumber + 3) * height) / 2,
                     text.c_str(), color, true);
}

}  // namespace

int roundedInteger(double value) {
    return clampedInteger(value > 0 ? std::trunc(value + 0.5) : -std::trunc(0.5 - value));
}

std::string formatStatusText(const SkyView& view, const char* constellationName, float shiftLon,
                             float shiftLat, const char* editionName, int arrowMode) {
    double aspectExtent = 2.0 * view.width / view.height;
    return formatText(kStatusFormat, constellationName, modeMarker(arrowMode, 0),
                      wholeDegrees(view.centerLon), wholeDegrees(view.centerLat),
                      wholeDegrees(view.roll), view.focalScale,
                      fieldOfView(aspectExtent, view.focalScale), fieldOfView(2, view.focalScale),
                      modeMarker(arrowMode, 1), tenthsOfDegree(shiftLon), tenthsOfDegree(shiftLat),
                      editionName);
}

std::string formatCoordinateLine(float first, float second) {
    int m = clampedInteger(std::fabs(first * 60.0f));  // whole minutes, the fraction dropped
    int rounded = roundedInteger(second * 60.0f);
    int n = rounded == INT_MIN ? INT_MAX : std::abs(rounded);
    char sign = second < 0 ? '-' : ' ';
    // The zero flags beside the precisions change nothing; the format is kept as written.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
    return formatText(kCoordinateFormat, m / 60, m % 60, sign, n / 60, n % 60);
#pragma GCC diagnostic pop
}

void drawStatusLine() {
    const Constellation* constellation = currentConstellation();
    std::string text = formatStatusText(theApp.view, constellation ? constellation->name.c_str() : "",
                                        theApp.shift.lon, theApp.shift.lat,
                                        currentEditionName(theApp.catalogs).c_str(), theApp.arrowMode);
    int width = 0, height = 0;
    platformMeasureText(text.c_str(), width, height);
    const int left = deviceLength(kStatusLeft);
    platformDrawText(left, theApp.view.height - (3 * height) / 2, text.c_str(), kStatusTextColor,
                     true);
    int x, y;
    if (!platformCursorPos(x, y)) return;
    const DevicePixel cursor = devicePixelAt(x, y);
    const SkyView& view = theApp.view;
    if (cursor.x >= 0 && cursor.x < view.width && cursor.y >= 0 && cursor.y < view.height)
        drawCursorCoordinates(cursor.x, cursor.y);
}

void drawCursorCoordinates(int x, int y) {
    float lon = 0, lat = 0, ra = 0, dec = 0;
    bool equatorial = (theApp.displayFlags & FlagEquatorialGrid) != 0;
    if (equatorial)
        viewUnprojectBoth(theApp.view, x, y, theApp.epoch.epoch, lon, lat, ra, dec);
    else
        viewUnproject(theApp.view, x, y, lon, lat);
    drawCoordinateLine(float(lon * kRadToDeg), float(lat * kRadToDeg), 0, kStatusTextColor);
    if (equatorial)
        drawCoordinateLine(float(ra * kRadToDeg), float(dec * kRadToDeg), 1,
                           getColor(theApp.colors, ColorEquatorialText));
}
