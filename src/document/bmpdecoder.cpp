#include "document/bmpdecoder.h"

#include <QtEndian>
#include <algorithm>
#include <array>
#include <bit>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace tarvesh::document {

namespace {

using Problem = FileError::Problem;

constexpr qint64 kFileHeaderBytes = 14;
constexpr quint32 kCoreHeaderBytes = 12;
constexpr quint32 kInfoHeaderBytes = 40;
// OS/2 2.x headers: their compression numbers mean other things than Windows' do.
constexpr quint32 kOs2HeaderBytes = 64;
constexpr quint32 kShortOs2HeaderBytes = 16;
constexpr std::array<quint32, 6> kWindowsHeaderBytes{12, 40, 52, 56, 108, 124};

enum Compression : quint32 {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kJpeg = 4,
  kPng = 5,
  kAlphaBitFields = 6,
};

// Little-endian reads that never look past the end.
class Bytes {
 public:
  explicit Bytes(QByteArrayView bytes) : bytes_(bytes) {}
  qint64 Size() const { return bytes_.size(); }
  bool Has(qint64 at, qint64 count) const { return Holds(at, count, bytes_.size()); }
  // Whether `size` bytes hold `count` bytes from `at`.
  static bool Holds(qint64 at, qint64 count, qint64 size) {
    return at >= 0 && count >= 0 && at <= size && count <= size - at;
  }
  const uchar* At(qint64 at) const { return reinterpret_cast<const uchar*>(bytes_.data()) + at; }
  quint8 U8(qint64 at) const { return *At(at); }
  quint16 U16(qint64 at) const { return qFromLittleEndian<quint16>(At(at)); }
  quint32 U32(qint64 at) const { return qFromLittleEndian<quint32>(At(at)); }
  qint32 I32(qint64 at) const { return qFromLittleEndian<qint32>(At(at)); }

 private:
  QByteArrayView bytes_;
};

// One colour channel of a 16- or 32-bit pixel, widened to 8 bits.
class Channel {
 public:
  Channel() = default;
  explicit Channel(quint32 mask)
      : mask_(mask), shift_(mask ? std::countr_zero(mask) : 0), bits_(std::popcount(mask)) {}
  // A mask whose bits are not side by side describes no colour.
  bool Valid() const {
    return bits_ == 0 || (quint64(mask_) >> shift_) == (quint64(1) << bits_) - 1;
  }
  bool Is(quint32 mask) const { return mask_ == mask; }
  int Of(quint32 pixel) const {
    if (bits_ == 0) return 0;
    const quint32 value = (pixel & mask_) >> shift_;
    if (bits_ >= 8) return int(value >> (bits_ - 8));
    const quint32 most = (quint32(1) << bits_) - 1;
    return int((value * 255 + most / 2) / most);
  }

 private:
  quint32 mask_ = 0;
  int shift_ = 0;
  int bits_ = 0;
};

struct Header {
  qint64 width = 0;
  qint64 height = 0;
  bool topDown = false;
  int bitsPerPixel = 0;
  quint32 compression = kRgb;
  std::array<Channel, 3> channels;  // red, green, blue
  std::vector<QRgb> palette;
  qint64 pixelsAt = 0;
};

// Blue, green, red bytes as RGB32 pixels; four pixels are three whole words, so most of a row is
// read a word at a time.
void UnpackRow(const uchar* from, int width, QRgb* to) {
  int x = 0;
  for (; x + 4 <= width; x += 4, from += 12) {
    const quint32 a = qFromLittleEndian<quint32>(from);
    const quint32 b = qFromLittleEndian<quint32>(from + 4);
    const quint32 c = qFromLittleEndian<quint32>(from + 8);
    to[x] = 0xff000000u | (a & 0xffffff);
    to[x + 1] = 0xff000000u | (a >> 24) | ((b & 0xffff) << 8);
    to[x + 2] = 0xff000000u | (b >> 16) | ((c & 0xff) << 16);
    to[x + 3] = 0xff000000u | (c >> 8);
  }
  for (; x < width; ++x, from += 3) to[x] = qRgb(from[2], from[1], from[0]);
}

#if defined(__x86_64__) || defined(__i386__)
// The same with a byte shuffle: each 16-byte load takes four pixels and 4 bytes of the next two,
// which the next load reads again; the last pixels of the row go the word way, so no load runs
// past the row.
__attribute__((target("ssse3"))) void UnpackRowShuffled(const uchar* from, int width, QRgb* to) {
  const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
  const __m128i opaque = _mm_set1_epi32(int(0xff000000u));
  int x = 0;
  for (; x + 6 <= width; x += 4, from += 12) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + x),
                     _mm_or_si128(_mm_shuffle_epi8(bytes, spread), opaque));
  }
  UnpackRow(from, width - x, to + x);
}

