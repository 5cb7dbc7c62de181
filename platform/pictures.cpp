#include "platform/pictures.h"

// The resources are compiled into a static library: naming their initialiser here pulls them into
// every program that loads a picture.
static void initialisePictures() {
    static bool done = false;
    if (done) return;
    done = true;
    Q_INIT_RESOURCE(tessaran);
}

QImage loadAboutPicture() {
    initialisePictures();
    return QImage(QStringLiteral(":/about.png")).convertToFormat(QImage::Format_RGB32);
}

QIcon programIcon() {
    initialisePictures();
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128})
        icon.addFile(QStringLiteral(":/icon_%1.png").arg(size), QSize(size, size));
    return icon;
}
