#include "score/pagehead.h"

#include <QFontMetrics>
#include <QHash>

namespace tarvesh::score {

namespace {

QSize MeasureCaption(const QFont& font, const QString& text) {
  const QFontMetrics metrics(font);
  // An empty caption keeps the room of one average character.
  if (text.isEmpty()) return QSize(metrics.averageCharWidth(), metrics.lineSpacing());
  return metrics.boundingRect(QRect(0, 0, 2000, 2000), Qt::AlignLeft, text).size();
}

}  // namespace

QSize CaptionSize(const QFont& font, const QString& text) {
  // The window sizes the same few captions again and again (every phrase label starts as
  // "文字"), and laying a text out costs far more than finding it here. Each thread keeps its
  // own, as the export composes pages on several.
  constexpr qsizetype kKept = 512;
  thread_local QHash<QString, QSize> measured;
  const QString key = font.key() + QChar(u'\n') + text;
  if (const auto found = measured.constFind(key); found != measured.cend()) return *found;
  if (measured.size() >= kKept) measured.clear();
  return measured.insert(key, MeasureCaption(font, text)).value();
}

}  // namespace tarvesh::score
