// The Statistics window in the whole viewer on the shipped data: t opens it on the current
// constellation, Page Down and F3 bring it up to date, Apply Offsets and Fit Epoch / Apply Epoch
// Fit set the epoch as the epoch dialog would, and Escape closes it for good.
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "analysis/statistics.h"
#include "app/state.h"
#include "catalog/epoch_text.h"
#include "dialog_helpers.h"
#include "platform/statistics_window.h"
#include "platform/window.h"

namespace {

// The whole edition's figures at the application's epoch setting.
ResidualSummary editionSummary() {
    return summarizeEdition(computeResiduals(*currentEdition(theApp.catalogs), *theApp.reference,
                                             alignmentOf(theApp.epoch)))
        .edition;
}

QString summaryText() { return statisticsWindow()->summary()->toPlainText(); }

}  // namespace

class StatisticsWindowTest : public QObject {
    Q_OBJECT

    void session(MainWindow* window) {
        QTest::keyClick(window, Qt::Key_T);
        WAIT_FOR(statisticsWindow() && statisticsWindow()->isVisible(), "the Statistics window");
        StatisticsWindow* stats = statisticsWindow();
        QVERIFY(summaryText().contains("Ursa Minor"));
        QVERIFY(summaryText().contains("Sample A"));
        const size_t ursaMinor = stats->content().scatterHighlighted.size();
        QCOMPARE(ursaMinor, size_t(8));  // its eight stars are all identified
        QVERIFY(!stats->applyFitButton()->isEnabled());

        // Page Down and F3 in the main window: the next constellation, the third edition.
        QTest::keyClick(window, Qt::Key_PageDown);
        QVERIFY(summaryText().contains("Ursa Major"));
        QVERIFY(stats->content().scatterHighlighted.size() > ursaMinor);
        QTest::keyClick(window, Qt::Key_F3);
        QVERIFY(summaryText().contains("Sample C"));

        // Sample C, recorded at 130 BC with +2 deg 40' on its longitudes, seen at AD 137.
        const double spreadBefore = editionSummary().robustSpreadArcmin;
        QVERIFY(std::fabs(editionSummary().medianLonArcmin) > 30);
        QTest::mouseClick(stats->applyOffsetsButton(), Qt::LeftButton);
        QCOMPARE(theApp.epoch.epoch, EpochSetting().epoch);
        QVERIFY2(std::fabs(editionSummary().medianLonArcmin) < 5, "longitudes lined up");
        QVERIFY(std::fabs(editionSummary().medianLatArcmin) < 5);
        QVERIFY(summaryText().contains(QString::fromLatin1(formatOffset(theApp.epoch.offsetLon))));

        QTest::mouseClick(stats->fitButton(), Qt::LeftButton);
        const StatisticsFit& fit = theApp.statistics.epochFit;
        QVERIFY2(fit.fit.fitted, fit.fit.problem.c_str());
        QVERIFY(stats->applyFitButton()->isEnabled());
        QCOMPARE(int(stats->content().curve.size()), kScatterCurveSamples);
        QVERIFY(stats->fitLine()->text().contains("BC"));
        QTest::mouseClick(stats->applyFitButton(), Qt::LeftButton);
        QCOMPARE(theApp.epoch.epoch, fit.fit.epochJd);
        QCOMPARE(theApp.epoch.offsetLon, float(fit.fit.lonOffsetRad));
        QCOMPARE(theApp.epoch.offsetLat, float(fit.fit.latOffsetRad));
        QVERIFY(editionSummary().robustSpreadArcmin < spreadBefore);
        QVERIFY(summaryText().contains("BC"));

        // Closed with Escape, it stays closed when the view changes.
        QTest::keyClick(stats, Qt::Key_Escape);
        QVERIFY(!stats->isVisible());
        QTest::keyClick(window, Qt::Key_PageDown);
        QVERIFY(!stats->isVisible());
    }

private Q_SLOTS:
    void opensUpdatesAndAppliesTheFit() {
        QTemporaryDir work;
        const QString previousFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work.path()));
        for (const char* name : {"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"})
            QVERIFY(QFile::copy(QString(TESSARAN_SOURCE_DIR "/data/") + name, work.filePath(name)));
        // Settings of its own, so that the epoch applied here reaches no other test.
        QFile settings(work.filePath("maridon.cfg"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.close();
        QTimer::singleShot(0, [&] {
            MainWindow* window = mainWindow();
            if (window && QTest::qWaitForWindowExposed(window)) session(window);
            platformCloseMainWindow();
        });
        QCOMPARE(runViewerBounded(), 0);
        QDir::setCurrent(previousFolder);
    }
};

QTEST_MAIN(StatisticsWindowTest)
#include "statistics_window_test.moc"
