#include <gtest/gtest.h>
#include <QtEndian>

#include "bmpencoder.h"
#include "document/bmpdecoder.h"
#include "page/scorepage.h"

namespace tarvesh::document {
namespace {

using Problem = FileError::Problem;

// 7 x 5 (odd, so rows are padded) in `colours` colours that every depth holds exactly: black
// and white, then red and blue.
QImage Picture(int colours) {
  const QRgb palette[] = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 0, 255)};
  QImage image(7, 5, QImage::Format_RGB32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) image.setPixel(x, y, palette[(x * 3 + y * (y + 1)) % colours]);
  return image;
}

// A picture read both ways: decoded whole, and as read for a page, loaded into a page that was
// all ink. The two agree pixel for pixel, and on the reason when the file is refused.
std::optional<QImage> Decode(const QByteArray& bytes, FileError* error = nullptr) {
  const QString path = QStringLiteral("/scores/song.bmp");
  FileError whole, read;
  std::optional<QImage> decoded = DecodeBmp(bytes, path, &whole);
  const std::optional<BmpPicture> picture = ReadBmp(bytes, path, &read);
  EXPECT_EQ(picture.has_value(), decoded.has_value());
  if (decoded && picture) {
    EXPECT_EQ(picture->Size(), decoded->size());
    EXPECT_EQ(picture->Image(), *decoded);
    // Loaded over ink twice: while a copy of the page is held, which keeps what it showed, and
    // into the page's own pixels.
    page::ScorePage page(decoded->width(), decoded->height());
    page.FillRect(QRect(QPoint(0, 0), decoded->size()), Qt::black);
    const QImage held = page.Image();
    const QImage black = held.copy();
    page.LoadRows(picture->Rows());
    EXPECT_EQ(page.Image(), *decoded) << "loaded into a page";
    EXPECT_EQ(held, black) << "the copy held";
    page.FillRect(QRect(QPoint(0, 0), decoded->size()), Qt::black);
    page.LoadRows(picture->Rows());
    EXPECT_EQ(page.Image(), *decoded) << "loaded into the page's own pixels";
  } else if (!decoded && !picture) {
    EXPECT_EQ(read.problem, whole.problem);
    EXPECT_EQ(read.path, whole.path);
  }
  // Told from the first bytes and the length alone, when they tell: a size only for a file read
  // whole as that size.
  for (const qsizetype head : {qsizetype(54), qsizetype(4096)}) {
    if (const std::optional<QSize> told = Rows24Size(bytes.left(head), bytes.size())) {
      if (picture) {
        EXPECT_EQ(*told, picture->Size());
      } else {
        ADD_FAILURE() << "told of a file refused, from " << head << " bytes";
      }
    }
  }
  if (error) *error = whole;
  return decoded;
}

struct Kind {
  const char* name;
  BmpLayout layout;
};

const Kind kKinds[] = {
    {"core 1-bit", {12, 1}},
    {"core 4-bit", {12, 4}},
    {"core 8-bit", {12, 8}},
    {"core 24-bit", {12, 24}},
    {"info 1-bit", {40, 1}},
    {"info 2-bit", {40, 2}},
    {"info 4-bit", {40, 4}},
    {"info 8-bit", {40, 8}},
    {"info 16-bit 5-5-5", {40, 16}},
    {"info 16-bit 5-6-5 fields", {40, 16, 3, false, {0xf800, 0x07e0, 0x001f}}},
    {"info 24-bit", {40, 24}},
    {"info 32-bit", {40, 32}},
    {"info 32-bit fields", {40, 32, 3, false, {0xff000000, 0x00ff0000, 0x0000ff00}}},
    {"info 32-bit alpha fields", {40, 32, 6, false, {0x00ff0000, 0x0000ff00, 0x000000ff}}},
    {"info RLE8", {40, 8, 1}},
    {"info RLE4", {40, 4, 2}},
    {"v2 16-bit fields", {52, 16, 3, false, {0x7c00, 0x03e0, 0x001f}}},
    {"v3 32-bit fields", {56, 32, 3, false, {0x000000ff, 0x0000ff00, 0x00ff0000}}},
    {"v4 24-bit", {108, 24}},
    {"v5 8-bit", {124, 8}},
    {"v5 32-bit fields", {124, 32, 3, false, {0x00ff0000, 0x0000ff00, 0x000000ff}}},
    {"info 1-bit top-down", {40, 1, 0, true}},
    {"info 4-bit top-down", {40, 4, 0, true}},
    {"info 16-bit top-down", {40, 16, 0, true}},
    {"info 24-bit top-down", {40, 24, 0, true}},
    {"v5 32-bit fields top-down", {124, 32, 3, true, {0x00ff0000, 0x0000ff00, 0x000000ff}}},
};

