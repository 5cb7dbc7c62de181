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

TEST(PrintMeasures, FrameFontCirclesPensAndDiscsFollowThePageAndTheMagnitude) {
    // Window width and height, the page, and the frame's left, top, width and height, if any.
    const std::tuple<int, int, PrinterPage, std::vector<int>> frames[] = {
        {800, 600, {3600, 5400, 600, 600, 1}, {300, 1575, 3000, 2250}},  // 6 x 9 inches
        {800, 600, {3600, 2700, 600, 300, 1}, {300, 787, 3000, 1125}},
        {400, 800, {3600, 5400, 600, 600, 1}, {600, 300, 2400, 4800}},  // 8 inches high at most
        {800, 600, {600, 5400, 600, 600, 1}, {}},  {800, 600, {3600, 500, 600, 600, 1}, {}},
        {0, 600, {3600, 5400, 600, 600, 1}, {}},
    };
    for (const auto& [width, height, page, frame] : frames) {
        PageFrame f{};
        std::vector<int> made;
        if (computePageFrame(width, height, page, f)) made = {f.left, f.top, f.width, f.height};
        EXPECT_EQ(made, frame) << width << "x" << height << " " << page.width;
    }
    for (auto [dpi, height] : {std::pair{600, 48}, {300, 24}, {5, 1}})
        EXPECT_EQ(printFontHeight(dpi), height) << dpi;
    // Pixels per degree to the top edge: 90 degrees away at focal scale 1, 45 at 1 / tan 22.5.
    EXPECT_DOUBLE_EQ(printCircleRadius(3600, 1.0), 20.0);
    EXPECT_NEAR(printCircleRadius(3600, 1 / std::tan(M_PI / 8)), 40.0, 1e-9);
    // Magnitude, then the circle's pen and the disc's radius.
    const std::tuple<float, int, PenStyle, int> pens[] = {
        {-1.5f, 10, PenSolid, 36}, {1, 7, PenSolid, 25},      {6.5f, 0, PenSolid, 2},
        {6.6f, 2, PenDotted, 2},   {7.14f, 2, PenDotted, 1}};
    for (const auto& [magnitude, width, style, disc] : pens) {
        int w = -1;
        PenStyle st = PenDotted;
        ancientCirclePen(magnitude, w, st);
        EXPECT_EQ(std::make_tuple(w, st, printDiscRadius(magnitude)),
                  std::make_tuple(width, style, disc)) << magnitude;
    }
}

