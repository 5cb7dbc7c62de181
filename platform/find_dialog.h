// The modal "Find" dialog: a text field, the list of what matches the text under it in the
// nearest-stars window's fixed-pitch font, and OK and Cancel. Every change of the text asks the
// shell for the list again and selects its first line, so that Enter in the field chooses it;
// double click or Enter on a line chooses that line, OK the selected one. platformFindDialog
// opens it over the main window; Qt tests reach it as the active modal dialog.
#pragma once

#include <QDialog>

#include "app/platform_services.h"

class QLineEdit;
class QListWidget;
class QPushButton;

class FindDialog : public QDialog {
public:
    FindDialog(FindMatches matches, void* context, QWidget* owner);

    // The line chosen, an index into the last list; -1 until one is.
    int chosen() const { return chosen_; }

    QLineEdit* field() const { return field_; }
    QListWidget* list() const { return list_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void showMatches(const QString& text);
    void choose(int row);

    FindMatches matches_;
    void* context_;
    int chosen_ = -1;
    QLineEdit* field_;
    QListWidget* list_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
