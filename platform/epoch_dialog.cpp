#include "platform/epoch_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/platform_services.h"
#include "app/shell.h"
#include "platform/dialog_units.h"
#include "platform/drawing.h"
#include "platform/window.h"

namespace {

constexpr char kTitle[] = "Set Epoch";
constexpr int kWidthUnits = 200, kHeightUnits = 110;

// The template's controls, positions and sizes in dialog units.
struct UnitRect {
    int x, y, width, height;
};
struct LabelControl {
    const char* text;
    Qt::Alignment alignment;
    UnitRect rect;
};
constexpr LabelControl kLabels[] = {
    {"Epoch", Qt::AlignLeft, {7, 11, 24, 8}},
    {"Offsets added to catalog positions:", Qt::AlignHCenter, {7, 29, 186, 8}},
    {"Longitude", Qt::AlignLeft, {7, 44, 40, 8}},
    {"Latitude", Qt::AlignRight, {100, 44, 40, 8}},
    {"Presets", Qt::AlignLeft, {7, 70, 32, 8}},
};
// Indexed by EpochField.
constexpr UnitRect kFieldRects[kEpochFieldCount] = {
    {33, 9, 80, 12}, {46, 43, 44, 12}, {148, 43, 44, 12}};
constexpr int kFieldLengths[kEpochFieldCount] = {
    kEpochFieldLength, kOffsetFieldLength, kOffsetFieldLength};
// The drop-down list; its height is the closed box's own.
constexpr UnitRect kPresetsRect = {36, 68, 80, 0};
constexpr UnitRect kOkRect = {32, 92, 50, 14};
constexpr UnitRect kCancelRect = {118, 92, 50, 14};
constexpr char kOkText[] = "OK";
constexpr char kCancelText[] = "Cancel";

QRect pixels(const DialogUnits& units, const UnitRect& r) {
    return dialogUnitsRect(units, r.x, r.y, r.width, r.height);
}

std::string codePageText(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace

EpochDialog::EpochDialog(const EpochSetting& setting, QWidget* owner)
    : QDialog(owner), setting_(setting) {
    setWindowTitle(QString::fromLatin1(kTitle));
    setFont(dialogFont());
    DialogUnits units = dialogUnitsOf(dialogFont());
    setFixedSize(dialogUnitsToPixelsX(units, kWidthUnits),
                 dialogUnitsToPixelsY(units, kHeightUnits));

    // Created in the template's order, which is the order Tab goes through them.
    auto label = [&](const LabelControl& control) {
        QLabel* shown = new QLabel(QString::fromLatin1(control.text), this);
        shown->setAlignment(control.alignment | Qt::AlignVCenter);
        shown->setGeometry(pixels(units, control.rect));
    };
    auto field = [&](EpochField which) {
        QLineEdit* edit = new QLineEdit(this);
        edit->setMaxLength(kFieldLengths[which]);
        edit->setGeometry(pixels(units, kFieldRects[which]));
        edit->installEventFilter(this);
        fields_[which] = edit;
    };
    label(kLabels[0]);
    field(EpochFieldDate);
    label(kLabels[1]);
    label(kLabels[2]);
    field(EpochFieldLongitude);
    label(kLabels[3]);
    field(EpochFieldLatitude);
    label(kLabels[4]);
    presets_ = new QComboBox(this);
    for (int row = 0; row < kPresetRowCount; ++row)
        presets_->addItem(QString::fromLatin1(presetRowName(row)));
    QRect presetsRect = pixels(units, kPresetsRect);
    presetsRect.setHeight(presets_->sizeHint().height());
    presets_->setGeometry(presetsRect);
    ok_ = new QPushButton(QString::fromLatin1(kOkText), this);
    ok_->setGeometry(pixels(units, kOkRect));
    ok_->setDefault(true);
    cancel_ = new QPushButton(QString::fromLatin1(kCancelText), this);
    cancel_->setGeometry(pixels(units, kCancelRect));

    showFieldTexts(epochFieldTexts(setting_));
    presets_->setCurrentIndex(presetRowFor(setting_));
    // Connected after the preselection, which must not rewrite the fields.
    connect(presets_, &QComboBox::activated, this, [this](int row) { choosePreset(row); });
    connect(ok_, &QPushButton::clicked, this, [this] { confirm(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    fields_[EpochFieldDate]->setFocus(Qt::OtherFocusReason);
}

EpochFields EpochDialog::fieldTexts() const {
    EpochFields fields;
    for (int i = 0; i < kEpochFieldCount; ++i) fields.text[i] = codePageText(fields_[i]->text());
    return fields;
}

void EpochDialog::showFieldTexts(const EpochFields& fields) {
    for (int i = 0; i < kEpochFieldCount; ++i)
        fields_[i]->setText(textFromCodePage(fields.text[i].c_str()));
}

void EpochDialog::choosePreset(int row) {
    EpochFields fields = fieldTexts();
    if (applyPresetRow(row, fields)) showFieldTexts(fields);
}

void EpochDialog::confirm() {
    EpochSetting read = setting_;
    if (!readEpochFields(fieldTexts(), read)) {
        platformMessageBox(kInvalidEpochValuesMessage, kProgramCaption);
        return;
    }
    setting_ = read;
    accept();
}

bool EpochDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        for (int i = 0; i < kEpochFieldCount; ++i) {
            if (watched != fields_[i]) continue;
            std::string typed = codePageText(fields_[i]->text());
            std::string shown = fieldTextOnFocusLoss(EpochField(i), typed);
            if (shown != typed) fields_[i]->setText(textFromCodePage(shown.c_str()));
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool platformEpochDialog(EpochSetting& setting) {
    EpochDialog dialog(setting, mainWindow());
    if (dialog.exec() != QDialog::Accepted) return false;
    setting = dialog.setting();
    return true;
}