const auto kUnpackRow = __builtin_cpu_supports("ssse3") ? UnpackRowShuffled : UnpackRow;
#else
const auto kUnpackRow = UnpackRow;
#endif

qint64 RowBytes(qint64 width, int bitsPerPixel) {
  return (width * bitsPerPixel + 31) / 32 * 4;
}

class Decoder {
 public:
  Decoder(QByteArrayView bytes, const QString& path, FileError* error)
      : in_(bytes), path_(path), error_(error) {}

  std::optional<QImage> Decode() {
    Header header;
    if (!ReadHeader(header)) return std::nullopt;
    return Decode(header);
  }

  std::optional<QImage> Decode(const Header& header) {
    QImage image(int(header.width), int(header.height), QImage::Format_RGB32);
    if (image.isNull()) {
      Fail(Problem::kTooLarge, SizeText(header));
      return std::nullopt;
    }
    const bool whole = header.compression == kRle8 || header.compression == kRle4
                           ? DecodeRle(header, image)
                           : DecodeRows(header, image);
    if (!whole) return std::nullopt;
    return image;
  }

  // The picture's rows as Bmp24Rows, when it is of their kind and the file holds them all.
  std::optional<Bmp24Rows> Rows24(const Header& h, const QByteArray& bytes) {
    if (!IsRows24(h, in_.Size())) return std::nullopt;
    return Bmp24Rows(bytes, QSize(int(h.width), int(h.height)), h.topDown, h.pixelsAt);
  }

  // Whether a file of `length` bytes with this header is read as Bmp24Rows.
  static bool IsRows24(const Header& h, qint64 length) {
    return h.compression == kRgb && h.bitsPerPixel == 24 && RowsHeld(h, length);
  }

  // Whether a file of `length` bytes holds every row of the pixels.
  static bool RowsHeld(const Header& h, qint64 length) {
    return Bytes::Holds(h.pixelsAt, RowBytes(h.width, h.bitsPerPixel) * h.height, length);
  }

