#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScreen>
#include <QTextStream>
#include <cstdio>

#include "app/commandline.h"
#include "app/folderexport.h"
#include "app/form1.h"
#include "app/largebuffers.h"
#include "app/script/scripteddialogs.h"
#include "app/script/scriptrunner.h"
#include "kit/qtdialogs.h"
#include "page/pagefont.h"

using namespace tarvesh;

int main(int argc, char** argv) {
  app::GiveLargeBuffersBackWhenFreed();
  QTextStream err(stderr);
  QTextStream out(stdout);
  const app::CommandLine command = app::ParseCommandLine(argc, argv);
  if (!command.error.isEmpty()) {
    err << "tarvesh: " << command.error << "\n" << app::Usage();
    return 2;
  }
  if (command.help) {
    out << app::Usage();
    return 0;
  }
  if (command.version) {
    out << "tarvesh " << TARVESH_VERSION << "\n";
    return 0;
  }
  app::PrepareEnvironment(command);

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarvesh"));
  page::InstallPageFontSubstitutes();

  const QString dataDir =
      command.dataDir.isEmpty() ? QCoreApplication::applicationDirPath() : command.dataDir;
  const bool exporting = !command.exportFolder.isEmpty();
  const bool headless = !command.script.isEmpty() || exporting;

  QString failedFile;
  auto atlas = page::GlyphAtlas::Load(dataDir, &failedFile);
  if (!atlas) {
    const QString message = QStringLiteral("无法读取字模文件：%1\n安装不完整。")
                                .arg(QDir::toNativeSeparators(failedFile));
    if (headless || !command.show) err << "tarvesh: " << message << "\n";
    if (!headless) QMessageBox::critical(nullptr, QStringLiteral("提示"), message);
    return 1;
  }

  app::Form1::Options options;
  options.dataDir = dataDir;
  options.screen =
      command.screen.isValid() ? command.screen : QGuiApplication::primaryScreen()->size();
  if (exporting && !command.screen.isValid())
    options.screen.setHeight(app::FolderExport::kWholePageScreenHeight);
  options.audible = !headless || command.show;
  options.keepEvents = !command.script.isEmpty();

  if (exporting) {
    // Nothing is asked during an export; a dialog that opens anyway is cancelled.
    app::ScriptedDialogs dialogs;
    app::Form1 form(options, std::move(*atlas), dialogs);
    return app::FolderExport::Run(
        form, {command.exportFolder, command.exportFormat, command.exportOut}, err);
  }

  if (headless) {
    app::ScriptedDialogs dialogs;
    app::Form1 form(options, std::move(*atlas), dialogs);
    form.show();
    const int status = app::RunScript(form, dialogs, command.script, err);
    err.flush();
    return status;
  }

  kit::QtDialogs dialogs(nullptr);
  app::Form1 form(options, std::move(*atlas), dialogs);
  QObject::connect(&form, &app::Form1::Exited, &application, [] { QApplication::exit(0); });
  form.show();
  return application.exec();
}
