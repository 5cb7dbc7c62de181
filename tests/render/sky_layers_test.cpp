// This test program counts every call of the global operator new, so that a test can show that
// a whole frame is drawn without touching the heap.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "catalog/precession.h"
#include "render/sky_layers.h"

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

namespace {

constexpr int kW = 320, kH = 240;
constexpr double kD = 8;
// Screen distance of a direction theta degrees from the centre: d tan(theta / 2) half-heights.
double screenDistance(double deg) { return kD * std::tan(deg * kDegToRad / 2) * kH / 2; }

SkyView makeView(double lonDeg, double latDeg, double d = kD, int width = kW, int height = kH) {
    SkyView view;
    view.centerLon = lonDeg * kDegToRad;
    view.centerLat = latDeg * kDegToRad;
    view.focalScale = d;
    view.width = width;
    view.height = height;
    viewUpdate(view);
    return view;
}

Vector3 direction(double lonDeg, double latDeg) {
    Vector3 v;
    lonLatToVec3(lonDeg * kDegToRad, latDeg * kDegToRad, v);
    return v;
}

// A sky of magnitude 3 stars: reference stars parked behind the viewer until placed, one
// constellation, a frame of the view's size and the default colour tables.
struct Scene {
    std::unique_ptr<ReferenceCatalog> refs = std::make_unique<ReferenceCatalog>();
    Constellation constellation;
    SkyView view;
    FrameBuffer frame;
    ColorTable colors;
    StarColors starColors;

    Scene(double lonDeg, double latDeg) : view(makeView(lonDeg, latDeg)) {
        clearNumberIndex(refs->index);
        for (ReferenceStar& star : refs->stars) star.dir = direction(lonDeg + 180, -latDeg);
        setDefaultColors(colors);
        buildStarColors(starColors);
        starColors.entries[5] = makeColor(100, 50, 20);
        frameResize(frame, kW, kH);
    }
    ReferenceStar& ref(int slot, int number, double lonDeg, double latDeg) {
        ReferenceStar& star = refs->stars[slot];
        star.number = number;
        star.dir = direction(lonDeg, latDeg);
        star.magnitude = 3;
        star.color = 5;
        refs->index.slot[number] = int16_t(slot);
        return star;
    }
    // At a catalogue position in whole minutes of arc.
    void ancient(int number, int lonMinutes, int latMinutes, int identification) {
        AncientStar star;
        star.numberInConstellation = number;
        star.zodiacSign = lonMinutes / 1800;
        star.signDegrees = lonMinutes / 60 % 30;
        star.lonMinutes = lonMinutes % 60;
        star.latSouth = latMinutes < 0;
        star.latDegrees = std::abs(latMinutes) / 60;
        star.latMinutes = std::abs(latMinutes) % 60;
        star.magnitude = 3;
        star.identification = identification;
        constellation.stars.push_back(star);
        constellation.starCount = int(constellation.stars.size());
    }
    RenderRequest request(int flags) {
        RenderRequest r;
        r.refStars = refs.get();
        r.constellation = &constellation;
        r.view = &view;
        r.displayFlags = flags;
        r.epoch = 1771298.0;
        return r;
    }
    void render(int flags, const FrameOutput& output = FrameOutput()) {
        renderFrame(request(flags), frame, colors, starColors, output);
    }
};

// Numbered star 12 at the centre, matched 4 degrees west (to the right on the ecliptic row);
// star 3 one degree east and north, unidentified; star 5 behind the viewer.
struct Frame : testing::Test {
    Scene scene{0, 0};
    const double refX = kW / 2 + screenDistance(4);
    void SetUp() override {
        scene.ancient(12, 0, 0, 100);
        scene.ancient(3, 60, 60, 0);
        scene.ancient(5, 180 * 60, 0, 0);
        scene.ref(0, 100, -4, 0);
    }
};

}  // namespace

TEST(DisplayFlags, KeysOneToSixFlipTheirBitAndTheRestChangeNothing) {
    for (auto [key, flags] : {std::pair{1, 0x1E}, {3, 0x1B}, {6, 0x3F}, {0, 0x1F}, {7, 0x1F}})
        EXPECT_EQ(toggledDisplayFlags(kDefaultDisplayFlags, key), flags) << key;
    EXPECT_EQ(toggledDisplayFlags(toggledDisplayFlags(0x1F, 6), 6), 0x1F);
}

