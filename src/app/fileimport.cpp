#include "app/fileimport.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

#include "app/documentcommands.h"
#include "app/form1.h"
#include "app/musicxmlcommands.h"
#include "document/datsidefile.h"
#include "publish/folderexport.h"
#include "publish/progressreport.h"

namespace tarvesh::app {

int FileImport::Run(Form1& form, const Request& request, QTextStream& err) {
  const QString out = QFileInfo(request.out).absoluteFilePath();
  if (!QDir().mkpath(out)) {
    err << "tarvesh: " << QDir::toNativeSeparators(out) << ": cannot create the folder\n";
    return 1;
  }
  const qsizetype total = request.files.size();
  publish::ProgressReport progress(err, int(total), request.progressBar);
  QStringList saved;
  int failures = 0;
  for (qsizetype i = 0; i < total; ++i) {
    const QString& file = request.files[i];
    const QString name = QFileInfo(file).completeBaseName() + QStringLiteral(".bmp");
    const QString target = QDir(out).filePath(name);
    QString told;
    std::optional<QString> failure;
    // A score there from before, or from a file of the same name given earlier, is kept.
    if (QFileInfo::exists(target) || QFileInfo::exists(document::DatSideFile::PathFor(target))) {
      failure = QStringLiteral(": %1 already exists, not replaced; skipped")
                    .arg(QDir::toNativeSeparators(target));
    } else if (!form.MusicXml().ImportFile(file, &told)) {
      failure = QStringLiteral(": cannot be imported (%1), skipped").arg(told);
    } else if (const auto failed = form.Documents().SaveAt(target)) {
      failure = QStringLiteral(": cannot write %1, skipped").arg(failed->TerminalText());
    }
    QString line =
        QStringLiteral("[%1/%2] %3").arg(i + 1).arg(total).arg(QDir::toNativeSeparators(file));
    if (failure) {
      ++failures;
      line += *failure;
    } else {
      saved << name;
      line += QStringLiteral(" -> ") + QDir::toNativeSeparators(target);
      if (!told.isEmpty()) line += QStringLiteral("; left out: ") + told;
    }
    // What was left out stays on a terminal as a failure does: it is worth reading.
    progress.Done(int(i + 1), QFileInfo(file).fileName(), line,
                  failure.has_value() || !told.isEmpty());
  }
  progress.End();
  err << "tarvesh: imported " << saved.size() << " of " << total << " files into "
      << QDir::toNativeSeparators(out) << "\n";
  err.flush();

  int status = failures == 0 ? 0 : 1;
  if (!request.format.isEmpty() && !saved.isEmpty()) {
    publish::FolderExport::Request exported;
    exported.folder = out;
    exported.format = request.format;
    exported.dataDir = request.dataDir;
    exported.screenHeight = request.screenHeight;
    if (request.dpi != 0) exported.dpi = request.dpi;
    exported.progressBar = request.progressBar;
    exported.scores = saved;
    exported.atlas = request.atlas;
    if (publish::FolderExport::Run(exported, err) != 0) status = 1;
  }
  return status;
}

}  // namespace tarvesh::app
