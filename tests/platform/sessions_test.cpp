// Whole sessions of the viewer on the shipped data, each in a folder of its own: the Statistics
// window (t, Page Down, F3, applying the offsets and the fitted epoch) and an identification
// changed in the nearest-stars list's menu (undo, redo, the changed mark, Save Catalog As over a
// file, the question before closing with it unsaved). Then the Find dialog alone, over a list of
// names standing in for the shell's search.
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "analysis/statistics.h"
#include "app/identifications.h"
#include "app/state.h"
#include "catalog/edition_file.h"
#include "dialog_helpers.h"
#include "platform/find_dialog.h"
#include "platform/nearest_stars_window.h"
#include "platform/statistics_window.h"
#include "resources/popup_menu.h"

namespace {

double medianLongitude() {  // of the whole edition at the application's epoch setting
    return summarizeEdition(computeResiduals(*currentEdition(theApp.catalogs), *theApp.reference,
                                             alignmentOf(theApp.epoch)))
        .edition.medianLonArcmin;
}

void statisticsSession(MainWindow* window) {
    QTest::keyClick(window, Qt::Key_T);
    WAIT_FOR(statisticsWindow() && statisticsWindow()->isVisible(), "the Statistics window");
    StatisticsWindow* stats = statisticsWindow();
    QCOMPARE(stats->content().scatterHighlighted.size(), size_t(8));  // Ursa Minor's eight
    // One star identified far off leaves the scatter's scale, which nearly every star sets.
    const double halfWidth = stats->content().scatterHalfWidth;
    identifyStar(0, {0, 0}, 9000);
    const double withOneFarOff = stats->content().scatterHalfWidth;
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(withOneFarOff, halfWidth);
    QTest::keyClick(window, Qt::Key_PageDown);
    QVERIFY(stats->summary()->toPlainText().contains("Ursa Major"));
    // Sample C, recorded at 130 BC with +2 deg 40' on its longitudes, seen at AD 137.
    QTest::keyClick(window, Qt::Key_F3);
    QVERIFY(stats->summary()->toPlainText().contains("Sample C"));
    QVERIFY(std::fabs(medianLongitude()) > 30);
    QTest::mouseClick(stats->applyOffsetsButton(), Qt::LeftButton);
    QVERIFY2(std::fabs(medianLongitude()) < 5, "longitudes lined up");

    QTest::mouseClick(stats->fitButton(), Qt::LeftButton);
    const EpochFit& fit = theApp.statistics.epochFit.fit;
    QVERIFY2(fit.fitted, fit.problem.c_str());
    QTest::mouseClick(stats->applyFitButton(), Qt::LeftButton);
    QCOMPARE(theApp.epoch.epoch, fit.epochJd);
}

// The identification of Ursa Minor's first star in an edition: the first one, or one read.
int identification(const AncientCatalog& edition = *theApp.catalogs.slots[0]) {
    return edition.constellations[0].stars[0].identification;
}

void identifySession(MainWindow* window) {
    const AncientStar& star = theApp.catalogs.slots[0]->constellations[0].stars[0];
    const int original = identification();
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(int(star.screenX), int(star.screenY)));
    WAIT_FOR(nearestStarsWindow() && nearestStarsWindow()->isVisible(), "the nearest stars");
    QMenu* menu = nearestStarsWindow()->contextMenu();  // the first other reference star chosen
    for (QAction* action : menu->actions())
        if (action->text().startsWith("Identify") && !action->text().endsWith("(as now)") &&
            !action->text().endsWith("no star") && identification() == original)
            action->trigger();
    delete menu;
    const int changed = identification();
    QVERIFY(changed != original && changed != 0);
    QVERIFY(window->windowTitle().endsWith("* - Tessaran Stars"));
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(identification(), original);
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(identification(), changed);

