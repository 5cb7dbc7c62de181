// The about box on Qt's offscreen platform: its size and border, the two lines written into a
// fresh picture, closing by time-out, click and keys, a splash and a modal box at once, and where
// it opens.
#include <QElapsedTimer>
#include <QPointer>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QtTest>
#include <functional>

#include "platform/about_box.h"
#include "platform/pictures.h"

namespace {

constexpr int kLongTimeout = 60000;  // a splash that only a click or the test closes

QList<QWidget*> openBoxes() {
    QList<QWidget*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == kAboutBoxObjectName && widget->isVisible())
            boxes.append(widget);
    return boxes;
}

// The box opened last: boxes are opened one at a time in these tests, after the others closed.
QPointer<QWidget> onlyBox() {
    QList<QWidget*> boxes = openBoxes();
    return boxes.size() == 1 ? boxes.front() : nullptr;
}

// Runs `act` on the modal about box once it is the active modal widget, while the code under
// test waits in the box's event loop. Should `act` fail to close it, the box is closed a second
// later all the same, so that the test fails instead of waiting for ever; `forced` tells.
void whenModalBoxOpens(std::function<void(QWidget*)> act, bool* forced, int triesLeft = 300) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->objectName() == kAboutBoxObjectName) {
        act(modal);
        QTimer::singleShot(1000, modal, [modal, forced] {
            *forced = true;
            modal->close();
        });
        return;
    }
    if (triesLeft > 0)
        QTimer::singleShot(10, [=] { whenModalBoxOpens(act, forced, triesLeft - 1); });
}

