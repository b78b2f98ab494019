#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "document/extensionblock.h"

namespace tarvesh::document {

// An extension block put together byte by byte as the layout describes it, independent of the
// codec's encoder; only the checksum is the codec's (checked on its own against CRC-32's
// published check value).
class HandBlock {
 public:
  HandBlock& Version(uint16_t version) {
    version_ = version;
    return *this;
  }
  HandBlock& Record(uint16_t id, uint8_t kind, const QByteArray& value) {
    return Raw(Le(id, 2) + QByteArray(1, char(kind)) + Le(uint32_t(value.size()), 4) + value);
  }
  HandBlock& Text(uint16_t id, const QString& text) { return Record(id, 1, text.toUtf8()); }
  // Bytes among the records as they are, to make records that do not fit.
  HandBlock& Raw(const QByteArray& bytes) {
    body_ += bytes;
    return *this;
  }
  // The block with its length and checksum as a writer gives them.
  QByteArray Bytes() const {
    const QByteArray covered = Le(version_, 2) + Le(uint32_t(body_.size()), 4);
    return "TRVX" + covered + Le(ExtensionBlock::Crc32(covered + body_), 4) + body_;
  }

  static QByteArray Le(uint32_t value, int width) {
    QByteArray bytes;
    for (int i = 0; i < width; ++i) bytes += char((value >> (8 * i)) & 0xff);
    return bytes;
  }

 private:
  uint16_t version_ = 1;
  QByteArray body_;
};

}  // namespace tarvesh::document
