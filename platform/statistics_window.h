// The Statistics window: a modeless dialog owned by the main window with the shell's summary in
// the fixed-pitch list font, two plots drawn with QPainter (the residual scatter, the current
// constellation's stars highlighted, and the epoch-fit curve with its lowest point and the fitted
// epoch marked), a line on the fit and the buttons Fit Epoch, Apply Offsets, Apply Epoch Fit and
// Close. The buttons hand their commands to the main window's command handler; the keys stay
// here (Escape closes). The Statistics services of the platform show it and ask after it; Qt
// tests reach it through statisticsWindow().
#pragma once

#include <QDialog>
#include <QWidget>

#include "app/platform_services.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

class StatisticsPlot : public QWidget {
public:
    enum Kind { Scatter, Curve };
    StatisticsPlot(Kind kind, QWidget* parent);
    void setContent(const StatisticsContent& content);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_;
    StatisticsContent content_;
};

class StatisticsWindow : public QDialog {
public:
    explicit StatisticsWindow(QWidget* owner);
    void showContent(const StatisticsContent& content);

    QPlainTextEdit* summary() const { return summary_; }
    QLabel* fitLine() const { return fitLine_; }
    QPushButton* fitButton() const { return fitButton_; }
    QPushButton* applyOffsetsButton() const { return applyOffsetsButton_; }
    QPushButton* applyFitButton() const { return applyFitButton_; }
    const StatisticsContent& content() const { return content_; }

private:
    QPlainTextEdit* summary_;
    StatisticsPlot* scatter_;
    StatisticsPlot* curve_;
    QLabel* fitLine_;
    QPushButton* fitButton_;
    QPushButton* applyOffsetsButton_;
    QPushButton* applyFitButton_;
    StatisticsContent content_;
};

// The window, open or closed, or nullptr before it was first shown.
StatisticsWindow* statisticsWindow();
