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
