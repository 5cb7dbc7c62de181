// Counts every call of the global operator new in this test program, so that a test can show a
// whole frame is drawn without touching the heap.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

#include "sky_scene.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

TEST(RenderFrame, DrawsAWholeFrameWithoutAllocating) {
    // The widest default view, every layer on, stars spread over the whole sky.
    SkyScene scene(146, -22, 2.5, 640, 360);
    for (int i = 0; i < kReferenceStarCount; ++i)
        scene.addReference(i, i + 1, (i * 137.508) - 360 * std::floor(i * 137.508 / 360),
                           std::asin(2.0 * (i + 0.5) / kReferenceStarCount - 1) * kRadToDeg,
                           float(1 + i % 6), i % kStarColorCount);
    for (int i = 0; i < 27; ++i) scene.addAncient(i + 1, (130 + i) * 60, (-30 + i) * 60, 4, i * 300);

    FrameOutput output;
    output.present = [](void*, const FrameBuffer&) {};
    output.measureText = [](void*, const char*, int* w, int* h) { *w = 10, *h = 12; };
    int drawn = 0;
    output.context = &drawn;
    output.drawText = [](void* c, int, int, const char*, Color) { ++*static_cast<int*>(c); };

    const RenderRequest request = scene.request(0x3F);
    long before = allocations.load();
    renderFrame(request, scene.frame, scene.colors, scene.starColors, output);
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_GT(drawn, 0);  // the numbers step ran too

    // A frame that allocated anyway would show up here: the counter itself works.
    before = allocations.load();
    int* volatile probe = new int(1);
    delete probe;
    EXPECT_EQ(allocations.load() - before, 1);
}
