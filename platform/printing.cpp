#include "platform/printing.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>
#include <QVarLengthArray>
#include <algorithm>
#include <memory>

#include "app/platform_services.h"
#include "app/shell.h"
#include "platform/drawing.h"
#include "platform/window.h"

namespace {

std::unique_ptr<QPrinter> thePrinter;

// The document being drawn: the painter on the printer and the pages begun.
struct PrintDocument {
    QPainter painter;
    int pagesStarted = 0;
};
std::unique_ptr<PrintDocument> document;

// Sets only the abort flag, whatever closes it (Cancel, Enter, Escape, the window's close box):
// the job takes the dialog down when it ends.
class CancelDialog : public QDialog {
public:
    CancelDialog(void (*onCancel)(void*), void* context) : onCancel_(onCancel), context_(context) {}
    void reject() override {
        if (onCancel_) onCancel_(context_);
    }

private:
    void (*onCancel_)(void*);
    void* context_;
};
QPointer<CancelDialog> cancelDialog;

QPainter& painterOf(void* context) { return static_cast<PrintDocument*>(context)->painter; }

void setPen(void* context, int width, PenStyle style) {
    // Width 0 is Qt's cosmetic pen: one device pixel, as thin as the device draws.
    QPen pen(Qt::black, std::max(width, 0), style == PenDotted ? Qt::DotLine : Qt::SolidLine,
             style == PenDotted ? Qt::FlatCap : Qt::RoundCap, Qt::RoundJoin);
    painterOf(context).setPen(pen);
}

void drawRectangle(void* context, int left, int top, int right, int bottom) {
    QPainter& painter = painterOf(context);
    painter.setBrush(Qt::NoBrush);
    // The outline runs along the rectangle's inside, right and bottom edges excluded.
    painter.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void drawCircle(void* context, int x, int y, double radius, bool filled) {
    QPainter& painter = painterOf(context);
    painter.setBrush(filled ? QBrush(Qt::black) : QBrush(Qt::NoBrush));
    painter.drawEllipse(QPointF(x, y), radius, radius);
}

void drawLine(void* context, int x0, int y0, int x1, int y1) {
    painterOf(context).drawLine(x0, y0, x1, y1);
}

void drawPolyline(void* context, const PagePoint* points, int count) {
    QVarLengthArray<QPoint, 361> corners(count);
    for (int i = 0; i < count; ++i) corners[i] = QPoint(points[i].x, points[i].y);
    painterOf(context).drawPolyline(corners.data(), count);
}

void setFont(void* context, const char* family, int characterHeight) {
    // The label font has registered the Tahoma that Debian ships with Wine, or chosen a fallback.
    QFont font = labelFont();
    const QString wanted = textFromCodePage(family);
    if (QFontDatabase::hasFamily(wanted)) font.setFamily(wanted);
    font.setPixelSize(std::max(characterHeight, 1));
    painterOf(context).setFont(font);
}

void measureText(void* context, const char* text, int* width, int* height) {
    QFontMetrics metrics = painterOf(context).fontMetrics();
    *width = metrics.horizontalAdvance(textFromCodePage(text));
    *height = metrics.height();
}

void drawText(void* context, int x, int y, const char* text, bool opaqueBackground) {
    QPainter& painter = painterOf(context);
    const QString shown = textFromCodePage(text);
    QFontMetrics metrics = painter.fontMetrics();
    if (opaqueBackground)
        painter.fillRect(QRect(x, y, metrics.horizontalAdvance(shown), metrics.height()),
                         Qt::white);
    painter.save();
    painter.setPen(Qt::black);
    painter.drawText(QPoint(x, y + metrics.ascent()), shown);
    painter.restore();
}

PageSurface documentSurface(PrintDocument& printing) {
    PageSurface surface;
    surface.context = &printing;
    surface.setPen = setPen;
    surface.drawRectangle = drawRectangle;
    surface.drawCircle = drawCircle;
    surface.drawLine = drawLine;
    surface.drawPolyline = drawPolyline;
    surface.setFont = setFont;
    surface.measureText = measureText;
    surface.drawText = drawText;
    return surface;
}

// Printing to a file needs a file: one named after the program in the home folder until the
// user names another.
void offerOutputFile(QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat && printer.outputFileName().isEmpty())
        printer.setOutputFileName(
            QDir::home().filePath(QString::fromLatin1(kProgramCaption) + ".pdf"));
}

}  // namespace

