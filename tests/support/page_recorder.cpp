// The recording page surface of the fake platform.
#include <cstring>

#include "fake_platform.h"

namespace {

PageRecording& of(void* context) { return *static_cast<PageRecording*>(context); }
void record(void* context, PageOpKind kind, std::vector<PagePoint> points, const char* text = "") {
    of(context).ops.push_back({kind, of(context).page, std::move(points), text});
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
    s.setPen = [](void*, int, PenStyle) {};
    s.drawRectangle = [](void* c, int l, int t, int r, int b) {
        record(c, OpRectangle, {{l, t}, {r, b}});
    };
    s.drawCircle = [](void* c, int x, int y, double, bool) { record(c, OpCircle, {{x, y}}); };
    s.drawLine = [](void* c, int x, int y, int u, int v) { record(c, OpLine, {{x, y}, {u, v}}); };
    s.drawPolyline = [](void* c, const PagePoint* p, int n) { record(c, OpPolyline, {p, p + n}); };
    s.setFont = [](void* c, const char*, int h) { of(c).fontHeight = h; };
    s.measureText = [](void* c, const char* text, int* w, int* h) {
        *h = of(c).fontHeight, *w = int(std::strlen(text)) * (*h / 2);
    };
    s.drawText = [](void* c, int x, int y, const char* t, bool) { record(c, OpText, {{x, y}}, t); };
    return s;
}
