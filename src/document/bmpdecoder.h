#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <optional>
#include <variant>

#include "document/fileerror.h"
#include "page/picturerows.h"

namespace tarvesh::document {

// Pictures wider or higher than this are refused before any pixel memory is taken.
inline constexpr int kMaxPictureSide = 16384;
// Nor may a picture take more pixel memory than this.
inline constexpr qint64 kMaxPictureBytes = qint64(256) << 20;

// Decodes the BMP picture in `bytes` whole or not at all, into QImage::Format_RGB32. Every
// header the format has had since Windows 2 (core, info, v2 to v5), bottom-up and top-down rows,
// every valid bit depth (1, 2, 4 and 8 with a palette, 16, 24 and 32, with or without bit
// fields) and RLE4 and RLE8 are read. A file cut short, a header that contradicts the data, or a
// palette index beyond the palette is refused with `error` naming `path`, so nothing unread is
// ever shown; pixels an RLE picture skips on purpose are white, like the page.
std::optional<QImage> DecodeBmp(QByteArrayView bytes, const QString& path, FileError* error);

// The rows of an uncompressed 24-bit BMP, the page picture's own kind, read from the file's bytes
// as they are asked for: once the header and the file's length are checked, such rows decode
// without a check. A row's ink ends after its last pixel that is not white.
class Bmp24Rows : public page::PictureRows {
 public:
  Bmp24Rows(QByteArray bytes, QSize size, bool topDown, qint64 pixelsAt);

  QSize Size() const override { return size_; }
  int InkEnd(int y) const override;
  void Read(int y, int count, quint32* to) const override;

 private:
  const uchar* Row(int y) const;

  QByteArray bytes_;
  QSize size_;
  bool topDown_;
  qint64 pixelsAt_;
  qint64 rowBytes_;
};

// A BMP picture as read: the page picture's own kind keeps the file's bytes, to be decoded
// straight into a page (Bmp24Rows); any other kind is decoded whole at once.
class BmpPicture {
 public:
  explicit BmpPicture(const QImage& image) : data_(std::in_place_type<page::ImageRows>, image) {}
  explicit BmpPicture(Bmp24Rows rows) : data_(std::move(rows)) {}

  QSize Size() const;
  // The rows, to load a page from.
  const page::PictureRows& Rows() const;
  // The whole picture as Format_RGB32.
  QImage Image() const;

 private:
  std::variant<page::ImageRows, Bmp24Rows> data_;
};

// The picture in `bytes` as DecodeBmp reads it, refused as it refuses it.
std::optional<BmpPicture> ReadBmp(QByteArray bytes, const QString& path, FileError* error);
// The size of the picture ReadBmp reads as Bmp24Rows from a file of `length` bytes that begins
// with `head`, known from its header alone; nothing when `head` does not tell (another kind, a
// header longer than `head`, or a file ReadBmp refuses), and ReadBmp must read the whole file.
std::optional<QSize> Rows24Size(QByteArrayView head, qint64 length);

}  // namespace tarvesh::document
