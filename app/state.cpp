#include "app/state.h"

#include <cmath>

#include "app/platform_services.h"

namespace {

// Ratios a screen can have; anything else is taken as 1.
constexpr double kSmallestDevicePixelRatio = 0.25;
constexpr double kLargestDevicePixelRatio = 8.0;

}  // namespace

AppState theApp;

void resetAppState() { theApp = AppState(); }

ScreenRect defaultWindowRect(const ScreenRect& workArea) {
    ScreenRect rect = workArea;
    rect.right -= (workArea.right - workArea.left) / 8;
    rect.bottom -= (workArea.bottom - workArea.top) / 8;
    return rect;
}

void setDefaultConViews(ConViewArray& views) {
    for (int i = 0; i < kConstellationCount; ++i) views[i] = defaultConView(i);
}

void storeView(ConView& saved, const SkyView& view, const Shift& shift) {
    storeConView(view, saved);
    saved.shiftLon = shift.lon;
    saved.shiftLat = shift.lat;
}

void applyView(const ConView& saved, SkyView& view, Shift& shift) {
    applyConView(saved, view);
    shift.lon = saved.shiftLon;
    shift.lat = saved.shiftLat;
}

Constellation* currentConstellation() {
    int slot = theApp.catalogs.current;
    if (slot < 0 || slot >= kEditionSlotCount) return nullptr;
    AncientCatalog* edition = theApp.catalogs.slots[slot].get();
    return edition ? &edition->constellations[theApp.constellation] : nullptr;
}

bool catalogsLoaded() { return theApp.reference && currentConstellation(); }

RenderRequest makeRenderRequest() {
    RenderRequest request{};
    request.refStars = theApp.reference.get();
    request.constellation = currentConstellation();
    request.lonOffset = theApp.epoch.offsetLon + theApp.shift.lon;
    request.latOffset = theApp.epoch.offsetLat + theApp.shift.lat;
    request.view = &theApp.view;
    request.displayFlags = theApp.displayFlags;
    request.epoch = theApp.epoch.epoch;
    request.editionCaption = currentEditionName(theApp.catalogs).c_str();
    request.devicePixelRatio = theApp.devicePixelRatio;
    request.highlighted = theApp.find.ringShown;
    request.highlightDir = theApp.find.ringDirection;
    return request;
}

double usableDevicePixelRatio(double ratio) {
    return ratio >= kSmallestDevicePixelRatio && ratio <= kLargestDevicePixelRatio ? ratio : 1.0;
}

DevicePixel devicePixelAt(int x, int y) {
    const double ratio = theApp.devicePixelRatio;
    return {int(std::floor((x + 0.5) * ratio)), int(std::floor((y + 0.5) * ratio))};
}

int deviceLength(int windowLength) { return deviceLengthAt(windowLength, theApp.devicePixelRatio); }

namespace {

void presentFrame(void*, const FrameBuffer& frame) { platformPresentFrame(frame); }
void measureText(void*, const char* text, int* width, int* height) {
    platformMeasureText(text, *width, *height);
}
void drawLabel(void*, int x, int y, const char* text, Color color) {
    platformDrawText(x, y, text, color, false);
}

}  // namespace

FrameOutput platformFrameOutput() {
    FrameOutput output;
    output.present = presentFrame;
    output.measureText = measureText;
    output.drawText = drawLabel;
    return output;
}
