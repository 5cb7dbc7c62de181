// Printing the current view: the print job (print dialog, cancel dialog, one page per copy, the
// message on failure) and the printed page, which projects both catalogues anew for the page's
// frame and draws the sky layers through a page surface in black on white, driving the same
// walkers, star projection, label placement and status text as the screen. The Print command
// (printView, declared with the commands) runs the job; the shell's paint handler asks whether a
// job is running.
#pragma once

#include "app/platform_services.h"
#include "render/page_surface.h"
#include "render/sky_layers.h"

constexpr char kPrintingText[] = "Printing...";
constexpr char kPrintFailedMessage[] = "An error occurred during printing.";
constexpr char kPrintFailedCaption[] = "Printing Problem";
constexpr char kPrintFontFamily[] = "Tahoma";

// The picture's rectangle on the page, in printer pixels.
struct PageFrame {
    int left, top, width, height;
};

// The frame centred on the page's printable area with the window's aspect ratio and at least
// half an inch of margin on every side. False when the window or the page has no room for one.
bool computePageFrame(int windowWidth, int windowHeight, const PrinterPage& page,
                      PageFrame& frame);

// Character height of the print font in device pixels: the same size on paper (0.08 inch) at
// every resolution.
int printFontHeight(int dotsPerInchY);
// The frame's pixels per degree of sky from its centre to its top edge: the radius of the
// ancient-star circles and the distance of their numbers.
double printCircleRadius(int frameHeight, double focalScale);
// The outline of an ancient star's circle: solid, thicker for brighter stars, up to magnitude
// 6.5; dotted beyond.
void ancientCirclePen(float magnitude, int& width, PenStyle& style);
// Radius of a star's filled disc: smaller for fainter stars, never under 1.
int printDiscRadius(float magnitude);

// Asked after every star; true stops the page.
struct AbortCheck {
    bool (*aborted)(void* context) = nullptr;
    void* context = nullptr;
};

// Draws one page of the request into the frame. Both catalogues' screen fields are overwritten
// with page positions (the next repaint puts the screen's back). Returns 1 when the page is
// drawn, 0 when the abort check stopped it (or the request has no catalogues).
int printPage(const RenderRequest& request, const PageFrame& frame, int dotsPerInchY,
              const PageSurface& surface, const AbortCheck& abort);

// True from the moment the print job starts drawing until it has ended; the window is not
// repainted meanwhile (the page is using the stars' screen fields) and is repainted after it.
bool printJobRunning();
