#include "publish/pageprinter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "document/safefile.h"

namespace tarvesh::publish {

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
  painter_->drawImage(QPointF(0, 0), page);
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
