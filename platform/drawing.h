// Drawing on the window's backing image: the frame blit (the 24-bit bottom-up blue-green-red frame
// buffer into the image in one pass) and text in the 9-point "Tahoma" label font, with the
// single-byte Western code page text of the shell. The images are in device pixels, so the font
// is grown by the device pixel ratio. The platform services and the sky picture call these; they
// need Qt's painting only, no widgets, so the snapshot tool links them too.
#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include "render/colors.h"
#include "render/frame.h"

// The image format of the window's backing image: what the screen takes without a conversion.
constexpr QImage::Format kSurfaceFormat = QImage::Format_RGB32;

// Copies the frame with its top-left corner at the image's top-left: pixel (x, y) of the frame
// becomes pixel (x, y) of the image, over the part both cover. The image is kSurfaceFormat.
void blitFrame(const FrameBuffer& frame, QImage& image);

// Debian's fonts-wine ships Tahoma here without registering it with the system's font list.
constexpr char kWineTahomaFile[] = "/usr/share/wine/fonts/tahoma.ttf";

// The label font: "Tahoma" at 9 points of the screen's resolution (12 pixels at 96 dots per
// inch), or the system's sans-serif when no Tahoma can be had, its pixel size multiplied by the
// device pixel ratio and rounded (24 pixels at 96 dots per inch and ratio 2).
const QFont& labelFont(double devicePixelRatio = 1);

// The shell's text, one byte per character (0xBA is the degree mark "º").
QString textFromCodePage(const char* text);

// Width and height of a text in the label font: its advance and the font's line height.
QSize measureLabelText(const QString& text, double devicePixelRatio = 1);

// Draws text with its top-left corner at (x, y); with an opaque background its whole cell is
// filled black first. Returns the rectangle drawn over.
QRect drawLabelText(QImage& image, int x, int y, const QString& text, Color color,
                    bool opaqueBlackBackground, double devicePixelRatio = 1);
