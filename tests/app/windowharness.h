#pragma once

#include <QJsonObject>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>

#include "app/form1.h"
#include "app/script/scripteddialogs.h"

namespace tarvesh::testing {

// A real main window on the offscreen platform, driven by script text exactly as
// `tarvesh --script` drives it, with the generated data folder beside it.
class WindowHarness {
 public:
  // `dialogs` answers the window's dialogs: the script's queues, or a kind that behaves more as
  // a person's dialogs do.
  explicit WindowHarness(
      QSize screen = QSize(1024, 768), QString dataDir = TARVESH_DATA_DIR,
      std::unique_ptr<app::ScriptedDialogs> dialogs = std::make_unique<app::ScriptedDialogs>());

  // Runs the steps of `script`; returns the script's exit status and keeps its error text.
  int Run(const QString& script);
  QString LastError() const { return error_; }
  QJsonObject Dump();
  // One control of the dump.
  QJsonObject Control(const QString& name);
  QJsonObject State();

  app::Form1& Form() { return *form_; }
  app::ScriptedDialogs& Dialogs() { return *dialogs_; }

 private:
  std::unique_ptr<app::ScriptedDialogs> dialogs_;
  std::unique_ptr<app::Form1> form_;
  QString error_;
};

// What a run of the program ended with: its exit status (-1 when it did not exit normally) and
// what it wrote on stderr.
struct ProcessResult {
  int status;
  QString errors;
};

// Runs the program with `arguments` in a folder of its own, with `script` (when given) written
// there and run as its --script.
ProcessResult RunTarvesh(const QStringList& arguments, const QString& script = QString());

}  // namespace tarvesh::testing
