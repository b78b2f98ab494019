#include "score/pagehead.h"

#include <QFontMetrics>

namespace tarvesh::score {

QSize CaptionSize(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font);
  // An empty caption keeps the room of one average character.
  if (text.isEmpty()) return QSize(metrics.averageCharWidth(), metrics.lineSpacing());
  return metrics.boundingRect(QRect(0, 0, 2000, 2000), Qt::AlignLeft, text).size();
}

}  // namespace tarvesh::score