TEST_F(Frame, LayersStackAtThePlacesAndInTheColoursOfTheirGeometry) {
    const Color star = makeColor(100, 50, 20), grid = scene.colors.entries[ColorEclipticGrid];
    const Color third = scaleColor(grid, 1 / 3.0), lineThird = scaleColor(kIdLineColor, 1 / 3.0);
    // Pixel (168, 119) lies 8.51 from the centre, near the circle of one degree.
    const double ringGap = std::fabs(std::hypot(8.5, 0.5) - scene.view.pixelsPerDegree);
    const Color ring = scaleColor(ancientCircleColor(3), (1.6 - ringGap) / 1.6);
    const Color both = makeColor(64 + 100, 96 + 50, 64 + 20);  // line by maximum, star added
    const struct {
        int flags;
        Color dot, ref, ring, ecliptic, between;
    } cases[] = {
        {0, kWhite, kBlack, kBlack, kBlack, kBlack},  // white dot of radius 1.5 at the centre
        {FlagStars, kBlack, star, kBlack, kBlack, kBlack},
        {FlagCircles, kBlack, kBlack, ring, kBlack, kBlack},
        {FlagStars | FlagCircles, kBlack, star, ring, kBlack, kBlack},
        {FlagEclipticGrid, kWhite, grid, third, grid, grid},
        {FlagEclipticGrid | FlagIdLines | FlagStars, third, both, lineThird, grid, kIdLineColor}};
    const int refColumn = int(refX), midColumn = int((kW / 2 + refX) / 2);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        scene.render(c.flags);
        EXPECT_EQ(frameGetPixel(scene.frame, kW / 2 - 1, kH / 2 - 1), c.dot);
        EXPECT_EQ(frameGetPixel(scene.frame, refColumn, kH / 2), c.ref);
        EXPECT_EQ(frameGetPixel(scene.frame, kW / 2 + 8, kH / 2 - 1), c.ring);
        EXPECT_EQ(frameGetPixel(scene.frame, 20, kH / 2), c.ecliptic);
        EXPECT_EQ(frameGetPixel(scene.frame, midColumn, kH / 2), c.between);
    }
    // A great circle through the centre is a straight line: the equator crosses at the
    // obliquity of the epoch, south (down) of the ecliptic to the east (left).
    setColor(scene.colors, ColorEquatorialGrid, makeColor(150, 60, 30));
    const double tilt = std::tan(trueObliquity(scene.request(0).epoch));
    scene.render(FlagEquatorialGrid);
    for (int x : {70, 100, 220, 250}) {
        const double lineY = kH / 2 + (kW / 2 - x) * tilt;
        const int y = int(std::lround(lineY));
        const double coverage = (1.5 - std::fabs(y - lineY) / std::hypot(1, tilt)) / 1.5;
        const Color c = frameGetPixel(scene.frame, x, y);
        EXPECT_NEAR(colorRed(c), 150 * coverage, 1.5) << x;
        EXPECT_NEAR(colorGreen(c), 60 * coverage, 1.5) << x;
        EXPECT_EQ(frameGetPixel(scene.frame, x, int(lineY) + 4), kBlack) << x;
    }
    EXPECT_EQ(frameGetPixel(scene.frame, 20, kH / 2), kBlack);
}

TEST_F(Frame, NumbersAreWrittenOverThePresentedFrameBesideTheirStars) {
    struct Text {
        int x, y;
        std::string text;
        Color color;
    };
    struct Recorder {
        int presents = 0;
        std::vector<Text> texts;
    } rec;
    FrameOutput out;
    out.context = &rec;
    out.present = [](void* c, const FrameBuffer&) { ++static_cast<Recorder*>(c)->presents; };
    out.measureText = [](void*, const char* text, int* w, int* h) {
        *w = 7 * int(std::string(text).size()), *h = 12;
    };
    out.drawText = [](void* c, int x, int y, const char* text, Color color) {
        auto* r = static_cast<Recorder*>(c);
        if (r->presents == 1) r->texts.push_back({x, y, text, color});
    };
    setColor(scene.colors, ColorNumbers, makeColor(10, 200, 30));
    scene.render(FlagNumbers | FlagStars, out);
    ASSERT_EQ(rec.texts.size(), 2u);  // none for the star behind the viewer
    // "12" (14 x 12) centred 0.7 text widths left of its star, away from its match; "3" (7 x 12)
    // centred on its star. The corner passed on is the top left.
    const AncientStar& three = scene.constellation.stars[1];
    EXPECT_EQ(rec.texts[0].text, "12");
    EXPECT_TRUE(rec.texts[0].x == std::lround(kW / 2 - 0.7 * 14 - 7) && rec.texts[0].y == kH / 2 - 6);
    EXPECT_EQ(rec.texts[0].color, makeColor(10, 200, 30));
    EXPECT_EQ(rec.texts[1].text, "3");
    EXPECT_EQ(rec.texts[1].x, std::lround(three.screenX - 3.5));
    EXPECT_EQ(rec.texts[1].y, std::lround(three.screenY - 6));
    // With circles the number's corner sits 0.7 radius right of and below the star.
    rec = Recorder();
    scene.render(FlagNumbers | FlagCircles, out);
    const double r = scene.view.pixelsPerDegree;
    EXPECT_TRUE(rec.texts[0].x == std::lround(kW / 2 + 0.7 * r) &&
                rec.texts[0].y == std::lround(kH / 2 + 0.7 * r));
    rec = Recorder();
    scene.render(kDefaultDisplayFlags & ~FlagNumbers, out);
    EXPECT_TRUE(rec.presents == 1 && rec.texts.empty());
    // A star on top of its match has its number straight below it.
    AncientStar& twelve = scene.constellation.stars[0];
    twelve.screenX = scene.refs->stars[0].screenX;
    twelve.screenY = scene.refs->stars[0].screenY;
    ScreenPoint p = labelAnchor(twelve, *scene.refs, 0, 20, 10, 9);
    EXPECT_TRUE(p.x == twelve.screenX - 10 && p.y == twelve.screenY + 7 + 5);
}

