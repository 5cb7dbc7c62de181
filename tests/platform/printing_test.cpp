// Printing on Qt's offscreen platform, where no printer is installed: the viewer prints its view
// through the real print dialog to a PDF file, which is read back with poppler's pdftotext (the
// words and where they stand) and pdftoppm (the page as a picture, to find the frame's border).
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <string>
#include <vector>

#include "app/printing.h"
#include "app/state.h"
#include "app/status_text.h"
#include "dialog_helpers.h"
#include "platform/dialogs.h"
#include "platform/drawing.h"
#include "platform/printing.h"
#include "platform/viewer.h"
#include "platform/window.h"

namespace {

std::vector<std::pair<std::string, std::string>> messages;
void recordMessage(const std::string& text, const std::string& caption) {
    messages.emplace_back(text, caption);
}

// Runs the viewer; once its window is on screen `script` acts on it, then the window closes.
void runScripted(const std::function<void(MainWindow&)>& script) {
    QTimer::singleShot(0, [script] {
        MainWindow* window = mainWindow();
        if (window && QTest::qWaitForWindowExposed(window)) script(*window);
        if (mainWindow() && mainWindow()->isVisible()) platformCloseMainWindow();
    });
    QCOMPARE(runViewer(), 0);
}

// What the print dialog looked like when it opened.
struct DialogSeen {
    bool opened = false;
    QStringList printers;
    QString printer, fileName;
    bool selection = true, pageRanges = true, toFile = false;
};

// Answers the next print dialog as a person would: printing to `file`, `copies` of them.
void answerPrintDialog(DialogSeen& seen, const QString& file, int copies = 1, bool accept = true) {
    whenModalOpens<QPrintDialog>([&seen, file, copies, accept](QPrintDialog* dialog) {
        seen.opened = true;
        seen.selection = dialog->testOption(QAbstractPrintDialog::PrintSelection);
        seen.pageRanges = dialog->testOption(QAbstractPrintDialog::PrintPageRange);
        seen.toFile = dialog->testOption(QAbstractPrintDialog::PrintToFile);
        if (auto* printers = dialog->findChild<QComboBox*>("printers")) {
            for (int i = 0; i < printers->count(); ++i) seen.printers << printers->itemText(i);
            seen.printer = printers->currentText();
        }
        auto* name = dialog->findChild<QLineEdit*>("filename");
        if (name) {
            seen.fileName = name->text();
            name->setText(file);
        }
        if (auto* count = dialog->findChild<QSpinBox*>("copies")) count->setValue(copies);
        if (accept) dialog->accept();
        else dialog->reject();
    });
}

// Runs a poppler tool; its standard output, empty when it could not run.
QByteArray runTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
    return process.readAllStandardOutput();
}

bool toolsThere() {
    return !QStandardPaths::findExecutable("pdftotext").isEmpty() &&
           !QStandardPaths::findExecutable("pdftoppm").isEmpty();
}

// One word of a page as pdftotext places it, in points from the page's top-left corner.
struct PdfWord {
    QString text;
    QRectF box;
    int page;
};

std::vector<PdfWord> pdfWords(const QString& pdf) {
    QString html = QString::fromUtf8(runTool("pdftotext", {"-bbox", pdf, "-"}));
    std::vector<PdfWord> words;
    int page = 0;
    QRegularExpression pattern(
        "<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">"
        "([^<]*)</word>");
    for (auto it = pattern.globalMatch(html); it.hasNext();) {
        QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith("<page")) {
            ++page;
            continue;
        }
        QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        words.push_back({m.captured(5), QRectF(topLeft, bottomRight), page});
    }
    return words;
}

// The page drawn by pdftoppm at `dpi`, without smoothing, so that hairlines stay dark pixels.
QImage pdfPage(const QString& pdf, int dpi, const QString& stem) {
    runTool("pdftoppm", {"-r", QString::number(dpi), "-gray", "-aa", "no", "-aaVector", "no",
                         "-singlefile", "-png", pdf, stem});
    return QImage(stem + ".png").convertToFormat(QImage::Format_Grayscale8);
}

