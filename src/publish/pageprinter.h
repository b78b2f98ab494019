#pragma once

#include <QImage>
#include <QPoint>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "document/fileerror.h"

class QPagedPaintDevice;
class QPainter;
class QPdfWriter;

namespace tarvesh::document {
class SafeFile;
}
namespace tarvesh::print {
class PrintPage;
}

namespace tarvesh::publish {

// The one print path: pages go onto A4 sheets, one a sheet, inside margins of kMarginMm on every
// side (what most printers can reach), as large as fits without distortion and centred. A print
// page goes on at its own resolution, its black ink as one picture at one bit a pixel and other
// colours as filled runs, with the texts over the page as text in the page font (selectable and
// searchable in a PDF).
class PagePrinter {
 public:
  static constexpr double kMarginMm = 12;
  // Draws what lies over the page with the painter set to page pixels.
  using DrawOver = std::function<void(QPainter&)>;

  // Sheets of `device` (a printer set up by the print dialog), which must outlive this object.
  explicit PagePrinter(QPagedPaintDevice& device);
  // Sheets of a PDF file at `path`, filled edge to edge (a page picture already has A4's
  // proportions). The file is replaced only when it was written whole (a SafeFile).
  explicit PagePrinter(const QString& pdfPath);
  ~PagePrinter();

  // The black ink of a print page as the sheet takes it, one bit a pixel: made on any thread,
  // ahead of the sheet.
  struct BlackInk {
    QPoint at;  // print page pixels
    QImage bits;
  };
  static BlackInk BlackInkOf(const print::PrintPage& print);

  // Adds the print page `print` on a sheet of its own with `over` drawn over it. False when the
  // device cannot be painted on (for a PDF: the file cannot be written); later pages are then
  // refused as well.
  bool Add(const print::PrintPage& print, const DrawOver& over);
  // The same with its black ink made ahead.
  bool Add(const print::PrintPage& print, const BlackInk& black, const DrawOver& over);
  // Where a page of `pageSize` goes on a sheet whose area inside the margins is `area`.
  static QRectF PlaceOnSheet(QSizeF pageSize, const QRectF& area);
  // Paints the print page and what lies over it into `target` (device units) of `painter`.
  static void PaintPrintPage(QPainter& painter, const QRectF& target, const print::PrintPage& print,
                             const BlackInk& black, const DrawOver& over);
  // An A4 sheet at `dpi` dots per inch as a picture: what the PDF's page shows, white paper.
  static QImage SheetImage(const print::PrintPage& print, const DrawOver& over, int dpi);
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

  // Starts a new sheet; the painter's area inside the margins, in device units, or nothing when
  // the device failed.
  std::optional<QRectF> NextSheet();
};

}  // namespace tarvesh::publish
