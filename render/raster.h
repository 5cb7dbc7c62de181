// Raster primitives: anti-aliased discs, rings and lines drawn by coverage into the frame buffer,
// the star symbols built on them, and the frame-buffer sinks the sky-layer walkers draw through.
// Star dots blend additively (close stars brighten each other); rings and lines by per-channel
// maximum (crossings never brighten). Called by the sky layers while painting.
#pragma once

#include "catalog/catalog.h"
#include "render/colors.h"
#include "render/frame.h"

// Display elements, one bit per key 1 to 6.
enum DisplayFlag {
    FlagStars = 0x01,           // reference stars as coloured dots
    FlagCircles = 0x02,         // ancient stars as circles instead of white dots
    FlagNumbers = 0x04,         // ancient star numbers
    FlagIdLines = 0x08,         // ancient star to its identified reference star
    FlagEclipticGrid = 0x10,
    FlagEquatorialGrid = 0x20,  // also switches the cursor readout to equatorial coordinates
};
constexpr int kDefaultDisplayFlags = 0x1F;

struct ScreenPoint {
    double x, y;
};

// Callbacks of the walkers: the frame sinks below on screen, pen drawing when printing.
using LineSink = void (*)(void* context, double x0, double y0, double x1, double y1);
using PolylineSink = void (*)(void* context, const ScreenPoint* points, int count);

// What the primitives draw into and read their colours from.
struct RasterTarget {
    FrameBuffer* frame;
    const StarColors* starColors;
    const ColorTable* colors;  // entry ColorCurrentLine colours the grid polylines
    // Device pixels per window pixel: dots, lines and rings grow by it, their anti-aliased
    // edges do not (see drawLine).
    double devicePixelRatio = 1;
};

using PlotFn = void (*)(FrameBuffer& frame, int x, int y, Color color, double coverage);

constexpr Color kIdLineColor = makeColor(64, 96, 64);

Color scaleColor(Color color, double k);
Color addColors(Color a, Color b);
Color maxColors(Color a, Color b);

void plotAdd(FrameBuffer& frame, int x, int y, Color color, double coverage);
void plotMax(FrameBuffer& frame, int x, int y, Color color, double coverage);

// Rings and lines are drawn `devicePixelRatio` times as wide as on a screen of ratio 1, whose
// shapes they keep exactly at 1: the full-colour core widens while the fade at each edge keeps
// its width in device pixels (1.5 for lines, 1.6 for rings), so edges stay as sharp.
void drawDisc(FrameBuffer& frame, double cx, double cy, double r, Color color, PlotFn plot);
void drawRing(FrameBuffer& frame, double cx, double cy, double r, Color color,
              double devicePixelRatio = 1);
void drawLine(FrameBuffer& frame, double x0, double y0, double x1, double y1, Color color,
              PlotFn plot, double devicePixelRatio = 1);

Color ancientCircleColor(float magnitude);
void drawStarDot(RasterTarget& target, float x, float y, float magnitude, int entry);
void drawReferenceStar(RasterTarget& target, const ReferenceStar& star);
void drawAncientStar(RasterTarget& target, const AncientStar& star, int displayFlags,
                     double circleRadius);

// Sinks for the walkers; the context is a RasterTarget.
void frameLineSink(void* target, double x0, double y0, double x1, double y1);
void framePolylineSink(void* target, const ScreenPoint* points, int count);
