#include "sky_scene.h"

#include <cstdlib>

Vector3 directionAt(double lonDeg, double latDeg) {
    Vector3 v;
    lonLatToVec3(lonDeg * kDegToRad, latDeg * kDegToRad, v);
    return v;
}

SkyScene::SkyScene(double lonDeg, double latDeg, double focalScale, int width, int height) {
    view.centerLon = lonDeg * kDegToRad;
    view.centerLat = latDeg * kDegToRad;
    view.focalScale = focalScale;
    view.width = width;
    view.height = height;
    viewUpdate(view);
    clearNumberIndex(refs->index);
    Vector3 away = directionAt(lonDeg + 180, -latDeg);
    for (ReferenceStar& star : refs->stars) {
        star.dir = away;
        star.magnitude = 6;
    }
    setDefaultColors(colors);
    buildStarColors(starColors);
    frameResize(frame, width, height);
}

ReferenceStar& SkyScene::addReference(int slot, int number, double lonDeg, double latDeg,
                                      float magnitude, int colorEntry) {
    ReferenceStar& star = refs->stars[slot];
    star.number = number;
    star.dir = directionAt(lonDeg, latDeg);
    star.magnitude = magnitude;
    star.color = colorEntry;
    refs->index.slot[number] = int16_t(slot);
    return star;
}

AncientStar& SkyScene::addAncient(int number, int lonMinutes, int latMinutes, float magnitude,
                                  int identification) {
    AncientStar star;
    star.numberInConstellation = number;
    star.zodiacSign = lonMinutes / (30 * 60);
    star.signDegrees = lonMinutes / 60 % 30;
    star.lonMinutes = lonMinutes % 60;
    star.latSouth = latMinutes < 0;
    star.latDegrees = std::abs(latMinutes) / 60;
    star.latMinutes = std::abs(latMinutes) % 60;
    star.magnitude = magnitude;
    star.identification = identification;
    constellation.stars.push_back(star);
    constellation.starCount = int(constellation.stars.size());
    return constellation.stars.back();
}

RenderRequest SkyScene::request(int flags) {
    RenderRequest r;
    r.refStars = refs.get();
    r.constellation = &constellation;
    r.view = &view;
    r.displayFlags = flags;
    r.epoch = 1771298.0;
    r.editionCaption = "test edition";
    return r;
}