  // The header, checked; false with the error said when it is refused.
  bool ReadHeader(Header& h) {
    if (!in_.Has(0, 2) || in_.U8(0) != 'B' || in_.U8(1) != 'M') return Fail(Problem::kNotBmp);
    if (!in_.Has(0, kFileHeaderBytes + 4)) return Fail(Problem::kTruncated);
    const quint32 headerBytes = in_.U32(kFileHeaderBytes);
    if (headerBytes == kOs2HeaderBytes || headerBytes == kShortOs2HeaderBytes)
      return Fail(Problem::kUnsupported);
    if (std::find(kWindowsHeaderBytes.begin(), kWindowsHeaderBytes.end(), headerBytes) ==
        kWindowsHeaderBytes.end())
      return Fail(Problem::kMalformed);
    if (!in_.Has(kFileHeaderBytes, headerBytes)) return Fail(Problem::kTruncated);
    const qint64 at = kFileHeaderBytes;
    qint64 paletteAt = at + headerBytes;
    int paletteEntryBytes = 4;
    quint32 coloursUsed = 0;
    int planes = 0;
    if (headerBytes == kCoreHeaderBytes) {
      h.width = in_.U16(at + 4);
      h.height = in_.U16(at + 6);
      planes = in_.U16(at + 8);
      h.bitsPerPixel = in_.U16(at + 10);
      paletteEntryBytes = 3;
    } else {
      h.width = in_.I32(at + 4);
      const qint64 height = in_.I32(at + 8);
      h.topDown = height < 0;
      h.height = height < 0 ? -height : height;
      planes = in_.U16(at + 12);
      h.bitsPerPixel = in_.U16(at + 14);
      h.compression = in_.U32(at + 16);
      coloursUsed = in_.U32(at + 32);
      if (h.compression == kJpeg || h.compression == kPng) return Fail(Problem::kUnsupported);
      if (h.compression > kAlphaBitFields) return Fail(Problem::kUnsupported);
      // Bit fields follow a plain info header; later headers hold them themselves.
      qint64 masksAt = at + kInfoHeaderBytes;
      if (headerBytes == kInfoHeaderBytes &&
          (h.compression == kBitFields || h.compression == kAlphaBitFields)) {
        paletteAt += h.compression == kBitFields ? 12 : 16;
        if (!in_.Has(masksAt, paletteAt - masksAt)) return Fail(Problem::kTruncated);
      }
      if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
        for (int c = 0; c < 3; ++c) h.channels[size_t(c)] = Channel(in_.U32(masksAt + 4 * c));
      }
    }
    if (planes != 1 || h.width <= 0 || h.height <= 0) return Fail(Problem::kMalformed);
    const int bits = h.bitsPerPixel;
    if (bits == 0) return Fail(Problem::kUnsupported);
    if (bits != 1 && bits != 2 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
      return Fail(Problem::kMalformed);
    const bool fits = (h.compression == kRgb) || (h.compression == kRle8 && bits == 8) ||
                      (h.compression == kRle4 && bits == 4) ||
                      ((h.compression == kBitFields || h.compression == kAlphaBitFields) &&
                       (bits == 16 || bits == 32));
    // RLE rows always run bottom-up.
    if (!fits || (h.topDown && (h.compression == kRle8 || h.compression == kRle4)))
      return Fail(Problem::kMalformed);
    if (h.width > kMaxPictureSide || h.height > kMaxPictureSide ||
        h.width * h.height * 4 > kMaxPictureBytes)
      return Fail(Problem::kTooLarge, SizeText(h));
    if (h.compression == kRgb && bits == 16) {
      h.channels = {Channel(0x7c00), Channel(0x03e0), Channel(0x001f)};
    } else if (h.compression == kRgb && bits == 32) {
      h.channels = {Channel(0xff0000), Channel(0xff00), Channel(0xff)};
    }
    for (const Channel& channel : h.channels)
      if (!channel.Valid()) return Fail(Problem::kMalformed);

    h.pixelsAt = in_.U32(kFileHeaderBytes - 4);
    if (h.pixelsAt < paletteAt) return Fail(Problem::kMalformed);
    if (bits <= 8) {
      // The palette ends where the pixels start, however many colours the header claims.
      const qint64 most = qint64(1) << bits;
      qint64 count = coloursUsed == 0 ? most : std::min<qint64>(coloursUsed, most);
      if (in_.Has(paletteAt, 0) && h.pixelsAt <= in_.Size())
        count = std::min<qint64>(count, (h.pixelsAt - paletteAt) / paletteEntryBytes);
      if (!in_.Has(paletteAt, count * paletteEntryBytes)) return Fail(Problem::kTruncated);
      for (qint64 i = 0; i < count; ++i) {
        const qint64 entry = paletteAt + i * paletteEntryBytes;
        h.palette.push_back(qRgb(in_.U8(entry + 2), in_.U8(entry + 1), in_.U8(entry)));
      }
    }
    if (h.pixelsAt > in_.Size()) return Fail(Problem::kTruncated);
    return true;
  }

 private:
  bool Fail(Problem problem, const QString& detail = {}) {
    if (error_) *error_ = FileError::Of(path_, problem, detail);
    return false;
  }
  static QString SizeText(const Header& header) {
    return QStringLiteral("%1 × %2").arg(header.width).arg(header.height);
  }

