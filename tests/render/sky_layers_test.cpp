#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "catalog/precession.h"
#include "sky_scene.h"

namespace {

constexpr int kW = 320, kH = 240;
constexpr double kD = 8;
// Screen distance of a direction theta degrees from the centre: d tan(theta / 2) plane units.
double screenDistance(double thetaDeg) { return kD * std::tan(thetaDeg * kDegToRad / 2) * kH / 2; }

const FrameOutput kNoOutput;

struct Polyline {
    std::vector<ScreenPoint> points;
};

void recordPolyline(void* context, const ScreenPoint* points, int count) {
    static_cast<std::vector<Polyline>*>(context)->push_back({{points, points + count}});
}

struct Line {
    double x0, y0, x1, y1;
};

void recordLine(void* context, double x0, double y0, double x1, double y1) {
    static_cast<std::vector<Line>*>(context)->push_back({x0, y0, x1, y1});
}

std::vector<Polyline> eclipticPolylines(const SkyView& view, double xMax, double yMax) {
    std::vector<Polyline> lines;
    GridWalker walker;
    walkEclipticGrid(walker, view, xMax, yMax, recordPolyline, &lines);
    return lines;
}

// Polylines lying entirely on screen row y.
std::vector<Polyline> onRow(const std::vector<Polyline>& lines, double y) {
    std::vector<Polyline> found;
    for (const Polyline& line : lines) {
        bool all = true;
        for (const ScreenPoint& p : line.points) all = all && std::fabs(p.y - y) < 1e-3;
        if (all) found.push_back(line);
    }
    return found;
}

bool samePoint(const ScreenPoint& a, const ScreenPoint& b) {
    return std::fabs(a.x - b.x) < 1e-6 && std::fabs(a.y - b.y) < 1e-6;
}

}  // namespace

TEST(DisplayFlags, KeysFlipTheirOwnBitAndTheLowBitsChooseTheAncientSymbols) {
    EXPECT_EQ(toggledDisplayFlags(kDefaultDisplayFlags, 6), 0x3F);
    EXPECT_EQ(toggledDisplayFlags(toggledDisplayFlags(0x1F, 6), 6), 0x1F);
    EXPECT_EQ(toggledDisplayFlags(0x1F, 1), 0x1E);
    EXPECT_EQ(toggledDisplayFlags(0x1F, 3), 0x1B);
    EXPECT_EQ(toggledDisplayFlags(0x1F, 7), 0x1F);
    EXPECT_EQ(toggledDisplayFlags(0x1F, 0), 0x1F);

    EXPECT_TRUE(ancientStarsShown(0x00));
    EXPECT_FALSE(ancientStarsShown(FlagStars));
    EXPECT_TRUE(ancientStarsShown(FlagCircles));
    EXPECT_TRUE(ancientStarsShown(FlagStars | FlagCircles));
    EXPECT_FALSE(ancientStarsShown(FlagStars | FlagNumbers | FlagIdLines));
}

