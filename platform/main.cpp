// The program entry: the Qt application, then the viewer's run. No command line is read.
#include <QApplication>

#include "platform/viewer.h"

int main(int argc, char** argv) {
    // Qt is handed the program name only, so that no option reaches it either.
    char programName[] = "tessaran-stars";
    char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : programName, nullptr};
    int qtArgc = 1;
    QApplication application(qtArgc, qtArgv);
    return runViewer();
}
