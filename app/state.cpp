#include "app/state.h"

#include "geometry/vectors.h"

AppState theApp;

namespace {

// The view every constellation starts from: centre longitude, latitude and roll in degrees, the
// focal scale, and the shift in longitude and latitude in degrees. In constellation-table order.
struct DefaultViewRow {
    float lon, lat, roll, focalScale, shiftLon, shiftLat;
};

constexpr DefaultViewRow kDefaultViews[kConstellationCount] = {
    {80, 73, 0, 8, 0.8f, -0.3f},    {116, 38, 0, 4.5f, 1.1f, 0.4f}, {115, 79, 0, 4.5f, 0.5f, 0},
    {6, 68, 0, 6, 1.3f, -0.2f},     {173, 43, 0, 4.5f, 1.2f, 0.6f}, {196, 47, 0, 8, 1.2f, 0.3f},
    {217, 55, 0, 4.5f, 1.8f, 0.3f}, {266, 59, 0, 8, 2.2f, 0},       {293, 59, 0, 6, 1, 0.1f},
    {17, 49, 0, 8, 1.5f, -0.3f},    {36, 25, 0, 6, 1.4f, -0.3f},    {56, 18, 0, 6, 1, 0.2f},
    {230, 17, 0, 4.5f, 1.2f, 0.2f}, {227, 27, 0, 4.5f, 1.7f, 0.2f}, {276, 39, 0, 8, 1.1f, 0.2f},
    {270, 26, 0, 8, 1.7f, 0.4f},    {291, 31, 0, 8, 1.5f, 0.3f},    {298, 23, 0, 10, 1.3f, 0.3f},
    {325, 27, 0, 6, 1.3f, 0},       {1, 30, 0, 6, 1.6f, -0.4f},     {14, 19, 0, 8, 0.4f, -0.2f},
    {17, 3, 0, 8, 0.9f, -0.6f},     {44, -5, 0, 6, 1.1f, 0.2f},     {78, 0, 0, 6, 1, 0},
    {101, 1, 0, 8, 1.3f, -0.6f},    {128, 10, 0, 4.5f, 1.4f, 0.2f}, {170, 5, 0, 6, 1.3f, 0.2f},
    {206, 2, 0, 6, 1.2f, 0},        {228, -8, 0, 6, 1.2f, -0.5f},   {258, -9, 0, 6, 1.3f, -0.7f},
    {287, 0, 0, 8, 0.9f, -0.2f},    {307, -3, 0, 4.5f, 0.9f, -0.4f}, {344, 6, 0, 6, 1.2f, -0.4f},
    {356, -18, 0, 6, 0.6f, -1.2f},  {55, -19, 0, 6, 0.7f, -0.4f},   {26, -41, 0, 6, 0.3f, -1.1f},
    {54, -40, 0, 8, 0.2f, 0},       {74, -45, 0, 4.5f, 0.8f, -0.9f}, {88, -15, 0, 10, 1.2f, 0},
    {113, -61, 0, 6, 1, -0.5f},     {146, -22, 0, 2.5f, 1.2f, 0},   {152, -17, 0, 8, 1.1f, -0.1f},
    {167, -16, 0, 8, 1.3f, 0},      {198, -36, 0, 4.5f, 1.5f, 0.3f}, {212, -22, 0, 8, 1.5f, 0},
    {238, -27, 0, 8, 3, 0.8f},      {253, -17, 0, 8, 1, 0},         {293, -20, 0, 8, 1, -1},
};

float degreesToRadians(float degrees) { return float(degrees * kDegToRad); }

}  // namespace

void resetAppState() { theApp = AppState(); }

ScreenRect defaultWindowRect(const ScreenRect& workArea) {
    ScreenRect rect = workArea;
    rect.right -= (workArea.right - workArea.left) / 8;
    rect.bottom -= (workArea.bottom - workArea.top) / 8;
    return rect;
}

ConView defaultConView(int constellation) {
    const DefaultViewRow& row = kDefaultViews[constellation];
    ConView view;
    view.shiftLon = degreesToRadians(row.shiftLon);
    view.shiftLat = degreesToRadians(row.shiftLat);
    view.viewLon = degreesToRadians(row.lon);
    view.viewLat = degreesToRadians(row.lat);
    view.roll = degreesToRadians(row.roll);
    view.focalScale = row.focalScale;
    return view;
}

void setDefaultConViews(ConViewArray& views) {
    for (int i = 0; i < kConstellationCount; ++i) views[i] = defaultConView(i);
}

void storeView(ConView& saved, const SkyView& view, const Shift& shift) {
    saved.viewLon = float(view.centerLon);
    saved.viewLat = float(view.centerLat);
    saved.roll = float(view.roll);
    saved.focalScale = float(view.focalScale);
    saved.shiftLon = shift.lon;
    saved.shiftLat = shift.lat;
}

void applyView(const ConView& saved, SkyView& view, Shift& shift) {
    view.centerLon = saved.viewLon;
    view.centerLat = saved.viewLat;
    view.roll = saved.roll;
    view.focalScale = saved.focalScale;
    shift.lon = saved.shiftLon;
    shift.lat = saved.shiftLat;
}

const Constellation* currentConstellation() {
    const AncientCatalog* edition = currentEdition(theApp.catalogs);
    return edition ? &edition->constellations[theApp.constellation] : nullptr;
}

bool catalogsLoaded() { return theApp.reference && currentConstellation(); }

RenderRequest makeRenderRequest() {
    RenderRequest request{};
    request.refStars = theApp.reference ? theApp.reference->stars : nullptr;
    request.constellation = currentConstellation();
    request.lonOffset = theApp.epoch.offsetLon + theApp.shift.lon;
    request.latOffset = theApp.epoch.offsetLat + theApp.shift.lat;
    request.view = &theApp.view;
    request.displayFlags = theApp.displayFlags;
    request.epoch = theApp.epoch.epoch;
    request.editionCaption = currentEditionName(theApp.catalogs).c_str();
    return request;
}
