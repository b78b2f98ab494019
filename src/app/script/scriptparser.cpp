#include "app/script/scriptparser.h"

namespace tarvesh::app {

namespace {

std::optional<QStringList> SplitWords(const QString& line, QString* error) {
  QStringList words;
  qsizetype i = 0;
  const qsizetype n = line.size();
  while (i < n) {
    while (i < n && line[i].isSpace()) ++i;
    if (i >= n) break;
    QString word;
    if (line[i] == u'"') {
      ++i;
      bool closed = false;
      while (i < n) {
        const QChar c = line[i];
        if (c == u'\\' && i + 1 < n && (line[i + 1] == u'"' || line[i + 1] == u'\\')) {
          word.append(line[i + 1]);
          i += 2;
        } else if (c == u'"') {
          ++i;
          closed = true;
          break;
        } else {
          word.append(c);
          ++i;
        }
      }
      if (!closed) {
        *error = QStringLiteral("unterminated quoted word");
        return std::nullopt;
      }
      if (i < n && !line[i].isSpace()) {
        *error = QStringLiteral("a quoted word must be followed by a blank");
        return std::nullopt;
      }
    } else {
      while (i < n && !line[i].isSpace()) word.append(line[i++]);
    }
    words.append(word);
  }
  return words;
}

}  // namespace

std::optional<std::vector<ScriptStep>> ParseScript(const QString& text, QString* error,
                                                   int* errorLine) {
  std::vector<ScriptStep> steps;
  const QStringList lines = text.split(u'\n');
  for (int index = 0; index < lines.size(); ++index) {
    QString line = lines[index];
    if (line.endsWith(u'\r')) line.chop(1);
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(u'#')) continue;
    auto words = SplitWords(line, error);
    if (!words) {
      *errorLine = index + 1;
      return std::nullopt;
    }
    steps.push_back({index + 1, *words});
  }
  return steps;
}

}  // namespace tarvesh::app
