#include "document/extensionblock.h"

#include <QStringDecoder>
#include <QtEndian>
#include <cstring>

namespace tarvesh::document {

namespace {

// Offsets from the start of the block.
constexpr int kVersionAt = 4;
constexpr int kLengthAt = 6;
constexpr int kChecksumAt = 10;
// A record: id (2 bytes), kind (1), length of the value (4), the value.
constexpr int kRecordHeaderBytes = 7;
constexpr int kIntegerBytes = 8;

const uchar* Data(QByteArrayView bytes, qsizetype at) {
  return reinterpret_cast<const uchar*>(bytes.data()) + at;
}

// Whether a value of a kind this program knows is well formed; values of other kinds are kept
// as they are and cannot be judged.
bool WellFormed(uint8_t kind, const QByteArray& value) {
  switch (kind) {
    case ExtensionBlock::kText: {
      QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
      const QString decoded = utf8(value);  // decoding is what finds the errors
      return !utf8.hasError();
    }
    case ExtensionBlock::kInteger:
      return value.size() == kIntegerBytes;
    default:
      return true;
  }
}

void Append16(QByteArray& out, uint16_t value) {
  char raw[2];
  qToLittleEndian<quint16>(value, raw);
  out.append(raw, 2);
}

void Append32(QByteArray& out, uint32_t value) {
  char raw[4];
  qToLittleEndian<quint32>(value, raw);
  out.append(raw, 4);
}

}  // namespace

ExtensionBlock::Record ExtensionBlock::Record::Text(uint16_t id, const QString& text) {
  return {id, kText, text.toUtf8()};
}

std::optional<QString> ExtensionBlock::Record::AsText() const {
  if (kind != kText) return std::nullopt;
  return QString::fromUtf8(value);
}

ExtensionBlock::Reading ExtensionBlock::Decode(QByteArrayView bytes) {
  Reading reading;
  if (bytes.size() < qsizetype(sizeof kTag) || std::memcmp(bytes.data(), kTag, sizeof kTag) != 0)
    return reading;
  reading.state = State::kDamaged;
  if (bytes.size() < kHeaderBytes) return reading;
  const uint16_t version = qFromLittleEndian<quint16>(Data(bytes, kVersionAt));
  const uint32_t length = qFromLittleEndian<quint32>(Data(bytes, kLengthAt));
  const uint32_t checksum = qFromLittleEndian<quint32>(Data(bytes, kChecksumAt));
  if (version == 0 || length > kMaxRecordBytes || length > bytes.size() - kHeaderBytes)
    return reading;
  const QByteArrayView body = bytes.sliced(kHeaderBytes, length);
  // The checksum covers the version and the length too, so a damaged length is seen even when
  // it still lies within the file.
  if (Crc32(body, Crc32(bytes.sliced(kVersionAt, kChecksumAt - kVersionAt))) != checksum)
    return reading;

  std::vector<Record> records;
  for (qsizetype at = 0; at < body.size();) {
    if (body.size() - at < kRecordHeaderBytes) return reading;
    Record record;
    record.id = qFromLittleEndian<quint16>(Data(body, at));
    record.kind = *Data(body, at + 2);
    const uint32_t size = qFromLittleEndian<quint32>(Data(body, at + 3));
    at += kRecordHeaderBytes;
    if (size > body.size() - at) return reading;
    record.value = body.sliced(at, size).toByteArray();
    if (!WellFormed(record.kind, record.value)) return reading;
    records.push_back(std::move(record));
    at += size;
  }
  reading.state = State::kRead;
  reading.records = std::move(records);
  return reading;
}

QByteArray ExtensionBlock::Encode(const std::vector<Record>& records) {
  QByteArray body;
  for (const Record& record : records) {
    Append16(body, record.id);
    body.append(char(record.kind));
    Append32(body, uint32_t(record.value.size()));
    body.append(record.value);
  }
  QByteArray covered;
  Append16(covered, kVersion);
  Append32(covered, uint32_t(body.size()));
  QByteArray block(kTag, sizeof kTag);
  block.append(covered);
  Append32(block, Crc32(body, Crc32(covered)));
  block.append(body);
  return block;
}

uint32_t ExtensionBlock::Crc32(QByteArrayView bytes, uint32_t crc) {
  crc = ~crc;
  for (const char byte : bytes) {
    crc ^= uint8_t(byte);
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

}  // namespace tarvesh::document
