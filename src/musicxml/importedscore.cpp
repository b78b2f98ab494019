#include "musicxml/importedscore.h"

namespace tarvesh::musicxml {

void ImportedScore::LeaveOut(const QString& what, const QString& measure) {
  QStringList& measures = leftOut[what];
  if (!measures.contains(measure)) measures << measure;
}

QString ImportedScore::LeftOutText() const {
  QStringList parts;
  for (auto it = leftOut.cbegin(); it != leftOut.cend(); ++it)
    parts << QStringLiteral("%1（第%2小节）").arg(it.key(), it.value().join(QStringLiteral("、")));
  return parts.join(QStringLiteral("；"));
}

}  // namespace tarvesh::musicxml
