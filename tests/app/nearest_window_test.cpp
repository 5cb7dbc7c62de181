// The nearest-stars window: its text and place, and what clicks, editions, q and epochs do to it.
#include <memory>

#include "app/commands.h"
#include "app/nearest_window.h"
#include "catalog/epoch_text.h"
#include "catalog/precession.h"
#include "shell_fixture.h"

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != text.npos; at = end + 2)
        out.push_back(text.substr(at, end - at));
    return out;
}

constexpr int kStar = 3;  // the star of Ursa Minor clicked on, the same in every sample edition

class NearestStarsTest : public ShellTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(ShellTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(start());
        const AncientStar& star = centreViewOn(kStar);
        platformRepaint();
        ASSERT_TRUE(star.visible);
        x = int(star.screenX + 0.5f), y = int(star.screenY + 0.5f);
        shown = formatText("nearest show %d %d", x, y);
        takeLog();
    }
    std::string description() const { return lines(fake.nearestText).at(1); }
    int x = 0, y = 0;
    std::string shown;  // the log line of a list shown for the click on the star
};

}  // namespace

TEST(NearestStarsText, TheAncientStarARuleAndTheReferenceStarsInLinesEndedByCrLf) {
    // Lyra's second star at (100, 100) and two reference stars 2 pixels right of it.
    Constellation lyra;
    lyra.name = "Lyra";
    lyra.stars = {{}, {2, 8, 17, 20, 0, 62, 0, 1.0f, "alp Lyr", std::string(460, 'x'), 7001, 149}};
    AncientStar& star = lyra.stars[1];
    star.screenX = star.screenY = 100, star.visible = 1;
    ReferenceStar refs[2] = {{7001, 0, "3 alp Lyr"}, {0, 0, "abcdefghijklmno"}};
    for (ReferenceStar& ref : refs) {
        ref.screenX = 102, ref.screenY = 100, ref.magnitude = 0.03f, ref.visible = 1;
        lonLatToVec3((257 + 20 / 60.0) * kDegToRad, 61.75 * kDegToRad, ref.dir);
    }
    NearestStarsMode mode;
    std::string text;
    ASSERT_TRUE(buildNearestStarsList(mode, lyra, refs, 2, 100, 100, 10.0, text));
    EXPECT_EQ(text, "149 Lyra 2\r\n" + std::string(460, 'x') +  // a description is kept whole
                        "\r\n7001      alp Lyr  257\xBA" "20'  62\xBA" "00'  1.0\r\n" +
                        std::string(40, '-') +
                        "\r\n7001    3 alp Lyr  257\xBA" "20'  61\xBA" "45'  0.03"
                        "\r\n   0 abcdefghijkl  257\xBA" "20'  61\xBA" "45'  0.03\r\n");
    EXPECT_FALSE(buildNearestStarsList(mode, lyra, refs, 2, 300, 20, 10.0, text));
}

TEST(NearestStarsPlacement, BelowRightOfTheClickOrMirroredAtTheRightAndBottomEdges) {
    const ScreenRect screen = {0, 0, 1280, 1000};
    const std::tuple<int, int, ScreenRect, std::vector<int>> cases[] = {  // click, area, window
        {100, 200, screen, {102, 202, 402, 452}},  {978, 200, screen, {980, 202, 1280, 452}},
        {979, 200, screen, {677, 202, 977, 452}},  {100, 748, screen, {102, 750, 402, 1000}},
        {100, 749, screen, {102, 497, 402, 747}},  {1270, 990, screen, {968, 738, 1268, 988}},
        {100, 200, {500, 400, 1280, 1000}, {102, 202, 402, 452}},  // left and top not tested
    };
    for (const auto& [x, y, area, placed] : cases) {
        ScreenRect r = placeNearClick(x, y, 300, 250, area);
        EXPECT_EQ((std::vector<int>{r.left, r.top, r.right, r.bottom}), placed) << x << "," << y;
    }
}

TEST_F(NearestStarsTest, ClickOnAStarOpensTheListAtTheClickWithinADegree) {
    onLeftButtonDown(0, 0);  // empty sky, window closed: nothing
    onLeftButtonDown(x, y);
    EXPECT_EQ(takeLog(), Log{shown});
    EXPECT_EQ(fake.nearestTitle, "Nearest Stars [lon/lat]");
    EXPECT_EQ(description(), currentConstellation()->stars[kStar].description);
    // An edition switch refreshes the open list for the last click.
    theApp.catalogs.slots[1]->constellations[0].stars[kStar].description = "as edition 2 has it";
    onKeyDown(KeyF1);
    EXPECT_EQ(takeLog(), (Log{"repaint", "frame 800x600", shown}));
    onKeyDown(KeyF2);
    EXPECT_EQ(description(), "as edition 2 has it");
    onLeftButtonDown(0, 0);  // empty sky, window open: it says so
    EXPECT_EQ(fake.log.back(), "nearest show 0 0");
    EXPECT_EQ(fake.nearestText, "(no stars)");
}

TEST_F(NearestStarsTest, QSwitchesTheListBetweenEclipticAndEquatorialPositionsAndAnEpochItsTitle) {
    onLeftButtonDown(x, y);
    const std::vector<std::string> ecliptic = lines(fake.nearestText);
    takeLog();
    onCharacter('q');
    EXPECT_EQ(takeLog(), (Log{"nearest title Nearest Stars [ra/dec]", shown}));
    const std::vector<std::string> equatorial = lines(fake.nearestText);
    EXPECT_EQ(equatorial.at(1), ecliptic.at(1));  // the same stars in other coordinates
    EXPECT_NE(equatorial.at(2), ecliptic.at(2));
    onCharacter('q');
    EXPECT_EQ(lines(fake.nearestText), ecliptic);
    fake.nearestOpen = false;
    takeLog();
    onCharacter('q');
    EXPECT_TRUE(takeLog().empty());
    onLeftButtonDown(x, y);
    EXPECT_EQ(fake.nearestTitle, "Nearest Stars [ra/dec]");
    EXPECT_EQ(lines(fake.nearestText), equatorial);
    // OK in the epoch dialog carries the stars and retitles the list.
    const auto before = std::make_unique<ReferenceCatalog>(*theApp.reference);
    takeLog();
    const EpochPreset& preset = kEpochPresets[1];
    fake.epochAnswers = {EpochSetting{preset.epoch, preset.offsetLon, preset.offsetLat}};
    onCommand(405);
    EXPECT_EQ(takeLog(), (Log{"epoch dialog", "nearest title Nearest Stars [ra/dec]", "repaint",
                              "frame 800x600"}));
    EXPECT_EQ(std::tie(theApp.epoch.epoch, theApp.epoch.offsetLat),
              std::tie(preset.epoch, preset.offsetLat));
    applyEpoch(*before, preset.epoch);
    EXPECT_EQ(theApp.reference->stars[500].dir.z, before->stars[500].dir.z);
}
