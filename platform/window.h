// The main window: one top-level Qt widget whose events become calls of the shell's handlers, and
// the backing image that is its drawing surface. The platform services draw into that image (the
// frame blit, text) and the widget's paint event only copies it to the screen. The image has the
// client area's size in device pixels, so on a screen of 200 % it is drawn twice as finely rather
// than doubled; the events and their points stay in window pixels. The program entry
// creates the one window with the shell's handlers; the Qt tests create it with recording ones.
#pragma once

#include <QImage>
#include <QWidget>

#include "app/platform_services.h"

class QMenu;

// The handlers the window calls, one per window message. shellHandlers() are the real ones.
struct WindowHandlers {
    void (*create)();
    void (*size)(int width, int height);
    void (*paint)();
    void (*keyDown)(int virtualKey);
    void (*character)(int code);
    void (*command)(int command);
    void (*mouseMove)(int x, int y);
    void (*leftButtonDown)(int x, int y);
    void (*rightButtonDown)(int x, int y);
    void (*destroy)(const ScreenRect& outerRect);
    bool (*queryClose)();  // may the window close? nullptr: always
};

WindowHandlers shellHandlers();

enum class CloseAction { QuitApplication, StayInLoop };

class MainWindow : public QWidget {
public:
    // Builds the popup menu and runs the create handler; the size handler follows when the
    // window is first shown. `onClose` says whether closing ends the application's event loop
    // (the program) or not (tests, which go on using the event loop).
    MainWindow(const WindowHandlers& handlers, CloseAction onClose);
    ~MainWindow() override;

    // Runs the paint handler into the backing image; the screen is updated by the caller.
    void renderSurface();
    QImage& surface() { return surface_; }
    // After drawing into the surface outside a paint: show the changed rectangle (device pixels).
    void surfaceChanged(const QRect& area);
    // Device pixels per window pixel, as the surface was last made (the screen's, where the shell
    // can draw at it).
    double surfaceRatio() const { return surfaceRatio_; }
    bool painting() const { return painting_; }

    QMenu* popupMenu() const { return popupMenu_; }
    // A command from another of the program's windows, as if chosen in the popup menu.
    void runCommand(int command) { handlers_.command(command); }
    // The Shift/Control state: that of the key event being handled, else the keyboard's now.
    Qt::KeyboardModifiers keyboardModifiers() const;
    // The outer rectangle in screen pixels, right and bottom exclusive.
    ScreenRect outerRect() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    WindowHandlers handlers_;
    CloseAction onClose_;
    QImage surface_;
    double surfaceRatio_ = 1;
    double shownRatio_ = 1;  // the screen's ratio when the surface was made
    // Makes the surface for the client size and the current ratio, and tells the shell.
    void resizeSurface(const QSize& size);
    QMenu* popupMenu_ = nullptr;
    bool painting_ = false;
    bool destroyed_ = false;
    bool inKeyEvent_ = false;
    Qt::KeyboardModifiers keyEventModifiers_;
};

// The one main window, or nullptr when there is none.
MainWindow* mainWindow();

// Places a top-level window so that its outer rectangle (frame included) is `rect`, taken as it
// is. The frame margins are known only once the window is shown, so the program entry calls this
// before show() (the client area then takes the whole rectangle) and again after it.
void placeWindowAt(QWidget& window, const ScreenRect& rect);
