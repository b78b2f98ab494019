#include "document/pagepicture.h"

#include <QIODevice>
#include <cerrno>

#include "document/bmpwriter.h"
#include "document/regularfile.h"
#include "document/safefile.h"

namespace tarvesh::document {

namespace {
// The largest BMP file a sane picture makes: its pixels at 32 bits, with room for the largest
// header and palette and some bytes after the pixels.
constexpr qint64 kMaxPictureFileBytes = kMaxPictureBytes + (qint64(64) << 10);
}  // namespace

std::optional<QImage> LoadPagePicture(const QString& path, FileError* error) {
  const std::optional<BmpPicture> picture = ReadPagePicture(path, error);
  if (!picture) return std::nullopt;
  QImage image = picture->Image();
  if (image.isNull()) {
    if (error) *error = FileError::Of(path, FileError::Problem::kTooLarge);
    return std::nullopt;
  }
  return image;
}

std::optional<BmpPicture> ReadPagePicture(const QString& path, FileError* error) {
  std::optional<QByteArray> bytes = ReadRegularFile(path, kMaxPictureFileBytes, error);
  if (!bytes) return std::nullopt;
  return ReadBmp(std::move(*bytes), path, error);
}

std::optional<QSize> ReadPagePictureSize(const QString& path, FileError* error) {
  // Every header the format has, with room for the masks and a palette before the pixels.
  constexpr qint64 kHeadBytes = 4096;
  qint64 length = 0;
  const std::optional<QByteArray> head =
      ReadRegularFileHead(path, kMaxPictureFileBytes, kHeadBytes, &length, error);
  if (!head) return std::nullopt;
  if (const std::optional<QSize> size = Rows24Size(*head, length)) return size;
  const std::optional<BmpPicture> whole = ReadPagePicture(path, error);
  if (!whole) return std::nullopt;
  return whole->Size();
}

bool EncodePagePicture(const QImage& image, QIODevice& device) {
  return WritePageBmp(image, [&](QByteArrayView piece) {
    return device.write(piece.data(), piece.size()) == piece.size();
  });
}

namespace {

// Writes what `encode` puts on the device at `path` through a SafeFile.
template <typename Encode>
std::optional<FileError> WriteThroughSafeFile(const QString& path, Encode encode) {
  SafeFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.Error();
  // A null picture is refused without a device error.
  if (!encode(file)) return file.Error().value_or(FileError::System(path, EINVAL));
  return file.Commit();
}

}  // namespace

std::optional<FileError> WritePagePicture(const QImage& image, const QString& path) {
  return WriteThroughSafeFile(path,
                              [&](QIODevice& device) { return EncodePagePicture(image, device); });
}

std::optional<FileError> WriteImageFile(const QImage& image, const QString& path,
                                        const char* format) {
  return WriteThroughSafeFile(path, [&](QIODevice& device) { return image.save(&device, format); });
}

}  // namespace tarvesh::document
