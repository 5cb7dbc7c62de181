// The Qt adapter's widgets over a main window whose handlers record every call: the window's
// events, the frame blit, the popup menu, the choosers and message box, the nearest-stars window,
// the about box and the epoch dialog, each driven the way a person would drive it.
#include <QColorDialog>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include "dialog_helpers.h"
#include "geometry/vectors.h"
#include "platform/about_box.h"
#include "platform/dialogs.h"
#include "platform/epoch_dialog.h"
#include "platform/menu.h"
#include "platform/nearest_stars_window.h"
#include "platform/window.h"

namespace {

using Strings = std::vector<std::string>;
Strings calls;  // one line per handler call
Strings boxes;  // the message boxes' texts
FrameBuffer frame;

void record(const std::string& line) { calls.push_back(line); }
std::string xy(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }
// The Shift and Control state as the handler reads it while the key is handled.
std::string keyLine(const char* what, int code) {
    return std::string(what) + " " + std::to_string(code) + (platformShiftDown() ? " shift" : "") +
           (platformControlDown() ? " ctrl" : "");
}

// Colours with every channel distinct: four neighbours in one group of four frame pixels (0 to 3)
// and the corners (4 to 7), painted at the frame's corners and along its middle row.
constexpr Color lane(int k) { return makeColor(10 * k + 1, 20 * k + 2, 30 * k + 3); }
void paintPattern() {
    record("paint");
    frameClear(frame);
    for (int k = 0; k < 4; ++k) {
        framePutPixel(frame, 4 + k, frame.height / 2, lane(k));
        framePutPixel(frame, k % 2 * (frame.width - 1), k / 2 * (frame.height - 1), lane(4 + k));
    }
    platformPresentFrame(frame);
}

const WindowHandlers kRecording{
    [] { record("create"); },
    [](int w, int h) {
        frameResize(frame, w, h);
        record("size " + std::to_string(w) + "x" + std::to_string(h));
    },
    paintPattern,
    [](int key) { record(keyLine("key", key)); },
    [](int code) { record(keyLine("char", code)); },
    [](int command) { record("command " + std::to_string(command)); },
    [](int x, int y) { record("move " + xy(x, y)); },
    [](int x, int y) { record("left " + xy(x, y)); },
    [](int x, int y) { record("right " + xy(x, y)); },
    [](const ScreenRect&) {},
    nullptr,  // the window always closes
};

Color pixelAt(const QImage& image, int x, int y) {
    return makeColor(qRed(image.pixel(x, y)), qGreen(image.pixel(x, y)), qBlue(image.pixel(x, y)));
}

QList<QWidget*> aboutBoxes() {
    QList<QWidget*> found;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == kAboutBoxObjectName && widget->isVisible()) found << widget;
    return found;
}

void typeInto(QLineEdit* field, const QString& text) {
    field->setFocus(Qt::MouseFocusReason);
    field->selectAll();
    QTest::keyClicks(field, text);
}

}  // namespace

class WidgetsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<MainWindow> window;

