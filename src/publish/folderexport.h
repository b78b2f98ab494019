#pragma once

#include <QFuture>
#include <QImage>
#include <QPicture>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "document/fileerror.h"
#include "document/pagepicture.h"
#include "document/scorefiles.h"
#include "page/glyphatlas.h"
#include "print/printpage.h"
#include "publish/pageprinter.h"
#include "score/scoredocument.h"
#include "score/scorefile.h"

namespace tarvesh::publish {

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
  // What a score is opened with: the settings it starts from, worked out as if the scores were
  // opened last first, or why it cannot be opened.
  struct Plan {
    std::optional<document::FileError> failed;
    score::ScoreDocument::Held held;
    QSize pictureSize;
  };
  // Each score's plan, from the side files and the pictures' headers alone.
  static std::vector<Plan> PlanScores(const QString& folder, const QStringList& scores,
                                      const score::ScoreFile::OverlaySources& sources,
                                      const score::ScoreFile::OpenOptions& options);
  struct Read {
    std::optional<document::ScoreFiles::Contents> contents;
    document::FileError error;
  };
  // A page at print resolution with what lies over it, recorded as painted.
  struct Sheet {
    print::PrintPage print;
    QPicture over;
    PagePrinter::BlackInk black;  // a PDF's page: made with the print page
  };
  // The pages of a PDF at `path`, added in order on a thread of its own while the next ones are
  // made; Add waits while `most` pages wait to be added.
  class PdfPages {
   public:
    PdfPages(const QString& path, size_t most);
    ~PdfPages();
    void Add(Sheet sheet);
    // Ends the PDF once every page is on it: nothing, or why it could not be written.
    std::optional<document::FileError> Finish();

   private:
    // Ends the PDF's thread, once every page waiting is added; the PDF is ended when `finish`,
    // or dropped.
    void Close(bool finish);
    void Write();

    QString path_;
    size_t most_;
    std::optional<PagePrinter> printer_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Sheet> waiting_;
    bool closed_ = false;
    bool finish_ = false;
    std::optional<document::FileError> finished_;
    std::thread thread_;
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
  // Ends the PDF at `pdfPath`: nothing, or why it could not be written.
  static std::optional<document::FileError> Finish(PagePrinter& printer, const QString& pdfPath);
};

}  // namespace tarvesh::publish
