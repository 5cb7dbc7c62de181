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
#include "app/status_text.h"
#include "dialog_helpers.h"
#include "platform/about_box.h"
#include "platform/dialogs.h"
#include "platform/drawing.h"
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

std::string statusText() {
    return formatStatusText(theApp.view, currentConstellation()->name.c_str(), theApp.shift.lon,
                            theApp.shift.lat, currentEditionName(theApp.catalogs).c_str(),
                            theApp.arrowMode);
}

// The window shows exactly `text` as the status line: at x = 10, one and a half text heights
// above the bottom, pale yellow on an opaque black cell.
bool showsStatusLine(MainWindow& window, const std::string& text) {
    QString shown = textFromCodePage(text.c_str());
    int y = window.height() - 3 * measureLabelText(shown).height() / 2;
    QImage expected(window.size(), kSurfaceFormat);
    QRect cell = drawLabelText(expected, 10, y, shown, kStatusTextColor, true);
    return expected.copy(cell) == window.grab().toImage().convertToFormat(kSurfaceFormat).copy(cell);
}

void press(MainWindow& window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(&window, key, modifiers);
}

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
        words.push_back({m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                               QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return words;
}

// The frame's border on the page drawn at 72 dots per inch (one pixel a point), unsmoothed: the
// outermost rows and columns holding a dark run of a quarter of the page's width or more.
QRectF pdfFrame(const QString& pdf, const QString& stem, QSizeF& page) {
    runTool("pdftoppm", {"-r", "72", "-gray", "-aa", "no", "-aaVector", "no", "-singlefile",
                         "-png", pdf, stem});
    QImage image = QImage(stem + ".png").convertToFormat(QImage::Format_Grayscale8);
    page = image.size();
    auto longestRun = [&image](int at, bool across) {
        int run = 0, longest = 0;
        for (int i = 0; i < (across ? image.width() : image.height()); ++i) {
            run = qGray(across ? image.pixel(i, at) : image.pixel(at, i)) < 128 ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        return longest;
    };
    QRect border;
    for (int y = 0; y < image.height(); ++y)
        if (longestRun(y, true) >= image.width() / 4) border |= QRect(border.x(), y, 1, 1);
    int top = border.top(), bottom = border.bottom();
    border = QRect();
    for (int x = 0; x < image.width(); ++x)
        if (longestRun(x, false) >= image.width() / 4) border |= QRect(x, top, 1, 1);
    return QRectF(border.left(), top, border.width(), bottom - top + 1);
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
            if (mainWindow() && mainWindow()->isVisible()) platformCloseMainWindow();
        });
        QCOMPARE(runViewer(), 0);
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
        QCOMPARE(runViewer(), 0);
        QVERIFY(!sawAWindow);
        QCOMPARE(messages,
                 std::vector<std::string>{"Tessaran Stars: The catalog files couldn't be loaded."});
        QCOMPARE(readSettings(), QString("Epoch 1673941\n"));
    }

    // The splash over the new window leaves it the keyboard; Page Up from Ursa Minor wraps to
    // Piscis Austrinus, F1 to F3 switch the edition under the same view, and the epoch dialog's
    // OK moves the reference stars and repaints.
    void keysAndDialogsDriveTheShell() {
        prepare("WindowRect 0 0 1200 700\n");
        run([](MainWindow& window) {
            QList<QWidget*> splash;
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (widget->objectName() == kAboutBoxObjectName && widget->isVisible()) splash << widget;
            QCOMPARE(splash.size(), 1);
            QCOMPARE(splash[0]->parentWidget(), &window);
            QTRY_COMPARE(QApplication::activeWindow(), &window);

            QCOMPARE(currentConstellation()->name, std::string("Ursa Minor"));
            QVERIFY(showsStatusLine(window, statusText()));
            press(window, Qt::Key_PageUp);
            QVERIFY2(statusText().rfind("Piscis Austrinus  +View (293, -20, 0, 8.0)  FOV (", 0) == 0,
                     statusText().c_str());
            QVERIFY(showsStatusLine(window, statusText()));

            const double lon = theApp.view.centerLon;
            for (int slot : {1, 2, 0}) {
                press(window, Qt::Key(Qt::Key_F1 + slot));
                QCOMPARE(theApp.catalogs.current, slot);
                const std::string& name = theApp.catalogs.slots[slot]->name;
                std::string status = statusText();
                QVERIFY(status.size() > name.size() &&
                        status.compare(status.size() - name.size(), name.size(), name) == 0);
                QVERIFY(showsStatusLine(window, status));
            }
            QCOMPARE(theApp.view.centerLon, lon);

            const Vector3 before = theApp.reference->stars[100].dir;
            const QImage shownBefore = window.grab().toImage();
            whenModalOpens<QDialog>([](QDialog* shown) {
                auto* dialog = static_cast<EpochDialog*>(shown);
                dialog->presets()->setCurrentIndex(2);
                Q_EMIT dialog->presets()->activated(2);
                dialog->okButton()->click();
            });
            QTest::keyClick(&window, 'e');
            QCOMPARE(theApp.epoch.epoch, kEpochPresets[1].epoch);
            QCOMPARE(theApp.epoch.offsetLon, kEpochPresets[1].offsetLon);
            const Vector3 after = theApp.reference->stars[100].dir;
            QVERIFY(before.x != after.x && before.y != after.y);
            QVERIFY(window.grab().toImage() != shownBefore);
        });
    }

    // What one run leaves in the settings file, the next run starts from: the window's place,
    // a constellation's changed view and the epoch.
    void settingsSurviveARestart() {
        prepare("WindowRect 10 20 810 620\nEpoch 1673941\n");
        ScreenRect closedAt{};
        run([&closedAt](MainWindow& window) {
            QCOMPARE(window.frameGeometry(), QRect(10, 20, 800, 600));
            press(window, Qt::Key_PageDown);  // Ursa Major at 116, 38
            press(window, Qt::Key_Left, Qt::ShiftModifier);  // 10 degrees east
            press(window, Qt::Key_Up);  // 1 degree north
            press(window, Qt::Key_Period);  // zoom in
            window.move(30, 40);
            QTest::qWait(20);
            closedAt = window.outerRect();
            press(window, Qt::Key_Escape);
        });
        QString saved = readSettings();
        QVERIFY2(saved.startsWith(QString("WindowRect %1 %2 %3 %4\n").arg(closedAt.left)
                     .arg(closedAt.top).arg(closedAt.right).arg(closedAt.bottom)), qPrintable(saved));
        QVERIFY(saved.contains("Epoch 1673941.000000\n"));
        QVERIFY2(saved.contains("\n   126.0  39.0   0.0   6.0   1.1   0.4\n"), qPrintable(saved));

        resetAppState();
        run([closedAt](MainWindow& window) {
            QCOMPARE(window.outerRect().left, closedAt.left);
            QCOMPARE(window.outerRect().bottom, closedAt.bottom);
            QCOMPARE(theApp.epoch.epoch, 1673941.0);
            press(window, Qt::Key_PageDown);
            QVERIFY2(statusText().rfind("Ursa Major  +View (126, 39, 0, 6.0)", 0) == 0,
                     statusText().c_str());
        });
    }

    // With no printer installed the dialog prints to a PDF file. The page shows the frame centred
    // with the window's aspect, the status line in from its bottom-left corner and the numbers of
    // the stars inside it; a file that cannot be written ends with the printing message.
    void printsTheViewToAPdf() {
        QVERIFY2(!QStandardPaths::findExecutable("pdftoppm").isEmpty(), "poppler-utils needed");
        prepare("WindowRect 0 0 1000 500\n");
        const QString pdf = workFile("view.pdf");
        QString status;
        QStringList numbers;  // of the stars well inside the window
        double aspect = 0;
        run([&](MainWindow& window) {
            aspect = double(window.width()) / window.height();
            status = QString::fromLatin1(statusText().c_str()).replace('+', ' ').simplified();
            for (const AncientStar& star : currentConstellation()->stars)
                if (star.visible && star.screenX > 0.1 * window.width() &&
                    star.screenX < 0.8 * window.width() && star.screenY > 0.1 * window.height() &&
                    star.screenY < 0.8 * window.height())
                    numbers << QString::number(star.numberInConstellation);
            for (const QString& file : {pdf, workFile("missing/view.pdf")}) {
                whenModalOpens<QPrintDialog>([file](QPrintDialog* dialog) {
                    dialog->findChild<QLineEdit*>("filename")->setText(file);
                    dialog->accept();
                });
                QTest::keyClick(&window, 'p');
                QVERIFY(window.isEnabled() && !printCancelDialog());
            }
        });
        QCOMPARE(messages,
                 std::vector<std::string>{"Printing Problem: An error occurred during printing."});
        QVERIFY(numbers.size() >= 3);

        QSizeF page;
        const QRectF frame = pdfFrame(pdf, workFile("view"), page);
        QVERIFY(frame.width() > page.width() / 2);
        QVERIFY(qAbs(frame.center().x() - page.width() / 2) <= 1.5);
        QVERIFY(qAbs(frame.center().y() - page.height() / 2) <= 1.5);
        QVERIFY2(qAbs(frame.width() / frame.height() - aspect) < 0.01,
                 qPrintable(QString::number(frame.width() / frame.height())));

        std::vector<PdfWord> words = pdfWords(pdf);
        QString text;
        for (const PdfWord& word : words) text += word.text + ' ';
        // The field of view is reckoned from the frame's size in the print: the rest as on screen.
        for (const QString& part : {status.section(" FOV", 0, 0), status.section(") ", 2)})
            QVERIFY2(text.simplified().contains(part), qPrintable(part + "\nnot in\n" + text));
        int statusWords = 0;
        for (const PdfWord& word : words) {
            if (word.text != status.section(' ', 0, 0) || statusWords++) continue;
            QVERIFY(word.box.left() > frame.left() && word.box.left() < frame.left() + 20);
            QVERIFY(word.box.bottom() < frame.bottom() && word.box.top() > frame.bottom() - 20);
        }
        QCOMPARE(statusWords, 1);
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
