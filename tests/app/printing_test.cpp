// The printed page drawn into a recording surface from a small hand-placed sky, and the print job
// run from the Print command against the fake platform.
#include <cmath>
#include <memory>

#include "app/commands.h"
#include "app/printing.h"
#include "geometry/vectors.h"
#include "shell_fixture.h"

namespace {

std::vector<int> corners(const PageOp& op) {
    std::vector<int> out;
    for (const PagePoint& p : op.points) out.insert(out.end(), {p.x, p.y});
    return out;
}

TEST(PageFrame, KeepsTheWindowsAspectCentredWithHalfInchMargins) {
    const struct {
        int windowWidth, windowHeight;
        PrinterPage page;
        std::vector<int> frame;  // left, top, width, height; empty for none
    } cases[] = {
        {800, 600, {3600, 5400, 600, 600, 1}, {300, 1575, 3000, 2250}},  // 6 x 9 inches
        {800, 600, {3600, 2700, 600, 300, 1}, {300, 787, 3000, 1125}},
        {400, 800, {3600, 5400, 600, 600, 1}, {600, 300, 2400, 4800}},  // 8 inches high at most
        {400, 1000, {2400, 3300, 300, 300, 1}, {600, 150, 1200, 3000}},
        {800, 600, {600, 5400, 600, 600, 1}, {}},  // an inch wide: no room
        {800, 600, {3600, 500, 600, 600, 1}, {}},
        {0, 600, {3600, 5400, 600, 600, 1}, {}},
        {800, 600, {3600, 5400, 0, 600, 1}, {}},
    };
    for (const auto& c : cases) {
        PageFrame f{};
        std::vector<int> made;
        if (computePageFrame(c.windowWidth, c.windowHeight, c.page, f))
            made = {f.left, f.top, f.width, f.height};
        EXPECT_EQ(made, c.frame) << c.windowWidth << "x" << c.windowHeight << " " << c.page.width;
    }
}

TEST(PrintMeasures, FontCirclesPensAndDiscsFollowThePageAndTheMagnitude) {
    for (auto [dpi, height] : {std::pair{600, 48}, {300, 24}, {1200, 96}, {5, 1}})
        EXPECT_EQ(printFontHeight(dpi), height) << dpi;
    // Pixels per degree from the frame's centre to its top edge: at focal scale 1 the half height
    // spans 90 degrees, at 1 / tan(22.5) = 2.41 it spans 45.
    EXPECT_DOUBLE_EQ(printCircleRadius(3600, 1.0), 20.0);
    EXPECT_NEAR(printCircleRadius(3600, 1 / std::tan(M_PI / 8)), 40.0, 1e-9);
    const struct {
        float magnitude;
        int width;
        PenStyle style;
        int disc;
    } cases[] = {{-1.5f, 10, PenSolid, 36}, {0, 8, PenSolid, 30},   {1, 7, PenSolid, 25},
                 {3, 4, PenSolid, 17},      {5, 2, PenSolid, 8},    {6, 1, PenSolid, 4},
                 {6.5f, 0, PenSolid, 2},    {6.6f, 2, PenDotted, 2}, {7, 2, PenDotted, 1},
                 {7.14f, 2, PenDotted, 1},  {9, 2, PenDotted, 1}};
    for (const auto& c : cases) {
        int width = -1;
        PenStyle style = PenDotted;
        ancientCirclePen(c.magnitude, width, style);
        EXPECT_EQ(std::make_tuple(width, style, printDiscRadius(c.magnitude)),
                  std::make_tuple(c.width, c.style, c.disc)) << c.magnitude;
    }
}

// A sky of a few stars about the view's centre at longitude 0, latitude 0, on a frame of
// 3000 x 2250 at (600, 300) whose centre is (2100, 1425) and whose degree is 12.5 pixels; every
// other reference star lies behind the viewer.
struct PageScene {
    std::unique_ptr<ReferenceCatalog> refStars = std::make_unique<ReferenceCatalog>();
    Constellation constellation;
    SkyView view{};
    PageFrame frame = {600, 300, 3000, 2250};
    PageRecording recording;
    int nextReference = 0, abortChecks = 0, abortAtCheck = 0;  // 0 never aborts

