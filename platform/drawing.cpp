#include "platform/drawing.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

// A stored pixel is blue, green, red in memory, and so is an RGB32 pixel on a little-endian
// machine, followed by its alpha byte: four frame pixels are three 32-bit words, re-cut into four.
static void convertRow(const uint8_t* source, QRgb* target, int width) {
    constexpr uint32_t kOpaque = 0xFF000000u;
    int x = 0;
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        for (; x + 4 <= width; x += 4, source += 12) {
            uint32_t w[3];
            std::memcpy(w, source, sizeof w);
            target[x] = kOpaque | w[0];
            target[x + 1] = kOpaque | w[0] >> 24 | w[1] << 8;
            target[x + 2] = kOpaque | w[1] >> 16 | w[2] << 16;
            target[x + 3] = kOpaque | w[2] >> 8;
        }
    }
    for (; x < width; ++x, source += 3)
        target[x] = kOpaque | uint32_t(source[2]) << 16 | uint32_t(source[1]) << 8 | source[0];
}

void blitFrame(const FrameBuffer& frame, QImage& image) {
    int width = std::min(frame.width, image.width());
    int height = std::min(frame.height, image.height());
    if (width <= 0 || height <= 0 || frame.pixels.empty()) return;
    for (int y = 0; y < height; ++y) {
        // The first stored row is the bottom line of the picture.
        const uint8_t* source = frame.pixels.data() + size_t(frame.height - 1 - y) * size_t(frame.stride);
        convertRow(source, reinterpret_cast<QRgb*>(image.scanLine(y)), width);
    }
}

namespace {

constexpr char kLabelFontFamily[] = "Tahoma";
constexpr int kLabelFontPoints = 9;
constexpr int kPointsPerInch = 72;
bool tahomaAvailable() {
    if (QFontDatabase::hasFamily(kLabelFontFamily)) return true;
    if (QFile::exists(kWineTahomaFile)) QFontDatabase::addApplicationFont(kWineTahomaFile);
    return QFontDatabase::hasFamily(kLabelFontFamily);
}

QFont makeLabelFont(double devicePixelRatio) {
    QFont font;
    if (tahomaAvailable()) {
        font.setFamily(kLabelFontFamily);
    } else {
        font.setStyleHint(QFont::SansSerif);
        font.setFamily(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    }
    // The character height in pixels is points times the screen's dots per inch over 72,
    // truncated, as the label font of the Windows program was made.
    int dotsPerInch = 96;
    if (QScreen* screen = QGuiApplication::primaryScreen())
        dotsPerInch = int(screen->logicalDotsPerInchY());
    const int pixels = std::max(1, kLabelFontPoints * dotsPerInch / kPointsPerInch);
    font.setPixelSize(std::max(1, int(std::lround(pixels * devicePixelRatio))));
    font.setWeight(QFont::Normal);
    // Grown for a finer screen the glyphs keep their outlines, as Qt draws them where it scales
    // itself, so that a picture drawn without Qt's scaling is the one the window shows.
    if (devicePixelRatio != 1) font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

}  // namespace

const QFont& labelFont(double devicePixelRatio) {
    // Made once per ratio: one window shows one ratio at a time, a picture another at most.
    static QFont font = makeLabelFont(1);
    static double madeFor = 1;
    if (devicePixelRatio != madeFor) {
        font = makeLabelFont(devicePixelRatio);
        madeFor = devicePixelRatio;
    }
    return font;
}

QString textFromCodePage(const char* text) { return QString::fromLatin1(text ? text : ""); }

QSize measureLabelText(const QString& text, double devicePixelRatio) {
    QFontMetrics metrics(labelFont(devicePixelRatio));
    return QSize(metrics.horizontalAdvance(text), metrics.height());
}

QRect drawLabelText(QImage& image, int x, int y, const QString& text, Color color,
                    bool opaqueBlackBackground, double devicePixelRatio) {
    const QFont& font = labelFont(devicePixelRatio);
    QFontMetrics metrics(font);
    QRect cell(x, y, metrics.horizontalAdvance(text), metrics.height());
    if (image.isNull()) return cell;
    QPainter painter(&image);
    if (opaqueBlackBackground) painter.fillRect(cell, Qt::black);
    painter.setFont(font);
    painter.setPen(QColor(colorRed(color), colorGreen(color), colorBlue(color)));
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
    return cell;
}
