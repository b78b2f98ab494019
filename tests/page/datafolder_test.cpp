// The data folder the generator writes beside the program: every file the program opens by
// name is there, readable the way the program reads it.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QStringDecoder>
#include <QtEndian>

#include "artwork.h"
#include "print/printart.h"

namespace {

using namespace tarvesh::artwork;
using tarvesh::print::kPrintScale;
using tarvesh::print::PrintArt;

class QtEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "datafolder_test";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) app_ = new QGuiApplication(argc, argv);
  }
  void TearDown() override { delete app_; }

 private:
  QGuiApplication* app_ = nullptr;
};
const auto* const kQtEnvironment = testing::AddGlobalTestEnvironment(new QtEnvironment);

QString DataPath(const QString& name) {
  return QDir(QStringLiteral(TARVESH_DATA_DIR)).filePath(name);
}

struct PictureFile {
  const char* name;
  const char* format;  // as QImageReader names it
  QSize size;          // empty: any size
};

void PrintTo(const PictureFile& file, std::ostream* os) {
  *os << file.name;
}

class DataPictureTest : public testing::TestWithParam<PictureFile> {};

TEST_P(DataPictureTest, LoadsWithItsFormatAndSize) {
  const PictureFile& file = GetParam();
  QImageReader reader(DataPath(QString::fromLatin1(file.name)));
  EXPECT_EQ(reader.format(), QByteArray(file.format));
  const QImage image = reader.read();
  ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
  if (!file.size.isEmpty()) {
    EXPECT_EQ(image.size(), file.size);
  }
}

