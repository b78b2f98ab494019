#pragma once

#include <QByteArray>
#include <QImage>
#include <functional>

namespace tarvesh::document {

// `image` as the 24-bit BMP file Qt's BMP writer makes of it once converted to
// QImage::Format_RGB32, byte for byte: a 14-byte file header, a 40-byte info header carrying the
// image's dots per metre, and the rows bottom-up, blue, green, red, each padded with zeros to
// four bytes. Empty for a null image, or one too large for a BMP's 32-bit sizes.
QByteArray EncodePageBmp(const QImage& image);
// The same file handed to `put` in order: the headers, then pieces of whole rows packed in one
// buffer used again for every piece, so the pixels go on while they are in the cache. False for
// a null or too large image, or as soon as `put` returns false.
bool WritePageBmp(const QImage& image, const std::function<bool(QByteArrayView)>& put);

}  // namespace tarvesh::document
