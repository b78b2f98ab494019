#include "print/printart.h"

#include <QDir>

#include "page/glyphatlas.h"
#include "page/picturefile.h"

namespace tarvesh::print {

namespace {

std::optional<QImage> LoadArt(const QString& path, int width, int height) {
  QImage image = page::ReadPictureFile(path);
  if (image.width() != width * kPrintScale || image.height() != height * kPrintScale)
    return std::nullopt;
  return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

std::optional<PrintArt> PrintArt::Load(const QString& dataDir) {
  using page::GlyphAtlas;
  const QDir dir(dataDir);
  auto picmode =
      LoadArt(dir.filePath(kPicmodeFile), GlyphAtlas::kPicmodeWidth, GlyphAtlas::kPicmodeHeight);
  auto picmode2 =
      LoadArt(dir.filePath(kPicmode2File), GlyphAtlas::kPicmode2Width, GlyphAtlas::kPicmode2Height);
  auto arc =
      LoadArt(dir.filePath(kSlurArcFile), GlyphAtlas::kSlurArcWidth, GlyphAtlas::kSlurArcHeight);
  if (!picmode || !picmode2 || !arc) return std::nullopt;
  return PrintArt{std::move(*picmode), std::move(*picmode2), std::move(*arc)};
}

}  // namespace tarvesh::print
