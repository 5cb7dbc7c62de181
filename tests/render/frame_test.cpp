#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "render/frame.h"

TEST(FrameBuffer, RowsArePaddedToFourBytesAndTheHeaderDescribesThem) {
    const struct {
        int width, height, stride;
    } cases[] = {{1, 3, 4}, {2, 3, 8}, {3, 1, 12}, {4, 3, 12}, {5, 3, 16}, {641, 2, 1924}};
    FrameBuffer frame;
    for (const auto& c : cases) {
        // Fields left by anything else must not survive a resize.
        frame.header.biCompression = 3;
        frame.header.biXPelsPerMeter = frame.header.biYPelsPerMeter = 2835;
        frame.header.biClrUsed = frame.header.biClrImportant = 256;
        frameResize(frame, c.width, c.height);
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        const BitmapInfoHeader& h = frame.header;
        const uint32_t bytes = uint32_t(c.stride * c.height);
        EXPECT_TRUE(frame.width == c.width && frame.height == c.height);
        EXPECT_EQ(frame.stride, c.stride);
        EXPECT_EQ(frame.pixels.size(), bytes);
        EXPECT_TRUE(h.biSize == 40 && h.biPlanes == 1 && h.biBitCount == 24);
        EXPECT_TRUE(h.biWidth == c.width && h.biHeight == c.height && h.biSizeImage == bytes);
        EXPECT_TRUE(h.biCompression == 0 && h.biXPelsPerMeter == 0 && h.biYPelsPerMeter == 0 &&
                    h.biClrUsed == 0 && h.biClrImportant == 0);
    }
}

TEST(FrameBuffer, PixelsAreStoredBottomUpInBlueGreenRedAndOnlyInsideThePicture) {
    FrameBuffer frame;
    frameResize(frame, 3, 2);  // 12-byte rows: 9 pixel bytes, 3 padding bytes
    std::memset(frame.pixels.data(), 0xFF, frame.pixels.size());
    frameClear(frame);
    framePutPixel(frame, 0, 0, makeColor(10, 20, 30));                // top left: second row
    framePutPixel(frame, 2, 1, 0xFF000000u | makeColor(1, 2, 3));     // bottom right: first row
    for (auto [x, y] : {std::pair{3, 0}, {0, -1}, {-1, 0}, {0, 2}, {INT_MIN, INT_MAX}})
        framePutPixel(frame, x, y, kWhite);
    const uint8_t stored[24] = {0, 0, 0, 0, 0, 0, 3, 2, 1, 0, 0, 0,
                                30, 20, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::memcmp(frame.pixels.data(), stored, sizeof stored), 0);
    EXPECT_EQ(frameGetPixel(frame, 0, 0), makeColor(10, 20, 30));
    EXPECT_EQ(frameGetPixel(frame, 2, 1), makeColor(1, 2, 3));
    std::memset(frame.pixels.data(), 0xAB, frame.pixels.size());
    for (auto [x, y] : {std::pair{3, 0}, {0, -1}, {-1, 0}, {0, 2}, {INT_MIN, INT_MAX}})
        EXPECT_EQ(frameGetPixel(frame, x, y), kBlack) << x << ", " << y;
}

TEST(FrameBuffer, SizesThatCannotBeHadLeaveNoPixels) {
    // A minimised window, negative sides (taken as 0), a row wider than an int stride, more
    // bytes than the header's 32-bit image size: no pixel block, and the old one given back.
    const int cases[][4] = {{0, 0, 0, 0}, {-4, 10, 0, 10}, {10, -4, 10, 0}, {INT_MAX, 1, 0, 0},
                            {1 << 20, 1 << 20, 0, 0}};
    FrameBuffer frame;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c[0] << " x " << c[1]);
        frameResize(frame, 8, 8);
        frameResize(frame, c[0], c[1]);
        EXPECT_TRUE(frame.width == c[2] && frame.height == c[3]);
        EXPECT_EQ(frame.pixels.capacity(), 0u);
        const BitmapInfoHeader& h = frame.header;
        EXPECT_TRUE(h.biSize == 40 && h.biWidth == c[2] && h.biHeight == c[3]);
        EXPECT_EQ(h.biSizeImage, 0u);
        frameClear(frame);
        framePutPixel(frame, 0, 0, kWhite);
        EXPECT_EQ(frameGetPixel(frame, 0, 0), kBlack);
    }
}