    PageScene() {
        clearNumberIndex(refStars->index);
        for (ReferenceStar& star : refStars->stars) star.dir = {-1, 0, 0}, star.magnitude = 5;
        constellation.name = "Cepheus";
        view.width = 800, view.height = 600, view.focalScale = 1;
        viewUpdate(view);
    }
    const ReferenceStar& addReference(int number, double lon, double lat, float magnitude) {
        ReferenceStar& star = refStars->stars[nextReference];
        refStars->index.slot[number] = int16_t(nextReference++);
        star.number = number, star.magnitude = magnitude;
        lonLatToVec3(lon * kDegToRad, lat * kDegToRad, star.dir);
        return star;
    }
    // East of longitude 0 and north of the ecliptic, in whole minutes.
    void addAncient(int lonMinutes, int latMinutes, float magnitude, int identification = 0) {
        AncientStar star;
        star.numberInConstellation = int(constellation.stars.size()) + 1;
        star.signDegrees = lonMinutes / 60, star.lonMinutes = lonMinutes % 60;
        star.latDegrees = latMinutes / 60, star.latMinutes = latMinutes % 60;
        star.magnitude = magnitude, star.identification = identification;
        constellation.stars.push_back(star);
        constellation.starCount = int(constellation.stars.size());
    }
    int print(int flags, float lonOffset = 0, float latOffset = 0) {
        RenderRequest r{};
        r.refStars = refStars.get(), r.constellation = &constellation, r.view = &view;
        r.displayFlags = flags, r.epoch = 1771298.0, r.editionCaption = "Sample Edition";
        r.lonOffset = lonOffset, r.latOffset = latOffset;
        auto check = [](void* self) {
            PageScene& scene = *static_cast<PageScene*>(self);
            return ++scene.abortChecks == scene.abortAtCheck;
        };
        return printPage(r, frame, 600, recordingSurface(recording), AbortCheck{check, this});
    }
    // Where the page puts a star of these screen fields.
    std::vector<int> onPage(float x, float y) const {
        return {frame.left + int(std::lround(x)), frame.top + int(std::lround(y))};
    }
    std::vector<PageOp> circles(bool filled) const {
        std::vector<PageOp> found;
        for (const PageOp& op : recording.of(OpCircle))
            if (op.filled == filled) found.push_back(op);
        return found;
    }
};

TEST(PrintPage, DrawsTheFrameCirclesLinesStatusAndNumbersInThePrintFont) {
    PageScene scene;
    scene.addReference(7, 0, 0, 2);
    const ReferenceStar& near = scene.addReference(42, 1.5, 0.5, 3);
    scene.addReference(43, 180, 0, 3);  // behind the viewer
    const ReferenceStar& shifted = scene.addReference(44, 3, -1.5, 9);
    scene.addAncient(0, 0, 1, 42);
    scene.addAncient(120, 30, 3, 43);
    scene.addAncient(9000, 0, 7);  // 150 degrees away: behind the viewer
    ASSERT_EQ(scene.print(FlagStars | FlagCircles | FlagNumbers | FlagIdLines,
                          float(3 * kDegToRad), float(-1.5 * kDegToRad)), 1);
    const PageRecording& r = scene.recording;
    EXPECT_EQ(std::make_tuple(r.ops[0].kind, r.ops[0].penWidth, r.ops[0].penStyle),
              std::make_tuple(OpRectangle, 0, PenSolid));
    EXPECT_EQ(corners(r.ops[0]), (std::vector<int>{600, 300, 3600, 2550}));
    EXPECT_EQ(std::make_tuple(r.fontFamily, r.fontHeight), std::make_tuple("Tahoma", 48));

    // The reference star at the view's centre lands at the frame's centre, its screen fields
    // relative to the frame; a star behind the viewer is not drawn.
    EXPECT_EQ(std::make_tuple(scene.refStars->stars[0].screenX, scene.refStars->stars[0].screenY),
              std::make_tuple(1500.0f, 1125.0f));
    std::vector<PageOp> discs = scene.circles(true);
    ASSERT_EQ(discs.size(), 3u);
    EXPECT_EQ(corners(discs[0]), (std::vector<int>{2100, 1425}));
    EXPECT_EQ(std::make_tuple(discs[0].radius, discs[0].penWidth), std::make_tuple(21.0, 0));
    EXPECT_FALSE(scene.refStars->stars[2].visible);

    // Circles of 12.5 pixels with the pens of their magnitudes, at the stars shifted by the
    // offsets: the first where a star 3 degrees east and 1.5 south of the centre is.
    std::vector<PageOp> circles = scene.circles(false);
    ASSERT_EQ(circles.size(), 2u);
    const AncientStar* stars = scene.constellation.stars.data();
    for (int i = 0; i < 2; ++i) {
        EXPECT_DOUBLE_EQ(circles[i].radius, 12.5);
        EXPECT_EQ(corners(circles[i]), scene.onPage(stars[i].screenX, stars[i].screenY));
    }
    EXPECT_NEAR(stars[0].screenX, shifted.screenX, 0.01);
    EXPECT_NEAR(stars[0].screenY, shifted.screenY, 0.01);
    EXPECT_EQ(std::make_tuple(circles[0].penWidth, circles[1].penWidth), std::make_tuple(7, 4));

    // Identification lines in a pen of 2: to the star, or to the frame's border for one behind.
    std::vector<PageOp> lines = r.of(OpLine);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(std::make_tuple(lines[0].penWidth, lines[0].penStyle), std::make_tuple(2, PenSolid));
    EXPECT_EQ(corners(lines[0]), [&] {
        std::vector<int> ends = scene.onPage(stars[0].screenX, stars[0].screenY);
        for (int v : scene.onPage(near.screenX, near.screenY)) ends.push_back(v);
        return ends;
    }());
    const PagePoint end = lines[1].points[1];
    EXPECT_TRUE(end.x == 600 || end.x == 3600 || end.y == 300 || end.y == 2550) << end.x << "," << end.y;

    // The status line with the whole offset and no arrow marks, one text height in from the
    // frame's bottom left; then the numbers 0.7 radius right of and below their stars.
    std::vector<PageOp> texts = r.of(OpText);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].text,
              "Cepheus   View (0, 0, 0, 1.0)  FOV (138.9, 126.9)   Shift (3.0, -1.5)  Sample Edition");
    EXPECT_TRUE(texts[0].filled);
    EXPECT_EQ(corners(texts[0]), (std::vector<int>{600 + 48, 2550 - 48}));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(std::make_tuple(texts[1 + i].text, texts[1 + i].filled, texts[1 + i].fontHeight),
                  std::make_tuple(std::to_string(i + 1), false, 48));
        EXPECT_EQ(corners(texts[1 + i]),
                  scene.onPage(stars[i].screenX + 8.75f, stars[i].screenY + 8.75f));
    }
}

