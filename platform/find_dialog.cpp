#include "platform/find_dialog.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/drawing.h"
#include "platform/nearest_stars_window.h"
#include "platform/window.h"

namespace {

constexpr char kFindTitle[] = "Find";
constexpr char kFieldLabel[] = "Star number, designation or constellation:";
constexpr int kFindListColumns = 64;  // a reference line with its constellation's name
constexpr int kFindListLines = 12;

}  // namespace

FindDialog::FindDialog(FindMatches matches, void* context, QWidget* owner)
    : QDialog(owner), matches_(matches), context_(context) {
    setWindowTitle(kFindTitle);
    setModal(true);
    auto* label = new QLabel(kFieldLabel, this);
    field_ = new QLineEdit(this);
    label->setBuddy(field_);
    list_ = new QListWidget(this);
    list_->setFont(listFont());
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    const QFontMetrics metrics(listFont());
    list_->setMinimumSize(metrics.horizontalAdvance(QString(kFindListColumns, QLatin1Char('0'))),
                          kFindListLines * metrics.lineSpacing());
    ok_ = new QPushButton("OK", this);
    cancel_ = new QPushButton("Cancel", this);
    ok_->setDefault(true);
    ok_->setEnabled(false);

    connect(field_, &QLineEdit::textChanged, this,
            [this](const QString& text) { showMatches(text); });
    connect(list_, &QListWidget::currentRowChanged, this,
            [this](int row) { ok_->setEnabled(row >= 0); });
    // Double click, or Enter with the list focused.
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { choose(list_->row(item)); });
    connect(ok_, &QPushButton::clicked, this, [this] { choose(list_->currentRow()); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(field_);
    layout->addWidget(list_, 1);
    layout->addLayout(buttons);
    field_->setFocus();
}

void FindDialog::showMatches(const QString& text) {
    // The shell takes single-byte text; what the code page cannot hold matches nothing.
    const std::vector<std::string> lines = matches_(context_, text.toLatin1().toStdString());
    list_->clear();
    for (const std::string& line : lines) list_->addItem(textFromCodePage(line.c_str()));
    list_->setCurrentRow(lines.empty() ? -1 : 0);
}

void FindDialog::choose(int row) {
    if (row < 0 || row >= list_->count() || result() == QDialog::Accepted) return;
    chosen_ = row;
    accept();
}

bool platformFindDialog(FindMatches matches, void* context, int& chosen) {
    FindDialog dialog(matches, context, mainWindow());
    if (dialog.exec() != QDialog::Accepted || dialog.chosen() < 0) return false;
    chosen = dialog.chosen();
    return true;
}
