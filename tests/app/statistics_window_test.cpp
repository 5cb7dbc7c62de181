// The Statistics window, the shell's side: what it is shown and when, and the epoch fit kept
// for the edition it was made from.
#include "app/commands.h"
#include "catalog/epoch_text.h"
#include "resources/popup_menu.h"
#include "shell_fixture.h"

namespace {

int statisticsShows(const Log& log) { return int(std::count(log.begin(), log.end(), "statistics show")); }

}  // namespace

TEST_F(ShellTest, TheStatisticsWindowFollowsTheViewUntilItIsClosed) {
    ASSERT_NO_FATAL_FAILURE(start());
    onCharacter('t');
    ASSERT_TRUE(fake.statisticsOpen);
    EXPECT_EQ(statisticsShows(takeLog()), 1);
    auto shows = [&](const std::string& text) {
        return fake.statistics.summary.find(text) != std::string::npos;
    };
    EXPECT_TRUE(shows("Edition One") && shows("Ursa Minor") && shows("Whole edition"));
    const size_t ursaMinor = fake.statistics.scatterHighlighted.size();
    EXPECT_GT(ursaMinor, 0u);
    // A repaint that changes none of the figures leaves the window alone.
    platformRepaint();
    EXPECT_EQ(statisticsShows(takeLog()), 0);

    onKeyDown(KeyPageDown);
    EXPECT_EQ(statisticsShows(takeLog()), 1);
    EXPECT_TRUE(shows("Ursa Major"));
    EXPECT_NE(fake.statistics.scatterHighlighted.size(), ursaMinor);
    onKeyDown(KeyF2);
    EXPECT_TRUE(shows("Edition Two"));
    const EpochSetting later = {2000000.5, 0.01f, -0.02f};
    fake.epochAnswers = {later};
    onCharacter('e');
    EXPECT_TRUE(shows(formatEpoch(later.epoch)) && shows(formatOffset(later.offsetLat)));

    takeLog();
    fake.statisticsOpen = false;  // the user closes it
    onKeyDown(KeyPageDown);
    EXPECT_EQ(statisticsShows(takeLog()), 0);
    onCommand(CmdStatistics);
    EXPECT_TRUE(fake.statisticsOpen);
}

TEST_F(ShellTest, TheEpochFitHoldsForTheEditionItWasMadeFrom) {
    ASSERT_NO_FATAL_FAILURE(start());
    const EpochSetting before = theApp.epoch;
    onCommand(CmdStatisticsApplyEpochFit);  // nothing fitted yet
    EXPECT_EQ(theApp.epoch.epoch, before.epoch);
    EXPECT_EQ(repaints(), 0);

    onCharacter('t');
    onCommand(CmdStatisticsFitEpoch);
    ASSERT_FALSE(fake.statistics.fitText.empty());
    EXPECT_EQ(int(fake.statistics.curve.size()), kScatterCurveSamples);
    EXPECT_LE(fake.statistics.curveMinimum.y, fake.statistics.curve.front().y);
    onKeyDown(KeyF2);  // another edition: no fit
    EXPECT_TRUE(fake.statistics.fitText.empty() && fake.statistics.curve.empty());
    onKeyDown(KeyF1);
    EXPECT_FALSE(fake.statistics.fitText.empty());

    const EpochFit& fit = theApp.statistics.epochFit.fit;
    ASSERT_TRUE(fit.fitted) << fit.problem;
    takeLog();
    onCommand(CmdStatisticsApplyEpochFit);
    EXPECT_EQ(theApp.epoch.epoch, fit.epochJd);
    EXPECT_EQ(theApp.epoch.offsetLon, float(fit.lonOffsetRad));
    EXPECT_EQ(theApp.epoch.offsetLat, float(fit.latOffsetRad));
    EXPECT_GT(repaints(), 0);

    // A replaced edition is another edition, even where it takes the old one's memory.
    const double applied = theApp.epoch.epoch;
    fake.fileAnswers = {programFile(kEditionFileNames[1])};
    ASSERT_EQ(replaceCurrentCatalog(), 1);
    EXPECT_TRUE(fake.statistics.fitText.empty());
    fake.epochAnswers = {before};
    onCharacter('e');
    onCommand(CmdStatisticsApplyEpochFit);
    EXPECT_EQ(theApp.epoch.epoch, before.epoch);
    EXPECT_NE(applied, before.epoch);
}