TEST(IdLines, JoinEachVisibleStarToItsMatchOrToTheBorderTowardsIt) {
    Scene scene(0, 0);
    // Catalogue latitudes 1 degree south and longitudes 30' east of where the offsets put them.
    scene.ancient(1, 30, -60, 100);    // the centre; its match 2 degrees north
    scene.ancient(2, 90, -60, 101);    // 1 degree east; its match far north, off screen
    scene.ancient(3, 150, -60, 102);   // 2 degrees east; its match behind the viewer
    scene.ancient(4, 210, -60, 0);     // unidentified
    scene.ancient(5, 270, -60, 4242);  // a number no entry carries
    scene.ref(0, 100, 0, 2);
    scene.ref(1, 101, 1, 60);
    ReferenceStar& behind = scene.ref(2, 102, 120, 0);
    behind.screenX = 300, behind.screenY = 10;  // as left by an earlier frame
    projectCatalogs(scene.constellation, *scene.refs, scene.view, float(-0.5 * kDegToRad),
                    float(kDegToRad));
    EXPECT_EQ(scene.constellation.stars[0].lonMinutes, 30);  // the catalogue values stay
    std::vector<std::array<double, 4>> lines;
    walkIdLines(scene.constellation, *scene.refs, kW - 1, kH - 1,
                [](void* c, double x0, double y0, double x1, double y1) {
                    static_cast<decltype(lines)*>(c)->push_back({x0, y0, x1, y1});
                }, &lines);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NEAR(lines[0][0], kW / 2, 1e-3);
    EXPECT_NEAR(lines[0][1], kH / 2, 1e-3);
    EXPECT_NEAR(lines[0][2], kW / 2, 1e-3);
    EXPECT_NEAR(lines[0][3], kH / 2 - screenDistance(2), 1e-3);
    EXPECT_TRUE(lines[1][3] == 0 && lines[1][2] > 0 && lines[1][2] < kW - 1);  // top border
    // Behind the viewer: the star's projection continued past the horizon lies east (left).
    EXPECT_EQ(lines[2][2], 0);
    EXPECT_NEAR(lines[2][3], kH / 2, 1e-3);
}

TEST(ClipRayToFrame, MeetsTheBorderStraightOrThroughASideOrTheTopAndBottom) {
    const double cases[][6] = {{10, 10, 0, -5, 10, 0},       {10, 10, 0.00001, 3, 10, 40},
                               {10, 10, -3, 0.00005, 0, 10}, {10, 10, 10, 1, 50, 14},
                               {10, 10, -4, -2, 0, 5},       {10, 10, 100, 100, 40, 40},
                               {10, 10, -1, -3, 10 - 10 / 3.0, 0}};
    for (const auto& [x0, y0, dx, dy, x, y] : cases) {
        ScreenPoint p = clipRayToFrame({50, 40}, x0, y0, dx, dy);
        EXPECT_TRUE(p.x == x && p.y == y) << dx << ", " << dy << ": " << p.x << ", " << p.y;
    }
}

