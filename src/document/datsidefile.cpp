#include "document/datsidefile.h"

#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cstring>

#include "document/textfields.h"

namespace tarvesh::document {

namespace {

// Byte offsets from the start of the file.
constexpr int kBarWidthAt = 0;
constexpr int kBarsPerLineAt = 2;
constexpr int kLineSpacingAt = 4;
constexpr int kStaffInputAt = 6;
constexpr int kGuideLinesAt = 7;
constexpr int kSkipBarLinesAt = 8;
constexpr int kAutoNoteSpacingAt = 9;
constexpr int kStaffKeyAt = 20;
constexpr int kNoteSpacingAt = 30;  // four floats, 4 bytes apart
constexpr int kNumeratorAt = 47;
constexpr int kDenominatorAt = 48;
constexpr int kKeyAt = 49;
constexpr int kTitleAt = 51;
constexpr int kPageNumberAt = 121;
constexpr int kTextLabelCountAt = 149;
constexpr int kSymbolPictureCountAt = 151;
constexpr int kTempoAt = 153;
constexpr int kTextLabelsAt = 200;
constexpr int kSymbolPicturesAt = 500;
constexpr int kRecordBytes = 6;

class Reader {
 public:
  explicit Reader(const QByteArray& bytes) : bytes_(bytes) {}

  bool Has(int at, int width) const { return at >= 0 && at + width <= bytes_.size(); }
  const uchar* At(int at) const { return reinterpret_cast<const uchar*>(bytes_.constData()) + at; }

  std::optional<int16_t> Int16(int at) const {
    if (!Has(at, 2)) return std::nullopt;
    return qFromLittleEndian<qint16>(At(at));
  }
  std::optional<uint8_t> Byte(int at) const {
    if (!Has(at, 1)) return std::nullopt;
    return *At(at);
  }
  std::optional<float> Float(int at) const {
    if (!Has(at, 4)) return std::nullopt;
    const quint32 bits = qFromLittleEndian<quint32>(At(at));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }
  std::optional<QString> Text(int at) const {
    if (!Has(at, DatSideFile::kTextBytes)) return std::nullopt;
    return DatSideFile::DecodeText(bytes_.mid(at, DatSideFile::kTextBytes));
  }
  // The records a stored count announces, as far as the file holds them.
  std::optional<std::vector<DatSideFile::OverlayRecord>> Records(int countAt, int firstAt) const {
    const std::optional<int16_t> stored = Int16(countAt);
    if (!stored) return std::nullopt;
    const int count = std::clamp<int>(*stored, 0, DatSideFile::kMaxRecords);
    std::vector<DatSideFile::OverlayRecord> records;
    for (int i = 0; i < count; ++i) {
      const int at = firstAt + kRecordBytes * i;
      if (!Has(at, kRecordBytes)) break;
      records.push_back({*Int16(at), *Int16(at + 2), *Int16(at + 4)});
    }
    return records;
  }

 private:
  const QByteArray& bytes_;
};

class Writer {
 public:
  explicit Writer(QByteArray& bytes) : bytes_(bytes) {}

  void Bytes(int at, const QByteArray& value) {
    // Bytes between the old end and a field beyond it are zero, as a write past the end of a
    // file leaves them.
    if (bytes_.size() < at + value.size()) bytes_.resize(at + value.size(), '\0');
    std::memcpy(bytes_.data() + at, value.constData(), size_t(value.size()));
  }
  void Int16(int at, const std::optional<int16_t>& value) {
    if (!value) return;
    char raw[2];
    qToLittleEndian<qint16>(*value, raw);
    Bytes(at, QByteArray(raw, 2));
  }
  void Byte(int at, const std::optional<uint8_t>& value) {
    if (value) Bytes(at, QByteArray(1, char(*value)));
  }
  void Float(int at, const std::optional<float>& value) {
    if (!value) return;
    quint32 bits;
    std::memcpy(&bits, &*value, sizeof bits);
    char raw[4];
    qToLittleEndian<quint32>(bits, raw);
    Bytes(at, QByteArray(raw, 4));
  }
  void Text(int at, const std::optional<QString>& value) {
    if (value) Bytes(at, DatSideFile::EncodeText(*value));
  }
  // The records (at most kMaxRecords) and their count.
  void Records(int countAt, int firstAt,
               const std::optional<std::vector<DatSideFile::OverlayRecord>>& records) {
    if (!records) return;
    const int count = std::min<int>(int(records->size()), DatSideFile::kMaxRecords);
    for (int i = 0; i < count; ++i) {
      const DatSideFile::OverlayRecord& r = (*records)[size_t(i)];
      const int at = firstAt + kRecordBytes * i;
      Int16(at, r.left);
      Int16(at + 2, r.top);
      Int16(at + 4, r.index);
    }
    Int16(countAt, int16_t(count));
  }

