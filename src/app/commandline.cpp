#include "app/commandline.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace tarvesh::app {

CommandLine ParseCommandLine(int argc, char** argv) {
  CommandLine command;
  bool formatGiven = false;
  QStringList args;
  for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    auto value = [&](QString* target) {
      if (i + 1 >= args.size()) {
        command.error = QStringLiteral("%1 needs a value").arg(arg);
        return;
      }
      *target = args[++i];
    };
    if (arg == QLatin1String("--script")) {
      value(&command.script);
    } else if (arg == QLatin1String("--export")) {
      value(&command.exportFolder);
    } else if (arg == QLatin1String("--import")) {
      // The files up to the next option.
      while (i + 1 < args.size() && !args[i + 1].startsWith(u'-')) command.importFiles << args[++i];
      if (command.importFiles.isEmpty()) command.error = QStringLiteral("--import needs a file");
    } else if (arg == QLatin1String("--format")) {
      value(&command.exportFormat);
      formatGiven = true;
    } else if (arg == QLatin1String("--dpi")) {
      QString dpi;
      value(&dpi);
      bool number = false;
      command.dpi = dpi.toInt(&number);
      if (command.error.isEmpty() && (!number || command.dpi < kLeastDpi || command.dpi > kMostDpi))
        command.error =
            QStringLiteral("--dpi takes a number from %1 to %2").arg(kLeastDpi).arg(kMostDpi);
    } else if (arg == QLatin1String("--out")) {
      value(&command.exportOut);
    } else if (arg == QLatin1String("--data-dir")) {
      value(&command.dataDir);
    } else if (arg == QLatin1String("--screen")) {
      QString size;
      value(&size);
      const auto match = QRegularExpression(QStringLiteral("^(\\d+)[xX](\\d+)$")).match(size);
      if (command.error.isEmpty() && !match.hasMatch()) {
        command.error = QStringLiteral("--screen takes WIDTHxHEIGHT, e.g. 1024x768");
      } else if (match.hasMatch()) {
        command.screen = QSize(match.captured(1).toInt(), match.captured(2).toInt());
        if (command.screen.isEmpty()) command.error = QStringLiteral("--screen must not be empty");
      }
    } else if (arg == QLatin1String("--show")) {
      command.show = true;
    } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
      command.help = true;
    } else if (arg == QLatin1String("--version")) {
      command.version = true;
    } else if (!arg.startsWith(u'-') && command.score.isEmpty()) {
      command.score = QFileInfo(arg).absoluteFilePath();
    } else {
      command.error = QStringLiteral("unknown argument \"%1\"").arg(arg);
    }
    if (!command.error.isEmpty()) break;
  }
  if (command.error.isEmpty() && command.show && command.script.isEmpty())
    command.error = QStringLiteral("--show is for --script");
  const bool exporting = !command.exportFolder.isEmpty();
  const bool importing = !command.importFiles.isEmpty();
  if (command.error.isEmpty() && exporting + importing + !command.script.isEmpty() > 1)
    command.error = QStringLiteral("--export, --import and --script cannot be used together");
  if (command.error.isEmpty() && (exporting || importing) && !command.score.isEmpty())
    command.error =
        QStringLiteral("a score to open is for the window, not for --export or --import");
  if (command.error.isEmpty() && !exporting && !importing &&
      (formatGiven || !command.exportOut.isEmpty()))
    command.error = QStringLiteral("--format and --out are for --export and --import");
  if (command.error.isEmpty() && importing && command.exportOut.isEmpty())
    command.error = QStringLiteral("--import needs --out DIR, the folder the scores go to");
  if (command.error.isEmpty() && formatGiven &&
      !QStringList{QStringLiteral("bmp"), QStringLiteral("png"), QStringLiteral("pdf"),
                   QStringLiteral("midi"), QStringLiteral("musicxml")}
           .contains(command.exportFormat))
    command.error = QStringLiteral("--format takes bmp, png, pdf, midi or musicxml");
  if (command.error.isEmpty() && command.dpi != 0 && command.exportFormat != QLatin1String("png"))
    command.error = QStringLiteral("--dpi is for --format png");
  if (importing && !formatGiven) command.exportFormat.clear();
  return command;
}

QString Usage() {
  return QStringLiteral(
      "usage: tarvesh [--data-dir DIR] [--screen WxH] [SCORE.bmp]\n"
      "       tarvesh --script FILE [--data-dir DIR] [--screen WxH] [--show] [SCORE.bmp]\n"
      "       tarvesh --export FOLDER [--format bmp|png|pdf|midi|musicxml] [--dpi N] [--out DIR]\n"
      "               [--data-dir DIR] [--screen WxH]\n"
      "       tarvesh --import FILE... --out DIR [--format bmp|png|pdf|midi|musicxml] [--dpi N]\n"
      "               [--data-dir DIR] [--screen WxH]\n"
      "       tarvesh --help | --version\n"
      "\n"
      "  SCORE.bmp        open that score at start, as Open does\n"
      "  --script FILE    run the steps of FILE headless, then exit\n"
      "  --export FOLDER  export every score of FOLDER as page pictures, without a window\n"
      "  --format FORMAT  bmp (default): one page picture per score; png: one A4 sheet per\n"
      "                   score at print resolution; pdf: one PDF of all pages at print\n"
      "                   resolution, in the order of the file list; midi: one MIDI file per\n"
      "                   score, the music read from its page; musicxml: each page read\n"
      "                   back as music, one .musicxml file per score\n"
      "  --dpi N          dots per inch of the png sheets (default 300)\n"
      "  --import FILE... type the melody of each MusicXML file (.musicxml, .xml, .mxl) on a\n"
      "                   new page, without a window, and save it as a score in --out DIR;\n"
      "                   with --format, those scores are then exported as --export\n"
      "                   exports them, into DIR/导出 HHMMSS\n"
      "  --out DIR        where the export goes; default: FOLDER/导出 HHMMSS, as the batch\n"
      "                   export of the window. For --import: the folder of the scores\n"
      "  --data-dir DIR   the folder holding the atlases, pictures, sounds and text files\n"
      "  --screen WxH     the screen size the program reads; an export takes the page in two\n"
      "                   bands of H rows as the window's batch export on that screen does\n"
      "                   (default for an export: bands that hold every page whole)\n"
      "  --show           run the script in a visible window\n");
}

void PrepareEnvironment(const CommandLine& command) {
  if ((!command.script.isEmpty() && !command.show) || !command.exportFolder.isEmpty() ||
      !command.importFiles.isEmpty())
    qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QString runtime = QDir::temp().filePath(QStringLiteral("tarvesh-runtime"));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
  }
}

}  // namespace tarvesh::app
