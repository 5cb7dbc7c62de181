#include "platform/statistics_window.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/platform_services.h"
#include "platform/drawing.h"
#include "platform/nearest_stars_window.h"
#include "platform/window.h"
#include "resources/popup_menu.h"

namespace {

constexpr int kSummaryColumns = 100;
constexpr int kSummaryLines = 12;
constexpr int kPlotSize = 300;      // pixels, each plot's side at its smallest
constexpr int kPlotMargin = 40;     // room for the axis labels
constexpr double kDotRadius = 1.5;  // the edition's other stars
constexpr double kHighlightRadius = 2.5;
const QColor kAxisColor(120, 120, 120);
const QColor kOtherStarsColor(110, 130, 170);
const QColor kHighlightColor(220, 60, 40);
const QColor kCurveColor(30, 90, 200);

QPointer<StatisticsWindow> theWindow;

void runMainWindowCommand(int command) {
    MainWindow* main = mainWindow();
    if (!main) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);  // the epoch fit takes a moment
    main->runCommand(command);
    QApplication::restoreOverrideCursor();
}

QString yearText(double year) {
    const int whole = int(std::lround(std::fabs(year)));
    return year < 0 ? QString("%1 BC").arg(whole) : QString("AD %1").arg(whole);
}

// Maps plot values onto the widget's plot area (y up).
struct Axes {
    QRectF area;
    double xMin, xMax, yMin, yMax;
    QPointF at(double x, double y) const {
        return {area.left() + (x - xMin) / (xMax - xMin) * area.width(),
                area.bottom() - (y - yMin) / (yMax - yMin) * area.height()};
    }
};

}  // namespace