  bool DecodeRows(const Header& h, QImage& image) {
    const qint64 rowBytes = RowBytes(h.width, h.bitsPerPixel);
    if (!RowsHeld(h, in_.Size())) return Fail(Problem::kTruncated);
    const int width = int(h.width);
    // The kind of row is chosen once for the picture, never per pixel.
    bool (Decoder::*decodeRow)(const Header&, const uchar*, int, QRgb*) const =
        h.bitsPerPixel <= 8                   ? &Decoder::PaletteRow
        : h.bitsPerPixel == 24                ? &Decoder::Row24
        : h.bitsPerPixel == 32 && PlainRgb(h) ? &Decoder::PlainRow32
                                              : &Decoder::MaskedRow;
    for (qint64 row = 0; row < h.height; ++row) {
      const uchar* from = in_.At(h.pixelsAt + row * rowBytes);
      auto* to = reinterpret_cast<QRgb*>(image.scanLine(int(h.topDown ? row : h.height - 1 - row)));
      if (!(this->*decodeRow)(h, from, width, to)) return Fail(Problem::kMalformed);
    }
    return true;
  }

  // Whether 32-bit pixels hold blue, green and red in their low three bytes.
  static bool PlainRgb(const Header& h) {
    return h.channels[0].Is(0xff0000) && h.channels[1].Is(0xff00) && h.channels[2].Is(0xff);
  }

  // False when a pixel names a colour beyond the palette.
  bool PaletteRow(const Header& h, const uchar* from, int width, QRgb* to) const {
    const int bits = h.bitsPerPixel;
    const quint32 indexMask = (quint32(1) << bits) - 1;
    const QRgb* palette = h.palette.data();
    const size_t colours = h.palette.size();
    for (int x = 0; x < width; ++x) {
      const qint64 bit = qint64(x) * bits;
      const quint32 index = (from[bit / 8] >> (8 - bits - bit % 8)) & indexMask;
      if (index >= colours) return false;
      to[x] = palette[index];
    }
    return true;
  }

  bool Row24(const Header&, const uchar* from, int width, QRgb* to) const {
    kUnpackRow(from, width, to);
    return true;
  }

  bool PlainRow32(const Header&, const uchar* from, int width, QRgb* to) const {
    for (int x = 0; x < width; ++x)
      to[x] = 0xff000000u | (qFromLittleEndian<quint32>(from + 4 * x) & 0xffffff);
    return true;
  }

  // 16-bit pixels, and 32-bit ones with bit fields of their own.
  bool MaskedRow(const Header& h, const uchar* from, int width, QRgb* to) const {
    const bool sixteen = h.bitsPerPixel == 16;
    for (int x = 0; x < width; ++x) {
      const quint32 pixel = sixteen ? qFromLittleEndian<quint16>(from + 2 * x)
                                    : qFromLittleEndian<quint32>(from + 4 * x);
      to[x] = qRgb(h.channels[0].Of(pixel), h.channels[1].Of(pixel), h.channels[2].Of(pixel));
    }
    return true;
  }