 private:
  QByteArray& bytes_;
};

// The fields of the extension block at the end of `bytes` into `side`, all of them or, when the
// block is damaged, none.
void DecodeExtension(const QByteArray& bytes, DatSideFile& side) {
  if (bytes.size() <= DatSideFile::kStoredBytes) return;
  const ExtensionBlock::Reading block =
      ExtensionBlock::Decode(QByteArrayView(bytes).sliced(DatSideFile::kStoredBytes));
  if (block.state == ExtensionBlock::State::kAbsent) return;
  DatSideFile read;
  read.extensionDamaged = block.state == ExtensionBlock::State::kDamaged;
  for (const ExtensionBlock::Record& record : block.records) {
    std::optional<QString>* text = record.id == DatSideFile::kCreditRecord ? &read.credit
                                   : record.id == DatSideFile::kPageNumberPatternRecord
                                       ? &read.pageNumberPattern
                                       : nullptr;
    const bool lyrics = record.id == DatSideFile::kLyricsRecord;
    if (!text && !lyrics) {
      read.keptRecords.push_back(record);
      continue;
    }
    // A field given twice or of another kind was written by no version of the block.
    const bool twice = text ? text->has_value() : read.lyrics.has_value();
    const uint8_t kind = text ? ExtensionBlock::kText : ExtensionBlock::kBytes;
    if (twice || record.kind != kind) {
      read = {};
      read.extensionDamaged = true;
      break;
    }
    if (text)
      *text = record.AsText();
    else
      read.lyrics = record.value;
  }
  side.credit = std::move(read.credit);
  side.pageNumberPattern = std::move(read.pageNumberPattern);
  side.lyrics = std::move(read.lyrics);
  side.keptRecords = std::move(read.keptRecords);
  side.extensionDamaged = read.extensionDamaged;
}

// The block holding the set fields of the extension and the kept records; empty when there is
// nothing to store.
QByteArray EncodeExtension(const DatSideFile& side) {
  std::vector<ExtensionBlock::Record> records;
  if (side.credit)
    records.push_back(ExtensionBlock::Record::Text(DatSideFile::kCreditRecord, *side.credit));
  if (side.pageNumberPattern)
    records.push_back(ExtensionBlock::Record::Text(DatSideFile::kPageNumberPatternRecord,
                                                   *side.pageNumberPattern));
  if (side.lyrics)
    records.push_back({DatSideFile::kLyricsRecord, ExtensionBlock::kBytes, *side.lyrics});
  if (records.empty() && side.keptRecords.empty()) return {};
  records.insert(records.end(), side.keptRecords.begin(), side.keptRecords.end());
  return ExtensionBlock::Encode(records);
}

}  // namespace

DatSideFile DatSideFile::Decode(const QByteArray& bytes) {
  const Reader in(bytes);
  DatSideFile side;
  side.barWidth = in.Int16(kBarWidthAt);
  side.barsPerLine = in.Int16(kBarsPerLineAt);
  side.lineSpacing = in.Int16(kLineSpacingAt);
  side.staffInput = in.Byte(kStaffInputAt);
  side.guideLines = in.Byte(kGuideLinesAt);
  side.skipBarLines = in.Byte(kSkipBarLinesAt);
  side.autoNoteSpacing = in.Byte(kAutoNoteSpacingAt);
  side.staffKey = in.Byte(kStaffKeyAt);
  for (size_t i = 0; i < side.noteSpacing.size(); ++i)
    side.noteSpacing[i] = in.Float(kNoteSpacingAt + 4 * int(i));
  side.numerator = in.Byte(kNumeratorAt);
  side.denominator = in.Byte(kDenominatorAt);
  side.key = in.Byte(kKeyAt);
  side.title = in.Text(kTitleAt);
  side.pageNumber = in.Int16(kPageNumberAt);
  side.textLabels = in.Records(kTextLabelCountAt, kTextLabelsAt);
  side.symbolPictures = in.Records(kSymbolPictureCountAt, kSymbolPicturesAt);
  side.tempo = in.Text(kTempoAt);
  DecodeExtension(bytes, side);
  return side;
}

QByteArray DatSideFile::EncodeOver(QByteArray older) const {
  Writer out(older);
  out.Int16(kBarWidthAt, barWidth);
  out.Int16(kBarsPerLineAt, barsPerLine);
  out.Int16(kLineSpacingAt, lineSpacing);
  out.Byte(kStaffInputAt, staffInput);
  out.Byte(kGuideLinesAt, guideLines);
  out.Byte(kSkipBarLinesAt, skipBarLines);
  out.Byte(kAutoNoteSpacingAt, autoNoteSpacing);
  out.Byte(kStaffKeyAt, staffKey);
  for (size_t i = 0; i < noteSpacing.size(); ++i)
    out.Float(kNoteSpacingAt + 4 * int(i), noteSpacing[i]);
  out.Byte(kNumeratorAt, numerator);
  out.Byte(kDenominatorAt, denominator);
  out.Byte(kKeyAt, key);
  out.Text(kTitleAt, title);
  out.Int16(kPageNumberAt, pageNumber);
  out.Records(kTextLabelCountAt, kTextLabelsAt, textLabels);
  out.Records(kSymbolPictureCountAt, kSymbolPicturesAt, symbolPictures);
  out.Text(kTempoAt, tempo);
  if (const QByteArray block = EncodeExtension(*this); !block.isEmpty())
    out.Bytes(kStoredBytes, block);
  return older;
}

QString DatSideFile::PathFor(const QString& picturePath) {
  const QString name = QFileInfo(picturePath).fileName();
  const qsizetype dot = name.lastIndexOf(u'.');
  if (dot >= 0 && name.size() - dot - 1 == 3) return picturePath.chopped(3) + QStringLiteral("dat");
  return picturePath + QStringLiteral(".dat");
}

QByteArray DatSideFile::EncodeText(const QString& text) {
  QByteArray bytes;
  for (qsizetype i = 0; i < text.size();) {
    // One character at a time, so a character that would not fit whole is dropped whole.
    const qsizetype units = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QByteArray encoded = EncodeGbk(text.mid(i, units));
    if (bytes.size() + encoded.size() > kTextBytes) break;
    bytes += encoded;
    i += units;
  }
  bytes.resize(kTextBytes, ' ');
  return bytes;
}

QString DatSideFile::DecodeText(const QByteArray& bytes) {
  const QString text = DecodeGbk(bytes);
  qsizetype first = 0;
  qsizetype last = text.size();
  while (first < last && text[first] == u' ') ++first;
  while (last > first && text[last - 1] == u' ') --last;
  return text.mid(first, last - first);
}

}  // namespace tarvesh::document