// A few stars about longitude 0, latitude 0 on a frame centred at (2100, 1425) with 12.5 pixels
// to the degree; every other reference star lies behind the viewer.
struct PageScene {
    std::unique_ptr<ReferenceCatalog> refStars = std::make_unique<ReferenceCatalog>();
    Constellation constellation;
    SkyView view{};
    PageFrame frame = {600, 300, 3000, 2250};
    PageRecording recording;
    int nextReference = 0;

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
        return printPage(r, frame, 600, recordingSurface(recording), AbortCheck{});
    }
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
    const PageOp& border = r.ops[0];
    EXPECT_EQ(std::make_tuple(border.kind, border.penWidth, border.penStyle, corners(border)),
              std::make_tuple(OpRectangle, 0, PenSolid, std::vector<int>{600, 300, 3600, 2550}));
    EXPECT_EQ(std::make_tuple(r.fontFamily, r.fontHeight), std::make_tuple("Tahoma", 48));
    const std::vector<PageOp> discs = scene.circles(true);
    ASSERT_EQ(discs.size(), 3u);
    EXPECT_EQ(std::make_tuple(corners(discs[0]), discs[0].radius, discs[0].penWidth),
              std::make_tuple(std::vector<int>{2100, 1425}, 21.0, 0));
    // Circles in the pens of their magnitudes, where the offsets put them.
    const std::vector<PageOp> circles = scene.circles(false);
    ASSERT_EQ(circles.size(), 2u);
    const AncientStar* stars = scene.constellation.stars.data();
    for (int i = 0; i < 2; ++i) {
        const std::vector<int> at = scene.onPage(stars[i].screenX, stars[i].screenY);
        EXPECT_EQ(std::make_tuple(corners(circles[i]), circles[i].radius, circles[i].penWidth),
                  std::make_tuple(at, 12.5, 7 - 3 * i));
    }
    EXPECT_NEAR(stars[0].screenX, shifted.screenX, 0.01);
    EXPECT_NEAR(stars[0].screenY, shifted.screenY, 0.01);
    // Identification lines in a pen of 2, one to the border for the star behind.
    const std::vector<PageOp> lines = r.of(OpLine);
    ASSERT_EQ(lines.size(), 2u);
    std::vector<int> ends = scene.onPage(stars[0].screenX, stars[0].screenY);
    for (int v : scene.onPage(near.screenX, near.screenY)) ends.push_back(v);
    EXPECT_EQ(std::make_tuple(lines[0].penWidth, lines[0].penStyle, corners(lines[0])),
              std::make_tuple(2, PenSolid, ends));
    // The status line without arrow marks; the numbers 0.7 radius right of and below their stars.
    const std::vector<PageOp> texts = r.of(OpText);
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(std::make_tuple(texts[0].text.find('+'), texts[0].filled, corners(texts[0])),
              std::make_tuple(std::string::npos, true, std::vector<int>{600 + 48, 2550 - 48}));
    const std::vector<int> at = scene.onPage(stars[1].screenX + 8.75f, stars[1].screenY + 8.75f);
    const PageOp& number = texts[2];
    EXPECT_EQ(std::make_tuple(number.text, number.filled, number.fontHeight, corners(number)),
              std::make_tuple("2", false, 48, at));
}

TEST(PrintPage, LowDisplayFlagsChooseHowTheAncientStarsPrintAndGridsStayInTheFrame) {
    // Hollow circles, then filled discs: the reference star's and the ancient stars'.
    for (auto [flags, hollow, filled] : {std::tuple{0x01, 0u, 1u}, {0x00, 0u, 2u}, {0x02, 2u, 0u},
                                         {0x03, 2u, 1u}}) {
        PageScene scene;
        scene.addReference(9, 3, -2, 2);
        scene.addAncient(30, 30, 1);
        scene.addAncient(90, 60, 7);
        ASSERT_EQ(scene.print(flags), 1);
        EXPECT_EQ(scene.circles(false).size(), hollow) << flags;
        ASSERT_EQ(scene.circles(true).size(), filled) << flags;
        if (flags == 0) {  // discs of the ancient magnitudes
            EXPECT_EQ(scene.circles(true)[0].radius + scene.circles(true)[1].radius, 25 + 1);
        }
    }
    for (int flags : {0x10, 0x20, 0x0F}) {
        PageScene scene;
        ASSERT_EQ(scene.print(flags), 1);
        const std::vector<PageOp> lines = scene.recording.of(OpPolyline);
        EXPECT_EQ(lines.empty(), flags == 0x0F);
        bool meridian = false;  // longitude 0 straight down the middle, from edge to edge
        for (const PageOp& line : lines) {
            EXPECT_EQ(std::make_pair(line.penWidth, line.penStyle),
                      std::make_pair(1, flags == 0x10 ? PenSolid : PenDotted));
            for (const PagePoint& p : line.points)
                ASSERT_TRUE(p.x >= 600 && p.x <= 3600 && p.y >= 300 && p.y <= 2550) << p.x;
            const PagePoint &a = line.points.front(), &b = line.points.back();
            meridian |= a.x == 2100 && b.x == 2100 && a.y == 300 && b.y == 2550;
        }
        EXPECT_EQ(meridian, flags == 0x10);
    }
}

