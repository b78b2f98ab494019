#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace tarvesh::document {

// The extension block of a side file: what belongs to a score beyond the fixed table, stored
// after the table where the table's readers never look. A tag, a version, the length and a
// checksum, then typed records, each with its own length (docs/sidefile-extension.md). Readers
// take the records they know and keep the others as they are; a damaged block is read as none.
class ExtensionBlock {
 public:
  // How a record's value is encoded. A later version may add kinds; their records are kept.
  enum Kind : uint8_t {
    kText = 1,     // UTF-8
    kInteger = 2,  // signed 64-bit, little-endian
    kBytes = 3,
  };

  struct Record {
    uint16_t id = 0;
    uint8_t kind = 0;
    QByteArray value;

    static Record Text(uint16_t id, const QString& text);
    // The text of a text record; nothing for a record of another kind.
    std::optional<QString> AsText() const;
    bool operator==(const Record&) const = default;
  };

  // What starts the block; every version keeps the framing that follows it.
  static constexpr char kTag[4] = {'T', 'R', 'V', 'X'};
  // The record vocabulary this program writes.
  static constexpr uint16_t kVersion = 1;
  // Tag, version, length of the records, checksum.
  static constexpr int kHeaderBytes = 14;
  // The most record bytes a block may declare; more is read as damage, not allocated.
  static constexpr qint64 kMaxRecordBytes = 16 * 1024 * 1024;

  // What the bytes at the block's place hold.
  enum class State { kAbsent, kDamaged, kRead };
  struct Reading {
    State state = State::kAbsent;
    std::vector<Record> records;
  };

  // Reads the block that starts `bytes`; bytes after its declared length are not looked at.
  // No tag: absent. A tag with anything wrong after it (a length beyond the bytes, a checksum
  // that does not match, records that do not fill the length exactly, a text that is no UTF-8,
  // an integer that is not 8 bytes): damaged, with no records.
  static Reading Decode(QByteArrayView bytes);
  // The block holding `records`, in their order, under this program's version.
  static QByteArray Encode(const std::vector<Record>& records);

  // CRC-32 as zip and PNG compute it (polynomial 0xEDB88320, reflected, inverted).
  static uint32_t Crc32(QByteArrayView bytes, uint32_t crc = 0);
};

}  // namespace tarvesh::document