QImage screenImage(QWidget* box) {
    return box->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

class AboutBoxTest : public QObject {
    Q_OBJECT

private:
    QWidget* owner_ = nullptr;

private Q_SLOTS:
    void init() {
        owner_ = new QWidget;
        owner_->setGeometry(100, 100, 500, 300);
        owner_->show();
        QVERIFY(QTest::qWaitForWindowExposed(owner_));
        owner_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(owner_));
    }
    void cleanup() {
        delete owner_;  // takes any box still open with it, as their owner
        owner_ = nullptr;
        QTRY_VERIFY(openBoxes().isEmpty());
    }

    void pictureCarriesTheTwoLinesAtTheirPlace() {
        QImage plain = loadAboutPicture();
        QCOMPARE(plain.size(), QSize(kAboutBoxWidth, kAboutBoxHeight));
        QImage written = aboutBoxPicture();
        QCOMPARE(written.size(), plain.size());

        // Every changed pixel lies in the lines' cells: from x = 14, from y = 88 to below the
        // second line's cell; each line has dark (black-inked) pixels in its own band.
        QRect changed;
        int darkInVersionBand = 0, darkInBuildBand = 0;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x) {
                if (plain.pixel(x, y) == written.pixel(x, y)) continue;
                changed |= QRect(x, y, 1, 1);
                if (qGray(written.pixel(x, y)) < 60)
                    (y < 104 ? darkInVersionBand : darkInBuildBand)++;
            }
        QVERIFY2(changed.left() >= 14 && changed.left() <= 16,
                 qPrintable(QString::number(changed.left())));
        QVERIFY2(changed.top() >= 88 && changed.top() <= 92,
                 qPrintable(QString::number(changed.top())));
        QVERIFY(changed.bottom() < 104 + 16);
        QVERIFY(changed.right() < 200);
        QVERIFY(darkInVersionBand > 30);
        QVERIFY(darkInBuildBand > 30);

        QVERIFY(QRegularExpression("^build [A-Z][a-z]{2} [ 1-3][0-9] [0-9]{4}$")
                    .match(aboutBuildLine())
                    .hasMatch());
        QCOMPARE(aboutVersionLine(), QString("version 1.1"));
    }

    void boxIsTheFramelessPictureDrawnAfreshEachTime() {
        openAboutBox(owner_, kLongTimeout);
        QPointer<QWidget> first = onlyBox();
        QVERIFY(first);
        QVERIFY(QTest::qWaitForWindowExposed(first));
        QCOMPARE(first->size(), QSize(kAboutBoxWidth, kAboutBoxHeight));
        QCOMPARE(first->frameGeometry().size(), QSize(kAboutBoxWidth, kAboutBoxHeight));
        QVERIFY(first->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!first->isModal());
        QImage firstImage = screenImage(first);
        QCOMPARE(firstImage, aboutBoxPicture());
        first->close();
        QTRY_VERIFY(first.isNull());

        openAboutBox(owner_, kLongTimeout);
        QPointer<QWidget> second = onlyBox();
        QVERIFY(second);
        QCOMPARE(screenImage(second), firstImage);
    }

    void splashClosesItselfAfterItsTimeout() {
        QElapsedTimer clock;
        clock.start();
        openAboutBox(owner_, 200);
        QVERIFY(clock.elapsed() < 200);  // returned at once
        QPointer<QWidget> box = onlyBox();
        QVERIFY(box);
        // The splash leaves the keyboard with its owner.
        QTest::qWait(20);
        QCOMPARE(QApplication::activeWindow(), owner_);
        QTest::qWait(50);
        QVERIFY(box);
        QTRY_VERIFY_WITH_TIMEOUT(box.isNull(), 3000);
        QVERIFY(clock.elapsed() >= 200);
    }

    void clickClosesTheBoxButTheSplashIgnoresKeys() {
        openAboutBox(owner_, kLongTimeout);
        QPointer<QWidget> box = onlyBox();
        QVERIFY(box);
        QTest::keyClick(box, Qt::Key_Escape);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::qWait(20);
        QVERIFY(box && box->isVisible());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(200, 40));
        QTRY_VERIFY(box.isNull());
    }

    void enterAndEscapeCloseTheModalBox() {
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            bool seen = false, forced = false;
            QSize size;
            whenModalBoxOpens(
                [&](QWidget* box) {
                    seen = true;
                    size = box->size();
                    QTest::keyClick(box, key);
                },
                &forced);
            openAboutBox(owner_, 0);  // returns once the key has closed it
            QVERIFY(seen);
            QVERIFY2(!forced, qPrintable(QString("key %1 left the box open").arg(key)));
            QCOMPARE(size, QSize(kAboutBoxWidth, kAboutBoxHeight));
            QTRY_VERIFY(openBoxes().isEmpty());
        }
    }

    void splashAndModalBoxCloseIndependently() {
        openAboutBox(owner_, kLongTimeout);
        QPointer<QWidget> splash = onlyBox();
        QVERIFY(splash);
        int boxesWhileModal = 0;
        bool forced = false;
        whenModalBoxOpens(
            [&](QWidget* modal) {
                boxesWhileModal = openBoxes().size();
                QTest::mouseClick(modal, Qt::LeftButton, {}, QPoint(10, 10));
            },
            &forced);
        openAboutBox(owner_, 0);
        QCOMPARE(boxesWhileModal, 2);
        QVERIFY(!forced);
        QTest::qWait(20);
        QVERIFY(splash && splash->isVisible());
        QTest::mouseClick(splash, Qt::LeftButton, {}, QPoint(10, 10));
        QTRY_VERIFY(splash.isNull());
    }

    void boxOpensCentredOverItsOwner() {
        openAboutBox(owner_, kLongTimeout);
        QPointer<QWidget> box = onlyBox();
        QVERIFY(box);
        QRect outer = owner_->frameGeometry();
        QPoint centred(outer.left() + (outer.width() - kAboutBoxWidth) / 2,
                       outer.top() + (outer.height() - kAboutBoxHeight) / 2);
        QCOMPARE(box->frameGeometry().topLeft(), centred);
    }

    void placementIsHeldOnTheDesktop() {
        const QSize box(kAboutBoxWidth, kAboutBoxHeight);
        const QRect desktop(0, 0, 1920, 1080);
        // Centred; halves truncated toward zero, also when the owner is narrower than the box.
        QCOMPARE(aboutBoxPosition(QRect(100, 100, 800, 600), box, desktop), QPoint(358, 337));
        QCOMPARE(aboutBoxPosition(QRect(500, 500, 101, 50), box, desktop), QPoint(409, 463));
        // Near the right and bottom edges: pushed in to end at them.
        QCOMPARE(aboutBoxPosition(QRect(1800, 1000, 400, 300), box, desktop), QPoint(1636, 955));
        QCOMPARE(aboutBoxPosition(QRect(1800, 100, 400, 300), box, desktop), QPoint(1636, 187));
        // An available area below a top panel ends at its own bottom.
        QCOMPARE(aboutBoxPosition(QRect(100, 1000, 400, 300), box, QRect(0, 40, 1920, 1000)),
                 QPoint(158, 915));
        // Partly above or left of the screen: raised to 0.
        QCOMPARE(aboutBoxPosition(QRect(-500, -400, 600, 400), box, desktop), QPoint(0, 0));
        QCOMPARE(aboutBoxPosition(QRect(-300, 200, 400, 300), box, desktop), QPoint(0, 287));
        // A box larger than the desktop keeps its top-left corner on it.
        QCOMPARE(aboutBoxPosition(QRect(0, 0, 200, 100), box, QRect(0, 0, 200, 100)), QPoint(0, 0));

        // And the box on screen goes where the function says, for an owner at the corner.
        owner_->setGeometry(700, 500, 300, 200);
        QTRY_COMPARE(owner_->geometry().topLeft(), QPoint(700, 500));
        openAboutBox(owner_, kLongTimeout);
        QPointer<QWidget> opened = onlyBox();
        QVERIFY(opened);
        QRect available = owner_->screen()->availableGeometry();
        QCOMPARE(opened->frameGeometry().topLeft(),
                 aboutBoxPosition(owner_->frameGeometry(), box, available));
        QVERIFY(available.contains(opened->frameGeometry()));
    }
};

QTEST_MAIN(AboutBoxTest)
#include "about_box_test.moc"
