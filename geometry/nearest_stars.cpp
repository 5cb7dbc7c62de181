#include "geometry/nearest_stars.h"

#include <cmath>
#include <cstdio>

#include "catalog/precession.h"
#include "catalog/text_format.h"

constexpr double kNoAncientDistance = 10000.0;
constexpr float kEmptySlotKey = 1000.0f;
constexpr int kRuleWidth = 40;

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

static double clickDistance(int x, int y, float screenX, float screenY) {
    double dy = y - double(screenY), dx = x - double(screenX);
    return std::sqrt(dy * dy + dx * dx);
}

int findNearestAncientStar(const Constellation& constellation, int x, int y, double radius) {
    double best = kNoAncientDistance;
    int found = -1;
    for (int i = 0; i < int(constellation.stars.size()); ++i) {
        const AncientStar& star = constellation.stars[i];
        if (!star.visible) continue;
        double d = clickDistance(x, y, star.screenX, star.screenY);
        if (d < best && d <= radius) {
            best = d;
            found = i;
        }
    }
    return found;
}

int findNearestReferenceStars(const ReferenceStar* stars, int count, int x, int y, double radius,
                              int found[kNearestReferenceCount]) {
    float keys[kNearestReferenceCount];
    int entered = 0;
    for (float& key : keys) key = kEmptySlotKey;
    for (int j = 0; j < count; ++j) {
        if (!stars[j].visible) continue;
        double d = clickDistance(x, y, stars[j].screenX, stars[j].screenY);
        if (!(d < radius)) continue;
        float key = float(stars[j].magnitude * d);
        int slot = 0;
        while (slot < kNearestReferenceCount && !(keys[slot] > key)) ++slot;
        if (slot == kNearestReferenceCount) continue;
        for (int k = kNearestReferenceCount - 1; k > slot; --k) {
            keys[k] = keys[k - 1];
            found[k] = found[k - 1];
        }
        keys[slot] = key;
        found[slot] = j;
        if (entered < kNearestReferenceCount) ++entered;
    }
    return entered;
}

static long wholeArcMinutes(double angle) {
    double m = angle * kRadToDeg * 60.0;
    // Any real angle is far inside this; the bound keeps the conversion defined.
    if (!(std::fabs(m) < 1e9)) m = 0;
    return m > 0 ? long(m + 0.5) : -long(0.5 - m);
}

std::string positionText(double first, double second) {
    long l = wholeArcMinutes(first), b = wholeArcMinutes(second);
    long absB = std::labs(b);
    char text[64];
    std::snprintf(text, sizeof text, "%3ld%c%2.2ld' %c%2ld%c%2.2ld'", l / 60, kDegreeMark, l % 60,
                  b < 0 ? '-' : ' ', absB / 60, kDegreeMark, absB % 60);
    return text;
}

static std::string directionText(const NearestStarsMode& mode, Vector3 v) {
    if (mode.equatorial) vec3TimesMat3(v, mode.eclipticToEquatorial, v);
    double first, second;
    vec3ToLonLat(v, first, second);
    return positionText(first, second);
}

static std::string ancientPositionText(const NearestStarsMode& mode, const AncientStar& star) {
    // In double throughout, so that no recorded sign or degree overflows an int.
    double lon = ancientLonDegrees(star) * kDegToRad + mode.offsetLon;
    double lat = ancientLatDegrees(star) * kDegToRad + mode.offsetLat;
    Vector3 v;
    lonLatToVec3(lon, lat, v);
    return directionText(mode, v);
}

static std::string magnitudeText(float magnitude) {
    if (magnitude == kFaintMagnitude) return "  fnt.";
    if (magnitude == kNebulousMagnitude) return "  neb.";
    return formatText(" %4.1f", magnitude);
}

bool buildNearestStarsList(const NearestStarsMode& mode, const Constellation& constellation,
                           const ReferenceStar* stars, int starCount, int x, int y,
                           double radius, std::string& text) {
    int ancient = findNearestAncientStar(constellation, x, y, radius);
    int found[kNearestReferenceCount];
    int references = findNearestReferenceStars(stars, starCount, x, y, radius, found);
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
