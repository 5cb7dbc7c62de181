// The printing services on Qt: the print dialog on one QPrinter kept for the run (so the printer,
// paper and orientation chosen are offered again), the document drawn with a QPainter behind the
// shell's page surface, the modeless cancel dialog, and handling events while a page is drawn.
// Where no printer is installed Qt offers printing to a PDF file, which these services treat as
// a printer of kPdfDotsPerInch.
#pragma once

class QPrinter;
class QDialog;

// The resolution a PDF is drawn at: that of the laser printers the page's device-pixel pen widths
// and disc sizes suit.
constexpr int kPdfDotsPerInch = 600;

// The printer of the run, made on first use.
QPrinter& runPrinter();
// Drops the printer and its setup; the viewer calls it after its event loop.
void releasePrintSetup();
// The cancel dialog while a job runs, else nullptr.
QDialog* printCancelDialog();
