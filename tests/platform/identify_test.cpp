// Changing an identification in the whole viewer on the shipped data: the nearest-stars list's
// context menu, Ctrl+Z and Ctrl+Shift+Z, the changed mark in the title, Save Catalog As with the
// question before replacing a file, and the question before closing with changes unsaved.
#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "app/state.h"
#include "catalog/edition_file.h"
#include "dialog_helpers.h"
#include "platform/nearest_stars_window.h"
#include "platform/window.h"
#include "resources/popup_menu.h"

namespace {

constexpr int kStar = 0;  // of Ursa Minor

int identification() { return theApp.catalogs.slots[0]->constellations[0].stars[kStar].identification; }

// Presses the button of the next question box that bears `label`.
void answerQuestion(const char* label) {
    whenModalOpens<QMessageBox>("question box", [label](QMessageBox* box) {
        for (QAbstractButton* button : box->buttons())
            if (button->text() == label) button->click();
    });
}

}  // namespace

class IdentifyTest : public QObject {
    Q_OBJECT

    QTemporaryDir work;

    void session(MainWindow* window) {
        const AncientStar& star = theApp.catalogs.slots[0]->constellations[0].stars[kStar];
        QVERIFY(star.visible);
        const int original = identification();
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(int(star.screenX), int(star.screenY)));
        WAIT_FOR(nearestStarsWindow() && nearestStarsWindow()->isVisible(), "the nearest stars");
        // The first reference star listed that the star is not identified with.
        QAction* other = nullptr;
        QMenu* menu = nearestStarsWindow()->contextMenu();
        for (QAction* action : menu->actions())
            if (action->text().startsWith("Identify") && !action->text().endsWith("(as now)") &&
                !action->text().endsWith("no star") && !other)
                other = action;
        QVERIFY2(other, "no other reference star is offered");
        other->trigger();
        delete menu;
        const int changed = identification();
        QVERIFY(changed != original && changed != 0);
        QVERIFY(nearestStarsWindow()->list()->toPlainText().contains(QString::number(changed)));
        QVERIFY(window->windowTitle().endsWith("* - Tessaran Stars"));

        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(identification(), original);
        QCOMPARE(window->windowTitle(), QString("Tessaran Stars"));
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(identification(), changed);

        // Saved over a file that is there: asked first.
        const QString target = work.filePath("mine.dat");
        QVERIFY(QFile::copy(work.filePath("cat1.dat"), target));
        whenModalOpens<QFileDialog>(
            "save dialog",
            [target](QFileDialog* dialog) {
                dialog->findChild<QLineEdit*>("fileNameEdit")->setText(target);
                static_cast<QDialog*>(dialog)->accept();
            },
            [](QFileDialog* dialog) { return dialog->isActiveWindow(); });
        answerQuestion("Replace");
        window->runCommand(CmdSaveCatalogAs);
        EditionPtr saved = readEdition(target.toLocal8Bit().constData());
        QVERIFY(saved);
        QCOMPARE(saved->constellations[0].stars[kStar].identification, changed);
        QCOMPARE(window->windowTitle(), QString("Tessaran Stars"));

        // Closing with a change unsaved: Cancel keeps the window, Discard closes it.
        QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
        answerQuestion("Cancel");
        window->close();
        QVERIFY(window->isVisible());
        answerQuestion("Discard");
        window->close();
    }

private Q_SLOTS:
    void changeUndoSaveAndClose() {
        const QString previousFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work.path()));
        for (const char* name : {"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"})
            QVERIFY(QFile::copy(QString(TESSARAN_SOURCE_DIR "/data/") + name, work.filePath(name)));
        QFile settings(work.filePath("maridon.cfg"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.close();
        bool closed = false;
        QTimer::singleShot(0, [&] {
            MainWindow* window = mainWindow();
            if (window && QTest::qWaitForWindowExposed(window)) session(window);
            closed = !mainWindow() || !mainWindow()->isVisible();
            if (closed) return;
            // The session stopped early: closed without the question about its changes.
            for (std::vector<int>& saved : theApp.identifications.saved) saved.clear();
            platformCloseMainWindow();
        });
        QCOMPARE(runViewerBounded(), 0);
        QVERIFY2(closed, "Discard did not close the window");
        QDir::setCurrent(previousFolder);
    }
};

QTEST_MAIN(IdentifyTest)
#include "identify_test.moc"
