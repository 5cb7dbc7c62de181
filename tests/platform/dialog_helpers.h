// Acting on the next modal dialog or popup menu of a type once it is on screen, the way a person
// would answer it, while the code under test waits in its event loop (for about five seconds).
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

template <typename T>
void whenOpens(QWidget* (*current)(), std::function<void(T*)> act, int triesLeft = 500) {
    if (T* widget = qobject_cast<T*>(current())) return act(widget);
    if (triesLeft > 0) QTimer::singleShot(10, [=] { whenOpens(current, act, triesLeft - 1); });
}
template <typename T>
void whenModalOpens(std::function<void(T*)> act) {
    whenOpens(QApplication::activeModalWidget, act);
}
template <typename T>
void whenPopupOpens(std::function<void(T*)> act) {
    whenOpens(QApplication::activePopupWidget, act);
}
