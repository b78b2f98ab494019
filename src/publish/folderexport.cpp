#include "publish/folderexport.h"

#include <QtConcurrent/qtconcurrenttask.h>
#include <QDir>
#include <QFileInfo>
#include <QFuture>
#include <QPainter>
#include <QThread>
#include <QThreadPool>
#include <QTime>
#include <QtConcurrent/QtConcurrentMap>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cstring>
#include <deque>

#include "document/folders.h"
#include "document/pagepicture.h"
#include "document/safefile.h"
#include "musicxml/documentexport.h"
#include "musicxml/musicxmlwriter.h"
#include "page/geometry.h"
#include "playback/midifile.h"
#include "playback/performance.h"
#include "print/printart.h"
#include "publish/pageprinter.h"
#include "publish/progressreport.h"
#include "reading/pagereader.h"
#include "score/pagecomposer.h"
#include "score/scoredocument.h"
#include "score/scorefile.h"

namespace tarvesh::publish {

int FolderExport::Run(const Request& request, QTextStream& err) {
  const QFileInfo folderInfo(request.folder);
  // A folder that cannot be read is an error, never an export of nothing.
  if (const auto unreadable = document::CheckFolderReadable(request.folder)) {
    err << "tarvesh: " << unreadable->TerminalText() << "\n";
    return 1;
  }
  const QString folder = folderInfo.absoluteFilePath();
  const QString out =
      request.out.isEmpty()
          ? QDir(folder).filePath(QStringLiteral("导出 ") +
                                  QTime::currentTime().toString(QStringLiteral("HHmmss")))
          : QFileInfo(request.out).absoluteFilePath();
  // Page pictures under the scores' own names would replace the scores.
  if (request.format == QLatin1String("bmp") && QFileInfo(out) == folderInfo) {
    err << "tarvesh: " << out
        << ": the page pictures would replace the scores; choose another --out\n";
    return 1;
  }
  if (!QDir().mkpath(out)) {
    err << "tarvesh: " << out << ": cannot create the export folder\n";
    return 1;
  }
  const bool pdf = request.format == QLatin1String("pdf");
  const bool png = request.format == QLatin1String("png");
  const bool midi = request.format == QLatin1String("midi");
  const bool musicXml = request.format == QLatin1String("musicxml");
  if ((midi || musicXml || pdf || png) && !request.atlas) {
    err << "tarvesh: no glyph atlas to read the pages with\n";
    return 1;
  }
  std::optional<reading::PageReader> reader;
  if (midi || musicXml) reader.emplace(*request.atlas);

  score::PageComposer composer;
  const score::ScoreFile::OverlaySources sources =
      score::ScoreFile::OverlaySources::FromDataFolder(request.dataDir);
  score::ScoreFile::OpenOptions openOptions;
  openOptions.windowSwitches = false;
  // A batch lets the page show through the title.
  score::PageComposer::Options composeOptions;
  composeOptions.opaqueTitle = false;
  score::PageComposer::Options printOptions = composeOptions;
  printOptions.printSymbols = QDir(request.dataDir).filePath(print::PrintArt::kSymbolFolder);

  const QStringList scores = request.scores.isEmpty()
                                 ? document::FilesIn(folder, QStringLiteral("*.bmp"))
                                 : request.scores;
  // The print art loads while the scores are planned and the first ones read.
  QFuture<std::optional<print::PrintArt>> printArt;
  if (pdf || png)
    printArt =
        QtConcurrent::run([dataDir = request.dataDir] { return print::PrintArt::Load(dataDir); });
  // The scores are opened last first, as the window's batch opens them: a score whose side file
  // lacks a setting keeps the one of the score opened before it. What each starts from is worked
  // out first, from the side files and the pictures' headers.
  const std::vector<Plan> plans = PlanScores(folder, scores, sources, openOptions);
  // One document takes every score in turn, as the window's does.
  score::ScoreDocument document;

  // The scores are read, composed and written in the order of the list: reading the scores
  // ahead and writing the pictures behind run on every core, at most `ahead` scores on either
  // side, and the PDF takes its pages in order on a thread of its own as they come.
  QThreadPool pool;
  // The PDF's thread keeps a core busy of its own.
  if (pdf) pool.setMaxThreadCount(std::max(1, pool.maxThreadCount() - 1));
  const size_t ahead = size_t(std::max(2, 2 * QThread::idealThreadCount()));
  std::deque<QFuture<Read>> reads;
  qsizetype nextRead = 0;
  auto readAhead = [&] {
    for (; nextRead < scores.size() && reads.size() < ahead; ++nextRead) {
      if (plans[size_t(nextRead)].failed) {
        reads.push_back(QtFuture::makeReadyFuture(Read{}));
        continue;
      }
      const QString path = QDir(folder).filePath(scores[nextRead]);
      reads.push_back(QtConcurrent::run(&pool, [path] {
        Read read;
        read.contents = score::ScoreFile::Read(path, &read.error);
        return read;
      }));
    }
  };

  // A score's outcome goes before the reads queued ahead of it, so the first pages reach the PDF
  // at once.
  const auto behind = [&pool](auto write) {
    return QtConcurrent::task(std::move(write)).onThreadPool(pool).withPriority(1).spawn();
  };

  std::optional<PdfPages> pdfPages;
  if (pdf) pdfPages.emplace(PdfPathFor(out), ahead);

  // Each score's outcome, told in the order of the scores however the writes finish.
  std::deque<Outcome> outcomes;
  qsizetype written = 0;
  // Each print page starts as a copy of this one, which knows the glyphs and their print art.
  std::optional<print::PrintPage> printPrototype;
  int failures = 0;
  ProgressReport progress(err, int(scores.size()), request.progressBar);
  auto tellOldest = [&] {
    Outcome& outcome = outcomes.front();
    Written result = outcome.result.result();
    if (result.failure) {
      ++failures;
    } else {
      ++written;
      if (pdf && result.sheet) pdfPages->Add(std::move(*result.sheet));
    }
    const QString told = result.failure ? *result.failure
                         : pdf          ? QString()
                               : QStringLiteral(" -> ") + QDir::toNativeSeparators(outcome.target);
    progress.Done(failures + int(written), outcome.name, outcome.progress + told,
                  result.failure.has_value());
    outcomes.pop_front();
  };

  for (qsizetype f = 0; f < scores.size(); ++f) {
    readAhead();
    Read read = reads.front().result();
    reads.pop_front();
    const QString& name = scores[f];
    const Plan& plan = plans[size_t(f)];
    Outcome outcome;
    outcome.name = name;
    outcome.progress = QStringLiteral("[%1/%2] %3").arg(f + 1).arg(scores.size()).arg(name);
    std::optional<document::FileError> failed = plan.failed;
    if (!failed && !read.contents) failed = std::move(read.error);
    // A picture saved again since its header was read.
    if (!failed && read.contents->picture.Size() != plan.pictureSize)
      failed =
          document::FileError::Of(QDir(folder).filePath(name), document::FileError::Problem::kBusy);
    if (!failed) {
      document.Restore(plan.held);
      document.LayOut();
      document.Page().LoadRows(read.contents->picture.Rows());
    }
    if (failed) {
      outcome.result = QtFuture::makeReadyFuture(Written{
          QStringLiteral(": cannot be read (%1), skipped").arg(failed->TerminalText()), {}});
    } else if (midi) {
      const playback::Performance performance(reader->Read(document.Page().Image()),
                                              playback::ScoreHead::Of(document));
      outcome.target =
          QDir(out).filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".mid"));
      outcome.result =
          behind([bytes = playback::MidiFile::Write(performance, 0), target = outcome.target] {
            const auto failed = document::WriteFileSafely(target, bytes);
            return failed ? Written{QStringLiteral(": cannot write ") + failed->TerminalText(), {}}
                          : Written{};
          });
    } else if (pdf || png) {
      outcome.target =
          QDir(out).filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".png"));
      if (!printPrototype) printPrototype.emplace(*request.atlas, printArt.result());
      Sheet sheet{*printPrototype, QPicture(), {}};
      QPainter over(&sheet.over);
      composer.DrawOver(over, document, printOptions);
      over.end();
      outcome.result = behind([sheet = std::move(sheet), page = document.Page().Image(), pdf,
                               dpi = request.dpi, target = outcome.target]() mutable {
        return WriteSheet(std::move(sheet), page, pdf, dpi, target);
      });
    } else if (musicXml) {
      outcome.target =
          QDir(out).filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".musicxml"));
      outcome.result = behind(
          [page = document.Page().Image(), header = musicxml::DocumentExport::HeaderOf(document),
           words = document.Lyrics(), &reader = *reader, target = outcome.target] {
            const QByteArray bytes =
                musicxml::MusicXmlWriter::Write(reader.Read(page), header, words);
            if (const auto failed = document::WriteFileSafely(target, bytes))
              return Written{QStringLiteral(": cannot write ") + failed->TerminalText(), {}};
            return Written{};
          });
    } else {
      const QImage view = composer.Compose(document, composeOptions);
      outcome.target = QDir(out).filePath(name);
      outcome.result = behind([view, screenHeight = request.screenHeight, target = outcome.target] {
        return WritePicture(PagePicture(view, screenHeight), target);
      });
    }
    outcomes.push_back(std::move(outcome));
    // Told as soon as they are done, so the PDF starts with the first page.
    while (!outcomes.empty() && (outcomes.size() > ahead || outcomes.front().result.isFinished()))
      tellOldest();
  }
  while (!outcomes.empty()) tellOldest();
  progress.End();

  if (pdf && written > 0) {
    const QString path = PdfPathFor(out);
    if (const auto failed = pdfPages->Finish()) {
      err << "tarvesh: cannot write " << failed->TerminalText() << "\n";
      ++failures;
    } else {
      err << "PDF of " << written << " pages -> " << QDir::toNativeSeparators(path) << "\n";
    }
  }
  err << "tarvesh: exported " << written << " of " << scores.size() << " scores into "
      << QDir::toNativeSeparators(out) << "\n";
  err.flush();
  return failures == 0 ? 0 : 1;
}

