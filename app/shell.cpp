#include "app/shell.h"

#include "app/commands.h"
#include "app/identifications.h"
#include "app/find.h"
#include "app/navigation.h"
#include "app/printing.h"
#include "app/startup.h"
#include "app/state.h"
#include "app/statistics_window.h"
#include "app/status_text.h"
#include "catalog/locator.h"

bool shellStart() { return startUp(executablePath()); }

ScreenRect shellWindowRect() { return theApp.windowRect; }

// The platform builds the popup menu from its table when it creates the window.
void onCreate() {}

// The frame and the view take the client area in device pixels, so the sky is drawn as sharp as
// the screen shows it.
void onSize(int width, int height) {
    theApp.devicePixelRatio = usableDevicePixelRatio(platformDevicePixelRatio());
    const int deviceWidth = deviceLength(width), deviceHeight = deviceLength(height);
    frameResize(theApp.frame, deviceWidth, deviceHeight);
    theApp.view.width = deviceWidth;
    theApp.view.height = deviceHeight;
    viewUpdate(theApp.view);
}

void onPaint() {
    // A page being printed holds its own positions in the stars' screen fields; the job repaints
    // the window when it ends.
    if (printJobRunning()) return;
    if (catalogsLoaded()) {
        RenderRequest request = makeRenderRequest();
        renderFrame(request, theApp.frame, theApp.colors, theApp.starColors, platformFrameOutput());
        refreshStatisticsWindow();
    }
    refreshWindowTitle();
    drawStatusLine();
}

// A key or click in the window ends the ring round the star Find went to, before it acts.
void onKeyDown(int virtualKey) {
    endFindHighlight();
    keyDown(virtualKey);
}
void onCharacter(int code) {
    endFindHighlight();
    characterCommand(code);
}
void onCommand(int command) { menuCommand(command); }
void onMouseMove(int x, int y) {
    const DevicePixel pixel = devicePixelAt(x, y);
    drawCursorCoordinates(pixel.x, pixel.y);
}
void onLeftButtonDown(int x, int y) {
    endFindHighlight();
    queryNearestStars(x, y);
}
void onRightButtonDown(int x, int y) {
    endFindHighlight();
    showPopupMenu(x, y);
}
bool onQueryClose() { return mayCloseWithChanges(); }
void onDestroy(const ScreenRect& outerRect) { shutDown(outerRect); }
