// The Find dialog on the offscreen platform, over a list of names standing in for the shell's
// search: the list follows what is typed, its first line selected; Enter in the field, a double
// click or Enter on a line, or OK choose a line; Cancel and Escape choose none.
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <string>
#include <vector>

#include "dialog_helpers.h"
#include "platform/find_dialog.h"
#include "platform/nearest_stars_window.h"

namespace {

const char* const kNames[] = {"alp Ori", "bet Ori", "alp UMi", "Orion", "Ursa Minor"};

struct Asked {
    std::vector<std::string> queries;  // in the order the dialog asked
};

// The names holding the query, letter case aside; "" matches nothing.
std::vector<std::string> namesHolding(void* context, const std::string& query) {
    static_cast<Asked*>(context)->queries.push_back(query);
    std::vector<std::string> lines;
    if (query.empty()) return lines;
    for (const char* name : kNames)
        if (QString(name).contains(QString::fromStdString(query), Qt::CaseInsensitive))
            lines.push_back(name);
    return lines;
}

QStringList shown(const FindDialog* dialog) {
    QStringList lines;
    for (int row = 0; row < dialog->list()->count(); ++row)
        lines << dialog->list()->item(row)->text();
    return lines;
}

// The dialog as opened by the service, answered by `act` once it is shown.
struct Outcome {
    bool chosen;
    int line;
};
Outcome runDialog(Asked& asked, std::function<void(FindDialog*)> act) {
    whenModalOpens<QDialog>("Find dialog",
                            [act](QDialog* shown) { act(static_cast<FindDialog*>(shown)); });
    int line = -1;
    const bool chosen = platformFindDialog(namesHolding, &asked, line);
    return {chosen, line};
}

}  // namespace

class FindDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theListFollowsTheTextAndEnterChoosesItsFirstLine() {
        Asked asked;
        QStringList afterOri, afterAlp;
        bool okBeforeTyping = true;
        const Outcome outcome = runDialog(asked, [&](FindDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Find"));
            QCOMPARE(dialog->list()->font(), listFont());
            okBeforeTyping = dialog->okButton()->isEnabled();
            QTest::keyClicks(dialog->field(), "ori");
            afterOri = shown(dialog);
            QTest::keyClicks(dialog->field(), "o");  // "orio"
            dialog->field()->clear();
            QTest::keyClicks(dialog->field(), "alp");
            afterAlp = shown(dialog);
            QCOMPARE(dialog->list()->currentRow(), 0);
            QTest::keyClick(dialog->field(), Qt::Key_Return);
        });
        QVERIFY(!okBeforeTyping);
        QCOMPARE(afterOri, (QStringList{"alp Ori", "bet Ori", "Orion"}));
        QCOMPARE(afterAlp, (QStringList{"alp Ori", "alp UMi"}));
        QCOMPARE(asked.queries.back(), std::string("alp"));
        QVERIFY(asked.queries.size() >= 7);  // every key typed asked again, and the clearing
        QVERIFY(outcome.chosen);
        QCOMPARE(outcome.line, 0);
    }

    void aLineIsChosenByDoubleClickEnterOrOk() {
        const struct {
            const char* how;
            std::function<void(FindDialog*)> choose;  // line 1 of "u", "alp UMi"
        } ways[] = {
            {"double click", [](FindDialog* d) {
                 QListWidget* list = d->list();
                 const QRect line = list->visualItemRect(list->item(1));
                 QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
                 QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line.center());
             }},
            {"Enter on the line", [](FindDialog* d) {
                 d->list()->setFocus();
                 QTest::keyClick(d->list(), Qt::Key_Down);
                 QTest::keyClick(d->list(), Qt::Key_Return);
             }},
            {"OK", [](FindDialog* d) {
                 d->list()->setCurrentRow(1);
                 QTest::mouseClick(d->okButton(), Qt::LeftButton);
             }},
        };
        for (const auto& way : ways) {
            Asked asked;
            const Outcome outcome = runDialog(asked, [&](FindDialog* dialog) {
                QTest::keyClicks(dialog->field(), "u");
                if (shown(dialog) != QStringList{"alp UMi", "Ursa Minor"}) return dialog->reject();
                way.choose(dialog);
            });
            QVERIFY2(outcome.chosen, way.how);
            QCOMPARE(outcome.line, 1);
        }
    }

    void cancelEscapeAndAnEmptyListChooseNothing() {
        const struct {
            const char* how;
            std::function<void(FindDialog*)> act;
        } ways[] = {
            {"Cancel", [](FindDialog* d) {
                 QTest::keyClicks(d->field(), "alp");
                 QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
             }},
            {"Escape", [](FindDialog* d) {
                 QTest::keyClicks(d->field(), "alp");
                 QTest::keyClick(d->field(), Qt::Key_Escape);
             }},
            {"Enter on no match, then Escape", [](FindDialog* d) {
                 QTest::keyClicks(d->field(), "zeta");
                 QTest::keyClick(d->field(), Qt::Key_Return);
                 QVERIFY2(d->isVisible(), "Enter with nothing listed closed the dialog");
                 QTest::keyClick(d->field(), Qt::Key_Escape);
             }},
        };
        for (const auto& way : ways) {
            Asked asked;
            const Outcome outcome = runDialog(asked, way.act);
            QVERIFY2(!outcome.chosen, way.how);
        }
    }
};

QTEST_MAIN(FindDialogTest)
#include "find_dialog_test.moc"
