#include "publish/pageprinter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>
#include <vector>

#include "document/safefile.h"
#include "print/printpage.h"

namespace tarvesh::publish {

namespace {
constexpr QRgb kBlack = 0xff000000u;
constexpr QRgb kWhite = 0xffffffffu;
constexpr double kMmPerInch = 25.4;
constexpr int kPictureDpi = 96;

// Ink of another colour as filled runs of its rows, a run that goes on unchanged over the next
// rows filled once, in print page pixels.
void FillRuns(QPainter& painter, const print::InkLayer& layer) {
  const QRect inked = layer.Inked();
  if (inked.isEmpty()) return;
  struct Run {
    int x0, x1, top;
  };
  std::vector<Run> open, next;
  const auto close = [&](const Run& run, int bottom) {
    painter.fillRect(QRectF(run.x0, run.top, run.x1 - run.x0, bottom - run.top), layer.Colour());
  };
  for (int y = inked.top(); y <= inked.bottom() + 1; ++y) {
    next.clear();
    int x = inked.left();
    while (y <= inked.bottom() && x <= inked.right()) {
      if (!layer.Test(x, y)) {
        ++x;
        continue;
      }
      const int x0 = x;
      while (x <= inked.right() && layer.Test(x, y)) ++x;
      const auto same = std::find_if(open.begin(), open.end(),
                                     [&](const Run& r) { return r.x0 == x0 && r.x1 == x; });
      if (same != open.end()) {
        next.push_back(*same);
        open.erase(same);
      } else {
        next.push_back({x0, x, y});
      }
    }
    for (const Run& run : open) close(run, y);
    open.swap(next);
  }
}
}  // namespace

PagePrinter::PagePrinter(QPagedPaintDevice& device) : device_(&device) {}

PagePrinter::PagePrinter(const QString& pdfPath)
    : file_(std::make_unique<document::SafeFile>(pdfPath)) {
  failed_ = !file_->open(QIODevice::WriteOnly);
  writer_ = std::make_unique<QPdfWriter>(file_.get());
  writer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm),
                                     QPageLayout::Millimeter));
  writer_->setCreator(QStringLiteral("Tarvesh"));
  // The resolution a recorded QPicture is played back at unscaled; the pictures on the sheet
  // keep their own resolution whatever this is.
  writer_->setResolution(kPictureDpi);
  device_ = writer_.get();
}

PagePrinter::~PagePrinter() {
  // An unfinished PDF is dropped; the file it would have replaced stays as it was.
  if (painter_) painter_->end();
}

std::optional<QRectF> PagePrinter::NextSheet() {
  if (failed_) return std::nullopt;
  if (!painter_) {
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(device_)) {
      painter_.reset();
      failed_ = true;
      return std::nullopt;
    }
  } else if (!device_->newPage()) {
    failed_ = true;
    return std::nullopt;
  }
  // The painter's origin is the corner of the printable area.
  const QRectF area = device_->pageLayout().paintRectPixels(device_->logicalDpiX());
  return QRectF(QPointF(0, 0), area.size());
}

QRectF PagePrinter::PlaceOnSheet(QSizeF pageSize, const QRectF& area) {
  const double scale = std::min(area.width() / pageSize.width(), area.height() / pageSize.height());
  const QSizeF size = pageSize * scale;
  return QRectF(area.topLeft() +
                    QPointF((area.width() - size.width()) / 2, (area.height() - size.height()) / 2),
                size);
}

PagePrinter::BlackInk PagePrinter::BlackInkOf(const print::PrintPage& print) {
  if (print.Layers().empty()) return {};
  // Whole bytes, so the copy is a plain copy of rows; paper around the ink is left out, as it
  // costs the PDF's compression most. Index 0 is black, 1 white.
  const QRect inked = print.Layers().front().Inked();
  if (inked.isEmpty()) return {};
  const int left = inked.left() & ~7;
  const QRect bytes(left, inked.top(), inked.right() + 1 - left, inked.height());
  QImage bits = print.Layers().front().Bits().copy(bytes);
  bits.invertPixels();
  bits.setColorTable({kBlack, kWhite});
  return {bytes.topLeft(), bits};
}

bool PagePrinter::Add(const print::PrintPage& print, const DrawOver& over) {
  return Add(print, BlackInkOf(print), over);
}

bool PagePrinter::Add(const print::PrintPage& print, const BlackInk& black, const DrawOver& over) {
  if (print.PageSize().isEmpty()) return false;
  const auto area = NextSheet();
  if (!area) return false;
  PaintPrintPage(*painter_, PlaceOnSheet(print.PageSize(), *area), print, black, over);
  return true;
}

void PagePrinter::PaintPrintPage(QPainter& painter, const QRectF& target,
                                 const print::PrintPage& print, const BlackInk& black,
                                 const DrawOver& over) {
  const QSize size = print.PageSize();
  painter.save();
  painter.translate(target.topLeft());
  painter.scale(target.width() / size.width(), target.height() / size.height());
  painter.setRenderHint(QPainter::LosslessImageRendering, true);
  {
    painter.save();
    painter.scale(1.0 / print.Scale(), 1.0 / print.Scale());
    if (!black.bits.isNull()) painter.drawImage(black.at, black.bits);
    for (const print::InkLayer& layer : print.Layers())
      if (&layer != &print.Layers().front()) FillRuns(painter, layer);
    painter.restore();
  }
  over(painter);
  painter.restore();
}

QImage PagePrinter::SheetImage(const print::PrintPage& print, const DrawOver& over, int dpi) {
  const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
  const double perMm = dpi / kMmPerInch;
  QImage sheet(qRound(a4.width() * perMm), qRound(a4.height() * perMm), QImage::Format_RGB32);
  sheet.fill(Qt::white);
  {
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const double margin = kMarginMm * perMm;
    const QRectF area = QRectF(sheet.rect()).adjusted(margin, margin, -margin, -margin);
    PaintPrintPage(painter, PlaceOnSheet(print.PageSize(), area), print, BlackInkOf(print), over);
  }
  // The sheet takes its resolution once drawn: a recorded QPicture plays back scaled by its
  // device's resolution over 96 dpi, which put the head and the pictures over the page off the
  // sheet.
  sheet.setDotsPerMeterX(qRound(perMm * 1000));
  sheet.setDotsPerMeterY(qRound(perMm * 1000));
  return sheet;
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
