// The printed page drawn into a recording surface from a small hand-placed sky, and the print
// job against the fake platform.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "app/commands.h"
#include "app/printing.h"
#include "app/shell.h"
#include "app/state.h"
#include "app/status_text.h"
#include "resources/popup_menu.h"
#include "shell_fixture.h"
#include "support/page_recorder.h"

namespace {

std::vector<int> sides(const PageFrame& f) { return {f.left, f.top, f.width, f.height}; }

PrinterPage printerPage(int width, int height, int dpiX, int dpiY, int copies = 1) {
    return PrinterPage{width, height, dpiX, dpiY, copies};
}

TEST(PageFrame, KeepsTheWindowsAspectCentredWithHalfInchMargins) {
    PageFrame frame;
    // 6 x 9 inches at 600 dpi: a wide window takes the width less an inch.
    ASSERT_TRUE(computePageFrame(800, 600, printerPage(3600, 5400, 600, 600), frame));
    EXPECT_EQ(sides(frame), (std::vector<int>{300, 1575, 3000, 2250}));
    // The same page at 600 dpi across and 300 down.
    ASSERT_TRUE(computePageFrame(800, 600, printerPage(3600, 2700, 600, 300), frame));
    EXPECT_EQ(sides(frame), (std::vector<int>{300, 787, 3000, 1125}));
    // A tall window: 5 inches wide would make it 10 high, so 8 high and 4 wide instead.
    ASSERT_TRUE(computePageFrame(400, 800, printerPage(3600, 5400, 600, 600), frame));
    EXPECT_EQ(sides(frame), (std::vector<int>{600, 300, 2400, 4800}));
    // One just too tall for A4 at 300 dpi: page height less an inch, centred, the aspect kept.
    ASSERT_TRUE(computePageFrame(600, 1000, printerPage(2480, 3508, 300, 300), frame));
    EXPECT_EQ(frame.top, 150);
    EXPECT_EQ(frame.height, 3508 - 300);
    EXPECT_LE(std::abs(2 * frame.left + frame.width - 2480), 2);
    EXPECT_NEAR(double(frame.width) / frame.height, 0.6, 1.0 / frame.height);
    // No frame on a page of an inch or less, or for a window without area.
    EXPECT_FALSE(computePageFrame(800, 600, printerPage(600, 5400, 600, 600), frame));
    EXPECT_FALSE(computePageFrame(800, 600, printerPage(3600, 500, 600, 600), frame));
    EXPECT_FALSE(computePageFrame(0, 600, printerPage(3600, 5400, 600, 600), frame));
    EXPECT_FALSE(computePageFrame(800, 600, printerPage(3600, 5400, 0, 600), frame));
}

TEST(PrintMeasures, FontAndCircleRadiusFollowThePage) {
    // The same size on paper at every resolution.
    EXPECT_EQ(printFontHeight(600), 48);
    EXPECT_EQ(printFontHeight(300), 24);
    EXPECT_EQ(printFontHeight(1200), 96);
    EXPECT_EQ(printFontHeight(5), 1);
    // The frame's pixels per degree up to its top edge: at focal scale 1 the half height spans
    // 90 degrees.
    EXPECT_DOUBLE_EQ(printCircleRadius(3600, 1.0), 20.0);
    for (double d : {0.5, 2.0, 4.5}) {
        double halfFieldDegrees = 2 * std::atan(1 / d) * kRadToDeg;
        EXPECT_NEAR(printCircleRadius(2250, d) * halfFieldDegrees, 2250 / 2.0, 1e-9) << d;
    }
}

TEST(PrintMeasures, PensAndDiscsFollowMagnitude) {
    struct Case {
        float magnitude;
        int width;
        PenStyle style;
        int disc;
    } cases[] = {{-1.5f, 10, PenSolid, 36}, {0, 8, PenSolid, 30},   {1, 7, PenSolid, 25},
                 {3, 4, PenSolid, 17},      {5, 2, PenSolid, 8},    {6, 1, PenSolid, 4},
                 {6.5f, 0, PenSolid, 2},    {6.6f, 2, PenDotted, 2}, {7, 2, PenDotted, 1},
                 {7.14f, 2, PenDotted, 1},  {9, 2, PenDotted, 1}};
    for (const Case& c : cases) {
        int width = -1;
        PenStyle style = PenDotted;
        ancientCirclePen(c.magnitude, width, style);
        EXPECT_EQ(width, c.width) << c.magnitude;
        EXPECT_EQ(style, c.style) << c.magnitude;
        EXPECT_EQ(printDiscRadius(c.magnitude), c.disc) << c.magnitude;
    }
}

// A sky of a few stars about the view's centre at longitude 0, latitude 0; every other reference
// star lies behind the viewer.
struct PageScene {
    std::unique_ptr<ReferenceCatalog> refStars = std::make_unique<ReferenceCatalog>();
    Constellation constellation;
    SkyView view;
    PageFrame frame = {600, 300, 3000, 2250};
    PageRecording recording;
    int nextReference = 0;
    int abortChecks = 0;
    int abortAtCheck = 0;  // 0 never

