// The "Set Epoch" dialog on the offscreen platform: its fields, labels and presets as it opens,
// presets filling the fields, reformatting when a field loses the focus, OK with an invalid field,
// and the platform service returning the values read or nothing on Cancel.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "dialog_helpers.h"
#include "geometry/vectors.h"
#include "platform/dialogs.h"
#include "platform/epoch_dialog.h"
#include "platform/platform.h"

namespace {

std::vector<std::pair<std::string, std::string>> shownBoxes;
void recordBox(const std::string& text, const std::string& caption) {
    shownBoxes.emplace_back(text, caption);
}

const EpochPreset& calvoridon() { return kEpochPresets[1]; }

QString degrees(const char* codePageText) { return QString::fromLatin1(codePageText); }

}  // namespace

class EpochDialogTest : public QObject {
    Q_OBJECT

    // A dialog shown modeless and active, so that focus moves between its fields as a user's
    // clicks and Tab would move it.
    std::unique_ptr<EpochDialog> open(const EpochSetting& setting) {
        auto dialog = std::make_unique<EpochDialog>(setting, nullptr);
        dialog->show();
        dialog->activateWindow();
        if (!QTest::qWaitForWindowActive(dialog.get())) return nullptr;
        return dialog;
    }

    static void typeInto(QLineEdit* field, const QString& text) {
        field->setFocus(Qt::MouseFocusReason);
        field->selectAll();
        QTest::keyClicks(field, text);
    }

private Q_SLOTS:
    void init() {
        shownBoxes.clear();
        setMessageBoxObserver(recordBox);
    }
    void cleanup() { setMessageBoxObserver(nullptr); }

