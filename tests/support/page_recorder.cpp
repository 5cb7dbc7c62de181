#include "page_recorder.h"

#include <cstring>

namespace {

PageRecording& recordingOf(void* context) { return *static_cast<PageRecording*>(context); }

PageOp& record(void* context, PageOpKind kind) {
    PageRecording& r = recordingOf(context);
    PageOp op;
    op.kind = kind;
    op.page = r.page;
    op.penWidth = r.penWidth;
    op.penStyle = r.penStyle;
    op.fontFamily = r.fontFamily;
    op.fontHeight = r.fontHeight;
    r.ops.push_back(op);
    return r.ops.back();
}

void setPen(void* context, int width, PenStyle style) {
    recordingOf(context).penWidth = width;
    recordingOf(context).penStyle = style;
}

void drawRectangle(void* context, int left, int top, int right, int bottom) {
    record(context, OpRectangle).points = {{left, top}, {right, bottom}};
}

void drawCircle(void* context, int x, int y, double radius, bool filled) {
    PageOp& op = record(context, OpCircle);
    op.points = {{x, y}};
    op.radius = radius;
    op.filled = filled;
}

void drawLine(void* context, int x0, int y0, int x1, int y1) {
    record(context, OpLine).points = {{x0, y0}, {x1, y1}};
}

void drawPolyline(void* context, const PagePoint* points, int count) {
    record(context, OpPolyline).points.assign(points, points + count);
}

void setFont(void* context, const char* family, int height) {
    PageRecording& r = recordingOf(context);
    r.fontFamily = family;
    r.fontHeight = height;
    ++r.fontsSet;
}

void measureText(void* context, const char* text, int* width, int* height) {
    const PageRecording& r = recordingOf(context);
    *width = int(std::strlen(text)) * (r.fontHeight / 2);
    *height = r.fontHeight;
}

void drawText(void* context, int x, int y, const char* text, bool opaque) {
    PageOp& op = record(context, OpText);
    op.points = {{x, y}};
    op.text = text;
    op.opaque = opaque;
}

}  // namespace

std::vector<PageOp> PageRecording::of(PageOpKind kind) const {
    std::vector<PageOp> found;
    for (const PageOp& op : ops)
        if (op.kind == kind) found.push_back(op);
    return found;
}

std::vector<std::string> PageRecording::texts() const {
    std::vector<std::string> found;
    for (const PageOp& op : ops)
        if (op.kind == OpText) found.push_back(op.text);
    return found;
}

PageSurface recordingSurface(PageRecording& recording) {
    PageSurface surface;
    surface.context = &recording;
    surface.setPen = setPen;
    surface.drawRectangle = drawRectangle;
    surface.drawCircle = drawCircle;
    surface.drawLine = drawLine;
    surface.drawPolyline = drawPolyline;
    surface.setFont = setFont;
    surface.measureText = measureText;
    surface.drawText = drawText;
    return surface;
}
