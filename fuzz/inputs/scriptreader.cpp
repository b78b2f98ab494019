#include <QString>
#include <cstdlib>

#include "app/script/scriptparser.h"
#include "fuzzinputs.h"

namespace tarvesh::fuzz {

void ScriptReaderInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  QString error;
  int errorLine = 0;
  const auto steps = app::ParseScript(text, &error, &errorLine);
  if (!steps) {
    if (error.isEmpty() || errorLine < 1) std::abort();
    return;
  }
  // Steps come in the order of their lines and never without a word.
  int lastLine = 0;
  for (const app::ScriptStep& step : *steps) {
    if (step.line <= lastLine || step.words.isEmpty()) std::abort();
    lastLine = step.line;
  }
}

}  // namespace tarvesh::fuzz
