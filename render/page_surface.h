// The vector drawing surface a printed page is drawn through: pens of a width and dash style,
// hollow and filled circles, lines, polylines, a hollow rectangle and text in one font with its
// measured extent, all in black on the white page and in whole device pixels of the page. The
// printed page (app/printing) draws through it; the Qt adapter implements it on the printer and
// the tests record it.
#pragma once

enum PenStyle {
    PenSolid = 0,
    PenDotted = 1,
};

struct PagePoint {
    int x, y;
};

struct PageSurface {
    void* context = nullptr;
    // The pen of the lines, polylines, rectangles and circle outlines that follow. Width 0 is
    // the thinnest line the device draws (one device pixel).
    void (*setPen)(void* context, int width, PenStyle style) = nullptr;
    // A hollow rectangle, right and bottom being the coordinates of its far edges.
    void (*drawRectangle)(void* context, int left, int top, int right, int bottom) = nullptr;
    // A circle about (x, y) outlined with the pen; `filled` fills it black, else it is hollow.
    void (*drawCircle)(void* context, int x, int y, double radius, bool filled) = nullptr;
    void (*drawLine)(void* context, int x0, int y0, int x1, int y1) = nullptr;
    void (*drawPolyline)(void* context, const PagePoint* points, int count) = nullptr;
    // The font of the texts that follow: a family and a character height in device pixels.
    void (*setFont)(void* context, const char* family, int characterHeight) = nullptr;
    // Single-byte Western code page text, as the label font on screen takes it.
    void (*measureText)(void* context, const char* text, int* width, int* height) = nullptr;
    // Text with its top-left corner at (x, y); an opaque background fills its cell white first.
    void (*drawText)(void* context, int x, int y, const char* text,
                     bool opaqueBackground) = nullptr;
};
