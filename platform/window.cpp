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
#include <cmath>

#include "app/shell.h"
#include "app/state.h"
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
    if (painting_) return;
    // The window pixels covering the changed device pixels.
    QRectF covered(area.x() / surfaceRatio_, area.y() / surfaceRatio_,
                   area.width() / surfaceRatio_, area.height() / surfaceRatio_);
    update(covered.toAlignedRect());
}

Qt::KeyboardModifiers MainWindow::keyboardModifiers() const {
    return inKeyEvent_ ? keyEventModifiers_ : QGuiApplication::queryKeyboardModifiers();
}

ScreenRect MainWindow::outerRect() const {
    QRect frame = frameGeometry();
    return ScreenRect{frame.left(), frame.top(), frame.left() + frame.width(),
                      frame.top() + frame.height()};
}

void MainWindow::resizeSurface(const QSize& size) {
    shownRatio_ = devicePixelRatioF();
    surfaceRatio_ = usableDevicePixelRatio(shownRatio_);
    // The shell's frame has the same size: the window pixels times the ratio, rounded.
    QSize device(deviceLengthAt(size.width(), surfaceRatio_),
                 deviceLengthAt(size.height(), surfaceRatio_));
    surface_ = QImage(device, kSurfaceFormat);
    surface_.fill(Qt::black);
    handlers_.size(size.width(), size.height());
    renderSurface();
    update();
}

void MainWindow::resizeEvent(QResizeEvent* event) { resizeSurface(event->size()); }

void MainWindow::paintEvent(QPaintEvent* event) {
    // Moved to a screen of another ratio: the same window pixels, other device pixels.
    if (devicePixelRatioF() != shownRatio_) resizeSurface(size());
    QPainter painter(this);
    // The surface's device pixels land one for one on the screen's.
    QRectF area = event->rect();
    QRectF source(area.x() * surfaceRatio_, area.y() * surfaceRatio_,
                  area.width() * surfaceRatio_, area.height() * surfaceRatio_);
    painter.drawImage(area, surface_, source);
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

// The window pixel under the mouse: the shell finds the device pixel under its middle.
static QPoint windowPixel(const QPointF& position) {
    return QPoint(int(std::floor(position.x())), int(std::floor(position.y())));
}

void MainWindow::mouseMoveEvent(QMouseEvent* event) {
    QPoint point = windowPixel(event->position());
    // While a button is held Qt goes on reporting the mouse outside the window; the window
    // only takes moves over its client area.
    if (rect().contains(point)) handlers_.mouseMove(point.x(), point.y());
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    QPoint point = windowPixel(event->position());
    if (event->button() == Qt::LeftButton) handlers_.leftButtonDown(point.x(), point.y());
    else if (event->button() == Qt::RightButton) handlers_.rightButtonDown(point.x(), point.y());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!destroyed_ && handlers_.queryClose && !handlers_.queryClose()) {
        event->ignore();
        return;
    }
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
