// The nearest-stars window: a modeless dialog owned by the main window, the list in a read-only
// fixed-pitch "Courier New" field sized to 40 characters by 11 lines and a Close button centred
// under it. It goes next to the click (placeNearClick of the shell), passes F1 to F3 and the
// typed q on to the main window and keeps every other key, and closes on Close and Escape. The
// nearest-stars services of the platform show it and ask after it; Qt tests reach it through
// nearestStarsWindow().
#pragma once

#include <QDialog>
#include <QFont>
#include <QPoint>
#include <QString>
#include <QStringList>

class QKeyEvent;
class QMenu;
class QPlainTextEdit;
class QPushButton;

constexpr int kListColumns = 40;
constexpr int kListLines = 11;

// "Courier New" at 10 points of the screen's resolution, or a metric twin of it (Debian's
// fonts-liberation: Liberation Mono), or the system's fixed-pitch font.
const QFont& listFont();

class NearestStarsWindow : public QDialog {
public:
    explicit NearestStarsWindow(QWidget* owner);

    // Sets the title and the list (lines ended by "\r\n" or "\n"), moves the window next to the
    // owner's client point `click`, shows it if hidden and gives the Close button the focus.
    void showList(const QString& title, const QString& text, QPoint click);

    // The actions the list's context menu offers below copying; each hands its command
    // (CmdIdentifyFirst + its index) to the main window.
    void setChoices(const QStringList& choices) { choices_ = choices; }
    const QStringList& choices() const { return choices_; }
    // The list's context menu as a right click shows it.
    QMenu* contextMenu();

    QPlainTextEdit* list() const { return list_; }
    QPushButton* closeButton() const { return closeButton_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void placeNear(QPoint click);

    QPlainTextEdit* list_;
    QPushButton* closeButton_;
    QStringList choices_;
};

// The window, open or closed, or nullptr before the first list (or once its owner has gone).
NearestStarsWindow* nearestStarsWindow();
