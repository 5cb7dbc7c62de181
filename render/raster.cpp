#include "render/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Disc rim: coverage ramps from 1 to 0 over one pixel centred on the radius.
constexpr double kDiscRimHalfWidth = 0.5;
constexpr double kDiscReachMargin = 1e-9;

// Device pixel ratios outside this range are held at its ends (an unusable one counts as 1), so
// that a broken ratio can neither blow a line up to the whole frame nor make it vanish.
constexpr double kSmallestRatio = 0.5;
constexpr double kLargestRatio = 8.0;

// Ring profile: a triangle of this half-width, 1 on the exact circle.
constexpr double kRingHalfWidth = 1.6;
constexpr double kRingSlope = 0.625;  // 1 / kRingHalfWidth
// Pixels whose |ex| + |ey| lies this far inside the radius are taken as interior.
constexpr double kRingInteriorMargin = 1.0;

// Lines fade to nothing this far from their axis; shorter lines are not drawn.
constexpr double kLineReach = 1.5;
constexpr double kShortestLine = 0.5;
// Rounded line ends are held within this range before they become integers, so that a huge
// coordinate cannot overflow the conversion; the step terms stay exact far beyond any screen.
constexpr double kLineEndLimit = 4503599627370496.0;  // 2^52

// Star dots: radius 0.5 at full colour for magnitude 5, half a pixel more per brighter
// magnitude; fainter dots keep radius 0.5 and dim by (5 - 3.75) / (m - 3.75).
constexpr double kFullDotMagnitude = 5.0;
constexpr double kSmallestDotRadius = 0.5;
constexpr double kDotRadiusPerMagnitude = 0.5;
constexpr double kDimmingPole = 3.75;

// Ancient-star circles: grey scaled by (8 - m) / 6.5; the nebulous code gets a fixed blue.
constexpr Color kCircleGrey = makeColor(160, 160, 160);
constexpr double kCircleBrightnessBase = 8.0;
constexpr double kCircleBrightnessScale = 6.5;
constexpr double kFaintestGreyCircle = 6.5;
constexpr Color kNebulousCircleColor = makeColor(36, 48, 80);

int scaledChannel(int channel, double k) {
    double v = channel * k + 0.5;
    if (!(v >= 1.0)) return 0;  // truncates to 0 or below; also NaN
    if (v >= 255.0) return 255;
    return int(v);
}

bool allFinite(double a, double b, double c) {
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c);
}

// One axis of the square scanned by discs and rings: centre pixel p = (c + 0.5) truncated,
// offsets -n .. n with n = ceil(r) + 1, limited to the pixels 0 .. size - 1. Kept in doubles
// until limited, so a huge centre or radius never reaches an integer conversion. False when
// no pixel of the frame lies in it.
bool squareSpan(double c, double r, int size, int& first, int& last) {
    double centre = std::trunc(c + 0.5);
    double n = std::ceil(r) + 1.0;
    double lo = std::max(centre - n, 0.0);
    double hi = std::min(centre + n, double(size) - 1.0);
    if (!(lo <= hi)) return false;
    first = int(lo);
    last = int(hi);
    return true;
}

// A column bound computed in doubles, limited to [lo, hi] before it becomes an int.
int limitColumn(double v, int lo, int hi) {
    if (!(v > lo)) return lo;  // also NaN
    if (v >= hi) return hi;
    return int(v);
}

double usableRatio(double ratio) {
    if (!std::isfinite(ratio)) return 1.0;
    return std::clamp(ratio, kSmallestRatio, kLargestRatio);
}

// Half the width a shape gains at a device pixel ratio: its profile is split at the peak and the
// halves moved apart, leaving a full-colour core of twice this width between them (none at 1).
double coreHalfWidth(double fadeWidth, double ratio) { return fadeWidth * 0.5 * (ratio - 1.0); }