StatisticsPlot::StatisticsPlot(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setMinimumSize(kPlotSize, kPlotSize);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void StatisticsPlot::setContent(const StatisticsContent& content) {
    content_ = content;
    update();
}

QSize StatisticsPlot::sizeHint() const { return {kPlotSize, kPlotSize}; }

void StatisticsPlot::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    const QRectF area = QRectF(rect()).adjusted(kPlotMargin, kPlotMargin / 2, -kPlotMargin / 2,
                                                -kPlotMargin);
    const QFontMetrics metrics(font());
    painter.setPen(kAxisColor);
    painter.drawRect(area);

    if (kind_ == Scatter) {
        const double half = content_.scatterHalfWidth;
        const Axes axes{area, -half, half, -half, half};
        painter.drawLine(axes.at(-half, 0), axes.at(half, 0));
        painter.drawLine(axes.at(0, -half), axes.at(0, half));
        painter.drawText(QRectF(area.left(), area.bottom(), area.width(), kPlotMargin),
                         Qt::AlignCenter,
                         QString::fromUtf8("\u0394\u03bb cos \u03b2, \u00b1%1'").arg(half));
        painter.save();
        painter.translate(area.left() - kPlotMargin / 2.0, area.center().y());
        painter.rotate(-90);
        painter.drawText(QRectF(-area.height() / 2, -kPlotMargin / 2.0, area.height(), kPlotMargin),
                         Qt::AlignCenter, QString::fromUtf8("\u0394\u03b2, \u00b1%1'").arg(half));
        painter.restore();
        painter.setPen(Qt::NoPen);
        painter.setBrush(kOtherStarsColor);
        for (const PlotPoint& p : content_.scatter)
            painter.drawEllipse(axes.at(p.x, p.y), kDotRadius, kDotRadius);
        painter.setBrush(kHighlightColor);
        for (const PlotPoint& p : content_.scatterHighlighted)
            painter.drawEllipse(axes.at(p.x, p.y), kHighlightRadius, kHighlightRadius);
        return;
    }

    if (content_.curve.size() < 2) {
        painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap,
                         "Fit Epoch draws the robust spread of the separations against the "
                         "epoch here.");
        return;
    }
    double yMax = 0;
    for (const PlotPoint& p : content_.curve) yMax = std::max(yMax, p.y);
    const Axes axes{area, content_.curve.front().x, content_.curve.back().x, 0,
                    yMax > 0 ? yMax * 1.1 : 1};
    painter.drawText(QRectF(area.left(), area.bottom(), area.width(), kPlotMargin),
                     Qt::AlignLeft | Qt::AlignTop, yearText(axes.xMin));
    painter.drawText(QRectF(area.left(), area.bottom(), area.width(), kPlotMargin),
                     Qt::AlignRight | Qt::AlignTop, yearText(axes.xMax));
    painter.drawText(QRectF(area.left(), area.bottom(), area.width(), kPlotMargin),
                     Qt::AlignHCenter | Qt::AlignBottom, "robust spread against the epoch");
    painter.drawText(QRectF(0, area.top(), kPlotMargin - 2, metrics.height()),
                     Qt::AlignRight, QString("%1'").arg(axes.yMax, 0, 'f', 0));
    QPainterPath path(axes.at(content_.curve.front().x, content_.curve.front().y));
    for (const PlotPoint& p : content_.curve) path.lineTo(axes.at(p.x, p.y));
    painter.setPen(QPen(kCurveColor, 1.5));
    painter.drawPath(path);
    if (content_.epochFitted) {
        painter.setPen(QPen(kHighlightColor, 1, Qt::DashLine));
        painter.drawLine(axes.at(content_.fittedYear, 0), axes.at(content_.fittedYear, axes.yMax));
    }
    const QPointF lowest = axes.at(content_.curveMinimum.x, content_.curveMinimum.y);
    painter.setPen(QPen(kHighlightColor, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(lowest, 4, 4);
    painter.drawText(lowest + QPointF(6, -6), QString("lowest %1, %2'")
                                                  .arg(yearText(content_.curveMinimum.x))
                                                  .arg(content_.curveMinimum.y, 0, 'f', 1));
}

StatisticsWindow::StatisticsWindow(QWidget* owner) : QDialog(owner) {
    setModal(false);
    summary_ = new QPlainTextEdit(this);
    summary_->setReadOnly(true);
    summary_->setLineWrapMode(QPlainTextEdit::NoWrap);
    summary_->setFont(listFont());
    const QFontMetrics metrics(listFont());
    summary_->setMinimumSize(metrics.horizontalAdvance(QString(kSummaryColumns, QLatin1Char('0'))),
                             kSummaryLines * metrics.lineSpacing());
    scatter_ = new StatisticsPlot(StatisticsPlot::Scatter, this);
    curve_ = new StatisticsPlot(StatisticsPlot::Curve, this);
    fitLine_ = new QLabel(this);
    fitLine_->setWordWrap(true);
    fitButton_ = new QPushButton("Fit Epoch", this);
    applyOffsetsButton_ = new QPushButton("Apply Offsets", this);
    applyFitButton_ = new QPushButton("Apply Epoch Fit", this);
    auto* closeButton = new QPushButton("Close", this);
    connect(fitButton_, &QPushButton::clicked, [] { runMainWindowCommand(CmdStatisticsFitEpoch); });
    connect(applyOffsetsButton_, &QPushButton::clicked,
            [] { runMainWindowCommand(CmdStatisticsApplyOffsets); });
    connect(applyFitButton_, &QPushButton::clicked,
            [] { runMainWindowCommand(CmdStatisticsApplyEpochFit); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* plots = new QHBoxLayout;
    plots->addWidget(scatter_);
    plots->addWidget(curve_);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {fitButton_, applyOffsetsButton_, applyFitButton_})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addLayout(plots, 1);
    layout->addWidget(fitLine_);
    layout->addLayout(buttons);
}

void StatisticsWindow::showContent(const StatisticsContent& content) {
    content_ = content;
    setWindowTitle(textFromCodePage(content.title.c_str()));
    summary_->setPlainText(textFromCodePage(content.summary.c_str()));
    scatter_->setContent(content);
    curve_->setContent(content);
    fitLine_->setText(textFromCodePage(content.fitText.c_str()));
    applyFitButton_->setEnabled(content.epochFitted);
    if (!isVisible()) show();
}

StatisticsWindow* statisticsWindow() { return theWindow.data(); }

void platformStatisticsShow(const StatisticsContent& content) {
    // Owned by the main window of the moment.
    if (theWindow && theWindow->parentWidget() != mainWindow()) delete theWindow.data();
    if (!theWindow) theWindow = new StatisticsWindow(mainWindow());
    theWindow->showContent(content);
}

bool platformStatisticsIsOpen() { return theWindow && theWindow->isVisible(); }
