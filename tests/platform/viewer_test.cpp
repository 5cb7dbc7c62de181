// The whole viewer on Qt's offscreen platform: start-up with the shipped data in a working folder
// of the test's own, the window and its keys, menu and dialogs driving the real shell, and the
// settings carried across a restart.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QScreen>
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
#include "platform/menu.h"
#include "platform/viewer.h"
#include "platform/window.h"

namespace {

std::vector<std::pair<std::string, std::string>> messages;
void recordMessage(const std::string& text, const std::string& caption) {
    messages.emplace_back(text, caption);
}

const char* const kShippedFiles[] = {"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"};
constexpr char kSettingsFile[] = "maridon.cfg";

// Runs the viewer; once its window is on screen `script` acts on it, and then the window is
// closed unless the script closed it. Returns the viewer's exit code.
int runScripted(const std::function<void(MainWindow&)>& script) {
    QTimer::singleShot(0, [script] {
        MainWindow* window = mainWindow();
        if (window && QTest::qWaitForWindowExposed(window)) script(*window);
        if (mainWindow() && mainWindow()->isVisible()) platformCloseMainWindow();
    });
    return runViewer();
}

// The status line of the application state as the shell formats it.
std::string statusText() {
    return formatStatusText(theApp.view, currentConstellation()->name.c_str(), theApp.shift.lon,
                            theApp.shift.lat, currentEditionName(theApp.catalogs).c_str(),
                            theApp.arrowMode);
}

// True when the window shows exactly `text` where the status line goes: at x = 10, one and a
// half text heights above the bottom, pale yellow on an opaque black cell.
bool windowShowsStatusLine(MainWindow& window, const std::string& text) {
    QString shownText = textFromCodePage(text.c_str());
    QSize size = measureLabelText(shownText);
    int y = window.height() - 3 * size.height() / 2;
    QImage expected(window.size(), kSurfaceFormat);
    expected.fill(Qt::darkRed);
    QRect cell = drawLabelText(expected, 10, y, shownText, kStatusTextColor, true);
    QImage shown = window.grab().toImage().convertToFormat(kSurfaceFormat);
    return expected.copy(cell) == shown.copy(cell);
}

void pressKey(MainWindow& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&window, key, modifiers);
}

// Opens the popup menu with a right click and hands it to `act`, which closes it.
void withPopupMenu(MainWindow& window, const std::function<void(QMenu*)>& act) {
    whenPopupOpens<QMenu>([act](QMenu* menu) {
        act(menu);
        menu->close();
    });
    QTest::mouseClick(&window, Qt::RightButton, Qt::NoModifier, QPoint(50, 50));
    QCoreApplication::processEvents();  // the chosen command arrives from the event loop
}

// Notes every widget the application shows while it exists.
struct ShowWatcher : QObject {
    bool sawWindow = false;
    ShowWatcher() { qApp->installEventFilter(this); }
    ~ShowWatcher() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show && object->isWidgetType()) sawWindow = true;
        return false;
    }
};

// The about boxes on screen: the splash, and the modal box while it is open.
QList<QWidget*> aboutBoxes() {
    QList<QWidget*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == kAboutBoxObjectName && widget->isVisible())
            boxes.append(widget);
    return boxes;
}

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(file.readAll());
}

}  // namespace

class ViewerTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> work;
    QString previousFolder;

    QString workFile(const char* name) const { return work->filePath(name); }

    void putShippedFiles(std::initializer_list<const char*> names) {
        for (const char* name : names)
            QVERIFY(QFile::copy(QString(TESSARAN_SOURCE_DIR "/data/") + name, workFile(name)));
    }

    void writeSettings(const QString& text) {
        QFile file(workFile(kSettingsFile));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toLatin1());
    }

