#include "render/sky_layers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "catalog/precession.h"

namespace {

// Grid layout: meridians every 15 degrees, parallels every 15 degrees between +75 and -75.
constexpr int kGridStepDegrees = 15;
constexpr int kParallelLimitDegrees = 75;

// Labels sit 0.7 of a circle radius (close to r / sqrt 2) or 0.7 of the text size from a star.
constexpr double kLabelOffset = 0.7;

// The identified reference star, or nullptr when the number resolves to no entry.
const ReferenceStar* identifiedStar(const AncientStar& star, const ReferenceCatalog& refStars) {
    int entry = lookUpReferenceStar(refStars.index, star.identification);
    if (entry < 0 || entry >= kReferenceStarCount) return nullptr;
    return &refStars.stars[entry];
}

int roundHalfAway(double value) { return int(std::lround(value)); }

}  // namespace

int deviceLengthAt(int windowLength, double devicePixelRatio) {
    return int(std::floor(windowLength * devicePixelRatio + 0.5));
}

int storedStarCount(const Constellation& constellation) {
    int count = constellation.starCount;
    if (count > int(constellation.stars.size())) count = int(constellation.stars.size());
    return count < 0 ? 0 : count;
}

int toggledDisplayFlags(int flags, int n) {
    if (n < 1 || n > 6) return flags;
    return flags ^ (1 << (n - 1));
}

bool ancientStarsShown(int flags) { return (flags & (FlagStars | FlagCircles)) != FlagStars; }

int projectStar(const SkyView& view, const Vector3& dir, float& screenX, float& screenY) {
    Vector3 p;
    vec3TimesMat4(dir, view.skyToScreen, p);
    int visible = viewProject(view, p, screenX, screenY);
    if (!(p.z > 0.0)) viewScreenPosition(view, p, screenX, screenY);
    return visible;
}

void placeAncientStars(Constellation& constellation, float lonOffset, float latOffset) {
    const int count = storedStarCount(constellation);
    for (int i = 0; i < count; ++i) {
        AncientStar& star = constellation.stars[i];
        star.lat = float(ancientLatDegrees(star) * kDegToRad + latOffset);
        star.lon = float(ancientLonDegrees(star) * kDegToRad + lonOffset);
        lonLatToVec3(star.lon, star.lat, star.dir);
    }
}

void projectCatalogs(Constellation& constellation, ReferenceCatalog& refStars,
                     const SkyView& view, float lonOffset, float latOffset) {
    for (ReferenceStar& star : refStars.stars)
        star.visible = projectStar(view, star.dir, star.screenX, star.screenY);
    placeAncientStars(constellation, lonOffset, latOffset);
    const int count = storedStarCount(constellation);
    for (int i = 0; i < count; ++i) {
        AncientStar& star = constellation.stars[i];
        star.visible = projectStar(view, star.dir, star.screenX, star.screenY);
    }
}

ScreenPoint clipRayToFrame(const ClipRect& clip, double x0, double y0, double dx, double dy) {
    const double nearlyZero = 0.0001;
    if (std::fabs(dx) < nearlyZero) return {x0, dy > 0 ? clip.yMax : 0.0};
    if (std::fabs(dy) < nearlyZero) return {dx > 0 ? clip.xMax : 0.0, y0};
    double x = dx > 0 ? clip.xMax : 0.0;
    double y = y0 + (x - x0) * dy / dx;
    if (y >= 0.0 && y <= clip.yMax) return {x, y};
    y = dy > 0 ? clip.yMax : 0.0;
    x = x0 + (y - y0) * dx / dy;
    return {x, y};
}

void traceSamples(GridWalker& walker, int last, int modulus) {
    if (last < 1 || modulus < 1 || modulus > kGridSampleCount || last > modulus) return;
    int n = 0;
    auto append = [&](double x, double y) { walker.points[n++] = {x, y}; };
    auto handOver = [&]() {
        if (n > 0) walker.sink(walker.sinkContext, walker.points, n);
        n = 0;
    };
    for (int j = 1; j <= last; ++j) {
        const GridSample& a = walker.samples[j - 1];
        const GridSample& b = walker.samples[j % modulus];
        if (a.onScreen && b.onScreen) {
            if (n == 0) append(a.x, a.y);
            append(b.x, b.y);
        } else if (b.onScreen && a.projected.z > 0.0) {
            // Entering the picture: start on the border, towards the previous sample.
            if (n == 0) {
                ScreenPoint edge = clipRayToFrame(walker.clip, b.x, b.y, a.x - b.x, a.y - b.y);
                append(edge.x, edge.y);
            }
            append(b.x, b.y);
        } else if (a.onScreen) {
            if (b.projected.z > 0.0) {
                // Leaving the picture: end on the border, towards the next sample.
                if (n == 0) append(a.x, a.y);
                ScreenPoint edge = clipRayToFrame(walker.clip, a.x, a.y, b.x - a.x, b.y - a.y);
                append(edge.x, edge.y);
            }
            // A next sample behind the viewer has no usable screen position: stop here.
            handOver();
        } else {
            handOver();
        }
    }
    handOver();
}

