// tarvesh_datagen OUTDIR: writes the data folder that lies beside the program (atlases,
// cursor, staff and note pictures, the slur arc, symbol pictures, sounds and the two text files;
// and the atlases, the arc and the symbol pictures drawn larger for print).
#include <gif_lib.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <array>
#include <cstdio>
#include <vector>

#include "artwork.h"
#include "print/printart.h"

namespace {

using namespace tarvesh::artwork;
using tarvesh::print::kPrintScale;
using tarvesh::print::PrintArt;

// The first failure ends the run; every writer reports which file it could not write.
class Writer {
 public:
  explicit Writer(const QString& root) : root_(root) {}

  bool Folder(const QString& name) {
    if (QDir(root_).mkpath(name)) return true;
    return Fail(name, "cannot create the folder");
  }

  bool Picture(const QString& name, const QImage& image, const char* format) {
    if (image.save(Path(name), format)) return true;
    return Fail(name, "cannot write the picture");
  }

  bool Bytes(const QString& name, const QByteArray& bytes) {
    QFile file(Path(name));
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()) return true;
    return Fail(name, "cannot write the file");
  }

  // Qt reads GIF but cannot write it. The picture is written with a four-colour palette
  // (white, black, two greys); every pixel takes the nearest palette colour.
  bool Gif(const QString& name, const QImage& image) {
    static constexpr std::array<GifColorType, 4> kPalette{
        {{255, 255, 255}, {0, 0, 0}, {128, 128, 128}, {192, 192, 192}}};
    const QByteArray path = QFile::encodeName(Path(name));
    int error = 0;
    GifFileType* gif = EGifOpenFileName(path.constData(), false, &error);
    if (!gif) return Fail(name, GifErrorString(error));
    ColorMapObject* map = GifMakeMapObject(int(kPalette.size()), kPalette.data());
    bool ok = map && EGifPutScreenDesc(gif, image.width(), image.height(), 2, 0, map) == GIF_OK &&
              EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr) == GIF_OK;
    std::vector<GifPixelType> line(size_t(image.width()));
    for (int y = 0; ok && y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) line[size_t(x)] = NearestIndex(image.pixel(x, y));
      ok = EGifPutLine(gif, line.data(), image.width()) == GIF_OK;
    }
    if (!ok) error = gif->Error;
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
    if (!ok) return Fail(name, GifErrorString(error));
    // giflib creates its files readable by their owner only.
    QFile::setPermissions(Path(name),
                          QFile::permissions(Path(name)) | QFile::ReadGroup | QFile::ReadOther);
    return true;
  }

 private:
  static GifPixelType NearestIndex(QRgb rgb) {
    const int grey = qGray(rgb);
    if (grey < 64) return 1;
    if (grey < 160) return 2;
    if (grey < 224) return 3;
    return 0;
  }

  QString Path(const QString& name) const { return root_ + QLatin1Char('/') + name; }

  bool Fail(const QString& name, const char* why) {
    std::fprintf(stderr, "tarvesh_datagen: %s: %s\n", qPrintable(Path(name)), why ? why : "");
    return false;
  }

  QString root_;
};

bool WriteAll(Writer& out) {
  if (!out.Folder(QStringLiteral("s/sik")) || !out.Folder(QStringLiteral("wn")) ||
      !out.Folder(QStringLiteral("sound")) || !out.Folder(PrintArt::kSymbolFolder))
    return false;

  if (!out.Picture(QStringLiteral("picmode.bmp"), DrawPicmode(), "BMP") ||
      !out.Picture(QStringLiteral("picmode2.bmp"), DrawPicmode2(), "BMP") ||
      !out.Picture(PrintArt::kPicmodeFile, DrawPicmode(kPrintScale), "PNG") ||
      !out.Picture(PrintArt::kPicmode2File, DrawPicmode2(kPrintScale), "PNG") ||
      !out.Picture(PrintArt::kSlurArcFile, DrawSlurArc(kPrintScale), "PNG") ||
      !out.Picture(QStringLiteral("s/cursor.png"), DrawCursor(), "PNG") ||
      !out.Picture(QStringLiteral("s/treble.bmp"), DrawStaff(0), "BMP") ||
      !out.Picture(QStringLiteral("s/bass.bmp"), DrawStaff(1), "BMP") ||
      !out.Picture(QStringLiteral("s/arc.bmp"), DrawSlurArc(), "BMP"))
    return false;
  for (int row = 0; row < 4; ++row) {
    const QString digit = QString::number(row);
    if (!out.Picture(QStringLiteral("s/k%1.bmp").arg(digit), DrawDurationCursor(row), "BMP") ||
        !out.Gif(QStringLiteral("wn/%1.gif").arg(digit), DrawStaffNote(false, row)) ||
        !out.Gif(QStringLiteral("wn/s%1.gif").arg(digit), DrawStaffNote(true, row)))
      return false;
  }
  for (const SymbolPicture& symbol : DrawSymbolPictures())
    if (!out.Picture(QStringLiteral("s/sik/") + symbol.fileName, symbol.image, "BMP")) return false;
  for (const SymbolPicture& symbol : DrawSymbolPictures(kPrintScale))
    if (!out.Picture(PrintArt::kSymbolFolder + QLatin1Char('/') + symbol.fileName, symbol.image,
                     "BMP"))
      return false;

  return out.Bytes(QStringLiteral("sound/kac.wav"), MakeClickSound()) &&
         out.Bytes(QStringLiteral("sound/ding.wav"), MakeBarChimeSound()) &&
         out.Bytes(QStringLiteral("sound/5.wav"), MakeNewLineSound()) &&
         out.Bytes(QStringLiteral("speed.txt"), MakeTempoTexts()) &&
         out.Bytes(QStringLiteral("explin.txt"), MakePhraseTexts());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tarvesh_datagen OUTDIR\n");
    return 2;
  }
  // Text is drawn into some pictures, which needs the GUI side of Qt.
  QGuiApplication app(argc, argv);
  Writer out(QFile::decodeName(argv[1]));
  return WriteAll(out) ? 0 : 1;
}
