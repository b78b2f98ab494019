#include "app/windowharness.h"

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

}  // namespace tarvesh::testing