    void opensWithTheTemplatesControlsAndTheSettingsTexts() {
        auto dialog = open(EpochSetting{});
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("Set Epoch"));
        QStringList labels;
        for (QLabel* label : dialog->findChildren<QLabel*>()) labels << label->text();
        QCOMPARE(labels, QStringList({"Epoch", "Offsets added to catalog positions:", "Longitude",
                                      "Latitude", "Presets"}));
        QCOMPARE(dialog->field(EpochFieldDate)->text(), QString("20 Jul 137 AD"));
        QCOMPARE(dialog->field(EpochFieldLongitude)->text(), degrees("+0\xBA" "00'"));
        QCOMPARE(dialog->field(EpochFieldLatitude)->text(), degrees("+0\xBA" "00'"));
        QComboBox* presets = dialog->presets();
        QCOMPARE(presets->count(), 3);
        QCOMPARE(presets->itemText(0), QString("Custom"));
        QCOMPARE(presets->itemText(1), QString("Maridon"));
        QCOMPARE(presets->itemText(2), QString("Calvoridon"));
        QCOMPARE(presets->currentIndex(), 1);
        QCOMPARE(dialog->okButton()->text(), QString("OK"));
        QVERIFY(dialog->okButton()->isDefault());
        QCOMPARE(dialog->cancelButton()->text(), QString("Cancel"));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog->field(EpochFieldDate)));
        // The fields hold what the dialog reads of them, no more.
        QCOMPARE(dialog->field(EpochFieldDate)->maxLength(), 31);
        QCOMPARE(dialog->field(EpochFieldLongitude)->maxLength(), 15);
        QCOMPARE(dialog->field(EpochFieldLatitude)->maxLength(), 15);
        // Laid out as the template: the labels left of their fields, OK left of Cancel, the
        // longitude field left of the latitude field on one row.
        QRect longitude = dialog->field(EpochFieldLongitude)->geometry();
        QRect latitude = dialog->field(EpochFieldLatitude)->geometry();
        QCOMPARE(longitude.top(), latitude.top());
        QVERIFY(longitude.right() < latitude.left());
        QVERIFY(dialog->okButton()->geometry().right() < dialog->cancelButton()->geometry().left());
        QVERIFY(dialog->field(EpochFieldDate)->geometry().bottom() < longitude.top());
        QVERIFY(longitude.bottom() < presets->geometry().top());
        QVERIFY(presets->geometry().bottom() < dialog->okButton()->geometry().top());
        QVERIFY(dialog->rect().contains(dialog->cancelButton()->geometry()));
        QVERIFY(dialog->rect().contains(latitude));

        // A setting of no preset opens on "Custom".
        auto custom = open(EpochSetting{2451545.0, 0.01f, 0});
        QVERIFY(custom);
        QCOMPARE(custom->presets()->currentIndex(), 0);
        QCOMPARE(custom->field(EpochFieldDate)->text(), QString("1 Jan 2000 AD"));
        QCOMPARE(custom->field(EpochFieldLongitude)->text(), degrees("+0\xBA" "34'"));
    }

    void presetsFillTheFieldsAndCustomLeavesThem() {
        auto dialog = open(EpochSetting{});
        QVERIFY(dialog);
        QComboBox* presets = dialog->presets();
        presets->setFocus();
        QTest::keyClick(presets, Qt::Key_Down);
        QCOMPARE(presets->currentIndex(), 2);
        QCOMPARE(dialog->field(EpochFieldDate)->text(), QString("1 Jan 130 BC"));
        QCOMPARE(dialog->field(EpochFieldLongitude)->text(), degrees("-2\xBA" "40'"));
        QCOMPARE(dialog->field(EpochFieldLatitude)->text(), degrees("+0\xBA" "00'"));

        // Editing a field leaves the selection; choosing "Custom" leaves the fields.
        typeInto(dialog->field(EpochFieldLatitude), "1 30");
        QCOMPARE(presets->currentIndex(), 2);
        presets->setFocus();
        QTest::keyClick(presets, Qt::Key_Home);
        QCOMPARE(presets->currentIndex(), 0);
        QCOMPARE(dialog->field(EpochFieldDate)->text(), QString("1 Jan 130 BC"));
        QCOMPARE(dialog->field(EpochFieldLatitude)->text(), degrees("+1\xBA" "30'"));
        // Choosing the same preset again writes it again.
        QTest::keyClick(presets, Qt::Key_Down);
        QCOMPARE(presets->currentIndex(), 1);
        typeInto(dialog->field(EpochFieldDate), "2000");
        chooseRow(presets, 1);
        QCOMPARE(dialog->field(EpochFieldDate)->text(), QString("20 Jul 137 AD"));
    }

    void leavingAFieldReformatsItWhenItParses() {
        auto dialog = open(EpochSetting{});
        QVERIFY(dialog);
        QLineEdit* date = dialog->field(EpochFieldDate);
        QLineEdit* longitude = dialog->field(EpochFieldLongitude);
        QLineEdit* latitude = dialog->field(EpochFieldLatitude);
        typeInto(date, "jul 20, 137");
        QCOMPARE(date->text(), QString("jul 20, 137"));  // nothing while typing
        QTest::keyClick(date, Qt::Key_Tab);
        QCOMPARE(date->text(), QString("20 Jul 137 AD"));
        typeInto(longitude, "2.5");
        typeInto(latitude, "1 60");  // focus from the longitude to the latitude
        QCOMPARE(longitude->text(), degrees("+2\xBA" "30'"));
        typeInto(date, "20/7/137");
        QCOMPARE(latitude->text(), QString("1 60"));  // invalid: kept as typed, nothing said
        QTest::keyClick(date, Qt::Key_Tab);
        QCOMPARE(date->text(), QString("20/7/137"));
        typeInto(latitude, QString::fromUtf8("-1°30"));  // the degree sign as typed
        typeInto(date, "100 bc");
        QCOMPARE(latitude->text(), degrees("-1\xBA" "30'"));
        QVERIFY(shownBoxes.empty());
        // More than a field holds is not taken.
        typeInto(date, QString(40, QLatin1Char('1')));
        QCOMPARE(date->text().size(), 31);
    }

    void okWithAnInvalidFieldSaysSoAndStaysOpen() {
        auto dialog = open(EpochSetting{});
        QVERIFY(dialog);
        typeInto(dialog->field(EpochFieldLatitude), "1 60");
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        QCOMPARE(shownBoxes.size(), size_t(1));
        QCOMPARE(shownBoxes[0].first, std::string("One or more of the values is invalid."));
        QCOMPARE(shownBoxes[0].second, std::string("Tessaran Stars"));
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QCOMPARE(dialog->setting().epoch, EpochSetting{}.epoch);

        // Enter is OK too; corrected, the dialog closes with the values read.
        typeInto(dialog->field(EpochFieldDate), "0");
        QTest::keyClick(dialog->field(EpochFieldDate), Qt::Key_Return);
        QCOMPARE(shownBoxes.size(), size_t(2));
        QVERIFY(dialog->isVisible());
        typeInto(dialog->field(EpochFieldDate), "137 BC");
        typeInto(dialog->field(EpochFieldLatitude), "-0 30");
        QTest::keyClick(dialog->field(EpochFieldLatitude), Qt::Key_Return);
        QCOMPARE(shownBoxes.size(), size_t(2));
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(dialog->setting().epoch, jdOf("1 Jan 137 BC"));
        QVERIFY(std::fabs(dialog->setting().offsetLat - float(-0.5 * kDegToRad)) < 1e-7f);
        QCOMPARE(dialog->setting().offsetLon, 0.0f);
    }

    // The service: OK returns the values read, and a dialog opened on them preselects their
    // preset; Cancel and Escape leave the caller's setting.
    void serviceReturnsTheValuesOnOkAndNothingOnCancel() {
        EpochSetting setting;
        whenModalOpens<QDialog>([](QDialog* shown) {
            auto* dialog = dynamic_cast<EpochDialog*>(shown);
            if (!dialog) return shown->reject();
            dialog->presets()->setCurrentIndex(2);
            chooseRow(dialog->presets(), 2);
            dialog->okButton()->click();
        });
        QVERIFY(platformEpochDialog(setting));
        QCOMPARE(setting.epoch, calvoridon().epoch);
        QVERIFY(std::fabs(setting.offsetLon - calvoridon().offsetLon) < 1e-7f);
        QCOMPARE(setting.offsetLat, 0.0f);

        int preselected = -1;
        whenModalOpens<QDialog>([&](QDialog* shown) {
            auto* dialog = dynamic_cast<EpochDialog*>(shown);
            if (dialog) {
                preselected = dialog->presets()->currentIndex();
                typeInto(dialog->field(EpochFieldDate), "2000");
                dialog->cancelButton()->click();
            } else {
                shown->reject();
            }
        });
        const EpochSetting before = setting;
        QVERIFY(!platformEpochDialog(setting));
        QCOMPARE(preselected, 2);
        QCOMPARE(setting.epoch, before.epoch);
        QCOMPARE(setting.offsetLon, before.offsetLon);

        whenModalOpens<QDialog>([](QDialog* shown) {
            if (auto* dialog = dynamic_cast<EpochDialog*>(shown))
                typeInto(dialog->field(EpochFieldLongitude), "5");
            QTest::keyClick(shown, Qt::Key_Escape);
        });
        QVERIFY(!platformEpochDialog(setting));
        QCOMPARE(setting.offsetLon, before.offsetLon);
        QVERIFY(shownBoxes.empty());
    }

private:
    // What a user's choice in the drop-down list sends.
    static void chooseRow(QComboBox* presets, int row) { Q_EMIT presets->activated(row); }

    static double jdOf(const char* text) {
        double jd = 0;
        return parseEpoch(text, jd) ? jd : -1;
    }
};

QTEST_MAIN(EpochDialogTest)
#include "epoch_dialog_test.moc"
