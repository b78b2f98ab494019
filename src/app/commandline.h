#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

namespace tarvesh::app {

// The resolutions --dpi takes.
inline constexpr int kLeastDpi = 72;
inline constexpr int kMostDpi = 1200;

// What the command line asks for.
struct CommandLine {
  QString script;           // --script FILE
  QString exportFolder;     // --export FOLDER
  QStringList importFiles;  // --import FILE...
  // --format bmp|png|pdf|midi|musicxml; for --import, empty when not given (no export)
  QString exportFormat = QStringLiteral("bmp");
  QString exportOut;  // --out DIR, empty for the default
  int dpi = 0;        // --dpi N for png, 0 when not given
  QString dataDir;    // --data-dir DIR
  QString score;      // FILE.bmp: opened at start as Open opens it
  QSize screen;       // --screen WxH, invalid when not given
  bool show = false;
  bool help = false;
  bool version = false;
  QString error;  // set for a bad command line
};

CommandLine ParseCommandLine(int argc, char** argv);
QString Usage();
// Chooses the platform before Qt starts: scripts run offscreen unless shown, exports always.
void PrepareEnvironment(const CommandLine& command);

}  // namespace tarvesh::app
