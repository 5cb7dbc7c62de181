// The nearest-stars window on the offscreen platform, over a main window whose handlers record
// what reaches them: the list and its size in characters, the title, Close and Escape, the keys
// passed on to the main window, and the placement next to the click.
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "geometry/nearest_stars.h"
#include "platform/nearest_stars_window.h"
#include "platform/platform.h"
#include "platform/window.h"

namespace {

std::vector<std::string> calls;
void record(const std::string& line) { calls.push_back(line); }

const WindowHandlers kRecordingHandlers{
    [] {},
    [](int, int) {},
    [] {},
    [](int key) { record("key " + std::to_string(key)); },
    [](int code) { record("char " + std::to_string(code)); },
    [](int) {},
    [](int, int) {},
    [](int, int) {},
    [](int, int) {},
    [](const ScreenRect&) {},
};

// A full list as the shell writes it: an ancient star with its heading, description and rule,
// and five reference stars, 9 lines, all but the first two 40 characters wide.
std::string fullList() {
    Constellation constellation;
    constellation.name = "Ursa Minor";
    AncientStar star;
    star.visible = 1;
    star.screenX = star.screenY = 100;
    star.catalogNumber = 17;
    star.description = "star 4 of Ursa Minor";
    star.identification = 424;
    std::snprintf(star.designation, sizeof star.designation, "alp UMi");
    star.zodiacSign = 2;
    star.signDegrees = 3;
    star.latDegrees = 66;
    star.magnitude = 3;
    constellation.stars = {star};
    std::vector<ReferenceStar> references(5);
    for (int i = 0; i < 5; ++i) {
        ReferenceStar& r = references[size_t(i)];
        r.visible = 1;
        r.screenX = float(100 + i);
        r.screenY = 100;
        r.number = 9000 + i;
        r.magnitude = -1.25f + i;
        std::snprintf(r.name, sizeof r.name, "%d zet UMi", 10 + i);
        lonLatToVec3(1.0 + i, -0.5, r.dir);  // southern latitudes: the sign column filled
    }
    std::string text;
    buildNearestStarsList(NearestStarsMode{}, constellation, references.data(), 5, 100, 100, 30,
                          text);
    return text;
}

QString lineOf(int characters) { return QString(characters, QLatin1Char('M')); }

}  // namespace

class NearestStarsWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> main;

    NearestStarsWindow* show(const char* text, int x, int y) {
        platformNearestStarsShow("Nearest Stars [lon/lat]", text, x, y);
        return nearestStarsWindow();
    }

    bool called(const std::string& line) const {
        return std::find(calls.begin(), calls.end(), line) != calls.end();
    }

