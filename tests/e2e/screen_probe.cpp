// The end-to-end driver's helper: it reads the screenshots that xwd writes, answers the few
// questions the driver asks about their pixels and closes a window the way a window manager's
// close button does.
//
//   screen_probe diff SHOT1 SHOT2 X Y W H         pixels that differ inside the rectangle
//   screen_probe count SHOT X Y W H R G B [LEAST] pixels of that colour at any brightness, as
//                                                 smoothed lines shade it (black is none), or
//                                                 with a channel at least LEAST (0..255)
//   screen_probe brightest SHOT X Y W H           "x y" of the brightest pixel (first of ties)
//   screen_probe row SHOT X Y W                   the largest channel of each pixel along a row
//   screen_probe close WINDOW                     WM_DELETE_WINDOW to the window (needs DISPLAY)
//
// Rectangles are clipped to the picture. Exit status 0 on success, 1 on unreadable input or a
// failed request, 2 on bad arguments.
#include <X11/Xlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct Rgb {
    int r, g, b;
};

// A ZPixmap screenshot of a true-colour visual, the only kind Xvfb's 24-bit screen gives.
struct Shot {
    int width = 0, height = 0;
    std::vector<Rgb> pixels;
    const Rgb& at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

uint32_t bigEndian32(const unsigned char* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// The channel that `mask` selects, scaled to 0..255.
int channel(uint32_t pixel, uint32_t mask) {
    if (!mask) return 0;
    const int shift = __builtin_ctz(mask);
    return int(((pixel & mask) >> shift) * 255u / (mask >> shift));
}

// The file header is 25 big-endian 32-bit fields; the window name fills it up to its size,
// then come the colour map entries (12 bytes each) and the image rows.
bool readShot(const char* path, Shot& shot) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    std::vector<unsigned char> data(size_t(in.tellg()));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(data.data()), std::streamsize(data.size()))) return false;
    if (data.size() < 100) return false;
    uint32_t field[25];
    for (int i = 0; i < 25; ++i) field[i] = bigEndian32(&data[size_t(i) * 4]);
    const uint32_t headerSize = field[0], format = field[2], width = field[4], height = field[5];
    const uint32_t byteOrder = field[7], bitsPerPixel = field[11], bytesPerLine = field[12];
    const uint32_t redMask = field[14], greenMask = field[15], blueMask = field[16];
    const uint32_t colorCount = field[19];
    const int zPixmap = 2;
    if (format != uint32_t(zPixmap) || (bitsPerPixel != 32 && bitsPerPixel != 24)) return false;
    if (width == 0 || height == 0 || width > 16384 || height > 16384) return false;
    const uint64_t start = uint64_t(headerSize) + uint64_t(colorCount) * 12;
    if (start + uint64_t(bytesPerLine) * height > data.size()) return false;
    const uint32_t bytes = bitsPerPixel / 8;
    if (uint64_t(bytesPerLine) < uint64_t(width) * bytes) return false;
    shot.width = int(width);
    shot.height = int(height);
    shot.pixels.resize(size_t(width) * height);
    for (uint32_t y = 0; y < height; ++y) {
        const unsigned char* row = &data[start + uint64_t(y) * bytesPerLine];
        for (uint32_t x = 0; x < width; ++x) {
            const unsigned char* p = row + x * bytes;
            uint32_t pixel = 0;
            for (uint32_t k = 0; k < bytes; ++k) {
                // Byte order 0 is least significant byte first.
                uint32_t shift = byteOrder == 0 ? 8 * k : 8 * (bytes - 1 - k);
                pixel |= uint32_t(p[k]) << shift;
            }
            shot.pixels[size_t(y) * width + x] = {channel(pixel, redMask),
                                                  channel(pixel, greenMask),
                                                  channel(pixel, blueMask)};
        }
    }
    return true;
}

// True when `p` is `colour` scaled by some brightness in (0, 1], within a step of rounding.
bool isShadeOf(const Rgb& p, const Rgb& colour) {
    const int brightest = std::max({colour.r, colour.g, colour.b});
    const int top = std::max({p.r, p.g, p.b});
    if (top == 0 || brightest == 0 || top > brightest) return false;
    const double scale = double(top) / brightest;
    auto near = [scale](int got, int full) { return std::abs(got - scale * full) <= 1.5; };
    return near(p.r, colour.r) && near(p.g, colour.g) && near(p.b, colour.b);
}

