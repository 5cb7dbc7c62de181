// The whole viewer on the shipped data, each run in a working folder of the test's own: start-up,
// the keys and dialogs driving the real shell, the settings carried across a restart, and a print
// to a PDF file read back with poppler's pdftotext and pdftoppm.
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <string>
#include <vector>

#include "app/state.h"
#include "support/comma_locale.h"
#include "dialog_helpers.h"
#include "platform/about_box.h"
#include "platform/dialogs.h"
#include "platform/epoch_dialog.h"
#include "platform/printing.h"
#include "platform/viewer.h"
#include "platform/window.h"

namespace {

std::vector<std::string> messages;  // "caption: text" of each message box
bool sawAWindow = false;

// Notes whether the application shows any widget at all.
struct ShowWatcher : QObject {
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && object->isWidgetType()) sawAWindow = true;
        return false;
    }
} showWatcher;

QByteArray runTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    return process.waitForFinished(30000) && process.exitCode() == 0
               ? process.readAllStandardOutput() : QByteArray();
}

struct PdfWord {
    QString text;
    QRectF box;  // points from the page's top-left corner
};

std::vector<PdfWord> pdfWords(const QString& pdf) {
    QString html = QString::fromUtf8(runTool("pdftotext", {"-bbox", pdf, "-"}));
    QRegularExpression word("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                            "yMax=\"([\\d.]+)\">([^<]*)</word>");
    std::vector<PdfWord> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        QRegularExpressionMatch m = it.next();
        auto at = [&m](int i) { return m.captured(i).toDouble(); };
        words.push_back({m.captured(5), QRectF(QPointF(at(1), at(2)), QPointF(at(3), at(4)))});
    }
    return words;
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

// Clicks Cancel in the print job's cancel dialog once it is shown, from the job's own event
// handling, and notes whether the main window was disabled then.
struct CancelClicker : QObject {
    bool clicked = false, windowWasDisabled = false;
    bool eventFilter(QObject* object, QEvent* event) override {
        QDialog* dialog = printCancelDialog();
        if (event->type() == QEvent::Show && dialog && object == dialog && !clicked) {
            clicked = true;
            windowWasDisabled = !mainWindow()->isEnabled();
            QTimer::singleShot(0, dialog, [dialog] {
                QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
            });
        }
        return false;
    }
};

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

    // The shipped data in the working folder (cat3.dat left out when asked) and the settings.
    void prepare(const char* settings, bool withCat3 = true) {
        for (const char* name : {"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"})
            if (withCat3 || QString(name) != "cat3.dat")
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

    void startUpWithoutCat3FailsBeforeAnyWindow() {
        prepare("Epoch 1673941\n", false);
        sawAWindow = false;
        QCOMPARE(runViewerBounded(), 0);
        QVERIFY(!sawAWindow);
        QCOMPARE(messages,
                 std::vector<std::string>{"Tessaran Stars: The catalog files couldn't be loaded."});
        QCOMPARE(readSettings(), QString("Epoch 1673941\n"));
    }

    // Placed at the settings' window rectangle, the splash over the new window leaves it the
    // keyboard; the epoch dialog's OK moves the reference stars and repaints. Closing the window
    // ends the program, though another top-level window is open, and writes back its last place
    // and the epoch.
    void keysAndDialogsDriveTheShell() {
        prepare("WindowRect 10 20 1210 720\n");
        ScreenRect closedAt{};
        QWidget other;
        run([&closedAt, &other](MainWindow& window) {
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

    // With no printer installed the dialog prints to a PDF file. The page shows the frame centred
    // with the window's aspect, the status line naming the constellation and the edition, and the
    // numbers of the stars inside it; a file that cannot be written ends with the printing message,
    // and Cancel in the dialog shown while the job runs leaves no file.
    void printsTheViewToAPdf() {
        QVERIFY2(!QStandardPaths::findExecutable("pdftoppm").isEmpty(), "poppler-utils needed");
        prepare("WindowRect 0 0 1000 500\n");
        const QString pdf = workFile("view.pdf"), cancelled = workFile("cancelled.pdf");
        CancelClicker canceller;
        QStringList named;    // in the status line
        QStringList numbers;  // of the stars well inside the window
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
                if (file == cancelled) qApp->installEventFilter(&canceller);
                whenModalOpens<QPrintDialog>("print dialog", [file](QPrintDialog* dialog) {
                    dialog->findChild<QLineEdit*>("filename")->setText(file);
                    dialog->accept();
                });
                QTest::keyClick(&window, 'p');
                QVERIFY(window.isEnabled() && !printCancelDialog());
            }
        });
        qApp->removeEventFilter(&canceller);
        QVERIFY(canceller.clicked && canceller.windowWasDisabled && !QFile::exists(cancelled));
        QCOMPARE(messages,
                 std::vector<std::string>{"Printing Problem: An error occurred during printing."});
        QVERIFY(numbers.size() >= 3);

        QSizeF page;
        const QRectF frame = pdfFrame(pdf, workFile("view"), page);
        const QPointF offCentre = frame.center() - QPointF(page.width() / 2, page.height() / 2);
        QVERIFY(frame.width() > page.width() / 2 && offCentre.manhattanLength() <= 2);
        QVERIFY2(qAbs(frame.width() / frame.height() - aspect) < 0.01,
                 qPrintable(QString::number(frame.width() / frame.height())));

        std::vector<PdfWord> words = pdfWords(pdf);
        QString text;
        for (const PdfWord& word : words) text += word.text + ' ';
        for (const QString& name : named)
            QVERIFY2(text.simplified().contains(name), qPrintable(name + "\nnot in\n" + text));
        for (const QString& number : numbers) {
            bool inside = false;
            for (const PdfWord& word : words)
                inside = inside || (word.text == number && frame.contains(word.box));
            QVERIFY2(inside, qPrintable("star " + number));
        }
    }
};

QTEST_MAIN(ViewerTest)
#include "viewer_test.moc"