private Q_SLOTS:
    void init() {
        calls.clear();
        main = std::make_unique<MainWindow>(kRecordingHandlers, CloseAction::StayInLoop);
        main->move(40, 30);
        main->resize(400, 300);
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }
    void cleanup() { main.reset(); }

    void showsTheListInAFixedPitchFontUnderTheTitle() {
        QVERIFY(!platformNearestStarsIsOpen());
        const std::string text = fullList();
        NearestStarsWindow* window = show(text.c_str(), 10, 20);
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(platformNearestStarsIsOpen());
        QCOMPARE(window->parentWidget(), main.get());
        QVERIFY(!window->isModal());
        QCOMPARE(window->windowTitle(), QString("Nearest Stars [lon/lat]"));
        // One line per "\r\n", the degree mark as "º", nothing after the last line.
        QStringList shown = window->list()->toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(shown.size(), 9);
        QCOMPARE(shown[0], QString("17 Ursa Minor 1"));
        QCOMPARE(shown[2], QString::fromUtf8(" 424      alp UMi   63º00'  66º00'  3.0"));
        QCOMPARE(shown[3], QString(40, QLatin1Char('-')));
        for (int i = 3; i < 9; ++i) QCOMPARE(shown[i].size(), 40);  // the ancient star's is 39
        QVERIFY(window->list()->isReadOnly());
        // The whole list in view.
        QCOMPARE(window->list()->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(window->list()->verticalScrollBar()->maximum(), 0);

        QFontInfo font(window->list()->font());
        QVERIFY(font.fixedPitch());
        int dpi = int(QGuiApplication::primaryScreen()->logicalDotsPerInchY());
        QCOMPARE(listFont().pixelSize(), 10 * dpi / 72);
        if (QFontDatabase::hasFamily("Liberation Mono") || QFontDatabase::hasFamily("Courier New"))
            QVERIFY2(font.family() == "Courier New" || font.family() == "Liberation Mono",
                     qPrintable(font.family()));

        // The Close button: the default, centred under the list, with the focus.
        QPushButton* close = window->closeButton();
        QCOMPARE(close->text(), QString("Close"));
        QVERIFY(close->isDefault());
        QRect list = window->list()->geometry(), button = close->geometry();
        QVERIFY(qAbs((button.left() + button.right()) - (list.left() + list.right())) <= 1);
        QVERIFY(button.top() > list.bottom());
        QVERIFY(window->rect().contains(button));
        QCOMPARE(window->focusWidget(), static_cast<QWidget*>(close));

        // The title set while open; the next list reuses the same window.
        platformNearestStarsSetTitle("Nearest Stars [ra/dec]");
        QCOMPARE(window->windowTitle(), QString("Nearest Stars [ra/dec]"));
        QCOMPARE(show("(no stars)", 30, 40), window);
        QCOMPARE(window->list()->toPlainText(), QString("(no stars)"));
    }

    // Forty characters a line and eleven lines fit without scrolling; one more of either does not.
    void listIsFortyCharactersByElevenLines() {
        NearestStarsWindow* window = show("x", 10, 20);
        QPlainTextEdit* list = window->list();
        auto fill = [&](int columns, int lines) {
            QStringList text;
            for (int i = 0; i < lines; ++i) text << lineOf(columns);
            list->setPlainText(text.join(QLatin1Char('\n')));
            QCoreApplication::processEvents();
        };
        fill(40, 11);
        QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
        QCOMPARE(list->verticalScrollBar()->maximum(), 0);
        fill(41, 1);
        QVERIFY(list->horizontalScrollBar()->maximum() > 0);
        fill(10, 12);
        QVERIFY(list->verticalScrollBar()->maximum() > 0);
        // A description far wider than the window is kept whole, to scroll to.
        fill(460, 1);
        QCOMPARE(list->toPlainText().size(), 460);
    }

    void closeAndEscapeCloseItAndAClosedWindowKeepsItsTitle() {
        NearestStarsWindow* window = show(fullList().c_str(), 10, 20);
        QTest::mouseClick(window->closeButton(), Qt::LeftButton);
        QVERIFY(!window->isVisible());
        QVERIFY(!platformNearestStarsIsOpen());
        platformNearestStarsSetTitle("Nearest Stars [ra/dec]");
        QCOMPARE(window->windowTitle(), QString("Nearest Stars [lon/lat]"));

        window = show(fullList().c_str(), 10, 20);
        QVERIFY(platformNearestStarsIsOpen());
        QTest::keyClick(window->list(), Qt::Key_Escape);
        QVERIFY(!platformNearestStarsIsOpen());

        // Enter presses the default button.
        window = show(fullList().c_str(), 10, 20);
        QTest::keyClick(window->closeButton(), Qt::Key_Return);
        QVERIFY(!platformNearestStarsIsOpen());
        QVERIFY(calls.empty());
    }

    void functionKeysAndQGoToTheMainWindowOtherKeysStay() {
        NearestStarsWindow* window = show(fullList().c_str(), 10, 20);
        QTest::keyClick(window->list(), Qt::Key_F2);
        QTest::keyClick(window->closeButton(), Qt::Key_F3);
        QTest::keyClick(window, Qt::Key_F1);
        QTest::keyClick(window->list(), Qt::Key_Q);
        // Posted: they arrive once the window's own events are done.
        QTRY_VERIFY(calls.size() >= 4);
        QCOMPARE(calls, (std::vector<std::string>{"key 113", "key 114", "key 112", "char 113"}));

        calls.clear();
        QTest::keyClick(window->list(), 'Q', Qt::ShiftModifier);  // "Q" is not q
        QTest::keyClick(window->list(), Qt::Key_PageDown);
        QTest::keyClick(window->closeButton(), Qt::Key_Left);
        QTest::keyClick(window->list(), Qt::Key_1);
        QTest::keyClick(window->list(), Qt::Key_Q, Qt::ControlModifier);
        QCoreApplication::processEvents();
        QTest::qWait(20);
        QVERIFY(calls.empty());
        QVERIFY(platformNearestStarsIsOpen());
    }

    void placedNextToTheClickAndKeptOffTheWorkAreasRightAndBottom() {
        QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        NearestStarsWindow* window = show(fullList().c_str(), 10, 20);
        QRect frame = window->frameGeometry();
        QPoint click = main->mapToGlobal(QPoint(10, 20));
        QCOMPARE(frame.topLeft(), click + QPoint(2, 2));

        // Near the right edge it opens to the left of the click, near the bottom above it.
        QPoint nearCorner(area.left() + area.width() - 5, area.top() + area.height() - 5);
        QPoint client = main->mapFromGlobal(nearCorner);
        show(fullList().c_str(), client.x(), client.y());
        frame = window->frameGeometry();
        QCOMPARE(frame.right() + 1, nearCorner.x() - 2);
        QCOMPARE(frame.bottom() + 1, nearCorner.y() - 2);

        // Only the right edge passed: still below the click.
        QPoint nearRight(area.left() + area.width() - 5, area.top() + 10);
        client = main->mapFromGlobal(nearRight);
        show(fullList().c_str(), client.x(), client.y());
        frame = window->frameGeometry();
        QCOMPARE(frame.right() + 1, nearRight.x() - 2);
        QCOMPARE(frame.top(), nearRight.y() + 2);
    }
};

QTEST_MAIN(NearestStarsWindowTest)
#include "nearest_stars_window_test.moc"
