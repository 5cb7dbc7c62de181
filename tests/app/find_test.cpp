// Find in the shell: the dialog's lines, and going to what was chosen (the constellation selected
// with its saved view, the star in the middle of the picture with a ring round it that the next
// key or click, or a new epoch, takes away).
#include <cmath>
#include <functional>
#include <utility>

#include "app/commands.h"
#include "app/find.h"
#include "app/navigation.h"
#include "resources/popup_menu.h"
#include "shell_fixture.h"

static void find(const std::string& typed, int line) {
    fakePlatform().findAnswers = {FindAnswer{typed, line}};
    onCharacter(kCharacterFind);
}

TEST_F(ShellTest, FindListsAndGoesToTheStarOrConstellationChosen) {
    ASSERT_NO_FATAL_FAILURE(start());
    // The sample identifies ancient star k + 1 with reference star 7 k (k not a multiple of 5)
    // and designates it by its constellation's name: 2093 goes with ancient star 300; nothing
    // names 9001.
    StarPlace p300;
    ASSERT_TRUE(starPlaceOf(*currentEdition(theApp.catalogs), 300, p300));
    const int c300 = p300.constellation;
    const int orion = constellationByName("Orion");
    // The text typed, the line chosen, how it starts and ends, the constellation gone to (-1:
    // the one before) and the number of lines listed (0: any).
    const struct {
        const char* typed; int line; std::string start, end; int constellation; size_t lines;
    } cases[] = {
        {"300", 0, "Tessaran   300", formatText(" %d", p300.index + 1), c300, 2},
        {"2093", 0, "Reference 2093", kConstellationTable[c300].name, c300, 1},
        {"9001", 0, "Reference 9001", "(no Tessaran star)", -1, 1},
        {"orion", 0, "Constellation  Orion", "Orion", orion, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        onKeyDown(KeyPageDown);
        const int target = c.constellation < 0 ? theApp.constellation : c.constellation;
        const ConView saved = theApp.conViews[size_t(target)];
        find(c.typed, c.line);
        ASSERT_EQ(fake.findLines.size(), c.lines ? c.lines : fake.findLines.size());
        const std::string& line = fake.findLines[size_t(c.line)];
        EXPECT_EQ(line.rfind(c.start, 0), 0u) << line;
        EXPECT_EQ(line.substr(line.size() - c.end.size()), c.end) << line;
        EXPECT_EQ(theApp.constellation, target);
        EXPECT_EQ(theApp.view.focalScale, double(saved.focalScale));
        EXPECT_EQ(theApp.find.ringShown, target != orion);
        // In the middle: a star where it is drawn, a constellation's saved view.
        Vector3 middle;
        if (c.start[0] == 'T')
            middle = currentConstellation()->stars[size_t(p300.index)].dir;
        else if (target == orion)
            lonLatToVec3(saved.viewLon, saved.viewLat, middle);
        else
            middle = theApp.reference->stars[lookUpReferenceStar(theApp.reference->index,
                                                                 std::atoi(c.typed))].dir;
        float x = 0, y = 0;
        ASSERT_TRUE(projectStar(theApp.view, middle, x, y));
        EXPECT_LT(std::hypot(x - theApp.view.width / 2.0, y - theApp.view.height / 2.0), 1.0);
    }
    find("300", 2);  // past the matches, as the last line of a list cut short
    EXPECT_EQ(theApp.constellation, orion);
}

TEST_F(ShellTest, TheRingGoesWithTheNextKeyOrClickOrEpochAndKeepsItsSizeOnTheScreen) {
    fake.devicePixelRatio = 2;
    ASSERT_NO_FATAL_FAILURE(start());
    // In star 300's constellation zoomed out, the circles small: 12 window pixels, 24 device ones.
    find("300", 0);
    for (int k = 0; k < 20 && 1.6 * theApp.view.pixelsPerDegree >= 24; ++k) onCharacter(',');
    ASSERT_LT(1.6 * theApp.view.pixelsPerDegree, 24);
    // A key and a click, neither of which changes the picture otherwise.
    const std::function<void()> inputs[] = {[] { onKeyDown(0x73); },
                                            [] { onLeftButtonDown(3, 3); }};
    for (const auto& input : inputs) {
        SCOPED_TRACE(&input - inputs);
        find("300", 0);
        const FrameBuffer before = theApp.frame;
        input();
        EXPECT_FALSE(theApp.find.ringShown);
        // The pixels changed: a band round the radius, two device pixels thick all round.
        int changed = 0;
        for (int y = 0; y < before.height; ++y)
            for (int x = 0; x < before.width; ++x)
                if (frameGetPixel(before, x, y) != frameGetPixel(theApp.frame, x, y)) {
                    ++changed;
                    ASSERT_NEAR(std::hypot(x + 0.5 - before.width / 2.0,
                                           y + 0.5 - before.height / 2.0),
                                24, 4.2);
                }
        EXPECT_GE(changed, 2 * 2 * kPi * 24);
    }
    find("300", 0);
    onCommand(CmdStatisticsApplyOffsets);  // the stars move from under it
    EXPECT_FALSE(theApp.find.ringShown);
}
