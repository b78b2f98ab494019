#include "publish/progressreport.h"

#include <algorithm>

namespace tarvesh::publish {

namespace {
// Carriage return, then erase to the end of the row.
const QString kClearRow = QStringLiteral("\r\x1b[K");
}  // namespace

ProgressReport::ProgressReport(QTextStream& out, int total, bool terminal)
    : out_(out), total_(total), terminal_(terminal) {}

void ProgressReport::Done(int done, const QString& name, const QString& line, bool stays) {
  if (!terminal_ || stays) {
    ClearBar();
    out_ << line << "\n";
  }
  if (!terminal_) {
    out_.flush();
    return;
  }
  const int filled = total_ > 0 ? std::clamp(done * kBarWidth / total_, 0, kBarWidth) : kBarWidth;
  const QString shown = name.size() > kNameWidth ? name.left(kNameWidth - 1) + QChar(u'…') : name;
  out_ << kClearRow << '[' << QString(filled, u'#') << QString(kBarWidth - filled, u'.') << "] "
       << done << '/' << total_ << ' ' << shown;
  out_.flush();
  barShown_ = true;
}

void ProgressReport::End() {
  ClearBar();
  out_.flush();
}

void ProgressReport::ClearBar() {
  if (!barShown_) return;
  out_ << kClearRow;
  barShown_ = false;
}

}  // namespace tarvesh::publish
