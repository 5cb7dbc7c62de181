#include "platform/sky_picture.h"

#include <QFontMetrics>
#include <QPainter>
#include <QSaveFile>
#include <memory>

#include "platform/drawing.h"

namespace {

// The platform side of the frame: the finished frame becomes the picture, texts are painted on
// it with one painter, opened after the frame is in place.
struct PictureOutput {
    QImage image;
    double devicePixelRatio;
    std::unique_ptr<QPainter> painter;
};

void presentFrame(void* context, const FrameBuffer& frame) {
    blitFrame(frame, static_cast<PictureOutput*>(context)->image);
}

void measureText(void* context, const char* text, int* width, int* height) {
    QSize size = measureLabelText(textFromCodePage(text),
                                  static_cast<PictureOutput*>(context)->devicePixelRatio);
    *width = size.width();
    *height = size.height();
}

void drawText(void* context, int x, int y, const char* text, Color color) {
    PictureOutput& p = *static_cast<PictureOutput*>(context);
    const QFont& font = labelFont(p.devicePixelRatio);
    if (!p.painter) p.painter = std::make_unique<QPainter>(&p.image);
    p.painter->setFont(font);
    p.painter->setPen(QColor(colorRed(color), colorGreen(color), colorBlue(color)));
    p.painter->drawText(QPoint(x, y + QFontMetrics(font).ascent()), textFromCodePage(text));
}

}  // namespace

QImage drawSkyPicture(const RenderRequest& request, ColorTable& colors,
                      const StarColors& starColors) {
    if (!request.view || request.view->width <= 0 || request.view->height <= 0) return QImage();
    const int width = request.view->width, height = request.view->height;
    FrameBuffer frame;
    frameResize(frame, width, height);
    PictureOutput picture{QImage(width, height, kSurfaceFormat), request.devicePixelRatio, nullptr};
    if (frame.width != width || frame.height != height || picture.image.isNull()) return QImage();
    FrameOutput output;
    output.context = &picture;
    output.present = presentFrame;
    output.measureText = measureText;
    output.drawText = drawText;
    renderFrame(request, frame, colors, starColors, output);
    picture.painter.reset();
    return picture.image;
}

bool writePictureFile(const QImage& picture, const QString& path) {
    if (picture.isNull()) return false;
    QSaveFile file(path);
    // Writing to the folder itself, not through a copy of the old file, keeps the rename atomic.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (!picture.save(&file, "PNG")) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