private Q_SLOTS:
    void initTestCase() {
        setMessageBoxObserver([](const std::string& text, const std::string&) {
            boxes.push_back(text);
        });
    }
    // Every test starts on a fresh, active 301 x 201 main window (odd: padded frame rows).
    void init() {
        calls.clear();
        boxes.clear();
        window = std::make_unique<MainWindow>(kRecording, CloseAction::StayInLoop);
        window->setGeometry(40, 30, 301, 201);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void cleanup() { window.reset(); }

    void windowEventsReachTheHandlers() {
        QCOMPARE(window->cursor().shape(), Qt::CrossCursor);
        calls.resize(3);
        QCOMPARE(calls, (Strings{"create", "size 301x201", "paint"}));

        // Virtual keys by their codes, typed characters as single bytes of the code page;
        // Ctrl+letter is the control code, Ctrl+Alt (AltGr) types the key's text. Handed
        // to the window itself, past the application's own note of the keyboard's state: the
        // handlers must read the Shift and Control state of the key event.
        constexpr auto S = Qt::ShiftModifier, C = Qt::ControlModifier, A = Qt::AltModifier;
        const struct {
            int key;
            Qt::KeyboardModifiers modifiers;
            const char16_t* text;
            const char* expected;  // nullptr: nothing reaches the shell
        } cases[] = {
            {Qt::Key_Left, S, u"", "key 37 shift"}, {Qt::Key_PageUp, {}, u"", "key 33"},
            {Qt::Key_Z, C, u"\x1a", "char 26 ctrl"}, {Qt::Key_X, C | A, u"x", "char 120 ctrl"},
            {Qt::Key_unknown, {}, u"\u20ac", nullptr},  // the euro sign: not in the code page
        };
        for (const auto& c : cases) {
            calls.clear();
            QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, QString::fromUtf16(c.text));
            static_cast<QObject*>(window.get())->event(&press);
            QVERIFY2(calls == (c.expected ? Strings{c.expected} : Strings{}),
                     c.expected ? c.expected : "nothing");
        }

        // The mouse in client coordinates; moves outside the window (a button held) are dropped.
        calls.clear();
        QTest::mouseMove(window.get(), QPoint(30, 40));
        QPointF left(-5, 40);
        QMouseEvent outside(QEvent::MouseMove, left, window->mapToGlobal(left), Qt::NoButton,
                            Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &outside);
        QTest::mouseClick(window.get(), Qt::LeftButton, {}, QPoint(5, 6));
        QTest::mouseClick(window.get(), Qt::RightButton, {}, QPoint(300, 200));
        QCOMPARE(calls, (Strings{"move 30,40", "left 5,6", "right 300,200"}));
    }

    // The bottom-up frame's pixel (x, y) shows at the window's (x, y); a resize makes a frame of
    // the new size (rows padded, two pixels after the last group of four) and paints it at once,
    // and a repaint has painted when it returns.
    void resizeRepaintsTheFrame() {
        calls.clear();
        window->resize(170, 90);
        QCOMPARE(calls, (Strings{"size 170x90", "paint"}));
        const QImage shown = window->grab().toImage();
        QCOMPARE(shown.size(), QSize(170, 90));
        QCOMPARE(pixelAt(shown, 1, 1), kBlack);
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(pixelAt(shown, k % 2 * 169, k / 2 * 89), lane(4 + k));
            QCOMPARE(pixelAt(shown, 4 + k, 45), lane(k));
        }
        platformRepaint();
        QCOMPARE(calls, (Strings{"size 170x90", "paint", "paint"}));
    }

    // The shell sets check marks and texts ('&' shown as it is); a chosen item comes back as a
    // command from the event loop, after the menu opened at the client point has closed.
    void popupMenuCommands() {
        QMenu* menu = window->popupMenu();
        platformSetMenuCheck(206, true);
        QVERIFY(findMenuCommand(menu, 206)->isChecked());
        platformSetMenuText(402, "F2  Ink & Quill \xBA");
        QCOMPARE(findMenuCommand(menu, 402)->text(), QString::fromUtf8("F2  Ink && Quill º"));

        calls.clear();
        QPoint opensAt;
        whenOpens<QMenu>("popup menu", [&opensAt](QMenu* shown) {
            opensAt = shown->pos();
            findMenuCommand(shown, 1100)->trigger();
            shown->close();
        }, nullptr, QApplication::activePopupWidget);
        platformTrackPopupMenu(40, 30);
        QCOMPARE(opensAt, window->mapToGlobal(QPoint(40, 30)));
        QVERIFY(calls.empty());
        QTRY_COMPARE(calls, Strings{"command 1100"});
    }

    // The colour chooser hands back the custom colours the user changed whichever button closed
    // it, the colour chosen on OK alone; the file chooser returns the full path; with no observer
    // a message box is a real one, OK alone, its text from the code page.
    void choosersAndMessageBox() {
        Color custom[16] = {}, chosen = kBlack;
        for (bool ok : {true, false}) {
            whenOpens<QColorDialog>("colour chooser", [ok](QColorDialog* dialog) {
                QColorDialog::setCustomColor(ok ? 5 : 6, QColor(9, 8, ok ? 7 : 6));
                dialog->setCurrentColor(ok ? QColor(200, 100, 50) : Qt::white);
                if (ok) dialog->accept();
                else dialog->reject();
            });
            QCOMPARE(platformChooseColor(makeColor(64, 32, 32), custom, chosen), ok);
            QCOMPARE(chosen, makeColor(200, 100, 50));
        }
        QVERIFY(custom[5] == makeColor(9, 8, 7) && custom[6] == makeColor(9, 8, 6));

        QTemporaryDir folder;
        const QString file = folder.filePath("edition.dat");
        QFile(file).open(QIODevice::WriteOnly);
        QString seen;
        answerFileDialog(file, &seen);
        std::string path;
        QVERIFY(platformChooseFile("Load Catalog", "*.dat", folder.path().toStdString(), path));
        QCOMPARE(QString::fromStdString(path), file);
        QCOMPARE(seen, QString("Load Catalog *.dat"));

        setMessageBoxObserver(nullptr);
        whenOpens<QMessageBox>("message box", [&seen](QMessageBox* box) {
            seen = box->windowTitle() + ": " + box->text();
            if (box->standardButtons() != QMessageBox::Ok) seen += " and other buttons";
            box->done(QMessageBox::Ok);
        });
        platformMessageBox("Caf\xE9 closed.", "Tessaran Stars");
        initTestCase();
        QCOMPARE(seen, QString::fromUtf8("Tessaran Stars: Café closed."));
    }

    void nearestStarsList() {
        QVERIFY(!platformNearestStarsIsOpen());
        std::string eleven;  // lines as the shell writes them, "\r\n" after each
        for (int i = 0; i < 11; ++i) eleven += std::string(40, char('a' + i)) + "\r\n";
        platformNearestStarsShow("Nearest Stars [lon/lat]", eleven.c_str(), 10, 20);
        NearestStarsWindow* shown = nearestStarsWindow();
        QVERIFY(platformNearestStarsIsOpen());
        QPlainTextEdit* list = shown->list();
        QCOMPARE(list->toPlainText().split('\n').size(), 11);
        // Forty characters in view; one more scrolls.
        QVERIFY(!list->horizontalScrollBar()->maximum());
        list->setPlainText(QString(41, 'M'));
        QTRY_VERIFY(list->horizontalScrollBar()->maximum() > 0);
        QPushButton* close = shown->closeButton();
        QVERIFY2(close->isDefault() && shown->focusWidget() == close, "Close default, with focus");

        // Escape closes it, and a closed one keeps its title.
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!platformNearestStarsIsOpen());
        platformNearestStarsSetTitle("Nearest Stars [ra/dec]");
        QCOMPARE(shown->windowTitle(), QString("Nearest Stars [lon/lat]"));
        platformNearestStarsShow("Nearest Stars [ra/dec]", "x", 10, 20);

        // F1 to F3 and q typed here act on the main window, once this window's own event is
        // done; every other key ("Q" is not q) stays here.
        calls.clear();
        QTest::keyClick(close, Qt::Key_F2);
        QTest::keyClick(list, Qt::Key_Q);
        QVERIFY(calls.empty());
        QTRY_COMPARE(calls, (Strings{"key 113", "char 113"}));
        calls.clear();
        QTest::keyClick(list, 'Q', Qt::ShiftModifier);
        QCoreApplication::sendPostedEvents();
        QVERIFY(calls.empty() && platformNearestStarsIsOpen());
    }

    // The splash returns at once, leaves the keyboard with its owner, ignores keys and closes
    // itself in its time; the modal box closes on Enter, the splash staying open.
    void aboutBoxSplashAndPlacement() {
        QElapsedTimer clock;
        clock.start();
        openAboutBox(window.get(), 1500);
        QVERIFY(clock.elapsed() < 1500);
        QPointer<QWidget> splash = aboutBoxes().value(0);
        QVERIFY(splash && !splash->isModal());
        QCOMPARE(QApplication::activeWindow(), window.get());
        QTest::keyClick(splash, Qt::Key_Escape);
        QVERIFY(splash);
        int open = 0;
        whenOpens<QDialog>("modal about box", [&open](QDialog* box) {
            open = aboutBoxes().size();
            QTest::keyClick(box, Qt::Key_Return);
        });
        openAboutBox(window.get(), 0);
        QCOMPARE(open, 2);
        QVERIFY(splash);
        QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 3000);
        QVERIFY(clock.elapsed() >= 1500 * 95 / 100);  // a coarse timer fires up to 5% early

        // Centred over the owner's outer rectangle, pushed in to end on the desktop.
        const QRect owner(1800, 1000, 400, 300), desktop(0, 0, 1920, 1080);
        QCOMPARE(aboutBoxPosition(owner, QSize(284, 125), desktop), QPoint(1636, 955));
        openAboutBox(window.get(), 60000);
        const QRect outer = window->frameGeometry();
        QCOMPARE(aboutBoxes().value(0)->frameGeometry().topLeft(),
                 outer.topLeft() + QPoint((outer.width() - 284) / 2, (outer.height() - 125) / 2));
    }

    // Opening on a preset's setting selects it. A field that parses is rewritten when it loses
    // the focus, one that does not is kept as typed; OK with an invalid field says so and stays
    // open.
    void epochDialogPresetsFieldsAndValidation() {
        EpochDialog dialog(EpochSetting{}, nullptr);  // modeless, so that focus moves
        dialog.show();
        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.presets()->currentIndex(), 1);  // Maridon
        QLineEdit *date = dialog.field(EpochFieldDate), *lon = dialog.field(EpochFieldLongitude);
        typeInto(lon, "2.5");
        typeInto(date, "20/7/137");
        QTest::keyClick(date, Qt::Key_Tab);
        QCOMPARE(date->text() + " " + lon->text(), QString::fromUtf8("20/7/137 +2º30'"));
        QVERIFY(boxes.empty());
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        QCOMPARE(boxes, Strings{"One or more of the values is invalid."});
        QVERIFY(dialog.isVisible());
        typeInto(date, "137 BC");
        QTest::keyClick(date, Qt::Key_Return);
        QCOMPARE(boxes.size(), size_t(1));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        // Noon of 1 Jan 137 BC (the Julian calendar's year -136) is Julian Date 1671384.
        QCOMPARE(dialog.setting().epoch, 1671384.0);
        QVERIFY(qAbs(dialog.setting().offsetLon - float(2.5 * kDegToRad)) < 1e-7f);
    }
};

QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"