FolderExport::PdfPages::PdfPages(const QString& path, size_t most)
    : path_(path), most_(most), printer_(std::in_place, path), thread_([this] { Write(); }) {}

FolderExport::PdfPages::~PdfPages() {
  Close(false);
}

void FolderExport::PdfPages::Add(Sheet sheet) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return waiting_.size() < most_; });
  waiting_.push_back(std::move(sheet));
  changed_.notify_all();
}

std::optional<document::FileError> FolderExport::PdfPages::Finish() {
  Close(true);
  return finished_;
}

void FolderExport::PdfPages::Close(bool finish) {
  {
    const std::lock_guard lock(mutex_);
    if (closed_) return;
    closed_ = true;
    finish_ = finish;
  }
  changed_.notify_all();
  thread_.join();
}

void FolderExport::PdfPages::Write() {
  // A page the PDF refuses ends it: the pages after it are dropped.
  bool ended = false;
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return !waiting_.empty() || closed_; });
    if (waiting_.empty()) break;
    const Sheet& sheet = waiting_.front();
    lock.unlock();
    ended = ended || !printer_->Add(sheet.print, sheet.black, [&](QPainter& painter) {
      painter.drawPicture(0, 0, sheet.over);
    });
    lock.lock();
    waiting_.pop_front();
    changed_.notify_all();
  }
  // The PDF is ended or dropped on this thread: the fonts it embeds belong to the thread that
  // drew its texts.
  if (finish_) finished_ = FolderExport::Finish(*printer_, path_);
  printer_.reset();
}

