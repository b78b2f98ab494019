#include <gtest/gtest.h>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include "document/bmpwriter.h"
#include "document/pagepicture.h"

namespace tarvesh::document {
namespace {

// The 54-byte header of a 24-bit BMP claiming `width` x `height` pixels.
QByteArray BmpHeader(qint32 width, qint32 height) {
  QByteArray header(54, '\0');
  auto put32 = [&](int at, quint32 v) { qToLittleEndian<quint32>(v, header.data() + at); };
  auto put16 = [&](int at, quint16 v) { qToLittleEndian<quint16>(v, header.data() + at); };
  header[0] = 'B';
  header[1] = 'M';
  put32(2, 54 + 16);
  put32(10, 54);
  put32(14, 40);
  put32(18, quint32(width));
  put32(22, quint32(height));
  put16(26, 1);
  put16(28, 24);
  return header;
}

QImage SmallPage() {
  QImage image(30, 42, QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setPixel(3, 4, qRgb(0, 0, 0));
  image.setPixel(29, 41, qRgb(10, 200, 30));
  return image;
}

TEST(PagePicture, SavesA24BitBmpThatLoadsPixelForPixel) {
  QTemporaryDir dir;
  const QString path = dir.filePath("song.bmp");
  ASSERT_FALSE(WritePagePicture(SmallPage(), path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_EQ(bytes.left(2), "BM");
  EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 28), 24);
  const auto loaded = LoadPagePicture(path);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->convertToFormat(QImage::Format_RGB32), SmallPage());
  // Nothing but the picture is left in the folder: the temporary file was renamed.
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"song.bmp"});
}

// Pixels of every colour, so a byte of one channel written into another shows.
QImage Noise(QSize size, QImage::Format format) {
  QImage image(size, QImage::Format_ARGB32);
  quint32 seed = 12345;
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      seed = seed * 1664525u + 1013904223u;
      image.setPixel(x, y, seed);
    }
  }
  return image.convertToFormat(format);
}

// The page's own writer makes the file Qt's BMP writer made of the same page before it, byte
// for byte: widths of every remainder by four (row padding, the word-wise middle of a row and
// its tail), resolutions, and pictures of other formats, which are written as RGB32.
TEST(PagePicture, WritesTheBytesQtsBmpWriterWrites) {
  struct Case {
    const char* name;
    QImage image;
  };
  QImage printResolution = Noise({17, 3}, QImage::Format_RGB32);
  printResolution.setDotsPerMeterX(11811);
  printResolution.setDotsPerMeterY(5905);
  QImage noResolution = Noise({6, 2}, QImage::Format_RGB32);
  noResolution.setDotsPerMeterX(0);
  noResolution.setDotsPerMeterY(0);
  const Case cases[] = {
      {"1 wide", Noise({1, 5}, QImage::Format_RGB32)},
      {"4 wide", Noise({4, 3}, QImage::Format_RGB32)},
      {"5 wide", Noise({5, 4}, QImage::Format_RGB32)},
      {"10 wide", Noise({10, 2}, QImage::Format_RGB32)},
      {"a page", SmallPage()},
      {"the default page", Noise({988, 1397}, QImage::Format_RGB32)},
      {"print resolution", printResolution},
      {"no resolution", noResolution},
      {"with alpha", Noise({7, 3}, QImage::Format_ARGB32)},
      {"premultiplied", Noise({7, 3}, QImage::Format_ARGB32_Premultiplied)},
      {"indexed", Noise({9, 3}, QImage::Format_Indexed8)},
      {"one bit", Noise({11, 3}, QImage::Format_Mono)},
      {"grey", Noise({6, 3}, QImage::Format_Grayscale8)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QByteArray qt;
    QBuffer buffer(&qt);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    ASSERT_TRUE(c.image.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP"));
    EXPECT_EQ(EncodePageBmp(c.image), qt);
    const auto decoded = DecodeBmp(qt, QStringLiteral("song.bmp"), nullptr);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded, c.image.convertToFormat(QImage::Format_RGB32));
  }
  EXPECT_TRUE(EncodePageBmp(QImage()).isEmpty());
}

TEST(PagePicture, AFailedWriteLeavesTheOldPictureWholeAndSaysWhy) {
  QTemporaryDir dir;
  // A path whose folder does not exist cannot be written.
  const auto missing = WritePagePicture(SmallPage(), dir.filePath("missing/song.bmp"));
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->path, dir.filePath("missing/song.bmp"));
  EXPECT_EQ(missing->Reason(), QStringLiteral("文件或文件夹不存在"));
  // Nor can a folder be replaced by a picture.
  ASSERT_TRUE(QDir(dir.path()).mkdir("taken.bmp"));
  const auto taken = WritePagePicture(SmallPage(), dir.filePath("taken.bmp"));
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->problem, FileError::Problem::kNotRegular);
  EXPECT_TRUE(QFileInfo(dir.filePath("taken.bmp")).isDir());
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST(PagePicture, RefusesWhatIsNotASaneBmp) {
  QTemporaryDir dir;
  QByteArray valid;
  {
    const QString path = dir.filePath("valid.bmp");
    ASSERT_FALSE(WritePagePicture(SmallPage(), path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    valid = file.readAll();
  }
  QByteArray png;
  {
    const QString path = dir.filePath("picture.png");
    ASSERT_TRUE(SmallPage().save(path, "PNG"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    png = file.readAll();
  }
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"empty", {}},
      {"garbage", QByteArray(4000, char(0xa7))},
      {"header only", valid.left(54)},
      {"a PNG named .bmp", png},
      {"header claiming 100000 x 100000", BmpHeader(100000, 100000) + QByteArray(16, '\0')},
      {"header claiming 20000 x 10", BmpHeader(20000, 10) + QByteArray(16, '\0')},
      {"header claiming 16000 x 16000", BmpHeader(16000, 16000) + QByteArray(16, '\0')},
      {"header claiming a negative width", BmpHeader(-50, 50) + QByteArray(16, '\0')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath("damaged.bmp");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(c.bytes);
    file.close();
    EXPECT_FALSE(LoadPagePicture(path));
  }
  EXPECT_FALSE(LoadPagePicture(dir.filePath("none.bmp")));
}

}  // namespace
}  // namespace tarvesh::document
