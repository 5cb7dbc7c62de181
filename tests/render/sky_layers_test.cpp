#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>

#include "catalog/precession.h"
#include "render/sky_layers.h"

namespace {

constexpr int kW = 320, kH = 240;
constexpr double kD = 8;
// Screen distance of a direction theta degrees from the centre: d tan(theta / 2) half-heights.
double screenDistance(double deg) { return kD * std::tan(deg * kDegToRad / 2) * kH / 2; }

SkyView makeView(double lonDeg, double latDeg, double d = kD, int width = kW, int height = kH) {
    SkyView view{lonDeg * kDegToRad, latDeg * kDegToRad, 0, d, {}, {}, width, height, 0};
    viewUpdate(view);
    return view;
}

Vector3 direction(double lonDeg, double latDeg) {
    Vector3 v;
    return lonLatToVec3(lonDeg * kDegToRad, latDeg * kDegToRad, v), v;
}

// Reference stars parked behind the viewer until placed; every star placed is of magnitude 3.
struct Scene {
    std::unique_ptr<ReferenceCatalog> refs = std::make_unique<ReferenceCatalog>();
    Constellation stars;
    SkyView view;
    FrameBuffer frame;
    ColorTable colors;
    StarColors starColors;
    double ratio = 1;  // device pixels per window pixel

    Scene(double lonDeg, double latDeg, double d = kD, int width = kW, int height = kH)
        : view(makeView(lonDeg, latDeg, d, width, height)) {
        clearNumberIndex(refs->index);
        for (ReferenceStar& star : refs->stars) star.dir = direction(lonDeg + 180, -latDeg);
        setDefaultColors(colors), buildStarColors(starColors), frameResize(frame, width, height);
        starColors.entries[5] = makeColor(100, 50, 20);
    }
    ReferenceStar& ref(int slot, int number, double lonDeg, double latDeg) {
        ReferenceStar& s = refs->stars[slot];
        s.number = number, s.dir = direction(lonDeg, latDeg), s.magnitude = 3, s.color = 5;
        refs->index.slot[number] = int16_t(slot);
        return s;
    }
    // At a catalogue position in whole minutes of arc.
    void ancient(int number, int lon, int lat, int identification) {
        stars.stars.push_back({number, lon / 1800, lon / 60 % 30, lon % 60, lat < 0,
                               std::abs(lat) / 60, std::abs(lat) % 60, 3, {}, {}, identification});
        stars.starCount = int(stars.stars.size());
    }
    RenderRequest request(int flags) {
        return {refs.get(), &stars, 0, 0, &view, flags, 1771298.0, nullptr, ratio};
    }
    void render(int flags, const FrameOutput& output = {}) {
        renderFrame(request(flags), frame, colors, starColors, output);
    }
};

// Star 12 at the centre, matched 4 degrees west (to the right on the ecliptic row); star 3 one
// degree east and north, unidentified; star 5 behind the viewer.
struct Frame : testing::Test, Scene {
    Frame() : Scene(0, 0) {
        ancient(12, 0, 0, 100), ancient(3, 60, 60, 0), ancient(5, 180 * 60, 0, 0);
        ref(0, 100, -4, 0);
    }
};

}  // namespace

