// The recording page surface of the fake platform, for the printing tests.
#include <cstring>

#include "fake_platform.h"

namespace {

PageRecording& recordingOf(void* context) { return *static_cast<PageRecording*>(context); }
PageOp& record(void* context, PageOpKind kind, std::vector<PagePoint> points) {
    PageRecording& r = recordingOf(context);
    r.ops.push_back({kind, r.page, r.penWidth, r.penStyle, std::move(points), 0, false, "",
                     r.fontHeight});
    return r.ops.back();
}

}  // namespace

std::vector<PageOp> PageRecording::of(PageOpKind kind) const {
    std::vector<PageOp> found;
    for (const PageOp& op : ops)
        if (op.kind == kind) found.push_back(op);
    return found;
}

PageSurface recordingSurface(PageRecording& recording) {
    PageSurface s;
    s.context = &recording;
    s.setPen = [](void* c, int width, PenStyle style) {
        recordingOf(c).penWidth = width;
        recordingOf(c).penStyle = style;
    };
    s.drawRectangle = [](void* c, int l, int t, int r, int b) {
        record(c, OpRectangle, {{l, t}, {r, b}});
    };
    s.drawCircle = [](void* c, int x, int y, double radius, bool filled) {
        PageOp& op = record(c, OpCircle, {{x, y}});
        op.radius = radius;
        op.filled = filled;
    };
    s.drawLine = [](void* c, int x0, int y0, int x1, int y1) {
        record(c, OpLine, {{x0, y0}, {x1, y1}});
    };
    s.drawPolyline = [](void* c, const PagePoint* p, int n) {
        record(c, OpPolyline, std::vector<PagePoint>(p, p + n));
    };
    s.setFont = [](void* c, const char* family, int height) {
        recordingOf(c).fontFamily = family;
        recordingOf(c).fontHeight = height;
    };
    s.measureText = [](void* c, const char* text, int* width, int* height) {
        *height = recordingOf(c).fontHeight;
        *width = int(std::strlen(text)) * (*height / 2);
    };
    s.drawText = [](void* c, int x, int y, const char* text, bool opaque) {
        PageOp& op = record(c, OpText, {{x, y}});
        op.text = text;
        op.filled = opaque;
    };
    return s;
}
