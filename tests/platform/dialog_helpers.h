// Bounded waits for the Qt tests: waiting for a condition, and answering the next modal dialog or
// popup menu the way a person would, while the code under test waits in its event loop. Every
// wait ends at a deadline and fails the test with a message naming what it waited for; a dialog
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

// Runs the event loop until `condition` holds; false when the deadline passed first.
inline bool waitUntil(const std::function<bool()>& condition, int deadlineMs = kWaitDeadlineMs) {
    QDeadlineTimer deadline(deadlineMs);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QTest::qWait(5);
    }
    return true;
}
#define WAIT_FOR(condition, what) \
    QVERIFY2(waitUntil([&] { return bool(condition); }), "timed out waiting for " what)

// The viewer's event loop, ended with a failure should the program not end by the deadline.
constexpr int kViewerDeadlineMs = 60000;  // printing a page takes a while on a busy machine
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

namespace answering {

inline void fail(const std::string& message) {
    QTest::qFail(message.c_str(), __FILE__, __LINE__);
}

// Polls for the widget, acts once it is shown and ready, then watches that it closes.
template <typename T>
void poll(QWidget* (*current)(), std::string what, std::function<bool(T*)> ready,
          std::function<void(T*)> act, QDeadlineTimer deadline) {
    T* widget = qobject_cast<T*>(current());
    if (widget && (!ready || ready(widget))) {
        act(widget);
        QPointer<T> answered(widget);
        QTimer::singleShot(kWaitDeadlineMs, widget, [answered, what] {
            if (!answered || !answered->isVisible()) return;
            fail("the " + what + " stayed open after it was answered");
            answered->close();
        });
        return;
    }
    if (deadline.hasExpired()) {
        fail("timed out waiting for the " + what + (widget ? " to be ready" : " to open"));
        if (widget) widget->close();
        return;
    }
    QTimer::singleShot(5, [=] { poll(current, what, ready, act, deadline); });
}

}  // namespace answering

// Acts on the next modal dialog of type T once it is shown and `ready` (when given) holds.
template <typename T>
void whenModalOpens(const char* what, std::function<void(T*)> act,
                    std::function<bool(T*)> ready = nullptr) {
    answering::poll<T>(QApplication::activeModalWidget, what, ready, act,
                       QDeadlineTimer(kWaitDeadlineMs));
}
template <typename T>
void whenPopupOpens(const char* what, std::function<void(T*)> act) {
    answering::poll<T>(QApplication::activePopupWidget, what, nullptr, act,
                       QDeadlineTimer(kWaitDeadlineMs));
}