TEST(ProjectCatalogs, PlacesEveryStarForThisViewAndThisFrame) {
    SkyScene scene(100, 10, kD, kW, kH);
    // 3 signs 10 degrees 30 minutes north 10 degrees 0 minutes, shifted by -30' and +1 degree.
    scene.addAncient(1, (100 * 60) + 30, 10 * 60, 3, 0);
    scene.addAncient(2, 200 * 60, -(5 * 60 + 15), 3, 0);  // far from the view
    ReferenceStar& north = scene.addReference(0, 10, 100, 12, 3, 5);
    ReferenceStar& behind = scene.addReference(1, 11, 280, 40, 3, 5);  // 130 degrees north
    behind.screenX = 300;  // as left by another view
    behind.screenY = 10;

    const float lonOffset = float(-0.5 * kDegToRad), latOffset = float(1 * kDegToRad);
    projectCatalogs(scene.constellation, *scene.refs, scene.view, lonOffset, latOffset);

    const AncientStar& a = scene.constellation.stars[0];
    EXPECT_FLOAT_EQ(a.lon, float(100.0 * kDegToRad));
    EXPECT_FLOAT_EQ(a.lat, float(11.0 * kDegToRad));
    Vector3 expected;
    lonLatToVec3(a.lon, a.lat, expected);
    EXPECT_DOUBLE_EQ(a.dir.x, expected.x);
    EXPECT_DOUBLE_EQ(a.dir.z, expected.z);
    ASSERT_EQ(a.visible, 1);
    EXPECT_NEAR(a.screenX, kW / 2, 1e-3);
    EXPECT_NEAR(a.screenY, kH / 2 - screenDistance(1), 1e-3);  // one degree north of the centre
    const AncientStar& south = scene.constellation.stars[1];
    EXPECT_FLOAT_EQ(south.lat, float(-5.25 * kDegToRad + latOffset));
    EXPECT_EQ(south.visible, 0);
    EXPECT_EQ(a.lonMinutes, 30);  // the catalogue values themselves never change

    ASSERT_EQ(north.visible, 1);
    EXPECT_NEAR(north.screenX, kW / 2, 1e-3);
    EXPECT_NEAR(north.screenY, kH / 2 - screenDistance(2), 1e-3);

    // Behind the viewer, over the pole: not visible, but its position is this view's, straight
    // up beyond the horizon (130 degrees: d tan 65 degrees plane units).
    EXPECT_EQ(behind.visible, 0);
    EXPECT_NEAR(behind.screenX, kW / 2, 1e-3);
    EXPECT_NEAR(behind.screenY, kH / 2 - screenDistance(130), 1e-2);
}

TEST(RenderFrame, TheTwoLowFlagBitsChooseWhichStarsAreDrawn) {
    SkyScene scene(100, 10, kD, kW, kH);
    scene.starColors.entries[5] = makeColor(100, 50, 20);
    scene.addAncient(1, 100 * 60, 10 * 60, 3, 0);   // at the centre, the corner of four pixels
    scene.addReference(0, 10, 100, 12, 3, 5);       // 2 degrees north
    const int refY = int(kH / 2 - screenDistance(2));  // pixel row of its centre
    const int ringX = kW / 2 + int(scene.view.pixelsPerDegree);  // on the circle, right side

    struct Case {
        int flags;
        bool whiteDot, circle, reference;
    } cases[] = {{0x00, true, false, false},
                 {FlagStars, false, false, true},
                 {FlagCircles, false, true, false},
                 {FlagStars | FlagCircles, false, true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        renderFrame(scene.request(c.flags), scene.frame, scene.colors, scene.starColors, kNoOutput);
        const FrameBuffer& f = scene.frame;
        // Magnitude 3 is a disc of radius 1.5: the four pixels round the centre are fully white.
        for (int y : {kH / 2 - 1, kH / 2})
            for (int x : {kW / 2 - 1, kW / 2})
                EXPECT_EQ(frameGetPixel(f, x, y), c.whiteDot ? kWhite : kBlack);
        EXPECT_EQ(frameGetPixel(f, kW / 2, refY), c.reference ? makeColor(100, 50, 20) : kBlack);
        Color ring = frameGetPixel(f, ringX, kH / 2 - 1);
        if (c.circle) {
            EXPECT_EQ(colorRed(ring), colorGreen(ring));
            EXPECT_EQ(colorRed(ring), colorBlue(ring));
            EXPECT_GE(colorRed(ring), 100);  // grey 123 for magnitude 3, near the profile's peak
            EXPECT_LE(colorRed(ring), 123);
        } else {
            EXPECT_EQ(ring, kBlack);
        }
        // Nothing else is drawn: every lit pixel belongs to the circle or one of the two stars.
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                if (frameGetPixel(f, x, y) == kBlack) continue;
                double toAncient = std::hypot(x + 0.5 - kW / 2, y + 0.5 - kH / 2);
                double toReference = std::hypot(x + 0.5 - kW / 2, y + 0.5 - (refY + 0.24));
                ASSERT_TRUE(toAncient < 3 ||
                            std::fabs(toAncient - scene.view.pixelsPerDegree) < 2 ||
                            toReference < 3)
                    << x << "," << y;
            }
    }
}