TEST_F(Frame, EachFlagShowsItsLayerAndLaterLayersBlendOverEarlierOnes) {
    // The ecliptic lies between rows 119 and 120, two thirds of its colour in each.
    const Color star = makeColor(100, 50, 20), grid = scaleColor(kDefaultEclipticGridColor, 2 / 3.0);
    // Pixel (168, 119) lies 8.51 from the centre, near the circle of one degree.
    const double ringGap = std::fabs(std::hypot(8.5, 0.5) - view.pixelsPerDegree);
    const Color ring = scaleColor(ancientCircleColor(3), (1.6 - ringGap) / 1.6);
    const Color both = makeColor(64 + 100, 96 + 50, 64 + 20);  // line by maximum, star added
    const struct {
        int flags;
        Color dot, ref, ring, between;
    } cases[] = {
        {0, kWhite, kBlack, kBlack, kBlack},  // white dot of radius 1.5 at the centre
        {FlagStars, kBlack, star, kBlack, kBlack},
        {FlagCircles, kBlack, kBlack, ring, kBlack},
        {FlagStars | FlagCircles, kBlack, star, ring, kBlack},
        {FlagEclipticGrid | FlagIdLines | FlagStars, grid, both,
         maxColors(scaleColor(kIdLineColor, 1 / 3.0), grid), kIdLineColor}};
    const double refX = kW / 2 + screenDistance(4);
    for (const auto& c : cases) {
        render(c.flags);
        EXPECT_EQ(frameGetPixel(frame, kW / 2 - 1, kH / 2 - 1), c.dot) << c.flags;
        EXPECT_EQ(frameGetPixel(frame, int(refX), kH / 2), c.ref) << c.flags;
        EXPECT_EQ(frameGetPixel(frame, kW / 2 + 8, kH / 2 - 1), c.ring) << c.flags;
        EXPECT_EQ(frameGetPixel(frame, int((kW / 2 + refX) / 2), kH / 2), c.between) << c.flags;
    }
}

TEST_F(Frame, GridsLieSymmetricAboutTheMiddleOfTheFrame) {
    // The ecliptic and meridian 0 cover the two middle rows (columns) alike and no others.
    render(FlagEclipticGrid);
    for (int along : {3, 40, 100}) {
        for (auto [x, y, dx, dy] : {std::array{along, kH / 2, 0, -1}, {kW / 2, along, -1, 0}}) {
            const Color middle = frameGetPixel(frame, x, y);
            EXPECT_TRUE(middle != kBlack && frameGetPixel(frame, x + dx, y + dy) == middle &&
                        frameGetPixel(frame, x + 2 * dx, y + 2 * dy) == kBlack &&
                        frameGetPixel(frame, x - dx, y - dy) == kBlack) << x << ", " << y;
        }
    }
}

TEST_F(Frame, EachGridHasItsColourWhichStaysTheCurrentLineColourAfterTheFrame) {
    // The equator crosses the centre at the epoch's obliquity, south of the ecliptic to the east.
    const Color ecliptic = makeColor(0, 0, 150), equator = makeColor(150, 60, 0);
    setColor(colors, ColorEclipticGrid, ecliptic);
    setColor(colors, ColorEquatorialGrid, equator);
    const double tilt = std::tan(trueObliquity(request(0).epoch));
    const double cx = (kW - 1) / 2.0, cy = (kH - 1) / 2.0;  // the grids' centre
    for (int flags : {0x00, 0x10, 0x20, 0x30}) {  // neither grid, one, the other, both
        colors.entries[ColorCurrentLine] = kWhite;
        render(flags);
        EXPECT_EQ(colors.entries[ColorCurrentLine], equator) << flags;
        const bool eclipticOn = flags & FlagEclipticGrid, equatorOn = flags & FlagEquatorialGrid;
        EXPECT_EQ(frameGetPixel(frame, 20, kH / 2), eclipticOn ? makeColor(0, 0, 100) : kBlack);
        for (int x : {70, 100, 220, 250}) {
            const double lineY = cy + (cx - x) * tilt, y = std::round(lineY);
            const double coverage = 1 - std::fabs(y - lineY) / std::hypot(1, tilt) / 1.5;
            const Color c = frameGetPixel(frame, x, int(y));
            EXPECT_NEAR(colorRed(c), equatorOn ? 150 * coverage : 0, 1.5) << x << " " << flags;
            EXPECT_EQ(colorBlue(c), 0) << x << " " << flags;
            EXPECT_EQ(frameGetPixel(frame, x, int(y) + 4), kBlack) << x;
        }
    }
}

