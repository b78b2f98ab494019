#include "musicxml/scoreheader.h"

#include <QRegularExpression>

namespace tarvesh::musicxml {

int ScoreHeader::TempoIn(const QString& text) {
  static const QRegularExpression number(QStringLiteral("(\\d{1,4})"));
  const auto match = number.match(text);
  return match.hasMatch() ? match.captured(1).toInt() : 0;
}

}  // namespace tarvesh::musicxml
