#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "render/frame.h"

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
