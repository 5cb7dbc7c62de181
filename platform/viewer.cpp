#include "platform/viewer.h"

#include <QApplication>

#include "app/shell.h"
#include "platform/printing.h"
#include "platform/window.h"

int runViewer() {
    if (!shellStart()) return 0;
    MainWindow window(shellHandlers(), CloseAction::QuitApplication);
    ScreenRect rect = shellWindowRect();
    placeWindowAt(window, rect);
    window.show();
    placeWindowAt(window, rect);
    int exitCode = QApplication::exec();
    releasePrintSetup();
    return exitCode;
}
