#include "publish/folderexport.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QTime>

#include "document/folders.h"
#include "document/pagepicture.h"
#include "page/geometry.h"
#include "publish/pageprinter.h"
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
  // A PDF is made of the page pictures the batch would write, kept here until it is written.
  QTemporaryDir pictures;
  const QString pictureFolder = pdf ? pictures.path() : out;
  if (pdf && !pictures.isValid()) {
    err << "tarvesh: cannot create a temporary folder for the page pictures\n";
    return 1;
  }

  // One document takes every score in turn, as the window's does.
  score::ScoreDocument document;
  document.LayOut();
  score::ScoreFile file;
  score::PageComposer composer;
  const score::ScoreFile::OverlaySources sources =
      score::ScoreFile::OverlaySources::FromDataFolder(request.dataDir);
  score::ScoreFile::OpenOptions openOptions;
  openOptions.windowSwitches = false;
  // A batch lets the page show through the title.
  score::PageComposer::Options composeOptions;
  composeOptions.opaqueTitle = false;

  const QStringList scores = document::FilesIn(folder, QStringLiteral("*.bmp"));
  QStringList written;
  int failures = 0;
  // The last score first, as the window's batch takes them: a score whose side file lacks a
  // setting keeps the one of the score opened before it, so the order shapes the pictures.
  for (qsizetype f = scores.size() - 1; f >= 0; --f) {
    const QString& name = scores[f];
    const QString progress =
        QStringLiteral("[%1/%2] %3").arg(scores.size() - f).arg(scores.size()).arg(name);
    document.SetPath(QDir(folder).filePath(name));
    if (const auto failed = file.Open(document, sources, openOptions)) {
      err << progress << ": cannot be read (" << failed->TerminalText() << "), skipped\n";
      ++failures;
      continue;
    }
    const QImage picture =
        PagePicture(composer.Compose(document, composeOptions), request.screenHeight);
    const bool png = request.format == QLatin1String("png");
    const QString target =
        png ? QDir(out).filePath(QFileInfo(name).completeBaseName() + QStringLiteral(".png"))
            : QDir(pictureFolder).filePath(name);
    if (const auto failed = png ? document::WriteImageFile(picture, target, "PNG")
                                : document::WritePagePicture(picture, target)) {
      err << progress << ": cannot write " << failed->TerminalText() << "\n";
      ++failures;
      continue;
    }
    written.prepend(name);
    err << progress << (pdf ? QString() : QStringLiteral(" -> ") + QDir::toNativeSeparators(target))
        << "\n";
    err.flush();
  }

  if (pdf && !written.isEmpty()) {
    const QString path = PdfPathFor(out);
    if (const auto failed = WritePdf(pictureFolder, written, path)) {
      err << "tarvesh: cannot write " << failed->TerminalText() << "\n";
      ++failures;
    } else {
      err << "PDF of " << written.size() << " pages -> " << QDir::toNativeSeparators(path) << "\n";
    }
  }
  err << "tarvesh: exported " << written.size() << " of " << scores.size() << " scores into "
      << QDir::toNativeSeparators(out) << "\n";
  err.flush();
  return failures == 0 ? 0 : 1;
}

QImage FolderExport::PagePicture(const QImage& view, int screenHeight) {
  const int width = view.width();
  QImage picture(width, page::PageHeightFor(width), QImage::Format_RGB32);
  picture.fill(Qt::white);
  CopyBand(view, 0, screenHeight, picture);
  CopyBand(view, screenHeight, screenHeight, picture);
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
                                                          const QString& pdfPath) {
  PagePrinter sheets(pdfPath);
  for (const QString& name : names) {
    const std::optional<QImage> picture = document::LoadPagePicture(QDir(folder).filePath(name));
    if (picture && !sheets.Add(*picture)) break;
  }
  if (sheets.Finish()) return std::nullopt;
  return sheets.WriteError().value_or(
      document::FileError::Of(pdfPath, document::FileError::Problem::kMalformed));
}

}  // namespace tarvesh::publish
