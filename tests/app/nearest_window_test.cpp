// The nearest-stars window and the epoch command, driven through the shell's handlers against the
// fake platform: what a click, an edition switch, q and the epoch dialog show and change.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "app/commands.h"
#include "app/nearest_window.h"
#include "app/shell.h"
#include "app/state.h"
#include "app/status_text.h"
#include "catalog/edition_file.h"
#include "catalog/epoch_text.h"
#include "catalog/precession.h"
#include "shell_fixture.h"
#include "support/catalog_fixtures.h"

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        out.push_back(text.substr(start, end - start));
    return out;
}

// The corners of the window placed for a click.
std::vector<int> placed(int x, int y, int width, int height, const ScreenRect& area) {
    ScreenRect r = placeNearClick(x, y, width, height, area);
    return {r.left, r.top, r.right, r.bottom};
}

constexpr int kStar = 3;  // the star of Ursa Minor the tests click on

class NearestStarsTest : public ShellTest {
protected:
    // Starts the program and turns the view onto star kStar of the first constellation, so that
    // it is drawn at the centre of the window in every edition (the sample editions share their
    // positions). Returns its click point.
    void startLookingAtTheStar() {
        startProgram();
        const AncientStar& star = currentConstellation()->stars[kStar];
        theApp.view.centerLon = star.lon;
        theApp.view.centerLat = star.lat;
        viewUpdate(theApp.view);
        platformRepaint();
        ASSERT_TRUE(currentConstellation()->stars[kStar].visible);
        clickX = int(star.screenX + 0.5f);
        clickY = int(star.screenY + 0.5f);
    }

    // Hides every star the last repaint placed, so that a test can put its own on the screen.
    void clearTheScreen() {
        for (AncientStar& star : currentConstellation()->stars) star.visible = 0;
        for (ReferenceStar& star : theApp.reference->stars) star.visible = 0;
    }

    std::string firstLine() const {
        std::vector<std::string> shown = lines(fakeNearestStarsWindow().text);
        return shown.empty() ? std::string() : shown[0];
    }

    // "catalogNumber constellation position" of star kStar.
    std::string starHeading() const {
        const Constellation& c = *currentConstellation();
        return std::to_string(c.stars[kStar].catalogNumber) + " " + c.name + " " +
               std::to_string(kStar + 1);
    }

    int clickX = 0, clickY = 0;
};

}  // namespace

TEST(NearestStarsPlacement, BelowRightOfTheClickOrMirroredAtTheRightAndBottomEdges) {
    const ScreenRect area = {0, 0, 1280, 1000};
    EXPECT_EQ(placed(100, 200, 300, 250, area), (std::vector<int>{102, 202, 402, 452}));
    // Just fitting: the window's right edge on the work area's right edge stays.
    EXPECT_EQ(placed(978, 200, 300, 250, area), (std::vector<int>{980, 202, 1280, 452}));
    // One pixel more and it opens to the left: its right edge 2 pixels left of the click.
    EXPECT_EQ(placed(979, 200, 300, 250, area), (std::vector<int>{677, 202, 977, 452}));
    EXPECT_EQ(placed(100, 749, 300, 250, area), (std::vector<int>{102, 497, 402, 747}));
    EXPECT_EQ(placed(1270, 990, 300, 250, area), (std::vector<int>{968, 738, 1268, 988}));
    // The left and top edges are not tested: a work area that starts further in changes nothing.
    const ScreenRect inset = {500, 400, 1280, 1000};
    EXPECT_EQ(placed(100, 200, 300, 250, inset), (std::vector<int>{102, 202, 402, 452}));
    // A work area away from the origin, on a second screen to the left.
    const ScreenRect left = {-1920, 0, 0, 1080};
    EXPECT_EQ(placed(-10, 500, 300, 250, left), (std::vector<int>{-312, 502, -12, 752}));
}

TEST_F(NearestStarsTest, ClickOnAStarOpensTheListNextToItAndAnEmptySkyOpensNothing) {
    startLookingAtTheStar();
    FakeNearestStarsWindow& window = fakeNearestStarsWindow();

    // Empty sky with the window closed: nothing at all.
    onLeftButtonDown(0, 0);
    EXPECT_FALSE(window.open);
    EXPECT_EQ(window.shows, 0);

    onLeftButtonDown(clickX, clickY);
    ASSERT_TRUE(window.open);
    EXPECT_EQ(window.shows, 1);
    EXPECT_EQ(window.title, "Nearest Stars [lon/lat]");
    EXPECT_EQ(window.clickX, clickX);
    EXPECT_EQ(window.clickY, clickY);
    std::vector<std::string> shown = lines(window.text);
    ASSERT_GE(shown.size(), 4u);
    EXPECT_EQ(shown[0], starHeading());
    EXPECT_EQ(shown[1], currentConstellation()->stars[kStar].description);
    EXPECT_EQ(shown[3], std::string(40, '-'));

    // Empty sky with the window open: it stays, saying so, next to the new click.
    onLeftButtonDown(0, 0);
    EXPECT_TRUE(window.open);
    EXPECT_EQ(window.shows, 2);
    EXPECT_EQ(window.text, "(no stars)");
    EXPECT_EQ(window.clickX, 0);
    EXPECT_EQ(window.clickY, 0);
    EXPECT_EQ(window.title, "Nearest Stars [lon/lat]");
}

