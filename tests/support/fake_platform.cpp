#include "fake_platform.h"

#include <cstring>

#include "app/shell.h"
#include "render/sky_layers.h"

namespace {

FakePlatform fake;
void (*cancelCallback)(void*) = nullptr;  // of the open cancel dialog
void* cancelContext = nullptr;

constexpr size_t kLogLimit = 1000;  // lines kept; the older half goes when the log is full

void log(const std::string& line) {
    std::vector<std::string>& lines = fake.log;
    if (lines.size() >= kLogLimit) lines.erase(lines.begin(), lines.begin() + kLogLimit / 2);
    lines.push_back(line);
}
std::string str(int n) { return std::to_string(n); }
std::string rgb(Color c) {
    return str(colorRed(c)) + " " + str(colorGreen(c)) + " " + str(colorBlue(c));
}
// Logs a printer step; false when it is the one scripted to fail.
bool step(const std::string& line) {
    log(line);
    return line != fake.failingStep;
}
// The next answer of a scripted dialog: false when none is left or it is a cancel.
template <typename T>
bool answer(std::deque<std::optional<T>>& answers, T& value) {
    std::optional<T> next = answers.empty() ? std::nullopt : answers.front();
    if (!answers.empty()) answers.pop_front();
    if (next) value = *next;
    return bool(next);
}

}  // namespace

FakePlatform& fakePlatform() { return fake; }
void resetFakePlatform() { fake = FakePlatform(), cancelCallback = nullptr; }
bool pressPrintCancel() {
    if (cancelCallback) cancelCallback(cancelContext);
    return cancelCallback != nullptr;
}

void platformRepaint() { log("repaint"), onPaint(); }
void platformPresentFrame(const FrameBuffer& f) {
    log("frame " + str(f.width) + "x" + str(f.height));
}
void platformMeasureText(const char* text, int& width, int& height) {
    width = fake.charWidth * int(std::strlen(text)), height = fake.textHeight;
}
void platformDrawText(int x, int y, const char* text, Color color, bool opaque) {
    fake.texts.push_back({x, y, text, color, opaque});
}
double platformDevicePixelRatio() { return fake.devicePixelRatio; }
bool platformShiftDown() { return fake.shiftDown; }
bool platformControlDown() { return fake.controlDown; }
bool platformCursorPos(int& x, int& y) {
    x = fake.cursorX, y = fake.cursorY;
    return fake.cursorKnown;
}
ScreenRect platformWorkArea() { return fake.workArea; }
void platformMessageBox(const char* text, const char* caption) {
    log("message " + std::string(text) + " | " + caption);
}
void platformSetMenuCheck(int command, bool checked) { fake.menuChecks[command] = checked; }
void platformSetMenuText(int command, const char* text) { fake.menuTexts[command] = text; }
void platformTrackPopupMenu(int x, int y) { log("popup " + str(x) + " " + str(y)); }
bool platformChooseColor(Color initial, Color custom[16], Color& chosen) {
    log("colour " + rgb(initial) + " custom " + rgb(custom[0]));
    if (!answer(fake.colorAnswers, chosen)) return false;
    custom[0] = fake.customColorOnConfirm;
    return true;
}
bool platformChooseFile(const char* title, const char* pattern, const std::string& folder,
                        std::string& path) {
    log("file " + std::string(title) + " | " + pattern + " | " + folder);
    return answer(fake.fileAnswers, path);
}
int platformQuestionBox(const char* text, const char*, const std::vector<std::string>& buttons) {
    log("question " + std::string(text));
    int chosen = int(buttons.size()) - 1;
    answer(fake.questionAnswers, chosen);
    return chosen;
}
void platformSetWindowTitle(const char* title) { log("title " + std::string(title)), fake.windowTitle = title; }
void platformNearestStarsSetChoices(const std::vector<std::string>& choices) {
    fake.identifyChoices = choices;
}
bool platformChooseSaveFile(const char* title, const char*, const char* suggestedName,
                            std::string& path) {
    log("save file " + std::string(title) + " | " + suggestedName);
    return answer(fake.fileAnswers, path);
}
// Logs the picture's path and its size in device pixels.
bool platformSavePicture(const RenderRequest& request, ColorTable&, const StarColors&,
                         const std::string& path) {
    const SkyView* view = request.view;
    log("picture " + path + " " + (view ? str(view->width) + "x" + str(view->height) : "-"));
    return !fake.pictureSaveFails;
}
bool platformOpenDocument(const std::string& path) { return log("open " + path), true; }
void platformShowAboutBox(int timeoutMs) { log("about " + str(timeoutMs)); }
void platformCloseMainWindow() {
    log("close");
    if (onQueryClose()) onDestroy({0, 0, 1120, 896});
}
bool platformEpochDialog(EpochSetting& setting) {
    log("epoch dialog");
    return answer(fake.epochAnswers, setting);
}

void platformNearestStarsShow(const char* title, const char* text, int x, int y) {
    log("nearest show " + str(x) + " " + str(y));
    fake.nearestOpen = true, fake.nearestTitle = title, fake.nearestText = text;
}
bool platformNearestStarsIsOpen() { return fake.nearestOpen; }
void platformNearestStarsSetTitle(const char* title) {
    if (fake.nearestOpen) log("nearest title " + std::string(title)), fake.nearestTitle = title;
}

void platformStatisticsShow(const StatisticsContent& content) {
    log("statistics show"), fake.statisticsOpen = true, fake.statistics = content;
}
bool platformStatisticsIsOpen() { return fake.statisticsOpen; }

bool platformFindDialog(FindMatches matches, void* context, int& chosen) {
    log("find dialog");
    FindAnswer typed;
    if (!answer(fake.findAnswers, typed)) return false;
    fake.findLines = matches(context, typed.typed);
    chosen = typed.line;
    return true;
}

bool platformPrintDialog(PrinterPage& page) {
    log("print dialog");
    if (fake.printerAnswer) page = *fake.printerAnswer;
    return bool(fake.printerAnswer);
}
bool platformStartDocument(const char* name, PageSurface& surface) {
    if (!step("start document " + std::string(name))) return false;
    fake.printed = PageRecording();
    fake.printed.page = 0;
    surface = recordingSurface(fake.printed);
    return true;
}
bool platformStartPage() { return step("start page " + str(++fake.printed.page)); }
bool platformEndPage() { return step("end page " + str(fake.printed.page)); }
bool platformEndDocument() { return step("end document"); }
void platformAbortDocument() { log("abort document"); }
void platformOpenCancelDialog(const char* caption, const char* text, void (*onCancel)(void*),
                              void* context) {
    log("cancel dialog " + std::string(caption) + " | " + text);
    cancelCallback = onCancel, cancelContext = context;
}
void platformCloseCancelDialog() { log("cancel dialog closed"), cancelCallback = nullptr; }
void platformProcessEvents() {
    ++fake.processEventsCalls;
    if (fake.onProcessEvents) fake.onProcessEvents();
}
void platformEnableMainWindow(bool enabled) { log(enabled ? "window enabled" : "window disabled"); }