    PageScene() {
        clearNumberIndex(refStars->index);
        for (ReferenceStar& star : refStars->stars) {
            star.dir = {-1, 0, 0};
            star.magnitude = 5;
        }
        constellation.name = kConstellationTable[3].name;
        view.width = 800;
        view.height = 600;
        view.focalScale = 1;
        viewUpdate(view);
    }

    ReferenceStar& addReference(int number, double lonDegrees, double latDegrees, float magnitude) {
        ReferenceStar& star = refStars->stars[nextReference];
        refStars->index.slot[number] = int16_t(nextReference++);
        star.number = number;
        star.magnitude = magnitude;
        lonLatToVec3(lonDegrees * kDegToRad, latDegrees * kDegToRad, star.dir);
        return star;
    }

    // A position east of longitude 0 and north of the ecliptic, in whole minutes.
    AncientStar& addAncient(int lonMinutes, int latMinutes, float magnitude,
                            int identification = 0) {
        AncientStar star;
        star.numberInConstellation = int(constellation.stars.size()) + 1;
        star.signDegrees = lonMinutes / 60;
        star.lonMinutes = lonMinutes % 60;
        star.latDegrees = latMinutes / 60;
        star.latMinutes = latMinutes % 60;
        star.magnitude = magnitude;
        star.identification = identification;
        constellation.stars.push_back(star);
        constellation.starCount = int(constellation.stars.size());
        return constellation.stars.back();
    }

    RenderRequest request(int flags) {
        RenderRequest r;
        r.refStars = refStars.get();
        r.constellation = &constellation;
        r.view = &view;
        r.displayFlags = flags;
        r.epoch = 1771298.0;
        r.editionCaption = "Sample Edition";
        return r;
    }

    static bool countCheck(void* context) {
        PageScene& scene = *static_cast<PageScene*>(context);
        return ++scene.abortChecks == scene.abortAtCheck;
    }

    int print(const RenderRequest& r) {
        return printPage(r, frame, 600, recordingSurface(recording), AbortCheck{countCheck, this});
    }
    int print(int flags) { return print(request(flags)); }

    // The page position of a star's screen fields as the page rounds them.
    PagePoint onPage(float x, float y) const {
        return {frame.left + int(std::lround(x)), frame.top + int(std::lround(y))};
    }

