#include "platform/about_box.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "app/platform_services.h"
#include "platform/pictures.h"
#include "platform/window.h"

namespace {

constexpr char kTextFontFamily[] = "Tahoma";
constexpr int kTextPixelHeight = 12;
constexpr QPoint kVersionTopLeft(14, 88);
constexpr QPoint kBuildTopLeft(14, 104);
// Debian's fonts-wine ships Tahoma without registering it with the system's font list.
constexpr const char* kTahomaFiles[] = {"/usr/share/wine/fonts/tahomabd.ttf",
                                        "/usr/share/wine/fonts/tahoma.ttf"};

bool hasBoldTahoma() {
    if (!QFontDatabase::hasFamily(kTextFontFamily)) return false;
    for (const QString& style : QFontDatabase::styles(kTextFontFamily))
        if (QFontDatabase::weight(kTextFontFamily, style) >= QFont::Bold) return true;
    return false;
}

QFont textFont() {
    static bool looked = false;
    if (!looked) {
        looked = true;
        if (!hasBoldTahoma())
            for (const char* file : kTahomaFiles)
                if (QFile::exists(file)) QFontDatabase::addApplicationFont(file);
    }
    QFont font;
    if (QFontDatabase::hasFamily(kTextFontFamily))
        font.setFamily(kTextFontFamily);
    else
        font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kTextPixelHeight);
    font.setWeight(QFont::Bold);
    return font;
}

// The picture as one borderless window: a click closes it, and in the modal box so do Enter and
// Escape. A box with a time-out closes itself when it runs out.
class AboutBox : public QDialog {
public:
    AboutBox(QWidget* owner, int timeoutMs)
        : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint),
          picture_(aboutBoxPicture()),
          modeless_(timeoutMs > 0) {
        setObjectName(kAboutBoxObjectName);
        setAttribute(Qt::WA_DeleteOnClose);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFixedSize(kAboutBoxWidth, kAboutBoxHeight);
        if (modeless_) {
            // The splash must not take the keyboard from the main window.
            setAttribute(Qt::WA_ShowWithoutActivating);
            timer_ = new QTimer(this);
            timer_->setSingleShot(true);
            connect(timer_, &QTimer::timeout, this, [this] { done(1); });
            timer_->start(timeoutMs);
        }
        QWidget* ownerWindow = owner ? owner->window() : nullptr;
        QScreen* screen = ownerWindow ? ownerWindow->screen() : QGuiApplication::primaryScreen();
        QRect desktop =
            screen ? screen->availableGeometry() : QRect(0, 0, kAboutBoxWidth, kAboutBoxHeight);
        QRect ownerOuter = ownerWindow ? ownerWindow->frameGeometry() : desktop;
        move(aboutBoxPosition(ownerOuter, size(), desktop));
    }

    void done(int result) override {
        if (timer_) timer_->stop();
        QDialog::done(result);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, picture_);
    }
    // A click is a press and a release on the picture, like a button's.
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) pressed_ = true;
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() != Qt::LeftButton || !pressed_) return;
        pressed_ = false;
        if (rect().contains(event->position().toPoint())) done(1);
    }
    void keyPressEvent(QKeyEvent* event) override {
        int key = event->key();
        if (!modeless_ &&
            (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
            done(1);
            return;
        }
        // Not QDialog's handling, which would close the splash on Escape as well.
        QWidget::keyPressEvent(event);
    }

private:
    QImage picture_;
    bool modeless_;
    bool pressed_ = false;
    QTimer* timer_ = nullptr;  // the modeless box's time-out
};

}  // namespace

QString aboutVersionLine() { return QStringLiteral("version 1.1"); }

QString aboutBuildLine() { return QStringLiteral("build ") + QStringLiteral(__DATE__); }

QImage aboutBoxPicture() {
    QImage picture = loadAboutPicture();
    if (picture.isNull()) {
        picture = QImage(kAboutBoxWidth, kAboutBoxHeight, QImage::Format_RGB32);
        picture.fill(Qt::white);
    }
    QPainter painter(&picture);
    QFont font = textFont();
    painter.setFont(font);
    painter.setPen(Qt::black);
    // The positions are the text's top-left corners; QPainter places text by its baseline.
    int ascent = QFontMetrics(font).ascent();
    painter.drawText(kVersionTopLeft + QPoint(0, ascent), aboutVersionLine());
    painter.drawText(kBuildTopLeft + QPoint(0, ascent), aboutBuildLine());
    return picture;
}

QPoint aboutBoxPosition(const QRect& ownerOuter, const QSize& boxSize, const QRect& desktop) {
    int w = boxSize.width(), h = boxSize.height();
    int x = ownerOuter.left() + (ownerOuter.width() - w) / 2;
    int y = ownerOuter.top() + (ownerOuter.height() - h) / 2;
    int desktopRight = desktop.left() + desktop.width();
    int desktopBottom = desktop.top() + desktop.height();
    if (y + h > desktopBottom) y = desktopBottom - h;
    if (x + w > desktopRight) x = desktopRight - w;
    if (x < 0) x = 0;
    if (y < 0) y = 0;
    return QPoint(x, y);
}

void openAboutBox(QWidget* owner, int timeoutMs) {
    auto* box = new AboutBox(owner, timeoutMs);
    // A new window opens on top of the others.
    if (timeoutMs > 0) {
        // The splash leaves the keyboard where it was, so that the main window's keys still work
        // (some platforms activate every window shown, whatever it asks for).
        QWidget* active = QApplication::activeWindow();
        if (!active && owner && owner->window()->isVisible()) active = owner->window();
        box->show();
        if (active) active->activateWindow();
    } else {
        box->exec();  // deletes the box when it returns (it deletes itself on close)
    }
}

void platformShowAboutBox(int timeoutMs) { openAboutBox(mainWindow(), timeoutMs); }
