#include "app/folderexport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTime>

#include "app/batchexport.h"
#include "app/documentcommands.h"
#include "app/form1.h"
#include "document/folders.h"

namespace tarvesh::app {

int FolderExport::Run(Form1& form, const Request& request, QTextStream& err) {
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

  BatchExport& batch = form.Batch();
  batch.BeginCapture(folder);
  const QStringList scores = batch.Scores();
  QStringList written;
  int failures = 0;
  // The last score first, as the window's batch takes them: a score whose side file lacks a
  // setting keeps the one of the score opened before it, so the order shapes the pictures.
  for (qsizetype f = scores.size() - 1; f >= 0; --f) {
    const QString& name = scores[f];
    const QString progress =
        QStringLiteral("[%1/%2] %3").arg(scores.size() - f).arg(scores.size()).arg(name);
    form.Document().SetPath(QDir(folder).filePath(name));
    if (const auto failed = form.Documents().OpenScoreDocument()) {
      err << progress << ": cannot be read (" << failed->TerminalText() << "), skipped\n";
      ++failures;
      continue;
    }
    const QImage& picture = batch.ComposePagePicture();
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
    const QString path = BatchExport::PdfPathFor(out);
    if (const auto failed = BatchExport::WritePdf(pictureFolder, written, path)) {
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

}  // namespace tarvesh::app