    std::vector<PageOp> circles(bool filled) const {
        std::vector<PageOp> found;
        for (const PageOp& op : recording.of(OpCircle))
            if (op.filled == filled) found.push_back(op);
        return found;
    }
};

bool samePoint(const PagePoint& a, const PagePoint& b) { return a.x == b.x && a.y == b.y; }

TEST(PrintPage, FramesThePageAndCentresTheViewInIt) {
    PageScene scene;
    scene.addReference(7, 0, 0, 2);
    ASSERT_EQ(scene.print(FlagStars), 1);
    const PageRecording& r = scene.recording;
    ASSERT_FALSE(r.ops.empty());
    const PageOp& border = r.ops.front();
    EXPECT_EQ(border.kind, OpRectangle);
    EXPECT_EQ(border.penWidth, 0);
    EXPECT_EQ(border.penStyle, PenSolid);
    EXPECT_TRUE(samePoint(border.points[0], {600, 300}));
    EXPECT_TRUE(samePoint(border.points[1], {3600, 2550}));
    EXPECT_EQ(r.fontFamily, "Tahoma");
    EXPECT_EQ(r.fontHeight, 48);
    // The star at the view's centre lands at the frame's centre, written into its screen fields
    // relative to the frame.
    const ReferenceStar& centre = scene.refStars->stars[0];
    EXPECT_TRUE(centre.visible);
    EXPECT_FLOAT_EQ(centre.screenX, 1500);
    EXPECT_FLOAT_EQ(centre.screenY, 1125);
    std::vector<PageOp> discs = scene.circles(true);
    ASSERT_EQ(discs.size(), 1u);
    EXPECT_TRUE(samePoint(discs[0].points[0], {2100, 1425}));
    EXPECT_EQ(discs[0].radius, 21);  // magnitude 2
    EXPECT_EQ(discs[0].penWidth, 0);
    // Stars behind the viewer are not drawn.
    EXPECT_FALSE(scene.refStars->stars[1].visible);
}

TEST(PrintPage, AncientCirclesUseTheFramesRadiusAndMagnitudePens) {
    PageScene scene;
    const float magnitudes[] = {1, 3, 5, 6.5f, 7};
    for (int i = 0; i < 5; ++i) scene.addAncient(60 * i, 30, magnitudes[i]);
    ASSERT_EQ(scene.print(FlagCircles), 1);
    std::vector<PageOp> circles = scene.circles(false);
    ASSERT_EQ(circles.size(), 5u);
    const int widths[] = {7, 4, 2, 0, 2};
    const double radius = printCircleRadius(2250, 1.0);
    for (int i = 0; i < 5; ++i) {
        const AncientStar& star = scene.constellation.stars[i];
        EXPECT_EQ(circles[i].penWidth, widths[i]) << magnitudes[i];
        EXPECT_EQ(circles[i].penStyle, i == 4 ? PenDotted : PenSolid) << magnitudes[i];
        EXPECT_DOUBLE_EQ(circles[i].radius, radius);
        EXPECT_TRUE(samePoint(circles[i].points[0], scene.onPage(star.screenX, star.screenY)));
    }
    // Not the screen's measure scaled to the frame, which uses the wider field atan2(2, d).
    EXPECT_GT(std::fabs(radius - scene.view.pixelsPerDegree * 2250 / 600), 1.0);
    EXPECT_TRUE(scene.circles(true).empty());  // flag 0x01 clear: no reference stars
}

TEST(PrintPage, LowDisplayFlagsChooseHowTheAncientStarsPrint) {
    struct Case {
        int flags;
        size_t hollow, ancientDiscs, referenceDiscs;
    } cases[] = {{0x01, 0, 0, 1}, {0x00, 0, 2, 0}, {0x02, 2, 0, 0}, {0x03, 2, 0, 1}};
    for (const Case& c : cases) {
        PageScene scene;
        scene.addReference(9, 3, -2, 2);
        scene.addAncient(30, 30, 1);
        scene.addAncient(90, 60, 7);
        ASSERT_EQ(scene.print(c.flags), 1);
        EXPECT_EQ(scene.circles(false).size(), c.hollow) << c.flags;
        size_t ancientDiscs = 0, referenceDiscs = 0;
        for (const PageOp& disc : scene.circles(true)) {
            const ReferenceStar& ref = scene.refStars->stars[0];
            if (samePoint(disc.points[0], scene.onPage(ref.screenX, ref.screenY))) ++referenceDiscs;
            else ++ancientDiscs;
        }
        EXPECT_EQ(ancientDiscs, c.ancientDiscs) << c.flags;
        EXPECT_EQ(referenceDiscs, c.referenceDiscs) << c.flags;
        if (c.flags == 0x00) {
            // Filled dots as the reference stars are printed, sized by the ancient magnitude.
            std::vector<PageOp> dots = scene.circles(true);
            EXPECT_EQ(dots[0].radius, 25);  // magnitude 1
            EXPECT_EQ(dots[1].radius, 1);   // magnitude 7
        }
    }
}

// True when every point of the polyline lies in the frame, borders included.
bool insideFrame(const PageOp& op, const PageFrame& f) {
    for (const PagePoint& p : op.points)
        if (p.x < f.left || p.x > f.left + f.width || p.y < f.top || p.y > f.top + f.height)
            return false;
    return true;
}

TEST(PrintPage, GridsArePolylinesClippedToTheWholeFrame) {
    PageScene scene;
    ASSERT_EQ(scene.print(FlagEclipticGrid), 1);
    std::vector<PageOp> ecliptic = scene.recording.of(OpPolyline);
    ASSERT_FALSE(ecliptic.empty());
    bool centralMeridian = false;
    for (const PageOp& line : ecliptic) {
        EXPECT_EQ(line.penWidth, 1);
        EXPECT_EQ(line.penStyle, PenSolid);
        EXPECT_GE(line.points.size(), 2u);
        EXPECT_TRUE(insideFrame(line, scene.frame));
        // Longitude 0 runs straight down the middle from the frame's top edge to its bottom one.
        if (line.points.front().x == 2100 && line.points.back().x == 2100) {
            centralMeridian = true;
            EXPECT_EQ(line.points.front().y, 300);
            EXPECT_EQ(line.points.back().y, 2550);
        }
    }
    EXPECT_TRUE(centralMeridian);

    PageScene equatorial;
    ASSERT_EQ(equatorial.print(FlagEquatorialGrid), 1);
    std::vector<PageOp> lines = equatorial.recording.of(OpPolyline);
    ASSERT_FALSE(lines.empty());
    for (const PageOp& line : lines) {
        EXPECT_EQ(line.penWidth, 1);
        EXPECT_EQ(line.penStyle, PenDotted);
        EXPECT_TRUE(insideFrame(line, equatorial.frame));
    }

    PageScene neither;
    ASSERT_EQ(neither.print(FlagStars | FlagCircles | FlagNumbers | FlagIdLines), 1);
    EXPECT_TRUE(neither.recording.of(OpPolyline).empty());
}

TEST(PrintPage, IdentificationLinesRunToTheStarOrTheFramesBorder) {
    PageScene scene;
    const ReferenceStar& near = scene.addReference(42, 1.5, 0.5, 3);
    scene.addReference(43, 180, 0, 3);  // behind the viewer
    scene.addAncient(60, 60, 3, 42);
    scene.addAncient(120, 30, 3, 43);
    scene.addAncient(180, 0, 3, 0);  // identified with nothing
    ASSERT_EQ(scene.print(FlagIdLines), 1);
    const AncientStar& first = scene.constellation.stars[0];
    const AncientStar& second = scene.constellation.stars[1];
    std::vector<PageOp> lines = scene.recording.of(OpLine);
    ASSERT_EQ(lines.size(), 2u);
    for (const PageOp& line : lines) {
        EXPECT_EQ(line.penWidth, 2);
        EXPECT_EQ(line.penStyle, PenSolid);
    }
    EXPECT_TRUE(samePoint(lines[0].points[0], scene.onPage(first.screenX, first.screenY)));
    EXPECT_TRUE(samePoint(lines[0].points[1], scene.onPage(near.screenX, near.screenY)));
    EXPECT_TRUE(samePoint(lines[1].points[0], scene.onPage(second.screenX, second.screenY)));
    const PagePoint end = lines[1].points[1];
    const PageFrame& f = scene.frame;
    EXPECT_TRUE(end.x == f.left || end.x == f.left + f.width || end.y == f.top ||
                end.y == f.top + f.height)
        << end.x << ", " << end.y;
}

TEST(PrintPage, StatusLineShowsTheWholeOffsetAndNoArrowMarks) {
    PageScene scene;
    scene.addAncient(60, 60, 3);
    RenderRequest request = scene.request(FlagStars);
    request.lonOffset = float(3 * kDegToRad);
    request.latOffset = float(-1.5 * kDegToRad);
    ASSERT_EQ(scene.print(request), 1);
    std::vector<PageOp> texts = scene.recording.of(OpText);
    ASSERT_EQ(texts.size(), 1u);
    const PageOp& status = texts[0];
    // The frame is 4 by 3 like the window, so the field of view is the window's.
    EXPECT_EQ(status.text,
              std::string(kConstellationTable[3].name) +
                  "   View (0, 0, 0, 1.0)  FOV (138.9, 126.9)   Shift (3.0, -1.5)  Sample Edition");
    EXPECT_TRUE(status.opaque);
    EXPECT_EQ(status.fontHeight, 48);
    // One text height in from the frame's left and up from its bottom.
    EXPECT_TRUE(samePoint(status.points[0], {600 + 48, 2550 - 48}));
}

TEST(PrintPage, StarNumbersSitBesideTheirCirclesInThePrintFont) {
    PageScene scene;
    scene.addAncient(0, 0, 3);
    scene.addAncient(240, 120, 3);
    AncientStar& hidden = scene.addAncient(0, 0, 3);
    hidden.signDegrees = 150;  // 150 degrees away: behind the viewer
    ASSERT_EQ(scene.print(FlagCircles | FlagNumbers), 1);
    std::vector<PageOp> texts = scene.recording.of(OpText);
    ASSERT_EQ(texts.size(), 3u);  // the status line, then the two visible stars' numbers
    const double radius = printCircleRadius(2250, 1.0);
    for (int i = 0; i < 2; ++i) {
        const PageOp& label = texts[1 + i];
        const AncientStar& star = scene.constellation.stars[i];
        EXPECT_EQ(label.text, std::to_string(i + 1));
        EXPECT_FALSE(label.opaque);
        EXPECT_EQ(label.fontHeight, 48);
        EXPECT_TRUE(samePoint(label.points[0], scene.onPage(float(star.screenX + 0.7 * radius),
                                                            float(star.screenY + 0.7 * radius))));
    }
    // The star at the centre: its number's top-left 0.7 of the radius (12.5) right of and below
    // the frame's centre.
    EXPECT_TRUE(samePoint(texts[1].points[0], {2100 + 9, 1425 + 9}));
}

TEST(PrintPage, AbortStopsThePageWhereverItIs) {
    const int flags = FlagStars | FlagCircles | FlagNumbers | FlagIdLines | FlagEclipticGrid;
    auto sceneWithStars = [] {
        auto scene = std::make_unique<PageScene>();
        scene->addReference(5, 1, 1, 2);
        scene->addAncient(60, 60, 3, 5);
        scene->addAncient(120, 60, 4);
        return scene;
    };
    // Without an abort every star is checked once when projected and once when drawn.
    auto whole = sceneWithStars();
    ASSERT_EQ(whole->print(flags), 1);
    EXPECT_EQ(whole->abortChecks, 2 * kReferenceStarCount + 2 * 2);
    EXPECT_EQ(whole->recording.texts().size(), 3u);

    // In the middle of projecting the reference stars: only the frame is drawn.
    auto early = sceneWithStars();
    early->abortAtCheck = 100;
    EXPECT_EQ(early->print(flags), 0);
    EXPECT_EQ(early->abortChecks, 100);
    ASSERT_EQ(early->recording.ops.size(), 1u);
    EXPECT_EQ(early->recording.ops[0].kind, OpRectangle);

    // In the middle of drawing the reference stars: no status line and no numbers.
    auto late = sceneWithStars();
    late->abortAtCheck = kReferenceStarCount + 2 + 2 + 10;
    EXPECT_EQ(late->print(flags), 0);
    EXPECT_FALSE(late->recording.of(OpPolyline).empty());
    EXPECT_EQ(late->recording.of(OpLine).size(), 1u);
    EXPECT_EQ(late->circles(false).size(), 2u);
    EXPECT_EQ(late->circles(true).size(), 1u);
    EXPECT_TRUE(late->recording.texts().empty());
}

// The print job, from the Print command of a running program.
class PrintJobTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        startProgram();
        fakePlatform().printerAnswer = printerPage(4800, 6600, 600, 600);
    }

    static std::vector<std::string> steps() { return fakePlatform().printSteps; }

    static const std::vector<std::string> kOneGoodPage;
};