private Q_SLOTS:
    void initTestCase() { setMessageBoxObserver(recordMessage); }
    void cleanupTestCase() { setMessageBoxObserver(nullptr); }

    // Every test runs in a working folder of its own: the data files are found there first, and
    // the settings are read and written there.
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

    void startUpWithoutCat3ShowsMessageAndNoWindow() {
        putShippedFiles({"catb.bin", "cat1.dat", "cat2.dat"});
        writeSettings("Epoch 1673941\n");
        ShowWatcher watcher;
        QCOMPARE(runViewer(), 0);
        QVERIFY(!watcher.sawWindow);
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(messages[0].first, std::string("The catalog files couldn't be loaded."));
        QCOMPARE(messages[0].second, std::string("Tessaran Stars"));
        QCOMPARE(readText(workFile(kSettingsFile)), QString("Epoch 1673941\n"));
        QVERIFY(!QFile::exists(QString(TESSARAN_BUILD_DIR "/tests/") + kSettingsFile));
    }

    // Page Up from Ursa Minor wraps to Piscis Austrinus and the status line says so; F1 to F3
    // switch the edition under the same view.
    void pageUpWrapsAndFunctionKeysSwitchEditions() {
        putShippedFiles({"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"});
        writeSettings("WindowRect 0 0 1200 700\n");
        int exitCode = runScripted([](MainWindow& window) {
            QVERIFY(currentConstellation()->name == "Ursa Minor");
            QVERIFY(windowShowsStatusLine(window, statusText()));

            pressKey(window, Qt::Key_PageUp);
            std::string status = statusText();
            QVERIFY2(status.rfind("Piscis Austrinus  +View (293, -20, 0, 8.0)  FOV (", 0) == 0,
                     status.c_str());
            QVERIFY(status.find(")   Shift (1.0, -1.0)  ") != std::string::npos);
            QVERIFY(windowShowsStatusLine(window, status));
            pressKey(window, Qt::Key_PageDown);
            QCOMPARE(currentConstellation()->name, std::string("Ursa Minor"));

            std::string names[3];
            for (int slot = 0; slot < 3; ++slot) names[slot] = theApp.catalogs.slots[slot]->name;
            const Qt::Key keys[] = {Qt::Key_F2, Qt::Key_F3, Qt::Key_F1};
            const int slots[] = {1, 2, 0};
            float lonBefore = float(theApp.view.centerLon);
            for (int i = 0; i < 3; ++i) {
                pressKey(window, keys[i]);
                QCOMPARE(theApp.catalogs.current, slots[i]);
                std::string shown = statusText();
                QVERIFY(shown.size() >= names[slots[i]].size() &&
                        shown.compare(shown.size() - names[slots[i]].size(), std::string::npos,
                                      names[slots[i]]) == 0);
                QVERIFY(windowShowsStatusLine(window, shown));
            }
            QCOMPARE(float(theApp.view.centerLon), lonBefore);
        });
        QCOMPARE(exitCode, 0);
    }

    // The popup menu acts through the shell: check marks follow the state, the catalog items carry
    // the editions' names, and chosen items run their commands; Exit closes the program.
    void menuCommandsReachTheShell() {
        putShippedFiles({"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"});
        writeSettings("WindowRect 0 0 900 600\n");
        bool closedByExit = false;
        runScripted([&closedByExit](MainWindow& window) {
            withPopupMenu(window, [](QMenu* menu) {
                QVERIFY(findMenuCommand(menu, 205)->isChecked());
                QVERIFY(!findMenuCommand(menu, 206)->isChecked());
                QVERIFY(findMenuCommand(menu, 301)->isChecked());
                QVERIFY(!findMenuCommand(menu, 302)->isChecked());
                QCOMPARE(findMenuCommand(menu, 402)->text(),
                         "F2  " + QString::fromStdString(theApp.catalogs.slots[1]->name));
                findMenuCommand(menu, 206)->trigger();
            });
            QCOMPARE(theApp.displayFlags & 0x20, 0x20);

            withPopupMenu(window, [](QMenu* menu) {
                QVERIFY(findMenuCommand(menu, 206)->isChecked());
                findMenuCommand(menu, 108)->trigger();  // Lyra
            });
            QCOMPARE(currentConstellation()->name, std::string("Lyra"));

            withPopupMenu(window, [](QMenu* menu) { findMenuCommand(menu, 304)->trigger(); });
            QCOMPARE(theApp.arrowMode, 1);  // Default Shift moves the arrows to the shift
            QVERIFY(windowShowsStatusLine(window, statusText()));

            withPopupMenu(window, [](QMenu* menu) { findMenuCommand(menu, 900)->trigger(); });
            closedByExit = !window.isVisible();
        });
        QVERIFY(closedByExit);
        QVERIFY(readText(workFile(kSettingsFile)).startsWith("WindowRect "));
    }

    // A file that is no edition, chosen in the open-file dialog, is refused with its message and
    // the edition stays.
    void replacingWithABadFileKeepsTheEdition() {
        putShippedFiles({"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"});
        writeSettings("");
        QFile bad(workFile("broken.dat"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("Tessaran catalog:  wrong case\n");
        bad.close();
        std::string before;
        QString dialogTitle;
        runScripted([&](MainWindow& window) {
            before = currentEditionName(theApp.catalogs);
            whenModalOpens<QFileDialog>([&dialogTitle](QFileDialog* dialog) {
                dialogTitle = dialog->windowTitle();
                dialog->selectFile("broken.dat");
                static_cast<QDialog*>(dialog)->accept();
            });
            QTest::keyClick(&window, 'c');
        });
        QCOMPARE(dialogTitle, QString("Load Catalog"));
        QCOMPARE(messages.size(), size_t(1));
        QCOMPARE(messages[0].first, std::string("The new catalog couldn't be loaded."));
        QCOMPARE(messages[0].second, std::string("Tessaran Stars"));
        QCOMPARE(currentEditionName(theApp.catalogs), before);
    }

    // At start-up the about box opens as a five-second splash centred over the window, which keeps
    // the keyboard: a opens the modal box beside it, and so does the menu's About; each closes on
    // its own.
    void splashAtStartUpAndTheAboutCommand() {
        putShippedFiles({"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"});
        writeSettings("WindowRect 40 30 740 530\n");
        runScripted([](MainWindow& window) {
            QList<QWidget*> boxes = aboutBoxes();
            QCOMPARE(boxes.size(), 1);
            QWidget* splash = boxes.front();
            QVERIFY(!splash->isModal());
            QCOMPARE(splash->parentWidget(), &window);
            QTimer* timeout = splash->findChild<QTimer*>();
            QVERIFY(timeout && timeout->isActive());
            QCOMPARE(timeout->interval(), 5000);
            const QSize boxSize(kAboutBoxWidth, kAboutBoxHeight);
            QCOMPARE(splash->frameGeometry().topLeft(),
                     aboutBoxPosition(window.frameGeometry(), boxSize,
                                      window.screen()->availableGeometry()));
            QTRY_COMPARE(QApplication::activeWindow(), &window);

            for (bool fromMenu : {false, true}) {
                int boxesWhileModal = 0;
                whenModalOpens<QDialog>([&boxesWhileModal, fromMenu](QDialog* modal) {
                    if (modal->objectName() != kAboutBoxObjectName) return;
                    boxesWhileModal = aboutBoxes().size();
                    QTest::keyClick(modal, fromMenu ? Qt::Key_Return : Qt::Key_Escape);
                });
                if (fromMenu)
                    withPopupMenu(window,
                                  [](QMenu* menu) { findMenuCommand(menu, 800)->trigger(); });
                else
                    pressKey(window, Qt::Key_A);
                QCOMPARE(boxesWhileModal, 2);
                QTRY_COMPARE(aboutBoxes().size(), 1);
            }
            QVERIFY(splash->isVisible());
        });
    }

    // What one run leaves in the settings file, the next run starts from: the window's place,
    // a constellation's changed view and the epoch.
    void settingsSurviveARestart() {
        putShippedFiles({"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"});
        writeSettings("WindowRect 10 20 810 620\nEpoch 1673941\n");
        ScreenRect closedAt{};
        runScripted([&closedAt](MainWindow& window) {
            QCOMPARE(window.frameGeometry(), QRect(10, 20, 800, 600));
            pressKey(window, Qt::Key_PageDown);  // Ursa Major: 116, 38
            pressKey(window, Qt::Key_Left, Qt::ShiftModifier);  // 10 degrees
            pressKey(window, Qt::Key_Up);
            pressKey(window, Qt::Key_Period);  // zoom in
            window.move(30, 40);
            QTest::qWait(20);
            closedAt = window.outerRect();
            pressKey(window, Qt::Key_Escape);
        });
        QString saved = readText(workFile(kSettingsFile));
        QVERIFY2(saved.startsWith(QString("WindowRect %1 %2 %3 %4\n")
                                      .arg(closedAt.left).arg(closedAt.top)
                                      .arg(closedAt.right).arg(closedAt.bottom)), qPrintable(saved));
        QVERIFY(saved.contains("Epoch 1673941.000000\n"));
        QVERIFY2(saved.contains("\n   126.0  39.0   0.0   6.0   1.1   0.4\n"), qPrintable(saved));

        resetAppState();
        runScripted([closedAt](MainWindow& window) {
            QCOMPARE(window.frameGeometry(),
                     QRect(closedAt.left, closedAt.top, closedAt.right - closedAt.left,
                           closedAt.bottom - closedAt.top));
            QCOMPARE(theApp.epoch.epoch, 1673941.0);
            pressKey(window, Qt::Key_PageDown);
            std::string status = statusText();
            QVERIFY2(status.rfind("Ursa Major  +View (126, 39, 0, 6.0)", 0) == 0, status.c_str());
            QVERIFY(windowShowsStatusLine(window, status));
        });
    }
};

QTEST_MAIN(ViewerTest)
#include "viewer_test.moc"
