#include "app/navigation.h"

#include "app/commands.h"
#include "app/platform_services.h"
#include "app/shell.h"
#include "app/state.h"
#include "geometry/vectors.h"

namespace {

// Arrow steps in degrees: view mode, then shift mode, each without and with the Shift key.
constexpr double kViewStep = 1;
constexpr double kViewStepLarge = 10;
constexpr double kShiftStep = 0.1;
constexpr double kShiftStepLarge = 1;

float stepRadians(double degrees) { return float(degrees * kDegToRad); }

void moveView(int virtualKey) {
    double step = stepRadians(platformShiftDown() ? kViewStepLarge : kViewStep);
    bool control = platformControlDown();
    switch (virtualKey) {
        case KeyLeft: control ? adjustView(AdjustRoll, -step) : adjustView(AdjustLongitude, step); break;
        case KeyRight: control ? adjustView(AdjustRoll, step) : adjustView(AdjustLongitude, -step); break;
        case KeyUp: if (!control) adjustView(AdjustLatitude, step); break;
        case KeyDown: if (!control) adjustView(AdjustLatitude, -step); break;
    }
}

void moveShift(int virtualKey) {
    float step = stepRadians(platformShiftDown() ? kShiftStepLarge : kShiftStep);
    switch (virtualKey) {
        case KeyLeft: adjustShift(ShiftLongitude, step); break;
        case KeyRight: adjustShift(ShiftLongitude, -step); break;
        case KeyUp: adjustShift(ShiftLatitude, step); break;
        case KeyDown: adjustShift(ShiftLatitude, -step); break;
    }
}

}  // namespace

void keyDown(int virtualKey) {
    switch (virtualKey) {
        case KeyEscape: platformCloseMainWindow(); break;
        case KeyPageUp: selectConstellation(theApp.constellation - 1); break;
        case KeyPageDown: selectConstellation(theApp.constellation + 1); break;
        case KeyF1: selectEdition(1); break;
        case KeyF2: selectEdition(2); break;
        case KeyF3: selectEdition(3); break;
        case KeyLeft:
        case KeyRight:
        case KeyUp:
        case KeyDown:
            if (theApp.arrowMode == ArrowsMoveShift)
                moveShift(virtualKey);
            else
                moveView(virtualKey);
            break;
    }
}

void adjustView(int kind, double amount) {
    SkyView& view = theApp.view;
    switch (kind) {
        case AdjustLongitude: view.centerLon = floorMod(view.centerLon + amount, kTwoPi); break;
        case AdjustLatitude: view.centerLat += amount; break;
        case AdjustRoll: view.roll += amount; break;
        case AdjustFocalScale: view.focalScale *= amount; break;
        default: return;
    }
    viewUpdate(view);
    platformRepaint();
}

void adjustShift(int kind, float amount) {
    switch (kind) {
        case ShiftLongitude: theApp.shift.lon += amount; break;
        case ShiftLatitude: theApp.shift.lat += amount; break;
        default: return;
    }
    platformRepaint();
}

void selectConstellation(int index) {
    storeView(theApp.conViews[theApp.constellation], theApp.view, theApp.shift);
    if (index < 0) index = kConstellationCount - 1;
    if (index >= kConstellationCount) index = 0;
    theApp.constellation = index;
    applyView(theApp.conViews[index], theApp.view, theApp.shift);
    viewUpdate(theApp.view);
    platformRepaint();
}

void selectEdition(int slot) {
    if (slot < 1 || slot > kEditionSlotCount) return;
    theApp.catalogs.current = slot - 1;
    platformRepaint();
    refreshNearestStars();
}

void defaultView() {
    ConView defaults = defaultConView(theApp.constellation);
    Shift keep = theApp.shift;
    applyView(defaults, theApp.view, keep);
    theApp.arrowMode = ArrowsMoveView;
    viewUpdate(theApp.view);
    platformRepaint();
}

void defaultShift() {
    ConView defaults = defaultConView(theApp.constellation);
    theApp.shift = {defaults.shiftLon, defaults.shiftLat};
    theApp.arrowMode = ArrowsMoveShift;
    platformRepaint();
}

void zeroShift() {
    theApp.shift = {};
    theApp.arrowMode = ArrowsMoveShift;
    platformRepaint();
}
