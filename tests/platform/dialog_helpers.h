// Bounded waits for the Qt tests: for a condition, for the viewer to end, and for the next modal
// dialog or popup menu, answered as a person would while the code under test waits in its event
// loop. Every wait ends at a deadline and fails the test naming what it waited for; a dialog
// that does not close when answered is closed, so that the test fails instead of hanging.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <string>

#include "app/platform_services.h"
#include "platform/viewer.h"
#include "platform/window.h"

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

// Acts on the next modal dialog of type T (or, given activePopupWidget, popup) once it is shown
// and `ready` (when given) holds, polling until the deadline; then watches that it closes.
template <typename T>
void whenOpens(std::string what, std::function<void(T*)> act,
               std::function<bool(T*)> ready = nullptr,
               QWidget* (*current)() = QApplication::activeModalWidget,
               QDeadlineTimer deadline = QDeadlineTimer(kWaitDeadlineMs)) {
    T* widget = qobject_cast<T*>(current());
    if (widget && (!ready || ready(widget))) {
        act(widget);
        QTimer::singleShot(kWaitDeadlineMs, widget, [answered = QPointer<T>(widget), what] {
            if (!answered || !answered->isVisible()) return;
            QTest::qFail(("the " + what + " stayed open after it was answered").c_str(), __FILE__,
                         __LINE__);
            answered->close();
        });
    } else if (deadline.hasExpired()) {
        what = "timed out waiting for the " + what + (widget ? " to be ready" : " to open");
        QTest::qFail(what.c_str(), __FILE__, __LINE__);
        if (widget) widget->close();
    } else {
        QTimer::singleShot(5, [=] { whenOpens<T>(what, act, ready, current, deadline); });
    }
}

// Answers the next file dialog as a person would: `path` typed into its name field once the
// dialog is active, then accepted.
inline void answerFileDialog(const QString& path, QString* titleAndFilters = nullptr) {
    whenOpens<QFileDialog>(
        "file dialog",
        [path, titleAndFilters](QFileDialog* dialog) {
            if (titleAndFilters)
                *titleAndFilters = dialog->windowTitle() + " " + dialog->nameFilters().join(' ');
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
            static_cast<QDialog*>(dialog)->accept();
        },
        [](QFileDialog* dialog) { return dialog->isActiveWindow(); });
}

// Answers the next question box by pressing the button labelled `label`, or with Escape when
// there is no label.
inline void answerQuestion(const char* label) {
    whenOpens<QMessageBox>("question box", [label](QMessageBox* box) {
        for (QAbstractButton* button : box->buttons())
            if (label && button->text() == label) return button->click();
        QTest::keyClick(box, Qt::Key_Escape);
    });
}

// ---- Sessions of the whole viewer on the shipped data ----

// A working folder of the test's own, current while the object lives: the shipped catalogues and
// maridon.cfg holding `settings`, so that the viewer started there reads those settings and keeps
// what it writes away from every other test.
class ShippedDataFolder {
public:
    explicit ShippedDataFolder(const char* settings = "") : previous_(QDir::currentPath()) {
        ready_ = QDir::setCurrent(dir_.path());
        for (const char* name : {"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"})
            ready_ = ready_ &&
                     QFile::copy(QString(TESSARAN_SOURCE_DIR "/data/") + name, path(name));
        QFile file(path("maridon.cfg"));
        ready_ = ready_ && file.open(QIODevice::WriteOnly) && file.write(settings) >= 0;
    }
    ~ShippedDataFolder() { QDir::setCurrent(previous_); }
    bool ready() const { return ready_; }
    QString path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
    QString previous_;
    bool ready_ = false;
};

// Runs the viewer, calls `session` once its main window is shown and closes the window after it
// unless the session did; the viewer must end within its deadline, with exit status 0.
inline void runViewerSession(const std::function<void(MainWindow*)>& session) {
    QTimer::singleShot(0, [&] {
        MainWindow* window = mainWindow();
        if (window && QTest::qWaitForWindowExposed(window)) session(window);
        else QTest::qFail("timed out waiting for the main window", __FILE__, __LINE__);
        if (mainWindow() && mainWindow()->isVisible()) platformCloseMainWindow();
    });
    QObject run;  // the deadline's timer ends with it
    QTimer::singleShot(kViewerDeadlineMs, &run, [] {
        QTest::qFail("timed out waiting for the viewer to end", __FILE__, __LINE__);
        QCoreApplication::exit(1);
    });
    QCOMPARE(runViewer(), 0);
}
