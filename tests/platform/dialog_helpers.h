// Qt test helpers: act on the next modal dialog or popup menu of a type once it is on screen,
// the way a person would answer it, while the code under test waits in the dialog's event loop.
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace detail {
inline void pollFor(std::function<QWidget*()> find, std::function<void(QWidget*)> act, int triesLeft) {
    if (QWidget* widget = find()) {
        act(widget);
        return;
    }
    if (triesLeft > 0)
        QTimer::singleShot(10, [=] { pollFor(find, act, triesLeft - 1); });
}
}  // namespace detail

// Calls `act` with the next modal dialog of type T that opens (within about five seconds).
template <typename T>
void whenModalOpens(std::function<void(T*)> act) {
    detail::pollFor([] { return qobject_cast<T*>(QApplication::activeModalWidget()); },
                    [act](QWidget* w) { act(static_cast<T*>(w)); }, 500);
}

// Calls `act` with the next popup (a menu) that opens.
template <typename T>
void whenPopupOpens(std::function<void(T*)> act) {
    detail::pollFor([] { return qobject_cast<T*>(QApplication::activePopupWidget()); },
                    [act](QWidget* w) { act(static_cast<T*>(w)); }, 500);
}
