#include <QByteArrayView>
#include <QImage>
#include <cstdlib>

#include "document/bmpdecoder.h"
#include "fuzzinputs.h"
#include "page/scorepage.h"

namespace tarvesh::fuzz {

void PagePictureInput(const std::uint8_t* data, std::size_t size) {
  const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  document::FileError error;
  const auto picture = document::DecodeBmp(bytes, QStringLiteral("score.bmp"), &error);
  // Refused with a reason naming the file, or whole: never a null or oversized picture.
  if (!picture) {
    if (error.path != QLatin1String("score.bmp") || error.Reason().isEmpty()) std::abort();
    return;
  }
  if (picture->isNull() || picture->format() != QImage::Format_RGB32 ||
      picture->width() > document::kMaxPictureSide || picture->height() > document::kMaxPictureSide)
    std::abort();
  // A small page: the picture is clipped to it however large it is.
  page::ScorePage page(100, 141);
  page.LoadImage(*picture);
  if (page.Width() != 100 || page.Height() != 141) std::abort();
}

}  // namespace tarvesh::fuzz