namespace {

void makeSample(GridWalker& walker, GridSample& sample, int lonDegrees, int latDegrees,
                const Matrix3* toEcliptic) {
    Vector3 v;
    lonLatToVec3(lonDegrees * kDegToRad, latDegrees * kDegToRad, v);
    if (toEcliptic) vec3TimesMat3(v, *toEcliptic, v);
    vec3TimesMat4(v, walker.view->skyToScreen, sample.projected);
    sample.onScreen = viewProject(*walker.view, sample.projected, sample.x, sample.y) &&
                      sample.x <= walker.clip.xMax && sample.y <= walker.clip.yMax;
}

// Walks one grid; `toEcliptic` turns grid coordinates into the ecliptic frame (null for the
// ecliptic grid itself).
void walkGrid(GridWalker& walker, const SkyView& view, double xMax, double yMax,
              const Matrix3* toEcliptic, PolylineSink sink, void* context) {
    walker.view = &view;
    walker.clip = {xMax, yMax};
    walker.sink = sink;
    walker.sinkContext = context;

    for (int lon = 0; lon < 360; lon += kGridStepDegrees) {
        // Cardinal meridians reach the poles, those at multiples of 30 degrees stop one degree
        // short of them, the rest stop where the parallels end.
        int top = kParallelLimitDegrees;
        if (lon % 90 == 0)
            top = 90;
        else if (lon % 30 == 0)
            top = 89;
        const int last = 2 * top;
        bool anyOnScreen = false;
        for (int i = 0; i <= last; ++i) {
            makeSample(walker, walker.samples[i], lon, top - i, toEcliptic);
            anyOnScreen |= walker.samples[i].onScreen != 0;
        }
        if (anyOnScreen) traceSamples(walker, last, last + 1);
    }

    for (int lat = kParallelLimitDegrees; lat >= -kParallelLimitDegrees; lat -= kGridStepDegrees) {
        bool anyOnScreen = false;
        for (int i = 0; i < kGridSampleCount; ++i) {
            makeSample(walker, walker.samples[i], i, lat, toEcliptic);
            anyOnScreen |= walker.samples[i].onScreen != 0;
        }
        if (anyOnScreen) traceSamples(walker, kGridSampleCount, kGridSampleCount);
    }
}

}  // namespace

void walkEclipticGrid(GridWalker& walker, const SkyView& view, double xMax, double yMax,
                      PolylineSink sink, void* context) {
    walkGrid(walker, view, xMax, yMax, nullptr, sink, context);
}

void walkEquatorialGrid(GridWalker& walker, const SkyView& view, double xMax, double yMax,
                        double jd, PolylineSink sink, void* context) {
    Matrix3 toEcliptic;
    mat3Identity(toEcliptic);
    appendEquatorToEcliptic(toEcliptic, jd);
    walkGrid(walker, view, xMax, yMax, &toEcliptic, sink, context);
}

void walkIdLines(const Constellation& constellation, const ReferenceCatalog& refStars,
                 double xMax, double yMax, LineSink sink, void* context) {
    const ClipRect clip = {xMax, yMax};
    const int count = storedStarCount(constellation);
    for (int i = 0; i < count; ++i) {
        const AncientStar& star = constellation.stars[i];
        if (!star.visible) continue;
        const ReferenceStar* ref = identifiedStar(star, refStars);
        if (!ref) continue;
        ScreenPoint end = {ref->screenX, ref->screenY};
        if (!ref->visible)
            end = clipRayToFrame(clip, star.screenX, star.screenY, ref->screenX - star.screenX,
                                 ref->screenY - star.screenY);
        sink(context, star.screenX, star.screenY, end.x, end.y);
    }
}

ScreenPoint labelAnchor(const AncientStar& star, const ReferenceCatalog& refStars,
                        int displayFlags, double textWidth, double textHeight,
                        double circleRadius) {
    const double x = star.screenX, y = star.screenY;
    if (displayFlags & FlagCircles)
        return {x + kLabelOffset * circleRadius, y + kLabelOffset * circleRadius + textHeight};
    const ReferenceStar* ref = identifiedStar(star, refStars);
    if (!ref) return {x - textWidth / 2, y + textHeight / 2};
    // Centred on the side away from the reference star; straight below when they coincide.
    const double ex = x - ref->screenX, ey = y - ref->screenY;
    const double m = std::sqrt(ex * ex + ey * ey);
    const double ux = m > 0 ? ex / m : 0.0, uy = m > 0 ? ey / m : 1.0;
    return {x + kLabelOffset * textWidth * ux - textWidth / 2,
            y + kLabelOffset * textHeight * uy + textHeight / 2};
}

