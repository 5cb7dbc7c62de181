// The frame buffer: the one 24-bit picture the sky is drawn into, laid out as the platform's
// device-independent bitmap (rows bottom-up, blue-green-red, each row padded to 4 bytes) so the
// window shows it with a single blit. The shell resizes it with the window; the renderer clears
// it and draws into it pixel by pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "render/colors.h"

// The platform's BITMAPINFOHEADER, field for field.
struct BitmapInfoHeader {
    uint32_t biSize = 0;
    int32_t biWidth = 0;
    int32_t biHeight = 0;
    uint16_t biPlanes = 0;
    uint16_t biBitCount = 0;
    uint32_t biCompression = 0;
    uint32_t biSizeImage = 0;
    int32_t biXPelsPerMeter = 0;
    int32_t biYPelsPerMeter = 0;
    uint32_t biClrUsed = 0;
    uint32_t biClrImportant = 0;
};

struct FrameBuffer {
    int width = 0;
    int height = 0;
    int stride = 0;  // bytes per stored row, a multiple of 4
    std::vector<uint8_t> pixels;  // stride * height bytes; the first stored row is the bottom line
    BitmapInfoHeader header;
};

int frameStride(int width);  // for widths a frame can have (see frameResize)
// Reallocates for a new client size. When the block cannot be had (or would not fit the header's
// 32-bit image size) the frame is left 0 x 0, so clearing and drawing touch no memory.
void frameResize(FrameBuffer& frame, int width, int height);
void frameClear(FrameBuffer& frame);

// Pixel access, inline because every primitive goes through it for each pixel it touches.
inline bool frameContains(const FrameBuffer& frame, int x, int y) {
    return x >= 0 && x < frame.width && y >= 0 && y < frame.height;
}

inline size_t framePixelOffset(const FrameBuffer& frame, int x, int y) {
    return size_t(frame.height - 1 - y) * size_t(frame.stride) + size_t(3) * size_t(x);
}

// 0 (black) outside the picture.
inline Color frameGetPixel(const FrameBuffer& frame, int x, int y) {
    if (!frameContains(frame, x, y)) return kBlack;
    const uint8_t* p = frame.pixels.data() + framePixelOffset(frame, x, y);
    return makeColor(p[2], p[1], p[0]);
}

// Ignored outside the picture.
inline void framePutPixel(FrameBuffer& frame, int x, int y, Color color) {
    if (!frameContains(frame, x, y)) return;
    uint8_t* p = frame.pixels.data() + framePixelOffset(frame, x, y);
    p[0] = uint8_t(colorBlue(color));
    p[1] = uint8_t(colorGreen(color));
    p[2] = uint8_t(colorRed(color));
}
