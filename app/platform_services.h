// The services the shell asks of the platform, declared here by the shell that calls them:
// repainting, the frame blit and text in the label font, keyboard and cursor state, the screen's
// work area, message boxes, the popup menu, the colour and file choosers, the browser, the about
// box, closing the window, printing, the nearest-stars and Statistics windows, the epoch dialog,
// saving a picture of the view and the Find dialog. No Qt here.
// The Qt adapter in platform/ implements these functions for the viewer; the tests, benchmarks
// and fuzz targets link the recording fake in tests/support/ instead.
#pragma once

#include <string>
#include <vector>

#include "render/colors.h"
#include "render/frame.h"
#include "render/page_surface.h"

struct EpochSetting;
struct RenderRequest;

struct ScreenRect {
    int left, top, right, bottom;
};

// Invalidates the whole client area and paints it at once: the shell's paint handler has run when
// this returns.
void platformRepaint();

// Device pixels per pixel of the main window: 1 on an ordinary screen, 2 at 200 % (fractions
// too). Window events, the cursor and screen rectangles are in window pixels; the surface below is
// in device pixels. When the ratio changes the window calls the size handler again.
double platformDevicePixelRatio();

// Drawing on the window's current surface (the frame being painted, or the window itself between
// paints, e.g. the cursor coordinates on a mouse move), in device pixels. Text is single-byte
// Western code page (0xBA is the degree mark) in the 9-point label font grown by the device pixel
// ratio; (x, y) is the text's top-left corner and the sizes measured are device pixels too.
void platformPresentFrame(const FrameBuffer& frame);
void platformMeasureText(const char* text, int& width, int& height);
void platformDrawText(int x, int y, const char* text, Color color, bool opaqueBlackBackground);

bool platformShiftDown();
bool platformControlDown();
// The cursor in client coordinates; false when it cannot be read.
bool platformCursorPos(int& x, int& y);
ScreenRect platformWorkArea();

// A message box with an OK button and no owner window.
void platformMessageBox(const char* text, const char* caption);

// The popup menu built from the table in resources/: set check marks and texts, then open it with
// its top-left corner at a client point. A chosen item comes back through the command handler.
void platformSetMenuCheck(int command, bool checked);
void platformSetMenuText(int command, const char* text);
void platformTrackPopupMenu(int clientX, int clientY);

// The colour chooser, full dialog open, starting at `initial`, with the run's 16 custom colours
// (which it may change); true when the user confirmed a colour.
bool platformChooseColor(Color initial, Color customColors[16], Color& chosen);
// The open-file dialog: title, file-name pattern (e.g. "*.dat"), initial directory (empty for
// the platform's choice); true when a file was chosen, its full path in `path`. The working
// directory is left as it was.
bool platformChooseFile(const char* title, const char* pattern, const std::string& initialDir,
                        std::string& path);
// The save-file dialog for files of the filter (e.g. "PNG pictures (*.png)"; its pattern's suffix
// is added to a name typed without one), starting with the suggested file name in the folder of
// the last file saved; true when a file was chosen, its full path in `path`. It does not ask
// about replacing an existing file: the shell does.
bool platformChooseSaveFile(const char* title, const char* filter, const char* suggestedName,
                            std::string& path);
// A question over the main window with the given buttons, left to right; the index of the one
// pressed. Escape and closing the box answer the last.
int platformQuestionBox(const char* text, const char* caption,
                        const std::vector<std::string>& buttons);
// The main window's title.
void platformSetWindowTitle(const char* title);
// Draws the request's view as the window shows it, star numbers included and the status line
// left out, at the view's size in device pixels, into a PNG file at `path`. The file is written
// whole or not at all: nothing of a failed write is left behind. False when it failed.
bool platformSavePicture(const RenderRequest& request, ColorTable& colors,
                         const StarColors& starColors, const std::string& path);
// Shows a document (the user guide) in the user's browser; false when that failed.
bool platformOpenDocument(const std::string& path);
// Asks the main window to close; it then goes through the destroy handler.
void platformCloseMainWindow();
// The about box over the main window: timeoutMs <= 0 modal, returning when it has been closed;
// above 0 modeless, returning at once, the box closing itself after that many milliseconds.
void platformShowAboutBox(int timeoutMs);