const std::vector<std::string> PrintJobTest::kOneGoodPage = {
    "disable window", "open cancel dialog", "start document", "start page", "end page",
    "end document", "enable window", "close cancel dialog"};

TEST_F(PrintJobTest, CancellingTheDialogPrintsNothing) {
    FakePlatform& fake = fakePlatform();
    fake.printerAnswer.reset();
    const int repaints = fake.repaints;
    characterCommand('p');
    EXPECT_EQ(fake.printDialogs, 1);
    EXPECT_TRUE(steps().empty());
    EXPECT_TRUE(fake.messages.empty());
    EXPECT_EQ(fake.repaints, repaints);
}

TEST_F(PrintJobTest, OnePageWithTheWindowDisabledAndTheCancelDialogShown) {
    FakePlatform& fake = fakePlatform();
    theApp.epoch.offsetLon = float(2 * kDegToRad);
    theApp.shift.lon = float(1 * kDegToRad);
    theApp.shift.lat = float(-0.5 * kDegToRad);
    menuCommand(CmdPrint);
    EXPECT_EQ(steps(), kOneGoodPage);
    EXPECT_EQ(fake.documentName, "Tessaran Stars");
    EXPECT_EQ(fake.cancelCaption, "Tessaran Stars");
    EXPECT_EQ(fake.cancelText, "Printing...");
    EXPECT_TRUE(fake.messages.empty());
    // The frame on the 8 x 11 inch page keeps the 800 x 600 window's aspect.
    std::vector<PageOp> border = fake.printed.of(OpRectangle);
    ASSERT_EQ(border.size(), 1u);
    EXPECT_TRUE(samePoint(border[0].points[0], {300, 1725}));
    EXPECT_TRUE(samePoint(border[0].points[1], {4500, 4875}));
    // On paper the Shift group holds the epoch offset and the shift together.
    std::vector<std::string> texts = fake.printed.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_NE(texts[0].find("   Shift (3.0, -0.5)  Edition One"), std::string::npos) << texts[0];
    EXPECT_EQ(texts[0].find('+'), std::string::npos);
}

