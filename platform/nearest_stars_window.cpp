#include "platform/nearest_stars_window.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <algorithm>
#include <cmath>
#include <vector>

#include "app/nearest_window.h"
#include "app/platform_services.h"
#include "app/shell.h"
#include "platform/dialog_units.h"
#include "platform/drawing.h"
#include "platform/keyboard.h"
#include "platform/window.h"
#include "resources/popup_menu.h"

namespace {

constexpr char kListFontFamily[] = "Courier New";
// Metric-compatible with Courier New; Debian's fonts-liberation.
constexpr char kListFontTwin[] = "Liberation Mono";
constexpr int kListFontPoints = 10;
constexpr int kPointsPerInch = 72;
constexpr char kCloseText[] = "Close";
constexpr char kForwardedCharacter = 'q';

// The template's layout in dialog units: the list's margin at the left, top and right, the gap
// above the Close button, the button's size and the margin below it.
constexpr int kMarginUnits = 4;
constexpr int kButtonGapUnits = 1;
constexpr int kButtonWidthUnits = 54, kButtonHeightUnits = 14;
constexpr int kBottomMarginUnits = 3;

QPointer<NearestStarsWindow> theWindow;

QFont makeListFont() {
    int dotsPerInch = 96;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        dotsPerInch = int(screen->logicalDotsPerInchY());
    QFont font(kListFontFamily);
    font.setStyleHint(QFont::TypeWriter);
    // The character height is points times dots per inch over 72, truncated.
    font.setPixelSize(std::max(1, kListFontPoints * dotsPerInch / kPointsPerInch));
    font.setWeight(QFont::Normal);
    // Font substitution may give a proportional face for a family it does not know.
    if (!QFontInfo(font).fixedPitch() && QFontDatabase::hasFamily(kListFontTwin))
        font.setFamily(kListFontTwin);
    if (!QFontInfo(font).fixedPitch()) {
        int pixels = font.pixelSize();
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPixelSize(pixels);
    }
    return font;
}

// A key the main window acts on although it was typed here: F1 to F3, and the character q.
bool isForwardedKey(const QKeyEvent* event) {
    int virtualKey = virtualKeyFor(event->key());
    if (virtualKey >= KeyF1 && virtualKey <= KeyF3) return true;
    std::vector<int> typed = typedCharacters(event->key(), event->modifiers(), event->text());
    return typed.size() == 1 && typed[0] == kForwardedCharacter;
}

// Posted, as the message loop would: the main window acts once this window's event is done.
void postToMainWindow(const QKeyEvent* event) {
    MainWindow* main = mainWindow();
    if (!main) return;
    QCoreApplication::postEvent(
        main, new QKeyEvent(QEvent::KeyPress, event->key(), event->modifiers(), event->text(),
                            event->isAutoRepeat(), ushort(event->count())));
}

}  // namespace

const QFont& listFont() {
    static const QFont font = makeListFont();
    return font;
}

NearestStarsWindow* nearestStarsWindow() { return theWindow.data(); }