TEST_F(Frame, FullFramesWriteTheNumbersBesideTheirStars) {
    using Text = std::tuple<int, int, std::string, Color>;
    struct Recorder {
        int presents = 0;
        std::vector<Text> texts;  // those written after the one present
    } rec;
    const FrameOutput out{
        &rec, [](void* c, const FrameBuffer&) { ++static_cast<Recorder*>(c)->presents; },
        [](void*, const char* text, int* w, int* h) { *w = 7 * int(std::strlen(text)), *h = 12; },
        [](void* c, int x, int y, const char* text, Color color) {
            auto* r = static_cast<Recorder*>(c);
            if (r->presents == 1) r->texts.emplace_back(x, y, text, color);
        }};
    const Color green = makeColor(10, 200, 30);
    setColor(colors, ColorNumbers, green);
    // With circles the number's corner sits 0.7 radius right of and below the star.
    render(0x3F, out);
    const int offset = int(std::lround(0.7 * view.pixelsPerDegree));
    ASSERT_EQ(rec.texts.size(), 2u);
    EXPECT_EQ(rec.texts[0], Text(kW / 2 + offset, kH / 2 + offset, "12", green));
    rec = {};
    render(0x3F & ~FlagNumbers, out);
    EXPECT_TRUE(rec.presents == 1 && rec.texts.empty());
}

TEST(IdLines, JoinEachVisibleStarToItsMatchOrToTheBorderTowardsIt) {
    Scene s(0, 0);
    // Catalogue positions 30' east and 1 degree south of where the offsets put them.
    s.ancient(1, 30, -60, 100);   // the centre; its match 2 degrees north
    s.ancient(2, 90, -60, 101);   // 1 degree east; its match far north, off screen
    s.ancient(3, 150, -60, 102);  // 2 degrees east; its match behind the viewer
    s.ref(0, 100, 0, 2), s.ref(1, 101, 1, 60);
    ReferenceStar& behind = s.ref(2, 102, 120, 0);
    behind.screenX = 300, behind.screenY = 10;  // as left by an earlier frame
    projectCatalogs(s.stars, *s.refs, s.view, float(-0.5 * kDegToRad), float(kDegToRad));
    std::vector<std::array<double, 4>> lines;
    walkIdLines(s.stars, *s.refs, kW - 1, kH - 1, [](void* c, double x0, double y0, double x1,
                double y1) { static_cast<decltype(lines)*>(c)->push_back({x0, y0, x1, y1}); },
                &lines);
    ASSERT_EQ(lines.size(), 3u);
    // From star i + 1, i degrees east: to the match; to the top border; to the left border.
    const double ends[3][2] = {{kW / 2, kH / 2 - screenDistance(2)}, {lines[1][2], 0}, {0, kH / 2}};
    for (int i = 0; i < 3; ++i) {
        const double startX = kW / 2 - screenDistance(i);
        EXPECT_NEAR(std::hypot(lines[i][0] - startX, lines[i][1] - kH / 2), 0, 1e-3) << i;
        EXPECT_NEAR(std::hypot(lines[i][2] - ends[i][0], lines[i][3] - ends[i][1]), 0, 1e-3) << i;
    }
    EXPECT_TRUE(lines[1][2] > 0 && lines[1][2] < kW - 1);
}

