// A picture of one view, drawn exactly as the main window shows it: the frame rendered at the
// view's size in device pixels and the star numbers written over it in the label font of the
// request's device pixel ratio (the status line is the window's own and is left out). The one
// drawing path of the viewer's Save Picture and of the snapshot tool; and the PNG file of such a
// picture, written whole or not at all. Needs Qt's painting only, no widgets.
#pragma once

#include <QImage>
#include <QString>

#include "render/sky_layers.h"

// The picture of the request's view, width x height device pixels; a null image when the view
// is missing or the picture cannot be had (no memory, a side of 0). The request's stars and the
// colour table's working entry are left as a paint leaves them.
QImage drawSkyPicture(const RenderRequest& request, ColorTable& colors,
                      const StarColors& starColors);

// Writes the picture as a PNG to `path` through a temporary file in the same folder, renamed over
// `path` once complete; false when it failed, leaving neither the temporary file nor, if there was
// none before, a file at `path`.
bool writePictureFile(const QImage& picture, const QString& path);
