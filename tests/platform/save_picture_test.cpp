// Save Picture in the whole viewer on a screen of 200 % (QT_SCALE_FACTOR=2): the PNG written is
// the snapshot tool's picture of the same view at the window's device resolution and what the
// window shows; a file that cannot be written gets the message and leaves nothing behind.
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <string>
#include <vector>

#include "dialog_helpers.h"
#include "platform/dialogs.h"
#include "platform/sky_picture.h"
#include "platform/viewer.h"
#include "platform/window.h"

namespace {

std::vector<std::string> messages;  // "caption: text" of each message box

QImage rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

}  // namespace

class SavePictureTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> work;
    QString previousFolder;

    QString workFile(const QString& name) const { return work->filePath(name); }

    // Runs the viewer on the shipped data and types i with the save dialog answered `path`; the
    // window's size and what it shows come back.
    void saveThroughTheViewer(const QString& path, QSize& windowSize, QImage& shown) {
        QTimer::singleShot(0, [&] {
            MainWindow* window = mainWindow();
            if (window && QTest::qWaitForWindowExposed(window)) {
                // Typed into the name field once the dialog is active, as a person answers it.
                whenModalOpens<QFileDialog>(
                    "save dialog",
                    [path](QFileDialog* dialog) {
                        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
                        static_cast<QDialog*>(dialog)->accept();
                    },
                    [](QFileDialog* dialog) { return dialog->isActiveWindow(); });
                QTest::keyClick(window, Qt::Key_I);
                windowSize = window->size();
                shown = rgb(window->grab().toImage());
            }
            platformCloseMainWindow();
        });
        QCOMPARE(runViewerBounded(), 0);
    }

private Q_SLOTS:
    void initTestCase() {
        setMessageBoxObserver([](const std::string& text, const std::string& caption) {
            messages.push_back(caption + ": " + text);
        });
    }
    void init() {
        messages.clear();
        work = std::make_unique<QTemporaryDir>();
        previousFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(work->path()));
        for (const char* name : {"catb.bin", "cat1.dat", "cat2.dat", "cat3.dat"})
            QVERIFY(QFile::copy(QString(TESSARAN_SOURCE_DIR "/data/") + name, workFile(name)));
        // Default settings of its own, not those another test left beside the program.
        QFile settings(workFile("maridon.cfg"));
        QVERIFY(settings.open(QIODevice::WriteOnly));
    }
    void cleanup() {
        QDir::setCurrent(previousFolder);
        work.reset();
    }

    void thePictureIsTheSnapshotOfTheViewAtDeviceResolutionAndWhatTheWindowShows() {
        QCOMPARE(qApp->devicePixelRatio(), 2.0);
        QSize size;
        QImage shown;
        saveThroughTheViewer(workFile("Ursa Minor.png"), size, shown);
        QCOMPARE(messages, std::vector<std::string>{});
        const QImage saved = rgb(QImage(workFile("Ursa Minor.png")));
        QCOMPARE(saved.size(), size * 2);

        QProcess snapshot;
        snapshot.start(TESSARAN_BUILD_DIR "/tessaran-snapshot",
                       {"--reference", "catb.bin", "--edition", "cat1.dat", "--size",
                        QString("%1x%2").arg(size.width()).arg(size.height()), "--scale", "2",
                        workFile("snapshot.png")});
        QVERIFY2(snapshot.waitForFinished(30000), "the snapshot tool did not finish in 30 s");
        QCOMPARE(snapshot.exitCode(), 0);
        QVERIFY(saved == rgb(QImage(workFile("snapshot.png"))));
        // On the screen the same device pixels, but for the status line along the bottom.
        QCOMPARE(shown.size(), saved.size());
        const QRect sky(0, 0, saved.width(), saved.height() * 3 / 4);
        QVERIFY(shown.copy(sky) == saved.copy(sky));
    }

    void aFileThatCannotBeWrittenGetsTheMessageAndLeavesNothing() {
        QSize size;
        QImage shown;
        saveThroughTheViewer(workFile("missing/x.png"), size, shown);
        QCOMPARE(messages,
                 std::vector<std::string>{"Tessaran Stars: The picture couldn't be saved."});
        // A folder standing where the file would go: written beside it, nothing may stay.
        QVERIFY(QDir(work->path()).mkdir("taken.png"));
        const QStringList before = QDir(work->path()).entryList(QDir::AllEntries | QDir::Hidden);
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QVERIFY(!writePictureFile(picture, workFile("taken.png")));
        QCOMPARE(QDir(work->path()).entryList(QDir::AllEntries | QDir::Hidden), before);
        QVERIFY(writePictureFile(picture, workFile("written.png")));
        QCOMPARE(rgb(QImage(workFile("written.png"))), picture);
    }
};

QTEST_MAIN(SavePictureTest)
#include "save_picture_test.moc"