struct Rect {
    int x0, y0, x1, y1;  // x1, y1 one past the end
};

bool parseInt(const char* text, int& value) {
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (!*text || *end) return false;
    value = int(v);
    return true;
}

bool parseRect(char** args, const Shot& shot, Rect& rect) {
    int x, y, w, h;
    if (!parseInt(args[0], x) || !parseInt(args[1], y) || !parseInt(args[2], w) ||
        !parseInt(args[3], h) || w < 0 || h < 0)
        return false;
    rect = {x < 0 ? 0 : x, y < 0 ? 0 : y, x + w > shot.width ? shot.width : x + w,
            y + h > shot.height ? shot.height : y + h};
    return true;
}

int usage() {
    std::fprintf(stderr, "screen_probe: bad arguments (see the head of screen_probe.cpp)\n");
    return 2;
}

int unreadable(const char* path) {
    std::fprintf(stderr, "screen_probe: %s is no readable xwd screenshot\n", path);
    return 1;
}

int closeWindow(const char* id) {
    char* end = nullptr;
    unsigned long window = std::strtoul(id, &end, 0);
    if (!*id || *end) return usage();
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return sent ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    const std::string command = argv[1];
    if (command == "close" && argc == 3) return closeWindow(argv[2]);

    Shot shot;
    if (!readShot(argv[2], shot)) return unreadable(argv[2]);
    Rect rect;
    if (command == "diff" && argc == 8) {
        Shot other;
        if (!readShot(argv[3], other)) return unreadable(argv[3]);
        if (other.width != shot.width || other.height != shot.height) {
            std::fprintf(stderr, "screen_probe: the screenshots differ in size\n");
            return 1;
        }
        if (!parseRect(argv + 4, shot, rect)) return usage();
        long differing = 0;
        for (int y = rect.y0; y < rect.y1; ++y)
            for (int x = rect.x0; x < rect.x1; ++x) {
                const Rgb &a = shot.at(x, y), &b = other.at(x, y);
                if (a.r != b.r || a.g != b.g || a.b != b.b) ++differing;
            }
        std::printf("%ld\n", differing);
    } else if (command == "count" && (argc == 10 || argc == 11)) {
        Rgb want;
        int least = 1;
        if (!parseRect(argv + 3, shot, rect) || !parseInt(argv[7], want.r) ||
            !parseInt(argv[8], want.g) || !parseInt(argv[9], want.b) ||
            (argc == 11 && !parseInt(argv[10], least)))
            return usage();
        long matching = 0;
        for (int y = rect.y0; y < rect.y1; ++y)
            for (int x = rect.x0; x < rect.x1; ++x) {
                const Rgb& p = shot.at(x, y);
                if (isShadeOf(p, want) && std::max({p.r, p.g, p.b}) >= least) ++matching;
            }
        std::printf("%ld\n", matching);
    } else if (command == "brightest" && argc == 7) {
        if (!parseRect(argv + 3, shot, rect) || rect.x0 >= rect.x1 || rect.y0 >= rect.y1)
            return usage();
        int bestX = rect.x0, bestY = rect.y0, best = -1;
        for (int y = rect.y0; y < rect.y1; ++y)
            for (int x = rect.x0; x < rect.x1; ++x) {
                const Rgb& p = shot.at(x, y);
                if (p.r + p.g + p.b > best) {
                    best = p.r + p.g + p.b;
                    bestX = x;
                    bestY = y;
                }
            }
        std::printf("%d %d\n", bestX, bestY);
    } else if (command == "row" && argc == 6) {
        char height[] = "1";
        char* args[] = {argv[3], argv[4], argv[5], height};
        if (!parseRect(args, shot, rect)) return usage();
        for (int x = rect.x0; x < rect.x1; ++x) {
            const Rgb& p = shot.at(x, rect.y0);
            std::printf("%d%c", std::max({p.r, p.g, p.b}), x + 1 < rect.x1 ? ' ' : '\n');
        }
    } else {
        return usage();
    }
    return 0;
}
