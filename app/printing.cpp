#include "app/printing.h"

#include <cmath>

#include "app/commands.h"
#include "app/shell.h"
#include "app/state.h"
#include "app/status_text.h"

namespace {

constexpr float kFrameMarginsInches = 1;  // half an inch on either side
// The print font is 48 device pixels high at 600 dots per inch, and as high on paper elsewhere.
constexpr int kPrintFontHeightDots = 48;
constexpr int kPrintFontReferenceDpi = 600;
constexpr double kHalfDegree = kDegToRad / 2;  // 0.008726646259971648
constexpr int kThinnestPen = 0;
constexpr int kGridPenWidth = 1;
constexpr int kIdLinePenWidth = 2;
constexpr int kDottedCirclePenWidth = 2;
constexpr int kBrightestCirclePenWidth = 8;  // at magnitude 0
constexpr double kDiscScale = 30;           // disc radius at magnitude 0
constexpr double kDiscFadePerMagnitude = 0.14;
constexpr int kNoArrowMode = -1;  // neither status group marked

// What the page's sinks draw through: the surface, the frame the walkers' coordinates are
// relative to, and the points of one polyline in device pixels.
struct PageTarget {
    const PageSurface* surface;
    PageFrame frame;
    PagePoint points[kGridPointCapacity];
};

void pageLineSink(void* context, double x0, double y0, double x1, double y1) {
    PageTarget& page = *static_cast<PageTarget*>(context);
    const PageSurface& surface = *page.surface;
    surface.setPen(surface.context, kIdLinePenWidth, PenSolid);
    surface.drawLine(surface.context, page.frame.left + roundedInteger(x0),
                     page.frame.top + roundedInteger(y0), page.frame.left + roundedInteger(x1),
                     page.frame.top + roundedInteger(y1));
}

// Draws with the pen selected. A polyline longer than the point buffer goes out in pieces that
// join end to start.
void pagePolylineSink(void* context, const ScreenPoint* points, int count) {
    PageTarget& page = *static_cast<PageTarget*>(context);
    const PageSurface& surface = *page.surface;
    for (int start = 0; start < count - 1;) {
        const int n = count - start < kGridPointCapacity ? count - start : kGridPointCapacity;
        for (int i = 0; i < n; ++i)
            page.points[i] = {page.frame.left + roundedInteger(points[start + i].x),
                              page.frame.top + roundedInteger(points[start + i].y)};
        surface.drawPolyline(surface.context, page.points, n);
        start += n - 1;
    }
}

void pageMeasureText(void* context, const char* text, int* width, int* height) {
    const PageSurface& surface = *static_cast<PageTarget*>(context)->surface;
    surface.measureText(surface.context, text, width, height);
}

void pageDrawLabel(void* context, int x, int y, const char* text, Color) {
    PageTarget& page = *static_cast<PageTarget*>(context);
    page.surface->drawText(page.surface->context, page.frame.left + x, page.frame.top + y, text,
                           false);
}

bool stopped(const AbortCheck& abort) { return abort.aborted && abort.aborted(abort.context); }

// A filled disc as the reference stars are printed (and the ancient stars without circles).
void drawStarDisc(const PageTarget& page, float x, float y, float magnitude) {
    const PageSurface& surface = *page.surface;
    surface.drawCircle(surface.context, page.frame.left + roundedInteger(x),
                       page.frame.top + roundedInteger(y), printDiscRadius(magnitude), true);
}

}  // namespace

