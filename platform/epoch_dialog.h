// The modal "Set Epoch" dialog: the epoch and the two offsets as texts, the presets list and OK
// and Cancel, laid out as its template in dialog units. The widgets only show and collect texts;
// what they open with, what a preset writes, how a field is rewritten when it loses the focus
// and how OK reads them are the rules of catalog/epoch_dialog. platformEpochDialog opens it; Qt
// tests reach it as the active modal dialog.
#pragma once

#include <QDialog>

#include "catalog/epoch_dialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

class EpochDialog : public QDialog {
public:
    EpochDialog(const EpochSetting& setting, QWidget* owner);

    // The setting read by OK; the opening one until then.
    const EpochSetting& setting() const { return setting_; }

    QLineEdit* field(EpochField which) const { return fields_[which]; }
    QComboBox* presets() const { return presets_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EpochFields fieldTexts() const;
    void showFieldTexts(const EpochFields& fields);
    void choosePreset(int row);
    void confirm();

    EpochSetting setting_;
    QLineEdit* fields_[kEpochFieldCount];
    QComboBox* presets_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
