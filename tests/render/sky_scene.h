// A small sky for the sky-layer tests: a view, a reference catalogue whose stars are all parked
// behind the viewer until a test places some, one constellation, a frame and the colour tables.
#pragma once

#include <memory>

#include "render/sky_layers.h"

struct SkyScene {
    std::unique_ptr<ReferenceCatalog> refs = std::make_unique<ReferenceCatalog>();
    Constellation constellation;
    SkyView view;
    FrameBuffer frame;
    ColorTable colors;
    StarColors starColors;

    SkyScene(double lonDeg, double latDeg, double focalScale, int width, int height);

    // A reference star in entry `slot` with catalogue number `number`.
    ReferenceStar& addReference(int slot, int number, double lonDeg, double latDeg,
                                float magnitude, int colorEntry);
    // An ancient star at a catalogue position given in whole minutes of arc.
    AncientStar& addAncient(int number, int lonMinutes, int latMinutes, float magnitude,
                            int identification);

    RenderRequest request(int flags);
};

Vector3 directionAt(double lonDeg, double latDeg);