TEST_F(NearestStarsTest, TheSearchRadiusIsTheViewsPixelsPerDegreeItselfIncluded) {
    startLookingAtTheStar();
    FakeNearestStarsWindow& window = fakeNearestStarsWindow();
    clearTheScreen();
    // A degree of 25 pixels; the ancient star and a reference star 15 across and 20 down.
    theApp.view.pixelsPerDegree = 25.0;
    AncientStar& star = currentConstellation()->stars[kStar];
    star.visible = 1;
    star.screenX = 215;
    star.screenY = 320;
    ReferenceStar& reference = theApp.reference->stars[100];
    reference.visible = 1;
    reference.screenX = 215;
    reference.screenY = 320;

    onLeftButtonDown(200, 300);
    ASSERT_TRUE(window.open);
    // The ancient star and its rule, but not the reference star at exactly the radius.
    EXPECT_EQ(lines(window.text).size(), 4u);
    EXPECT_EQ(firstLine(), starHeading());

    // One pixel nearer the reference star comes in.
    onLeftButtonDown(201, 300);
    EXPECT_EQ(lines(window.text).size(), 5u);
    EXPECT_EQ(lines(window.text)[4].substr(0, 4), formatText("%4d", reference.number));

    // A smaller degree leaves both outside.
    theApp.view.pixelsPerDegree = 24.9;
    onLeftButtonDown(200, 300);
    EXPECT_EQ(window.text, "(no stars)");
}

TEST_F(NearestStarsTest, EditionSwitchesRefreshTheOpenListForTheLastClick) {
    startLookingAtTheStar();
    FakeNearestStarsWindow& window = fakeNearestStarsWindow();
    for (int slot = 1; slot < kEditionSlotCount; ++slot)
        theApp.catalogs.slots[slot]->constellations[0].stars[kStar].description =
            "as edition " + std::to_string(slot + 1) + " has it";

    // Closed: a switch opens nothing.
    onKeyDown(KeyF2);
    EXPECT_FALSE(window.open);
    EXPECT_EQ(window.shows, 0);
    onKeyDown(KeyF1);

    onLeftButtonDown(clickX, clickY);
    ASSERT_TRUE(window.open);
    onKeyDown(KeyF2);
    EXPECT_EQ(window.shows, 2);
    EXPECT_EQ(lines(window.text)[1], "as edition 2 has it");
    EXPECT_EQ(window.clickX, clickX);
    EXPECT_EQ(window.clickY, clickY);
    onCommand(403);
    EXPECT_EQ(lines(window.text)[1], "as edition 3 has it");
    onKeyDown(KeyF1);
    EXPECT_EQ(lines(window.text)[1], currentConstellation()->stars[kStar].description);

    // Replacing the current edition lists from the new one.
    TempDir other;
    EditionPtr replacement = sampleEdition("Replacement");
    replacement->constellations[0].stars[kStar].description = "from the replacement";
    ASSERT_TRUE(writeEdition(other.path("new.dat").c_str(), *replacement));
    fakePlatform().fileAnswers.push_back(other.path("new.dat"));
    onCharacter('c');
    EXPECT_EQ(lines(window.text)[1], "from the replacement");

    // Navigation does not refresh it.
    int shows = window.shows;
    onKeyDown(KeyPageDown);
    EXPECT_EQ(window.shows, shows);

    // Once the user has closed it, a switch leaves it closed.
    window.open = false;
    onKeyDown(KeyPageUp);
    onKeyDown(KeyF2);
    EXPECT_FALSE(window.open);
    EXPECT_EQ(window.shows, shows);
}

TEST_F(NearestStarsTest, QSwitchesBetweenEclipticAndEquatorialPositions) {
    startLookingAtTheStar();
    FakeNearestStarsWindow& window = fakeNearestStarsWindow();
    onLeftButtonDown(clickX, clickY);
    const std::string eclipticText = window.text;

    onCharacter('q');
    EXPECT_EQ(window.title, "Nearest Stars [ra/dec]");
    EXPECT_EQ(window.titlesSet, 1);
    std::vector<std::string> before = lines(eclipticText), after = lines(window.text);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0], before[0]);
    EXPECT_EQ(after[1], before[1]);
    // Same stars, other coordinates: the position columns (19 onwards) change on every star line.
    for (size_t i = 2; i < after.size(); ++i) {
        if (i == 3) continue;  // the rule
        EXPECT_EQ(after[i].substr(0, 19), before[i].substr(0, 19));
        EXPECT_NE(after[i].substr(19, 15), before[i].substr(19, 15)) << i;
    }

    onCharacter('q');
    EXPECT_EQ(window.title, "Nearest Stars [lon/lat]");
    EXPECT_EQ(window.text, eclipticText);

    // With the window closed q only switches: the next click lists in the new coordinates.
    window.open = false;
    int shows = window.shows;
    onCharacter('q');
    EXPECT_EQ(window.shows, shows);
    onLeftButtonDown(clickX, clickY);
    EXPECT_EQ(window.title, "Nearest Stars [ra/dec]");
    EXPECT_EQ(lines(window.text)[2], after[2]);
}