std::vector<FolderExport::Plan> FolderExport::PlanScores(
    const QString& folder, const QStringList& scores,
    const score::ScoreFile::OverlaySources& sources, const score::ScoreFile::OpenOptions& options) {
  struct Head {
    std::optional<document::ScoreFiles::Head> head;
    document::FileError error;
  };
  const QList<Head> heads = QtConcurrent::blockingMapped(scores, [&folder](const QString& name) {
    Head head;
    head.head = score::ScoreFile::ReadHead(QDir(folder).filePath(name), &head.error);
    return head;
  });
  std::vector<Plan> plans(size_t(scores.size()));
  score::ScoreDocument document;
  document.LayOut();
  score::ScoreFile file;
  for (qsizetype f = scores.size() - 1; f >= 0; --f) {
    Plan& plan = plans[size_t(f)];
    const Head& head = heads[f];
    document.SetPath(QDir(folder).filePath(scores[f]));
    plan.failed = head.head ? file.OpenSettings(document, *head.head, sources, options)
                            : std::optional(head.error);
    if (plan.failed) continue;
    plan.held = document.Take();
    plan.pictureSize = head.head->pictureSize;
  }
  return plans;
}

FolderExport::Written FolderExport::WritePicture(const QImage& picture, const QString& target) {
  if (const auto failed = document::WritePagePicture(picture, target))
    return {QStringLiteral(": cannot write ") + failed->TerminalText(), {}};
  return {};
}

