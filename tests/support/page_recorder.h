// A page surface that records what is drawn on it, for the printing tests and the fake platform:
// every call in order with the pen and font in force, and a text extent that follows the font
// (half the character height per character, one character height high).
#pragma once

#include <string>
#include <vector>

#include "render/page_surface.h"

enum PageOpKind { OpRectangle, OpCircle, OpLine, OpPolyline, OpText };

struct PageOp {
    PageOpKind kind;
    int page;  // the page number the recording was at
    int penWidth;
    PenStyle penStyle;
    std::vector<PagePoint> points;  // rectangle: two corners; circle: centre; line: both ends
    double radius = 0;
    bool filled = false;
    std::string text;
    bool opaque = false;
    std::string fontFamily;
    int fontHeight = 0;
};

struct PageRecording {
    std::vector<PageOp> ops;
    int page = 1;
    int penWidth = -1;  // no pen set yet
    PenStyle penStyle = PenSolid;
    std::string fontFamily;
    int fontHeight = 0;
    int fontsSet = 0;

    std::vector<PageOp> of(PageOpKind kind) const;
    // The texts drawn, in order.
    std::vector<std::string> texts() const;
};

PageSurface recordingSurface(PageRecording& recording);