TEST(PrintPage, LowDisplayFlagsChooseHowTheAncientStarsPrintAndGridsStayInTheFrame) {
    const struct {
        int flags;
        size_t hollow, filled;
    } cases[] = {{0x01, 0, 1}, {0x00, 0, 2}, {0x02, 2, 0}, {0x03, 2, 1}};
    for (const auto& c : cases) {
        PageScene scene;
        scene.addReference(9, 3, -2, 2);
        scene.addAncient(30, 30, 1);
        scene.addAncient(90, 60, 7);
        ASSERT_EQ(scene.print(c.flags), 1);
        EXPECT_EQ(scene.circles(false).size(), c.hollow) << c.flags;
        std::vector<PageOp> filled = scene.circles(true);
        EXPECT_EQ(filled.size(), c.filled) << c.flags;
        // Without circles the ancient stars print as discs of their own magnitude.
        if (c.flags == 0) {
            EXPECT_EQ(std::make_tuple(filled[0].radius, filled[1].radius),
                      std::make_tuple(25.0, 1.0));
        }
    }
    for (int flag : {0x10, 0x20, 0x0F}) {
        PageScene scene;
        ASSERT_EQ(scene.print(flag), 1);
        std::vector<PageOp> lines = scene.recording.of(OpPolyline);
        EXPECT_EQ(lines.empty(), flag == 0x0F);
        bool meridian = false;
        for (const PageOp& line : lines) {
            EXPECT_EQ(std::make_tuple(line.penWidth, line.penStyle),
                      std::make_tuple(1, flag == FlagEclipticGrid ? PenSolid : PenDotted));
            for (const PagePoint& p : line.points)
                ASSERT_TRUE(p.x >= 600 && p.x <= 3600 && p.y >= 300 && p.y <= 2550) << p.x << "," << p.y;
            // Longitude 0 runs straight down the middle from the top edge to the bottom one.
            meridian |= corners(line) == std::vector<int>{2100, 300, 2100, 2550} ||
                        (line.points.front().x == 2100 && line.points.back().x == 2100 &&
                         line.points.front().y == 300 && line.points.back().y == 2550);
        }
        EXPECT_EQ(meridian, flag == FlagEclipticGrid);
    }
}