bool computePageFrame(int windowWidth, int windowHeight, const PrinterPage& page,
                      PageFrame& frame) {
    if (windowWidth <= 0 || windowHeight <= 0 || page.dotsPerInchX <= 0 || page.dotsPerInchY <= 0)
        return false;
    const float pageWidth = float(page.width) / float(page.dotsPerInchX);
    const float pageHeight = float(page.height) / float(page.dotsPerInchY);
    const float tallest = pageHeight - kFrameMarginsInches;
    float width = pageWidth - kFrameMarginsInches;
    if (!(width > 0) || !(tallest > 0)) return false;
    float height = width * (float(windowHeight) / float(windowWidth));
    const float ratio = height / tallest;
    if (ratio > 1) {
        width /= ratio;
        height = tallest;
    }
    frame.left = int((pageWidth - width) * float(page.dotsPerInchX) / 2);
    frame.top = int((pageHeight - height) * float(page.dotsPerInchY) / 2);
    frame.width = int(float(page.dotsPerInchX) * width);
    frame.height = int(float(page.dotsPerInchY) * height);
    return frame.width > 0 && frame.height > 0;
}

int printFontHeight(int dotsPerInchY) {
    const int height = dotsPerInchY * kPrintFontHeightDots / kPrintFontReferenceDpi;
    return height > 1 ? height : 1;
}

double printCircleRadius(int frameHeight, double focalScale) {
    return frameHeight * kHalfDegree / (2 * std::atan2(1.0, focalScale));
}

void ancientCirclePen(float magnitude, int& width, PenStyle& style) {
    if (magnitude > kFaintMagnitude) {
        width = kDottedCirclePenWidth;
        style = PenDotted;
        return;
    }
    const float brightness = (kFaintMagnitude - magnitude) / kFaintMagnitude;
    width = roundedInteger(brightness * kBrightestCirclePenWidth);
    style = PenSolid;
}

int printDiscRadius(float magnitude) {
    const int radius = int((1 - kDiscFadePerMagnitude * magnitude) * kDiscScale);
    return radius > 0 ? radius : 1;
}

int printPage(const RenderRequest& request, const PageFrame& frame, int dotsPerInchY,
              const PageSurface& surface, const AbortCheck& abort) {
    if (!request.refStars || !request.constellation || !request.view) return 0;
    ReferenceCatalog& refStars = *request.refStars;
    Constellation& constellation = *request.constellation;
    const int flags = request.displayFlags;
    void* const context = surface.context;

    surface.setPen(context, kThinnestPen, PenSolid);
    surface.drawRectangle(context, frame.left, frame.top, frame.left + frame.width,
                          frame.top + frame.height);
    surface.setFont(context, kPrintFontFamily, printFontHeight(dotsPerInchY));

    // The window's sky on the frame: the same centre, roll, zoom and matrices.
    SkyView view = *request.view;
    view.width = frame.width;
    view.height = frame.height;
    const double radius = printCircleRadius(frame.height, view.focalScale);

    for (ReferenceStar& star : refStars.stars) {
        star.visible = projectStar(view, star.dir, star.screenX, star.screenY);
        if (stopped(abort)) return 0;
    }
    placeAncientStars(constellation, request.lonOffset, request.latOffset);
    const int count = storedStarCount(constellation);
    for (int i = 0; i < count; ++i) {
        AncientStar& star = constellation.stars[i];
        star.visible = projectStar(view, star.dir, star.screenX, star.screenY);
        if (stopped(abort)) return 0;
    }

    // The walkers clip to the whole frame.
    PageTarget page;
    page.surface = &surface;
    page.frame = frame;
    const double xMax = frame.width, yMax = frame.height;
    if (flags & FlagIdLines) walkIdLines(constellation, refStars, xMax, yMax, pageLineSink, &page);
    GridWalker walker;
    if (flags & FlagEclipticGrid) {
        surface.setPen(context, kGridPenWidth, PenSolid);
        walkEclipticGrid(walker, view, xMax, yMax, pagePolylineSink, &page);
    }
    if (flags & FlagEquatorialGrid) {
        surface.setPen(context, kGridPenWidth, PenDotted);
        walkEquatorialGrid(walker, view, xMax, yMax, request.epoch, pagePolylineSink, &page);
    }
    surface.setPen(context, kThinnestPen, PenSolid);

    if (ancientStarsShown(flags)) {
        for (int i = 0; i < count; ++i) {
            const AncientStar& star = constellation.stars[i];
            if (star.visible) {
                if (flags & FlagCircles) {
                    int width;
                    PenStyle style;
                    ancientCirclePen(star.magnitude, width, style);
                    surface.setPen(context, width, style);
                    surface.drawCircle(context, frame.left + roundedInteger(star.screenX),
                                       frame.top + roundedInteger(star.screenY), radius, false);
                } else {
                    drawStarDisc(page, star.screenX, star.screenY, star.magnitude);
                }
            }
            if (stopped(abort)) return 0;
        }
        surface.setPen(context, kThinnestPen, PenSolid);
    }
    if (flags & FlagStars) {
        for (const ReferenceStar& star : refStars.stars) {
            if (star.visible) drawStarDisc(page, star.screenX, star.screenY, star.magnitude);
            if (stopped(abort)) return 0;
        }
    }

    // On paper the shift places hold the whole offset added to the ancient positions.
    std::string status = formatStatusText(view, constellation.name.c_str(), request.lonOffset,
                                          request.latOffset,
                                          request.editionCaption ? request.editionCaption : "",
                                          kNoArrowMode);
    int textWidth = 0, textHeight = 0;
    surface.measureText(context, status.c_str(), &textWidth, &textHeight);
    surface.drawText(context, frame.left + textHeight, frame.top + frame.height - textHeight,
                     status.c_str(), true);

    FrameOutput labels;
    labels.context = &page;
    labels.measureText = pageMeasureText;
    labels.drawText = pageDrawLabel;
    drawStarNumbers(labels, constellation, refStars, flags, radius, 0);
    return 1;
}

