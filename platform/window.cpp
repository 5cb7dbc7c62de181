#include "platform/window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include "app/shell.h"
#include "platform/drawing.h"
#include "platform/keyboard.h"
#include "platform/menu.h"

static MainWindow* theMainWindow = nullptr;

MainWindow* mainWindow() { return theMainWindow; }

MainWindow::MainWindow(const WindowHandlers& handlers, CloseAction onClose)
    : handlers_(handlers), onClose_(onClose) {
    theMainWindow = this;
    setWindowTitle(QString::fromLatin1(kProgramCaption));
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    // The backing image covers the whole client area: nothing is erased before a paint.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    popupMenu_ = buildPopupMenu(this, [this](int command) { handlers_.command(command); });
    handlers_.create();
}

MainWindow::~MainWindow() {
    if (theMainWindow == this) theMainWindow = nullptr;
}

void MainWindow::renderSurface() {
    if (painting_ || surface_.isNull()) return;
    painting_ = true;
    handlers_.paint();
    painting_ = false;
}

void MainWindow::surfaceChanged(const QRect& area) {
    // During a paint the repaint that ends it shows everything.
    if (!painting_) update(area);
}

Qt::KeyboardModifiers MainWindow::keyboardModifiers() const {
    return inKeyEvent_ ? keyEventModifiers_ : QGuiApplication::queryKeyboardModifiers();
}

ScreenRect MainWindow::outerRect() const {
    QRect frame = frameGeometry();
    return ScreenRect{frame.left(), frame.top(), frame.left() + frame.width(),
                      frame.top() + frame.height()};
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QSize size = event->size();
    surface_ = QImage(size, kSurfaceFormat);
    surface_.fill(Qt::black);
    handlers_.size(size.width(), size.height());
    renderSurface();
    update();
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    QRect area = event->rect();
    painter.drawImage(area, surface_, area);
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    // The handlers read the Shift and Control state of this very key press.
    inKeyEvent_ = true;
    keyEventModifiers_ = event->modifiers();
    if (int virtualKey = virtualKeyFor(event->key())) {
        handlers_.keyDown(virtualKey);
    } else {
        for (int code : typedCharacters(event->key(), event->modifiers(), event->text()))
            handlers_.character(code);
    }
    inKeyEvent_ = false;
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    QPoint point = event->position().toPoint();
    // While a button is held Qt goes on reporting the mouse outside the window; the window
    // only takes moves over its client area.
    if (rect().contains(point)) handlers_.mouseMove(point.x(), point.y());
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton) handlers_.leftButtonDown(point.x(), point.y());
    else if (event->button() == Qt::RightButton) handlers_.rightButtonDown(point.x(), point.y());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    if (destroyed_) return;
    destroyed_ = true;
    handlers_.destroy(outerRect());
    if (onClose_ == CloseAction::QuitApplication) QCoreApplication::quit();
}

void placeWindowAt(QWidget& window, const ScreenRect& rect) {
    QSize frameExtra = window.frameGeometry().size() - window.size();
    window.move(rect.left, rect.top);
    window.resize(rect.right - rect.left - frameExtra.width(),
                  rect.bottom - rect.top - frameExtra.height());
}
