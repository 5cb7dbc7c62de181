// The viewer's run, between creating the Qt application and leaving the program: start-up through
// the shell (settings and catalogues, before any window), then the main window at the saved
// rectangle and the event loop until the window closes. The program entry calls it; the Qt tests
// run it whole in their own working folders.
#pragma once

// Returns the exit code: 0, also when start-up failed and no window was opened.
int runViewer();
