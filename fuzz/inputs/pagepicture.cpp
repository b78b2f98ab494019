#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>

#include "document/pagepicture.h"
#include "fuzzinputs.h"
#include "page/scorepage.h"

namespace tarvesh::fuzz {

void PagePictureInput(const std::uint8_t* data, std::size_t size) {
  static const QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("score.bmp"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) std::abort();
    file.write(reinterpret_cast<const char*>(data), qint64(size));
  }
  const auto picture = document::LoadPagePicture(path);
  if (!picture) return;
  if (picture->isNull() || picture->width() > document::kMaxPictureSide ||
      picture->height() > document::kMaxPictureSide)
    std::abort();
  // A small page: the picture is clipped to it however large it is.
  page::ScorePage page(100, 141);
  page.LoadImage(*picture);
  if (page.Width() != 100 || page.Height() != 141) std::abort();
}

}  // namespace tarvesh::fuzz
