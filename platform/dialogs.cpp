#include "platform/dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "app/platform_services.h"
#include "platform/drawing.h"
#include "platform/window.h"

static MessageBoxObserver messageBoxObserver = nullptr;

void setMessageBoxObserver(MessageBoxObserver observer) { messageBoxObserver = observer; }

void platformMessageBox(const char* text, const char* caption) {
    if (messageBoxObserver) {
        messageBoxObserver(text ? text : "", caption ? caption : "");
        return;
    }
    // No owner window: the box stands on its own, as at start-up before any window exists.
    QMessageBox box(QMessageBox::NoIcon, textFromCodePage(caption), textFromCodePage(text),
                    QMessageBox::Ok);
    box.exec();
}

static QColor toQColor(Color color) {
    return QColor(colorRed(color), colorGreen(color), colorBlue(color));
}

static Color fromQColor(const QColor& color) {
    return makeColor(color.red(), color.green(), color.blue());
}

constexpr int kCustomColorCount = 16;

bool platformChooseColor(Color initial, Color customColors[16], Color& chosen) {
    for (int i = 0; i < kCustomColorCount; ++i)
        QColorDialog::setCustomColor(i, toQColor(customColors[i]));
    QColorDialog dialog(toQColor(initial), mainWindow());
    bool confirmed = dialog.exec() == QDialog::Accepted;
    // Custom colours the user defined are kept for the run, whichever button closed the box.
    for (int i = 0; i < kCustomColorCount; ++i)
        customColors[i] = fromQColor(QColorDialog::customColor(i));
    if (confirmed) chosen = fromQColor(dialog.selectedColor());
    return confirmed;
}

bool platformChooseFile(const char* title, const char* pattern, const std::string& initialDir,
                        std::string& path) {
    // Qt's dialogs never change the working directory, which the data-file locator reads first.
    QFileDialog dialog(mainWindow(), textFromCodePage(title), QString::fromLocal8Bit(initialDir),
                       textFromCodePage(pattern));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted) return false;
    QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return false;
    path = QDir::toNativeSeparators(QFileInfo(files.first()).absoluteFilePath()).toLocal8Bit().toStdString();
    return true;
}

bool platformChooseSaveFile(const char* title, const char* suggestedName, std::string& path) {
    // Starts in the folder of the last picture saved in the run, at first in the home folder.
    static QString lastFolder = QDir::homePath();
    QFileDialog dialog(mainWindow(), textFromCodePage(title),
                       QDir(lastFolder).filePath(textFromCodePage(suggestedName)),
                       QStringLiteral("PNG pictures (*.png)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    if (dialog.exec() != QDialog::Accepted) return false;
    QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return false;
    QFileInfo chosen(files.first());
    lastFolder = chosen.absolutePath();
    path = QDir::toNativeSeparators(chosen.absoluteFilePath()).toLocal8Bit().toStdString();
    return true;
}

bool platformOpenDocument(const std::string& path) {
    // The locator may give a bare name in the working directory: the browser needs a full path.
    QString absolute = QFileInfo(QString::fromLocal8Bit(path)).absoluteFilePath();
    return QDesktopServices::openUrl(QUrl::fromLocalFile(absolute));
}