TEST_F(NearestStarsTest, EpochDialogOkCarriesTheStarsAndTellsTheQueryCancelChangesNothing) {
    startLookingAtTheStar();
    FakeNearestStarsWindow& window = fakeNearestStarsWindow();
    FakeEpochDialog& dialog = fakeEpochDialog();
    FakePlatform& fake = fakePlatform();
    onLeftButtonDown(clickX, clickY);
    onCharacter('q');
    const EpochSetting before = theApp.epoch;
    auto unchanged = std::make_unique<ReferenceCatalog>(*theApp.reference);

    // Cancel: nothing changes, nothing is drawn again.
    int repaints = fake.repaints, shows = window.shows;
    onCharacter('e');
    ASSERT_EQ(dialog.openedWith.size(), 1u);
    EXPECT_EQ(dialog.openedWith[0].epoch, before.epoch);
    EXPECT_EQ(theApp.epoch.epoch, before.epoch);
    EXPECT_EQ(theApp.epoch.offsetLon, before.offsetLon);
    EXPECT_EQ(fake.repaints, repaints);
    EXPECT_EQ(theApp.reference->stars[500].dir.x, unchanged->stars[500].dir.x);

    // OK from the menu with the second preset.
    const EpochPreset& preset = kEpochPresets[1];
    dialog.answers.push_back(EpochSetting{preset.epoch, preset.offsetLon, preset.offsetLat});
    onCommand(405);
    ASSERT_EQ(dialog.openedWith.size(), 2u);
    EXPECT_EQ(theApp.epoch.epoch, preset.epoch);
    EXPECT_EQ(theApp.epoch.offsetLon, preset.offsetLon);
    EXPECT_EQ(fake.repaints, repaints + 1);
    // Every reference star carried to the new epoch.
    auto expected = std::make_unique<ReferenceCatalog>(*unchanged);
    applyEpoch(*expected, preset.epoch);
    int same = 0;
    for (int i = 0; i < kReferenceStarCount; ++i) {
        const Vector3 &got = theApp.reference->stars[i].dir, &want = expected->stars[i].dir;
        if (got.x == want.x && got.y == want.y && got.z == want.z) ++same;
    }
    EXPECT_EQ(same, kReferenceStarCount);
    EXPECT_NE(theApp.reference->stars[500].dir.x, unchanged->stars[500].dir.x);
    // The query has the new offsets and the equator of the new epoch; the open list keeps its
    // text until the next query, its title is set again.
    const NearestStarsMode& mode = theApp.nearestStars.mode;
    EXPECT_EQ(mode.offsetLon, preset.offsetLon);
    EXPECT_EQ(mode.offsetLat, preset.offsetLat);
    NearestStarsMode fresh;
    nearestStarsSetMode(fresh, preset.epoch, preset.offsetLon, preset.offsetLat, 1);
    EXPECT_EQ(mode.eclipticToEquatorial.m[1][2], fresh.eclipticToEquatorial.m[1][2]);
    EXPECT_EQ(window.shows, shows);
    EXPECT_EQ(window.title, "Nearest Stars [ra/dec]");
    EXPECT_EQ(window.titlesSet, 2);

    // The next dialog opens on the new setting.
    onCharacter('e');
    ASSERT_EQ(dialog.openedWith.size(), 3u);
    EXPECT_EQ(dialog.openedWith[2].epoch, preset.epoch);
    EXPECT_EQ(dialog.openedWith[2].offsetLon, preset.offsetLon);
}

TEST_F(NearestStarsTest, StartUpHandsTheSavedEpochAndOffsetsToTheQuery) {
    ASSERT_TRUE(writeTextFile(programFile("maridon.cfg"), "Epoch 1673941\nPOffsets -2.5 0.25\n"));
    startProgram();
    const NearestStarsMode& mode = theApp.nearestStars.mode;
    EXPECT_EQ(mode.equatorial, 0);
    EXPECT_NE(theApp.epoch.offsetLon, 0.0f);
    EXPECT_EQ(mode.offsetLon, theApp.epoch.offsetLon);
    EXPECT_EQ(mode.offsetLat, theApp.epoch.offsetLat);
    EXPECT_EQ(fakeNearestStarsWindow().titlesSet, 0);
}
