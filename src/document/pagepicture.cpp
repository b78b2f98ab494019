#include "document/pagepicture.h"

#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

namespace tarvesh::document {

namespace {
// Megabytes of pixel memory a picture may take; the largest page the sliders make needs about 85.
constexpr int kAllocationLimitMb = 256;
}  // namespace

std::optional<QImage> LoadPagePicture(const QString& path) {
  if (!QFileInfo(path).isFile()) return std::nullopt;
  QImageReader reader(path, "bmp");
  reader.setAutoDetectImageFormat(false);
  reader.setAllocationLimit(kAllocationLimitMb);
  if (!reader.canRead()) return std::nullopt;
  const QSize size = reader.size();
  if (!size.isValid() || size.isEmpty() || size.width() > kMaxPictureSide ||
      size.height() > kMaxPictureSide)
    return std::nullopt;
  QImage image;
  if (!reader.read(&image) || image.isNull()) return std::nullopt;
  return image;
}

bool SavePagePicture(const QImage& image, const QString& path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  // RGB32 is written as a 24-bit BMP.
  if (!image.convertToFormat(QImage::Format_RGB32).save(&file, "BMP")) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace tarvesh::document
