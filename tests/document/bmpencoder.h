#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>

namespace tarvesh::document {

// How a test writes a BMP file by hand, independent of the decoder.
struct BmpLayout {
  quint32 headerBytes = 40;  // 12 core, 40 info, 52 v2, 56 v3, 108 v4, 124 v5
  int bitsPerPixel = 24;
  quint32 compression = 0;  // 0 RGB, 1 RLE8, 2 RLE4, 3 bit fields, 6 alpha bit fields
  bool topDown = false;
  quint32 masks[3] = {0, 0, 0};  // red, green, blue, for bit fields
};

// `picture` (RGB32) as a BMP of `layout`. A picture of at most 2^bits colours gets a palette of
// those colours, in the order they first appear; RLE pictures are runs of one colour, each row
// ended, the whole ended.
QByteArray EncodeBmp(const QImage& picture, const BmpLayout& layout);

}  // namespace tarvesh::document
