#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <tuple>

#include "render/frame.h"

TEST(FrameBuffer, RowsArePaddedToFourBytesAndTheHeaderDescribesThem) {
    // Width, height, stride; then sizes that cannot be had (negative sides count as 0, a row
    // wider than an int stride, 3 x 1431655765 being 2^32 - 1, more bytes than the header's
    // 32-bit image size): no pixels.
    const int cases[][5] = {{1, 3, 1, 3, 4},   {4, 3, 4, 3, 12},    {5, 3, 5, 3, 16},
                            {0, 0, 0, 0, 0},   {-4, 10, 0, 10, 0},  {10, -4, 10, 0, 32},
                            {1431655765, 1, 0, 0, 0}, {1 << 20, 1 << 20, 0, 0, 0}};
    FrameBuffer frame;
    for (const auto& [width, height, w, h, stride] : cases) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        frameResize(frame, 8, 8);
        // Fields left by anything else must not survive a resize.
        BitmapInfoHeader& b = frame.header;
        b.biCompression = 3, b.biXPelsPerMeter = b.biYPelsPerMeter = 2835;
        b.biClrUsed = b.biClrImportant = 1;
        frameResize(frame, width, height);
        const uint32_t bytes = uint32_t(stride * h);
        EXPECT_EQ(std::make_tuple(frame.width, frame.height, frame.stride, frame.pixels.size(),
                                  frame.pixels.capacity()),
                  std::make_tuple(w, h, stride, size_t(bytes), size_t(bytes)));
        EXPECT_EQ(std::make_tuple(b.biSize, b.biWidth, b.biHeight, b.biPlanes, b.biBitCount,
                                  b.biSizeImage, b.biCompression, b.biXPelsPerMeter,
                                  b.biYPelsPerMeter, b.biClrUsed, b.biClrImportant),
                  std::make_tuple(40u, w, h, 1, 24, bytes, 0u, 0, 0, 0u, 0u));
        frameClear(frame);
        framePutPixel(frame, 0, 0, kWhite);
        EXPECT_EQ(frameGetPixel(frame, 0, 0), bytes ? kWhite : kBlack);
    }
}

TEST(FrameBuffer, PixelsAreStoredBottomUpInBlueGreenRedAndOnlyInsideThePicture) {
    FrameBuffer frame;
    frameResize(frame, 3, 2);  // 12-byte rows: 9 pixel bytes, 3 padding bytes
    std::memset(frame.pixels.data(), 0xFF, frame.pixels.size());
    frameClear(frame);
    framePutPixel(frame, 0, 0, makeColor(10, 20, 30));             // top left: second row
    framePutPixel(frame, 2, 1, 0xFF000000u | makeColor(1, 2, 3));  // bottom right: first row
    const int outside[][2] = {{3, 0}, {0, -1}, {-1, 0}, {0, 2}, {INT_MIN, INT_MAX}};
    for (const auto& [x, y] : outside) framePutPixel(frame, x, y, kWhite);
    const uint8_t stored[24] = {0, 0, 0, 0, 0, 0, 3, 2, 1, 0, 0, 0,
                                30, 20, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(frame.pixels.data(), stored, sizeof stored), 0);
    EXPECT_EQ(frameGetPixel(frame, 0, 0), makeColor(10, 20, 30));
    EXPECT_EQ(frameGetPixel(frame, 2, 1), makeColor(1, 2, 3));
    std::memset(frame.pixels.data(), 0xAB, frame.pixels.size());
    for (const auto& [x, y] : outside) EXPECT_EQ(frameGetPixel(frame, x, y), kBlack) << x << y;
}