TEST(PrintPage, AbortStopsThePageWhereverItIs) {
    const int flags = FlagStars | FlagCircles | FlagNumbers | FlagIdLines | FlagEclipticGrid;
    // Every star is checked when projected and when drawn: 2 x (9096 + 2) checks in all.
    for (int at : {0, 100, kReferenceStarCount + 4 + 10}) {
        PageScene scene;
        scene.addReference(5, 1, 1, 2);
        scene.addAncient(60, 60, 3, 5);
        scene.addAncient(120, 60, 4);
        scene.abortAtCheck = at;
        EXPECT_EQ(scene.print(flags), at ? 0 : 1);
        const PageRecording& r = scene.recording;
        EXPECT_EQ(scene.abortChecks, at ? at : 2 * kReferenceStarCount + 4);
        EXPECT_EQ(r.of(OpText).size(), at ? 0u : 3u);
        // Early: the frame alone; while drawing the reference stars: all but one and the texts.
        EXPECT_EQ(r.ops.size() == 1, at == 100);
        if (at > 100) {
            EXPECT_EQ(std::make_tuple(r.of(OpLine).size(), scene.circles(false).size(),
                                      scene.circles(true).size()),
                      std::make_tuple(1u, 2u, 1u));
        }
    }
}

// The print job, from the Print command of a running program on an 8 x 11 inch page.
class PrintJobTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        start();
        fake.printerAnswer = PrinterPage{4800, 6600, 600, 600, 1};
    }
    static Log job(std::initializer_list<const char*> steps) {
        Log log = {"print dialog", "window disabled", "cancel dialog Tessaran Stars | Printing...",
                   "start document Tessaran Stars"};
        log.insert(log.end(), steps.begin(), steps.end());
        return log;
    }
};

TEST_F(PrintJobTest, EachCopyIsAPageOfItsOwnInAFrameWithTheWindowsAspect) {
    fake.printerAnswer.reset();
    onCharacter('p');
    EXPECT_EQ(takeLog(), Log{"print dialog"});

    fake.printerAnswer = PrinterPage{4800, 6600, 600, 600, 3};
    theApp.epoch.offsetLon = float(2 * kDegToRad);
    theApp.shift = {float(1 * kDegToRad), float(-0.5 * kDegToRad)};
    onCommand(500);
    EXPECT_EQ(takeLog(), job({"start page 1", "end page 1", "start page 2", "end page 2",
                              "start page 3", "end page 3", "end document", "window enabled",
                              "cancel dialog closed", "repaint", "frame 800x600"}));
    std::vector<PageOp> pages[4];
    for (const PageOp& op : fake.printed.ops) pages[op.page].push_back(op);
    ASSERT_TRUE(pages[0].empty());
    EXPECT_EQ(corners(pages[1][0]), (std::vector<int>{300, 1725, 4500, 4875}));
    for (int page = 2; page <= 3; ++page) {
        ASSERT_EQ(pages[page].size(), pages[1].size());
        for (size_t i = 0; i < pages[1].size(); ++i)
            EXPECT_EQ(std::make_tuple(corners(pages[page][i]), pages[page][i].text),
                      std::make_tuple(corners(pages[1][i]), pages[1][i].text)) << i;
    }
    // On paper the Shift group holds the epoch offset and the shift together.
    std::vector<PageOp> texts = fake.printed.of(OpText);
    ASSERT_FALSE(texts.empty());
    EXPECT_NE(texts[0].text.find("   Shift (3.0, -0.5)  Edition One"), std::string::npos);
    EXPECT_EQ(texts[0].text.find('+'), std::string::npos);
}

