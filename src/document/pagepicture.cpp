#include "document/pagepicture.h"

#include <QIODevice>
#include <cerrno>

#include "document/regularfile.h"
#include "document/safefile.h"

namespace tarvesh::document {

namespace {
// The largest BMP file a sane picture makes: its pixels at 32 bits, with room for the largest
// header and palette and some bytes after the pixels.
constexpr qint64 kMaxPictureFileBytes = kMaxPictureBytes + (qint64(64) << 10);
}  // namespace

std::optional<QImage> LoadPagePicture(const QString& path, FileError* error) {
  const std::optional<QByteArray> bytes = ReadRegularFile(path, kMaxPictureFileBytes, error);
  if (!bytes) return std::nullopt;
  return DecodeBmp(*bytes, path, error);
}

bool EncodePagePicture(const QImage& image, QIODevice& device) {
  // RGB32 is written as a 24-bit BMP.
  return image.convertToFormat(QImage::Format_RGB32).save(&device, "BMP");
}

std::optional<FileError> WritePagePicture(const QImage& image, const QString& path) {
  return WriteImageFile(image.convertToFormat(QImage::Format_RGB32), path, "BMP");
}

std::optional<FileError> WriteImageFile(const QImage& image, const QString& path,
                                        const char* format) {
  SafeFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.Error();
  // Qt refuses to write a null picture without a device error.
  if (!image.save(&file, format)) return file.Error().value_or(FileError::System(path, EINVAL));
  return file.Commit();
}

}  // namespace tarvesh::document
