// The whole viewer on the shipped data, each run in a working folder of the test's own: start-up,
// the keys and dialogs driving the real shell, the settings carried across a restart, Save
// Picture, and a print to a PDF file read back with poppler's pdftotext and pdftoppm.
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <string>
#include <vector>

#include "app/state.h"
#include "dialog_helpers.h"
#include "platform/about_box.h"
#include "platform/dialogs.h"
#include "platform/epoch_dialog.h"
#include "platform/printing.h"
#include "platform/sky_picture.h"
#include "platform/window.h"
#include "support/comma_locale.h"

namespace {

using Strings = std::vector<std::string>;
Strings messages;  // "caption: text" of each message box

// Once asked, clicks Cancel in the print job's cancel dialog when it is shown, from the job's own
// event handling, and notes whether the main window was disabled then.
struct ShowWatcher : QObject {
    bool cancelPrint = false, clicked = false, windowWasDisabled = false;
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() != QEvent::Show) return false;
        QDialog* dialog = printCancelDialog();
        if (cancelPrint && dialog && object == dialog && !clicked) {
            clicked = true;
            windowWasDisabled = !mainWindow()->isEnabled();
            QTimer::singleShot(0, dialog, [dialog] {
                QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
            });
        }
        return false;
    }
} showWatcher;

QByteArray runTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    return process.waitForFinished(30000) && process.exitCode() == 0
               ? process.readAllStandardOutput() : QByteArray();
}

// The frame's border on the page drawn at 72 dots per inch (one pixel a point), unsmoothed: the
// outermost dark pixels along the page's middle row and middle column.
QRectF pdfFrame(const QString& pdf, const QString& stem, QSizeF& page) {
    runTool("pdftoppm", {"-r", "72", "-gray", "-aa", "no", "-aaVector", "no", "-singlefile",
                         "-png", pdf, stem});
    QImage image(stem + ".png");
    page = image.size();
    const int w = image.width(), h = image.height();
    auto dark = [&image](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    int left = 0, right = w - 1, top = 0, bottom = h - 1;
    while (left < right && !dark(left, h / 2)) ++left;
    while (right > left && !dark(right, h / 2)) --right;
    while (top < bottom && !dark(w / 2, top)) ++top;
    while (bottom > top && !dark(w / 2, bottom)) --bottom;
    return QRectF(left, top, right - left + 1, bottom - top + 1);
}

QImage rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

// Types i (Save Picture) with the save dialog answered `path`, typed into its name field once it
// is active, as a person answers it.
void savePicture(MainWindow& window, const QString& path) {
    whenModalOpens<QFileDialog>("save dialog", [path](QFileDialog* dialog) {
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
        static_cast<QDialog*>(dialog)->accept();
    }, [](QFileDialog* dialog) { return dialog->isActiveWindow(); });
    QTest::keyClick(&window, Qt::Key_I);
}

}  // namespace

class ViewerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> work;
    QString previousFolder;

    QString workFile(const QString& name) const { return work->filePath(name); }
    QString readSettings() const {
        QFile file(workFile("maridon.cfg"));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }
    // The shipped data in the working folder and the settings.
    void prepare(const char* settings) {
        for (const char* name : {"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"})
            QVERIFY(QFile::copy(QString(TESSARAN_SOURCE_DIR "/data/") + name, workFile(name)));
        QFile file(workFile("maridon.cfg"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(settings);
    }
    // Runs the viewer; once its window is on screen `script` acts on it, then the window closes
    // unless the script closed it.
    void run(const std::function<void(MainWindow&)>& script) {
        QTimer::singleShot(0, [script] {
            MainWindow* window = mainWindow();
            if (window && QTest::qWaitForWindowExposed(window)) script(*window);
            else QTest::qFail("timed out waiting for the main window", __FILE__, __LINE__);
            if (mainWindow() && mainWindow()->isVisible()) platformCloseMainWindow();
        });
        QCOMPARE(runViewerBounded(), 0);
    }

private Q_SLOTS:
    void initTestCase() {
        qApp->installEventFilter(&showWatcher);
        setMessageBoxObserver([](const std::string& text, const std::string& caption) {
            messages.push_back(caption + ": " + text);
        });
    }
    void init() {
        resetAppState();
        messages.clear();
        work = std::make_unique<QTemporaryDir>();
        previousFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work->path()));
    }
    void cleanup() {
        QDir::setCurrent(previousFolder);
        work.reset();
    }

    // Placed at the settings' window rectangle, the splash over the new window leaves it the
    // keyboard; the epoch dialog's OK moves the reference stars and repaints; a picture that
    // cannot be written gets the message. Closing the window ends the program, though another
    // top-level window is open, and writes back its last place and the epoch.
    void keysAndDialogsDriveTheShell() {
        prepare("WindowRect 10 20 1210 720\n");
        ScreenRect closedAt{};
        QWidget other;
        const QString unwritable = workFile("missing/x.png");
        run([&](MainWindow& window) {
            QCOMPARE(window.frameGeometry(), QRect(10, 20, 1200, 700));
            QDialog* splash = window.findChild<QDialog*>(kAboutBoxObjectName);
            QVERIFY(splash && splash->isVisible());
            QTRY_COMPARE(QApplication::activeWindow(), &window);

            const Vector3 before = theApp.reference->stars[100].dir;
            const QImage shownBefore = window.grab().toImage();
            whenModalOpens<QDialog>("epoch dialog", [](QDialog* shown) {
                auto* dialog = static_cast<EpochDialog*>(shown);
                dialog->presets()->setCurrentIndex(2);
                Q_EMIT dialog->presets()->activated(2);
                dialog->okButton()->click();
            });
            QTest::keyClick(&window, 'e');
            QCOMPARE(theApp.epoch.offsetLon, kEpochPresets[1].offsetLon);
            const Vector3 after = theApp.reference->stars[100].dir;
            QVERIFY(before.x != after.x && before.y != after.y);
            QVERIFY(window.grab().toImage() != shownBefore);
            savePicture(window, unwritable);

            window.move(30, 40);
            WAIT_FOR(window.frameGeometry().topLeft() == QPoint(30, 40), "the window's move");
            closedAt = window.outerRect();
            other.show();
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        const QString saved = readSettings(), rect = QString("WindowRect %1 %2 %3 %4\n")
            .arg(closedAt.left).arg(closedAt.top).arg(closedAt.right).arg(closedAt.bottom);
        QVERIFY2(saved.startsWith(rect) && closedAt.left == 30, qPrintable(saved));
        QVERIFY2(saved.contains("Epoch 1673941.000000\n"), qPrintable(saved));  // 1 Jan 130 BC
        QCOMPARE(messages, Strings{"Tessaran Stars: The picture couldn't be saved."});
    }

    // Under a language whose decimal mark is a comma, as the application object takes it from the
    // user, the settings still read and write their numbers with a point.
    void settingsKeepTheirPointInACommaDecimalLocale() {
        prepare("Epoch 1673941.5\nPOffsets 2.5 -1.25\n");
        {
            CommaDecimalLocale locale(work->path().toStdString());
            if (!locale.built()) QSKIP("localedef could not build de_DE");
            QVERIFY(locale.active());
            run([](MainWindow&) {});
        }
        const QString saved = readSettings();
        QVERIFY2(saved.contains("Epoch 1673941.500000\nPOffsets 2.500000 -1.250000\n"),
                 qPrintable(saved));
    }

    // On a screen of 200 % (the test run with QT_SCALE_FACTOR=2) the PNG written is the snapshot
    // tool's picture of the same view at the window's device resolution, and what the window
    // shows but for the status line.
    void savePictureAtDeviceResolution() {
        if (qApp->devicePixelRatio() != 2.0) QSKIP("for a screen of 200 % (QT_SCALE_FACTOR=2)");
        prepare("");
        QSize size;
        QImage shown;
        const QString path = workFile("Ursa Minor.png");
        run([&](MainWindow& window) {
            savePicture(window, path);
            size = window.size();
            shown = rgb(window.grab().toImage());
        });
        QCOMPARE(messages, Strings{});
        const QImage saved = rgb(QImage(workFile("Ursa Minor.png")));
        QCOMPARE(saved.size(), size * 2);
        QProcess snapshot;
        snapshot.start(TESSARAN_BUILD_DIR "/tessaran-snapshot",
                       {"--reference", "catb.bin", "--edition", "cat1.dat", "--size",
                        QString("%1x%2").arg(size.width()).arg(size.height()), "--scale", "2",
                        workFile("snapshot.png")});
        QVERIFY2(snapshot.waitForFinished(30000), "the snapshot tool did not finish in 30 s");
        QCOMPARE(snapshot.exitCode(), 0);
        QVERIFY(saved == rgb(QImage(workFile("snapshot.png"))));
        QCOMPARE(shown.size(), saved.size());
        const QRect sky(0, 0, saved.width(), saved.height() * 3 / 4);
        QVERIFY(shown.copy(sky) == saved.copy(sky));
    }

    // A picture that cannot be written, as where a folder stands in its place, leaves nothing
    // behind (it is written beside the place first).
    void aPictureThatCannotBeWrittenLeavesNothing() {
        QVERIFY(QDir(work->path()).mkdir("taken.png"));
        const QStringList before = QDir(work->path()).entryList(QDir::AllEntries | QDir::Hidden);
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QVERIFY(!writePictureFile(picture, workFile("taken.png")));
        QCOMPARE(QDir(work->path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        QVERIFY(writePictureFile(picture, workFile("written.png")));
        QCOMPARE(rgb(QImage(workFile("written.png"))), picture);
    }

    // With no printer installed the dialog prints to a PDF file. The page shows the frame centred
    // with the window's aspect, the status line naming the constellation and the edition, and the
    // numbers of the stars inside it; a file that cannot be written ends with the printing message,
    // and Cancel in the dialog shown while the job runs leaves no file.
    void printsTheViewToAPdf() {
        QVERIFY2(!QStandardPaths::findExecutable("pdftoppm").isEmpty(), "poppler-utils needed");
        prepare("WindowRect 0 0 1000 500\n");
        const QString pdf = workFile("view.pdf"), cancelled = workFile("cancelled.pdf");
        QStringList named, numbers;  // in the status line; of the stars well inside the window
        double aspect = 0;
        run([&](MainWindow& window) {
            aspect = double(window.width()) / window.height();
            named = {QString::fromStdString(currentConstellation()->name),
                     QString::fromStdString(currentEditionName(theApp.catalogs))};
            const QRectF well(0.1 * window.width(), 0.1 * window.height(), 0.7 * window.width(),
                              0.7 * window.height());
            for (const AncientStar& star : currentConstellation()->stars)
                if (star.visible && well.contains(star.screenX, star.screenY))
                    numbers << QString::number(star.numberInConstellation);
            for (const QString& file : {pdf, workFile("missing/view.pdf"), cancelled}) {
                showWatcher.cancelPrint = file == cancelled;
                whenModalOpens<QPrintDialog>("print dialog", [file](QPrintDialog* dialog) {
                    dialog->findChild<QLineEdit*>("filename")->setText(file);
                    dialog->accept();
                });
                QTest::keyClick(&window, 'p');
                QVERIFY(window.isEnabled() && !printCancelDialog());
            }
        });
        QVERIFY(showWatcher.clicked && showWatcher.windowWasDisabled && !QFile::exists(cancelled));
        QCOMPARE(messages, Strings{"Printing Problem: An error occurred during printing."});
        QVERIFY(numbers.size() >= 3);

        QSizeF page;
        const QRectF frame = pdfFrame(pdf, workFile("view"), page);
        const QPointF offCentre = frame.center() - QPointF(page.width() / 2, page.height() / 2);
        QVERIFY(frame.width() > page.width() / 2 && offCentre.manhattanLength() <= 2);
        QVERIFY2(qAbs(frame.width() / frame.height() - aspect) < 0.01,
                 qPrintable(QString::number(frame.width() / frame.height())));

        // The words with their boxes, in points from the page's top-left corner.
        const QString html = QString::fromUtf8(runTool("pdftotext", {"-bbox", pdf, "-"}));
        QRegularExpression word("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                                "yMax=\"([\\d.]+)\">([^<]*)</word>");
        QString text;
        for (auto it = word.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            auto at = [&m](int i) { return m.captured(i).toDouble(); };
            text += m.captured(5) + ' ';
            if (frame.contains(QRectF(QPointF(at(1), at(2)), QPointF(at(3), at(4)))))
                numbers.removeAll(m.captured(5));
        }
        for (const QString& name : named)
            QVERIFY2(text.simplified().contains(name), qPrintable(name + "\nnot in\n" + text));
        QVERIFY2(numbers.isEmpty(), qPrintable("stars not in the frame: " + numbers.join(' ')));
    }
};

QTEST_MAIN(ViewerTest)
#include "viewer_test.moc"
