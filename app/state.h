// The application state: the one record of everything the shell keeps for the run (current
// constellation and edition, display flags, arrow mode, the main window's view and shift, the
// epoch, the saved view of every constellation, colours, the catalogues, the frame buffer and
// the settings path), its single instance `theApp`, and the operations on it shared by the
// shell's modules: storing and applying a constellation's saved view and filling the request the
// renderer draws from. The shell's handlers, commands, navigation and settings use it.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "app/default_views.h"
#include "app/identifications.h"
#include "app/find.h"
#include "app/nearest_window.h"
#include "app/platform_services.h"
#include "app/statistics_window.h"
#include "catalog/catalog.h"
#include "geometry/view.h"
#include "render/colors.h"
#include "render/frame.h"
#include "render/raster.h"
#include "render/sky_layers.h"

// Offset the arrow keys add to the ancient positions, radians.
struct Shift {
    float lon = 0, lat = 0;
};

using ConViewArray = std::array<ConView, kConstellationCount>;

// What the arrow keys move.
enum ArrowMode {
    ArrowsMoveView = 0,
    ArrowsMoveShift = 1,
};

constexpr int kCustomColorCount = 16;

// What the nearest-stars window lists: the last click, in the main window's client pixels, and
// the coordinates its positions are given in. Whether the window is open only the platform knows
// (the user closes it there), so the shell asks it.
struct NearestStarsState {
    int clickX = 0, clickY = 0;
    NearestStarsMode mode;
};

struct AppState {
    int constellation = 0;  // 0..47, index into the constellation table
    CatalogSet catalogs;    // the three editions; slot 1 (index 0) current at start
    int displayFlags = kDefaultDisplayFlags;
    int arrowMode = ArrowsMoveView;
    double devicePixelRatio = 1;  // device pixels per window pixel
    SkyView view{};  // the main window's view; its width and height are device pixels
    Shift shift;
    EpochSetting epoch;
    ConViewArray conViews{};
    NearestStarsState nearestStars;
    StatisticsState statistics;
    IdentificationState identifications;
    FindState find;  // the ring round the star Find went to
    ColorTable colors;
    StarColors starColors;
    std::unique_ptr<ReferenceCatalog> reference;  // large: kept on the heap
    FrameBuffer frame;
    std::string settingsPath;
    ScreenRect windowRect = {};  // where the main window is created
    Color customColors[kCustomColorCount] = {};  // the colour chooser's, kept for the run
    std::string lastOpenDir;  // of the open-file dialog, with its trailing separator
    std::string executablePath;  // data files are looked for beside it after the working folder
};

extern AppState theApp;

// Back to the state before start-up (the catalogues unloaded).
void resetAppState();

// The work area less an eighth of its width at the right and of its height at the bottom.
ScreenRect defaultWindowRect(const ScreenRect& workArea);

void setDefaultConViews(ConViewArray& views);
// Narrows the view's centre, roll and focal scale into the record and copies the shift.
void storeView(ConView& saved, const SkyView& view, const Shift& shift);
// Widens the record into the view and sets the shift; the caller runs viewUpdate afterwards.
void applyView(const ConView& saved, SkyView& view, Shift& shift);

// The current constellation of the current edition; nullptr before the editions are loaded.
Constellation* currentConstellation();
// True once the reference catalogue and the current edition are there to be drawn.
bool catalogsLoaded();

RenderRequest makeRenderRequest();

// A pixel of the frame and the view: the shell keeps its drawing in device pixels.
struct DevicePixel {
    int x, y;
};
// The device pixel under the middle of the window pixel (x, y). Window events and the cursor
// come in window pixels.
DevicePixel devicePixelAt(int x, int y);
// A length of the window in device pixels at the window's ratio (deviceLengthAt).
int deviceLength(int windowLength);
// The ratio a window reports, or 1 where it is no usable ratio.
double usableDevicePixelRatio(double ratio);
// The platform's frame blit and label-font text, for the renderer.
FrameOutput platformFrameOutput();
