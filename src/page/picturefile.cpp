#include "page/picturefile.h"

#include <QFileInfo>
#include <QImageReader>

namespace tarvesh::page {

QImage ReadPictureFile(const QString& path) {
  const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
  if (suffix.isEmpty()) return QImage(path);
  QImageReader reader(path, suffix);
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

}  // namespace tarvesh::page
