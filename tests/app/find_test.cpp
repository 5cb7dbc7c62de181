// Find in the shell: the dialog's lines, and going to what was chosen (the constellation selected
// as the page keys select it, the star in the middle of the picture with a ring round it that
// the next key or click takes away).
#include <cmath>
#include <functional>
#include <optional>
#include <tuple>
#include <utility>

#include "app/commands.h"
#include "app/find.h"
#include "app/navigation.h"
#include "resources/popup_menu.h"
#include "shell_fixture.h"

namespace {

// The constellation and index of the current edition's ancient star with this running number.
std::pair<int, int> ancientNumbered(int number) {
    const AncientCatalog& edition = *currentEdition(theApp.catalogs);
    for (int c = 0; c < kConstellationCount; ++c)
        for (int s = 0; s < edition.constellations[c].starCount; ++s)
            if (edition.constellations[c].stars[size_t(s)].catalogNumber == number) return {c, s};
    return {-1, -1};
}

// How far a direction lands from the middle of the frame, in device pixels.
double offCentre(const Vector3& direction) {
    float x = 0, y = 0;
    EXPECT_TRUE(projectStar(theApp.view, direction, x, y));
    return std::hypot(x - theApp.view.width / 2.0, y - theApp.view.height / 2.0);
}

// The pixels that `input` changes, as distances from the middle of the frame.
std::vector<double> changedPixels(const std::function<void()>& input) {
    const FrameBuffer before = theApp.frame;
    input();
    std::vector<double> distances;
    for (int y = 0; y < before.height; ++y)
        for (int x = 0; x < before.width; ++x)
            if (frameGetPixel(before, x, y) != frameGetPixel(theApp.frame, x, y))
                distances.push_back(std::hypot(x + 0.5 - before.width / 2.0,
                                               y + 0.5 - before.height / 2.0));
    return distances;
}

// Runs Find with a text typed and a line chosen.
void find(const std::string& typed, int line) {
    fakePlatform().findAnswers.push_back(FindAnswer{typed, line});
    onCharacter(kCharacterFind);
}

const FindAnswer kRunningNumber300 = {"300", 0};  // the first line: the ancient star

}  // namespace

TEST_F(ShellTest, FindGoesToAnAncientStarThroughItsConstellationsSavedView) {
    ASSERT_NO_FATAL_FAILURE(start());
    onKeyDown(KeyUp), onKeyDown(KeyUp);  // Ursa Minor off its saved view
    const SkyView outgoing = theApp.view;
    const auto [c, s] = ancientNumbered(300);
    ASSERT_GT(c, 0);
    const ConView incoming = theApp.conViews[size_t(c)];
    takeLog();

    find(kRunningNumber300.typed, kRunningNumber300.line);
    ASSERT_EQ(fake.findLines.size(), 2u);  // the ancient and the reference star 300
    EXPECT_EQ(fake.findLines[0].rfind("Tessaran   300", 0), 0u) << fake.findLines[0];
    EXPECT_EQ(fake.findLines[1].rfind("Reference  300", 0), 0u) << fake.findLines[1];
    EXPECT_EQ(theApp.constellation, c);
    const ConView& left = theApp.conViews[0];
    EXPECT_EQ(std::make_pair(left.viewLon, left.viewLat),
              std::make_pair(float(outgoing.centerLon), float(outgoing.centerLat)));
    EXPECT_EQ(std::make_pair(theApp.view.roll, theApp.view.focalScale),
              std::make_pair(double(incoming.roll), double(incoming.focalScale)));
    EXPECT_EQ(std::make_pair(theApp.shift.lon, theApp.shift.lat),
              std::make_pair(incoming.shiftLon, incoming.shiftLat));
    // Centred where it is drawn, the constellation's shift and the epoch offsets included.
    EXPECT_TRUE(theApp.find.ringShown);
    EXPECT_LT(offCentre(currentConstellation()->stars[size_t(s)].dir), 1.0);
    EXPECT_GE(repaints(), 1);
}

TEST_F(ShellTest, TheRingGoesWithTheNextKeyOrClickAndKeepsItsSizeOnTheScreen) {
    const struct {
        const char* what;
        std::function<void()> input;  // does nothing else to the picture
    } inputs[] = {
        {"key", [] { onKeyDown(0x73); }},  // F4
        {"character", [] { onCharacter('z'); }},
        {"left click", [] { onLeftButtonDown(3, 3); }},
        {"right click", [] { onRightButtonDown(3, 3); }},
    };
    for (double ratio : {1.0, 2.0}) {
        fake.devicePixelRatio = ratio;
        ASSERT_NO_FATAL_FAILURE(start());
        // The radius: 12 window pixels, or 1.6 circle radii where the circles are larger.
        const double radius = ratio * std::max(12.0, 1.6 * theApp.view.pixelsPerDegree / ratio);
        for (const auto& i : inputs) {
            SCOPED_TRACE(formatText("%s at ratio %.0f", i.what, ratio));
            find(kRunningNumber300.typed, kRunningNumber300.line);
            ASSERT_TRUE(theApp.find.ringShown);
            takeLog();
            const std::vector<double> ring = changedPixels(i.input);
            EXPECT_FALSE(theApp.find.ringShown);
            EXPECT_GE(repaints(), 1);
            // A band round the radius, at least `ratio` device pixels thick all the way round.
            EXPECT_GE(double(ring.size()), ratio * 2 * kPi * radius);
            for (double d : ring) ASSERT_NEAR(d, radius, 1.6 * ratio + 1);
            // Nothing is left to take away.
            takeLog();
            EXPECT_TRUE(changedPixels(i.input).empty());
        }
    }
}

