#include "app/default_views.h"

// View longitude, latitude, roll (degrees), focal scale, shift longitude, latitude (degrees).
const DefaultViewRow kDefaultViewTable[kConstellationCount] = {
    {80, 73, 0, 8, 0.8f, -0.3f},    // Ursa Minor
    {116, 38, 0, 4.5f, 1.1f, 0.4f}, // Ursa Major
    {115, 79, 0, 4.5f, 0.5f, 0},    // Draco
    {6, 68, 0, 6, 1.3f, -0.2f},     // Cepheus
    {173, 43, 0, 4.5f, 1.2f, 0.6f}, // Bootes
    {196, 47, 0, 8, 1.2f, 0.3f},    // Corona Borealis
    {217, 55, 0, 4.5f, 1.8f, 0.3f}, // Hercules
    {266, 59, 0, 8, 2.2f, 0},       // Lyra
    {293, 59, 0, 6, 1, 0.1f},       // Cygnus
    {17, 49, 0, 8, 1.5f, -0.3f},    // Cassiopeia
    {36, 25, 0, 6, 1.4f, -0.3f},    // Perseus
    {56, 18, 0, 6, 1, 0.2f},        // Auriga
    {230, 17, 0, 4.5f, 1.2f, 0.2f}, // Ophiuchus
    {227, 27, 0, 4.5f, 1.7f, 0.2f}, // Serpens
    {276, 39, 0, 8, 1.1f, 0.2f},    // Sagitta
    {270, 26, 0, 8, 1.7f, 0.4f},    // Aquila
    {291, 31, 0, 8, 1.5f, 0.3f},    // Delphinus
    {298, 23, 0, 10, 1.3f, 0.3f},   // Equuleus
    {325, 27, 0, 6, 1.3f, 0},       // Pegasus
    {1, 30, 0, 6, 1.6f, -0.4f},     // Andromeda
    {14, 19, 0, 8, 0.4f, -0.2f},    // Triangulum
    {17, 3, 0, 8, 0.9f, -0.6f},     // Aries
    {44, -5, 0, 6, 1.1f, 0.2f},     // Taurus
    {78, 0, 0, 6, 1, 0},            // Gemini
    {101, 1, 0, 8, 1.3f, -0.6f},    // Cancer
    {128, 10, 0, 4.5f, 1.4f, 0.2f}, // Leo
    {170, 5, 0, 6, 1.3f, 0.2f},     // Virgo
    {206, 2, 0, 6, 1.2f, 0},        // Libra
    {228, -8, 0, 6, 1.2f, -0.5f},   // Scorpius
    {258, -9, 0, 6, 1.3f, -0.7f},   // Sagittarius
    {287, 0, 0, 8, 0.9f, -0.2f},    // Capricornus
    {307, -3, 0, 4.5f, 0.9f, -0.4f},// Aquarius
    {344, 6, 0, 6, 1.2f, -0.4f},    // Pisces
    {356, -18, 0, 6, 0.6f, -1.2f},  // Cetus
    {55, -19, 0, 6, 0.7f, -0.4f},   // Orion
    {26, -41, 0, 6, 0.3f, -1.1f},   // Eridanus
    {54, -40, 0, 8, 0.2f, 0},       // Lepus
    {74, -45, 0, 4.5f, 0.8f, -0.9f},// Canis Major
    {88, -15, 0, 10, 1.2f, 0},      // Canis Minor
    {113, -61, 0, 6, 1, -0.5f},     // Argo Navis
    {146, -22, 0, 2.5f, 1.2f, 0},   // Hydra
    {152, -17, 0, 8, 1.1f, -0.1f},  // Crater
    {167, -16, 0, 8, 1.3f, 0},      // Corvus
    {198, -36, 0, 4.5f, 1.5f, 0.3f},// Centaurus
    {212, -22, 0, 8, 1.5f, 0},      // Lupus
    {238, -27, 0, 8, 3, 0.8f},      // Ara
    {253, -17, 0, 8, 1, 0},         // Corona Australis
    {293, -20, 0, 8, 1, -1},        // Piscis Austrinus
};

ConView defaultConView(int constellation) {
    if (constellation < 0 || constellation >= kConstellationCount) constellation = 0;
    const DefaultViewRow& row = kDefaultViewTable[constellation];
    auto radians = [](float degrees) { return float(double(degrees) * kDegToRad); };
    return {radians(row.shiftLon), radians(row.shiftLat), radians(row.viewLon),
            radians(row.viewLat),  radians(row.roll),     row.focalScale};
}

void applyConView(const ConView& saved, SkyView& view) {
    view.centerLon = saved.viewLon;
    view.centerLat = saved.viewLat;
    view.roll = saved.roll;
    view.focalScale = saved.focalScale;
}

void storeConView(const SkyView& view, ConView& saved) {
    saved.viewLon = float(view.centerLon);
    saved.viewLat = float(view.centerLat);
    saved.roll = float(view.roll);
    saved.focalScale = float(view.focalScale);
}
