#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "render/frame.h"

namespace {

bool allBytesAre(const FrameBuffer& frame, uint8_t value) {
    for (uint8_t byte : frame.pixels)
        if (byte != value) return false;
    return true;
}

void expectEmpty(const FrameBuffer& frame) {
    EXPECT_EQ(frame.width, 0);
    EXPECT_EQ(frame.height, 0);
    EXPECT_EQ(frame.stride, 0);
    EXPECT_TRUE(frame.pixels.empty());
    EXPECT_EQ(frame.header.biSizeImage, 0u);
    EXPECT_EQ(frame.header.biWidth, 0);
    EXPECT_EQ(frame.header.biHeight, 0);
}

}  // namespace

TEST(FrameResize, PadsEveryRowToAMultipleOfFourBytes) {
    const struct {
        int width, stride;
    } cases[] = {{0, 0}, {1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {640, 1920}, {641, 1924}};
    FrameBuffer frame;
    for (const auto& c : cases) {
        frameResize(frame, c.width, 3);
        EXPECT_EQ(frame.stride, c.stride) << "width " << c.width;
        EXPECT_EQ(frame.pixels.size(), size_t(3 * c.stride)) << "width " << c.width;
    }
}

TEST(FrameResize, WritesTheHeaderTheBlitReads) {
    FrameBuffer frame;
    // Fields left over from elsewhere must not survive a resize.
    frame.header.biCompression = 3;
    frame.header.biXPelsPerMeter = 2835;
    frame.header.biYPelsPerMeter = 2835;
    frame.header.biClrUsed = 256;
    frame.header.biClrImportant = 256;
    frameResize(frame, 5, 3);
    const BitmapInfoHeader& h = frame.header;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biWidth, 5);
    EXPECT_EQ(h.biHeight, 3);  // positive: bottom-up rows
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biSizeImage, 48u);  // 16-byte rows
    EXPECT_EQ(h.biCompression, 0u);
    EXPECT_EQ(h.biXPelsPerMeter, 0);
    EXPECT_EQ(h.biYPelsPerMeter, 0);
    EXPECT_EQ(h.biClrUsed, 0u);
    EXPECT_EQ(h.biClrImportant, 0u);

    frameResize(frame, 2, 7);
    EXPECT_EQ(frame.header.biWidth, 2);
    EXPECT_EQ(frame.header.biHeight, 7);
    EXPECT_EQ(frame.header.biSizeImage, 56u);
}

TEST(FrameResize, SizesThatCannotBeHadLeaveAnEmptyFrame) {
    FrameBuffer frame;
    frameResize(frame, 0, 0);  // a minimised window
    expectEmpty(frame);
    EXPECT_EQ(frame.header.biSize, 40u);
    frameClear(frame);
    framePutPixel(frame, 0, 0, kWhite);
    EXPECT_EQ(frameGetPixel(frame, 0, 0), kBlack);

    // Wider than an int stride can say, or more bytes than the header's 32-bit image size.
    const int tooLarge[][2] = {{INT_MAX, 1}, {INT_MAX, 0}, {1 << 20, 1 << 20}};
    for (const auto& size : tooLarge) {
        SCOPED_TRACE(testing::Message() << size[0] << " x " << size[1]);
        frameResize(frame, 8, 8);
        frameResize(frame, size[0], size[1]);
        expectEmpty(frame);
        frameClear(frame);
        framePutPixel(frame, 0, 0, kWhite);
        EXPECT_EQ(frameGetPixel(frame, 0, 0), kBlack);
    }

    // A negative side counts as zero.
    frameResize(frame, -4, 10);
    EXPECT_EQ(frame.width, 0);
    EXPECT_EQ(frame.stride, 0);
    EXPECT_TRUE(frame.pixels.empty());
    frameResize(frame, 10, -4);
    EXPECT_EQ(frame.height, 0);
    EXPECT_TRUE(frame.pixels.empty());
    EXPECT_EQ(frame.header.biSizeImage, 0u);
}

TEST(FramePixels, RowsAreStoredBottomUpInBlueGreenRedOrder) {
    FrameBuffer frame;
    frameResize(frame, 3, 2);  // stride 12: 9 pixel bytes and 3 padding bytes per row
    std::memset(frame.pixels.data(), 0xFF, frame.pixels.size());
    frameClear(frame);
    EXPECT_TRUE(allBytesAre(frame, 0));

    // Top-left pixel: the last stored row, at its start.
    framePutPixel(frame, 0, 0, makeColor(10, 20, 30));
    EXPECT_EQ(frame.pixels[12], 30);
    EXPECT_EQ(frame.pixels[13], 20);
    EXPECT_EQ(frame.pixels[14], 10);
    // Bottom-right pixel: the first stored row, bytes 6..8.
    framePutPixel(frame, 2, 1, makeColor(1, 2, 3) | 0xFF000000u);
    EXPECT_EQ(frame.pixels[6], 3);
    EXPECT_EQ(frame.pixels[7], 2);
    EXPECT_EQ(frame.pixels[8], 1);

    int nonZero = 0;
    for (uint8_t byte : frame.pixels) nonZero += byte != 0;
    EXPECT_EQ(nonZero, 6);  // nothing else, padding included, was touched

    EXPECT_EQ(frameGetPixel(frame, 0, 0), makeColor(10, 20, 30));
    EXPECT_EQ(frameGetPixel(frame, 2, 1), makeColor(1, 2, 3));  // bits 24-31 not stored
    EXPECT_EQ(frameGetPixel(frame, 1, 0), kBlack);
}

TEST(FramePixels, ReadsAndWritesOutsideThePictureAreIgnored) {
    FrameBuffer frame;
    frameResize(frame, 4, 3);
    std::memset(frame.pixels.data(), 0xAB, frame.pixels.size());
    const int outside[][2] = {{4, 0}, {0, -1}, {-1, 0}, {0, 3}, {INT_MIN, INT_MAX}};
    for (const auto& p : outside) {
        EXPECT_EQ(frameGetPixel(frame, p[0], p[1]), kBlack) << p[0] << ", " << p[1];
        framePutPixel(frame, p[0], p[1], kBlack);
    }
    EXPECT_TRUE(allBytesAre(frame, 0xAB));
    // The corners just inside are real pixels.
    EXPECT_EQ(frameGetPixel(frame, 3, 2), makeColor(0xAB, 0xAB, 0xAB));
    EXPECT_EQ(frameGetPixel(frame, 0, 0), makeColor(0xAB, 0xAB, 0xAB));
}
