#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <optional>

#include "document/fileerror.h"

class QPagedPaintDevice;
class QPainter;
class QPdfWriter;

namespace tarvesh::document {
class SafeFile;
}

namespace tarvesh::publish {

// The one print path: page pictures go onto A4 sheets, one picture a sheet, scaled to the
// sheet's printable width (and no higher than its printable height) with every pixel kept. The
// picture is drawn without smoothing, so a device that resamples it takes the nearest pixel,
// and a PDF embeds it losslessly at its own size (Flate, never JPEG), at one bit a pixel when the
// page is black and white (SheetPicture).
class PagePrinter {
 public:
  // Sheets of `device` (a printer set up by the print dialog), which must outlive this object.
  explicit PagePrinter(QPagedPaintDevice& device);
  // Sheets of a PDF file at `path`, filled edge to edge (a page picture already has A4's
  // proportions). The file is replaced only when it was written whole (a SafeFile).
  explicit PagePrinter(const QString& pdfPath);
  ~PagePrinter();

  // Adds `page` on a sheet of its own. False when the device cannot be painted on (for a PDF:
  // the file cannot be written); later pages are then refused as well.
  bool Add(const QImage& page);
  // `page` as it goes onto a sheet: a page of black and white only becomes a one-bit picture,
  // which a PDF embeds at one bit a pixel, in place of three bytes; the sheet shows the same
  // pixels. Any other page is returned as it is. Safe on any thread.
  static QImage SheetPicture(const QImage& page);
  // Ends the document. False when it was not written whole, or holds no page.
  bool Finish();
  // Why the PDF file could not be written; nothing for a printer, or when nothing failed.
  std::optional<document::FileError> WriteError() const;

 private:
  std::unique_ptr<document::SafeFile> file_;
  std::unique_ptr<QPdfWriter> writer_;
  QPagedPaintDevice* device_;
  std::unique_ptr<QPainter> painter_;
  bool failed_ = false;
};

}  // namespace tarvesh::publish
