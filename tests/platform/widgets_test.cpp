// The Qt adapter's widgets over a main window whose handlers record every call: the window's
// events, the frame blit, the popup menu, the choosers and message box, the nearest-stars window,
// the about box and the epoch dialog, each driven the way a person would drive it.
#include <QColorDialog>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
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

QStringList texts(const EpochDialog& dialog) {
    return {dialog.field(EpochFieldDate)->text(), dialog.field(EpochFieldLongitude)->text(),
            dialog.field(EpochFieldLatitude)->text()};
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

    // An epoch dialog shown modeless and active, so that focus moves between its fields.
    std::unique_ptr<EpochDialog> openEpochDialog(const EpochSetting& setting) {
        auto dialog = std::make_unique<EpochDialog>(setting, nullptr);
        dialog->show();
        dialog->activateWindow();
        return QTest::qWaitForWindowActive(dialog.get()) ? std::move(dialog) : nullptr;
    }

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

        // Virtual keys by their codes, typed characters as single bytes; Ctrl+letter is the
        // control code, Alt alone types nothing, Ctrl+Alt (AltGr) types the key's text. Handed
        // to the window itself, past the application's own note of the keyboard's state: the
        // handlers must read the Shift and Control state of the key event.
        constexpr auto S = Qt::ShiftModifier, C = Qt::ControlModifier, A = Qt::AltModifier;
        const struct {
            int key;
            Qt::KeyboardModifiers modifiers;
            const char16_t* text;
            const char* expected;  // nullptr: nothing reaches the shell
        } cases[] = {
            {Qt::Key_Left, S, u"", "key 37 shift"}, {Qt::Key_Right, C, u"", "key 39 ctrl"},
            {Qt::Key_PageUp, {}, u"", "key 33"}, {Qt::Key_Escape, {}, u"\x1b", "key 27"},
            {Qt::Key_V, {}, u"v", "char 118"}, {Qt::Key_Z, C, u"\x1a", "char 26 ctrl"},
            {Qt::Key_BracketRight, C, u"", "char 29 ctrl"}, {Qt::Key_1, C, u"1", nullptr},
            {Qt::Key_X, A, u"x", nullptr}, {Qt::Key_X, C | A, u"x", "char 120 ctrl"},
            {Qt::Key_ydiaeresis, {}, u"\u00ff", "char 255"},
            {Qt::Key_unknown, {}, u"\u20ac", nullptr},  // the euro sign: not in the code page
            {Qt::Key_A, C | S, u"\x01", "char 1 shift ctrl"},
        };
        for (const auto& c : cases) {
            calls.clear();
            QKeyEvent press(QEvent::KeyPress, c.key, c.modifiers, QString::fromUtf16(c.text));
            static_cast<QObject*>(window.get())->event(&press);
            QVERIFY2(calls == (c.expected ? Strings{c.expected} : Strings{}),
                     c.expected ? c.expected : "nothing");
        }
        // Outside a key press the keyboard's present state counts, not the last key's.
        QVERIFY(!platformShiftDown() && !platformControlDown());

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
    // the new size and paints it at once, and a repaint has painted when it returns.
    void resizeRepaintsTheFrame() {
        for (QSize size : {QSize(301, 201), QSize(170, 90)}) {
            calls.clear();
            window->resize(size);  // the first is the window's own size
            QCOMPARE(calls, (size.width() == 301 ? Strings{} : Strings{"size 170x90", "paint"}));
            const QImage shown = window->grab().toImage();
            const int w = size.width(), h = size.height();
            QCOMPARE(shown.size(), size);
            QCOMPARE(pixelAt(shown, 1, 1), kBlack);
            for (int k = 0; k < 4; ++k) {
                QCOMPARE(pixelAt(shown, k % 2 * (w - 1), k / 2 * (h - 1)), lane(4 + k));
                QCOMPARE(pixelAt(shown, 4 + k, h / 2), lane(k));
            }
        }
        platformRepaint();
        QCOMPARE(calls, (Strings{"size 170x90", "paint", "paint"}));
    }

    // The shell sets check marks and texts ('&' shown as it is); a chosen item comes back as a
    // command from the event loop, after the menu opened at the client point has closed.
    void popupMenuCommands() {
        QMenu* menu = window->popupMenu();
        platformSetMenuCheck(206, true);
        platformSetMenuCheck(108, false);
        QVERIFY(findMenuCommand(menu, 206)->isChecked() && !findMenuCommand(menu, 108)->isChecked());
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

    // The colour chooser starts at the colour given, with the run's custom colours, and hands
    // back those the user changed whichever button closed it; the file chooser opens in the
    // folder given with the pattern, and returns the full path with the working folder left as
    // it was; with no observer a message box is a real one, OK alone, its text from the code page.
    void choosersAndMessageBox() {
        Color custom[16] = {}, chosen = kBlack;
        custom[3] = makeColor(1, 2, 3);
        QColor startedAt, customSeen;
        for (bool ok : {true, false}) {
            whenOpens<QColorDialog>("colour chooser", [&, ok](QColorDialog* dialog) {
                startedAt = dialog->currentColor(), customSeen = QColorDialog::customColor(3);
                QColorDialog::setCustomColor(ok ? 5 : 6, QColor(9, 8, ok ? 7 : 6));
                dialog->setCurrentColor(ok ? QColor(200, 100, 50) : Qt::white);
                if (ok) dialog->accept();
                else dialog->reject();
            });
            QCOMPARE(platformChooseColor(makeColor(64, 32, 32), custom, chosen), ok);
            QVERIFY(startedAt == QColor(64, 32, 32) && customSeen == QColor(1, 2, 3));
            QCOMPARE(chosen, makeColor(200, 100, 50));
        }
        QVERIFY(custom[3] == makeColor(1, 2, 3) && custom[5] == makeColor(9, 8, 7) &&
                custom[6] == makeColor(9, 8, 6));

        QTemporaryDir folder;
        QFile(folder.filePath("edition.dat")).open(QIODevice::WriteOnly);
        const QString working = QDir::currentPath(), file = folder.filePath("edition.dat");
        QString seen;
        answerFileDialog(file, [&seen](QFileDialog* dialog) {
            seen = dialog->windowTitle() + " in " + dialog->directory().absolutePath() + " " +
                   dialog->nameFilters().join(' ');
        });
        std::string path;
        QVERIFY(platformChooseFile("Load Catalog", "*.dat", folder.path().toStdString(), path));
        QVERIFY2(seen.startsWith("Load Catalog in " + folder.path()) && seen.contains("*.dat"),
                 qPrintable(seen));
        QVERIFY(QString::fromStdString(path) == file && QDir::currentPath() == working);

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
        // Eleven lines as the shell writes them, "\r\n" after each; the second has degree marks.
        std::string eleven = "17 Ursa Minor 1\r\n 424      alp UMi   63\xBA" "00'  66\xBA" "00'  3.0\r\n";
        for (int i = 0; i < 9; ++i) eleven += std::string(40, char('a' + i)) + "\r\n";
        platformNearestStarsShow("Nearest Stars [lon/lat]", eleven.c_str(), 10, 20);
        NearestStarsWindow* shown = nearestStarsWindow();
        QVERIFY(platformNearestStarsIsOpen());
        QCOMPARE(shown->windowTitle(), QString("Nearest Stars [lon/lat]"));
        QPlainTextEdit* list = shown->list();
        QStringList lines = list->toPlainText().split('\n');
        QCOMPARE(lines.size(), 11);
        QCOMPARE(lines[1], QString::fromUtf8(" 424      alp UMi   63º00'  66º00'  3.0"));
        QVERIFY(QFontInfo(list->font()).fixedPitch());
        // Forty characters in view; one more scrolls.
        QVERIFY(!list->horizontalScrollBar()->maximum());
        list->setPlainText(QString(41, 'M'));
        QTRY_VERIFY(list->horizontalScrollBar()->maximum() > 0);
        QPushButton* close = shown->closeButton();
        QVERIFY2(close->isDefault() && shown->focusWidget() == close, "Close default, with focus");

        // Placed two pixels right of and below the click; near the work area's right and
        // bottom edges, ending two pixels left of and above it.
        QCOMPARE(shown->frameGeometry().topLeft(), window->mapToGlobal(QPoint(12, 22)));
        const QPoint corner = window->screen()->availableGeometry().bottomRight() - QPoint(4, 4);
        const QPoint client = window->mapFromGlobal(corner);
        platformNearestStarsShow("Nearest Stars [lon/lat]", "x", client.x(), client.y());
        QCOMPARE(nearestStarsWindow(), shown);
        QCOMPARE(shown->frameGeometry().bottomRight(), corner - QPoint(3, 3));

        // Retitled while open; Close, Escape and Enter close it, and a closed one keeps its title.
        platformNearestStarsSetTitle("Nearest Stars [ra/dec]");
        QCOMPARE(shown->windowTitle(), QString("Nearest Stars [ra/dec]"));
        for (Qt::Key key : {Qt::Key_unknown, Qt::Key_Escape, Qt::Key_Return}) {
            if (key == Qt::Key_unknown) QTest::mouseClick(close, Qt::LeftButton);
            else QTest::keyClick(key == Qt::Key_Escape ? static_cast<QWidget*>(list) : close, key);
            QVERIFY(!platformNearestStarsIsOpen());
            platformNearestStarsSetTitle("Nearest Stars [lon/lat]");
            QCOMPARE(shown->windowTitle(), QString("Nearest Stars [ra/dec]"));
            platformNearestStarsShow("Nearest Stars [ra/dec]", "x", 10, 20);
        }

        // F1 to F3 and q typed here act on the main window, once this window's own event is
        // done; every other key ("Q" is not q) stays here.
        calls.clear();
        QTest::keyClick(list, Qt::Key_F2);
        QTest::keyClick(close, Qt::Key_F3);
        QTest::keyClick(shown, Qt::Key_F1);
        QTest::keyClick(list, Qt::Key_Q);
        QVERIFY(calls.empty());
        QTRY_COMPARE(calls, (Strings{"key 113", "key 114", "key 112", "char 113"}));
        calls.clear();
        QTest::keyClick(list, 'Q', Qt::ShiftModifier);
        QTest::keyClick(close, Qt::Key_Left);
        QCoreApplication::sendPostedEvents();
        QVERIFY(calls.empty() && platformNearestStarsIsOpen());
    }

    // The splash returns at once, leaves the keyboard with its owner, ignores keys and closes
    // itself; the modal box closes on Enter, Escape or a click. Both are the bare picture.
    void aboutBoxSplashAndPlacement() {
        QElapsedTimer clock;
        clock.start();
        openAboutBox(window.get(), 1500);
        QVERIFY(clock.elapsed() < 1500);
        QPointer<QWidget> splash = aboutBoxes().value(0);
        QVERIFY(splash && !splash->isModal());
        QCOMPARE(splash->frameGeometry().size(), QSize(284, 125));
        QCOMPARE(QApplication::activeWindow(), window.get());
        QTest::keyClick(splash, Qt::Key_Escape);
        QVERIFY(splash);
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::Key_unknown}) {
            int open = 0;
            whenOpens<QDialog>("modal about box", [&open, key](QDialog* box) {
                open = aboutBoxes().size();
                QTimer::singleShot(1000, box, &QWidget::close);  // should the key not close it
                if (key == Qt::Key_unknown) QTest::mouseClick(box, Qt::LeftButton, {}, {9, 9});
                else QTest::keyClick(box, key);
            });
            QElapsedTimer modal;
            modal.start();
            openAboutBox(window.get(), 0);
            QVERIFY2(modal.elapsed() < 900, "the box stayed open");
            QCOMPARE(open, 2);
        }
        QVERIFY(splash);
        QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 3000);
        QVERIFY(clock.elapsed() >= 1500 * 95 / 100);  // a coarse timer fires up to 5% early

        // Centred over the owner's outer rectangle with halves truncated toward zero, pushed in
        // to end on the desktop, then raised to 0 past its top or left.
        const QRect desktop(0, 0, 1920, 1080), owners[][2] = {
            {{500, 500, 101, 50}, desktop}, {{1800, 1000, 400, 300}, desktop},
            {{100, 1000, 400, 300}, {0, 40, 1920, 1000}}, {{-300, -400, 400, 600}, desktop}};
        const QPoint placed[] = {{409, 463}, {1636, 955}, {158, 915}, {0, 0}};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(aboutBoxPosition(owners[i][0], QSize(284, 125), owners[i][1]), placed[i]);
        openAboutBox(window.get(), 60000);
        const QRect outer = window->frameGeometry();
        QCOMPARE(aboutBoxes().value(0)->frameGeometry().topLeft(),
                 outer.topLeft() + QPoint((outer.width() - 284) / 2, (outer.height() - 125) / 2));
    }

    // Opening on a preset's setting selects it, on any other "Custom"; a preset chosen fills the
    // fields, "Custom" chosen leaves them. A field that parses is rewritten when it loses the
    // focus, one that does not is kept as typed; OK with an invalid field says so and stays open.
    void epochDialogPresetsFieldsAndValidation() {
        const EpochPreset& second = kEpochPresets[1];
        auto preset = openEpochDialog({second.epoch, second.offsetLon, second.offsetLat});
        QVERIFY(preset && preset->presets()->currentIndex() == 2);
        preset.reset();
        auto dialog = openEpochDialog(EpochSetting{});
        QVERIFY(dialog);
        QComboBox* presets = dialog->presets();
        QLineEdit *date = dialog->field(EpochFieldDate), *lat = dialog->field(EpochFieldLatitude);
        QCOMPARE(texts(*dialog), QStringList({"20 Jul 137 AD", "+0º00'", "+0º00'"}));
        QCOMPARE(presets->currentIndex(), 1);
        QVERIFY(date->hasFocus() && dialog->okButton()->isDefault());
        presets->setFocus();
        QTest::keyClick(presets, Qt::Key_Down);
        QCOMPARE(texts(*dialog), QStringList({"1 Jan 130 BC", "-2º40'", "+0º00'"}));
        typeInto(lat, "1 30");
        presets->setFocus();
        QTest::keyClick(presets, Qt::Key_Home);
        QCOMPARE(presets->currentIndex(), 0);
        QCOMPARE(texts(*dialog), QStringList({"1 Jan 130 BC", "-2º40'", "+1º30'"}));

        typeInto(dialog->field(EpochFieldLongitude), "2.5");
        typeInto(lat, QString::fromUtf8("-1°30"));
        typeInto(date, "20/7/137");
        QTest::keyClick(date, Qt::Key_Tab);
        QCOMPARE(texts(*dialog), QStringList({"20/7/137", "+2º30'", "-1º30'"}));
        QVERIFY(boxes.empty());
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        QCOMPARE(boxes, Strings{"One or more of the values is invalid."});
        QVERIFY(dialog->isVisible());
        typeInto(date, "137 BC");
        typeInto(lat, "-0 30");
        QTest::keyClick(lat, Qt::Key_Return);
        QCOMPARE(boxes.size(), size_t(1));
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        // Noon of 1 Jan 137 BC (the Julian calendar's year -136) is Julian Date 1671384.
        QCOMPARE(dialog->setting().epoch, 1671384.0);
        QVERIFY(qAbs(dialog->setting().offsetLat + float(0.5 * kDegToRad)) < 1e-7f);
        QVERIFY(qAbs(dialog->setting().offsetLon - float(2.5 * kDegToRad)) < 1e-7f);
    }
};

QTEST_MAIN(WidgetsTest)
#include "widgets_test.moc"
