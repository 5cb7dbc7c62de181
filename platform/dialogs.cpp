#include "platform/dialogs.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
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

bool platformChooseSaveFile(const char* title, const char* filter, const char* suggestedName,
                            std::string& path) {
    // Starts in the folder of the last file saved in the run, at first in the home folder.
    static QString lastFolder = QDir::homePath();
    const QString filterText = textFromCodePage(filter);
    QFileDialog dialog(mainWindow(), textFromCodePage(title),
                       QDir(lastFolder).filePath(textFromCodePage(suggestedName)), filterText);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);  // the shell asks
    // "Pictures (*.png)" adds "png" to a name typed without a suffix.
    const QRegularExpressionMatch suffix =
        QRegularExpression(QStringLiteral("\\*\\.(\\w+)")).match(filterText);
    if (suffix.hasMatch()) dialog.setDefaultSuffix(suffix.captured(1));
    if (dialog.exec() != QDialog::Accepted) return false;
    QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return false;
    QFileInfo chosen(files.first());
    lastFolder = chosen.absolutePath();
    path = QDir::toNativeSeparators(chosen.absoluteFilePath()).toLocal8Bit().toStdString();
    return true;
}

int platformQuestionBox(const char* text, const char* caption,
                        const std::vector<std::string>& buttons) {
    QMessageBox box(QMessageBox::Question, textFromCodePage(caption), textFromCodePage(text),
                    QMessageBox::NoButton, mainWindow());
    std::vector<QAbstractButton*> added;
    for (const std::string& label : buttons)
        added.push_back(box.addButton(textFromCodePage(label.c_str()), QMessageBox::ActionRole));
    if (added.empty()) return -1;
    box.setDefaultButton(static_cast<QPushButton*>(added.front()));
    box.setEscapeButton(added.back());
    box.exec();
    for (size_t i = 0; i < added.size(); ++i)
        if (box.clickedButton() == added[i]) return int(i);
    return int(added.size()) - 1;
}

bool platformOpenDocument(const std::string& path) {
    // The locator may give a bare name in the working directory: the browser needs a full path.
    QString absolute = QFileInfo(QString::fromLocal8Bit(path)).absoluteFilePath();
    return QDesktopServices::openUrl(QUrl::fromLocalFile(absolute));
}