namespace {
using Polylines = std::vector<std::vector<ScreenPoint>>;
Polylines eclipticGrid(const SkyView& view) {
    Polylines lines;
    GridWalker walker;
    walkEclipticGrid(walker, view, view.width - 1, view.height - 1,
                     [](void* c, const ScreenPoint* p, int n) {
                         static_cast<Polylines*>(c)->emplace_back(p, p + n);
                     }, &lines);
    return lines;
}
// The polylines lying wholly on a circle about the centre (radius 0: the middle row).
Polylines on(const Polylines& lines, const SkyView& v, double radius) {
    Polylines found;
    for (const auto& line : lines)
        if (std::all_of(line.begin(), line.end(), [&](ScreenPoint p) {
                double r = radius ? std::hypot(p.x - v.width / 2, p.y - v.height / 2) : 0;
                return std::fabs(radius ? r - radius : p.y - v.height / 2) < 1e-3;
            }))
            found.push_back(line);
    return found;
}
bool same(ScreenPoint a, ScreenPoint b) { return std::hypot(a.x - b.x, a.y - b.y) < 1e-6; }
}  // namespace

TEST(GridWalkers, SendGridLinesAsPolylinesClippedToTheFrame) {
    // From the ecliptic pole the 75 and 60 degree parallels lie wholly inside the picture: one
    // closed polyline of 361 points each.
    const SkyView pole = makeView(0, 90, 2.5, 480, 300);
    for (double lat : {75.0, 60.0}) {
        Polylines parallel = on(eclipticGrid(pole), pole, 375 * std::tan((90 - lat) * kDegToRad / 2));
        ASSERT_EQ(parallel.size(), 1u) << lat;
        EXPECT_EQ(parallel[0].size(), 361u);
        EXPECT_TRUE(same(parallel[0].front(), parallel[0].back()));
    }
    // Seen from longitude 180 the ecliptic enters at the right border (longitudes grow to the
    // left) and leaves at the left one; seen from 0, it breaks at the sample of longitude 0.
    const SkyView side = makeView(180, 0);
    Polylines ecliptic = on(eclipticGrid(side), side, 0);
    ASSERT_EQ(ecliptic.size(), 1u);
    EXPECT_TRUE(ecliptic[0].front().x == kW - 1 && ecliptic[0].back().x == 0);
    const SkyView front = makeView(0, 0);
    ecliptic = on(eclipticGrid(front), front, 0);
    ASSERT_EQ(ecliptic.size(), 2u);
    EXPECT_TRUE(same(ecliptic[0].front(), {kW / 2, kH / 2}) && ecliptic[0].back().x == 0);
    EXPECT_TRUE(ecliptic[1].front().x == kW - 1 && same(ecliptic[1].back(), {kW / 2, kH / 2}));
    // So close in that no sample is on screen: nothing, though the ecliptic crosses the frame.
    EXPECT_TRUE(eclipticGrid(makeView(7.5, 0.05, 1000)).empty());

    // A meridian running on behind the viewer stops at its last sample in front, latitude -79,
    // 89.5 degrees below the centre of this wide view; no border point follows.
    const SkyView wide = makeView(0, 10.5, 0.5, 400, 400);
    for (const auto& line : eclipticGrid(wide))
        if (line.size() == 170 && line.front().x == 200 && line.back().x == 200)
            EXPECT_NEAR(line.back().y, 200 + 100 * std::tan(89.5 * kDegToRad / 2), 1e-3);
}

TEST(RenderFrame, DrawsAWholeSkyWithEveryLayerWithoutAllocating) {
    Scene scene(146, -22);
    for (int i = 0; i < kReferenceStarCount; ++i) {  // spread evenly over the sphere
        double lat = std::asin(2.0 * (i + 0.5) / kReferenceStarCount - 1) * kRadToDeg;
        ReferenceStar& star = scene.ref(i, i + 1, std::fmod(i * 137.508, 360), lat);
        star.magnitude = float(1 + i % 6);
        star.color = i % kStarColorCount;
    }
    for (int i = 0; i < 27; ++i) scene.ancient(i + 1, (130 + i) * 60, (-30 + i) * 60, i * 300);
    int drawn = 0;
    FrameOutput output;
    output.context = &drawn;
    output.measureText = [](void*, const char*, int* w, int* h) { *w = 10, *h = 12; };
    output.drawText = [](void* c, int, int, const char*, Color) { ++*static_cast<int*>(c); };
    const RenderRequest request = scene.request(0x3F);
    const long before = allocations.load();
    renderFrame(request, scene.frame, scene.colors, scene.starColors, output);
    EXPECT_EQ(allocations.load() - before, 0);
    EXPECT_GT(drawn, 0);
    int* volatile probe = new int(1);  // the counter itself counts
    delete probe;
    EXPECT_EQ(allocations.load() - before, 1);
}
