// The whole viewer on the shipped data, each run in a working folder of the test's own: start-up,
// the keys and dialogs driving the real shell, the settings carried across a restart, Save
// Picture, and a print to a PDF file read back with poppler's pdftotext and pdftoppm.
#include <QComboBox>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <vector>

#include "app/state.h"
#include "dialog_helpers.h"
#include "platform/dialogs.h"
#include "platform/epoch_dialog.h"
#include "platform/printing.h"
#include "platform/sky_picture.h"
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

QString readSettings() {
    QFile file("maridon.cfg");
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

}  // namespace

class ViewerTest : public QObject {
    Q_OBJECT

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
    }

    // Placed at the settings' window rectangle, the window keeps the keyboard under the splash;
    // the epoch dialog's OK moves the reference stars and repaints; a picture that cannot be
    // written gets the message. Closing the window ends the program, though another top-level
    // window is open, and writes back its last place and the epoch.
    void keysAndDialogsDriveTheShell() {
        const ShippedDataFolder work("WindowRect 10 20 1210 720\n");
        QVERIFY(work.ready());
        ScreenRect closedAt{};
        QWidget other;
        runViewerSession([&](MainWindow* window) {
            QCOMPARE(window->frameGeometry(), QRect(10, 20, 1200, 700));
            QTRY_COMPARE(QApplication::activeWindow(), window);

            const Vector3 before = theApp.reference->stars[100].dir;
            const QImage shownBefore = window->grab().toImage();
            whenOpens<QDialog>("epoch dialog", [](QDialog* shown) {
                auto* dialog = static_cast<EpochDialog*>(shown);
                dialog->presets()->setCurrentIndex(2);
                Q_EMIT dialog->presets()->activated(2);
                dialog->okButton()->click();
            });
            QTest::keyClick(window, 'e');
            QCOMPARE(theApp.epoch.offsetLon, kEpochPresets[1].offsetLon);
            const Vector3 after = theApp.reference->stars[100].dir;
            QVERIFY(before.x != after.x && before.y != after.y);
            QVERIFY(window->grab().toImage() != shownBefore);
            answerFileDialog(work.path("missing/x.png"));
            QTest::keyClick(window, Qt::Key_I);

            window->move(30, 40);
            WAIT_FOR(window->frameGeometry().topLeft() == QPoint(30, 40), "the window's move");
            closedAt = window->outerRect();
            other.show();
            QTest::keyClick(window, Qt::Key_Escape);
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
        const ShippedDataFolder work("Epoch 1673941.5\nPOffsets 2.5 -1.25\n");
        QVERIFY(work.ready());
        {
            CommaDecimalLocale locale(QDir::currentPath().toStdString());
            if (!locale.built()) QSKIP("localedef could not build de_DE");
            QVERIFY(locale.active());
            runViewerSession([](MainWindow*) {});
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
        const ShippedDataFolder work;
        QVERIFY(work.ready());
        QSize size;
        QImage shown;
        runViewerSession([&](MainWindow* window) {
            answerFileDialog(work.path("Ursa Minor.png"));
            QTest::keyClick(window, Qt::Key_I);
            size = window->size();
            shown = rgb(window->grab().toImage());
        });
        QCOMPARE(messages, Strings{});
        const QImage saved = rgb(QImage(work.path("Ursa Minor.png")));
        QCOMPARE(saved.size(), size * 2);
        QProcess snapshot;
        snapshot.start(TESSARAN_BUILD_DIR "/tessaran-snapshot",
                       {"--reference", "catb.bin", "--edition", "cat1.dat", "--size",
                        QString("%1x%2").arg(size.width()).arg(size.height()), "--scale", "2",
                        work.path("snapshot.png")});
        QVERIFY2(snapshot.waitForFinished(30000), "the snapshot tool did not finish in 30 s");
        QCOMPARE(snapshot.exitCode(), 0);
        QVERIFY(saved == rgb(QImage(work.path("snapshot.png"))));
        QCOMPARE(shown.size(), saved.size());
        const QRect sky(0, 0, saved.width(), saved.height() * 3 / 4);
        QVERIFY(shown.copy(sky) == saved.copy(sky));
    }

    // A picture that cannot be written, as where a folder stands in its place, leaves nothing
    // behind (it is written beside the place first).
    void aPictureThatCannotBeWrittenLeavesNothing() {
        QTemporaryDir work;
        const QDir folder(work.path());
        QVERIFY(folder.mkdir("taken.png"));
        const QStringList before = folder.entryList(QDir::AllEntries | QDir::Hidden);
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QVERIFY(!writePictureFile(picture, work.filePath("taken.png")));
        QCOMPARE(folder.entryList(QDir::AllEntries | QDir::Hidden), before);
        QVERIFY(writePictureFile(picture, work.filePath("written.png")));
        QCOMPARE(rgb(QImage(work.filePath("written.png"))), picture);
    }

    // With no printer installed the dialog prints to a PDF file. The page shows the frame centred
    // with the window's aspect, the status line naming the constellation and the edition, and the
    // numbers of the stars inside it; a file that cannot be written ends with the printing message,
    // and Cancel in the dialog shown while the job runs leaves no file.
    void printsTheViewToAPdf() {
        QVERIFY2(!QStandardPaths::findExecutable("pdftoppm").isEmpty(), "poppler-utils needed");
        const ShippedDataFolder work("WindowRect 0 0 1000 500\n");
        QVERIFY(work.ready());
        const QString pdf = work.path("view.pdf"), cancelled = work.path("cancelled.pdf");
        QStringList named, numbers;  // in the status line; of the stars well inside the window
        double aspect = 0;
        runViewerSession([&](MainWindow* window) {
            aspect = double(window->width()) / window->height();
            named = {QString::fromStdString(currentConstellation()->name),
                     QString::fromStdString(currentEditionName(theApp.catalogs))};
            const QRectF well(0.1 * window->width(), 0.1 * window->height(), 0.7 * window->width(),
                              0.7 * window->height());
            for (const AncientStar& star : currentConstellation()->stars)
                if (star.visible && well.contains(star.screenX, star.screenY))
                    numbers << QString::number(star.numberInConstellation);
            for (const QString& file : {pdf, work.path("missing/view.pdf"), cancelled}) {
                showWatcher.cancelPrint = file == cancelled;
                whenOpens<QPrintDialog>("print dialog", [file](QPrintDialog* dialog) {
                    dialog->findChild<QLineEdit*>("filename")->setText(file);
                    dialog->accept();
                });
                QTest::keyClick(window, 'p');
                QVERIFY(window->isEnabled() && !printCancelDialog());
            }
        });
        QVERIFY(showWatcher.clicked && showWatcher.windowWasDisabled && !QFile::exists(cancelled));
        QCOMPARE(messages, Strings{"Printing Problem: An error occurred during printing."});
        QVERIFY(numbers.size() >= 3);

        QSizeF page;
        const QRectF frame = pdfFrame(pdf, work.path("view"), page);
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
