// A recording stand-in for the platform services in place of the Qt adapter: texts drawn and
// printed pages are recorded, every other call is logged as a line and answered from a script.
// As in the real window, a repaint runs the paint handler and a close the destroy handler.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/platform_services.h"
#include "catalog/catalog.h"

struct DrawnText {
    int x, y;
    std::string text;
    Color color;
    bool opaqueBlackBackground;
};

// One drawing call of a page: its points (rectangle: two corners; circle, text: one; line: two
// ends) and the text drawn.
enum PageOpKind { OpRectangle, OpCircle, OpLine, OpPolyline, OpText };
struct PageOp {
    PageOpKind kind;
    int page;
    std::vector<PagePoint> points;
    std::string text;
};
struct PageRecording {
    std::vector<PageOp> ops;
    int page = 1, fontHeight = 0;
    std::vector<PageOp> of(PageOpKind kind) const;
};
// A text measures half the font height per character and one font height.
PageSurface recordingSurface(PageRecording& recording);

// How the Find dialog is answered: the text typed, then the line chosen (its index in the list).
struct FindAnswer {
    std::string typed;
    int line;
};

struct FakePlatform {
    std::vector<std::string> log;  // the newest lines, e.g. "repaint", "start page 1"
    std::vector<DrawnText> texts;
    std::map<int, bool> menuChecks;
    std::map<int, std::string> menuTexts;
    PageRecording printed;  // the pages of the last document started
    int processEventsCalls = 0;
    bool nearestOpen = false;  // the nearest-stars window; cleared as the user closes it
    std::string nearestTitle, nearestText;
    // The Statistics window, closed the same way; `statistics` is what it last showed.
    bool statisticsOpen = false;
    StatisticsContent statistics;
    std::vector<std::string> identifyChoices;  // the nearest-stars list's context actions
    std::string windowTitle = "Tessaran Stars";
    // The lines the last Find dialog listed for the text typed.
    std::vector<std::string> findLines;

    // Scripted. The dialogs take their answers from the front; none left or nullopt cancels.
    bool shiftDown = false, controlDown = false, cursorKnown = false;
    int cursorX = 0, cursorY = 0;
    ScreenRect workArea = {0, 0, 1280, 1024};
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::optional<Color>> colorAnswers;
    std::deque<std::optional<EpochSetting>> epochAnswers;
    std::deque<std::optional<int>> questionAnswers;  // button index; none left: the last button
    std::deque<std::optional<FindAnswer>> findAnswers;
    std::optional<PrinterPage> printerAnswer;
    Color customColorOnConfirm = 0;         // put into custom colour 0 on a confirmed colour
    std::string failingStep;                // the printer step logged as this line fails
    std::function<void()> onProcessEvents;  // runs as the events waiting would
    int charWidth = 7, textHeight = 14;     // the text extent
    double devicePixelRatio = 1;            // of the window
    bool pictureSaveFails = false;          // the picture file cannot be written
};

FakePlatform& fakePlatform();
void resetFakePlatform();
bool pressPrintCancel();  // in the open cancel dialog; false when none is open
