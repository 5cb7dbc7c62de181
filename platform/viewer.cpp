#include "platform/viewer.h"

#include <QApplication>

#include <clocale>

#include "app/shell.h"
#include "platform/about_box.h"
#include "platform/pictures.h"
#include "platform/printing.h"
#include "platform/window.h"

// The about box opens as a splash over the new window and closes itself after this long.
constexpr int kSplashTimeoutMs = 5000;

int runViewer() {
    // The application object has taken the user's locale for every category, but the settings
    // file, the epoch and offset texts and the status line write and read numbers with a decimal
    // point in every language.
    std::setlocale(LC_NUMERIC, "C");
    // The icon of every window, the start-up failure's message box included.
    QApplication::setWindowIcon(programIcon());
    if (!shellStart()) return 0;
    MainWindow window(shellHandlers(), CloseAction::QuitApplication);
    ScreenRect rect = shellWindowRect();
    placeWindowAt(window, rect);
    window.show();
    placeWindowAt(window, rect);
    openAboutBox(&window, kSplashTimeoutMs);
    int exitCode = QApplication::exec();
    releasePrintSetup();
    return exitCode;
}
