#include "document/textfields.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace tarvesh::document {

QString DecodeGbk(const QByteArray& bytes) {
  QStringDecoder decoder("GBK");
  return decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
}

QByteArray EncodeGbk(const QString& text) {
  QStringEncoder encoder("GBK");
  return encoder.isValid() ? QByteArray(encoder.encode(text)) : text.toLatin1();
}

QStringList SplitDelimitedFields(const QByteArray& gbkText) {
  const QString text = DecodeGbk(gbkText);
  QStringList fields;
  const qsizetype n = text.size();
  qsizetype i = 0;
  auto atLineEnd = [&](qsizetype at) { return text[at] == u'\r' || text[at] == u'\n'; };
  while (i < n) {
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
    if (i >= n) break;
    if (atLineEnd(i)) {  // a blank line holds no field
      ++i;
      continue;
    }
    QString field;
    if (text[i] == u'"') {
      const qsizetype close = text.indexOf(u'"', i + 1);
      const qsizetype end = close < 0 ? n : close;
      field = text.mid(i + 1, end - i - 1);
      i = end + 1;
      while (i < n && text[i] != u',' && !atLineEnd(i)) ++i;  // anything after the quote
    } else {
      const qsizetype start = i;
      while (i < n && text[i] != u',' && !atLineEnd(i)) ++i;
      field = text.mid(start, i - start);
    }
    fields.append(field);
    if (i < n && text[i] == u',') {
      ++i;
      // A comma at the end of a line leaves one empty field before the line end.
      qsizetype j = i;
      while (j < n && (text[j] == u' ' || text[j] == u'\t')) ++j;
      if (j >= n || atLineEnd(j)) fields.append(QString());
      i = j;
    }
  }
  return fields;
}

QStringList ReadDelimitedFields(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return SplitDelimitedFields(file.readAll());
}

}  // namespace tarvesh::document
