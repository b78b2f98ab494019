#pragma once

#include <QImage>
#include <QString>

namespace tarvesh::page {

// The picture in the file `path`, read by the codec its suffix names (a null image when it is
// not one). Qt's reader would otherwise load every image plugin installed to ask each whether
// it knows the file: several milliseconds of a start-up that reads a handful of BMP and PNG
// pictures. A file without a suffix is recognised by its contents.
QImage ReadPictureFile(const QString& path);

}  // namespace tarvesh::page
