#include "render/frame.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <new>

// The largest picture the header can describe: biSizeImage is a 32-bit count of bytes, and the
// stride of a wider row would not fit an int.
constexpr int kMaxFrameWidth = (INT_MAX - 3) / 3;
constexpr uint64_t kMaxFrameBytes = UINT32_MAX;

int frameStride(int width) { return (3 * width + 3) & ~3; }

// The header the platform's blit reads, describing the frame as it now stands.
static void writeHeader(FrameBuffer& frame) {
    BitmapInfoHeader& h = frame.header;
    h = BitmapInfoHeader{};
    h.biSize = 40;
    h.biWidth = frame.width;
    h.biHeight = frame.height;  // positive: rows stored bottom-up
    h.biPlanes = 1;
    h.biBitCount = 24;
    h.biSizeImage = uint32_t(frame.stride) * uint32_t(frame.height);
}

static bool allocatePixels(FrameBuffer& frame, int width, int height) {
    if (width > kMaxFrameWidth) return false;
    int stride = frameStride(width);
    if (uint64_t(stride) * uint64_t(height) > kMaxFrameBytes) return false;
    try {
        frame.pixels.resize(size_t(stride) * size_t(height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    frame.width = width;
    frame.height = height;
    frame.stride = stride;
    return true;
}

void frameResize(FrameBuffer& frame, int width, int height) {
    frame.pixels.clear();
    frame.pixels.shrink_to_fit();
    frame.width = frame.height = frame.stride = 0;
    // A size that cannot be had leaves a 0 x 0 frame: clear, drawing and present then touch no
    // memory.
    allocatePixels(frame, std::max(width, 0), std::max(height, 0));
    writeHeader(frame);
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