TEST_F(PrintJobTest, EachCopyIsAPageOfItsOwn) {
    FakePlatform& fake = fakePlatform();
    fake.printerAnswer->copies = 3;
    printView();
    EXPECT_EQ(steps(), (std::vector<std::string>{
                           "disable window", "open cancel dialog", "start document", "start page",
                           "end page", "start page", "end page", "start page", "end page",
                           "end document", "enable window", "close cancel dialog"}));
    // The same drawing on every page.
    std::vector<PageOp> pages[4];
    for (const PageOp& op : fake.printed.ops) pages[op.page].push_back(op);
    EXPECT_TRUE(pages[0].empty());
    ASSERT_FALSE(pages[1].empty());
    for (int page = 2; page <= 3; ++page) {
        ASSERT_EQ(pages[page].size(), pages[1].size()) << page;
        for (size_t i = 0; i < pages[1].size(); ++i) {
            EXPECT_EQ(pages[page][i].text, pages[1][i].text);
            EXPECT_TRUE(samePoint(pages[page][i].points[0], pages[1][i].points[0]));
        }
    }
}

TEST_F(PrintJobTest, PrinterFailuresAreReportedAndTheDocumentDropped) {
    struct Case {
        const char* what;
        void (*script)(FakePlatform&);
        std::vector<std::string> steps;
    } cases[] = {
        {"start of document", [](FakePlatform& f) { f.startDocumentSucceeds = false; },
         {"disable window", "open cancel dialog", "start document", "enable window",
          "close cancel dialog"}},
        {"start of the second page",
         [](FakePlatform& f) {
             f.printerAnswer->copies = 2;
             f.failingStartPage = 2;
         },
         {"disable window", "open cancel dialog", "start document", "start page", "end page",
          "start page", "abort document", "enable window", "close cancel dialog"}},
        {"end of page", [](FakePlatform& f) { f.failingEndPage = 1; },
         {"disable window", "open cancel dialog", "start document", "start page", "end page",
          "abort document", "enable window", "close cancel dialog"}},
        {"end of document", [](FakePlatform& f) { f.endDocumentSucceeds = false; }, kOneGoodPage},
        {"page too small for a frame", [](FakePlatform& f) { f.printerAnswer->width = 500; }, {}},
    };
    for (const Case& c : cases) {
        FakePlatform& fake = fakePlatform();
        fake.printSteps.clear();
        fake.messages.clear();
        fake.startDocumentSucceeds = fake.endDocumentSucceeds = true;
        fake.failingStartPage = fake.failingEndPage = 0;
        fake.printerAnswer = printerPage(4800, 6600, 600, 600);
        c.script(fake);
        printView();
        EXPECT_EQ(steps(), c.steps) << c.what;
        ASSERT_EQ(fake.messages.size(), 1u) << c.what;
        EXPECT_EQ(fake.messages[0].text, "An error occurred during printing.");
        EXPECT_EQ(fake.messages[0].caption, "Printing Problem");
    }
}