QPrinter& runPrinter() {
    if (!thePrinter) thePrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *thePrinter;
}

void releasePrintSetup() {
    document.reset();
    thePrinter.reset();
}

QDialog* printCancelDialog() { return cancelDialog.data(); }

bool platformPrintDialog(PrinterPage& page) {
    QPrinter& printer = runPrinter();
    printer.setCopyCount(1);
    offerOutputFile(printer);
    QPrintDialog dialog(&printer, mainWindow());
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted) return false;
    // The shell prints one page per copy itself.
    page.copies = printer.copyCount();
    printer.setCopyCount(1);
    if (printer.outputFormat() == QPrinter::PdfFormat) printer.setResolution(kPdfDotsPerInch);
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    page.width = printable.width();
    page.height = printable.height();
    page.dotsPerInchX = printer.logicalDpiX();
    page.dotsPerInchY = printer.logicalDpiY();
    return true;
}

bool platformStartDocument(const char* name, PageSurface& surface) {
    QPrinter& printer = runPrinter();
    printer.setDocName(textFromCodePage(name));
    document = std::make_unique<PrintDocument>();
    if (!document->painter.begin(&printer)) {
        document.reset();
        return false;
    }
    surface = documentSurface(*document);
    return true;
}

bool platformStartPage() {
    if (!document) return false;
    // The first page is there from the start of the document.
    if (document->pagesStarted++ == 0) return true;
    return runPrinter().newPage();
}

bool platformEndPage() { return document && runPrinter().printerState() != QPrinter::Error; }

bool platformEndDocument() {
    if (!document) return false;
    bool ended = document->painter.end();
    document.reset();
    return ended && runPrinter().printerState() != QPrinter::Error;
}

void platformAbortDocument() {
    if (!document) return;
    QPrinter& printer = runPrinter();
    const bool withdrawn = printer.abort();
    document->painter.end();
    document.reset();
    // Qt's PDF engine cannot withdraw what it has begun to write: the file goes instead.
    const QString file = printer.outputFileName();
    if (!withdrawn && printer.outputFormat() == QPrinter::PdfFormat && !file.isEmpty())
        QFile::remove(file);
}

void platformOpenCancelDialog(const char* caption, const char* text, void (*onCancel)(void*),
                              void* context) {
    platformCloseCancelDialog();
    // No owner: the main window is disabled while printing, and with it any window it owns.
    cancelDialog = new CancelDialog(onCancel, context);
    cancelDialog->setWindowTitle(textFromCodePage(caption));
    auto* layout = new QVBoxLayout(cancelDialog);
    auto* label = new QLabel(textFromCodePage(text));
    label->setAlignment(Qt::AlignCenter);
    layout->addWidget(label);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"));
    cancel->setDefault(true);
    QObject::connect(cancel, &QPushButton::clicked, cancelDialog.data(), &QDialog::reject);
    layout->addWidget(cancel, 0, Qt::AlignHCenter);
    if (MainWindow* window = mainWindow()) {
        cancelDialog->adjustSize();
        cancelDialog->move(window->geometry().center() - cancelDialog->rect().center());
    }
    cancelDialog->show();
}

void platformCloseCancelDialog() {
    // Let go of the dialog before deleting it: its destructor hides it, and the events that sends
    // must find no dialog rather than one already destroyed down to its base class.
    CancelDialog* dialog = cancelDialog.data();
    cancelDialog.clear();
    delete dialog;
}

void platformProcessEvents() { QApplication::processEvents(); }

void platformEnableMainWindow(bool enabled) {
    if (MainWindow* window = mainWindow()) window->setEnabled(enabled);
}
