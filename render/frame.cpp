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
