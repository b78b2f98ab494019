#pragma once

#include <QByteArray>
#include <QImage>

namespace tarvesh::document {

// `image` as the 24-bit BMP file Qt's BMP writer makes of it once converted to
// QImage::Format_RGB32, byte for byte: a 14-byte file header, a 40-byte info header carrying the
// image's dots per metre, and the rows bottom-up, blue, green, red, each padded with zeros to
// four bytes. The whole file is one buffer, so it reaches a device in one write. Empty for a
// null image, or one too large for a BMP's 32-bit sizes.
QByteArray EncodePageBmp(const QImage& image);

}  // namespace tarvesh::document
