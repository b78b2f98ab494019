#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "document/extensionblock.h"

namespace tarvesh::document {

// The side file of a score: everything about the page that its bitmap does not hold, in a table
// at fixed byte offsets, little-endian, followed by an extension block for what the table has no
// place for. Every field is optional: a file read back holds only the fields it really contains
// (a short file lacks those beyond its end, a file without an intact extension block those of the
// block), and writing touches only the fields that are set, leaving every other byte of the
// older file as it was. Nothing ever shortens the file.
struct DatSideFile {
  // A text label (left, top, phrase index) or a symbol picture (left, top, picture index).
  struct OverlayRecord {
    int16_t left = 0;
    int16_t top = 0;
    int16_t index = 0;
    bool operator==(const OverlayRecord&) const = default;
  };

  // Records of each kind the file has room for.
  static constexpr int kMaxRecords = 50;
  // Bytes of a text field (title, tempo) in the GBK code page.
  static constexpr int kTextBytes = 44;
  // The table's size: the extension block starts here, where readers of the table never look.
  static constexpr int kStoredBytes = 800;
  // Record ids of the extension block's fields.
  static constexpr uint16_t kCreditRecord = 1;
  static constexpr uint16_t kPageNumberPatternRecord = 2;
  static constexpr uint16_t kLyricsRecord = 3;
  // No side file is longer than the table and the longest extension block allowed: a longer
  // one is refused whole rather than read in part.
  static constexpr qint64 kMaxFileBytes =
      kStoredBytes + ExtensionBlock::kHeaderBytes + ExtensionBlock::kMaxRecordBytes;

  std::optional<int16_t> barWidth;
  std::optional<int16_t> barsPerLine;
  std::optional<int16_t> lineSpacing;
  std::optional<uint8_t> staffInput;
  std::optional<uint8_t> guideLines;
  std::optional<uint8_t> skipBarLines;
  std::optional<uint8_t> autoNoteSpacing;
  std::optional<uint8_t> staffKey;
  std::array<std::optional<float>, 4> noteSpacing;
  std::optional<uint8_t> numerator;
  std::optional<uint8_t> denominator;
  std::optional<uint8_t> key;
  std::optional<QString> title;
  std::optional<int16_t> pageNumber;
  // Present when the count is; only the records the file really holds, at most kMaxRecords.
  std::optional<std::vector<OverlayRecord>> textLabels;
  std::optional<std::vector<OverlayRecord>> symbolPictures;
  std::optional<QString> tempo;

  // Fields of the extension block.
  std::optional<QString> credit;
  std::optional<QString> pageNumberPattern;
  // The words under the notes, as lyrics::EncodeLyrics makes them.
  std::optional<QByteArray> lyrics;
  // The block's records this program does not know, in the order read. They are written back
  // after the known ones, so what a later version stored survives a save by this one.
  std::vector<ExtensionBlock::Record> keptRecords;
  // Set on reading when an extension block is there but damaged: it is read as none.
  bool extensionDamaged = false;

  // The fields `bytes` holds. Never fails: missing bytes leave fields unset, counts are kept
  // within 0..kMaxRecords and to the records present, a damaged extension block gives none of
  // its fields and leaves the table's as they are.
  static DatSideFile Decode(const QByteArray& bytes);
  // `older` with every set field written over it; the file grows with zero bytes where a field
  // lies beyond its end and never shrinks. The extension block is written whole when any of its
  // fields is set or records are kept, and left as it was otherwise.
  QByteArray EncodeOver(QByteArray older) const;

  // The side file's path for a score picture: its three-letter extension becomes "dat"; a name
  // without one gets ".dat" added rather than losing letters of its name.
  static QString PathFor(const QString& picturePath);

  // A text field as stored: GBK, cut to kTextBytes without splitting a character, padded with
  // spaces.
  static QByteArray EncodeText(const QString& text);
  // A stored text field: decoded, without leading and trailing spaces.
  static QString DecodeText(const QByteArray& bytes);
};

}  // namespace tarvesh::document
