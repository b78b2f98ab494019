#include "lyrics/lyricscodec.h"

#include <QDataStream>
#include <QIODevice>
#include <QStringDecoder>
#include <cmath>

namespace tarvesh::lyrics {

namespace {

constexpr quint8 kFormat = 1;
// Font sizes are stored in hundredths of a point.
constexpr double kPointSteps = 100;
constexpr quint8 kSlurStartBit = 1;
constexpr quint8 kSlurEndBit = 2;

void WriteText(QDataStream& out, const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  out << quint16(utf8.size());
  out.writeRawData(utf8.constData(), int(utf8.size()));
}

bool ReadText(QDataStream& in, QString* text) {
  quint16 size = 0;
  in >> size;
  QByteArray utf8(size, Qt::Uninitialized);
  if (in.readRawData(utf8.data(), size) != size) return false;
  QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  *text = decode(utf8);
  return !decode.hasError();
}

}  // namespace

QByteArray EncodeLyrics(const LyricSheet& sheet) {
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out << kFormat;
  WriteText(out, sheet.FontFamily());
  out << qint32(std::lround(sheet.FontPoints() * kPointSteps));
  out << quint16(sheet.Lines().size());
  for (const LyricLine& line : sheet.Lines()) {
    out << qint32(line.top) << quint16(line.items.size());
    for (const NoteItem& item : line.items) {
      const quint8 flags = (item.slurStart ? kSlurStartBit : 0) | (item.slurEnd ? kSlurEndBit : 0);
      out << quint8(item.kind) << qint8(item.degree) << qint8(item.octave) << quint8(item.duration)
          << quint8(item.accidental) << flags << qint16(item.left) << qint16(item.width);
    }
    for (const VerseRow& row : line.rows) {
      WriteText(out, row.number);
      out << quint16(row.syllables.size());
      for (const Syllable& syllable : row.syllables) {
        out << quint16(syllable.item);
        WriteText(out, syllable.text);
      }
    }
  }
  return bytes;
}

std::optional<LyricSheet> DecodeLyrics(QByteArrayView bytes) {
  const QByteArray copy = bytes.toByteArray();
  QDataStream in(copy);
  in.setByteOrder(QDataStream::LittleEndian);
  quint8 format = 0;
  in >> format;
  if (format != kFormat) return std::nullopt;
  QString family;
  qint32 points = 0;
  quint16 lineCount = 0;
  if (!ReadText(in, &family)) return std::nullopt;
  in >> points >> lineCount;
  LyricSheet sheet;
  if (!sheet.SetFont(family, points / kPointSteps)) return std::nullopt;

  std::vector<LyricLine> lines;
  for (int l = 0; l < lineCount && in.status() == QDataStream::Ok; ++l) {
    LyricLine line;
    qint32 top = 0;
    quint16 itemCount = 0;
    in >> top >> itemCount;
    line.top = top;
    if (!lines.empty() && lines.back().top >= top) return std::nullopt;
    for (int i = 0; i < itemCount && in.status() == QDataStream::Ok; ++i) {
      quint8 kind = 0, duration = 0, accidental = 0, flags = 0;
      qint8 degree = 0, octave = 0;
      qint16 left = 0, width = 0;
      in >> kind >> degree >> octave >> duration >> accidental >> flags >> left >> width;
      if (kind > quint8(reading::ItemKind::kUnknown) ||
          accidental > quint8(reading::Accidental::kNatural))
        return std::nullopt;
      line.items.push_back(NoteItem{reading::ItemKind(kind), degree, octave, duration,
                                    reading::Accidental(accidental), (flags & kSlurStartBit) != 0,
                                    (flags & kSlurEndBit) != 0, left, width});
    }
    for (VerseRow& row : line.rows) {
      quint16 count = 0;
      if (!ReadText(in, &row.number)) return std::nullopt;
      in >> count;
      for (int s = 0; s < count && in.status() == QDataStream::Ok; ++s) {
        Syllable syllable;
        quint16 item = 0;
        in >> item;
        syllable.item = item;
        if (!ReadText(in, &syllable.text) || syllable.text.isEmpty() || item >= itemCount ||
            (!row.syllables.empty() && row.syllables.back().item >= item))
          return std::nullopt;
        row.syllables.push_back(std::move(syllable));
      }
    }
    lines.push_back(std::move(line));
  }
  if (in.status() != QDataStream::Ok || !in.atEnd()) return std::nullopt;
  sheet.SetLines(std::move(lines));
  return sheet;
}

}  // namespace tarvesh::lyrics
