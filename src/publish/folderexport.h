#pragma once

#include <QFuture>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>

#include "document/fileerror.h"
#include "document/pagepicture.h"
#include "document/scorefiles.h"
#include "page/glyphatlas.h"

namespace tarvesh::publish {

// `tarvesh --export`: every score of a folder becomes its page picture at once, composed from
// the score's document alone, as the window's batch export composes it on a screen of the given
// height. Needs no window: a QGuiApplication is enough.
class FolderExport {
 public:
  // Without a screen size the export takes one this high, so the two bands hold every page that
  // can be opened whole.
  static constexpr int kWholePageScreenHeight = document::kMaxPictureSide / 2;

  struct Request {
    QString folder;
    QString format;   // "bmp", "png", "pdf" or "midi"
    QString out;      // empty: the folder's "导出 HHMMSS", as the window's batch export
    QString dataDir;  // phrases and symbol pictures the side files name
    int screenHeight = kWholePageScreenHeight;
    bool progressBar = false;  // `err` is a terminal: a bar instead of a line per score
    // The glyphs a page is read back with, for midi.
    const page::GlyphAtlas* atlas = nullptr;
  };

  // Exports the "*.bmp" scores of the folder into the output folder: page pictures under the
  // scores' names (".png" for png), or for pdf the one PDF of all pages, named after the output
  // folder; for midi a MIDI file of each score's music under its name. Writes one progress line
  // per score, or the bar on a terminal, and names every failure on `err`. Returns 0 when every
  // score was exported, 1 otherwise; a score that cannot be read is skipped.
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
  // `pdfPath`; nothing, or why the PDF could not be written (none of the pictures could be
  // read, or the file could not be written whole).
  static std::optional<document::FileError> WritePdf(const QString& folder,
                                                     const QStringList& names,
                                                     const QString& pdfPath);

 private:
  struct Read {
    std::optional<document::ScoreFiles::Contents> contents;
    document::FileError error;
  };
  struct Written {
    // What is told after the score's progress when it failed.
    std::optional<QString> failure;
    QImage sheet;  // a PDF's page
  };
  struct Outcome {
    QString name;
    QString progress;
    QString target;
    QFuture<Written> result;
  };
  // Writes a score's page picture at `target`, or for a PDF makes its sheet; on any thread.
  static Written WritePicture(const QImage& picture, bool pdf, bool png, const QString& target);
  // Writes the pages `page(0)` .. `page(count - 1)` as the PDF at `pdfPath`; a null page is
  // left out.
  static std::optional<document::FileError> WriteSheets(
      qsizetype count, const std::function<QImage(qsizetype)>& page, const QString& pdfPath);
};

}  // namespace tarvesh::publish