// `core` is the ring's full-colour half-width (coreHalfWidth).
double ringCoverage(double ex, double ey, double r, double core) {
    if (r - (kRingInteriorMargin + core) > std::fabs(ex) + std::fabs(ey)) return 0.0;
    double g = std::fabs(std::sqrt(ex * ex + ey * ey) - r);
    double reach = core + kRingHalfWidth;
    return g < reach ? std::min((reach - g) * kRingSlope, 1.0) : 0.0;
}

int64_t roundLineEnd(double v) {
    return int64_t(std::clamp(v + 0.5, -kLineEndLimit, kLineEndLimit));
}

int limitToFrame(int64_t v, int size) { return int(std::clamp<int64_t>(v, 0, size - 1)); }

}  // namespace

Color scaleColor(Color color, double k) {
    return makeColor(scaledChannel(colorRed(color), k), scaledChannel(colorGreen(color), k),
                     scaledChannel(colorBlue(color), k));
}

Color addColors(Color a, Color b) {
    return makeColor(std::min(colorRed(a) + colorRed(b), 255),
                     std::min(colorGreen(a) + colorGreen(b), 255),
                     std::min(colorBlue(a) + colorBlue(b), 255));
}

Color maxColors(Color a, Color b) {
    return makeColor(std::max(colorRed(a), colorRed(b)), std::max(colorGreen(a), colorGreen(b)),
                     std::max(colorBlue(a), colorBlue(b)));
}

void plotAdd(FrameBuffer& frame, int x, int y, Color color, double coverage) {
    framePutPixel(frame, x, y, addColors(frameGetPixel(frame, x, y), scaleColor(color, coverage)));
}

void plotMax(FrameBuffer& frame, int x, int y, Color color, double coverage) {
    framePutPixel(frame, x, y, maxColors(frameGetPixel(frame, x, y), scaleColor(color, coverage)));
}

void drawDisc(FrameBuffer& frame, double cx, double cy, double r, Color color, PlotFn plot) {
    if (!plot || !allFinite(cx, cy, r)) return;
    // Pixel centres beyond the rim's outer end, with a margin far above the rounding of the
    // distance, are passed over without a square root.
    double reach = r + kDiscRimHalfWidth + kDiscReachMargin * (1.0 + std::fabs(r));
    if (!(reach > 0)) return;
    double reachSq = reach * reach;
    int x0, x1, y0, y1;
    if (!squareSpan(cx, r, frame.width, x0, x1) || !squareSpan(cy, r, frame.height, y0, y1))
        return;
    for (int y = y0; y <= y1; ++y) {
        double ey = (y + 0.5) - cy;
        for (int x = x0; x <= x1; ++x) {
            double ex = (x + 0.5) - cx;
            double dSq = ex * ex + ey * ey;
            if (dSq > reachSq) continue;
            double t = std::sqrt(dSq) - r;
            double coverage = t < -kDiscRimHalfWidth  ? 1.0
                              : t > kDiscRimHalfWidth ? 0.0
                                                      : kDiscRimHalfWidth - t;
            if (coverage > 0) plot(frame, x, y, color, coverage);
        }
    }
}