TEST_F(ShellTest, AReferenceStarGoesWithTheFirstAncientStarNamingIt) {
    ASSERT_NO_FATAL_FAILURE(start());
    // The sample identifies ancient star k + 1 with reference star 7 k (k not a multiple of 5):
    // 2093 goes with ancient star 300, 7 with ancient star 2 (and 7 is an ancient star too, the
    // first line), nothing names 9001.
    const struct {
        const char* typed;
        int line, lines;
        int constellation;  // -1: the current one
    } cases[] = {
        {"2093", 0, 1, ancientNumbered(300).first},
        {"7", 1, 2, ancientNumbered(2).first},
        {"9001", 0, 1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        onKeyDown(KeyPageDown);
        const int before = theApp.constellation;
        find(c.typed, c.line);
        ASSERT_EQ(int(fake.findLines.size()), c.lines);
        EXPECT_EQ(fake.findLines[size_t(c.line)].rfind("Reference ", 0), 0u);
        EXPECT_EQ(theApp.constellation, c.constellation < 0 ? before : c.constellation);
        const int entry = lookUpReferenceStar(theApp.reference->index, std::stoi(c.typed));
        EXPECT_LT(offCentre(theApp.reference->stars[entry].dir), 1.0);
        EXPECT_TRUE(theApp.find.ringShown);
    }
}

TEST_F(ShellTest, AConstellationFoundIsSelectedWithItsSavedViewAndNoRing) {
    ASSERT_NO_FATAL_FAILURE(start());
    const int orion = constellationByName("Orion");
    const ConView saved = theApp.conViews[size_t(orion)];
    find("orion", 0);
    ASSERT_FALSE(fake.findLines.empty());
    EXPECT_EQ(fake.findLines[0], "Constellation  Orion");
    EXPECT_EQ(theApp.constellation, orion);
    EXPECT_EQ(std::make_pair(theApp.view.centerLon, theApp.view.centerLat),
              std::make_pair(double(saved.viewLon), double(saved.viewLat)));
    EXPECT_FALSE(theApp.find.ringShown);
}

TEST_F(ShellTest, FindWithoutAChoiceChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(start());
    const struct {
        const char* what;
        std::optional<FindAnswer> answer;
    } cases[] = {
        {"cancelled", std::nullopt},
        {"no line", FindAnswer{"300", -1}},
        {"past the matches", FindAnswer{"300", 2}},  // as the last line of a list cut short
        {"nothing found", FindAnswer{"no such star", 0}},
        {"empty", FindAnswer{"", 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const SkyView view = theApp.view;
        fake.findAnswers = {c.answer};
        onCommand(CmdFind);
        EXPECT_EQ(takeLog(), Log{"find dialog"});
        EXPECT_EQ(std::make_tuple(theApp.constellation, theApp.view.centerLon,
                                  theApp.find.ringShown),
                  std::make_tuple(0, view.centerLon, false));
    }
}

TEST_F(ShellTest, TheListNamesEachMatchAndSaysWhenItWasCut) {
    ASSERT_NO_FATAL_FAILURE(start());
    const AncientCatalog& edition = *currentEdition(theApp.catalogs);
    const auto [c, s] = ancientNumbered(300);  // k = 299, designated by its constellation's name
    const std::string name = kConstellationTable[c].name;
    const int identified = lookUpReferenceStar(theApp.reference->index, 2093);
    const int unnamed = lookUpReferenceStar(theApp.reference->index, 9001);
    StarSearch search;
    search.found = {{FoundKind::Constellation, 35, -1},
                    {FoundKind::AncientStar, c, s},
                    {FoundKind::ReferenceStar, -1, identified},
                    {FoundKind::ReferenceStar, -1, unnamed}};
    search.total = 4;
    const std::vector<std::string> lines = foundLines(search, edition, *theApp.reference);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], std::string("Constellation  ") + kConstellationTable[35].name);
    EXPECT_EQ(lines[1],
              formatText("Tessaran   300  %-12s %s %d", name.c_str(), name.c_str(), s + 1));
    auto referenceLine = [&](int entry, const std::string& goesWith) {
        const ReferenceStar& star = theApp.reference->stars[entry];
        return formatText("Reference %4d  %-12s %5.2f %s", star.number, star.name, star.magnitude,
                          goesWith.c_str());
    };
    EXPECT_EQ(lines[2], referenceLine(identified, name));
    EXPECT_EQ(lines[3], referenceLine(unnamed, "(no Tessaran star)"));

    search.total = 345;
    const std::vector<std::string> cut = foundLines(search, edition, *theApp.reference);
    ASSERT_EQ(cut.size(), 5u);
    EXPECT_EQ(cut.back(), "(the first 4 of 345 matches)");
}
