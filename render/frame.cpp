#include "render/frame.h"

#include <cstring>
#include <new>

int frameStride(int width) { return (3 * width + 3) & ~3; }

void frameResize(FrameBuffer& frame, int width, int height) {
    frame.pixels.clear();
    frame.pixels.shrink_to_fit();
    frame.width = frame.height = frame.stride = 0;
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    int stride = frameStride(width);
    try {
        frame.pixels.resize(size_t(stride) * size_t(height));
        frame.width = width;
        frame.height = height;
        frame.stride = stride;
    } catch (const std::bad_alloc&) {
        // Leave a 0 x 0 frame: clear, drawing and present then touch no memory.
    }
    BitmapInfoHeader& h = frame.header;
    h = BitmapInfoHeader{};
    h.biSize = 40;
    h.biWidth = frame.width;
    h.biHeight = frame.height;
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biSizeImage = uint32_t(frame.stride) * uint32_t(frame.height);
}

void frameClear(FrameBuffer& frame) {
    if (!frame.pixels.empty()) std::memset(frame.pixels.data(), 0, frame.pixels.size());
}

static bool inside(const FrameBuffer& frame, int x, int y) {
    return x >= 0 && x < frame.width && y >= 0 && y < frame.height;
}

static size_t pixelOffset(const FrameBuffer& frame, int x, int y) {
    return size_t(frame.height - 1 - y) * size_t(frame.stride) + size_t(3) * size_t(x);
}

Color frameGetPixel(const FrameBuffer& frame, int x, int y) {
    if (!inside(frame, x, y)) return kBlack;
    const uint8_t* p = frame.pixels.data() + pixelOffset(frame, x, y);
    return makeColor(p[2], p[1], p[0]);
}

void framePutPixel(FrameBuffer& frame, int x, int y, Color color) {
    if (!inside(frame, x, y)) return;
    uint8_t* p = frame.pixels.data() + pixelOffset(frame, x, y);
    p[0] = uint8_t(colorBlue(color));
    p[1] = uint8_t(colorGreen(color));
    p[2] = uint8_t(colorRed(color));
}