// The print job.

namespace {

struct PrintJob {
    bool running = false;
    bool aborted = false;
};

PrintJob job;

void cancelPrinting(void*) { job.aborted = true; }

// Lets the windows (and the cancel dialog) have their events between stars.
bool printingCancelled(void*) {
    platformProcessEvents();
    return job.aborted;
}

// The pages on the printer, one per copy; false when the job failed or was cancelled. A document
// that does not end well is aborted, so nothing half made goes to the printer.
bool printDocument(const RenderRequest& request, const PageFrame& frame, const PrinterPage& page) {
    PageSurface surface;
    if (!platformStartDocument(kProgramCaption, surface)) return false;
    const AbortCheck abort = {printingCancelled, nullptr};
    const int copies = page.copies > 1 ? page.copies : 1;
    bool pagesDone = true;
    for (int copy = 1; copy <= copies && pagesDone; ++copy) {
        pagesDone = platformStartPage();
        if (pagesDone) printPage(request, frame, page.dotsPerInchY, surface, abort);
        pagesDone = pagesDone && !job.aborted && platformEndPage();
    }
    if (pagesDone) return platformEndDocument();
    platformAbortDocument();
    return false;
}

}  // namespace

bool printJobRunning() { return job.running; }

void printView() {
    if (job.running || !catalogsLoaded()) return;
    PrinterPage page;
    if (!platformPrintDialog(page)) return;
    PageFrame frame;
    if (!computePageFrame(theApp.view.width, theApp.view.height, page, frame)) {
        platformMessageBox(kPrintFailedMessage, kPrintFailedCaption);
        return;
    }
    const RenderRequest request = makeRenderRequest();

    job.running = true;
    job.aborted = false;
    platformEnableMainWindow(false);
    platformOpenCancelDialog(kProgramCaption, kPrintingText, cancelPrinting, nullptr);
    const bool printed = printDocument(request, frame, page);
    if (!printed && !job.aborted) platformMessageBox(kPrintFailedMessage, kPrintFailedCaption);
    platformEnableMainWindow(true);
    platformCloseCancelDialog();
    job.running = false;
    // The stars' screen fields hold page positions, and a repaint asked for meanwhile was held
    // back: the window is drawn again before anything reads them.
    platformRepaint();
}
