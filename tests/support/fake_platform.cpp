#include "fake_platform.h"

#include <cstring>

#include "app/shell.h"

namespace {
FakePlatform fake;
FakeNearestStarsWindow nearestWindow;
FakeEpochDialog epochDialog;
// The open cancel dialog's callback.
void (*cancelCallback)(void*) = nullptr;
void* cancelContext = nullptr;
int pagesStarted = 0, pagesEnded = 0;
}

FakePlatform& fakePlatform() { return fake; }
FakeNearestStarsWindow& fakeNearestStarsWindow() { return nearestWindow; }
FakeEpochDialog& fakeEpochDialog() { return epochDialog; }
void resetFakePlatform() {
    fake = FakePlatform();
    nearestWindow = FakeNearestStarsWindow();
    epochDialog = FakeEpochDialog();
    cancelCallback = nullptr;
    cancelContext = nullptr;
}

bool pressPrintCancel() {
    if (!cancelCallback) return false;
    cancelCallback(cancelContext);
    return true;
}

std::vector<DrawnText> textsStartingWith(const std::string& prefix) {
    std::vector<DrawnText> found;
    for (const DrawnText& text : fake.texts)
        if (text.text.compare(0, prefix.size(), prefix) == 0) found.push_back(text);
    return found;
}

void platformRepaint() {
    ++fake.repaints;
    onPaint();
}

void platformPresentFrame(const FrameBuffer& frame) {
    ++fake.presentedFrames;
    fake.presentedWidth = frame.width;
    fake.presentedHeight = frame.height;
}

void platformMeasureText(const char* text, int& width, int& height) {
    width = fake.charWidth * int(std::strlen(text));
    height = fake.textHeight;
}

void platformDrawText(int x, int y, const char* text, Color color, bool opaqueBlackBackground) {
    fake.texts.push_back({x, y, text, color, opaqueBlackBackground});
}

bool platformShiftDown() { return fake.shiftDown; }
bool platformControlDown() { return fake.controlDown; }

bool platformCursorPos(int& x, int& y) {
    if (!fake.cursorKnown) return false;
    x = fake.cursorX;
    y = fake.cursorY;
    return true;
}

ScreenRect platformWorkArea() { return fake.workArea; }

void platformMessageBox(const char* text, const char* caption) {
    fake.messages.push_back({text, caption});
}

void platformSetMenuCheck(int command, bool checked) { fake.menuChecks[command] = checked; }
void platformSetMenuText(int command, const char* text) { fake.menuTexts[command] = text; }

void platformTrackPopupMenu(int clientX, int clientY) {
    ++fake.popupsShown;
    fake.popupX = clientX;
    fake.popupY = clientY;
}

bool platformChooseColor(Color initial, Color customColors[16], Color& chosen) {
    fake.colorRequests.push_back(initial);
    fake.customColorSeen.push_back(customColors[0]);
    if (fake.colorAnswers.empty()) return false;
    std::optional<Color> answer = fake.colorAnswers.front();
    fake.colorAnswers.pop_front();
    if (!answer) return false;
    customColors[0] = fake.customColorOnConfirm;
    chosen = *answer;
    return true;
}

bool platformChooseFile(const char* title, const char* pattern, const std::string& initialDir,
                        std::string& path) {
    fake.fileRequests.push_back({title, pattern, initialDir});
    if (fake.fileAnswers.empty()) return false;
    std::optional<std::string> answer = fake.fileAnswers.front();
    fake.fileAnswers.pop_front();
    if (!answer) return false;
    path = *answer;
    return true;
}

bool platformOpenDocument(const std::string& path) {
    fake.openedDocuments.push_back(path);
    return fake.openDocumentSucceeds;
}

void platformShowAboutBox(int timeoutMs) { fake.aboutBoxTimeouts.push_back(timeoutMs); }

void platformCloseMainWindow() {
    ++fake.closeRequests;
    onDestroy(fake.outerRectOnClose);
}

bool platformPrintDialog(PrinterPage& page) {
    ++fake.printDialogs;
    if (!fake.printerAnswer) return false;
    page = *fake.printerAnswer;
    return true;
}

bool platformStartDocument(const char* name, PageSurface& surface) {
    fake.printSteps.push_back("start document");
    fake.documentName = name;
    if (!fake.startDocumentSucceeds) return false;
    pagesStarted = pagesEnded = 0;
    fake.printed = PageRecording();
    surface = recordingSurface(fake.printed);
    return true;
}

bool platformStartPage() {
    fake.printSteps.push_back("start page");
    fake.printed.page = ++pagesStarted;
    return pagesStarted != fake.failingStartPage;
}

bool platformEndPage() {
    fake.printSteps.push_back("end page");
    return ++pagesEnded != fake.failingEndPage;
}

bool platformEndDocument() {
    fake.printSteps.push_back("end document");
    return fake.endDocumentSucceeds;
}

void platformAbortDocument() { fake.printSteps.push_back("abort document"); }

void platformOpenCancelDialog(const char* caption, const char* text, void (*onCancel)(void*),
                              void* context) {
    fake.printSteps.push_back("open cancel dialog");
    fake.cancelCaption = caption;
    fake.cancelText = text;
    cancelCallback = onCancel;
    cancelContext = context;
}

void platformCloseCancelDialog() {
    fake.printSteps.push_back("close cancel dialog");
    cancelCallback = nullptr;
    cancelContext = nullptr;
}

void platformProcessEvents() {
    ++fake.processEventsCalls;
    if (fake.onProcessEvents) fake.onProcessEvents();
}

void platformEnableMainWindow(bool enabled) {
    fake.printSteps.push_back(enabled ? "enable window" : "disable window");
}

void platformNearestStarsShow(const char* title, const char* text, int clickX, int clickY) {
    nearestWindow.open = true;
    nearestWindow.title = title;
    nearestWindow.text = text;
    nearestWindow.clickX = clickX;
    nearestWindow.clickY = clickY;
    ++nearestWindow.shows;
}

bool platformNearestStarsIsOpen() { return nearestWindow.open; }

void platformNearestStarsSetTitle(const char* title) {
    if (!nearestWindow.open) return;
    nearestWindow.title = title;
    ++nearestWindow.titlesSet;
}

bool platformEpochDialog(EpochSetting& setting) {
    epochDialog.openedWith.push_back(setting);
    if (epochDialog.answers.empty()) return false;
    std::optional<EpochSetting> answer = epochDialog.answers.front();
    epochDialog.answers.pop_front();
    if (!answer) return false;
    setting = *answer;
    return true;
}