TEST(RenderFrame, LayersStackFromGridsThroughLinesToStars) {
    // Centred on the ecliptic: the ecliptic is screen row 120, longitude growing to the left.
    SkyScene scene(40, 0, kD, kW, kH);
    scene.starColors.entries[5] = makeColor(100, 50, 20);
    scene.addAncient(1, 40 * 60, 0, 3, 100);     // at the centre, identified with number 100
    scene.addReference(7, 100, 36, 0, 3, 5);     // 4 degrees west: to the right on the same row
    const double refX = kW / 2 + screenDistance(4);
    const Color grid = scene.colors.entries[ColorEclipticGrid];
    const int midX = int((kW / 2 + refX) / 2);
    const int y = kH / 2;

    renderFrame(scene.request(FlagEclipticGrid), scene.frame, scene.colors, scene.starColors,
                kNoOutput);
    // The whole ecliptic row carries the grid colour at full strength: the grid is projected
    // with the stars' own view, not half a pixel beside it.
    for (int x = 0; x < kW; x += 7)
        if (std::fabs(x - kW / 2) > 3) {  // the ancient star is drawn too, as a white dot
            EXPECT_EQ(frameGetPixel(scene.frame, x, y), grid) << x;
        }
    EXPECT_EQ(frameGetPixel(scene.frame, midX, y - 1), scaleColor(grid, 1 / 3.0));
    EXPECT_EQ(frameGetPixel(scene.frame, midX, y - 2), kBlack);

    renderFrame(scene.request(FlagEclipticGrid | FlagIdLines | FlagStars), scene.frame,
                scene.colors, scene.starColors, kNoOutput);
    // The identification line lies over the grid by maximum, the star over both by addition.
    EXPECT_EQ(frameGetPixel(scene.frame, midX, y), kIdLineColor);
    EXPECT_EQ(frameGetPixel(scene.frame, int(refX), y), makeColor(64 + 100, 96 + 50, 64 + 20));
    EXPECT_EQ(frameGetPixel(scene.frame, 20, y), grid);

    renderFrame(scene.request(FlagStars), scene.frame, scene.colors, scene.starColors, kNoOutput);
    EXPECT_EQ(frameGetPixel(scene.frame, midX, y), kBlack);
    EXPECT_EQ(frameGetPixel(scene.frame, int(refX), y), makeColor(100, 50, 20));
    EXPECT_EQ(scene.colors.entries[ColorCurrentLine], scene.colors.entries[ColorEquatorialGrid]);
}

TEST(RenderFrame, EquatorialGridCrossesTheEclipticAtTheObliquityOfTheEpoch) {
    SkyScene scene(0, 0, kD, kW, kH);
    setColor(scene.colors, ColorEquatorialGrid, makeColor(150, 60, 30));
    const RenderRequest request = scene.request(FlagEquatorialGrid);
    const double tilt = std::tan(trueObliquity(request.epoch));
    renderFrame(request, scene.frame, scene.colors, scene.starColors, kNoOutput);

    // A great circle through the centre is a straight line; east of the equinox (left) the
    // equator runs south (down) of the ecliptic.
    for (int x : {70, 100, 220, 250}) {
        const double lineY = kH / 2 + (kW / 2 - x) * tilt;
        const int py = int(std::lround(lineY));
        const double dist = std::fabs(py - lineY) / std::sqrt(1 + tilt * tilt);
        const double coverage = (1.5 - dist) / 1.5;
        const Color c = frameGetPixel(scene.frame, x, py);
        EXPECT_NEAR(colorRed(c), 150 * coverage, 1.5) << x;
        EXPECT_NEAR(colorGreen(c), 60 * coverage, 1.5) << x;
        EXPECT_EQ(frameGetPixel(scene.frame, x, int(lineY) + 4), kBlack) << x;
    }
    // No ecliptic grid: its row is dark away from the equatorial lines.
    EXPECT_EQ(frameGetPixel(scene.frame, 80, kH / 2), kBlack);
}