// The print job, from the Print command of a running program on an 8 x 11 inch page.
class PrintJobTest : public ShellTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ShellTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(start());
        fake.printerAnswer = PrinterPage{4800, 6600, 600, 600, 1};
    }
    // The log of a job with these steps, after which the window is enabled and repainted.
    static Log job(std::initializer_list<const char*> steps) {
        Log log = {"print dialog", "window disabled", "cancel dialog Tessaran Stars | Printing...",
                   "start document Tessaran Stars"};
        log.insert(log.end(), steps.begin(), steps.end());
        log.insert(log.end(),
                   {"window enabled", "cancel dialog closed", "repaint", "frame 800x600"});
        return log;
    }
};

TEST_F(PrintJobTest, CancelAndPrinterFailuresDropTheDocumentAndOnlyFailuresAreReported) {
    fake.printerAnswer.reset();
    onCharacter('p');
    EXPECT_EQ(takeLog(), Log{"print dialog"});
    fake.printerAnswer = PrinterPage{4800, 6600, 600, 600, 2};
    const char* failed = "message An error occurred during printing. | Printing Problem";
    // Cancel pressed at the nth star check, or the printer step that fails, then the job's log.
    const std::tuple<int, const char*, Log> cases[] = {
        {500, "", job({"start page 1", "abort document"})},  // projecting the reference stars
        {kReferenceStarCount + 100, "", job({"start page 1", "abort document"})},  // drawing them
        {0, "start document Tessaran Stars", job({failed})},
        {0, "start page 2",
         job({"start page 1", "end page 1", "start page 2", "abort document", failed})},
        {0, "end page 1", job({"start page 1", "end page 1", "abort document", failed})},
        {0, "end document", job({"start page 1", "end page 1", "start page 2", "end page 2",
                                 "end document", failed})},
    };
    for (const auto& [cancelAt, failing, log] : cases) {
        fake.failingStep = failing, fake.processEventsCalls = 0;
        fake.onProcessEvents = [at = cancelAt] {
            if (fakePlatform().processEventsCalls == at) {
                ASSERT_TRUE(pressPrintCancel());
            }
        };
        onCharacter('p');
        EXPECT_EQ(takeLog(), log) << cancelAt << failing;
        EXPECT_FALSE(pressPrintCancel());  // the dialog is gone
        if (cancelAt) {  // nothing after the star being drawn: the frame alone when projecting
            EXPECT_TRUE(fake.printed.of(OpText).empty());
            EXPECT_EQ(fake.printed.ops.size() == 1, cancelAt == 500);
        }
    }
    fake.printerAnswer->width = 500;  // no room for a frame
    onCharacter('p');
    EXPECT_EQ(takeLog(), (Log{"print dialog", failed}));
}

TEST_F(PrintJobTest, EachCopyIsAPageOfItsOwnAndTheWindowIsDrawnAgainAfterTheJob) {
    fake.printerAnswer->copies = 2;
    theApp.displayFlags = FlagStars | FlagNumbers;
    theApp.epoch.offsetLon = float(2 * kDegToRad);
    theApp.shift = {float(1 * kDegToRad), float(-0.5 * kDegToRad)};
    // Mid-job the window is resized and repainted, and Print is chosen again.
    fake.onProcessEvents = [] {
        if (fakePlatform().processEventsCalls != kReferenceStarCount) return;
        onSize(1000, 700);
        platformRepaint();
        printView();
    };
    onCommand(500);
    Log expected = job({"start page 1", "repaint", "end page 1", "start page 2", "end page 2",
                        "end document"});
    expected.back() = "frame 1000x700";
    EXPECT_EQ(takeLog(), expected);
    std::vector<std::vector<int>> pages[3];
    for (const PageOp& op : fake.printed.ops) pages[op.page].push_back(corners(op));
    EXPECT_TRUE(pages[0].empty());
    EXPECT_EQ(pages[1].at(0), (std::vector<int>{300, 1725, 4500, 4875}));
    EXPECT_EQ(pages[2], pages[1]);
    // On paper the Shift group holds the epoch offset and the shift together.
    EXPECT_NE(fake.printed.of(OpText).at(0).text.find("   Shift (3.0, -0.5)  Edition One"),
              std::string::npos);
}

}  // namespace
