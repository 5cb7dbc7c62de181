// The program entry: start-up through the shell (settings and catalogues, before any window),
// then the main window at the saved rectangle and the event loop. No command line is read.
#include <QApplication>

#include "app/shell.h"
#include "platform/window.h"

int main(int argc, char** argv) {
    // Qt is handed the program name only, so that no option reaches it either.
    char programName[] = "tessaran-stars";
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : programName, nullptr};
    int qtArgc = 1;
    QApplication application(qtArgc, qtArgv);

    if (!shellStart()) return 0;

    MainWindow window(shellHandlers(), CloseAction::QuitApplication);
    ScreenRect rect = shellWindowRect();
    placeWindowAt(window, rect);
    window.show();
    placeWindowAt(window, rect);
    return application.exec();
}
