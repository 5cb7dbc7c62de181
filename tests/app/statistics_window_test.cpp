// The Statistics window, the shell's side: the epoch fit, its curve and its lowest point, kept
// for the edition it was made from as it was.
#include "app/commands.h"
#include "app/identifications.h"
#include "resources/popup_menu.h"
#include "shell_fixture.h"

TEST_F(ShellTest, TheEpochFitHoldsForTheEditionItWasMadeFromAsItWas) {
    ASSERT_NO_FATAL_FAILURE(start());
    const EpochSetting before = theApp.epoch;
    onCharacter('t');
    onCommand(CmdStatisticsFitEpoch);
    const EpochFit& fit = theApp.statistics.epochFit.fit;
    ASSERT_TRUE(fit.fitted) << fit.problem;
    const std::vector<PlotPoint>& curve = fake.statistics.curve;
    ASSERT_EQ(int(curve.size()), kScatterCurveSamples);
    double lowest = curve.front().y;
    for (const PlotPoint& point : curve) lowest = std::min(lowest, point.y);
    EXPECT_EQ(fake.statistics.curveMinimum.y, lowest);
    onKeyDown(KeyF2);  // another edition: no fit
    EXPECT_TRUE(fake.statistics.fitText.empty() && curve.empty());
    onKeyDown(KeyF1);
    onCommand(CmdStatisticsApplyEpochFit);
    EXPECT_EQ(std::make_tuple(theApp.epoch.epoch, theApp.epoch.offsetLon, theApp.epoch.offsetLat),
              std::make_tuple(fit.epochJd, float(fit.lonOffsetRad), float(fit.latOffsetRad)));

    // A changed identification, or a replaced edition where the old one's memory is: the fit is
    // gone, and Apply Epoch Fit does nothing.
    for (bool replaced : {false, true}) {
        onCommand(CmdStatisticsFitEpoch);
        fake.epochAnswers = {before};
        onCharacter('e');
        fake.fileAnswers = {programFile(kEditionFileNames[0])};
        if (replaced) ASSERT_EQ(replaceCurrentCatalog(), 1);
        else identifyStar(0, {0, 3}, 0);
        EXPECT_TRUE(fake.statistics.fitText.empty());
        onCommand(CmdStatisticsApplyEpochFit);
        EXPECT_EQ(theApp.epoch.epoch, before.epoch) << replaced;
    }
}