TEST_F(PrintJobTest, CancelWhileProjectingAbortsTheDocumentSilently) {
    FakePlatform& fake = fakePlatform();
    fake.printerAnswer->copies = 2;
    fake.onProcessEvents = [] {
        if (fakePlatform().processEventsCalls == 500) {
            EXPECT_TRUE(pressPrintCancel());
        }
    };
    printView();
    EXPECT_EQ(steps(), (std::vector<std::string>{"disable window", "open cancel dialog",
                                                 "start document", "start page", "abort document",
                                                 "enable window", "close cancel dialog"}));
    EXPECT_EQ(fake.processEventsCalls, 500);
    EXPECT_TRUE(fake.messages.empty());
    ASSERT_EQ(fake.printed.ops.size(), 1u);  // the frame alone
    EXPECT_FALSE(pressPrintCancel());        // the dialog is gone

    // A new job starts with the abort flag clear.
    fake.onProcessEvents = nullptr;
    fake.printSteps.clear();
    printView();
    EXPECT_EQ(fake.printed.page, 2);
    EXPECT_TRUE(fake.messages.empty());
}

TEST_F(PrintJobTest, TheWindowIsDrawnAgainAfterTheJobNotDuringIt) {
    FakePlatform& fake = fakePlatform();
    const int presented = fake.presentedFrames;
    theApp.displayFlags = FlagStars;
    // Once the reference stars are projected for the page, the window is resized and asked to
    // repaint, and Print is chosen again.
    fake.onProcessEvents = [] {
        if (fakePlatform().processEventsCalls != kReferenceStarCount) return;
        onSize(1000, 700);
        platformRepaint();
        printView();
    };
    printView();
    EXPECT_EQ(fake.printDialogs, 1);
    EXPECT_EQ(steps(), kOneGoodPage);
    // The discs are where the page's projection puts the stars, not the resized window's.
    const PageFrame frame = {300, 1725, 4200, 3150};
    SkyView page = theApp.view;
    page.width = frame.width;
    page.height = frame.height;
    std::vector<PageOp> discs = fake.printed.of(OpCircle);
    size_t next = 0;
    for (const ReferenceStar& star : theApp.reference->stars) {
        float x, y;
        if (!projectStar(page, star.dir, x, y)) continue;
        ASSERT_LT(next, discs.size());
        EXPECT_EQ(discs[next].points[0].x, frame.left + std::lround(x));
        EXPECT_EQ(discs[next].points[0].y, frame.top + std::lround(y));
        ++next;
    }
    EXPECT_GT(next, 0u);
    EXPECT_EQ(next, discs.size());
    // One paint after the job, at the new size, and the screen fields are the screen's again.
    EXPECT_EQ(fake.presentedFrames, presented + 1);
    EXPECT_EQ(fake.presentedWidth, 1000);
    for (const ReferenceStar& star : theApp.reference->stars) {
        float x = 0, y = 0;
        ASSERT_EQ(star.visible, projectStar(theApp.view, star.dir, x, y));
        if (star.visible) {
            ASSERT_EQ(star.screenX, x);
        }
    }
}

}  // namespace
