// The window's share of the platform services: repainting, drawing on the window's surface,
// keyboard and cursor state, the screen's work area, the popup menu and closing. They act on the
// one main window and do nothing while there is none.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>

#include "app/platform_services.h"
#include "platform/drawing.h"
#include "platform/menu.h"
#include "platform/sky_picture.h"
#include "platform/window.h"

void platformRepaint() {
    MainWindow* window = mainWindow();
    if (!window || window->painting()) return;
    window->renderSurface();
    window->repaint();
}

double platformDevicePixelRatio() {
    if (MainWindow* window = mainWindow()) return window->surfaceRatio();
    return qApp ? qApp->devicePixelRatio() : 1.0;
}

void platformPresentFrame(const FrameBuffer& frame) {
    MainWindow* window = mainWindow();
    if (!window) return;
    blitFrame(frame, window->surface());
    window->surfaceChanged(QRect(0, 0, frame.width, frame.height));
}

// Text is drawn at the ratio of the window's surface (1 while there is no window).
static double surfaceRatio() {
    MainWindow* window = mainWindow();
    return window ? window->surfaceRatio() : 1.0;
}

void platformMeasureText(const char* text, int& width, int& height) {
    QSize size = measureLabelText(textFromCodePage(text), surfaceRatio());
    width = size.width();
    height = size.height();
}

void platformDrawText(int x, int y, const char* text, Color color, bool opaqueBlackBackground) {
    MainWindow* window = mainWindow();
    if (!window) return;
    QRect drawn = drawLabelText(window->surface(), x, y, textFromCodePage(text), color,
                                opaqueBlackBackground, window->surfaceRatio());
    // Glyphs may reach a pixel or two past their advance.
    window->surfaceChanged(drawn.adjusted(-2, -2, 2, 2));
}

static Qt::KeyboardModifiers modifiersNow() {
    MainWindow* window = mainWindow();
    return window ? window->keyboardModifiers() : QGuiApplication::queryKeyboardModifiers();
}

bool platformShiftDown() { return modifiersNow().testFlag(Qt::ShiftModifier); }

bool platformControlDown() { return modifiersNow().testFlag(Qt::ControlModifier); }

bool platformCursorPos(int& x, int& y) {
    MainWindow* window = mainWindow();
    if (!window) return false;
    QPoint point = window->mapFromGlobal(QCursor::pos());
    x = point.x();
    y = point.y();
    return true;
}

ScreenRect platformWorkArea() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return ScreenRect{0, 0, 0, 0};
    QRect area = screen->availableGeometry();
    return ScreenRect{area.left(), area.top(), area.left() + area.width(), area.top() + area.height()};
}

void platformSetMenuCheck(int command, bool checked) {
    MainWindow* window = mainWindow();
    if (QAction* action = findMenuCommand(window ? window->popupMenu() : nullptr, command)) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
}

void platformSetMenuText(int command, const char* text) {
    MainWindow* window = mainWindow();
    setMenuItemText(findMenuCommand(window ? window->popupMenu() : nullptr, command), text);
}

void platformTrackPopupMenu(int clientX, int clientY) {
    MainWindow* window = mainWindow();
    if (!window || !window->popupMenu()) return;
    window->popupMenu()->exec(window->mapToGlobal(QPoint(clientX, clientY)));
}

bool platformSavePicture(const RenderRequest& request, ColorTable& colors,
                         const StarColors& starColors, const std::string& path) {
    return writePictureFile(drawSkyPicture(request, colors, starColors),
                            QString::fromLocal8Bit(path.c_str()));
}

void platformSetWindowTitle(const char* title) {
    if (MainWindow* window = mainWindow()) window->setWindowTitle(textFromCodePage(title));
}

void platformCloseMainWindow() {
    if (MainWindow* window = mainWindow()) window->close();
}
