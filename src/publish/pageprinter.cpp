#include "publish/pageprinter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "document/safefile.h"

namespace tarvesh::publish {

namespace {
constexpr QRgb kBlack = 0xff000000u;
constexpr QRgb kWhite = 0xffffffffu;
}  // namespace

PagePrinter::PagePrinter(QPagedPaintDevice& device) : device_(&device) {}

PagePrinter::PagePrinter(const QString& pdfPath)
    : file_(std::make_unique<document::SafeFile>(pdfPath)) {
  failed_ = !file_->open(QIODevice::WriteOnly);
  writer_ = std::make_unique<QPdfWriter>(file_.get());
  writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
  writer_->setCreator(QStringLiteral("Tarvesh"));
  device_ = writer_.get();
}

PagePrinter::~PagePrinter() {
  // An unfinished PDF is dropped; the file it would have replaced stays as it was.
  if (painter_) painter_->end();
}

QImage PagePrinter::SheetPicture(const QImage& page) {
  if (page.format() == QImage::Format_Mono || page.isNull()) return page;
  const QImage rgb = page.convertToFormat(QImage::Format_RGB32);
  // Index 0 black and 1 white, in this order, is what a PDF writer takes for a grey one-bit
  // picture.
  QImage bits(rgb.size(), QImage::Format_Mono);
  bits.setColorTable({kBlack, kWhite});
  bits.setDotsPerMeterX(rgb.dotsPerMeterX());
  bits.setDotsPerMeterY(rgb.dotsPerMeterY());
  const int width = rgb.width();
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* from = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* to = bits.scanLine(y);
    // Eight pixels make a byte, the first in its highest bit; a pixel neither black nor white
    // ends the search.
    for (int x = 0; x < width; x += 8) {
      const int end = std::min(width, x + 8);
      // Most of a page is paper: eight white pixels are a white byte at once.
      quint32 all = kWhite;
      for (int i = x; i < end; ++i) all &= from[i];
      if (all == kWhite) {
        to[x / 8] = 0xff;
        continue;
      }
      uchar byte = 0;
      for (int i = x; i < end; ++i) {
        const QRgb pixel = from[i] | 0xff000000u;
        if (pixel != kWhite && pixel != kBlack) return page;
        byte |= uchar((pixel == kWhite) << (7 - (i - x)));
      }
      to[x / 8] = byte;
    }
  }
  return bits;
}

bool PagePrinter::Add(const QImage& page) {
  if (failed_ || page.isNull()) return false;
  if (!painter_) {
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(device_)) {
      painter_.reset();
      failed_ = true;
      return false;
    }
  } else if (!device_->newPage()) {
    failed_ = true;
    return false;
  }
  // The painter's origin is the corner of the printable area.
  const QRectF area = device_->pageLayout().paintRectPixels(device_->logicalDpiX());
  const double scale = std::min(area.width() / page.width(), area.height() / double(page.height()));
  painter_->save();
  painter_->setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter_->setRenderHint(QPainter::LosslessImageRendering, true);
  painter_->scale(scale, scale);
  painter_->drawImage(QPointF(0, 0), SheetPicture(page));
  painter_->restore();
  return true;
}

bool PagePrinter::Finish() {
  if (!painter_) return false;
  bool written = painter_->end() && !failed_;
  painter_.reset();
  if (file_) written = written && !file_->Commit();
  return written;
}

std::optional<document::FileError> PagePrinter::WriteError() const {
  return file_ ? file_->Error() : std::nullopt;
}

}  // namespace tarvesh::publish