  bool DecodeRle(const Header& h, QImage& image) {
    image.fill(Qt::white);
    const bool four = h.compression == kRle4;
    qint64 x = 0;
    qint64 y = 0;  // rows from the bottom
    qint64 at = h.pixelsAt;
    auto put = [&](quint32 index) {
      if (index >= h.palette.size()) return false;
      if (x < h.width && y < h.height)
        reinterpret_cast<QRgb*>(image.scanLine(int(h.height - 1 - y)))[x] = h.palette[index];
      ++x;
      return true;
    };
    while (true) {
      if (!in_.Has(at, 2)) {
        // A stream may end without its end mark once every row is done.
        return y >= h.height || Fail(Problem::kTruncated);
      }
      const int count = in_.U8(at);
      const int value = in_.U8(at + 1);
      at += 2;
      if (count > 0) {
        for (int i = 0; i < count; ++i) {
          const quint32 index = four ? (i % 2 == 0 ? value >> 4 : value & 0x0f) : quint32(value);
          if (!put(index)) return Fail(Problem::kMalformed);
        }
      } else if (value == 0) {
        x = 0;
        ++y;
      } else if (value == 1) {
        return true;
      } else if (value == 2) {
        if (!in_.Has(at, 2)) return Fail(Problem::kTruncated);
        x += in_.U8(at);
        y += in_.U8(at + 1);
        at += 2;
      } else {
        const qint64 bytes = four ? (value + 1) / 2 : value;
        const qint64 padded = bytes + bytes % 2;
        if (!in_.Has(at, padded)) return Fail(Problem::kTruncated);
        for (int i = 0; i < value; ++i) {
          const uchar byte = in_.U8(at + (four ? i / 2 : i));
          const quint32 index = four ? (i % 2 == 0 ? byte >> 4 : byte & 0x0f) : quint32(byte);
          if (!put(index)) return Fail(Problem::kMalformed);
        }
        at += padded;
      }
    }
  }

  Bytes in_;
  const QString& path_;
  FileError* error_;
};

}  // namespace

std::optional<QImage> DecodeBmp(QByteArrayView bytes, const QString& path, FileError* error) {
  return Decoder(bytes, path, error).Decode();
}

Bmp24Rows::Bmp24Rows(QByteArray bytes, QSize size, bool topDown, qint64 pixelsAt)
    : bytes_(std::move(bytes)),
      size_(size),
      topDown_(topDown),
      pixelsAt_(pixelsAt),
      rowBytes_(RowBytes(size.width(), 24)) {}

const uchar* Bmp24Rows::Row(int y) const {
  const qint64 row = topDown_ ? y : size_.height() - 1 - y;
  return reinterpret_cast<const uchar*>(bytes_.constData()) + pixelsAt_ + row * rowBytes_;
}

int Bmp24Rows::InkEnd(int y) const {
  // Blank paper is passed over eight bytes at a time, from the row's end.
  const uchar* row = Row(y);
  qint64 end = qint64(size_.width()) * 3;
  while (end >= 8 && qFromUnaligned<quint64>(row + end - 8) == ~quint64(0)) end -= 8;
  while (end > 0 && row[end - 1] == 0xff) --end;
  return int((end + 2) / 3);
}

void Bmp24Rows::Read(int y, int count, quint32* to) const {
  kUnpackRow(Row(y), count, to);
}

QSize BmpPicture::Size() const {
  return Rows().Size();
}

const page::PictureRows& BmpPicture::Rows() const {
  return std::visit([](const auto& rows) -> const page::PictureRows& { return rows; }, data_);
}

QImage BmpPicture::Image() const {
  if (const auto* image = std::get_if<page::ImageRows>(&data_)) return image->Image();
  const page::PictureRows& rows = Rows();
  QImage image(rows.Size(), QImage::Format_RGB32);
  for (int y = 0; y < image.height() && !image.isNull(); ++y)
    rows.Read(y, image.width(), reinterpret_cast<quint32*>(image.scanLine(y)));
  return image;
}

std::optional<BmpPicture> ReadBmp(QByteArray bytes, const QString& path, FileError* error) {
  Decoder decoder(bytes, path, error);
  Header header;
  if (!decoder.ReadHeader(header)) return std::nullopt;
  if (std::optional<Bmp24Rows> rows = decoder.Rows24(header, bytes))
    return BmpPicture(std::move(*rows));
  std::optional<QImage> image = decoder.Decode(header);
  if (!image) return std::nullopt;
  return BmpPicture(*image);
}

std::optional<QSize> Rows24Size(QByteArrayView head, qint64 length) {
  Decoder decoder(head, QString(), nullptr);
  Header header;
  if (!decoder.ReadHeader(header) || !Decoder::IsRows24(header, length)) return std::nullopt;
  return QSize(int(header.width), int(header.height));
}

}  // namespace tarvesh::document