void drawRing(FrameBuffer& frame, double cx, double cy, double r, Color color,
              double devicePixelRatio) {
    if (!allFinite(cx, cy, r)) return;
    const double core = coreHalfWidth(kRingHalfWidth, usableRatio(devicePixelRatio));
    double outer = r + core + kRingHalfWidth;  // no pixel at this distance or beyond is lit
    double inner = r - core - kRingHalfWidth;  // nor any pixel nearer than this
    if (!(outer > 0)) return;
    // The square reaches as far beyond the radius as at ratio 1, plus the core.
    const double span = r + std::max(core, 0.0);
    int x0, x1, y0, y1;
    if (!squareSpan(cx, span, frame.width, x0, x1) || !squareSpan(cy, span, frame.height, y0, y1))
        return;
    // Each row is scanned only where the annulus can reach, widened by a pixel on every side,
    // so large circles cost their circumference rather than their area; the pixels visited
    // still get the full coverage test.
    for (int y = y0; y <= y1; ++y) {
        double ey = cy - (y + 0.5);
        double outerSq = outer * outer - ey * ey;
        if (!(outerSq > 0)) continue;
        double reach = std::sqrt(outerSq);
        int first = limitColumn(std::floor(cx - 0.5 - reach) - 1.0, x0, x1);
        int last = limitColumn(std::ceil(cx - 0.5 + reach) + 1.0, x0, x1);
        // Columns surely nearer than the inner edge form a gap that is not visited.
        int gapFirst = last + 1, gapLast = last;
        double innerSq = inner > 0 ? inner * inner - ey * ey : 0.0;
        if (innerSq > 0) {
            double hole = std::sqrt(innerSq);
            double a = std::ceil(cx - 0.5 - hole) + 1.0, b = std::floor(cx - 0.5 + hole) - 1.0;
            if (a <= b) {
                gapFirst = limitColumn(a, first, last + 1);
                gapLast = limitColumn(b, first - 1, last);
            }
        }
        auto scan = [&](int from, int to) {
            for (int x = from; x <= to; ++x) {
                double coverage = ringCoverage(cx - (x + 0.5), ey, r, core);
                if (coverage > 0) plotMax(frame, x, y, color, coverage);
            }
        };
        if (gapFirst <= gapLast) {
            scan(first, gapFirst - 1);
            scan(gapLast + 1, last);
        } else {
            scan(first, last);
        }
    }
}

namespace {

// The line's walk, with the blend inlined where it is known (plotMax for every grid and
// identification line, the bulk of a frame's pixels).
template <typename Plot>
void walkLine(FrameBuffer& frame, double x0, double y0, double x1, double y1, Color color,
              Plot plot, double devicePixelRatio) {
    if (frame.width <= 0 || frame.height <= 0) return;
    double dx = x1 - x0, dy = y1 - y0;
    double len = std::sqrt(dx * dx + dy * dy);
    if (!(len >= kShortestLine) || !std::isfinite(len)) return;  // short, NaN or unbounded

    int64_t ix0 = roundLineEnd(x0), iy0 = roundLineEnd(y0);
    int64_t ix1 = roundLineEnd(x1), iy1 = roundLineEnd(y1);
    int64_t ddx = ix1 - ix0, ddy = iy1 - iy0;
    int64_t ax = 2 * std::abs(ddx), ay = 2 * std::abs(ddy);
    int sx = ddx >= 0 ? 1 : -1, sy = ddy >= 0 ? 1 : -1;
    // The walk runs between the ends limited to the frame; the step terms keep the unlimited
    // ends, and limiting keeps their order, so the walk always reaches its last pixel.
    int x = limitToFrame(ix0, frame.width), y = limitToFrame(iy0, frame.height);
    int xEnd = limitToFrame(ix1, frame.width), yEnd = limitToFrame(iy1, frame.height);

    // Coverage from the distance of the integer point to the infinite line through the ends:
    // full over the core, then falling to nothing over kLineReach.
    const double core = coreHalfWidth(kLineReach, usableRatio(devicePixelRatio));
    const double reach = core + kLineReach;
    auto plotAt = [&](int px, int py) {
        double dist = std::fabs((y0 - py) * dx - (x0 - px) * dy) / len;
        double coverage = std::min((reach - dist) / kLineReach, 1.0);
        if (coverage > 0) plot(frame, px, py, color, coverage);
    };
    // Pixels on each side of the walked one: those nearer than the reach, measured across an
    // axis-parallel line (one at ratio 1, three pixels in all).
    const int across = std::max(1, int(std::ceil(reach)) - 1);

    if (ay < ax) {  // mostly horizontal: pixels down each column
        int64_t err = ay - std::abs(ddx);
        for (;;) {
            plotAt(x, y);
            for (int k = 1; k <= across; ++k) {
                if (y + k < frame.height) plotAt(x, y + k);
                if (y - k >= 0) plotAt(x, y - k);
            }
            if (x == xEnd) break;
            if (err >= 0) {
                y += sy;
                err -= ax;
            }
            x += sx;
            err += ay;
        }
    } else {  // mostly vertical: pixels along each row
        int64_t err = ax - std::abs(ddy);
        for (;;) {
            plotAt(x, y);
            for (int k = 1; k <= across; ++k) {
                if (x + k < frame.width) plotAt(x + k, y);
                if (x - k >= 0) plotAt(x - k, y);
            }
            if (y == yEnd) break;
            if (err >= 0) {
                x += sx;
                err -= ay;
            }
            y += sy;
            err += ax;
        }
    }
}

}  // namespace

