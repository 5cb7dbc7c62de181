// The Qt adapter against a recording double of the shell's handlers: the window's events reach the
// right handlers, and the services draw, measure, read the keyboard and open the menu and dialogs
// as the shell expects.
#include <QAbstractButton>
#include <algorithm>
#include <QAction>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <string>
#include <vector>

#include "dialog_helpers.h"
#include "platform/dialogs.h"
#include "platform/drawing.h"
#include "platform/menu.h"
#include "platform/platform.h"
#include "platform/window.h"
#include "resources/popup_menu.h"

namespace {

// What the window told the shell, one line per handler call.
std::vector<std::string> calls;
int paintCount = 0;
FrameBuffer frame;
const char* paintText = nullptr;  // drawn by the paint handler after the frame when set

constexpr Color kRed = makeColor(255, 0, 0), kGreen = makeColor(0, 255, 0),
                kBlue = makeColor(0, 0, 255), kOdd = makeColor(12, 34, 56),
                kPaleYellow = makeColor(255, 255, 128);

// Four neighbours, one in each place of a group of four pixels.
constexpr Color laneColor(int k) { return makeColor(10 * k + 1, 20 * k + 2, 30 * k + 3); }

void record(const std::string& line) { calls.push_back(line); }

// A frame with known pixels at the corners and one inside, the rest black.
void paintPattern() {
    ++paintCount;
    record("paint");
    frameClear(frame);
    int w = frame.width, h = frame.height;
    framePutPixel(frame, 0, 0, kRed);
    framePutPixel(frame, w - 1, 0, kGreen);
    framePutPixel(frame, 0, h - 1, kBlue);
    framePutPixel(frame, w - 1, h - 1, kWhite);
    framePutPixel(frame, w / 3, h / 4, kOdd);
    for (int k = 0; k < 4; ++k) framePutPixel(frame, 4 + k, h / 2, laneColor(k));
    platformPresentFrame(frame);
    if (paintText) platformDrawText(10, 20, paintText, kPaleYellow, true);
}

std::string keyLine(const char* what, int code) {
    return std::string(what) + " " + std::to_string(code) + (platformShiftDown() ? " shift" : "") +
           (platformControlDown() ? " ctrl" : "");
}

const WindowHandlers kRecordingHandlers{
    [] { record("create"); },
    [](int w, int h) {
        frameResize(frame, w, h);
        record("size " + std::to_string(w) + "x" + std::to_string(h));
    },
    paintPattern,
    [](int key) { record(keyLine("key", key)); },
    [](int code) { record(keyLine("char", code)); },
    [](int command) { record("command " + std::to_string(command)); },
    [](int x, int y) { record("move " + std::to_string(x) + "," + std::to_string(y)); },
    [](int x, int y) { record("left " + std::to_string(x) + "," + std::to_string(y)); },
    [](int x, int y) { record("right " + std::to_string(x) + "," + std::to_string(y)); },
    [](const ScreenRect& r) {
        record("destroy " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
               std::to_string(r.right) + " " + std::to_string(r.bottom));
    },
};

std::vector<std::pair<std::string, std::string>> shownBoxes;
void recordBox(const std::string& text, const std::string& caption) {
    shownBoxes.emplace_back(text, caption);
}

Color pixelAt(const QImage& image, int x, int y) {
    QRgb p = image.pixel(x, y);
    return makeColor(qRed(p), qGreen(p), qBlue(p));
}

}  // namespace

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};

class WindowAdapterTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

    void openWindow(int width, int height) {
        calls.clear();
        paintCount = 0;
        paintText = nullptr;
        window = std::make_unique<MainWindow>(kRecordingHandlers, CloseAction::StayInLoop);
        window->resize(width, height);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

private Q_SLOTS:
    void cleanup() { window.reset(); }

    void opensTitledCrossHairWindowAndRunsCreateSizePaint() {
        openWindow(320, 240);
        QCOMPARE(window->windowTitle(), QString("Tessaran Stars"));
        QCOMPARE(window->cursor().shape(), Qt::CrossCursor);
        QVERIFY(window->hasMouseTracking());
        QVERIFY(window->findChildren<QMenuBar*>().isEmpty());
        QCOMPARE(mainWindow(), window.get());
        QVERIFY(calls.size() >= 3);
        QCOMPARE(calls[0], std::string("create"));
        QCOMPARE(calls[1], std::string("size 320x240"));
        QCOMPARE(calls[2], std::string("paint"));
        QCOMPARE(int(std::count(calls.begin(), calls.end(), "create")), 1);
    }

    void keysBecomeVirtualKeysOrCharacters() {
        openWindow(200, 100);
        calls.clear();
        QTest::keyClick(window.get(), Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(window.get(), Qt::Key_Right, Qt::ControlModifier);
        QTest::keyClick(window.get(), Qt::Key_Up);
        QTest::keyClick(window.get(), Qt::Key_Down);
        QTest::keyClick(window.get(), Qt::Key_PageUp);
        QTest::keyClick(window.get(), Qt::Key_PageDown);
        QTest::keyClick(window.get(), Qt::Key_F1);
        QTest::keyClick(window.get(), Qt::Key_F2);
        QTest::keyClick(window.get(), Qt::Key_F3);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QTest::keyClick(window.get(), 'v');
        QTest::keyClick(window.get(), 'S', Qt::ShiftModifier);
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier); // Ctrl+S
        QTest::keyClick(window.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(window.get(), Qt::Key_X, Qt::AltModifier);     // types nothing
        QTest::keyClick(window.get(), '5');
        QKeyEvent ordinal(QEvent::KeyPress, Qt::Key_masculine, Qt::NoModifier, QString(QChar(0xBA)));
        QApplication::sendEvent(window.get(), &ordinal);
        QKeyEvent wide(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(QChar(0x20AC)));
        QApplication::sendEvent(window.get(), &wide);  // the euro sign is not in the code page

        std::vector<std::string> expected{
            "key 37 shift", "key 39 ctrl", "key 38", "key 40", "key 33", "key 34", "key 112",
            "key 113", "key 114", "key 27", "char 118", "char 83 shift", "char 19 ctrl",
            "char 1 shift ctrl", "char 53", "char 186"};
        QCOMPARE(calls, expected);
    }

    void mouseReachesHandlersInClientCoordinates() {
        openWindow(200, 150);
        calls.clear();
        QTest::mouseMove(window.get(), QPoint(30, 40));
        // With a button held Qt goes on reporting moves outside the window: not passed on.
        QMouseEvent outside(QEvent::MouseMove, QPointF(-5, 40), window->mapToGlobal(QPointF(-5, 40)),
                            Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &outside);
        QTest::mouseClick(window.get(), Qt::LeftButton, Qt::NoModifier, QPoint(5, 6));
        QTest::mouseClick(window.get(), Qt::RightButton, Qt::NoModifier, QPoint(199, 149));
        auto has = [](const std::string& line) {
            return std::find(calls.begin(), calls.end(), line) != calls.end();
        };
        QVERIFY(has("move 30,40"));
        QVERIFY(has("left 5,6"));
        QVERIFY(has("right 199,149"));
        QVERIFY(!has("move -5,40"));
    }

    // Pixel (x, y) of the bottom-up blue-green-red frame lands at (x, y) of the window, odd
    // widths (padded rows) included, and a resize makes a new frame of the new size at once.
    void frameBlitAndResize() {
        openWindow(301, 201);
        auto checkCorners = [this](int w, int h) {
            QImage shown = window->grab().toImage();
            QCOMPARE(shown.size(), QSize(w, h));
            QCOMPARE(pixelAt(shown, 0, 0), kRed);
            QCOMPARE(pixelAt(shown, w - 1, 0), kGreen);
            QCOMPARE(pixelAt(shown, 0, h - 1), kBlue);
            QCOMPARE(pixelAt(shown, w - 1, h - 1), kWhite);
            QCOMPARE(pixelAt(shown, w / 3, h / 4), kOdd);
            QCOMPARE(pixelAt(shown, 1, 1), kBlack);
            for (int k = 0; k < 4; ++k) QCOMPARE(pixelAt(shown, 4 + k, h / 2), laneColor(k));
        };
        checkCorners(301, 201);

        calls.clear();
        window->resize(170, 90);
        QCOMPARE(calls.size(), size_t(2));
        QCOMPARE(calls[0], std::string("size 170x90"));
        QCOMPARE(calls[1], std::string("paint"));
        QCOMPARE(window->surface().size(), QSize(170, 90));
        checkCorners(170, 90);

        // A repaint has run the paint handler when it returns.
        int before = paintCount;
        platformRepaint();
        QCOMPARE(paintCount, before + 1);

        // A frame larger than the image is cut at the image's edges.
        QImage small(4, 3, kSurfaceFormat);
        small.fill(Qt::gray);
        FrameBuffer big;
        frameResize(big, 9, 9);
        frameClear(big);
        framePutPixel(big, 3, 2, kOdd);
        blitFrame(big, small);
        QCOMPARE(pixelAt(small, 3, 2), kOdd);
        QCOMPARE(pixelAt(small, 0, 0), kBlack);
    }

    void textInLabelFontMeasuredAndDrawn() {
        if (QFile::exists(kWineTahomaFile))
            QCOMPARE(QFontInfo(labelFont()).family(), QString("Tahoma"));
        int dpi = int(QGuiApplication::primaryScreen()->logicalDotsPerInchY());
        QCOMPARE(labelFont().pixelSize(), 9 * dpi / 72);

        int w1 = 0, h1 = 0, w2 = 0, h2 = 0, wd = 0, hd = 0;
        platformMeasureText("Lyra", w1, h1);
        platformMeasureText("Lyra Lyra", w2, h2);
        platformMeasureText("\xBA", wd, hd);
        QFontMetrics metrics(labelFont());
        QCOMPARE(w1, metrics.horizontalAdvance("Lyra"));
        QCOMPARE(h1, metrics.height());
        QVERIFY(w2 > w1);
        QCOMPARE(h2, h1);
        QCOMPARE(wd, metrics.horizontalAdvance(QString(QChar(0xBA))));  // "º", not a box

        openWindow(200, 80);
        // Opaque: the text's cell is black apart from the pale yellow glyphs.
        paintText = "12\xBA" "34'";
        platformRepaint();
        QImage shown = window->grab().toImage();
        int width = 0, height = 0;
        platformMeasureText(paintText, width, height);
        int yellowish = 0;
        for (int y = 20; y < 20 + height; ++y)
            for (int x = 10; x < 10 + width; ++x) {
                Color c = pixelAt(shown, x, y);
                QVERIFY2(colorBlue(c) <= colorRed(c), "only black and yellow in the text cell");
                if (colorRed(c) > 200) ++yellowish;
            }
        QVERIFY(yellowish > 10);

        // Transparent text drawn between paints: the surface under it shows through, and the
        // window shows the text without a paint.
        window->surface().fill(QColor(0, 0, 90));
        platformDrawText(5, 5, "Ara", kWhite, false);
        QTRY_VERIFY(window->grab().toImage().pixel(2, 2) == qRgb(0, 0, 90));
        shown = window->grab().toImage();
        int white = 0;
        platformMeasureText("Ara", width, height);
        for (int y = 5; y < 5 + height; ++y)
            for (int x = 5; x < 5 + width; ++x) {
                Color c = pixelAt(shown, x, y);
                if (c == kWhite) ++white;
                QVERIFY(colorBlue(c) >= 90);  // never the opaque black cell
            }
        QVERIFY(white > 0);
    }

    void keyboardCursorAndWorkArea() {
        openWindow(200, 100);
        QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        ScreenRect area = platformWorkArea();
        QCOMPARE(area.left, available.left());
        QCOMPARE(area.top, available.top());
        QCOMPARE(area.right, available.left() + available.width());
        QCOMPARE(area.bottom, available.top() + available.height());

        QCursor::setPos(window->mapToGlobal(QPoint(17, 23)));
        int x = -1, y = -1;
        QVERIFY(platformCursorPos(x, y));
        QCOMPARE(QPoint(x, y), QPoint(17, 23));

        // Outside a key press the keyboard's present state counts: nothing is held in a test.
        QVERIFY(!platformShiftDown());
        QVERIFY(!platformControlDown());
    }

    void popupMenuBuiltFromTable() {
        openWindow(300, 200);
        QMenu* menu = window->popupMenu();
        QList<QAction*> top = menu->actions();
        QStringList texts;
        for (QAction* a : top) texts << (a->isSeparator() ? QString("-") : a->text());
        QCOMPARE(texts, QStringList({"Constellations:  North", "Constellations:  Zodiac",
                                     "Constellations:  South", "-", "Display Elements", "Colors",
                                     "Arrow keys", "Catalog", "-", "User Guide", "Print...",
                                     "About", "Exit"}));
        QCOMPARE(top[0]->menu()->actions().size(), 21);
        QCOMPARE(top[1]->menu()->actions().size(), 12);
        QCOMPARE(top[2]->menu()->actions().size(), 15);
        QList<QAction*> arrows = top[6]->menu()->actions();
        QCOMPARE(arrows.size(), 6);
        QVERIFY(arrows[2]->isSeparator());
        QCOMPARE(arrows[1]->text(), QString("s  Shift Tessaran Positions"));
        for (int id = 101; id <= 148; ++id) QVERIFY(findMenuCommand(menu, id));
        QCOMPARE(findMenuCommand(menu, 148)->text(), QString("Piscis Austrinus"));
        QCOMPARE(findMenuCommand(menu, 1006)->text(), QString("Equatorial Grid"));
        QCOMPARE(findMenuCommand(menu, 206)->text(), QString("6  Equatorial Grid"));
        QVERIFY(!findMenuCommand(menu, 149));

        // A table of our own: nested submenus close at their end entries.
        const PopupMenuEntry table[] = {
            {PopupSubmenu, "Outer", 0},  {PopupCommand, "a", 1},     {PopupSubmenu, "Inner", 0},
            {PopupCommand, "b", 2},      {PopupEnd, nullptr, 0},     {PopupSeparator, nullptr, 0},
            {PopupCommand, "c", 3},      {PopupEnd, nullptr, 0},     {PopupCommand, "d", 4}};
        std::unique_ptr<QMenu> own(buildPopupMenu(table, 9, nullptr, [](int) {}));
        QCOMPARE(own->actions().size(), 2);
        QList<QAction*> outer = own->actions()[0]->menu()->actions();
        QCOMPARE(outer.size(), 4);
        QCOMPARE(outer[1]->menu()->actions()[0]->data().toInt(), 2);
        QVERIFY(outer[2]->isSeparator());
        QCOMPARE(own->actions()[1]->data().toInt(), 4);

        // Check marks and texts set by the shell; an item chosen comes back as a command once
        // the menu has closed, from the event loop.
        platformSetMenuCheck(206, true);
        platformSetMenuCheck(301, false);
        QVERIFY(findMenuCommand(menu, 206)->isChecked());
        QVERIFY(!findMenuCommand(menu, 301)->isChecked());
        platformSetMenuText(402, "F2  Ink & Quill \xBA");
        QCOMPARE(findMenuCommand(menu, 402)->text(), QString::fromUtf8("F2  Ink && Quill º"));

        calls.clear();
        QPoint opensAt;
        whenPopupOpens<QMenu>([&opensAt](QMenu* shown) {
            opensAt = shown->pos();
            findMenuCommand(shown, 1100)->trigger();
            shown->close();
        });
        platformTrackPopupMenu(40, 30);
        QCOMPARE(opensAt, window->mapToGlobal(QPoint(40, 30)));
        QVERIFY(calls.empty());
        QTRY_COMPARE(calls, std::vector<std::string>{"command 1100"});
    }

    void messageBoxesRoutedThroughOneFunction() {
        shownBoxes.clear();
        setMessageBoxObserver(recordBox);
        platformMessageBox("The new catalog couldn't be loaded.", "Tessaran Stars");
        setMessageBoxObserver(nullptr);
        QCOMPARE(shownBoxes.size(), size_t(1));
        QCOMPARE(shownBoxes[0].first, std::string("The new catalog couldn't be loaded."));
        QCOMPARE(shownBoxes[0].second, std::string("Tessaran Stars"));

        // Without an observer a real box is shown: OK only, the caption and the text as given.
        QString title, text;
        QMessageBox::StandardButtons buttons;
        whenModalOpens<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            buttons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        });
        platformMessageBox("One or more of the values is invalid.", "Tessaran Stars");
        QCOMPARE(title, QString("Tessaran Stars"));
        QCOMPARE(text, QString("One or more of the values is invalid."));
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void colourChooserKeepsCustomColours() {
        openWindow(100, 100);
        Color custom[16] = {};
        custom[3] = makeColor(1, 2, 3);
        Color chosen = kBlack;
        QColor startedAt, customSeen;
        whenModalOpens<QColorDialog>([&](QColorDialog* dialog) {
            startedAt = dialog->currentColor();
            customSeen = QColorDialog::customColor(3);
            QColorDialog::setCustomColor(5, QColor(9, 8, 7));  // the user adds a custom colour
            dialog->setCurrentColor(QColor(200, 100, 50));
            dialog->accept();
        });
        QVERIFY(platformChooseColor(makeColor(64, 32, 32), custom, chosen));
        QCOMPARE(startedAt, QColor(64, 32, 32));
        QCOMPARE(customSeen, QColor(1, 2, 3));
        QCOMPARE(chosen, makeColor(200, 100, 50));
        QCOMPARE(custom[5], makeColor(9, 8, 7));
        QCOMPARE(custom[3], makeColor(1, 2, 3));

        whenModalOpens<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); });
        Color untouched = kOdd;
        QVERIFY(!platformChooseColor(kWhite, custom, untouched));
        QCOMPARE(untouched, kOdd);
    }

    void fileChooserLeavesWorkingDirectory() {
        openWindow(100, 100);
        QTemporaryDir folder;
        QFile(folder.filePath("edition.dat")).open(QIODevice::WriteOnly);
        QFile(folder.filePath("notes.txt")).open(QIODevice::WriteOnly);
        QString workingBefore = QDir::currentPath();

        QString title, directory;
        QStringList filters;
        whenModalOpens<QFileDialog>([&](QFileDialog* dialog) {
            title = dialog->windowTitle();
            directory = dialog->directory().absolutePath();
            filters = dialog->nameFilters();
            dialog->selectFile("edition.dat");
            static_cast<QDialog*>(dialog)->accept();
        });
        std::string path;
        QVERIFY(platformChooseFile("Load Catalog", "*.dat", folder.path().toStdString(), path));
        QCOMPARE(title, QString("Load Catalog"));
        QCOMPARE(directory, QDir(folder.path()).absolutePath());
        QVERIFY(filters.join(" ").contains("*.dat"));
        QCOMPARE(QString::fromStdString(path), QDir(folder.path()).absoluteFilePath("edition.dat"));
        QCOMPARE(QDir::currentPath(), workingBefore);

        whenModalOpens<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        std::string unchanged = "before";
        QVERIFY(!platformChooseFile("Load Catalog", "*.dat", "", unchanged));
        QCOMPARE(unchanged, std::string("before"));
    }

    void documentOpensAsFullFileUrl() {
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("file", &catcher, "open");
        bool opened = platformOpenDocument("readme.html");
        QDesktopServices::unsetUrlHandler("file");
        QVERIFY(opened);
        QCOMPARE(catcher.opened.size(), 1);
        QCOMPARE(catcher.opened[0], QUrl::fromLocalFile(QDir::current().absoluteFilePath("readme.html")));
    }

    void closingRunsDestroyOnceWithOuterRectangle() {
        openWindow(210, 110);
        calls.clear();
        QRect frameRect = window->frameGeometry();
        platformCloseMainWindow();
        window->close();
        QCOMPARE(calls.size(), size_t(1));
        QCOMPARE(calls[0], "destroy " + std::to_string(frameRect.left()) + " " +
                               std::to_string(frameRect.top()) + " " +
                               std::to_string(frameRect.left() + frameRect.width()) + " " +
                               std::to_string(frameRect.top() + frameRect.height()));
        QVERIFY(!window->isVisible());
    }

    void placedAtOuterRectangleAsItIs() {
        calls.clear();
        MainWindow placed(kRecordingHandlers, CloseAction::StayInLoop);
        // Reaching past the screen's right and bottom edges: used unchanged.
        QRect screen = QGuiApplication::primaryScreen()->geometry();
        ScreenRect rect{screen.right() - 100, screen.bottom() - 50, screen.right() + 540,
                        screen.bottom() + 420};
        placeWindowAt(placed, rect);
        placed.show();
        placeWindowAt(placed, rect);
        QVERIFY(QTest::qWaitForWindowExposed(&placed));
        QCOMPARE(placed.frameGeometry(), QRect(rect.left, rect.top, 640, 470));
    }
};

QTEST_MAIN(WindowAdapterTest)
#include "window_adapter_test.moc"
