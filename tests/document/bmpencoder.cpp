#include "bmpencoder.h"

#include <QtEndian>
#include <bit>
#include <vector>

namespace tarvesh::document {

namespace {

void Put16(QByteArray& bytes, int at, quint16 v) {
  qToLittleEndian<quint16>(v, bytes.data() + at);
}
void Put32(QByteArray& bytes, int at, quint32 v) {
  qToLittleEndian<quint32>(v, bytes.data() + at);
}

// A channel value of 8 bits narrowed into `mask`.
quint32 Narrowed(int value, quint32 mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  return (quint32(value) >> (8 - std::min(bits, 8))) << shift;
}

}  // namespace

QByteArray EncodeBmp(const QImage& picture, const BmpLayout& layout) {
  const int w = picture.width();
  const int h = picture.height();
  const int bits = layout.bitsPerPixel;
  const bool core = layout.headerBytes == 12;
  std::vector<QRgb> palette;
  auto index = [&](QRgb colour) {
    for (size_t i = 0; i < palette.size(); ++i)
      if (palette[i] == colour) return int(i);
    palette.push_back(colour);
    return int(palette.size() - 1);
  };
  if (bits <= 8)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) index(picture.pixel(x, y) | 0xff000000);

  QByteArray pixels;
  auto rowOf = [&](int fileRow) { return layout.topDown ? fileRow : h - 1 - fileRow; };
  if (layout.compression == 1 || layout.compression == 2) {
    const bool four = layout.compression == 2;
    for (int r = 0; r < h; ++r) {
      const int y = rowOf(r);
      for (int x = 0; x < w;) {
        const int i = index(picture.pixel(x, y) | 0xff000000);
        int run = 1;
        while (x + run < w && run < 255 && index(picture.pixel(x + run, y) | 0xff000000) == i)
          ++run;
        pixels.append(char(run)).append(char(four ? (i << 4 | i) : i));
        x += run;
      }
      pixels.append('\0').append('\0');
    }
    pixels.append('\0').append('\1');
  } else {
    const int rowBytes = (w * bits + 31) / 32 * 4;
    for (int r = 0; r < h; ++r) {
      QByteArray row(rowBytes, '\0');
      const int y = rowOf(r);
      for (int x = 0; x < w; ++x) {
        const QRgb c = picture.pixel(x, y);
        if (bits <= 8) {
          const int bit = x * bits;
          row[bit / 8] = char(uchar(row[bit / 8]) | index(c | 0xff000000) << (8 - bits - bit % 8));
        } else if (bits == 24) {
          row[3 * x] = char(qBlue(c));
          row[3 * x + 1] = char(qGreen(c));
          row[3 * x + 2] = char(qRed(c));
        } else {
          const bool fields = layout.compression == 3 || layout.compression == 6;
          const quint32 r5 = fields ? layout.masks[0] : bits == 16 ? 0x7c00 : 0xff0000;
          const quint32 g5 = fields ? layout.masks[1] : bits == 16 ? 0x03e0 : 0xff00;
          const quint32 b5 = fields ? layout.masks[2] : bits == 16 ? 0x001f : 0xff;
          const quint32 v =
              Narrowed(qRed(c), r5) | Narrowed(qGreen(c), g5) | Narrowed(qBlue(c), b5);
          for (int k = 0; k < bits / 8; ++k) row[bits / 8 * x + k] = char(v >> (8 * k));
        }
      }
      pixels += row;
    }
  }

  const bool fieldsAfterHeader =
      layout.headerBytes == 40 && (layout.compression == 3 || layout.compression == 6);
  const int fieldBytes = fieldsAfterHeader ? (layout.compression == 3 ? 12 : 16) : 0;
  const int entryBytes = core ? 3 : 4;
  const int paletteBytes = bits <= 8 ? int(palette.size()) * entryBytes : 0;
  const int pixelsAt = 14 + int(layout.headerBytes) + fieldBytes + paletteBytes;
  QByteArray bytes(pixelsAt, '\0');
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put32(bytes, 2, quint32(pixelsAt + pixels.size()));
  Put32(bytes, 10, quint32(pixelsAt));
  Put32(bytes, 14, layout.headerBytes);
  if (core) {
    Put16(bytes, 18, quint16(w));
    Put16(bytes, 20, quint16(h));
    Put16(bytes, 22, 1);
    Put16(bytes, 24, quint16(bits));
  } else {
    Put32(bytes, 18, quint32(w));
    Put32(bytes, 22, quint32(layout.topDown ? -h : h));
    Put16(bytes, 26, 1);
    Put16(bytes, 28, quint16(bits));
    Put32(bytes, 30, layout.compression);
    Put32(bytes, 34, quint32(pixels.size()));
    Put32(bytes, 46, bits <= 8 ? quint32(palette.size()) : 0);
    if (layout.headerBytes >= 52 || fieldsAfterHeader)
      for (int c = 0; c < 3; ++c) Put32(bytes, 54 + 4 * c, layout.masks[c]);
  }
  for (size_t i = 0; bits <= 8 && i < palette.size(); ++i) {
    const int at = 14 + int(layout.headerBytes) + fieldBytes + int(i) * entryBytes;
    bytes[at] = char(qBlue(palette[i]));
    bytes[at + 1] = char(qGreen(palette[i]));
    bytes[at + 2] = char(qRed(palette[i]));
  }
  return bytes + pixels;
}

}  // namespace tarvesh::document