// Every bit depth, header and compression a BMP may have, bottom-up and top-down, reads back
// pixel for pixel (top-down pictures were once refused).
TEST(BmpDecoder, EveryValidKindReadsPixelForPixel) {
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    const QImage picture = Picture(kind.layout.bitsPerPixel == 1 ? 2 : 4);
    FileError error;
    const std::optional<QImage> decoded = Decode(EncodeBmp(picture, kind.layout), &error);
    ASSERT_TRUE(decoded) << error.TerminalText().toStdString();
    EXPECT_EQ(decoded->format(), QImage::Format_RGB32);
    EXPECT_EQ(*decoded, picture);
    // The page's own kind is known by its header, without reading its rows.
    const QByteArray bytes = EncodeBmp(picture, kind.layout);
    EXPECT_EQ(Rows24Size(bytes.left(4096), bytes.size()).has_value(),
              kind.layout.bitsPerPixel == 24);
  }
}

// 24-bit rows are read several pixels at a time, with the last few of each row one by one: every
// width from one pixel to past two runs, and a page's, keeps each pixel's colour and place.
TEST(BmpDecoder, TwentyFourBitRowsOfEveryWidthReadPixelForPixel) {
  for (int width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 17, 988}) {
    SCOPED_TRACE(width);
    QImage picture(width, 3, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < width; ++x)
        picture.setPixel(x, y, qRgb((x * 37 + y) & 0xff, (x * 11 + 3 * y) & 0xff, (x * 5) & 0xff));
    const std::optional<QImage> decoded = Decode(EncodeBmp(picture, {40, 24}));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, picture);
  }
}

// A row's ink ends after its last pixel that is not white, though it differs from white in one
// channel by one; the rest of the row is white on the page whatever lay there.
TEST(BmpDecoder, ARowsInkEndsAtItsLastPixelNotWhite) {
  const QRgb nearlyWhite[] = {qRgb(254, 255, 255), qRgb(255, 254, 255), qRgb(255, 255, 254)};
  for (int width : {1, 2, 3, 4, 5, 7, 8, 9, 11, 17, 988}) {
    SCOPED_TRACE(width);
    // Row y: one nearly white pixel at a place that moves along the row, in each channel; every
    // fourth row all white.
    QImage picture(width, 12, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < picture.height(); ++y)
      if (y % 4 != 3) picture.setPixel((y * 5 + width - 1) % width, y, nearlyWhite[y % 3]);
    for (const BmpLayout& layout : {BmpLayout{40, 24}, BmpLayout{40, 24, 0, true}}) {
      const std::optional<QImage> decoded = Decode(EncodeBmp(picture, layout));
      ASSERT_TRUE(decoded);
      EXPECT_EQ(*decoded, picture);
    }
  }
}

