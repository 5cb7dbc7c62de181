// The about box: the about picture with the version and build lines written onto it, borderless,
// exactly the picture's size, centred over its owner and kept on the desktop. It serves as the
// five-second splash at start-up (modeless) and as the modal box of the about command.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class QWidget;

constexpr int kAboutBoxWidth = 284;
constexpr int kAboutBoxHeight = 125;
// Every open box is a top-level widget with this object name.
constexpr char kAboutBoxObjectName[] = "AboutBox";

// Opens an about box owned by `owner` (may be null: then it is centred over the desktop).
// timeoutMs <= 0: modal; returns when the box has been closed by a click, Enter or Escape.
// timeoutMs > 0: modeless, without taking the focus from the owner; returns at once, and the box
// closes itself after timeoutMs or on a click. A closed box deletes itself.
void openAboutBox(QWidget* owner, int timeoutMs);

// "version 1.1" and "build " followed by the date this program was compiled ("Mmm dd yyyy").
QString aboutVersionLine();
QString aboutBuildLine();

// A fresh copy of the about picture with the two lines written onto it at (14, 88) and
// (14, 104), their top-left corners, in bold 12-pixel Tahoma, black.
QImage aboutBoxPicture();

// Where a box of `boxSize` opens: centred over the owner's outer rectangle (integer halves,
// truncated toward zero), then moved up and left so that it ends inside the desktop, then a
// negative x or y raised to 0.
QPoint aboutBoxPosition(const QRect& ownerOuter, const QSize& boxSize, const QRect& desktop);