// Printing. The printer's page as the print dialog leaves it: the printable area in printer
// pixels, the resolution in dots per inch and the number of copies asked for.
struct PrinterPage {
    int width, height;
    int dotsPerInchX, dotsPerInchY;
    int copies;
};
// The print dialog, owned by the main window, with one copy preset, no selection and no page
// ranges, printing to a PDF file offered; the printer, paper and orientation chosen last time in
// the run are offered again. False when cancelled.
bool platformPrintDialog(PrinterPage& page);
// The document on the printer of the last dialog. Drawing goes through `surface` from a
// successful start until the document is ended or aborted; every started document is ended or
// aborted, which also releases the printer's drawing.
bool platformStartDocument(const char* name, PageSurface& surface);
bool platformStartPage();
bool platformEndPage();
bool platformEndDocument();
void platformAbortDocument();  // nothing of the document is printed or kept
// The modeless dialog shown while printing: caption, text and a Cancel button; Cancel, Enter,
// Escape and closing it call onCancel(context).
void platformOpenCancelDialog(const char* caption, const char* text, void (*onCancel)(void*),
                              void* context);
void platformCloseCancelDialog();
// Handles the events waiting for the program's windows, so that they stay responsive (and the
// cancel dialog can be used) while a long drawing runs.
void platformProcessEvents();
void platformEnableMainWindow(bool enabled);

// The nearest-stars window: modeless, owned by the main window, a fixed-pitch list under the title
// and a Close button. Show opens it, or reuses the open one, with the title and the list
// (single-byte text, lines ended by "\r\n"), puts it next to the main window's client point
// (clickX, clickY) and gives its Close button the focus. The user closes it (Close, Escape);
// setting the title of a closed window does nothing.
void platformNearestStarsShow(const char* title, const char* text, int clickX, int clickY);
bool platformNearestStarsIsOpen();
void platformNearestStarsSetTitle(const char* title);
// The actions the list's context menu offers beside copying, in order (none when empty); the
// action at index i hands the command CmdIdentifyFirst + i to the command handler.
void platformNearestStarsSetChoices(const std::vector<std::string>& choices);

// The modal "Set Epoch" dialog over the main window, opened on `setting`: true with the new
// setting in it when closed with OK; false, `setting` untouched, on Cancel.
bool platformEpochDialog(EpochSetting& setting);

// What the Statistics window shows. The summary is fixed-pitch text, lines ended by "\n".
struct PlotPoint {
    double x, y;
};
struct StatisticsContent {
    std::string title;
    std::string summary;
    // The residual scatter: longitude residual times cos(latitude) across, latitude residual up,
    // minutes of arc, within +-scatterHalfWidth on both axes (points beyond sit on the border).
    std::vector<PlotPoint> scatter;             // the edition's other stars
    std::vector<PlotPoint> scatterHighlighted;  // the current constellation's, drawn over them
    double scatterHalfWidth = 60;
    // The epoch-fit curve, once asked for: robust spread (minutes of arc) against the historical
    // year (no year 0; -130 is 130 BC), its lowest point marked, and the fitted epoch's year.
    std::vector<PlotPoint> curve;
    PlotPoint curveMinimum = {0, 0};
    bool epochFitted = false;
    double fittedYear = 0;
    std::string fitText;  // one line on the fit, or why there is none; empty before asking
};

// The Statistics window: modeless, owned by the main window, the summary above the two plots and
// the buttons "Fit Epoch", "Apply Offsets", "Apply Epoch Fit" (enabled with a fit) and "Close".
// A button hands its command (CmdStatisticsFitEpoch, ...) to the command handler. Show opens the
// window or updates the open one in place; the user closes it (Close, Escape).
void platformStatisticsShow(const StatisticsContent& content);
bool platformStatisticsIsOpen();

// The modal "Find" dialog over the main window: a text field with the list of what matches it
// under it, in the nearest-stars window's fixed-pitch font, and OK and Cancel. Every change of
// the text calls matches(context, text) (single-byte text) and shows the lines it returns, the
// first one selected. Double click or Enter on a line, or OK with a line selected, chooses it:
// true with its index in the last list in `chosen`. False on Cancel or Escape.
using FindMatches = std::vector<std::string> (*)(void* context, const std::string& query);
bool platformFindDialog(FindMatches matches, void* context, int& chosen);
