// The Find dialog on the offscreen platform, over a list of names standing in for the shell's
// search: the list follows what is typed, its first line current; Enter in the field, a double
// click on a line or OK choose a line; Escape chooses none.
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "dialog_helpers.h"
#include "platform/find_dialog.h"

namespace {

// The names holding the query, letter case aside; "" matches nothing.
std::vector<std::string> namesHolding(void*, const std::string& query) {
    std::vector<std::string> lines;
    for (const char* name : {"alp Ori", "bet Ori", "alp UMi", "Orion", "Ursa Minor"})
        if (!query.empty() && QString(name).contains(query.c_str(), Qt::CaseInsensitive))
            lines.push_back(name);
    return lines;
}

}  // namespace

class FindDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theListFollowsTheTextAndALineIsChosenOrNone() {
        const QStringList u = {"alp UMi", "Ursa Minor"};  // typing "u"
        // How, what is typed, the lines listed, the action and the line chosen (-1: none).
        const struct {
            const char *how, *typed; QStringList listed;
            std::function<void(FindDialog*)> act; int line;
        } ways[] = {
            {"Enter in the field", "orix\b", {"alp Ori", "bet Ori", "Orion"}, [](FindDialog* d) {
                 QTest::keyClick(d->field(), Qt::Key_Return);
             }, 0},
            {"double click", "u", u, [](FindDialog* d) {
                 const QPoint at = d->list()->visualItemRect(d->list()->item(1)).center();
                 QTest::mouseClick(d->list()->viewport(), Qt::LeftButton, {}, at);
                 QTest::mouseDClick(d->list()->viewport(), Qt::LeftButton, {}, at);
             }, 1},
            {"OK", "u", u, [](FindDialog* d) {
                 d->list()->setCurrentRow(1);
                 QTest::mouseClick(d->okButton(), Qt::LeftButton);
             }, 1},
            {"Escape", "zeta", {}, [](FindDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }, -1},
        };
        for (const auto& way : ways) {
            QStringList listed;
            whenOpens<QDialog>("Find dialog", [&](QDialog* opened) {
                auto* dialog = static_cast<FindDialog*>(opened);
                QTest::keyClicks(dialog->field(), way.typed);
                for (int row = 0; row < dialog->list()->count(); ++row)
                    listed << dialog->list()->item(row)->text();
                if (listed != way.listed) return dialog->reject();
                way.act(dialog);
            });
            int line = -1;
            const bool chosen = platformFindDialog(namesHolding, nullptr, line);
            QCOMPARE(listed, way.listed);
            QVERIFY2((chosen ? line : -1) == way.line, way.how);
        }
    }
};

QTEST_MAIN(FindDialogTest)
#include "find_dialog_test.moc"