    // Saved over a file that is there: asked first; Escape keeps the file, Replace does not.
    QVERIFY(QFile::copy("cat1.dat", "mine.dat"));
    for (const char* answer : {(const char*)nullptr, "Replace"}) {
        answerFileDialog(QDir::current().filePath("mine.dat"));
        answerQuestion(answer);
        window->runCommand(CmdSaveCatalogAs);
        QCOMPARE(identification(*readEdition("mine.dat")), answer ? changed : original);
    }

    // Closing with a change unsaved: Escape, or Save with the file dialog cancelled, keeps the
    // window; Discard closes it.
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
    for (const std::string answer : {"", "Save", "Discard"}) {
        answerQuestion(answer.empty() ? nullptr : answer.c_str());
        if (answer == "Save")
            whenOpens<QFileDialog>("file dialog", [](QFileDialog* d) { d->reject(); });
        window->close();
        if (answer != "Discard") QVERIFY2(window->isVisible(), answer.c_str());
    }
    QVERIFY2(!mainWindow() || !mainWindow()->isVisible(), "Discard did not close the window");
}

// The names holding the query, letter case aside; "" matches nothing.
std::vector<std::string> namesHolding(void*, const std::string& query) {
    std::vector<std::string> lines;
    for (const char* name : {"alp Ori", "bet Ori", "alp UMi", "Orion", "Ursa Minor"})
        if (!query.empty() && QString(name).contains(query.c_str(), Qt::CaseInsensitive))
            lines.push_back(name);
    return lines;
}

}  // namespace

class SessionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void statisticsOpensAndAppliesTheFit() {
        const ShippedDataFolder work;
        QVERIFY(work.ready());
        runViewerSession(statisticsSession);
    }
    void identificationChangedUndoneSavedAndClosed() {
        const ShippedDataFolder work;
        QVERIFY(work.ready());
        runViewerSession([](MainWindow* window) {
            identifySession(window);  // stopped early, it closes without the question:
            for (std::vector<int>& saved : theApp.identifications.saved) saved.clear();
        });
    }
    // The list follows what is typed, its first line current; Enter in the field, a double click
    // on a line or OK choose a line; Escape chooses none.
    void findListFollowsTheTextAndALineIsChosenOrNone() {
        const QStringList u = {"alp UMi", "Ursa Minor"};  // typing "u"
        // How, what is typed, the lines listed, the action and the line chosen (-1: none).
        const struct {
            const char *how, *typed; QStringList listed;
            std::function<void(FindDialog*)> act; int line;
        } ways[] = {
            {"Enter in the field", "orix\b", {"alp Ori", "bet Ori", "Orion"}, [](FindDialog* d) {
                 QTest::keyClick(d->field(), Qt::Key_Return);
             }, 0},
            {"double click", "u", u, [](FindDialog* d) {
                 const QPoint at = d->list()->visualItemRect(d->list()->item(1)).center();
                 QTest::mouseClick(d->list()->viewport(), Qt::LeftButton, {}, at);
                 QTest::mouseDClick(d->list()->viewport(), Qt::LeftButton, {}, at);
             }, 1},
            {"OK", "u", u, [](FindDialog* d) {
                 d->list()->setCurrentRow(1);
                 QTest::mouseClick(d->okButton(), Qt::LeftButton);
             }, 1},
            {"Escape", "zeta", {}, [](FindDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }, -1},
        };
        for (const auto& way : ways) {
            QStringList listed;
            whenOpens<QDialog>("Find dialog", [&](QDialog* opened) {
                auto* dialog = static_cast<FindDialog*>(opened);
                QTest::keyClicks(dialog->field(), way.typed);
                for (int row = 0; row < dialog->list()->count(); ++row)
                    listed << dialog->list()->item(row)->text();
                if (listed != way.listed) return dialog->reject();
                way.act(dialog);
            });
            int line = -1;
            const bool chosen = platformFindDialog(namesHolding, nullptr, line);
            QCOMPARE(listed, way.listed);
            QVERIFY2((chosen ? line : -1) == way.line, way.how);
        }
    }
};

QTEST_MAIN(SessionsTest)
#include "sessions_test.moc"
