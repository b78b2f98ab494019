#include "page/textrules.h"

#include <algorithm>
#include <cmath>

#include "page/rounding.h"

namespace tarvesh::page {

double LeadingNumber(const QString& text) {
  QString compact;
  for (QChar c : text)
    if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r') compact.append(c);
  const qsizetype n = compact.size();
  qsizetype i = 0;
  if (i < n && (compact[i] == u'+' || compact[i] == u'-')) ++i;
  const qsizetype digitsStart = i;
  while (i < n && compact[i].isDigit() && compact[i].unicode() < 128) ++i;
  qsizetype digits = i - digitsStart;
  if (i < n && compact[i] == u'.') {
    ++i;
    const qsizetype fractionStart = i;
    while (i < n && compact[i].isDigit() && compact[i].unicode() < 128) ++i;
    digits += i - fractionStart;
  }
  if (digits == 0) return 0;
  qsizetype end = i;
  if (i < n &&
      (compact[i] == u'e' || compact[i] == u'E' || compact[i] == u'd' || compact[i] == u'D')) {
    qsizetype j = i + 1;
    if (j < n && (compact[j] == u'+' || compact[j] == u'-')) ++j;
    const qsizetype exponentStart = j;
    while (j < n && compact[j].isDigit() && compact[j].unicode() < 128) ++j;
    if (j > exponentStart) end = j;
  }
  QString number = compact.left(end);
  number.replace(u'd', u'e').replace(u'D', u'e');
  bool ok = false;
  const double value = number.toDouble(&ok);
  if (ok) return value;
  // Too large for a double: the sign decides which end it stands for.
  return number.startsWith(u'-') ? -HUGE_VAL : HUGE_VAL;
}

int LeadingInt16(const QString& text) {
  const double value = LeadingNumber(text);
  if (std::isnan(value)) return 0;
  return RoundHalfEven(std::clamp(value, -32768.0, 32767.0));
}

void ReplaceAll(QString& text, const QString& find, const QString& replacement) {
  if (find.isEmpty() || find == replacement) return;
  text.replace(find, replacement, Qt::CaseSensitive);
}

}  // namespace tarvesh::page
