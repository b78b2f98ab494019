#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QString>
#include <optional>

#include "document/fileerror.h"

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

}  // namespace tarvesh::document