void drawLine(FrameBuffer& frame, double x0, double y0, double x1, double y1, Color color,
              PlotFn plot, double devicePixelRatio) {
    if (!plot) return;
    if (plot == plotMax) {
        auto blend = [](FrameBuffer& f, int x, int y, Color c, double k) {
            plotMax(f, x, y, c, k);
        };
        walkLine(frame, x0, y0, x1, y1, color, blend, devicePixelRatio);
    } else {
        walkLine(frame, x0, y0, x1, y1, color, plot, devicePixelRatio);
    }
}

Color ancientCircleColor(float magnitude) {
    if (magnitude > kFaintestGreyCircle) return kNebulousCircleColor;
    return scaleColor(kCircleGrey, (kCircleBrightnessBase - magnitude) / kCircleBrightnessScale);
}

void drawStarDot(RasterTarget& target, float x, float y, float magnitude, int entry) {
    if (!target.frame || !target.starColors) return;
    if (entry < 0 || entry >= kStarColorCount) entry = 0;  // unknown colour: white
    Color color = target.starColors->entries[entry];
    // A dot keeps its size on the screen: its radius is in window pixels, its rim in device ones.
    const double ratio = usableRatio(target.devicePixelRatio);
    double m = magnitude;
    if (m > kFullDotMagnitude) {
        double dimming = (kFullDotMagnitude - kDimmingPole) / (m - kDimmingPole);
        drawDisc(*target.frame, x, y, kSmallestDotRadius * ratio, scaleColor(color, dimming),
                 plotAdd);
    } else {
        double radius = (kFullDotMagnitude - m) * kDotRadiusPerMagnitude + kSmallestDotRadius;
        drawDisc(*target.frame, x, y, radius * ratio, color, plotAdd);
    }
}

void drawReferenceStar(RasterTarget& target, const ReferenceStar& star) {
    drawStarDot(target, star.screenX, star.screenY, star.magnitude, star.color);
}

void drawAncientStar(RasterTarget& target, const AncientStar& star, int displayFlags,
                     double circleRadius) {
    if (displayFlags & FlagCircles) {
        if (target.frame)
            drawRing(*target.frame, star.screenX, star.screenY, circleRadius,
                     ancientCircleColor(star.magnitude), target.devicePixelRatio);
    } else {
        drawStarDot(target, star.screenX, star.screenY, star.magnitude, 0);
    }
}

void frameLineSink(void* target, double x0, double y0, double x1, double y1) {
    RasterTarget* t = static_cast<RasterTarget*>(target);
    if (!t || !t->frame) return;
    drawLine(*t->frame, x0, y0, x1, y1, kIdLineColor, plotMax, t->devicePixelRatio);
}

void framePolylineSink(void* target, const ScreenPoint* points, int count) {
    RasterTarget* t = static_cast<RasterTarget*>(target);
    if (!t || !t->frame || !t->colors || !points || count < 2) return;
    Color color = getColor(*t->colors, ColorCurrentLine);
    for (int i = 0; i + 1 < count; ++i)
        drawLine(*t->frame, points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, color,
                 plotMax, t->devicePixelRatio);
}
