#include "app/nearest_window.h"

#include <string>

#include "app/state.h"
#include "geometry/nearest_stars.h"

constexpr int kClickGap = 2;  // pixels between the click and the window's nearer corner

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
    std::string list;
    bool found = buildNearestStarsList(query.mode, *constellation, theApp.reference->stars,
                                       kReferenceStarCount, query.clickX, query.clickY, radius,
                                       list);
    const char* title = nearestStarsTitle(query.mode);
    if (!found) {
        if (open) platformNearestStarsShow(title, kNoStarsText, query.clickX, query.clickY);
        return 0;
    }
    platformNearestStarsShow(title, list.c_str(), query.clickX, query.clickY);
    return 1;
}

ScreenRect placeNearClick(int x, int y, int width, int height, const ScreenRect& workArea) {
    int left = x + kClickGap, top = y + kClickGap;
    if (left + width > workArea.right) left -= width + 2 * kClickGap;
    if (top + height > workArea.bottom) top -= height + 2 * kClickGap;
    return ScreenRect{left, top, left + width, top + height};
}
