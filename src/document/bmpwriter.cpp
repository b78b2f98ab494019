#include "document/bmpwriter.h"

#include <QtEndian>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

#include "page/pagebitmap.h"

namespace tarvesh::document {

namespace {

constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
constexpr int kPixelsAt = kFileHeaderBytes + kInfoHeaderBytes;
// Rows are packed and handed on in pieces of about this size, which stay in the cache between.
constexpr qint64 kPieceBytes = 256 << 10;
// What a BMP reader takes when a picture names no resolution: 72 dots per inch.
constexpr int kDefaultDotsPerMeter = 2834;

// One row of RGB32 pixels as blue, green, red bytes. Four pixels make three whole words, so the
// bulk of the row moves a word at a time.
void PackRow(const quint32* from, int width, uchar* to) {
  int x = 0;
  for (; x + 4 <= width; x += 4, from += 4, to += 12) {
    qToLittleEndian<quint32>((from[0] & 0xffffff) | (from[1] << 24), to);
    qToLittleEndian<quint32>(((from[1] >> 8) & 0xffff) | (from[2] << 16), to + 4);
    qToLittleEndian<quint32>(((from[2] >> 16) & 0xff) | (from[3] << 8), to + 8);
  }
  for (; x < width; ++x, ++from, to += 3) {
    to[0] = uchar(qBlue(*from));
    to[1] = uchar(qGreen(*from));
    to[2] = uchar(qRed(*from));
  }
}

#if defined(__x86_64__) || defined(__i386__)
// The same with a byte shuffle: four pixels at a time lose their fourth bytes. Each 16-byte
// store runs 4 bytes into the next pixels, which the next store or the tail writes again.
__attribute__((target("ssse3"))) void PackRowShuffled(const quint32* from, int width, uchar* to) {
  const __m128i drop = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
  int x = 0;
  for (; x + 5 <= width; x += 4, from += 4, to += 12) {
    const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_shuffle_epi8(pixels, drop));
  }
  PackRow(from, width - x, to);
}

const auto kPackRow = __builtin_cpu_supports("ssse3") ? PackRowShuffled : PackRow;
#else
const auto kPackRow = PackRow;
#endif

}  // namespace

bool WritePageBmp(const QImage& image, const std::function<bool(QByteArrayView)>& put) {
  if (image.isNull()) return false;
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  const int width = rgb.width();
  const int height = rgb.height();
  const qint64 rowBytes = (qint64(width) * 24 + 31) / 32 * 4;
  const qint64 fileBytes = kPixelsAt + rowBytes * height;
  if (fileBytes > std::numeric_limits<qint32>::max()) return false;

  std::array<uchar, kPixelsAt> header;
  uchar* out = header.data();
  auto put16 = [&](int at, quint16 v) { qToLittleEndian<quint16>(v, out + at); };
  auto put32 = [&](int at, quint32 v) { qToLittleEndian<quint32>(v, out + at); };
  out[0] = 'B';
  out[1] = 'M';
  put32(2, quint32(fileBytes));
  put32(6, 0);  // reserved
  put32(10, kPixelsAt);
  put32(14, kInfoHeaderBytes);
  put32(18, quint32(width));
  put32(22, quint32(height));
  put16(26, 1);   // planes
  put16(28, 24);  // bits per pixel
  put32(30, 0);   // uncompressed
  put32(34, quint32(rowBytes * height));
  put32(38, quint32(rgb.dotsPerMeterX() ? rgb.dotsPerMeterX() : kDefaultDotsPerMeter));
  put32(42, quint32(rgb.dotsPerMeterY() ? rgb.dotsPerMeterY() : kDefaultDotsPerMeter));
  put32(46, 0);  // colours used
  put32(50, 0);  // colours important
  if (!put(QByteArrayView(header.data(), kPixelsAt))) return false;

  const int padding = int(rowBytes - qint64(width) * 3);
  const qint64 rowsPerPiece = std::max<qint64>(1, kPieceBytes / rowBytes);
  std::vector<uchar> piece(size_t(std::min<qint64>(rowsPerPiece, height) * rowBytes));
  for (int y = height - 1; y >= 0;) {
    uchar* row = piece.data();
    for (qint64 n = 0; n < rowsPerPiece && y >= 0; ++n, --y, row += rowBytes) {
      // Blank paper after the row's last ink is white bytes, not packed pixel by pixel.
      const auto* pixels = reinterpret_cast<const quint32*>(rgb.constScanLine(y));
      const int ink = page::PageBitmap::InkEnd(pixels, width);
      kPackRow(pixels, ink, row);
      std::memset(row + qint64(ink) * 3, 0xff, size_t(width - ink) * 3);
      std::memset(row + qint64(width) * 3, 0, size_t(padding));
    }
    if (!put(QByteArrayView(piece.data(), row - piece.data()))) return false;
  }
  return true;
}

QByteArray EncodePageBmp(const QImage& image) {
  QByteArray file;
  const bool whole = WritePageBmp(image, [&](QByteArrayView piece) {
    // The header comes first and names the file's size.
    if (file.isEmpty()) file.reserve(qFromLittleEndian<qint32>(piece.data() + 2));
    file.append(piece);
    return true;
  });
  return whole ? file : QByteArray();
}

}  // namespace tarvesh::document