// The outermost rows and columns of the picture where one dark run spans at least `minimum`
// pixels: the frame's border, around everything else drawn.
QRect darkFrame(const QImage& image, int minimum) {
    auto dark = [&image](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    // The longest run of dark pixels along a row (across) or a column.
    auto longestRun = [&](int at, bool across) {
        int run = 0, longest = 0;
        for (int i = 0; i < (across ? image.width() : image.height()); ++i) {
            run = (across ? dark(i, at) : dark(at, i)) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        return longest;
    };
    int top = -1, bottom = -1, left = -1, right = -1;
    for (int y = 0; y < image.height(); ++y) {
        if (longestRun(y, true) < minimum) continue;
        if (top < 0) top = y;
        bottom = y;
    }
    for (int x = 0; x < image.width(); ++x) {
        if (longestRun(x, false) < minimum) continue;
        if (left < 0) left = x;
        right = x;
    }
    return top < 0 || left < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// What the page should show, worked out while the viewer still runs: the frame in points from
// the page's top-left corner, the status line and the numbers of the stars well inside it.
struct ExpectedPage {
    QRectF frame;
    QSizeF page;
    QString status;
    QStringList numbers;
    double windowAspect = 0;
};

ExpectedPage expectedPage() {
    ExpectedPage expected;
    QPrinter& printer = runPrinter();
    const int dpi = printer.resolution();
    const QRect printable = printer.pageLayout().paintRectPixels(dpi);
    PrinterPage page = {printable.width(), printable.height(), printer.logicalDpiX(),
                        printer.logicalDpiY(), 1};
    PageFrame frame;
    if (!computePageFrame(theApp.view.width, theApp.view.height, page, frame)) return expected;
    const double points = 72.0 / dpi;
    expected.frame = QRectF((printable.left() + frame.left) * points,
                            (printable.top() + frame.top) * points, frame.width * points,
                            frame.height * points);
    expected.page = printer.pageLayout().fullRectPoints().size();
    expected.windowAspect = double(theApp.view.width) / theApp.view.height;
    SkyView view = theApp.view;
    view.width = frame.width;
    view.height = frame.height;
    RenderRequest request = makeRenderRequest();
    expected.status = QString::fromLatin1(
        formatStatusText(view, request.constellation->name.c_str(), request.lonOffset,
                         request.latOffset, request.editionCaption, -1)
            .c_str());
    for (const AncientStar& star : request.constellation->stars) {
        float x, y;
        if (projectStar(view, star.dir, x, y) && x > 0.1 * frame.width && x < 0.8 * frame.width &&
            y > 0.1 * frame.height && y < 0.8 * frame.height)
            expected.numbers << QString::number(star.numberInConstellation);
    }
    return expected;
}

QString collapsed(QString text) { return text.simplified(); }

// The main window's enabled state and the cancel dialog as the dialog showed, and a way to
// answer it at once: `act` runs from the first events handled after it appeared.
struct CancelWatcher : QObject {
    bool shown = false, windowEnabled = true, dialogEnabled = false;
    QString caption, text;
    std::function<void(QDialog*)> act;
    CancelWatcher() { qApp->installEventFilter(this); }
    ~CancelWatcher() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        QDialog* dialog = printCancelDialog();
        if (event->type() == QEvent::Show && dialog && object == dialog && !shown) {
            shown = true;
            windowEnabled = mainWindow()->isEnabled();
            dialogEnabled = dialog->isEnabled();
            caption = dialog->windowTitle();
            if (auto* label = dialog->findChild<QLabel*>()) text = label->text();
            if (act) QTimer::singleShot(0, dialog, [this, dialog] { act(dialog); });
        }
        return false;
    }
};

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> work;
    QString previousFolder;

    QString workFile(const char* name) const { return work->filePath(name); }

    void putShippedFiles() {
        for (const char* name : {"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"})
            QVERIFY(QFile::copy(QString(TESSARAN_SOURCE_DIR "/data/") + name, workFile(name)));
        QFile settings(workFile("maridon.cfg"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        // A window twice as wide as high.
        settings.write("WindowRect 0 0 1000 500\n");
    }

private Q_SLOTS:
    void initTestCase() {
        setMessageBoxObserver(recordMessage);
        QVERIFY2(toolsThere(), "pdftotext and pdftoppm (Debian's poppler-utils) are needed");
    }
    void cleanupTestCase() { setMessageBoxObserver(nullptr); }

    void init() {
        resetAppState();
        messages.clear();
        work = std::make_unique<QTemporaryDir>();
        previousFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work->path()));
        putShippedFiles();
    }
    void cleanup() {
        QDir::setCurrent(previousFolder);
        work.reset();
    }

    // With no printer installed the dialog offers a PDF file; the page shows the frame centred
    // with the window's aspect, the status line at its foot and the star numbers inside it.
    void printsTheViewToAPdfFile() {
        const QString pdf = workFile("view.pdf");
        DialogSeen seen;
        ExpectedPage expected;
        CancelWatcher watcher;
        runScripted([&](MainWindow& window) {
            answerPrintDialog(seen, pdf);
            QTest::keyClick(&window, 'p');
            expected = expectedPage();
            QVERIFY(window.isEnabled());
        });
        QVERIFY(seen.opened);
        QCOMPARE(seen.printers, QStringList{"Print to File (PDF)"});
        QVERIFY(!seen.selection);
        QVERIFY(!seen.pageRanges);
        QVERIFY(seen.toFile);
        // Printing to a file starts with a file named after the program.
        QCOMPARE(QFileInfo(seen.fileName).fileName(), QString("Tessaran Stars.pdf"));
        QVERIFY(watcher.shown);
        QVERIFY(!watcher.windowEnabled);
        QVERIFY(watcher.dialogEnabled);
        QCOMPARE(watcher.caption, QString("Tessaran Stars"));
        QCOMPARE(watcher.text, QString("Printing..."));
        QVERIFY(messages.empty());
        QVERIFY(QFile::exists(pdf));
        QVERIFY(!expected.frame.isEmpty());
        QVERIFY(expected.numbers.size() >= 3);

        // The status line, one text height above the frame's bottom and in from its left.
        std::vector<PdfWord> words = pdfWords(pdf);
        QString all;
        QRectF statusBox;
        for (const PdfWord& word : words) all += word.text + ' ';
        QVERIFY2(collapsed(all).contains(collapsed(expected.status)),
                 qPrintable(expected.status + "\nnot in\n" + all));
        const QString firstStatusWord = expected.status.section(' ', 0, 0);
        for (const PdfWord& word : words)
            if (word.text == firstStatusWord && statusBox.isNull()) statusBox = word.box;
        QVERIFY(!statusBox.isNull());
        const double textHeight = statusBox.height();
        QVERIFY(statusBox.left() > expected.frame.left() + 0.5 * textHeight);
        QVERIFY(statusBox.left() < expected.frame.left() + 2 * textHeight);
        QVERIFY(statusBox.bottom() < expected.frame.bottom());
        QVERIFY(statusBox.top() > expected.frame.bottom() - 2 * textHeight);
        // The print font: 0.08 inch, about 5.8 points.
        QVERIFY2(textHeight > 4 && textHeight < 9, qPrintable(QString::number(textHeight)));

        // The numbers of the stars well inside the frame are there, inside it.
        for (const QString& number : expected.numbers) {
            bool found = false;
            for (const PdfWord& word : words)
                found = found || (word.text == number && expected.frame.contains(word.box));
            QVERIFY2(found, qPrintable("number " + number));
        }

        // The frame's border on the page's picture: centred, with the window's aspect.
        const int dpi = 100;
        QImage image = pdfPage(pdf, dpi, workFile("view"));
        QVERIFY(!image.isNull());
        QRect border = darkFrame(image, image.width() / 4);
        QVERIFY(border.isValid());
        const double scale = dpi / 72.0;
        QVERIFY(std::abs(border.left() - expected.frame.left() * scale) <= 2);
        QVERIFY(std::abs(border.top() - expected.frame.top() * scale) <= 2);
        QVERIFY(std::abs(border.right() - expected.frame.right() * scale) <= 2);
        QVERIFY(std::abs(border.bottom() - expected.frame.bottom() * scale) <= 2);
        QVERIFY(std::abs(border.center().x() - image.width() / 2.0) <= 2);
        QVERIFY(std::abs(border.center().y() - image.height() / 2.0) <= 2);
        QVERIFY(std::abs(double(border.width()) / border.height() - expected.windowAspect) < 0.01);
        QVERIFY(border.left() >= dpi / 2 && border.top() >= dpi / 2);
    }

    // Two copies are two pages; the dialog offers the same file again next time, and a print
    // to a file that cannot be written ends with the printing message.
    void copiesSetupKeptAndAFailedFile() {
        const QString pdf = workFile("copies.pdf");
        DialogSeen first, second, third;
        runScripted([&](MainWindow& window) {
            answerPrintDialog(first, pdf, 2);
            QTest::keyClick(&window, 'p');
            QVERIFY(messages.empty());
            answerPrintDialog(second, pdf, 1, false);
            QTest::keyClick(&window, 'p');
            answerPrintDialog(third, workFile("missing/folder/view.pdf"));
            QTest::keyClick(&window, 'p');
            QVERIFY(window.isEnabled());
            QVERIFY(!printCancelDialog());
        });
        QVERIFY(first.opened && second.opened && third.opened);
        QCOMPARE(second.fileName, pdf);
        std::vector<PdfWord> words = pdfWords(pdf);
        QVERIFY(!words.empty());
        QCOMPARE(words.back().page, 2);
        std::vector<QString> pages[3];
        for (const PdfWord& word : words) pages[word.page].push_back(word.text);
        QVERIFY(pages[1] == pages[2]);
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(messages[0].first, std::string("An error occurred during printing."));
        QCOMPARE(messages[0].second, std::string("Printing Problem"));
    }

    // Cancel in the cancel dialog, or Escape typed there, stops the job: no file, no message.
    void cancelLeavesNoFile() {
        for (bool byKey : {false, true}) {
            const QString pdf = workFile(byKey ? "escaped.pdf" : "cancelled.pdf");
            DialogSeen seen;
            CancelWatcher watcher;
            watcher.act = [byKey](QDialog* dialog) {
                if (byKey)
                    QTest::keyClick(dialog, Qt::Key_Escape);
                else if (auto* button = dialog->findChild<QPushButton*>())
                    QTest::mouseClick(button, Qt::LeftButton);
            };
            runScripted([&](MainWindow& window) {
                answerPrintDialog(seen, pdf);
                QTest::keyClick(&window, 'p');
                QVERIFY(window.isEnabled());
                QVERIFY(!printCancelDialog());
            });
            QVERIFY(watcher.shown);
            QVERIFY2(!QFile::exists(pdf), qPrintable(pdf));
            QVERIFY(messages.empty());
        }
    }
};

QTEST_MAIN(PrintingTest)
#include "printing_test.moc"
