#include "page/glyphatlas.h"

#include <QDir>

#include "page/picturefile.h"

namespace tarvesh::page {

namespace {

std::optional<QImage> LoadAtlas(const QString& path, int width, int height) {
  QImage image = ReadPictureFile(path);
  if (image.isNull() || image.width() < width || image.height() < height) return std::nullopt;
  return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

std::optional<GlyphAtlas> GlyphAtlas::Load(const QString& dataDir, QString* failedFile) {
  const QDir dir(dataDir);
  GlyphAtlas atlas;
  const struct {
    QImage* image;
    const QString& file;
    int width;
    int height;
  } parts[] = {{&atlas.Picmode, kPicmodeFile, kPicmodeWidth, kPicmodeHeight},
               {&atlas.Picmode2, kPicmode2File, kPicmode2Width, kPicmode2Height},
               {&atlas.SlurArc, kSlurArcFile, kSlurArcWidth, kSlurArcHeight}};
  for (const auto& part : parts) {
    const QString path = dir.filePath(part.file);
    auto image = LoadAtlas(path, part.width, part.height);
    if (!image) {
      if (failedFile) *failedFile = path;
      return std::nullopt;
    }
    *part.image = *image;
  }
  return atlas;
}

}  // namespace tarvesh::page
