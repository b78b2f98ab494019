#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tarvesh::app {

// One step of a script: its words and the line it stands on.
struct ScriptStep {
  int line = 0;
  QStringList words;
};

// Splits a script into steps. Blank lines and lines starting with '#' are skipped; words are
// separated by blanks; a word in double quotes may hold blanks, with \" and \\ inside. On a
// malformed line returns nothing and sets `error` and `errorLine`.
std::optional<std::vector<ScriptStep>> ParseScript(const QString& text, QString* error,
                                                   int* errorLine);

}  // namespace tarvesh::app