namespace {

struct Recorder {
    const FrameBuffer* presented = nullptr;
    int presentCount = 0;
    struct Text {
        int x, y;
        std::string text;
        Color color;
        bool afterPresent;
    };
    std::vector<Text> texts;
};

FrameOutput recordingOutput(Recorder& r) {
    FrameOutput out;
    out.context = &r;
    out.present = [](void* c, const FrameBuffer& frame) {
        auto* rec = static_cast<Recorder*>(c);
        rec->presented = &frame;
        ++rec->presentCount;
    };
    out.measureText = [](void*, const char* text, int* w, int* h) {
        *w = 7 * int(std::string(text).size());
        *h = 12;
    };
    out.drawText = [](void* c, int x, int y, const char* text, Color color) {
        auto* rec = static_cast<Recorder*>(c);
        rec->texts.push_back({x, y, text, color, rec->presentCount == 1});
    };
    return out;
}

}  // namespace

TEST(RenderFrame, WritesTheNumbersOverThePresentedFrame) {
    SkyScene scene(100, 0, kD, kW, kH);
    setColor(scene.colors, ColorNumbers, makeColor(10, 200, 30));
    scene.addAncient(12, 100 * 60, 0, 3, 100);      // centre, reference star to its right
    scene.addAncient(3, 101 * 60, 60, 4, 0);        // unidentified
    scene.addAncient(5, 200 * 60, 0, 4, 0);         // behind the viewer: no number
    scene.addReference(0, 100, 99, 0, 3, 5);

    Recorder rec;
    renderFrame(scene.request(FlagNumbers | FlagStars), scene.frame, scene.colors,
                scene.starColors, recordingOutput(rec));
    EXPECT_EQ(rec.presentCount, 1);
    EXPECT_EQ(rec.presented, &scene.frame);
    ASSERT_EQ(rec.texts.size(), 2u);
    // "12" is 14 x 12: centred 0.7 text widths to the left of the star, away from its match.
    EXPECT_EQ(rec.texts[0].text, "12");
    EXPECT_EQ(rec.texts[0].x, int(std::lround(kW / 2 - 0.7 * 14 - 7)));
    EXPECT_EQ(rec.texts[0].y, kH / 2 - 6);
    EXPECT_EQ(rec.texts[0].color, makeColor(10, 200, 30));
    EXPECT_TRUE(rec.texts[0].afterPresent);
    // "3" is 7 x 12, centred on its star.
    const AncientStar& three = scene.constellation.stars[1];
    EXPECT_EQ(rec.texts[1].text, "3");
    EXPECT_EQ(rec.texts[1].x, int(std::lround(three.screenX - 3.5)));
    EXPECT_EQ(rec.texts[1].y, int(std::lround(three.screenY - 6)));

    // With circles the number sits on the circle's lower right.
    rec = Recorder();
    renderFrame(scene.request(FlagNumbers | FlagCircles), scene.frame, scene.colors,
                scene.starColors, recordingOutput(rec));
    const double r = scene.view.pixelsPerDegree;
    ASSERT_EQ(rec.texts.size(), 2u);
    EXPECT_EQ(rec.texts[0].x, int(std::lround(kW / 2 + 0.7 * r)));
    EXPECT_EQ(rec.texts[0].y, int(std::lround(kH / 2 + 0.7 * r)));

    rec = Recorder();
    renderFrame(scene.request(kDefaultDisplayFlags & ~FlagNumbers), scene.frame, scene.colors,
                scene.starColors, recordingOutput(rec));
    EXPECT_EQ(rec.presentCount, 1);
    EXPECT_TRUE(rec.texts.empty());
}

TEST(LabelAnchor, PutsTheNumberAwayFromItsMatchAndCentresItWhenThereIsNone) {
    SkyScene scene(0, 0, kD, kW, kH);
    scene.addReference(0, 100, 0, 0, 3, 5);
    scene.refs->stars[0].screenX = 100;
    scene.refs->stars[0].screenY = 50;
    AncientStar star;
    star.screenX = 100;
    star.screenY = 80;
    star.identification = 100;  // reference star 30 px straight above: number centred below
    ScreenPoint p = labelAnchor(star, *scene.refs, 0, 20, 10, 9);
    EXPECT_DOUBLE_EQ(p.x, 100 - 10);
    EXPECT_DOUBLE_EQ(p.y, 80 + 0.7 * 10 + 5);
    star.screenY = 50;  // on top of it: straight below as well
    EXPECT_DOUBLE_EQ(labelAnchor(star, *scene.refs, 0, 20, 10, 9).y, 50 + 0.7 * 10 + 5);
    star.identification = 4242;  // a number no entry carries: centred on the star
    p = labelAnchor(star, *scene.refs, 0, 20, 10, 9);
    EXPECT_DOUBLE_EQ(p.x, 90);
    EXPECT_DOUBLE_EQ(p.y, 55);
}