TEST(DeviceRatio, AFrameAtRatioTwoHasGridLinesTwiceAsWideAndStarsWhereTheGeometryPutsThem) {
    // A 200 x 150 window on the ecliptic at longitude 90: the meridian of 90 runs down its middle,
    // and one white star of magnitude 3 stands 3 degrees north of the centre.
    double light[2] = {};
    for (int ratio : {1, 2}) {
        SCOPED_TRACE(testing::Message() << "ratio " << ratio);
        Scene s(90, 0, 4, 200 * ratio, 150 * ratio);
        s.ratio = ratio, s.ref(0, 1, 90, 3).color = 0;
        setColor(s.colors, ColorEclipticGrid, kWhite);
        s.render(FlagEclipticGrid);
        // Across the meridian, halfway between the star and the parallel of 15 degrees.
        double width = 0;
        for (int x = 90 * ratio; x < 110 * ratio; ++x)
            width += colorBlue(frameGetPixel(s.frame, x, 60 * ratio)) / 255.0;
        EXPECT_NEAR(width, 1.5 * ratio, 0.25);
        s.render(FlagStars);
        double sum = 0, sumX = 0, sumY = 0;
        for (int y = 0; y < s.frame.height; ++y)
            for (int x = 0; x < s.frame.width; ++x) {
                const double v = colorBlue(frameGetPixel(s.frame, x, y));
                sum += v, sumX += v * (x + 0.5), sumY += v * (y + 0.5);
            }
        EXPECT_NEAR(sumX / sum, 100.0 * ratio, 0.05);
        // d tan(1.5 degrees) half-heights above the centre.
        EXPECT_NEAR(75.0 * ratio - sumY / sum, 4 * std::tan(1.5 * kDegToRad) * 75 * ratio, 0.05);
        light[ratio - 1] = sum;
    }
    EXPECT_NEAR(light[1] / light[0], 4, 0.4);  // the same size on the screen
}

TEST(ClipRayToFrame, MeetsTheBorderStraightOrThroughASideOrTheTopAndBottom) {
    const double cases[][6] = {
        {10, 10, 0, -5, 10, 0},  {10, 10, 0.00001, 3, 10, 40}, {10, 10, -3, 0.00005, 0, 10},
        {10, 10, 10, 1, 50, 14}, {10, 10, -4, -2, 0, 5},       {10, 10, -1, -3, 10 - 10 / 3.0, 0}};
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
// The polylines lying wholly on one screen row or column.
Polylines along(const Polylines& lines, double ScreenPoint::*axis, double at) {
    Polylines found;
    for (const auto& line : lines)
        if (std::all_of(line.begin(), line.end(),
                        [&](auto p) { return std::fabs(p.*axis - at) < 1e-3; }))
            found.push_back(line);
    return found;
}
bool same(ScreenPoint a, ScreenPoint b) { return std::hypot(a.x - b.x, a.y - b.y) < 1e-6; }
}  // namespace

TEST(GridWalkers, SendGridLinesAsPolylinesClippedToTheFrame) {
    // From the pole: parallels 75 and 60 closed in 361 points; the cardinal meridians start at
    // the pole, the other multiples of 30 degrees 1 degree from it, the rest at latitude 75.
    Polylines closed;
    int starts[2] = {};
    for (const auto& line : eclipticGrid(makeView(0, 90, 2.5, 480, 300))) {
        if (line.size() == 361) closed.push_back(line);
        const double r = std::hypot(line[0].x - 240, line[0].y - 150);
        for (int k : {0, 1}) starts[k] += std::fabs(r - 375 * std::tan(k * 0.5 * kDegToRad)) < 1e-3;
    }
    EXPECT_TRUE(starts[0] == 4 && starts[1] == 8) << starts[0] << " " << starts[1];
    ASSERT_EQ(closed.size(), 2u);
    for (int i : {0, 1}) EXPECT_TRUE(same(closed[i].front(), closed[i].back()));
    // Meridian 0 of a wide view stops at its last sample in front, 89.5 degrees below the centre.
    const SkyView wide = makeView(0, 10.5, 0.5, 400, 400);
    const Polylines middle = along(eclipticGrid(wide), &ScreenPoint::x, 200);
    ASSERT_EQ(middle.size(), 2u);
    EXPECT_EQ(middle[0].size(), 170u);
    EXPECT_NEAR(middle[0].back().y, 200 + 100 * std::tan(89.5 * kDegToRad / 2), 1e-3);
}
