// The pictures compiled into the program from resources/: the about picture and the icon.
#pragma once

#include <QIcon>
#include <QImage>

// A fresh copy of the 284 x 125 about picture, every time (a null image if the resources are
// missing from the build).
QImage loadAboutPicture();

// The program's icon with all its sizes, for the main window and the application.
QIcon programIcon();