TEST(ClipRayToFrame, FindsWhereTheRayLeavesTheRectangle) {
    const ClipRect clip = {50, 40};
    auto check = [&](double x0, double y0, double dx, double dy, double x, double y) {
        ScreenPoint p = clipRayToFrame(clip, x0, y0, dx, dy);
        EXPECT_DOUBLE_EQ(p.x, x);
        EXPECT_DOUBLE_EQ(p.y, y);
    };
    check(10, 10, 0, -5, 10, 0);         // vertical
    check(10, 10, 0.00001, 3, 10, 40);
    check(10, 10, -3, 0.00005, 0, 10);   // horizontal
    check(10, 10, 10, 1, 50, 14);        // through the right side
    check(10, 10, 100, 100, 40, 40);     // past the corner: through the bottom
    check(10, 10, -4, -2, 0, 5);         // through the left side
    check(10, 10, -1, -3, 10 - 10 / 3.0, 0);  // through the top
}

TEST(GridWalkers, ParallelsAreSentAsClippedPolylines) {
    // Looking at the ecliptic pole from close by: the 75 and 60 degree parallels lie wholly
    // inside the picture, each one closed polyline of 361 points.
    SkyView pole;
    pole.centerLat = 90 * kDegToRad;
    pole.focalScale = 2.5;
    pole.width = 480;
    pole.height = 300;
    viewUpdate(pole);
    std::vector<Polyline> lines = eclipticPolylines(pole, 479, 299);
    for (double lat : {75.0, 60.0}) {
        const double radius = 2.5 * std::tan((90 - lat) * kDegToRad / 2) * 150;
        int closed = 0;
        for (const Polyline& line : lines) {
            bool onCircle = line.points.size() == 361;
            for (const ScreenPoint& p : line.points)
                onCircle = onCircle && std::fabs(std::hypot(p.x - 240, p.y - 150) - radius) < 1e-3;
            if (!onCircle) continue;
            ++closed;
            EXPECT_TRUE(samePoint(line.points.front(), line.points.back()));
        }
        EXPECT_EQ(closed, 1) << lat;
    }

    // The ecliptic seen from longitude 180 crosses once: it enters at the right border (the
    // longitudes grow leftwards) and leaves at the left one.
    SkyView side;
    side.centerLon = 180 * kDegToRad;
    side.focalScale = kD;
    side.width = kW;
    side.height = kH;
    viewUpdate(side);
    std::vector<Polyline> ecliptic = onRow(eclipticPolylines(side, kW - 1, kH - 1), kH / 2);
    ASSERT_EQ(ecliptic.size(), 1u);
    EXPECT_DOUBLE_EQ(ecliptic[0].points.front().x, kW - 1);
    EXPECT_DOUBLE_EQ(ecliptic[0].points.back().x, 0);
    for (size_t i = 1; i < ecliptic[0].points.size(); ++i)
        EXPECT_LT(ecliptic[0].points[i].x, ecliptic[0].points[i - 1].x);

    // Seen from longitude 0 the visible stretch holds the first sample: two polylines, one
    // starting and one ending at the sample of longitude 0 in the middle of the picture.
    side.centerLon = 0;
    viewUpdate(side);
    ecliptic = onRow(eclipticPolylines(side, kW - 1, kH - 1), kH / 2);
    ASSERT_EQ(ecliptic.size(), 2u);
    const ScreenPoint middle = {kW / 2, kH / 2};
    EXPECT_TRUE(samePoint(ecliptic[0].points.front(), middle));
    EXPECT_DOUBLE_EQ(ecliptic[0].points.back().x, 0);
    EXPECT_DOUBLE_EQ(ecliptic[1].points.front().x, kW - 1);
    EXPECT_TRUE(samePoint(ecliptic[1].points.back(), middle));

    // So close in that no sample is on screen: nothing at all, though the ecliptic crosses.
    side.centerLon = 7.5 * kDegToRad;
    side.centerLat = 0.05 * kDegToRad;
    side.focalScale = 1000;
    viewUpdate(side);
    EXPECT_TRUE(eclipticPolylines(side, kW - 1, kH - 1).empty());
}

