#pragma once

#include <QFuture>
#include <QImage>
#include <QPicture>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>

#include "document/fileerror.h"
#include "document/pagepicture.h"
#include "document/scorefiles.h"
#include "page/glyphatlas.h"
#include "print/printpage.h"

namespace tarvesh::publish {

class PagePrinter;

// `tarvesh --export`: every score of a folder becomes its page picture at once, composed from
// the score's document alone, as the window's batch export composes it on a screen of the given
// height. Needs no window: a QGuiApplication is enough.
class FolderExport {
 public:
  // Without a screen size the export takes one this high, so the two bands hold every page that
  // can be opened whole.
  static constexpr int kWholePageScreenHeight = document::kMaxPictureSide / 2;
  // Dots per inch of a PNG sheet when none are asked for.
  static constexpr int kDefaultDpi = 300;

  struct Request {
    QString folder;
    QString format;   // "bmp", "png", "pdf", "midi" or "musicxml"
    QString out;      // empty: the folder's "导出 HHMMSS", as the window's batch export
    QString dataDir;  // phrases and symbol pictures the side files name, the print art
    int screenHeight = kWholePageScreenHeight;
    bool progressBar = false;  // `err` is a terminal: a bar instead of a line per score
    // The glyphs a page is read back with, for midi, musicxml, pdf and png.
    const page::GlyphAtlas* atlas = nullptr;
    int dpi = kDefaultDpi;  // png: the A4 sheet's resolution
    // The scores to export, by name in that order; empty for every "*.bmp" of the folder in the
    // order of the file list.
    QStringList scores = {};
  };

  // Exports the "*.bmp" scores of the folder into the output folder: page pictures under the
  // scores' names (bmp), A4 sheets at print resolution as pictures (".png" for png), or for pdf
  // the one PDF of all pages at print resolution, named after the output folder; for midi a MIDI
  // file of each score's music under its name, for musicxml each page read back as music
  // (".musicxml"). Writes one progress line per score, or the bar on a terminal, and names every
  // failure on `err`. Returns 0 when every score was exported, 1 otherwise; a score that cannot
  // be read is skipped.
  static int Run(const Request& request, QTextStream& err);

  // The page picture of a page seen as `view`: A4 proportions at the page's width, white, with
  // the two bands of `screenHeight` rows a screen copy takes.
  static QImage PagePicture(const QImage& view, int screenHeight);
  // Copies rows first..first+S-1 of `view` into the same rows of `picture`.
  static void CopyBand(const QImage& view, int first, int screenHeight, QImage& picture);

  // The PDF of the page pictures of an export folder: it lies in that folder and is named after
  // it, so a copy taken elsewhere still tells which export it came from.
  static QString PdfPathFor(const QString& exportFolder);
  // Writes the pictures `names` of `folder`, in that order, as one A4 page each of the PDF at
  // `pdfPath`, each from its print page (set in `print` from the picture); nothing, or why the
  // PDF could not be written (none of the pictures could be read, or the file could not be
  // written whole).
  static std::optional<document::FileError> WritePdf(const QString& folder,
                                                     const QStringList& names,
                                                     const QString& pdfPath,
                                                     print::PrintPage& print);

 private:
  struct Read {
    std::optional<document::ScoreFiles::Contents> contents;
    document::FileError error;
  };
  // A page at print resolution with what lies over it, recorded as painted.
  struct Sheet {
    print::PrintPage print;
    QPicture over;
  };
  struct Written {
    // What is told after the score's progress when it failed.
    std::optional<QString> failure;
    std::optional<Sheet> sheet;  // a PDF's page
  };
  struct Outcome {
    QString name;
    QString progress;
    QString target;
    QFuture<Written> result;
  };
  // Writes a score's page picture at `target`; on any thread.
  static Written WritePicture(const QImage& picture, const QString& target);
  // Sets `sheet`'s print page from `page`, then writes it as a PNG sheet at `target`, or for a
  // PDF keeps it; on any thread.
  static Written WriteSheet(Sheet sheet, const QImage& page, bool pdf, int dpi,
                            const QString& target);
  // Writes the PDF at `pdfPath` of the sheets `add(printer, 0)` .. `add(printer, count - 1)`
  // put on it; an `add` that fails ends it.
  static std::optional<document::FileError> WriteSheets(
      qsizetype count, const std::function<bool(PagePrinter&, qsizetype)>& add,
      const QString& pdfPath);
};

}  // namespace tarvesh::publish
