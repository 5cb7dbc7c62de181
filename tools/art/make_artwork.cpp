// Draws the program's pictures: the 284 x 125 about picture (an aged page of a star table with
// the title, a credit line above a rule, and a quiet lower band where the about box writes the
// version and build lines) and the icon at several sizes (a dark sky disc with a few stars, one
// of them with the circle the viewer draws round an ancient position).
//
//     make-artwork [output folder]      (default: resources)
//
// writes about.png and icon_16.png ... icon_128.png there. Runs on Qt's offscreen platform and
// draws from a fixed seed, so a rerun on the same fonts gives the same pictures.
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "catalog/random.h"

namespace {

constexpr int kAboutWidth = 284;
constexpr int kAboutHeight = 125;
// The about box writes its two lines from y = 88 on at x = 14: nothing but paper below this.
constexpr double kQuietTop = 82.0;


double smooth(double t) { return t * t * (3.0 - 2.0 * t); }
double clamp01(double v) { return std::min(1.0, std::max(0.0, v)); }
double smoothStep(double edge0, double edge1, double x) {
    return smooth(clamp01((x - edge0) / (edge1 - edge0)));
}

// Value noise on a lattice of `cell` pixels, values in [0, 1].
class ValueNoise {
public:
    ValueNoise(int width, int height, double cell, SplitMix64& random)
        : cell_(cell), columns_(int(width / cell) + 3), rows_(int(height / cell) + 3) {
        lattice_.resize(size_t(columns_) * size_t(rows_));
        for (double& v : lattice_) v = random.uniform();
    }
    double at(double x, double y) const {
        double gx = x / cell_, gy = y / cell_;
        int ix = int(gx), iy = int(gy);
        double fx = smooth(gx - ix), fy = smooth(gy - iy);
        double top = lerp(value(ix, iy), value(ix + 1, iy), fx);
        double bottom = lerp(value(ix, iy + 1), value(ix + 1, iy + 1), fx);
        return lerp(top, bottom, fy);
    }

private:
    static double lerp(double a, double b, double t) { return a + (b - a) * t; }
    double value(int ix, int iy) const {
        return lattice_[size_t(iy) * size_t(columns_) + size_t(ix)];
    }
    double cell_;
    int columns_, rows_;
    std::vector<double> lattice_;
};

struct Rgb {
    double r, g, b;
};
Rgb mix(const Rgb& a, const Rgb& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

QFont serifFont(double pixelSize, bool bold, bool italic) {
    QFont font;
    font.setFamilies(
        {"P052", "Palatino", "Palatino Linotype", "C059", "Liberation Serif", "DejaVu Serif"});
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(int(std::lround(pixelSize)));
    font.setBold(bold);
    font.setItalic(italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

// ---------------------------------------------------------------------------------------------
// The page: mottled parchment with grain, fibres, a few water stains, foxing and darker edges.

QImage drawPaper(SplitMix64& random) {
    const int w = kAboutWidth, h = kAboutHeight;
    ValueNoise broad(w, h, 46.0, random), middle(w, h, 17.0, random), fine(w, h, 5.0, random),
        stainEdge(w, h, 9.0, random);

    const Rgb paper{240, 229, 203};
    const Rgb darkPaper{214, 192, 150};
    const Rgb edgeBrown{178, 140, 92};
    const Rgb stainBrown{196, 160, 108};

    struct Stain {
        double cx, cy, rx, ry, strength;
    };
    // Placed clear of the lines the about box writes at the lower left.
    const Stain stains[] = {{262, 14, 30, 22, 1.0},
                            {228, 112, 24, 17, 0.8},
                            {-4, 40, 20, 28, 0.7},
                            {150, 6, 14, 9, 0.5}};

    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            double px = x + 0.5, py = y + 0.5;
            double mottle =
                0.55 * broad.at(px, py) + 0.3 * middle.at(px, py) + 0.15 * fine.at(px, py);
            Rgb c = mix(paper, darkPaper, clamp01((mottle - 0.3) * 0.8));

            // Water stains: a faint wash with a darker tide line at its rim.
            for (const Stain& s : stains) {
                double dx = (px - s.cx) / s.rx, dy = (py - s.cy) / s.ry;
                double d = std::sqrt(dx * dx + dy * dy) + 0.22 * (stainEdge.at(px, py) - 0.5);
                if (d >= 1.15) continue;
                double wash = d < 1.0 ? 0.16 * (0.6 + 0.4 * d) : 0.0;
                double tide = std::exp(-std::pow((d - 1.0) / 0.06, 2.0)) * 0.3;
                c = mix(c, stainBrown, s.strength * (wash + tide));
            }

            // Darker, browner edges and corners, as of a page handled for centuries.
            double ex = std::min(px, w - px), ey = std::min(py, h - py);
            double edge = std::exp(-ex / 9.0) + std::exp(-ey / 7.0);
            edge += 0.6 * std::exp(-std::sqrt(ex * ex + ey * ey) / 12.0);
            c = mix(c, edgeBrown, clamp01(0.4 * edge * (0.7 + 0.6 * middle.at(px * 2, py * 2))));

            // Grain.
            double grain = (random.uniform() - 0.5) * 6.0;
            c = {c.r + grain, c.g + grain, c.b + grain * 0.8};
            row[x] = qRgb(int(std::clamp(c.r, 0.0, 255.0)), int(std::clamp(c.g, 0.0, 255.0)),
                          int(std::clamp(c.b, 0.0, 255.0)));
        }
    }

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Fibres: short strands a shade darker or lighter than the page, mostly along the sheet.
    for (int i = 0; i < 420; ++i) {
        double x = random.range(0, w), y = random.range(0, h);
        double angle = random.range(-0.5, 0.5) + (random.uniform() < 0.2 ? 1.57 : 0.0);
        double length = random.range(2.0, 9.0);
        bool dark = random.uniform() < 0.6;
        QColor color = dark ? QColor(150, 120, 80, 22) : QColor(255, 250, 235, 40);
        painter.setPen(QPen(color, random.range(0.4, 0.8)));
        painter.drawLine(QPointF(x, y),
                         QPointF(x + length * std::cos(angle), y + length * std::sin(angle)));
    }
    // Foxing: small rust-brown spots, none where the version lines go.
    for (int i = 0; i < 16; ++i) {
        double x = random.range(4, w - 4), y = random.range(4, h - 4);
        if (x < 150 && y > 80) continue;
        double r = random.range(0.5, 1.6);
        QRadialGradient spot(QPointF(x, y), r * 2.0);
        spot.setColorAt(0.0, QColor(140, 85, 40, int(random.range(40, 90))));
        spot.setColorAt(1.0, QColor(140, 85, 40, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(spot);
        painter.drawEllipse(QPointF(x, y), r * 2.0, r * 2.0);
    }
    return image;
}

// ---------------------------------------------------------------------------------------------
// The star table behind the title: ruled rows and column pairs with faded figures, fading out
// before the quiet band.

// Alpha factor of table ink at height y: full in the body, gone by the quiet band.
double tableFade(double y) { return 1.0 - smoothStep(64.0, kQuietTop - 2.0, y); }

void drawTable(QPainter& painter, SplitMix64& random) {
    const double top = 25.0, rowHeight = 7.5, bottom = kQuietTop - 1.0;
    // Column edges: a number column, a word column, then longitude, latitude (degrees and
    // minutes each) and magnitude.
    const double rules[] = {12, 31, 34, 104, 107, 146, 149, 188, 191, 212, 215, 272};
    const QColor ruleInk(150, 70, 50);
    painter.setRenderHint(QPainter::Antialiasing);

    // Vertical rules, drawn in short pieces so that they fade with the rows.
    for (double x : rules) {
        double jitter = random.range(-0.3, 0.3);
        for (double y = top - 3.0; y < bottom; y += 1.0) {
            double a = tableFade(y) * 0.28;
            if (a <= 0.005) break;
            painter.setPen(
                QPen(QColor(ruleInk.red(), ruleInk.green(), ruleInk.blue(), int(255 * a)), 0.6));
            painter.drawLine(QPointF(x + jitter, y), QPointF(x + jitter + 0.02, y + 1.0));
        }
    }
    // Row rules.
    for (double y = top; y < bottom; y += rowHeight) {
        double a = tableFade(y) * 0.2;
        if (a <= 0.005) break;
        painter.setPen(
            QPen(QColor(ruleInk.red(), ruleInk.green(), ruleInk.blue(), int(255 * a)), 0.5));
        painter.drawLine(QPointF(rules[0], y + 0.3), QPointF(rules[11], y - 0.3));
    }

    // Entries: row numbers, pseudo-words, degree and minute figures, magnitudes.
    QFont figures = serifFont(7.0, false, true);
    QFont words;
    words.setFamilies({"Z003", "URW Chancery L", "P052", "Liberation Serif"});
    words.setPixelSize(8);
    words.setHintingPreference(QFont::PreferNoHinting);
    const char letters[] = "aeioustrnlmcdhbpqg";
    int number = 7 + random.below(20);
    for (double y = top + rowHeight - 1.6; y < bottom; y += rowHeight, ++number) {
        double a = tableFade(y - 3.0) * 0.34;
        if (a <= 0.01) break;
        QColor ink(70, 45, 28, int(255 * a));
        painter.setPen(ink);

        painter.setFont(figures);
        painter.drawText(QPointF(16.0 + random.range(-0.5, 0.5), y), QString::number(number));

        painter.setFont(words);
        QString word;
        int wordCount = 2 + random.below(2);
        for (int k = 0; k < wordCount; ++k) {
            if (k) word += ' ';
            int length = 2 + random.below(5);
            for (int i = 0; i < length; ++i)
                word += QChar(letters[random.below(sizeof letters - 1)]);
        }
        painter.drawText(QPointF(37.0 + random.range(0, 3), y), word);

        painter.setFont(figures);
        auto degreesMinutes = [&](double left, int maxDegrees) {
            painter.drawText(QPointF(left + random.range(0, 2), y),
                             QString::number(random.below(maxDegrees)));
            painter.drawText(QPointF(left + 22 + random.range(0, 2), y),
                             QString::number(random.below(6) * 10));
        };
        degreesMinutes(110.0, 30);
        degreesMinutes(152.0, 60);
        painter.drawText(QPointF(199.0 + random.range(-0.5, 0.5), y),
                         QString::number(1 + random.below(6)));
        // A marginal note in some rows.
        if (random.uniform() < 0.45) {
            painter.setFont(words);
            QString note;
            int length = 3 + random.below(6);
            for (int i = 0; i < length; ++i)
                note += QChar(letters[random.below(sizeof letters - 1)]);
            painter.drawText(QPointF(220.0 + random.range(0, 10), y), note);
        }
    }
}

// ---------------------------------------------------------------------------------------------

// A soft lightening of the paper behind the title, so that the table does not compete with it.
void clearBehind(QPainter& painter, const QRectF& area) {
    QImage mask(painter.device()->width(), painter.device()->height(),
                QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    for (int y = 0; y < mask.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            double dx = std::max({area.left() - x, 0.0, x - area.right()});
            double dy = std::max({area.top() - y, 0.0, y - area.bottom()});
            double a = 0.72 * std::exp(-(dx * dx + dy * dy) / 30.0);
            int alpha = int(255 * a);
            // Premultiplied paper colour.
            row[x] = qRgba(240 * alpha / 255, 230 * alpha / 255, 205 * alpha / 255, alpha);
        }
    }
    painter.drawImage(0, 0, mask);
}

QImage drawAboutPicture() {
    SplitMix64 random{0x7E55A4A5ull};
    QImage image = drawPaper(random);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    drawTable(painter, random);

    // Credit line and the rule under it.
    QFont credit = serifFont(10.5, false, true);
    painter.setFont(credit);
    painter.setPen(QColor(92, 58, 34, 235));
    QFontMetricsF creditMetrics(credit);
    painter.drawText(QPointF(14.0, 4.0 + creditMetrics.ascent()), "Star catalogue viewer");
    painter.setPen(QPen(QColor(96, 60, 36, 190), 0.8));
    painter.drawLine(QPointF(14.0, 19.5), QPointF(270.0, 19.5));

    // The title, its capitals in red ink as in a rubricated manuscript.
    QFont title = serifFont(33.0, true, false);
    QFontMetricsF titleMetrics(title);
    const QString words[] = {"Tessaran", "Stars"};
    double space = titleMetrics.horizontalAdvance(' ');
    double total =
        titleMetrics.horizontalAdvance(words[0]) + space + titleMetrics.horizontalAdvance(words[1]);
    double left = std::floor((kAboutWidth - total) / 2.0);
    double baseline = 61.0;
    clearBehind(painter, QRectF(left + 2, baseline - titleMetrics.capHeight() - 1, total - 4,
                                titleMetrics.capHeight() + titleMetrics.descent() * 0.6));

    const QColor ink(48, 30, 18);
    const QColor rubric(150, 38, 24);
    double x = left;
    for (const QString& word : words) {
        QString capital = word.left(1), rest = word.mid(1);
        QPainterPath path;
        path.addText(QPointF(x, baseline), title, capital);
        double capitalAdvance = titleMetrics.horizontalAdvance(capital);
        QPainterPath restPath;
        restPath.addText(QPointF(x + capitalAdvance, baseline), title, rest);
        // A faint bleed of the ink into the paper first, then the letters.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(110, 70, 40, 40));
        painter.drawPath(path.translated(0.6, 0.7));
        painter.drawPath(restPath.translated(0.6, 0.7));
        painter.setBrush(rubric);
        painter.drawPath(path);
        painter.setBrush(ink);
        painter.drawPath(restPath);
        x += titleMetrics.horizontalAdvance(word) + space;
    }

    // A small star figure in the quiet band's right end, far from the version lines.
    painter.setBrush(Qt::NoBrush);
    const QPointF centre(246.0, 103.0);
    painter.setPen(QPen(QColor(110, 70, 40, 70), 0.7));
    painter.drawEllipse(centre, 15.0, 15.0);
    painter.setPen(QPen(QColor(110, 70, 40, 45), 0.5));
    painter.drawEllipse(centre, 12.0, 12.0);
    painter.drawLine(QPointF(centre.x() - 15.0, centre.y() + 4.0),
                     QPointF(centre.x() + 15.0, centre.y() - 4.0));
    const QPointF stars[] = {{-6, -5}, {3, -8}, {7, 2}, {-2, 6}, {-9, 3}, {1, -1}};
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(90, 55, 30, 110));
    for (const QPointF& s : stars) painter.drawEllipse(centre + s, 0.9, 0.9);
    painter.end();
    return image;
}

// ---------------------------------------------------------------------------------------------
// The icon: a dark sky disc, a faint ecliptic arc, a few stars and the circle round an ancient
// position beside its modern star. Drawn afresh at every size, with a thicker circle when small.

QImage drawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double k = size / 64.0;
    painter.scale(k, k);
    const QPointF centre(32.0, 32.0);
    const double radius = 30.5;

    QRadialGradient sky(QPointF(26.0, 24.0), 40.0);
    sky.setColorAt(0.0, QColor(38, 58, 112));
    sky.setColorAt(0.6, QColor(16, 26, 62));
    sky.setColorAt(1.0, QColor(6, 10, 28));
    painter.setPen(QPen(QColor(150, 125, 70), std::max(1.6, 1.2 / k)));
    painter.setBrush(sky);
    painter.drawEllipse(centre, radius, radius);

    QPainterPath disc;
    disc.addEllipse(centre, radius - 1.0, radius - 1.0);
    painter.setClipPath(disc);
    // The ecliptic, a gentle arc across the disc.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(210, 180, 100, size <= 16 ? 120 : 90), std::max(1.0, 0.9 / k)));
    painter.drawArc(QRectF(-26.0, 20.0, 116.0, 70.0), 30 * 16, 120 * 16);
    painter.setClipping(false);

    struct Star {
        double x, y, r;
    };
    const Star stars[] = {{19.5, 20.0, 2.3}, {41.0, 14.5, 1.6}, {45.5, 40.0, 2.8},
                          {22.0, 45.0, 1.5}, {31.5, 29.0, 1.2}, {12.5, 33.0, 1.0},
                          {52.0, 26.0, 1.0}};
    for (const Star& s : stars) {
        if (size <= 16 && s.r < 1.5) continue;
        double r = std::max(s.r, 0.75 / k);
        QRadialGradient glow(QPointF(s.x, s.y), r * 2.2);
        glow.setColorAt(0.0, QColor(255, 255, 255, 255));
        glow.setColorAt(0.45, QColor(235, 240, 255, 230));
        glow.setColorAt(1.0, QColor(200, 215, 255, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(QPointF(s.x, s.y), r * 2.2, r * 2.2);
    }
    // The ancient position's circle, a little off its modern star.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(240, 175, 70), std::max(2.0, 1.3 / k)));
    painter.drawEllipse(QPointF(43.5, 38.0), 9.0, 9.0);
    painter.end();
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("resources"));
    if (!folder.exists()) {
        std::fprintf(stderr, "make-artwork: no folder %s\n", qPrintable(folder.path()));
        return 1;
    }
    bool ok = drawAboutPicture().save(folder.filePath("about.png"), "PNG");
    for (int size : {16, 32, 48, 64, 128})
        ok = drawIcon(size).save(folder.filePath(QString("icon_%1.png").arg(size)), "PNG") && ok;
    if (!ok) {
        std::fprintf(stderr, "make-artwork: could not write the pictures into %s\n",
                     qPrintable(folder.path()));
        return 1;
    }
    std::printf("make-artwork: about.png and icon_16..128.png written into %s\n",
                qPrintable(folder.path()));
    return 0;
}
