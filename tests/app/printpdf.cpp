#include "app/printpdf.h"

#include <QFile>
#include <QRegularExpression>
#include <QtEndian>

namespace tarvesh::testing {

namespace {

int Reference(const QByteArray& text, const QString& key) {
  const auto match =
      QRegularExpression(QStringLiteral("/%1\\s+(\\d+)\\s+0\\s+R").arg(key)).match(text);
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString Value(const QByteArray& text, const QString& key) {
  const auto match =
      QRegularExpression(QStringLiteral("/%1\\s*(\\[[^\\]]*\\]|/?\\w+)").arg(key)).match(text);
  return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

PrintPdf::PrintPdf(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return;
  bytes_ = file.readAll();
  if (!bytes_.startsWith("%PDF-")) return;
  valid_ = true;
  pageObjects_ = int(bytes_.count("/Type /Page\n"));
  const int root = Reference(bytes_.mid(bytes_.lastIndexOf("trailer")), QStringLiteral("Root"));
  const int pages = Reference(Object(root), QStringLiteral("Pages"));
  const QByteArray kids = Object(pages);
  const QByteArray list = kids.mid(kids.indexOf("/Kids"));
  QRegularExpressionMatchIterator it =
      QRegularExpression(QStringLiteral("(\\d+)\\s+0\\s+R"))
          .globalMatch(QString::fromLatin1(list.left(list.indexOf(']'))));
  while (it.hasNext()) {
    const QByteArray page = Object(it.next().captured(1).toInt());
    Page p;
    const QStringList box = Value(page, QStringLiteral("MediaBox"))
                                .remove(u'[')
                                .remove(u']')
                                .split(u' ', Qt::SkipEmptyParts);
    QStringList numbers;
    for (const QString& n : box) numbers << QString::number(n.toDouble());
    p.mediaBox = numbers.join(u' ');
    const QByteArray resources = Object(Reference(page, QStringLiteral("Resources")));
    const auto image =
        QRegularExpression(QStringLiteral("/Im\\d+\\s+(\\d+)\\s+0\\s+R")).match(resources);
    if (image.hasMatch()) p.image = Image(image.captured(1).toInt(), &p.filter);
    pages_.push_back(p);
  }
}

QByteArray PrintPdf::Object(int number) const {
  if (number < 0) return {};
  const QByteArray head = QByteArray::number(number) + " 0 obj";
  qsizetype at = bytes_.indexOf("\n" + head);
  if (at < 0) return {};
  at += head.size() + 1;
  const qsizetype end = bytes_.indexOf("endobj", at);
  const qsizetype stream = bytes_.indexOf("stream", at);
  return bytes_.mid(at, (stream >= 0 && stream < end ? stream : end) - at);
}

QByteArray PrintPdf::Stream(int number) const {
  const QByteArray dictionary = Object(number);
  qsizetype length =
      Reference(dictionary, QStringLiteral("Length")) >= 0
          ? Object(Reference(dictionary, QStringLiteral("Length"))).trimmed().toLongLong()
          : Value(dictionary, QStringLiteral("Length")).toLongLong();
  const QByteArray head = QByteArray::number(number) + " 0 obj";
  qsizetype at = bytes_.indexOf("stream", bytes_.indexOf("\n" + head)) + 6;
  if (bytes_.at(at) == '\r') ++at;
  if (bytes_.at(at) == '\n') ++at;
  return bytes_.mid(at, length);
}

QImage PrintPdf::Image(int number, QString* filter) const {
  const QByteArray dictionary = Object(number);
  *filter = Value(dictionary, QStringLiteral("Filter")).remove(u'/');
  const int width = Value(dictionary, QStringLiteral("Width")).toInt();
  const int height = Value(dictionary, QStringLiteral("Height")).toInt();
  const QString space = Value(dictionary, QStringLiteral("ColorSpace"));
  const QString bits = Value(dictionary, QStringLiteral("BitsPerComponent"));
  // Pages of black and white only are one-bit grey, 0 black; others are 8-bit RGB.
  const bool oneBit = space == QLatin1String("/DeviceGray") && bits == QLatin1String("1");
  const bool rgb = space == QLatin1String("/DeviceRGB") && bits == QLatin1String("8");
  if (*filter != QLatin1String("FlateDecode") || !(oneBit || rgb)) return {};
  const qsizetype rowBytes = oneBit ? (qsizetype(width) + 7) / 8 : qsizetype(width) * 3;
  // qUncompress reads zlib data after the expected size as four big-endian bytes.
  QByteArray zlib(4, '\0');
  qToBigEndian<quint32>(quint32(rowBytes * height), zlib.data());
  const QByteArray data = qUncompress(zlib + Stream(number));
  if (data.size() != rowBytes * height) return {};
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    const uchar* from = reinterpret_cast<const uchar*>(data.constData()) + y * rowBytes;
    auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      if (oneBit) {
        to[x] = (from[x / 8] >> (7 - x % 8)) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
      } else {
        to[x] = qRgb(from[3 * x], from[3 * x + 1], from[3 * x + 2]);
      }
    }
  }
  return image;
}

}  // namespace tarvesh::testing