FolderExport::Written FolderExport::WriteSheet(Sheet sheet, const QImage& page, bool pdf, int dpi,
                                               const QString& target) {
  sheet.print.SetFrom(page);
  if (pdf) {
    sheet.black = PagePrinter::BlackInkOf(sheet.print);
    return {std::nullopt, std::move(sheet)};
  }
  const QImage picture = PagePrinter::SheetImage(
      sheet.print, [&](QPainter& painter) { painter.drawPicture(0, 0, sheet.over); }, dpi);
  if (const auto failed = document::WriteImageFile(picture, target, "PNG"))
    return {QStringLiteral(": cannot write ") + failed->TerminalText(), {}};
  return {};
}

QImage FolderExport::PagePicture(const QImage& view, int screenHeight) {
  const int width = view.width();
  const int height = page::PageHeightFor(width);
  // The two bands are the view's first 2 S rows: what of them the view has is copied, the rest
  // of the picture is white.
  const int copied = std::min({height, view.height(), 2 * std::max(screenHeight, 0)});
  if (copied == height && view.height() == height && view.format() == QImage::Format_RGB32)
    return view;
  const QImage rgb = view.convertToFormat(QImage::Format_RGB32);
  QImage picture(width, height, QImage::Format_RGB32);
  const size_t rowBytes = size_t(width) * 4;
  for (int y = 0; y < height; ++y) {
    if (y < copied) {
      std::memcpy(picture.scanLine(y), rgb.constScanLine(y), rowBytes);
    } else {
      std::memset(picture.scanLine(y), 0xff, rowBytes);
    }
  }
  return picture;
}

void FolderExport::CopyBand(const QImage& view, int first, int screenHeight, QImage& picture) {
  const QRect band = QRect(0, first, picture.width(), screenHeight).intersected(view.rect());
  if (band.isEmpty()) return;
  QPainter painter(&picture);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.drawImage(band.topLeft(), view, band);
}

QString FolderExport::PdfPathFor(const QString& exportFolder) {
  return QDir(exportFolder).filePath(QFileInfo(exportFolder).fileName() + QStringLiteral(".pdf"));
}

std::optional<document::FileError> FolderExport::WritePdf(const QString& folder,
                                                          const QStringList& names,
                                                          const QString& pdfPath,
                                                          print::PrintPage& print) {
  const auto add = [&](PagePrinter& printer, qsizetype i) {
    const QImage picture =
        document::LoadPagePicture(QDir(folder).filePath(names[i])).value_or(QImage());
    if (picture.isNull()) return true;
    print.SetFrom(picture);
    // The picture holds everything that lay over its page already.
    return printer.Add(print, [](QPainter&) {});
  };
  return WriteSheets(names.size(), add, pdfPath);
}

std::optional<document::FileError> FolderExport::WriteSheets(
    qsizetype count, const std::function<bool(PagePrinter&, qsizetype)>& add,
    const QString& pdfPath) {
  PagePrinter sheets(pdfPath);
  for (qsizetype i = 0; i < count; ++i)
    if (!add(sheets, i)) break;
  return Finish(sheets, pdfPath);
}

std::optional<document::FileError> FolderExport::Finish(PagePrinter& printer,
                                                        const QString& pdfPath) {
  if (printer.Finish()) return std::nullopt;
  return printer.WriteError().value_or(
      document::FileError::Of(pdfPath, document::FileError::Problem::kMalformed));
}

}  // namespace tarvesh::publish