NearestStarsWindow::NearestStarsWindow(QWidget* owner)
    // A caption bar without a system menu or close box: Close and Escape close it.
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setModal(false);
    setFont(dialogFont());
    list_ = new QPlainTextEdit(this);
    list_->setReadOnly(true);
    list_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    list_->setFrameShape(QFrame::NoFrame);
    list_->setFont(listFont());
    // The columns of the list stay in line; longer lines scroll.
    list_->setLineWrapMode(QPlainTextEdit::NoWrap);
    list_->setTabChangesFocus(true);
    closeButton_ = new QPushButton(QString::fromLatin1(kCloseText), this);
    closeButton_->setDefault(true);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    list_->installEventFilter(this);
    closeButton_->installEventFilter(this);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = contextMenu();
        menu->exec(list_->viewport()->mapToGlobal(at));
        delete menu;
    });

    // 40 characters by 11 lines of the list font inside the field's margins: a line of the
    // field is its font's line spacing in whole pixels, and the field wants a pixel to spare
    // below its last line before it scrolls.
    QFontMetricsF metrics(listFont());
    int margin = int(std::ceil(list_->document()->documentMargin()));
    int frame = 2 * list_->frameWidth();
    QString row(kListColumns, QLatin1Char('0'));
    int listWidth = int(std::ceil(metrics.horizontalAdvance(row))) + 2 * margin +
                    list_->cursorWidth() + frame;
    int listHeight = kListLines * int(std::ceil(metrics.lineSpacing())) + 2 * margin + 1 + frame;

    DialogUnits units = dialogUnitsOf(dialogFont());
    int left = dialogUnitsToPixelsX(units, kMarginUnits);
    int top = dialogUnitsToPixelsY(units, kMarginUnits);
    list_->setGeometry(left, top, listWidth, listHeight);
    int buttonWidth = dialogUnitsToPixelsX(units, kButtonWidthUnits);
    int buttonHeight = dialogUnitsToPixelsY(units, kButtonHeightUnits);
    int buttonTop = top + listHeight + dialogUnitsToPixelsY(units, kButtonGapUnits);
    closeButton_->setGeometry((2 * left + listWidth - buttonWidth) / 2, buttonTop, buttonWidth,
                              buttonHeight);
    setFixedSize(2 * left + listWidth,
                 buttonTop + buttonHeight + dialogUnitsToPixelsY(units, kBottomMarginUnits));
}

void NearestStarsWindow::showList(const QString& title, const QString& text, QPoint click) {
    setWindowTitle(title);
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // The last line's end starts no line of its own.
    if (lines.endsWith(QLatin1Char('\n'))) lines.chop(1);
    // Shown before the text goes in: a hidden field reckons its scroll bars as if nothing fitted.
    if (!isVisible()) {
        placeNear(click);
        show();
    }
    list_->setPlainText(lines);
    // Frame margins are known once the window is shown.
    placeNear(click);
    // Owned by the main window, it stays above it; the keyboard comes here.
    activateWindow();
    closeButton_->setFocus(Qt::OtherFocusReason);
}

QMenu* NearestStarsWindow::contextMenu() {
    QMenu* menu = list_->createStandardContextMenu();
    if (!choices_.isEmpty()) menu->addSeparator();
    for (int i = 0; i < choices_.size(); ++i)
        menu->addAction(choices_[i], this, [i] {
            if (MainWindow* main = mainWindow()) main->runCommand(CmdIdentifyFirst + i);
        });
    return menu;
}

void NearestStarsWindow::placeNear(QPoint click) {
    QWidget* owner = parentWidget();
    QPoint onScreen = owner ? owner->mapToGlobal(click) : click;
    QSize outer = frameGeometry().size();
    ScreenRect placed = placeNearClick(onScreen.x(), onScreen.y(), outer.width(), outer.height(),
                                       platformWorkArea());
    move(placed.left, placed.top);
}

bool NearestStarsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isForwardedKey(static_cast<QKeyEvent*>(event))) {
        postToMainWindow(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void NearestStarsWindow::keyPressEvent(QKeyEvent* event) {
    if (isForwardedKey(event)) {
        postToMainWindow(event);
        return;
    }
    // Escape, Enter and the rest as a dialog takes them.
    QDialog::keyPressEvent(event);
}

void platformNearestStarsShow(const char* title, const char* text, int clickX, int clickY) {
    // Owned by the main window of the moment.
    if (theWindow && theWindow->parentWidget() != mainWindow()) delete theWindow.data();
    if (!theWindow) theWindow = new NearestStarsWindow(mainWindow());
    theWindow->showList(textFromCodePage(title), textFromCodePage(text), QPoint(clickX, clickY));
}

void platformNearestStarsSetChoices(const std::vector<std::string>& choices) {
    if (!theWindow) return;
    QStringList texts;
    for (const std::string& choice : choices) texts << textFromCodePage(choice.c_str());
    theWindow->setChoices(texts);
}

bool platformNearestStarsIsOpen() { return theWindow && theWindow->isVisible(); }

void platformNearestStarsSetTitle(const char* title) {
    if (platformNearestStarsIsOpen()) theWindow->setWindowTitle(textFromCodePage(title));
}
