// Sky layers: turns one RenderRequest into a picture. Projects both catalogues through the view,
// clears the frame, draws the enabled layers bottom to top (ecliptic grid, equatorial grid,
// identification lines, ancient stars, reference stars, the ring round a star Find went to),
// presents the frame and writes the star numbers over it through the platform's text calls. The
// grid and identification-line walkers compute geometry only and hand clipped lines to sinks, so
// printing drives the same walkers with pen-drawing sinks. Called by the shell's paint handler,
// the snapshot tool and printing.
#pragma once

#include "catalog/catalog.h"
#include "geometry/view.h"
#include "render/colors.h"
#include "render/frame.h"
#include "render/raster.h"

// What one frame shows, filled from the application state for every paint and every print.
struct RenderRequest {
    ReferenceCatalog* refStars = nullptr;    // all reference stars and their number index
    Constellation* constellation = nullptr;  // current constellation of the current edition
    float lonOffset = 0;  // radians: epoch-setting offset plus the constellation's shift
    float latOffset = 0;
    const SkyView* view = nullptr;
    int displayFlags = kDefaultDisplayFlags;
    double epoch = 0;  // Julian Date whose equator the equatorial grid shows
    const char* editionCaption = nullptr;  // for the status lines; the frame does not use it
    // Device pixels per window pixel. The view's width and height are in device pixels (so are
    // its pixelsPerDegree, the circles' radius and the labels' offsets); dots, lines and rings
    // grow by this ratio, keeping their size on the screen. Printing draws without it.
    double devicePixelRatio = 1;
    // A star Find went to: a ring round this direction (the stars' frame), over every other
    // layer. None unless `highlighted`.
    bool highlighted = false;
    Vector3 highlightDir = {};
};

// A length of a window in device pixels at a ratio, rounded to the nearest (halves up): the
// frame's size for a window's client area.
int deviceLengthAt(int windowLength, double devicePixelRatio);

// The two steps of a frame that need the platform: showing the finished frame buffer and
// writing text in the label font. A null callback skips its step.
struct FrameOutput {
    void* context = nullptr;
    void (*present)(void* context, const FrameBuffer& frame) = nullptr;
    void (*measureText)(void* context, const char* text, int* width, int* height) = nullptr;
    // Draws text with its top-left corner at (x, y), transparent background.
    void (*drawText)(void* context, int x, int y, const char* text, Color color) = nullptr;
};

// The display flags after pressing key n: 1..6 flip bit n - 1, anything else changes nothing.
int toggledDisplayFlags(int flags, int n);
// Ancient stars are drawn unless reference stars are on while circles are off.
bool ancientStarsShown(int flags);

// The stars the constellation holds, never more than its record array has.
int storedStarCount(const Constellation& constellation);

// Projects a star's direction: always writes a screen position for this view, so lines and
// labels never read one left from another frame; behind the viewer it is the position continued
// past the horizon, which still points the right way from the centre. Returns the visible flag.
int projectStar(const SkyView& view, const Vector3& dir, float& screenX, float& screenY);

// Each ancient star's shifted longitude, latitude and direction from its catalogue values.
void placeAncientStars(Constellation& constellation, float lonOffset, float latOffset);
// Screen fields of every reference star and of the constellation's ancient stars.
void projectCatalogs(Constellation& constellation, ReferenceCatalog& refStars,
                     const SkyView& view, float lonOffset, float latOffset);

// The rectangle [0, xMax] x [0, yMax] that the walkers clip to.
struct ClipRect {
    double xMax, yMax;
};

// Where the ray from (x0, y0) in direction (dx, dy) meets the rectangle's border; for a start
// inside the rectangle, where the ray leaves it.
ScreenPoint clipRayToFrame(const ClipRect& clip, double x0, double y0, double dx, double dy);

constexpr int kGridSampleCount = 360;  // one per degree of a parallel
constexpr int kGridPointCapacity = kGridSampleCount + 1;  // a closed parallel repeats its start

struct GridSample {
    Vector3 projected;  // z > 0: in front of the viewer
    float x, y;         // screen position, written whenever in front of the viewer
    int onScreen;       // inside the clip rectangle
};

// State of one grid walk: fixed storage, set up on entry to each walk, so that drawing a grid
// allocates nothing. The caller owns it (a frame keeps one on its stack).
struct GridWalker {
    const SkyView* view;
    ClipRect clip;
    PolylineSink sink;
    void* sinkContext;
    GridSample samples[kGridSampleCount];
    ScreenPoint points[kGridPointCapacity];
};

// Joins samples 0..last into polylines, clipped where a line enters or leaves the rectangle, and
// hands each to the sink; sample `last` wraps to last mod `modulus` (closing a parallel).
void traceSamples(GridWalker& walker, int last, int modulus);

// The grids: 24 meridians every 15 degrees and 11 parallels every 15 degrees from +75 to -75,
// sampled at whole degrees, projected through `view` and clipped to [0, xMax] x [0, yMax]. On
// screen both are a view one pixel narrower and lower than the frame's, so the grids end on the
// last pixel column and row; printing uses its full frame.
void walkEclipticGrid(GridWalker& walker, const SkyView& view, double xMax, double yMax,
                      PolylineSink sink, void* context);
// The same in right ascension and declination of the epoch `jd`.
void walkEquatorialGrid(GridWalker& walker, const SkyView& view, double xMax, double yMax,
                        double jd, PolylineSink sink, void* context);

// One line from each on-screen ancient star to its identified reference star, ending on the
// border of [0, xMax] x [0, yMax] where the reference star is off the screen.
void walkIdLines(const Constellation& constellation, const ReferenceCatalog& refStars,
                 double xMax, double yMax, LineSink sink, void* context);

// Where a star's number goes: x is its left edge, y less the text height its top.
ScreenPoint labelAnchor(const AncientStar& star, const ReferenceCatalog& refStars,
                        int displayFlags, double textWidth, double textHeight,
                        double circleRadius);

// The numbers layer, over the presented frame; does nothing unless FlagNumbers is set.
void drawStarNumbers(const FrameOutput& output, const Constellation& constellation,
                     const ReferenceCatalog& refStars, int displayFlags, double circleRadius,
                     Color textColor);

// The ring round a found star: its radius in device pixels for a view and ratio (the larger of
// a fixed size on the screen and a share of the ancient stars' circles), and its colour.
constexpr double kHighlightRingPixels = 12;    // window pixels
constexpr double kHighlightRingCircles = 1.6;  // times the ancient stars' circle radius
constexpr Color kHighlightRingColor = makeColor(255, 210, 40);
double highlightRingRadius(const SkyView& view, double devicePixelRatio);

// One whole frame. `frame` must already have the view's size; the grid colours come from
// `colors`, whose working entry ColorCurrentLine is set to each grid's colour in turn.
void renderFrame(const RenderRequest& request, FrameBuffer& frame, ColorTable& colors,
                 const StarColors& starColors, const FrameOutput& output);