// A picture cut short once opened with its missing rows black from unread memory.
TEST(BmpDecoder, APictureCutShortAnywhereIsRefused) {
  const QByteArray whole = EncodeBmp(Picture(4), {40, 24});
  const QByteArray rle = EncodeBmp(Picture(4), {40, 8, 1});
  const struct {
    QByteArray bytes;
    Problem problem;
  } cuts[] = {
      {whole.left(0), Problem::kNotBmp},
      {whole.left(1), Problem::kNotBmp},
      {whole.left(2), Problem::kTruncated},
      {whole.left(14), Problem::kTruncated},
      {whole.left(30), Problem::kTruncated},
      {whole.left(53), Problem::kTruncated},
      {whole.left(54), Problem::kTruncated},
      {whole.left(54 + 24), Problem::kTruncated},
      {whole.left(whole.size() / 2), Problem::kTruncated},
      {whole.left(whole.size() - 1), Problem::kTruncated},
      {rle.left(rle.size() / 2), Problem::kTruncated},
      {rle.left(rle.size() - 5), Problem::kTruncated},
  };
  for (const auto& cut : cuts) {
    SCOPED_TRACE(cut.bytes.size());
    FileError error;
    EXPECT_FALSE(Decode(cut.bytes, &error));
    EXPECT_EQ(error.problem, cut.problem);
    EXPECT_EQ(error.path, "/scores/song.bmp");
  }
}

TEST(BmpDecoder, MalformedAndUnsupportedPicturesAreRefusedWithTheReason) {
  const QByteArray info24 = EncodeBmp(Picture(4), {40, 24});
  const QByteArray info8 = EncodeBmp(Picture(4), {40, 8});
  auto with = [](QByteArray bytes, int at, quint32 value, int width = 4) {
    if (width == 2) {
      qToLittleEndian<quint16>(quint16(value), bytes.data() + at);
    } else {
      qToLittleEndian<quint32>(value, bytes.data() + at);
    }
    return bytes;
  };
  QByteArray outsidePalette = info8;
  outsidePalette[outsidePalette.size() - 3] = char(200);  // a palette of 4 colours
  const struct {
    const char* name;
    QByteArray bytes;
    Problem problem;
  } cases[] = {
      {"not BM", QByteArray("PK\x03\x04") + QByteArray(100, '\0'), Problem::kNotBmp},
      {"header size 41", with(info24, 14, 41), Problem::kMalformed},
      {"OS/2 2.x header", with(info24, 14, 64), Problem::kUnsupported},
      {"no planes", with(info24, 26, 0, 2), Problem::kMalformed},
      {"width 0", with(info24, 18, 0), Problem::kMalformed},
      {"negative width", with(info24, 18, quint32(-7)), Problem::kMalformed},
      {"height 0", with(info24, 22, 0), Problem::kMalformed},
      {"3 bits a pixel", with(info24, 28, 3, 2), Problem::kMalformed},
      {"JPEG inside", with(with(info24, 28, 0, 2), 30, 4), Problem::kUnsupported},
      {"PNG inside", with(info24, 30, 5), Problem::kUnsupported},
      {"unknown compression", with(info24, 30, 11), Problem::kUnsupported},
      {"RLE8 at 24 bits", with(info24, 30, 1), Problem::kMalformed},
      {"bit fields at 24 bits", with(info24, 30, 3), Problem::kMalformed},
      {"scattered mask bits",
       with(EncodeBmp(Picture(4), {40, 16, 3, false, {0xf800, 0x07e0, 0x001f}}), 54, 0xa800),
       Problem::kMalformed},
      {"top-down RLE", with(EncodeBmp(Picture(4), {40, 8, 1}), 22, quint32(-5)),
       Problem::kMalformed},
      {"pixels before the header ends", with(info24, 10, 20), Problem::kMalformed},
      {"pixels beyond the end", with(info24, 10, 100000), Problem::kTruncated},
      {"a palette index beyond the palette", outsidePalette, Problem::kMalformed},
      {"100000 x 100000", with(with(info24, 18, 100000), 22, 100000), Problem::kTooLarge},
      {"16000 x 16000", with(with(info24, 18, 16000), 22, 16000), Problem::kTooLarge},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FileError error;
    EXPECT_FALSE(Decode(c.bytes, &error));
    EXPECT_EQ(error.problem, c.problem) << error.TerminalText().toStdString();
  }
}

}  // namespace
}  // namespace tarvesh::document
