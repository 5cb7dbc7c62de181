#include "geometry/nearest_stars.h"

#include <cmath>

namespace {

constexpr double kNoAncientDistance = 10000.0;
constexpr float kEmptySlotKey = 1000.0f;

double clickDistance(int x, int y, float screenX, float screenY) {
    double dy = y - double(screenY), dx = x - double(screenX);
    return std::sqrt(dy * dy + dx * dx);
}

}  // namespace

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
