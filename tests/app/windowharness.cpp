#include "app/windowharness.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include "app/script/scriptrunner.h"
#include "app/statedump.h"

namespace tarvesh::testing {

WindowHarness::WindowHarness(QSize screen, QString dataDir,
                             std::unique_ptr<app::ScriptedDialogs> dialogs)
    : dialogs_(std::move(dialogs)) {
  auto atlas = page::GlyphAtlas::Load(dataDir, nullptr);
  app::Form1::Options options;
  options.dataDir = dataDir;
  options.screen = screen;
  options.audible = false;
  options.keepEvents = true;
  form_ = std::make_unique<app::Form1>(options, std::move(*atlas), *dialogs_);
  form_->show();
}

int WindowHarness::Run(const QString& script) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("steps.tvs"));
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write(script.toUtf8());
  file.close();
  error_.clear();
  QTextStream errors(&error_);
  return app::RunScript(*form_, *dialogs_, path, errors);
}

QJsonObject WindowHarness::Dump() {
  return app::DumpWindow(*form_);
}

QJsonObject WindowHarness::Control(const QString& name) {
  return Dump()[QStringLiteral("controls")].toObject()[name].toObject();
}

QJsonObject WindowHarness::State() {
  return Dump()[QStringLiteral("state")].toObject();
}

ProcessResult RunTarvesh(const QStringList& arguments, const QString& script) {
  QTemporaryDir dir;
  QStringList args = arguments;
  if (!script.isNull()) {
    QFile file(dir.filePath(QStringLiteral("steps.tvs")));
    if (!file.open(QIODevice::WriteOnly) || file.write(script.toUtf8()) != script.toUtf8().size())
      return {-1, QStringLiteral("cannot write the script")};
    file.close();
    args << QStringLiteral("--script") << file.fileName();
  }
  QProcess process;
  process.setWorkingDirectory(dir.path());
  process.start(QStringLiteral(TARVESH_EXECUTABLE), args);
  process.waitForFinished(120000);
  return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
          QString::fromUtf8(process.readAllStandardError())};
}

}  // namespace tarvesh::testing