TEST(GridWalkers, AMeridianGoingBehindTheViewerStopsAtItsLastVisibleSample) {
    // A wide-angle view whose horizon circle lies inside the picture.
    SkyView wide;
    wide.centerLat = 10.5 * kDegToRad;
    wide.focalScale = 0.5;
    wide.width = 400;
    wide.height = 400;
    viewUpdate(wide);
    std::vector<Polyline> lines = eclipticPolylines(wide, 399, 399);
    // Meridians 0 and 180 both run down the middle column.
    std::vector<const Polyline*> middle;
    for (const Polyline& line : lines) {
        bool all = true;
        for (const ScreenPoint& p : line.points) all = all && std::fabs(p.x - 200) < 1e-3;
        if (all) middle.push_back(&line);
    }
    ASSERT_EQ(middle.size(), 2u);
    // Meridian 0 runs from the pole (79.5 degrees above the centre) to latitude -79, 89.5
    // degrees below it; latitude -80 is behind the viewer, so no border point follows.
    const Polyline& zero = *middle[0];
    ASSERT_EQ(zero.points.size(), 170u);
    EXPECT_NEAR(zero.points.front().y, 200 - 0.5 * std::tan(79.5 * kDegToRad / 2) * 200, 1e-3);
    EXPECT_NEAR(zero.points.back().y, 200 + 0.5 * std::tan(89.5 * kDegToRad / 2) * 200, 1e-3);
    // Meridian 180 leaves the pole away from the centre and ends at latitude 80.
    const Polyline& opposite = *middle[1];
    ASSERT_EQ(opposite.points.size(), 11u);
    EXPECT_NEAR(opposite.points.back().y, 200 - 0.5 * std::tan(89.5 * kDegToRad / 2) * 200, 1e-3);
}

TEST(WalkIdLines, JoinsEachVisibleStarToItsMatchOrToTheBorderTowardsIt) {
    SkyScene scene(0, 0, kD, kW, kH);
    scene.addAncient(1, 0, 0, 3, 100);         // centre; its match 2 degrees north
    scene.addAncient(2, 60, 0, 3, 101);        // 1 degree east; its match far north, off screen
    scene.addAncient(3, 120, 0, 3, 102);       // 2 degrees east; its match behind the viewer
    scene.addAncient(4, 180, 0, 3, 0);         // unidentified
    scene.addAncient(5, 240, 0, 3, 4242);      // a number no entry carries
    scene.addReference(0, 100, 0, 2, 3, 5);
    scene.addReference(1, 101, 1, 60, 3, 5);
    ReferenceStar& behind = scene.addReference(2, 102, 120, 0, 3, 5);
    behind.screenX = 300;  // left from an earlier frame
    behind.screenY = 10;
    projectCatalogs(scene.constellation, *scene.refs, scene.view, 0, 0);

    std::vector<Line> lines;
    walkIdLines(scene.constellation, *scene.refs, kW - 1, kH - 1, recordLine, &lines);
    ASSERT_EQ(lines.size(), 3u);
    const ReferenceStar& north = scene.refs->stars[0];
    EXPECT_NEAR(lines[0].x0, kW / 2, 1e-4);
    EXPECT_NEAR(lines[0].y0, kH / 2, 1e-4);
    EXPECT_DOUBLE_EQ(lines[0].x1, north.screenX);
    EXPECT_DOUBLE_EQ(lines[0].y1, north.screenY);
    EXPECT_NEAR(north.screenY, kH / 2 - screenDistance(2), 1e-3);
    // Off screen in front: the line ends on the top border.
    EXPECT_DOUBLE_EQ(lines[1].y1, 0);
    EXPECT_GT(lines[1].x1, 0);
    EXPECT_LT(lines[1].x1, kW - 1);
    // Behind the viewer: it heads east (left) along the ecliptic, where the star lies.
    EXPECT_DOUBLE_EQ(lines[2].x1, 0);
    EXPECT_NEAR(lines[2].y1, kH / 2, 1e-3);
}
