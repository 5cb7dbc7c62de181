// Bounded waits for the Qt tests: for a condition, for the viewer to end, and for the next modal
// dialog or popup menu, answered as a person would while the code under test waits in its event
// loop. Every wait ends at a deadline and fails the test naming what it waited for; a dialog
// that does not close when answered is closed, so that the test fails instead of hanging.
#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <string>

#include "platform/viewer.h"

constexpr int kWaitDeadlineMs = 5000;
constexpr int kViewerDeadlineMs = 60000;  // printing a page takes a while on a busy machine

inline bool waitUntil(const std::function<bool()>& condition) {
    QDeadlineTimer deadline(kWaitDeadlineMs);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QTest::qWait(5);
    }
    return true;
}
#define WAIT_FOR(condition, what) \
    QVERIFY2(waitUntil([&] { return bool(condition); }), "timed out waiting for " what)

inline int runViewerBounded() {
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [] {
        QTest::qFail("timed out waiting for the viewer to end", __FILE__, __LINE__);
        QCoreApplication::exit(1);
    });
    deadline.start(kViewerDeadlineMs);
    return runViewer();
}

// Polls for the widget, acts once it is shown and ready, then watches that it closes.
template <typename T>
void answerWhenOpen(QWidget* (*current)(), std::string what, std::function<bool(T*)> ready,
                    std::function<void(T*)> act, QDeadlineTimer deadline) {
    auto fail = [](const std::string& message) {
        QTest::qFail(message.c_str(), __FILE__, __LINE__);
    };
    T* widget = qobject_cast<T*>(current());
    if (widget && (!ready || ready(widget))) {
        act(widget);
        QTimer::singleShot(kWaitDeadlineMs, widget, [answered = QPointer<T>(widget), what, fail] {
            if (!answered || !answered->isVisible()) return;
            fail("the " + what + " stayed open after it was answered");
            answered->close();
        });
    } else if (deadline.hasExpired()) {
        fail("timed out waiting for the " + what + (widget ? " to be ready" : " to open"));
        if (widget) widget->close();
    } else {
        QTimer::singleShot(5, [=] { answerWhenOpen(current, what, ready, act, deadline); });
    }
}

// Acts on the next modal dialog of type T once it is shown and `ready` (when given) holds.
template <typename T>
void whenModalOpens(const char* what, std::function<void(T*)> act,
                    std::function<bool(T*)> ready = nullptr) {
    answerWhenOpen<T>(QApplication::activeModalWidget, what, ready, act, QDeadlineTimer(kWaitDeadlineMs));
}
template <typename T>
void whenPopupOpens(const char* what, std::function<void(T*)> act) {
    answerWhenOpen<T>(QApplication::activePopupWidget, what, nullptr, act, QDeadlineTimer(kWaitDeadlineMs));
}

// ---- Sessions of the whole viewer on the shipped data ----

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>

#include "app/platform_services.h"
#include "platform/window.h"

// A working folder of the test's own, current while the object lives: the shipped catalogues and
// an empty maridon.cfg, so that the viewer started there reads default settings and keeps what
// it writes away from every other test.
class ShippedDataFolder {
public:
    ShippedDataFolder() : previous_(QDir::currentPath()) {
        ready_ = QDir::setCurrent(dir_.path());
        for (const char* name : {"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"})
            ready_ = ready_ &&
                     QFile::copy(QString(TESSARAN_SOURCE_DIR "/data/") + name, path(name));
        QFile settings(path("maridon.cfg"));
        ready_ = ready_ && settings.open(QIODevice::WriteOnly);
    }
    ~ShippedDataFolder() { QDir::setCurrent(previous_); }
    bool ready() const { return ready_; }
    QString path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previous_;
    bool ready_ = false;
};

// Answers the next file dialog as a person would: `path` typed into its name field once the
// dialog is active, then accepted.
inline void answerFileDialog(const QString& path) {
    whenModalOpens<QFileDialog>(
        "file dialog",
        [path](QFileDialog* dialog) {
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            static_cast<QDialog*>(dialog)->accept();
        },
        [](QFileDialog* dialog) { return dialog->isActiveWindow(); });
}

// Runs the viewer, calls `session` once its main window is shown and closes the window after it
// unless the session did; the viewer's exit status comes back.
inline int runViewerSession(const std::function<void(MainWindow*)>& session) {
    QTimer::singleShot(0, [&] {
        MainWindow* window = mainWindow();
        if (window && QTest::qWaitForWindowExposed(window)) session(window);
        if (mainWindow() && mainWindow()->isVisible()) platformCloseMainWindow();
    });
    return runViewerBounded();
}

// Answers the next question box by pressing the button labelled `label`, or with Escape when
// there is no label.
inline void answerQuestion(const char* label) {
    whenModalOpens<QMessageBox>("question box", [label](QMessageBox* box) {
        for (QAbstractButton* button : box->buttons())
            if (label && button->text() == label) return button->click();
        QTest::keyClick(box, Qt::Key_Escape);
    });
}
