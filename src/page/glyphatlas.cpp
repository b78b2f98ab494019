#include "page/glyphatlas.h"

#include <QDir>

namespace tarvesh::page {

namespace {

std::optional<QImage> LoadAtlas(const QString& path, int width, int height) {
  QImage image(path);
  if (image.isNull() || image.width() < width || image.height() < height) return std::nullopt;
  return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

std::optional<GlyphAtlas> GlyphAtlas::Load(const QString& dataDir, QString* failedFile) {
  const QDir dir(dataDir);
  GlyphAtlas atlas;
  const QString first = dir.filePath(kPicmodeFile);
  auto notes = LoadAtlas(first, kPicmodeWidth, kPicmodeHeight);
  if (!notes) {
    if (failedFile) *failedFile = first;
    return std::nullopt;
  }
  const QString second = dir.filePath(kPicmode2File);
  auto signs = LoadAtlas(second, kPicmode2Width, kPicmode2Height);
  if (!signs) {
    if (failedFile) *failedFile = second;
    return std::nullopt;
  }
  atlas.Picmode = *notes;
  atlas.Picmode2 = *signs;
  return atlas;
}

}  // namespace tarvesh::page
