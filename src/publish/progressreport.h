#pragma once

#include <QString>
#include <QTextStream>

namespace tarvesh::publish {

// How a long command-line job tells its progress: on a terminal, one bar redrawn in place
// ("[#####·····] 3/10 c.bmp"), with what went wrong printed as lines above it; elsewhere (a log,
// a pipe) one line per item, as a script reading the output expects.
class ProgressReport {
 public:
  static constexpr int kBarWidth = 20;
  // Names longer than this are cut so the bar stays on one terminal row.
  static constexpr int kNameWidth = 40;

  ProgressReport(QTextStream& out, int total, bool terminal);

  // Item `done` of the total, `name`, is finished; `line` is what is told of it without a
  // terminal, and on a terminal too, above the bar, when it must stay (a failure).
  void Done(int done, const QString& name, const QString& line, bool stays);
  // Takes the bar off the terminal before the closing lines.
  void End();

 private:
  void ClearBar();

  QTextStream& out_;
  int total_;
  bool terminal_;
  bool barShown_ = false;
};

}  // namespace tarvesh::publish