TEST_F(PrintJobTest, PrinterFailuresAreReportedAndTheDocumentDropped) {
    const char* failed = "message An error occurred during printing. | Printing Problem";
    const char* back[] = {"window enabled", "cancel dialog closed", "repaint", "frame 800x600"};
    const struct {
        const char* failing;
        int copies;
        Log log;
    } cases[] = {
        {"start document Tessaran Stars", 1, job({failed})},
        {"start page 2", 2, job({"start page 1", "end page 1", "start page 2", "abort document",
                                 failed})},
        {"end page 1", 1, job({"start page 1", "end page 1", "abort document", failed})},
        {"end document", 1, job({"start page 1", "end page 1", "end document", failed})},
    };
    for (const auto& c : cases) {
        fake.failingStep = c.failing;
        fake.printerAnswer->copies = c.copies;
        onCharacter('p');
        Log expected = c.log;
        expected.insert(expected.end(), std::begin(back), std::end(back));
        EXPECT_EQ(takeLog(), expected) << c.failing;
    }
    fake.printerAnswer->width = 500;  // no room for a frame
    onCharacter('p');
    EXPECT_EQ(takeLog(), (Log{"print dialog", failed}));
}

TEST_F(PrintJobTest, CancelWhileProjectingAbortsTheDocumentSilently) {
    fake.printerAnswer->copies = 2;
    fake.onProcessEvents = [] {
        if (fakePlatform().processEventsCalls == 500) {
            EXPECT_TRUE(pressPrintCancel());
        }
    };
    onCharacter('p');
    EXPECT_EQ(takeLog(), job({"start page 1", "abort document", "window enabled",
                              "cancel dialog closed", "repaint", "frame 800x600"}));
    EXPECT_EQ(fake.processEventsCalls, 500);
    EXPECT_EQ(fake.printed.ops.size(), 1u);  // the frame alone
    EXPECT_FALSE(pressPrintCancel());        // the dialog is gone
    // A new job starts with the abort flag clear.
    fake.onProcessEvents = nullptr;
    onCharacter('p');
    EXPECT_EQ(takeLog().at(7), "end page 2");
}

TEST_F(PrintJobTest, TheWindowIsDrawnAgainAfterTheJobNotDuringIt) {
    theApp.displayFlags = FlagStars;
    // Once the reference stars are projected for the page, the window is resized and asked to
    // repaint, and Print is chosen again.
    fake.onProcessEvents = [] {
        if (fakePlatform().processEventsCalls != kReferenceStarCount) return;
        onSize(1000, 700);
        platformRepaint();
        printView();
    };
    onCharacter('p');
    EXPECT_EQ(takeLog(), job({"start page 1", "repaint", "end page 1", "end document",
                              "window enabled", "cancel dialog closed", "repaint",
                              "frame 1000x700"}));
    // The discs are where the page's projection puts the stars, not the resized window's.
    SkyView page = theApp.view;
    page.width = 4200, page.height = 3150;
    std::vector<PageOp> discs = fake.printed.of(OpCircle);
    size_t next = 0;
    for (const ReferenceStar& star : theApp.reference->stars) {
        float x, y;
        if (!projectStar(page, star.dir, x, y)) continue;
        ASSERT_LT(next, discs.size());
        EXPECT_EQ(corners(discs[next++]), (std::vector<int>{300 + int(std::lround(x)),
                                                            1725 + int(std::lround(y))}));
    }
    EXPECT_EQ(next, discs.size());
    EXPECT_GT(next, 0u);
    // And the screen fields are the screen's again.
    for (const ReferenceStar& star : theApp.reference->stars) {
        float x = 0, y = 0;
        ASSERT_EQ(star.visible, projectStar(theApp.view, star.dir, x, y));
        if (star.visible) {
            ASSERT_EQ(star.screenX, x);
        }
    }
}

}  // namespace
