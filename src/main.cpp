#include <unistd.h>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QScreen>
#include <QTextStream>

#include <cstdio>

#include "app/commandline.h"
#include "app/fileimport.h"
#include "app/form1.h"
#include "app/largebuffers.h"
#include "app/qttranslations.h"
#include "app/script/scripteddialogs.h"
#include "app/script/scriptrunner.h"
#include "kit/qtdialogs.h"
#include "page/glyphatlas.h"
#include "page/pagefont.h"
#include "publish/folderexport.h"

using namespace tarvesh;

namespace {

// The data folder: the one the command line names, else the program's own folder when the data
// lies beside it (a build folder), else the installed one at the same place relative to bin/.
QString DataDir(const app::CommandLine& command) {
  if (!command.dataDir.isEmpty()) return command.dataDir;
  const QDir program(QCoreApplication::applicationDirPath());
  if (program.exists(page::GlyphAtlas::kPicmodeFile)) return program.path();
  return QDir::cleanPath(program.filePath(QStringLiteral(TARVESH_DATA_FROM_BIN)));
}

// The atlases of the data folder, or the message that tells which file is missing.
std::optional<page::GlyphAtlas> LoadAtlas(const QString& dataDir, QString* message) {
  QString failedFile;
  auto atlas = page::GlyphAtlas::Load(dataDir, &failedFile);
  if (!atlas)
    *message = QStringLiteral("无法读取字模文件：%1\n安装不完整。")
                   .arg(QDir::toNativeSeparators(failedFile));
  return atlas;
}

// What the command-line jobs share: the application, its name and page fonts, and the data
// folder's atlases, which are reported when missing even where nothing is typed.
template <class Application, class Job>
int RunWithAtlas(int& argc, char** argv, const app::CommandLine& command, QTextStream& err,
                 Job job) {
  app::KeepLargeBuffersForReuse();
  Application application(argc, argv);
  Application::setApplicationName(QStringLiteral("Tarvesh"));
  page::InstallPageFontSubstitutes();
  const QString dataDir = DataDir(command);
  QString message;
  const std::optional<page::GlyphAtlas> atlas = LoadAtlas(dataDir, &message);
  if (!atlas) {
    err << "tarvesh: " << message << "\n";
    return 1;
  }
  return job(dataDir, *atlas);
}

// `--export`: pages composed from the scores' documents; no window, so no widget is made.
int ExportFolder(int& argc, char** argv, const app::CommandLine& command, QTextStream& err) {
  return RunWithAtlas<QGuiApplication>(argc, argv, command, err,
                                       [&](const QString& dataDir, const page::GlyphAtlas& atlas) {
                                         publish::FolderExport::Request request;
                                         request.folder = command.exportFolder;
                                         request.format = command.exportFormat;
                                         request.out = command.exportOut;
                                         request.dataDir = dataDir;
                                         if (command.dpi != 0) request.dpi = command.dpi;
                                         if (command.screen.isValid())
                                           request.screenHeight = command.screen.height();
                                         request.progressBar = isatty(STDERR_FILENO);
                                         request.atlas = &atlas;
                                         return publish::FolderExport::Run(request, err);
                                       });
}

// `--import`: the files typed in a window that is never shown, then saved and exported.
int ImportFiles(int& argc, char** argv, const app::CommandLine& command, QTextStream& err) {
  return RunWithAtlas<QApplication>(
      argc, argv, command, err, [&](const QString& dataDir, const page::GlyphAtlas& atlas) {
        app::Form1::Options options;
        options.dataDir = dataDir;
        options.screen =
            command.screen.isValid() ? command.screen : QGuiApplication::primaryScreen()->size();
        options.audible = false;
        // The import asks nothing: no dialog opens.
        app::ScriptedDialogs dialogs;
        // The atlases are shared, not copied: the window types with them, the export reads them.
        app::Form1 form(options, atlas, dialogs);
        app::FileImport::Request request{command.importFiles, command.exportOut,
                                         command.exportFormat, dataDir};
        request.atlas = &atlas;
        request.dpi = command.dpi;
        request.screenHeight = command.screen.isValid()
                                   ? command.screen.height()
                                   : publish::FolderExport::kWholePageScreenHeight;
        request.progressBar = isatty(STDERR_FILENO);
        return app::FileImport::Run(form, request, err);
      });
}

}  // namespace

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
  if (!command.exportFolder.isEmpty()) return ExportFolder(argc, argv, command, err);
  if (!command.importFiles.isEmpty()) return ImportFiles(argc, argv, command, err);

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarvesh"));
  page::InstallPageFontSubstitutes();
  app::InstallQtTranslations();

  const QString dataDir = DataDir(command);
  const bool headless = !command.script.isEmpty();

  QString message;
  auto atlas = LoadAtlas(dataDir, &message);
  if (!atlas) {
    if (headless || !command.show) err << "tarvesh: " << message << "\n";
    if (!headless) QMessageBox::critical(nullptr, QStringLiteral("提示"), message);
    return 1;
  }

  app::Form1::Options options;
  options.dataDir = dataDir;
  options.screen =
      command.screen.isValid() ? command.screen : QGuiApplication::primaryScreen()->size();
  options.audible = !headless || command.show;
  options.keepEvents = !command.script.isEmpty();

  if (headless) {
    app::ScriptedDialogs dialogs;
    app::Form1 form(options, std::move(*atlas), dialogs);
    form.show();
    // A script never runs on a window other than the one asked for.
    if (!command.score.isEmpty() && !form.OpenScore(command.score)) {
      err << "tarvesh: " << command.score << ": the score cannot be opened\n";
      return 1;
    }
    const int status = app::RunScript(form, dialogs, command.script, err);
    err.flush();
    return status;
  }

  kit::QtDialogs dialogs(nullptr);
  app::Form1 form(options, std::move(*atlas), dialogs);
  QObject::connect(&form, &app::Form1::Exited, &application, [] { QApplication::exit(0); });
  form.show();
  if (!command.score.isEmpty()) form.OpenScore(command.score);
  return application.exec();
}
