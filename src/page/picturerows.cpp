#include "page/picturerows.h"

#include <cstring>

#include "page/pagebitmap.h"

namespace tarvesh::page {

ImageRows::ImageRows(const QImage& image) : rgb_(image.convertToFormat(QImage::Format_RGB32)) {}

int ImageRows::InkEnd(int y) const {
  return PageBitmap::InkEnd(Row(y), rgb_.width());
}

void ImageRows::Read(int y, int count, quint32* to) const {
  std::memcpy(to, Row(y), size_t(count) * sizeof(quint32));
}

}  // namespace tarvesh::page