void drawStarNumbers(const FrameOutput& output, const Constellation& constellation,
                     const ReferenceCatalog& refStars, int displayFlags, double circleRadius,
                     Color textColor) {
    if (!(displayFlags & FlagNumbers) || !output.measureText || !output.drawText) return;
    const int count = storedStarCount(constellation);
    for (int i = 0; i < count; ++i) {
        const AncientStar& star = constellation.stars[i];
        if (!star.visible) continue;
        char text[16];
        std::snprintf(text, sizeof text, "%d", int(star.numberInConstellation));
        int width = 0, height = 0;
        output.measureText(output.context, text, &width, &height);
        ScreenPoint anchor =
            labelAnchor(star, refStars, displayFlags, width, height, circleRadius);
        output.drawText(output.context, roundHalfAway(anchor.x),
                        roundHalfAway(anchor.y - height), text, textColor);
    }
}

namespace {

// What the layers of one frame draw from and into.
struct FrameLayers {
    const RenderRequest& request;
    ReferenceCatalog& refStars;
    Constellation& constellation;
    const SkyView& view;
    ColorTable& colors;
    RasterTarget target;
    GridWalker walker;
};

// The grids are drawn through a view one pixel narrower and lower than the frame, which both
// projects their samples and bounds them, so they end on the last pixel column and row. Each
// grid's colour becomes the current line colour whether or not the grid is drawn.
SkyView gridView(const SkyView& view) {
    SkyView grid = view;
    grid.width = view.width - 1;
    grid.height = view.height - 1;
    return grid;
}

void eclipticGrid(FrameLayers& f) {
    f.colors.entries[ColorCurrentLine] = f.colors.entries[ColorEclipticGrid];
    if (!(f.request.displayFlags & FlagEclipticGrid)) return;
    const SkyView grid = gridView(f.view);
    walkEclipticGrid(f.walker, grid, grid.width, grid.height, framePolylineSink, &f.target);
}

void equatorialGrid(FrameLayers& f) {
    f.colors.entries[ColorCurrentLine] = f.colors.entries[ColorEquatorialGrid];
    if (!(f.request.displayFlags & FlagEquatorialGrid)) return;
    const SkyView grid = gridView(f.view);
    walkEquatorialGrid(f.walker, grid, grid.width, grid.height, f.request.epoch,
                       framePolylineSink, &f.target);
}

// Identification lines stay on the pixels of the picture: the last column and row bound them.
void idLines(FrameLayers& f) {
    if (!(f.request.displayFlags & FlagIdLines)) return;
    walkIdLines(f.constellation, f.refStars, f.view.width - 1, f.view.height - 1, frameLineSink,
                &f.target);
}

void ancientStars(FrameLayers& f) {
    if (!ancientStarsShown(f.request.displayFlags)) return;
    const int count = storedStarCount(f.constellation);
    for (int i = 0; i < count; ++i) {
        const AncientStar& star = f.constellation.stars[i];
        if (star.visible)
            drawAncientStar(f.target, star, f.request.displayFlags, f.view.pixelsPerDegree);
    }
}

void referenceStars(FrameLayers& f) {
    if (!(f.request.displayFlags & FlagStars)) return;
    for (const ReferenceStar& star : f.refStars.stars)
        if (star.visible) drawReferenceStar(f.target, star);
}

// The ring over everything; the rings' own width follows the ratio.
void highlightRing(FrameLayers& f) {
    if (!f.request.highlighted) return;
    float x, y;
    if (!projectStar(f.view, f.request.highlightDir, x, y)) return;
    drawRing(*f.target.frame, x, y, highlightRingRadius(f.view, f.request.devicePixelRatio),
             kHighlightRingColor, f.request.devicePixelRatio);
}

// Bottom to top. Lines and circles blend by maximum and star dots add, so later layers never
// darken earlier ones, and a dot over a line brightens it.
using Layer = void (*)(FrameLayers&);
constexpr Layer kLayers[] = {eclipticGrid, equatorialGrid, idLines,
                             ancientStars, referenceStars, highlightRing};

}  // namespace

double highlightRingRadius(const SkyView& view, double devicePixelRatio) {
    return std::max(kHighlightRingPixels * devicePixelRatio,
                    kHighlightRingCircles * view.pixelsPerDegree);
}

void renderFrame(const RenderRequest& request, FrameBuffer& frame, ColorTable& colors,
                 const StarColors& starColors, const FrameOutput& output) {
    if (!request.refStars || !request.constellation || !request.view) return;
    FrameLayers f = {request, *request.refStars, *request.constellation, *request.view, colors,
                     {&frame, &starColors, &colors, request.devicePixelRatio}, {}};
    projectCatalogs(f.constellation, f.refStars, f.view, request.lonOffset, request.latOffset);
    frameClear(frame);
    for (Layer layer : kLayers) layer(f);
    if (output.present) output.present(output.context, frame);
    drawStarNumbers(output, f.constellation, f.refStars, request.displayFlags,
                    f.view.pixelsPerDegree, getColor(colors, ColorNumbers));
}