INSTANTIATE_TEST_SUITE_P(
    DataFolder, DataPictureTest,
    testing::Values(
        PictureFile{"picmode.bmp", "bmp", {508, 160}},
        PictureFile{"picmode2.bmp", "bmp", {821, 115}},
        PictureFile{"s/cursor.png", "png", {13, 40}}, PictureFile{"s/k0.bmp", "bmp", {13, 40}},
        PictureFile{"s/k1.bmp", "bmp", {13, 40}}, PictureFile{"s/k2.bmp", "bmp", {13, 40}},
        PictureFile{"s/k3.bmp", "bmp", {13, 40}}, PictureFile{"s/treble.bmp", "bmp", {477, 277}},
        PictureFile{"s/bass.bmp", "bmp", {477, 277}}, PictureFile{"s/arc.bmp", "bmp", {475, 15}},
        PictureFile{"print/arc.png", "png", {1900, 60}}, PictureFile{"wn/0.gif", "gif", {}},
        PictureFile{"wn/1.gif", "gif", {}}, PictureFile{"wn/2.gif", "gif", {}},
        PictureFile{"wn/3.gif", "gif", {}}, PictureFile{"wn/s0.gif", "gif", {}},
        PictureFile{"wn/s1.gif", "gif", {}}, PictureFile{"wn/s2.gif", "gif", {}},
        PictureFile{"wn/s3.gif", "gif", {}}),
    [](const testing::TestParamInfo<PictureFile>& info) {
      std::string name = info.param.name;
      for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

// The files on disk are the drawings, pixel for pixel: BMP keeps the exact black the engine
// counts, and the GIF palette keeps the note pictures' four grey levels.
TEST(DataFolder, FilesHoldTheDrawingsExactly) {
  const struct {
    const char* name;
    QImage drawing;
  } files[] = {
      {"picmode.bmp", DrawPicmode()},
      {"picmode2.bmp", DrawPicmode2()},
      {"s/arc.bmp", DrawSlurArc()},
      {"s/treble.bmp", DrawStaff(0)},
      {"wn/s2.gif", DrawStaffNote(true, 2)},
      {"wn/1.gif", DrawStaffNote(false, 1)},
      {"print/arc.png", DrawSlurArc(kPrintScale)},
  };
  for (const auto& file : files) {
    const QImage loaded =
        QImage(DataPath(QString::fromLatin1(file.name))).convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(loaded, file.drawing.convertToFormat(QImage::Format_RGB32)) << file.name;
  }
}

// The symbol pictures the chooser lists, and the same pictures drawn larger for print.
TEST(DataFolder, SymbolFoldersHoldEverySymbol) {
  const struct {
    QString folder;
    int scale;
  } folders[] = {{QStringLiteral("s/sik"), 1}, {PrintArt::kSymbolFolder, kPrintScale}};
  for (const auto& [folder, scale] : folders) {
    SCOPED_TRACE(folder.toStdString());
    const QStringList files =
        QDir(DataPath(folder)).entryList({QStringLiteral("*.bmp")}, QDir::Files);
    const std::vector<SymbolPicture> symbols = DrawSymbolPictures(scale);
    ASSERT_EQ(files.size(), qsizetype(symbols.size()));
    for (const SymbolPicture& symbol : symbols) {
      const QImage loaded(DataPath(folder + QLatin1Char('/') + symbol.fileName));
      EXPECT_EQ(loaded.convertToFormat(QImage::Format_RGB32), symbol.image)
          << symbol.fileName.toStdString();
    }
  }
}

struct SoundFile {
  const char* name;
  int minMilliseconds, maxMilliseconds;
};

void PrintTo(const SoundFile& file, std::ostream* os) {
  *os << file.name;
}

class DataSoundTest : public testing::TestWithParam<SoundFile> {};

TEST_P(DataSoundTest, IsShortMonoPcmAt44100) {
  const SoundFile& sound = GetParam();
  QFile file(DataPath(QStringLiteral("sound/") + QString::fromLatin1(sound.name)));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray wav = file.readAll();
  ASSERT_GE(wav.size(), 44);
  auto u16 = [&](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
  auto u32 = [&](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
  EXPECT_EQ(wav.mid(0, 4), "RIFF");
  EXPECT_EQ(u32(4), quint32(wav.size() - 8));
  EXPECT_EQ(wav.mid(8, 8), "WAVEfmt ");
  EXPECT_EQ(u16(20), 1);  // PCM
  EXPECT_EQ(u16(22), 1);  // mono
  EXPECT_EQ(u32(24), 44100u);
  EXPECT_EQ(u16(34), 16);
  EXPECT_EQ(wav.mid(36, 4), "data");
  const quint32 bytes = u32(40);
  EXPECT_EQ(bytes, quint32(wav.size() - 44));
  const int milliseconds = int(bytes / 2 * 1000 / 44100);
  EXPECT_GE(milliseconds, sound.minMilliseconds);
  EXPECT_LE(milliseconds, sound.maxMilliseconds);
  // Audible, and neither clipped nor ending on a click.
  int peak = 0;
  for (int at = 44; at + 1 < wav.size(); at += 2)
    peak = std::max(peak, std::abs(int(qFromLittleEndian<qint16>(wav.constData() + at))));
  EXPECT_GT(peak, 3000);
  EXPECT_LT(peak, 32767);
  EXPECT_LT(std::abs(int(qFromLittleEndian<qint16>(wav.constData() + wav.size() - 2))), 200);
}

INSTANTIATE_TEST_SUITE_P(DataFolder, DataSoundTest,
                         testing::Values(SoundFile{"kac.wav", 20, 80},
                                         SoundFile{"ding.wav", 200, 500},
                                         SoundFile{"5.wav", 250, 500}),
                         [](const testing::TestParamInfo<SoundFile>& info) {
                           return std::string(info.param.name).substr(0, 3) == "kac"
                                      ? std::string("kac")
                                  : std::string(info.param.name).substr(0, 4) == "ding"
                                      ? std::string("ding")
                                      : std::string("newline");
                         });

// The text files are read as GBK fields separated by commas and line ends; a field in double
// quotes keeps its comma. Each file must decode cleanly and hold such a field.
TEST(DataFolder, TextFilesAreGbkWithAQuotedCommaField) {
  for (const char* name : {"speed.txt", "explin.txt"}) {
    SCOPED_TRACE(name);
    QFile file(DataPath(QString::fromLatin1(name)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder("GBK");
    const QString text = decoder.decode(bytes);
    ASSERT_FALSE(decoder.hasError());
    const QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    EXPECT_GE(lines.size(), 10);
    bool quotedComma = false;
    for (const QString& line : lines) {
      const bool quoted = line.startsWith(QLatin1Char('"')) && line.endsWith(QLatin1Char('"'));
      // A comma outside quotes would split the line into two fields.
      EXPECT_TRUE(quoted || !line.contains(QLatin1Char(','))) << line.toStdString();
      quotedComma = quotedComma || (quoted && line.contains(QLatin1Char(',')));
    }
    EXPECT_TRUE(quotedComma);
  }
}

}  // namespace
