// A recording stand-in for the platform services, linked into the shell's tests and benchmark in
// place of the Qt adapter. It records what the shell shows (message boxes, texts, menu marks,
// repaints, presented frames, dialogs asked for) and answers from a script (key states, cursor,
// work area, chooser results). Like the real window, a repaint runs the paint handler at once and
// a close request runs the destroy handler.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "platform/platform.h"
#include "page_recorder.h"

struct DrawnText {
    int x, y;
    std::string text;
    Color color;
    bool opaqueBlackBackground;
};

struct ShownMessage {
    std::string text, caption;
};

struct FileRequest {
    std::string title, pattern, initialDir;
};

struct FakePlatform {
    // Recorded.
    int repaints = 0;
    int presentedFrames = 0;
    int presentedWidth = 0, presentedHeight = 0;
    std::vector<DrawnText> texts;  // every text drawn, in order
    std::vector<ShownMessage> messages;
    std::map<int, bool> menuChecks;
    std::map<int, std::string> menuTexts;
    int popupsShown = 0;
    int popupX = 0, popupY = 0;
    std::vector<Color> colorRequests;  // initial colour of every colour chooser opened
    std::vector<Color> customColorSeen;  // custom slot 0 as each colour chooser opened
    std::vector<FileRequest> fileRequests;
    std::vector<std::string> openedDocuments;
    int closeRequests = 0;
    // Printing: the dialogs shown, the job's steps in order ("start document", "start page",
    // "end page", "end document", "abort document", "disable window", "enable window",
    // "open cancel dialog", "close cancel dialog") and what the pages drew.
    int printDialogs = 0;
    std::vector<std::string> printSteps;
    std::string documentName, cancelCaption, cancelText;
    PageRecording printed;
    int processEventsCalls = 0;
    std::vector<int> aboutBoxTimeouts;  // one per about box opened

    // Scripted.
    bool shiftDown = false;
    bool controlDown = false;
    bool cursorKnown = false;
    int cursorX = 0, cursorY = 0;
    ScreenRect workArea = {0, 0, 1280, 1024};
    ScreenRect outerRectOnClose = {0, 0, 1120, 896};  // handed to the destroy handler
    // Answers of the next choosers, taken from the front; nothing left or nullopt cancels.
    std::deque<std::optional<std::string>> fileAnswers;
    std::deque<std::optional<Color>> colorAnswers;
    Color customColorOnConfirm = 0;  // written into custom slot 0 when a colour is confirmed
    bool openDocumentSucceeds = true;
    // The print dialog's answer (nullopt cancels) and the printer's: 0 succeeds, n fails the nth
    // start or end of a page.
    std::optional<PrinterPage> printerAnswer;
    bool startDocumentSucceeds = true;
    bool endDocumentSucceeds = true;
    int failingStartPage = 0;
    int failingEndPage = 0;
    // Runs whenever the shell lets events be handled, as the events waiting would.
    std::function<void()> onProcessEvents;
    // Text extent: a fixed width per character and one height.
    int charWidth = 7;
    int textHeight = 14;
};

// The nearest-stars window as the shell left it. A test closes it, as the user would, by
// clearing `open`.
struct FakeNearestStarsWindow {
    bool open = false;
    std::string title, text;
    int clickX = 0, clickY = 0;
    int shows = 0;        // calls of the show service
    int titlesSet = 0;    // calls of the title service while open
};

// The epoch dialog: the settings it was opened on, and the answers of the next ones, taken from
// the front (nothing left or nullopt is Cancel).
struct FakeEpochDialog {
    std::vector<EpochSetting> openedWith;
    std::deque<std::optional<EpochSetting>> answers;
};

FakePlatform& fakePlatform();
FakeNearestStarsWindow& fakeNearestStarsWindow();
FakeEpochDialog& fakeEpochDialog();
void resetFakePlatform();

// Presses Cancel in the open cancel dialog; false when none is open.
bool pressPrintCancel();

// Drawn texts that start with `prefix`, in drawing order.
std::vector<DrawnText> textsStartingWith(const std::string& prefix);
