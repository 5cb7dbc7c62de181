// The printed page's measures, and the print job run from the Print command.
#include "app/commands.h"
#include "app/printing.h"
#include "shell_fixture.h"

namespace {

std::vector<int> corners(const PageOp& op) {
    std::vector<int> out;
    for (const PagePoint& p : op.points) out.insert(out.end(), {p.x, p.y});
    return out;
}

TEST(PrintMeasures, FrameFontCirclesPensAndDiscsFollowThePageAndTheMagnitude) {
    // Window size, the page, and the frame's left, top, width and height, if any.
    const std::tuple<int, int, PrinterPage, std::vector<int>> frames[] = {
        {800, 600, {3600, 5400, 600, 600, 1}, {300, 1575, 3000, 2250}},  // 6 x 9 inches
        {400, 800, {3600, 5400, 600, 600, 1}, {600, 300, 2400, 4800}},  // 8 inches high at most
        {800, 600, {600, 5400, 600, 600, 1}, {}},  {800, 600, {3600, 500, 600, 600, 1}, {}},
    };
    for (const auto& [width, height, page, frame] : frames) {
        PageFrame f{};
        std::vector<int> made;
        if (computePageFrame(width, height, page, f)) made = {f.left, f.top, f.width, f.height};
        EXPECT_EQ(made, frame) << width << "x" << height << " " << page.width;
    }
    for (auto [dpi, height] : {std::pair{600, 48}, {300, 24}, {5, 1}})
        EXPECT_EQ(printFontHeight(dpi), height) << dpi;
    // Pixels per degree: the top edge 90 degrees away at focal scale 1.
    EXPECT_DOUBLE_EQ(printCircleRadius(3600, 1.0), 20.0);
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
