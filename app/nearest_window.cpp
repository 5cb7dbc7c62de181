#include "app/nearest_window.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "app/state.h"
#include "catalog/precession.h"
#include "catalog/text_format.h"
#include "geometry/nearest_stars.h"

namespace {

constexpr int kClickGap = 2;  // pixels between the click and the window's nearer corner
constexpr int kRuleWidth = 40;
constexpr char kNoStarsText[] = "(no stars)";

long wholeArcMinutes(double angle) {
    double m = angle * kRadToDeg * 60.0;
    // Any real angle is far inside this; the bound keeps the conversion defined.
    if (!(std::fabs(m) < 1e9)) m = 0;
    return m > 0 ? long(m + 0.5) : -long(0.5 - m);
}

std::string directionText(const NearestStarsMode& mode, Vector3 v) {
    if (mode.equatorial) vec3TimesMat3(v, mode.eclipticToEquatorial, v);
    double first, second;
    vec3ToLonLat(v, first, second);
    return positionText(first, second);
}

std::string ancientPositionText(const NearestStarsMode& mode, const AncientStar& star) {
    // In double throughout, so that no recorded sign or degree overflows an int.
    double lon = ancientLonDegrees(star) * kDegToRad + mode.offsetLon;
    double lat = ancientLatDegrees(star) * kDegToRad + mode.offsetLat;
    Vector3 v;
    lonLatToVec3(lon, lat, v);
    return directionText(mode, v);
}

std::string magnitudeText(float magnitude) {
    if (magnitude == kFaintMagnitude) return "  fnt.";
    if (magnitude == kNebulousMagnitude) return "  neb.";
    return formatText(" %4.1f", magnitude);
}

}  // namespace

void nearestStarsSetMode(NearestStarsMode& mode, double epoch, float offsetLon, float offsetLat,
                         int equatorial) {
    mode.offsetLon = offsetLon;
    mode.offsetLat = offsetLat;
    mode.equatorial = equatorial;
    if (equatorial) {
        mat3Identity(mode.eclipticToEquatorial);
        appendEclipticToEquator(mode.eclipticToEquatorial, epoch);
    }
}

const char* nearestStarsTitle(const NearestStarsMode& mode) {
    return mode.equatorial ? "Nearest Stars [ra/dec]" : "Nearest Stars [lon/lat]";
}

std::string positionText(double first, double second) {
    long l = wholeArcMinutes(first), b = wholeArcMinutes(second);
    long absB = std::labs(b);
    char text[64];
    std::snprintf(text, sizeof text, "%3ld%c%2.2ld' %c%2ld%c%2.2ld'", l / 60, kDegreeMark, l % 60,
                  b < 0 ? '-' : ' ', absB / 60, kDegreeMark, absB % 60);
    return text;
}

bool buildNearestStarsList(const NearestStarsMode& mode, const Constellation& constellation,
                           const ReferenceStar* stars, int starCount, int x, int y,
                           double radius, std::string& text, NearestStarsFound* stored) {
    NearestStarsFound what;
    const int ancient = what.ancient = findNearestAncientStar(constellation, x, y, radius);
    const int* found = what.reference;
    const int references = what.references =
        findNearestReferenceStars(stars, starCount, x, y, radius, what.reference);
    if (stored) *stored = what;
    if (ancient < 0 && references == 0) return false;
    text.clear();
    if (ancient >= 0) {
        const AncientStar& star = constellation.stars[ancient];
        text += formatText("%d %s %d\r\n", star.catalogNumber, constellation.name.c_str(),
                          ancient + 1);
        text += star.description + "\r\n";
        text += star.identification >= 1 ? formatText("%4d", star.identification) : "    ";
        text += formatText(" %12.12s  ", star.designation);
        text += ancientPositionText(mode, star);
        text += magnitudeText(star.magnitude) + "\r\n";
        text += std::string(kRuleWidth, '-') + "\r\n";
    }
    for (int k = 0; k < references; ++k) {
        const ReferenceStar& star = stars[found[k]];
        text += formatText("%4d %12.12s  ", star.number, star.name);
        text += directionText(mode, star.dir);
        text += formatText(" %5.2f\r\n", star.magnitude);
    }
    return true;
}

void queryNearestStars(int x, int y) {
    if (!catalogsLoaded()) return;
    nearestStarsQuery(x, y, theApp.view.pixelsPerDegree);
}

void refreshNearestStars() {
    if (!catalogsLoaded()) return;
    nearestStarsQuery(kRefreshClick, kRefreshClick, theApp.view.pixelsPerDegree);
}

void handNearestStarsMode() {
    NearestStarsMode& mode = theApp.nearestStars.mode;
    const EpochSetting& epoch = theApp.epoch;
    nearestStarsSetMode(mode, epoch.epoch, epoch.offsetLon, epoch.offsetLat, mode.equatorial);
    if (platformNearestStarsIsOpen()) platformNearestStarsSetTitle(nearestStarsTitle(mode));
}

void toggleNearestStarsCoordinates() {
    NearestStarsMode& mode = theApp.nearestStars.mode;
    mode.equatorial = !mode.equatorial;
    handNearestStarsMode();
    refreshNearestStars();
}

int nearestStarsQuery(int x, int y, double radius) {
    NearestStarsState& query = theApp.nearestStars;
    bool open = platformNearestStarsIsOpen();
    if (x < 0 && !open) return 0;
    const Constellation* constellation = currentConstellation();
    if (!constellation || !theApp.reference) return 0;
    if (x >= 0) {
        query.clickX = x;
        query.clickY = y;
    }
    // The click is kept in window pixels, where the window goes; the stars are in device pixels.
    const DevicePixel click = devicePixelAt(query.clickX, query.clickY);
    std::string list;
    NearestStarsFound stars;
    bool found = buildNearestStarsList(query.mode, *constellation, theApp.reference->stars,
                                       kReferenceStarCount, click.x, click.y, radius, list, &stars);
    const char* title = nearestStarsTitle(query.mode);
    if (!found) {
        if (open) {
            platformNearestStarsShow(title, kNoStarsText, query.clickX, query.clickY);
            clearIdentifyChoices();
        }
        return 0;
    }
    platformNearestStarsShow(title, list.c_str(), query.clickX, query.clickY);
    // The list's ancient star can be given any of the reference stars listed.
    if (stars.ancient >= 0)
        offerIdentifyChoices(stars.ancient, stars.reference, stars.references);
    else
        clearIdentifyChoices();
    return 1;
}

ScreenRect placeNearClick(int x, int y, int width, int height, const ScreenRect& workArea) {
    int left = x + kClickGap, top = y + kClickGap;
    if (left + width > workArea.right) left -= width + 2 * kClickGap;
    if (top + height > workArea.bottom) top -= height + 2 * kClickGap;
    return ScreenRect{left, top, left + width, top + height};
}
